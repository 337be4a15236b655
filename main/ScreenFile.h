// The screen written to a PNG file whenever it has changed, for a terminal
// run without a window.
#pragma once

#include <string>

namespace ScreenFile {

// Empty: nothing is written.
void SetPath(const std::string& hostPath);
// Writes the screen when it differs from what was written last.
void WriteWhenChanged();

}  // namespace ScreenFile
