// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/k_format.h"

#include "platform/locale_format.h"

namespace engine {
namespace {

// Hundredths of a K in |bytes|, rounded half away from zero: round(|bytes| * 100 / 1024).
// 100/1024 is 25/256; the byte count is split at 256 so that no product can overflow even
// for 2^63 bytes (2^55 * 25 fits easily), and the rounding only concerns the low part.
std::uint64_t HundredthsOfK(std::int64_t bytes) {
  // Negating in unsigned arithmetic is defined for INT64_MIN as well.
  const std::uint64_t magnitude =
      bytes < 0 ? 0 - static_cast<std::uint64_t>(bytes) : static_cast<std::uint64_t>(bytes);
  const std::uint64_t high = magnitude >> 8;
  const std::uint64_t low = magnitude & 0xFF;
  return high * 25 + (low * 25 + 128) / 256;
}

// Appends `digits` with the group separator before every group of three from the right.
void AppendGrouped(const std::string& digits, const std::string& group, std::string* out) {
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i != 0 && (digits.size() - i) % 3 == 0) *out += group;
    *out += digits[i];
  }
}

std::string Format(std::int64_t bytes, bool digitBeforeSeparator,
                   const NumberSeparators& separators) {
  const std::uint64_t hundredths = HundredthsOfK(bytes);
  const std::uint64_t whole = hundredths / 100;
  const unsigned fraction = static_cast<unsigned>(hundredths % 100);

  std::string out;
  // A figure that rounds to zero is shown unsigned: "-0.00" would claim a change that the
  // two decimals cannot show.
  if (bytes < 0 && hundredths != 0) out += '-';
  if (whole != 0 || digitBeforeSeparator)
    AppendGrouped(std::to_string(whole), separators.group, &out);
  out += separators.decimal;
  out += static_cast<char>('0' + fraction / 10);
  out += static_cast<char>('0' + fraction % 10);
  return out;
}

}  // namespace

NumberSeparators NumberSeparators::From(const platform::LocaleFormat& locale) {
  return {locale.groupSeparator(), locale.decimalSeparator()};
}

std::string FormatSizeK(std::int64_t bytes, const NumberSeparators& separators) {
  return Format(bytes, /*digitBeforeSeparator=*/false, separators);
}

std::string FormatTotalK(std::int64_t bytes, const NumberSeparators& separators) {
  return Format(bytes, /*digitBeforeSeparator=*/true, separators);
}

std::string FormatCount(std::int64_t count, const NumberSeparators& separators) {
  const std::uint64_t magnitude =
      count < 0 ? 0 - static_cast<std::uint64_t>(count) : static_cast<std::uint64_t>(count);
  std::string out = count < 0 ? "-" : "";
  AppendGrouped(std::to_string(magnitude), separators.group, &out);
  return out;
}

}  // namespace engine
