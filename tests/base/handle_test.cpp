#include "platform/base/handle.h"

#include <gtest/gtest.h>

#include "platform/base/lasterror.h"

namespace {
struct Counted : KernelObject {
    explicit Counted(int& deaths) : m_deaths(deaths) {}
    ~Counted() override { ++m_deaths; }
    int& m_deaths;
};
}  // namespace

TEST(Handle, ClosesOnceAndRejectsStaleHandles) {
    int deaths = 0;
    HANDLE h = MakeHandle(new Counted(deaths));
    EXPECT_NE(ObjectFromHandleAs<Counted>(h), nullptr);
    EXPECT_TRUE(CloseHandle(h));
    EXPECT_EQ(deaths, 1);
    EXPECT_FALSE(CloseHandle(h));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(ObjectFromHandle(h), nullptr);
    EXPECT_FALSE(CloseHandle(INVALID_HANDLE_VALUE));
}

TEST(Handle, ObjectOutlivesCloseWhileReferenced) {
    int deaths = 0;
    HANDLE h = MakeHandle(new Counted(deaths));
    KernelObject* object = ObjectFromHandle(h);
    object->AddRef();
    CloseHandle(h);
    EXPECT_EQ(deaths, 0);
    object->Release();
    EXPECT_EQ(deaths, 1);
}

TEST(Handle, ReferenceTakenAtLookupKeepsTheObjectPastClose) {
    int deaths = 0;
    HANDLE h = MakeHandle(new Counted(deaths));
    KernelObject* held = ReferenceObjectFromHandle(h);
    ASSERT_NE(held, nullptr);
    CloseHandle(h);
    EXPECT_EQ(deaths, 0);
    EXPECT_EQ(ReferenceObjectFromHandle(h), nullptr);
    held->Release();
    EXPECT_EQ(deaths, 1);
}

TEST(Handle, HeldObjectKeepsItsObjectForTheScope) {
    int deaths = 0;
    HANDLE h = MakeHandle(new Counted(deaths));
    {
        HeldObject<Counted> held(h);
        ASSERT_TRUE(held);
        CloseHandle(h);  // another thread closing mid-call
        EXPECT_EQ(deaths, 0);
    }
    EXPECT_EQ(deaths, 1);
    EXPECT_FALSE(HeldObject<Counted>(h));
}
