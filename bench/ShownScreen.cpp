#include "bench/ShownScreen.h"

#include "suite/data/Connection.h"
#include "suite/session/Session.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>

using namespace Qt::StringLiterals;

namespace bench {

void openSession(suite::Session &session, const QString &url)
{
    session.setConnection(suite::Connection::open(url));
    session.setUser(u"BENCH"_s);
    suite::Session::setCurrent(&session);
}

ShownScreen::ShownScreen(suite::Session &session)
    : m_entorno(&session)
    , m_utilerias(&session)
    , m_form(&m_entorno, &m_utilerias)
{
    m_form.show();
    if (!m_form.isLoaded()) {
        std::fprintf(stderr, "start-up failed: %s\n", qPrintable(m_form.loadError()));
        std::exit(1);
    }
    QApplication::processEvents();
}

} // namespace bench
