// The form in-process, for the detail the scripted host cannot show: its
// lookups, groups and tab order as designed; what start-up reads and where it
// puts it, the state it leaves, a start-up that fails, the parent's
// transaction, the activation focus rule; the keyboard and the responsible type.
#include "ScreenFixture.h"

#include "suite/data/SuiteError.h"
#include "suite/kit/Controles.h"
#include "suite/kit/DataGrid.h"
#include "suite/kit/DpFecha.h"
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

class tst_screen_form : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void lookupParts_data();
    void lookupParts();
    void groupsFollowTags();
    void tabOrder();
    void variablesReachTheirPlaces();
    void automaticKeyOption();
    void stateAfterStartUp();
    void runsOnceOnFirstShow();
    void failingStartUpIsReported();
    void transaccion();
    void activationFocus();
    void successiveAltDigits();
    void enterActsAsTab();
    void responsibleOrder();
};

namespace {

// Every control that takes input: text boxes, pickers, option buttons, the grid.
QList<QWidget *> inputs(QWidget *form)
{
    QList<QWidget *> out;
    for (QWidget *w : form->findChildren<QWidget *>()) {
        if (!w->objectName().isEmpty()
            && (qobject_cast<suite::txtKIT *>(w) || qobject_cast<suite::dpFecha *>(w)
                || qobject_cast<suite::OptionButton *>(w) || qobject_cast<suite::DataGrid *>(w)))
            out.append(w);
    }
    return out;
}

bool own(QWidget *w) { return w->property("enabled").toBool(); }

QString formatoclave(ScreenFixture &f, const QString &box)
{
    return f.get(box)->property("formatoclave").toString();
}

QStringList enabledFrames(ScreenFixture &f)
{
    QStringList out;
    for (int tab = 0; tab < 4; ++tab) {
        if (f.get(u"Fr%1"_s.arg(tab))->property("enabled").toBool())
            out << u"Fr%1"_s.arg(tab);
    }
    return out;
}

void focus(QWidget *w)
{
    w->setProperty("enabled", true);
    w->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), w);
}

} // namespace

void tst_screen_form::lookupParts_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QByteArray>("property");
    QTest::addColumn<QString>("expected");

    // Each part of a lookup lands in its own property.
    QTest::newRow("key lookup") << u"txt_Af_Cve_Activo_Fijo"_s << "idconsulta"_ba << u"ACTIVO_FIJO"_s;
    QTest::newRow("key no sql") << u"txt_Af_Cve_Activo_Fijo"_s << "sql"_ba << QString();
    QTest::newRow("company sql") << u"txtEmpresa"_s << "sql"_ba
        << u"SELECT Em_Descripcion FROM Empresa WHERE Em_Cve_Empresa ='?' AND Es_Cve_Estado <> 'BA'"_s;
    QTest::newRow("account 2 result") << u"txtCuentaContable2"_s << "sql_control_resultado"_ba
                                      << u"txtNCuentacontable2"_s;
    QTest::newRow("employee transaction") << u"txtClaveEmpleado"_s << "transaccion"_ba << u"EMPLEADO"_s;
}

void tst_screen_form::lookupParts()
{
    QFETCH(QString, control);
    QFETCH(QByteArray, property);
    QFETCH(QString, expected);
    ScreenFixture f;
    const QVariant actual = f.get(control)->property(property.constData());
    QVERIFY2(actual.isValid(), property.constData());
    QCOMPARE(actual.toString(), expected);
}

void tst_screen_form::groupsFollowTags()
{
    ScreenFixture f;
    frmXB733 &form = f.form();
    f.get(u"txt_Af_Cve_Activo_Fijo"_s)->setProperty("text", u"0000000001"_s);

    f.utilerias().HabilitaControles(&form, 1);
    f.utilerias().HabilitaControles(&form, 5);
    // Groups 1 and 5 hold every input but the key box, and the descriptions
    // beside type, company, location, supplier and the numbered accounts.
    const QStringList untagged = {u"txtDescripcionEmpleado"_s, u"txtDescripcionCliente"_s, u"txtNContable"_s,
                                  u"txtNCentroCosto"_s, u"txtNProyecto"_s, u"txtNUen"_s};
    for (QWidget *w : inputs(&form)) {
        const bool shouldBeEnabled = !untagged.contains(w->objectName());
        QVERIFY2(own(w) == shouldBeEnabled, qPrintable(w->objectName()));
    }
    QVERIFY(own(f.get(u"frmEmpleado"_s)));
    QVERIFY(own(f.get(u"frmCliente"_s)));

    f.get(u"txtMarca"_s)->setProperty("text", u"ACME"_s);
    f.get(u"txt_Costo_Original"_s)->setProperty("valor", 1500.5);
    f.utilerias().LimpiaControles(&form, 1);
    QCOMPARE(f.get(u"txtMarca"_s)->property("text").toString(), QString());
    QCOMPARE(f.get(u"txt_Costo_Original"_s)->property("text").toString(), u"$0.0000"_s);
    QVERIFY(!own(f.get(u"txtMarca"_s)));
    QVERIFY(own(f.get(u"ssDetalle"_s))); // group 5 is apart
    QCOMPARE(f.get(u"txt_Af_Cve_Activo_Fijo"_s)->property("text").toString(), u"0000000001"_s);
    QVERIFY(own(f.get(u"txt_Af_Cve_Activo_Fijo"_s)));
}

