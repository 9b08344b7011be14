#include "suite/data/SuiteError.h"
#include "suite/kit/ColorKit.h"
#include "suite/kit/DataGrid.h"
#include "suite/kit/DpFecha.h"
#include "suite/kit/Etiqueta.h"
#include "suite/kit/Frame.h"
#include "suite/kit/KitEnabled.h"
#include "suite/kit/MessageBoxPresenter.h"
#include "suite/kit/OptionButton.h"
#include "suite/kit/Shape.h"
#include "suite/kit/SsTbKit.h"
#include "suite/kit/Twips.h"
#include "suite/kit/TxtKit.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest/QtTest>

using namespace Qt::StringLiterals;

class TestControls : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void twipsAreKeptAndApplied();
    void ownAndEffectiveEnabled();
    void tabStripSelectsAndShowsItsControls();
    void tabStripKeyCodes_data();
    void tabStripKeyCodes();
    void optionButtons();
    void datePickerAlwaysHoldsADate();
    void labelAndShape();
    void colourSchemeReachesEveryControl();
    void messageBoxFollowsTheStyle_data();
    void messageBoxFollowsTheStyle();
};

void TestControls::twipsAreKeptAndApplied()
{
    QWidget form;
    auto *strip = new QWidget(&form);
    suite::setTwipsGeometry(strip, 120, 1200, 11415, 6855);
    const double dpiX = strip->logicalDpiX();
    const double dpiY = strip->logicalDpiY();
    QCOMPARE(strip->geometry(), QRect(qRound(120 * dpiX / 1440), qRound(1200 * dpiY / 1440),
                                      qRound(11415 * dpiX / 1440), qRound(6855 * dpiY / 1440)));
    // Read back as set, in single precision, not as pixels converted back.
    suite::setTwipsWidth(strip, 11505.3);
    suite::setTwipsHeight(strip, 7);
    QCOMPARE(suite::twipsGeometry(strip), QRectF(120, 1200, double(float(11505.3)), 7));

    // Negative sizes are refused and change nothing.
    const QRect pixels = strip->geometry();
    try {
        suite::setTwipsHeight(strip, -100);
        QFAIL("a negative height was taken");
    } catch (const suite::SuiteError &error) {
        QCOMPARE(error.description(), u"Valor de propiedad no válido"_s);
    }
    QVERIFY_THROWS_EXCEPTION(suite::SuiteError, suite::setTwipsWidth(strip, -1));
    QVERIFY_THROWS_EXCEPTION(suite::SuiteError, suite::setTwipsGeometry(strip, 10, 10, 100, -5));
    QCOMPARE(suite::twipsGeometry(strip), QRectF(120, 1200, double(float(11505.3)), 7));
    QCOMPARE(strip->geometry(), pixels);
}

void TestControls::ownAndEffectiveEnabled()
{
    QWidget form;
    auto *frame = new suite::Frame(&form);
    auto *box = new suite::txtKIT(frame);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    frame->setProperty("enabled", false);
    QVERIFY(box->property("enabled").toBool());      // its own flag
    QVERIFY(!suite::effectiveEnabled(box));
    QVERIFY(!frame->property("enabled").toBool());
    frame->setProperty("enabled", true);
    box->setProperty("enabled", false);
    QVERIFY(!box->property("enabled").toBool());

    // Hidden counts as unable to take input.
    box->setProperty("enabled", true);
    frame->hide();
    QVERIFY(suite::ownEnabled(box));
    QVERIFY(!suite::effectiveEnabled(box));
}

void TestControls::tabStripSelectsAndShowsItsControls()
{
    QWidget form;
    auto *strip = new suite::ssTbKit(&form);
    strip->setProperty("tabcount", 4);
    const QStringList captions = {u"General"_s, u"Contables"_s, u"Depreciación"_s, u"Datos de usuario"_s};
    QList<suite::Frame *> frames;
    for (int t = 0; t < 4; ++t) {
        strip->setTabCaption(t, captions.at(t));
        auto *frame = new suite::Frame(&form);
        frame->setObjectName(u"Fr%1"_s.arg(t));
        suite::setTwipsGeometry(frame, 0, 360, 12000, 6000);
        strip->addTabControl(t, frame);
        frames << frame;
    }
    suite::setTwipsGeometry(strip, 120, 1200, 11415, 6855);
    form.resize(800, 600);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    QCOMPARE(strip->tabCaption(2), u"Depreciación"_s);
    QCOMPARE(frames.at(1)->parentWidget(), strip);
    QCOMPARE(frames.at(1)->y(), qRound(suite::twipsToPixelsY(strip, 360)));
    QCOMPARE(suite::twipsGeometry(frames.at(1)), QRectF(0, 360, 12000, 6000));
    QCOMPARE(strip->property("tab").toInt(), 0);
    QVERIFY(frames.at(0)->isVisible());
    QVERIFY(!frames.at(2)->isVisible());

    QList<int> previous;
    connect(strip, &suite::ssTbKit::TabChanged, this, [&](int p) { previous << p; });
    strip->setProperty("tab", 2);
    QCOMPARE(previous, QList<int>{0});
    QVERIFY(frames.at(2)->isVisible());
    QVERIFY(!frames.at(0)->isVisible());
    strip->setProperty("tab", 2);   // unchanged: no event
    strip->setProperty("tab", 9);   // no such tab
    QCOMPARE(previous.size(), 1);
    QCOMPARE(strip->tab(), 2);

    // A click on a caption selects its tab; captions do not overlap.
    for (int t = 0; t < 3; ++t)
        QVERIFY(strip->captionRect(t).right() < strip->captionRect(t + 1).left());
    QVERIFY(strip->captionRect(4).isEmpty());
    QTest::mouseClick(strip, Qt::LeftButton, {}, strip->captionRect(3).center());
    QCOMPARE(strip->tab(), 3);
    QCOMPARE(previous, QList<int>({0, 2}));
    QVERIFY(frames.at(3)->isVisible());
    // The frames lie below the captions.
    QVERIFY(frames.at(3)->y() >= strip->captionRect(3).bottom());
}

