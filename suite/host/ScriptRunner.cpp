#include "suite/host/ScriptRunner.h"

#include "suite/data/Connection.h"
#include "suite/data/Recordset.h"
#include "suite/data/SuiteError.h"
#include "suite/host/HostWindow.h"
#include "suite/host/JsonText.h"
#include "suite/host/ModalGuard.h"
#include "suite/host/KeyList.h"
#include "suite/host/ScreenHost.h"
#include "suite/host/ScriptEvents.h"
#include "suite/host/ScriptLexer.h"
#include "suite/host/StateDump.h"
#include "suite/host/UserInput.h"
#include "suite/kit/Controles.h"
#include "suite/kit/DataGrid.h"
#include "suite/kit/KitEnabled.h"
#include "suite/kit/SsTbKit.h"
#include "suite/kit/Twips.h"
#include "suite/runtime/HostEvents.h"
#include "suite/session/Session.h"

#include <QApplication>
#include <QClipboard>
#include <QDate>
#include <QIODevice>
#include <QLocale>
#include <QMetaProperty>
#include <QWidget>

#include <exception>

using namespace Qt::StringLiterals;

namespace suite {

namespace {

const QStringList toolbarCommands = {u"Nuevo"_s,    u"Modificar"_s, u"Informacion"_s, u"Reactivar"_s,
                                     u"Eliminar"_s, u"Aceptar"_s,   u"Cancelar"_s,    u"Salir"_s,
                                     u"B1"_s,       u"B2"_s,        u"B3"_s};

int toInteger(const QString &text, const QString &what)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok)
        throw SuiteError(u"%1 debe ser un número entero: %2"_s.arg(what, text));
    return value;
}

double toNumber(const QString &text, const QString &what)
{
    bool ok = false;
    const double value = QLocale::c().toDouble(text, &ok);
    if (!ok)
        throw SuiteError(u"%1 debe ser un número: %2"_s.arg(what, text));
    return value;
}

// A script's text as a value of the property's type.
QVariant propertyValue(const QMetaProperty &property, const QString &text)
{
    const QString what = QString::fromLatin1(property.name());
    switch (property.metaType().id()) {
    case QMetaType::Bool: {
        const QString t = text.toLower();
        if (t == u"true"_s || t == u"1"_s || t == u"-1"_s || t == u"si"_s || t == u"sí"_s)
            return true;
        if (t == u"false"_s || t == u"0"_s || t == u"no"_s)
            return false;
        throw SuiteError(u"%1 espera true o false: %2"_s.arg(what, text));
    }
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::Long:
    case QMetaType::LongLong:
        return toInteger(text, what);
    case QMetaType::Double:
    case QMetaType::Float:
        return toNumber(text, what);
    case QMetaType::QDate: {
        if (text.isEmpty())
            return QDate();
        const QDate date = QDate::fromString(text, Qt::ISODate);
        if (!date.isValid())
            throw SuiteError(u"%1 espera una fecha AAAA-MM-DD: %2"_s.arg(what, text));
        return date;
    }
    case QMetaType::QString:
        return text;
    case QMetaType::QVariant: {
        bool ok = false;
        const double number = QLocale::c().toDouble(text, &ok);
        return ok ? QVariant(number) : QVariant(text);
    }
    default:
        throw SuiteError(u"La propiedad %1 no se puede asignar desde un guion."_s.arg(what));
    }
}

} // namespace

const std::map<QString, ScriptRunner::Command> &ScriptRunner::commands()
{
    static const std::map<QString, Command> all{
        {u"type"_s, {&ScriptRunner::doType, 3, 3, "type CONTROL TEXT"}},
        {u"paste"_s, {&ScriptRunner::doPaste, 3, 3, "paste CONTROL TEXT"}},
        {u"key"_s, {&ScriptRunner::doKey, 3, 3, "key CONTROL KEYS"}},
        {u"click"_s, {&ScriptRunner::doClick, 2, 2, "click CONTROL"}},
        {u"tab"_s, {&ScriptRunner::doTab, 2, 2, "tab N"}},
        {u"toolbar"_s, {&ScriptRunner::doToolbar, 2, 2, "toolbar COMMAND"}},
        {u"cell"_s, {&ScriptRunner::doCell, 4, 4, "cell ROW COLUMN TEXT"}},
        {u"set"_s, {&ScriptRunner::doSet, 4, 4, "set CONTROL PROPERTY VALUE"}},
        {u"answer"_s, {&ScriptRunner::doAnswer, 2, 2, "answer N"}},
        {u"choose"_s, {&ScriptRunner::doChoose, 2, 2, "choose KEY"}},
        {u"mark"_s, {&ScriptRunner::doMark, 3, -1, "mark CAPTION KEY [KEY ...]"}},
        {u"resize"_s, {&ScriptRunner::doResize, 3, 3, "resize W H"}},
        {u"dump"_s, {&ScriptRunner::doDump, 1, -1, "dump [CONTROL ...]"}},
        {u"sql"_s, {&ScriptRunner::doSql, 2, -1, "sql STATEMENT"}},
        {u"fault"_s, {&ScriptRunner::doFault, 2, 3, "fault N [TEXT] | fault lose N | fault off"}},
        {u"close"_s, {&ScriptRunner::doClose, 1, 1, "close"}},
        {u"labels"_s, {&ScriptRunner::doLabels, 2, 2, "labels FILE"}},
    };
    return all;
}

