#include "suite/kit/TxtKit.h"

#include "suite/data/DecimalText.h"
#include "suite/kit/KeyFormat.h"
#include "suite/kit/KitAlignment.h"
#include "suite/kit/KitEnabled.h"
#include "suite/kit/NumberFormat.h"
#include "suite/kit/TxtKitAccessible.h"
#include "suite/session/Session.h"

#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <cmath>

using namespace Qt::StringLiterals;

namespace suite {

namespace {

// Display patterns of the numeric styles.
NumberFormat formatOf(txtKIT::NumericKind kind)
{
    switch (kind) {
    case txtKIT::Integer: return NumberFormat(u"0"_s);
    case txtKIT::Double: return NumberFormat(u"#,##0.00"_s);
    case txtKIT::Currency: return NumberFormat(u"$#,##0.0000"_s);
    case txtKIT::Percent: return NumberFormat(u"0.00%"_s);
    case txtKIT::NotNumeric: break;
    }
    return NumberFormat();
}

// What may be typed into a numeric box besides digits. A point or a comma
// is taken in any numeric box, so that a fraction or a misplaced comma is
// refused in words when the box is left instead of vanishing as it is typed.
bool acceptedInNumber(txtKIT::NumericKind kind, QChar c)
{
    if (c.isDigit() || c == QLatin1Char('-') || c == QLatin1Char('.') || c == QLatin1Char(','))
        return true;
    if (kind == txtKIT::Currency && c == QLatin1Char('$'))
        return true;
    return kind == txtKIT::Percent && c == QLatin1Char('%');
}

// The text without halves of surrogate pairs, which are no characters.
QString withoutLoneSurrogates(const QString &text)
{
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            out += c;
            out += text.at(++i);
        } else if (!c.isSurrogate()) {
            out += c;
        }
    }
    return out;
}

bool hasLoneSurrogate(const QString &text)
{
    for (const QChar c : text) {
        if (c.isSurrogate())
            return withoutLoneSurrogates(text).size() != text.size();
    }
    return false;
}

} // namespace

txtKIT::txtKIT(QWidget *parent)
    : QLineEdit(parent)
{
    TxtKitAccessible::install();
    setProperty("tag", QString());
    connect(this, &QLineEdit::textChanged, this, &txtKIT::onTextChanged);
    connect(this, &QLineEdit::textEdited, this, &txtKIT::onTextEdited);
}

txtKIT::~txtKIT() = default;

txtKIT::NumericKind txtKIT::numericKind() const
{
    if (m_tipodato == 8 || m_formato == 8)
        return Percent;
    if (m_tipodato == 6)
        return Currency;
    if (m_tipodato == 4 || m_tipodato == 5 || m_formato == 5)
        return Double;
    if (m_tipodato == 2 || m_tipodato == 3 || m_formato == 1)
        return Integer;
    return NotNumeric;
}

std::optional<QString> txtKIT::exactValue() const
{
    const NumericKind kind = numericKind();
    if (m_holdsValue)
        return m_value;
    std::optional<QString> value = formatOf(kind).read(text());
    if (value && kind == Integer && DecimalText::decimals(*value) > 0)
        return std::nullopt;
    return value;
}

QVariant txtKIT::valor() const
{
    const NumericKind kind = numericKind();
    if (kind == NotNumeric)
        return m_null ? QVariant(QMetaType::fromType<QString>()) : QVariant(text());
    const std::optional<QString> value = exactValue();
    if (!value)
        return QVariant();
    if (value->isEmpty())
        return QVariant(QMetaType::fromType<double>());
    if (kind == Integer) {
        bool fits = false;
        const qlonglong whole = value->toLongLong(&fits);
        if (fits)
            return whole;
    }
    return DecimalText::toVariant(*value);
}

bool txtKIT::holdsNumber() const
{
    return numericKind() != NotNumeric && exactValue().has_value();
}

QString txtKIT::decimal() const
{
    return numericKind() == NotNumeric ? QString() : exactValue().value_or(QString());
}

void txtKIT::showValue(const QString &canonical, bool plain)
{
    const NumberFormat format = formatOf(numericKind());
    m_showing = true;
    setText(canonical.isEmpty() ? QString() : plain ? format.plain(canonical) : format.formatDecimal(canonical));
    m_showing = false;
    m_value = canonical;
    m_holdsValue = true;
    m_null = false;
}

