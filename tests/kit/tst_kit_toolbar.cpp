#include "suite/kit/Controles.h"

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
    for (QToolButton *b : bar.findChildren<QToolButton *>()) {
        if (b->objectName().startsWith(u"btn"_s) && b->isVisibleTo(&bar))
            shown << b->objectName().mid(3);
    }
    return sorted(shown);
}

} // namespace

// Which commands each asset's state offers, New's handler seeing the record
// in edition, and accepting (kept in edition when refused, the new-record
// flag), are covered end to end. The screen always shows the exit button.
class TestToolbar : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void buttonsAndOffersWhileEditing()
    {
        Controles bar;
        bar.show();
        for (const char *flag : {"modificarenabled", "eliminarenabled", "informacionenabled"})
            bar.setProperty(flag, true);
        bar.setProperty("b3caption", u"Generar equipo"_s);
        QCOMPARE(visibleCommands(bar), sorted(bar.offered()));
        QVERIFY(!bar.press(u"B2"_s));       // no caption: not offered, not pressed
        QVERIFY(bar.press(u"Nuevo"_s));
        // A record being edited offers no record command and no extra button, whatever the flags and captions
        // say (the buttons follow the offers).
        QCOMPARE(visibleCommands(bar), sorted({u"Aceptar"_s, u"Cancelar"_s, u"Salir"_s}));
        // Raising estadoinicial ends editing without an accept.
        QSignalSpy aceptar(&bar, &Controles::Aceptar);
        bar.setProperty("estadoinicial", true);
        QVERIFY(!bar.property("editando").toBool());
        QVERIFY(bar.offered().contains(u"B3"_s));
        QVERIFY(!bar.press(u"Cancelar"_s));
        QCOMPARE(aceptar.count(), 0);
    }

    void shortcutsPressTheOfferedCommands()
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
        bar->setProperty("b2caption", u"Imprimir etiquetas"_s);
        const struct { QKeyCombination keys; QSignalSpy *spy; int count; } presses[] = {
            {Qt::Key_F10, &aceptar, 0},   // not editing: no accept
            {Qt::CTRL | Qt::Key_N, &nuevo, 1}, {Qt::Key_F10, &aceptar, 1}, {Qt::Key_Escape, &cancelar, 1},
            {Qt::CTRL | Qt::Key_2, &b2, 1}, {Qt::CTRL | Qt::Key_Q, &salir, 1}};
        for (const auto &p : presses) {
            QTest::keyClick(&window, p.keys.key(), p.keys.keyboardModifiers());
            QCOMPARE(p.spy->count(), p.count);
        }
    }
};

QTEST_MAIN(TestToolbar)
#include "tst_kit_toolbar.moc"
