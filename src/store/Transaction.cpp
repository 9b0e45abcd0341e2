#include "store/Transaction.h"

#include "store/Connection.h"

Transaction::Transaction(Connection &connection)
    : m_conn(connection), m_level(connection.m_txDepth) {
    if (m_level == 0)
        m_conn.exec(QStringLiteral("BEGIN IMMEDIATE"));
    else
        m_conn.exec(QStringLiteral("SAVEPOINT sp%1").arg(m_level));
    ++m_conn.m_txDepth;
}

Transaction::~Transaction() {
    if (!m_done) {
        try {
            rollback();
        } catch (...) {
        }
    }
}

void Transaction::commit() {
    if (m_done)
        return;
    if (m_level == 0)
        m_conn.exec(QStringLiteral("COMMIT"));
    else
        m_conn.exec(QStringLiteral("RELEASE sp%1").arg(m_level));
    m_done = true;
    --m_conn.m_txDepth;
}

void Transaction::rollback() {
    if (m_done)
        return;
    m_done = true;
    --m_conn.m_txDepth;
    if (!m_conn.isOpen())
        return;
    if (m_level == 0) {
        m_conn.exec(QStringLiteral("ROLLBACK"));
    } else {
        m_conn.exec(QStringLiteral("ROLLBACK TO sp%1").arg(m_level));
        m_conn.exec(QStringLiteral("RELEASE sp%1").arg(m_level));
    }
    // Cursors may hold rows that no longer exist.
    m_conn.touchAll();
}
