// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The real file system on Linux and other POSIX systems: folder listings relative to the
// open folder (one fstatat per entry, links never followed), folder trees opened relative to
// their root (openat2 where the kernel has it), buffered streaming files, replacement
// through a locked temporary and a rename, and flock(2) locks.
#pragma once

#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace platform {

// Paths are absolute native paths; folders end in '/'. All operations are thread-safe: the
// object holds only the guarded folders that are open (the locks this process holds are
// counted process-wide). Guarded folders and open files must be destroyed before it.
class PosixFileSystem final : public FileSystem {
 public:
  PosixFileSystem() = default;

  [[nodiscard]] PathStyle pathStyle() const override { return PathStyle::posix(); }

  // Opens `folder` once and examines every entry relative to it. The folder itself is not
  // followed when it is a symbolic link (notAFolder). With ListWhat::kFolders a sub-folder
  // that lies on another device than `folder` (a mount point) is returned as kOther; with
  // ListWhat::kFiles only regular files and symbolic links are returned, each with its own
  // lstat size and time; ListWhat::kFilesAndFolders returns both. A read error in the middle of the
  // listing fails the whole listing, so callers never take a partial listing for a complete one.
  [[nodiscard]] base::Status listFolder(const std::string& folder, ListWhat what,
                                        FolderListing* out) override;

  // Folders below the root are opened with openat2(2) and RESOLVE_NO_SYMLINKS relative to
  // the root's descriptor (with plain openat and O_NOFOLLOW where the kernel lacks it, the
  // device and inode check still refusing what a link on the way led to), a part of at
  // most 4000 bytes at a time.
  [[nodiscard]] base::Result<std::unique_ptr<FolderTree>> openTree(
      const std::string& root) override;
  [[nodiscard]] base::Result<FileId> folderId(const std::string& path) override;

  // An unnamed file in $TMPDIR, else /var/tmp, else /tmp (the first that takes one).
  [[nodiscard]] std::unique_ptr<ScratchFile> openScratch() override;

  // A regular file (not a link) whose name does not start with '.'.
  [[nodiscard]] bool isOrdinaryFile(const std::string& path) override;
  // A folder; a symbolic link to a folder is not one.
  [[nodiscard]] bool isFolder(const std::string& path) override;
  [[nodiscard]] base::Result<UnixSeconds> modificationTime(const std::string& path) override;

  // A link is followed; the file is opened without waiting (O_NONBLOCK) and refused unless
  // it is a regular file.
  [[nodiscard]] base::Result<std::unique_ptr<SequentialFile>> openForReading(
      const std::string& path) override;
  [[nodiscard]] bool exists(const std::string& path) override;

  // The target's folder is opened once and everything happens relative to it. The temporary
  // is created there with O_CREAT | O_EXCL | O_NOFOLLOW and mode 0666 less the umask (or the
  // target's own bits), named by TemporaryName with this process's id, and held under an
  // exclusive flock(2) until it is renamed or removed; appends are buffered (256 KiB);
  // commit() fsyncs, renames and fsyncs the folder.
  [[nodiscard]] base::Result<std::unique_ptr<ReplacementFile>> openForReplacing(
      const std::string& path, Durability durability = Durability::kSynced) override;

  [[nodiscard]] base::Status rename(const std::string& from, const std::string& to) override;
  [[nodiscard]] base::Status remove(const std::string& path) override;
  [[nodiscard]] base::Status createFolders(const std::string& path) override;

  // A temporary is stale when its flock(2) can be taken at once.
  void removeStaleTemporaries(const std::string& folder) override;
  [[nodiscard]] base::Result<std::unique_ptr<GuardedFolder>> openGuardedFolder(
      const std::string& programFolder, std::string_view name) override;
  [[nodiscard]] base::Result<std::string> realFolderPath(const std::string& folder) override;

  // flock(2) on the file, opened O_NOFOLLOW. Locks this process holds are counted by the
  // file's device and inode, so a second lock of the same file nests instead of blocking
  // itself (flock locks belong to open files, not to processes).
  [[nodiscard]] base::Result<std::unique_ptr<FileLock>> tryLockFile(
      const std::string& path, std::string_view holder, std::string* currentHolder) override;

  // `ROOT.Trash-UID/files/` and `ROOT.Trash/UID/files/` (UID of the running user), and the
  // user's own trash (`$XDG_DATA_HOME/Trash/files/`, by default below
  // `~/.local/share`) when it exists, lies below `driveRoot` and on the same device.
  [[nodiscard]] std::vector<std::string> recycleBinFolders(const std::string& driveRoot) override;
  // `ROOT.Trash/`, `ROOT.Trash-UID/` of every user id found at the root (the running
  // user's always), and the user's own trash (`$XDG_DATA_HOME/Trash/`) when it exists,
  // lies below `driveRoot` and on the same device.
  [[nodiscard]] std::vector<std::string> trashFolders(const std::string& driveRoot) override;

 private:
  // A new descriptor of `folder`: of the guarded folder open at that path, if any, else
  // opened by the path. -1 with errno on failure.
  int openGuardedOrFolder(const std::string& folder);

  std::mutex m_guardsMutex;
  // The open guarded folders, by path without the trailing separator.
  std::multimap<std::string, int> m_guards;
};

}  // namespace platform
