// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/ignore_list_file.h"

#include "engine/ignore_matcher.h"
#include "platform/file_system.h"

namespace engine {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool IsBlank(std::string_view line) {
  return line.find_first_not_of(" \t") == std::string_view::npos;
}

}  // namespace

base::Result<std::vector<std::string>> ReadIgnoreList(platform::FileSystem& fs,
                                                      const std::string& path,
                                                      std::vector<base::Status>* warnings) {
  auto data = platform::ReadWholeFile(fs, path, kMaxIgnoreListSize);
  if (data.status().isNotFound()) return std::vector<std::string>{};
  if (!data.isOk()) return data.status();
  const auto warn = [&](int line, const std::string& what) {
    if (warnings != nullptr) {
      warnings->push_back(
          base::Status::invalidArgument(path + ", line " + std::to_string(line) + ": " + what));
    }
  };

  const char separator = fs.pathStyle().separator;
  std::string_view rest = data.value();
  if (rest.starts_with(kUtf8Bom)) rest.remove_prefix(kUtf8Bom.size());
  std::vector<std::string> entries;
  bool warnedAboutCr = false;
  for (int number = 1; !rest.empty(); ++number) {
    std::size_t end = rest.find_first_of("\r\n");
    std::string_view line = rest.substr(0, end);
    std::size_t next = end == std::string_view::npos ? rest.size() : end + 1;
    if (end != std::string_view::npos && rest[end] == '\r') {
      if (end + 1 < rest.size() && rest[end + 1] == '\n') {
        ++next;
      } else if (!warnedAboutCr) {
        // An editor of an old Macintosh, or a stray CR: the user meant a line end.
        warn(number, "the line ends in CR alone; read as a line end");
        warnedAboutCr = true;
      }
    }
    rest.remove_prefix(next);
    if (IsBlank(line)) continue;
    std::string entry(line);
    if (entry.back() != separator && !IsWholeTreeEntry(entry, separator)) {
      // Blanks after the separator (or after a whole tree's mark) are a slip of the editor;
      // a name that ends the entry means that folder.
      const std::string_view trimmed = line.substr(0, line.find_last_not_of(" \t") + 1);
      const bool complete = trimmed.back() == separator || IsWholeTreeEntry(trimmed, separator);
      entry = complete ? std::string(trimmed) : entry + separator;
      warn(number, "\"" + std::string(line) + "\" does not end in " + separator + "; read as \"" +
                       entry + "\"");
    }
    entries.push_back(std::move(entry));
  }
  return entries;
}

base::Status WriteIgnoreList(platform::FileSystem& fs, const std::string& path,
                             const std::vector<std::string>& entries) {
  for (const std::string& entry : entries) {
    if (entry.empty() || entry.find_first_of("\r\n") != std::string::npos) {
      return base::Status::invalidArgument(path +
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
