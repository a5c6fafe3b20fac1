// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The number the window's failure messages show: the system's errno of the failure.
#pragma once

#include "engine/status.h"

namespace app {

// The errno behind the failed `status`. `capturedErrno` is errno read right after the failed
// operation (set to 0 before it). Failures whose kind names one errno (permission denied,
// not found, not a folder) give that errno; other system failures give `capturedErrno`, or
// EIO when it is 0. Failures that did not come from the system get the nearest number:
// EINVAL for input the program refuses (a malformed or oversized file), ECANCELED for a
// cancel. Only success gives 0, so a message never reads "Error #0".
[[nodiscard]] int ErrorNumber(const engine::Status& status, int capturedErrno);

}  // namespace app
