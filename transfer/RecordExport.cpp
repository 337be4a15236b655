#include "transfer/RecordExport.h"

#include <algorithm>
#include <cstring>

#include "data/PackedRecords.h"
#include "data/RecordStore.h"
#include "transfer/TransferFiles.h"
#include "transfer/TransferLoop.h"

namespace {

constexpr int kBatchRecords = 72;
// Room for a batch and a little more, zeroed before every batch.
constexpr int kBatchBufferSize = 1024;

}  // namespace

bool ExportAttendanceRecords(const CString& path, bool all, CTransferLoop& loop, CRecordStore& records,
                             RecordExportCount* count) {
    CTransferFileWriter writer;
    BYTE buffer[kBatchBufferSize];
    loop.Begin(true);
    const unsigned total = all ? records.GetAllRecordcount() : records.GetNewRecordcount();
    unsigned written = 0;
    bool first = true;
    for (;;) {
        // Never more than what is left of the window: a full ring would
        // otherwise hand out batches past it.
        const int batch = static_cast<int>(std::min<unsigned>(kBatchRecords, total - written));
        int n = 0;
        std::memset(buffer, 0, sizeof buffer);
        if (batch > 0) {
            if (all)
                first ? records.ReadAllFirst(buffer, 0, batch, n) : records.ReadAllNext(buffer, batch, n);
            else
                first ? records.ReadNewFirst(buffer, batch, n) : records.ReadNewNext(buffer, batch, n);
        }
        first = false;
        n = std::clamp(n, 0, batch);
        for (int i = 0; i < n; ++i) writer.Append(buffer + i * PackedCheckinoutSize, PackedCheckinoutSize);
        written += static_cast<unsigned>(n);
        loop.Show(written, total);
        loop.FeedWhenDue();
        if (n < kBatchRecords || written >= total) break;
    }
    if (!writer.Commit(path)) return false;
    if (count) *count = {written, total};
    if (written == total) loop.Finish();
    return true;
}
