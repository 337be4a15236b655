// The settings keys of config\config.xml: element CONFIG under the root,
// one child element per key, numbers as decimal text. Readers take the last
// occurrence of a key, the writer changes the first.
#pragma once

#include <string>

#include "core/XmlDoc.h"

extern CXmlDoc g_ConfigDoc;

// application directory + "config\config.xml"
CString GetConfigFilePath();

// True when the settings file of the device folder `deviceRoot` (a host
// folder, which becomes the device root) can be read as start-up reads it.
bool ConfigFileReads(const std::string& deviceRoot);
// Says on standard error, naming the host file, that the settings file at
// `devicePath` exists but cannot be read, and how a repair replaces it;
// nothing when the file is missing.
void ExplainUnreadableConfigFile(const CString& devicePath);

// 1 when the key exists; the value is the leading decimal integer of its
// text (0 when the text has none, and 0 when the key is missing).
int GetConfigInt(CString key, int& value);
// 1 when the key exists; the text is left unchanged when it does not.
int GetConfigValue(CString key, CString& value);
// 1 when CONFIG exists, else 0 after a message. With `save` the whole
// document is written to the file, atomically; a write that fails leaves
// the file as it was and is not told (the defaults written at load, whose
// missing key means the same value anyway).
int SetConfigValue(CString key, CString value, BOOL save);
// Writes the whole document to the file, atomically; false when it could
// not be written, the file keeping its old content. A change that must not
// outlive a failed save goes through CConfigChange (core/ConfigChange.h).
bool SaveConfigFile();
int SetConfigInt(CString key, UINT value, BOOL save);
