#include "tests/maintenance/MaintenanceTest.h"

#include "platform/base/debug.h"

MaintenanceTest::MaintenanceTest() {
    m_journalStart = JournalLastSequence();
    ScriptDriver::RegisterCommand("call", [this](const std::vector<std::string>&, std::string* error) {
        if (m_calls.empty()) {
            *error = "no call left";
            return false;
        }
        const std::function<void()> call = std::move(m_calls.front());
        m_calls.pop_front();
        call();
        return true;
    });
}

MaintenanceTest::~MaintenanceTest() { ScriptDriver::RegisterCommand("call", nullptr); }

void MaintenanceTest::OnPage(UINT node, std::vector<std::string> lines, std::vector<std::function<void()>> calls) {
    m_calls.assign(calls.begin(), calls.end());
    RunPanelScript(node, std::move(lines), 3);
    EXPECT_TRUE(m_calls.empty()) << "the script ended before every call ran";
}

std::vector<CString> MaintenanceTest::Messages() const {
    std::vector<CString> texts;
    for (const JournalEntry& entry : JournalRead(kJournalMessageBox, m_journalStart)) texts.emplace_back(entry.text.c_str());
    return texts;
}
