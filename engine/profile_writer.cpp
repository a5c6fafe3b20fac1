// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/profile_writer.h"

namespace engine {
namespace {

constexpr std::size_t kFlushAt = 256 * 1024;

}  // namespace

ProfileWriter::ProfileWriter(platform::WritableFile* file) : m_file(file) {
  m_buffer.reserve(kFlushAt + 4096);
}

Status ProfileWriter::add(const ProfileRecord& record) {
  if (!m_status.isOk()) return m_status;
  if (m_count == 0 || record.folder != m_folder) {
    m_folder = record.folder;
    m_escapedFolder.clear();
    AppendEscapedField(m_folder, &m_escapedFolder);
  }
  AppendProfileLine(record, m_escapedFolder, &m_buffer);
  ++m_count;
  if (m_buffer.size() >= kFlushAt) m_status = flush();
  return m_status;
}

Status ProfileWriter::flush() {
  Status s = m_file->append(m_buffer);
  m_buffer.clear();
  return s;
}

Status ProfileWriter::finish() {
  if (m_status.isOk() && !m_buffer.empty()) m_status = flush();
  Status closed = m_file->close();
  if (m_status.isOk()) m_status = closed;
  return m_status;
}

}  // namespace engine
