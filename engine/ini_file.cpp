// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/ini_file.h"

#include <algorithm>
#include <unordered_map>

#include "base/ascii.h"
#include "platform/file_system.h"
#include "platform/run_lock.h"

namespace engine {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kBlanks = " \t";

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return base::AsciiLower(x) == base::AsciiLower(y);
         });
}

// Control characters break a line or hide what it says; the tab separates like a blank.
bool HasControlCharacter(std::string_view text) {
  return std::any_of(text.begin(), text.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (byte < 0x20 && c != '\t') || byte == 0x7F;
  });
}

// True when `text` reads back as itself: no control character, nothing to trim.
bool Writable(std::string_view text) {
  return !HasControlCharacter(text) && Trimmed(text).size() == text.size();
}

bool ValidSectionName(std::string_view name) {
  return !name.empty() && Writable(name) && name.find_first_of("[]") == std::string_view::npos;
}

bool ValidKey(std::string_view key) {
  return !key.empty() && Writable(key) && key.find_first_of("[]=") == std::string_view::npos &&
         key.front() != '#' && key.front() != ';';
}

}  // namespace

IniFile IniFile::Parse(std::string_view text, std::string name) {
  IniFile file;
  file.m_name = std::move(name);
  if (text.starts_with(kUtf8Bom)) text.remove_prefix(kUtf8Bom.size());
  std::string section;
  std::unordered_map<std::string, int> seen;
  for (int number = 1; !text.empty(); ++number) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (!line.empty() && line.back() == '\r' && end != std::string_view::npos) {
      line.remove_suffix(1);
      if (number == 1) file.m_lineEnd = "\r\n";
    }
    file.parseLine(line, number, &section, &seen);
  }
  return file;
}

void IniFile::parseLine(std::string_view text, int number, std::string* section,
                        std::unordered_map<std::string, int>* seen) {
  Line line;
  line.text = std::string(text);
  line.section = *section;
  const auto bad = [&](std::string_view why) {
    fail(number, why);
    m_lines.push_back(std::move(line));
  };
  if (text.size() > kMaxIniLine) {
    return bad("the line is longer than " + std::to_string(kMaxIniLine) + " bytes");
  }
  if (HasControlCharacter(text)) return bad("the line holds a control character");
  const std::string_view trimmed = Trimmed(text);
  if (trimmed.empty() || trimmed.front() == '#' || trimmed.front() == ';') {
    m_lines.push_back(std::move(line));
    return;
  }
  if (trimmed.front() == '[') {
    const std::string_view name =
        trimmed.back() == ']' ? Trimmed(trimmed.substr(1, trimmed.size() - 2)) : "";
    if (!ValidSectionName(name)) return bad("a section starts with a line [name]");
    line.kind = Line::Kind::kHeader;
    line.section = *section = std::string(name);
    m_lines.push_back(std::move(line));
    return;
  }
  const std::size_t equals = trimmed.find('=');
  if (equals == std::string_view::npos) {
    return bad("expected [section], key = value, or a comment starting with # or ;");
  }
  const std::string_view key = Trimmed(trimmed.substr(0, equals));
  if (!ValidKey(key)) return bad("expected a key before =");
  if (section->empty()) return bad(std::string(key) + " is set before the first [section]");
  const auto [earlier, first] = seen->try_emplace(
      base::AsciiLowercased(*section) + '\n' + base::AsciiLowercased(key), number);
  if (!first) {
    return bad(std::string(key) + " is set twice in [" + *section + "] (first on line " +
               std::to_string(earlier->second) + ")");
  }
  line.kind = Line::Kind::kEntry;
  line.key = std::string(key);
  line.value = std::string(Trimmed(trimmed.substr(equals + 1)));
  m_lines.push_back(std::move(line));
}

void IniFile::fail(int number, std::string_view why) {
  if (m_problem.isOk()) {
    m_problem = base::Status::corrupt(m_name + ", line " + std::to_string(number) + ": " +
                                      std::string(why));
  }
}

