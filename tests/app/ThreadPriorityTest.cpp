// A worker thread's priority goes down for that thread alone, never for the whole game.

#include "app/ThreadPriority.h"

#include <gtest/gtest.h>

#include <sched.h>
#include <sys/resource.h>

#include <thread>

TEST(ThreadPriority, AWorkerGoesIdleOrNiceAndTheThreadsBesideItKeepTheirs) {
    // The calling thread's scheduling class and niceness (0 names it on Linux).
    const auto ownPriority = [] {
        return std::pair(sched_getscheduler(0), getpriority(PRIO_PROCESS, 0));
    };
    const auto before = ownPriority();
    LoweredPriority how = LoweredPriority::Unchanged;
    std::pair<int, int> worker;
    std::thread([&] { how = lowerThreadPriority(), worker = ownPriority(); }).join();
    ASSERT_NE(how, LoweredPriority::Unchanged);
    EXPECT_TRUE(how == LoweredPriority::Idle ? worker.first == SCHED_IDLE : worker.second == 19);
    EXPECT_EQ(ownPriority(), before);
}
