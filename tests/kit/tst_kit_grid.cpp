#include "suite/data/Connection.h"
#include "suite/kit/AjusteLista.h"
#include "suite/kit/DataGrid.h"
#include "suite/kit/ListView.h"
#include "suite/kit/Twips.h"
#include "tests/support/TestSession.h"

#include <QApplication>
#include <QHeaderView>
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
        grid->setObjectName(u"ssDetalle"_s);
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

    void load(const QList<QPair<QString, double>> &rows)
    {
        grid->setRedraw(false);
        grid->RemoveAll();
        for (const auto &row : rows) {
            grid->AddNew();
            grid->setCellText(u"Clave"_s, row.first);
            grid->setCellText(u"Descripción"_s, u"Centro "_s + row.first);
            grid->setCellValue(u"Porcentaje"_s, row.second);
            grid->Update();
        }
        grid->setRedraw(true);
        grid->MoveFirst();
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
    void columnsAndNumberFormat_data();
    void columnsAndNumberFormat();
    void refusedCellLeaveKeepsTheGridOnTheCell();
    void changeOnlyWhenTheUserTypes();
    void keyEvents();
    void newRowLineAndRowRemoval();
    void listColumnsItemsAndFit();
};

void TestGrid::columnsAndNumberFormat_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<double>("stored");
    QTest::newRow("two decimals at least") << 12.5 << u"12.50"_s << 12.5;
    QTest::newRow("up to nine") << 33.333333333 << u"33.333333333"_s << 33.333333333;
    QTest::newRow("rounded at nine") << 0.1234567891234 << u"0.123456789"_s << 0.1234567891234;
    QTest::newRow("grouped") << 1234.5 << u"1,234.50"_s << 1234.5;
    QTest::newRow("negative") << -2.25 << u"-2.25"_s << -2.25;
}

void TestGrid::columnsAndNumberFormat()
{
    QFETCH(double, value);
    QFETCH(QString, shown);
    QFETCH(double, stored);

    DataGrid grid;
    grid.addColumn(u"Clave"_s, u"Clave"_s, 8);
    grid.addColumn(u"Porcentaje"_s, u"Porcentaje (%)"_s, 5, u"#,##0.00#######"_s);
    QCOMPARE(grid.columnIndex(u"porcentaje"_s), 1);
    QCOMPARE(grid.columnIndex(u"Nada"_s), -1);
    QCOMPARE(grid.horizontalHeaderItem(1)->text(), u"Porcentaje (%)"_s);
    grid.AddNew();
    grid.setCellValue(u"Porcentaje"_s, value);
    QCOMPARE(grid.cellText(u"Porcentaje"_s), shown);
    QCOMPARE(grid.cellValue(u"Porcentaje"_s).toDouble(), stored);
    grid.setCellText(u"Porcentaje"_s, shown);   // typed text reads back as a number
    QVERIFY(qAbs(grid.cellValue(u"Porcentaje"_s).toDouble() - value) < 1e-9);
    grid.setCellText(u"Clave"_s, u"000012"_s);  // text columns keep text as it is
    QCOMPARE(grid.cellValue(u"Clave"_s).toString(), u"000012"_s);
}

void TestGrid::changeOnlyWhenTheUserTypes()
{
    GridForm form;
    QVERIFY(form.ready());
    DataGrid *grid = form.grid;
    QSignalSpy leave(grid, &DataGrid::BeforeRowColChange);
    QSignalSpy change(grid, &DataGrid::Change);
    form.load({{u"000001"_s, 60}, {u"000002"_s, 30}, {u"000003"_s, 10}});
    QCOMPARE(form.keys(), QStringList({u"000001"_s, u"000002"_s, u"000003"_s}));
    QCOMPARE(grid->Row(), 0);
    grid->MoveNext();
    QCOMPARE(grid->cellText(u"Clave"_s), u"000002"_s);
    grid->MoveNext();
    grid->MoveNext();
    QCOMPARE(grid->Row(), grid->Rows());   // the new-row line
    form.load({{u"000009"_s, 100}});        // loading again replaces everything
    QCOMPARE(form.keys(), QStringList{u"000009"_s});
    grid->setCellText(u"Clave"_s, u"000002"_s);
    QCOMPARE(leave.count(), 0);
    QCOMPARE(change.count(), 0);

    // The screen empties the description while a key is typed.
    connect(grid, &DataGrid::Change, this, [grid] {
        if (grid->columnName(grid->Col()) == u"Clave"_s)
            grid->setCellText(u"Descripción"_s, QString());
    }, Qt::DirectConnection);
    grid->setFocus();
    QVERIFY(grid->setCurrentCell(0, 0));
    form.type(u"12"_s);
    QCOMPARE(change.count(), 2);
    QCOMPARE(grid->cellText(u"Clave"_s), u"12"_s);   // read from the open editor
    QCOMPARE(grid->cellText(u"Descripción"_s), QString());
    form.key(Qt::Key_Backspace);
    QCOMPARE(change.count(), 3);
}

