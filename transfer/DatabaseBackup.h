// The backup page's copy of the live database: one state of it, what its
// write-ahead log holds included, written beside the target, read back and
// checked, and only then put in the target's place.
#pragma once

#include "platform/base/CString.h"
#include "transfer/BlockCopy.h"

class CTransferLoop;

// Backs the live database up to `target` (a device path) with the loop's
// bar and watchdog kept. On a failure the target is as it was, no new file
// stays beside it, and the error's cause says why.
FileCopyError BackupDatabaseTo(const CString& target, CTransferLoop& loop);
