#include "suite/data/Connection.h"
#include "suite/kit/TxtKit.h"
#include "suite/session/Session.h"
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
// that focus moves for real.
struct Form
{
    QWidget window;
    txtKIT *key = new txtKIT(&window);
    txtKIT *description = new txtKIT(&window);
    QLineEdit *next = new QLineEdit(&window);

    Form()
    {
        key->setObjectName(u"txtClave"_s);
        description->setObjectName(u"txtDescripcion"_s);
        description->setLocked(true);
        description->setFocusPolicy(Qt::NoFocus);
        auto *layout = new QVBoxLayout(&window);
        layout->addWidget(key);
        layout->addWidget(description);
        layout->addWidget(next);
        window.show();
        window.activateWindow();
    }
    bool ready() { return QTest::qWaitForWindowActive(&window); }
    void lookUpTypes()
    {
        key->setProperty("sql", TypeLookup);
        key->setProperty("sql_control_resultado", u"txtDescripcion"_s);
    }
};

// keyClicks only types ASCII; other characters go as events carrying them.
void typeText(QWidget *target, const QString &text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// One active type, one deactivated, one whose key holds a quote.
void addTypes(suite::Connection &c)
{
    for (const QString &row : {u"'0000000001', 'Equipo de cómputo', 'AC'"_s,
                               u"'0000000002', 'Mobiliario retirado', 'BA'"_s,
                               u"'O''BRIEN', 'Clave con apóstrofo', 'AC'"_s})
        c.Execute(u"INSERT INTO Tipo_Activo_Fijo (Ta_Cve_Tipo_Activo_Fijo, Ta_Descripcion, Es_Cve_Estado) "
                  "VALUES ("_s + row + u")"_s);
}

} // namespace

class TestTextBox : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void keyFilling_data();
    void keyFilling();
    void upperCasingAndMaxlength();
    void lookupAndF2FillTheResultBox();
    void numericDisplay_data();
    void numericDisplay();
    void numericTypingAndValor();
    void enterRaisesEnteredThenMovesOn();
};

void TestTextBox::keyFilling_data()
{
    QTest::addColumn<bool>("isKey");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");
    QTest::newRow("number filled") << true << u"0000000000"_s << u"12"_s << u"0000000012"_s;
    QTest::newRow("leading zeros count once") << true << u"000000"_s << u"0012"_s << u"000012"_s;
    QTest::newRow("longer than the pattern") << true << u"0000"_s << u"123456"_s << u"123456"_s;
    QTest::newRow("not a number stays") << true << u"0000000000"_s << u"AB12"_s << u"AB12"_s;
    QTest::newRow("decimal is not a key number") << true << u"000000"_s << u"12.5"_s << u"12.5"_s;
    QTest::newRow("empty stays empty") << true << u"000000"_s << QString() << QString();
    QTest::newRow("not a key box") << false << u"0000000000"_s << u"12"_s << u"12"_s;
}

void TestTextBox::keyFilling()
{
    QFETCH(bool, isKey);
    QFETCH(QString, pattern);
    QFETCH(QString, typed);
    QFETCH(QString, expected);

    Form form;
    QVERIFY(form.ready());
    form.key->setEsclave(isKey);
    form.key->setFormatoclave(pattern);
    form.key->setFocus();
    QTest::keyClicks(form.key, typed);
    QTest::keyClick(form.key, Qt::Key_Return);   // filled on Enter ...
    QCOMPARE(form.key->text(), expected);

    form.key->clear();
    QTest::keyClicks(form.key, typed);
    QCOMPARE(form.key->text(), typed);
    form.next->setFocus();                       // ... and when the box is left
    QTRY_VERIFY(form.next->hasFocus());
    QCOMPARE(form.key->text(), expected);
}

