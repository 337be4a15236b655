// A fresh factory database under a temporary device root for each test,
// and the message boxes the data store raised during it.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <vector>

#include "data/DataLocks.h"
#include "data/DataStoreServices.h"
#include "data/DbSqlite.h"
#include "data/FactoryDatabase.h"
#include "data/SqlHelpers.h"
#include "tests/support/device_root.h"

inline const char16_t kTestDbPath[] = u"\\DB\\KD4700.DB";

class DataStoreTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static bool locksReady = false;
        if (!locksReady) InitDataStoreLocks();
        locksReady = true;
    }

    void SetUp() override {
        std::filesystem::create_directories(root.HostPath("DB"));
        Boxes().clear();
        g_DataStoreServices = DataStoreServices();
        g_DataStoreServices.messageBox = [](LPCWSTR text, LPCWSTR caption) {
            Boxes().push_back(CString(caption) + u"|" + text);
        };
        g_DataStoreServices.showMessage = [](LPCWSTR text) { Boxes().push_back(CString(text)); };
        ASSERT_TRUE(CreateFactoryDatabase(kTestDbPath));
        ASSERT_TRUE(db.Open(kTestDbPath));
    }

    void TearDown() override {
        db.Close();
        g_DataStoreServices = DataStoreServices();
    }

    void Reopen() {
        db.Close();
        ASSERT_TRUE(db.Open(kTestDbPath));
    }

    int Int(LPCWSTR sql) { return QueryInt(db, sql); }
    CString Text(LPCWSTR sql) {
        StatementPtr row(db.Statement(sql));
        return row->NextRow() ? CString(row->ValueString(0)) : CString(u"<no row>");
    }

    static std::vector<CString>& Boxes() {
        static std::vector<CString> boxes;
        return boxes;
    }

    ScopedDeviceRoot root;
    CDbSqlite db;
};

inline std::vector<BYTE> Bytes(std::initializer_list<int> values) {
    std::vector<BYTE> bytes;
    for (int v : values) bytes.push_back(static_cast<BYTE>(v));
    return bytes;
}
