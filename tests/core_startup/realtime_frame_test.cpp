#include <gtest/gtest.h>

#include <poll.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <thread>

#include "comm/CommLink.h"
#include "comm/Crc16.h"
#include "comm/RealtimeQueue.h"
#include "comm/TcpServerLink.h"
#include "core/MachineConfig.h"
#include "core/RealtimeFrame.h"
#include "data/DataGlobals.h"
#include "data/RecordStore.h"
#include "tests/core_startup/StartupTestSupport.h"

namespace {

CheckinoutRecord ExampleRecord() {
    CheckinoutRecord record;
    record.Userid = u"70000";
    record.CheckTime = u"2000-01-02 00:01:40";
    record.CheckType = 0;
    record.WorkNumberAndPassType = 1 << 24;
    return record;
}

// The example record's whole frame; its CRC (0x61EE, low byte first) was
// worked out apart from the terminal's code.
const BYTE kExampleFrame[25] = {0xA5, 0x00, 0x00, 0x00, 0x01, 0xDF, 0x00, 0x00, 0x0E, 0x00, 0x00, 0x01, 0x11,
                                0x70, 0x00, 0x00, 0x00, 0x64, 0x01, 0x00, 0x00, 0x00, 0x00, 0xEE, 0x61};

// A started terminal: the database open and the record store made, which
// the frame's time needs.
class RealtimeFrameTest : public StartupTest {
protected:
    void SetUp() override {
        StartupTest::SetUp();
        OpenFactoryDatabase();
        m_store = std::make_unique<CRecordStore>(*g_pDatabase, 100000);
        g_pRecordStore = m_store.get();
        g_MachineConfig.MachineID = u"1";
        g_MachineConfig.ALLTIMESMONITOR = 1;
    }
    void TearDown() override {
        {
            std::lock_guard<std::recursive_mutex> guard(LinkLock());
            g_pLink = nullptr;
        }
        g_MachineConfig.ALLTIMESMONITOR = 0;
        g_pRecordStore = nullptr;
        m_store.reset();
        StartupTest::TearDown();
    }

private:
    std::unique_ptr<CRecordStore> m_store;
};

// Up to `count` bytes the client receives within a few seconds: bytes that
// never come fail the test instead of blocking it.
std::vector<BYTE> ReceiveWithin(SOCKET client, size_t count) {
    std::vector<BYTE> bytes;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (bytes.size() < count) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        pollfd ready{client, POLLIN, 0};
        if (left.count() <= 0 || poll(&ready, 1, static_cast<int>(left.count())) <= 0) break;
        BYTE buffer[64];
        const ssize_t n = recv(client, buffer, std::min(sizeof buffer, count - bytes.size()), 0);
        if (n <= 0) break;
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
    return bytes;
}

// A link that keeps what it is given to write.
class RecordingLink : public CCommLink {
public:
    BOOL Open() override { return TRUE; }
    int Read(BYTE*, int) override { return 0; }
    int Write(const BYTE* data, int length) override {
        written.emplace_back(data, data + length);
        return 1;
    }
    void Close() override {}

