// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/path_order.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "base/ascii.h"

namespace engine {

int CompareNames(std::string_view a, std::string_view b, bool caseSensitive) {
  const std::size_t n = std::min(a.size(), b.size());
  // Equal bytes compare equal folded too: skip them eight at a time.
  std::size_t i = 0;
  while (i + 8 <= n) {
    std::uint64_t x = 0;
    std::uint64_t y = 0;
    std::memcpy(&x, a.data() + i, 8);
    std::memcpy(&y, b.data() + i, 8);
    if (x != y) break;
    i += 8;
  }
  std::size_t firstCaseDifference = n;
  for (; i < n; ++i) {
    if (a[i] == b[i]) continue;
    // Compare as unsigned bytes, so UTF-8 sequences sort after ASCII on every platform.
    const auto ca = static_cast<unsigned char>(base::AsciiLower(a[i]));
    const auto cb = static_cast<unsigned char>(base::AsciiLower(b[i]));
    if (ca != cb) return ca < cb ? -1 : 1;
    if (firstCaseDifference == n) firstCaseDifference = i;
  }
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  if (!caseSensitive || firstCaseDifference == n) return 0;
  // The names differ in letter case only: the first byte that differs decides.
  return static_cast<unsigned char>(a[firstCaseDifference]) <
                 static_cast<unsigned char>(b[firstCaseDifference])
             ? -1
             : 1;
}

std::uint64_t NameOrderKey(std::string_view name) {
  // Big-endian, folded like CompareNames, unsigned; a name shorter than eight bytes is padded
  // with zero bytes, which sort first as the shorter name does.
  std::uint64_t key = 0;
  for (std::size_t i = 0; i < 8; ++i) {
    const auto byte = i < name.size() ? static_cast<unsigned char>(base::AsciiLower(name[i])) : 0;
    key = key << 8 | byte;
  }
  return key;
}

int CompareFolderPaths(std::string_view a, std::string_view b, platform::PathStyle style) {
  std::size_t i = 0;
  std::size_t j = 0;
  for (;;) {
    const bool aDone = i >= a.size();
    const bool bDone = j >= b.size();
    if (aDone || bDone) return aDone == bDone ? 0 : (aDone ? -1 : 1);
    std::size_t aEnd = a.find(style.separator, i);
    if (aEnd == std::string_view::npos) aEnd = a.size();
    std::size_t bEnd = b.find(style.separator, j);
    if (bEnd == std::string_view::npos) bEnd = b.size();
    const int c = CompareNames(a.substr(i, aEnd - i), b.substr(j, bEnd - j), style.caseSensitive);
    if (c != 0) return c;
    i = aEnd + 1;
    j = bEnd + 1;
  }
}

int CompareFiles(std::string_view folderA, std::string_view nameA, std::string_view folderB,
                 std::string_view nameB, platform::PathStyle style) {
  // Records come folder by folder, so most comparisons meet equal folders: try the cheap
  // exact test first.
  if (folderA != folderB) {
    const int c = CompareFolderPaths(folderA, folderB, style);
    if (c != 0) return c;
  }
  return CompareNames(nameA, nameB, style.caseSensitive);
}

platform::PathStyle PathStyleOfFolder(std::string_view folderPath) {
  const bool driveLetter = folderPath.size() >= 2 && folderPath[1] == ':' &&
                           ((folderPath[0] >= 'A' && folderPath[0] <= 'Z') ||
                            (folderPath[0] >= 'a' && folderPath[0] <= 'z'));
  return driveLetter ? platform::PathStyle::windows() : platform::PathStyle::posix();
}

}  // namespace engine
