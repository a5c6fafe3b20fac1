// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The file system as the engine sees it: folder listings with the facts a profile needs,
// folder trees walked without leaving them, streaming reads, one way to replace a file, the
// program's own sub-folders, and the run lock's file lock. Implementations:
// POSIX (platform/posix) and an in-memory one with Windows-style paths (platform/testing).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/status.h"
#include "platform/date_time.h"

namespace platform {

// How the paths of one file system are spelled and compared.
struct PathStyle {
  char separator = '/';
  // True on POSIX file systems: README and readme are two files. On Windows-style file
  // systems names that differ only in letter case are one file.
  bool caseSensitive = true;
  // True on POSIX file systems, where a name that starts with '.' is hidden. On
  // Windows-style file systems hidden is an attribute that a path does not show.
  bool dotNamesHidden = true;

  static PathStyle posix() { return {'/', true, true}; }
  static PathStyle windows() { return {'\\', false, false}; }
};

// The longest folder path any part of the program handles, in bytes: deep enough for the
// deepest trees that build and package caches make, and short enough that a profile line
// stays well inside the profile reader's bound. A deeper folder is a place that could not
// be read.
inline constexpr std::size_t kMaxFolderPath = 32000;

// What a file or folder is, whatever its path: its device and inode on POSIX. Two ids are
// equal only for one and the same file or folder (while it exists). The default id is
// unknown.
struct FileId {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;

  [[nodiscard]] bool known() const { return device != 0 || inode != 0; }
  friend bool operator==(const FileId&, const FileId&) = default;
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
  std::int64_t size = 0;     // files only, listed with kFiles or kFilesAndFolders
  UnixSeconds modified = 0;  // as `size`
  // Folders only: the file system vouches that this folder has no sub-folders (a link
  // count of 2 on a file system whose link counts count them), so a walk need not list it
  // for sub-folders. False when unknown.
  bool noSubfolders = false;
  // Folders only: what the folder is (FolderTree::list checks it when the folder is opened).
  FileId id;
};

enum class ListWhat {
  kFolders,  // the sub-folders (names and flags only; sizes and times are not read)
  kFiles,    // the files, with size and modification time (one stat per file)
  // Both in one reading of the folder: the files as with kFiles, the sub-folders as with
  // kFolders.
  kFilesAndFolders,
};

struct FolderListing {
  // In the order the file system gives them; callers sort.
  std::vector<DirEntry> entries;
  // Entries that were listed but could not be examined (permissions, I/O errors). An entry
  // that vanished between listing and examining is left out without a problem. When no
  // entry at all can be examined for want of search permission on the folder, the folder
  // itself is what cannot be read: the listing fails instead.
  std::vector<base::Status> problems;
};

// A folder tree opened for a walk (FileSystem::openTree): its folders are listed without
// ever leaving it. Each folder is reached from the tree's root without following a
// symbolic link on the way, and must be the very folder that the listing of its parent saw,
// so a folder swapped for a link (or for another folder) while the tree is walked is never
// followed. Folders deeper than the system's own path limit are reached all the same. No
// descriptor is held per folder: only the root's, while the object lives.
class FolderTree {
 public:
  FolderTree() = default;
  FolderTree(const FolderTree&) = delete;
  FolderTree& operator=(const FolderTree&) = delete;
  virtual ~FolderTree() = default;

  // The root folder, as given to openTree (ending in the separator), and what it is.
  [[nodiscard]] virtual const std::string& root() const = 0;
  [[nodiscard]] virtual FileId rootId() const = 0;

