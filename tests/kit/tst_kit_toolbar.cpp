#include "suite/data/Connection.h"
#include "suite/kit/Controles.h"
#include "tests/support/TestSession.h"

#include <QApplication>
#include <QMenu>
#include <QSignalSpy>
#include <QToolButton>
#include <QtTest/QtTest>

using namespace Qt::StringLiterals;
using suite::Controles;

namespace {

QStringList sorted(QStringList list)
{
    list.sort();
    return list;
}

// The commands whose buttons a user sees.
QStringList visibleCommands(const Controles &bar)
{
    QStringList shown;
    const QList<QToolButton *> buttons = bar.findChildren<QToolButton *>();
    for (QToolButton *b : buttons) {
        if (b->objectName().startsWith(u"btn"_s) && b->isVisibleTo(&bar))
            shown << b->objectName().mid(3);
    }
    return sorted(shown);
}

int countRows(suite::Connection &c, const QString &where)
{
    auto rows = c.Execute(u"SELECT COUNT(*) AS N FROM Campo_Adicional_Valor WHERE "_s + where);
    return rows->Fields(u"N"_s).toInt();
}

} // namespace

class TestToolbar : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void offersFollowStateFlagsAndCaptions();
    void editingThroughNewAcceptEditAndCancel();
    void shortcutsPressTheOfferedCommands();
    void windowsListActivatesTheChosenWindow();
    void additionalFieldsSavedInsideTheCallersTransaction_data();
    void additionalFieldsSavedInsideTheCallersTransaction();
    void additionalFieldsWriteFailureAnswersFalse();
};

void TestToolbar::offersFollowStateFlagsAndCaptions()
{
    Controles bar;
    bar.setProperty("caption", u"Catalogo de activo fijo"_s);
    bar.show();
    QCOMPARE(sorted(bar.offered()), sorted({u"Nuevo"_s, u"Salir"_s}));
    QCOMPARE(visibleCommands(bar), sorted(bar.offered()));

    bar.setProperty("modificarenabled", true);
    bar.setProperty("eliminarenabled", true);
    bar.setProperty("informacionenabled", true);
    bar.setProperty("b1caption", u"Carta responsiva"_s);
    bar.setProperty("b3caption", u"Generar equipo"_s);
    QCOMPARE(sorted(bar.offered()), sorted({u"Nuevo"_s, u"Modificar"_s, u"Eliminar"_s, u"Informacion"_s,
                                            u"Salir"_s, u"B1"_s, u"B3"_s}));
    QCOMPARE(visibleCommands(bar), sorted(bar.offered()));
    auto *b3 = bar.findChild<QToolButton *>(u"btnB3"_s);
    QCOMPARE(b3->text().replace(u'\n', u' '), u"Generar equipo"_s);
    QCOMPARE(b3->toolTip(), u"Generar equipo (Ctrl+3)"_s);

    // A command not offered is not pressed.
    QSignalSpy reactivar(&bar, &Controles::Reactivar);
    QSignalSpy b2(&bar, &Controles::B2Click);
    QVERIFY(!bar.press(u"Reactivar"_s));
    QVERIFY(!bar.press(u"B2"_s));
    QVERIFY(!bar.press(u"Aceptar"_s));
    QCOMPARE(reactivar.count() + b2.count(), 0);

    bar.setProperty("reactivarenabled", true);
    bar.setProperty("b1caption", QString());
    QVERIFY(bar.offered().contains(u"Reactivar"_s));
    QVERIFY(!bar.offered().contains(u"B1"_s));
    QVERIFY(bar.press(u"Reactivar"_s));
    QCOMPARE(reactivar.count(), 1);

    // Exit is always offered, even with its button hidden.
    bar.setProperty("showexitbutton", u"NO"_s);
    QVERIFY(bar.offered().contains(u"Salir"_s));
    QVERIFY(!bar.findChild<QToolButton *>(u"btnSalir"_s)->isVisibleTo(&bar));
}

