// A page of the data menu driven the way a person drives it: the panel
// opened on the page's node, then keys, answers and checks in between,
// with the steps that need the page object run as "call" lines.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "tests/page_support/panel_fixture.h"

class MaintenanceTest : public PanelTest {
protected:
    MaintenanceTest();
    ~MaintenanceTest() override;

    // Opens the panel on `node`, runs `lines` (each "call" runs the next of
    // `calls`), then leaves the page and closes the panel.
    void OnPage(UINT node, std::vector<std::string> lines, std::vector<std::function<void()>> calls = {});
    template <class Page>
    static Page* ShownPage() {
        return dynamic_cast<Page*>(CControlPanel::Open()->ShownPage());
    }
    // The texts of the message boxes shown since the fixture began.
    std::vector<CString> Messages() const;

private:
    std::deque<std::function<void()>> m_calls;
    uint64_t m_journalStart = 0;
};
