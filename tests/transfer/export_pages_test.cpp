// The user export and record export pages, driven as a person drives them,
// their files read back by the test's own decoder.
#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>

#include "core/MachineConfig.h"
#include "data/DataGlobals.h"
#include "data/RecordStore.h"
#include "data/SqlHelpers.h"
#include "platform/base/atomic_file.h"
#include "platform/base/clock.h"
#include "platform/base/utf.h"
#include "platform/ui/display.h"
#include "platform/ui/longwork.h"
#include "platform/ui/textrun.h"
#include "tests/transfer/file_decoder.h"
#include "tests/transfer/transfer_fixture.h"
#include "transfer/StorageLocation.h"
#include "transfer/RecordExport.h"
#include "transfer/TransferFiles.h"
#include "transfer/TransferLoop.h"
#include "transfer/TransferPage.h"
#include "transfer/UserExport.h"
#include "widgets/PogressBar.h"

namespace {

class ExportPagesTest : public TransferTest {
protected:
    CString FlashFile(const char16_t* name) { return TransferFilePath(GetTransferFolder(StorageDeviceFlash), name); }
    // Presses the page's button (the focus starts on the storage box) with
    // the storage chosen by `rights` steps and the answers given.
    std::vector<std::string> Press(int rights, std::vector<std::string> answers) {
        std::vector<std::string> lines;
        for (int i = 0; i < rights; ++i) lines.push_back("key RIGHT");
        lines.push_back("key DOWN");
        for (const std::string& answer : answers) lines.push_back("answer " + answer);
        lines.insert(lines.end(), {"key ENTER", "progress"});
        return lines;
    }
    void AddRecords(int n, int firstUser) {
        for (int i = 0; i < n; ++i) {
            CheckinoutRecord record;
            record.Userid.Format(u"%d", firstUser + i);
            record.CheckTime.Format(u"2024-03-%02d %02d:%02d:07", 1 + i % 28, i % 24, i % 60);
            record.CheckType = i % 8;
            record.WorkNumberAndPassType = (i % 5) << 24;
            ASSERT_EQ(g_pRecordStore->AddRecord(record), 0);
        }
    }
};

TEST_F(ExportPagesTest, UserExportWritesEveryUserAndTemplateByteForByte) {
    PutUser({u"987654321098", u"87654321", u"张三", u"1", u"000123", 3, 0x4A, u"", 1, u"", 2, 0x0003});
    PutUser({u"2", u"", u"O'Brien", u"", u"", 0, 6, u"", 0, u"", 0, 0});
    const std::vector<BYTE> pair = SeededBlob(StoredTemplateSize, 1), old = SeededBlob(OldStoredTemplateSize, 2);
    PutTemplate(u"987654321098", 0, pair);
    PutTemplate(u"987654321098", 1, old);
    OnPage(1331, Press(0, {"yes", "ok"}));
    const DecodedFile<DecodedUser> users = DecodeUserFile(ReadHostFile(FlashFile(kUserFile28)));
    ASSERT_TRUE(users.ok);
    ASSERT_EQ(users.count, 2u);
    EXPECT_EQ(users.records[0].userid, 987654321098u);
    EXPECT_EQ(users.records[0].pwd, "000123");
    EXPECT_EQ(users.records[0].card, 87654321);
    EXPECT_EQ(users.records[0].nameUtf8, "张三");
    EXPECT_EQ(users.records[0].mask, 3);
    EXPECT_TRUE(users.records[0].admin);
    EXPECT_EQ(users.records[1].nameUtf8, "O'Brien");
    EXPECT_EQ(users.records[1].card, -1);
    EXPECT_EQ(users.records[1].pwd, "");
    const DecodedFile<DecodedFingerprint> templates = DecodeFingerprintFile(ReadHostFile(FlashFile(kFingerprintFile)));
    ASSERT_TRUE(templates.ok);
    ASSERT_EQ(templates.count, 2u) << "the header counts the records, not the template store (empty here)";
    EXPECT_EQ(templates.records[0].fingerByte, 1);
    EXPECT_EQ(templates.records[0].templ, std::string(pair.begin(), pair.end()));
    EXPECT_EQ(templates.records[1].fingerByte, 2);
    EXPECT_EQ(templates.records[1].templ.substr(0, 169), std::string(old.begin(), old.begin() + 169));
    EXPECT_EQ(templates.records[1].templ.substr(169), std::string(old.begin(), old.begin() + 169));
    EXPECT_EQ(Messages(), std::vector<std::u16string>({u"Export fingerprints too?", u"Export done"}));
    EXPECT_EQ(progress, std::vector<UINT>{100u});
}

TEST_F(ExportPagesTest, AnEmptyUserTableGivesTheHeaderAloneAndTheBarStaysAtZero) {
    g_pDatabase->DirectStatement(u"delete from Userinfo");
    std::vector<std::string> lines = Press(0, {"no"});
    lines.insert(lines.begin(), "progress 37");
    OnPage(1331, lines);
    EXPECT_EQ(ReadHostFile(FlashFile(kUserFile28)), std::string(3, '\0'));
    EXPECT_FALSE(std::filesystem::exists(Host(FlashFile(kFingerprintFile))));
    EXPECT_EQ(Messages(), std::vector<std::u16string>({u"Export fingerprints too?"})) << "users alone end quietly";
    EXPECT_EQ(progress, (std::vector<UINT>{37u, 0u}));
}

TEST_F(ExportPagesTest, AMissingMediumIsSaidAndWritesNothing) {
    OnPage(1331, Press(2, {"ok"}));
    OnPage(1332, Press(1, {"ok"}));
    EXPECT_EQ(Messages(), std::vector<std::u16string>({u"Folder not found. Is the medium inserted?",
                                                       u"Folder not found. Is the medium inserted?"}));
    EXPECT_FALSE(std::filesystem::exists(Host(u"\\USB Disk")));
    InsertMedium(StorageUSBDisk);
    PutUser({u"7", u"", u"", u"", u"", 0, 6, u"", 0, u"", 0, 0});
    OnPage(1331, Press(2, {"no"}));
    EXPECT_EQ(DecodeUserFile(ReadHostFile(u"\\USB Disk\\1\\Bak.yg2")).count, 1u);
}

// The transfer folder is the medium's folder named by the machine ID: a
// machine ID that is a path would put the files outside it, and a folder
// that is a link would put them wherever it leads. Both exports refuse and
// write nothing.
TEST_F(ExportPagesTest, AMachineIdThatIsAPathOrALinkedFolderWritesNothingOutside) {
    PutUser({u"7", u"", u"", u"", u"", 0, 6, u"", 0, u"", 0, 0});
    AddRecords(3, 1000);
    InsertMedium(StorageUSBDisk);
    std::vector<std::u16string> told;
    for (const char16_t* machineId : {u"..\\..\\Outside", u"../Outside", u"a:b"}) {
        g_MachineConfig.MachineID = machineId;
        OnPage(1331, Press(2, {"ok"}));
        OnPage(1332, Press(0, {"ok"}));
        const std::u16string said = u"The machine ID " + std::u16string(machineId) +
                                    u" cannot name a folder: nothing was exported!";
        told.insert(told.end(), {said, said});
        EXPECT_EQ(Messages(), told);
    }
    g_MachineConfig.MachineID = u"1";
    EXPECT_FALSE(std::filesystem::exists(Host(u"\\Outside")));
    EXPECT_FALSE(std::filesystem::exists(Host(u"\\NandFlash\\Outside")));

    const std::string elsewhere = Host(u"\\Elsewhere");
    std::filesystem::create_directories(elsewhere);
    std::filesystem::create_symlink(elsewhere, Host(u"\\USB Disk\\1"));
    OnPage(1331, Press(2, {"ok"}));
    OnPage(1332, Press(2, {"ok"}));
    const std::u16string said = u"The export folder \\USB Disk\\1 is no plain folder: nothing was exported!";
    told.insert(told.end(), {said, said});
    EXPECT_EQ(Messages(), told);
    EXPECT_TRUE(std::filesystem::is_empty(elsewhere)) << "nothing written through the link";
}

// The users and their templates go together: when either file cannot be
// put in place, neither is, the failure is said and no temporary is left.
TEST_F(ExportPagesTest, AFileThatCannotBeWrittenIsReportedAndNeitherFileIsReplaced) {
    PutUser({u"7", u"", u"", u"", u"", 0, 6, u"", 0, u"", 0, 0});
    for (const char16_t* blocked : {kFingerprintFile, kUserFile28}) {
        const char16_t* other = blocked == kFingerprintFile ? kUserFile28 : kFingerprintFile;
        std::filesystem::remove_all(Host(GetTransferFolder(StorageDeviceFlash)));
        WriteHostFile(FlashFile(other), "old");
        // The file cannot be put in place: a folder of its name holds a file.
        WriteHostFile(FlashFile(blocked) + u"\\keep", "x");
        OnPage(1331, Press(0, {"yes", "ok"}));
        EXPECT_EQ(ReadHostFile(FlashFile(other)), "old") << Utf16ToUtf8(blocked) << " could not be written";
        EXPECT_EQ(ReadHostFile(FlashFile(blocked) + u"\\keep"), "x");
        for (const auto& entry : std::filesystem::directory_iterator(Host(GetTransferFolder(StorageDeviceFlash))))
            EXPECT_TRUE(entry.path().filename() == "Bak.yg2" || entry.path().filename() == "Bak.zw")
                << "no temporary left: " << entry.path();
    }
    const std::u16string asked = u"Export fingerprints too?", failed = u"Export failed: a file could not be written!";
    EXPECT_EQ(Messages(), std::vector<std::u16string>({asked, failed, asked, failed}));
}

// What runs after each rename of a file replaced.
std::function<void()> g_onRename;

// An end asked for during an export (the window's close, a stop signal)
// ends the terminal at the export's next step, wherever that comes: at
// every step the folder holds the old pair of files or the new pair, never
// the new users beside the old templates. The templates are put in place
// first, so that not even a power cut between the two renames leaves that.
TEST_F(ExportPagesTest, AnEndAtAnyStepOfTheExportFindsBothFilesOldOrBothNew) {
    for (int i = 1; i <= 3; ++i) {
        const std::u16string id = std::u16string(1, static_cast<char16_t>(u'0' + i));
        PutUser({id, u"", u"", u"", u"", 0, 6, u"", 0, u"", 0, 1});
        PutTemplate(id, 0, SeededBlob(StoredTemplateSize, i));
    }
    WriteHostFile(FlashFile(kUserFile28), "old");
    WriteHostFile(FlashFile(kFingerprintFile), "old");
    const auto pair = [this] {
        return std::string(ReadHostFile(FlashFile(kUserFile28)) == "old" ? "old" : "new") + " users, " +
               (ReadHostFile(FlashFile(kFingerprintFile)) == "old" ? "old" : "new") + " templates";
    };
    std::vector<std::string> seen;
    // The handler of the test notes what the end would leave and lets the
    // work go on; the end stays asked, so it sees every step.
    SetLongWorkEndHandler([&] { seen.push_back(pair()); });
    std::vector<std::string> renamed;
    g_onRename = [&] { renamed.push_back(pair()); };
    SetAtomicStageHook([](AtomicStage stage) {
        if (stage == AtomicStage::Renamed) g_onRename();
    });
    PostQuitMessage(0);
    CTransferLoop loop(nullptr);
    const bool written = ExportUserFiles(GetTransferFolder(StorageDeviceFlash), true, loop, *g_pDatabase);
    SetAtomicStageHook(nullptr);
    g_onRename = nullptr;
    SetLongWorkEndHandler(nullptr);
    MSG quit;
    EXPECT_TRUE(PeekMessage(&quit, nullptr, 0, 0, PM_REMOVE) && quit.message == WM_QUIT);

    EXPECT_TRUE(written);
    EXPECT_EQ(pair(), "new users, new templates");
    ASSERT_FALSE(seen.empty());
    for (const std::string& files : seen)
        EXPECT_TRUE(files == "old users, old templates" || files == "new users, new templates") << files;
    EXPECT_EQ(renamed, (std::vector<std::string>{"old users, new templates", "new users, new templates"}));
}

// A failed export shows no progress as done: the bar is empty after the
// failure is said, whichever file could not be written.
TEST_F(ExportPagesTest, AFailedExportLeavesTheBarEmpty) {
    PutUser({u"7", u"", u"", u"", u"", 0, 6, u"", 0, u"", 0, 0});
    AddRecords(3, 1000);
    WriteHostFile(FlashFile(u"Bak.zw\\keep"), "x");
    WriteHostFile(FlashFile(u"Bak.kq\\keep"), "x");
    OnPage(1331, Press(0, {"yes", "ok"}));
    OnPage(1332, Press(0, {"yes", "ok"}));
    EXPECT_EQ(Messages(), std::vector<std::u16string>({u"Export fingerprints too?", u"Export failed: a file could not be written!",
                                                       u"Export all records? (No: new only)", u"Record export failed!"}));
    EXPECT_EQ(progress, std::vector<UINT>({0u, 0u}));
}

// The lightest and the darkest of the screen's pixels where the bar's
// percentage has its letters, by luminance (0-255).
std::pair<int, int> PercentageContrast(CPogressBar& bar) {
    std::vector<RECT> letters;
    SetTextRunObserver([&](const DrawnTextRun& run) { letters = run.letters; });
    bar.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    SetTextRunObserver(nullptr);
    CRect place;
    bar.GetWindowRect(place);
    int lightest = 0, darkest = 255;
    const Surface& screen = ScreenSurface();
    for (const RECT& r : letters)
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) {
                const Pixel p = screen.At(place.left + x, place.top + y);
                const int luminance = (299 * ((p >> 16) & 0xFF) + 587 * ((p >> 8) & 0xFF) + 114 * (p & 0xFF)) / 1000;
                lightest = std::max(lightest, luminance);
                darkest = std::min(darkest, luminance);
            }
    return {lightest, darkest};
}

