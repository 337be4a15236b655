#include "core/UserDataReset.h"

#include "core/LangText.h"
#include "data/DataGlobals.h"
#include "data/DataLocks.h"
#include "data/DbTransaction.h"
#include "data/DeptStorage.h"
#include "data/RecordStore.h"
#include "data/UserStorage.h"

DatabaseFailure EmptyUserData(const std::function<bool()>& alsoEmpty) {
    CQuietStatementErrors quiet;
    bool begun = false;
    bool emptied = false;
    {
        // The record ring's lock before the database's, as every writer takes them.
        CDataStoreLock ringLock(g_csRecordStore);
        CDbTransaction transaction(*g_pDatabase);
        begun = transaction.IsOpen();
        emptied = begun && g_pRecordStore->Reset() == 0 && g_pUserStorage->DeleteAll() == 0 &&
                  g_pDatabase->DirectStatement(u"Delete from fpinfo") &&
                  g_pDatabase->DirectStatement(u"update BasePara set FpCount='0'") && (!alsoEmpty || alsoEmpty()) &&
                  transaction.Commit();
    }
    if (emptied) return DatabaseFailure::None;
    // The stores took their empty counts as their own statements succeeded;
    // the transaction around them was rolled back since.
    if (begun) {
        g_pRecordStore->LoadCounters();
        g_pUserStorage->LoadCount();
        g_pDeptStorage->LoadCount();
    }
    return quiet.Failure() == DatabaseFailure::None ? DatabaseFailure::Other : quiet.Failure();
}

CString DataNotClearedText(DatabaseFailure failure) {
    CString format;
    GetLangFormat(u"CJHTool", u"JT0007", u"%s，数据未能清除！", format);
    CString text;
    text.Format(format, DatabaseFailureText(failure).GetString());
    return text;
}
