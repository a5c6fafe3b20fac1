// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Streaming reader of a profile file: one record at a time, memory independent of the
// file's size.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "engine/profile_record.h"
#include "engine/status.h"
#include "platform/file_system.h"

namespace engine {

// No line of a profile comes near this: a name is at most 255 bytes, a path a few KiB, and
// escapes triple them. A file of other bytes (all zeros, say) is refused at this length.
inline constexpr std::size_t kMaxProfileLine = 64 * 1024;

class ProfileReader {
 public:
  // Reads from `file`; `path` names the file in messages.
  ProfileReader(std::unique_ptr<platform::SequentialFile> file, std::string path);
  ProfileReader(const ProfileReader&) = delete;
  ProfileReader& operator=(const ProfileReader&) = delete;

  // Opens `path` on `fs`.
  [[nodiscard]] static Result<std::unique_ptr<ProfileReader>> Open(platform::FileSystem& fs,
                                                                   const std::string& path);

  // Reads the next record into `*record` and returns true; returns false at the end of the
  // file or on a failure, which status() then tells. A last line without a line end that
  // is a record, or a record cut short (IsCutProfileLine: an interrupted write), is read as
  // such, or as the end of the file; any other malformed line, and a line longer than
  // kMaxProfileLine bytes, is corrupt, naming the file and the line number. Memory stays
  // bounded by the line limit whatever the file holds.
  [[nodiscard]] bool next(ProfileRecord* record);

  // OK while and after reading without failure. Sticky: the first failure stays.
  [[nodiscard]] const Status& status() const { return m_status; }
  // Number of the line last read (1-based).
  [[nodiscard]] std::int64_t lineNumber() const { return m_lineNumber; }

 private:
  // Makes sure the buffer holds a whole line from m_pos, or everything up to the end.
  bool fill();

  std::unique_ptr<platform::SequentialFile> m_file;
  std::string m_path;
  std::string m_buffer;
  std::size_t m_pos = 0;
  bool m_eof = false;
  std::int64_t m_lineNumber = 0;
  Status m_status;
};

}  // namespace engine