// The percentage reads clearly over the empty track and over the full bar.
TEST_F(ExportPagesTest, ThePercentageStandsOutOnTheBarAtEveryFill) {
    std::vector<int> contrast;
    ScriptDriver::RegisterCommand("contrast", [&](const std::vector<std::string>&, std::string*) {
        auto* page = dynamic_cast<CTransferPage*>(CControlPanel::Open()->ShownPage());
        const auto [lightest, darkest] = PercentageContrast(page->ProgressBar());
        contrast.push_back(lightest - darkest);
        return true;
    });
    OnPage(1331, {"progress 0", "contrast", "progress 37", "contrast", "progress 100", "contrast"});
    ScriptDriver::RegisterCommand("contrast", nullptr);
    ASSERT_EQ(contrast.size(), 3u);
    for (int levels : contrast) EXPECT_GE(levels, 100) << "letters stand that many levels of 255 from their ground";
}

TEST_F(ExportPagesTest, RecordExportWritesTheWorkedExampleAndBatchesOf72) {
    CheckinoutRecord example;
    example.Userid = u"4294971956";
    example.CheckTime = u"2000-01-02 00:01:00";
    example.CheckType = 1;
    example.WorkNumberAndPassType = 5 << 24;
    ASSERT_EQ(g_pRecordStore->AddRecord(example), 0);
    AddRecords(149, 1000);
    OnPage(1332, Press(0, {"yes", "ok"}));
    const std::string bytes = ReadHostFile(FlashFile(kAttendanceFile));
    ASSERT_EQ(bytes.size(), 2103u);
    EXPECT_EQ(bytes.substr(0, 3), std::string("\x00\x00\x96", 3));
    EXPECT_EQ(bytes.substr(3, 14), std::string("\x01\x00\x00\x12\x34\x00\x00\x00\x3C\x05\x01\x00\x00\x00", 14));
    const DecodedFile<DecodedRecord> file = DecodeAttendanceFile(bytes);
    ASSERT_TRUE(file.ok);
    for (int i = 0; i < 149; ++i) {
        const DecodedRecord& r = file.records[1 + i];
        EXPECT_EQ(r.userid, 1000u + i);
        EXPECT_EQ(r.seconds, SecondsFromEpoch2000(2024, 3, 1 + i % 28, i % 24, i % 60, 7));
        EXPECT_EQ(r.checkType, i % 8);
        EXPECT_EQ(r.passType, i % 5);
        EXPECT_TRUE(r.zeroTail);
    }
    EXPECT_EQ(Messages().back(), u"Records exported!");
    EXPECT_EQ(progress, std::vector<UINT>{100u});
}

