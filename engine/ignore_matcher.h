// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Answers whether a folder is on the Ignore list. Used by the walk for the folders it
// profiles and by the comparison for the stored profile's records.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace engine {

// What follows the separator at the end of an Ignore list entry that leaves out a whole
// tree: "/home/ann/build/**".
inline constexpr std::string_view kWholeTreeMark = "**";

// True when `entry` is a folder path ending in `separator` followed by kWholeTreeMark.
[[nodiscard]] bool IsWholeTreeEntry(std::string_view entry, char separator);
// The whole-tree entry of `folderPath` (ending in its separator).
[[nodiscard]] std::string WholeTreeEntryOf(std::string_view folderPath);

class IgnoreMatcher {
 public:
  // Ignores nothing.
  IgnoreMatcher() = default;
  // `entries` are folder paths ending in the separator, as the Ignore list holds them, or
  // whole-tree entries (a folder path followed by kWholeTreeMark; '/' and '\' are taken
  // as separators there).
  explicit IgnoreMatcher(const std::vector<std::string>& entries);
  // Builds the matcher from the Ignore list joined into one text, each entry followed by
  // CR LF (a last entry without CR LF counts too; empty lines are not entries).
  static IgnoreMatcher FromIgnoreText(std::string_view ignoreText);

  // True when the files of `folderPath` (ending in the separator) are left out: an entry
  // equals it, or it lies in a whole tree that is left out (leavesOutTree). Comparisons
  // ignore ASCII letter case. A plain entry ignores only that folder, not the folders below
  // it; a plain entry for a drive's root folder ignores only the files directly in it.
  [[nodiscard]] bool isIgnored(std::string_view folderPath) const;
  // True when `folderPath` is the folder of a whole-tree entry or lies below it: the walk
  // does not enter it, and nothing in it or below it is profiled or compared.
  [[nodiscard]] bool leavesOutTree(std::string_view folderPath) const;
  [[nodiscard]] bool empty() const { return m_folded.empty() && m_trees.empty(); }

 private:
  // Lets the folded tree folders be found by a part of a path without copying it.
  struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const {
      return std::hash<std::string_view>()(text);
    }
  };

  std::unordered_set<std::string> m_folded;
  // The folders of the whole-tree entries, folded, each ending in its separator.
  std::unordered_set<std::string, Hash, std::equal_to<>> m_trees;
  bool m_treesUseSlash = false;      // some tree folder ends in '/'
  bool m_treesUseBackslash = false;  // some tree folder ends in '\'
};

}  // namespace engine
