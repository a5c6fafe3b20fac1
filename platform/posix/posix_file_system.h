// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The real file system on Linux and other POSIX systems: folder listings relative to the
// open folder (one fstatat per entry, links never followed), buffered streaming files.
#pragma once

#include <string>
#include <vector>

#include "platform/file_system.h"

namespace platform {

// Paths are absolute native paths; folders end in '/'. All operations are thread-safe:
// the object holds no state of its own.
class PosixFileSystem final : public FileSystem {
 public:
  PosixFileSystem() = default;

  [[nodiscard]] PathStyle pathStyle() const override { return PathStyle::posix(); }

  // Opens `folder` once and examines every entry relative to it. The folder itself is not
  // followed when it is a symbolic link (notAFolder). With ListWhat::kFolders a sub-folder
  // that lies on another device than `folder` (a mount point) is returned as kOther; with
  // ListWhat::kFiles only regular files and symbolic links are returned, each with its own
  // lstat size and time. A read error in the middle of the listing fails the whole listing,
  // so callers never take a partial listing for a complete one.
  [[nodiscard]] Status listFolder(const std::string& folder, ListWhat what,
                                  FolderListing* out) override;

  // A regular file (not a link) whose name does not start with '.'.
  [[nodiscard]] bool isOrdinaryFile(const std::string& path) override;
  // A folder; a symbolic link to a folder is not one.
  [[nodiscard]] bool isFolder(const std::string& path) override;
  [[nodiscard]] Result<UnixSeconds> modificationTime(const std::string& path) override;

  [[nodiscard]] Result<std::unique_ptr<SequentialFile>> openForReading(
      const std::string& path) override;
  // Files are created with mode 0666 less the umask. Appends are buffered (256 KiB).
  [[nodiscard]] Result<std::unique_ptr<WritableFile>> openForWriting(
      const std::string& path) override;
  [[nodiscard]] Result<std::unique_ptr<WritableFile>> openForAppending(
      const std::string& path) override;
  [[nodiscard]] Status writeAt(const std::string& path, std::uint64_t offset,
                               std::string_view data) override;

  [[nodiscard]] Status rename(const std::string& from, const std::string& to) override;
  // Copies into a new temporary file beside `to`, flushes it to the disk and renames it
  // over `to`: `to` holds its old content or the whole copy, never a part. The copy gets
  // the permission bits of `from` (less the umask) and the current time.
  [[nodiscard]] Status copyFile(const std::string& from, const std::string& to) override;
  [[nodiscard]] Status remove(const std::string& path) override;
  [[nodiscard]] Status createFolders(const std::string& path) override;

  // `ROOT.Trash-UID/files/` and `ROOT.Trash/UID/files/` (UID of the running user), and the
  // user's own trash (`$XDG_DATA_HOME/Trash/files/`, by default below
  // `~/.local/share`) when it exists, lies below `driveRoot` and on the same device.
  [[nodiscard]] std::vector<std::string> recycleBinFolders(const std::string& driveRoot) override;
};

}  // namespace platform
