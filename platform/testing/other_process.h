// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Another process that takes something (a lock) and holds it while a test looks, for the
// behaviour between processes that one process cannot show.
#pragma once

#include <sys/types.h>

#include <functional>
#include <memory>

namespace platform {

class OtherProcess {
 public:
  // Forks a process that runs `take` and keeps what it returns alive until release() or
  // destruction; `take` returns nullptr when it failed. Returns once `take` has returned.
  explicit OtherProcess(const std::function<std::shared_ptr<void>()>& take);
  // Releases and waits for the process to end.
  ~OtherProcess();
  OtherProcess(const OtherProcess&) = delete;
  OtherProcess& operator=(const OtherProcess&) = delete;

  [[nodiscard]] pid_t pid() const { return m_pid; }
  // True when `take` succeeded in the other process.
  [[nodiscard]] bool took() const { return m_took; }
  // Ends the process, releasing what it holds, and waits for it.
  void release();

 private:
  pid_t m_pid = -1;
  int m_release = -1;  // writing end: closing it lets the process go
  bool m_took = false;
};

}  // namespace platform
