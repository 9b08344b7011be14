#include "suite/kit/SsTbKit.h"

#include "suite/kit/KeyCodes.h"
#include "suite/kit/SsTbKitAccessible.h"
#include "suite/kit/Twips.h"

#include <QAccessible>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace suite {

namespace {
constexpr int CaptionPadding = 14;   // pixels left and right of a caption
constexpr int FirstCaptionLeft = 2;
}

ssTbKit::ssTbKit(QWidget *parent)
    : QWidget(parent)
{
    SsTbKitAccessible::install();
    setProperty("tag", QString());
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_StyledBackground);
    setTabcount(1);
}

ssTbKit::~ssTbKit() = default;

void ssTbKit::setTabcount(int count)
{
    count = qMax(0, count);
    while (m_captions.size() < count) {
        m_captions.append(QStringLiteral("Tab %1").arg(m_captions.size()));
        m_controls.append(QList<QWidget *>());
    }
    while (m_captions.size() > count) {
        m_captions.removeLast();
        m_controls.removeLast();
    }
    if (m_tab >= count)
        m_tab = qMax(0, count - 1);
    showSelectedControls();
    update();
}

void ssTbKit::setTab(int tab)
{
    if (tab < 0 || tab >= tabcount() || tab == m_tab)
        return;
    const int previous = m_tab;
    m_tab = tab;
    showSelectedControls();
    update();
    QAccessibleEvent selection(this, QAccessible::Selection);
    selection.setChild(tab);
    QAccessible::updateAccessibility(&selection);
    Q_EMIT TabChanged(previous);
}

void ssTbKit::setActivetabheight(int pixels)
{
    m_activetabheight = qMax(8, pixels);
    update();
}

bool ssTbKit::isOwnEnabled() const
{
    return !testAttribute(Qt::WA_ForceDisabled);
}

void ssTbKit::setTabCaption(int tab, const QString &caption)
{
    if (tab < 0 || tab >= tabcount())
        return;
    m_captions[tab] = caption;
    update();
}

QString ssTbKit::tabCaption(int tab) const
{
    return m_captions.value(tab);
}

void ssTbKit::addTabControl(int tab, QWidget *control)
{
    if (!control || tab < 0 || tab >= tabcount())
        return;
    for (QList<QWidget *> &controls : m_controls)
        controls.removeAll(control);
    // The stored twips geometry survives the reparenting: placed again in
    // the strip's coordinates.
    const QVariant twips = control->property("twips");
    control->setParent(this);
    if (twips.isValid()) {
        const QRectF r = twips.toRectF();
        setTwipsGeometry(control, r.left(), r.top(), r.width(), r.height());
    }
    m_controls[tab].append(control);
    control->setVisible(tab == m_tab);
}

QList<QWidget *> ssTbKit::tabControls(int tab) const
{
    return m_controls.value(tab);
}

int ssTbKit::captionHeight() const
{
    return qMax(m_activetabheight, fontMetrics().height() + 6);
}

QRect ssTbKit::captionRect(int tab) const
{
    if (tab < 0 || tab >= tabcount())
        return {};
    const QFontMetrics fm(font());
    int left = FirstCaptionLeft;
    for (int i = 0; i < tab; ++i)
        left += fm.horizontalAdvance(m_captions.at(i)) + 2 * CaptionPadding;
    const int width = fm.horizontalAdvance(m_captions.at(tab)) + 2 * CaptionPadding;
    const int h = captionHeight();
    // The selected caption stands a little taller than the others.
    if (tab == m_tab)
        return QRect(left, 0, width, h);
    return QRect(left, 2, width, h - 2);
}

QSize ssTbKit::sizeHint() const
{
    return QSize(400, 300);
}

void ssTbKit::showSelectedControls()
{
    for (int t = 0; t < m_controls.size(); ++t) {
        for (QWidget *w : std::as_const(m_controls[t]))
            w->setVisible(t == m_tab);
    }
}

