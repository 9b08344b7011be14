// The keyboard, tab and responsible-type handling of the form.
#include "ScreenFixture.h"

#include "suite/kit/ListView.h"
#include "suite/kit/OptionButton.h"
#include "suite/kit/SsTbKit.h"
#include "suite/kit/TxtKit.h"

#include <QApplication>
#include <functional>
#include <QTest>

using namespace Qt::StringLiterals;

class tst_screen_keyboard : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void altDigitSelectsTab_data();
    void altDigitSelectsTab();
    void frameFollowsTab();
    void successiveAltDigits();
    void enterActsAsTab();
    void responsibleSwitch();
    void responsibleOrder();
};

namespace {

QStringList enabledFrames(ScreenFixture &f)
{
    QStringList out;
    for (int tab = 0; tab < 4; ++tab) {
        if (f.get(u"Fr%1"_s.arg(tab))->property("enabled").toBool())
            out << u"Fr%1"_s.arg(tab);
    }
    return out;
}

// Records, in order, what happens to the responsible frames, and whether the
// employee's boxes were already empty at that moment.
class Recorder : public QObject
{
public:
    QStringList log;
    QList<bool> employeeEmpty;
    std::function<bool()> isEmployeeEmpty;

    void watch(QWidget *w) { w->installEventFilter(this); }

protected:
    bool eventFilter(QObject *o, QEvent *e) override
    {
        auto *w = static_cast<QWidget *>(o);
        QString what;
        if (e->type() == QEvent::EnabledChange)
            what = w->property("enabled").toBool() ? u" enabled"_s : u" disabled"_s;
        else if (e->type() == QEvent::HideToParent)
            what = u" hidden"_s;
        else if (e->type() == QEvent::ShowToParent)
            what = u" shown"_s;
        if (!what.isEmpty()) {
            log << o->objectName() + what;
            employeeEmpty << isEmployeeEmpty();
        }
        return false;
    }
};

} // namespace

void tst_screen_keyboard::altDigitSelectsTab_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("expectedTab"); // -1: stays where it was (tab 1)

    const int alt = Qt::AltModifier;
    QTest::newRow("Alt+1") << int(Qt::Key_1) << alt << 0;
    QTest::newRow("Alt+2") << int(Qt::Key_2) << alt << 1;
    QTest::newRow("Alt+3") << int(Qt::Key_3) << alt << 2;
    QTest::newRow("Alt+4") << int(Qt::Key_4) << alt << 3;
    QTest::newRow("Alt+5") << int(Qt::Key_5) << alt << -1;
    QTest::newRow("Alt+0") << int(Qt::Key_0) << alt << -1;
    QTest::newRow("Shift+Alt+3") << int(Qt::Key_3) << int(Qt::ShiftModifier | Qt::AltModifier) << -1;
    QTest::newRow("Ctrl+Alt+3") << int(Qt::Key_3) << int(Qt::ControlModifier | Qt::AltModifier) << -1;
    QTest::newRow("Alt+keypad 3") << int(Qt::Key_3) << int(Qt::AltModifier | Qt::KeypadModifier) << -1;
    QTest::newRow("3 alone") << int(Qt::Key_3) << 0 << -1;
    QTest::newRow("Ctrl+3") << int(Qt::Key_3) << int(Qt::ControlModifier) << -1;
}

void tst_screen_keyboard::altDigitSelectsTab()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, expectedTab);

    ScreenFixture f;
    QVERIFY(f.showActive());
    QVERIFY(f.form().isLoaded());
    auto *strip = f.get<suite::ssTbKit>(u"ssTabKit"_s);
    strip->setTab(1);
    // From a control of the shown tab, as a user would be.
    QWidget *project = f.get(u"txtProyecto"_s);
    project->setProperty("enabled", true);
    project->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), project);

    QTest::keyClick(project, Qt::Key(key), Qt::KeyboardModifiers(modifiers));

    const int tab = expectedTab < 0 ? 1 : expectedTab;
    QCOMPARE(strip->tab(), tab);
    QCOMPARE(enabledFrames(f), QStringList{u"Fr%1"_s.arg(tab)});
    // The control still got its key: a digit typed without modifiers lands in the box.
    if (modifiers == 0)
        QCOMPARE(project->property("text").toString(), u"3"_s);
}

