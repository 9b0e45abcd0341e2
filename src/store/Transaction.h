#pragma once

class Connection;

// One user action that writes more than one record runs inside one Transaction: leaving the
// scope without commit() rolls every change back. Nested transactions become savepoints.
class Transaction {
public:
    explicit Transaction(Connection &connection);
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    void commit();
    void rollback();

private:
    Connection &m_conn;
    int m_level;
    bool m_done = false;
};
