// The keyboard, tab and responsible-type handling of the form, in-process for
// the detail the scripted host cannot show.
#include "ScreenFixture.h"

#include "suite/kit/OptionButton.h"
#include "suite/kit/SsTbKit.h"

#include <QApplication>
#include <QTest>

using namespace Qt::StringLiterals;

class tst_screen_keyboard : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void successiveAltDigits();
    void enterActsAsTab();
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

void focus(QWidget *w)
{
    w->setProperty("enabled", true);
    w->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), w);
}

} // namespace

void tst_screen_keyboard::successiveAltDigits()
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

void tst_screen_keyboard::enterActsAsTab()
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

void tst_screen_keyboard::responsibleOrder()
{
    ScreenFixture f;
    QVERIFY(f.form().ensureLoaded()); // employee chosen
    auto text = [&](const char *name) { return f.get(QString::fromLatin1(name))->property("text").toString(); };
    f.get(u"txtClaveEmpleado"_s)->setProperty("text", u"E001"_s);
    f.get(u"txtDescripcionEmpleado"_s)->setProperty("text", u"Ana"_s);

    // What happens to the frames, in order, and whether the employee's boxes
    // were already empty at each step.
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
        if (!what.isEmpty())
            log << o->objectName() + u' ' + what + (text("txtClaveEmpleado").isEmpty() && text("txtDescripcionEmpleado").isEmpty() ? u""_s : u" early"_s);
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

QTEST_MAIN(tst_screen_keyboard)
#include "tst_screen_keyboard.moc"
