// A database file read as it lies on disk: no lock taken, no "-wal" or
// "-shm" made beside it, no log of its own consulted. For a file that only
// this program touches while it reads it (a copy made to be checked or read
// in), so that a cut at any moment leaves nothing beside it.
#pragma once

#include <string>

// The URI that opens the host file so; SQLITE_OPEN_READONLY |
// SQLITE_OPEN_URI go with it.
std::string FileAsItStandsUri(const std::string& hostPath);
