// A device root of its own for a fuzz target, in memory where the host has
// it and removed at exit, with the application folder the terminal uses.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Host path of the root, made on first use (with the application folder
// and its DB, config and LANG folders), the device root from then on.
const std::string& FuzzDeviceRoot();
// Host path of a file below the application folder ("DB/KD4700.DB").
std::string FuzzAppFile(const std::string& relative);
// Writes `data` to a host file, replacing it.
void WriteFuzzFile(const std::string& hostPath, const uint8_t* data, size_t size);
// The fingerprint libraries, built beside the fuzz targets, copied into the
// application folder and loaded as the terminal loads them (g_FpLib); the
// data store decodes templates through them. Done once.
void LoadFuzzFpLibraries();
