// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/profile_record.h"

#include <charconv>

namespace engine {
namespace {

constexpr char kHex[] = "0123456789ABCDEF";

// Bytes a Windows name can never hold and that would end the line or the field.
bool NeedsEscape(unsigned char c) { return c < 0x20 || c == 0x7F || c == '"' || c == '|'; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

void AppendTwoDigits(int value, std::string* out) {
  out->push_back(static_cast<char>('0' + value / 10 % 10));
  out->push_back(static_cast<char>('0' + value % 10));
}

// Reads exactly `width` digits at `*pos`.
bool ReadDigits(std::string_view text, std::size_t* pos, std::size_t width, int* value) {
  if (*pos + width > text.size()) return false;
  int v = 0;
  for (std::size_t i = 0; i < width; ++i) {
    const char c = text[*pos + i];
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
  }
  *pos += width;
  *value = v;
  return true;
}

bool Expect(std::string_view text, std::size_t* pos, char c) {
  if (*pos >= text.size() || text[*pos] != c) return false;
  ++*pos;
  return true;
}

// Parses "yyyy-mm-dd" or "yyyy-mm-dd hh:mm:ss" (the text between the two '#').
bool ParseTime(std::string_view text, platform::LocalDateTime* time) {
  std::size_t pos = 0;
  platform::LocalDateTime t;
  if (!ReadDigits(text, &pos, 4, &t.year) || !Expect(text, &pos, '-') ||
      !ReadDigits(text, &pos, 2, &t.month) || !Expect(text, &pos, '-') ||
      !ReadDigits(text, &pos, 2, &t.day)) {
    return false;
  }
  if (pos != text.size()) {
    if (!Expect(text, &pos, ' ') || !ReadDigits(text, &pos, 2, &t.hour) ||
        !Expect(text, &pos, ':') || !ReadDigits(text, &pos, 2, &t.minute) ||
        !Expect(text, &pos, ':') || !ReadDigits(text, &pos, 2, &t.second) || pos != text.size()) {
      return false;
    }
  }
  if (t.month < 1 || t.month > 12 || t.day < 1 || t.day > 31 || t.hour > 23 || t.minute > 59 ||
      t.second > 60) {
    return false;
  }
  *time = t;
  return true;
}

// Reads a quoted field at `*pos` and the closing quote.
bool ReadQuoted(std::string_view line, std::size_t* pos, std::string* field) {
  if (!Expect(line, pos, '"')) return false;
  const std::size_t close = line.find('"', *pos);
  if (close == std::string_view::npos) return false;
  const std::string_view text = line.substr(*pos, close - *pos);
  // Assigning keeps the field's buffer, so reading a profile allocates almost nothing.
  if (text.find('|') == std::string_view::npos) {
    field->assign(text);
  } else {
    *field = UnescapeField(text);
  }
  *pos = close + 1;
  return true;
}

}  // namespace

void AppendEscapedField(std::string_view text, std::string* out) {
  // Names almost never need escapes: copy runs of plain bytes in one go.
  std::size_t runStart = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto u = static_cast<unsigned char>(text[i]);
    if (!NeedsEscape(u)) continue;
    out->append(text.data() + runStart, i - runStart);
    out->push_back('|');
    out->push_back(kHex[u >> 4]);
    out->push_back(kHex[u & 15]);
    runStart = i + 1;
  }
  out->append(text.data() + runStart, text.size() - runStart);
}

std::string UnescapeField(std::string_view field) {
  std::string out;
  out.reserve(field.size());
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '|' && i + 2 < field.size()) {
      const int hi = HexValue(field[i + 1]);
      const int lo = HexValue(field[i + 2]);
      if (hi >= 0 && lo >= 0) {
        out.push_back(static_cast<char>(hi * 16 + lo));
        i += 2;
        continue;
      }
    }
    // A '|' that starts no escape can only come from a hand-edited file; keep it.
    out.push_back(field[i]);
  }
  return out;
}

