// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/testing/fixed_locale.h"

#include "platform/civil_time.h"

namespace platform {

LocalDateTime FixedLocale::toLocal(UnixSeconds utc) const { return CivilFromSeconds(utc); }

std::string FixedLocale::generalDate(const LocalDateTime& when) const {
  const int yearOfCentury = (when.year % 100 + 100) % 100;
  std::string text = std::to_string(when.month) + "/" + std::to_string(when.day) + "/" +
                     (yearOfCentury < 10 ? "0" : "") + std::to_string(yearOfCentury);
  if (when.isMidnight()) return text;
  const int hour12 = when.hour % 12 == 0 ? 12 : when.hour % 12;
  auto twoDigits = [](int n) { return (n < 10 ? "0" : "") + std::to_string(n); };
  text += " " + std::to_string(hour12) + ":" + twoDigits(when.minute) + ":" +
          twoDigits(when.second) + (when.hour < 12 ? " AM" : " PM");
  return text;
}

}  // namespace platform
