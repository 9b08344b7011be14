#include "screen/frmXB733.h"

#include "screen/FormBuilder.h"
#include "suite/kit/FormControls.h"
#include "screen/FormDescription.h"
#include "screen/FormKeyboard.h"
#include "screen/FormResize.h"
#include "screen/FormStartup.h"
#include "assets/AssetScreen.h"
#include "assets/FormVariables.h"
#include "assets/ScreenCodes.h"
#include "screen/RecordColumns.h"
#include "screen/RecordEvents.h"
#include "screen/ResponsibleType.h"
#include "screen/TabFrames.h"
#include "screen/UnsavedWork.h"
#include "suite/data/Connection.h"
#include "suite/data/SuiteError.h"
#include "suite/kit/Controles.h"
#include "suite/kit/ListView.h"
#include "suite/kit/OptionButton.h"
#include "suite/kit/SsTbKit.h"
#include "suite/kit/Twips.h"
#include "suite/kit/TxtKit.h"
#include "suite/services/Entorno.h"
#include "suite/services/Utilerias.h"
#include "suite/services/Variants.h"

#include <QCloseEvent>
#include <QEvent>
#include <QMetaProperty>
#include <QtGlobal>
#include <exception>
#include <functional>

using namespace Qt::StringLiterals;

namespace {

// The runtime's own texts for a missing object and a missing member.
const QString NoObject = u"Variable de objeto o bloque With no establecido"_s;
const QString NoMember = u"El objeto no acepta esta propiedad o método"_s;

// Asked before a stray key or the window's close drops a record being keyed.
const QString Unsaved = u"El activo fijo tiene cambios sin guardar."_s;
const QString DropQuestion = u"\r\n¿Desea descartarlos?"_s;
const QString DropTitle = u"Descartar cambios"_s;
const QString DropId = u"ERR-ID:7500070"_s;
const QString LeaveQuestion = u"\r\n¿Desea salir sin guardarlos?"_s;
const QString LeaveTitle = u"Salir sin guardar"_s;
const QString LeaveId = u"ERR-ID:7500071"_s;

} // namespace

frmXB733::frmXB733(suite::Entorno *entorno, suite::Utilerias *utilerias, QWidget *parent)
    : QWidget(parent)
    , m_entorno(entorno)
    , m_utilerias(utilerias)
    , m_controls(std::make_unique<suite::FormControls>())
    , m_variables(std::make_unique<xb733::FormVariables>())
{
    setObjectName(u"frmXB733"_s);
    setWindowTitle(u"Catalogo de activo fijo"_s);
    xb733::FormBuilder::build(this, xb733::FormDescription::controls(), *m_controls);
    giveLookupsTheirRows();
    wireEvents();
    setClientSizeTwips(DesignClientWidth, DesignClientHeight);
}

frmXB733::~frmXB733() = default;

void frmXB733::giveLookupsTheirRows()
{
    // The boxes' descriptions are read on the connection the screen works on.
    if (!m_entorno)
        return;
    suite::Entorno *entorno = m_entorno;
    const auto rows = [entorno](const QString &statement) { return entorno->Conexion()->Execute(statement); };
    for (const QString &name : m_controls->names()) {
        if (auto *box = m_controls->as<suite::txtKIT>(name))
            box->setRowSource(rows);
    }
}

