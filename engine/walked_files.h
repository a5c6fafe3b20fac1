// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The files the folder walk met, kept until the files are profiled so that no folder has
// to be read twice: on a drive of a million files, reading the folders again costs about a
// quarter of the whole scan. They are kept in scratch space (FileSystem::openScratch), not
// in memory, so the scan's memory does not grow with the drive. Whatever could not be kept
// (no scratch space, a full disk, a folder the walk could not read) is simply listed again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace engine {

class WalkedFiles {
 public:
  explicit WalkedFiles(platform::FileSystem& fs);
  WalkedFiles(const WalkedFiles&) = delete;
  WalkedFiles& operator=(const WalkedFiles&) = delete;
  ~WalkedFiles();

  // For the walk, on one thread. False when nothing can be kept: the walk then need not
  // read any folder's files.
  [[nodiscard]] bool keeping() const;
  // Keeps the files of `listing` (entries of kind kFile, with their sizes, times and
  // flags) as those of the walk's folder `walkIndex`, the walk's numbering of its folders.
  // Folders never kept are listed again by whoever reads them.
  void keep(std::size_t walkIndex, const platform::FolderListing& listing);
  // Once the walk is done: `walkIndexOf[k]` is the walk's number of the folder that is now
  // folder k, or kNotWalked for a folder the walk did not list. Writes out what is still
  // buffered; from here on only read() is called.
  static constexpr std::size_t kNotWalked = static_cast<std::size_t>(-1);
  void finish(const std::vector<std::size_t>& walkIndexOf);

  // After finish(), from any thread: puts the kept files of folder `index` into
  // `*listing` and returns true, or returns false when they were not kept.
  [[nodiscard]] bool read(std::size_t index, platform::FolderListing* listing) const;

 private:
  struct Extent {
    std::uint64_t offset = 0;
    std::uint64_t bytes = 0;
    bool kept = false;
  };

  void flush();

  std::unique_ptr<platform::ScratchFile> m_scratch;
  bool m_failed = false;
  std::uint64_t m_written = 0;  // bytes appended to m_scratch
  std::string m_pending;        // bytes kept but not yet appended
  std::vector<Extent> m_extents;
};

}  // namespace engine
