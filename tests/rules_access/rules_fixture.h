// A terminal for the rule pages: the panel fixture with the settings file
// loaded into the settings object, the access tables loaded from the
// database as start-up does, and the I/O controller's line on a pty whose
// far end the test reads.
#pragma once

#include <sys/types.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/dev/pty.h"
#include "tests/page_support/panel_fixture.h"

class RulesTest : public PanelTest {
protected:
    RulesTest();
    ~RulesTest() override;

    // Opens the page of `node` from the menu, runs `lines` on it and closes
    // the panel with three ESCs (page, its menu, the top menu); a page that refuses to
    // go ends the loop with "quit" rather than hang the test.
    void OnPage(UINT node, std::vector<std::string> lines);
    // Lines run with "look": `look` is called each time (with its count).
    std::function<void(int)> look;
    // "put ID TEXT" gives the shown page's control ID the text (the rest
    // of the line, blanks included; "put ID" empties it), as a person
    // typing on the on-screen keyboard would.
    static std::string Put(int id, const std::string& text) { return "put " + std::to_string(id) + " " + text; }

    // The page shown now, and what its control `id` shows (a select box's
    // current item, else the window text).
    static CCPTreeBase* ShownPage();
    static CString Shown(int id);
    // How many items the shown page's select box `id` lists. The box tells
    // only through SetCurSel, which ignores an index past the end (its
    // neighbouring items differ); the current item is put back.
    static int ItemCount(int id);
    // Opens the page of `node`, types the two fields (`first`, `second`:
    // control id and text) and tries to leave; a refusal is answered, the
    // focus noted in `focusAfterLeave` (-1 when the page went) and the
    // fields given the numbers `storedFirst`, `storedSecond` so that the
    // page can go. What the two fields showed after the refusal is noted
    // in `keptAfterLeave`.
    void TryLeave(UINT node, std::pair<int, std::string> first, std::pair<int, std::string> second, int storedFirst,
                  int storedSecond);
    std::vector<int> focusAfterLeave;
    std::vector<std::pair<std::string, std::string>> keptAfterLeave;
    // The text config.xml on disk holds for `key` (nullopt when missing).
    std::optional<CString> StoredConfig(const char16_t* key);
    std::string ConfigFile() const { return root.ReadFile("NandFlash/zeta42/config/config.xml"); }
    // The file's inode: a save writes a new file in the old one's place.
    ino_t ConfigInode() const;
    // A save of config.xml fails while a folder holding a file stands in
    // its place, as on a flash with no room left; the file then comes back
    // with `content`.
    void BlockConfigSave() const;
    void UnblockConfigSave(const std::string& content) const;
    // What a leave whose save failed says.
    static constexpr const char16_t* kConfigNotSaved =
        u"Settings not saved (is the flash full?): the old settings stay.";
    // The message boxes shown since the test began, in order.
    std::vector<std::u16string> Boxes() const;
    // What the terminal wrote to the I/O controller since the last call.
    std::vector<BYTE> Sent();
    // The id of the control that has the focus (0 when none).
    static int FocusId();
    // Rows of `sql` as texts joined with '|'.
    std::vector<std::string> Rows(const char16_t* sql);

    PtyPair pty;

private:
    uint64_t m_journalStart = 0;
    int m_looks = 0;
};
