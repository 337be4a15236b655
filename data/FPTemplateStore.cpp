#include "data/FPTemplateStore.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

#include "data/DataLocks.h"
#include "data/DataStoreServices.h"
#include "data/SqlHelpers.h"

CFPTemplateStore* g_pFPTemplateStore = nullptr;

CFPTemplateStore* GetFPTemplateStore() { return g_pFPTemplateStore; }

namespace {

// Sensor generations above 7 match on the library's own records.
bool UsesMatchRecords() { return DataSensorVersion() > 7; }

// The fill reads the rows, then has them converted on several threads: a
// record costs the library about half as much to make (the flow unpacked,
// the minutiae's spread worked out) as SQLite's join takes to give its row.
// The threads convert once the rows are read, so that, on a processor busy
// with other work, they never take turns with the reading, and a thread
// that gets no processor leaves its rows to the others. A thread takes this
// many rows at a time.
constexpr int kRowsPerTurn = 32;

int ConvertingThreads() {
    const unsigned cores = std::thread::hardware_concurrency();
    return static_cast<int>(std::clamp(cores, 2u, 4u)) - 1;
}

// The next row of the fill's query and its blob; false when the rows end.
// The blob is null when its size is none the store can take.
bool NextRow(CSqlStatement& rows, const BYTE*& blob, int& bytes) {
    if (!rows.NextRow()) return false;
    blob = static_cast<const BYTE*>(rows.ValueBlob(1, bytes));
    if (bytes != StoredTemplateSize && bytes != OldStoredTemplateSize) blob = nullptr;
    return true;
}

}  // namespace

void CFPTemplateStore::Allocate(int n, int size) {
    CDataStoreLock lock(g_csTemplateStore);
    limit = std::clamp(n, 0, static_cast<int>(TemplateLimit));
    slots = std::max(n, 0) + 5;
    templateSize = size;
    const size_t bytes = static_cast<size_t>(slots) * size;
    if (bytes != templatesBytes) {
        templates.reset(new BYTE[bytes]);
        templatesBytes = bytes;
    }
    ids.assign(slots, CString());
    fingers.assign(slots, -1);
    index.Reset(slots);
    count = 0;
}

void CFPTemplateStore::Reset() {
    Allocate(TemplateLimit, UsesMatchRecords() ? MatchRecordSize : OldStoredTemplateSize);
}

bool CFPTemplateStore::ToSlotForm(const BYTE* blob, int size, bool matchRecords, BYTE* out) const {
    if (size != StoredTemplateSize && size != OldStoredTemplateSize) return false;
    if (!matchRecords) {
        std::memset(out, 0, templateSize);
        std::memcpy(out, blob, std::min(templateSize, size));
        return true;
    }
    if (!g_DataStoreServices.VeltoTempToFPRECORD) return false;
    // An old 256-byte blob holds one press: it stands for both. Bytes that
    // hold no template are not stored.
    BYTE doubled[StoredTemplateSize];
    if (size == OldStoredTemplateSize) {
        std::memcpy(doubled, blob, PressTemplateSize);
        std::memcpy(doubled + PressTemplateSize, blob, PressTemplateSize);
    }
    const BYTE* pair = size == StoredTemplateSize ? blob : doubled;
    if (templateSize == MatchRecordSize) return g_DataStoreServices.VeltoTempToFPRECORD(pair, out) != 0;
    BYTE record[MatchRecordSize];
    if (!g_DataStoreServices.VeltoTempToFPRECORD(pair, record)) return false;
    std::memcpy(out, record, templateSize);
    return true;
}

size_t CFPTemplateStore::HashOf(const CString& userId, int finger) {
    return std::hash<std::u16string_view>()(userId.str()) * 31 + static_cast<size_t>(finger);
}

int CFPTemplateStore::Find(size_t hash, const CString& userId, int finger) const {
    return index.Find(hash, [&](int i) { return fingers[i] == finger && ids[i] == userId; });
}

int CFPTemplateStore::Add(const BYTE* templ, const CString& userId, int finger, BOOL, int size) {
    CDataStoreLock lock(g_csTemplateStore);
    return AddLocked(templ, userId, finger, size);
}

