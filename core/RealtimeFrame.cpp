#include "core/RealtimeFrame.h"

#include <cmath>
#include <mutex>

#include "comm/CommLink.h"
#include "comm/Crc16.h"
#include "comm/RealtimeQueue.h"
#include "core/LangLibraries.h"
#include "core/MachineConfig.h"
#include "data/PackedRecords.h"
#include "platform/base/numparse.h"

namespace {

void PutBigEndian32(BYTE* out, uint32_t value) {
    out[0] = static_cast<BYTE>(value >> 24);
    out[1] = static_cast<BYTE>(value >> 16);
    out[2] = static_cast<BYTE>(value >> 8);
    out[3] = static_cast<BYTE>(value);
}

}  // namespace

RealtimeRecordFrame BuildRealtimeFrame(const CheckinoutRecord& record) {
    RealtimeRecordFrame frame{};
    BYTE* f = frame.bytes;
    f[0] = 0xA5;
    PutBigEndian32(f + 1, static_cast<uint32_t>(_wtol(g_MachineConfig.MachineID.Get())));
    f[5] = 0xDF;
    f[6] = 0x00;
    f[7] = 0x00;
    f[8] = 0x0E;
    const uint64_t userId = static_cast<uint64_t>(_wtoi64(record.Userid));
    f[9] = static_cast<BYTE>(userId >> 32);
    PutBigEndian32(f + 10, static_cast<uint32_t>(userId));
    PutBigEndian32(f + 14, PackedSeconds(DateTimeToSecondsSigned(record.CheckTime)));
    f[18] = static_cast<BYTE>(static_cast<uint32_t>(record.WorkNumberAndPassType) >> 24);
    f[19] = static_cast<BYTE>(record.CheckType);
    const WORD crc = Crc16(f, 23);
    f[23] = static_cast<BYTE>(crc & 0xFF);
    f[24] = static_cast<BYTE>(crc >> 8);
    return frame;
}

int PostRealtimeRecordLink(CheckinoutRecord record) {
    if (g_MachineConfig.ALLTIMESMONITOR == 0) return 0;
    const RealtimeRecordFrame frame = BuildRealtimeFrame(record);
    std::lock_guard<std::recursive_mutex> guard(LinkLock());
    if (!g_pLink) return 0;
    return SetLinkRealtimeFrame(g_pLink, frame.bytes, kRealtimeFrameBytes);
}

int PushRealtimeRecordCloud(CheckinoutRecord record) {
    const RealtimeRecordFrame frame = BuildRealtimeFrame(record);
    return RealtimeQueuePush(frame.bytes, kRealtimeFrameBytes);
}
