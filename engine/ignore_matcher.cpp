// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/ignore_matcher.h"

#include "base/ascii.h"

namespace engine {

IgnoreMatcher::IgnoreMatcher(const std::vector<std::string>& entries) {
  for (const std::string& entry : entries) {
    if (!entry.empty()) m_folded.insert(base::AsciiLowercased(entry));
  }
}

IgnoreMatcher IgnoreMatcher::FromIgnoreText(std::string_view ignoreText) {
  std::vector<std::string> entries;
  while (!ignoreText.empty()) {
    std::size_t end = ignoreText.find('\n');
    std::string_view line = ignoreText.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    entries.emplace_back(line);
    if (end == std::string_view::npos) break;
    ignoreText.remove_prefix(end + 1);
  }
  return IgnoreMatcher(entries);
}

bool IgnoreMatcher::isIgnored(std::string_view folderPath) const {
  if (m_folded.empty()) return false;
  return m_folded.count(base::AsciiLowercased(folderPath)) != 0;
}

}  // namespace engine
