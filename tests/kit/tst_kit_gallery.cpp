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

// A captioned row of the form, its control at twips (2280, top).
template<typename Control>
Control *row(QWidget *frame, const QString &caption, double top, double width = 1455)
{
    auto *label = new suite::Etiqueta(frame);
    label->setProperty("caption", caption);
    label->setProperty("alignment", 1);
    suite::setTwipsGeometry(label, 0, top, 2175, 315);
    auto *control = new Control(frame);
    suite::setTwipsGeometry(control, 2280, top, width, 315);
    return control;
}

} // namespace

class TestGallery : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QApplication::setStyle(QStyleFactory::create(u"Fusion"_s)); }
    void formOfEveryControl();
    void gridAndList();
    void searchDialogAndMessage();
};

void TestGallery::formOfEveryControl()
{
    TestSession session(true);
    QWidget form;
    form.resize(qRound(suite::twipsToPixelsX(&form, 11745)), qRound(suite::twipsToPixelsY(&form, 8250)));
    auto *scheme = new suite::colorKIT(&form);
    auto *bar = new suite::Controles(&form);
    bar->setProperty("caption", u"Catalogo de activo fijo"_s);
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
    suite::setTwipsGeometry(accent, 0, 330, 11415, 135);
    strip->addTabControl(0, accent);
    strip->addTabControl(0, frame);

    auto *key = row<suite::txtKIT>(frame, u"Clave activo fijo:"_s, 120);
    key->setProperty("esclave", true);
    key->setProperty("formatoclave", u"0000000000"_s);
    key->setText(u"12"_s);
    key->rellenaClave();
    auto *type = row<suite::txtKIT>(frame, u"Tipo activo fijo:"_s, 480);
    auto *typeName = new suite::txtKIT(frame);
    typeName->setObjectName(u"txt_Ta_Descripcion"_s);
    typeName->setLocked(true);
    suite::setTwipsGeometry(typeName, 3840, 480, 4815, 315);
    type->setProperty("sql", u"SELECT Ta_Descripcion FROM Tipo_Activo_Fijo WHERE Ta_Cve_Tipo_Activo_Fijo ='?'"_s);
    type->setProperty("sql_control_resultado", u"txt_Ta_Descripcion"_s);
    type->setText(session.connection()
                      .Execute(u"SELECT MIN(Ta_Cve_Tipo_Activo_Fijo) AS K FROM Tipo_Activo_Fijo"_s)
                      ->Fields(u"K"_s).toString());
    QVERIFY(!typeName->text().isEmpty());
    auto *cost = row<suite::txtKIT>(frame, u"Costo original:"_s, 840);
    cost->setProperty("tipodato", 6);
    cost->setProperty("alignment", 1);
    cost->setProperty("subrayar", true);
    cost->setProperty("valor", 18250.5);
    auto *factor = row<suite::txtKIT>(frame, u"Dep. contable:"_s, 1200);
    factor->setProperty("tipodato", 8);
    factor->setProperty("formato", 8);
    factor->setLocked(true);
    factor->setProperty("valor", 0.25);
    row<suite::dpFecha>(frame, u"Fecha de compra:"_s, 1560)->setProperty("date", QDate(2021, 3, 5));
    auto *employee = row<suite::OptionButton>(frame, u"Tipo de responsable:"_s, 1920, 1785);
    employee->setProperty("caption", u"Empleado"_s);
    employee->setValue(true);
    auto *client = new suite::OptionButton(frame);
    client->setProperty("caption", u"Cliente"_s);
    suite::setTwipsGeometry(client, 4200, 1920, 1785, 285);
    auto *off = row<suite::txtKIT>(frame, u"Deshabilitado:"_s, 2280, 3735);
    off->setText(u"Sin edición"_s);
    off->setEnabled(false);

    QMetaObject::invokeMethod(scheme, "aplicacolores");
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(key->text(), u"0000000012"_s);
    save(&form, u"form"_s);
    save(strip, u"tabstrip"_s);
    QVERIFY(bar->press(u"Nuevo"_s));
    save(bar, u"toolbar-editing"_s);
}

void TestGallery::gridAndList()
{
    QWidget page;
    page.resize(560, 420);
    auto *grid = new suite::DataGrid(&page);
    grid->addColumn(u"Clave"_s, u"Clave"_s, 8);
    grid->addColumn(u"Descripción"_s, u"Descripción"_s, 8);
    grid->addColumn(u"Porcentaje"_s, u"Porcentaje (%)"_s, 5, u"#,##0.00#######"_s);
    grid->setGeometry(8, 8, 544, 170);
    auto *list = new suite::ListView(&page);
    list->setGeometry(8, 190, 544, 220);
    for (const QString &caption : {u"Número"_s, u"Fecha"_s, u"Ce.Co"_s, u"Importe"_s})
        list->addColumnHeader(caption);
    for (int n = 1; n <= 3; ++n) {
        grid->AddNew();
        grid->setCellText(u"Clave"_s, u"00010%1"_s.arg(n));
        grid->setCellText(u"Descripción"_s, u"Centro de costo %1"_s.arg(n));
        grid->setCellValue(u"Porcentaje"_s, 100.0 / (n + 1));
        grid->Update();
        const int item = list->addItem(QString::number(n));
        list->addSubItem(item, QDate(2021, n, 28).toString(u"dd/MM/yyyy"_s));
        list->addSubItem(item, u"000101"_s);
        list->addSubItem(item, QString::number(304.1667 * n, 'f', 4));
    }
    suite::AjusteLista().Ajusta(list);
    suite::colorKIT(&page).aplicacolores();
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    save(&page, u"grid-and-list"_s);
}

void TestGallery::searchDialogAndMessage()
{
    TestSession session(true);
    suite::SearchDialog dialog(&session.connection(), u"CENTRO_COSTO"_s, 100);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    save(&dialog, u"search"_s);

    suite::MessageRequest request;
    request.prompt = u"La suma de los porcentajes de los centros de costo debe ser 100%."_s;
    request.style = 48;
    request.component = u"XB733"_s;
    request.id = u"ERR-ID:7500012"_s;
    std::unique_ptr<QMessageBox> box(suite::MessageBoxPresenter::build(request));
    box->show();
    QVERIFY(QTest::qWaitForWindowExposed(box.get()));
    save(box.get(), u"message"_s, true);
}

QTEST_MAIN(TestGallery)
#include "tst_kit_gallery.moc"
