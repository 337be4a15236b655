// A template blob in FPinfo, any bytes and any length: the start fills the
// template store from the table, each blob decoded through the matching
// library; the store takes no more than the table holds, and a search
// through it names one of its slots or none.
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "core/FpLibraries.h"
#include "data/DbSqlite.h"
#include "data/FPTemplateStore.h"
#include "data/FactoryDatabase.h"
#include "data/SqlHelpers.h"
#include "fuzz/fuzz_device.h"
#include "platform/fp/fpapi.h"

namespace {

CDbSqlite& Database() {
    static CDbSqlite* db = [] {
        FuzzDeviceRoot();
        auto* opened = new CDbSqlite;
        const CString path = u"\\NandFlash\\zeta42\\DB\\KD4700.DB";
        if (!CreateFactoryDatabase(path) || !opened->Open(path)) std::abort();
        opened->DirectStatement(u"pragma synchronous = off");
        opened->DirectStatement(u"insert into Userinfo (Userid, Name) values ('1', 'A'), ('2', 'B')");
        return opened;
    }();
    return *db;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    LoadFuzzFpLibraries();
    CDbSqlite& db = Database();
    db.DirectStatement(u"delete from FPinfo");
    // The first byte: the finger number and the user; the rest: the blob,
    // stored twice so that the store holds two slots to search.
    const int finger = size ? data[0] % 10 : 0;
    const std::unique_ptr<CSqlStatement> insert(
        db.Statement(u"insert into FPinfo (fingerNO, Userid, FPTemplate) values (?, ?, ?)"));
    if (!insert) std::abort();
    for (const char16_t* user : {u"1", u"2"}) {
        insert->Bind(0, finger);
        insert->Bind(1, user);
        insert->BindBlob(2, size ? data + 1 : data, size ? static_cast<int>(size - 1) : 0);
        insert->Execute();
        insert->Reset();
    }
    CFPTemplateStore store;
    FillTemplateStore(store, db);
    if (store.GetCount() > 2) std::abort();
    if (store.GetCount() == 0) return 0;
    // The slot's first bytes stand for a live template.
    const BYTE* slots = store.GetTemplates();
    int score = 0, press = 0;
    const int found = store.GetTemplateSize() == kFpRecordBytes
                          ? g_FpLib.VeltoMatch2N(slots, slots, store.GetCount(), &score, &press, 5)
                          : g_FpLib.VeltoMatchN(slots, slots, store.GetCount(), 5);
    if (found >= store.GetCount()) std::abort();
    return 0;
}
