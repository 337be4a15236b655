// What the update folder of a USB disk offers: the five program files and
// the control panel's icons, each with the place it is installed to. The
// folder comes from outside: only regular files that lie in it are taken
// (no link, which may lead anywhere, no device or pipe, which may never
// end), and only as much as the flash can hold.
#pragma once

#include <string>
#include <vector>

#include "platform/base/CString.h"
#include "platform/base/types.h"

// The program set, in the order of the check and of the copy.
inline constexpr const char16_t* kUpdateProgramFiles[] = {u"Quillon.exe", u"SMApi_WinCE.dll", u"SMControl_WinCE.dll",
                                                          u"SMProcess_WinCE.dll", u"launch.exe"};
inline constexpr const char16_t* kUpdateProgramFolder = u"nandflash\\app";
// Below the update folder and below the application folder.
inline constexpr const char16_t* kUpdateIconFolder = u"SKIN\\FLOWER\\ControlPanel\\ICON";

// The most icons an update installs. The control panel shows one icon a
// menu node and a few for its pages, some fifty in the factory skin; twenty
// times as many leaves room for any skin, and keeps a folder of the device
// from thousands of files that every start-up then looks through.
inline constexpr size_t kUpdateIconLimit = 1000;

struct UpdateFile {
    CString source;
    CString target;
    // The target on the host, found once for all the files of its folder.
    std::string hostTarget;
    ULONGLONG size = 0;
};

enum class UpdateFolderState {
    Usable,
    // A program file is missing or empty.
    Incomplete,
    // An entry is a link, a device or a pipe, an icon declares more pixels
    // than the terminal shows, or the files are more than the flash has
    // room for.
    Unusable,
    // An icon's name is no single name on the device (a path, "..", or a
    // character its file system refuses).
    BadName,
    // More icons than kUpdateIconLimit.
    TooManyIcons,
};

// The files of the update in `folder`, in the order they are copied: the
// program set, then the icons when the skin has their folder.
UpdateFolderState CollectUpdateFiles(const CString& folder, std::vector<UpdateFile>& files);

// The bytes the update copies: the sum of the files' sizes.
ULONGLONG UpdateSize(const std::vector<UpdateFile>& files);

// The names of the entries of `folder` that match "*.png" and are no
// folders.
std::vector<CString> IconNames(const CString& folder);
