#include "tests/users/users_fixture.h"

#include <algorithm>
#include <filesystem>

#include "core/CardInput.h"
#include "core/FpLibraries.h"
#include "core/LangText.h"
#include "core/SystemInit.h"
#include "data/DataGlobals.h"
#include "data/SqlHelpers.h"
#include "main/FingerCapture.h"
#include "platform/base/debug.h"
#include "platform/fp/sensorslot.h"
#include "platform/fp/synthfinger.h"
#include "platform/ui/display.h"
#include "tests/support/fresh_paint.h"
#include "users/UserRows.h"

namespace {

void CopySensorLibrary(const std::string& deviceFolder, int version) {
    if (version == 8) return;
    const std::string variant = std::string(FP_LIBRARY_DIR) + "/SMControl_WinCE_v" + std::to_string(version) + ".dll";
    std::filesystem::copy_file(variant, deviceFolder + "/SMControl_WinCE.dll",
                               std::filesystem::copy_options::overwrite_existing);
}

}  // namespace

UsersTest::UsersTest(int sensorVersion)
    : sensorFolder(root.HostPath("sensor")), fingerFolder(root.HostPath("fingers")) {
    std::filesystem::create_directories(sensorFolder);
    std::filesystem::create_directories(fingerFolder);
    CopySensorLibrary(root.HostPath("NandFlash/zeta42"), sensorVersion);
    SetSensorFolder(sensorFolder);
    g_cameraMode = 0;
    EXPECT_EQ(LoadFpControlDll(), 1);
    EXPECT_EQ(LoadFpProcessDll(), 1);
    EXPECT_EQ(LoadFpMatchDll(), 1);
    EXPECT_EQ(GetSensorVersion(), sensorVersion);
    ConnectDataStoreServices();
    store.Reset();
    g_pFPTemplateStore = &store;
    users = std::make_unique<CUserStorage>(*g_pDatabase);
    g_pUserStorage = users.get();
    journalStart = JournalLastSequence();
    ScriptDriver::RegisterCommand("finger", [folder = sensorFolder](const std::vector<std::string>& args, std::string*) {
        return PlaceFingerOnSensor(folder, args.at(0));
    });
    ScriptDriver::RegisterCommand("lift", [folder = sensorFolder](const std::vector<std::string>&, std::string*) {
        LiftFingerFromSensor(folder);
        return true;
    });
    // A tap on the middle of control ID of the page of NODE.
    ScriptDriver::RegisterCommand("tapon", [this](const std::vector<std::string>& args, std::string* error) {
        CWnd* control = PageControl(std::stoul(args.at(0)), std::stoi(args.at(1)));
        if (control == nullptr) return false;
        CRect area;
        control->GetWindowRect(area);
        ScriptDriver driver;
        return driver.Execute("tap " + std::to_string(area.CenterPoint().x) + " " +
                                  std::to_string(area.CenterPoint().y),
                              error);
    });
    // The card reader's service, as the I/O controller's reader calls it.
    ScriptDriver::RegisterCommand("card", [](const std::vector<std::string>& args, std::string*) {
        const std::string& digits = args.at(0);
        PostCardNumber(reinterpret_cast<const BYTE*>(digits.data()), static_cast<int>(digits.size()));
        return true;
    });
    ScriptDriver::RegisterCommand("probe", [this](const std::vector<std::string>& args, std::string*) {
        m_probes.at(std::stoul(args.at(0)))();
        return true;
    });
}

UsersTest::~UsersTest() {
    for (const char* command : {"finger", "lift", "card", "probe", "tapon"}) ScriptDriver::RegisterCommand(command, nullptr);
    LiftFingerFromSensor(sensorFolder);
    g_pFPTemplateStore = nullptr;
    g_pUserStorage = nullptr;
    g_strLastCardNo = u"";
    SetCardTarget(nullptr);
}

