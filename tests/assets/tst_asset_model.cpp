// The asset model is declared by hand beside the schema and the form: these
// checks catch the three drifting apart, and the literal forms' edge cases.
#include "assets/AssetModel.h"
#include "assets/SqlLiteral.h"
#include "screen/FormDescription.h"
#include "suite/data/Schema.h"
#include "suite/data/SuiteError.h"

#include <QHash>
#include <QTest>

using namespace Qt::StringLiterals;
using xb733::AssetColumn;
using xb733::AssetModel;

class tst_AssetModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void modelMatchesSchemaAndForm();
    void literals_data();
    void literals();
};

namespace {

struct Placed
{
    int page = -1;
    int maxLength = 0;
};

// Each control of the form with the tab page its frame stands on.
QHash<QString, Placed> formControls()
{
    QHash<QString, QString> container;
    QHash<QString, Placed> out;
    for (const xb733::ControlDescription &d : xb733::FormDescription::controls()) {
        container.insert(d.name, d.container);
        Placed placed;
        for (const auto &[name, value] : d.properties) {
            if (name == u"maxlength"_s)
                placed.maxLength = value.toInt();
        }
        QString up = d.name;
        while (!up.isEmpty() && !(up.startsWith(u"Fr"_s) && up.size() == 3))
            up = container.value(up);
        placed.page = up.isEmpty() ? -1 : up.mid(2).toInt();
        out.insert(d.name, placed);
    }
    return out;
}

} // namespace

void tst_AssetModel::modelMatchesSchemaAndForm()
{
    const suite::TableDef *table = suite::Schema::table(QString::fromLatin1(AssetModel::AssetTable));
    QVERIFY(table);
    QStringList modelled;
    for (const AssetColumn &c : AssetModel::assetColumns())
        modelled << c.name;
    QStringList declared;
    for (const suite::ColumnDef &c : table->columns)
        declared << c.name;
    // Every column of the table is in the model, in the insert's order first.
    QCOMPARE(modelled, declared);
    QCOMPARE(AssetModel::insertColumns().size(), 36);
    QCOMPARE(AssetModel::updateColumns().size(), 31);
    QCOMPARE(AssetModel::insertColumns().constLast()->name, u"Af_Vida_Util"_s);

    const QHash<QString, Placed> form = formControls();
    QStringList problems;
    QList<int> steps;
    for (const AssetColumn &c : AssetModel::assetColumns()) {
        if (c.loadOrder > 0)
            steps << c.loadOrder;
        if (c.control.isEmpty())
            continue;
        if (!form.contains(c.control)) {
            problems << c.name + u": no control "_s + c.control;
            continue;
        }
        const Placed placed = form.value(c.control);
        if (placed.page != c.tab)
            problems << u"%1: %2 is on tab %3, not %4"_s.arg(c.name, c.control).arg(placed.page).arg(c.tab);
        if (placed.maxLength != c.maxLength)
            problems << u"%1: %2 takes %3 characters, the model says %4"_s.arg(c.name, c.control)
                            .arg(placed.maxLength).arg(c.maxLength);
        // What a box lets a user type must fit its column, or PostgreSQL refuses the save.
        const suite::ColumnDef *column = table->column(c.name);
        if (column->kind == suite::ColumnKind::Text && c.maxLength > column->size)
            problems << u"%1 holds %2 characters, its box takes %3"_s.arg(c.name).arg(column->size).arg(c.maxLength);
    }
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));

    // The load's steps: 1 to 32, each column once, the responsible pair together.
    std::sort(steps.begin(), steps.end());
    QCOMPARE(steps.size(), 33);
    QCOMPARE(steps.count(23), 2);
    QCOMPARE(steps.first(), 1);
    QCOMPARE(steps.last(), 32);
    QCOMPARE(AssetModel::loadSteps(12, 15).size(), 4);
    QCOMPARE(AssetModel::loadSteps(12, 15).constFirst()->control, u"txtCuentaContable"_s);
}

void tst_AssetModel::literals_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("literal"); // empty: refused

    QTest::newRow("text with quotes") << u"text"_s << QVariant(u"O'Brien '; DROP TABLE x; --"_s)
                                      << u"'O''Brien ''; DROP TABLE x; --'"_s;
    QTest::newRow("text keeps blanks and backslash") << u"text"_s << QVariant(u" a\\b "_s) << u"' a\\b '"_s;
    QTest::newRow("money") << u"number"_s << QVariant(1234.5678) << u"1234.5678"_s;
    QTest::newRow("share") << u"number"_s << QVariant(33.33) << u"33.33"_s;
    QTest::newRow("negative") << u"number"_s << QVariant(-0.5) << u"-0.5"_s;
    QTest::newRow("number from text") << u"number"_s << QVariant(u"12.5"_s) << u"12.5"_s;
    QTest::newRow("not a number") << u"number"_s << QVariant(u"doce"_s) << QString();
    QTest::newRow("top of 16 bits") << u"integer"_s << QVariant(32767) << u"32767"_s;
    QTest::newRow("bottom of 16 bits") << u"integer"_s << QVariant(-32768) << u"-32768"_s;
    QTest::newRow("past 16 bits") << u"integer"_s << QVariant(32768) << QString();
    QTest::newRow("half to even") << u"integer"_s << QVariant(2.5) << u"2"_s;
    QTest::newRow("integer from text") << u"integer"_s << QVariant(u"abc"_s) << QString();
}

void tst_AssetModel::literals()
{
    QFETCH(QString, form);
    QFETCH(QVariant, value);
    QFETCH(QString, literal);
    QString got;
    try {
        if (form == u"text"_s)
            got = xb733::SqlLiteral::text(value.toString());
        else if (form == u"number"_s)
            got = xb733::SqlLiteral::number(value);
        else
            got = xb733::SqlLiteral::integer16(value);
    } catch (const suite::SuiteError &e) {
        QVERIFY2(literal.isEmpty(), qPrintable(e.description()));
        QVERIFY(!e.description().isEmpty());
        return;
    }
    QCOMPARE(got, literal);
}

QTEST_MAIN(tst_AssetModel)
#include "tst_asset_model.moc"
