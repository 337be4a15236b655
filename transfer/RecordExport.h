// The attendance records written to the transfer file Bak.kq: a 3-byte
// big-endian count, then 14-byte records in ring order, oldest first.
#pragma once

#include "platform/base/CString.h"

class CRecordStore;
class CTransferLoop;

// The all-records window (`all`) or the new-records window into `path`,
// read in batches of 72 records. The export ends once the window's records
// are written, however the ring stands. False when the file could not be
// written whole; an earlier file then stays as it was.
//
// Fewer records than the window counted are found when rows are gone (a
// copied file): the file holds those found, `count` says how many of how
// many, and the bar stays short of the whole.
struct RecordExportCount {
    unsigned exported = 0;
    unsigned counted = 0;
};
bool ExportAttendanceRecords(const CString& path, bool all, CTransferLoop& loop, CRecordStore& records,
                             RecordExportCount* count = nullptr);
