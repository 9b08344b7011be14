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

frmXB733 *formOf(const Pantalla &pantalla)
{
    return qobject_cast<frmXB733 *>(pantalla.GetPantalla().value<QObject *>());
}

QString moduleFile()
{
    return QFileInfo(qEnvironmentVariable("TALVEXOR_LIB_DIR") + u"/xb733.so"_s).absoluteFilePath();
}

} // namespace

// The host loading the module by its ProgID and showing the screen is covered end to end.
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

    void everyPantallaHandsOutTheSameUnloadedForm()
    {
        Pantalla first;
        Pantalla second;
        frmXB733 *form = formOf(first);
        QVERIFY(form);
        QCOMPARE(formOf(second), form);
        QVERIFY(!form->isLoaded());   // loaded on its first show
        // A second start routine keeps the services the form already uses.
        suite::Entorno *entorno = Publico::Entorno();
        Publico::Main();
        QCOMPARE(Publico::Entorno(), entorno);
        QCOMPARE(form->entorno(), entorno);
    }

    // The configuration of the parent's Transaccion, the arguments in that order.
    void transaccionAsksConfigurationWithTheParentsValue()
    {
        m_session->connection().Execute(u"INSERT INTO Configuracion (Cf_Sistema, Cf_Clave, Cf_Valor) VALUES "
                                        "('Talvexor', 'XB733', 'catalogo-activos'), ('Talvexor', '733', 'por-numero'), "
                                        "('XB733', 'Talvexor', 'al-reves')"_s);
        Pantalla pantalla;
        frmXB733 *form = formOf(pantalla);
        QVERIFY_THROWS_EXCEPTION(suite::SuiteError, form->Transaccion());   // no parent
        QObject parent;
        form->setProperty("Padre", QVariant::fromValue<QObject *>(&parent));
        QVERIFY_THROWS_EXCEPTION(suite::SuiteError, form->Transaccion());   // no "Transaccion" on it
        const QList<QPair<QVariant, QString>> cases = {
            {u"XB733"_s, u"catalogo-activos"_s}, {733, u"por-numero"_s}, {u"ZZ999"_s, QString()}};
        for (const auto &[value, expected] : cases) {
            parent.setProperty("Transaccion", value);
            QCOMPARE(form->Transaccion(), expected);
        }
    }

    void moduleRegistersAndKeepsLoadedWhileAScreenLives()
    {
        QFile::remove(suite::Registry::defaultFileName());
        suite::ComponentHost host;
        QCOMPARE(host.registerLibrary(moduleFile()), suite::hresult::Ok);
        QCOMPARE(suite::Registry().find(u"XB733.Pantalla"_s).library, moduleFile());
        QCOMPARE(host.canUnloadNow(moduleFile()), suite::hresult::Ok);
        std::unique_ptr<QObject> pantalla(host.createObject(u"XB733.Pantalla"_s));
        QCOMPARE(host.canUnloadNow(moduleFile()), suite::hresult::False);
        QObject *form = pantalla->property("GetPantalla").value<QObject *>();
        QCOMPARE(QByteArray(form->metaObject()->className()), QByteArray("frmXB733"));
        QVERIFY(form != Publico::formulario());   // the module keeps its own form, not this test's copy's

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
