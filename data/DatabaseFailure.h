// Why the database refused a statement, in words a person can act on:
// another program holds it past the busy timeout, the flash is full, the
// file may not be written, or something else. The SQLite code itself is
// for the developer (standard error), never for a message box.
#pragma once

#include "platform/base/CString.h"

enum class DatabaseFailure { None, InUse, Full, ReadOnly, Other };

// A result code of SQLite, extended codes included; None for a success.
DatabaseFailure DatabaseFailureOf(int resultCode);
// The cause as the language file gives it ("The flash is full"), for a
// message that goes on to say what it meant; None reads as Other.
CString DatabaseFailureText(DatabaseFailure failure);
// The message of a single write that was refused: the cause, and that the
// change was not saved.
CString DatabaseWriteFailedText(DatabaseFailure failure);