void TestGrid::refusedCellLeaveKeepsTheGridOnTheCell()
{
    GridForm form;
    QVERIFY(form.ready());
    DataGrid *grid = form.grid;
    form.load({{u"000001"_s, 50}});
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

    grid->setFocus();
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

    // A refused move by code, by the arrow keys or by a click stays too.
    QVERIFY(grid->setCurrentCell(0, 0));
    grid->setCellText(u"Clave"_s, u"MAL"_s);
    QVERIFY(!grid->setCurrentCell(1, 2));
    QCOMPARE(grid->Row(), 0);
    grid->setCellText(u"Clave"_s, u"MAL"_s);
    form.key(Qt::Key_Down);
    QCOMPARE(grid->Row(), 0);
    QVERIFY(grid->setCurrentCell(0, 0));
    grid->setCellText(u"Clave"_s, u"MAL"_s);
    const QRect target = grid->visualRect(grid->model()->index(1, 2));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, target.center());
    QCOMPARE(grid->Row(), 0);
    QCOMPARE(grid->Col(), 0);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, target.center());
    QCOMPARE(grid->Row(), 1);
    QCOMPARE(grid->Col(), 2);
}

void TestGrid::keyEvents()
{
    GridForm form;
    QVERIFY(form.ready());
    DataGrid *grid = form.grid;
    // Like the screen: numeric columns take digits, point, minus and Backspace;
    // text columns are upper-cased here to show a replaced character.
    connect(grid, &DataGrid::KeyPress, this, [grid](short &ascii) {
        if (ascii == 13) {
            ascii = 0;
            return;
        }
        if (grid->Col() >= 0 && u"23456"_s.contains(QString::number(grid->columnDataType(grid->Col())))) {
            if (!u".0123456789-"_s.contains(QChar(ushort(ascii))) && ascii != 8)
                ascii = 0;
        } else if (ascii >= 'a' && ascii <= 'z') {
            ascii = short(ascii - 'a' + 'A');
        }
    }, Qt::DirectConnection);
    bool enterMovesOn = false;
    QList<short> downCodes;
    connect(grid, &DataGrid::KeyDown, this, [&](short &code, short shift) {
        downCodes << code;
        if (enterMovesOn && code == 13 && shift == 0)
            QTest::keyClick(form.keyTarget(), Qt::Key_Tab);   // what the screen's TAB does
    }, Qt::DirectConnection);
    QList<QPair<short, short>> ups;
    connect(grid, &DataGrid::KeyUp, this, [&](short &code, short shift) { ups << qMakePair(code, shift); },
            Qt::DirectConnection);

    grid->setFocus();
    QVERIFY(grid->setCurrentCell(0, 2));
    form.type(u"1a2 .5x"_s);
    form.key(Qt::Key_Return);           // dropped: the cell is still being typed
    QCOMPARE(grid->text(0, u"Porcentaje"_s), u"12.5"_s);
    form.key(Qt::Key_Backtab);          // leaving commits it, in the column's format
    QCOMPARE(grid->text(0, u"Porcentaje"_s), u"12.50"_s);
    QCOMPARE(grid->value(0, u"Porcentaje"_s).toDouble(), 12.5);
    QCOMPARE(grid->Col(), 1);
    form.type(u"abc 1"_s);
    form.key(Qt::Key_Tab);
    QCOMPARE(grid->text(0, u"Descripción"_s), u"ABC 1"_s);

    // Enter moves on like Tab, with an open editor and without.
    enterMovesOn = true;
    QVERIFY(grid->setCurrentCell(0, 0));
    form.type(u"000001"_s);
    form.key(Qt::Key_Return);
    QCOMPARE(grid->Col(), 1);
    QCOMPARE(grid->text(0, u"Clave"_s), u"000001"_s);
    QVERIFY(downCodes.contains(13) && downCodes.contains(9));
    form.key(Qt::Key_Escape);
    form.key(Qt::Key_Return);
    QCOMPARE(grid->Col(), 2);
    QVERIFY(!grid->text(0, u"Clave"_s).contains(u'\r'));

    // Key releases, also while a cell is typed, once per key (Shift's own last).
    QVERIFY(grid->setCurrentCell(0, 0));
    ups.clear();
    form.key(Qt::Key_F2);
    QCOMPARE(ups, (QList<QPair<short, short>>{{113, 0}}));
    form.key(Qt::Key_7);
    form.key(Qt::Key_F2, Qt::ShiftModifier);
    QCOMPARE(ups.size(), 4);
    QCOMPARE(ups.at(1).first, short(55));
    QCOMPARE(ups.at(2), (QPair<short, short>(113, 1)));
    QCOMPARE(ups.at(3).first, short(16));
}

