// The user pages in the real control panel on a factory device root: the
// fingerprint libraries of a chosen sensor generation over a simulated
// sensor, the template store and the user table, synthetic fingers to lay
// on the sensor, cards as the card reader hands them over, and probes that
// run checks from inside a script.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "data/FPTemplateStore.h"
#include "data/Records.h"
#include "data/UserStorage.h"
#include "tests/page_support/panel_fixture.h"

class UsersTest : public PanelTest {
protected:
    explicit UsersTest(int sensorVersion = 8);
    ~UsersTest() override;

    // Script lines: a press of synthetic finger `seed` (impression
    // `press`, its top `rowsOff` rows not on the sensor), an unusable press,
    // the finger lifted. The fixture's own
    // commands: "card HEX", "tapon NODE ID" (a tap on a page's control),
    // "probe N".
    std::string Finger(int seed, int press, int rowsOff = 0);
    std::string Smudge();
        // A line that runs `check` when the script reaches it.
    std::string Probe(std::function<void()> check);
    static std::vector<std::string> Type(const std::string& keys);
    // The keys and Enter.
    static std::vector<std::string> TypeAndEnter(const std::string& keys);
    static void Append(std::vector<std::string>& lines, const std::vector<std::string>& more) {
        lines.insert(lines.end(), more.begin(), more.end());
    }

    // Runs `lines` inside the panel opened at `node`; the panel is closed
    // with ESC presses at the end when still open.
    void RunAt(unsigned node, std::vector<std::string> lines);

    // The message boxes shown since the test began.
    std::vector<CString> Messages() const;
    CString LangText(const char16_t* section, const char16_t* key) const;
    CString LangFormat(const char16_t* section, const char16_t* key, int value) const;

    bool ReadUser(const CString& id, UserInfoRecord& user) const;
    int FingerRows(const CString& id) const;
    std::vector<BYTE> FingerBlob(const CString& id, int finger) const;
    std::string PhotoFile(const std::string& id) const { return root.HostPath("NandFlash/zeta42/ICON/" + id + ".jpg"); }
    CWnd* PageControl(unsigned node, int id) const;
    // The pixels of the page's screen that a fresh paint of the page and all
    // its windows, parent first, changes: paint left stale or missing.
    static int StalePixels(unsigned node);
    CString PageControlText(unsigned node, int id) const;

    const std::string sensorFolder;
    const std::string fingerFolder;
    CFPTemplateStore store;
    std::unique_ptr<CUserStorage> users;
    uint64_t journalStart = 0;

private:
    std::vector<std::function<void()>> m_probes;
};