void TestToolbar::editingThroughNewAcceptEditAndCancel()
{
    Controles bar;
    bar.setProperty("modificarenabled", true);
    QVERIFY(bar.property("estadoinicial").toBool());

    // Handlers already see the editing state.
    bool editingSeenByNew = false;
    connect(&bar, &Controles::Nuevo, this, [&] { editingSeenByNew = bar.property("editando").toBool(); },
            Qt::DirectConnection);
    QList<short> flags;
    bool completes = false;
    connect(&bar, &Controles::Aceptar, this, [&](short &nuevo) {
        flags << nuevo;
        if (completes)
            bar.confirmaaceptar();
        else
            bar.cancelaaceptar();
    }, Qt::DirectConnection);

    QVERIFY(bar.press(u"Nuevo"_s));
    QVERIFY(editingSeenByNew);
    QVERIFY(bar.property("editando").toBool());
    QVERIFY(!bar.property("estadoinicial").toBool());
    QVERIFY(!bar.offered().contains(u"Nuevo"_s));
    QVERIFY(bar.offered().contains(u"Aceptar"_s) && bar.offered().contains(u"Cancelar"_s));
    QVERIFY(!bar.press(u"Nuevo"_s));

    // An accept that did not complete keeps the record in edition.
    QVERIFY(bar.press(u"Aceptar"_s));
    QVERIFY(bar.property("editando").toBool());
    completes = true;
    QVERIFY(bar.press(u"Aceptar"_s));
    QVERIFY(!bar.property("editando").toBool());
    QVERIFY(bar.property("estadoinicial").toBool());
    QCOMPARE(flags.size(), 2);
    QVERIFY(flags.at(0) != 0);
    QVERIFY(flags.at(1) != 0);

    // Editing a stored record: the flag is zero.
    QVERIFY(bar.press(u"Modificar"_s));
    QVERIFY(bar.property("editando").toBool());
    QVERIFY(bar.press(u"Aceptar"_s));
    QCOMPARE(flags.size(), 3);
    QCOMPARE(flags.at(2), short(0));
    QVERIFY(!bar.property("editando").toBool());

    // Cancel ends editing; so does raising estadoinicial.
    QSignalSpy cancel(&bar, &Controles::Cancelar);
    QVERIFY(bar.press(u"Nuevo"_s));
    QVERIFY(bar.press(u"Cancelar"_s));
    QCOMPARE(cancel.count(), 1);
    QVERIFY(!bar.property("editando").toBool());
    QVERIFY(!bar.press(u"Cancelar"_s));
    QVERIFY(bar.press(u"Modificar"_s));
    bar.setProperty("estadoinicial", true);
    QVERIFY(!bar.property("editando").toBool());
    QVERIFY(bar.offered().contains(u"Nuevo"_s));
    QCOMPARE(flags.size(), 3);
}

void TestToolbar::shortcutsPressTheOfferedCommands()
{
    QWidget window;
    auto *bar = new Controles(&window);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QSignalSpy nuevo(bar, &Controles::Nuevo);
    QSignalSpy aceptar(bar, &Controles::Aceptar);
    QSignalSpy cancelar(bar, &Controles::Cancelar);
    QSignalSpy salir(bar, &Controles::Salir);
    QSignalSpy b2(bar, &Controles::B2Click);

    QTest::keyClick(&window, Qt::Key_F10);          // not editing: no accept
    QCOMPARE(aceptar.count(), 0);
    QTest::keyClick(&window, Qt::Key_N, Qt::ControlModifier);
    QCOMPARE(nuevo.count(), 1);
    QTest::keyClick(&window, Qt::Key_F10);
    QCOMPARE(aceptar.count(), 1);
    QTest::keyClick(&window, Qt::Key_Escape);
    QCOMPARE(cancelar.count(), 1);
    QTest::keyClick(&window, Qt::Key_2, Qt::ControlModifier);
    QCOMPARE(b2.count(), 0);
    bar->setProperty("b2caption", u"Imprimir etiquetas"_s);
    QTest::keyClick(&window, Qt::Key_2, Qt::ControlModifier);
    QCOMPARE(b2.count(), 1);
    QTest::keyClick(&window, Qt::Key_Q, Qt::ControlModifier);
    QCOMPARE(salir.count(), 1);

    // Every button tells its shortcut.
    for (const QString &name : {u"btnNuevo"_s, u"btnAceptar"_s, u"btnCancelar"_s, u"btnSalir"_s})
        QVERIFY2(bar->findChild<QToolButton *>(name)->toolTip().contains(u'('), qPrintable(name));
    QVERIFY(bar->findChild<QToolButton *>(u"btnAceptar"_s)->toolTip().contains(u"F10"_s));
}

void TestToolbar::windowsListActivatesTheChosenWindow()
{
    QWidget first;
    first.setWindowTitle(u"Catalogo de activo fijo"_s);
    auto *bar = new Controles(&first);
    bar->setProperty("showwindowslist", u"SI"_s);
    QWidget second;
    second.setWindowTitle(u"Catalogo de empleados"_s);
    first.show();
    second.show();
    second.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&second));

    QToolButton *windows = nullptr;
    for (QToolButton *b : bar->findChildren<QToolButton *>()) {
        if (b->menu())
            windows = b;
    }
    QVERIFY(windows);
    QVERIFY(windows->isVisibleTo(bar));
    QMetaObject::invokeMethod(windows->menu(), "aboutToShow");
    QStringList titles;
    QAction *firstAction = nullptr;
    for (QAction *a : windows->menu()->actions()) {
        titles << a->text();
        if (a->text() == first.windowTitle())
            firstAction = a;
    }
    QCOMPARE(sorted(titles), sorted({u"Catalogo de activo fijo"_s, u"Catalogo de empleados"_s}));
    QVERIFY(firstAction);
    firstAction->trigger();
    QVERIFY(QTest::qWaitForWindowActive(&first));
}

