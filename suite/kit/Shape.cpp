#include "suite/kit/Shape.h"

#include <QPainter>

namespace suite {

namespace {

QColor fromBgr(int bgr)
{
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

} // namespace

Shape::Shape(QWidget *parent)
    : QWidget(parent)
{
    setProperty("tag", QString());
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
}

Shape::~Shape() = default;

void Shape::setBackcolor(int bgr)
{
    m_backcolor = bgr;
    update();
}

void Shape::setBordercolor(int bgr)
{
    m_bordercolor = bgr;
    update();
}

void Shape::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), fromBgr(m_backcolor));
    painter.setPen(fromBgr(m_bordercolor));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace suite
