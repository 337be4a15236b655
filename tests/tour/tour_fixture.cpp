#include "tests/tour/tour_fixture.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "core/AccessTables.h"
#include "core/AppMessageBox.h"
#include "core/ConfigXml.h"
#include "core/DatabaseOpen.h"
#include "core/LangText.h"
#include "core/MachineConfig.h"
#include "data/DataGlobals.h"
#include "platform/base/device_fs.h"
#include "platform/base/localtime.h"
#include "tests/support/text_fit.h"
#include "tests/tour/paint_allowances.h"
#include "transfer/StorageLocation.h"
#include "users/CPTreeRegFP.h"

namespace {

// Fourteen users (more than two pages of the search list) and fifteen
// records of today (more than two pages of the record list).
constexpr int kUsers = 14;
constexpr int kRecords = 15;

void StoreUsers() {
    for (int id = 1; id <= kUsers; ++id) {
        CString sql;
        sql.Format(u"INSERT INTO Userinfo VALUES ('%d','','User %d','0','',1,6,'',0,'',0,0)", id, id);
        ASSERT_TRUE(g_pDatabase->DirectStatement(sql));
    }
}

void StoreTodaysRecords(CRecordStore& records) {
    SYSTEMTIME today;
    GetLocalTime(&today);
    for (int i = 0; i < kRecords; ++i) {
        CheckinoutRecord record;
        record.Userid.Format(u"%d", 1 + i % kUsers);
        record.CheckTime.Format(u"%04d-%02d-%02d 08:%02d:00", today.wYear, today.wMonth, today.wDay, i);
        ASSERT_EQ(records.AddRecord(record), 0);
    }
}

// A file name for the pictures kept of a step that failed.
std::string PictureName(const std::string& language, const std::string& step) {
    std::string name = "tour-" + language + "-" + step;
    std::replace_if(name.begin(), name.end(), [](unsigned char c) { return !std::isalnum(c) && c != '-'; }, '_');
    return name;
}

}  // namespace

TourTest::TourTest() : m_records(std::make_unique<CRecordStore>(*g_pDatabase)) {
    // The settings pages store into the device's settings file.
    EXPECT_TRUE(g_ConfigDoc.ReadFromFile(GetConfigFilePath()));
    // The zone pages compare with the zones loaded at start-up.
    EnsureAutoFnTable();
    g_MachineConfig.AccessZoneTable.Clear();
    LoadAccessTimeZones();
    g_pRecordStore = m_records.get();
    StoreUsers();
    StoreTodaysRecords(*m_records);
    // Every removable medium is inserted.
    for (int location = 0; location < 3; ++location)
        std::filesystem::create_directories(DeviceToHostPath(GetStorageRoot(location).GetString()));
    // The plain system box, as start-up shows it, over whatever is shown.
    ScriptDriver::RegisterCommand("systembox", [](const std::vector<std::string>&, std::string*) {
        AfxMessageBox(u"A system box");
        return true;
    });
}

TourTest::~TourTest() {
    ScriptDriver::RegisterCommand("systembox", nullptr);
    g_pRecordStore = nullptr;
    g_ConfigDoc.ParseText(u"");
    g_MachineConfig.AccessZoneTable.Clear();
    g_MachineConfig.LanguageName = u"English";
}

void TourTest::CheckEachStepIn(const std::string& language) {
    AfterEachStep([language](const std::string& step) {
        // The stale paint first: the text check paints every window again.
        const std::vector<StalePaint> stale = FindStalePaint(LivePaint(), PictureName(language, step));
        EXPECT_TRUE(stale.empty()) << step << " (" << language << "):\n" << Describe(stale);
        const std::vector<TextMisfit> misfits = FindTextMisfits();
        EXPECT_TRUE(misfits.empty()) << step << " (" << language << "):\n" << Describe(misfits);
    });
}

void TourTest::Walk(const char16_t* language) { Walk(language, Tour()); }

void TourTest::Walk(const char16_t* language, const std::vector<TourStep>& steps) {
    g_MachineConfig.LanguageName = language;
    ASSERT_TRUE(g_LangDoc.ReadFromFile(GetLanguageFilePath()));
    std::vector<std::string> script;
    for (const TourStep& step : steps) {
        Append(script, step.lines);
        script.push_back(Probe([this, name = step.name] {
            ++stepsTaken;
            for (const StepCheck& check : m_checks) check(name);
        }));
    }
    RunAt(CCPTreeRegFP::kNode, script);
    EXPECT_FALSE(ScriptFailed()) << "the tour ran to its end with no box left waiting";
    EXPECT_EQ(TakeMessageBoxAnswer(0), 0) << "every answer the tour gave found its box";
}