void AppendProfileTime(const platform::LocalDateTime& time, std::string* out) {
  out->push_back('#');
  char year[16];
  auto [end, ec] = std::to_chars(year, year + sizeof year, time.year);
  (void)ec;
  for (std::ptrdiff_t pad = 4 - (end - year); pad > 0; --pad) out->push_back('0');
  out->append(year, end);
  out->push_back('-');
  AppendTwoDigits(time.month, out);
  out->push_back('-');
  AppendTwoDigits(time.day, out);
  if (!time.isMidnight()) {
    out->push_back(' ');
    AppendTwoDigits(time.hour, out);
    out->push_back(':');
    AppendTwoDigits(time.minute, out);
    out->push_back(':');
    AppendTwoDigits(time.second, out);
  }
  out->push_back('#');
}

void AppendProfileLine(const ProfileRecord& record, std::string* out) {
  std::string folder;
  AppendEscapedField(record.folder, &folder);
  AppendProfileLine(record, folder, out);
}

void AppendProfileLine(const ProfileRecord& record, std::string_view escapedFolder,
                       std::string* out) {
  char digits[24];
  auto [end, ec] = std::to_chars(digits, digits + sizeof digits, record.size);
  (void)ec;
  out->append(digits, end);
  out->push_back(',');
  AppendProfileTime(record.time, out);
  out->append(",\"");
  out->append(escapedFolder);
  out->append("\",\"");
  AppendEscapedField(record.name, out);
  out->append("\"\r\n");
}

Status ParseProfileLine(std::string_view line, ProfileRecord* record) {
  std::size_t comma = line.find(',');
  if (comma == std::string_view::npos || comma == 0) return Status::corrupt("no size field");
  // Sizes are 64-bit; files written when sizes were 32-bit may hold a negative number.
  const char* first = line.data();
  if (*first == '+') return Status::corrupt("bad size field");
  auto [ptr, ec] = std::from_chars(first, line.data() + comma, record->size);
  if (ec != std::errc() || ptr != line.data() + comma) return Status::corrupt("bad size field");

  std::size_t pos = comma + 1;
  if (!Expect(line, &pos, '#')) return Status::corrupt("bad time field");
  const std::size_t hash = line.find('#', pos);
  if (hash == std::string_view::npos || !ParseTime(line.substr(pos, hash - pos), &record->time)) {
    return Status::corrupt("bad time field");
  }
  pos = hash + 1;
  if (!Expect(line, &pos, ',') || !ReadQuoted(line, &pos, &record->folder)) {
    return Status::corrupt("bad folder field");
  }
  if (!Expect(line, &pos, ',') || !ReadQuoted(line, &pos, &record->name)) {
    return Status::corrupt("bad name field");
  }
  if (pos != line.size()) return Status::corrupt("text after the name field");
  return Status::ok();
}

bool IsCutProfileLine(std::string_view line) {
  // Walks the grammar of docs/profile_format.md as far as `line` goes; the line is cut when
  // it runs out before anything fails to match and before the name's closing quote.
  std::size_t pos = 0;
  const auto atEnd = [&] { return pos >= line.size(); };
  const auto isDigit = [&](std::size_t at) { return line[at] >= '0' && line[at] <= '9'; };

  if (!atEnd() && line[pos] == '-') ++pos;
  const std::size_t digitsStart = pos;
  while (!atEnd() && isDigit(pos)) ++pos;
  if (atEnd()) return true;
  if (pos == digitsStart || line[pos] != ',') return false;
  ++pos;

  // "#", the date, an optional clock, "#": 'd' stands for a digit.
  constexpr std::string_view kDate = "#dddd-dd-dd";
  constexpr std::string_view kClock = " dd:dd:dd";
  for (std::string_view pattern : {kDate, kClock}) {
    if (pattern == kClock && !atEnd() && line[pos] == '#') break;
    for (char expected : pattern) {
      if (atEnd()) return true;
      if (expected == 'd' ? !isDigit(pos) : line[pos] != expected) return false;
      ++pos;
    }
  }
  for (char expected : std::string_view("#,\"")) {
    if (atEnd()) return true;
    if (line[pos++] != expected) return false;
  }
  // The folder, then ",\"" and the name; quoted fields end at the next quote.
  const std::size_t folderEnd = line.find('"', pos);
  if (folderEnd == std::string_view::npos) return true;
  pos = folderEnd + 1;
  for (char expected : std::string_view(",\"")) {
    if (atEnd()) return true;
    if (line[pos++] != expected) return false;
  }
  return line.find('"', pos) == std::string_view::npos;
}

}  // namespace engine
