#include "suite/kit/DataGrid.h"
#include "tests/support/TestSession.h"

#include <QApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <QtTest/QtTest>

using namespace Qt::StringLiterals;
using suite::DataGrid;

namespace {

// The distribution grid as the screen sets it up, in an active window.
struct GridForm
{
    QWidget window;
    DataGrid *grid = new DataGrid(&window);
    QLineEdit *after = new QLineEdit(&window);

    GridForm()
    {
        grid->addColumn(u"Clave"_s, u"Clave"_s, 8);
        grid->addColumn(u"Descripción"_s, u"Descripción"_s, 8);
        grid->addColumn(u"Porcentaje"_s, u"Porcentaje (%)"_s, 5, u"#,##0.00#######"_s);
        auto *layout = new QVBoxLayout(&window);
        layout->addWidget(grid);
        layout->addWidget(after);
        window.resize(600, 300);
        window.show();
        window.activateWindow();
    }
    bool ready() { return QTest::qWaitForWindowActive(&window); }

    void load(const QStringList &keys)
    {
        grid->RemoveAll();
        for (const QString &key : keys) {
            grid->AddNew();
            grid->setCellText(u"Clave"_s, key);
            grid->Update();
        }
        grid->MoveFirst();
        grid->setFocus();
    }

    QStringList keys() const
    {
        QStringList list;
        for (int r = 0; r < grid->Rows(); ++r)
            list << grid->text(r, u"Clave"_s);
        return list;
    }

    // The widget that takes keys now: the cell editor when one is open.
    QWidget *keyTarget() const { return QApplication::focusWidget() ? QApplication::focusWidget() : grid; }

    void type(const QString &text)
    {
        for (const QChar c : text)
            QTest::sendKeyEvent(QTest::Click, keyTarget(), Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    void key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) { QTest::keyClick(keyTarget(), k, m); }
};

} // namespace

class TestGrid : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void numberFormat()
    {
        const struct { double value; QString shown; } cases[] = {
            {12.5, u"12.50"_s}, {33.333333333, u"33.333333333"_s}, {0.1234567891234, u"0.123456789"_s},
            {1234.5, u"1,234.50"_s}, {-2.25, u"-2.25"_s}};
        GridForm form;
        DataGrid *grid = form.grid;
        grid->AddNew();
        for (const auto &c : cases) {
            grid->setCellValue(u"Porcentaje"_s, c.value);
            QCOMPARE(grid->cellText(u"Porcentaje"_s), c.shown);
            QCOMPARE(grid->cellValue(u"Porcentaje"_s).toDouble(), c.value);   // the value is not rounded
        }
        // Typed text is read exactly as written (ten decimals stay ten, for the screen to refuse); what is no
        // number as the screens write them stays text.
        const std::pair<QString, QVariant> typed[] = {
            {u"33.3333333333"_s, 33.3333333333}, {u"1,234.5"_s, 1234.5}, {u"0.0000000001"_s, 1e-10},
            {u"1..2"_s, u"1..2"_s}, {u"5-5"_s, u"5-5"_s}, {u"1,5"_s, u"1,5"_s}, {QString(), QVariant()}};
        for (const auto &[text, value] : typed) {
            grid->setCellText(u"Porcentaje"_s, text);
            QCOMPARE(grid->cellValue(u"Porcentaje"_s), value);
        }
        grid->setCellText(u"Clave"_s, u"000012"_s);  // text columns keep text as it is
        QCOMPARE(grid->cellValue(u"Clave"_s).toString(), u"000012"_s);
    }

