#include "tests/maintenance/DatabasePageTest.h"

#include <fstream>
#include <sstream>

#include "core/AccessTables.h"
#include "data/DataGlobals.h"
#include "data/DeptStorage.h"
#include "data/FPTemplateStore.h"
#include "data/RecordStore.h"
#include "data/UserStorage.h"
#include "main/IoController.h"
#include "platform/base/debug.h"
#include "platform/base/utf.h"
#include "platform/dev/serial.h"

DatabasePageTest::DatabasePageTest() {
    m_journalStart = JournalLastSequence();
    g_pFPTemplateStore = new CFPTemplateStore;
    g_pRecordStore = new CRecordStore(*g_pDatabase, RecordRingCapacity);
    g_pUserStorage = new CUserStorage(*g_pDatabase, UserLimit);
    g_pDeptStorage = new CDeptStorage(*g_pDatabase, DeptLimit);
    LoadAccessGroups();
    LoadAccessTimeZones();
    EXPECT_TRUE(controller.Start());
    controller.AttachToPort();
    EXPECT_TRUE(g_ioControllerPort.OpenPort(3, CBR_9600, 0, 8, ONESTOPBIT, CSerialPort::kModePlain));
}

DatabasePageTest::~DatabasePageTest() {
    g_ioControllerPort.ClosePort();
    controller.Stop();
    MapSerialPort(u"COM3", "");
    delete g_pDeptStorage;
    delete g_pUserStorage;
    delete g_pRecordStore;
    delete g_pFPTemplateStore;
    g_pDeptStorage = nullptr;
    g_pUserStorage = nullptr;
    g_pRecordStore = nullptr;
    g_pFPTemplateStore = nullptr;
}

std::vector<std::string> DatabasePageTest::Choose(int place, std::vector<std::string> then) {
    std::vector<std::string> lines(static_cast<size_t>(place), "key RIGHT");
    lines.push_back("key DOWN");
    lines.insert(lines.end(), then.begin(), then.end());
    return lines;
}

std::string DatabasePageTest::FileBytes(const std::string& relative) const {
    std::ifstream file(root.HostPath(relative), std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

std::vector<std::pair<std::string, uint64_t>> DatabasePageTest::ControllerFrames() const {
    std::vector<std::pair<std::string, uint64_t>> frames;
    for (const JournalEntry& entry : JournalRead("iocontroller", m_journalStart))
        frames.emplace_back(Utf16ToUtf8(entry.text), entry.clockMs);
    return frames;
}
