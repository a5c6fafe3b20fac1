// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Declares to the thread sanitizer an order between two threads that it cannot see: one made
// by Qt's queued calls, whose locks are inside a Qt that was not built with the sanitizer.
// HappensBefore(token) on one thread and, once the hand-over has arrived, HappensAfter(token)
// on the other order everything the first thread did before with everything the second does
// after, as unlocking and then locking one mutex would. Both do nothing in other builds.
#pragma once

#if defined(__SANITIZE_THREAD__)
#define BRINVALE_THREAD_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define BRINVALE_THREAD_SANITIZER 1
#endif
#endif

#ifdef BRINVALE_THREAD_SANITIZER
#include <sanitizer/tsan_interface.h>
#endif

namespace app {

inline void HappensBefore([[maybe_unused]] const void* token) {
#ifdef BRINVALE_THREAD_SANITIZER
  __tsan_release(const_cast<void*>(token));
#endif
}

inline void HappensAfter([[maybe_unused]] const void* token) {
#ifdef BRINVALE_THREAD_SANITIZER
  __tsan_acquire(const_cast<void*>(token));
#endif
}

}  // namespace app
