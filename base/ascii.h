// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// ASCII letter case: drive letters, report titles and path comparison change the case of
// A to Z only, the same under every locale (std::toupper follows the C locale's idea).
#pragma once

#include <string>
#include <string_view>

namespace base {

// The byte with a to z raised to A to Z; every other byte unchanged.
constexpr char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

// The byte with A to Z lowered to a to z; every other byte unchanged.
constexpr char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

// True when `a` and `b` are equal after AsciiLower: names that differ only in the case of A
// to Z, as a Windows-style file system takes them. Other bytes, UTF-8 letters included,
// compare exactly.
[[nodiscard]] constexpr bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

// `text` with every byte through AsciiUpper.
[[nodiscard]] inline std::string AsciiUppercased(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = AsciiUpper(c);
  return upper;
}

// `text` with every byte through AsciiLower.
[[nodiscard]] inline std::string AsciiLowercased(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = AsciiLower(c);
  return lower;
}

}  // namespace base
