#include "transfer/BlockCopy.h"

#include <algorithm>
#include <vector>

#include "core/ShowMessage.h"
#include "platform/base/CFile.h"
#include "platform/base/atomic_file.h"
#include "transfer/FileErrorCause.h"
#include "transfer/TransferLoop.h"

namespace {

// The bar and the watchdog are looked after between blocks.
constexpr UINT kBlockBytes = 4096;
constexpr UINT kDescriptionRoom = 1024;

}  // namespace

CBlockCopy::CBlockCopy() = default;
CBlockCopy::~CBlockCopy() = default;

bool CBlockCopy::Fail(int cause) {
    m_error.failed = true;
    m_error.cause = cause;
    m_writer.reset();
    return false;
}

bool CBlockCopy::FailChanged() {
    m_error.sourceChanged = true;
    return Fail(CFileException::hardIO);
}

bool CBlockCopy::Copy(const CString& source, const std::string& hostTarget, ULONGLONG size, CTransferLoop& loop,
                      ULONGLONG& done, ULONGLONG total) {
    CFile file;
    CFileException opened;
    if (!file.Open(source, CFile::modeRead | CFile::shareDenyNone, &opened)) {
        TCHAR text[kDescriptionRoom] = {};
        opened.GetErrorMessage(text, kDescriptionRoom);
        m_error.sourceNotOpened = true;
        m_error.description = text;
        return Fail(opened.m_cause);
    }
    m_writer = std::make_unique<AtomicFileWriter>(hostTarget);
    if (!m_writer->IsOpen()) return Fail(CFileException::ErrnoToException(m_writer->Error()));
    try {
        std::vector<BYTE> block(kBlockBytes);
        for (ULONGLONG copied = 0; copied < size;) {
            const UINT n = file.Read(block.data(), static_cast<UINT>(std::min<ULONGLONG>(kBlockBytes, size - copied)));
            // A file cut since it was sized.
            if (n == 0) return FailChanged();
            if (!m_writer->Write(block.data(), n)) return Fail(CFileException::ErrnoToException(m_writer->Error()));
            copied += n;
            done += n;
            loop.FeedWhenDue();
            loop.Show(done, total);
        }
        // A file that grew or was swapped since it was sized is not the one
        // checked: its first bytes alone are no whole file to put in place.
        if (file.Read(block.data(), 1) != 0) return FailChanged();
    } catch (CFileException* error) {
        const int cause = error->m_cause;
        error->Delete();
        return Fail(cause);
    }
    if (!m_writer->Finish()) return Fail(CFileException::ErrnoToException(m_writer->Error()));
    return true;
}

bool CBlockCopy::Commit() {
    if (!m_writer) return false;
    if (!m_writer->Commit()) return Fail(CFileException::ErrnoToException(m_writer->Error()));
    m_writer.reset();
    return true;
}

void ShowFileCopyError(const FileCopyError& error) {
    if (error.sourceNotOpened)
        ShowMessage(error.description, 0);
    else
        ShowFileErrorCause(error.cause);
}
