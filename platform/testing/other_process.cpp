// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/testing/other_process.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace platform {

OtherProcess::OtherProcess(const std::function<std::shared_ptr<void>()>& take) {
  int ready[2];
  int release[2];
  if (::pipe(ready) != 0 || ::pipe(release) != 0) {
    std::perror("pipe");
    std::abort();
  }
  m_pid = ::fork();
  if (m_pid == 0) {
    ::close(ready[0]);
    ::close(release[1]);
    const std::shared_ptr<void> held = take();
    const char answer = held ? 'y' : 'n';
    (void)!::write(ready[1], &answer, 1);
    char byte = 0;
    (void)!::read(release[0], &byte, 1);  // returns when the parent closes its end
    ::_exit(0);
  }
  ::close(ready[1]);
  ::close(release[0]);
  char answer = 'n';
  m_took = ::read(ready[0], &answer, 1) == 1 && answer == 'y';
  ::close(ready[0]);
  m_release = release[1];
}

OtherProcess::~OtherProcess() { release(); }

void OtherProcess::release() {
  if (m_release < 0) return;
  ::close(m_release);
  m_release = -1;
  ::waitpid(m_pid, nullptr, 0);
}

}  // namespace platform
