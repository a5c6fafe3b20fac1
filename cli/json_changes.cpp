// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/json_changes.h"

#include <cerrno>
#include <ctime>
#include <vector>

#include "base/saturating.h"
#include "platform/civil_time.h"

namespace cli {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD in UTF-8
constexpr std::size_t kOffsetCacheSize = 4096;

// The length of the well-formed UTF-8 sequence at `pos`, or 0 with `*bad` set to the number
// of bytes that make up the ill-formed one: the longest start of a well-formed sequence, at
// least one byte (the "maximal subpart" that decoders replace with one U+FFFD).
std::size_t Utf8SequenceAt(std::string_view text, std::size_t pos, std::size_t* bad) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(pos);
  if (lead < 0x80) return 1;
  std::size_t length = 0;
  unsigned char secondMin = 0x80, secondMax = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) secondMin = 0xA0;  // no overlong forms
    if (lead == 0xED) secondMax = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) secondMin = 0x90;
    if (lead == 0xF4) secondMax = 0x8F;  // nothing above U+10FFFF
  }
  std::size_t good = length == 0 ? 0 : 1;
  while (good > 0 && good < length && pos + good < text.size()) {
    const unsigned char next = byte(pos + good);
    const unsigned char low = good == 1 ? secondMin : 0x80;
    const unsigned char high = good == 1 ? secondMax : 0xBF;
    if (next < low || next > high) break;
    ++good;
  }
  if (length != 0 && good == length) return length;
  *bad = good == 0 ? 1 : good;
  return 0;
}

void AppendJsonNumber(std::int64_t value, std::string* out) { *out += std::to_string(value); }

// `"key":` then the string, and for a text that is not UTF-8 its bytes under `rawKey`.
void AppendTextField(const char* key, const char* rawKey, std::string_view text, std::string* out) {
  bool valid = true;
  *out += ",\"";
  *out += key;
  *out += "\":";
  *out += JsonString(text, &valid);
  if (!valid) {
    *out += ",\"";
    *out += rawKey;
    *out += "\":\"";
    *out += Base64(text);
    *out += '"';
  }
}

void AppendField(const char* key, std::int64_t value, std::string* out) {
  *out += ",\"";
  *out += key;
  *out += "\":";
  AppendJsonNumber(value, out);
}

void AppendField(const char* key, const std::string& isoTime, std::string* out) {
  *out += ",\"";
  *out += key;
  *out += "\":\"";
  *out += isoTime;
  *out += '"';
}

// The drive as scripts name it: the letter before the colon of "k: [/data]", lower case.
std::string DriveName(std::string_view displayText) {
  std::string name(displayText.substr(0, displayText.find(':')));
  for (char& c : name) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  bool valid = true;
  return JsonString(name, &valid);
}

// True for the UTF-8 of U+0085 (NEL), U+2028 and U+2029.
bool IsLineSeparator(std::string_view sequence) {
  return sequence == "\xC2\x85" || sequence == "\xE2\x80\xA8" || sequence == "\xE2\x80\xA9";
}

}  // namespace

Spool::~Spool() { clear(); }

base::Status Spool::append(std::string_view bytes) {
  if (!m_file && m_memory.size() + bytes.size() <= memoryLimit) {
    m_memory += bytes;
    return base::Status::ok();
  }
  if (!m_file) {
    // Unnamed, and gone with the process however it ends.
    m_file = std::tmpfile();
    if (!m_file) return base::Status::fromErrno(errno, "a temporary file for the changes");
    if (std::fwrite(m_memory.data(), 1, m_memory.size(), m_file) != m_memory.size()) {
      return base::Status::fromErrno(errno, "a temporary file for the changes");
    }
    m_memory.clear();
    m_memory.shrink_to_fit();
  }
  if (std::fwrite(bytes.data(), 1, bytes.size(), m_file) != bytes.size()) {
    return base::Status::fromErrno(errno, "a temporary file for the changes");
  }
  return base::Status::ok();
}