void tst_screen_keyboard::frameFollowsTab()
{
    ScreenFixture f;
    QVERIFY(f.showActive());
    auto *strip = f.get<suite::ssTbKit>(u"ssTabKit"_s);

    // By code.
    strip->setProperty("tab", 2);
    QCOMPARE(enabledFrames(f), QStringList{u"Fr2"_s});
    QVERIFY(!f.get(u"Fr0"_s)->isVisible());
    QVERIFY(f.get(u"lvActivoFijoContable"_s)->isVisible());

    // By a click on a caption.
    QTest::mouseClick(strip, Qt::LeftButton, {}, strip->captionRect(3).center());
    QCOMPARE(strip->tab(), 3);
    QCOMPARE(enabledFrames(f), QStringList{u"Fr3"_s});

    // By Alt+digit from a control of another tab.
    f.get(u"txtUser1"_s)->setProperty("enabled", true);
    f.get(u"txtUser1"_s)->setFocus();
    QTest::keyClick(f.get(u"txtUser1"_s), Qt::Key_1, Qt::AltModifier);
    QCOMPARE(strip->tab(), 0);
    QCOMPARE(enabledFrames(f), QStringList{u"Fr0"_s});

    // A value the strip refuses changes nothing.
    strip->setProperty("tab", 7);
    QCOMPARE(strip->tab(), 0);
    QCOMPARE(enabledFrames(f), QStringList{u"Fr0"_s});
}

void tst_screen_keyboard::successiveAltDigits()
{
    ScreenFixture f;
    QVERIFY(f.showActive());
    auto *strip = f.get<suite::ssTbKit>(u"ssTabKit"_s);
    // Each key goes where the focus is now: the page it was on may have gone.
    for (int tab : {1, 3, 0, 2, 2, 1}) {
        QWidget *focus = QApplication::focusWidget();
        QVERIFY(focus);
        QTest::keyClick(focus, Qt::Key(Qt::Key_1 + tab), Qt::AltModifier);
        QCOMPARE(strip->tab(), tab);
        QCOMPARE(enabledFrames(f), QStringList{u"Fr%1"_s.arg(tab)});
    }
}

void tst_screen_keyboard::enterActsAsTab()
{
    ScreenFixture f;
    QVERIFY(f.showActive()); // start-up chose the employee
    auto *employee = f.get<suite::OptionButton>(u"opEmpleado"_s);
    auto *client = f.get<suite::OptionButton>(u"opCliente"_s);
    QWidget *employeeKey = f.get(u"txtClaveEmpleado"_s);
    employee->setProperty("enabled", true);
    client->setProperty("enabled", true);
    employeeKey->setProperty("enabled", true);

    // As Tab: past the other option of the group, to the responsible's key.
    employee->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), employee);
    QTest::keyClick(employee, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), employeeKey);
    QVERIFY(employee->value()); // moving on selects nothing

    // Other keys keep their meaning: an arrow moves to the other option and chooses it.
    employee->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), employee);
    QTest::keyClick(employee, Qt::Key_Right);
    QCOMPARE(QApplication::focusWidget(), client);
    QVERIFY(client->value());
    QVERIFY(f.get(u"frmCliente"_s)->isVisible());

    auto *strip = f.get<suite::ssTbKit>(u"ssTabKit"_s);
    strip->setTab(2);
    auto *accounting = f.get<suite::ListView>(u"lvActivoFijoContable"_s);
    accounting->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), accounting);
    QTest::keyClick(accounting, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), f.get(u"lvActivoFijoFiscal"_s));
    // Enter on the strip moves on as well (keypad Enter is Enter too).
    strip->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(strip));
    QTest::keyClick(strip, Qt::Key_Enter, Qt::KeypadModifier);
    QVERIFY(QApplication::focusWidget() != strip);
}

