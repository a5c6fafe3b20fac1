// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/thread_priority.h"

#include <sys/resource.h>
#include <unistd.h>

namespace platform {

bool LowerThisThreadsPriority() {
  // On Linux the nice value belongs to each thread, named by its thread id.
  constexpr int kLowestPriority = 19;
  return setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), kLowestPriority) == 0;
}

}  // namespace platform
