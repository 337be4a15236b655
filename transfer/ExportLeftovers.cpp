#include "transfer/ExportLeftovers.h"

#include <string>
#include <vector>

#include "core/MachineConfig.h"
#include "platform/base/atomic_file.h"
#include "platform/base/device_fs.h"
#include "platform/base/files.h"
#include "transfer/StorageLocation.h"
#include "transfer/TransferFiles.h"

void RemoveExportLeftovers() {
    // An export writes only into a plain folder named by a machine ID that is
    // a plain name: anywhere else its temporaries are none of its own.
    if (!IsSingleDeviceName(g_MachineConfig.MachineID.Get().GetString())) return;
    std::vector<std::string> exported;
    for (int location : {StorageDeviceFlash, StorageSDCard, StorageUSBDisk}) {
        const CString folder = GetTransferFolder(location);
        // A medium not present has no such folder; a link is no export's.
        if (GetFileEntryKind(folder) != FileEntryKind::Folder) continue;
        for (const char16_t* name : {kUserFile28, kFingerprintFile, kAttendanceFile})
            exported.push_back(DeviceToHostPath(TransferFilePath(folder, name).GetString()));
    }
    RemoveStaleTemporariesOf(exported);
}
