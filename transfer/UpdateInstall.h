// The update's new files put in place all or none: each file replaced keeps
// its old content under a second name until every file is in place, so a
// failure part way puts the old program back whole, and a power cut part
// way is undone (or, past the last rename, finished) at the next start.
#pragma once

#include <string>
#include <vector>

#include "platform/base/CString.h"
#include "transfer/BlockCopy.h"
#include "transfer/UpdateFolder.h"

class CUpdateInstall {
public:
    CUpdateInstall() = default;
    // Without Complete, every file replaced gets its old content back and
    // a file that was not there before is removed.
    ~CUpdateInstall();
    CUpdateInstall(const CUpdateInstall&) = delete;
    CUpdateInstall& operator=(const CUpdateInstall&) = delete;

    // Keeps the present file at the host path `hostTarget` aside and
    // commits `copy` over it; false on a failure (Error).
    bool Replace(CBlockCopy& copy, const std::string& hostTarget);
    // Every file is in place: the kept old ones are let go. False on a
    // failure (Error), the old files then put back.
    bool Complete();
    const FileCopyError& Error() const { return m_error; }

private:
    struct Replaced {
        std::string target;
        bool kept = false;
    };

    bool Fail();
    void PutBack();

    std::vector<Replaced> m_replaced;
    FileCopyError m_error;
    bool m_complete = false;
};

// At start-up: an install that a power cut stopped before its last rename
// gets its old files back; one stopped after it loses the kept old files.
// `hostTargets` are the host paths of every file an update replaces.
void FinishInterruptedUpdate(const std::vector<std::string>& hostTargets);

// Every file of the update copied to a new name beside its target, and only
// when all are whole put in place (CUpdateInstall); on a failure none is.
// Each new file is closed once copied. The loop shows the bytes copied.
FileCopyError InstallUpdateFiles(const std::vector<UpdateFile>& files, CTransferLoop& loop);
