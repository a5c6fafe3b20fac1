// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The changes of a comparison as JSON Lines, one object per change and a totals object per
// drive, for scripts (docs/json_changes.md).
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "engine/change_listener.h"
#include "platform/date_time.h"
#include "platform/file_system.h"

namespace cli {

// Holds a drive's lines until the drive is complete: in memory, and beyond a few MiB in an
// unnamed temporary file, so a drive with millions of changes stays flat in memory.
class Spool {
 public:
  Spool() = default;
  Spool(const Spool&) = delete;
  Spool& operator=(const Spool&) = delete;
  ~Spool();

  [[nodiscard]] base::Status append(std::string_view bytes);
  // Appends everything held to `out`, in order, and forgets it.
  [[nodiscard]] base::Status moveTo(platform::WritableFile* out);
  void clear();

  // Bytes held in memory before they go to the temporary file; tests make it small.
  std::size_t memoryLimit = std::size_t{4} << 20;

 private:
  std::string m_memory;
  std::FILE* m_file = nullptr;
};

// Writes each change a comparison reports as one JSON object on a line of its own, and
// after each drive's changes its totals. A drive's lines reach `out` only once the drive is
// complete (driveFinished): a comparison that fails or is cancelled leaves nothing of its
// drive behind. Texts are UTF-8; a folder or name that is not valid UTF-8 is written with
// U+FFFD for each bad sequence and its exact bytes in base64 beside it.
class JsonChangeWriter final : public engine::ChangeListener {
 public:
  // Seconds east of UTC at a local time of the process's time zone.
  using UtcOffset = std::function<int(const platform::LocalDateTime&)>;

  // `out` must remain live while this object is used; it is not closed here.
  explicit JsonChangeWriter(platform::WritableFile* out, UtcOffset offset = {});

  [[nodiscard]] base::Status driveStarted(std::string_view driveDisplayText) override;
  [[nodiscard]] base::Status added(const engine::RecordView& newRecord) override;
  [[nodiscard]] base::Status deleted(const engine::RecordView& oldRecord) override;
  [[nodiscard]] base::Status sizeChanged(const engine::RecordView& oldRecord,
                                         const engine::RecordView& newRecord) override;
  [[nodiscard]] base::Status timeChanged(const engine::RecordView& oldRecord,
                                         const engine::RecordView& newRecord) override;
  [[nodiscard]] base::Status driveFinished(std::int64_t addedBytes, std::int64_t deletedBytes,
                                           std::int64_t changedBytes) override;

  // Exposed for tests.
  Spool& spool() { return m_spool; }

 private:
  // `{"drive":"k","kind":KIND,"folder":...,"name":...` of a change line.
  void startChange(const char* kind, const engine::RecordView& record);
  // The line of a file that is on one side only: its size and time.
  base::Status fileLine(const char* kind, const engine::RecordView& record);
  std::string isoTime(const platform::LocalDateTime& time);

  platform::WritableFile* m_out;
  UtcOffset m_offset;
  // Offsets by quarter hour of local time: a time-zone change between runs can make every
  // file a time change, and the C library's look-up is slow beside the rest of a line.
  std::unordered_map<std::int64_t, int> m_offsets;
  Spool m_spool;
  std::string m_drive;  // the drive's letter in lower case, as a JSON string
  std::string m_line;
  std::int64_t m_added = 0;
  std::int64_t m_deleted = 0;
  std::int64_t m_grew = 0;
  std::int64_t m_shrunk = 0;
  std::int64_t m_time = 0;
};

// `text` as a JSON string, quotes included. Valid UTF-8 passes through, with the quote, the
// backslash and control characters escaped, and U+0085, U+2028 and U+2029 as \u escapes too,
// so that no reader splitting at Unicode line ends cuts a line; each ill-formed sequence (the
// longest start of a well-formed one, or a single byte) becomes U+FFFD. Sets `*valid` to
// whether `text` was valid UTF-8.
[[nodiscard]] std::string JsonString(std::string_view text, bool* valid);

// Standard base64 with padding.
[[nodiscard]] std::string Base64(std::string_view bytes);

// The UTC offset the process's time zone has at the local time `when`, in seconds east.
// The hour repeated when clocks go back takes the offset the C library picks for it.
[[nodiscard]] int LocalUtcOffset(const platform::LocalDateTime& when);

// "2026-03-01T14:03:22+01:00".
[[nodiscard]] std::string IsoTime(const platform::LocalDateTime& when, int offsetSeconds);

}  // namespace cli
