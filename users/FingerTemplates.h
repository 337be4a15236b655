// An enrolled finger as three stores keep it: its FPinfo row (the 338-byte
// record of two presses), its slot in the template store that
// identification searches, and its bit in the user's finger mask. Each
// operation changes all three or none.
#pragma once

#include "data/DbSqlite.h"
#include "data/FPTemplateStore.h"
#include "data/UserStorage.h"

// The security level of every match the enrolment makes.
constexpr int kEnrolMatchLevel = 5;

// The enrolment's duplicate check: the index of a template in the store
// that the press's template matches, with the matcher of the sensor
// generation (the store's slots are 1024-byte records above generation 7,
// else 256-byte templates), also one that a search would not name for
// another matching nearly as well; -1 when none does or no matcher is
// loaded.
int FindStoredTemplate(const BYTE* pressTemplate, CFPTemplateStore& store, int sensorVersion);

enum class FingerSaveResult { Saved, NoUser, StoreFull, Failed };

// Stores the record of (user, finger). NoUser when the user has no
// Userinfo row, StoreFull when the template store holds its 5000
// templates; nothing is written then, nor on Failed.
FingerSaveResult SaveFingerTemplate(CDbSqlite& db, CUserStorage& users, CFPTemplateStore& store, const CString& userId,
                                    int finger, const BYTE* record);
// Removes the finger's row, template and bit; false (nothing changed) when
// the row could not be deleted.
bool DeleteFingerTemplate(CDbSqlite& db, CUserStorage& users, CFPTemplateStore& store, const CString& userId,
                          int finger);
