// The two calling sequences through which the system reaches its documents:
// a key is read from the last of its occurrences in a section, and written
// to the first, or appended as the section's last child.
#pragma once

#include "core/XmlDoc.h"

// False when the section is missing. `value` receives the text of the last
// occurrence of the key and is left alone when there is none; `found`
// tells which.
bool ReadSectionKey(CXmlDoc& doc, const char16_t* section, const char16_t* key, CString& value, bool* found = nullptr);

// False (nothing written) when the section is missing.
bool WriteSectionKey(CXmlDoc& doc, const char16_t* section, const char16_t* key, const char16_t* value);
