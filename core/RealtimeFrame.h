// The 25-byte real-time record frame that announces a pass to the
// management side: to the active link (when ALLTIMESMONITOR is on) and to
// the upload queue.
#pragma once

#include "data/Records.h"
#include "platform/base/types.h"

constexpr int kRealtimeFrameBytes = 25;

struct RealtimeRecordFrame {
    BYTE bytes[kRealtimeFrameBytes];
};

RealtimeRecordFrame BuildRealtimeFrame(const CheckinoutRecord& record);
// 1 when queued on the active link; 0 with monitoring off or no link.
int PostRealtimeRecordLink(CheckinoutRecord record);
int PushRealtimeRecordCloud(CheckinoutRecord record);
