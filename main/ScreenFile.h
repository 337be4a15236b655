// The screen written to a PNG file whenever it has changed, for a terminal
// run without a window.
#pragma once

#include <string>

namespace ScreenFile {

// Empty: nothing is written.
void SetPath(const std::string& hostPath);
// Writes the screen when it differs from what was written last. The file
// is written in the background; a write that failed is tried again at the
// next call.
void WriteWhenChanged();
// Returns once every screen handed over has been written (or has failed).
void Flush();

// The writer thread's procedure. Should the system give no thread for it,
// each screen is written in line instead.
void WriterThread(void* writer);

}  // namespace ScreenFile