void TestGrid::newRowLineAndRowRemoval()
{
    TestSession session;
    GridForm form;
    QVERIFY(form.ready());
    DataGrid *grid = form.grid;
    form.load({{u"000001"_s, 50}});
    grid->setFocus();
    QVERIFY(grid->setCurrentCell(1, 0));
    QCOMPARE(grid->Row(), grid->Rows());
    QCOMPARE(grid->verticalHeaderItem(1)->text(), u"*"_s);

    // Typing on the new-row line starts a row; a fresh line opens below it.
    form.type(u"000002"_s);
    QCOMPARE(grid->Rows(), 2);
    QCOMPARE(grid->Row(), 1);
    form.key(Qt::Key_Tab);
    form.key(Qt::Key_Tab);
    form.type(u"25"_s);
    form.key(Qt::Key_Return);
    QCOMPARE(form.keys(), QStringList({u"000001"_s, u"000002"_s}));
    QCOMPARE(grid->value(1, u"Porcentaje"_s).toDouble(), 25.0);
    QCOMPARE(grid->verticalHeaderItem(2)->text(), u"*"_s);

    // Started and abandoned with Esc: no row is left behind.
    QVERIFY(grid->setCurrentCell(2, 0));
    form.type(u"x"_s);
    QCOMPARE(grid->Rows(), 3);
    form.key(Qt::Key_Backspace);
    form.key(Qt::Key_Escape);
    QCOMPARE(grid->Rows(), 2);
    QCOMPARE(form.keys(), QStringList({u"000001"_s, u"000002"_s}));

    // Removal: refused by the handler, refused by the user, done.
    short cancelWith = 1;
    short promptWith = 1;
    connect(grid, &DataGrid::BeforeDelete, this, [&](short &cancel, short &prompt) {
        cancel = cancelWith;
        prompt = promptWith;
    }, Qt::DirectConnection);

    form.load({{u"1"_s, 40}, {u"2"_s, 30}, {u"3"_s, 20}, {u"4"_s, 10}});
    QVERIFY(grid->setCurrentCell(1, 0));
    form.key(Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(grid->Rows(), 4);

    cancelWith = 0;   // the user is asked; "No" keeps the rows
    form.key(Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(session.messages().count(), 1);
    QCOMPARE(session.messages().last().style, 36);
    QCOMPARE(grid->Rows(), 4);

    session.messages().answerNext(6);
    form.key(Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(form.keys(), QStringList({u"1"_s, u"3"_s, u"4"_s}));

    // Without a prompt, several selected rows at once; the new-row line stays.
    promptWith = 0;
    grid->clearSelection();
    grid->selectionModel()->select(grid->model()->index(0, 0), QItemSelectionModel::Select);
    grid->selectionModel()->select(grid->model()->index(2, 1), QItemSelectionModel::Select);
    grid->selectionModel()->select(grid->model()->index(3, 1), QItemSelectionModel::Select); // new-row line
    grid->deleteSelectedRows();
    QCOMPARE(form.keys(), QStringList{u"3"_s});
    QCOMPARE(grid->rowCount(), 2);
    QCOMPARE(session.messages().count(), 2);
}

void TestGrid::listColumnsItemsAndFit()
{
    suite::ListView list;
    for (int round = 0; round < 2; ++round) {   // built anew whatever was there before
        list.clearColumnHeaders();
        list.addColumnHeader(u"Número"_s, 900);
        list.addColumnHeader(u"Fecha"_s, 300);
        list.addColumnHeader(u"Importe"_s, 5000);
    }
    QCOMPARE(list.columnHeaderCount(), 3);
    QCOMPARE(list.headerItem()->text(1), u"Fecha"_s);
    QCOMPARE(list.columnWidth(0), qRound(suite::twipsToPixelsX(&list, 900)));
    const QString longDate = u"05/03/2021 12:00:00 a. m."_s;
    for (int n = 1; n <= 2; ++n) {
        const int item = list.addItem(QString::number(n));
        QCOMPARE(item, n - 1);
        list.addSubItem(item, n == 1 ? longDate : u"2021-03-02"_s);
        list.addSubItem(item, QString::number(n * 100.5));
    }
    QCOMPARE(list.itemTexts(1), QStringList({u"2"_s, u"2021-03-02"_s, u"201"_s}));

    // Fitted to content: the long date fits, the far too wide column shrinks.
    const int before = list.columnWidth(2);
    suite::AjusteLista ajuste;
    ajuste.Ajusta(&list);
    QVERIFY(list.columnWidth(1) >= QFontMetrics(list.font()).horizontalAdvance(longDate));
    QVERIFY(list.columnWidth(2) >= QFontMetrics(list.header()->font()).horizontalAdvance(u"Importe"_s));
    QVERIFY(list.columnWidth(2) < before);
    ajuste.Ajusta(nullptr);   // no list: nothing to do

    list.clearItems();
    QCOMPARE(list.itemCount(), 0);
    QCOMPARE(list.columnHeaderCount(), 3);
    QList<int> codes;
    connect(&list, &suite::ListView::KeyDown, this, [&](int code) { codes << code; });
    QTest::keyClick(&list, Qt::Key_Return);
    QTest::keyClick(&list, Qt::Key_2);
    QCOMPARE(codes, QList<int>({13, 50}));
}

QTEST_MAIN(TestGrid)
#include "tst_kit_grid.moc"
