#include "suite/data/Connection.h"
#include "suite/kit/TxtKit.h"
#include "tests/support/TestSession.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QShortcut>
#include <QVBoxLayout>
#include <QtTest/QtTest>

using namespace Qt::StringLiterals;
using suite::txtKIT;

namespace {

const QString TypeLookup =
    u"SELECT Ta_Descripcion FROM Tipo_Activo_Fijo WHERE Ta_Cve_Tipo_Activo_Fijo ='?' and Es_Cve_Estado <> 'BA' "_s;

// A key box, its description box and a box after them, shown and active so
// that focus moves for real, on a session whose types are one active, one
// deactivated and one whose key holds a quote.
struct Form
{
    TestSession session;
    QWidget window;
    txtKIT *key = new txtKIT(&window);
    txtKIT *description = new txtKIT(&window);
    QLineEdit *next = new QLineEdit(&window);

    Form()
    {
        for (const QString &row : {u"'0000000001', 'Equipo de cómputo', 'AC'"_s,
                                   u"'0000000002', 'Mobiliario retirado', 'BA'"_s,
                                   u"'O''BRIEN', 'Clave con apóstrofo', 'AC'"_s})
            session.connection().Execute(u"INSERT INTO Tipo_Activo_Fijo (Ta_Cve_Tipo_Activo_Fijo, Ta_Descripcion, "
                                         "Es_Cve_Estado) VALUES ("_s + row + u")"_s);
        key->setObjectName(u"txtClave"_s);
        description->setObjectName(u"txtDescripcion"_s);
        description->setLocked(true);
        description->setFocusPolicy(Qt::NoFocus);
        auto *layout = new QVBoxLayout(&window);
        for (QWidget *w : std::initializer_list<QWidget *>{key, description, next})
            layout->addWidget(w);
        window.show();
        window.activateWindow();
    }
    bool ready() { return QTest::qWaitForWindowActive(&window); }
    void lookUpTypes()
    {
        key->setProperty("sql", TypeLookup);
        key->setRowSource([this](const QString &statement) { return session.connection().Execute(statement); });
        key->setProperty("sql_control_resultado", u"txtDescripcion"_s);
    }
};

} // namespace