// The bar moves once a batch of 72 records is in the file: 300 records show
// 24, 48, 72 and 96 percent on the way, then the whole.
TEST_F(ExportPagesTest, RecordExportShowsItsProgressOnceABatchOf72) {
    AddRecords(300, 1000);
    std::vector<std::u16string> shown;
    SetTextRunObserver([&](const DrawnTextRun& run) {
        const std::u16string text(run.text);
        if (!text.ends_with(u"%")) return;
        if (shown.empty() || shown.back() != text) shown.push_back(text);
    });
    OnPage(1332, Press(0, {"yes", "ok"}));
    SetTextRunObserver(nullptr);
    EXPECT_EQ(shown, (std::vector<std::u16string>{u"0%", u"24%", u"48%", u"72%", u"96%", u"100%"}));
    EXPECT_EQ(DecodeAttendanceFile(ReadHostFile(FlashFile(kAttendanceFile))).count, 300u);
}

// A second record export on the same visit begins its file, and so its
// bar, before it asks which records are wanted: the question does not
// stand over the full bar of the export before.
TEST_F(ExportPagesTest, ASecondRecordExportEmptiesTheBarBeforeItsQuestion) {
    AddRecords(3, 1000);
    OnPage(1332, {"key DOWN", "answer yes", "answer ok", "key ENTER", "progress", "key ENTER", "progress",
                  "answer no", "answer ok", "progress"});
    EXPECT_EQ(progress, (std::vector<UINT>{100u, 0u, 100u}));
    EXPECT_EQ(Messages(), (std::vector<std::u16string>{u"Export all records? (No: new only)", u"Records exported!",
                                                       u"Export all records? (No: new only)", u"Records exported!"}));
    EXPECT_EQ(DecodeAttendanceFile(ReadHostFile(FlashFile(kAttendanceFile))).count, 3u) << "the three new records";
}

