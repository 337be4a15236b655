#include "data/DatabaseFile.h"

#include "platform/base/CString.h"
#include "platform/base/files.h"

bool ReplaceDatabaseWithCopy(LPCWSTR copy, LPCWSTR database) {
    const DWORD attributes = GetFileAttributesW(copy);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
    // Removed before the copy lands: a crash in between leaves the file
    // that was being replaced without its log, never the new file with the
    // old log.
    const CString path(database);
    for (const char16_t* log : {u"-wal", u"-shm"}) DeleteFileW(path + log);
    return CopyFileW(copy, database, FALSE);
}
