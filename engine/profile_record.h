// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// One line of a profile: a file's size, modification time, folder and name, and the text
// form of that line (docs/profile_format.md).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/status.h"
#include "engine/text_buffer.h"
#include "platform/date_time.h"

namespace engine {

struct ProfileRecord {
  std::int64_t size = 0;
  platform::LocalDateTime time;
  std::string folder;  // absolute, ends in the separator; raw bytes (not escaped)
  std::string name;    // raw bytes (not escaped)
};

// A record whose folder and name lie in text that others own: what the scan and the profile
// readers hand to the comparison without copying. Views stay valid as their owner says.
struct RecordView {
  std::string_view folder;  // raw bytes (not escaped)
  std::string_view name;
  std::int64_t size = 0;
  platform::LocalDateTime time;
};

// Appends the line of `record`, CR LF included, to `*out`. Bytes that would break the line
// or cannot occur in a Windows name are escaped as '|' and two hex digits.
void AppendProfileLine(const ProfileRecord& record, std::string* out);
// The same, with the folder field already escaped (AppendEscapedField of record.folder):
// writers of many records per folder escape each folder once.
void AppendProfileLine(const ProfileRecord& record, std::string_view escapedFolder,
                       std::string* out);

// The most bytes WriteProfileLine writes for a folder field of `escapedFolderSize` bytes
// (already escaped) and a name of `nameSize` bytes (not yet escaped).
[[nodiscard]] constexpr std::size_t MaxProfileLineSize(std::size_t escapedFolderSize,
                                                       std::size_t nameSize) {
  // Size (20), the time (28 with an 11-digit year), the quotes, commas and CR LF (9).
  return 57 + escapedFolderSize + 3 * nameSize;
}
// Writes the line AppendProfileLine appends, at `out`, and returns its end. `out` must have
// room for MaxProfileLineSize bytes. For writers of many lines into one large buffer.
char* WriteProfileLine(char* out, std::int64_t size, const platform::LocalDateTime& time,
                       std::string_view escapedFolder, std::string_view name);

// Parses one line (without its line end) into `*record`. Fails with corrupt and a short
// reason when the line does not follow the format; `*record` is then unspecified.
[[nodiscard]] base::Status ParseProfileLine(std::string_view line, ProfileRecord* record);

// The same, into views: the folder and name of `*record` point into `line`, or, when the
// field holds escapes, into `*unescaped`, where the unescaped field is appended. Room for
// line.size() more bytes must be reserved in `*unescaped` beforehand (views of earlier
// lines stay valid). `*previousFolder` holds the raw folder field of the line before and
// its view, or nothing: a line in the same folder then takes that view without reading its
// field again, and it is updated for the next line.
struct FolderField {
  std::string_view raw;     // as the line holds it, escapes included
  std::string_view folder;  // unescaped
};
[[nodiscard]] base::Status ParseProfileLine(std::string_view line, RecordView* record,
                                            TextBuffer* unescaped, FolderField* previousFolder);

// The "#yyyy-mm-dd hh:mm:ss#" field, or "#yyyy-mm-dd#" at midnight, appended to `*out`.
void AppendProfileTime(const platform::LocalDateTime& time, std::string* out);

// Escaping of folder and name fields, exposed for tests and tools.
void AppendEscapedField(std::string_view text, std::string* out);
// The length of `text` once escaped as AppendEscapedField does it.
[[nodiscard]] std::size_t EscapedFieldSize(std::string_view text);
[[nodiscard]] std::string UnescapeField(std::string_view field);

}  // namespace engine
