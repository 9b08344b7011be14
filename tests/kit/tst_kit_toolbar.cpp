#include "suite/data/Connection.h"
#include "suite/kit/Controles.h"
#include "tests/support/TestSession.h"

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
    void additionalFieldsSavedInsideTheCallersTransaction_data();
    void additionalFieldsSavedInsideTheCallersTransaction();
};

void TestToolbar::offersFollowStateFlagsAndCaptions()
{
    Controles bar;
    bar.show();
    QCOMPARE(sorted(bar.offered()), sorted({u"Nuevo"_s, u"Salir"_s}));
    QCOMPARE(visibleCommands(bar), sorted(bar.offered()));
    for (const char *flag : {"modificarenabled", "eliminarenabled", "informacionenabled"})
        bar.setProperty(flag, true);
    bar.setProperty("b3caption", u"Generar equipo"_s);
    QCOMPARE(sorted(bar.offered()),
             sorted({u"Nuevo"_s, u"Modificar"_s, u"Eliminar"_s, u"Informacion"_s, u"Salir"_s, u"B3"_s}));
    QCOMPARE(visibleCommands(bar), sorted(bar.offered()));
    QCOMPARE(bar.findChild<QToolButton *>(u"btnB3"_s)->toolTip(), u"Generar equipo (Ctrl+3)"_s);

    // A command not offered is not pressed.
    QSignalSpy reactivar(&bar, &Controles::Reactivar);
    QVERIFY(!bar.press(u"Reactivar"_s));
    QVERIFY(!bar.press(u"B2"_s));
    QVERIFY(!bar.press(u"Aceptar"_s));
    bar.setProperty("reactivarenabled", true);
    bar.setProperty("b3caption", QString());
    QVERIFY(!bar.offered().contains(u"B3"_s));
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
    // A record being edited offers no record command, whatever the flags say.
    QCOMPARE(sorted(bar.offered()), sorted({u"Aceptar"_s, u"Cancelar"_s, u"Salir"_s}));

    // An accept that did not complete keeps the record in edition.
    QVERIFY(bar.press(u"Aceptar"_s));
    QVERIFY(bar.property("editando").toBool());
    completes = true;
    QVERIFY(bar.press(u"Aceptar"_s));
    QVERIFY(!bar.property("editando").toBool());
    QVERIFY(bar.property("estadoinicial").toBool());
    QCOMPARE(flags.size(), 2);
    QVERIFY(flags.at(0) != 0 && flags.at(1) != 0);

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
}

void TestToolbar::additionalFieldsSavedInsideTheCallersTransaction_data()
{
    TestDatabase::addBackendRows();
}

void TestToolbar::additionalFieldsSavedInsideTheCallersTransaction()
{
    QFETCH(QString, backend);
    TALVEXOR_OPEN_OR_SKIP(connection, backend, false);
    TestSession session(std::move(connection));
    suite::Connection &c = session.connection();
    for (const QString &row : {u"'Activo_Fijo', 'POLIZA', 'Póliza de seguro'"_s,
                               u"'Activo_Fijo', 'GARANTIA', 'Garantía'"_s, u"'Empleado', 'TALLA', 'Talla'"_s})
        c.Execute(u"INSERT INTO Campo_Adicional (Ca_Tabla, Ca_Campo, Ca_Titulo) VALUES ("_s + row + u")"_s);

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

    // A write that fails answers false and leaves the transaction to the caller.
    bar.setAdditionalField(u"POLIZA"_s, u"P-1"_s);
    c.Execute(u"DROP TABLE Campo_Adicional_Valor"_s);
    c.BeginTrans();
    QVERIFY(!bar.guardacamposadicionales(u"0000000002"_s));
    QVERIFY(c.inTransaction());
    c.RollbackTrans();
}

QTEST_MAIN(TestToolbar)
#include "tst_kit_toolbar.moc"
