#include "users/FingerTemplates.h"

#include "core/FpLibraries.h"
#include "data/DbTransaction.h"
#include "data/SqlHelpers.h"
#include "users/UserRows.h"

namespace {

bool DeleteFingerRow(CDbSqlite& db, const CString& userId, int finger) {
    CString sql;
    sql.Format(u"DELETE FROM  FPinfo WHERE userid = ? and FingerNO = '%d'", finger);
    return ExecuteBound(db, sql, {userId});
}

// Sets or clears the finger's bit inside the caller's transaction.
bool WriteFingerBit(CUserStorage& users, const CString& userId, int finger, bool enrolled) {
    int mask = 0;
    if (!users.GetFPFlag(userId, &mask)) return false;
    mask = enrolled ? (mask | (1 << finger)) : (mask & ~(1 << finger));
    return users.SetFPFlag(userId, mask) == 0;
}

bool RemoveFingerRows(CDbSqlite& db, CUserStorage& users, const CString& userId, int finger) {
    CDbTransaction transaction(db);
    return transaction.IsOpen() && DeleteFingerRow(db, userId, finger) &&
           WriteFingerBit(users, userId, finger, false) && transaction.Commit();
}

}  // namespace

int FindStoredTemplate(const BYTE* pressTemplate, CFPTemplateStore& store, int sensorVersion) {
    const BYTE* templates = store.GetTemplates();
    const int count = store.GetCount();
    if (sensorVersion <= 7) return g_FpLib.VeltoMatchN ? g_FpLib.VeltoMatchN(pressTemplate, templates, count, kEnrolMatchLevel) : -1;
    if (!g_FpLib.VeltoMatch2N) return -1;
    int score = 0, press = 0;
    return g_FpLib.VeltoMatch2N(pressTemplate, templates, count, &score, &press, kEnrolMatchLevel);
}

FingerSaveResult SaveFingerTemplate(CDbSqlite& db, CUserStorage& users, CFPTemplateStore& store, const CString& userId,
                                    int finger, const BYTE* record) {
    if (!UserRowExists(db, userId)) return FingerSaveResult::NoUser;
    if (store.FindSlot(userId, finger) == nullptr && store.GetCount() >= TemplateLimit)
        return FingerSaveResult::StoreFull;
    {
        CDbTransaction transaction(db);
        if (!transaction.IsOpen()) return FingerSaveResult::Failed;
        CString sql;
        sql.Format(u"INSERT INTO FPinfo VALUES ( '%d',?, ?)", finger);
        StatementPtr insert(db.Statement(sql));
        if (!insert->Bind(0, userId) || !insert->BindBlob(1, record, StoredTemplateSize) || !insert->Execute() ||
            !WriteFingerBit(users, userId, finger, true) || !transaction.Commit())
            return FingerSaveResult::Failed;
    }
    // The store takes its own lock, which comes before the database's: it
    // is written once the rows are in, and they are taken back when it
    // refuses.
    if (store.Add(record, userId, finger, FALSE, StoredTemplateSize)) return FingerSaveResult::Saved;
    RemoveFingerRows(db, users, userId, finger);
    return FingerSaveResult::StoreFull;
}

bool DeleteFingerTemplate(CDbSqlite& db, CUserStorage& users, CFPTemplateStore& store, const CString& userId,
                          int finger) {
    if (!RemoveFingerRows(db, users, userId, finger)) return false;
    store.Delete(userId, finger);
    return true;
}