    // A refusal by setCurrentCell is the host's "cell" line, covered end to end.
    void refusedCellLeaveKeepsTheGridOnTheCell()
    {
        GridForm form;
        QVERIFY(form.ready());
        DataGrid *grid = form.grid;
        form.load({u"000001"_s});
        QStringList askedWith;
        // Like the screen: a key cell holding an unknown key is emptied and kept.
        connect(grid, &DataGrid::BeforeRowColChange, this, [&](short &cancel) {
            const QString text = grid->Col() >= 0 ? grid->cellText(grid->columnName(grid->Col())) : QString();
            askedWith << text;
            if (grid->columnName(grid->Col()) == u"Clave"_s && text == u"MAL"_s) {
                grid->setCellText(u"Clave"_s, QString());
                cancel = 1;
            }
        }, Qt::DirectConnection);

        QVERIFY(grid->setCurrentCell(0, 0));
        form.type(u"MAL"_s);                 // typed, still in the cell's editor
        form.key(Qt::Key_Tab);
        QCOMPARE(askedWith, QStringList{u"MAL"_s});
        QCOMPARE(grid->Col(), 0);
        QCOMPARE(grid->cellText(u"Clave"_s), QString());
        form.key(Qt::Key_Tab);   // the emptied cell can be left
        QCOMPARE(grid->Col(), 1);
        form.key(Qt::Key_Escape);

        // Leaving the grid for another control checks the cell being typed too.
        QVERIFY(grid->setCurrentCell(0, 0));
        const qsizetype asked = askedWith.size();
        form.type(u"MAL"_s);
        form.after->setFocus();
        QCOMPARE(askedWith.size(), asked + 1);
        QCOMPARE(askedWith.last(), u"MAL"_s);
        QCOMPARE(grid->text(0, u"Clave"_s), QString());
        grid->setFocus();

        // A refused move by the arrow keys or by a click stays too.
        QVERIFY(grid->setCurrentCell(0, 0));
        grid->setCellText(u"Clave"_s, u"MAL"_s);
        form.key(Qt::Key_Down);
        QCOMPARE(grid->Row(), 0);
        grid->setCellText(u"Clave"_s, u"MAL"_s);
        const QRect target = grid->visualRect(grid->model()->index(1, 2));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, target.center());
        QCOMPARE(grid->Row(), 0);
        QCOMPARE(grid->Col(), 0);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, target.center());
        QCOMPARE(grid->Row(), 1);
        QCOMPARE(grid->Col(), 2);
    }

    // The screen's filter of typed keys, and Enter moving on from an open
    // editor, are covered end to end; so are code writes raising no Change (the
    // screen's handler of it would empty each description written).
    void typingRaisesChangeAndKeyPress()
    {
        GridForm form;
        QVERIFY(form.ready());
        DataGrid *grid = form.grid;
        QSignalSpy change(grid, &DataGrid::Change);
        form.load({u"000009"_s});
        connect(grid, &DataGrid::KeyPress, this, [](short &ascii) { ascii = ascii == 13 || ascii == 'x' ? 0 : ascii; },
                Qt::DirectConnection);
        QVERIFY(grid->setCurrentCell(0, 2));
        form.type(u"1x2.5"_s);
        QCOMPARE(change.count(), 4);
        form.key(Qt::Key_Backspace);
        QCOMPARE(change.count(), 5);
        form.type(u"5"_s);
        form.key(Qt::Key_Return);   // dropped: the cell is still being typed
        QCOMPARE(grid->text(0, u"Porcentaje"_s), u"12.5"_s);
        form.key(Qt::Key_Backtab);  // leaving commits it, in the column's format
        QCOMPARE(grid->text(0, u"Porcentaje"_s), u"12.50"_s);
        QCOMPARE(grid->value(0, u"Porcentaje"_s).toDouble(), 12.5);

        // Enter reaches KeyDown and moves on like Tab without an open editor too; it is never typed.
        connect(grid, &DataGrid::KeyDown, this, [&](short &code, short shift) {
            if (code == 13 && shift == 0)
                QTest::keyClick(form.keyTarget(), Qt::Key_Tab);   // what the screen's TAB does
        }, Qt::DirectConnection);
        QVERIFY(grid->setCurrentCell(0, 0));
        form.key(Qt::Key_Return);
        QCOMPARE(grid->Col(), 1);
        QVERIFY(!grid->text(0, u"Clave"_s).contains(u'\r'));
    }

    void newRowLineAndRowRemoval()
    {
        TestSession session;
        GridForm form;
        QVERIFY(form.ready());
        DataGrid *grid = form.grid;
        form.load({u"000001"_s});
        QVERIFY(grid->setCurrentCell(1, 0));
        QCOMPARE(grid->Row(), grid->Rows());
        QCOMPARE(grid->verticalHeaderItem(1)->text(), u"*"_s);

        // Started and abandoned with Esc: no row is left behind.
        form.type(u"x"_s);
        QCOMPARE(grid->Rows(), 2);
        form.key(Qt::Key_Backspace);
        form.key(Qt::Key_Escape);
        QCOMPARE(form.keys(), QStringList{u"000001"_s});

        // Removal as the screen asks for it, without a prompt: the selected rows, never the new-row line.
        connect(grid, &DataGrid::BeforeDelete, this, [](short &, short &prompt) { prompt = 0; }, Qt::DirectConnection);
        form.load({u"1"_s, u"2"_s, u"3"_s});
        grid->clearSelection();
        for (const auto &[row, column] : {std::pair{0, 0}, {2, 1}, {3, 1}})   // 3: the new-row line
            grid->selectionModel()->select(grid->model()->index(row, column), QItemSelectionModel::Select);
        grid->deleteSelectedRows();
        QCOMPARE(form.keys(), QStringList{u"2"_s});
        QCOMPARE(grid->rowCount(), 2);
        QCOMPARE(session.messages().count(), 0);
    }
};

QTEST_MAIN(TestGrid)
#include "tst_kit_grid.moc"
