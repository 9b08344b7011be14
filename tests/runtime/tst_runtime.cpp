#include "suite/data/SuiteError.h"
#include "suite/runtime/ComponentHost.h"
#include "suite/runtime/HResult.h"
#include "suite/runtime/Registry.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace Qt::StringLiterals;
using suite::ComponentHost;
using suite::Registry;

namespace {

const QString objetoId = u"Prueba.Objeto"_s;
const QString objetoClsid = u"{11111111-2222-3333-4444-555555555555}"_s;

QString libDir() { return qEnvironmentVariable("TALVEXOR_LIB_DIR"); }
QString testComponent() { return libDir() + u"/runtime_test_component.so"_s; }

void registerClass(const QString &progId, const QString &clsid, const QString &library)
{
    Registry registry;
    registry.registerClass(progId, clsid, library);
    registry.sync();
}

// The text of the SuiteError creating an object throws; empty when it throws nothing.
QString creationError(ComponentHost &host, const QString &progId)
{
    try {
        delete host.createObject(progId);
    } catch (const suite::SuiteError &e) {
        return e.description();
    }
    return {};
}

} // namespace

// Registering a module and an object keeping it loaded: the shell test, with the screen's module.
class tst_Runtime : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { QFile::remove(Registry::defaultFileName()); }

    void startRoutineRunsOnceAndAgainAfterShutdown()
    {
        ComponentHost host;
        host.ensureRegistered(objetoId, testComponent());
        std::unique_ptr<QObject> first(host.createObject(objetoId));
        std::unique_ptr<QObject> second(host.createObject(objetoId));
        QCOMPARE(first->property("starts").toInt(), 1);
        QCOMPARE(second->property("starts").toInt(), 1);
        first.reset();
        QCOMPARE(host.canUnloadNow(testComponent()), suite::hresult::False);   // one object still lives
        second.reset();
        QCOMPARE(host.canUnloadNow(testComponent()), suite::hresult::Ok);
        // Releasing runs the stop routine; the next object starts it again.
        host.shutdown();
        std::unique_ptr<QObject> third(host.createObject(objetoId));
        QCOMPARE(third->property("stops").toInt(), 1);
        QCOMPARE(third->property("starts").toInt(), 2);
    }

    void registrationsRepairedAndUnregistered()
    {
        // A registration whose library is gone is replaced; a working one is the user's choice and stays.
        ComponentHost host;
        const QString elsewhere = libDir() + u"/libsuite_runtime.so"_s;
        registerClass(objetoId, objetoClsid, u"/nonexistent/runtime_test_component.so"_s);
        host.ensureRegistered(objetoId, testComponent());
        QCOMPARE(Registry().find(objetoId).library, testComponent());
        registerClass(objetoId, objetoClsid, elsewhere);
        host.ensureRegistered(objetoId, testComponent());
        QCOMPARE(Registry().find(objetoId).library, elsewhere);

        // Unregistering a class leaves its name to another class that took it.
        Registry registry;
        registry.registerClass(objetoId, u"{AAAAAAAA-0000-0000-0000-000000000000}"_s, testComponent());
        registry.unregisterClass(objetoId, objetoClsid);
        registry.sync();
        QCOMPARE(Registry().find(objetoId).clsid, u"{AAAAAAAA-0000-0000-0000-000000000000}"_s);
        registry.unregisterClass(objetoId, u"{AAAAAAAA-0000-0000-0000-000000000000}"_s);
        registry.sync();
        const QString error = creationError(host, objetoId);
        QVERIFY2(error.contains(u"no está registrada"_s) && error.contains(objetoId), qPrintable(error));
    }

    void loadFailuresAreExplained()
    {
        QTemporaryDir dir;
        const QString garbage = dir.filePath(u"basura.so"_s);   // a file that is not a library
        QFile file(garbage);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("esto no es una biblioteca");
        file.close();
        const struct { QString progId, clsid, library; QStringList expected; } cases[] = {
            {objetoId, objetoClsid, u"/nonexistent/x.so"_s, {u"No se encontró el componente"_s, u"/nonexistent/x.so"_s}},
            {objetoId, objetoClsid, garbage, {u"No se pudo cargar el componente"_s, u"basura.so: "_s}},
            {objetoId, objetoClsid, libDir() + u"/libsuite_runtime.so"_s, {u"no exporta DllGetClassObject"_s}},
            {objetoId, u"{00000000-0000-0000-0000-000000000000}"_s, testComponent(),
             {u"no ofrece la clase"_s, u"0x80040111"_s}},
            {u"Prueba.SinFabrica"_s, u"{66666666-7777-8888-9999-000000000000}"_s, testComponent(),
             {u"no pudo crear un objeto Prueba.SinFabrica"_s}},
        };
        for (const auto &c : cases) {
            registerClass(c.progId, c.clsid, c.library);
            ComponentHost host;
            const QString error = creationError(host, c.progId);
            for (const QString &piece : c.expected)
                QVERIFY2(error.contains(piece), qPrintable(error));
            if (c.library == garbage)   // the loader's own explanation follows the file name
                QVERIFY2(error.section(u"basura.so: "_s, 1).trimmed().size() > 3, qPrintable(error));
        }
    }
};

QTEST_GUILESS_MAIN(tst_Runtime)
#include "tst_runtime.moc"