void tst_screen_form::tabOrder()
{
    ScreenFixture f;
    frmXB733 &form = f.form();
    const QStringList expected = {
        u"ssTabKit"_s, u"txt_Af_Cve_Activo_Fijo"_s, u"txt_Af_Descripcion"_s, u"txt_Ta_Cve_Tipo_ActivoFijo"_s,
        u"txtEmpresa"_s, u"txt_Au_Cve_Ubicacion"_s, u"txtMarca"_s, u"txtModelo"_s, u"txtNSerie"_s,
        u"txtNEconomico"_s, u"opEmpleado"_s, u"opCliente"_s, u"txtClaveCliente"_s, u"txtClaveEmpleado"_s,
        u"txtCalificacion"_s, u"txtVidaUtil"_s, u"txtProyecto"_s, u"txtCentroCosto"_s, u"txtUen"_s,
        u"txtCuentaContable"_s, u"txtCuentaContable1"_s, u"txtCuentaContable2"_s, u"txtCuentaContable3"_s,
        u"ssDetalle"_s, u"txt_Pv_Cve_Proveedor"_s, u"txt_Referencia"_s, u"dpFechaCompra"_s,
        u"txt_Costo_Original"_s, u"lvActivoFijoContable"_s, u"lvActivoFijoFiscal"_s, u"txtUser1"_s,
        u"txtUser2"_s, u"txtUser3"_s, u"txtUser4"_s, u"dpUser5"_s, u"dpUser6"_s};

    // The form's own controls that Tab can reach, in focus-chain order.
    QStringList chain;
    QWidget *start = f.get(u"ssTabKit"_s);
    QWidget *w = start;
    do {
        if (!w->objectName().isEmpty() && form.control(w->objectName()) == w && (w->focusPolicy() & Qt::TabFocus))
            chain << w->objectName();
        w = w->nextInFocusChain();
    } while (w && w != start);
    QCOMPARE(chain, expected);

    auto *strip = f.get<suite::ssTbKit>(u"ssTabKit"_s);
    QCOMPARE(strip->tabcount(), 4);
    for (int tab = 0; tab < 4; ++tab) {
        QCOMPARE(strip->tabCaption(tab),
                 (QStringList{u"General"_s, u"Contables"_s, u"Depreciación"_s, u"Datos de usuario"_s}[tab]));
        const QList<QWidget *> held = strip->tabControls(tab);
        QCOMPARE(held.size(), 2);
        QVERIFY(held.contains(f.get(u"Fr%1"_s.arg(tab))) && held.contains(f.get(u"Sh%1"_s.arg(tab))));
    }
}