void txtKIT::setValor(const QVariant &value)
{
    const NumericKind kind = numericKind();
    const bool null = !value.isValid() || value.isNull();
    if (kind == NotNumeric) {
        setText(null ? QString() : value.toString());
        m_null = null;
        return;
    }
    if (null) {
        showValue(QString(), false);
        m_null = true;
        return;
    }
    std::optional<QString> number;
    if (value.typeId() == QMetaType::QString) {
        // A plain decimal is the value itself (a ratio box takes the ratio);
        // anything else is read as a person would type it.
        const QString t = value.toString().trimmed();
        number = t.isEmpty() ? QString() : DecimalText::canonical(t);
        if (!number)
            number = formatOf(kind).read(t);
        if (!number) {
            // Not a number: shown as given, for the checks to refuse.
            setText(value.toString());
            return;
        }
    } else {
        number = DecimalText::fromVariant(value.typeId() == QMetaType::Bool ? QVariant(value.toInt()) : value);
    }
    showValue(number.value_or(QString()), hasFocus());
}

bool txtKIT::isOwnEnabled() const
{
    return ownEnabled(this);
}

void txtKIT::setLocked(bool on)
{
    const bool changed = on != isReadOnly();
    setReadOnly(on);
    if (changed)
        TxtKitAccessible::forget(this);
    applyLook();
}

void txtKIT::setMaxlength(int length)
{
    m_maxlength = qMax(0, length);
    setMaxLength(m_maxlength > 0 ? m_maxlength : 32767);
}

void txtKIT::setMayusculas(bool on)
{
    m_mayusculas = on;
}

void txtKIT::setTipodato(int code)
{
    m_tipodato = code;
}

void txtKIT::setFormato(int code)
{
    m_formato = code;
}

int txtKIT::kitAlignment() const
{
    return kitAlignmentOf(alignment());
}

void txtKIT::setKitAlignment(int value)
{
    setAlignment(alignmentFromKit(value));
}

void txtKIT::setSubrayar(bool on)
{
    m_subrayar = on;
    applyLook();
}

void txtKIT::limpia()
{
    if (numericKind() == NotNumeric)
        setText(QString());
    else
        showValue(u"0"_s, false);
    m_null = false;
}

void txtKIT::rellenaClave()
{
    if (!m_esclave || m_formatoclave.isEmpty())
        return;
    const QString filled = formatKey(text(), m_formatoclave);
    if (filled != text())
        setText(filled);
}

bool txtKIT::forcesUpperCase() const
{
    if (numericKind() != NotNumeric)
        return false;
    if (m_mayusculas)
        return true;
    const Session *session = Session::currentOrNull();
    return session && session->forceUpperCase();
}

void txtKIT::onTextChanged(const QString &text)
{
    // A paste cut at the box's length can split the last character in two;
    // half of it would reach the database as something else.
    if (hasLoneSurrogate(text)) {
        setText(withoutLoneSurrogates(text));
        return;
    }
    if (!m_showing) {
        m_holdsValue = false;
        m_null = false;
    }
    // A description is read, not typed: it shows its beginning, not its end.
    if (isReadOnly() && !hasFocus())
        setCursorPosition(0);
    // The description is in place before the change handlers run.
    buscaDescripcion();
    Q_EMIT Change();
}

void txtKIT::onTextEdited(const QString &typed)
{
    // Typed keys arrive upper-cased already (keyPressEvent); this catches
    // pasted and dropped text.
    if (m_upperCasing || !forcesUpperCase())
        return;
    const QString upper = typed.toUpper();
    if (upper == typed)
        return;
    m_upperCasing = true;
    const int cursor = cursorPosition();
    setText(upper);
    setCursorPosition(cursor);
    m_upperCasing = false;
}

void txtKIT::reformatNumber()
{
    if (numericKind() == NotNumeric)
        return;
    // Shown whole while it is being edited, in its style once it is left.
    if (const std::optional<QString> value = exactValue())
        showValue(*value, hasFocus());
}

bool txtKIT::event(QEvent *event)
{
    // Ctrl with a letter or digit is a command of the window (the toolbar's
    // Ctrl+E, Ctrl+N...), except the editing keys every user knows; the line
    // editor's own bindings (Ctrl+E is the end of the line) must not swallow it.
    if (event->type() == QEvent::ShortcutOverride) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
        const int k = key->key();
        const bool letterOrDigit = (k >= Qt::Key_A && k <= Qt::Key_Z) || (k >= Qt::Key_0 && k <= Qt::Key_9);
        static const QList<int> editing = {Qt::Key_A, Qt::Key_C, Qt::Key_V, Qt::Key_X, Qt::Key_Y, Qt::Key_Z};
        if (mods == Qt::ControlModifier && letterOrDigit && !editing.contains(k)) {
            event->ignore();
            return true;
        }
    }
    return QLineEdit::event(event);
}

