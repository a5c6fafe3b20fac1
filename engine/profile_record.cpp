// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/profile_record.h"

#include <array>
#include <charconv>
#include <cstring>

namespace engine {
namespace {

constexpr char kHex[] = "0123456789ABCDEF";

// Bytes a Windows name can never hold and that would end the line or the field.
constexpr bool NeedsEscape(unsigned char c) {
  return c < 0x20 || c == 0x7F || c == '"' || c == '|';
}

// NeedsEscape as a table, so that a field is checked without a branch per byte.
constexpr auto kEscapeTable = [] {
  std::array<unsigned char, 256> table{};
  for (int c = 0; c < 256; ++c)
    table[static_cast<std::size_t>(c)] = NeedsEscape(static_cast<unsigned char>(c)) ? 1 : 0;
  return table;
}();

bool AnyNeedsEscape(std::string_view text) {
  unsigned char any = 0;
  for (const char c : text) any |= kEscapeTable[static_cast<unsigned char>(c)];
  return any != 0;
}

// "00" to "99", for times.
constexpr auto kDigitPairs = [] {
  std::array<char, 200> pairs{};
  for (int i = 0; i < 100; ++i) {
    pairs[static_cast<std::size_t>(2 * i)] = static_cast<char>('0' + i / 10);
    pairs[static_cast<std::size_t>(2 * i + 1)] = static_cast<char>('0' + i % 10);
  }
  return pairs;
}();

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// The value of the two digits at `text`, or -1 when they are not digits.
int TwoDigits(const char* text) {
  const auto hi = static_cast<unsigned>(text[0] - '0');
  const auto lo = static_cast<unsigned>(text[1] - '0');
  return hi < 10 && lo < 10 ? static_cast<int>(hi * 10 + lo) : -1;
}

// Parses "yyyy-mm-dd" or "yyyy-mm-dd hh:mm:ss" (the text between the two '#').
bool ParseTime(std::string_view text, platform::LocalDateTime* time) {
  if (text.size() != 10 && text.size() != 19) return false;
  const char* t = text.data();
  platform::LocalDateTime parsed;
  const int century = TwoDigits(t);
  const int yearOfCentury = TwoDigits(t + 2);
  if (century < 0 || yearOfCentury < 0 || t[4] != '-' || t[7] != '-') return false;
  parsed.year = century * 100 + yearOfCentury;
  parsed.month = TwoDigits(t + 5);
  parsed.day = TwoDigits(t + 8);
  if (text.size() == 19) {
    if (t[10] != ' ' || t[13] != ':' || t[16] != ':') return false;
    parsed.hour = TwoDigits(t + 11);
    parsed.minute = TwoDigits(t + 14);
    parsed.second = TwoDigits(t + 17);
  }
  // A field that is no digit reads as -1 and fails the ranges.
  if (parsed.month < 1 || parsed.month > 12 || parsed.day < 1 || parsed.day > 31 ||
      parsed.hour < 0 || parsed.hour > 23 || parsed.minute < 0 || parsed.minute > 59 ||
      parsed.second < 0 || parsed.second > 60) {
    return false;
  }
  *time = parsed;
  return true;
}

// The longest time field: '#', an int year (11 characters), "-mm-dd hh:mm:ss" and '#'.
constexpr std::size_t kMaxTimeField = 28;

char* WriteTwoDigits(char* out, int value) {
  if (static_cast<unsigned>(value) < 100) {
    std::memcpy(out, kDigitPairs.data() + 2 * value, 2);
    return out + 2;
  }
  // Out of range only in a record made by hand: the last two digits, as ever.
  out[0] = static_cast<char>('0' + value / 10 % 10);
  out[1] = static_cast<char>('0' + value % 10);
  return out + 2;
}

char* WriteMonthOnward(char* out, const platform::LocalDateTime& time);

// The "#yyyy-mm-dd hh:mm:ss#" field, or "#yyyy-mm-dd#" at midnight; returns its end.
char* WriteProfileTime(char* out, const platform::LocalDateTime& time) {
  *out++ = '#';
  if (time.year >= 1000 && time.year <= 9999) {
    out = WriteTwoDigits(WriteTwoDigits(out, time.year / 100), time.year % 100);
    return WriteMonthOnward(out, time);
  }
  char year[16];
  const char* yearEnd = std::to_chars(year, year + sizeof year, time.year).ptr;
  for (std::ptrdiff_t pad = 4 - (yearEnd - year); pad > 0; --pad) *out++ = '0';
  std::memcpy(out, year, static_cast<std::size_t>(yearEnd - year));
  return WriteMonthOnward(out + (yearEnd - year), time);
}

// The time field after its year: "-mm-dd hh:mm:ss#", or "-mm-dd#" at midnight.
char* WriteMonthOnward(char* out, const platform::LocalDateTime& time) {
  *out++ = '-';
  out = WriteTwoDigits(out, time.month);
  *out++ = '-';
  out = WriteTwoDigits(out, time.day);
  if (!time.isMidnight()) {
    *out++ = ' ';
    out = WriteTwoDigits(out, time.hour);
    *out++ = ':';
    out = WriteTwoDigits(out, time.minute);
    *out++ = ':';
    out = WriteTwoDigits(out, time.second);
  }
  *out++ = '#';
  return out;
}

// Writes `field` with its escapes undone at `out` (room for field.size() bytes) and returns
// the end. A '|' that starts no escape can only come from a hand-edited file; it is kept.
char* WriteUnescaped(std::string_view field, char* out) {
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '|' && i + 2 < field.size()) {
      const int hi = HexValue(field[i + 1]);
      const int lo = HexValue(field[i + 2]);
      if (hi >= 0 && lo >= 0) {
        *out++ = static_cast<char>(hi * 16 + lo);
        i += 2;
        continue;
      }
    }
    *out++ = field[i];
  }
  return out;
}

