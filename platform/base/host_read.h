// Reading a whole host file that must be a plain file: a folder, a pipe or a
// device found in its place is told apart from a missing file and is never
// read (a pipe would keep the reader waiting, a device might never end).
#pragma once

#include <string>

enum class HostRead { Read, Missing, Unreadable };

HostRead ReadPlainHostFile(const std::string& hostPath, std::string& content);
