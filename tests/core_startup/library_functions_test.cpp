// Functions the terminal finds by name in libraries: the keyboard hook's
// three in "coredll.dll" and the language's resource library.
#include "core/KeyboardHook.h"
#include "core/LangLibraries.h"
#include "platform/base/modules.h"
#include "platform/ui/CWinApp.h"
#include "tests/core_startup/StartupTestSupport.h"

namespace {

const HHOOK kInstalledHook = reinterpret_cast<HHOOK>(0x5EED);

struct HookCalls {
    int install = 0;
    int installType = 0;
    int next = 0;
    int unhook = 0;
    HHOOK unhooked = nullptr;
};
HookCalls g_calls;

HHOOK CountedSetHook(int type, HOOKPROC, HINSTANCE, DWORD) {
    ++g_calls.install;
    g_calls.installType = type;
    return kInstalledHook;
}
LRESULT CountedNextHook(HHOOK, int, WPARAM, LPARAM) {
    ++g_calls.next;
    return 0;
}
BOOL CountedUnhook(HHOOK hook) {
    ++g_calls.unhook;
    g_calls.unhooked = hook;
    return TRUE;
}
LRESULT KeyProc(int, WPARAM, LPARAM) { return 0; }

constexpr const char* kSetName = "SetWindowsHookExW";
constexpr const char* kNextName = "CallNextHookEx";
constexpr const char* kUnhookName = "UnhookWindowsHookEx";

// "coredll.dll" offers counting stand-ins for the hook functions, one of
// them possibly missing; the layer's own come back afterwards.
class KeyboardHookTest : public ::testing::Test {
protected:
    void TearDown() override {
        RemoveKeyboardHook();
        RegisterBuiltinModule(u"coredll.dll", {{kSetName, AsFarProc(&SetWindowsHookExW)},
                                               {kNextName, AsFarProc(&CallNextHookEx)},
                                               {kUnhookName, AsFarProc(&UnhookWindowsHookEx)}});
    }
    static void OfferAllBut(const std::string& missing) {
        auto offered = [&](const char* name, FARPROC proc) { return missing == name ? nullptr : proc; };
        RegisterBuiltinModule(u"coredll.dll", {{kSetName, offered(kSetName, AsFarProc(&CountedSetHook))},
                                               {kNextName, offered(kNextName, AsFarProc(&CountedNextHook))},
                                               {kUnhookName, offered(kUnhookName, AsFarProc(&CountedUnhook))}});
        g_calls = HookCalls{};
    }
};

TEST_F(KeyboardHookTest, ALibraryMissingOneFunctionInstallsNoHook) {
    for (const char* missing : {kSetName, kNextName, kUnhookName}) {
        SCOPED_TRACE(missing);
        OfferAllBut(missing);
        EXPECT_FALSE(InstallKeyboardHook(nullptr, KeyProc));
        EXPECT_EQ(g_hKeyboardHook, nullptr);
        EXPECT_EQ(g_calls.install, 0);
        EXPECT_TRUE(RemoveKeyboardHook());
        EXPECT_EQ(g_calls.unhook, 0);
    }
}

TEST_F(KeyboardHookTest, AnInstalledHookPassesKeysOnAndIsRemovedThroughTheLibrary) {
    OfferAllBut("");
    ASSERT_TRUE(InstallKeyboardHook(nullptr, KeyProc));
    EXPECT_EQ(g_calls.install, 1);
    EXPECT_EQ(g_calls.installType, WH_KEYBOARD_LL);
    EXPECT_EQ(g_hKeyboardHook, kInstalledHook);
    ASSERT_NE(g_pfnCallNextHookEx, nullptr);
    g_pfnCallNextHookEx(g_hKeyboardHook, HC_ACTION, WM_KEYDOWN, 0);
    EXPECT_EQ(g_calls.next, 1);
    EXPECT_TRUE(RemoveKeyboardHook());
    EXPECT_EQ(g_calls.unhook, 1);
    EXPECT_EQ(g_calls.unhooked, kInstalledHook);
    EXPECT_EQ(g_hKeyboardHook, nullptr);
}

class ResourceLibraryTest : public StartupTest {
protected:
    void SetUp() override {
        StartupTest::SetUp();
        m_programResources = AfxGetResourceHandle();
    }
    void TearDown() override {
        AfxSetResourceHandle(m_programResources);
        StartupTest::TearDown();
    }

    HINSTANCE m_programResources = nullptr;
};

TEST_F(ResourceLibraryTest, AMissingOrBrokenLibraryKeepsTheProgramsOwnResources) {
    LoadResourceDll();
    EXPECT_EQ(AfxGetResourceHandle(), m_programResources);
    PutAppFile("AResource.dll", "no library at all");
    LoadResourceDll();
    EXPECT_EQ(AfxGetResourceHandle(), m_programResources);
}

#ifdef QUILLON_FP_LIBRARY_DIR
TEST_F(ResourceLibraryTest, ALoadedLibraryBecomesTheResourceHandle) {
    std::filesystem::copy_file(std::string(QUILLON_FP_LIBRARY_DIR) + "/SMApi_WinCE.dll", AppFile("AResource.dll"));
    LoadResourceDll();
    const HMODULE loaded = GetModuleHandleW(u"\\NandFlash\\zeta42\\AResource.dll");
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(AfxGetResourceHandle(), loaded);
    FreeLibrary(loaded);
}
#endif

}  // namespace
