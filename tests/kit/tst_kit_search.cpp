#include "suite/data/Connection.h"
#include "suite/data/Dialect.h"
#include "suite/data/Schema.h"
#include "suite/data/SuiteError.h"
#include "suite/kit/SearchDialog.h"
#include "suite/kit/SearchMarks.h"
#include "suite/kit/SearchQuery.h"
#include "suite/kit/TxtKit.h"
#include "suite/session/Session.h"
#include "tests/support/TestSession.h"

#include <QApplication>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest/QtTest>

using namespace Qt::StringLiterals;
using suite::SearchDialog;

namespace {

// A catalogue of 100,000 rows, with a few whose texts hold quotes and
// wildcards, and one deactivated row; searched through its own Consulta row.
void makeCatalogue(suite::Connection &c)
{
    c.Execute(u"CREATE TABLE Catalogo_Prueba (Cp_Clave VARCHAR(10) PRIMARY KEY, Cp_Descripcion VARCHAR(60), "
              "Es_Cve_Estado VARCHAR(2) NOT NULL)"_s);
    c.BeginTrans();
    if (c.backend() == u"sqlite"_s) {
        c.Execute(u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 100000) "
                  "INSERT INTO Catalogo_Prueba SELECT printf('%06d', i), 'Artículo ' || i, 'AC' FROM n"_s);
    } else {
        c.Execute(u"INSERT INTO Catalogo_Prueba SELECT lpad(i::text, 6, '0'), 'Artículo ' || i, 'AC' "
                  "FROM generate_series(1, 100000) AS i"_s);
    }
    c.Execute(u"INSERT INTO Catalogo_Prueba (Cp_Clave, Cp_Descripcion, Es_Cve_Estado) VALUES "
              "('Q1', 'Tornillo de 1/2'' marca O''Brien', 'AC'), ('P1', 'Tela 100% algodón', 'AC'), "
              "('U1', 'caja_chica', 'AC'), ('U2', 'cajaXchica', 'AC'), ('B1', 'Artículo retirado', 'BA')"_s);
    c.Execute(u"INSERT INTO Consulta (Co_Cve_Consulta, Co_Titulo, Co_Sentencia) VALUES ('PRUEBA_GRANDE', "
              "'Catálogo de prueba', 'SELECT Cp_Clave AS Clave, Cp_Descripcion AS Descripcion "
              "FROM Catalogo_Prueba WHERE Es_Cve_Estado <> ''BA''')"_s);
    c.CommitTrans();
}

// 40,000 assets and 3,000 employees beside the demo's, searched through the
// demo's definitions (served by the search indexes). Their texts hold accents
// in both cases, quotes, wildcards and a backslash; one word is in every
// eighth asset, one in every fiftieth, one only in the last 6,000, so that a
// search goes every way it can; every 97th row is deactivated.
void makeIndexedCatalogue(suite::Connection &c)
{
    const bool sqlite = c.backend() == u"sqlite"_s;
    auto series = [sqlite](int rows) {
        return sqlite ? u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "_s.arg(rows)
                      : QString();
    };
    auto from = [sqlite](int rows) {
        return sqlite ? u" FROM n"_s : u" FROM generate_series(1, %1) AS n(i)"_s.arg(rows);
    };
    auto key = [sqlite](int width, int first) {
        return sqlite ? u"printf('%0"_s + QString::number(width) + u"d', "_s + QString::number(first) + u" + i)"_s
                      : u"lpad(("_s + QString::number(first) + u" + i)::text, "_s + QString::number(width) + u", '0')"_s;
    };
    const QString state = u"CASE WHEN i % 97 = 0 THEN 'BA' ELSE 'AC' END"_s;
    c.BeginTrans();
    c.Execute(series(40000) + u"INSERT INTO Activo_Fijo (Af_Cve_Activo_Fijo, Af_Descripcion, Es_Cve_Estado) "
              "SELECT "_s + key(10, 100000) + u", CASE WHEN i > 34000 THEN 'Refacción especial' "
              "WHEN i % 50 = 0 THEN 'Bomba sumergible' WHEN i % 8 = 0 THEN 'Monitor de 24 pulgadas' "
              "WHEN i % 7 = 0 THEN 'MÁQUINA industrial' WHEN i % 7 = 1 THEN 'máquina de café' "
              "WHEN i % 7 = 2 THEN 'Caja_chica de oficina' WHEN i % 7 = 3 THEN 'Tela 100% algodón' "
              "WHEN i % 7 = 4 THEN 'Tornillo de 1/2'' marca O''Brien' WHEN i % 7 = 5 THEN 'Lámpara \\ de pie' "
              "ELSE 'Ñandú de peluche' END, "_s + state + from(40000));
    c.Execute(series(3000) + u"INSERT INTO Empleado (Em_Cve_Empleado, Em_Nombre, Em_Apellido_Paterno, "
              "Em_Apellido_Materno, Es_Cve_Estado) SELECT "_s + key(5, 50000) + u", CASE WHEN i % 3 = 0 "
              "THEN 'Ana' WHEN i % 3 = 1 THEN 'JOSÉ' ELSE 'María' END, CASE WHEN i % 5 = 0 THEN 'López' "
              "ELSE 'Ortiz' END, CASE WHEN i % 11 = 0 THEN 'Díaz' ELSE 'Ruiz' END, "_s + state + from(3000));
    c.CommitTrans();
    c.Execute(u"ANALYZE"_s);
}

