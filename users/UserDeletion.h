// Deleting a user on a person's request, as the delete page and Find User
// share it: the question, the delete, and a box when the database refuses it.
#pragma once

#include "platform/base/CString.h"

enum class UserDeletion { Declined, Deleted, Refused };

UserDeletion AskAndDeleteUser(const CString& userId);
