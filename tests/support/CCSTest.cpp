// The named lock on real critical sections: its states, its name, and how failed attempts
// from other threads are counted.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "support/CCS.h"

namespace {

// Runs `work` on a thread of its own and returns its result (false if it does not finish
// within 5 s).
template <typename Work>
bool OnOtherThread(Work work) {
    struct Call {
        Work& work;
        bool result;
    } call{work, false};
    HANDLE thread = CreateThread(
        nullptr, 0,
        [](void* param) -> DWORD {
            auto* c = static_cast<Call*>(param);
            c->result = c->work();
            return 0;
        },
        &call, 0, nullptr);
    const bool finished = WaitForSingleObject(thread, 5000) == WAIT_OBJECT_0;
    CloseHandle(thread);
    return finished && call.result;
}

bool NameIsAllZero(const CCS& lock) {
    const char* name = lock.Name();
    for (int i = 0; i < CCS::kNameSize; ++i)
        if (name[i] != 0) return false;
    return true;
}

TEST(CCS, NeverCreatedLockRefusesEverythingAndCountsNothing) {
    CCS lock;
    EXPECT_FALSE(lock.IsCreated());
    EXPECT_FALSE(lock.TryEnter());
    EXPECT_EQ(lock.Contention(), 0u);
    lock.Enter();  // returns at once: there is nothing to enter
    lock.Leave();
    lock.Destroy();
    EXPECT_EQ(lock.GetState(), CCS::kNone);
    EXPECT_TRUE(NameIsAllZero(lock));
}

TEST(CCS, CreateKeepsTheFirstNameUntilDestroyed) {
    CCS lock;
    lock.Create();
    EXPECT_STREQ(lock.Name(), "NONAME");
    EXPECT_EQ(lock.GetState(), CCS::kCreated);

    CCS render;
    render.Create("CCS_GLOWMETER_VIS_RENDER");
    ASSERT_TRUE(render.TryEnter());
    render.Create("OTHER");  // neither the name nor the (held) critical section changes
    EXPECT_STREQ(render.Name(), "CCS_GLOWMETER_VIS_RENDER");
    EXPECT_FALSE(OnOtherThread([&] { return render.TryEnter(); })) << "Create re-initialised a held lock";
    render.Leave();

    render.Destroy();
    EXPECT_FALSE(render.IsCreated());
    EXPECT_TRUE(NameIsAllZero(render));
    EXPECT_EQ(render.Contention(), 0u);
    render.Create("SECOND");
    EXPECT_STREQ(render.Name(), "SECOND");
}

TEST(CCS, OverlongNameIsCutAndTerminated) {
    const std::string longName(400, 'x');
    CCS lock;
    lock.Create(longName.c_str());
    EXPECT_EQ(std::string(lock.Name()), std::string(CCS::kNameSize - 1, 'x'));
}

TEST(CCS, OwnerMayEnterAgainAndEachEntryNeedsItsLeave) {
    CCS lock;
    lock.Create();
    ASSERT_TRUE(lock.TryEnter());
    ASSERT_TRUE(lock.TryEnter());
    EXPECT_EQ(lock.GetState(), CCS::kHeld);
    EXPECT_EQ(lock.Contention(), 0u);

    lock.Leave();
    EXPECT_EQ(lock.GetState(), CCS::kReleased);
    EXPECT_FALSE(OnOtherThread([&] { return lock.TryEnter(); })) << "one Leave freed two entries";
    lock.Leave();
    EXPECT_TRUE(OnOtherThread([&] {
        const bool got = lock.TryEnter();
        if (got) lock.Leave();
        return got;
    }));
}

TEST(CCS, EachFailedAttemptFromAnotherThreadCountsOnce) {
    CCS lock;
    lock.Create();
    ASSERT_TRUE(lock.TryEnter());
    for (unsigned attempt = 1; attempt <= 3; ++attempt) {
        EXPECT_FALSE(OnOtherThread([&] { return lock.TryEnter(); }));
        EXPECT_EQ(lock.Contention(), attempt);
        EXPECT_EQ(lock.GetState(), CCS::kTrying);  // a failed attempt leaves "trying" behind
    }
    lock.Leave();
}

TEST(CCS, EnterSpinsUntilTheHolderLeavesAndCountsItsFailedAttempts) {
    struct Waiter {
        CCS lock;
        volatile LONG entered = 0;
    } shared;
    shared.lock.Create();
    ASSERT_TRUE(shared.lock.TryEnter());
    HANDLE worker = CreateThread(
        nullptr, 0,
        [](void* param) -> DWORD {
            auto* w = static_cast<Waiter*>(param);
            w->lock.Enter();
            InterlockedExchange(&w->entered, 1);
            w->lock.Leave();
            return 0;
        },
        &shared, 0, nullptr);
    ASSERT_NE(worker, nullptr);
    Sleep(100);
    EXPECT_EQ(shared.entered, 0) << "Enter got in while the lock was held";
    EXPECT_GE(shared.lock.Contention(), 1u);
    shared.lock.Leave();
    EXPECT_EQ(WaitForSingleObject(worker, 5000), static_cast<DWORD>(WAIT_OBJECT_0));
    EXPECT_EQ(shared.entered, 1);
    CloseHandle(worker);
}

}  // namespace
