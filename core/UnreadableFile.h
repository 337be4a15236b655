// Files start-up cannot do without (the settings, the registry) that exist
// and cannot be read: the person learns which file it is, what is wrong with
// it and how the repair replaces it.
#pragma once

#include <string>

#include "platform/base/CString.h"

// Says on standard error that `hostPath` exists but cannot be read and why:
// what stands in its place when it is no plain file or is too large, else
// `damage`; and that the repair keeps it aside and writes `factoryContent`
// in its place.
void ExplainUnreadableFile(const std::string& hostPath, const char* damage, const char* factoryContent);

// The registry file is there and could not be read: says so, as above.
void ExplainUnreadableRegistryFile();

// The language file at `devicePath` is there and did not load: says on
// standard error which file it is and why, since every text then shows its
// default.
void ExplainUnreadableLanguageFile(const CString& devicePath);

// The box that stops start-up for the file at `devicePath`: it says what
// stands there when that is no plain file, else that the file is not found.
CString StopForFileText(const CString& devicePath);
