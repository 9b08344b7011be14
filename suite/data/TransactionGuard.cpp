#include "suite/data/TransactionGuard.h"

#include "suite/data/Connection.h"
#include "suite/data/SuiteError.h"

namespace suite {

TransactionGuard::TransactionGuard(Connection &connection)
    : m_connection(connection)
{
    m_connection.BeginTrans();
}

TransactionGuard::~TransactionGuard()
{
    if (!m_open || !m_connection.inTransaction())
        return;
    try {
        m_connection.RollbackTrans();
    } catch (const SuiteError &) {
        // The connection is gone or the server already ended the transaction;
        // the error that brought us here is the one worth reporting.
    }
}

void TransactionGuard::commit()
{
    m_open = false;
    m_connection.CommitTrans();
}

} // namespace suite