class TestTextBox : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The rules of filling a key; plain padding, a text left as it is, and
    // leaving the box filling it are covered end to end, Enter filling it in
    // enterRaisesEnteredThenMovesOn.
    void keyFilling()
    {
        const struct { bool isKey; QString pattern, typed, expected; } cases[] = {
            {true, u"000000"_s, u"00000012"_s, u"000012"_s},   // leading zeros do not count
            {true, u"0000"_s, u"123456"_s, u"123456"_s},       // longer than the pattern
            {true, u"000000"_s, u"12.5"_s, u"12.5"_s},         // a decimal is not a key number
            {true, u"000000"_s, QString(), QString()},
            {false, u"0000000000"_s, u"12"_s, u"12"_s},        // not a key box
        };
        for (const auto &c : cases) {
            txtKIT box;
            box.setEsclave(c.isKey);
            box.setFormatoclave(c.pattern);
            box.setText(c.typed);
            box.rellenaClave();
            QCOMPARE(box.text(), c.expected);
        }
    }

    // What a box refuses to take. Upper-casing typed text (the session's option,
    // accents and ñ included) and numbers reformatted on leaving are covered end to end.
    void typingFilters()
    {
        Form form;
        QVERIFY(form.ready());
        txtKIT *box = form.key;
        box->setFocus();
        box->setMayusculas(true);
        QApplication::clipboard()->setText(u"pegado"_s);
        box->paste();
        QCOMPARE(box->text(), u"PEGADO"_s);
        // maxlength caps typing; 0 means no limit.
        box->clear();
        box->setProperty("maxlength", 4);
        QTest::keyClicks(box, u"EMPRESA"_s);
        QCOMPARE(box->text(), u"EMPR"_s);
        box->setProperty("maxlength", 0);
        box->clear();
        box->insert(QString(300, u'X'));
        QCOMPARE(box->text(), QString(300, u'X'));
        // Alt with a digit selects a tab of the window; it is never typed.
        box->clear();
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_3, u"3"_s, Qt::AltModifier);
        QCOMPARE(box->text(), QString());

        // A letter is not a number's.
        box->setTipodato(6);
        QTest::keyClicks(box, u"1x234.5"_s);
        QCOMPARE(box->text(), u"1234.5"_s);
        QCOMPARE(box->property("valor").toDouble(), 1234.5);
    }

    // Describing a typed key and F2 through the session's presenter are covered end to end.
    void lookupAndF2FillTheResultBox()
    {
        Form form;
        QVERIFY(form.ready());
        // A box of the same name in another window must not be touched.
        QWidget otherWindow;
        auto *stranger = new QLineEdit(&otherWindow);
        stranger->setObjectName(u"txtDescripcion"_s);
        stranger->setText(u"ajeno"_s);
        form.lookUpTypes();

        // Quotes are data, never part of the statement.
        form.key->setText(u"O'BRIEN"_s);
        QCOMPARE(form.description->text(), u"Clave con apóstrofo"_s);
        QVERIFY(form.key->lookupFound());
        form.key->setText(u"x' OR '1'='1"_s);
        QCOMPARE(form.description->text(), QString());
        QVERIFY(!form.key->lookupFound());
        QCOMPARE(stranger->text(), u"ajeno"_s);

        // A lookup that cannot run empties the result and keeps the key.
        form.key->setText(u"0000000001"_s);
        QCOMPARE(form.description->text(), u"Equipo de cómputo"_s);
        form.key->setProperty("sql", u"SELECT Nada FROM Tabla_Que_No_Existe WHERE Clave = '?'"_s);
        form.key->setText(u"0000000002"_s);
        QCOMPARE(form.description->text(), QString());
        QCOMPARE(form.key->text(), u"0000000002"_s);

        // F2 asks for at most 100 rows; with no query id, or in a read-only box, nothing is asked.
        form.key->setFocus();
        form.key->setProperty("idconsulta", u"TIPO_ACTIVO_FIJO"_s);
        QTest::keyClick(form.key, Qt::Key_F2);
        QCOMPARE(form.session.search().calls().value(0).maxRows, 100);
        form.key->setProperty("idconsulta", QString());
        QTest::keyClick(form.key, Qt::Key_F2);
        form.key->setProperty("idconsulta", u"TIPO_ACTIVO_FIJO"_s);
        form.key->setLocked(true);
        QTest::keyClick(form.key, Qt::Key_F2);
        QCOMPARE(form.session.search().calls().size(), 1);
    }

    // A numeric box keeps its value exactly; its style only shows it, and
    // with the focus the box shows every digit. Typed text is read as the
    // screens write numbers; anything else stays as typed, with no value,
    // and is reported when the box is left. (Grouping read, a comma that
    // groups nothing, the comma-decimal way, a fraction in an integer box and
    // 1.005 shown as 1.01: tst_saving's numbersDatesAndSharesAsTyped.)
    void numbers()
    {
        const QVariant null(QMetaType::fromType<double>());
        const struct { int tipodato, formato; QVariant value; QString shown, exact; } handed[] = {
            {3, 1, QVariant(u"7"_s), u"7"_s, u"7"_s},                      // a text handed to a number box
            {3, 1, QVariant(1e30), u"1000000000000000000000000000000"_s, u"1000000000000000000000000000000"_s},
            {5, 5, QVariant(1.23456), u"1.23"_s, u"1.23456"_s},            // shown rounded, held whole
            {6, 0, QVariant(u"12345678901234.5678"_s), u"$12,345,678,901,234.5678"_s, u"12345678901234.5678"_s},
            {6, 0, QVariant(-50.25), u"-$50.2500"_s, u"-50.25"_s},
            {8, 8, QVariant(u"0.125"_s), u"12.50%"_s, u"0.125"_s},         // a plain text is the ratio
            {5, 5, null, QString(), QString()},                             // a database NULL: empty, NULL again
        };
        for (const auto &c : handed) {
            txtKIT box;
            box.setProperty("tipodato", c.tipodato);
            box.setProperty("formato", c.formato);
            box.setProperty("valor", c.value);
            QCOMPARE(box.text(), c.shown);
            QCOMPARE(box.decimal(), c.exact);
            QCOMPARE(box.property("valor").isNull(), c.exact.isEmpty());
        }
        txtKIT cleared;
        cleared.setTipodato(6);
        cleared.limpia();
        QCOMPARE(cleared.text() + u'=' + cleared.decimal(), u"$0.0000=0"_s);

        Form form;
        QVERIFY(form.ready());
        txtKIT *box = form.key;
        QSignalSpy refused(box, &txtKIT::numeroRechazado);
        const struct { int tipodato; QString typed, exact, shown; } typed[] = {
            {6, u"$1,234,567.5600"_s, u"1234567.56"_s, u"$1,234,567.5600"_s},
            {6, u".5"_s, u"0.5"_s, u"$0.5000"_s},
            {6, u"12,34.5"_s, {}, u"12,34.5"_s},
            {6, u"1..2"_s, {}, u"1..2"_s},
            {6, u"5-5"_s, {}, u"5-5"_s},
            {5, u"0.1"_s, u"0.1"_s, u"0.10"_s},
            {3, u"1,234"_s, u"1234"_s, u"1234"_s},
        };
        int refusals = 0;
        for (const auto &c : typed) {
            box->setTipodato(c.tipodato);
            box->setFocus();
            box->selectAll();
            QTest::keyClicks(box, c.typed);
            form.next->setFocus();
            refusals += c.exact.isEmpty();
            QCOMPARE(box->text() + u'|' + box->decimal() + u'|' + QString::number(refused.count()),
                     c.shown + u'|' + c.exact + u'|' + QString::number(refusals));
            QCOMPARE(box->holdsNumber(), !c.exact.isEmpty());
            QCOMPARE(box->property("valor").isValid(), !c.exact.isEmpty());
        }
        // Back in the box, every digit shows; leaving it keeps the value.
        box->setTipodato(5);
        box->setProperty("valor", 1.23456);
        box->setFocus();
        QCOMPARE(box->text(), u"1.23456"_s);
        form.next->setFocus();
        QCOMPARE(box->text() + u'|' + box->decimal(), u"1.23|1.23456"_s);
    }

    void enterRaisesEnteredThenMovesOn()
    {
        Form form;
        QVERIFY(form.ready());
        form.key->setEsclave(true);
        form.key->setFormatoclave(u"0000000000"_s);
        QStringList seen;
        QObject::connect(form.key, &txtKIT::Enter, form.key, [&] { seen << form.key->text(); });

        // Filled before entered is raised; without tabonenter the focus stays.
        form.key->setFocus();
        QTest::keyClicks(form.key, u"12"_s);
        QTest::keyClick(form.key, Qt::Key_Return);
        QCOMPARE(seen, QStringList{u"0000000012"_s});
        QVERIFY(form.key->hasFocus());
        form.key->setProperty("tabonenter", true);
        form.key->setText(u"7"_s);
        QTest::keyClick(form.key, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(seen.last(), u"0000000007"_s);
        QTRY_VERIFY(form.next->hasFocus());

        // A lookup box stays on Enter while empty or unknown, unless told otherwise.
        form.key->setEsclave(false);
        form.lookUpTypes();
        const struct { const char *allow; QString text; bool movesOn; } cases[] = {
            {nullptr, QString(), false}, {nullptr, u"9999"_s, false}, {"tabonentercancel", u"9999"_s, true},
            {"tabonentervacio", QString(), true}, {nullptr, u"0000000001"_s, true}};
        for (const auto &c : cases) {
            for (const char *allow : {"tabonentercancel", "tabonentervacio"})
                form.key->setProperty(allow, c.allow && qstrcmp(allow, c.allow) == 0);
            form.key->setFocus();
            form.key->setText(c.text);
            QTest::keyClick(form.key, Qt::Key_Return);
            if (c.movesOn)
                QTRY_VERIFY2(form.next->hasFocus(), qPrintable(c.text));
            else
                QVERIFY2(form.key->hasFocus(), qPrintable(c.text));
        }

        // The window's Ctrl commands reach it from a box; the editing keys stay the box's.
        int commands = 0;
        QShortcut deactivate(QKeySequence(Qt::CTRL | Qt::Key_E), form.key->window());
        QShortcut selectAll(QKeySequence(Qt::CTRL | Qt::Key_A), form.key->window());
        QObject::connect(&deactivate, &QShortcut::activated, form.key, [&] { ++commands; });
        QObject::connect(&selectAll, &QShortcut::activated, form.key, [&] { commands += 100; });
        form.key->setFocus();
        form.key->setText(u"abc"_s);
        form.key->setCursorPosition(0);
        QTest::keyClick(form.key, Qt::Key_E, Qt::ControlModifier);
        QCOMPARE(commands, 1);
        QCOMPARE(form.key->cursorPosition(), 0);
        QTest::keyClick(form.key, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(commands, 1);
        QCOMPARE(form.key->selectedText(), u"abc"_s);
    }
};

QTEST_MAIN(TestTextBox)
#include "tst_kit_textbox.moc"