void ssTbKit::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, false);
    const QPalette pal = palette();
    const int h = captionHeight();
    const QColor page = pal.color(QPalette::Window);
    const QColor border = pal.color(QPalette::Mid);
    const QColor accent(0xB4, 0xC9, 0x4B);

    // The page: the area under the captions, framed.
    p.fillRect(QRect(0, h, width(), height() - h), page);
    p.setPen(border);
    p.drawRect(QRect(0, h - 1, width() - 1, height() - h));

    for (int t = 0; t < tabcount(); ++t) {
        const QRect r = captionRect(t);
        const bool selected = t == m_tab;
        QColor fill = selected ? page : pal.color(QPalette::Button).darker(104);
        if (t == m_hover && !selected)
            fill = m_hovercolorinverted ? pal.color(QPalette::Highlight).lighter(170) : fill.lighter(104);
        QPainterPath path;
        path.moveTo(r.left(), r.bottom() + 1);
        path.lineTo(r.left(), r.top() + 3);
        path.quadTo(r.left(), r.top(), r.left() + 3, r.top());
        path.lineTo(r.right() - 3, r.top());
        path.quadTo(r.right(), r.top(), r.right(), r.top() + 3);
        path.lineTo(r.right(), r.bottom() + 1);
        p.fillPath(path, fill);
        p.setPen(border);
        p.drawPath(path);
        if (selected) {
            // Joined to the page, with the suite's accent along the top.
            p.setPen(page);
            p.drawLine(r.left() + 1, r.bottom(), r.right() - 1, r.bottom());
            p.fillRect(QRect(r.left() + 2, r.top() + 1, r.width() - 3, 2), accent);
        }
        QFont f = font();
        f.setBold(selected);
        p.setFont(f);
        p.setPen(isEnabled() ? pal.color(QPalette::WindowText) : pal.color(QPalette::Disabled, QPalette::WindowText));
        p.drawText(r, Qt::AlignCenter, m_captions.at(t));
        if (selected && hasFocus()) {
            // Whatever showfocusrect says, the strip shows that it has the
            // focus (arrows then change the tab): its caption underlined.
            p.fillRect(QRect(r.left() + 6, r.bottom() - 3, r.width() - 12, 2), pal.color(QPalette::Highlight));
            if (m_showfocusrect) {
                p.setPen(QPen(pal.color(QPalette::Highlight), 1, Qt::DotLine));
                p.drawRect(r.adjusted(4, 4, -5, -4));
            }
        }
    }
}

void ssTbKit::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        for (int t = 0; t < tabcount(); ++t) {
            if (captionRect(t).contains(event->position().toPoint())) {
                setFocus(Qt::MouseFocusReason);
                setTab(t);
                event->accept();
                return;
            }
        }
    }
    QWidget::mousePressEvent(event);
}

void ssTbKit::mouseMoveEvent(QMouseEvent *event)
{
    int hover = -1;
    for (int t = 0; t < tabcount(); ++t) {
        if (captionRect(t).contains(event->position().toPoint()))
            hover = t;
    }
    if (hover != m_hover) {
        m_hover = hover;
        update();
    }
    QWidget::mouseMoveEvent(event);
}

void ssTbKit::leaveEvent(QEvent *event)
{
    m_hover = -1;
    update();
    QWidget::leaveEvent(event);
}

void ssTbKit::keyPressEvent(QKeyEvent *event)
{
    // Keys a page's control lets through arrive here too; only the strip's own count.
    if (hasFocus())
        Q_EMIT KeyDown(virtualKeyCode(event));
    if (event->modifiers() == Qt::NoModifier) {
        if (event->key() == Qt::Key_Left && m_tab > 0) {
            setTab(m_tab - 1);
            return;
        }
        if (event->key() == Qt::Key_Right && m_tab + 1 < tabcount()) {
            setTab(m_tab + 1);
            return;
        }
    }
    QWidget::keyPressEvent(event);
}

bool ssTbKit::event(QEvent *event)
{
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)
        update();
    if (event->type() == QEvent::FocusIn) {
        // A screen reader says which tab the focus stands on, not only "tabs".
        QAccessibleEvent focus(this, QAccessible::Focus);
        focus.setChild(m_tab);
        QAccessible::updateAccessibility(&focus);
    }
    return QWidget::event(event);
}

} // namespace suite
