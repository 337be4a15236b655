// What the language file switches on (the character-set, right-to-left and
// resource libraries, the alternative font), date-time texts of records and
// the protocol's seconds, users' photo files, snapshots, and small device
// services.
#pragma once

#include "platform/base/CString.h"

int LoadIconvDll();
void LoadBidiDll();
// The resources of a language shown in its own order ("AResource.dll"); a
// failed load keeps the program's own.
void LoadResourceDll();
int IsBidiLanguage();
int IsFtLanguage();
int IsOrderLanguage();

// Splits "year-month-day hours:minutes:seconds"; returns 1.
int ParseDateTime(CString text, int* year, int* month, int* day, int* hour, int* minute, int* second);
// Seconds from 2000-01-02 00:00:00, rounded half away from zero.
long long DateTimeToSecondsSigned(const CString& text);
unsigned DateTimeToSeconds(CString text);

// A user id that can name a file: not empty, no "\", "/", ":" and not "..".
bool IsSafeFileNamePart(const CString& part);
// Deletes the first photo of the user that exists; 1 when one was deleted.
int DeleteUserPhoto(CString userId);
int DeleteUserPhotos();
int DeleteSnapshots();

// 1 when an active driver's name begins with the 3-letter prefix.
int IsDriverActive(CString prefix);
int SetSDCardDetect();
BOOL StartProgram(const char16_t* path);