int CFPTemplateStore::AddLocked(const BYTE* templ, const CString& userId, int finger, int size) {
    if (templateSize > MatchRecordSize) return 0;
    // One slot per (user, finger), whatever the caller asked: a second
    // would be matched as a different template of the same finger.
    const size_t hash = HashOf(userId, finger);
    const int stored = Find(hash, userId, finger);
    if (stored >= 0) {
        // Made aside, so that the slot keeps its template when this one
        // cannot be stored.
        BYTE slotForm[MatchRecordSize];
        if (!ToSlotForm(templ, size, UsesMatchRecords(), slotForm)) return 0;
        std::memcpy(SlotBytes(stored), slotForm, templateSize);
    } else {
        if (count >= limit) return 0;
        // A new template is made in its free slot.
        if (!ToSlotForm(templ, size, UsesMatchRecords(), SlotBytes(count))) {
            Clear(count);
            return 0;
        }
        ids[count] = userId;
        fingers[count] = finger;
        index.Insert(hash, count);
        ++count;
    }
    changed = false;
    return 1;
}

BYTE* CFPTemplateStore::FindSlot(const CString& userId, int finger) {
    CDataStoreLock lock(g_csTemplateStore);
    const int i = Find(HashOf(userId, finger), userId, finger);
    return i < 0 ? nullptr : SlotBytes(i);
}

void CFPTemplateStore::Clear(int i) {
    ids[i].Empty();
    fingers[i] = -1;
    std::memset(SlotBytes(i), 0, templateSize);
}

int CFPTemplateStore::Delete(const CString& userId, int finger) {
    CDataStoreLock lock(g_csTemplateStore);
    // From the top down, the last occupied slot fills each hole, so the
    // occupied slots stay 0 .. count - 1.
    for (int i = count - 1; i >= 0; --i) {
        if (ids[i] != userId || (finger != -1 && fingers[i] != finger)) continue;
        const int last = count - 1;
        index.Erase(HashOf(ids[i], fingers[i]), i);
        if (i != last) {
            index.Renumber(HashOf(ids[last], fingers[last]), last, i);
            ids[i] = ids[last];
            fingers[i] = fingers[last];
            std::memcpy(SlotBytes(i), SlotBytes(last), templateSize);
        }
        Clear(last);
        --count;
        changed = false;
    }
    return 1;
}

bool CFPTemplateStore::GetEntry(int i, CString& userId, int& finger) {
    CDataStoreLock lock(g_csTemplateStore);
    if (i < 0 || i >= count) return false;
    userId = ids[i];
    finger = fingers[i];
    return true;
}

int CFPTemplateStore::UpdateAfterMatch(int i, const BYTE* live, BYTE* result, const CString& userId, int finger,
                                       CDbSqlite& db) {
    if (!g_DataStoreServices.VeltoAutoUpFP || templateSize != MatchRecordSize) return 0;
    CDataStoreLock lock(g_csTemplateStore);
    if (i < 0 || i >= count || fingers[i] != finger || ids[i] != userId) return 0;
    BYTE* const merged = result + 4;
    BYTE* const storable = result + 4 + MatchRecordSize;
    const int improved = g_DataStoreServices.VeltoAutoUpFP(live, SlotBytes(i), merged, storable);
    std::memcpy(result, &improved, sizeof improved);
    if (!improved) return 0;
    std::memcpy(SlotBytes(i), merged, MatchRecordSize);
    CString sql;
    sql.Format(u"Update FPinfo set FPTemplate = ? WHERE userid = ? and fingerNO = '%d'", finger);
    StatementPtr update(db.Statement(sql));
    update->BindBlob(0, storable, StoredTemplateSize);
    update->Bind(1, userId.GetString());
    update->Execute();
    return 1;
}

