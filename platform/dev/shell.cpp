#include "platform/dev/shell.h"

#include <string>

#include "platform/base/debug.h"
#include "platform/base/handle.h"
#include "platform/base/lasterror.h"

namespace {

// A started program that has run its course: waits on it end at once.
class EndedProcess : public KernelObject {
public:
    DWORD Wait(DWORD) override { return WAIT_OBJECT_0; }
};

}  // namespace

BOOL ShellExecuteExW(LPSHELLEXECUTEINFO info) {
    if (!info || !info->lpFile || !*info->lpFile) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::u16string entry = info->lpVerb && *info->lpVerb ? info->lpVerb : u"open";
    entry += u" ";
    entry += info->lpFile;
    if (info->lpParameters && *info->lpParameters) entry += u" " + std::u16string(info->lpParameters);
    JournalWrite(kJournalShell, entry);
    info->hInstApp = reinterpret_cast<HINSTANCE>(static_cast<uintptr_t>(33));  // above 32: started
    if (info->fMask & SEE_MASK_NOCLOSEPROCESS) info->hProcess = MakeHandle(new EndedProcess);
    return TRUE;
}
