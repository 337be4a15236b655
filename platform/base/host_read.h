// Opening and reading a host file that must be a plain file once links are
// followed: a folder, a pipe or a device found in its place is told apart
// from a missing file and is never read (a pipe would keep the reader
// waiting, a device might never end), and neither is a file larger than the
// reader takes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

enum class HostRead { Read, Missing, NotAFile, TooLarge, Unreadable };

// The most the settings, the language texts and the registry file may hold:
// far beyond any real one, small enough that reading it does not exhaust
// the memory.
inline constexpr size_t kMaxTextFileBytes = 16u << 20;

// Opens `hostPath` for reading, without ever waiting on a pipe: the
// descriptor (close-on-exec, blocking reads) when it is a plain file of at
// most `maxBytes`, else -1 with `outcome` saying why not (on Missing and
// Unreadable, errno tells the host's reason).
int OpenPlainHostFile(const std::string& hostPath, size_t maxBytes, HostRead& outcome);

// What OpenPlainHostFile would find, without keeping the file open: for
// readers that must open the file by its name themselves.
HostRead CheckPlainHostFile(const std::string& hostPath, size_t maxBytes);

// The whole file, read as OpenPlainHostFile opens it; empty unless Read.
HostRead ReadPlainHostFile(const std::string& hostPath, std::string& content, size_t maxBytes);
HostRead ReadPlainHostFile(const std::string& hostPath, std::vector<uint8_t>& content, size_t maxBytes);

// The reason of a refusal in a few words, for messages on standard error.
const char* HostReadReason(HostRead outcome);
