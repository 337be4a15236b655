#include "data/CopyConnection.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstdlib>

namespace {

constexpr int kProgressInstructions = 1000;

}  // namespace

CCopyConnection::CCopyConnection(const std::string& name, int flags) : CFileConnection(name, flags) {
    if (!Handle()) return;
    sqlite3_db_config(Handle(), SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(Handle(), SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
}

bool CCopyConnection::OnProgress(ULONGLONG instructionsPerKiB,
                                 std::function<void(ULONGLONG done, ULONGLONG total)> progress) {
    std::string pages;
    std::string pageSize;
    if (!Value("pragma page_count", pages) || !Value("pragma page_size", pageSize)) return false;
    if (!progress) return true;
    const ULONGLONG kib = std::strtoull(pages.c_str(), nullptr, 10) * std::strtoull(pageSize.c_str(), nullptr, 10) / 1024;
    const ULONGLONG total = std::max<ULONGLONG>(1, kib * instructionsPerKiB);
    m_step = [total, progress = std::move(progress), done = ULONGLONG{0}]() mutable {
        progress(done = std::min(done + kProgressInstructions, total), total);
    };
    sqlite3_progress_handler(Handle(), kProgressInstructions, &CCopyConnection::Step, this);
    return true;
}

bool CCopyConnection::Rows(const std::string& sql, std::vector<std::vector<std::string>>& rows) const {
    sqlite3_stmt* stmt = nullptr;
    int step = sqlite3_prepare_v2(Handle(), sql.c_str(), -1, &stmt, nullptr);
    if (step == SQLITE_OK) {
        while ((step = sqlite3_step(stmt)) == SQLITE_ROW) {
            std::vector<std::string>& row = rows.emplace_back();
            for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
                const unsigned char* text = sqlite3_column_text(stmt, i);
                row.emplace_back(text ? reinterpret_cast<const char*>(text) : "");
            }
        }
    }
    sqlite3_finalize(stmt);
    return step == SQLITE_DONE;
}

bool CCopyConnection::Value(const std::string& sql, std::string& value) const {
    std::vector<std::vector<std::string>> rows;
    if (!Rows(sql, rows) || rows.size() != 1 || rows[0].empty()) return false;
    value = rows[0][0];
    return true;
}

bool CCopyConnection::Run(const char* sql) const {
    return sqlite3_exec(Handle(), sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

int CCopyConnection::Step(void* connection) {
    static_cast<CCopyConnection*>(connection)->m_step();
    return 0;
}