CFPTemplateStore::RowsEnd CFPTemplateStore::AddRows(CSqlStatement& rows) {
    const BYTE* blob;
    int bytes = 0;
    // A slot too small to hold the blob while it waits holds the blob's
    // first bytes only, all the conversion there is: one by one.
    if (templateSize < StoredTemplateSize) {
        while (NextRow(rows, blob, bytes)) {
            if (!blob) return RowsEnd::BadRow;
            AddLocked(blob, rows.ValueString(2), rows.ValueInt(3), bytes);
        }
        return RowsEnd::AllRead;
    }
    // Each row read waits in the next free slot, as if every row before it
    // were stored, and is converted there; KeepRows then moves each one
    // stored where AddLocked would have put it.
    const int first = count;
    const int room = slots - first;
    std::vector<int> sizes;
    std::vector<CString> rowIds;
    std::vector<int> rowFingers;
    sizes.reserve(room);
    rowIds.reserve(room);
    rowFingers.reserve(room);
    std::vector<char> converted(room, 0);
    // The converting threads start while the rows are read, and wait for
    // the last one.
    std::mutex readLock;
    std::condition_variable allRead;
    int read = -1;
    std::atomic<int> nextTurn{0};
    const bool matchRecords = UsesMatchRecords();
    auto convert = [&] {
        {
            std::unique_lock<std::mutex> lock(readLock);
            allRead.wait(lock, [&] { return read >= 0; });
        }
        for (int from; (from = nextTurn.fetch_add(kRowsPerTurn)) < read;) {
            for (int i = from; i < std::min(from + kRowsPerTurn, read); ++i) {
                BYTE pair[StoredTemplateSize];
                std::memcpy(pair, SlotBytes(first + i), sizes[i]);
                converted[i] = templateSize <= MatchRecordSize && ToSlotForm(pair, sizes[i], matchRecords, SlotBytes(first + i));
            }
        }
    };
    std::vector<std::thread> converters;
    for (int t = 0; t < ConvertingThreads() && (t + 1) * kRowsPerTurn < room; ++t) {
        // Without another thread the rows are converted all the same.
        try {
            converters.emplace_back(convert);
        } catch (const std::system_error&) {
            break;
        }
    }
    RowsEnd end = RowsEnd::NoRoom;
    while (static_cast<int>(sizes.size()) < room) {
        if (!NextRow(rows, blob, bytes)) {
            end = RowsEnd::AllRead;
            break;
        }
        if (!blob) {
            end = RowsEnd::BadRow;
            break;
        }
        std::memcpy(SlotBytes(first + static_cast<int>(sizes.size())), blob, bytes);
        sizes.push_back(bytes);
        rowIds.emplace_back(rows.ValueString(2));
        rowFingers.push_back(rows.ValueInt(3));
    }
    {
        std::lock_guard<std::mutex> lock(readLock);
        read = static_cast<int>(sizes.size());
    }
    allRead.notify_all();
    convert();
    for (std::thread& converter : converters) converter.join();
    KeepRows(first, rowIds, rowFingers, converted);
    return end;
}

void CFPTemplateStore::KeepRows(int first, std::vector<CString>& rowIds, const std::vector<int>& rowFingers,
                                const std::vector<char>& converted) {
    const int rows = static_cast<int>(rowIds.size());
    // Only a slot below the row's own is ever written, and rows are kept in
    // order: no row's slot form is written over before it is kept.
    for (int i = 0; i < rows; ++i) {
        if (!converted[i]) continue;
        const BYTE* slotForm = SlotBytes(first + i);
        const size_t hash = HashOf(rowIds[i], rowFingers[i]);
        const int stored = Find(hash, rowIds[i], rowFingers[i]);
        if (stored >= 0) {
            std::memcpy(SlotBytes(stored), slotForm, templateSize);
        } else {
            if (count >= limit) continue;
            if (count != first + i) std::memcpy(SlotBytes(count), slotForm, templateSize);
            ids[count] = std::move(rowIds[i]);
            fingers[count] = rowFingers[i];
            index.Insert(hash, count);
            ++count;
        }
        changed = false;
    }
    for (int i = count; i < first + rows; ++i) Clear(i);
}

int FillTemplateStore(CFPTemplateStore& store, CDbSqlite& db) {
    store.Reset();
    StatementPtr rows(db.Statement(u"SELECT fpinfo.rowid,FPTemplate,fpinfo.userid,fpinfo.fingerNo FROM userinfo ,fpinfo "
                                   u"where Userinfo.Userid  = fpinfo.Userid"));
    for (CFPTemplateStore::RowsEnd end = CFPTemplateStore::RowsEnd::NoRoom; end != CFPTemplateStore::RowsEnd::AllRead;) {
        {
            // Taken once for the thousands of rows at start, not per row,
            // and let go while a message box waits.
            CDataStoreLock lock(g_csTemplateStore);
            end = store.AddRows(*rows);
        }
        if (end == CFPTemplateStore::RowsEnd::BadRow) DataShowMessage(u"database template error!");
    }
    return store.GetCount();
}
