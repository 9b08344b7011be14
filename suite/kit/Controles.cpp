#include "suite/kit/Controles.h"

#include "suite/kit/KitEnabled.h"
#include "suite/kit/ToolbarFit.h"
#include "suite/kit/Twips.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QResizeEvent>
#include <QShortcut>
#include <QStyle>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace suite {

namespace {

struct CommandInfo
{
    QString command;
    QString text;
    QStyle::StandardPixmap icon;
    QList<QKeySequence> keys;
    QString keysText;
};

// The toolbar's commands in the order they stand on it.
QList<CommandInfo> commands()
{
    return {
        {u"Nuevo"_s, u"Nuevo"_s, QStyle::SP_FileIcon, {QKeySequence(Qt::CTRL | Qt::Key_N)}, u"Ctrl+N"_s},
        {u"Modificar"_s, u"Modificar"_s, QStyle::SP_FileDialogDetailedView, {QKeySequence(Qt::CTRL | Qt::Key_M)}, u"Ctrl+M"_s},
        {u"Informacion"_s, u"Información"_s, QStyle::SP_MessageBoxInformation, {QKeySequence(Qt::CTRL | Qt::Key_I)}, u"Ctrl+I"_s},
        {u"Reactivar"_s, u"Reactivar"_s, QStyle::SP_BrowserReload, {QKeySequence(Qt::CTRL | Qt::Key_R)}, u"Ctrl+R"_s},
        {u"Eliminar"_s, u"Eliminar"_s, QStyle::SP_TrashIcon, {QKeySequence(Qt::CTRL | Qt::Key_E)}, u"Ctrl+E"_s},
        {u"Aceptar"_s, u"Aceptar"_s, QStyle::SP_DialogApplyButton,
         {QKeySequence(Qt::Key_F10), QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)},
         u"F10 o Ctrl+Enter"_s},
        {u"Cancelar"_s, u"Cancelar"_s, QStyle::SP_DialogCancelButton, {QKeySequence(Qt::Key_Escape)}, u"Esc"_s},
        {u"B1"_s, QString(), QStyle::SP_FileDialogContentsView, {QKeySequence(Qt::CTRL | Qt::Key_1)}, u"Ctrl+1"_s},
        {u"B2"_s, QString(), QStyle::SP_FileDialogListView, {QKeySequence(Qt::CTRL | Qt::Key_2)}, u"Ctrl+2"_s},
        {u"B3"_s, QString(), QStyle::SP_FileDialogNewFolder, {QKeySequence(Qt::CTRL | Qt::Key_3)}, u"Ctrl+3"_s},
        {u"Salir"_s, u"Salir"_s, QStyle::SP_DialogCloseButton, {QKeySequence(Qt::CTRL | Qt::Key_Q)}, u"Ctrl+Q"_s},
    };
}

// Long captions of the extra buttons go on two lines, so that every command
// fits the toolbar's width without being cut.
QString buttonText(const QString &caption)
{
    if (caption.size() <= 12 || !caption.contains(u' '))
        return caption;
    const qsizetype middle = caption.size() / 2;
    qsizetype best = -1;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption.at(i) == u' ' && (best < 0 || qAbs(i - middle) < qAbs(best - middle)))
            best = i;
    }
    return caption.left(best) + u'\n' + caption.mid(best + 1);
}

bool isYes(const QString &value)
{
    return value.trimmed().compare(u"SI"_s, Qt::CaseInsensitive) == 0
        || value.trimmed().compare(u"SÍ"_s, Qt::CaseInsensitive) == 0;
}

QToolButton *makeButton(QWidget *parent, const QString &text, const QIcon &icon)
{
    auto *b = new QToolButton(parent);
    b->setText(text);
    b->setIcon(icon);
    b->setIconSize(QSize(ToolIconSide, ToolIconSide));
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    // Named as captioned, even when the toolbar shows its icon alone.
    b->setAccessibleName(text);
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::ClickFocus);
    b->setMinimumWidth(52);
    return b;
}

} // namespace

