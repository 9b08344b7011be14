#include "suite/kit/Twips.h"

#include "suite/data/SuiteError.h"

#include <QWidget>
#include <cmath>

using namespace Qt::StringLiterals;

namespace suite {

namespace {

constexpr double TwipsPerInch = 1440.0;
const char *const TwipsProperty = "twips";

double dpiX(const QWidget *widget)
{
    const int dpi = widget ? widget->logicalDpiX() : 96;
    return dpi > 0 ? dpi : 96;
}

double dpiY(const QWidget *widget)
{
    const int dpi = widget ? widget->logicalDpiY() : 96;
    return dpi > 0 ? dpi : 96;
}

// The forms compute sizes in single precision; keeping the same precision
// means a value read back compares equal to the one the form computed.
double single(double value)
{
    return static_cast<double>(static_cast<float>(value));
}

void apply(QWidget *widget, const QRectF &twips)
{
    widget->setProperty(TwipsProperty, twips);
    const int x = int(std::lround(twipsToPixelsX(widget, twips.left())));
    const int y = int(std::lround(twipsToPixelsY(widget, twips.top())));
    const int w = int(std::lround(twipsToPixelsX(widget, twips.width())));
    const int h = int(std::lround(twipsToPixelsY(widget, twips.height())));
    widget->setGeometry(x, y, w, h);
}

void refuseNegative(double width, double height)
{
    if (width < 0 || height < 0 || !std::isfinite(width) || !std::isfinite(height))
        throw SuiteError(u"Valor de propiedad no válido"_s);
}

} // namespace

QRectF twipsGeometry(const QWidget *widget)
{
    const QVariant stored = widget->property(TwipsProperty);
    if (stored.isValid())
        return stored.toRectF();
    const QRect g = widget->geometry();
    return QRectF(pixelsToTwipsX(widget, g.x()), pixelsToTwipsY(widget, g.y()),
                  pixelsToTwipsX(widget, g.width()), pixelsToTwipsY(widget, g.height()));
}

void setTwipsGeometry(QWidget *widget, double left, double top, double width, double height)
{
    refuseNegative(width, height);
    apply(widget, QRectF(single(left), single(top), single(width), single(height)));
}

void setTwipsLeft(QWidget *widget, double left)
{
    QRectF r = twipsGeometry(widget);
    r.moveLeft(single(left));
    apply(widget, r);
}

void setTwipsTop(QWidget *widget, double top)
{
    QRectF r = twipsGeometry(widget);
    r.moveTop(single(top));
    apply(widget, r);
}

void setTwipsWidth(QWidget *widget, double width)
{
    refuseNegative(width, 0);
    QRectF r = twipsGeometry(widget);
    r.setWidth(single(width));
    apply(widget, r);
}

void setTwipsHeight(QWidget *widget, double height)
{
    refuseNegative(0, height);
    QRectF r = twipsGeometry(widget);
    r.setHeight(single(height));
    apply(widget, r);
}

double twipsToPixelsX(const QWidget *widget, double twips)
{
    return twips * dpiX(widget) / TwipsPerInch;
}

double twipsToPixelsY(const QWidget *widget, double twips)
{
    return twips * dpiY(widget) / TwipsPerInch;
}

double pixelsToTwipsX(const QWidget *widget, double pixels)
{
    return pixels * TwipsPerInch / dpiX(widget);
}

double pixelsToTwipsY(const QWidget *widget, double pixels)
{
    return pixels * TwipsPerInch / dpiY(widget);
}

} // namespace suite
