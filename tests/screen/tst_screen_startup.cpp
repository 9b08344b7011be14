// Start-up: what it reads from the configuration and where it puts it, the
// state it leaves, a start-up that fails, the parent's transaction and the
// activation focus rule.
#include "ScreenFixture.h"

#include "suite/data/SuiteError.h"
#include "suite/kit/Controles.h"
#include "suite/kit/ListView.h"
#include "suite/kit/OptionButton.h"
#include "suite/kit/SsTbKit.h"
#include "suite/kit/TxtKit.h"
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
    void keyPatterns_data();
    void keyPatterns();
    void formVariables();
    void automaticKeyAndUpperCase();
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

void tst_screen_startup::keyPatterns_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("variable");
    QTest::addColumn<QString>("whenUnset");

    // Unset variables give the default passed; those read without a default give "".
    QTest::newRow("asset") << u"txt_Af_Cve_Activo_Fijo"_s << u"FTO_ACTIVO_FIJO"_s << u"0000000000"_s;
    QTest::newRow("location") << u"txt_Au_Cve_Ubicacion"_s << u"FTO_UBICACION_ACTIVO_FIJO"_s << QString();
    QTest::newRow("company") << u"txtEmpresa"_s << u"FTO_EMPRESA"_s << u"0000"_s;
    QTest::newRow("asset type") << u"txt_Ta_Cve_Tipo_ActivoFijo"_s << u"FTO_TIPO_ACTIVO_FIJO"_s << QString();
    QTest::newRow("supplier") << u"txt_Pv_Cve_Proveedor"_s << u"FTO_PROVEEDOR"_s << QString();
    QTest::newRow("client") << u"txtClaveCliente"_s << u"FTO_CLIENTE"_s << QString();
    QTest::newRow("employee") << u"txtClaveEmpleado"_s << u"FTO_EMPLEADO"_s << QString();
    QTest::newRow("cost centre") << u"txtCentroCosto"_s << u"FTO_CENTRO_COSTO"_s << u"000000"_s;
    QTest::newRow("project") << u"txtProyecto"_s << u"FTO_PROYECTO"_s << u"0000000000"_s;
    QTest::newRow("business unit") << u"txtUen"_s << u"FTO_UNIDAD_ESTRATEGICA_NEGOCIO"_s << u"000000"_s;
}

void tst_screen_startup::keyPatterns()
{
    QFETCH(QString, box);
    QFETCH(QString, variable);
    QFETCH(QString, whenUnset);

    {
        ScreenFixture unset;
        QVERIFY(unset.form().ensureLoaded());
        QCOMPARE(formatoclave(unset, box), whenUnset);
    }
    {
        ScreenFixture set;
        set.setVariable(variable, u"00000000"_s);
        QVERIFY(set.form().ensureLoaded());
        QCOMPARE(formatoclave(set, box), u"00000000"_s);
        // Only its own box takes the pattern.
        for (const QString &other : {u"txt_Af_Cve_Activo_Fijo"_s, u"txtEmpresa"_s, u"txtClaveEmpleado"_s}) {
            if (other != box)
                QVERIFY(formatoclave(set, other) != u"00000000"_s);
        }
    }
}

void tst_screen_startup::formVariables()
{
    ScreenFixture unset;
    QVERIFY(unset.form().ensureLoaded());
    frmXB733 &a = unset.form();
    QCOMPARE(a.FormatoEquipo(), u"0000000000"_s);
    QCOMPARE(a.FormatoVehiculo(), u"0000000000"_s);
    QCOMPARE(a.FormatoCentroCosto(), u"000000"_s);
    for (const char *name : {"CentroCostoDefault", "EtiquetasActivoFijo", "MarcaEquipoDefault", "TipoVehiculoDefault",
                             "UbicacionEquipoDefault", "TipoEquipoDefault"}) {
        const QVariant value = a.property(name);
        QVERIFY2(value.isValid(), name);
        QCOMPARE(value.toString(), QString());
    }

    ScreenFixture set;
    const QList<std::pair<QString, const char *>> settings = {
        {u"AF_CENTRO_COSTO_DEFAULT"_s, "CentroCostoDefault"},
        {u"CAT_ETIQUETAS_ACTIVO_FIJO"_s, "EtiquetasActivoFijo"},
        {u"CAT_MARCA_EQUIPO_DEFAULT"_s, "MarcaEquipoDefault"},
        {u"CAT_TIPO_VEHICULO_DEFAULT"_s, "TipoVehiculoDefault"},
        {u"CAT_UBICACION_EQUIPO_DEFAULT"_s, "UbicacionEquipoDefault"},
        {u"CAT_TIPO_EQUIPO_DEFAULT"_s, "TipoEquipoDefault"},
        {u"FTO_EQUIPO"_s, "FormatoEquipo"},
        {u"FTO_VEHICULO"_s, "FormatoVehiculo"},
        {u"FTO_CENTRO_COSTO"_s, "FormatoCentroCosto"},
    };
    // Distinct values, so a variable landing in the wrong place shows.
    for (int i = 0; i < settings.size(); ++i)
        set.setVariable(settings[i].first, u"valor %1 ñ"_s.arg(i));
    QVERIFY(set.form().ensureLoaded());
    for (int i = 0; i < settings.size(); ++i)
        QCOMPARE(set.form().property(settings[i].second).toString(), u"valor %1 ñ"_s.arg(i));
    // The cost-centre pattern is read twice: once for the variable, once for the box.
    QCOMPARE(formatoclave(set, u"txtCentroCosto"_s), u"valor 8 ñ"_s);
}

