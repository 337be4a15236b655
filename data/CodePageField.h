// A text in a field of a fixed number of code-page bytes, as the records of
// the PC protocol and of the transfer files carry names.
#pragma once

#include "platform/base/types.h"

// Converts `text` into the device code page, zero-terminated, in at most
// `room` bytes.
using TextToCodePage = int (*)(LPCWSTR text, char* buffer, int room);

// Fills the `room` bytes of `field` with the longest start of `text` whose
// code-page form fits, zero bytes after it: a character is never cut in
// two, and the work is the same however long the text.
void FitTextToField(LPCWSTR text, char* field, int room, TextToCodePage convert);