std::string UsersTest::Finger(int seed, int press, int rowsOff) {
    const std::string path = fingerFolder + "/f" + std::to_string(seed) + "_" + std::to_string(press) +
                             (rowsOff > 0 ? "_" + std::to_string(rowsOff) : std::string()) + ".bmp";
    if (!std::filesystem::exists(path)) {
        GreyImage finger = SynthesizeFinger(static_cast<uint32_t>(seed), static_cast<uint32_t>(press), 248, 280);
        std::fill_n(finger.pixels.begin(), std::min(rowsOff, finger.height) * finger.width, uint8_t{255});
        EXPECT_TRUE(WriteGreyBmp(path, finger));
    }
    return "finger " + path;
}

std::string UsersTest::Smudge() {
    const std::string path = fingerFolder + "/smudge.bmp";
    EXPECT_TRUE(WriteGreyBmp(path, SynthesizeSmudge(7, 248, 280)));
    return "finger " + path;
}

std::string UsersTest::Probe(std::function<void()> check) {
    m_probes.push_back(std::move(check));
    return "probe " + std::to_string(m_probes.size() - 1);
}

std::vector<std::string> UsersTest::Type(const std::string& keys) {
    std::vector<std::string> lines;
    for (char key : keys) lines.push_back(std::string("key ") + key);
    return lines;
}

std::vector<std::string> UsersTest::TypeAndEnter(const std::string& keys) {
    std::vector<std::string> lines = Type(keys);
    lines.push_back("key ENTER");
    return lines;
}

void UsersTest::RunAt(unsigned node, std::vector<std::string> lines) { RunPanelScript(node, std::move(lines), 4); }

std::vector<CString> UsersTest::Messages() const {
    std::vector<CString> texts;
    for (const JournalEntry& entry : JournalRead(kJournalMessageBox, journalStart)) texts.emplace_back(entry.text.c_str());
    return texts;
}

CString UsersTest::LangText(const char16_t* section, const char16_t* key) const {
    CString text;
    GetLangText(section, key, u"", text);
    return text;
}

CString UsersTest::LangFormat(const char16_t* section, const char16_t* key, int value) const {
    CString text;
    text.Format(LangText(section, key), value);
    return text;
}

bool UsersTest::ReadUser(const CString& id, UserInfoRecord& user) const {
    return ReadUserRow(*g_pDatabase, id, user);
}

int UsersTest::FingerRows(const CString& id) const {
    return QueryInt(*g_pDatabase, u"SELECT count(*) FROM FPinfo WHERE userid = ?", {id});
}

std::vector<BYTE> UsersTest::FingerBlob(const CString& id, int finger) const {
    CString sql;
    sql.Format(u"SELECT FPTemplate FROM FPinfo WHERE userid = ? AND fingerNO = %d", finger);
    StatementPtr row = PrepareBound(*g_pDatabase, sql, {id});
    if (!row->NextRow()) return {};
    int bytes = 0;
    const BYTE* data = static_cast<const BYTE*>(row->ValueBlob(0, bytes));
    return std::vector<BYTE>(data, data + bytes);
}

CWnd* UsersTest::PageControl(unsigned node, int id) const {
    CControlPanel* panel = CControlPanel::Open();
    CCPTreeBase* page = panel ? panel->PageOf(node) : nullptr;
    return page ? page->GetDlgItem(id) : nullptr;
}

int UsersTest::StalePixels(unsigned node) {
    RECT page;
    CControlPanel::Open()->PageOf(node)->GetWindowRect(&page);
    int count = 0;
    for (const StalePaint& area : FindStalePaint({})) {
        RECT overlap;
        if (IntersectRect(&overlap, &area.area, &page)) count += area.pixels;
    }
    return count;
}

CString UsersTest::PageControlText(unsigned node, int id) const {
    CString text;
    if (CWnd* control = PageControl(node, id)) control->GetWindowText(text);
    return text;
}
