// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Streaming writer of a profile file: records are batched into large writes.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "engine/profile_record.h"
#include "engine/status.h"
#include "platform/file_system.h"

namespace engine {

class ProfileWriter {
 public:
  explicit ProfileWriter(std::unique_ptr<platform::WritableFile> file);
  ProfileWriter(const ProfileWriter&) = delete;
  ProfileWriter& operator=(const ProfileWriter&) = delete;

  // Creates or truncates `path` on `fs`.
  [[nodiscard]] static Result<std::unique_ptr<ProfileWriter>> Create(platform::FileSystem& fs,
                                                                     const std::string& path);

  // Appends one record. The first failure is sticky and returned by every later call.
  [[nodiscard]] Status add(const ProfileRecord& record);
  // Writes what is buffered and closes the file. Must be called for the file to be complete.
  [[nodiscard]] Status finish();

  [[nodiscard]] std::int64_t recordCount() const { return m_count; }

 private:
  Status flush();

  std::unique_ptr<platform::WritableFile> m_file;
  std::string m_buffer;
  std::string m_folder;  // the folder of the last record, and its escaped form
  std::string m_escapedFolder;
  std::int64_t m_count = 0;
  Status m_status;
};

}  // namespace engine