base::Status Spool::moveTo(platform::WritableFile* out) {
  base::Status s = out->append(m_memory);
  if (s.isOk() && m_file) {
    if (std::fflush(m_file) != 0 || std::fseek(m_file, 0, SEEK_SET) != 0) {
      s = base::Status::fromErrno(errno, "a temporary file for the changes");
    }
    std::vector<char> buffer(1 << 16);
    while (s.isOk()) {
      const std::size_t got = std::fread(buffer.data(), 1, buffer.size(), m_file);
      if (got > 0) s = out->append(std::string_view(buffer.data(), got));
      if (got < buffer.size()) {
        if (std::ferror(m_file)) {
          s = base::Status::ioError("a temporary file for the changes: cannot be read");
        }
        break;
      }
    }
  }
  clear();
  return s;
}

void Spool::clear() {
  m_memory.clear();
  if (m_file) std::fclose(m_file);
  m_file = nullptr;
}

JsonChangeWriter::JsonChangeWriter(platform::WritableFile* out, UtcOffset offset)
    : m_out(out), m_offset(std::move(offset)) {}

base::Status JsonChangeWriter::driveStarted(std::string_view driveDisplayText) {
  // What an earlier drive left without finishing is not passed on.
  m_spool.clear();
  m_drive = DriveName(driveDisplayText);
  m_added = m_deleted = m_grew = m_shrunk = m_time = 0;
  return base::Status::ok();
}

void JsonChangeWriter::startChange(const char* kind, const engine::RecordView& record) {
  m_line = "{\"drive\":" + m_drive + ",\"kind\":\"" + kind + '"';
  AppendTextField("folder", "rawFolder", record.folder, &m_line);
  AppendTextField("name", "rawName", record.name, &m_line);
}

std::string JsonChangeWriter::isoTime(const platform::LocalDateTime& time) {
  if (m_offset) return IsoTime(time, m_offset(time));
  const std::int64_t quarter = platform::SecondsFromCivil(time) / 900;
  auto known = m_offsets.find(quarter);
  if (known == m_offsets.end()) {
    if (m_offsets.size() >= kOffsetCacheSize) m_offsets.clear();
    known = m_offsets.emplace(quarter, LocalUtcOffset(time)).first;
  }
  return IsoTime(time, known->second);
}

base::Status JsonChangeWriter::added(const engine::RecordView& newRecord) {
  ++m_added;
  return fileLine("added", newRecord);
}

base::Status JsonChangeWriter::deleted(const engine::RecordView& oldRecord) {
  ++m_deleted;
  return fileLine("deleted", oldRecord);
}

base::Status JsonChangeWriter::fileLine(const char* kind, const engine::RecordView& record) {
  startChange(kind, record);
  AppendField("size", record.size, &m_line);
  AppendField("time", isoTime(record.time), &m_line);
  m_line += "}\n";
  return m_spool.append(m_line);
}

base::Status JsonChangeWriter::sizeChanged(const engine::RecordView& oldRecord,
                                           const engine::RecordView& newRecord) {
  const bool grew = newRecord.size > oldRecord.size;
  ++(grew ? m_grew : m_shrunk);
  startChange(grew ? "grew" : "shrunk", newRecord);
  AppendField("oldSize", oldRecord.size, &m_line);
  AppendField("newSize", newRecord.size, &m_line);
  m_line += "}\n";
  return m_spool.append(m_line);
}

base::Status JsonChangeWriter::timeChanged(const engine::RecordView& oldRecord,
                                           const engine::RecordView& newRecord) {
  ++m_time;
  startChange("time", newRecord);
  AppendField("oldTime", isoTime(oldRecord.time), &m_line);
  AppendField("newTime", isoTime(newRecord.time), &m_line);
  m_line += "}\n";
  return m_spool.append(m_line);
}