    std::vector<std::vector<BYTE>> written;
};

TEST(Crc16, IsTheReflectedCcittWithoutFinalXor) {
    const BYTE check[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
    EXPECT_EQ(Crc16(check, sizeof check), 0x6F91);
}

TEST_F(RealtimeFrameTest, MatchesTheReferenceBytes) {
    const RealtimeRecordFrame frame = BuildRealtimeFrame(ExampleRecord());
    EXPECT_EQ(std::vector<BYTE>(frame.bytes, frame.bytes + 25), std::vector<BYTE>(kExampleFrame, kExampleFrame + 25));
}

TEST_F(RealtimeFrameTest, ATimeBeforeTheReferenceDateIsNegative) {
    CheckinoutRecord record = ExampleRecord();
    record.CheckTime = u"2000-01-01 23:59:59";
    const RealtimeRecordFrame frame = BuildRealtimeFrame(record);
    EXPECT_EQ(std::vector<BYTE>(frame.bytes + 14, frame.bytes + 18), (std::vector<BYTE>{0xFF, 0xFF, 0xFF, 0xFF}));
}

TEST_F(RealtimeFrameTest, TheQueueKeepsTheNewestFortyInOrder) {
    CheckinoutRecord record = ExampleRecord();
    for (int i = 0; i < 41; ++i) {
        record.CheckType = i;
        ASSERT_EQ(PushRealtimeRecordCloud(record), 1);
    }
    const RealtimeSlot newest = RealtimeQueueSlot(0);
    EXPECT_EQ(newest[19], 40);
    EXPECT_EQ(newest[25], 0xFF);  // slot filled with FF past the frame
    EXPECT_EQ(RealtimeQueueSlot(39)[19], 1);
}

TEST_F(RealtimeFrameTest, WithoutMonitoringTheLinkGetsNothingButTheQueueDoes) {
    g_MachineConfig.ALLTIMESMONITOR = 0;
    CTcpServerLink link(0);
    {
        std::lock_guard<std::recursive_mutex> guard(LinkLock());
        g_pLink = &link;
    }
    CheckinoutRecord record = ExampleRecord();
    record.CheckType = 77;
    EXPECT_EQ(PostRealtimeRecordLink(record), 0);
    EXPECT_EQ(link.PendingCount(), 0u);
    EXPECT_EQ(PushRealtimeRecordCloud(record), 1);
    EXPECT_EQ(RealtimeQueueSlot(0)[19], 77);
}

TEST_F(RealtimeFrameTest, TwoQuickPassesBothLeaveInOrder) {
    CTcpServerLink link(0);
    ASSERT_TRUE(link.Open());
    {
        std::lock_guard<std::recursive_mutex> guard(LinkLock());
        g_pLink = &link;
    }
    CheckinoutRecord first = ExampleRecord();
    CheckinoutRecord second = ExampleRecord();
    second.Userid = u"70001";
    EXPECT_EQ(PostRealtimeRecordLink(first), 1);
    EXPECT_EQ(PostRealtimeRecordLink(second), 1);
    EXPECT_EQ(link.PendingCount(), 2u);

    const SOCKET client = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    SOCKADDR_IN address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(link.Port()));
    ASSERT_EQ(connect(client, reinterpret_cast<SOCKADDR*>(&address), sizeof address), 0);
    BYTE buffer[8];
    for (int turn = 0; turn < 50 && !link.HasClient(); ++turn) link.Read(buffer, sizeof buffer);
    ASSERT_TRUE(link.HasClient());
    link.SendPending();
    EXPECT_EQ(link.PendingCount(), 0u);

    const std::vector<BYTE> received = ReceiveWithin(client, 50);
    closesocket(client);
    ASSERT_EQ(received.size(), 50u) << "both frames reach the client";
    const RealtimeRecordFrame expected2 = BuildRealtimeFrame(second);
    EXPECT_EQ(std::vector<BYTE>(received.begin(), received.begin() + 25),
              std::vector<BYTE>(kExampleFrame, kExampleFrame + 25));
    EXPECT_EQ(std::vector<BYTE>(received.begin() + 25, received.end()),
              std::vector<BYTE>(expected2.bytes, expected2.bytes + 25));
}

TEST(LinkFrames, FramesOfFourHundredBytesAreRefused) {
    CTcpServerLink link(0);
    std::vector<BYTE> frame(400, 0x11);
    EXPECT_EQ(SetLinkRealtimeFrame(&link, frame.data(), 399), 1);
    EXPECT_EQ(SetLinkRealtimeFrame(&link, frame.data(), 400), 0);
    EXPECT_EQ(SetLinkRealtimeFrame(nullptr, frame.data(), 25), 0);
    EXPECT_EQ(link.PendingCount(), 1u);
}

TEST(LinkFrames, AFullQueueKeepsTheNewestSixteenAndSendsThemInOrder) {
    RecordingLink link;
    for (BYTE frame = 1; frame <= 20; ++frame) ASSERT_EQ(SetLinkRealtimeFrame(&link, &frame, 1), 1);
    EXPECT_EQ(link.PendingCount(), 16u);
    link.SendPending();
    std::vector<std::vector<BYTE>> newest;
    for (BYTE frame = 5; frame <= 20; ++frame) newest.push_back({frame});
    EXPECT_EQ(link.written, newest);
    EXPECT_EQ(link.PendingCount(), 0u);
}

}  // namespace
