#include "transfer/UpdateFolder.h"

#include "core/AppDir.h"
#include "core/Folders.h"
#include "platform/base/CFile.h"
#include "platform/base/device_fs.h"
#include "platform/base/files.h"
#include "platform/ui/image.h"

namespace {

// A regular file of `source`, taken with its size; false for anything else.
bool AddRegularFile(const CString& source, const CString& target, std::string hostTarget,
                    std::vector<UpdateFile>& files) {
    CFileStatus status;
    if (GetFileEntryKind(source) != FileEntryKind::RegularFile || !CFile::GetStatus(source, status)) return false;
    files.push_back({source, target, std::move(hostTarget), status.m_size});
    return true;
}

// The update's icons in `files`, when each is a plain file of a usable name.
UpdateFolderState AddIcons(const CString& iconSource, const CString& iconTarget, std::vector<UpdateFile>& files) {
    const std::vector<CString> names = IconNames(iconSource);
    if (names.size() > kUpdateIconLimit) return UpdateFolderState::TooManyIcons;
    std::vector<std::u16string> targetNames;
    for (const CString& name : names) {
        // A name the device reads as a path could put its file anywhere.
        if (!IsSingleDeviceName(name.GetString())) return UpdateFolderState::BadName;
        targetNames.push_back(name.GetString());
    }
    const std::vector<std::string> hostTargets = HostPathsInFolder(iconTarget.GetString(), targetNames);
    for (size_t i = 0; i < names.size(); ++i) {
        const CString source = iconSource + u"\\" + names[i];
        if (!AddRegularFile(source, iconTarget + u"\\" + names[i], hostTargets[i], files) || IsImageFileTooLarge(source))
            return UpdateFolderState::Unusable;
    }
    return UpdateFolderState::Usable;
}

// The icon folder below `folder`, each step a real folder: false when one
// is a link or something else; `present` false when one is missing.
bool IconFolderLiesIn(const CString& folder, bool& present) {
    CString path = folder;
    for (const char16_t* step : {u"SKIN", u"FLOWER", u"ControlPanel", u"ICON"}) {
        path += CString(u"\\") + step;
        const FileEntryKind kind = GetFileEntryKind(path);
        present = kind != FileEntryKind::Missing;
        if (!present) return true;
        if (kind != FileEntryKind::Folder) return false;
    }
    return true;
}

bool FlashHolds(const std::vector<UpdateFile>& files) {
    CString appDir;
    GetAppDir(appDir);
    ULONGLONG free = 0;
    if (!GetDiskFreeSpaceExW(appDir, &free, nullptr, nullptr)) return false;
    ULONGLONG total = 0;
    for (const UpdateFile& file : files) {
        // Each file and the sum: the new files sit beside the old ones
        // until all are whole.
        if (file.size > free - total) return false;
        total += file.size;
    }
    return true;
}

}  // namespace

ULONGLONG UpdateSize(const std::vector<UpdateFile>& files) {
    ULONGLONG total = 0;
    for (const UpdateFile& file : files) total += file.size;
    return total;
}

std::vector<CString> IconNames(const CString& folder) {
    std::vector<CString> names;
    WIN32_FIND_DATAW entry{};
    HANDLE search = FindFirstFile(folder + u"\\*.png", &entry);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (entry.dwFileAttributes != FILE_ATTRIBUTE_DIRECTORY) names.emplace_back(entry.cFileName);
    } while (FindNextFile(search, &entry));
    FindClose(search);
    return names;
}

UpdateFolderState CollectUpdateFiles(const CString& folder, std::vector<UpdateFile>& files) {
    files.clear();
    for (const char16_t* name : kUpdateProgramFiles)
        if (GetFileEntryKind(folder + u"\\" + name) == FileEntryKind::Missing) return UpdateFolderState::Incomplete;
    if (GetFileEntryKind(folder) != FileEntryKind::Folder) return UpdateFolderState::Unusable;
    for (const char16_t* name : kUpdateProgramFiles) {
        const CString target = CString(kUpdateProgramFolder) + u"\\" + name;
        if (!AddRegularFile(folder + u"\\" + name, target, DeviceToHostPath(target.GetString()), files))
            return UpdateFolderState::Unusable;
    }
    // An empty program file is no program: installed, it would leave a
    // terminal that cannot start.
    for (const UpdateFile& file : files)
        if (file.size == 0) return UpdateFolderState::Incomplete;
    bool iconsPresent = false;
    if (!IconFolderLiesIn(folder, iconsPresent)) return UpdateFolderState::Unusable;
    CString appDir;
    GetAppDir(appDir);
    const CString iconTarget = appDir + kUpdateIconFolder;
    const CString iconSource = folder + u"\\" + kUpdateIconFolder;
    // Icons go only into a skin that has their folder.
    if (iconsPresent && DirExists(iconTarget)) {
        const UpdateFolderState icons = AddIcons(iconSource, iconTarget, files);
        if (icons != UpdateFolderState::Usable) return icons;
    }
    return FlashHolds(files) ? UpdateFolderState::Usable : UpdateFolderState::Unusable;
}
