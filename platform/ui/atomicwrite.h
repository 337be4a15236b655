// Image files are written to a temporary name and renamed over the target,
// so a reader never sees half a file.
#pragma once

#include <cstdio>
#include <functional>
#include <string>

bool WriteAtomically(const std::string& hostPath, const std::function<bool(FILE*)>& write);
