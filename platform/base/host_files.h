// Plain operations on host paths already found (HostPathsInFolder), for
// many files of one folder, where a device path each would be looked up in
// the folder anew. Each returns false with errno set on failure.
#pragma once

#include <string>

enum class HostEntry { Missing, Folder, Other };

// What is at `hostPath`, the entry itself (a link is no folder).
HostEntry HostEntryAt(const std::string& hostPath);
// A second name `link` for the file at `existing`.
bool LinkHostFile(const std::string& existing, const std::string& link);
bool RenameHostFile(const std::string& from, const std::string& to);
// A name that is not there counts as removed.
bool RemoveHostFile(const std::string& hostPath);
