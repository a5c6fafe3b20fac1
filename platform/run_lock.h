// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// One run at a time per program folder: the lock on "brinvale.lock" there, held for a whole
// run by the window and by the command line, and briefly by writes of shared files.
#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "base/status.h"
#include "platform/file_system.h"

namespace platform {

inline constexpr char kRunLockName[] = "brinvale.lock";

class RunLock {
 public:
  // Not holding anything.
  RunLock() = default;
  RunLock(RunLock&&) noexcept = default;
  RunLock& operator=(RunLock&&) noexcept = default;
  ~RunLock() = default;

  // Takes the run lock of `programFolder` (ending in the separator) at once, without
  // waiting, and records this process's id in the lock file. When another process holds
  // it, fails with busy and the message "Another run is using this program folder (pid
  // N)." (N as that process recorded it). Other failures (a lock file that cannot be
  // created, or a symbolic link in its place) name the file. Within one process, taking
  // the lock again while it is held succeeds (see FileSystem::tryLockFile), so a short
  // write inside the process's own run never waits for that run.
  [[nodiscard]] static base::Result<RunLock> TryTake(FileSystem& fs,
                                                     const std::string& programFolder);

  // For short writes of shared files outside a run (the settings file, drives.txt): tries
  // TryTake until `patience` has passed, so a window that saves a setting waits out
  // another window's short write but not a whole run. Fails as TryTake does.
  [[nodiscard]] static base::Result<RunLock> TakeBriefly(
      FileSystem& fs, const std::string& programFolder,
      std::chrono::milliseconds patience = std::chrono::milliseconds(2000));

  // The refusal for a run when process `pid` holds the lock.
  [[nodiscard]] static std::string BusyMessage(const std::string& pid);

  [[nodiscard]] bool held() const { return m_lock != nullptr; }
  // Releases the lock (also done by the destructor).
  void release() { m_lock.reset(); }

 private:
  explicit RunLock(std::unique_ptr<FileLock> lock) : m_lock(std::move(lock)) {}

  std::unique_ptr<FileLock> m_lock;
};

// The folder part of `path` up to and including its last separator: where a file's run
// lock lives (the settings file's program folder).
[[nodiscard]] std::string FolderOf(const std::string& path, char separator);

}  // namespace platform