void frmXB733::wireEvents()
{
    const suite::FormControls &c = *m_controls;

    connect(c.require<suite::OptionButton>(u"opEmpleado"_s), &suite::OptionButton::Click, this,
            [this] { guarded(u"opEmpleado_Click()"_s, [this] { opEmpleado_Click(); }); });
    connect(c.require<suite::OptionButton>(u"opCliente"_s), &suite::OptionButton::Click, this,
            [this] { guarded(u"opCliente_Click()"_s, [this] { opCliente_Click(); }); });

    auto *strip = c.require<suite::ssTbKit>(u"ssTabKit"_s);
    connect(strip, &suite::ssTbKit::TabChanged, this,
            [this](int previous) { guarded(u"ssTabKit_TabChanged()"_s, [&] { ssTabKit_TabChanged(previous); }); });

    // Enter acts as Tab where the control has no Enter of its own.
    auto enterAsTab = [this](const QString &routine) {
        return [this, routine](int keyCode) {
            guarded(routine, [&] {
                if (!m_utilerias)
                    throw suite::SuiteError(NoObject);
                xb733::FormKeyboard::enterAsTab(*m_utilerias, keyCode);
            });
        };
    };
    connect(c.require<suite::OptionButton>(u"opEmpleado"_s), &suite::OptionButton::KeyDown, this,
            enterAsTab(u"opEmpleado_KeyDown()"_s));
    connect(c.require<suite::OptionButton>(u"opCliente"_s), &suite::OptionButton::KeyDown, this,
            enterAsTab(u"opCliente_KeyDown()"_s));
    connect(c.require<suite::ListView>(u"lvActivoFijoContable"_s), &suite::ListView::KeyDown, this,
            enterAsTab(u"lvActivoFijoContable_KeyDown()"_s));
    connect(c.require<suite::ListView>(u"lvActivoFijoFiscal"_s), &suite::ListView::KeyDown, this,
            enterAsTab(u"lvActivoFijoFiscal_KeyDown()"_s));
    connect(strip, &suite::ssTbKit::KeyDown, this, enterAsTab(u"ssTabKit_KeyDown()"_s));

    m_keyboard = std::make_unique<xb733::FormKeyboard>(this, [this](int keyCode, int shift) {
        guarded(u"Form_KeyUp()"_s, [&] { Form_KeyUp(keyCode, shift); });
    });

    // Before the exit handler runs: the close it makes is the user's command, not a stray one.
    auto *toolbar = c.require<suite::Controles>(u"Controles"_s);
    connect(toolbar, &suite::Controles::Salir, this, [this] { m_leaving = true; });

    // The record operations need both services; a form made without them
    // (never by the component) shows and starts up, but keeps no records.
    if (m_entorno && m_utilerias) {
        m_records = std::make_unique<xb733::RecordEvents>(
            *this, c, *m_variables, *m_entorno, *m_utilerias,
            [this](const QString &routine, const std::function<void()> &handler) { guarded(routine, handler); });
    }
    connect(toolbar, &suite::Controles::Salir, this, [this] { m_leaving = false; });
    wireUnsavedWork();
}

void frmXB733::wireUnsavedWork()
{
    m_unsaved = std::make_unique<xb733::UnsavedWork>(*m_controls);
    auto *toolbar = m_controls->require<suite::Controles>(u"Controles"_s);
    // After their handlers (connected first): what New or Edit starts from.
    connect(toolbar, &suite::Controles::Nuevo, this, [this] { m_unsaved->remember(); });
    connect(toolbar, &suite::Controles::Modificar, this, [this] { m_unsaved->remember(); });
    connect(toolbar, &suite::Controles::KeyCommand, this, [this](const QString &command, bool &proceed) {
        if (command == u"Cancelar"_s || command == u"Salir"_s)
            proceed = mayDrop(command);
    }, Qt::DirectConnection);
}

bool frmXB733::mayDrop(const QString &command)
{
    if (!m_unsaved || !m_unsaved->pending())
        return true;
    bool drop = false; // a question that cannot be asked keeps the work
    const QString routine = command == u"Cancelar"_s ? u"Controles_Cancelar()"_s : u"Controles_Salir()"_s;
    guarded(routine, [&] {
        if (!m_entorno)
            throw suite::SuiteError(NoObject);
        const bool cancel = command == u"Cancelar"_s;
        const int answer = m_entorno->Mensaje(Unsaved + (cancel ? DropQuestion : LeaveQuestion), xb733::Question,
                                              cancel ? DropTitle : LeaveTitle, effectiveWinId(), u"XB733"_s,
                                              cancel ? DropId : LeaveId);
        drop = answer == xb733::Yes;
    });
    return drop;
}

