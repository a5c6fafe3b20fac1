// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/run_lock.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/posix/posix_file_system.h"
#include "platform/testing/memory_file_system.h"
#include "platform/testing/other_process.h"
#include "platform/testing/temp_folder.h"

namespace platform {
namespace {

TEST(RunLockTest, SecondRunOfAnotherProcessIsRefusedWithItsPid) {
  TempFolder folder;
  OtherProcess child([&]() -> std::shared_ptr<void> {
    PosixFileSystem fs;
    auto lock = RunLock::TryTake(fs, folder.path());
    return lock.isOk() ? std::make_shared<RunLock>(std::move(lock).value()) : nullptr;
  });
  ASSERT_TRUE(child.took());

  PosixFileSystem fs;
  auto refused = RunLock::TryTake(fs, folder.path());
  ASSERT_FALSE(refused.isOk());
  EXPECT_TRUE(refused.status().isBusy());
  EXPECT_EQ(refused.status().message(),
            "Another run is using this program folder (pid " + std::to_string(child.pid()) + ").");

  child.release();
  auto taken = RunLock::TakeBriefly(fs, folder.path());
  ASSERT_TRUE(taken.isOk()) << taken.status().toString();
  EXPECT_TRUE(taken.value().held());
  EXPECT_EQ(ReadWholeFile(fs, folder / kRunLockName).value(), std::to_string(::getpid()) + "\n");
}

TEST(RunLockTest, ShortWritesInsideTheProcesssOwnRunDoNotWait) {
  MemoryFileSystem fs;
  fs.addFolder("C:\\BV");
  auto run = RunLock::TryTake(fs, "C:\\BV\\");
  ASSERT_TRUE(run.isOk());
  auto brief = RunLock::TakeBriefly(fs, "C:\\BV\\", std::chrono::milliseconds(0));
  EXPECT_TRUE(brief.isOk());
  brief.value().release();
  EXPECT_FALSE(brief.value().held());
  EXPECT_TRUE(run.value().held());
}

TEST(RunLockTest, BriefWaitGivesUpWhileAnotherRunHoldsTheLock) {
  MemoryFileSystem fs;
  fs.addFolder("C:\\BV");
  fs.holdLockElsewhere("C:\\BV\\brinvale.lock", "4711\n");
  const auto start = std::chrono::steady_clock::now();
  auto lock = RunLock::TakeBriefly(fs, "C:\\BV\\", std::chrono::milliseconds(100));
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(100));
  EXPECT_EQ(lock.status().message(), "Another run is using this program folder (pid 4711).");

  fs.holdLockElsewhere("C:\\BV\\brinvale.lock", "");
  EXPECT_EQ(RunLock::TryTake(fs, "C:\\BV\\").status().message(),
            "Another run is using this program folder (pid unknown).");
  EXPECT_EQ(FolderOf("C:\\BV\\BV3.Def", '\\'), "C:\\BV\\");
  EXPECT_EQ(FolderOf("BV3.Def", '/'), "");
}

}  // namespace
}  // namespace platform
