// records DIR N [--from YYYY-MM-DD] [--to YYYY-MM-DD] [--ids ID,ID,...] [--wait]
// Adds N attendance records to the device folder DIR, for its users (or for
// the IDs given), spread over the date range (default: the 30 days up to
// today), through the data store's own record-adding path, so the record
// ring's counters stay right; all of them, or none when cut short. A folder
// a terminal is running on is refused, or with --wait waited for until that
// terminal ends. A batch the database refuses (another program holds it,
// the flash is full) adds nothing, and standard error says why in the
// terminal's words.
// Exit status: 0 added; 1 refused or failed; 2 a bad command line.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "core/DatabaseOpen.h"
#include "core/QuillonApp.h"
#include "core/SystemLocks.h"
#include "data/DataGlobals.h"
#include "core/LangText.h"
#include "core/MachineConfig.h"
#include "core/SystemInit.h"
#include "data/DataLocks.h"
#include "data/RecordStore.h"
#include "data/SqlHelpers.h"
#include "platform/base/device_fs.h"
#include "platform/base/lasterror.h"
#include "platform/base/sync.h"
#include "platform/base/utf.h"
#include "tools/records/record_plan.h"
#include "tools/records/record_writer.h"

namespace {

constexpr char kUsage[] =
    "usage: records DIR N [--from YYYY-MM-DD] [--to YYYY-MM-DD] [--ids ID,ID,...] [--wait]\n"
    "  adds N attendance records to the device folder DIR for its users (or the IDs given),\n"
    "  spread over the dates (default: the 30 days up to today), in working hours\n"
    "  --wait  waits for a terminal running on DIR to end instead of refusing the folder\n";
constexpr int kMaxRecords = 1000000;
constexpr size_t kMaxIdDigits = 24;

struct Options {
    std::string root;
    int count = 0;
    CalendarDate from;
    CalendarDate to;
    std::vector<std::string> ids;
    bool wait = false;
};

int Usage(const std::string& why) {
    std::fprintf(stderr, "records: %s\n%s", why.c_str(), kUsage);
    return 2;
}

int Fail(const std::string& why) {
    std::fprintf(stderr, "records: %s\n", why.c_str());
    return 1;
}

CalendarDate Today(int daysBefore) {
    const std::time_t now = std::time(nullptr) - static_cast<std::time_t>(daysBefore) * 86400;
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

bool IsUserId(const std::string& id) {
    return !id.empty() && id.size() <= kMaxIdDigits && id.find_first_not_of("0123456789") == std::string::npos;
}

// The options, or an error text in `why`.
bool ParseOptions(int argc, char** argv, Options& options, std::string& why) {
    std::vector<std::string> positional;
    options.from = Today(29);
    options.to = Today(0);
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--wait") {
            options.wait = true;
        } else if (arg == "--from" || arg == "--to") {
            const std::optional<CalendarDate> date = hasValue ? ParseCalendarDate(argv[++i]) : std::nullopt;
            if (!date) return why = arg + " needs a date YYYY-MM-DD (1970 to 2099)", false;
            (arg == "--from" ? options.from : options.to) = *date;
        } else if (arg == "--ids") {
            if (!hasValue) return why = "--ids needs user IDs separated by commas", false;
            std::string list = argv[++i];
            for (size_t start = 0; start <= list.size();) {
                const size_t comma = std::min(list.find(',', start), list.size());
                const std::string id = list.substr(start, comma - start);
                if (!IsUserId(id)) return why = "not a user ID: \"" + id + "\" (digits only)", false;
                options.ids.push_back(id);
                start = comma + 1;
            }
        } else if (arg.rfind("--", 0) == 0) {
            return why = "unknown option " + arg, false;
        } else {
            positional.push_back(arg);
        }
    }
    if (positional.size() != 2) return why = "give the device folder and the number of records", false;
    options.root = positional[0];
    char* end = nullptr;
    const long count = std::strtol(positional[1].c_str(), &end, 10);
    if (*end != 0 || count < 1 || count > kMaxRecords)
        return why = "the number of records must be 1 to " + std::to_string(kMaxRecords), false;
    options.count = static_cast<int>(count);
    const auto day = [](CalendarDate d) { return d.year * 10000 + d.month * 100 + d.day; };
    if (day(options.from) > day(options.to)) return why = "--from lies after --to", false;
    return true;
}

