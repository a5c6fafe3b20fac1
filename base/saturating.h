// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Byte totals that stop at the int64 limits instead of wrapping: a report of absurd sizes
// shows the largest number rather than a negative one.
#pragma once

#include <cstdint>
#include <limits>

namespace base {

// a + b, or the int64 limit on the side it would pass.
constexpr std::int64_t SaturatingAdd(std::int64_t a, std::int64_t b) {
  constexpr auto kMax = std::numeric_limits<std::int64_t>::max();
  constexpr auto kMin = std::numeric_limits<std::int64_t>::min();
  if (b > 0 && a > kMax - b) return kMax;
  if (b < 0 && a < kMin - b) return kMin;
  return a + b;
}

// a - b, or the int64 limit on the side it would pass.
constexpr std::int64_t SaturatingSubtract(std::int64_t a, std::int64_t b) {
  constexpr auto kMax = std::numeric_limits<std::int64_t>::max();
  constexpr auto kMin = std::numeric_limits<std::int64_t>::min();
  if (b < 0 && a > kMax + b) return kMax;
  if (b > 0 && a < kMin + b) return kMin;
  return a - b;
}

}  // namespace base