void tst_screen_keyboard::responsibleSwitch()
{
    ScreenFixture f;
    QVERIFY(f.showActive());
    auto *employee = f.get<suite::OptionButton>(u"opEmpleado"_s);
    auto *client = f.get<suite::OptionButton>(u"opCliente"_s);
    QWidget *employeeFrame = f.get(u"frmEmpleado"_s);
    QWidget *clientFrame = f.get(u"frmCliente"_s);
    auto text = [&](const char *name) { return f.get(QString::fromLatin1(name))->property("text").toString(); };
    auto setText = [&](const char *name, const QString &t) { f.get(QString::fromLatin1(name))->setProperty("text", t); };

    setText("txtClaveEmpleado", u"E001"_s);
    setText("txtDescripcionEmpleado", u"Ana Pérez"_s);
    employee->setProperty("enabled", true);
    client->setProperty("enabled", true);
    QTest::mouseClick(client, Qt::LeftButton, {}, QPoint(8, client->height() / 2));
    QVERIFY(client->value());
    QCOMPARE(text("txtClaveEmpleado"), QString());
    QCOMPARE(text("txtDescripcionEmpleado"), QString());
    QVERIFY(employeeFrame->isHidden());
    QVERIFY(!employeeFrame->property("enabled").toBool());
    QVERIFY(clientFrame->isVisible());
    QVERIFY(clientFrame->property("enabled").toBool());

    // Clicking the option already chosen changes nothing.
    setText("txtClaveCliente", u"C001"_s);
    setText("txtDescripcionCliente", u"Cliente Uno"_s);
    QTest::mouseClick(client, Qt::LeftButton, {}, QPoint(8, client->height() / 2));
    QCOMPARE(text("txtClaveCliente"), u"C001"_s);
    QCOMPARE(text("txtDescripcionCliente"), u"Cliente Uno"_s);

    // Back to the employee, by setting the value as a load would.
    employee->setValue(true);
    QCOMPARE(text("txtClaveCliente"), QString());
    QCOMPARE(text("txtDescripcionCliente"), QString());
    QVERIFY(clientFrame->isHidden());
    QVERIFY(!clientFrame->property("enabled").toBool());
    QVERIFY(employeeFrame->isVisible());
    QVERIFY(employeeFrame->property("enabled").toBool());
}

void tst_screen_keyboard::responsibleOrder()
{
    ScreenFixture f;
    QVERIFY(f.form().ensureLoaded()); // employee chosen
    f.get(u"txtClaveEmpleado"_s)->setProperty("text", u"E001"_s);
    f.get(u"txtDescripcionEmpleado"_s)->setProperty("text", u"Ana"_s);

    Recorder recorder;
    recorder.isEmployeeEmpty = [&] {
        return f.get(u"txtClaveEmpleado"_s)->property("text").toString().isEmpty()
            && f.get(u"txtDescripcionEmpleado"_s)->property("text").toString().isEmpty();
    };
    recorder.watch(f.get(u"frmEmpleado"_s));
    recorder.watch(f.get(u"frmCliente"_s));

    f.get<suite::OptionButton>(u"opCliente"_s)->setValue(true);
    QCOMPARE(recorder.log, (QStringList{u"frmEmpleado disabled"_s, u"frmEmpleado hidden"_s, u"frmCliente enabled"_s,
                                        u"frmCliente shown"_s}));
    QCOMPARE(recorder.employeeEmpty, (QList<bool>{true, true, true, true}));
}

QTEST_MAIN(tst_screen_keyboard)
#include "tst_screen_keyboard.moc"
