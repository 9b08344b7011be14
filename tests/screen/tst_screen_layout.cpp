// The form as designed, before start-up: which controls exist, where they sit,
// how they are configured, their groups and the tab order.
#include "ScreenFixture.h"

#include "suite/kit/DataGrid.h"
#include "suite/kit/DpFecha.h"
#include "suite/kit/Etiqueta.h"
#include "suite/kit/OptionButton.h"
#include "suite/kit/SsTbKit.h"
#include "suite/kit/Twips.h"
#include "suite/kit/TxtKit.h"
#include "suite/services/Utilerias.h"

#include <QTest>

using namespace Qt::StringLiterals;

class tst_screen_layout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void onlyKeyBoxEnabledAtDesign();
    void configuration_data();
    void configuration();
    void geometry_data();
    void geometry();
    void labels();
    void groupsFollowTags();
    void tabOrder();
    void tabStrip();
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

void tst_screen_layout::onlyKeyBoxEnabledAtDesign()
{
    ScreenFixture f;
    const QList<QWidget *> all = inputs(&f.form());
    QCOMPARE(all.size(), 49);
    QStringList enabled;
    for (QWidget *w : all) {
        if (own(w))
            enabled << w->objectName();
    }
    QCOMPARE(enabled, QStringList{u"txt_Af_Cve_Activo_Fijo"_s});

    QVERIFY(own(f.get(u"Fr0"_s)));
    QVERIFY(own(f.get(u"Fr1"_s)));
    QVERIFY(own(f.get(u"Fr2"_s)));
    QVERIFY(!own(f.get(u"Fr3"_s)));
    QVERIFY(!own(f.get(u"frmEmpleado"_s)));
    QVERIFY(!f.get(u"frmEmpleado"_s)->isHidden());
    QVERIFY(!own(f.get(u"frmCliente"_s)));
    QVERIFY(f.get(u"frmCliente"_s)->isHidden());
    // The lists carry no group: they must be usable whenever their tab shows.
    QVERIFY(own(f.get(u"lvActivoFijoContable"_s)));
    QVERIFY(own(f.get(u"lvActivoFijoFiscal"_s)));
}

