// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Byte counts shown in kilobytes (1 K = 1,024 bytes) with two decimals, the way the change
// report prints file sizes and totals, with the user's digit separators.
#pragma once

#include <cstdint>
#include <string>

namespace platform {
class LocaleFormat;
}  // namespace platform

namespace engine {

// The separators of one locale, read once so that formatting a line does not go through
// the locale interface again. UTF-8; either may be several bytes long or empty.
struct NumberSeparators {
  std::string group = ",";
  std::string decimal = ".";

  static NumberSeparators From(const platform::LocaleFormat& locale);
};

// `bytes` / 1024 with exactly two decimals, rounded half away from zero and computed
// exactly (no floating point), thousands grouped. No digit is written before the decimal
// separator when the value is below 1: 512 gives ".50", 0 gives ".00", 1,048,576 gives
// "1,024.00". A negative count gets a leading "-" ("-.50"); a count that rounds to zero
// never does. Used for the sizes of change lines. Defined for every int64 value.
[[nodiscard]] std::string FormatSizeK(std::int64_t bytes, const NumberSeparators& separators);

// As FormatSizeK but with at least one digit before the decimal separator: 512 gives
// "0.50", 0 gives "0.00", -50 gives "-0.05". Used for the totals of a drive.
[[nodiscard]] std::string FormatTotalK(std::int64_t bytes, const NumberSeparators& separators);

// A count of files or folders with its thousands grouped: 153169 gives "153,169". Defined
// for every int64 value.
[[nodiscard]] std::string FormatCount(std::int64_t count, const NumberSeparators& separators);

}  // namespace engine