base::Status JsonChangeWriter::driveFinished(std::int64_t addedBytes, std::int64_t deletedBytes,
                                             std::int64_t changedBytes) {
  m_line = "{\"drive\":" + m_drive + ",\"totals\":{\"added\":";
  AppendJsonNumber(m_added, &m_line);
  AppendField("deleted", m_deleted, &m_line);
  AppendField("grew", m_grew, &m_line);
  AppendField("shrunk", m_shrunk, &m_line);
  AppendField("time", m_time, &m_line);
  AppendField("addedBytes", addedBytes, &m_line);
  AppendField("deletedBytes", deletedBytes, &m_line);
  AppendField("changedBytes", changedBytes, &m_line);
  // The report's net change, saturated the same way.
  AppendField("netBytes",
              base::SaturatingSubtract(base::SaturatingAdd(addedBytes, changedBytes), deletedBytes),
              &m_line);
  m_line += "}}\n";
  if (base::Status s = m_spool.append(m_line); !s.isOk()) return s;
  return m_spool.moveTo(m_out);
}

std::string JsonString(std::string_view text, bool* valid) {
  static constexpr char kHex[] = "0123456789abcdef";
  *valid = true;
  std::string out = "\"";
  for (std::size_t pos = 0; pos < text.size();) {
    std::size_t bad = 0;
    const std::size_t length = Utf8SequenceAt(text, pos, &bad);
    if (length == 0) {
      *valid = false;
      out += kReplacement;
      pos += bad;
      continue;
    }
    const unsigned char c = static_cast<unsigned char>(text[pos]);
    if (IsLineSeparator(text.substr(pos, length))) {
      // U+0085, U+2028 and U+2029 are valid in a JSON string, but readers that split text
      // into lines at every Unicode line end (Python's str.splitlines(), JavaScript before
      // ES2019) would cut a line of JSON there; escaped, every object stays on its line.
      out += length == 2 ? "\\u0085" : (text[pos + 2] == '\xA8' ? "\\u2028" : "\\u2029");
    } else if (length > 1) {
      out.append(text, pos, length);
    } else if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c < 0x20) {
      out += "\\u00";
      out += kHex[c >> 4];
      out += kHex[c & 0xF];
    } else {
      out += static_cast<char>(c);
    }
    pos += length;
  }
  out += '"';
  return out;
}

std::string Base64(std::string_view bytes) {
  static constexpr char kDigits[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    const std::size_t n = std::min<std::size_t>(3, bytes.size() - i);
    std::uint32_t group = 0;
    for (std::size_t j = 0; j < 3; ++j) {
      group = (group << 8) | (j < n ? static_cast<unsigned char>(bytes[i + j]) : 0u);
    }
    for (std::size_t j = 0; j < 4; ++j) {
      out += j <= n ? kDigits[(group >> (18 - 6 * j)) & 0x3F] : '=';
    }
  }
  return out;
}

int LocalUtcOffset(const platform::LocalDateTime& when) {
  std::tm fields{};
  fields.tm_year = when.year - 1900;
  fields.tm_mon = when.month - 1;
  fields.tm_mday = when.day;
  fields.tm_hour = when.hour;
  fields.tm_min = when.minute;
  fields.tm_sec = when.second;
  fields.tm_isdst = -1;  // whatever holds in the zone at that time
  // mktime fills in the offset of the moment it finds; a time it cannot place keeps the
  // zero it started with, UTC.
  (void)std::mktime(&fields);
  return static_cast<int>(fields.tm_gmtoff);
}

std::string IsoTime(const platform::LocalDateTime& when, int offsetSeconds) {
  const char sign = offsetSeconds < 0 ? '-' : '+';
  const int offset = (offsetSeconds < 0 ? -offsetSeconds : offsetSeconds) / 60;
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d%c%02d:%02d", when.year,
                when.month, when.day, when.hour, when.minute, when.second, sign, offset / 60,
                offset % 60);
  return text;
}

}  // namespace cli