void TestToolbar::additionalFieldsSavedInsideTheCallersTransaction_data()
{
    QTest::addColumn<QString>("backend");
    QTest::newRow("sqlite") << u"sqlite"_s;
    QTest::newRow("postgresql") << u"postgresql"_s;
}

void TestToolbar::additionalFieldsSavedInsideTheCallersTransaction()
{
    QFETCH(QString, backend);
    TALVEXOR_OPEN_OR_SKIP(connection, backend, false);
    TestSession session(std::move(connection));
    suite::Connection &c = session.connection();
    c.Execute(u"INSERT INTO Campo_Adicional (Ca_Tabla, Ca_Campo, Ca_Titulo) VALUES "
              "('Activo_Fijo', 'POLIZA', 'Póliza de seguro')"_s);
    c.Execute(u"INSERT INTO Campo_Adicional (Ca_Tabla, Ca_Campo, Ca_Titulo) VALUES "
              "('Activo_Fijo', 'GARANTIA', 'Garantía')"_s);
    c.Execute(u"INSERT INTO Campo_Adicional (Ca_Tabla, Ca_Campo, Ca_Titulo) VALUES "
              "('Empleado', 'TALLA', 'Talla')"_s);

    Controles bar;
    bar.setProperty("opc_table", u"Activo_Fijo"_s);
    QCOMPARE(sorted(bar.additionalFieldNames()), sorted({u"POLIZA"_s, u"GARANTIA"_s}));
    QVERIFY(bar.press(u"Nuevo"_s));
    bar.setAdditionalField(u"POLIZA"_s, u"P-77 de O'Neil"_s);
    bar.setAdditionalField(u"GARANTIA"_s, u"2027-01-31"_s);

    // Rolled back with the caller's transaction: nothing stays.
    c.BeginTrans();
    QVERIFY(bar.guardacamposadicionales(u"0000000001"_s));
    QVERIFY(c.inTransaction());
    QCOMPARE(countRows(c, u"Ca_Clave = '0000000001'"_s), 2);
    c.RollbackTrans();
    QCOMPARE(countRows(c, u"Ca_Clave = '0000000001'"_s), 0);

    // Committed: another toolbar loads them back for that key only.
    c.BeginTrans();
    QVERIFY(bar.guardacamposadicionales(u"0000000001"_s));
    c.CommitTrans();
    Controles other;
    other.setProperty("opc_table", u"Activo_Fijo"_s);
    other.cargacamposadicionales(u"0000000001"_s);
    QCOMPARE(other.additionalField(u"POLIZA"_s), u"P-77 de O'Neil"_s);
    QCOMPARE(other.additionalField(u"GARANTIA"_s), u"2027-01-31"_s);
    other.cargacamposadicionales(u"0000000002"_s);
    QCOMPARE(other.additionalField(u"POLIZA"_s), QString());

    // Saving again replaces, and an emptied field goes away.
    bar.setAdditionalField(u"GARANTIA"_s, QString());
    c.BeginTrans();
    QVERIFY(bar.guardacamposadicionales(u"0000000001"_s));
    c.CommitTrans();
    QCOMPARE(countRows(c, u"Ca_Clave = '0000000001'"_s), 1);
    QCOMPARE(countRows(c, u"Ca_Clave = '0000000001' AND Ca_Tabla = 'Activo_Fijo' AND Ca_Campo = 'POLIZA'"_s), 1);

    // A new record starts without values.
    QVERIFY(bar.press(u"Cancelar"_s));
    QVERIFY(bar.press(u"Nuevo"_s));
    QCOMPARE(bar.additionalField(u"POLIZA"_s), QString());
}

void TestToolbar::additionalFieldsWriteFailureAnswersFalse()
{
    TestSession session;
    suite::Connection &c = session.connection();
    c.Execute(u"INSERT INTO Campo_Adicional (Ca_Tabla, Ca_Campo, Ca_Titulo) VALUES "
              "('Activo_Fijo', 'POLIZA', 'Póliza')"_s);
    Controles bar;
    bar.setProperty("opc_table", u"Activo_Fijo"_s);
    QVERIFY(bar.press(u"Nuevo"_s));
    bar.setAdditionalField(u"POLIZA"_s, u"P-1"_s);
    c.Execute(u"DROP TABLE Campo_Adicional_Valor"_s);
    c.BeginTrans();
    QVERIFY(!bar.guardacamposadicionales(u"0000000001"_s));
    QVERIFY(c.inTransaction());   // the caller decides what to do with it
    c.RollbackTrans();
}

QTEST_MAIN(TestToolbar)
#include "tst_kit_toolbar.moc"