void tst_screen_layout::configuration_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("property");
    QTest::addColumn<QVariant>("expected");

    auto row = [](const char *tag, const QString &control, const char *property, const QVariant &value) {
        QTest::newRow(tag) << control << QString::fromLatin1(property) << value;
    };
    row("key upper", u"txt_Af_Cve_Activo_Fijo"_s, "mayusculas", true);
    row("key lookup", u"txt_Af_Cve_Activo_Fijo"_s, "idconsulta", u"ACTIVO_FIJO"_s);
    row("key no sql", u"txt_Af_Cve_Activo_Fijo"_s, "sql", QString());
    row("key no tag", u"txt_Af_Cve_Activo_Fijo"_s, "tag", QString());
    row("description max", u"txt_Af_Descripcion"_s, "maxlength", 50);
    row("type sql", u"txt_Ta_Cve_Tipo_ActivoFijo"_s, "sql",
        u"SELECT Ta_Descripcion FROM Tipo_Activo_Fijo WHERE Ta_Cve_Tipo_Activo_Fijo ='?' and Es_Cve_Estado <> 'BA' "_s);
    row("company max", u"txtEmpresa"_s, "maxlength", 4);
    row("company cancel", u"txtEmpresa"_s, "tabonentercancel", true);
    row("company sql", u"txtEmpresa"_s, "sql",
        u"SELECT Em_Descripcion FROM Empresa WHERE Em_Cve_Empresa ='?' AND Es_Cve_Estado <> 'BA'"_s);
    row("company name max", u"txtNEmpresa"_s, "maxlength", 50);
    row("company name group", u"txtNEmpresa"_s, "tag", u"1"_s);
    row("employee sql", u"txtClaveEmpleado"_s, "sql",
        u"SELECT Em_Nombre + ' ' + Em_Apellido_Paterno + ' ' + Em_Apellido_Materno FROM Empleado WHERE Em_Cve_Empleado='?' and Es_Cve_Estado <> 'BA'"_s);
    row("economic caption id", u"Etiqueta6"_s, "idetiqueta", u"NUMERO ECOMONICO"_s);
    row("purchase label", u"Etiqueta1(0)"_s, "caption", u"Fecha de compra:"_s);
    row("years label", u"Etiqueta16"_s, "caption", u"Años"_s);
    row("life integer", u"txtVidaUtil"_s, "tipodato", 3);
    row("life text", u"txtVidaUtil"_s, "text", u"0"_s);
    row("life empty enter", u"txtVidaUtil"_s, "tabonentervacio", true);
    row("option caption", u"opCliente"_s, "caption", u"Cliente"_s);
    row("project max", u"txtProyecto"_s, "maxlength", 15);
    row("project name no group", u"txtNProyecto"_s, "tag", QString());
    row("account 1 name no select", u"txtNCuentaContable1"_s, "seleccionaronfocus", false);
    row("account 2 sql", u"txtCuentaContable2"_s, "sql",
        u"SELECT dbo.Get_Ruta_Cuenta_Contable(Cc_Cve_Cuenta_Contable) AS DESCRIPCION FROM Cuenta_Contable WHERE Cc_Cve_Cuenta_Contable='?'  and Es_Cve_Estado <> 'BA' "_s);
    row("account 3 sql", u"txtCuentaContable3"_s, "sql",
        u"SELECT dbo.Get_Ruta_Cuenta_Contable(Cc_Cve_Cuenta_Contable) AS DESCRIPCION FROM Cuenta_Contable WHERE Cc_Cve_Cuenta_Contable='?' and Es_Cve_Estado <> 'BA' "_s);
    row("account 2 result", u"txtCuentaContable2"_s, "sql_control_resultado", u"txtNCuentacontable2"_s);
    row("grid group", u"ssDetalle"_s, "tag", u"5"_s);
    row("purchase date enter", u"dpFechaCompra"_s, "tabonenter", true);
    row("cost text", u"txt_Costo_Original"_s, "text", u"$0.0000"_s);
    row("factor text", u"txtDepreciacionContableFactor"_s, "text", u"0.00%"_s);
    row("last dep underlined", u"txtFechaUltimaDepreciacion"_s, "subrayar", true);
    row("user 3 double", u"txtUser3"_s, "formato", 5);
    row("toolbar caption", u"Controles"_s, "caption", u"Catalogo de activo fijo"_s);
    row("toolbar windows", u"Controles"_s, "showwindowslist", u"SI"_s);
    row("bar colour", u"Sh2"_s, "backcolor", 0x4BC9B4);
    row("label font", u"colorKIT"_s, "labelfontsize", 8.25);
    row("strip theme", u"ssTabKit"_s, "tabtheme", 2);
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

void tst_screen_layout::geometry_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QRectF>("twips");

    QTest::newRow("toolbar") << u"Controles"_s << QRectF(0, 0, 11745, 960);
    QTest::newRow("strip") << u"ssTabKit"_s << QRectF(120, 1200, 11415, 6855);
    QTest::newRow("frame 0") << u"Fr0"_s << QRectF(0, 360, 13935, 7635);
    QTest::newRow("frame 3") << u"Fr3"_s << QRectF(0, 360, 12015, 5895);
    QTest::newRow("bar 0") << u"Sh0"_s << QRectF(0, 330, 12615, 135);
    QTest::newRow("key box") << u"txt_Af_Cve_Activo_Fijo"_s << QRectF(2280, 120, 1455, 315);
    QTest::newRow("economic label") << u"Etiqueta6"_s << QRectF(0, 3000, 2175, 315);
    QTest::newRow("employee option") << u"opEmpleado"_s << QRectF(2280, 3360, 1785, 285);
    QTest::newRow("client option") << u"opCliente"_s << QRectF(4200, 3360, 1785, 285);
    QTest::newRow("employee frame") << u"frmEmpleado"_s << QRectF(0, 3720, 8775, 315);
    QTest::newRow("client frame") << u"frmCliente"_s << QRectF(0, 3720, 9135, 315);
    QTest::newRow("years") << u"Etiqueta16"_s << QRectF(3840, 4440, 495, 315);
    QTest::newRow("account 3 name") << u"txtNCuentaContable3"_s << QRectF(4320, 2280, 4335, 315);
    QTest::newRow("grid") << u"ssDetalle"_s << QRectF(0, 2760, 14100, 1695);
    QTest::newRow("cost label") << u"Label16"_s << QRectF(7440, 120, 1740, 315);
    QTest::newRow("accounting list") << u"lvActivoFijoContable"_s << QRectF(0, 1680, 6495, 3615);
    QTest::newRow("tax list") << u"lvActivoFijoFiscal"_s << QRectF(7080, 1680, 6495, 3645);
    QTest::newRow("user 6") << u"dpUser6"_s << QRectF(2280, 1920, 1575, 315);
}

