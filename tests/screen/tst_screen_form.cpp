// The form in-process, for the detail the scripted host cannot show: which inputs editing enables, where
// start-up puts each variable and what it leaves unset, that it runs once and how it fails, the activation
// focus rule, Enter, and the order the responsible type changes things in. (Its transaction: tst_shell.)
#include "ScreenFixture.h"

#include "suite/kit/DataGrid.h"
#include "suite/kit/DpFecha.h"
#include "suite/kit/ListView.h"
#include "suite/kit/OptionButton.h"
#include "suite/kit/SsTbKit.h"
#include "suite/kit/TxtKit.h"

#include <QSignalSpy>

using namespace Qt::StringLiterals;

namespace {

bool own(QWidget *w) { return w->property("enabled").toBool(); }

QString formatoclave(ScreenFixture &f, const QString &box) { return f.get(box)->property("formatoclave").toString(); }

void focus(QWidget *w)
{
    w->setProperty("enabled", true);
    w->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), w);
}

} // namespace

class tst_screen_form : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void editingEnablesEveryInputButDescriptions()
    {
        ScreenFixture f;
        f.utilerias().HabilitaControles(&f.form(), 1);
        f.utilerias().HabilitaControles(&f.form(), 5);
        // Groups 1 and 5 hold every input but the key box and the descriptions
        // beside type, company, location, supplier and the numbered accounts.
        const QStringList untagged = {u"txtDescripcionEmpleado"_s, u"txtDescripcionCliente"_s, u"txtNContable"_s,
                                      u"txtNCentroCosto"_s, u"txtNProyecto"_s, u"txtNUen"_s};
        for (QWidget *w : f.form().findChildren<QWidget *>()) {
            if (!w->objectName().isEmpty() && (qobject_cast<suite::txtKIT *>(w) || qobject_cast<suite::dpFecha *>(w)
                                               || qobject_cast<suite::OptionButton *>(w) || qobject_cast<suite::DataGrid *>(w)))
                QVERIFY2(own(w) == !untagged.contains(w->objectName()), qPrintable(w->objectName()));
        }
        QVERIFY(own(f.get(u"frmEmpleado"_s)) && own(f.get(u"frmCliente"_s)));
    }

    void variablesReachTheirPlaces()
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
        // Another component's option of the same id is not this screen's.
        set.setOption(u"XB734"_s, u"CAT001"_s, u"1"_s);
        QVERIFY(unset.form().ensureLoaded() && set.form().ensureLoaded());
        for (const auto &[variable, where, whenUnset] : places) {
            QVERIFY2(read(unset, where) == whenUnset, qPrintable(where));
            QVERIFY2(read(set, where) == valueOf(variable), qPrintable(where));
        }
        QVERIFY(!set.form().ClaveEditable());
    }

    void startUpRunsOnceOnFirstShow()
    {
        ScreenFixture f;
        QVERIFY(!f.form().isLoaded());
        f.setVariable(u"FTO_EMPRESA"_s, u"00"_s);
        QVERIFY(f.showActive());
        QVERIFY(f.form().isLoaded());
        f.setVariable(u"FTO_EMPRESA"_s, u"000"_s);
        f.form().hide();
        QVERIFY(f.showActive());
        QVERIFY(f.form().ensureLoaded());
        QCOMPARE(formatoclave(f, u"txtEmpresa"_s), u"00"_s);
    }

    void failingStartUpIsReported()
    {
        ScreenFixture f;
        f.setVariable(u"CAT_FORZAR_MAYUSCULAS"_s, u"QUIZAS"_s);
        f.setVariable(u"FTO_EMPRESA"_s, u"000"_s);
        f.setOption(u"XB733"_s, u"CAT001"_s, u"SI"_s);
        QSignalSpy failed(&f.form(), &frmXB733::loadFailed);

        f.form().show(); // the first show starts it; nothing escapes the event
        QCOMPARE(failed.count(), 1);
        QVERIFY(!f.form().ensureLoaded());
        QCOMPARE(failed.count(), 1); // not tried again
        QVERIFY2(f.form().loadError().contains(u"QUIZAS"_s), qPrintable(f.form().loadError()));
        QCOMPARE(failed.at(0).at(0).toString(), f.form().loadError());
        // What came before the failure stays set (this screen's own option too); what comes after never ran.
        QVERIFY(formatoclave(f, u"txtEmpresa"_s) == u"000"_s && f.form().ClaveEditable());
        QCOMPARE(f.get<suite::ListView>(u"lvActivoFijoContable"_s)->columnHeaderCount(), 0);
    }

    void activationFocus()
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

    // The form sees keys before its controls: Enter acts as Tab. (Alt with a
    // digit: tst_screen_e2e.)
    void enterActsAsTab()
    {
        ScreenFixture f;
        QVERIFY(f.showActive()); // start-up chose the employee
        auto *strip = f.get<suite::ssTbKit>(u"ssTabKit"_s);
        // Enter: past the other option of the group, to the responsible's key.
        auto *employee = f.get<suite::OptionButton>(u"opEmpleado"_s);
        auto *client = f.get<suite::OptionButton>(u"opCliente"_s);
        client->setProperty("enabled", true);
        f.get(u"txtClaveEmpleado"_s)->setProperty("enabled", true);
        focus(employee);
        QTest::keyClick(employee, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), f.get(u"txtClaveEmpleado"_s));
        QVERIFY(employee->value()); // moving on selects nothing
        // Other keys keep their meaning: an arrow moves to the other option and chooses it.
        focus(employee);
        QTest::keyClick(employee, Qt::Key_Right);
        QCOMPARE(QApplication::focusWidget(), client);
        QVERIFY(client->value());
        // From list to list, and on the strip (keypad Enter is Enter too) without changing its tab.
        strip->setTab(2);
        focus(f.get(u"lvActivoFijoContable"_s));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), f.get(u"lvActivoFijoFiscal"_s));
        focus(strip);
        QTest::keyClick(strip, Qt::Key_Enter, Qt::KeypadModifier);
        QVERIFY(QApplication::focusWidget() != strip);
        QCOMPARE(strip->tab(), 2);
    }

    void responsibleOrder()
    {
        ScreenFixture f;
        QVERIFY(f.form().ensureLoaded()); // employee chosen
        auto text = [&](const QString &name) { return f.get(name)->property("text").toString(); };
        f.get(u"txtClaveEmpleado"_s)->setProperty("text", u"E001"_s);
        f.get(u"txtDescripcionEmpleado"_s)->setProperty("text", u"Ana"_s);

        // What happens to the frames, in order; "early" if the employee's boxes still held something then.
        QStringList log;
        struct Watch : QObject
        {
            std::function<void(QObject *, QEvent *)> seen;
            bool eventFilter(QObject *o, QEvent *e) override { seen(o, e); return false; }
        } watch;
        const QMap<QEvent::Type, QString> kinds = {{QEvent::HideToParent, u"hidden"_s}, {QEvent::ShowToParent, u"shown"_s}};
        watch.seen = [&](QObject *o, QEvent *e) {
            const QString what = e->type() != QEvent::EnabledChange ? kinds.value(e->type())
                                 : own(qobject_cast<QWidget *>(o))  ? u"enabled"_s : u"disabled"_s;
            const bool early = !(text(u"txtClaveEmpleado"_s) + text(u"txtDescripcionEmpleado"_s)).isEmpty();
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
        QCOMPARE(text(u"txtClaveCliente"_s), u"C001"_s);
        QCOMPARE(log, QStringList());
    }
};

QTEST_MAIN(tst_screen_form)
#include "tst_screen_form.moc"
