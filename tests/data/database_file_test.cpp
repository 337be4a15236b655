// The database's write-ahead log: the mode every opening sets and the
// factory file carries, and a file put in the database's place never
// meeting the log of the one it replaces.
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "DataTestSupport.h"
#include "data/DatabaseFile.h"
#include "data/SqlHelpers.h"

namespace {

namespace fs = std::filesystem;

class DatabaseFileTest : public DataStoreTest {
protected:
    fs::path Host(const char* relative) const { return root.HostPath(relative); }
    bool Exists(const char* relative) const { return fs::exists(Host(relative)); }
    // Byte 18 of the file header: 1 rollback journal, 2 write-ahead log.
    int HeaderMode() const { return static_cast<unsigned char>(root.ReadFile("DB/KD4700.DB").at(18)); }

    // A process that commits a user and dies without closing, as at a
    // power cut: the commit lives only in the log beside the file.
    void CommitAUserAndDie() {
        db.Close();
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            CDbSqlite writer;
            const bool ok = writer.Open(kTestDbPath) &&
                            writer.DirectStatement(u"insert into Userinfo (Userid, Name) values ('7', 'Ann')");
            _exit(ok ? 0 : 1);
        }
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        ASSERT_TRUE(Exists("DB/KD4700.DB-wal"));
        ASSERT_GT(fs::file_size(Host("DB/KD4700.DB-wal")), 0u);
    }
};

TEST_F(DatabaseFileTest, TheFactoryFileAndEveryOpeningUseTheLogWithFullSyncs) {
    EXPECT_EQ(Text(u"PRAGMA journal_mode"), u"wal");
    EXPECT_EQ(Int(u"PRAGMA synchronous"), 2);  // FULL
    ASSERT_TRUE(db.DirectStatement(u"insert into Userinfo (Userid, Name) values ('7', 'Ann')"));
    db.Close();
    // Closing folds the log into the file: the file alone is the database.
    EXPECT_FALSE(Exists("DB/KD4700.DB-wal"));
    EXPECT_FALSE(Exists("DB/KD4700.DB-shm"));
    EXPECT_EQ(HeaderMode(), 2);
}

TEST_F(DatabaseFileTest, AStatementLeftBetweenRowsKeepsNoWriteFromTheFileAtClose) {
    ASSERT_TRUE(db.DirectStatement(u"insert into Userinfo (Userid, Name) values ('1', 'Al'), ('2', 'Bo')"));
    // A read stopped after its first row, as a page that found what it
    // looked for leaves it; the writes after it, as an import makes them.
    StatementPtr reading(db.Statement(u"select Userid from Userinfo"));
    ASSERT_TRUE(reading->NextRow());
    ASSERT_TRUE(db.DirectStatement(u"insert into Userinfo (Userid, Name) values ('3', 'Cy')"));
    db.Close();
    EXPECT_FALSE(Exists("DB/KD4700.DB-wal") && fs::file_size(Host("DB/KD4700.DB-wal")) > 0)
        << "the log still holds writes";
    // The file alone, as a person copies it.
    fs::copy_file(Host("DB/KD4700.DB"), Host("DB/copy.DB"));
    ASSERT_TRUE(db.Open(u"\\DB\\copy.DB"));
    EXPECT_EQ(Int(u"select count(*) from Userinfo"), 3);
    db.Close();
    reading.reset();
}

TEST_F(DatabaseFileTest, AnOpeningRecoversWhatTheLogHolds) {
    CommitAUserAndDie();
    ASSERT_TRUE(db.Open(kTestDbPath));
    EXPECT_EQ(Int(u"select count(*) from Userinfo where Userid = '7'"), 1);
    EXPECT_EQ(Text(u"PRAGMA integrity_check"), u"ok");
}

TEST_F(DatabaseFileTest, AReplacementNeverMeetsTheLogOfTheFileItReplaces) {
    db.Close();
    fs::create_directories(Host("DB/back"));
    fs::copy_file(Host("DB/KD4700.DB"), Host("DB/back/KD4700.bak"));
    CommitAUserAndDie();

    ASSERT_TRUE(ReplaceDatabaseWithCopy(u"\\DB\\back\\KD4700.bak", kTestDbPath));
    EXPECT_FALSE(Exists("DB/KD4700.DB-wal"));
    EXPECT_FALSE(Exists("DB/KD4700.DB-shm"));
    EXPECT_EQ(root.ReadFile("DB/KD4700.DB"), root.ReadFile("DB/back/KD4700.bak"));
    ASSERT_TRUE(db.Open(kTestDbPath));
    EXPECT_EQ(Int(u"select count(*) from Userinfo"), 0);
    EXPECT_EQ(Text(u"PRAGMA integrity_check"), u"ok");
}

TEST_F(DatabaseFileTest, WithoutACopyTheDatabaseKeepsItsLog) {
    CommitAUserAndDie();
    EXPECT_FALSE(ReplaceDatabaseWithCopy(u"\\DB\\back\\KD4700.bak", kTestDbPath));
    EXPECT_FALSE(ReplaceDatabaseWithCopy(u"\\DB", kTestDbPath));  // a folder is no copy
    ASSERT_TRUE(db.Open(kTestDbPath));
    EXPECT_EQ(Int(u"select count(*) from Userinfo where Userid = '7'"), 1);
}

}  // namespace
