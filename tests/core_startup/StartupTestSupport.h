// A device root with the application folder and a factory database, opened
// as start-up opens it, for the tests of the start-up services.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>

#include "core/DatabaseOpen.h"
#include "core/SystemLocks.h"
#include "data/DataGlobals.h"
#include "data/FactoryDatabase.h"
#include "data/SqlHelpers.h"
#include "platform/base/debug.h"
#include "tests/support/device_root.h"

inline constexpr char kAppFolder[] = "NandFlash/zeta42/";

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitSystemLocks();
        std::filesystem::create_directories(root.HostPath(std::string(kAppFolder) + "DB"));
        JournalClear();
    }
    void TearDown() override { CloseDatabase(); }

    // The factory database in place and opened.
    void OpenFactoryDatabase() {
        ASSERT_TRUE(CreateFactoryDatabase(GetDatabasePath()));
        ASSERT_EQ(OpenDatabase(), 1);
    }
    int Int(LPCWSTR sql) { return QueryInt(*g_pDatabase, sql); }
    std::string AppFile(const std::string& name) const { return root.HostPath(std::string(kAppFolder) + name); }
    void PutAppFile(const std::string& name, const std::string& content = "x") const {
        root.PutFile(std::string(kAppFolder) + name, content);
    }
    static std::vector<std::u16string> Journal(const char* kind) {
        std::vector<std::u16string> texts;
        for (const JournalEntry& entry : JournalRead(kind)) texts.push_back(entry.text);
        return texts;
    }

    ScopedDeviceRoot root;
};