void tst_screen_layout::geometry()
{
    QFETCH(QString, control);
    QFETCH(QRectF, twips);

    ScreenFixture f; // never shown: no resize has run
    QWidget *w = f.get(control);
    QVERIFY2(w, qPrintable(control));
    QCOMPARE(suite::twipsGeometry(w), twips);
}

void tst_screen_layout::labels()
{
    ScreenFixture f;
    // Each field label stands right-aligned left of a box of its own container,
    // at the same top, and its caption fits its width.
    const auto labels = f.form().findChildren<suite::Etiqueta *>();
    QCOMPARE(labels.size(), 35);
    for (suite::Etiqueta *label : labels) {
        if (label->objectName() == u"Etiqueta16"_s)
            continue; // "Años" follows its box
        QVERIFY2(label->kitAlignment() == 1, qPrintable(label->objectName()));
        const QRectF l = suite::twipsGeometry(label);
        bool hasBox = false;
        for (QWidget *sibling : label->parentWidget()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
            const QRectF b = suite::twipsGeometry(sibling);
            if (sibling != label && b.top() == l.top() && b.left() > l.right())
                hasBox = true;
        }
        QVERIFY2(hasBox, qPrintable(label->objectName()));
        QVERIFY2(label->fontMetrics().horizontalAdvance(label->caption()) <= label->width(),
                 qPrintable(label->caption()));
    }
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

    // Read-only boxes take no focus at all.
    for (suite::txtKIT *box : form.findChildren<suite::txtKIT *>()) {
        QCOMPARE(box->isLocked(), box->focusPolicy() == Qt::NoFocus);
    }
}

void tst_screen_layout::tabStrip()
{
    ScreenFixture f;
    auto *strip = f.get<suite::ssTbKit>(u"ssTabKit"_s);
    QVERIFY(strip);
    QCOMPARE(strip->tabcount(), 4);
    QCOMPARE(strip->tabCaption(0), u"General"_s);
    QCOMPARE(strip->tabCaption(1), u"Contables"_s);
    QCOMPARE(strip->tabCaption(2), u"Depreciación"_s);
    QCOMPARE(strip->tabCaption(3), u"Datos de usuario"_s);
    for (int tab = 0; tab < 4; ++tab) {
        const QList<QWidget *> held = strip->tabControls(tab);
        QCOMPARE(held.size(), 2);
        QVERIFY(held.contains(f.get(u"Fr%1"_s.arg(tab))));
        QVERIFY(held.contains(f.get(u"Sh%1"_s.arg(tab))));
    }
    auto *grid = f.get<suite::DataGrid>(u"ssDetalle"_s);
    QCOMPARE(grid->columnCount(), 3);
    QCOMPARE(grid->columnName(0), u"Clave"_s);
    QCOMPARE(grid->columnName(1), u"Descripción"_s);
    QCOMPARE(grid->columnIndex(u"Porcentaje"_s), 2);
    QCOMPARE(grid->columnDataType(2), 5);
    QCOMPARE(grid->columnDataType(0), 8);
}

QTEST_MAIN(tst_screen_layout)
#include "tst_screen_layout.moc"
