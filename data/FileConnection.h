// A connection of its own on one database file, apart from the terminal's
// live one: a copy being checked, taken or put in place. It waits for
// other programs as every connection does, and is closed with the object.
#pragma once

#include <string>

struct sqlite3;

class CFileConnection {
public:
    // `name` is a host path or URI, `flags` sqlite3_open_v2's.
    CFileConnection(const std::string& name, int flags);
    ~CFileConnection();
    CFileConnection(const CFileConnection&) = delete;
    CFileConnection& operator=(const CFileConnection&) = delete;

    explicit operator bool() const { return m_db != nullptr; }
    sqlite3* Handle() const { return m_db; }
    // SQLite's extended code for why it did not open.
    int OpenResult() const { return m_openResult; }
    // SQLite's code for the close: a file whose last writes could not be
    // synced closes with an error.
    int Close();

private:
    sqlite3* m_db = nullptr;
    int m_openResult;
};
