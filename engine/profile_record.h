// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// One line of a profile: a file's size, modification time, folder and name, and the text
// form of that line (docs/profile_format.md).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/status.h"
#include "platform/date_time.h"

namespace engine {

struct ProfileRecord {
  std::int64_t size = 0;
  platform::LocalDateTime time;
  std::string folder;  // absolute, ends in the separator; raw bytes (not escaped)
  std::string name;    // raw bytes (not escaped)
};

// Appends the line of `record`, CR LF included, to `*out`. Bytes that would break the line
// or cannot occur in a Windows name are escaped as '|' and two hex digits.
void AppendProfileLine(const ProfileRecord& record, std::string* out);
// The same, with the folder field already escaped (AppendEscapedField of record.folder):
// writers of many records per folder escape each folder once.
void AppendProfileLine(const ProfileRecord& record, std::string_view escapedFolder,
                       std::string* out);

// Parses one line (without its line end) into `*record`. Fails with corrupt and a short
// reason when the line does not follow the format; `*record` is then unspecified.
[[nodiscard]] Status ParseProfileLine(std::string_view line, ProfileRecord* record);

// True when `line` (without a line end) is the beginning of a line that ParseProfileLine
// accepts, cut off before that line's end: what an interrupted write leaves as the last
// line of a file. Garbage, and a line that is whole but wrong, are not.
[[nodiscard]] bool IsCutProfileLine(std::string_view line);

// The "#yyyy-mm-dd hh:mm:ss#" field, or "#yyyy-mm-dd#" at midnight, appended to `*out`.
void AppendProfileTime(const platform::LocalDateTime& time, std::string* out);

// Escaping of folder and name fields, exposed for tests and tools.
void AppendEscapedField(std::string_view text, std::string* out);
[[nodiscard]] std::string UnescapeField(std::string_view field);

}  // namespace engine
