// Emptying what the terminal has gathered in use: the users, their
// fingerprints and the attendance records, for the resets.
#pragma once

#include <functional>

#include "data/DatabaseFailure.h"
#include "platform/base/CString.h"

// Empties them, and whatever `alsoEmpty` writes (false when one of its
// statements failed), in one transaction: on a refusal nothing is emptied,
// and the counts the stores keep in memory follow what the database still
// holds. No statement shows a box of its own meanwhile: the caller tells
// the failure, once. None, or why the database refused.
DatabaseFailure EmptyUserData(const std::function<bool()>& alsoEmpty = {});

// The message of a reset the database refused: the cause, and that the data
// was not cleared.
CString DataNotClearedText(DatabaseFailure failure);