Controles::Controles(QWidget *parent)
    : QWidget(parent)
{
    setProperty("tag", QString());
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_StyledBackground);
    setAutoFillBackground(true);
    buildButtons();
    refresh();
    if (parent)
        parent->installEventFilter(this);
}

bool Controles::eventFilter(QObject *watched, QEvent *event)
{
    // The container's width is the toolbar's: its buttons stay at the right edge.
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        setTwipsWidth(this, pixelsToTwipsX(this, parentWidget()->width()));
    return QWidget::eventFilter(watched, event);
}

void Controles::pressByKey(const QString &command)
{
    if (!offered().contains(command) || !isEnabled())
        return;
    bool proceed = true;
    Q_EMIT KeyCommand(command, proceed);
    if (proceed)
        press(command);
}

Controles::~Controles() = default;

void Controles::buildButtons()
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(10, 2, 4, 2);
    layout->setSpacing(1);

    m_captionLabel = new QLabel(this);
    QFont big = m_captionLabel->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.25);
    m_captionLabel->setFont(big);
    m_captionLabel->setWordWrap(true);
    m_captionLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_captionLabel->setMinimumWidth(80);
    m_captionLabel->setObjectName(u"caption"_s);
    layout->addWidget(m_captionLabel, 1);

    const QList<CommandInfo> all = commands();
    for (const CommandInfo &c : all) {
        if (c.command == u"Salir"_s) {
            // The fields editor and the windows list stand before exit.
            m_fieldsButton = makeButton(this, u"Campos"_s, style()->standardIcon(QStyle::SP_FileDialogInfoView));
            m_fieldsButton->setToolTip(u"Campos adicionales del registro"_s);
            connect(m_fieldsButton, &QToolButton::clicked, this, &Controles::editaCamposAdicionales);
            layout->addWidget(m_fieldsButton);

            m_windowsButton = makeButton(this, u"Ventanas"_s, style()->standardIcon(QStyle::SP_TitleBarNormalButton));
            m_windowsButton->setToolTip(u"Ventanas abiertas"_s);
            auto *menu = new QMenu(m_windowsButton);
            connect(menu, &QMenu::aboutToShow, this, &Controles::fillWindowsMenu);
            m_windowsButton->setMenu(menu);
            m_windowsButton->setPopupMode(QToolButton::InstantPopup);
            layout->addWidget(m_windowsButton);
        }
        QToolButton *b = makeButton(this, c.text, style()->standardIcon(c.icon));
        b->setObjectName(u"btn"_s + c.command);
        b->setToolTip(QStringLiteral("%1 (%2)").arg(c.text.isEmpty() ? c.command : c.text, c.keysText));
        b->setProperty("keysText", c.keysText);
        // Named by its command, however its caption is broken over lines; the keys as its description.
        b->setAccessibleName(c.text);
        b->setAccessibleDescription(u"Atajo: "_s + c.keysText);
        const QString command = c.command;
        connect(b, &QToolButton::clicked, this, [this, command] { press(command); });
        for (const QKeySequence &k : c.keys) {
            auto *shortcut = new QShortcut(k, this);
            shortcut->setContext(Qt::WindowShortcut);
            connect(shortcut, &QShortcut::activated, this, [this, command] { pressByKey(command); });
        }
        m_buttons.insert(command, b);
        layout->addWidget(b);
    }
}

QToolButton *Controles::button(const QString &command) const
{
    return m_buttons.value(command);
}

void Controles::setCaption(const QString &caption)
{
    m_caption = caption;
    m_captionLabel->setText(caption);
}

void Controles::setShowexitbutton(const QString &value)
{
    m_showexitbutton = value;
    refresh();
}

void Controles::setShowwindowslist(const QString &value)
{
    m_showwindowslist = value;
    refresh();
}

void Controles::setEstadoinicial(bool on)
{
    // Only raising it means anything: back to the initial state.
    if (!on)
        return;
    m_state = Initial;
    refresh();
}

