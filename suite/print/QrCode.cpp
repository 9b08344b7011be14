#include "suite/print/QrCode.h"

#include "suite/data/SuiteError.h"

#include <QPainter>
#include <algorithm>
#include <memory>
#include <qrencode.h>

using namespace Qt::StringLiterals;

namespace suite {

namespace {

// Readers take bytes without an ECI header as Latin-1 or Shift JIS, so text
// beyond ASCII (ñ, á) says it is UTF-8 (ECI 26).
QRcode *encode(const QByteArray &utf8)
{
    const bool ascii = std::all_of(utf8.cbegin(), utf8.cend(), [](char c) { return uchar(c) < 0x80; });
    if (ascii)
        return QRcode_encodeString(utf8.constData(), 0, QR_ECLEVEL_M, QR_MODE_8, 1);
    const std::unique_ptr<QRinput, decltype(&QRinput_free)> input(QRinput_new2(0, QR_ECLEVEL_M), &QRinput_free);
    if (!input || QRinput_appendECIheader(input.get(), 26) != 0
        || QRinput_append(input.get(), QR_MODE_8, int(utf8.size()),
                          reinterpret_cast<const unsigned char *>(utf8.constData())) != 0) {
        return nullptr;
    }
    return QRcode_encodeInput(input.get());
}

} // namespace

QImage QrCode::image(const QString &text, int modulePixels)
{
    if (text.isEmpty())
        throw SuiteError(u"El código QR no tiene valor que codificar."_s);
    const QByteArray utf8 = text.toUtf8();
    const std::unique_ptr<QRcode, decltype(&QRcode_free)> code(encode(utf8), &QRcode_free);
    if (!code) {
        throw SuiteError(u"No se pudo generar el código QR de \"%1\" (%2 bytes; el máximo es 2331)."_s
                             .arg(text.left(40)).arg(utf8.size()));
    }

    const int modules = code->width;
    const int side = (modules + 2 * QuietModules) * modulePixels;
    QImage picture(side, side, QImage::Format_Grayscale8);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    for (int y = 0; y < modules; ++y) {
        for (int x = 0; x < modules; ++x) {
            // The low bit of each byte is the module's colour (1 = dark).
            if (code->data[y * modules + x] & 1) {
                painter.fillRect((x + QuietModules) * modulePixels, (y + QuietModules) * modulePixels,
                                 modulePixels, modulePixels, Qt::black);
            }
        }
    }
    return picture;
}

} // namespace suite
