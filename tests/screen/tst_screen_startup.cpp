// Start-up: what it reads from the configuration and where it puts it, the
// state it leaves, a start-up that fails, the parent's transaction and the
// activation focus rule.
#include "ScreenFixture.h"

#include "suite/data/SuiteError.h"
#include "suite/kit/Controles.h"
#include "suite/kit/ListView.h"
#include "suite/kit/OptionButton.h"
#include "suite/kit/SsTbKit.h"
#include "suite/services/Utilerias.h"
#include "suite/session/Session.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

class tst_screen_startup : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void variablesReachTheirPlaces();
    void automaticKeyOption();
    void stateAfterStartUp();
    void runsOnceOnFirstShow();
    void failingStartUpIsReported();
    void transaccion();
    void activationFocus();
};

namespace {
QString formatoclave(ScreenFixture &f, const QString &box)
{
    return f.get(box)->property("formatoclave").toString();
}
} // namespace

void tst_screen_startup::variablesReachTheirPlaces()
{
    // Where each variable goes (a box's key pattern or a form property), and
    // what is left there when it is unset: the default passed, or "".
    struct Place
    {
        QString variable;
        QString box;
        const char *property;
        QString whenUnset;
    };
    const QList<Place> places = {
        {u"FTO_ACTIVO_FIJO"_s, u"txt_Af_Cve_Activo_Fijo"_s, nullptr, u"0000000000"_s},
        {u"FTO_UBICACION_ACTIVO_FIJO"_s, u"txt_Au_Cve_Ubicacion"_s, nullptr, {}},
        {u"FTO_EMPRESA"_s, u"txtEmpresa"_s, nullptr, u"0000"_s},
        {u"FTO_TIPO_ACTIVO_FIJO"_s, u"txt_Ta_Cve_Tipo_ActivoFijo"_s, nullptr, {}},
        {u"FTO_PROVEEDOR"_s, u"txt_Pv_Cve_Proveedor"_s, nullptr, {}},
        {u"FTO_CLIENTE"_s, u"txtClaveCliente"_s, nullptr, {}},
        {u"FTO_EMPLEADO"_s, u"txtClaveEmpleado"_s, nullptr, {}},
        {u"FTO_PROYECTO"_s, u"txtProyecto"_s, nullptr, u"0000000000"_s},
        {u"FTO_UNIDAD_ESTRATEGICA_NEGOCIO"_s, u"txtUen"_s, nullptr, u"000000"_s},
        // The cost-centre pattern is read twice: once for the variable, once for the box.
        {u"FTO_CENTRO_COSTO"_s, u"txtCentroCosto"_s, "FormatoCentroCosto", u"000000"_s},
        {u"FTO_EQUIPO"_s, {}, "FormatoEquipo", u"0000000000"_s},
        {u"FTO_VEHICULO"_s, {}, "FormatoVehiculo", u"0000000000"_s},
        {u"AF_CENTRO_COSTO_DEFAULT"_s, {}, "CentroCostoDefault", {}},
        {u"CAT_ETIQUETAS_ACTIVO_FIJO"_s, {}, "EtiquetasActivoFijo", {}},
        {u"CAT_MARCA_EQUIPO_DEFAULT"_s, {}, "MarcaEquipoDefault", {}},
        {u"CAT_TIPO_VEHICULO_DEFAULT"_s, {}, "TipoVehiculoDefault", {}},
        {u"CAT_UBICACION_EQUIPO_DEFAULT"_s, {}, "UbicacionEquipoDefault", {}},
        {u"CAT_TIPO_EQUIPO_DEFAULT"_s, {}, "TipoEquipoDefault", {}},
    };

    ScreenFixture unset;
    ScreenFixture set;
    // Distinct values, so a variable landing in the wrong place shows.
    for (int i = 0; i < places.size(); ++i)
        set.setVariable(places[i].variable, u"valor %1 ñ"_s.arg(i));
    QVERIFY(unset.form().ensureLoaded());
    QVERIFY(set.form().ensureLoaded());
    for (int i = 0; i < places.size(); ++i) {
        const Place &p = places[i];
        const QByteArray what = p.variable.toUtf8();
        if (!p.box.isEmpty()) {
            QVERIFY2(formatoclave(unset, p.box) == p.whenUnset, what.constData());
            QVERIFY2(formatoclave(set, p.box) == u"valor %1 ñ"_s.arg(i), what.constData());
        }
        if (p.property) {
            QVERIFY2(unset.form().property(p.property).toString() == p.whenUnset, what.constData());
            QVERIFY2(set.form().property(p.property).toString() == u"valor %1 ñ"_s.arg(i), what.constData());
        }
    }
}

void tst_screen_startup::automaticKeyOption()
{
    {
        ScreenFixture f;
        f.setOption(u"XB733"_s, u"CAT001"_s, u"1"_s);
        QVERIFY(f.form().ensureLoaded());
        QVERIFY(f.form().ClaveEditable());
    }
    {
        // Another component's option of the same id is not this screen's.
        ScreenFixture f;
        f.setOption(u"XB734"_s, u"CAT001"_s, u"1"_s);
        f.setVariable(u"CAT_FORZAR_MAYUSCULAS"_s, u"NO"_s);
        QVERIFY(f.form().ensureLoaded());
        QVERIFY(!f.form().ClaveEditable());
        QVERIFY(!f.session().forceUpperCase());
    }
}

