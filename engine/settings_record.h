// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The user's persisted choices and the settings file (BV3.Def) that keeps them: one
// 33-byte record, the fields packed in their order, integers little-endian.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/status.h"

namespace platform {
class FileSystem;
}  // namespace platform

namespace engine {

inline constexpr std::string_view kSettingsFileName = "BV3.Def";
inline constexpr std::size_t kSettingsRecordSize = 33;

// Field names are those of the file. A record that was never stored is all zero.
struct SettingsRecord {
  std::uint8_t SoundOn = 0;            // 1 = sound cues wanted
  std::int64_t TopMargin = 0;          // inches x 10000 ("currency")
  std::int64_t LeftMargin = 0;         // inches x 10000
  std::array<char, 11> Reserved = {};  // not interpreted; written back as read
  char ReportFormat = 0;               // 'R' rich text, anything else plain text
  char ReportNaming = 0;               // 'D' drive only; anything else drive, date and time
  std::uint8_t PrintColor = 0;         // 1 = colour printing
  std::uint8_t OneReport = 0;          // 1 = one report for all drives of a run
  std::uint8_t IncludeRecycled = 0;    // 255 = recycle bins are scanned

  // ReportFormat is 'R' or 'r'. An unset field (NUL) means plain text.
  [[nodiscard]] bool isRichTextReports() const;
  // ReportNaming is not 'D' or 'd'. An unset field (NUL) means names by drive, date and
  // time, so a run never replaces an earlier report unless the user chose names by drive.
  [[nodiscard]] bool isTimeStampedNames() const;
  // Any nonzero IncludeRecycled counts as on; setIncludeRecycled stores 255 or 0.
  [[nodiscard]] bool includeRecycled() const { return IncludeRecycled != 0; }
  void setIncludeRecycled(bool on) { IncludeRecycled = on ? 255 : 0; }
  // The margins as printing and the printer settings dialog use them. That dialog never
  // stores a margin of 0 or less, so such a margin was never set (a new settings file):
  // it stands for kDefaultTopMargin or kDefaultLeftMargin, which keep the first print
  // off the paper's edge. Margins the user set are returned as they are.
  [[nodiscard]] std::int64_t effectiveTopMargin() const;
  [[nodiscard]] std::int64_t effectiveLeftMargin() const;

  friend bool operator==(const SettingsRecord&, const SettingsRecord&) = default;
};

// The margins of a record that never had them set: half an inch at the top, three quarters
// of an inch at the left (inches x 10000).
inline constexpr std::int64_t kDefaultTopMargin = 5000;
inline constexpr std::int64_t kDefaultLeftMargin = 7500;

// Margins: stored values are inches x 10000. InchesToStored rounds to the nearest stored
// unit and clamps to the int64 range (NaN gives 0); StoredToTwips gives the margin in
// twips (1440 per inch), rounded half away from zero.
[[nodiscard]] std::int64_t InchesToStored(double inches);
[[nodiscard]] double StoredToInches(std::int64_t stored);
[[nodiscard]] std::int64_t StoredToTwips(std::int64_t stored);

// The 33 bytes of `record`, field by field, integers little-endian.
[[nodiscard]] std::array<char, kSettingsRecordSize> EncodeSettings(const SettingsRecord& record);
// The record held by the first 33 bytes of `bytes`. Fields that `bytes` does not hold in
// full keep their zero defaults; bytes after the record are ignored.
[[nodiscard]] SettingsRecord DecodeSettings(std::string_view bytes);

// Reads the record at the start of the settings file `path` into `*record`; the start-up
// read. A missing file is created empty (under the program folder's run lock, so a file
// another process saves meanwhile is kept; when that lock stays busy the file is left to
// the next save) and gives the zero defaults; a file shorter than the record gives zero
// defaults for the fields it does not hold. On failure (the file cannot be created or
// read, or is not a regular file) `*record` keeps its values and the status names the path.
[[nodiscard]] base::Status LoadSettings(platform::FileSystem& fs, const std::string& path,
                                        SettingsRecord* record);

// Writes the 33 bytes of `record` at the start of `path`, creating the file when it is
// missing. Bytes after the record stay as they were. The file is replaced as a whole
// (FileSystem::openForReplacing), so it holds the old record or the new one, never a mix;
// the program folder's run lock (platform/run_lock.h) is held meanwhile, and a write
// that cannot get it within a short wait fails with busy.
[[nodiscard]] base::Status SaveOptions(platform::FileSystem& fs, const std::string& path,
                                       const SettingsRecord& record);

// Throws away unsaved edits: reads `path` again exactly as LoadSettings does, overwriting
// every field. A file shorter than the record (never saved) zeroes the fields it lacks,
// so the result is the same as at start-up, whatever was edited in memory.
[[nodiscard]] base::Status ResetOptions(platform::FileSystem& fs, const std::string& path,
                                        SettingsRecord* record);

}  // namespace engine
