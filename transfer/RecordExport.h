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
bool ExportAttendanceRecords(const CString& path, bool all, CTransferLoop& loop, CRecordStore& records);
