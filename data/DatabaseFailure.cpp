#include "data/DatabaseFailure.h"

#include <sqlite3.h>

#include "data/DataStoreServices.h"

namespace {

constexpr char16_t kSection[] = u"CDbSqlite";

}  // namespace

DatabaseFailure DatabaseFailureOf(int resultCode) {
    switch (resultCode & 0xFF) {
    case SQLITE_OK:
    case SQLITE_ROW:
    case SQLITE_DONE:
        return DatabaseFailure::None;
    case SQLITE_BUSY:
        return DatabaseFailure::InUse;
    case SQLITE_FULL:
        return DatabaseFailure::Full;
    case SQLITE_READONLY:
        return DatabaseFailure::ReadOnly;
    default:
        return DatabaseFailure::Other;
    }
}

CString DatabaseFailureText(DatabaseFailure failure) {
    switch (failure) {
    case DatabaseFailure::InUse:
        return DataLangText(kSection, u"DB0001", u"数据库正被其他程序使用");
    case DatabaseFailure::Full:
        return DataLangText(kSection, u"DB0002", u"存储空间已满");
    case DatabaseFailure::ReadOnly:
        return DataLangText(kSection, u"DB0003", u"数据库文件为只读");
    case DatabaseFailure::None:
    case DatabaseFailure::Other:
        break;
    }
    return DataLangText(kSection, u"DB0004", u"数据库写入失败");
}

CString DatabaseWriteFailedText(DatabaseFailure failure) {
    CString text;
    text.Format(DataLangFormat(kSection, u"DB0005", u"%s，更改未能保存！"), DatabaseFailureText(failure).GetString());
    return text;
}