void TestControls::tabStripKeyCodes_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("code");
    QTest::newRow("Enter") << int(Qt::Key_Return) << 0 << 13;
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << 13;
    QTest::newRow("F2") << int(Qt::Key_F2) << 0 << 113;
    QTest::newRow("digit 1") << int(Qt::Key_1) << 0 << 49;
    QTest::newRow("keypad 1") << int(Qt::Key_1) << int(Qt::KeypadModifier) << 97;
    QTest::newRow("letter") << int(Qt::Key_A) << 0 << 65;
    QTest::newRow("Esc") << int(Qt::Key_Escape) << 0 << 27;
}

void TestControls::tabStripKeyCodes()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, code);
    suite::ssTbKit strip;
    strip.setTabcount(2);
    auto *page = new QWidget; // a page control that lets every key through
    page->setFocusPolicy(Qt::StrongFocus);
    strip.addTabControl(0, page);
    strip.show();
    QApplication::setActiveWindow(&strip);
    QVERIFY(QTest::qWaitForWindowActive(&strip));
    QList<int> codes;
    connect(&strip, &suite::ssTbKit::KeyDown, this, [&](int c) { codes << c; });

    strip.setFocus();
    QTRY_VERIFY(strip.hasFocus());
    QKeyEvent press(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers));
    QCoreApplication::sendEvent(&strip, &press);
    QCOMPARE(codes, QList<int>{code});

    // Reaching the strip on its way up from a page's control is not a key of its own.
    page->setFocus();
    QTRY_VERIFY(page->hasFocus());
    QTest::keyClick(page, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(codes, QList<int>{code});
}

void TestControls::optionButtons()
{
    suite::Frame frame;
    auto *employee = new suite::OptionButton(&frame);
    auto *client = new suite::OptionButton(&frame);
    QSignalSpy employeeClicks(employee, &suite::OptionButton::Click);
    QSignalSpy clientClicks(client, &suite::OptionButton::Click);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));

    employee->setProperty("value", true);
    QCOMPARE(employeeClicks.count(), 1);
    client->setProperty("value", true);
    QCOMPARE(clientClicks.count(), 1);
    QVERIFY(!employee->property("value").toBool());

    client->setProperty("value", false);   // off, although the two are exclusive
    QVERIFY(!client->value() && !employee->value());

    // A user's click raises it; a click on the selected one does not.
    QTest::mouseClick(employee, Qt::LeftButton, {}, QPoint(6, employee->height() / 2));
    QCOMPARE(employeeClicks.count(), 2);
    QVERIFY(employee->value());
    QTest::mouseClick(employee, Qt::LeftButton, {}, QPoint(6, employee->height() / 2));
    QCOMPARE(employeeClicks.count(), 2);
    QCOMPARE(clientClicks.count(), 1);

    QList<int> codes;
    connect(client, &suite::OptionButton::KeyDown, this, [&](int c) { codes << c; });
    QTest::keyClick(client, Qt::Key_Return);
    QCOMPARE(codes, QList<int>{13});
}

void TestControls::datePickerAlwaysHoldsADate()
{
    QWidget form;
    auto *picker = new suite::dpFecha(&form);
    auto *next = new QLineEdit(&form);
    next->move(0, 40);
    QCOMPARE(picker->date(), QDate::currentDate());
    picker->setProperty("date", QDate(2021, 3, 5));
    QCOMPARE(picker->text(), u"05/03/2021"_s);
    picker->setProperty("date", QVariant(QMetaType(QMetaType::QDate)));   // a database NULL
    QCOMPARE(picker->date(), QDate::currentDate());
    picker->setProperty("date", u"2020-02-29"_s);                         // as SQLite keeps dates
    QCOMPARE(picker->date(), QDate(2020, 2, 29));
    picker->limpia();
    QCOMPARE(picker->date(), QDate::currentDate());

    picker->setProperty("tabonenter", true);
    form.show();
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    picker->setFocus();
    QTest::keyClick(picker, Qt::Key_Return);
    QTRY_VERIFY(next->hasFocus());
}

