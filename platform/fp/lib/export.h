// What the fingerprint libraries export, and where they lie.
#pragma once

#include <string>

#define FP_EXPORT extern "C" __attribute__((visibility("default")))

// The folder of the library that holds `anyFunction`.
std::string FolderOfLibrary(const void* anyFunction);
