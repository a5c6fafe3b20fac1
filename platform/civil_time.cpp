// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/civil_time.h"

#include <algorithm>
#include <cstdint>

namespace platform {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;
constexpr std::int64_t kLimit = std::int64_t{1} << 55;
constexpr std::int64_t kDaysBeforeEpoch = 719468;  // from 0000-03-01, where the eras start

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

// Days from 1970-01-01 to the given date; the algorithm counts in 400-year eras that
// start on March 1st, so the leap day is the last day of its "year".
std::int64_t DaysFromCivil(std::int64_t year, std::int64_t month, std::int64_t day) {
  year -= month <= 2 ? 1 : 0;
  const std::int64_t era = FloorDiv(year, 400);
  const std::int64_t yearOfEra = year - era * 400;
  const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - kDaysBeforeEpoch;
}

// The date and time of the second `secondOfDay` of day `dayOfEra` (0 to 146096) of the
// 400-year era `era`, which starts on March 1st, so the leap day is the last day of its "year".
template <typename Int>
LocalDateTime CivilFromEraDay(Int era, Int dayOfEra, Int secondOfDay) {
  const Int yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const Int dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const Int monthIndex = (5 * dayOfYear + 2) / 153;  // 0 = March
  const Int month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;

  LocalDateTime result;
  result.year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
  result.month = static_cast<int>(month);
  result.day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
  result.hour = static_cast<int>(secondOfDay / 3600);
  result.minute = static_cast<int>(secondOfDay / 60 % 60);
  result.second = static_cast<int>(secondOfDay % 60);
  return result;
}

}  // namespace

LocalDateTime CivilFromSeconds(std::int64_t seconds) {
  seconds = std::clamp(seconds, -kLimit, kLimit);
  const std::int64_t days = FloorDiv(seconds, kSecondsPerDay);
  const std::int64_t secondOfDay = seconds - days * kSecondsPerDay;
  const std::int64_t shifted = days + kDaysBeforeEpoch;
  // Scans convert a time per file: the dates of this and the coming millennia are worked
  // out in 32 bits, which is markedly faster.
  if (shifted >= 0 && shifted < 100'000'000) {
    const auto z = static_cast<std::uint32_t>(shifted);
    return CivilFromEraDay<std::uint32_t>(z / 146097, z % 146097,
                                          static_cast<std::uint32_t>(secondOfDay));
  }
  const std::int64_t era = FloorDiv(shifted, 146097);
  return CivilFromEraDay<std::int64_t>(era, shifted - era * 146097, secondOfDay);
}

std::int64_t SecondsFromCivil(const LocalDateTime& when) {
  // Normalise the month first so that month 13 or 0 carries into the year.
  const std::int64_t monthsFromZero = std::int64_t{when.year} * 12 + (when.month - 1);
  const std::int64_t year = FloorDiv(monthsFromZero, 12);
  const std::int64_t month = monthsFromZero - year * 12 + 1;
  const std::int64_t days = DaysFromCivil(year, month, 1) + (when.day - 1);
  return days * kSecondsPerDay + std::int64_t{when.hour} * 3600 + std::int64_t{when.minute} * 60 +
         when.second;
}

}  // namespace platform