void Controles::setInformacionenabled(bool on)
{
    m_informacion = on;
    refresh();
}

void Controles::setReactivarenabled(bool on)
{
    m_reactivar = on;
    refresh();
}

void Controles::setModificarenabled(bool on)
{
    m_modificar = on;
    refresh();
}

void Controles::setEliminarenabled(bool on)
{
    m_eliminar = on;
    refresh();
}

void Controles::setB1caption(const QString &caption)
{
    m_b1 = caption;
    refresh();
}

void Controles::setB2caption(const QString &caption)
{
    m_b2 = caption;
    refresh();
}

void Controles::setB3caption(const QString &caption)
{
    m_b3 = caption;
    refresh();
}

bool Controles::isOwnEnabled() const
{
    return ownEnabled(this);
}

QStringList Controles::offered() const
{
    QStringList list;
    const bool editing = editando();
    // The record commands act on a stored record, never on one being edited,
    // whatever their flags say meanwhile; those that write, never read-only.
    const bool writing = !editing && !m_sololectura;
    if (writing)
        list << u"Nuevo"_s;
    if (m_modificar && writing)
        list << u"Modificar"_s;
    if (m_informacion && !editing)
        list << u"Informacion"_s;
    if (m_reactivar && writing)
        list << u"Reactivar"_s;
    if (m_eliminar && writing)
        list << u"Eliminar"_s;
    if (editing)
        list << u"Aceptar"_s << u"Cancelar"_s;
    // Exit is always offered; showexitbutton "NO" only hides its button.
    list << u"Salir"_s;
    // The extra buttons act on the stored record shown, never on one being
    // typed (its unsaved values would reach the letter or the equipment).
    if (!m_b1.isEmpty() && !editing)
        list << u"B1"_s;
    if (!m_b2.isEmpty() && !editing)
        list << u"B2"_s;
    if (!m_b3.isEmpty() && !editing)
        list << u"B3"_s;
    return list;
}

void Controles::refresh()
{
    const QStringList now = offered();
    for (auto it = m_buttons.cbegin(); it != m_buttons.cend(); ++it) {
        bool visible = now.contains(it.key());
        if (it.key() == u"Salir"_s)
            visible = m_showexitbutton.trimmed().compare(u"NO"_s, Qt::CaseInsensitive) != 0;
        it.value()->setVisible(visible);
    }
    const QStringList extra = {m_b1, m_b2, m_b3};
    for (int i = 0; i < 3; ++i) {
        QToolButton *b = button(u"B%1"_s.arg(i + 1));
        b->setText(buttonText(extra.at(i)));
        b->setAccessibleName(extra.at(i));
        b->setToolTip(QStringLiteral("%1 (%2)").arg(extra.at(i), b->property("keysText").toString()));
    }
    m_windowsButton->setVisible(isYes(m_showwindowslist));
    m_fieldsButton->setVisible(!m_fieldNames.isEmpty() && editando());
    fitButtons();
}

void Controles::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    fitButtons();
}

void Controles::fitButtons()
{
    QList<QToolButton *> all = m_buttons.values();
    all << m_fieldsButton << m_windowsButton;
    fitToolButtons(*this, all, *m_captionLabel);
}