void tst_screen_form::variablesReachTheirPlaces()
{
    // Where each variable goes (a form property, else a box's key pattern),
    // and what is left there when it is unset: the default passed, or "".
    const QList<std::tuple<QString, QString, QString>> places = {
        {u"FTO_ACTIVO_FIJO"_s, u"txt_Af_Cve_Activo_Fijo"_s, u"0000000000"_s},
        {u"FTO_UBICACION_ACTIVO_FIJO"_s, u"txt_Au_Cve_Ubicacion"_s, {}},
        {u"FTO_EMPRESA"_s, u"txtEmpresa"_s, u"0000"_s},
        {u"FTO_TIPO_ACTIVO_FIJO"_s, u"txt_Ta_Cve_Tipo_ActivoFijo"_s, {}},
        {u"FTO_PROVEEDOR"_s, u"txt_Pv_Cve_Proveedor"_s, {}},
        {u"FTO_CLIENTE"_s, u"txtClaveCliente"_s, {}},
        {u"FTO_EMPLEADO"_s, u"txtClaveEmpleado"_s, {}},
        {u"FTO_PROYECTO"_s, u"txtProyecto"_s, u"0000000000"_s},
        {u"FTO_UNIDAD_ESTRATEGICA_NEGOCIO"_s, u"txtUen"_s, u"000000"_s},
        // The cost-centre pattern is read twice: once for the variable, once for the box.
        {u"FTO_CENTRO_COSTO"_s, u"txtCentroCosto"_s, u"000000"_s},
        {u"FTO_CENTRO_COSTO"_s, u"FormatoCentroCosto"_s, u"000000"_s},
        {u"FTO_EQUIPO"_s, u"FormatoEquipo"_s, u"0000000000"_s},
        {u"FTO_VEHICULO"_s, u"FormatoVehiculo"_s, u"0000000000"_s},
        {u"AF_CENTRO_COSTO_DEFAULT"_s, u"CentroCostoDefault"_s, {}},
        {u"CAT_ETIQUETAS_ACTIVO_FIJO"_s, u"EtiquetasActivoFijo"_s, {}},
        {u"CAT_MARCA_EQUIPO_DEFAULT"_s, u"MarcaEquipoDefault"_s, {}},
        {u"CAT_TIPO_VEHICULO_DEFAULT"_s, u"TipoVehiculoDefault"_s, {}},
        {u"CAT_UBICACION_EQUIPO_DEFAULT"_s, u"UbicacionEquipoDefault"_s, {}},
        {u"CAT_TIPO_EQUIPO_DEFAULT"_s, u"TipoEquipoDefault"_s, {}},
    };
    // Distinct values, so a variable landing in the wrong place shows.
    auto valueOf = [](const QString &variable) { return variable.toLower() + u" ñ"_s; };
    auto read = [](ScreenFixture &f, const QString &where) {
        const QVariant property = f.form().property(where.toLatin1().constData());
        return property.isValid() ? property.toString() : formatoclave(f, where);
    };
    ScreenFixture unset;
    ScreenFixture set;
    for (const auto &[variable, where, whenUnset] : places)
        set.setVariable(variable, valueOf(variable));
    QVERIFY(unset.form().ensureLoaded() && set.form().ensureLoaded());
    for (const auto &[variable, where, whenUnset] : places) {
        QVERIFY2(read(unset, where) == whenUnset, qPrintable(where));
        QVERIFY2(read(set, where) == valueOf(variable), qPrintable(where));
    }
}

void tst_screen_form::automaticKeyOption()
{
    // Another component's option of the same id is not this screen's (the
    // failing start-up below shows this screen's own turning it on).
    ScreenFixture f;
    f.setOption(u"XB734"_s, u"CAT001"_s, u"1"_s);
    f.setVariable(u"CAT_FORZAR_MAYUSCULAS"_s, u"NO"_s);
    QVERIFY(f.form().ensureLoaded());
    QVERIFY(!f.form().ClaveEditable());
    QVERIFY(!f.session().forceUpperCase());
}

void tst_screen_form::stateAfterStartUp()
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
    // The end-to-end run checks the tab and the party shown; here, what came before is gone.
    QVERIFY(!f.get(u"Fr3"_s)->property("enabled").toBool());
    QVERIFY(f.get(u"frmCliente"_s)->isHidden());
    QCOMPARE(f.get(u"txtClaveCliente"_s)->property("text").toString(), QString());
}

void tst_screen_form::runsOnceOnFirstShow()
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

void tst_screen_form::failingStartUpIsReported()
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

void tst_screen_form::transaccion()
{
    ScreenFixture f;
    frmXB733 &form = f.form();
    QVERIFY_THROWS_EXCEPTION(suite::SuiteError, form.Transaccion());
    QObject plain; // no such property
    form.setPadre(&plain);
    QVERIFY_THROWS_EXCEPTION(suite::SuiteError, form.Transaccion());

    QObject parent;
    parent.setProperty("Transaccion", 733);
    form.setPadre(&parent);
    // The parent's value, as text, and the suite's name go to the configuration.
    QCOMPARE(form.Transaccion(), f.utilerias().LeeConfiguracion(u"733"_s, u"Talvexor"_s));
    QCOMPARE(form.property("Transaccion").toString(), form.Transaccion());
}

void tst_screen_form::activationFocus()
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

