// A terminal's data store in a folder of its own, into which each fuzz
// input is imported as one transfer file the way the import page does it:
// the file's records decoded and stored in the user table, FPinfo and the
// template store, which carry over from input to input (and fill up).
#pragma once

#include <cstddef>
#include <cstdint>

void ImportTransferFileForFuzzing(const char16_t* fileName, const uint8_t* data, size_t size);