// What a user might type: parts of keys and descriptions of any length, in
// any case, with blanks around; accents, quotes, wildcards, a backslash,
// texts nothing holds.
QStringList randomFilters(suite::Connection &c, const QString &definition, QRandomGenerator &random)
{
    QStringList filters = {u"%"_s, u"_"_s, u"100%"_s, u"caja_"_s, u"a_c"_s, u"o'b"_s, u"1/2'"_s, u"\\"_s,
                           u"x' OR '1'='1"_s, u"ÑANDÚ"_s, u"ñandú"_s, u"máquina"_s, u"MÁQUINA"_s, u"zqxj"_s,
                           u"  bomba  "_s, u"refacción"_s, u"monitor"_s, u"Ana López"_s, u"é o"_s, u"000"_s};
    const suite::RecordsetPtr rows = c.Execute(u"SELECT * FROM ("_s + definition + u") q"_s);
    for (int n = 0; n < 60; ++n) {
        const QVector<QVariant> &row = rows->rows().at(int(random.bounded(quint32(rows->rowCount()))));
        QString text = row.at(int(random.bounded(2u))).toString();
        const int length = 1 + int(random.bounded(quint32(std::min<qsizetype>(12, text.size()))));
        text = text.mid(int(random.bounded(quint32(text.size() - length + 1))), length);
        for (QChar &ch : text) {
            if (ch.unicode() < 128 && random.bounded(2u))
                ch = ch.isUpper() ? ch.toLower() : ch.toUpper();
        }
        filters << text;
    }
    return filters;
}

QStringList keysShown(const SearchDialog &dialog)
{
    QStringList keys;
    for (int r = 0; r < dialog.rowCount(); ++r)
        keys << dialog.rowTexts(r).value(0);
    return keys;
}

} // namespace

