// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The user's regional settings as the engine needs them: local time, the general date
// format and the separators of numbers. The engine never asks the OS or Qt itself.
#pragma once

#include <string>

#include "platform/date_time.h"

namespace platform {

class LocaleFormat {
 public:
  virtual ~LocaleFormat() = default;

  // The local calendar time of a moment. Called once per profiled file, so implementations
  // must be cheap (no time zone file read per call). Thread-safe.
  [[nodiscard]] virtual LocalDateTime toLocal(UnixSeconds utc) const = 0;

  // The general date format: the short date, a blank and the long time without a time
  // zone name; only the short date when the time is exactly midnight. UTF-8.
  [[nodiscard]] virtual std::string generalDate(const LocalDateTime& when) const = 0;

  // Separators of the "K" sizes, UTF-8 (may be more than one byte, e.g. U+202F).
  [[nodiscard]] virtual std::string groupSeparator() const = 0;
  [[nodiscard]] virtual std::string decimalSeparator() const = 0;
};

}  // namespace platform