  // Lists `folder` (the root, or a folder path below it that starts with root()) as
  // FileSystem::listFolder does; sub-folders carry their ids. With a known `expected` id
  // (from the listing of its parent) the folder opened must be that one; without, it must
  // at least lie on the root's device. Fails with notAFolder when a symbolic link stands
  // anywhere on the way below the root or the folder is not the expected one, and with
  // invalidArgument ("path longer than 32,000 bytes") beyond kMaxFolderPath; both are
  // places that could not be read. Thread-safe.
  [[nodiscard]] virtual base::Status list(const std::string& folder, FileId expected, ListWhat what,
                                          FolderListing* out) = 0;
};

// A sub-folder of the program folder that the program writes into (FileSystem::
// openGuardedFolder), held open for as long as the object lives.
class GuardedFolder {
 public:
  GuardedFolder() = default;
  GuardedFolder(const GuardedFolder&) = delete;
  GuardedFolder& operator=(const GuardedFolder&) = delete;
  virtual ~GuardedFolder() = default;

  // The folder's path: the program folder & its name & the separator.
  [[nodiscard]] virtual const std::string& path() const = 0;
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
  [[nodiscard]] virtual base::Status read(std::size_t n, char* scratch, std::size_t* got) = 0;

  // The file's size in bytes as it was when it was opened, for a reader that bounds or
  // measures what it reads; nothing when the reader cannot know it (a stream decompressed
  // as it is read).
  [[nodiscard]] virtual std::optional<std::uint64_t> size() const { return std::nullopt; }
};

// Writes a file from its start, buffered.
class WritableFile {
 public:
  WritableFile() = default;
  WritableFile(const WritableFile&) = delete;
  WritableFile& operator=(const WritableFile&) = delete;
  virtual ~WritableFile() = default;

  // Appends `data`. The first failure is repeated by every later call.
  [[nodiscard]] virtual base::Status append(std::string_view data) = 0;
  // Flushes and closes; reports a failed flush (disk full). Further calls fail.
  [[nodiscard]] virtual base::Status close() = 0;
};

// A file written to replace another one (FileSystem::openForReplacing). The bytes go to a
// new temporary file beside the target; only commit() makes them the target's content, in
// one rename, so the target always holds either its old content or the whole new one. A
// replacement destroyed without commit() is abandoned: its temporary is removed and the
// target stays as it was. Not thread-safe; one writer uses it at a time.
class ReplacementFile : public WritableFile {
 public:
  // Finishes writing: the whole content is in the temporary, which stays readable at
  // temporaryPath() until commit() or abandon(). Reports a failed write (disk full).
  // Further appends fail.
  [[nodiscard]] base::Status close() override = 0;

  // Closes the file when still open, forces its bytes to the disk, then renames the
  // temporary over the target (and syncs the target's folder, so the rename survives a
  // crash). On failure (a failed sync included) the temporary is removed and the target is
  // as it was. Call once; later calls fail.
  [[nodiscard]] virtual base::Status commit() = 0;

  // Removes the temporary; the target stays as it was. Harmless after commit().
  virtual void abandon() = 0;

  // The file being replaced, as given to openForReplacing.
  [[nodiscard]] virtual const std::string& targetPath() const = 0;
  // Where the bytes are until commit(): read it to use what was written (the new scan,
  // before it becomes the stored profile).
  [[nodiscard]] virtual const std::string& temporaryPath() const = 0;
};

// Scratch space (FileSystem::openScratch): bytes written once, in order, and then read back
// by position, gone when the object is destroyed. Appends come from one thread; once they
// are done, any number of threads may read at once.
class ScratchFile {
 public:
  ScratchFile() = default;
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;
  virtual ~ScratchFile() = default;
  // Appends `data` after everything appended before. The first failure is repeated by every
  // later call.
  [[nodiscard]] virtual base::Status append(std::string_view data) = 0;
  // Reads `n` bytes from `offset` into `out`; fails when they were never appended.
  [[nodiscard]] virtual base::Status readAt(std::uint64_t offset, std::size_t n,
                                            char* out) const = 0;
};

// Whether a replacement's commit waits for the disk (FileSystem::openForReplacing). What the
// user or the next run relies on is forced to the disk before it replaces the old content;
// a work file that the program itself removes again needs only the one-step rename.
enum class Durability {
  kSynced,
  kWorkFile,
};

// An exclusive lock held until the object is destroyed (FileSystem::tryLockFile).
class FileLock {
 public:
  FileLock() = default;
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  virtual ~FileLock() = default;
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
  [[nodiscard]] virtual base::Status listFolder(const std::string& folder, ListWhat what,
                                                FolderListing* out) = 0;

