#include "suite/data/SuiteError.h"
#include "suite/services/Variants.h"

#include <QDate>
#include <QTest>

using namespace Qt::StringLiterals;

// Both conversions of one value; an expected text starting with "!" is the
// start of the refusal's description. A word that is no Boolean stopping
// start-up is covered end to end.
class VariantsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void conversions_data();
    void conversions();
};

void VariantsTest::conversions_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("asText");
    QTest::addColumn<QString>("asBool");

    const QString nullRefused = u"!Uso no válido de Null"_s;
    const QString mismatch = u"!No coinciden los tipos"_s;
    QTest::newRow("empty") << QVariant() << QString() << u"false"_s;
    QTest::newRow("null") << QVariant(QMetaType::fromType<QString>()) << nullRefused << nullRefused;
    QTest::newRow("empty text") << QVariant(u""_s) << QString() << u"false"_s;
    QTest::newRow("0") << QVariant(0) << u"0"_s << u"false"_s;
    QTest::newRow("any other number") << QVariant(qint64(-1234567890123)) << u"-1234567890123"_s << u"true"_s;
    QTest::newRow("no binary noise") << QVariant(0.1 + 0.2) << u"0.3"_s << u"true"_s;
    QTest::newRow("bool") << QVariant(true) << u"Verdadero"_s << u"true"_s;
    QTest::newRow("si, blanks") << QVariant(u"  si "_s) << u"  si "_s << u"true"_s;
    QTest::newRow("SÍ accented") << QVariant(u"SÍ"_s) << u"SÍ"_s << u"true"_s;
    QTest::newRow("numeric text -1") << QVariant(u"-1"_s) << u"-1"_s << u"true"_s;
    QTest::newRow("decimal comma zero") << QVariant(u"0,0"_s) << u"0,0"_s << u"false"_s;
    QTest::newRow("yes in English") << QVariant(u"yes"_s) << u"yes"_s << mismatch;
    QTest::newRow("date") << QVariant(QDate(2024, 3, 5)) << u"05/03/2024"_s << mismatch;
    QTest::newRow("utf-8 bytes") << QVariant(QByteArray("Depreciaci\xc3\xb3n")) << u"Depreciación"_s << mismatch;
}

void VariantsTest::conversions()
{
    QFETCH(QVariant, value);
    QFETCH(QString, asText);
    QFETCH(QString, asBool);
    // What a conversion gives, or "!" and the description of its refusal.
    const auto outcome = [](const auto &convert) -> QString {
        try {
            return convert();
        } catch (const suite::SuiteError &e) {
            return u'!' + e.description();
        }
    };
    const QString text = outcome([&] { return suite::cStr(value); });
    const QString flag = outcome([&] { return suite::cBool(value) ? u"true"_s : u"false"_s; });
    QVERIFY2(asText.startsWith(u'!') ? text.startsWith(asText) : text == asText, qPrintable(text));
    QVERIFY2(asBool.startsWith(u'!') ? flag.startsWith(asBool) : flag == asBool, qPrintable(flag));
}

QTEST_GUILESS_MAIN(VariantsTest)
#include "tst_services_variants.moc"
