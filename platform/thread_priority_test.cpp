// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/thread_priority.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <thread>

namespace platform {
namespace {

int PriorityOfThisThread() { return getpriority(PRIO_PROCESS, static_cast<id_t>(gettid())); }

TEST(ThreadPriorityTest, OnlyTheCallingThreadAndThoseItStartsAreLowered) {
  const int before = PriorityOfThisThread();
  int lowered = before;
  int startedAfter = before;
  std::thread background([&] {
    ASSERT_TRUE(LowerThisThreadsPriority());
    lowered = PriorityOfThisThread();
    std::thread child([&] { startedAfter = PriorityOfThisThread(); });
    child.join();
  });
  background.join();
  EXPECT_EQ(lowered, 19);
  EXPECT_EQ(startedAfter, 19);
  EXPECT_EQ(PriorityOfThisThread(), before);
}

}  // namespace
}  // namespace platform