void tst_screen_startup::stateAfterStartUp()
{
    ScreenFixture f;
    auto *accounting = f.get<suite::ListView>(u"lvActivoFijoContable"_s);
    // Whatever the lists held before, they end with the four columns.
    accounting->addColumnHeader(u"Vieja"_s);
    accounting->addColumnHeader(u"Otra"_s);
    auto *strip = f.get<suite::ssTbKit>(u"ssTabKit"_s);
    strip->setTab(3);
    f.get(u"txtClaveCliente"_s)->setProperty("text", u"C001"_s);
    auto *toolbar = f.get<suite::Controles>(u"Controles"_s);
    QVERIFY(toolbar->press(u"Nuevo"_s));

    QVERIFY(f.form().ensureLoaded());

    QVERIFY(toolbar->estadoinicial());
    QVERIFY(!toolbar->editando());
    for (auto *list : {accounting, f.get<suite::ListView>(u"lvActivoFijoFiscal"_s)}) {
        QCOMPARE(list->columnHeaderCount(), 4);
        QCOMPARE(list->columnHeaderText(0), u"Número"_s);
        QCOMPARE(list->columnHeaderWidth(0), 900.0);
    }
    QCOMPARE(strip->tab(), 0);
    QVERIFY(f.get(u"Fr0"_s)->property("enabled").toBool());
    QVERIFY(!f.get(u"Fr3"_s)->property("enabled").toBool());
    QVERIFY(f.get(u"frmEmpleado"_s)->property("enabled").toBool());
    QVERIFY(f.get(u"frmCliente"_s)->isHidden());
    QCOMPARE(f.get(u"txtClaveCliente"_s)->property("text").toString(), QString());
    // Start-up leaves every field as designed: only the key box takes input.
    QVERIFY(!f.get(u"txtClaveEmpleado"_s)->property("enabled").toBool());
    QVERIFY(!f.get(u"opEmpleado"_s)->property("enabled").toBool());
}

void tst_screen_startup::runsOnceOnFirstShow()
{
    ScreenFixture f;
    QVERIFY(!f.form().isLoaded());
    f.setVariable(u"FTO_EMPRESA"_s, u"00"_s);
    QVERIFY(f.showActive());
    QVERIFY(f.form().isLoaded());
    QCOMPARE(formatoclave(f, u"txtEmpresa"_s), u"00"_s);

    f.setVariable(u"FTO_EMPRESA"_s, u"000"_s);
    f.form().hide();
    QVERIFY(f.showActive());
    QVERIFY(f.form().ensureLoaded());
    QCOMPARE(formatoclave(f, u"txtEmpresa"_s), u"00"_s);
}

void tst_screen_startup::failingStartUpIsReported()
{
    ScreenFixture f;
    f.setVariable(u"CAT_FORZAR_MAYUSCULAS"_s, u"QUIZAS"_s);
    f.setVariable(u"FTO_EMPRESA"_s, u"000"_s);
    f.setOption(u"XB733"_s, u"CAT001"_s, u"SI"_s);
    QSignalSpy failed(&f.form(), &frmXB733::loadFailed);

    f.form().show(); // the first show starts it; nothing escapes the event
    QCOMPARE(failed.count(), 1);
    QVERIFY(!f.form().isLoaded());
    QVERIFY(!f.form().ensureLoaded());
    QCOMPARE(failed.count(), 1); // not tried again
    QVERIFY2(f.form().loadError().contains(u"QUIZAS"_s), qPrintable(f.form().loadError()));
    QCOMPARE(failed.at(0).at(0).toString(), f.form().loadError());

    // What came before the failure stays set; what comes after never ran.
    QCOMPARE(formatoclave(f, u"txtEmpresa"_s), u"000"_s);
    QVERIFY(f.form().ClaveEditable());
    QVERIFY(!f.get<suite::OptionButton>(u"opEmpleado"_s)->value());
    QCOMPARE(f.get<suite::ListView>(u"lvActivoFijoContable"_s)->columnHeaderCount(), 0);
}

void tst_screen_startup::transaccion()
{
    ScreenFixture f;
    frmXB733 &form = f.form();
    QVERIFY_THROWS_EXCEPTION(suite::SuiteError, form.Transaccion());
    QObject plain;
    form.setPadre(&plain);
    QVERIFY_THROWS_EXCEPTION(suite::SuiteError, form.Transaccion());

    QObject parent;
    parent.setProperty("Transaccion", 733);
    form.setPadre(&parent);
    // The parent's value, as text, and the suite's name go to the configuration.
    QCOMPARE(form.Transaccion(), f.utilerias().LeeConfiguracion(u"733"_s, u"Talvexor"_s));
    QCOMPARE(form.property("Transaccion").toString(), form.Transaccion());
}

void tst_screen_startup::activationFocus()
{
    ScreenFixture f;
    QVERIFY(f.showActive());
    QWidget *key = f.get(u"txt_Af_Cve_Activo_Fijo"_s);
    QTRY_COMPARE(QApplication::focusWidget(), key);

    // With the key box disabled (editing) activation leaves the focus alone.
    QWidget *brand = f.get(u"txtMarca"_s);
    brand->setProperty("enabled", true);
    key->setProperty("enabled", false);
    brand->setFocus();
    f.form().Form_Activate();
    QCOMPARE(QApplication::focusWidget(), brand);

    key->setProperty("enabled", true);
    f.form().Form_Activate();
    QCOMPARE(QApplication::focusWidget(), key);
}

QTEST_MAIN(tst_screen_startup)
#include "tst_screen_startup.moc"
