// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Conversions between a count of seconds and a calendar date and time, with no time zone
// involved (the proleptic Gregorian calendar, as the C library's gmtime and timegm).
#pragma once

#include <cstdint>

#include "platform/date_time.h"

namespace platform {

// The calendar date and time `seconds` after 1970-01-01 00:00:00. Values beyond about a
// billion years either way are clamped there, so the year always fits an int.
[[nodiscard]] LocalDateTime CivilFromSeconds(std::int64_t seconds);

// The inverse: the seconds from 1970-01-01 00:00:00 to `when`. Fields out of their range
// carry over (month 13 is January of the next year, second 60 the next minute).
[[nodiscard]] std::int64_t SecondsFromCivil(const LocalDateTime& when);

}  // namespace platform
