// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/profile_writer.h"

namespace engine {
namespace {

// Large writes: a 100 MB profile takes a hundred of them.
constexpr std::size_t kFlushAt = 1024 * 1024;

}  // namespace

ProfileWriter::ProfileWriter(platform::WritableFile* file) : m_file(file) {
  m_buffer.reserve(2 * kFlushAt);
}

base::Status ProfileWriter::add(const ProfileRecord& record) {
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

base::Status ProfileWriter::addLines(std::string_view lines, std::int64_t recordCount) {
  if (!m_status.isOk()) return m_status;
  m_count += recordCount;
  if (lines.size() >= kFlushAt) {
    // A batch as large as the buffer goes out as it is, after what the buffer holds.
    if (!m_buffer.empty()) m_status = flush();
    if (m_status.isOk()) m_status = m_file->append(lines);
    return m_status;
  }
  m_buffer.append(lines);
  if (m_buffer.size() >= kFlushAt) m_status = flush();
  return m_status;
}

base::Status ProfileWriter::flush() {
  base::Status s = m_file->append(m_buffer);
  m_buffer.clear();
  return s;
}

base::Status ProfileWriter::finish() {
  if (m_status.isOk() && !m_buffer.empty()) m_status = flush();
  base::Status closed = m_file->close();
  if (m_status.isOk()) m_status = closed;
  return m_status;
}

}  // namespace engine
