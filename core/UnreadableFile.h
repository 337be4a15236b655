// Files start-up cannot do without (the settings, the registry) that exist
// and cannot be read: the person learns which file it is and how the repair
// replaces it.
#pragma once

#include <string>

// Says on standard error that `hostPath` exists but cannot be read, `why`,
// and that the repair keeps it aside and writes `factoryContent` in its
// place.
void ExplainUnreadableFile(const std::string& hostPath, const char* why, const char* factoryContent);

// The registry file is there and could not be read: says so, as above.
void ExplainUnreadableRegistryFile();
