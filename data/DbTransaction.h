// One transaction on the shared connection. The database lock is held from
// begin to commit or rollback, so no other thread's statement lands inside
// it (and is rolled back with it). Lock order: a data object's own lock
// first, then this one.
#pragma once

#include "data/DataLocks.h"
#include "data/DbSqlite.h"

class CDbTransaction {
public:
    explicit CDbTransaction(CDbSqlite& db) : m_db(db), m_lock(g_csDatabase) { m_open = m_db.BeginTransaction(); }
    // Rolls back unless Commit succeeded.
    ~CDbTransaction() {
        if (m_open) m_db.RollbackTransaction();
    }
    CDbTransaction(const CDbTransaction&) = delete;
    CDbTransaction& operator=(const CDbTransaction&) = delete;

    bool IsOpen() const { return m_open; }
    bool Commit() {
        if (!m_open || !m_db.CommitTransaction()) return false;
        m_open = false;
        return true;
    }

private:
    CDbSqlite& m_db;
    CLockGuard m_lock;
    bool m_open = false;
};