// The management software cleared the new records; one punch since is the
// only new record, and the export of new records sends it alone.
TEST_F(ExportPagesTest, AfterTheNewRecordsAreClearedOnlyALaterPunchIsExportedAsNew) {
    AddRecords(5, 1000);
    ASSERT_EQ(g_pRecordStore->ClearNewRecords(), 0);
    AddRecords(1, 2000);
    OnPage(1332, Press(0, {"no", "ok"}));
    const DecodedFile<DecodedRecord> file = DecodeAttendanceFile(ReadHostFile(FlashFile(kAttendanceFile)));
    ASSERT_TRUE(file.ok);
    ASSERT_EQ(file.count, 1u);
    EXPECT_EQ(file.records[0].userid, 2000u);
    EXPECT_EQ(Messages().back(), u"Records exported!");
}

// A copy of the database with a row of the ring gone: the export reads on
// past the gap and writes every record there is, and says how many of the
// counted records it wrote rather than that the export is done.
TEST_F(ExportPagesTest, ARowGoneFromTheRingIsPassedOverAndTheShortExportIsTold) {
    AddRecords(200, 1);
    ASSERT_TRUE(g_pDatabase->DirectStatement(u"delete from Checkinout where rowid = 50"));
    OnPage(1332, Press(0, {"yes", "ok"}));
    const DecodedFile<DecodedRecord> file = DecodeAttendanceFile(ReadHostFile(FlashFile(kAttendanceFile)));
    ASSERT_TRUE(file.ok);
    ASSERT_EQ(file.count, 199u);
    EXPECT_EQ(file.records[48].userid, 49u);
    EXPECT_EQ(file.records[49].userid, 51u);
    EXPECT_EQ(file.records.back().userid, 200u);
    EXPECT_EQ(Messages(), (std::vector<std::u16string>{u"Export all records? (No: new only)",
                                                       u"199 of 200 records exported: the others are missing from "
                                                       u"the database!"}));
    EXPECT_EQ(progress, std::vector<UINT>{99u}) << "not shown as done";
}

