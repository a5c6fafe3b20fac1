// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/profile_reader.h"

#include <cstring>
#include <string_view>

namespace engine {
namespace {

constexpr std::size_t kChunk = 256 * 1024;

}  // namespace

ProfileReader::ProfileReader(std::unique_ptr<platform::SequentialFile> file, std::string path)
    : m_file(std::move(file)), m_path(std::move(path)) {}

Result<std::unique_ptr<ProfileReader>> ProfileReader::Open(platform::FileSystem& fs,
                                                           const std::string& path) {
  auto file = fs.openForReading(path);
  if (!file.isOk()) return file.status();
  return std::make_unique<ProfileReader>(std::move(file).value(), path);
}

bool ProfileReader::fill() {
  // Drop what was consumed, then read until a line end is in the buffer, the file ends, or
  // the buffer holds more than a line may.
  if (m_pos > 0) {
    m_buffer.erase(0, m_pos);
    m_pos = 0;
  }
  std::size_t searchFrom = 0;
  while (!m_eof) {
    if (std::memchr(m_buffer.data() + searchFrom, '\n', m_buffer.size() - searchFrom) != nullptr) {
      return true;
    }
    if (m_buffer.size() > kMaxProfileLine + 1) return true;
    searchFrom = m_buffer.size();
    const std::size_t old = m_buffer.size();
    m_buffer.resize(old + kChunk);
    std::size_t got = 0;
    Status s = m_file->read(kChunk, m_buffer.data() + old, &got);
    m_buffer.resize(old + got);
    if (!s.isOk()) {
      m_status = s;
      return false;
    }
    if (got == 0) m_eof = true;
  }
  return true;
}

bool ProfileReader::next(ProfileRecord* record) {
  if (!m_status.isOk() || !m_file) return false;
  for (;;) {
    const char* data = m_buffer.data() + m_pos;
    std::size_t avail = m_buffer.size() - m_pos;
    const void* nl = std::memchr(data, '\n', avail);
    if (nl == nullptr) {
      if (!fill()) return false;
      data = m_buffer.data() + m_pos;
      avail = m_buffer.size() - m_pos;
      nl = std::memchr(data, '\n', avail);
    }
    std::string_view line;
    bool lastLine = false;
    if (nl != nullptr) {
      const auto len = static_cast<std::size_t>(static_cast<const char*>(nl) - data);
      line = std::string_view(data, len);
      m_pos += len + 1;
    } else {
      if (avail == 0) return false;  // the end of the file
      line = std::string_view(data, avail);
      m_pos += avail;
      lastLine = true;
    }
    ++m_lineNumber;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.size() > kMaxProfileLine) {
      m_status =
          Status::corrupt(m_path + ", line " + std::to_string(m_lineNumber) + ": longer than " +
                          std::to_string(kMaxProfileLine) + " bytes, not a profile line");
      return false;
    }
    if (line.empty()) {
      // A file may end with an empty line; an empty line elsewhere is not a record either.
      continue;
    }
    Status s = ParseProfileLine(line, record);
    if (s.isOk()) return true;
    if (lastLine && IsCutProfileLine(line)) return false;  // an interrupted write
    m_status =
        Status::corrupt(m_path + ", line " + std::to_string(m_lineNumber) + ": " + s.message());
    return false;
  }
}

}  // namespace engine
