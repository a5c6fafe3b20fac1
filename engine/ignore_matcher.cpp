// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/ignore_matcher.h"

#include "base/ascii.h"

namespace engine {

bool IsWholeTreeEntry(std::string_view entry, char separator) {
  return entry.size() > kWholeTreeMark.size() && entry.ends_with(kWholeTreeMark) &&
         entry[entry.size() - kWholeTreeMark.size() - 1] == separator;
}

std::string WholeTreeEntryOf(std::string_view folderPath) {
  return std::string(folderPath) + std::string(kWholeTreeMark);
}

IgnoreMatcher::IgnoreMatcher(const std::vector<std::string>& entries) {
  for (const std::string& entry : entries) {
    if (entry.empty()) continue;
    const bool slash = IsWholeTreeEntry(entry, '/');
    if (slash || IsWholeTreeEntry(entry, '\\')) {
      m_trees.insert(base::AsciiLowercased(
          std::string_view(entry).substr(0, entry.size() - kWholeTreeMark.size())));
      (slash ? m_treesUseSlash : m_treesUseBackslash) = true;
    } else {
      m_folded.insert(base::AsciiLowercased(entry));
    }
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
  if (empty()) return false;
  if (!m_folded.empty() && m_folded.count(base::AsciiLowercased(folderPath)) != 0) return true;
  return leavesOutTree(folderPath);
}

bool IgnoreMatcher::leavesOutTree(std::string_view folderPath) const {
  if (m_trees.empty()) return false;
  const std::string folded = base::AsciiLowercased(folderPath);
  const std::string_view path(folded);
  // Every folder on the way down, the path itself last: each ends at a separator.
  for (std::size_t i = 0; i < path.size(); ++i) {
    const char c = path[i];
    if (((c == '/' && m_treesUseSlash) || (c == '\\' && m_treesUseBackslash)) &&
        m_trees.find(path.substr(0, i + 1)) != m_trees.end()) {
      return true;
    }
  }
  return false;
}

}  // namespace engine
