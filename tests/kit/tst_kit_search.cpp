#include "suite/data/Connection.h"
#include "suite/data/SuiteError.h"
#include "suite/kit/SearchDialog.h"
#include "suite/kit/TxtKit.h"
#include "suite/session/Session.h"
#include "tests/support/TestSession.h"

#include <QApplication>
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

    void choosingByKeysAndF2()
    {
        TestSession session;
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
