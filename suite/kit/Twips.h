#pragma once

#include <QRectF>

class QWidget;

namespace suite {

// Positions and sizes of the suite's forms are written in twips (1440 per
// inch). The exact values are kept on the widget (dynamic property "twips",
// single precision, as the forms compute them) and applied as pixels at the
// widget's logical DPI, so reading a size back gives what was set, not a
// rounded pixel count converted back.
//
// A negative width or height throws SuiteError("Valor de propiedad no válido")
// and leaves the widget as it was.
void setTwipsGeometry(QWidget *widget, double left, double top, double width, double height);
QRectF twipsGeometry(const QWidget *widget);
void setTwipsLeft(QWidget *widget, double left);
void setTwipsTop(QWidget *widget, double top);
void setTwipsWidth(QWidget *widget, double width);
void setTwipsHeight(QWidget *widget, double height);

double twipsToPixelsX(const QWidget *widget, double twips);
double twipsToPixelsY(const QWidget *widget, double twips);
double pixelsToTwipsX(const QWidget *widget, double pixels);
double pixelsToTwipsY(const QWidget *widget, double pixels);

} // namespace suite
