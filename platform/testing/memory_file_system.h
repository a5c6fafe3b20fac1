// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// An in-memory file system with Windows-style paths ("C:\Data\"), hidden and system
// attributes, a settable clock and injectable faults, so engine tests run without a disk.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/file_system.h"

namespace platform {

// Paths start with a drive letter, a colon and a backslash; names compare without regard
// to ASCII letter case and keep the case they were created with. Listings come in the
// order the entries were created, never sorted. All operations are thread-safe; open
// files must be destroyed before the file system.
//
// The helpers that build trees and inject faults take paths the same way; folder paths
// may end in a backslash or not. A helper given a path that cannot be built (no drive,
// a file where a folder is needed) aborts the test program: it is a mistake in the test.
class MemoryFileSystem final : public FileSystem {
 public:
  MemoryFileSystem();
  ~MemoryFileSystem() override;

  [[nodiscard]] PathStyle pathStyle() const override { return PathStyle::windows(); }

  // Faults: failListing, and per entry vanishOnStat and failStat (ListWhat::kFiles looks
  // at files, kFolders at folders; an entry of the other kind is skipped unexamined).
  [[nodiscard]] Status listFolder(const std::string& folder, ListWhat what,
                                  FolderListing* out) override;
  [[nodiscard]] bool isOrdinaryFile(const std::string& path) override;
  [[nodiscard]] bool isFolder(const std::string& path) override;
  // Faults: failStat.
  [[nodiscard]] Result<UnixSeconds> modificationTime(const std::string& path) override;

  // Reading gives the file's contents as they were when it was opened. Faults: failOpen.
  [[nodiscard]] Result<std::unique_ptr<SequentialFile>> openForReading(
      const std::string& path) override;
  // Writes are not buffered: every append reaches the file at once and stamps it with the
  // clock. The file stays the same file when it is renamed or removed while open, as on
  // POSIX. Faults: failOpen, failWritesAfter (an append that fails also fails close()).
  [[nodiscard]] Result<std::unique_ptr<WritableFile>> openForWriting(
      const std::string& path) override;
  [[nodiscard]] Result<std::unique_ptr<WritableFile>> openForAppending(
      const std::string& path) override;
  // Faults: failOpen, failWritesAfter (nothing is written when the range would pass it).
  [[nodiscard]] Status writeAt(const std::string& path, std::uint64_t offset,
                               std::string_view data) override;

  // Files and folders (a folder takes its whole tree along). Faults: failRename on
  // either path.
  [[nodiscard]] Status rename(const std::string& from, const std::string& to) override;
  // The copy is stamped with the clock. Faults: failOpen on either path, failRename on
  // `to`, failWritesAfter on `to`; a failed copy leaves `to` as it was.
  [[nodiscard]] Status copyFile(const std::string& from, const std::string& to) override;
  [[nodiscard]] Status remove(const std::string& path) override;
  [[nodiscard]] Status createFolders(const std::string& path) override;
  // `driveRoot` & "RECYCLED\", whether or not it exists.
  [[nodiscard]] std::vector<std::string> recycleBinFolders(const std::string& driveRoot) override;

  // --- Building trees ---

  // Adds or replaces a file of `size` bytes; missing parent folders are created. Reading
  // it gives `contents`, which may be shorter than `size` (big synthetic files).
  // REQUIRES: contents.size() <= size.
  void addFile(const std::string& path, std::int64_t size, UnixSeconds modified,
               std::string contents = "");
  // A file whose size is that of its contents, stamped with the clock.
  void addTextFile(const std::string& path, std::string contents);
  // Adds a folder and its missing parents; an existing folder is fine.
  void addFolder(const std::string& path);
  // REQUIRES: the entry exists.
  void setHidden(const std::string& path, bool hidden = true);
  void setSystem(const std::string& path, bool system = true);
  // The time given to files when they are written. Starts at 0.
  void setNow(UnixSeconds now);

  // --- Looking at the tree, past every fault ---

  [[nodiscard]] bool exists(const std::string& path) const;
  // The contents of a file, or nothing when `path` is not a file.
  [[nodiscard]] std::optional<std::string> contents(const std::string& path) const;
  // The names in a folder in creation order (empty when it is not a folder).
  [[nodiscard]] std::vector<std::string> namesIn(const std::string& folder) const;

  // --- Faults ---

  // Listing `folder` fails with `status`.
  void failListing(const std::string& folder, Status status);
  // The entry is listed but is gone when it is examined: it is left out of the listing
  // without a problem, and removed from the tree.
  void vanishOnStat(const std::string& path);
  // Examining the entry fails with `status`: a listing reports it as a problem and leaves
  // it out; modificationTime returns it.
  void failStat(const std::string& path, Status status);
  // The file at `path` cannot grow beyond `byteCount` bytes: the append that would pass
  // it writes up to the limit and fails with ioError "disk full".
  void failWritesAfter(const std::string& path, std::uint64_t byteCount);
  // A rename from or to `path` fails with ioError.
  void failRename(const std::string& path);
  // Opening `path` for reading or writing fails with `status`.
  void failOpen(const std::string& path, Status status);
  void clearFaults();

 private:
  struct FileData;
  struct Node;
  class File;
  class Reader;

  // All below REQUIRE m_mutex held.
  Node* find(const std::string& key);
  const Node* find(const std::string& key) const;
  Result<std::string> parentFolderKey(const std::string& path, const std::string& key);
  Node& insert(const std::string& key, std::string name, bool folder);
  void erase(const std::string& key);
  Result<std::unique_ptr<WritableFile>> openWritable(const std::string& path, bool truncate);
  std::string mustBeKey(const std::string& path) const;

  mutable std::mutex m_mutex;
  UnixSeconds m_now = 0;
  // Keyed by the folded path without a trailing backslash ("c:", "c:\data").
  std::unordered_map<std::string, std::unique_ptr<Node>> m_nodes;

  std::map<std::string, Status> m_failListing;
  std::set<std::string> m_vanishOnStat;
  std::map<std::string, Status> m_failStat;
  std::map<std::string, std::uint64_t> m_writeLimits;
  std::set<std::string> m_failRename;
  std::map<std::string, Status> m_failOpen;
};

}  // namespace platform