  // Opens the folder tree whose root is `root` (a path ending in the separator; the root
  // itself is not followed when it is a symbolic link). Fails as listFolder does when the
  // root cannot be opened.
  [[nodiscard]] virtual base::Result<std::unique_ptr<FolderTree>> openTree(
      const std::string& root) = 0;

  // What the folder `path` is, symbolic links followed. Fails when it is no folder.
  [[nodiscard]] virtual base::Result<FileId> folderId(const std::string& path) = 0;

  // True when `path` exists and is an ordinary file: a regular file that is neither
  // hidden nor a system file. Symbolic links are not followed.
  [[nodiscard]] virtual bool isOrdinaryFile(const std::string& path) = 0;
  // True when `path` exists and is a folder.
  [[nodiscard]] virtual bool isFolder(const std::string& path) = 0;
  // True when anything is at `path`: a file, a folder, a symbolic link (even a dangling
  // one) or any other entry.
  [[nodiscard]] virtual bool exists(const std::string& path) = 0;

  [[nodiscard]] virtual base::Result<UnixSeconds> modificationTime(const std::string& path) = 0;

  // Opens a regular file for reading; a symbolic link to one is followed. A folder fails
  // as reading one does, with the system error EISDIR ("path: Is a directory"); anything
  // else (a FIFO, a device, a socket) fails at once with invalidArgument naming the path
  // and what it is, without waiting for a writer or reading endless bytes.
  [[nodiscard]] virtual base::Result<std::unique_ptr<SequentialFile>> openForReading(
      const std::string& path) = 0;

  // The one way the program writes a file: starts replacing `path`. Creates a new
  // temporary beside `path` under a name no other writer uses, refusing to follow or reuse
  // anything already at that name, and returns it for writing; see ReplacementFile. A
  // symbolic link at `path` is itself replaced by the new file on commit, never written
  // through. An existing regular file's permission bits carry over. Fails at once, naming
  // `path`, when its folder is missing or cannot be written, or when `path` is a folder or
  // any other entry that is neither a file nor a link (a device, a FIFO). A kWorkFile's
  // commit renames without forcing the bytes to the disk first.
  [[nodiscard]] virtual base::Result<std::unique_ptr<ReplacementFile>> openForReplacing(
      const std::string& path, Durability durability = Durability::kSynced) = 0;

  // Renames `from` to `to`, replacing a file at `to`, in one step. Both lie on one volume.
  [[nodiscard]] virtual base::Status rename(const std::string& from, const std::string& to) = 0;
  // Deletes a file; a file that does not exist is notFound.
  [[nodiscard]] virtual base::Status remove(const std::string& path) = 0;
  // Creates a folder and any missing parents; an existing folder is fine.
  [[nodiscard]] virtual base::Status createFolders(const std::string& path) = 0;

  // Removes from `folder` (ending in the separator) the temporaries of openForReplacing
  // (names of exactly the form TemporaryName makes) whose writer is gone: a process killed
  // while writing leaves its temporary behind. A writer holds its temporary locked for as
  // long as it writes, so a temporary is removed only when its lock can be taken at once;
  // this holds across machines sharing the folder and across process-id namespaces. Any
  // other name is left alone. Failures are ignored: a temporary that stays is swept next
  // time.
  virtual void removeStaleTemporaries(const std::string& folder) = 0;

