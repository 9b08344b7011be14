// The form as designed, before start-up: how its controls are configured,
// their groups and the tab order.
#include "ScreenFixture.h"

#include "suite/kit/DataGrid.h"
#include "suite/kit/DpFecha.h"
#include "suite/kit/OptionButton.h"
#include "suite/kit/SsTbKit.h"
#include "suite/kit/TxtKit.h"
#include "suite/services/Utilerias.h"

#include <QTest>

using namespace Qt::StringLiterals;

class tst_screen_layout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void configuration_data();
    void configuration();
    void groupsFollowTags();
    void tabOrder();
};

namespace {

// Every control that takes input: text boxes, pickers, option buttons, the grid.
QList<QWidget *> inputs(QWidget *form)
{
    QList<QWidget *> out;
    for (QWidget *w : form->findChildren<QWidget *>()) {
        if (qobject_cast<suite::txtKIT *>(w) || qobject_cast<suite::dpFecha *>(w)
            || qobject_cast<suite::OptionButton *>(w) || qobject_cast<suite::DataGrid *>(w)) {
            if (!w->objectName().isEmpty())
                out.append(w);
        }
    }
    return out;
}

bool own(QWidget *w) { return w->property("enabled").toBool(); }

} // namespace

void tst_screen_layout::configuration_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("property");
    QTest::addColumn<QVariant>("expected");

    auto row = [](const char *tag, const QString &control, const char *property, const QVariant &value) {
        QTest::newRow(tag) << control << QString::fromLatin1(property) << value;
    };
    // The lookup's parts land in their own properties; the rest is a sample
    // of what the end-to-end run cannot read.
    row("key upper", u"txt_Af_Cve_Activo_Fijo"_s, "mayusculas", true);
    row("key lookup", u"txt_Af_Cve_Activo_Fijo"_s, "idconsulta", u"ACTIVO_FIJO"_s);
    row("key no sql", u"txt_Af_Cve_Activo_Fijo"_s, "sql", QString());
    row("company sql", u"txtEmpresa"_s, "sql",
        u"SELECT Em_Descripcion FROM Empresa WHERE Em_Cve_Empresa ='?' AND Es_Cve_Estado <> 'BA'"_s);
    row("company cancel", u"txtEmpresa"_s, "tabonentercancel", true);
    row("account 2 result", u"txtCuentaContable2"_s, "sql_control_resultado", u"txtNCuentacontable2"_s);
    row("life integer", u"txtVidaUtil"_s, "tipodato", 3);
    row("label font", u"colorKIT"_s, "labelfontsize", 8.25);
}

void tst_screen_layout::configuration()
{
    QFETCH(QString, control);
    QFETCH(QString, property);
    QFETCH(QVariant, expected);

    ScreenFixture f;
    QWidget *w = f.get(control);
    QVERIFY2(w, qPrintable(control));
    const QVariant actual = w->property(property.toLatin1().constData());
    QVERIFY2(actual.isValid(), qPrintable(property));
    if (expected.typeId() == QMetaType::QString)
        QCOMPARE(actual.toString(), expected.toString());
    else if (expected.typeId() == QMetaType::Double)
        QCOMPARE(actual.toDouble(), expected.toDouble());
    else if (expected.typeId() == QMetaType::Bool)
        QCOMPARE(actual.toBool(), expected.toBool());
    else
        QCOMPARE(actual.toInt(), expected.toInt());
}

void tst_screen_layout::groupsFollowTags()
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

void tst_screen_layout::tabOrder()
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

    // Read-only boxes take no focus at all.
    for (suite::txtKIT *box : form.findChildren<suite::txtKIT *>()) {
        QCOMPARE(box->isLocked(), box->focusPolicy() == Qt::NoFocus);
    }
}

QTEST_MAIN(tst_screen_layout)
#include "tst_screen_layout.moc"