void TestTextBox::upperCasingAndMaxlength()
{
    TestSession session;
    Form form;
    QVERIFY(form.ready());
    form.key->setFocus();
    typeText(form.key, u"año b"_s);
    QCOMPARE(form.key->text(), u"año b"_s);
    form.key->clear();
    form.key->setMayusculas(true);
    typeText(form.key, u"año b"_s);
    QCOMPARE(form.key->text(), u"AÑO B"_s);
    form.key->clear();
    QApplication::clipboard()->setText(u"pegado"_s);
    form.key->paste();
    QCOMPARE(form.key->text(), u"PEGADO"_s);
    form.key->clear();
    form.key->setMayusculas(false);
    session.session().setForceUpperCase(true);   // upper-cases every text box
    typeText(form.key, u"clave"_s);
    QCOMPARE(form.key->text(), u"CLAVE"_s);

    // maxlength caps typing; 0 means no limit.
    form.key->clear();
    form.key->setFocus();
    form.key->setProperty("maxlength", 4);
    QTest::keyClicks(form.key, u"EMPRESA"_s);
    QCOMPARE(form.key->text(), u"EMPR"_s);
    form.key->setProperty("maxlength", 0);
    form.key->clear();
    form.key->insert(QString(300, u'X'));
    QCOMPARE(form.key->text(), QString(300, u'X'));

    // Alt with a digit selects a tab of the window; it is never typed.
    form.key->clear();
    QTest::sendKeyEvent(QTest::Click, form.key, Qt::Key_3, u"3"_s, Qt::AltModifier);
    QCOMPARE(form.key->text(), QString());
}

void TestTextBox::lookupAndF2FillTheResultBox()
{
    TestSession session;
    addTypes(session.connection());
    Form form;
    QVERIFY(form.ready());
    // A box of the same name in another window must not be touched.
    QWidget otherWindow;
    auto *stranger = new QLineEdit(&otherWindow);
    stranger->setObjectName(u"txtDescripcion"_s);
    stranger->setText(u"ajeno"_s);
    form.lookUpTypes();

    form.key->setText(u"0000000001"_s);
    QCOMPARE(form.description->text(), u"Equipo de cómputo"_s);
    QVERIFY(form.key->lookupFound());

    // By typing: a partial key describes nothing, the whole one does.
    form.key->clear();
    QCOMPARE(form.description->text(), QString());
    form.key->setFocus();
    QTest::keyClicks(form.key, u"00000000"_s);
    QCOMPARE(form.description->text(), QString());
    QTest::keyClicks(form.key, u"01"_s);
    QCOMPARE(form.description->text(), u"Equipo de cómputo"_s);

    form.key->setText(u"0000000002"_s);   // deactivated
    QCOMPARE(form.description->text(), QString());
    QVERIFY(!form.key->lookupFound());

    // Quotes are data, never part of the statement.
    form.key->setText(u"O'BRIEN"_s);
    QCOMPARE(form.description->text(), u"Clave con apóstrofo"_s);
    form.key->setText(u"x' OR '1'='1"_s);
    QCOMPARE(form.description->text(), QString());
    QCOMPARE(stranger->text(), u"ajeno"_s);

    // A lookup that cannot run empties the result and keeps the key.
    form.key->setText(u"0000000001"_s);
    form.key->setProperty("sql", u"SELECT Nada FROM Tabla_Que_No_Existe WHERE Clave = '?'"_s);
    form.key->setText(u"0000000002"_s);
    QCOMPARE(form.description->text(), QString());
    QCOMPARE(form.key->text(), u"0000000002"_s);

    // F2 chooses a key through the search presenter.
    form.lookUpTypes();
    form.key->setProperty("idconsulta", u"TIPO_ACTIVO_FIJO"_s);
    form.key->setFocus();
    session.search().answerNext(u"0000000001"_s);
    QTest::keyClick(form.key, Qt::Key_F2);
    QCOMPARE(form.key->text(), u"0000000001"_s);
    QCOMPARE(form.description->text(), u"Equipo de cómputo"_s);
    QCOMPARE(session.search().calls().size(), 1);
    QCOMPARE(session.search().calls().at(0).queryId, u"TIPO_ACTIVO_FIJO"_s);
    QCOMPARE(session.search().calls().at(0).maxRows, 100);
    // No query id, or a read-only box: no dialog.
    form.key->setProperty("idconsulta", QString());
    QTest::keyClick(form.key, Qt::Key_F2);
    form.key->setProperty("idconsulta", u"TIPO_ACTIVO_FIJO"_s);
    form.key->setLocked(true);
    QTest::keyClick(form.key, Qt::Key_F2);
    QCOMPARE(session.search().calls().size(), 1);
}

