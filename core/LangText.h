// The user-interface texts of the language file LANG\<language>.LAN: one
// child of the root per section (the class that shows the texts), one child
// per text key. A text missing from the file shows as "*" + its default.
#pragma once

#include "core/XmlDoc.h"

extern CXmlDoc g_LangDoc;

// 1 when the section exists, else 0; `text` is "*" + default unless the
// key is found (the last occurrence wins).
int GetLangText(CString section, CString key, CString defaultText, CString& text);
// GetLangText for a text that is used as a format: a translation whose
// conversions (count, order, kind) differ from the default's would read
// arguments that are not there, so it is replaced by "*" + default.
int GetLangFormat(CString section, CString key, CString defaultFormat, CString& format);
// `text` is the key itself unless found; no decorations, no reordering.
// A missing section shows a message and gives 0.
int GetLangTextRaw(CString section, CString key, CString& text);
// The option texts of the section "language" as written in the file,
// without any marks: a missing key reads as empty, so a switch is off.
// 1 when the section exists, else 0.
int GetLanguageSwitch(CString key, CString& text);
// Reads the language file of the language the settings name into
// g_LangDoc; false when it cannot be read.
bool ReadLanguageFile();
// application directory + "LANG\" + language (or "English") + ".LAN";
// a missing file is reported with a message.
CString GetLanguageFilePath();
