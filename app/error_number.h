// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The number the window's failure messages show: the system's errno of the failure.
#pragma once

#include "base/status.h"

namespace app {

// The errno behind the failed `status`: the system's own number when the status carries one
// (Status::systemError()). Otherwise failures whose kind names one errno (permission denied,
// not found, not a folder) give that errno, other input and output failures EIO, input the
// program refuses (a malformed or oversized file) EINVAL and a cancel ECANCELED. Only
// success gives 0, so a message never reads "Error #0".
[[nodiscard]] int ErrorNumber(const base::Status& status);

}  // namespace app
