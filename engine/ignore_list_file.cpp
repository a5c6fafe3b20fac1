// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/ignore_list_file.h"

#include "platform/file_system.h"

namespace engine {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool IsBlank(std::string_view line) {
  return line.find_first_not_of(" \t") == std::string_view::npos;
}

}  // namespace

Result<std::vector<std::string>> ReadIgnoreList(platform::FileSystem& fs, const std::string& path) {
  auto data = platform::ReadWholeFile(fs, path);
  if (data.status().isNotFound()) return std::vector<std::string>{};
  if (!data.isOk()) return data.status();

  std::string_view rest = data.value();
  if (rest.starts_with(kUtf8Bom)) rest.remove_prefix(kUtf8Bom.size());
  std::vector<std::string> entries;
  while (!rest.empty()) {
    const std::size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (!IsBlank(line)) entries.emplace_back(line);
  }
  return entries;
}

Status WriteIgnoreList(platform::FileSystem& fs, const std::string& path,
                       const std::vector<std::string>& entries) {
  for (const std::string& entry : entries) {
    if (entry.empty() || entry.find_first_of("\r\n") != std::string::npos) {
      return Status::invalidArgument(path +
                                     ": an Ignore list entry is empty or holds a line break");
    }
  }
  return platform::WriteFileAtomically(fs, path, IgnoreTextOf(entries));
}

std::string IgnoreTextOf(const std::vector<std::string>& entries) {
  std::string text;
  for (const std::string& entry : entries) text.append(entry).append("\r\n");
  return text;
}

}  // namespace engine
