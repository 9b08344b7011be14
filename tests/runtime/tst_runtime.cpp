#include "suite/data/SuiteError.h"
#include "suite/runtime/ComponentHost.h"
#include "suite/runtime/HResult.h"
#include "suite/runtime/Registry.h"

#include <QFile>
#include <QObject>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace Qt::StringLiterals;
using suite::ComponentHost;
using suite::Registry;

namespace {

const QString objetoId = u"Prueba.Objeto"_s;
const QString objetoClsid = u"{11111111-2222-3333-4444-555555555555}"_s;

QString libDir()
{
    return qEnvironmentVariable("TALVEXOR_LIB_DIR");
}

QString testComponent()
{
    return libDir() + u"/runtime_test_component.so"_s;
}

// The text of the SuiteError that call throws; empty when it throws nothing.
template<typename Call>
QString errorOf(Call call)
{
    try {
        call();
    } catch (const suite::SuiteError &e) {
        return e.description();
    }
    return {};
}

} // namespace

class tst_Runtime : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        QFile::remove(Registry::defaultFileName());
    }

    void registerAndUnregisterRoundTrip()
    {
        ComponentHost host;
        QCOMPARE(host.registerLibrary(testComponent()), suite::hresult::Ok);

        const Registry::Entry entry = Registry().find(objetoId);
        QVERIFY(entry.isValid());
        QCOMPARE(entry.clsid, objetoClsid);
        QCOMPARE(entry.library, testComponent());
        QVERIFY(Registry().find(u"Prueba.SinFabrica"_s).isValid());

        std::unique_ptr<QObject> object(host.createObject(objetoId));
        QCOMPARE(object->objectName(), u"Objeto"_s);

        QCOMPARE(host.unregisterLibrary(testComponent()), suite::hresult::Ok);
        QVERIFY(!Registry().find(objetoId).isValid());
        const QString error = errorOf([&] { delete host.createObject(objetoId); });
        QVERIFY2(error.contains(u"no está registrada"_s), qPrintable(error));
        QVERIFY2(error.contains(objetoId), qPrintable(error));
    }

    void startRoutineRunsOnceBeforeAnyObjectAndObjectsAreCounted()
    {
        ComponentHost host;
        host.ensureRegistered(objetoId, testComponent());
        QCOMPARE(host.canUnloadNow(testComponent()), suite::hresult::Ok);

        std::unique_ptr<QObject> first(host.createObject(objetoId));
        std::unique_ptr<QObject> second(host.createObject(objetoId));
        QCOMPARE(first->property("starts").toInt(), 1);
        QCOMPARE(second->property("starts").toInt(), 1);
        QCOMPARE(host.canUnloadNow(testComponent()), suite::hresult::False);

        first.reset();
        QCOMPARE(host.canUnloadNow(testComponent()), suite::hresult::False);
        second.reset();
        QCOMPARE(host.canUnloadNow(testComponent()), suite::hresult::Ok);

        // Releasing runs the stop routine; the next object starts it again.
        host.shutdown();
        std::unique_ptr<QObject> third(host.createObject(objetoId));
        QCOMPARE(third->property("stops").toInt(), 1);
        QCOMPARE(third->property("starts").toInt(), 2);
    }

    void ensureRegisteredRepairsOnlyBrokenRegistrations()
    {
        ComponentHost host;
        const QString elsewhere = libDir() + u"/libsuite_runtime.so"_s;

        // A registration whose library is gone is replaced.
        {
            Registry registry;
            registry.registerClass(objetoId, objetoClsid, u"/nonexistent/runtime_test_component.so"_s);
            registry.sync();
        }
        host.ensureRegistered(objetoId, testComponent());
        QCOMPARE(Registry().find(objetoId).library, testComponent());

        // A working one is the user's choice and stays.
        {
            Registry registry;
            registry.registerClass(objetoId, objetoClsid, elsewhere);
            registry.sync();
        }
        host.ensureRegistered(objetoId, testComponent());
        QCOMPARE(Registry().find(objetoId).library, elsewhere);
    }

    void unregisteringLeavesANameTakenByAnotherClass()
    {
        Registry registry;
        registry.registerClass(objetoId, objetoClsid, testComponent());
        registry.registerClass(objetoId, u"{AAAAAAAA-0000-0000-0000-000000000000}"_s, testComponent());
        registry.unregisterClass(objetoId, objetoClsid);
        registry.sync();
        QCOMPARE(Registry().find(objetoId).clsid, u"{AAAAAAAA-0000-0000-0000-000000000000}"_s);
    }

    void loadFailuresAreExplained_data()
    {
        QTest::addColumn<QString>("progId");
        QTest::addColumn<QString>("clsid");
        QTest::addColumn<QString>("library"); // "GARBAGE": a file that is not a library
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("missing file") << objetoId << objetoClsid << u"/nonexistent/x.so"_s
                                      << QStringList{u"No se encontró el componente"_s, u"/nonexistent/x.so"_s};
        QTest::newRow("not a library") << objetoId << objetoClsid << u"GARBAGE"_s
                                       << QStringList{u"No se pudo cargar el componente"_s, u"basura.so: "_s};
        QTest::newRow("no entry point") << objetoId << objetoClsid << libDir() + u"/libsuite_runtime.so"_s
                                        << QStringList{u"no exporta DllGetClassObject"_s};
        QTest::newRow("unknown class") << objetoId << u"{00000000-0000-0000-0000-000000000000}"_s
                                       << testComponent()
                                       << QStringList{u"no ofrece la clase"_s, u"0x80040111"_s};
        QTest::newRow("class without maker") << u"Prueba.SinFabrica"_s
                                             << u"{66666666-7777-8888-9999-000000000000}"_s << testComponent()
                                             << QStringList{u"no pudo crear un objeto Prueba.SinFabrica"_s};
    }

    void loadFailuresAreExplained()
    {
        QFETCH(QString, progId);
        QFETCH(QString, clsid);
        QFETCH(QString, library);
        QFETCH(QStringList, expected);

        QTemporaryDir dir;
        if (library == u"GARBAGE"_s) {
            library = dir.filePath(u"basura.so"_s);
            QFile file(library);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("esto no es una biblioteca");
        }
        {
            Registry registry;
            registry.registerClass(progId, clsid, library);
            registry.sync();
        }
        ComponentHost host;
        const QString error = errorOf([&] { delete host.createObject(progId); });
        for (const QString &piece : expected)
            QVERIFY2(error.contains(piece), qPrintable(error));
        if (library.endsWith(u"basura.so"_s)) {
            // The loader's own explanation follows the file name.
            QVERIFY2(error.section(u"basura.so: "_s, 1).trimmed().size() > 3, qPrintable(error));
        }
    }
};

QTEST_GUILESS_MAIN(tst_Runtime)
#include "tst_runtime.moc"
