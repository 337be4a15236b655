// Reading a whole host file that must be a plain file: a folder, a pipe or a
// device found in its place is told apart from a missing file and is never
// read (a pipe would keep the reader waiting, a device might never end).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

enum class HostRead { Read, Missing, Unreadable };

// A file of more than `maxBytes` is Unreadable, and is not read.
HostRead ReadPlainHostFile(const std::string& hostPath, std::string& content, size_t maxBytes = SIZE_MAX);
HostRead ReadPlainHostFile(const std::string& hostPath, std::vector<uint8_t>& content, size_t maxBytes = SIZE_MAX);