void TestTextBox::numericDisplay_data()
{
    QTest::addColumn<int>("tipodato");
    QTest::addColumn<int>("formato");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<double>("readBack");
    QTest::addColumn<QString>("zero");
    QTest::newRow("integer from text") << 3 << 1 << QVariant(u"7"_s) << u"7"_s << 7.0 << u"0"_s;
    QTest::newRow("double grouped") << 5 << 5 << QVariant(1234.5) << u"1,234.50"_s << 1234.5 << u"0.00"_s;
    QTest::newRow("double rounded") << 5 << 5 << QVariant(2.005001) << u"2.01"_s << 2.01 << u"0.00"_s;
    QTest::newRow("currency millions") << 6 << 0 << QVariant(1234567.891) << u"$1,234,567.8910"_s << 1234567.891
                                       << u"$0.0000"_s;
    QTest::newRow("currency negative") << 6 << 0 << QVariant(-50.25) << u"-$50.2500"_s << -50.25 << u"$0.0000"_s;
    QTest::newRow("ratio from text") << 8 << 8 << QVariant(u"0.125"_s) << u"12.50%"_s << 0.125 << u"0.00%"_s;
    QTest::newRow("ratio above one") << 8 << 8 << QVariant(1.5) << u"150.00%"_s << 1.5 << u"0.00%"_s;
}

void TestTextBox::numericDisplay()
{
    QFETCH(int, tipodato);
    QFETCH(int, formato);
    QFETCH(QVariant, value);
    QFETCH(QString, shown);
    QFETCH(double, readBack);
    QFETCH(QString, zero);

    txtKIT box;
    box.setProperty("tipodato", tipodato);
    box.setProperty("formato", formato);
    box.setProperty("valor", value);
    QCOMPARE(box.text(), shown);
    QCOMPARE(box.property("valor").toDouble(), readBack);
    box.setText(shown);   // the shown text reads back as the same value
    QCOMPARE(box.property("valor").toDouble(), readBack);
    box.limpia();
    QCOMPARE(box.text(), zero);
    QCOMPARE(box.property("valor").toDouble(), 0.0);
}

void TestTextBox::numericTypingAndValor()
{
    Form form;
    QVERIFY(form.ready());
    txtKIT *cost = form.key;
    cost->setTipodato(6);
    cost->limpia();
    cost->setFocus();
    cost->selectAll();
    QTest::keyClicks(cost, u"1x234.5"_s);   // the letter is not a number's
    QCOMPARE(cost->text(), u"1234.5"_s);
    QCOMPARE(cost->property("valor").toDouble(), 1234.5);
    form.next->setFocus();
    QTRY_VERIFY(form.next->hasFocus());
    QCOMPARE(cost->text(), u"$1,234.5000"_s);
    // Empty and a database NULL show zero in a number box.
    cost->setProperty("valor", u""_s);
    QCOMPARE(cost->text(), u"$0.0000"_s);
    cost->setProperty("valor", 10);
    cost->setProperty("valor", QVariant(QMetaType(QMetaType::Double)));
    QCOMPARE(cost->text(), u"$0.0000"_s);

    // An integer box takes no decimal point.
    cost->setTipodato(3);
    cost->setFormato(1);
    cost->limpia();
    cost->setFocus();
    cost->selectAll();
    QTest::keyClicks(cost, u"1.5"_s);
    QCOMPARE(cost->text(), u"15"_s);
    QCOMPARE(cost->property("valor").typeId(), QMetaType::LongLong);
}

void TestTextBox::enterRaisesEnteredThenMovesOn()
{
    TestSession session;
    addTypes(session.connection());
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
        form.key->setProperty("tabonentercancel", false);
        form.key->setProperty("tabonentervacio", false);
        if (c.allow)
            form.key->setProperty(c.allow, true);
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

QTEST_MAIN(TestTextBox)
#include "tst_kit_textbox.moc"
