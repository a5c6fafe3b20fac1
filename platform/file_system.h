// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The file system as the engine sees it: folder listings with the facts a profile needs,
// streaming reads and writes, and whole-file operations. Implementations: POSIX
// (platform/posix) and an in-memory one with Windows-style paths (platform/testing).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/status.h"
#include "platform/date_time.h"

namespace platform {

using engine::Result;
using engine::Status;

// How the paths of one file system are spelled and compared.
struct PathStyle {
  char separator = '/';
  // True on POSIX file systems: README and readme are two files. On Windows-style file
  // systems names that differ only in letter case are one file.
  bool caseSensitive = true;

  static PathStyle posix() { return {'/', true}; }
  static PathStyle windows() { return {'\\', false}; }
};

enum class EntryKind {
  kFile,    // a regular file or a symbolic link (never followed)
  kFolder,  // a folder on the same volume as the listed folder
  kOther,   // sockets, FIFOs, devices, and folders that are mount points of other volumes
};

struct DirEntry {
  std::string name;  // the entry's name as the file system gives it (UTF-8 bytes on Linux)
  EntryKind kind = EntryKind::kOther;
  bool hidden = false;       // POSIX: the name starts with '.'
  bool system = false;       // never set on POSIX
  std::int64_t size = 0;     // files only, and only when listed with ListWhat::kFiles
  UnixSeconds modified = 0;  // as `size`
  // Folders only: the file system vouches that this folder has no sub-folders (a link
  // count of 2 on a file system whose link counts count them), so a walk need not list it
  // for sub-folders. False when unknown.
  bool noSubfolders = false;
};

enum class ListWhat {
  kFolders,  // the sub-folders (names and flags only; sizes and times are not read)
  kFiles,    // the files, with size and modification time (one stat per file)
};

struct FolderListing {
  // In the order the file system gives them; callers sort.
  std::vector<DirEntry> entries;
  // Entries that were listed but could not be examined (permissions, I/O errors). An entry
  // that vanished between listing and examining is left out without a problem.
  std::vector<Status> problems;
};

// Reads a file from its start to its end.
class SequentialFile {
 public:
  SequentialFile() = default;
  SequentialFile(const SequentialFile&) = delete;
  SequentialFile& operator=(const SequentialFile&) = delete;
  virtual ~SequentialFile() = default;

  // Reads up to `n` bytes into `scratch`; sets `*got` to the number read, 0 at the end of
  // the file. A failure leaves `*got` at 0 and names the file.
  [[nodiscard]] virtual Status read(std::size_t n, char* scratch, std::size_t* got) = 0;
};

// Writes a file from its start, buffered. Closing flushes; a file that is destroyed
// without close() is closed and its final flush error is lost.
class WritableFile {
 public:
  WritableFile() = default;
  WritableFile(const WritableFile&) = delete;
  WritableFile& operator=(const WritableFile&) = delete;
  virtual ~WritableFile() = default;

  [[nodiscard]] virtual Status append(std::string_view data) = 0;
  // Flushes and closes; reports a failed flush (disk full). Further calls fail.
  [[nodiscard]] virtual Status close() = 0;
};

class FileSystem {
 public:
  FileSystem() = default;
  FileSystem(const FileSystem&) = delete;
  FileSystem& operator=(const FileSystem&) = delete;
  virtual ~FileSystem() = default;

  [[nodiscard]] virtual PathStyle pathStyle() const = 0;

  // Lists the entries of `folder` (a path ending in the separator) that `what` asks for.
  // Fails with notFound, permissionDenied, notAFolder or ioError when the folder itself
  // cannot be listed; `*out` is then empty. Thread-safe for different folders.
  [[nodiscard]] virtual Status listFolder(const std::string& folder, ListWhat what,
                                          FolderListing* out) = 0;

  // True when `path` exists and is an ordinary file: a regular file that is neither
  // hidden nor a system file. Symbolic links are not followed.
  [[nodiscard]] virtual bool isOrdinaryFile(const std::string& path) = 0;
  // True when `path` exists and is a folder.
  [[nodiscard]] virtual bool isFolder(const std::string& path) = 0;

  [[nodiscard]] virtual Result<UnixSeconds> modificationTime(const std::string& path) = 0;

  [[nodiscard]] virtual Result<std::unique_ptr<SequentialFile>> openForReading(
      const std::string& path) = 0;
  // Creates or truncates `path`.
  [[nodiscard]] virtual Result<std::unique_ptr<WritableFile>> openForWriting(
      const std::string& path) = 0;
  // Creates `path` or appends to its end.
  [[nodiscard]] virtual Result<std::unique_ptr<WritableFile>> openForAppending(
      const std::string& path) = 0;

  // Writes `data` at byte `offset` of `path`, creating the file when missing and never
  // truncating it: bytes after the written range stay as they were.
  [[nodiscard]] virtual Status writeAt(const std::string& path, std::uint64_t offset,
                                       std::string_view data) = 0;

  // Replaces `to` by `from` in one step (rename). Both must lie on one volume.
  [[nodiscard]] virtual Status rename(const std::string& from, const std::string& to) = 0;
  [[nodiscard]] virtual Status copyFile(const std::string& from, const std::string& to) = 0;
  // Deletes a file; a file that does not exist is notFound.
  [[nodiscard]] virtual Status remove(const std::string& path) = 0;
  // Creates a folder and any missing parents; an existing folder is fine.
  [[nodiscard]] virtual Status createFolders(const std::string& path) = 0;

  // The folders that hold the trashed files of the volume whose root folder is `driveRoot`
  // (a path ending in the separator), each ending in the separator. Folders that do not
  // exist may be included; callers skip them.
  [[nodiscard]] virtual std::vector<std::string> recycleBinFolders(
      const std::string& driveRoot) = 0;
};

// Whole-file helpers built on the interface above (platform/file_system.cpp).

// Reads the whole file.
[[nodiscard]] Result<std::string> ReadWholeFile(FileSystem& fs, const std::string& path);

// Writes `data` to a temporary file beside `path` and renames it over `path`, so `path`
// holds either its old content or the new one, never a part. The temporary file is
// removed on failure.
[[nodiscard]] Status WriteFileAtomically(FileSystem& fs, const std::string& path,
                                         std::string_view data);

}  // namespace platform
