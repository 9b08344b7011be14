#pragma once

namespace suite {

class Connection;

// Keeps a write command atomic however it ends: begins a transaction on
// construction and rolls it back on destruction unless commit() was called.
class TransactionGuard
{
public:
    explicit TransactionGuard(Connection &connection);
    ~TransactionGuard();
    TransactionGuard(const TransactionGuard &) = delete;
    TransactionGuard &operator=(const TransactionGuard &) = delete;

    void commit();

private:
    Connection &m_connection;
    bool m_open = true;
};

} // namespace suite
