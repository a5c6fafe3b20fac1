// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Work that may wait for idle processor time. A run keeps both cores busy scanning; work it
// does not wait for at once (compressing the profile it replaces) should take only what the
// scan leaves over, rather than a fair share of the cores the scan needs.
#pragma once

namespace platform {

// Lowers the calling thread's scheduling priority as far as it goes (nice 19), for the rest
// of its life; threads it starts afterwards inherit it. Other threads are not touched. An
// unprivileged thread cannot raise it again, so call it only on a thread of its own whose
// work another thread can take over when it is needed. Returns false where the system
// refused; the thread then runs on at its priority, which only costs time.
bool LowerThisThreadsPriority();

}  // namespace platform
