#include "suite/kit/DpFecha.h"
#include "suite/kit/Frame.h"
#include "suite/kit/MessageBoxPresenter.h"
#include "suite/kit/OptionButton.h"

#include <QMessageBox>
#include <QSignalSpy>
#include <QtTest/QtTest>

using namespace Qt::StringLiterals;

// Tabs chosen by click or Alt+digit, their frames, the responsible options
// and sizes in twips (a resize refusing negative ones) are covered end to end;
// the strip's key codes, and keys reaching it from a page, by the form's Enter
// and Alt+digit tests.
class TestControls : public QObject
{
    Q_OBJECT

private Q_SLOTS:
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

        // A database NULL leaves the picker empty and blank; a digit typed into an empty picker starts from
        // today's date. (Delete emptying a date: tst_saving's numbersDatesAndSharesAsTyped.)
        suite::dpFecha picker;
        picker.setProperty("date", QDate(2021, 3, 5));
        picker.setProperty("date", QVariant(QMetaType(QMetaType::QDate)));
        QCOMPARE(picker.property("date").toDate(), QDate());
        QCOMPARE(picker.text().trimmed(), QString());
        picker.show();
        QVERIFY(QTest::qWaitForWindowExposed(&picker));
        QTest::keyClicks(&picker, u"15"_s);
        const QDate today = QDate::currentDate();
        QCOMPARE(picker.property("date").toDate(), QDate(today.year(), today.month(), 15));
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