std::optional<IniEntry> IniFile::find(std::string_view section, std::string_view key) const {
  for (std::size_t i = 0; i < m_lines.size(); ++i) {
    const Line& line = m_lines[i];
    if (line.kind == Line::Kind::kEntry && SameName(line.section, section) &&
        SameName(line.key, key)) {
      return IniEntry{line.key, line.value, static_cast<int>(i) + 1};
    }
  }
  return std::nullopt;
}

std::vector<IniEntry> IniFile::entries(std::string_view section) const {
  std::vector<IniEntry> found;
  for (std::size_t i = 0; i < m_lines.size(); ++i) {
    const Line& line = m_lines[i];
    if (line.kind == Line::Kind::kEntry && SameName(line.section, section)) {
      found.push_back({line.key, line.value, static_cast<int>(i) + 1});
    }
  }
  return found;
}

base::Status IniFile::set(std::string_view section, std::string_view key, std::string_view value) {
  if (!ValidSectionName(section) || !ValidKey(key) || !Writable(value) ||
      key.size() + value.size() + 3 > kMaxIniLine) {
    return base::Status::invalidArgument(m_name + ": cannot set [" + std::string(section) + "] " +
                                         std::string(key) + " to \"" + std::string(value) + "\"");
  }
  const auto entryText = [&](std::string_view writtenKey) {
    return std::string(writtenKey) + " = " + std::string(value);
  };
  // The key's own line, or the place after the section's last key (or header).
  std::optional<std::size_t> after;
  for (std::size_t i = 0; i < m_lines.size(); ++i) {
    Line& line = m_lines[i];
    if (line.kind == Line::Kind::kOther || !SameName(line.section, section)) continue;
    if (line.kind == Line::Kind::kEntry && SameName(line.key, key)) {
      line.text = entryText(line.key);
      line.value = std::string(value);
      return base::Status::ok();
    }
    after = i;
  }
  Line entry;
  entry.kind = Line::Kind::kEntry;
  entry.key = std::string(key);
  entry.value = std::string(value);
  entry.text = entryText(key);
  if (after) {
    entry.section = m_lines[*after].section;
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(*after + 1), std::move(entry));
    return base::Status::ok();
  }
  // A new section, set off from what comes before it by a blank line.
  if (!m_lines.empty() && !Trimmed(m_lines.back().text).empty()) {
    Line blank;
    blank.section = m_lines.back().section;
    m_lines.push_back(std::move(blank));
  }
  Line header;
  header.kind = Line::Kind::kHeader;
  header.section = std::string(section);
  header.text = "[" + header.section + "]";
  m_lines.push_back(std::move(header));
  entry.section = std::string(section);
  m_lines.push_back(std::move(entry));
  return base::Status::ok();
}

std::string IniFile::text() const {
  std::string text;
  for (const Line& line : m_lines) text.append(line.text).append(m_lineEnd);
  return text;
}

base::Result<IniFile> ReadIniFile(platform::FileSystem& fs, const std::string& path) {
  auto data = platform::ReadWholeFile(fs, path, kMaxIniFileSize);
  if (data.status().isNotFound()) return IniFile::Parse("", path);
  if (!data.isOk()) return data.status();
  return IniFile::Parse(data.value(), path);
}

base::Status UpdateIniFile(platform::FileSystem& fs, const std::string& path,
                           const std::function<base::Status(IniFile*)>& change) {
  // The lock keeps two writers (a window and a run of the command line) from losing each
  // other's changes between the read and the write.
  auto lock =
      platform::RunLock::TakeBriefly(fs, platform::FolderOf(path, fs.pathStyle().separator));
  if (!lock.isOk()) return lock.status();
  auto file = ReadIniFile(fs, path);
  if (!file.isOk()) return file.status();
  if (base::Status s = change(&file.value()); !s.isOk()) return s;
  return platform::WriteFileAtomically(fs, path, file.value().text());
}

}  // namespace engine