void tst_screen_form::successiveAltDigits()
{
    ScreenFixture f;
    QVERIFY(f.showActive());
    auto *strip = f.get<suite::ssTbKit>(u"ssTabKit"_s);
    // Each key goes where the focus is now: the page it was on may have gone.
    // Alt with a digit out of 1..4, or with another modifier, does nothing.
    const QList<std::tuple<int, int, int>> steps = {
        {Qt::Key_2, Qt::AltModifier, 1}, {Qt::Key_4, Qt::AltModifier, 3}, {Qt::Key_1, Qt::AltModifier, 0},
        {Qt::Key_3, Qt::AltModifier, 2}, {Qt::Key_3, Qt::AltModifier, 2}, {Qt::Key_2, Qt::AltModifier, 1},
        {Qt::Key_5, Qt::AltModifier, 1}, {Qt::Key_0, Qt::AltModifier, 1}, {Qt::Key_3, Qt::ControlModifier, 1},
    };
    for (const auto &[key, modifiers, tab] : steps) {
        QWidget *focus = QApplication::focusWidget();
        QVERIFY(focus);
        QTest::keyClick(focus, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(strip->tab(), tab);
        QCOMPARE(enabledFrames(f), QStringList{u"Fr%1"_s.arg(tab)});
    }
}

void tst_screen_form::enterActsAsTab()
{
    ScreenFixture f;
    QVERIFY(f.showActive()); // start-up chose the employee
    auto *employee = f.get<suite::OptionButton>(u"opEmpleado"_s);
    auto *client = f.get<suite::OptionButton>(u"opCliente"_s);
    client->setProperty("enabled", true);
    f.get(u"txtClaveEmpleado"_s)->setProperty("enabled", true);

    // As Tab: past the other option of the group, to the responsible's key.
    focus(employee);
    QTest::keyClick(employee, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), f.get(u"txtClaveEmpleado"_s));
    QVERIFY(employee->value()); // moving on selects nothing

    // Other keys keep their meaning: an arrow moves to the other option and chooses it.
    focus(employee);
    QTest::keyClick(employee, Qt::Key_Right);
    QCOMPARE(QApplication::focusWidget(), client);
    QVERIFY(client->value());

    auto *strip = f.get<suite::ssTbKit>(u"ssTabKit"_s);
    strip->setTab(2);
    focus(f.get(u"lvActivoFijoContable"_s));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), f.get(u"lvActivoFijoFiscal"_s));
    // Enter on the strip moves on as well (keypad Enter is Enter too).
    focus(strip);
    QTest::keyClick(strip, Qt::Key_Enter, Qt::KeypadModifier);
    QVERIFY(QApplication::focusWidget() != strip);
    QCOMPARE(strip->tab(), 2);
}

void tst_screen_form::responsibleOrder()
{
    ScreenFixture f;
    QVERIFY(f.form().ensureLoaded()); // employee chosen
    auto text = [&](const char *name) { return f.get(QString::fromLatin1(name))->property("text").toString(); };
    f.get(u"txtClaveEmpleado"_s)->setProperty("text", u"E001"_s);
    f.get(u"txtDescripcionEmpleado"_s)->setProperty("text", u"Ana"_s);

    // What happens to the frames, in order; "early" if the employee's boxes
    // still held something then.
    QStringList log;
    struct Watch : QObject
    {
        std::function<void(QObject *, QEvent *)> seen;
        bool eventFilter(QObject *o, QEvent *e) override { seen(o, e); return false; }
    } watch;
    watch.seen = [&](QObject *o, QEvent *e) {
        QString what;
        if (e->type() == QEvent::EnabledChange)
            what = o->property("enabled").toBool() ? u"enabled"_s : u"disabled"_s;
        else if (e->type() == QEvent::HideToParent || e->type() == QEvent::ShowToParent)
            what = e->type() == QEvent::HideToParent ? u"hidden"_s : u"shown"_s;
        const bool early = !(text("txtClaveEmpleado") + text("txtDescripcionEmpleado")).isEmpty();
        if (!what.isEmpty())
            log << o->objectName() + u' ' + what + (early ? u" early"_s : QString());
    };
    f.get(u"frmEmpleado"_s)->installEventFilter(&watch);
    f.get(u"frmCliente"_s)->installEventFilter(&watch);

    auto *client = f.get<suite::OptionButton>(u"opCliente"_s);
    client->setValue(true);
    QCOMPARE(log, (QStringList{u"frmEmpleado disabled"_s, u"frmEmpleado hidden"_s, u"frmCliente enabled"_s,
                               u"frmCliente shown"_s}));

    // Choosing the option already chosen changes nothing.
    f.get(u"txtClaveCliente"_s)->setProperty("text", u"C001"_s);
    log.clear();
    client->setValue(true);
    QCOMPARE(text("txtClaveCliente"), u"C001"_s);
    QCOMPARE(log, QStringList());
}

QTEST_MAIN(tst_screen_form)
#include "tst_screen_form.moc"
