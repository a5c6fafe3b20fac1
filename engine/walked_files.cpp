// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/walked_files.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace engine {
namespace {

// Bytes gathered before they go to the scratch file in one write.
constexpr std::size_t kBlock = 1024 * 1024;
// Bytes read back from it at a time.
constexpr std::size_t kReadBlock = 64 * 1024;

// A kept file: its size (8 bytes), time (8), name length (4), hidden and system flags (1
// each), then the name's bytes.
constexpr std::size_t kHeadSize = 8 + 8 + 4 + 1 + 1;

void Put(std::string* out, const platform::DirEntry& file) {
  char head[kHeadSize];
  const std::int64_t modified = file.modified;
  const auto length = static_cast<std::uint32_t>(file.name.size());
  std::memcpy(head, &file.size, 8);
  std::memcpy(head + 8, &modified, 8);
  std::memcpy(head + 16, &length, 4);
  head[20] = file.hidden ? 1 : 0;
  head[21] = file.system ? 1 : 0;
  out->append(head, kHeadSize);
  out->append(file.name);
}

}  // namespace

WalkedFiles::WalkedFiles(platform::FileSystem& fs) : m_scratch(fs.openScratch()) {}

WalkedFiles::~WalkedFiles() = default;

bool WalkedFiles::keeping() const { return m_scratch != nullptr && !m_failed; }

void WalkedFiles::keep(std::size_t walkIndex, const platform::FolderListing& listing) {
  if (!keeping()) return;
  if (m_extents.size() <= walkIndex) m_extents.resize(walkIndex + 1);
  Extent& extent = m_extents[walkIndex];
  extent.offset = m_written + m_pending.size();
  for (const platform::DirEntry& entry : listing.entries) {
    if (entry.kind != platform::EntryKind::kFile) continue;
    Put(&m_pending, entry);
    if (m_pending.size() >= kBlock) flush();
    if (!keeping()) return;
  }
  extent.bytes = m_written + m_pending.size() - extent.offset;
  extent.kept = true;
}

void WalkedFiles::flush() {
  if (keeping() && !m_pending.empty() && !m_scratch->append(m_pending).isOk()) {
    // Nothing kept can be trusted now; every folder is listed again instead.
    m_failed = true;
  }
  m_written += m_pending.size();
  m_pending.clear();
}

void WalkedFiles::finish(const std::vector<std::size_t>& walkIndexOf) {
  flush();
  m_pending.shrink_to_fit();
  std::vector<Extent> arranged(walkIndexOf.size());
  for (std::size_t k = 0; k < walkIndexOf.size(); ++k) {
    const std::size_t walked = walkIndexOf[k];
    if (walked < m_extents.size()) arranged[k] = m_extents[walked];
  }
  m_extents = std::move(arranged);
}

bool WalkedFiles::read(std::size_t index, platform::FolderListing* listing) const {
  listing->entries.clear();
  listing->problems.clear();
  if (!keeping() || index >= m_extents.size() || !m_extents[index].kept) return false;
  const Extent& extent = m_extents[index];
  // Read a block at a time: a folder of millions of files must not need its whole extent
  // in memory beside its listing.
  thread_local std::string bytes;
  std::uint64_t at = extent.offset;
  const std::uint64_t end = extent.offset + extent.bytes;
  std::size_t held = 0;  // bytes at the start of `bytes` not yet decoded
  while (at < end) {
    const auto more = static_cast<std::size_t>(std::min<std::uint64_t>(end - at, kReadBlock));
    bytes.resize(held + more);
    if (!m_scratch->readAt(at, more, bytes.data() + held).isOk()) return false;
    at += more;
    held += more;
    std::size_t used = 0;
    while (held - used >= kHeadSize) {
      const char* head = bytes.data() + used;
      std::uint32_t nameLength = 0;
      std::memcpy(&nameLength, head + 16, 4);
      if (nameLength > held - used - kHeadSize) break;  // the rest comes with the next block
      platform::DirEntry& file = listing->entries.emplace_back();
      file.kind = platform::EntryKind::kFile;
      std::memcpy(&file.size, head, 8);
      std::int64_t modified = 0;
      std::memcpy(&modified, head + 8, 8);
      file.modified = static_cast<platform::UnixSeconds>(modified);
      file.hidden = head[20] != 0;
      file.system = head[21] != 0;
      file.name.assign(head + kHeadSize, nameLength);
      used += kHeadSize + nameLength;
    }
    bytes.erase(0, used);
    held -= used;
  }
  if (held != 0) {
    // The extent ends inside a file: what was kept cannot be trusted.
    listing->entries.clear();
    return false;
  }
  return true;
}

}  // namespace engine