TEST_F(ExportPagesTest, AFullRingExportsItsWindowOnceOldestFirstAndEnds) {
    // A small ring wrapped more than once: every slot holds a row.
    delete g_pRecordStore;
    g_pRecordStore = new CRecordStore(*g_pDatabase, 144);
    g_pRecordStore->Reset();
    g_pDatabase->DirectStatement(u"delete from Checkinout");
    AddRecords(400, 1);
    ASSERT_EQ(g_pRecordStore->GetAllRecordcount(), 144u);
    OnPage(1332, Press(0, {"yes", "ok"}));
    DecodedFile<DecodedRecord> file = DecodeAttendanceFile(ReadHostFile(FlashFile(kAttendanceFile)));
    ASSERT_TRUE(file.ok);
    ASSERT_EQ(file.count, 144u);
    for (unsigned i = 0; i < 144; ++i) EXPECT_EQ(file.records[i].userid, 257u + i);
    // The new records: the newest 10 after the management software took the rest.
    ASSERT_EQ(g_pRecordStore->ConsumeNewRecords(134), 0);
    OnPage(1332, Press(0, {"no", "ok"}));
    file = DecodeAttendanceFile(ReadHostFile(FlashFile(kAttendanceFile)));
    ASSERT_EQ(file.count, 10u);
    EXPECT_EQ(file.records.front().userid, 391u);
    EXPECT_EQ(file.records.back().userid, 400u);
    EXPECT_EQ(g_pRecordStore->GetNewRecordcount(), 10u) << "the export consumes nothing";
    // An empty window: the header alone, the bar full.
    ASSERT_EQ(g_pRecordStore->ConsumeNewRecords(10), 0);
    OnPage(1332, Press(0, {"no", "ok"}));
    EXPECT_EQ(ReadHostFile(FlashFile(kAttendanceFile)), std::string(3, '\0'));
    EXPECT_EQ(progress, std::vector<UINT>({100u, 100u, 100u}));
}

