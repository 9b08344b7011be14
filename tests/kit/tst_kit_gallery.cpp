// Renders every kit control offscreen to PNG files, to be looked at: into the
// test's working directory and, when TALVEXOR_GALLERY_DIR is set, there too.
#include "suite/data/Connection.h"
#include "suite/kit/AjusteLista.h"
#include "suite/kit/ColorKit.h"
#include "suite/kit/Controles.h"
#include "suite/kit/DataGrid.h"
#include "suite/kit/DpFecha.h"
#include "suite/kit/Etiqueta.h"
#include "suite/kit/Frame.h"
#include "suite/kit/ListView.h"
#include "suite/kit/MessageBoxPresenter.h"
#include "suite/kit/OptionButton.h"
#include "suite/kit/SearchDialog.h"
#include "suite/kit/Shape.h"
#include "suite/kit/SsTbKit.h"
#include "suite/kit/Twips.h"
#include "suite/kit/TxtKit.h"
#include "tests/support/TestSession.h"

#include <QApplication>
#include <QDir>
#include <QLayout>
#include <QMessageBox>
#include <QSet>
#include <QStyleFactory>
#include <QtTest/QtTest>

using namespace Qt::StringLiterals;

namespace {

// Saves the picture and checks it holds a drawing, not an empty surface.
void save(QWidget *widget, const QString &name, bool fitContent = false)
{
    if (widget->layout())
        widget->layout()->activate();   // what was shown or hidden since is laid out
    if (fitContent)
        widget->adjustSize();
    const QPixmap picture = widget->grab();
    QVERIFY2(!picture.isNull(), qPrintable(name));
    QStringList folders{QDir::currentPath()};
    const QString extra = qEnvironmentVariable("TALVEXOR_GALLERY_DIR");
    if (!extra.isEmpty()) {
        QDir().mkpath(extra);
        folders << extra;
    }
    for (const QString &folder : folders)
        QVERIFY2(picture.save(folder + u"/kit-"_s + name + u".png"_s), qPrintable(folder));
    const QImage image = picture.toImage();
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 2) {
        for (int x = 0; x < image.width(); x += 2)
            colours.insert(image.pixel(x, y));
    }
    QVERIFY2(colours.size() > 8, qPrintable(name + u": almost a blank picture"_s));
}

suite::Etiqueta *label(QWidget *parent, const QString &caption, double top)
{
    auto *l = new suite::Etiqueta(parent);
    l->setProperty("caption", caption);
    l->setProperty("alignment", 1);
    suite::setTwipsGeometry(l, 0, top, 2175, 315);
    return l;
}

suite::txtKIT *box(QWidget *parent, const QString &name, double left, double top, double width)
{
    auto *b = new suite::txtKIT(parent);
    b->setObjectName(name);
    suite::setTwipsGeometry(b, left, top, width, 315);
    return b;
}

} // namespace

class TestGallery : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void formOfEveryControl();
    void gridAndLists();
    void toolbarStates();
    void searchDialogAndMessage();
};

void TestGallery::initTestCase()
{
    QApplication::setStyle(QStyleFactory::create(u"Fusion"_s));
}

