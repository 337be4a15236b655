// The terminal's file system lives in a host folder, the device root:
// device path \NandFlash\zeta42\DB\KD4700.DB is <root>/NandFlash/zeta42/DB/KD4700.DB.
// The device's file system ignores letter case, so every existing component
// is looked up case-insensitively; names that do not exist yet keep the case
// they are given.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The application folder and the program's own file, as device paths.
inline constexpr char16_t kAppDir[] = u"\\NandFlash\\zeta42\\";
inline constexpr char16_t kProgramPath[] = u"\\NandFlash\\zeta42\\Quillon.exe";

// Sets the host folder holding the device's files (kept as an absolute path)
// and loads the registry stored in it. The default root is ./device.
void SetDeviceRoot(const std::string& hostDir);
std::string GetDeviceRoot();

// The components of a device path. Both '\' and '/' separate; a path with or
// without a leading separator starts at the root; "." is dropped and ".."
// removes the previous component but never climbs above the root.
std::vector<std::u16string> DevicePathComponents(std::u16string_view devicePath);

// A name that stays one entry of its folder on the device: not empty, not
// "." or "..", and without a separator or any other character the device's
// file system refuses in a name (: * ? " < > | and control characters).
bool IsSingleDeviceName(std::u16string_view name);

// Host path of the first `count` components (all when count exceeds them).
// When several host entries differ only in case, the one spelled exactly as
// asked wins, else the first in byte order, so the choice never varies.
std::string HostPathOfComponents(const std::vector<std::u16string>& components, size_t count = SIZE_MAX);

std::string DeviceToHostPath(std::u16string_view devicePath);

// The host paths of `names` in the device folder `folder`, found as
// DeviceToHostPath finds them but with one listing of the folder: a lookup
// per name lists the folder again for every name it lacks, which for
// thousands of names in one folder costs the square of their count.
std::vector<std::string> HostPathsInFolder(std::u16string_view folder, const std::vector<std::u16string>& names);
