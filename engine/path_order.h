// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The one order of folder paths and file names that the walk, the file listing and the
// comparison all use. If two of them disagreed, the merge would report phantom changes.
// Letter case is folded by base/ascii.h, the same under every locale, so a profile written
// under one locale merges under another.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace engine {

// Orders two names (one path component each): by their bytes after ASCII case folding,
// then, when `caseSensitive`, by their exact bytes, so README and readme are two names in a
// fixed order. Returns <0, 0 or >0.
[[nodiscard]] int CompareNames(std::string_view a, std::string_view b, bool caseSensitive);

// A number that orders names as CompareNames does as far as their first eight bytes tell:
// when the keys of two names differ, the names compare the same way; when they are equal,
// CompareNames decides. Sorting by key first spares most byte-by-byte comparisons.
[[nodiscard]] std::uint64_t NameOrderKey(std::string_view name);

// Orders two folder paths component by component; the separator is never compared as a
// character, so "a/" and all below it come before "a b/". A path that is a prefix of the
// other comes first: the root comes first and a folder before its sub-folders. A trailing
// separator makes no difference. Returns <0, 0 or >0.
[[nodiscard]] int CompareFolderPaths(std::string_view a, std::string_view b,
                                     platform::PathStyle style);

// Orders two files by folder path, then by name. 0 means the same file.
[[nodiscard]] int CompareFiles(std::string_view folderA, std::string_view nameA,
                               std::string_view folderB, std::string_view nameB,
                               platform::PathStyle style);

// The path style a profile's folder paths were written in: Windows style when the path
// starts with a drive letter and a colon, POSIX style otherwise.
[[nodiscard]] platform::PathStyle PathStyleOfFolder(std::string_view folderPath);

}  // namespace engine