// The quoted field that starts at `*at` (at its opening quote), ending before `end`: its
// raw text, with `*at` moved past the closing quote. False when there is none.
bool ReadQuoted(const char** at, const char* end, std::string_view* raw) {
  const char* p = *at;
  if (p == end || *p != '"') return false;
  ++p;
  const auto* close =
      static_cast<const char*>(std::memchr(p, '"', static_cast<std::size_t>(end - p)));
  if (close == nullptr) return false;
  *raw = std::string_view(p, static_cast<std::size_t>(close - p));
  *at = close + 1;
  return true;
}

// A field's text for the record: the raw text itself, or its unescaped copy.
std::string_view FieldText(std::string_view raw, TextBuffer* unescaped) {
  if (std::memchr(raw.data(), '|', raw.size()) == nullptr) return raw;
  char* start = unescaped->reserveMore(raw.size());
  char* end = WriteUnescaped(raw, start);
  unescaped->commitTo(end);
  return {start, static_cast<std::size_t>(end - start)};
}

// Parses a line of the grammar of docs/profile_format.md; returns why it is none, or null.
const char* ParseLine(std::string_view line, RecordView* record, TextBuffer* unescaped,
                      FolderField* previousFolder) {
  const char* p = line.data();
  const char* end = p + line.size();
  const auto* comma = static_cast<const char*>(std::memchr(p, ',', line.size()));
  if (comma == nullptr || comma == p) return "no size field";
  // Sizes are 64-bit; files written when sizes were 32-bit may hold a negative number.
  if (*p == '+') return "bad size field";
  const auto [sizeEnd, ec] = std::from_chars(p, comma, record->size);
  if (ec != std::errc() || sizeEnd != comma) return "bad size field";

  p = comma + 1;
  if (p == end || *p != '#') return "bad time field";
  ++p;
  // The time field ends at its next '#', after a date alone or after a date and a clock.
  // Taking the '#' at either place is safe: a field with an earlier '#' fails to parse
  // there just as it fails at that earlier '#'.
  const char* hash = nullptr;
  if (end - p > 10 && p[10] == '#') {
    hash = p + 10;
  } else if (end - p > 19 && p[19] == '#') {
    hash = p + 19;
  } else {
    hash = static_cast<const char*>(std::memchr(p, '#', static_cast<std::size_t>(end - p)));
  }
  if (hash == nullptr ||
      !ParseTime(std::string_view(p, static_cast<std::size_t>(hash - p)), &record->time)) {
    return "bad time field";
  }
  p = hash + 1;

  if (p == end || *p != ',') return "bad folder field";
  ++p;
  // Records come folder by folder: most lines repeat the folder field of the line before.
  const std::size_t known = previousFolder != nullptr ? previousFolder->raw.size() : 0;
  if (known > 0 && static_cast<std::size_t>(end - p) > known + 1 && p[0] == '"' &&
      p[known + 1] == '"' && std::memcmp(p + 1, previousFolder->raw.data(), known) == 0) {
    record->folder = previousFolder->folder;
    p += known + 2;
  } else {
    std::string_view raw;
    if (!ReadQuoted(&p, end, &raw)) return "bad folder field";
    record->folder = FieldText(raw, unescaped);
    if (previousFolder != nullptr) *previousFolder = {raw, record->folder};
  }

  std::string_view rawName;
  if (p == end || *p != ',') return "bad name field";
  ++p;
  if (!ReadQuoted(&p, end, &rawName)) return "bad name field";
  record->name = FieldText(rawName, unescaped);
  if (p != end) return "text after the name field";
  return nullptr;
}

}  // namespace