void txtKIT::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && (mods == Qt::NoModifier)) {
        rellenaClave();
        reformatNumber();
        Q_EMIT Enter();
        if (m_tabonenter) {
            bool moveOn = true;
            if (!m_sql.isEmpty()) {
                if (text().isEmpty())
                    moveOn = m_tabonentervacio;
                else if (!m_lookupFound)
                    moveOn = m_tabonentercancel;
            }
            if (moveOn)
                focusNextChild();
        }
        event->accept();
        return;
    }
    if (key == Qt::Key_F2 && mods == Qt::NoModifier && !m_idconsulta.isEmpty()) {
        abreConsulta();
        event->accept();
        return;
    }
    if (key == Qt::Key_F2 && mods == Qt::ShiftModifier && !m_transaccion.isEmpty()) {
        Q_EMIT abrirTransaccion(m_transaccion);
        event->accept();
        return;
    }
    const QString typed = event->text();
    const bool printable = !typed.isEmpty() && typed.at(0).isPrint()
        && !(mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    if (printable && !isReadOnly()) {
        const NumericKind kind = numericKind();
        if (kind != NotNumeric) {
            for (const QChar c : typed) {
                if (!acceptedInNumber(kind, c)) {
                    event->accept();   // not a character a number can hold
                    return;
                }
            }
        } else if (forcesUpperCase() && typed.toUpper() != typed) {
            QKeyEvent upper(event->type(), event->key(), event->modifiers(), typed.toUpper(),
                            event->isAutoRepeat(), ushort(event->count()));
            QLineEdit::keyPressEvent(&upper);
            event->setAccepted(upper.isAccepted());
            return;
        }
    }
    // Alt with a character is a command for the window (Alt+1 selects a tab),
    // never text; letting it through would also type the digit into the box.
    if (!typed.isEmpty() && (mods & Qt::AltModifier) && !(mods & Qt::ControlModifier)) {
        event->ignore();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void txtKIT::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    if (event->reason() != Qt::PopupFocusReason && numericKind() != NotNumeric && !text().isEmpty())
        reformatNumber();
    if (m_seleccionaronfocus && event->reason() != Qt::PopupFocusReason) {
        if (event->reason() == Qt::MouseFocusReason)
            QMetaObject::invokeMethod(this, &QLineEdit::selectAll, Qt::QueuedConnection);
        else
            selectAll();
    }
}

void txtKIT::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    if (event->reason() == Qt::PopupFocusReason)
        return;
    rellenaClave();
    if (numericKind() == NotNumeric)
        return;
    if (holdsNumber())
        reformatNumber();
    else if (event->reason() != Qt::ActiveWindowFocusReason && isEnabled() && !isReadOnly())
        Q_EMIT numeroRechazado();
}

void txtKIT::changeEvent(QEvent *event)
{
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::EnabledChange || event->type() == QEvent::ReadOnlyChange)
        applyLook();
}

void txtKIT::applyLook()
{
    setFrame(!m_subrayar);
    // Only the roles set here are the box's own; the rest follow the form.
    QPalette p;
    p.setResolveMask(0);
    const QPalette standard = QGuiApplication::palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        QColor base = standard.color(group, QPalette::Base);
        if (m_subrayar)
            base = Qt::transparent;          // underlined boxes lie on the form itself
        else if (isReadOnly())
            base = QColor(0xEE, 0xEE, 0xEE); // read-only boxes must not look typeable
        p.setColor(group, QPalette::Base, base);
    }
    // A disabled box takes the form's colours for disabled controls (the
    // colour scheme keeps them readable); an underlined one stays see-through.
    if (m_subrayar)
        p.setColor(QPalette::Disabled, QPalette::Base, Qt::transparent);
    setPalette(p);
    update();
}

void txtKIT::paintEvent(QPaintEvent *event)
{
    QLineEdit::paintEvent(event);
    if (!m_subrayar)
        return;
    QPainter painter(this);
    // Without a frame the underline is the box's focus mark: thicker, in the highlight colour.
    if (hasFocus()) {
        painter.fillRect(QRect(0, height() - 2, width(), 2), palette().color(QPalette::Highlight));
        return;
    }
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Dark));
    painter.drawLine(0, height() - 1, width() - 1, height() - 1);
}

} // namespace suite