void TestControls::labelAndShape()
{
    suite::Etiqueta label;
    label.setProperty("alignment", 1);
    QVERIFY(label.alignment() & Qt::AlignRight);
    QCOMPARE(label.property("alignment").toInt(), 1);
    label.setProperty("alignment", 2);
    QVERIFY(label.alignment() & Qt::AlignHCenter);
    QCOMPARE(label.property("alignment").toInt(), 2);

    // &H004BC9B4 is stored blue-green-red: the bar is RGB #B4C94B.
    suite::Shape bar;
    bar.setProperty("backcolor", 0x4BC9B4);
    bar.setProperty("bordercolor", 0x4BC9B4);
    bar.resize(40, 9);
    const QImage image = bar.grab().toImage();
    QCOMPARE(image.pixelColor(20, 4), QColor(0xB4, 0xC9, 0x4B));
    QCOMPARE(image.pixelColor(0, 0), QColor(0xB4, 0xC9, 0x4B));
}

void TestControls::colourSchemeReachesEveryControl()
{
    QWidget form;
    auto *scheme = new suite::colorKIT(&form);
    auto *label = new suite::Etiqueta(&form);
    auto *box = new suite::txtKIT(&form);
    auto *frame = new suite::Frame(&form);
    auto *nested = new suite::txtKIT(frame);
    auto *grid = new suite::DataGrid(frame);
    auto *plain = new QLineEdit(&form);
    const double plainSize = plain->font().pointSizeF();

    scheme->setProperty("labelfontsize", 9.75);
    scheme->setProperty("textfontsize", 11.25);
    scheme->setProperty("dbgridbackcolorodd", 0x0000FF);   // red, as BGR
    scheme->setProperty("formbackcolor", 0xE0C0A0);        // RGB #A0C0E0
    QMetaObject::invokeMethod(scheme, "aplicacolores");

    QCOMPARE(label->font().pointSizeF(), 9.75);
    QCOMPARE(box->font().pointSizeF(), 11.25);
    QCOMPARE(nested->font().pointSizeF(), 11.25);
    QCOMPARE(grid->palette().color(QPalette::AlternateBase), QColor(255, 0, 0));
    QCOMPARE(grid->palette().color(QPalette::Base), QColor(255, 255, 255));
    QCOMPARE(plain->font().pointSizeF(), plainSize);
    QCOMPARE(form.palette().color(QPalette::Window), QColor(0xA0, 0xC0, 0xE0));
    QVERIFY(!scheme->isVisible());
}

void TestControls::messageBoxFollowsTheStyle_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("icon");
    QTest::addColumn<QStringList>("buttons");
    QTest::addColumn<QString>("press");
    QTest::addColumn<int>("answer");
    const QStringList ok{u"Aceptar"_s}, yesNo{u"Sí"_s, u"No"_s};
    QTest::newRow("stop") << 16 << int(QMessageBox::Critical) << ok << u"Aceptar"_s << 1;
    QTest::newRow("exclamation") << 48 << int(QMessageBox::Warning) << ok << u"Aceptar"_s << 1;
    QTest::newRow("information") << 64 << int(QMessageBox::Information) << ok << u"Aceptar"_s << 1;
    QTest::newRow("question yes") << 36 << int(QMessageBox::Question) << yesNo << u"Sí"_s << 6;
    QTest::newRow("question esc") << 36 << int(QMessageBox::Question) << yesNo << QString() << 7;
}

void TestControls::messageBoxFollowsTheStyle()
{
    QFETCH(int, style);
    QFETCH(int, icon);
    QFETCH(QStringList, buttons);
    QFETCH(QString, press);
    QFETCH(int, answer);

    suite::MessageRequest request;
    request.prompt = u"El porcentaje debe ser mayor a cero."_s;
    request.style = style;
    request.title = u"Controles_Aceptar()"_s;
    request.component = u"XB733"_s;
    request.id = u"ERR-ID:7500002"_s;
    std::unique_ptr<QMessageBox> box(suite::MessageBoxPresenter::build(request));
    QCOMPARE(int(box->icon()), icon);
    QCOMPARE(box->windowTitle(), u"Controles_Aceptar()"_s);
    QCOMPARE(box->text(), request.prompt);
    QVERIFY(box->informativeText().contains(u"XB733 · ERR-ID:7500002"_s));
    QStringList texts;
    for (QAbstractButton *b : box->buttons())
        texts << b->text();
    texts.sort();
    buttons.sort();
    QCOMPARE(texts, buttons);

    box->show();
    QVERIFY(QTest::qWaitForWindowExposed(box.get()));
    if (press.isEmpty()) {
        QTest::keyClick(box.get(), Qt::Key_Escape);
    } else {
        for (QAbstractButton *b : box->buttons()) {
            if (b->text() == press)
                b->click();
        }
    }
    QCOMPARE(suite::MessageBoxPresenter::answerOf(box.get()), answer);

    // No title: the suite's name.
    request.title.clear();
    std::unique_ptr<QMessageBox> untitled(suite::MessageBoxPresenter::build(request));
    QCOMPARE(untitled->windowTitle(), u"Talvexor"_s);
}

QTEST_MAIN(TestControls)
#include "tst_kit_controls.moc"
