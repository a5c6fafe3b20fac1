// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Streaming writer of a profile file: records are batched into large writes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/status.h"
#include "engine/profile_record.h"
#include "platform/file_system.h"

namespace engine {

class ProfileWriter {
 public:
  // Writes to `file`, which must remain live while this object is used (a replacement of
  // the stored profile, whose owner commits it once it is wanted).
  explicit ProfileWriter(platform::WritableFile* file);
  ProfileWriter(const ProfileWriter&) = delete;
  ProfileWriter& operator=(const ProfileWriter&) = delete;

  // Appends one record. The first failure is sticky and returned by every later call.
  [[nodiscard]] base::Status add(const ProfileRecord& record);
  // Appends `recordCount` records already written as profile lines (WriteProfileLine), for
  // writers that make the lines elsewhere. Failures as add.
  [[nodiscard]] base::Status addLines(std::string_view lines, std::int64_t recordCount);
  // Writes what is buffered and closes the file (for a replacement: syncs it, without
  // committing). Must be called for the file to be complete.
  [[nodiscard]] base::Status finish();

  [[nodiscard]] std::int64_t recordCount() const { return m_count; }

 private:
  base::Status flush();

  platform::WritableFile* m_file;
  std::string m_buffer;
  std::string m_folder;  // the folder of the last record, and its escaped form
  std::string m_escapedFolder;
  std::int64_t m_count = 0;
  base::Status m_status;
};

}  // namespace engine