bool frmXB733::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_padre && event->type() == QEvent::Close && !m_leaving && !mayDrop(u"Salir"_s)) {
        event->ignore();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

template<class Handler>
void frmXB733::guarded(const QString &routine, Handler handler)
{
    try {
        handler();
    } catch (const std::exception &e) {
        const QString text = xb733::AssetScreen::describe(e);
        qWarning("%s: %s", qPrintable(routine), qPrintable(text));
        Q_EMIT eventFailed(routine, text);
        // As the platform reports an error no handler trapped: its text, a
        // stop icon and the routine; the user is never left without a word.
        if (m_entorno) {
            try {
                m_entorno->Mensaje(text, xb733::Critical, routine, effectiveWinId(), u"XB733"_s, QString());
            } catch (const std::exception &) {
                // Nothing more can be said; the warning above stays.
            }
        }
    }
}

QObject *frmXB733::Padre() const
{
    return m_padre.data();
}

void frmXB733::setPadre(QObject *padre)
{
    if (m_padre)
        m_padre->removeEventFilter(this);
    m_padre = padre;
    if (m_padre)
        m_padre->installEventFilter(this);
}

QString frmXB733::Transaccion() const
{
    QObject *padre = Padre();
    if (!padre)
        throw suite::SuiteError(NoObject);
    const bool declared = padre->metaObject()->indexOfProperty("Transaccion") >= 0;
    if (!declared && !padre->dynamicPropertyNames().contains("Transaccion"))
        throw suite::SuiteError(NoMember);
    const QString value = suite::cStr(padre->property("Transaccion"));
    if (!m_utilerias)
        throw suite::SuiteError(NoObject);
    return m_utilerias->LeeConfiguracion(value, u"Talvexor"_s);
}

bool frmXB733::ensureLoaded()
{
    if (m_loadAttempted)
        return m_loaded;
    m_loadAttempted = true;
    try {
        Form_Load();
        m_loaded = true;
    } catch (const std::exception &e) {
        m_loadError = xb733::AssetScreen::describe(e);
    }
    if (!m_loaded)
        Q_EMIT loadFailed(m_loadError);
    return m_loaded;
}

bool frmXB733::isLoaded() const
{
    return m_loaded;
}

QString frmXB733::loadError() const
{
    return m_loadError;
}

void frmXB733::Form_Load()
{
    if (!m_entorno)
        throw suite::SuiteError(NoObject);
    xb733::FormStartup(*m_entorno, *m_controls, *m_variables).run();
}

QWidget *frmXB733::control(const QString &name) const
{
    return m_controls->widget(name);
}

suite::Entorno *frmXB733::entorno() const { return m_entorno; }
suite::Utilerias *frmXB733::utilerias() const { return m_utilerias; }

QString frmXB733::CentroCostoDefault() const { return m_variables->CentroCostoDefault; }
QString frmXB733::EtiquetasActivoFijo() const { return m_variables->EtiquetasActivoFijo; }
QString frmXB733::MarcaEquipoDefault() const { return m_variables->MarcaEquipoDefault; }
QString frmXB733::TipoVehiculoDefault() const { return m_variables->TipoVehiculoDefault; }
QString frmXB733::UbicacionEquipoDefault() const { return m_variables->UbicacionEquipoDefault; }
QString frmXB733::TipoEquipoDefault() const { return m_variables->TipoEquipoDefault; }
QString frmXB733::FormatoEquipo() const { return m_variables->FormatoEquipo; }
QString frmXB733::FormatoVehiculo() const { return m_variables->FormatoVehiculo; }
QString frmXB733::FormatoCentroCosto() const { return m_variables->FormatoCentroCosto; }
bool frmXB733::ClaveEditable() const { return m_variables->ClaveEditable; }

QVariantList frmXB733::recordColumns() const
{
    return xb733::RecordColumns::describe();
}

void frmXB733::assumeShownVersion(qlonglong version)
{
    if (m_records)
        m_records->assumeShownVersion(version);
}

double frmXB733::scaleWidth() const
{
    return float(suite::pixelsToTwipsX(this, width()));
}

double frmXB733::scaleHeight() const
{
    return float(suite::pixelsToTwipsY(this, height()));
}

void frmXB733::setClientSizeTwips(double width, double height)
{
    resize(qRound(suite::twipsToPixelsX(this, width)), qRound(suite::twipsToPixelsY(this, height)));
}

void frmXB733::Form_Activate()
{
    QWidget *key = m_controls->require(u"txt_Af_Cve_Activo_Fijo"_s);
    if (key->property("enabled").toBool())
        key->setFocus(Qt::OtherFocusReason);
}

void frmXB733::Form_Resize()
{
    xb733::FormResize::apply(*m_controls, float(scaleWidth()), float(scaleHeight()));
}

void frmXB733::Form_KeyUp(int keyCode, int shift)
{
    const int tab = xb733::FormKeyboard::tabForKey(keyCode, shift);
    if (tab < 0)
        return;
    m_controls->require<suite::ssTbKit>(u"ssTabKit"_s)->setTab(tab);
    // The focus must not stay on a control the tab change has just disabled.
    xb733::TabFrames::focusFirst(*m_controls, tab);
}

void frmXB733::opEmpleado_Click()
{
    xb733::ResponsibleType::choose(*m_controls, xb733::ResponsibleType::Employee);
}

void frmXB733::opCliente_Click()
{
    xb733::ResponsibleType::choose(*m_controls, xb733::ResponsibleType::Client);
}

void frmXB733::ssTabKit_TabChanged(int)
{
    xb733::TabFrames::follow(*m_controls);
}

bool frmXB733::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        guarded(u"Form_Activate()"_s, [this] { Form_Activate(); });
    return QWidget::event(event);
}

void frmXB733::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    ensureLoaded();
    Form_Resize();
}

void frmXB733::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}