void TestGallery::formOfEveryControl()
{
    TestSession session(true);
    QWidget form;
    form.setObjectName(u"frmGaleria"_s);
    form.resize(qRound(suite::twipsToPixelsX(&form, 11745)), qRound(suite::twipsToPixelsY(&form, 8250)));

    auto *scheme = new suite::colorKIT(&form);
    auto *bar = new suite::Controles(&form);
    bar->setProperty("caption", u"Catalogo de activo fijo"_s);
    bar->setProperty("showwindowslist", u"SI"_s);
    suite::setTwipsGeometry(bar, 0, 0, 11745, 960);

    auto *strip = new suite::ssTbKit(&form);
    strip->setProperty("tabcount", 4);
    const QStringList captions = {u"General"_s, u"Contables"_s, u"Depreciación"_s, u"Datos de usuario"_s};
    for (int t = 0; t < 4; ++t)
        strip->setTabCaption(t, captions.at(t));
    suite::setTwipsGeometry(strip, 120, 1200, 11415, 6855);

    auto *frame = new suite::Frame(&form);
    suite::setTwipsGeometry(frame, 0, 360, 11415, 6400);
    auto *accent = new suite::Shape(&form);
    accent->setProperty("backcolor", 0x4BC9B4);
    accent->setProperty("bordercolor", 0x4BC9B4);
    suite::setTwipsGeometry(accent, 0, 330, 11415, 135);
    strip->addTabControl(0, accent);
    strip->addTabControl(0, frame);

    label(frame, u"Clave activo fijo:"_s, 120);
    auto *key = box(frame, u"txt_Af_Cve_Activo_Fijo"_s, 2280, 120, 1455);
    key->setProperty("esclave", true);
    key->setProperty("formatoclave", u"0000000000"_s);
    key->setText(u"12"_s);
    key->rellenaClave();

    label(frame, u"Descripción:"_s, 480);
    box(frame, u"txt_Af_Descripcion"_s, 2280, 480, 6375)->setText(u"Computadora portátil de la dirección"_s);

    label(frame, u"Tipo activo fijo:"_s, 840);
    auto *type = box(frame, u"txt_Ta_Cve_Tipo_ActivoFijo"_s, 2280, 840, 1455);
    auto *typeName = box(frame, u"txt_Ta_Descripcion"_s, 3840, 840, 4815);
    typeName->setLocked(true);
    type->setProperty("sql", u"SELECT Ta_Descripcion FROM Tipo_Activo_Fijo WHERE Ta_Cve_Tipo_Activo_Fijo ='?' "
                              "and Es_Cve_Estado <> 'BA' "_s);
    type->setProperty("sql_control_resultado", u"txt_Ta_Descripcion"_s);
    const auto firstType = session.connection().Execute(
        u"SELECT Ta_Cve_Tipo_Activo_Fijo FROM Tipo_Activo_Fijo WHERE Es_Cve_Estado <> 'BA' ORDER BY 1"_s);
    QVERIFY(!firstType->Eof());
    type->setText(firstType->fieldValue(0).toString());
    QVERIFY(!typeName->text().isEmpty());

    label(frame, u"Costo original:"_s, 1200);
    auto *cost = box(frame, u"txt_Costo_Original"_s, 2280, 1200, 1455);
    cost->setProperty("tipodato", 6);
    cost->setProperty("alignment", 1);
    cost->setProperty("subrayar", true);
    cost->setProperty("valor", 18250.5);

    label(frame, u"Dep. contable:"_s, 1560);
    auto *factor = box(frame, u"txtDepreciacionContableFactor"_s, 2280, 1560, 1455);
    factor->setProperty("tipodato", 8);
    factor->setProperty("formato", 8);
    factor->setProperty("alignment", 1);
    factor->setProperty("subrayar", true);
    factor->setLocked(true);
    factor->setProperty("valor", 0.25);

    label(frame, u"Vida útil:"_s, 1920);
    auto *life = box(frame, u"txtVidaUtil"_s, 2280, 1920, 1455);
    life->setProperty("tipodato", 3);
    life->setProperty("formato", 1);
    life->setProperty("alignment", 1);
    life->setProperty("valor", 5);
    auto *years = new suite::Etiqueta(frame);
    years->setProperty("caption", u"Años"_s);
    suite::setTwipsGeometry(years, 3840, 1920, 495, 315);

    label(frame, u"Fecha de compra:"_s, 2280);
    auto *date = new suite::dpFecha(frame);
    date->setProperty("date", QDate(2021, 3, 5));
    suite::setTwipsGeometry(date, 2280, 2280, 1455, 315);

    label(frame, u"Tipo de responsable:"_s, 2640);
    auto *employee = new suite::OptionButton(frame);
    employee->setProperty("caption", u"Empleado"_s);
    suite::setTwipsGeometry(employee, 2280, 2640, 1785, 285);
    auto *client = new suite::OptionButton(frame);
    client->setProperty("caption", u"Cliente"_s);
    suite::setTwipsGeometry(client, 4200, 2640, 1785, 285);
    employee->setValue(true);

    label(frame, u"Deshabilitado:"_s, 3000);
    auto *off = box(frame, u"txtApagado"_s, 2280, 3000, 3735);
    off->setText(u"Sin edición"_s);
    off->setEnabled(false);

    QMetaObject::invokeMethod(scheme, "aplicacolores");
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(key->text(), u"0000000012"_s);
    save(&form, u"form"_s);
    save(strip, u"tabstrip"_s);
    save(bar, u"toolbar-initial"_s);
}

