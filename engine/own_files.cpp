// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/own_files.h"

#include <algorithm>

#include "base/ascii.h"

namespace engine {
namespace {

// Matches `text` against `pattern`, in which '*' stands for any run of bytes.
bool Matches(std::string_view pattern, std::string_view text) {
  if (pattern.empty()) return text.empty();
  if (pattern.front() == '*') {
    for (std::size_t skip = 0; skip <= text.size(); ++skip) {
      if (Matches(pattern.substr(1), text.substr(skip))) return true;
    }
    return false;
  }
  return !text.empty() && base::AsciiLower(pattern.front()) == base::AsciiLower(text.front()) &&
         Matches(pattern.substr(1), text.substr(1));
}

}  // namespace

bool IsOwnFile(std::string_view relative, char separator) {
  const std::size_t cut = std::min(relative.find('/'), relative.find(separator));
  const std::string_view first = relative.substr(0, cut);
  const bool inFolder = cut != std::string_view::npos;
  for (std::string_view pattern : kOwnFilePatterns) {
    const bool folderPattern = pattern.ends_with('/');
    if (folderPattern) pattern.remove_suffix(1);
    if (folderPattern == inFolder && Matches(pattern, first)) return true;
  }
  return false;
}

}  // namespace engine