// The screen's searches go through the session's presenter (scripted end to
// end); this is the dialog a user gets.
class TestSearch : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void filtersInTheDatabaseAndCaps_data() { TestDatabase::addBackendRows(); }

    void filtersInTheDatabaseAndCaps()
    {
        QFETCH(QString, backend);
        TALVEXOR_OPEN_OR_SKIP(connection, backend, false);
        TestSession session(std::move(connection));
        makeCatalogue(session.connection());
        QVERIFY_THROWS_EXCEPTION(suite::SuiteError, SearchDialog(&session.connection(), u"NO_EXISTE"_s, 100));
        SearchDialog dialog(&session.connection(), u"PRUEBA_GRANDE"_s, 100);

        // Nothing typed: the first hundred keys, and word that there are more.
        QCOMPARE(dialog.rowCount(), 100);
        QVERIFY(dialog.capped());
        QCOMPARE(dialog.rowTexts(0), QStringList({u"000001"_s, u"Artículo 1"_s}));
        dialog.setFilter(u"99998"_s);   // on the key
        QCOMPARE(keysShown(dialog), QStringList{u"099998"_s});
        QVERIFY(!dialog.capped());
        dialog.setFilter(u"artículo 99999"_s);   // on the description, regardless of case
        QCOMPARE(keysShown(dialog), QStringList{u"099999"_s});

        // Quotes and wildcards are searched literally; deactivated rows are not offered.
        const QList<QPair<QString, QStringList>> literal = {
            {u"O'Brien"_s, {u"Q1"_s}}, {u"1/2'"_s, {u"Q1"_s}}, {u"100%"_s, {u"P1"_s}}, {u"caja_chica"_s, {u"U1"_s}},
            {u"%"_s, {u"P1"_s}}, {u"x' OR '1'='1"_s, {}}, {u"retirado"_s, {}}};
        for (const auto &[filter, keys] : literal) {
            dialog.setFilter(filter);
            QCOMPARE(keysShown(dialog), keys);
            QVERIFY(dialog.errorText().isEmpty());
        }
    }

    // The search indexes only narrow the rows down: whatever is typed, the
    // dialog shows what the plain filter over the whole table shows (or,
    // for a text too short for the index, its first rows, and says so), and
    // it keeps doing so as rows are changed, deactivated and deleted.
    void sameRowsAsThePlainFilter_data() { TestDatabase::addBackendRows(); }
    void sameRowsAsThePlainFilter()
    {
        QFETCH(QString, backend);
        TALVEXOR_OPEN_OR_SKIP(connection, backend, true);
        TestSession session(std::move(connection));
        suite::Connection &c = session.connection();
        makeIndexedCatalogue(c);
        QRandomGenerator random(20);
        auto compare = [&](const QString &id, const QStringList &filters) {
            const QString definition =
                firstValue(c, u"SELECT Co_Sentencia FROM Consulta WHERE Co_Cve_Consulta = '"_s + id + u"'"_s).toString();
            SearchDialog dialog(&c, id, 100);
            suite::SearchQuery plain(definition, 100);
            QVERIFY(plain.index());
            plain.setColumns(c.Execute(plain.plainStatement(c.dialect(), {}))->columns());
            for (const QString &filter : filters) {
                dialog.setFilter(filter);
                QStringList expected;
                const suite::RecordsetPtr plainRows = c.Execute(plain.plainStatement(c.dialect(), filter));
                for (const QVector<QVariant> &row : plainRows->rows()) {
                    QStringList texts;
                    for (const QVariant &v : row)
                        texts << (v.isNull() ? QString() : v.toString());
                    expected << texts.join(u'|');
                }
                QStringList shown;
                for (int r = 0; r < dialog.rowCount(); ++r)
                    shown << dialog.rowTexts(r).join(u'|');
                const QString what = id + u": \""_s + filter + u"\""_s;
                QVERIFY2(dialog.errorText().isEmpty(), qPrintable(what + u' ' + dialog.errorText()));
                if (dialog.partial()) {
                    static const QRegularExpression trigram(u"[\\p{L}\\p{N}]{3}"_s);
                    QVERIFY2(!trigram.match(filter).hasMatch(), qPrintable(what));
                    expected = expected.mid(0, shown.size());
                } else {
                    QCOMPARE(dialog.capped(), expected.size() > 100);
                    expected = expected.mid(0, 100);
                }
                QVERIFY2(shown == expected, qPrintable(what + u"\n shown:    "_s + shown.mid(0, 3).join(u", "_s)
                                                        + u"\n expected: "_s + expected.mid(0, 3).join(u", "_s)));
            }
        };
        for (const QString &id : {u"ACTIVO_FIJO"_s, u"EMPLEADO"_s}) {
            const QString definition =
                firstValue(c, u"SELECT Co_Sentencia FROM Consulta WHERE Co_Cve_Consulta = '"_s + id + u"'"_s).toString();
            compare(id, randomFilters(c, definition, random));
        }

        // Changed, deactivated, renamed and deleted rows are found as they now are.
        c.Execute(u"UPDATE Activo_Fijo SET Af_Descripcion = 'Vitrina giratoria' WHERE Af_Cve_Activo_Fijo "
                  "IN ('0000100003', '0000100500', '0000139999')"_s);
        c.Execute(u"UPDATE Activo_Fijo SET Es_Cve_Estado = 'BA' WHERE Af_Cve_Activo_Fijo = '0000100500'"_s);
        c.Execute(u"UPDATE Activo_Fijo SET Af_Cve_Activo_Fijo = '0000200003' WHERE Af_Cve_Activo_Fijo = '0000100003'"_s);
        c.Execute(u"DELETE FROM Activo_Fijo WHERE Af_Cve_Activo_Fijo = '0000139999'"_s);
        c.Execute(u"UPDATE Empleado SET Em_Apellido_Materno = 'Quintanilla' WHERE Em_Cve_Empleado = '51234'"_s);
        compare(u"ACTIVO_FIJO"_s, {u"vitrina"_s, u"0000200003"_s, u"0000100003"_s, u"0000139999"_s});
        compare(u"EMPLEADO"_s, {u"quintanilla"_s, u"Ortiz Ruiz"_s});

        // A database not upgraded yet has no index: the search reads as it did without one.
        for (const suite::SearchIndexDef &index : suite::Schema::searchIndexes()) {
            for (const QString &statement : c.dialect().dropSearchIndexSql(index))
                c.Execute(statement);
        }
        compare(u"ACTIVO_FIJO"_s, {u"vitrina"_s, u"bomba"_s});
    }

    // Rows marked by key, kept while the filter changes, for what the dialog
    // offers to do with them: by Space, Ctrl+A (all shown, again none),
    // Ctrl+click (on and off) and Shift+click (a range, in the list's order).
    void markingAcrossFilters()
    {
        TestSession session;
        makeCatalogue(session.connection());
        SearchDialog dialog(&session.connection(), u"PRUEBA_GRANDE"_s, 100);
        QStringList printed;
        QPushButton *print = dialog.addAction(u"Imprimir etiquetas"_s, [&](const QStringList &keys) { printed = keys; });
        dialog.show();
        QVERIFY(!print->isEnabled());
        QTreeWidget *list = dialog.resultList();
        auto click = [&](int row, Qt::KeyboardModifiers modifiers) {
            QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, list->visualItemRect(list->topLevelItem(row)).center());
        };
        dialog.setFilter(u"4242"_s);
        const QStringList shown = keysShown(dialog);
        QVERIFY(shown.size() > 5);
        list->setFocus();
        QTest::keyClick(list, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(dialog.marks()->keys(), shown);
        QTest::keyClick(list, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(dialog.marks()->keys(), QStringList());
        QTest::keyClick(list, Qt::Key_Space);   // the current row, the first
        dialog.setFilter(u"O'Brien"_s);
        click(0, Qt::ControlModifier);
        dialog.setFilter(u"4242"_s);
        QCOMPARE(list->topLevelItem(0)->checkState(0), Qt::Checked);   // still marked when shown again
        click(3, Qt::ShiftModifier);   // from the row marked last that is shown
        click(2, Qt::ControlModifier);
        QCOMPARE(dialog.marks()->keys(), (QStringList{shown[0], u"Q1"_s, shown[1], shown[3]}));
        QVERIFY(print->isEnabled());
        print->click();
        QCOMPARE(printed, dialog.marks()->keys());
        QVERIFY(dialog.isVisible());   // the dialog stays for more
    }

    // On a database file the dialog searches on a connection of its own, so
    // typing runs ahead of the searches: what is chosen is still a row of
    // what was typed, never of an earlier text.
    void choosingByKeysAndF2()
    {
        QTemporaryDir folder;
        TestSession session(TestDatabase::sqliteFile(folder.filePath(u"busqueda.db"_s)));
        makeCatalogue(session.connection());
        auto dialog = std::make_unique<SearchDialog>(&session.connection(), u"PRUEBA_GRANDE"_s, 100);
        dialog->show();
        QTest::keyClicks(dialog->filterBox(), u"4242"_s);
        QTest::keyClick(dialog->filterBox(), Qt::Key_Down);   // arrows move through the results
        QCOMPARE(dialog->resultList()->indexOfTopLevelItem(dialog->resultList()->currentItem()), 1);
        QTest::keyClick(dialog->filterBox(), Qt::Key_Return);
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
        QCOMPARE(dialog->chosenKey(), dialog->rowTexts(1).value(0));
        QVERIFY(dialog->chosenKey().contains(u"4242"_s));

        // Esc chooses nothing; so does Enter when nothing matches, and the dialog stays.
        dialog = std::make_unique<SearchDialog>(&session.connection(), u"PRUEBA_GRANDE"_s, 100);
        dialog->show();
        dialog->setFilter(u"no existe tal cosa"_s);
        QTest::keyClick(dialog->filterBox(), Qt::Key_Return);
        QVERIFY(dialog->isVisible());
        QTest::keyClick(dialog->filterBox(), Qt::Key_Escape);
        QCOMPARE(dialog->result(), int(QDialog::Rejected));
        QCOMPARE(dialog->chosenKey(), QString());

        // F2 in a text box with no scripted presenter opens this dialog; the user types and presses Enter.
        session.session().setSearch(nullptr);
        suite::txtKIT box;
        box.setProperty("idconsulta", u"PRUEBA_GRANDE"_s);
        box.show();
        box.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&box));
        bool sawDialog = false;
        QTimer::singleShot(0, this, [&] {
            if (auto *shown = qobject_cast<SearchDialog *>(QApplication::activeModalWidget())) {
                sawDialog = true;
                QTest::keyClicks(shown->filterBox(), u"O'Brien"_s);
                QTest::keyClick(shown->filterBox(), Qt::Key_Return);
            }
        });
        QTest::keyClick(&box, Qt::Key_F2);
        QVERIFY(sawDialog);
        QCOMPARE(box.text(), u"Q1"_s);
    }
};

QTEST_MAIN(TestSearch)
#include "tst_kit_search.moc"
