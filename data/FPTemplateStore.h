// Every enrolled fingerprint template, in memory, in the form the matching
// library compares. The occupied slots are always 0 .. GetCount() - 1, the
// range the matchers scan; writers hold g_csTemplateStore, and so may a
// matcher that must not see the store change under it.
#pragma once

#include <memory>
#include <vector>

#include "data/DbSqlite.h"
#include "data/SlotIndex.h"
#include "platform/base/CString.h"
#include "platform/base/types.h"

enum : int {
    TemplateLimit = 5000,
    // A stored template of one press; an enrolled finger keeps two.
    PressTemplateSize = 169,
    StoredTemplateSize = 338,
    // A press to search for as the process library makes it on request:
    // its template, then up to three further views of it.
    LivePressSize = 4 * 169,
    OldStoredTemplateSize = 256,
    MatchRecordSize = 1024,
    // UpdateAfterMatch's result block: a word, the merged record, the
    // storable template.
    MatchResultSize = 4 + MatchRecordSize + StoredTemplateSize,
};

class CFPTemplateStore {
public:
    CFPTemplateStore() = default;
    virtual ~CFPTemplateStore() = default;

    // Room for `n` templates of `size` bytes (plus 5 spare slots), empty.
    void Allocate(int n, int size);
    // Room for 5000 templates of the size the sensor generation asks for.
    void Reset();
    // `size` is the stored blob's: 256 or 338. 1 when stored (a template of
    // the same user and finger is replaced), 0 when full or not storable.
    int Add(const BYTE* templ, const CString& userId, int finger, BOOL replace, int size);
    // The template of (user, finger), or null.
    BYTE* FindSlot(const CString& userId, int finger);
    // Finger -1: every finger of the user. Returns 1.
    int Delete(const CString& userId, int finger);

    int GetCount() const { return count; }
    BYTE* GetTemplates() { return templates.get(); }
    int GetTemplateSize() const { return templateSize; }
    // False for a free or out-of-range slot.
    bool GetEntry(int i, CString& userId, int& finger);
    // After a match on slot i of (userId, finger): lets the matching library
    // improve the stored template with the live one and keeps the better
    // one in the store and in FPinfo. 1 when improved; 0 when not, or when
    // slot i no longer holds that template.
    int UpdateAfterMatch(int i, const BYTE* live, BYTE* result, const CString& userId, int finger, CDbSqlite& db);
    bool IsChanged() const { return changed; }

private:
    friend int FillTemplateStore(CFPTemplateStore& store, CDbSqlite& db);

    // Add with g_csTemplateStore held.
    int AddLocked(const BYTE* templ, const CString& userId, int finger, int size);
    // How a run of the fill's rows ended.
    enum class RowsEnd { AllRead, BadRow, NoRoom };
    // With g_csTemplateStore held, adds the next rows of the fill's query
    // as AddLocked would one by one, until the rows end, a row's blob has a
    // size the store cannot take or the free slots are all taken.
    RowsEnd AddRows(CSqlStatement& rows);
    // Of rows read into the free slots from `first` on, each converted or
    // not, those that AddLocked would have stored, in their order (their
    // ids are moved into the store).
    void KeepRows(int first, std::vector<CString>& rowIds, const std::vector<int>& rowFingers,
                  const std::vector<char>& converted);
    // The slot form of a stored blob into `out` (templateSize bytes), as
    // the library's records when `matchRecords`.
    bool ToSlotForm(const BYTE* blob, int size, bool matchRecords, BYTE* out) const;
    static size_t HashOf(const CString& userId, int finger);
    // The slot of (userId, finger), whose hash is `hash`, or -1.
    int Find(size_t hash, const CString& userId, int finger) const;
    BYTE* SlotBytes(int i) { return templates.get() + static_cast<size_t>(i) * templateSize; }
    void Clear(int i);

    int count = 0;
    int slots = 0;
    int limit = 0;
    bool changed = false;
    // Free slots are never read, so a new store's block is not cleared:
    // each slot is written whole when a template takes it.
    std::unique_ptr<BYTE[]> templates;
    size_t templatesBytes = 0;
    std::vector<CString> ids;
    std::vector<int> fingers;
    // The occupied slot of each (user, finger): Add's one-slot-per-finger
    // check in constant time, so filling the store is linear.
    SlotIndex index;
    int templateSize = MatchRecordSize;
};

// Empties the store and fills it from FPinfo (templates of existing users);
// a blob of a size the store cannot take is reported and skipped. Returns
// the number of templates stored.
int FillTemplateStore(CFPTemplateStore& store, CDbSqlite& db);

extern CFPTemplateStore* g_pFPTemplateStore;
CFPTemplateStore* GetFPTemplateStore();
