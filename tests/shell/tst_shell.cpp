#include "screen/frmXB733.h"
#include "shell/Pantalla.h"
#include "shell/Publico.h"
#include "suite/data/Connection.h"
#include "suite/data/SuiteError.h"
#include "suite/runtime/ComponentHost.h"
#include "suite/runtime/HResult.h"
#include "suite/runtime/Registry.h"
#include "tests/support/TestSession.h"

#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

QObject *formOf(const Pantalla &pantalla)
{
    return pantalla.GetPantalla().value<QObject *>();
}

QString moduleFile()
{
    return QFileInfo(qEnvironmentVariable("TALVEXOR_LIB_DIR") + u"/xb733.so"_s).absoluteFilePath();
}

} // namespace

class tst_Shell : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_session = std::make_unique<TestSession>();
        Publico::Main();
    }

    void cleanup()
    {
        Publico::Terminate();
        m_session.reset();
    }

    void everyPantallaHandsOutTheSameForm()
    {
        QVERIFY(Publico::Entorno());
        QVERIFY(Publico::Utilerias());
        QVERIFY(!Publico::formulario());

        Pantalla first;
        Pantalla second;
        QObject *form = formOf(first);
        QVERIFY(qobject_cast<frmXB733 *>(form));
        QCOMPARE(formOf(first), form);
        QCOMPARE(formOf(second), form);
        // Late-bound, as the host reads it.
        QCOMPARE(second.property("GetPantalla").value<QObject *>(), form);
        // Handing the form out does not load it yet.
        QVERIFY(!static_cast<frmXB733 *>(form)->isLoaded());

        // A second start routine keeps the services the form already uses.
        suite::Entorno *entorno = Publico::Entorno();
        Publico::Main();
        QCOMPARE(Publico::Entorno(), entorno);
        QCOMPARE(static_cast<frmXB733 *>(form)->entorno(), entorno);
    }

    void padreKeepsTheLastParentSet()
    {
        Pantalla pantalla;
        QObject *form = formOf(pantalla);
        QCOMPARE(form->property("Padre").value<QObject *>(), nullptr);

        QObject one;
        QObject two;
        QVERIFY(form->setProperty("Padre", QVariant::fromValue<QObject *>(&one)));
        QVERIFY(form->setProperty("Padre", QVariant::fromValue<QObject *>(&two)));
        QCOMPARE(form->property("Padre").value<QObject *>(), &two);
    }

    void transaccionAsksConfigurationWithTheParentsValue_data()
    {
        QTest::addColumn<QVariant>("parentValue");
        QTest::addColumn<QString>("expected");
        QTest::newRow("configured") << QVariant(u"XB733"_s) << u"catalogo-activos"_s;
        QTest::newRow("number converted to text") << QVariant(733) << u"por-numero"_s;
        QTest::newRow("not configured") << QVariant(u"ZZ999"_s) << QString();
    }

    void transaccionAsksConfigurationWithTheParentsValue()
    {
        QFETCH(QVariant, parentValue);
        QFETCH(QString, expected);
        suite::Connection &db = m_session->connection();
        db.Execute(u"INSERT INTO Configuracion (Cf_Sistema, Cf_Clave, Cf_Valor) VALUES ('Talvexor', 'XB733', 'catalogo-activos')"_s);
        db.Execute(u"INSERT INTO Configuracion (Cf_Sistema, Cf_Clave, Cf_Valor) VALUES ('Talvexor', '733', 'por-numero')"_s);
        // The arguments the other way round would find this row instead.
        db.Execute(u"INSERT INTO Configuracion (Cf_Sistema, Cf_Clave, Cf_Valor) VALUES ('XB733', 'Talvexor', 'al-reves')"_s);

        Pantalla pantalla;
        QObject *form = formOf(pantalla);
        QObject parent;
        parent.setProperty("Transaccion", parentValue);
        form->setProperty("Padre", QVariant::fromValue<QObject *>(&parent));
        QCOMPARE(static_cast<frmXB733 *>(form)->Transaccion(), expected);
    }

    void transaccionFailsWithoutAParentValue()
    {
        Pantalla pantalla;
        auto *form = static_cast<frmXB733 *>(formOf(pantalla));
        QVERIFY_THROWS_EXCEPTION(suite::SuiteError, form->Transaccion());
        QObject parent; // no "Transaccion" property
        form->setPadre(&parent);
        QVERIFY_THROWS_EXCEPTION(suite::SuiteError, form->Transaccion());
    }

    void moduleRegistersAndKeepsLoadedWhileAScreenLives()
    {
        QFile::remove(suite::Registry::defaultFileName());
        suite::ComponentHost host;
        QCOMPARE(host.registerLibrary(moduleFile()), suite::hresult::Ok);
        const suite::Registry::Entry entry = suite::Registry().find(u"XB733.Pantalla"_s);
        QVERIFY(entry.isValid());
        QCOMPARE(entry.library, moduleFile());

        QCOMPARE(host.canUnloadNow(moduleFile()), suite::hresult::Ok);
        std::unique_ptr<QObject> pantalla(host.createObject(u"XB733.Pantalla"_s));
        QCOMPARE(QByteArray(pantalla->metaObject()->className()), QByteArray("Pantalla"));
        QCOMPARE(host.canUnloadNow(moduleFile()), suite::hresult::False);

        QObject *form = pantalla->property("GetPantalla").value<QObject *>();
        QVERIFY(form);
        QCOMPARE(QByteArray(form->metaObject()->className()), QByteArray("frmXB733"));
        // The module keeps its own form, not the one of this test's copy.
        QVERIFY(form != Publico::formulario());

        // The screen lives on in the component after its Pantalla is gone.
        pantalla.reset();
        QCOMPARE(host.canUnloadNow(moduleFile()), suite::hresult::False);
        host.shutdown();
        QCOMPARE(host.canUnloadNow(moduleFile()), suite::hresult::Ok);

        QCOMPARE(host.unregisterLibrary(moduleFile()), suite::hresult::Ok);
        QVERIFY(!suite::Registry().find(u"XB733.Pantalla"_s).isValid());
    }

private:
    std::unique_ptr<TestSession> m_session;
};

QTEST_MAIN(tst_Shell)
#include "tst_shell.moc"
