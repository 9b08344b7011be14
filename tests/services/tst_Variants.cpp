#include "suite/data/SuiteError.h"
#include "suite/services/Variants.h"

#include <QDate>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QVariant empty;
const QVariant null = QVariant(QMetaType::fromType<QString>());

} // namespace

class VariantsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void textConversion_data();
    void textConversion();
    void booleanConversion_data();
    void booleanConversion();
};

void VariantsTest::textConversion_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("error"); // start of the refusal's text; empty when accepted

    QTest::newRow("empty") << empty << QString() << QString();
    QTest::newRow("text kept as is") << QVariant(u" Año 0001 "_s) << u" Año 0001 "_s << QString();
    QTest::newRow("integer") << QVariant(57) << u"57"_s << QString();
    QTest::newRow("negative 64-bit") << QVariant(qint64(-1234567890123)) << u"-1234567890123"_s << QString();
    QTest::newRow("fraction, period") << QVariant(2.5) << u"2.5"_s << QString();
    QTest::newRow("no binary noise") << QVariant(0.1 + 0.2) << u"0.3"_s << QString();
    QTest::newRow("whole double") << QVariant(100.0) << u"100"_s << QString();
    QTest::newRow("true") << QVariant(true) << u"Verdadero"_s << QString();
    QTest::newRow("false") << QVariant(false) << u"Falso"_s << QString();
    QTest::newRow("date") << QVariant(QDate(2024, 3, 5)) << u"05/03/2024"_s << QString();
    QTest::newRow("utf-8 bytes") << QVariant(QByteArray("Depreciaci\xc3\xb3n")) << u"Depreciación"_s << QString();
    QTest::newRow("null") << null << QString() << u"Uso no válido de Null"_s;
    QTest::newRow("null integer") << QVariant(QMetaType::fromType<int>()) << QString() << u"Uso no válido de Null"_s;
}

void VariantsTest::textConversion()
{
    QFETCH(QVariant, value);
    QFETCH(QString, expected);
    QFETCH(QString, error);
    try {
        const QString text = suite::cStr(value);
        QVERIFY2(error.isEmpty(), "a refused value was converted");
        QCOMPARE(text, expected);
    } catch (const suite::SuiteError &e) {
        QVERIFY2(!error.isEmpty(), qPrintable(e.description()));
        QVERIFY2(e.description().startsWith(error), qPrintable(e.description()));
    }
}

void VariantsTest::booleanConversion_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<bool>("expected");
    QTest::addColumn<QString>("error");

    const QString mismatch = u"No coinciden los tipos"_s;
    QTest::newRow("1") << QVariant(1) << true << QString();
    QTest::newRow("-1") << QVariant(-1) << true << QString();
    QTest::newRow("0") << QVariant(0) << false << QString();
    QTest::newRow("other number") << QVariant(42) << true << QString();
    QTest::newRow("fraction") << QVariant(0.25) << true << QString();
    QTest::newRow("double zero") << QVariant(0.0) << false << QString();
    QTest::newRow("bool true") << QVariant(true) << true << QString();
    QTest::newRow("bool false") << QVariant(false) << false << QString();
    QTest::newRow("SI") << QVariant(u"SI"_s) << true << QString();
    QTest::newRow("si") << QVariant(u"si"_s) << true << QString();
    QTest::newRow("Sí accented") << QVariant(u"Sí"_s) << true << QString();
    QTest::newRow("SÍ accented") << QVariant(u"SÍ"_s) << true << QString();
    QTest::newRow("NO") << QVariant(u"NO"_s) << false << QString();
    QTest::newRow("No") << QVariant(u"No"_s) << false << QString();
    QTest::newRow("True text") << QVariant(u"True"_s) << true << QString();
    QTest::newRow("FALSE text") << QVariant(u"FALSE"_s) << false << QString();
    QTest::newRow("Verdadero") << QVariant(u"Verdadero"_s) << true << QString();
    QTest::newRow("blanks around") << QVariant(u"  si "_s) << true << QString();
    QTest::newRow("numeric text 1") << QVariant(u"1"_s) << true << QString();
    QTest::newRow("numeric text 0") << QVariant(u"0"_s) << false << QString();
    QTest::newRow("numeric text -1") << QVariant(u"-1"_s) << true << QString();
    QTest::newRow("decimal comma zero") << QVariant(u"0,0"_s) << false << QString();
    QTest::newRow("empty text") << QVariant(QString()) << false << QString();
    QTest::newRow("empty") << empty << false << QString();
    QTest::newRow("null") << null << false << u"Uso no válido de Null"_s;
    QTest::newRow("word") << QVariant(u"quizá"_s) << false << mismatch;
    QTest::newRow("S alone") << QVariant(u"S"_s) << false << mismatch;
    QTest::newRow("yes in English") << QVariant(u"yes"_s) << false << mismatch;
    QTest::newRow("two numbers") << QVariant(u"1 2"_s) << false << mismatch;
    QTest::newRow("date") << QVariant(QDate(2024, 1, 1)) << false << mismatch;
}

void VariantsTest::booleanConversion()
{
    QFETCH(QVariant, value);
    QFETCH(bool, expected);
    QFETCH(QString, error);
    try {
        const bool result = suite::cBool(value);
        QVERIFY2(error.isEmpty(), "a refused value was converted");
        QCOMPARE(result, expected);
    } catch (const suite::SuiteError &e) {
        QVERIFY2(!error.isEmpty(), qPrintable(e.description()));
        QVERIFY2(e.description().startsWith(error), qPrintable(e.description()));
    }
}

QTEST_GUILESS_MAIN(VariantsTest)
#include "tst_Variants.moc"
