// The file copies of the backup, restore and update pages: blocks with the
// progress bar and the watchdog kept, written to a new name beside the
// target and put in its place only when complete and on disk, so that an
// interrupted copy leaves the old file or the new one.
#pragma once

#include <memory>
#include <string>

#include "platform/base/CString.h"
#include "platform/base/types.h"

class AtomicFileWriter;
class CTransferLoop;

// Why a copy failed: the source could not be opened (with the platform's
// description), or a file error of the given cause.
struct FileCopyError {
    bool failed = false;
    bool sourceNotOpened = false;
    // The source holds fewer or more bytes than when it was sized: it was
    // changed while it was copied.
    bool sourceChanged = false;
    int cause = 0;
    CString description;
};

class CBlockCopy {
public:
    CBlockCopy();
    // Without Commit the new file is removed and the target left as it was.
    ~CBlockCopy();
    CBlockCopy(const CBlockCopy&) = delete;
    CBlockCopy& operator=(const CBlockCopy&) = delete;

    // Copies the `size` bytes that `source` was found to hold when it was
    // checked to the new file of the host path `hostTarget` (whose folder
    // must exist), which is complete on disk and closed when it returns;
    // `done` grows with each block and the loop shows done of `total`. False
    // on a failure (Error), also when the source holds fewer or more bytes
    // than `size`: reading never goes past it.
    bool Copy(const CString& source, const std::string& hostTarget, ULONGLONG size, CTransferLoop& loop,
              ULONGLONG& done, ULONGLONG total);
    // Renames the new file over the target.
    bool Commit();
    const FileCopyError& Error() const { return m_error; }

private:
    bool Fail(int cause);
    bool FailChanged();

    std::unique_ptr<AtomicFileWriter> m_writer;
    FileCopyError m_error;
};

// The failure told with its text: the description of a source that did not
// open, else the cause text.
void ShowFileCopyError(const FileCopyError& error);
