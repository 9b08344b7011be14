#include "suite/kit/DpFecha.h"
#include "suite/kit/Frame.h"
#include "suite/kit/MessageBoxPresenter.h"
#include "suite/kit/OptionButton.h"
#include "suite/kit/SsTbKit.h"

#include <QMessageBox>
#include <QSignalSpy>
#include <QtTest/QtTest>

using namespace Qt::StringLiterals;

// Tabs chosen by click or Alt+digit, their frames, the responsible options
// and sizes in twips (a resize refusing negative ones) are covered end to end.
class TestControls : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Keys pressed on the strip itself, as codes (the keypad's digits have their own).
    void tabStripKeyCodes()
    {
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
        for (const auto &[key, modifiers] : {std::pair{Qt::Key_Enter, Qt::KeypadModifier}, {Qt::Key_1, Qt::KeypadModifier},
                                             {Qt::Key_1, Qt::NoModifier}}) {
            QKeyEvent press(QEvent::KeyPress, key, modifiers);
            QCoreApplication::sendEvent(&strip, &press);
        }
        QCOMPARE(codes, QList<int>({13, 97, 49}));
        // Reaching the strip on its way up from a page's control is not a key of its own.
        page->setFocus();
        QTRY_VERIFY(page->hasFocus());
        QTest::keyClick(page, Qt::Key_Return);
        QCOMPARE(codes.size(), 3);
    }

    void optionAndDatePicker()
    {
        suite::Frame frame;
        auto *employee = new suite::OptionButton(&frame);
        new suite::OptionButton(&frame);   // its exclusive partner
        QSignalSpy clicks(employee, &suite::OptionButton::Click);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        // A user's click raises it; a click on the selected one does not.
        QTest::mouseClick(employee, Qt::LeftButton, {}, QPoint(6, employee->height() / 2));
        QTest::mouseClick(employee, Qt::LeftButton, {}, QPoint(6, employee->height() / 2));
        QCOMPARE(clicks.count(), 1);
        QVERIFY(employee->value());

        suite::dpFecha picker;
        picker.setProperty("date", QDate(2021, 3, 5));
        picker.setProperty("date", QVariant(QMetaType(QMetaType::QDate)));   // a database NULL
        QCOMPARE(picker.date(), QDate::currentDate());
    }

    // The box a user gets when no scripted presenter answers (end to end, one
    // answers): the button pressed, or Esc, gives the style's answer.
    void messageBoxFollowsTheStyle()
    {
        const struct { int style; QString press; int answer; } cases[] = {
            {16, u"Aceptar"_s, 1}, {36, u"Sí"_s, 6}, {36, QString(), 7},   // empty: Esc
        };
        for (const auto &c : cases) {
            const suite::MessageRequest request{u"El porcentaje debe ser mayor a cero."_s, c.style, QString(),
                                                u"XB733"_s, u"ERR-ID:7500002"_s, nullptr};
            std::unique_ptr<QMessageBox> box(suite::MessageBoxPresenter::build(request));
            QVERIFY(box->informativeText().contains(u"XB733 · ERR-ID:7500002"_s));
            box->show();
            QVERIFY(QTest::qWaitForWindowExposed(box.get()));
            if (c.press.isEmpty())
                QTest::keyClick(box.get(), Qt::Key_Escape);
            for (QAbstractButton *b : box->buttons()) {
                if (b->text() == c.press)
                    b->click();
            }
            QCOMPARE(suite::MessageBoxPresenter::answerOf(box.get()), c.answer);
        }
    }
};

QTEST_MAIN(TestControls)
#include "tst_kit_controls.moc"