// The terminal's single-instance name, held so that no terminal starts on
// the folder while records are added.
class FolderHold {
public:
    // False when a terminal runs there (after waiting for it to end, with
    // `wait`).
    bool Take(bool wait, const std::string& root);
    ~FolderHold() {
        if (m_name != nullptr) CloseHandle(m_name);
    }

private:
    HANDLE m_name = nullptr;
};

bool FolderHold::Take(bool wait, const std::string& root) {
    for (bool told = false;;) {
        m_name = CreateMutexW(nullptr, FALSE, kQuillonMutexName);
        if (m_name != nullptr && GetLastError() != ERROR_ALREADY_EXISTS) return true;
        if (m_name != nullptr) CloseHandle(m_name);
        m_name = nullptr;
        if (!wait) return false;
        if (!told) std::fprintf(stderr, "records: waiting for the terminal running on %s to end\n", root.c_str());
        told = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
}

// A refused write is told in the words the terminal on the folder uses.
void UseTerminalLanguage() {
    CString language;
    if (g_MachineConfig.ReadRegString(u"LanguageName", language)) g_MachineConfig.LanguageName = language;
    ReadLanguageFile();
    ConnectDataStoreServices();
}

std::vector<std::string> UserIds(CDbSqlite& db) {
    std::vector<std::string> ids;
    StatementPtr rows = PrepareBound(db, u"SELECT Userid FROM Userinfo ORDER BY length(Userid), Userid");
    while (rows->NextRow()) ids.push_back(Utf16ToUtf8(rows->ValueString(0)));
    return ids;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    std::string why;
    if (!ParseOptions(argc, argv, options, why)) return Usage(why);
    std::error_code error;
    if (!std::filesystem::is_directory(std::filesystem::path(options.root) / "NandFlash" / "zeta42", error))
        return Fail(options.root + " is not a device folder (quillon --init-root " + options.root + " makes one)");
    SetDeviceRoot(options.root);
    FolderHold hold;
    if (!hold.Take(options.wait, options.root))
        return Fail("a terminal is running on " + options.root + "; end it first, or give --wait");

    InitSystemLocks();
    InitDataStoreLocks();
    UseTerminalLanguage();
    // Closed as the terminal closes it, its write-ahead log folded back.
    struct OpenedDatabase {
        ~OpenedDatabase() { CloseDatabase(); }
    } opened;
    if (!OpenDatabase() || !CheckDatabase())
        return Fail("the database of " + options.root + " cannot be opened or is damaged");
    const std::vector<std::string> users = options.ids.empty() ? UserIds(*g_pDatabase) : options.ids;
    if (users.empty()) return Fail(options.root + " has no users: enrol some, or give --ids");

    CRecordStore store(*g_pDatabase, RecordRingCapacity);
    const std::vector<PlannedRecord> planned = PlanRecords(users, options.count, options.from, options.to);
    if (const DatabaseFailure refused = AddPlannedRecords(store, planned); refused != DatabaseFailure::None)
        return Fail(NothingAddedText(refused, planned.size(), options.root));
    std::printf("records: added %d records of %zu users, %s to %s; %s now holds %u records, %u of them new\n",
                options.count, users.size(), planned.front().checkTime.substr(0, 10).c_str(),
                planned.back().checkTime.substr(0, 10).c_str(), options.root.c_str(), store.GetAllRecordcount(),
                store.GetNewRecordcount());
    return 0;
}
