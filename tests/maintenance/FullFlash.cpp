#include "tests/maintenance/FullFlash.h"

#include <sqlite3.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <limits>

#include "core/DatabaseOpen.h"
#include "data/DataGlobals.h"
#include "data/DbSqlite.h"

// Named: the sources of a test program are compiled together.
namespace full_flash {

struct Room {
    std::string folder;
    int64_t freeBytes = 0;
    bool refused = false;
    sqlite3_vfs* real = nullptr;
    bool broken = false;
};
Room g_room;
sqlite3_vfs g_vfs;

// SQLite's file object, the real one right after it.
struct RoomFile {
    sqlite3_file base;
    sqlite3_file* real;
    bool counted;
};

sqlite3_file* Real(sqlite3_file* file) { return reinterpret_cast<RoomFile*>(file)->real; }

int Write(sqlite3_file* file, const void* data, int amount, sqlite3_int64 offset) {
    sqlite3_file* real = Real(file);
    if (reinterpret_cast<RoomFile*>(file)->counted) {
        if (g_room.broken) return SQLITE_IOERR_WRITE;
        sqlite3_int64 size = 0;
        if (real->pMethods->xFileSize(real, &size) != SQLITE_OK) return SQLITE_IOERR_WRITE;
        const int64_t growth = std::max<int64_t>(0, offset + amount - size);
        if (growth > g_room.freeBytes) {
            g_room.refused = true;
            return SQLITE_FULL;
        }
        g_room.freeBytes -= growth;
    }
    return real->pMethods->xWrite(real, data, amount, offset);
}

int Close(sqlite3_file* file) { return Real(file)->pMethods->xClose(Real(file)); }
int Read(sqlite3_file* file, void* data, int amount, sqlite3_int64 offset) {
    return Real(file)->pMethods->xRead(Real(file), data, amount, offset);
}
// What a file gives up is room again.
int Truncate(sqlite3_file* file, sqlite3_int64 size) {
    sqlite3_file* real = Real(file);
    sqlite3_int64 before = 0;
    if (real->pMethods->xFileSize(real, &before) != SQLITE_OK) return SQLITE_IOERR_TRUNCATE;
    const int truncated = real->pMethods->xTruncate(real, size);
    if (truncated == SQLITE_OK && reinterpret_cast<RoomFile*>(file)->counted) {
        const int64_t given = std::max<sqlite3_int64>(0, before - size);
        const int64_t most = std::numeric_limits<int64_t>::max();
        g_room.freeBytes = g_room.freeBytes > most - given ? most : g_room.freeBytes + given;
    }
    return truncated;
}
int Sync(sqlite3_file* file, int flags) { return Real(file)->pMethods->xSync(Real(file), flags); }
int FileSize(sqlite3_file* file, sqlite3_int64* size) { return Real(file)->pMethods->xFileSize(Real(file), size); }
int Lock(sqlite3_file* file, int level) { return Real(file)->pMethods->xLock(Real(file), level); }
int Unlock(sqlite3_file* file, int level) { return Real(file)->pMethods->xUnlock(Real(file), level); }
int CheckReservedLock(sqlite3_file* file, int* out) {
    return Real(file)->pMethods->xCheckReservedLock(Real(file), out);
}
int FileControl(sqlite3_file* file, int op, void* arg) { return Real(file)->pMethods->xFileControl(Real(file), op, arg); }
int SectorSize(sqlite3_file* file) { return Real(file)->pMethods->xSectorSize(Real(file)); }
int DeviceCharacteristics(sqlite3_file* file) { return Real(file)->pMethods->xDeviceCharacteristics(Real(file)); }
int ShmMap(sqlite3_file* file, int page, int size, int extend, void volatile** out) {
    return Real(file)->pMethods->xShmMap(Real(file), page, size, extend, out);
}
int ShmLock(sqlite3_file* file, int offset, int n, int flags) {
    return Real(file)->pMethods->xShmLock(Real(file), offset, n, flags);
}
void ShmBarrier(sqlite3_file* file) { Real(file)->pMethods->xShmBarrier(Real(file)); }
int ShmUnmap(sqlite3_file* file, int remove) { return Real(file)->pMethods->xShmUnmap(Real(file), remove); }
int Fetch(sqlite3_file* file, sqlite3_int64 offset, int amount, void** out) {
    return Real(file)->pMethods->xFetch(Real(file), offset, amount, out);
}
int Unfetch(sqlite3_file* file, sqlite3_int64 offset, void* page) {
    return Real(file)->pMethods->xUnfetch(Real(file), offset, page);
}

const sqlite3_io_methods kMethods = {3,        Close,    Read,    Write,    Truncate,          Sync,
                                     FileSize, Lock,     Unlock,  CheckReservedLock, FileControl,
                                     SectorSize, DeviceCharacteristics, ShmMap, ShmLock, ShmBarrier,
                                     ShmUnmap, Fetch,    Unfetch};

int Open(sqlite3_vfs*, const char* name, sqlite3_file* file, int flags, int* outFlags) {
    RoomFile* own = reinterpret_cast<RoomFile*>(file);
    own->real = reinterpret_cast<sqlite3_file*>(own + 1);
    own->counted = name && std::string(name).rfind(g_room.folder, 0) == 0;
    own->base.pMethods = nullptr;
    const int opened = g_room.real->xOpen(g_room.real, name, own->real, flags, outFlags);
    if (own->real->pMethods) own->base.pMethods = &kMethods;
    return opened;
}

void ReopenLiveDatabase() {
    g_pDatabase->Close();
    EXPECT_TRUE(g_pDatabase->Open(GetDatabasePath()));
}

void Install(const std::string& hostFolder) {
    // SQLite names the files by their path with links resolved.
    g_room = Room{std::filesystem::weakly_canonical(hostFolder).string(), std::numeric_limits<int64_t>::max(), false,
                  sqlite3_vfs_find(nullptr)};
    g_vfs = *g_room.real;
    g_vfs.zName = "fullflash";
    g_vfs.pNext = nullptr;
    g_vfs.szOsFile = static_cast<int>(sizeof(RoomFile)) + g_room.real->szOsFile;
    g_vfs.xOpen = Open;
    sqlite3_vfs_register(&g_vfs, 1);
    ReopenLiveDatabase();
}

void Uninstall() {
    g_pDatabase->Close();
    sqlite3_vfs_register(g_room.real, 1);
    sqlite3_vfs_unregister(&g_vfs);
    EXPECT_TRUE(g_pDatabase->Open(GetDatabasePath()));
}

}  // namespace full_flash

FullFlash::FullFlash(const std::string& hostFolder) { full_flash::Install(hostFolder); }

FullFlash::~FullFlash() { full_flash::Uninstall(); }

void FullFlash::LeaveFree(int64_t bytes) { full_flash::g_room.freeBytes = bytes; }

bool FullFlash::Refused() { return full_flash::g_room.refused; }

int64_t FullFlash::Free() { return full_flash::g_room.freeBytes; }

void FullFlash::BreakWrites() { full_flash::g_room.broken = true; }
