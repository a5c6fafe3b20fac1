// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// A small INI file of the program's own (brinvale.conf): sections of "key = value" lines.
// Reading keeps every line, so a rewrite changes only the keys it sets and keeps comments,
// blank lines, unknown sections and keys, and even lines it could not read, as they were.
//
// The format: lines end in LF (CR LF is read too, and a file written with CR LF keeps
// them); a leading UTF-8 byte order mark is skipped. A line is blank, a comment (its
// first character other than blanks and tabs is '#' or ';'), a section header "[name]", or
// "key = value" inside a section. Blanks and tabs around names and values are not part of
// them. Section names and keys compare without regard to ASCII letter case. A key set twice
// in one section, a key before the first section, a control character, a line longer than
// kMaxIniLine bytes and anything else are bad lines.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/status.h"

namespace platform {
class FileSystem;
}  // namespace platform

namespace engine {

// No settings file comes near these; a larger one is not a settings file.
inline constexpr std::size_t kMaxIniFileSize = 1024 * 1024;
inline constexpr std::size_t kMaxIniLine = 4096;

// One "key = value" line as read.
struct IniEntry {
  std::string key;  // as written
  std::string value;
  int line = 0;  // its line number in the file, from 1
};

class IniFile {
 public:
  // An empty file.
  IniFile() = default;

  // Reads `text`, the content of the file `name` (used in messages). Never fails: bad lines
  // are kept as they are, and problem() tells of the first one.
  static IniFile Parse(std::string_view text, std::string name);

  // Ok, or corrupt with "NAME, line N: what is wrong" for the first bad line.
  [[nodiscard]] const base::Status& problem() const { return m_problem; }

  // The value of `key` in `section`, or nothing when it is not set.
  [[nodiscard]] std::optional<IniEntry> find(std::string_view section, std::string_view key) const;
  // Every key of `section`, in file order (several headers of one section count as one).
  [[nodiscard]] std::vector<IniEntry> entries(std::string_view section) const;

  // Sets `key` in `section` to `value`: the key's line is rewritten in place; a new key
  // goes after the last key of the section, and a new section at the end. Fails with
  // invalidArgument, changing nothing, when a name or the value could not be read back as
  // itself (empty names, brackets or '=' in a name, line breaks and other control
  // characters, blanks at either end, a line too long).
  [[nodiscard]] base::Status set(std::string_view section, std::string_view key,
                                 std::string_view value);

  // The file's text: every line as it was read or set, each ending in the file's line end.
  [[nodiscard]] std::string text() const;

 private:
  struct Line {
    std::string text;     // without its line end
    std::string section;  // the section it lies in (for a header: the one it starts)
    enum class Kind { kOther, kHeader, kEntry } kind = Kind::kOther;
    std::string key;  // for entries
    std::string value;
  };

  // Reads line `number`, which lies in `*section`; `*seen` holds the keys read so far.
  void parseLine(std::string_view text, int number, std::string* section,
                 std::unordered_map<std::string, int>* seen);
  void fail(int number, std::string_view why);

  std::vector<Line> m_lines;
  std::string m_name;
  std::string m_lineEnd = "\n";
  base::Status m_problem;
};

// Reads the INI file `path`; a missing file is an empty one. Bad lines do not fail the read
// (IniFile::problem()). Fails naming `path` when it cannot be read, is not a regular file,
// or is larger than kMaxIniFileSize.
[[nodiscard]] base::Result<IniFile> ReadIniFile(platform::FileSystem& fs, const std::string& path);

// Rewrites `path` with the changes `change` makes to what it holds now: under the program
// folder's run lock (RunLock::TakeBriefly on the file's folder), reads the file as
// ReadIniFile does, calls `change`, and replaces the file in one step
// (FileSystem::openForReplacing) unless `change` failed. Fails as ReadIniFile, `change` and
// the write do; the file is then as it was.
[[nodiscard]] base::Status UpdateIniFile(platform::FileSystem& fs, const std::string& path,
                                         const std::function<base::Status(IniFile*)>& change);

}  // namespace engine
