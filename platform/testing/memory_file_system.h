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
#include <string_view>
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

  // Faults: failListing, failFileListing, and per entry vanishOnStat and failStat (ListWhat::kFiles
  // looks at files, kFolders at folders, kFilesAndFolders at both; an entry of a kind not asked for
  // is skipped unexamined). Counted by listings().
  [[nodiscard]] base::Status listFolder(const std::string& folder, ListWhat what,
                                        FolderListing* out) override;
  // A tree's listings are listings as above (counted, with the same faults); a folder's id
  // is its drive and a number that stays with it through renames. Faults also:
  // replaceFolderBeforeOpening.
  [[nodiscard]] base::Result<std::unique_ptr<FolderTree>> openTree(
      const std::string& root) override;
  [[nodiscard]] base::Result<FileId> folderId(const std::string& path) override;
  [[nodiscard]] bool isOrdinaryFile(const std::string& path) override;
  [[nodiscard]] bool isFolder(const std::string& path) override;
  [[nodiscard]] bool exists(const std::string& path) override;
  // Faults: failStat.
  [[nodiscard]] base::Result<UnixSeconds> modificationTime(const std::string& path) override;

  // Reading gives the file's contents as they were when it was opened; a folder is
  // refused. Faults: failOpen.
  [[nodiscard]] base::Result<std::unique_ptr<SequentialFile>> openForReading(
      const std::string& path) override;
  // The temporary is a file of the tree, named by TemporaryName with kProcessId, until
  // commit() or abandon(). Writes are not buffered: every append reaches the temporary at
  // once and stamps it with the clock. Faults: failOpen on the target, failWritesAfter on
  // the target (an append that fails also fails close() and commit()), failSync and
  // failRename on the target (commit() fails), and the write steps below.
  [[nodiscard]] base::Result<std::unique_ptr<ReplacementFile>> openForReplacing(
      const std::string& path, Durability durability = Durability::kSynced) override;

  // Files and folders (a folder takes its whole tree along). Faults: failRename on
  // either path.
  [[nodiscard]] base::Status rename(const std::string& from, const std::string& to) override;
  [[nodiscard]] base::Status remove(const std::string& path) override;
  [[nodiscard]] base::Status createFolders(const std::string& path) override;
  // Removes the temporaries that no live ReplacementFile of this object owns.
  void removeStaleTemporaries(const std::string& folder) override;
  // Creates the folder as createFolders does (there are no links here). Faults: failOpen on
  // the folder's path.
  [[nodiscard]] base::Result<std::unique_ptr<GuardedFolder>> openGuardedFolder(
      const std::string& programFolder, std::string_view name) override;
  // The folder's path as given, ending in a backslash.
  [[nodiscard]] base::Result<std::string> realFolderPath(const std::string& folder) override;
  // Locks of this object nest; holdLockElsewhere stands for another process.
  [[nodiscard]] base::Result<std::unique_ptr<FileLock>> tryLockFile(
      const std::string& path, std::string_view holder, std::string* currentHolder) override;
  // `driveRoot` & "RECYCLED\", whether or not it exists.
  [[nodiscard]] std::vector<std::string> recycleBinFolders(const std::string& driveRoot) override;
  [[nodiscard]] std::vector<std::string> trashFolders(const std::string& driveRoot) override;
  // In memory, as the default. Faults: denyScratch, failScratchAfter.
  [[nodiscard]] std::unique_ptr<ScratchFile> openScratch() override;

  // The process id in the names of this file system's temporaries.
  static constexpr std::uint64_t kProcessId = 4242;

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

  // The contents of a file, or nothing when `path` is not a file.
  [[nodiscard]] std::optional<std::string> contents(const std::string& path) const;
  // The names in a folder in creation order (empty when it is not a folder).
  [[nodiscard]] std::vector<std::string> namesIn(const std::string& folder) const;
  // How many times `folder` was listed, successfully or not.
  [[nodiscard]] int listings(const std::string& folder) const;

  // --- Faults ---

  // Listing `folder` fails with `status`.
  void failListing(const std::string& folder, base::Status status);
  // Listing the files of `folder` (kFiles, kFilesAndFolders) fails with `status`; its
  // sub-folders alone can be listed.
  void failFileListing(const std::string& folder, base::Status status);
  // The folder at `path` is replaced by another one (with the same contents) after the
  // listing of its parent, just before a tree opens it: what the tree finds there is not
  // what the parent's listing saw.
  void replaceFolderBeforeOpening(const std::string& path);
  // The entry is listed but is gone when it is examined: it is left out of the listing
  // without a problem, and removed from the tree.
  void vanishOnStat(const std::string& path);
  // Examining the entry fails with `status`: a listing reports it as a problem and leaves
  // it out; modificationTime returns it.
  void failStat(const std::string& path, base::Status status);
  // The file at `path` cannot grow beyond `byteCount` bytes: the append that would pass
  // it writes up to the limit and fails with ioError "disk full".
  void failWritesAfter(const std::string& path, std::uint64_t byteCount);
  // Forcing a replacement of `path` to the disk fails as a failing disk does (EIO, "PATH:
  // Input/output error"): its commit() fails and the target stays as it was. Replacements
  // of Durability::kWorkFile are not forced to the disk and do not fail.
  void failSync(const std::string& path);
  // A rename from or to `path` fails with ioError.
  void failRename(const std::string& path);
  // Opening `path` for reading or replacing fails with `status`.
  void failOpen(const std::string& path, base::Status status);
  // There is no scratch space: openScratch gives null.
  void denyScratch();
  // Scratch space fails with ioError once it would hold more than `byteCount` bytes.
  void failScratchAfter(std::uint64_t byteCount);
  // Another process holds the lock of `path`, and `holder` is what its file says.
  void holdLockElsewhere(const std::string& path, std::string holder);
  void clearFaults();

  // --- Write steps ---
  // Every step that changes the tree counts: starting a replacement, each append, closing
  // (syncing) it, committing it (the rename), rename, createFolders and taking a lock.
  // Removing a file never fails and does not count.

  // The number of write steps so far.
  [[nodiscard]] std::uint64_t writeSteps() const;
  // The step that is `stepsFromNow` steps on (1: the next one) fails with ioError; later
  // steps succeed again.
  void failWriteStep(std::uint64_t stepsFromNow);

 private:
  struct FileData;
  struct Node;
  class Replacement;
  class Reader;
  class Lock;
  class Tree;

  // createFolders without counting a write step, for the helpers that build trees.
  base::Status createFoldersQuietly(const std::string& path);

  // All below REQUIRE m_mutex held.
  base::Status listLocked(const std::string& folder, ListWhat what, FolderListing* out,
                          bool opening, FileId expected);
  Node* find(const std::string& key);
  const Node* find(const std::string& key) const;
  base::Result<std::string> parentFolderKey(const std::string& path, const std::string& key);
  Node& insert(const std::string& key, std::string name, bool folder);
  void erase(const std::string& key);
  base::Status renameLocked(const std::string& from, const std::string& to);
  // Counts a write step; the injected failure of this step, if it is the one.
  base::Status writeStep(const std::string& what);
  std::string mustBeKey(const std::string& path) const;

  mutable std::mutex m_mutex;
  UnixSeconds m_now = 0;
  // Keyed by the folded path without a trailing backslash ("c:", "c:\data").
  std::unordered_map<std::string, std::unique_ptr<Node>> m_nodes;

  std::map<std::string, base::Status> m_failListing;
  std::map<std::string, base::Status> m_failFileListing;
  std::set<std::string> m_replaceBeforeOpening;
  std::uint64_t m_lastSerial = 0;
  std::map<std::string, int> m_listings;  // keys
  bool m_denyScratch = false;
  std::optional<std::uint64_t> m_scratchLimit;
  std::set<std::string> m_vanishOnStat;
  std::map<std::string, base::Status> m_failStat;
  std::map<std::string, std::uint64_t> m_writeLimits;
  std::set<std::string> m_failSync;  // keys
  std::set<std::string> m_failRename;
  std::map<std::string, base::Status> m_failOpen;
  std::uint64_t m_writeSteps = 0;
  std::uint64_t m_failingStep = 0;  // 0: none
  std::uint64_t m_temporaryCounter = 0;
  std::set<std::string> m_liveTemporaries;          // keys
  std::map<std::string, int> m_heldLocks;           // keys, nesting count
  std::map<std::string, std::string> m_otherLocks;  // keys, holder
};

}  // namespace platform