void tst_screen_startup::automaticKeyAndUpperCase()
{
    {
        ScreenFixture f;
        QVERIFY(f.form().ensureLoaded());
        QVERIFY(!f.form().ClaveEditable());
        QVERIFY(!f.session().forceUpperCase());
    }
    {
        ScreenFixture f;
        f.setOption(u"XB733"_s, u"CAT001"_s, u"1"_s);
        f.setVariable(u"CAT_FORZAR_MAYUSCULAS"_s, u"SI"_s);
        QVERIFY(f.form().ensureLoaded());
        QVERIFY(f.form().ClaveEditable());
        QVERIFY(f.session().forceUpperCase());

        // Upper-casing reaches boxes that do not upper-case by design.
        QVERIFY(f.showActive());
        auto *brand = f.get<suite::txtKIT>(u"txtMarca"_s);
        QVERIFY(!brand->mayusculas());
        brand->setProperty("enabled", true);
        brand->setFocus();
        QTest::keyClicks(brand, u"acme"_s);
        QCOMPARE(brand->text(), u"ACME"_s);
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
    auto *tax = f.get<suite::ListView>(u"lvActivoFijoFiscal"_s);
    // Whatever the lists held before, they end with the four columns.
    accounting->addColumnHeader(u"Vieja"_s);
    accounting->addColumnHeader(u"Otra"_s);
    auto *strip = f.get<suite::ssTbKit>(u"ssTabKit"_s);
    strip->setTab(3);
    f.get(u"txtClaveCliente"_s)->setProperty("text", u"C001"_s);
    auto *toolbar = f.get<suite::Controles>(u"Controles"_s);
    QVERIFY(toolbar->press(u"Nuevo"_s));
    QVERIFY(toolbar->editando());

    QVERIFY(f.form().ensureLoaded());

    QVERIFY(toolbar->estadoinicial());
    QVERIFY(!toolbar->editando());
    for (suite::ListView *list : {accounting, tax}) {
        QCOMPARE(list->columnHeaderCount(), 4);
        QCOMPARE(list->columnHeaderText(0), u"Número"_s);
        QCOMPARE(list->columnHeaderText(1), u"Fecha"_s);
        QCOMPARE(list->columnHeaderText(2), u"Ce.Co"_s);
        QCOMPARE(list->columnHeaderText(3), u"Importe"_s);
        QCOMPARE(list->columnHeaderWidth(0), 900.0);
    }
    QCOMPARE(strip->tab(), 0);
    QVERIFY(f.get(u"Fr0"_s)->property("enabled").toBool());
    QVERIFY(!f.get(u"Fr3"_s)->property("enabled").toBool());

    QVERIFY(f.get<suite::OptionButton>(u"opEmpleado"_s)->value());
    QVERIFY(!f.get<suite::OptionButton>(u"opCliente"_s)->value());
    QVERIFY(!f.get(u"frmEmpleado"_s)->isHidden());
    QVERIFY(f.get(u"frmEmpleado"_s)->property("enabled").toBool());
    QVERIFY(f.get(u"frmCliente"_s)->isHidden());
    QVERIFY(!f.get(u"frmCliente"_s)->property("enabled").toBool());
    QCOMPARE(f.get(u"txtClaveCliente"_s)->property("text").toString(), QString());

    // Start-up leaves every field as designed: only the key box takes input.
    QVERIFY(f.get(u"txt_Af_Cve_Activo_Fijo"_s)->property("enabled").toBool());
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
    QCOMPARE(form.Padre(), nullptr);
    QVERIFY_THROWS_EXCEPTION(suite::SuiteError, form.Transaccion());

    QObject plain;
    form.setPadre(&plain);
    QVERIFY_THROWS_EXCEPTION(suite::SuiteError, form.Transaccion());

    QObject first;
    QObject second;
    first.setProperty("Transaccion", u"PRIMERA"_s);
    second.setProperty("Transaccion", 733);
    form.setPadre(&first);
    form.setPadre(&second);
    QCOMPARE(form.Padre(), &second);
    QCOMPARE(form.property("Padre").value<QObject *>(), &second);
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
    QCOMPARE(QApplication::focusWidget(), brand);
    f.form().Form_Activate();
    QCOMPARE(QApplication::focusWidget(), brand);

    key->setProperty("enabled", true);
    f.form().Form_Activate();
    QCOMPARE(QApplication::focusWidget(), key);
}

QTEST_MAIN(tst_screen_startup)
#include "tst_screen_startup.moc"
