#include <gtest/gtest.h>

#include <poll.h>
#include <unistd.h>

#include "core/AppServices.h"
#include "core/CardInput.h"
#include "core/MachineConfig.h"
#include "core/RegisteredMessages.h"
#include "main/IoController.h"
#include "platform/dev/pty.h"
#include "platform/base/threads.h"
#include "platform/dev/serial.h"
#include "platform/ui/CWnd.h"
#include "tests/core_startup/IoLineTestSupport.h"

namespace {

std::vector<IoFrame> Feed(IoFrameReader& reader, std::initializer_list<BYTE> bytes) {
    const std::vector<BYTE> data(bytes);
    return reader.Feed(data.data(), data.size());
}

TEST(IoFrameReader, TakesFramesAcrossReadsAndResynchronises) {
    IoFrameReader reader;
    EXPECT_TRUE(Feed(reader, {0x12, 0xEB, 0x01}).empty());
    std::vector<IoFrame> frames = Feed(reader, {0x01, 0xEB, 0xE7, 0x03, '1', 'a'});
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].code, kIoDoorSensor);
    frames = Feed(reader, {'F', 0xE7, 0xEA, 0x05, 0x01, 0xEA});
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].code, kIoCard);
    EXPECT_EQ(std::string(frames[0].card.begin(), frames[0].card.end()), "1aF");
    // A frame that does not close is skipped up to the next one that does.
    frames = Feed(reader, {0xEC, 0x01, 0x00, 0x77, 0xEC, 0x01, 0x00, 0xEC});
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].code, kIoAlarmInput);
    EXPECT_EQ(frames[0].arg1, 1);
}

class IoControllerTest : public IoLineTest {
protected:
    void SetUp() override {
        IoLineTest::SetUp();
        saved = {g_MachineConfig.RING, g_MachineConfig.LOCKDELAY, g_MachineConfig.FCCHECKALARM,
                 g_MachineConfig.MCCHECKALARM};
    }
    void TearDown() override {
        g_MachineConfig.RING = saved[0];
        g_MachineConfig.LOCKDELAY = saved[1];
        g_MachineConfig.FCCHECKALARM = saved[2];
        g_MachineConfig.MCCHECKALARM = saved[3];
        IoLineTest::TearDown();
    }
    void Input(BYTE which) { DispatchIoFrame(IoFrame{kIoAlarmInput, which, 0, {}}); }

    std::array<int, 4> saved{};
};

TEST_F(IoControllerTest, LockAndBellFollowTheRingSetting) {
    g_MachineConfig.LOCKDELAY = 5;  // sent as 5 / 2 + 1
    g_MachineConfig.RING = 0;
    Input(1);
    EXPECT_EQ(Sent(), (std::vector<BYTE>{0xF3, 0x03, 0x03, 0xF3}));
    Input(0);
    EXPECT_TRUE(Sent().empty());
    g_MachineConfig.RING = 1;
    Input(0);
    EXPECT_EQ(Sent(), (std::vector<BYTE>{0xFD, 0x03, 0x03, 0xFD}));
    Input(1);
    EXPECT_TRUE(Sent().empty());
    g_MachineConfig.RING = 3;
    Input(1);
    Input(0);
    EXPECT_EQ(Sent(), (std::vector<BYTE>{0xF3, 0x03, 0x03, 0xF3, 0xFD, 0x03, 0x03, 0xFD}));
    g_MachineConfig.RING = 4;
    Input(1);
    Input(0);
    EXPECT_TRUE(Sent().empty());
}

TEST_F(IoControllerTest, AlarmsPlayTheirPromptsOnlyWhenSwitchedOn) {
    g_MachineConfig.FCCHECKALARM = 1;
    g_MachineConfig.MCCHECKALARM = 0;
    DispatchIoFrame(IoFrame{kIoDoorSensor, 1, 1, {}});
    DispatchIoFrame(IoFrame{kIoTamper, 1, 1, {}});
    g_MachineConfig.MCCHECKALARM = 1;
    DispatchIoFrame(IoFrame{kIoTamper, 1, 1, {}});
    EXPECT_EQ(Journal(kJournalSound), (std::vector<std::u16string>{u"play \\NandFlash\\zeta42\\wav\\FCCheckAlarm.wav (missing)",
                                                                   u"play \\NandFlash\\zeta42\\wav\\MCCheckAlarm.wav (missing)"}));
}

TEST_F(IoControllerTest, ACardFrameReachesTheCardTargetAsTheCardNumber) {
    CWnd target;
    ASSERT_TRUE(target.CreateEx(0, WC_STATIC, u"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    SetCardTarget(&target);
    DispatchIoFrame(IoFrame{kIoCard, 0, 0, {'0', '0', 'A', 'B', 'C', 'D', 'E', 'F', '1', '2'}});
    EXPECT_EQ(g_strLastCardNo.Get(), CString(u"2882400018"));
    MSG msg;
    EXPECT_TRUE(PeekMessageW(&msg, target.GetSafeHwnd(), WM_CARDNO, WM_CARDNO, PM_REMOVE));
    SetCardTarget(nullptr);
    target.DestroyWindow();
}

TEST_F(IoControllerTest, TheReaderThreadDispatchesOnlyOnceReleased) {
    g_ioControllerPort.ClosePort();
    SetCardTarget(nullptr);
    g_strLastCardNo = u"";
    CWinThread* reader = AfxBeginThread(IoControllerThread, nullptr);
    reader->m_bAutoDelete = FALSE;
    // The version request comes first; answer it.
    std::vector<BYTE> request;
    for (int wait = 0; wait < 200 && request.size() < 4; ++wait) {
        const std::vector<BYTE> more = Sent();
        request.insert(request.end(), more.begin(), more.end());
        if (request.size() < 4) usleep(5000);
    }
    EXPECT_EQ(request, (std::vector<BYTE>{0xF1, 0x00, 0x00, 0xF1}));
    const BYTE card[] = {0xE7, 0x02, '1', 'F', 0xE7};
    ASSERT_EQ(write(pty.ControllerFd(), card, sizeof card), static_cast<ssize_t>(sizeof card));
    usleep(100000);
    EXPECT_EQ(g_strLastCardNo.Get(), CString(u""));
    ReleaseIoControllerThread();
    for (int wait = 0; wait < 200 && g_strLastCardNo.IsEmpty(); ++wait) usleep(5000);
    EXPECT_EQ(g_strLastCardNo.Get(), CString(u"31"));
    StopIoControllerThread();
    WaitForSingleObject(reader->m_hThread, INFINITE);
    delete reader;
}

}  // namespace
