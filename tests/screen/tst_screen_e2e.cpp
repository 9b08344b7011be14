// The screen driven as a user would, through the host's scripted mode (the
// real executable, the component loaded by its ProgID) on a database with
// the schema only: what start-up makes of the variables, Alt with a digit,
// and the sizes a resize gives.
#include "suite/data/Connection.h"
#include "tests/support/HostScript.h"
#include "tests/support/TestDatabase.h"

#include <QJsonObject>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QStringList enabledFrames(const QJsonObject &dump)
{
    QStringList out;
    for (const QString &frame : {u"Fr0"_s, u"Fr1"_s, u"Fr2"_s, u"Fr3"_s}) {
        if (dumpedControl(dump, frame).value(u"enabled"_s).toBool())
            out << frame;
    }
    return out;
}

// The dumps of a run that reported no error.
QList<QJsonObject> dumps(HostDatabase &db, const QString &script)
{
    const HostRun run = runHost(db.url(), script);
    if (run.exitCode != 0 || !run.errors().isEmpty())
        qWarning("talvexor exit %d: %s %s", run.exitCode, qPrintable(run.errors().join(u'\n')), qPrintable(run.errorOutput));
    return run.of(u"dump"_s);
}

} // namespace

class tst_screen_e2e : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void startUpWithAndWithoutVariables()
    {
        TALVEXOR_HOST_DATABASE_OR_SKIP(db, u"sqlite"_s, false);
        const QString script = u"set txtMarca enabled true\ntype txtMarca \"acme ñu\"\n"
                               "dump txtMarca lvActivoFijoContable lvActivoFijoFiscal opEmpleado opCliente\n"_s;
        const QStringList columns = {u"Número"_s, u"Fecha"_s, u"Ce.Co"_s, u"Importe"_s};
        auto value = [](const QJsonObject &dump, const QString &control, const QString &member) {
            return dumpedControl(dump, control).value(member).toVariant();
        };
        // Unset: text as typed, the employee chosen, the first tab. (Where each variable goes: tst_screen_form.)
        const QJsonObject unset = dumps(*db, script).value(0);
        QCOMPARE(value(unset, u"txtMarca"_s, u"text"_s), u"acme ñu"_s);
        QCOMPARE(value(unset, u"lvActivoFijoContable"_s, u"columns"_s).toStringList()
                     + value(unset, u"lvActivoFijoFiscal"_s, u"columns"_s).toStringList(), columns + columns);
        QVERIFY(value(unset, u"opEmpleado"_s, u"value"_s).toBool() && !value(unset, u"opCliente"_s, u"value"_s).toBool());
        QCOMPARE(unset.value(u"tab"_s).toInt(), 0);

        db->execute(u"INSERT INTO Variable (Va_Cve_Variable, Va_Valor) VALUES ('CAT_FORZAR_MAYUSCULAS', 'SI')"_s);
        const QJsonObject set = dumps(*db, script).value(0);
        QCOMPARE(value(set, u"txtMarca"_s, u"text"_s), u"ACME ÑU"_s);
        QCOMPARE(value(set, u"lvActivoFijoContable"_s, u"columns"_s).toStringList(), columns);
    }

    // The frame of the tab shown is the only one enabled.
    void altDigitAndFrames()
    {
        TALVEXOR_HOST_DATABASE_OR_SKIP(db, u"sqlite"_s, false);
        const QString frames = u"dump Fr0 Fr1 Fr2 Fr3\n"_s;
        // Each key to the control with the focus; Alt with another digit or modifier does nothing (dumps 0-8).
        const QList<QJsonObject> steps = dumps(*db, u"key - Alt+2\ndump Fr0\nkey - Shift+Alt+3\ndump Fr0\nkey - Ctrl+Alt+3\n"
                                                     "dump Fr0\nkey - Alt+Num+3\ndump Fr0\nkey - 3\ndump Fr0\nkey - Alt+5\ndump Fr0\n"
                                                     "key - Alt+0\ndump Fr0\ntab 3\ndump Fr0\nkey - Alt+1\ndump Fr0\n"
                                                     // 9, 10: by key and by click; 11: after a search cancelled
                                                     // from the key box and a click on a tab.
                                                     "key - Alt+3\n"_s + frames + u"tab 1\n"_s + frames
                                                     + u"key txt_Af_Cve_Activo_Fijo F2\ntab 3\nkey - Alt+1\n"_s + frames
                                                     // 12: the same key again, after a click moved the tab, is a new key.
                                                     + u"key - Alt+2\ntab 3\nkey - Alt+2\ndump Fr0\n"_s);
        QList<int> tabs;
        for (const QJsonObject &dump : steps)
            tabs << dump.value(u"tab"_s).toInt();
        QCOMPARE(tabs, (QList<int>{1, 1, 1, 1, 1, 1, 1, 3, 0, 2, 1, 0, 1}));
        QCOMPARE(enabledFrames(steps[9]), QStringList{u"Fr2"_s});
        QCOMPARE(enabledFrames(steps[10]), QStringList{u"Fr1"_s});
        QCOMPARE(enabledFrames(steps[11]), QStringList{u"Fr0"_s});
    }

    // Alt with a digit leaves the focus on the first field of the tab that can take it, so F2 and typing
    // work at once; Esc, Ctrl+Q and closing the window ask before dropping typed work, and only then.
    void keysKeepFocusAndWork()
    {
        TALVEXOR_HOST_DATABASE_OR_SKIP(db, u"sqlite"_s, true);
        const HostRun run = runHost(db->url(),
            u"key - Alt+2\nkey - Alt+1\ndump txt_Af_Cve_Activo_Fijo\n"                                    // 0: Idle: the key box
            "choose 0000000007\nkey - F2\nkey - Return\ntoolbar Modificar\nkey - Alt+2\ndump txtProyecto\n"  // 1
            "key - Alt+1\ndump txt_Af_Descripcion\n"                     // 2: Edit: the first field after the key
            "key - Escape\ndump Controles\n"                             // 3: nothing typed, nothing asked
            "set txt_Af_Cve_Activo_Fijo text 0000000007\nkey txt_Af_Cve_Activo_Fijo Return\ntoolbar Modificar\n"
            "type txtMarca \" ñ\"\nkey - Escape\ndump txtMarca Controles\n" // 4: No keeps the edit
            "answer 6\nkey - Escape\ndump Controles\n"                   // 5: Yes drops it
            "toolbar Nuevo\ntype txt_Af_Descripcion Mesa\nkey - Ctrl+Q\nclose\ndump txt_Af_Descripcion Controles\n" // 6
            "toolbar Cancelar\ntoolbar Nuevo\ntype txt_Af_Descripcion Mesa\nanswer 6\nclose\n"_s);
        QVERIFY2(run.exitCode == 0 && run.errors().isEmpty(), qPrintable(run.errors().join(u'\n') + run.errorOutput));
        QStringList focus;
        for (const QJsonObject &dump : run.of(u"dump"_s))
            focus << dump.value(u"focus"_s).toString();
        QCOMPARE(focus.mid(0, 3), (QStringList{u"txt_Af_Cve_Activo_Fijo"_s, u"txtProyecto"_s, u"txt_Af_Descripcion"_s}));
        QCOMPARE(run.of(u"consulta"_s).value(0).value(u"chosen"_s).toString(), u"0000000007"_s);
        auto editing = [&](int i) { return run.dump(i).value(u"toolbar"_s).toObject().value(u"editando"_s).toBool(); };
        QVERIFY(!editing(3) && editing(4) && !editing(5) && editing(6));
        QCOMPARE(dumpedControl(run.dump(4), u"txtMarca"_s).value(u"text"_s).toString().right(2), u" Ñ"_s);
        QCOMPARE(dumpedControl(run.dump(6), u"txt_Af_Descripcion"_s).value(u"text"_s).toString(), u"MESA"_s);
        // Asked each time there was something to lose; the toolbar's own Cancelar never asks.
        QStringList asked;
        for (const QJsonObject &message : run.of(u"mensaje"_s))
            asked << message.value(u"id"_s).toString() + u'=' + QString::number(message.value(u"answer"_s).toInt());
        QCOMPARE(asked, (QStringList{u"ERR-ID:7500070=7"_s, u"ERR-ID:7500070=6"_s, u"ERR-ID:7500071=7"_s,
                                     u"ERR-ID:7500071=7"_s, u"ERR-ID:7500071=6"_s}));
        QCOMPARE(run.of(u"salir"_s).size(), 1);
    }

    void resizeFigures()
    {
        TALVEXOR_HOST_DATABASE_OR_SKIP(db, u"sqlite"_s, false);
        const QString names = u"ssTabKit Fr0 Fr1 Fr2 Fr3 Sh0 lvActivoFijoContable lvActivoFijoFiscal ssDetalle Controles"_s;
        const QList<QJsonObject> sizes =
            dumps(*db, u"dump %1\nresize 150 600\ndump %1\nresize 14745 900\ndump %1\nresize 15000 9000\ndump %1\n"_s.arg(names));
        QCOMPARE(sizes.size(), 4);
        // A control's "name widthxheight" in the i-th dump; figures: those of the controls a list names.
        auto figure = [&](int i, const QString &name) {
            const QJsonObject c = dumpedControl(sizes[i], name);
            return u"%1 %2x%3"_s.arg(name).arg(c.value(u"width"_s).toDouble()).arg(c.value(u"height"_s).toDouble());
        };
        auto figures = [&](int i, const QStringList &expected) {
            QStringList out;
            for (const QString &e : expected)
                out << figure(i, e.section(u' ', 0, 0));
            return out;
        };
        const QStringList design = {u"ssTabKit 11505x6950"_s, u"Fr0 11505x6590"_s, u"Fr1 11505x6590"_s, u"Fr2 11505x6590"_s,
                                    u"Fr3 11505x6590"_s, u"Sh0 11505x135"_s, u"lvActivoFijoContable 6495x4760"_s,
                                    u"lvActivoFijoFiscal 6495x4760"_s, u"ssDetalle 11505x3680"_s};
        QCOMPARE(figures(0, design), design);

        // A tiny window: every size refused, nothing moves, no message.
        QCOMPARE(sizes[1].value(u"form"_s).toObject().value(u"width"_s).toDouble(), 150.0);
        // (The toolbar spans the window, whatever its width.)
        for (const QString &name : names.split(u' '))
            QCOMPARE(figure(1, name), name == u"Controles"_s ? u"Controles 150x960"_s : figure(0, name));

        // Wide but too short: the strip's height is refused, every width still follows.
        const QStringList wide = {u"ssTabKit 14505x6950"_s, u"Fr2 14505x6590"_s, u"Sh0 14505x135"_s,
                                  u"lvActivoFijoContable 6495x4760"_s, u"ssDetalle 14505x3680"_s};
        QCOMPARE(figures(2, wide), wide);

        const QStringList large = {u"ssTabKit 14760x7700"_s, u"Fr2 14760x7340"_s, u"lvActivoFijoFiscal 6495x5510"_s,
                                   u"ssDetalle 14760x4430"_s, u"Controles 15000x960"_s};
        QCOMPARE(figures(3, large), large);
        QCOMPARE(dumpedControl(sizes[3], u"lvActivoFijoFiscal"_s).value(u"left"_s).toDouble(), 7080.0);
        QCOMPARE(dumpedControl(sizes[3], u"ssDetalle"_s).value(u"top"_s).toDouble(), 2760.0);
    }
};

QTEST_MAIN(tst_screen_e2e)
#include "tst_screen_e2e.moc"