void TestGallery::gridAndLists()
{
    QWidget page;
    page.resize(760, 420);
    auto *grid = new suite::DataGrid(&page);
    grid->setObjectName(u"ssDetalle"_s);
    grid->addColumn(u"Clave"_s, u"Clave"_s, 8);
    grid->addColumn(u"Descripción"_s, u"Descripción"_s, 8);
    grid->addColumn(u"Porcentaje"_s, u"Porcentaje (%)"_s, 5, u"#,##0.00#######"_s);
    grid->setGeometry(8, 8, 744, 170);
    const QList<QPair<QString, double>> rows = {{u"000101"_s, 50}, {u"000102"_s, 33.333333333},
                                                {u"000103"_s, 16.666666667}};
    grid->setRedraw(false);
    for (const auto &row : rows) {
        grid->AddNew();
        grid->setCellText(u"Clave"_s, row.first);
        grid->setCellText(u"Descripción"_s, u"Centro de costo "_s + row.first.right(3));
        grid->setCellValue(u"Porcentaje"_s, row.second);
        grid->Update();
    }
    grid->setRedraw(true);
    grid->MoveFirst();

    auto *accounting = new suite::ListView(&page);
    auto *tax = new suite::ListView(&page);
    accounting->setGeometry(8, 190, 368, 220);
    tax->setGeometry(384, 190, 368, 220);
    for (suite::ListView *list : {accounting, tax}) {
        list->addColumnHeader(u"Número"_s, 900);
        list->addColumnHeader(u"Fecha"_s);
        list->addColumnHeader(u"Ce.Co"_s);
        list->addColumnHeader(u"Importe"_s);
        for (int n = 1; n <= 6; ++n) {
            const int item = list->addItem(QString::number(n));
            list->addSubItem(item, QDate(2021, n, 28).toString(u"dd/MM/yyyy"_s));
            list->addSubItem(item, u"000101"_s);
            list->addSubItem(item, QString::number(304.1667 * n, 'f', 4));
        }
    }
    suite::AjusteLista().Ajusta(accounting);
    suite::colorKIT scheme(&page);
    scheme.aplicacolores();
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    QCOMPARE(grid->Rows(), 3);
    save(&page, u"grid-and-lists"_s);
}

void TestGallery::toolbarStates()
{
    suite::Controles bar;
    bar.setProperty("caption", u"Catalogo de activo fijo"_s);
    bar.setProperty("showwindowslist", u"SI"_s);
    bar.resize(qRound(suite::twipsToPixelsX(&bar, 11745)), qRound(suite::twipsToPixelsY(&bar, 960)));
    bar.setProperty("informacionenabled", true);
    bar.setProperty("modificarenabled", true);
    bar.setProperty("eliminarenabled", true);
    bar.setProperty("b1caption", u"Carta responsiva"_s);
    bar.setProperty("b2caption", u"Imprimir etiquetas"_s);
    bar.setProperty("b3caption", u"Generar equipo"_s);
    bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bar));
    save(&bar, u"toolbar-browse"_s);
    QVERIFY(bar.press(u"Modificar"_s));
    bar.setProperty("informacionenabled", false);
    bar.setProperty("modificarenabled", false);
    bar.setProperty("eliminarenabled", false);
    bar.setProperty("b1caption", QString());
    bar.setProperty("b2caption", QString());
    bar.setProperty("b3caption", QString());
    save(&bar, u"toolbar-editing"_s);
}

void TestGallery::searchDialogAndMessage()
{
    TestSession session(true);
    suite::SearchDialog dialog(&session.connection(), u"CENTRO_COSTO"_s, 100);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY(dialog.rowCount() > 0);
    save(&dialog, u"search"_s);

    suite::MessageRequest request;
    request.prompt = u"La suma de los porcentajes de los centros de costo debe ser 100%."_s;
    request.style = 48;
    request.title = u"Controles_Aceptar()"_s;
    request.component = u"XB733"_s;
    request.id = u"ERR-ID:7500012"_s;
    std::unique_ptr<QMessageBox> box(suite::MessageBoxPresenter::build(request));
    box->show();
    QVERIFY(QTest::qWaitForWindowExposed(box.get()));
    save(box.get(), u"message"_s, true);
}

QTEST_MAIN(TestGallery)
#include "tst_kit_gallery.moc"
