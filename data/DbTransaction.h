// One transaction on the shared connection. The database lock is held from
// begin to commit or rollback, so no other thread's statement lands inside
// it (and is rolled back with it). Lock order: a data object's own lock
// first, then this one.
//
// Transactions nest: one begun while another is open on the same
// connection (on the same thread, which holds the lock) is a savepoint
// inside it, so that a caller can group many writes that each keep their
// own all-or-nothing rule in one commit.
#pragma once

#include <algorithm>
#include <vector>

#include "data/DataLocks.h"
#include "data/DbSqlite.h"

class CDbTransaction {
public:
    explicit CDbTransaction(CDbSqlite& db) : m_db(db), m_lock(g_csDatabase) {
        m_nested = std::find(Open().begin(), Open().end(), &m_db) != Open().end();
        // Every transaction here writes: it takes the write lock at once,
        // waiting for another program's as long as a single write would.
        // Begun as a reader, it could not wait: SQLite does not let a
        // reader wait for the write lock, and a reader whose view another
        // program's commit made old cannot write at all.
        m_open = m_nested ? m_db.DirectStatement(u"savepoint nested") : m_db.DirectStatement(u"begin immediate");
        if (m_open) Open().push_back(&m_db);
    }
    // Rolls back unless Commit succeeded, or SQLite has already rolled
    // the whole transaction back itself (as it does on a full flash):
    // a rollback then would fail and be told as a second, false failure.
    ~CDbTransaction() {
        if (!m_open) return;
        if (m_db.InTransaction()) RollBack();
        Close();
    }
    CDbTransaction(const CDbTransaction&) = delete;
    CDbTransaction& operator=(const CDbTransaction&) = delete;

    bool IsOpen() const { return m_open; }
    bool Commit() {
        if (!m_open) return false;
        if (!(m_nested ? m_db.DirectStatement(u"release nested") : m_db.CommitTransaction())) return false;
        Close();
        return true;
    }

private:
    void RollBack() {
        if (m_nested) {
            m_db.DirectStatement(u"rollback to nested");
            m_db.DirectStatement(u"release nested");
        } else {
            m_db.RollbackTransaction();
        }
    }
    // The connections with an open transaction, innermost last; guarded by
    // g_csDatabase, which every transaction holds.
    static std::vector<CDbSqlite*>& Open() {
        static std::vector<CDbSqlite*> open;
        return open;
    }
    void Close() {
        m_open = false;
        Open().pop_back();
    }

    CDbSqlite& m_db;
    CDataStoreLock m_lock;
    bool m_open = false;
    bool m_nested = false;
};
