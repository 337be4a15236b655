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
    const size_t stride = static_cast<size_t>(store.GetTemplateSize());
    int score = 0, press = 0;
    auto search = [&](const BYTE* first, int n) {
        if (sensorVersion <= 7) return g_FpLib.VeltoMatchN ? g_FpLib.VeltoMatchN(pressTemplate, first, n, kEnrolMatchLevel) : -1;
        return g_FpLib.VeltoMatch2N ? g_FpLib.VeltoMatch2N(pressTemplate, first, n, &score, &press, kEnrolMatchLevel) : -1;
    };
    const int found = search(templates, count);
    if (found >= 0 || count <= 1) return found;
    // A search names no finger that another matches about as well: the
    // press of a finger stored twice would pass and be stored a third time.
    // Asked alone, each stored finger the press reaches the level with is
    // one already enrolled.
    for (int i = 0; i < count; ++i)
        if (search(templates + i * stride, 1) == 0) return i;
    return -1;
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
