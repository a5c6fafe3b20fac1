// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// A calendar date and time of day in the user's local time, as profiles store file times.
#pragma once

#include <compare>
#include <cstdint>

namespace platform {

struct LocalDateTime {
  int year = 1970;
  int month = 1;  // 1..12
  int day = 1;    // 1..31
  int hour = 0;   // 0..23
  int minute = 0;
  int second = 0;

  [[nodiscard]] bool isMidnight() const { return hour == 0 && minute == 0 && second == 0; }
  friend auto operator<=>(const LocalDateTime&, const LocalDateTime&) = default;
};

// Seconds since 1970-01-01 00:00:00 UTC, as the file system keeps modification times.
using UnixSeconds = std::int64_t;

}  // namespace platform
