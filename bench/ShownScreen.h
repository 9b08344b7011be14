#pragma once

#include "screen/frmXB733.h"
#include "suite/services/Entorno.h"
#include "suite/services/Utilerias.h"

#include <QString>

namespace suite {
class Session;
}

namespace bench {

// The session a benchmark drives the screen through: the database at url,
// the user BENCH, published as the current session as the host does.
void openSession(suite::Session &session, const QString &url);

// The screen as the host brings it up: its services, the form shown and its
// start-up run. A screen that fails to load ends the run, since no figure
// taken after it would mean anything.
class ShownScreen
{
public:
    explicit ShownScreen(suite::Session &session);

    frmXB733 &form() { return m_form; }
    suite::Utilerias &utilerias() { return m_utilerias; }

private:
    suite::Entorno m_entorno;
    suite::Utilerias m_utilerias;
    frmXB733 m_form;
};

} // namespace bench
