// Measures the toolbar's accept as a user runs it, in process, on a demo
// database file: save-new (a new asset with its required fields and one cost
// centre, ROUNDS times) and save-update (every demo asset edited and saved,
// ROUNDS times over; a quarter of them spread over 2 to 10 centres). Only
// the accept is timed: its checks, its transaction and the return to key
// entry. Prints the median and the 95th percentile of one save, the share
// spent inside SQL (from the connection's statement timings) and how many
// statements one save sends.
//
//   bench_save [ROUNDS]
#include "screen/frmXB733.h"
#include "suite/data/Connection.h"
#include "suite/data/DemoData.h"
#include "suite/data/Schema.h"
#include "suite/kit/Controles.h"
#include "suite/kit/TxtKit.h"
#include "suite/services/Entorno.h"
#include "suite/services/Utilerias.h"
#include "suite/session/MessagePresenter.h"
#include "suite/session/Session.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdlib>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

double percentile(QList<double> values, double p)
{
    std::sort(values.begin(), values.end());
    const qsizetype at = std::min<qsizetype>(values.size() - 1, qsizetype(p * double(values.size() - 1) + 0.5));
    return values.at(at);
}

// A save that shows a message did not store what it was timed for.
class FailOnMessage : public suite::MessagePresenter
{
public:
    int show(const suite::MessageRequest &request) override
    {
        std::fprintf(stderr, "unexpected message %s: %s\n", qPrintable(request.id), qPrintable(request.prompt));
        std::exit(1);
    }
};

struct Timings
{
    QList<double> totals;
    QList<double> sql;
    QList<int> statements;

    void print(const char *what) const
    {
        QList<int> counts = statements;
        std::sort(counts.begin(), counts.end());
        const double median = percentile(totals, 0.5);
        const double inSql = percentile(sql, 0.5);
        std::printf("%s (demo, %d saves)  median=%.2f ms p95=%.2f ms  in SQL: median=%.2f ms (%.0f%%)  "
                    "screen: median=%.2f ms  statements: %d to %d\n",
                    what, int(totals.size()), median, percentile(totals, 0.95), inSql, 100.0 * inSql / median,
                    median - inSql, counts.front(), counts.back());
    }
};

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 20;

    QTemporaryDir dir;
    const QString url = u"sqlite:"_s + dir.filePath(u"bench.db"_s);
    {
        auto connection = suite::Connection::open(url);
        suite::Schema::create(*connection);
        suite::DemoData::load(*connection);
    }

    FailOnMessage messages;
    suite::Session session;
    session.setConnection(suite::Connection::open(url));
    session.setUser(u"BENCH"_s);
    session.setMessages(&messages);
    suite::Session::setCurrent(&session);
    suite::Entorno entorno(&session);
    suite::Utilerias utilerias(&session);
    frmXB733 form(&entorno, &utilerias);
    form.show();
    if (!form.isLoaded()) {
        std::fprintf(stderr, "start-up failed: %s\n", qPrintable(form.loadError()));
        return 1;
    }
    QApplication::processEvents();

    qint64 sqlMicros = 0;
    int statements = 0;
    QObject::connect(session.connection(), &suite::Connection::statementExecuted,
                     [&](const QString &, qint64 micros) {
                         sqlMicros += micros;
                         ++statements;
                     });

    auto *toolbar = form.controlAs<suite::Controles>(u"Controles"_s);
    auto *key = form.controlAs<suite::txtKIT>(u"txt_Af_Cve_Activo_Fijo"_s);
    auto set = [&](const QString &box, const QString &text) { form.controlAs<suite::txtKIT>(box)->setText(text); };
    auto accept = [&](Timings &into, bool warmUp) {
        sqlMicros = 0;
        statements = 0;
        QElapsedTimer timer;
        timer.start();
        toolbar->press(u"Aceptar"_s);
        const double ms = timer.nsecsElapsed() / 1e6;
        if (toolbar->editando()) {
            std::fprintf(stderr, "a save did not complete\n");
            std::exit(1);
        }
        if (warmUp)
            return;
        into.totals << ms;
        into.sql << sqlMicros / 1000.0;
        into.statements << statements;
    };

    Timings created;
    for (int round = 0; round <= rounds; ++round) {
        toolbar->press(u"Nuevo"_s); // the automatic key of the demo
        set(u"txt_Af_Descripcion"_s, u"Escritorio de trabajo %1"_s.arg(round));
        set(u"txt_Ta_Cve_Tipo_ActivoFijo"_s, u"003"_s);
        set(u"txtEmpresa"_s, u"0001"_s);
        set(u"txt_Au_Cve_Ubicacion"_s, u"0002"_s);
        set(u"txtCentroCosto"_s, u"000120"_s);
        set(u"txt_Costo_Original"_s, u"4500.5"_s);
        accept(created, round == 0);
    }

    Timings updated;
    const int assets = suite::DemoData::assetCount();
    for (int round = 0; round <= rounds; ++round) {
        for (int n = 1; n <= assets; ++n) {
            key->setText(u"%1"_s.arg(n, 10, 10, QLatin1Char('0')));
            QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, u"\r"_s);
            QApplication::sendEvent(key, &enter);
            if (!toolbar->press(u"Modificar"_s))
                continue; // a deactivated asset offers no edit
            set(u"txtMarca"_s, u"Marca %1"_s.arg(round));
            accept(updated, round == 0);
        }
    }

    created.print("save-new   ");
    updated.print("save-update");
    suite::Session::setCurrent(nullptr);
    return 0;
}