  // Opens the sub-folder `name` of `programFolder` (ending in the separator), the folder the
  // program writes its reports (or other files of its own) into, creating it when it is
  // missing. A symbolic link in its place is followed only when the link and the folder it
  // leads to both belong to the owner of the program folder (a user's own `Reports ->
  // /big/disk/reports`); any other link is refused with the message "PATH is a link to a
  // folder of another user; nothing was written there." While the returned object lives,
  // the files directly in the folder are replaced (openForReplacing) and swept
  // (removeStaleTemporaries) relative to the folder it opened, so a link put in its place
  // meanwhile is never written through. The program folder itself may be reached through
  // links, unless it is itself a guarded folder that is open (a folder of a folder: History/
  // then History/K/): then the sub-folder is opened in the very folder the guard holds.
  [[nodiscard]] virtual base::Result<std::unique_ptr<GuardedFolder>> openGuardedFolder(
      const std::string& programFolder, std::string_view name) = 0;

  // The absolute path of `folder` with symbolic links resolved, ending in the separator.
  // Fails when it is not a folder.
  [[nodiscard]] virtual base::Result<std::string> realFolderPath(const std::string& folder) = 0;

  // Scratch space for data too large to hold in memory comfortably. The default keeps it in
  // memory; a file system with room on a disk keeps it in an unnamed file there, so that it
  // costs page cache rather than the program's memory. Null when there is no room for it.
  [[nodiscard]] virtual std::unique_ptr<ScratchFile> openScratch();

  // Takes an exclusive lock on the file `path` without waiting, creating the file when it
  // is missing (a symbolic link in its place is refused), and writes `holder` into it as
  // its whole content, so that others can tell who holds it. The lock belongs to the
  // process: a second lock of the same file while the first is held succeeds at once and
  // leaves the content alone. When another process holds it, fails with busy and sets
  // `*currentHolder` (when not null) to the file's content. Released when the returned
  // object is destroyed, or when the process ends, however it ends.
  [[nodiscard]] virtual base::Result<std::unique_ptr<FileLock>> tryLockFile(
      const std::string& path, std::string_view holder, std::string* currentHolder) = 0;

  // The folders that hold the trashed files of the volume whose root folder is `driveRoot`
  // (a path ending in the separator), each ending in the separator. Folders that do not
  // exist may be included; callers skip them.
  [[nodiscard]] virtual std::vector<std::string> recycleBinFolders(
      const std::string& driveRoot) = 0;

  // The trash folders of the volume whose root folder is `driveRoot`, whole: the folders
  // that hold the recycle-bin folders above, with the records of where each trashed file
  // came from and everything else below them, each ending in the separator; also the
  // trash folders of other users at the volume's root. A walk that takes hidden folders
  // leaves them to the recycle-bin option. Folders that do not exist may be included.
  [[nodiscard]] virtual std::vector<std::string> trashFolders(const std::string& driveRoot) = 0;
};

// Whole-file helpers built on the interface above (platform/file_system.cpp).

// Reads the whole file; fails with invalidArgument, naming it, when it holds more than
// `maxBytes` bytes.
[[nodiscard]] base::Result<std::string> ReadWholeFile(FileSystem& fs, const std::string& path,
                                                      std::size_t maxBytes = SIZE_MAX);

// Replaces `path` by a file holding `data` (openForReplacing): `path` holds either its old
// content or the new one, never a part.
[[nodiscard]] base::Status WriteFileAtomically(FileSystem& fs, const std::string& path,
                                               std::string_view data);

// Appends the whole of the file `from` to `out`.
[[nodiscard]] base::Status AppendWholeFile(FileSystem& fs, const std::string& from,
                                           WritableFile* out);

// Replaces `to` by a copy of `from`, as WriteFileAtomically does.
[[nodiscard]] base::Status CopyFile(FileSystem& fs, const std::string& from, const std::string& to);

// Names of temporaries. A writer's temporary beside `target` is "." & the target's name &
// ".brinvale-" & the writer's process id & "-" & `tag` (letters and digits); long target
// names are cut so the name stays within file-name limits.
[[nodiscard]] std::string TemporaryName(std::string_view targetName, std::uint64_t processId,
                                        std::string_view tag);
// True when `name` has exactly the form TemporaryName makes. A user's file that merely
// resembles a temporary ("budget.copy-4000000-2") is not one.
[[nodiscard]] bool IsTemporaryName(std::string_view name);

}  // namespace platform
