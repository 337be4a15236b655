#include "data/FileConnection.h"

#include <sqlite3.h>

#include "data/BusyTimeout.h"

CFileConnection::CFileConnection(const std::string& name, int flags) {
    m_openResult = sqlite3_open_v2(name.c_str(), &m_db, flags, nullptr);
    if (m_openResult != SQLITE_OK) {
        // A failed open still hands out a handle that must be released.
        m_openResult = sqlite3_extended_errcode(m_db);
        sqlite3_close(m_db);
        m_db = nullptr;
        return;
    }
    WaitForOtherPrograms(m_db);
}

CFileConnection::~CFileConnection() { Close(); }

int CFileConnection::Close() {
    const int closed = sqlite3_close(m_db);
    m_db = nullptr;
    return closed;
}