TEST_F(ExportPagesTest, ALongRecordExportFeedsTheWatchdogAsTimePassesButNotInDebugMode) {
    g_pDatabase->DirectStatement(
        u"INSERT INTO Checkinout(rowid, Userid, CheckTime, CheckType, IsDownLoad, WorkNumberAndPassType) "
        u"WITH RECURSIVE s(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM s WHERE n < 30000) "
        u"SELECT n, n, '2024-01-01 08:00:00', 0, 0, 0 FROM s");
    g_pDatabase->DirectStatement(u"update BasePara set AllRecordcount=30000, NewRecordcount=30000");
    delete g_pRecordStore;
    g_pRecordStore = new CRecordStore(*g_pDatabase);
    const CString path = TransferFilePath(GetTransferFolder(StorageDeviceFlash), kAttendanceFile);
    ASSERT_TRUE(EnsureTransferFolder(GetTransferFolder(StorageDeviceFlash)));
    for (int debug : {0, 1}) {
        g_MachineConfig.DEBUGMODE = debug;
        ControllerBytes();
        // The clock runs on meanwhile, a second per millisecond.
        std::atomic<bool> done{false};
        std::thread clock([&] {
            while (!done) {
                AdvanceVirtualClock(1000);
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        });
        CTransferLoop loop(nullptr);
        const bool written = ExportAttendanceRecords(path, true, loop, *g_pRecordStore);
        done = true;
        clock.join();
        ASSERT_TRUE(written);
        const std::vector<BYTE> sent = ControllerBytes();
        if (debug) {
            EXPECT_TRUE(sent.empty());
            continue;
        }
        ASSERT_FALSE(sent.empty());
        ASSERT_EQ(sent.size() % 4, 0u);
        for (size_t i = 0; i < sent.size(); i += 4)
            EXPECT_EQ(std::vector<BYTE>(sent.begin() + i, sent.begin() + i + 4), (std::vector<BYTE>{0xFE, 1, 1, 0xFE}));
    }
    EXPECT_EQ(DecodeAttendanceFile(ReadHostFile(path)).count, 30000u);
}

TEST_F(ExportPagesTest, PagesKeepThreeStorageItemsAndMatchTheirPictures) {
    // Entered twice: the storage box still steps through three items.
    OnPage(1332, {"key ESC", "key ENTER", "key RIGHT", "key RIGHT", "key RIGHT", "golden transfer_record_export_page"});
    EXPECT_TRUE(golden);
    OnPage(1331, {"golden transfer_user_export_page"});
    EXPECT_TRUE(golden);
    OnPage(1331, {"key DOWN", "progress 37", "golden transfer_user_export_progress"});
    EXPECT_TRUE(golden);
}

}  // namespace