ScriptRunner::ScriptRunner(ScreenHost &host, Output output, QObject *parent)
    : QObject(parent)
    , m_host(host)
    , m_output(std::move(output))
    , m_messages([this](const JsonText &event) { emitEvent(event); },
                 [this](const QString &problem) { m_lineProblems.append(problem); })
    , m_search([this](const JsonText &event) { emitEvent(event); },
               [this](const QString &problem) { m_lineProblems.append(problem); })
{
    auto *guard = new ModalGuard(this);
    connect(guard, &ModalGuard::dismissed, this, [this](const QString &text) { m_lineProblems.append(text); });
}

ScriptRunner::~ScriptRunner()
{
    if (Session *session = Session::currentOrNull()) {
        if (session->messages() == &m_messages)
            session->setMessages(nullptr);
        if (session->search() == &m_search)
            session->setSearch(nullptr);
    }
    HostEvents::instance().setUnattended(false);
}

void ScriptRunner::install(const QString &printDirectory)
{
    Session &session = m_host.session();
    session.setMessages(&m_messages);
    session.setSearch(&m_search);

    HostEvents &events = HostEvents::instance();
    events.setUnattended(true);
    events.setPrintDirectory(printDirectory);
    connect(&events, &HostEvents::printed, this,
            [this](const QString &operation, const QVariantList &arguments, const QString &file) {
                emitEvent(ScriptEvents::printed(operation, arguments, file));
            });
    connect(&events, &HostEvents::informationShown, this, [this](const HostEvents::Information &shown) {
        emitEvent(ScriptEvents::information(shown.arguments, shown.fields, shown.values, shown.historyFields,
                                            shown.history, shown.more));
    });
}

void ScriptRunner::attach()
{
    connect(m_host.window(), &HostWindow::statusShown, this, [this](const QString &text) {
        emitEvent(JsonText().add(u"event"_s, u"estado"_s).add(u"text"_s, text));
    });
    connect(m_host.window(), &HostWindow::unloaded, this, [this] {
        if (m_unloaded)
            return;
        m_unloaded = true;
        emitEvent(JsonText().add(u"event"_s, u"salir"_s));
    });
}

void ScriptRunner::emitEvent(const JsonText &event)
{
    m_output(event.toString());
}

int ScriptRunner::run(QIODevice &input)
{
    bool allRan = true;
    int number = 0;
    while (!m_unloaded && !input.atEnd()) {
        QString line = QString::fromUtf8(input.readLine());
        ++number;
        while (line.endsWith(u'\n') || line.endsWith(u'\r'))
            line.chop(1);
        if (!runLine(number, line))
            allRan = false;
    }
    return allRan ? 0 : 1;
}

bool ScriptRunner::runLine(int number, const QString &line)
{
    if (ScriptLexer::isSkipped(line))
        return true;
    m_currentLine = line;
    m_lineProblems.clear();

    QString error;
    try {
        QStringList words;
        if (!ScriptLexer::split(line, words, error))
            throw SuiteError(error);
        const auto found = commands().find(words.constFirst());
        if (found == commands().end())
            throw SuiteError(u"Orden desconocida: %1"_s.arg(words.constFirst()));
        const Command &command = found->second;
        const int count = int(words.size());
        if (count < command.minWords || (command.maxWords >= 0 && count > command.maxWords))
            throw SuiteError(u"Forma de la línea: %1"_s.arg(QString::fromLatin1(command.usage)));
        (this->*command.run)(words);
        settle();
    } catch (const SuiteError &e) {
        error = e.description();
    } catch (const std::exception &e) {
        error = QString::fromLocal8Bit(e.what());
    } catch (...) {
        error = u"Error desconocido."_s;
    }
    if (error.isEmpty() && !m_lineProblems.isEmpty())
        error = m_lineProblems.constFirst();
    if (error.isEmpty())
        return true;

    JsonText event;
    event.add(u"event"_s, u"error"_s);
    event.add(u"line"_s, number);
    event.add(u"text"_s, error);
    emitEvent(event);
    return false;
}

