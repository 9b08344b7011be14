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
    void literals();
};

void tst_AssetModel::modelMatchesSchemaAndForm()
{
    const suite::TableDef *table = suite::Schema::table(QString::fromLatin1(AssetModel::AssetTable));
    QVERIFY(table);
    QStringList modelled, declared;
    for (const AssetColumn &c : AssetModel::assetColumns())
        modelled << c.name;
    for (const suite::ColumnDef &c : table->columns)
        declared << c.name;
    // Every column of the table is in the model, in the insert's order first.
    QCOMPARE(modelled, declared);

    // Each control of the form: the tab page its frame stands on ("Fr" and a digit), its length.
    QHash<QString, std::pair<int, int>> form;
    QHash<QString, QString> container;
    for (const xb733::ControlDescription &d : xb733::FormDescription::controls()) {
        container.insert(d.name, d.container);
        QString up = d.name;
        while (!up.isEmpty() && !(up.startsWith(u"Fr"_s) && up.size() == 3))
            up = container.value(up);
        int maxLength = 0;
        for (const auto &[name, value] : d.properties)
            maxLength = name == u"maxlength"_s ? value.toInt() : maxLength;
        form.insert(d.name, {up.isEmpty() ? -1 : up.mid(2).toInt(), maxLength});
    }
    QStringList problems;
    for (const AssetColumn &c : AssetModel::assetColumns()) {
        if (c.control.isEmpty())
            continue;
        if (!form.contains(c.control)) {
            problems << c.name + u": no control "_s + c.control;
            continue;
        }
        const auto [page, maxLength] = form.value(c.control);
        if (page != c.tab || maxLength != c.maxLength)
            problems << u"%1: %2 is on tab %3 and takes %4, the model says tab %5 and %6"_s.arg(c.name, c.control)
                            .arg(page).arg(maxLength).arg(c.tab).arg(c.maxLength);
        // What a box lets a user type must fit its column, or PostgreSQL refuses the save.
        const suite::ColumnDef *column = table->column(c.name);
        if (column->kind == suite::ColumnKind::Text && c.maxLength > column->size)
            problems << u"%1 holds %2 characters, its box takes %3"_s.arg(c.name).arg(column->size).arg(c.maxLength);
    }
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
}

void tst_AssetModel::literals()
{
    // The form ('t'ext, 'n'umber, 'i'nteger of 16 bits), the value, its literal; empty: refused with a reason.
    // (Texts and numbers as the boxes give them are saved and read back by tst_hostile and tst_saving.)
    const QList<std::tuple<char, QVariant, QString>> cases = {
        {'t', u"O'Brien '; DROP TABLE x; --"_s, u"'O''Brien ''; DROP TABLE x; --'"_s},
        {'n', 33.33, u"33.33"_s},
        {'n', u"doce"_s, {}},
        {'i', 32767, u"32767"_s},
        {'i', -32768, u"-32768"_s},
        {'i', 32768, {}},
        {'i', 2.5, u"2"_s}, // halves to the even neighbour
        {'i', u"abc"_s, {}},
    };
    for (const auto &[form, value, literal] : cases) {
        QString got;
        try {
            got = form == 't' ? xb733::SqlLiteral::text(value.toString())
                  : form == 'n' ? xb733::SqlLiteral::number(value)
                                : xb733::SqlLiteral::integer16(value);
        } catch (const suite::SuiteError &e) {
            got = e.description().isEmpty() ? u"refused without a reason"_s : QString();
        }
        QCOMPARE(value.toString() + u" -> "_s + got, value.toString() + u" -> "_s + literal);
    }
}

QTEST_MAIN(tst_AssetModel)
#include "tst_asset_model.moc"
