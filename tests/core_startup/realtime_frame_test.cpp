#include <gtest/gtest.h>

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

const BYTE kExampleHead[23] = {0xA5, 0x00, 0x00, 0x00, 0x01, 0xDF, 0x00, 0x00, 0x0E, 0x00, 0x00, 0x01,
                               0x11, 0x70, 0x00, 0x00, 0x00, 0x64, 0x01, 0x00, 0x00, 0x00, 0x00};

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
        g_MachineConfig.ALLTIMESMONITOR = 0;
        g_pRecordStore = nullptr;
        m_store.reset();
        StartupTest::TearDown();
    }

private:
    std::unique_ptr<CRecordStore> m_store;
};

TEST(Crc16, IsTheReflectedCcittWithoutFinalXor) {
    const BYTE check[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
    EXPECT_EQ(Crc16(check, sizeof check), 0x6F91);
}

TEST_F(RealtimeFrameTest, MatchesTheReferenceBytes) {
    const RealtimeRecordFrame frame = BuildRealtimeFrame(ExampleRecord());
    EXPECT_EQ(std::vector<BYTE>(frame.bytes, frame.bytes + 23), std::vector<BYTE>(kExampleHead, kExampleHead + 23));
    const WORD crc = Crc16(kExampleHead, 23);
    EXPECT_EQ(frame.bytes[23], crc & 0xFF);
    EXPECT_EQ(frame.bytes[24], crc >> 8);
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
    g_pLink = nullptr;
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

    BYTE received[50] = {};
    size_t got = 0;
    while (got < sizeof received) {
        const ssize_t n = recv(client, received + got, sizeof received - got, 0);
        ASSERT_GT(n, 0);
        got += static_cast<size_t>(n);
    }
    const RealtimeRecordFrame expected1 = BuildRealtimeFrame(first);
    const RealtimeRecordFrame expected2 = BuildRealtimeFrame(second);
    EXPECT_EQ(std::vector<BYTE>(received, received + 25), std::vector<BYTE>(expected1.bytes, expected1.bytes + 25));
    EXPECT_EQ(std::vector<BYTE>(received + 25, received + 50), std::vector<BYTE>(expected2.bytes, expected2.bytes + 25));
    EXPECT_EQ(std::vector<BYTE>(received, received + 23), std::vector<BYTE>(kExampleHead, kExampleHead + 23));
    closesocket(client);
    g_pLink = nullptr;
}

TEST(LinkFrames, FramesOfFourHundredBytesAreRefused) {
    CTcpServerLink link(0);
    std::vector<BYTE> frame(400, 0x11);
    EXPECT_EQ(SetLinkRealtimeFrame(&link, frame.data(), 399), 1);
    EXPECT_EQ(SetLinkRealtimeFrame(&link, frame.data(), 400), 0);
    EXPECT_EQ(SetLinkRealtimeFrame(nullptr, frame.data(), 25), 0);
    EXPECT_EQ(link.PendingCount(), 1u);
}

}  // namespace