void ScriptRunner::settle()
{
    // Let posted events (focus changes, deferred layouts, closing of
    // dismissed dialogs) run before the next line looks at the screen.
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

QWidget *ScriptRunner::form() const
{
    QWidget *form = m_host.form();
    if (!form)
        throw SuiteError(u"La pantalla ya no está abierta."_s);
    return form;
}

QWidget *ScriptRunner::requireControl(const QString &name) const
{
    QWidget *control = StateDump(form()).control(name);
    if (!control)
        throw SuiteError(u"No existe el control %1."_s.arg(name));
    return control;
}

void ScriptRunner::requireInput(QWidget *control) const
{
    if (!control->isVisibleTo(control->window()))
        throw SuiteError(u"El control %1 no está visible."_s.arg(control->objectName()));
    if (!effectiveEnabled(control))
        throw SuiteError(u"El control %1 no acepta datos ahora."_s.arg(control->objectName()));
}

QWidget *ScriptRunner::clickForFocus(const QString &name) const
{
    QWidget *control = requireControl(name);
    requireInput(control);
    UserInput::click(control);
    QWidget *focus = QApplication::focusWidget();
    if (!focus || (focus != control && !control->isAncestorOf(focus)))
        throw SuiteError(u"El control %1 no tomó el foco al hacer clic."_s.arg(control->objectName()));
    return control;
}

void ScriptRunner::doType(const Words &w)
{
    QWidget *control = clickForFocus(w.at(1));
    UserInput::type(control, w.at(2));
}

void ScriptRunner::doPaste(const Words &w)
{
    clickForFocus(w.at(1));
    // What the click set off (a box selecting its text) happens first, as it would for a person.
    settle();
    QGuiApplication::clipboard()->setText(w.at(2));
    UserInput::sendKey(QApplication::focusWidget(), QKeyCombination(Qt::ControlModifier, Qt::Key_V));
}

void ScriptRunner::doKey(const Words &w)
{
    QKeyCombination combination;
    if (!UserInput::parseKeys(w.at(2), combination))
        throw SuiteError(u"Combinación de teclas no válida: %1"_s.arg(w.at(2)));
    QWidget *target = nullptr;
    if (w.at(1) == u"-"_s) {
        target = QApplication::focusWidget();
        if (!target)
            throw SuiteError(u"Ningún control tiene el foco."_s);
    } else {
        target = UserInput::keyTarget(requireControl(w.at(1)));
    }
    UserInput::sendKey(target, combination);
}

void ScriptRunner::doClick(const Words &w)
{
    QWidget *control = requireControl(w.at(1));
    if (!control->isVisibleTo(control->window()))
        throw SuiteError(u"El control %1 no está visible."_s.arg(control->objectName()));
    UserInput::click(control);
}

void ScriptRunner::doTab(const Words &w)
{
    auto *strip = form()->findChild<ssTbKit *>();
    if (!strip)
        throw SuiteError(u"La pantalla no tiene pestañas."_s);
    const int tab = toInteger(w.at(1), u"La pestaña"_s);
    const QRect caption = strip->captionRect(tab);
    if (tab < 0 || tab >= strip->tabcount() || !caption.isValid())
        throw SuiteError(u"No existe la pestaña %1 (hay %2)."_s.arg(tab).arg(strip->tabcount()));
    if (!strip->isVisibleTo(strip->window()))
        throw SuiteError(u"Las pestañas no están visibles."_s);
    UserInput::click(strip, caption.center());
}

void ScriptRunner::doToolbar(const Words &w)
{
    const QString command = w.at(1);
    if (!toolbarCommands.contains(command))
        throw SuiteError(u"La barra no tiene la orden %1 (órdenes: %2)."_s.arg(command, toolbarCommands.join(u", "_s)));
    auto *toolbar = form()->findChild<Controles *>();
    if (!toolbar)
        throw SuiteError(u"La pantalla no tiene barra de herramientas."_s);
    if (!toolbar->offered().contains(command) || !toolbar->press(command))
        throw SuiteError(u"La barra no ofrece %1 ahora."_s.arg(command));
}

void ScriptRunner::doCell(const Words &w)
{
    auto *grid = qobject_cast<DataGrid *>(requireControl(u"ssDetalle"_s));
    if (!grid)
        throw SuiteError(u"ssDetalle no es una rejilla."_s);
    requireInput(grid);
    const int row = toInteger(w.at(1), u"El renglón"_s);
    if (row < 0 || row > grid->Rows())
        throw SuiteError(u"No existe el renglón %1 (la rejilla tiene %2)."_s.arg(row).arg(grid->Rows()));
    const int column = grid->columnIndex(w.at(2));
    if (column < 0)
        throw SuiteError(u"La rejilla no tiene la columna %1."_s.arg(w.at(2)));

    grid->setFocus(Qt::MouseFocusReason);
    if (!grid->setCurrentCell(row, column) || grid->Row() != row || grid->Col() != column)
        throw SuiteError(u"La rejilla no pasó a la celda (%1, %2)."_s.arg(row).arg(w.at(2)));
    UserInput::type(grid, w.at(3));
}

void ScriptRunner::doSet(const Words &w)
{
    QWidget *control = requireControl(w.at(1));
    const QByteArray name = w.at(2).toUtf8();
    const QMetaObject *meta = control->metaObject();
    const int index = meta->indexOfProperty(name.constData());
    if (index < 0) {
        if (!control->dynamicPropertyNames().contains(name))
            throw SuiteError(u"El control %1 no tiene la propiedad %2."_s.arg(w.at(1), w.at(2)));
        control->setProperty(name.constData(), w.at(3));
        return;
    }
    const QMetaProperty property = meta->property(index);
    if (!property.isWritable())
        throw SuiteError(u"La propiedad %1 de %2 es de solo lectura."_s.arg(w.at(2), w.at(1)));
    if (!property.write(control, propertyValue(property, w.at(3))))
        throw SuiteError(u"No se pudo asignar %1 a la propiedad %2 de %3."_s.arg(w.at(3), w.at(2), w.at(1)));
}

void ScriptRunner::doAnswer(const Words &w)
{
    m_messages.queueAnswer(toInteger(w.at(1), u"La respuesta"_s));
}

void ScriptRunner::doChoose(const Words &w)
{
    m_search.queueChoice(w.at(1));
}

void ScriptRunner::doMark(const Words &w)
{
    m_search.queueMarking(w.at(1), w.mid(2));
}

void ScriptRunner::doResize(const Words &w)
{
    const double width = toNumber(w.at(1), u"El ancho"_s);
    const double height = toNumber(w.at(2), u"El alto"_s);
    if (width < 0 || height < 0)
        throw SuiteError(u"El tamaño no puede ser negativo."_s);
    QWidget *screen = form();
    QWidget *window = screen->window();
    const QSize wanted(qRound(twipsToPixelsX(screen, width)), qRound(twipsToPixelsY(screen, height)));
    window->resize(window->size() + wanted - screen->size());
}

void ScriptRunner::doDump(const Words &w)
{
    emitEvent(StateDump(form()).dump(w.mid(1)));
}

void ScriptRunner::doSql(const Words &w)
{
    // The statement is the rest of the line as written (its quotes are SQL's),
    // or the one quoted word that holds it.
    QString statement = ScriptLexer::rest(m_currentLine);
    if (w.size() == 2 && statement.startsWith(u'"'))
        statement = w.at(1);

    const RecordsetPtr rows = m_host.session().connection()->Execute(statement);
    QStringList columns;
    for (const QString &column : rows->columns())
        columns.append(JsonText::value(column));
    QStringList data;
    for (const QVector<QVariant> &row : rows->rows()) {
        QStringList cells;
        for (const QVariant &value : row)
            cells.append(JsonText::value(JsonText::fromVariant(value)));
        data.append(JsonText::array(cells));
    }
    JsonText event;
    event.add(u"event"_s, u"sql"_s);
    event.addRaw(u"columns"_s, JsonText::array(columns));
    event.addRaw(u"rows"_s, JsonText::array(data));
    emitEvent(event);
}

void ScriptRunner::doClose(const Words &)
{
    // As the window's close button asks it: the screen may keep it open.
    if (HostWindow *window = m_host.window())
        window->close();
}

void ScriptRunner::doLabels(const Words &w)
{
    m_host.printLabels(KeyList::read(w.at(1)));
}

void ScriptRunner::doFault(const Words &w)
{
    Connection *connection = m_host.session().connection();
    if (w.at(1) == u"off"_s) {
        if (w.size() != 2)
            throw SuiteError(u"Forma de la línea: fault off"_s);
        connection->disarmFault();
        return;
    }
    if (w.at(1) == u"lose"_s) {
        if (w.size() != 3)
            throw SuiteError(u"Forma de la línea: fault lose N"_s);
        connection->armLinkLoss(toInteger(w.at(2), u"La sentencia"_s));
    } else {
        connection->armFault(toInteger(w.at(1), u"La sentencia"_s), w.value(2));
    }

    // Reported when it strikes, not when the line that ran into it fails, so
    // a script sees it even where the screen swallows the error.
    disconnect(m_faultReport);
    m_faultReport = connect(connection, &Connection::faultFired, this, [this](int statement, const QString &sql) {
        JsonText event;
        event.add(u"event"_s, u"fault"_s);
        event.add(u"statement"_s, statement);
        event.add(u"sql"_s, sql);
        emitEvent(event);
    });
}

} // namespace suite
