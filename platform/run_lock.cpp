// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/run_lock.h"

#include <thread>

#ifdef _WIN32
#include <process.h>
#define BRINVALE_PROCESS_ID _getpid
#else
#include <unistd.h>
#define BRINVALE_PROCESS_ID ::getpid
#endif

namespace platform {
namespace {

constexpr auto kRetryEvery = std::chrono::milliseconds(20);
// A holder records its id right after it took the lock; a refusal that comes in between
// reads an empty file and asks again for so long before it reports what it has.
constexpr int kReadsOfAnEmptyRecord = 10;

std::string Trimmed(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) {
    text.pop_back();
  }
  return text;
}

}  // namespace

std::string RunLock::BusyMessage(const std::string& pid) {
  return "Another run is using this program folder (pid " + pid + ").";
}

base::Result<RunLock> RunLock::TryTake(FileSystem& fs, const std::string& programFolder) {
  const std::string path = programFolder + kRunLockName;
  const std::string self = std::to_string(BRINVALE_PROCESS_ID()) + "\n";
  std::string holder;
  for (int attempt = 0;; ++attempt) {
    holder.clear();
    auto lock = fs.tryLockFile(path, self, &holder);
    if (lock.isOk()) return RunLock(std::move(lock).value());
    if (!lock.status().isBusy()) return lock.status();
    holder = Trimmed(holder);
    if (!holder.empty() || attempt + 1 >= kReadsOfAnEmptyRecord) break;
    std::this_thread::sleep_for(kRetryEvery);
  }
  return base::Status::busy(BusyMessage(holder.empty() ? "unknown" : holder));
}

base::Result<RunLock> RunLock::TakeBriefly(FileSystem& fs, const std::string& programFolder,
                                           std::chrono::milliseconds patience) {
  const auto giveUp = std::chrono::steady_clock::now() + patience;
  for (;;) {
    auto lock = TryTake(fs, programFolder);
    if (lock.isOk() || !lock.status().isBusy() || std::chrono::steady_clock::now() >= giveUp) {
      return lock;
    }
    std::this_thread::sleep_for(kRetryEvery);
  }
}

std::string FolderOf(const std::string& path, char separator) {
  const std::size_t last = path.rfind(separator);
  return last == std::string::npos ? std::string() : path.substr(0, last + 1);
}

}  // namespace platform