void AppendEscapedField(std::string_view text, std::string* out) {
  // Names almost never need escapes: copy runs of plain bytes in one go.
  if (!AnyNeedsEscape(text)) {
    out->append(text);
    return;
  }
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

std::size_t EscapedFieldSize(std::string_view text) {
  std::size_t size = text.size();
  for (const char c : text) size += 2 * kEscapeTable[static_cast<unsigned char>(c)];
  return size;
}

std::string UnescapeField(std::string_view field) {
  std::string out(field.size(), '\0');
  out.resize(static_cast<std::size_t>(WriteUnescaped(field, out.data()) - out.data()));
  return out;
}

void AppendProfileTime(const platform::LocalDateTime& time, std::string* out) {
  char text[kMaxTimeField];
  out->append(text, WriteProfileTime(text, time));
}

void AppendProfileLine(const ProfileRecord& record, std::string* out) {
  std::string folder;
  AppendEscapedField(record.folder, &folder);
  AppendProfileLine(record, folder, out);
}

void AppendProfileLine(const ProfileRecord& record, std::string_view escapedFolder,
                       std::string* out) {
  const std::size_t old = out->size();
  out->resize(old + MaxProfileLineSize(escapedFolder.size(), record.name.size()));
  char* end =
      WriteProfileLine(out->data() + old, record.size, record.time, escapedFolder, record.name);
  out->resize(static_cast<std::size_t>(end - out->data()));
}

char* WriteProfileLine(char* out, std::int64_t size, const platform::LocalDateTime& time,
                       std::string_view escapedFolder, std::string_view name) {
  out = std::to_chars(out, out + 20, size).ptr;
  *out++ = ',';
  out = WriteProfileTime(out, time);
  *out++ = ',';
  *out++ = '"';
  std::memcpy(out, escapedFolder.data(), escapedFolder.size());
  out += escapedFolder.size();
  *out++ = '"';
  *out++ = ',';
  *out++ = '"';
  if (!AnyNeedsEscape(name)) {
    std::memcpy(out, name.data(), name.size());
    out += name.size();
  } else {
    for (const char c : name) {
      const auto u = static_cast<unsigned char>(c);
      if (NeedsEscape(u)) {
        *out++ = '|';
        *out++ = kHex[u >> 4];
        *out++ = kHex[u & 15];
      } else {
        *out++ = c;
      }
    }
  }
  *out++ = '"';
  *out++ = '\r';
  *out++ = '\n';
  return out;
}

base::Status ParseProfileLine(std::string_view line, ProfileRecord* record) {
  RecordView view;
  TextBuffer unescaped;
  unescaped.reserveMore(line.size());
  if (const char* reason = ParseLine(line, &view, &unescaped, nullptr)) {
    return base::Status::corrupt(reason);
  }
  record->size = view.size;
  record->time = view.time;
  // Assigning keeps the fields' buffers, so reading a profile allocates almost nothing.
  record->folder.assign(view.folder);
  record->name.assign(view.name);
  return base::Status::ok();
}

base::Status ParseProfileLine(std::string_view line, RecordView* record, TextBuffer* unescaped,
                              FolderField* previousFolder) {
  if (const char* reason = ParseLine(line, record, unescaped, previousFolder)) {
    return base::Status::corrupt(reason);
  }
  return base::Status::ok();
}

}  // namespace engine
