// Users and fingerprint templates written to the transfer files Bak.yg2
// and Bak.zw for another terminal or the management software.
#pragma once

#include "platform/base/CString.h"

class CDbSqlite;
class CTransferLoop;

// Every row of Userinfo into folder\Bak.yg2 and, `withTemplates`, every
// row of FPinfo into folder\Bak.zw. The two go together: each is written
// whole under a temporary name before either is put in place, and then
// they are put in place one right after the other, with no step of the
// long work between them, so that a close or a stop signal during the
// export leaves both old files or both new ones. Without templates, a
// Bak.zw of an export before is removed from the folder before the new
// Bak.yg2 takes its place. False when a file could not be written or the
// older Bak.zw not removed; the files that were there then stay as they were
// (an older Bak.zw once removed stays removed).
bool ExportUserFiles(const CString& folder, bool withTemplates, CTransferLoop& loop, CDbSqlite& db);
