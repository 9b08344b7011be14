#pragma once

#include <QImage>
#include <QString>

namespace suite {

// A QR code (error correction M, UTF-8) as a black-on-white image with the
// four-module quiet zone readers need. Each module is a square of
// modulePixels, so the picture stays sharp when a page is rasterised.
class QrCode
{
public:
    static constexpr int QuietModules = 4;

    // SuiteError when the text is empty or too long for a QR code.
    static QImage image(const QString &text, int modulePixels = 8);
};

} // namespace suite
