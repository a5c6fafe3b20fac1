// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Answers whether a folder is on the Ignore list. Used by the walk for the folders it
// profiles and by the comparison for the stored profile's records.
#pragma once

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace engine {

class IgnoreMatcher {
 public:
  // Ignores nothing.
  IgnoreMatcher() = default;
  // `entries` are folder paths ending in the separator, as the Ignore list holds them.
  explicit IgnoreMatcher(const std::vector<std::string>& entries);
  // Builds the matcher from the Ignore list joined into one text, each entry followed by
  // CR LF (a last entry without CR LF counts too; empty lines are not entries).
  static IgnoreMatcher FromIgnoreText(std::string_view ignoreText);

  // True when an entry equals `folderPath` (ending in the separator), ignoring ASCII letter
  // case. Only that folder is ignored, not the folders below it; an entry for a drive's
  // root folder ignores only the files directly in it.
  [[nodiscard]] bool isIgnored(std::string_view folderPath) const;
  [[nodiscard]] bool empty() const { return m_folded.empty(); }

 private:
  std::unordered_set<std::string> m_folded;
};

}  // namespace engine