bool Controles::press(const QString &command)
{
    if (!offered().contains(command) || !isEnabled())
        return false;
    if (command == u"Nuevo"_s) {
        m_state = New;
        // A new record has no additional fields yet: none to lose.
        m_fieldValues.clear();
        m_fieldsRead = true;
        refresh();
        Q_EMIT Nuevo();
    } else if (command == u"Modificar"_s) {
        m_state = Edit;
        refresh();
        Q_EMIT Modificar();
    } else if (command == u"Informacion"_s) {
        Q_EMIT Informacion();
    } else if (command == u"Reactivar"_s) {
        Q_EMIT Reactivar();
    } else if (command == u"Eliminar"_s) {
        Q_EMIT Eliminar();
    } else if (command == u"Aceptar"_s) {
        // As a click would: the field being typed is left first, so keys are
        // filled and grid cells committed before the screen validates.
        QWidget *focus = QApplication::focusWidget();
        if (focus && focus->window() == window() && !m_buttons.values().contains(focus))
            button(u"Aceptar"_s)->setFocus(Qt::ShortcutFocusReason);
        short nuevo = m_state == New ? -1 : 0;
        Q_EMIT Aceptar(nuevo);
    } else if (command == u"Cancelar"_s) {
        m_state = Initial;
        refresh();
        Q_EMIT Cancelar();
    } else if (command == u"Salir"_s) {
        Q_EMIT Salir();
    } else if (command == u"B1"_s) {
        Q_EMIT B1Click();
    } else if (command == u"B2"_s) {
        Q_EMIT B2Click();
    } else if (command == u"B3"_s) {
        Q_EMIT B3Click();
    }
    return true;
}

void Controles::confirmaaceptar()
{
    m_state = Initial;
    refresh();
}

void Controles::cancelaaceptar()
{
    // The accept did not complete: the record stays in edition as it was.
    refresh();
}

void Controles::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);
    // A rule under the toolbar sets it apart from the form below.
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawLine(0, height() - 1, width() - 1, height() - 1);
}

void Controles::fillWindowsMenu()
{
    QMenu *menu = m_windowsButton->menu();
    menu->clear();
    const QList<QWidget *> tops = QApplication::topLevelWidgets();
    for (QWidget *w : tops) {
        if (!w->isVisible() || w->windowTitle().isEmpty() || (w->windowFlags() & Qt::Popup) == Qt::Popup
            || (w->windowFlags() & Qt::ToolTip) == Qt::ToolTip)
            continue;
        QAction *a = menu->addAction(w->windowTitle());
        a->setCheckable(true);
        a->setChecked(w == window());
        connect(a, &QAction::triggered, w, [w] {
            if (w->isMinimized())
                w->showNormal();
            w->raise();
            w->activateWindow();
        });
    }
    if (menu->isEmpty())
        menu->addAction(u"(ninguna)"_s)->setEnabled(false);
}

void Controles::setAdditionalFields(const QList<QPair<QString, QString>> &definitions,
                                    const QMap<QString, QVariant> &values)
{
    m_fieldNames.clear();
    m_fieldTitles.clear();
    for (const auto &[field, title] : definitions) {
        m_fieldNames.append(field);
        m_fieldTitles.insert(field, title);
    }
    m_fieldValues = values;
    m_fieldsRead = true;
    refresh();
}

void Controles::clearAdditionalFields()
{
    m_fieldValues.clear();
    m_fieldsRead = false;
}

QString Controles::additionalField(const QString &field) const
{
    return m_fieldValues.value(field).toString();
}

void Controles::setAdditionalField(const QString &field, const QString &value)
{
    if (value.isEmpty())
        m_fieldValues.remove(field);
    else
        m_fieldValues.insert(field, value);
}

void Controles::editaCamposAdicionales()
{
    if (!editando() || m_fieldNames.isEmpty())
        return;
    QDialog dialog(window());
    dialog.setWindowTitle(u"Campos adicionales"_s);
    auto *form = new QFormLayout(&dialog);
    QMap<QString, QLineEdit *> boxes;
    for (const QString &field : std::as_const(m_fieldNames)) {
        auto *box = new QLineEdit(additionalField(field), &dialog);
        box->setObjectName(field);
        const QString title = m_fieldTitles.value(field);
        form->addRow((title.isEmpty() ? field : title) + u":"_s, box);
        boxes.insert(field, box);
    }
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(u"Aceptar"_s);
    buttons->button(QDialogButtonBox::Cancel)->setText(u"Cancelar"_s);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return;
    // Only what was changed: a value read and left alone stays as it was.
    for (auto it = boxes.cbegin(); it != boxes.cend(); ++it) {
        if (it.value()->text() != additionalField(it.key()))
            setAdditionalField(it.key(), it.value()->text());
    }
}

} // namespace suite
