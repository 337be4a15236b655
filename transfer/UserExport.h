// Users and fingerprint templates written to the transfer files Bak.yg2
// and Bak.zw for another terminal or the management software.
#pragma once

#include "platform/base/CString.h"

class CDbSqlite;
class CTransferLoop;

// Every row of Userinfo into folder\Bak.yg2. False when the file could not
// be written whole; an earlier file then stays as it was.
bool ExportUserFile(const CString& folder, CTransferLoop& loop, CDbSqlite& db);
// Every row of FPinfo into folder\Bak.zw, the same way.
bool ExportFingerprintFile(const CString& folder, CTransferLoop& loop, CDbSqlite& db);
