// The backup and restore pages over a live database in use, and what the
// copies they make and take hold.
#pragma once

#include <filesystem>
#include <string>

#include "data/DataGlobals.h"
#include "data/SqlHelpers.h"
#include "tests/maintenance/DatabasePageTest.h"
#include "tests/support/users_in_log.h"

inline const char* const kFlashBackup = "NandFlash/KD4700.DB";
inline const char* const kUsbBackup = "USB Disk/KD4700.DB";
inline const CString kRestored = u"Database restored. The terminal restarts now!";
inline const CString kBackedUp = u"Backup done!";

class DatabaseCopiesTest : public DatabasePageTest {
protected:
    // `count` users with long names, left in the live database's log.
    void AddUsersToTheLog(int first, int count) { ::AddUsersToTheLog(root.HostPath(LiveDatabase()), first, count); }
    static int Users() { return QueryInt(*g_pDatabase, u"select count(*) from Userinfo"); }
    static CString Integrity() {
        StatementPtr check(g_pDatabase->Statement(u"pragma integrity_check"));
        return check->NextRow() ? CString(check->ValueString(0)) : CString(u"(no row)");
    }
    // The live database, whole, with `users` users, open, and no restart.
    void ExpectLiveDatabase(int users) {
        EXPECT_TRUE(g_pDatabase->IsOpen());
        EXPECT_EQ(Integrity(), u"ok");
        EXPECT_EQ(Users(), users);
        EXPECT_EQ(controller.State().restarts, 0);
        EXPECT_FALSE(std::filesystem::exists(root.HostPath(std::string(LiveDatabase()) + ".bak")));
    }
    // A backup of the database as it is now on the flash root, and a
    // restore from there.
    void BackUpToFlash() { OnPage(kBackupNode, Choose(1, {"answer ok", "key ENTER"})); }
    void RestoreFromFlash() { OnPage(kRestoreNode, Choose(1, {"answer ok", "key ENTER", "wait 600"})); }
    // No new file of a copy not finished beside the backup's place.
    void ExpectNoTemporaryIn(const std::string& folder) {
        for (const auto& entry : std::filesystem::directory_iterator(root.HostPath(folder)))
            EXPECT_EQ(entry.path().filename().string().find(".~tmp"), std::string::npos)
                << "left behind: " << entry.path();
    }
};
