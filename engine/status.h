// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The engine's names for Status and Result<T>. The types live in base/status.h, shared by
// every layer; engine::Status and base::Status are one and the same type.
#pragma once

#include "base/status.h"

namespace engine {

using base::Result;
using base::Status;

}  // namespace engine
