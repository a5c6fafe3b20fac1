// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The Ignore list file (ignore.txt): the folders a scan passes over, one entry a line,
// every line ended by CR LF, in the editor's order.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "base/status.h"

namespace platform {
class FileSystem;
}  // namespace platform

namespace engine {

inline constexpr std::string_view kIgnoreFileName = "ignore.txt";
// No list of folders comes near this; a larger file is not an Ignore list.
inline constexpr std::size_t kMaxIgnoreListSize = 16 * 1024 * 1024;

// Reads the entries of the Ignore list file `path`, in file order, duplicates included.
// A missing file is an empty list. Files edited by hand are read leniently: lines may end
// in LF alone, a last line without a line end counts, blank lines (empty or only blanks
// and tabs) are not entries, and a leading UTF-8 byte order mark is skipped. Two slips are
// read as the user meant them, each with one warning naming the file and line added to
// `*warnings` (when not null): an entry without the trailing separator of `fs`'s paths
// (every folder path ends in it) gets one, and lines that end in CR alone are lines. An
// entry that ends in the separator followed by "**" leaves out a whole tree (IgnoreMatcher)
// and is taken as it is; an older reader sees a folder that does not exist. An
// entry is otherwise taken byte for byte. Fails with the file system's status naming
// `path`: also when it is not a regular file or is larger than kMaxIgnoreListSize.
[[nodiscard]] base::Result<std::vector<std::string>> ReadIgnoreList(
    platform::FileSystem& fs, const std::string& path,
    std::vector<base::Status>* warnings = nullptr);

// Replaces `path` by the list `entries` (each followed by CR LF; no entries gives a file
// of zero bytes) with FileSystem::openForReplacing, so the old list survives a failed
// write. An empty entry, or one holding CR or LF, cannot be read back as itself:
// such a list fails with invalidArgument and nothing is written.
[[nodiscard]] base::Status WriteIgnoreList(platform::FileSystem& fs, const std::string& path,
                                           const std::vector<std::string>& entries);

// The list as one text, each entry followed by CR LF: the file's content, and what the
// run hands to IgnoreMatcher::FromIgnoreText.
[[nodiscard]] std::string IgnoreTextOf(const std::vector<std::string>& entries);

}  // namespace engine
