// A thread of the terminal that the system refused to start (it has no
// thread to give): never silent. Standard error says which and what the
// terminal does without it; where a person must act, the message box says
// so too.
#pragma once

// "quillon: the <thread> could not be started: <without>".
void ReportThreadNotStarted(const char* thread, const char* without);

// The message box with the language file's text (section, key, the
// built-in Chinese default).
void ShowThreadNotStarted(const char16_t* section, const char16_t* key, const char16_t* defaultText);
