// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/posix_file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef __linux__
#include <linux/openat2.h>
#include <sys/syscall.h>
#include <sys/vfs.h>
#endif

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <utility>

namespace platform {
namespace {

constexpr std::size_t kBufferSize = 256 * 1024;

std::string WithTrailingSlash(std::string path) {
  if (path.empty() || path.back() != '/') path += '/';
  return path;
}

// open(2) with O_NOFOLLOW refuses a link only when the path does not end in '/': a
// trailing slash makes the kernel resolve the last component first.
std::string WithoutTrailingSlashes(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

bool IsDotOrDotDot(const char* name) {
  return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

base::Status FolderOpenError(int err, const std::string& folder) {
  // O_NOFOLLOW reports a link as ELOOP; for a listing that simply means "not a folder".
  if (err == ELOOP) return base::Status::notAFolder(base::Status::fromErrno(err, folder).message());
  return base::Status::fromErrno(err, folder);
}

base::Status WriteAll(int fd, std::string_view data, const std::string& path) {
  while (!data.empty()) {
    const ssize_t written = ::write(fd, data.data(), data.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return base::Status::fromErrno(errno, path);
    }
    if (written == 0) return base::Status::ioError(path + ": the write made no progress");
    data.remove_prefix(static_cast<std::size_t>(written));
  }
  return base::Status::ok();
}

base::Status CloseFd(int fd, const std::string& path) {
  // Never retry close(2) on EINTR: on Linux the descriptor is gone either way. NFS and
  // some FUSE file systems report a failed write back only here.
  if (::close(fd) != 0 && errno != EINTR) return base::Status::fromErrno(errno, path);
  return base::Status::ok();
}

class PosixSequentialFile final : public SequentialFile {
 public:
  PosixSequentialFile(int fd, std::string path, std::uint64_t size)
      : m_fd(fd), m_path(std::move(path)), m_size(size) {}
  ~PosixSequentialFile() override { ::close(m_fd); }

  base::Status read(std::size_t n, char* scratch, std::size_t* got) override {
    *got = 0;
    for (;;) {
      const ssize_t r = ::read(m_fd, scratch, n);
      if (r >= 0) {
        *got = static_cast<std::size_t>(r);
        return base::Status::ok();
      }
      if (errno != EINTR) return base::Status::fromErrno(errno, m_path);
    }
  }
  std::optional<std::uint64_t> size() const override { return m_size; }

 private:
  int m_fd;
  std::string m_path;
  std::uint64_t m_size;  // from the descriptor, so it is the size of the very file read
};

// What an open file is, for the message that refuses to read it.
const char* KindOf(mode_t mode) {
  if (S_ISDIR(mode)) return "a folder";
  if (S_ISFIFO(mode)) return "a FIFO";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
  if (S_ISSOCK(mode)) return "a socket";
  return "not a regular file";
}

std::string FolderOfPath(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOfPath(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Makes a finished rename survive a crash. A file system that cannot sync a folder has
// still renamed the file, so a failure here is no reason to report one.
void SyncFolder(int folderFd) { (void)::fsync(folderFd); }

// A temporary being written, locked by its writer for as long as it is written: the sweep
// of stale temporaries removes one only when it can take that lock.
class PosixReplacementFile final : public ReplacementFile {
 public:
  // Takes over the open folder `folderFd` that holds the temporary, the temporary's open
  // `fd`, and `lockFd`, a second descriptor of it that holds its lock until it is renamed
  // or removed.
  PosixReplacementFile(int folderFd, int fd, int lockFd, std::string target,
                       std::string temporaryName, std::string temporary, Durability durability)
      : m_folderFd(folderFd),
        m_fd(fd),
        m_lockFd(lockFd),
        m_target(std::move(target)),
        m_targetName(NameOfPath(m_target)),
        m_temporaryName(std::move(temporaryName)),
        m_temporary(std::move(temporary)),
        m_synced(durability == Durability::kSynced) {
    m_buffer.reserve(kBufferSize);
  }
  ~PosixReplacementFile() override { abandon(); }

  base::Status append(std::string_view data) override {
    if (m_closed) return base::Status::ioError(m_target + ": the file is closed");
    if (!m_status.isOk()) return m_status;
    if (data.size() <= kBufferSize - m_buffer.size()) {
      m_buffer.append(data);
      return base::Status::ok();
    }
    if (base::Status s = flush(); !s.isOk()) return s;
    if (data.size() < kBufferSize) {
      m_buffer.append(data);
      return base::Status::ok();
    }
    m_status = WriteAll(m_fd, data, m_target);
    if (m_status.isOk()) written(data.size());
    return m_status;
  }

  // The descriptor stays open until commit() or abandon(): the wait for the disk belongs to
  // commit, so a temporary that is never committed (an info-only run's new profile) costs
  // no sync at all.
  base::Status close() override {
    if (m_closed)
      return m_done ? base::Status::ioError(m_target + ": the file is closed") : m_status;
    m_closed = true;
    return flush();
  }

  base::Status commit() override {
    if (m_done) return base::Status::ioError(m_target + ": the replacement is finished already");
    base::Status s = close();
    // The bytes must be on the disk before a rename makes them the target's content, or
    // a crash could leave an empty file where the old one was.
    if (s.isOk() && m_synced && ::fsync(m_fd) != 0) s = base::Status::fromErrno(errno, m_target);
    // Closed before the rename: NFS and some FUSE file systems report a failed write only
    // here. The lock stays with the second descriptor until the temporary is renamed.
    if (base::Status closed = CloseFd(m_fd, m_target); s.isOk()) s = closed;
    m_fd = -1;
    if (s.isOk() &&
        ::renameat(m_folderFd, m_temporaryName.c_str(), m_folderFd, m_targetName.c_str()) != 0) {
      s = base::Status::fromErrno(errno, m_target);
    }
    if (!s.isOk()) {
      abandon();
      return s;
    }
    m_done = true;
    if (m_synced) SyncFolder(m_folderFd);
    release();
    return s;
  }

  void abandon() override {
    if (m_fd >= 0) {
      ::close(m_fd);
      m_fd = -1;
    }
    m_closed = true;
    if (!m_done && m_folderFd >= 0) ::unlinkat(m_folderFd, m_temporaryName.c_str(), 0);
    m_done = true;
    release();
  }

  const std::string& targetPath() const override { return m_target; }
  const std::string& temporaryPath() const override { return m_temporary; }

 private:
  // After a failed write the file's end is unknown, so every later call repeats the error.
  base::Status flush() {
    if (!m_status.isOk()) return m_status;
    m_status = WriteAll(m_fd, m_buffer, m_target);
    if (m_status.isOk()) written(m_buffer.size());
    m_buffer.clear();
    return m_status;
  }

  // Large files are handed to the disk while they are written, not all at the sync in
  // commit(): a profile of a few hundred megabytes would otherwise keep its writer waiting
  // for the disk at the end. This only starts the writing; commit() still waits for it.
  void written(std::size_t bytes) {
    m_written += bytes;
#ifdef __linux__
    if (m_synced && m_written - m_started >= kStartWritingEvery) {
      (void)::sync_file_range(m_fd, static_cast<off64_t>(m_started),
                              static_cast<off64_t>(m_written - m_started), SYNC_FILE_RANGE_WRITE);
      m_started = m_written;
    }
#endif
  }

  // Gives up the lock and the folder once the temporary is renamed or removed.
  void release() {
    if (m_lockFd >= 0) ::close(m_lockFd);
    if (m_folderFd >= 0) ::close(m_folderFd);
    m_lockFd = m_folderFd = -1;
  }

  int m_folderFd;
  int m_fd;
  int m_lockFd;
  std::string m_target;
  std::string m_targetName;
  std::string m_temporaryName;
  std::string m_temporary;
  std::string m_buffer;
  const bool m_synced;
  base::Status m_status;
  bool m_closed = false;  // no more appends
  bool m_done = false;    // committed or abandoned
  static constexpr std::uint64_t kStartWritingEvery = 8 * 1024 * 1024;
  std::uint64_t m_written = 0;  // bytes written to the file so far
  std::uint64_t m_started = 0;  // of which the disk was asked to write this many
};

// The locks this process holds, by the lock file's device and inode. flock(2) locks
// belong to open files: a second open of the same file in this process would be refused
// by the first, so nested takers share the first one's descriptor instead.
struct HeldLock {
  int fd = -1;
  int count = 0;
};
std::mutex g_locksMutex;
std::map<std::pair<dev_t, ino_t>, HeldLock>& HeldLocks() {
  static std::map<std::pair<dev_t, ino_t>, HeldLock> locks;
  return locks;
}

class PosixFileLock final : public FileLock {
 public:
  explicit PosixFileLock(std::pair<dev_t, ino_t> key) : m_key(key) {}
  ~PosixFileLock() override {
    std::lock_guard<std::mutex> guard(g_locksMutex);
    auto it = HeldLocks().find(m_key);
    if (it == HeldLocks().end() || --it->second.count > 0) return;
    ::close(it->second.fd);  // releases the flock
    HeldLocks().erase(it);
  }

 private:
  std::pair<dev_t, ino_t> m_key;
};

// The first bytes of the lock file: who holds it.
std::string ReadHolder(int fd) {
  char buffer[256];
  const ssize_t got = ::pread(fd, buffer, sizeof buffer, 0);
  return got > 0 ? std::string(buffer, static_cast<std::size_t>(got)) : std::string();
}

// The user's own trash folder (which holds files/ and info/) as the desktop's trash
// convention places it, or "" when neither XDG_DATA_HOME nor HOME is usable.
std::string UserTrashFolder() {
  const char* dataHome = std::getenv("XDG_DATA_HOME");
  if (dataHome != nullptr && dataHome[0] == '/') {
    return WithTrailingSlash(dataHome) + "Trash/";
  }
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] == '/') {
    return WithTrailingSlash(home) + ".local/share/Trash/";
  }
  return {};
}

// A trash folder of another user at a volume's root: ".Trash-" and a user id.
bool IsTrashOfAUser(std::string_view name) {
  constexpr std::string_view kPrefix = ".Trash-";
  return name.size() > kPrefix.size() && name.starts_with(kPrefix) &&
         name.find_first_not_of("0123456789", kPrefix.size()) == std::string_view::npos;
}

std::string RealPath(const std::string& path) {
  char* real = ::realpath(path.c_str(), nullptr);
  if (real == nullptr) return {};
  std::string result = WithTrailingSlash(real);
  std::free(real);
  return result;
}

}  // namespace

namespace {

// True when the file system holding the open folder `fd` gives every folder a link count
// of 2 plus its number of sub-folders, so a count of 2 proves there are none. Only file
// systems known to keep that rule are trusted: btrfs, for one, always reports 1, and some
// network and FUSE file systems report whatever they like.
bool LinkCountsCountSubfolders(int fd) {
#ifdef __linux__
  struct statfs info {};
  if (::fstatfs(fd, &info) != 0) return false;
  constexpr long kExt = 0xEF53;
  constexpr long kXfs = 0x58465342;
  constexpr long kTmpfs = 0x01021994;
  const long type = static_cast<long>(info.f_type);
  return type == kExt || type == kXfs || type == kTmpfs;
#else
  (void)fd;
  return false;
#endif
}

// Reads the entries of a folder from its open descriptor, which it owns and closes. On
// Linux it asks the kernel directly with a large buffer: no DIR to allocate and no fcntl
// calls per folder, which counts when a drive has tens of thousands of folders.
class EntryReader {
 public:
  explicit EntryReader(int fd) : m_fd(fd) {
#ifndef __linux__
    m_dir = ::fdopendir(fd);
    if (m_dir == nullptr) m_error = errno;
#endif
  }
  EntryReader(const EntryReader&) = delete;
  EntryReader& operator=(const EntryReader&) = delete;
  ~EntryReader() {
#ifdef __linux__
    ::close(m_fd);
#else
    if (m_dir != nullptr) {
      ::closedir(m_dir);  // also closes the descriptor
    } else {
      ::close(m_fd);
    }
#endif
  }

  // The next entry's name and type (DT_*); false at the end or after a failure.
  bool next(const char** name, unsigned char* type) {
    if (m_error != 0) return false;
#ifdef __linux__
    if (m_pos >= m_end) {
      const ssize_t got = ::getdents64(m_fd, Buffer(), kBufferSize);
      if (got < 0) m_error = errno;
      if (got <= 0) return false;
      m_pos = 0;
      m_end = static_cast<std::size_t>(got);
    }
    const auto* ent = reinterpret_cast<const dirent64*>(Buffer() + m_pos);
    m_pos += ent->d_reclen;
    *name = ent->d_name;
    *type = ent->d_type;
    return true;
#else
    errno = 0;
    const dirent* ent = ::readdir(m_dir);
    if (ent == nullptr) {
      m_error = errno;
      return false;
    }
    *name = ent->d_name;
    *type = ent->d_type;
    return true;
#endif
  }

  // The errno of the failure that ended the listing, or 0.
  [[nodiscard]] int error() const { return m_error; }

 private:
  int m_fd;
  int m_error = 0;
#ifdef __linux__
  static constexpr std::size_t kBufferSize = 128 * 1024;
  static char* Buffer() {
    // One buffer per thread: listing threads never share a reader.
    thread_local std::unique_ptr<char[]> buffer(new char[kBufferSize]);
    return buffer.get();
  }
  std::size_t m_pos = 0;
  std::size_t m_end = 0;
#else
  DIR* m_dir = nullptr;
#endif
};

// Scratch space in an unnamed file: nothing is left behind however the program ends, and
// its pages are the kernel's to write out or drop, not the program's memory.
class PosixScratchFile final : public ScratchFile {
 public:
  explicit PosixScratchFile(int fd) : m_fd(fd) {}
  ~PosixScratchFile() override { ::close(m_fd); }

  base::Status append(std::string_view data) override {
    if (m_status.isOk()) m_status = WriteAll(m_fd, data, "scratch space");
    return m_status;
  }

  base::Status readAt(std::uint64_t offset, std::size_t n, char* out) const override {
    while (n > 0) {
      const ssize_t got = ::pread(m_fd, out, n, static_cast<off_t>(offset));
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) return base::Status::fromErrno(errno, "scratch space");
      if (got == 0) return base::Status::ioError("scratch space: read beyond what was written");
      out += got;
      n -= static_cast<std::size_t>(got);
      offset += static_cast<std::uint64_t>(got);
    }
    return base::Status::ok();
  }

 private:
  const int m_fd;
  base::Status m_status;
};

// Opens an unnamed file in `folder`: O_TMPFILE where the file system has it, otherwise a
// file made and removed at once. -1 when neither works.
int OpenUnnamedFile(const std::string& folder) {
#ifdef O_TMPFILE
  const int fd = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
  if (fd >= 0) return fd;
#endif
  std::string name = WithTrailingSlash(folder) + ".brinvale-scratch-XXXXXX";
  const int made = ::mkostemp(name.data(), O_CLOEXEC);
  if (made < 0) return -1;
  ::unlink(name.c_str());
  return made;
}

}  // namespace

std::unique_ptr<ScratchFile> PosixFileSystem::openScratch() {
  std::vector<std::string> places;
  if (const char* tmp = std::getenv("TMPDIR"); tmp != nullptr && *tmp != '\0') {
    places.emplace_back(tmp);
  }
  places.emplace_back("/var/tmp");
  places.emplace_back("/tmp");
  for (const std::string& place : places) {
    if (const int fd = OpenUnnamedFile(place); fd >= 0) {
      return std::make_unique<PosixScratchFile>(fd);
    }
  }
  return nullptr;
}

namespace {

// Lists the open folder `fd`, which it takes over and closes; `folder` names it in messages.
// `self` is the folder's own stat when the caller has it already.
base::Status ListOpenFolder(int fd, const struct stat* self, const std::string& folder,
                            ListWhat what, FolderListing* out) {
  const bool folders = what != ListWhat::kFiles;
  const bool files = what != ListWhat::kFolders;
  // Only sub-folders need the folder's own device (mount points) and file system type, so
  // they are asked for when the first sub-folder turns up: most folders have none.
  struct stat own {};
  if (self != nullptr) own = *self;
  bool knowSelf = self != nullptr;
  bool knowFileSystem = false;
  bool trustLinkCounts = false;
  // Entries examined, and how many of them failed for want of search permission.
  std::size_t examined = 0;
  std::size_t denied = 0;
  EntryReader reader(fd);
  const char* name = nullptr;
  unsigned char type = DT_UNKNOWN;
  const auto failed = [&](base::Status status) {
    out->entries.clear();
    out->problems.clear();
    return status;  // the reader closes fd
  };
  while (reader.next(&name, &type)) {
    if (IsDotOrDotDot(name)) continue;
    // d_type spares a stat for entries of the wrong kind; file systems that do not fill
    // it in (DT_UNKNOWN) are examined like everything else.
    const bool maybeFolder = type == DT_DIR || type == DT_UNKNOWN;
    const bool maybeFile = type == DT_REG || type == DT_LNK || type == DT_UNKNOWN;
    if (!(folders && maybeFolder) && !(files && maybeFile)) continue;

    struct stat st {};
    ++examined;
    if (::fstatat(fd, name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
      // An entry deleted since readdir is simply no longer there.
      if (errno == EACCES) ++denied;
      if (errno != ENOENT) {
        out->problems.push_back(base::Status::fromErrno(errno, WithTrailingSlash(folder) + name));
      }
      continue;
    }
    const bool isFolder = S_ISDIR(st.st_mode);
    const bool isFile = S_ISREG(st.st_mode) || S_ISLNK(st.st_mode);
    if (!(isFolder && folders) && !(isFile && files)) continue;
    if (isFolder && !knowFileSystem) {
      if (!knowSelf && ::fstat(fd, &own) != 0)
        return failed(base::Status::fromErrno(errno, folder));
      knowSelf = true;
      trustLinkCounts = LinkCountsCountSubfolders(fd);
      knowFileSystem = true;
    }
    DirEntry& entry = out->entries.emplace_back();
    if (isFolder) {
      // A folder on another device is the mount point of another volume: another drive.
      entry.kind = st.st_dev == own.st_dev ? EntryKind::kFolder : EntryKind::kOther;
      entry.noSubfolders = trustLinkCounts && st.st_nlink == 2;
      entry.id = {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
    } else {
      entry.kind = EntryKind::kFile;
      entry.size = static_cast<std::int64_t>(st.st_size);
      entry.modified = static_cast<UnixSeconds>(st.st_mtime);
    }
    entry.name = name;
    entry.hidden = name[0] == '.';
  }
  // A listing cut short would make the files after the failure look deleted.
  if (reader.error() != 0) return failed(base::Status::fromErrno(reader.error(), folder));
  // A folder that may be read but not searched shows its names and nothing else: it is the
  // folder that cannot be read, not each of its entries.
  if (examined > 0 && denied == examined) return failed(base::Status::fromErrno(EACCES, folder));
  return base::Status::ok();
}

// Whether openat2(2) is there to ask: unknown until the first call, then known.
enum class Openat2 { kUnknown, kAvailable, kMissing };
std::atomic<Openat2> g_openat2{Openat2::kUnknown};

// Opens the folder `path` (relative, without a trailing separator, shorter than PATH_MAX)
// below the open folder `at`, following no symbolic link on the way. Where the kernel
// cannot refuse links on the way (openat2 is missing or forbidden), only the last
// component is guarded here, and callers check what they opened. -1 with errno on failure.
int OpenFolderBelow(int at, const char* path) {
  constexpr int kFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
#if defined(__linux__) && defined(SYS_openat2)
  if (g_openat2.load(std::memory_order_relaxed) != Openat2::kMissing) {
    open_how how{};
    how.flags = kFlags;
    // Names from listings hold no "..", so refusing links keeps the path below `at`;
    // RESOLVE_BENEATH would only add a walk back up the tree to every open.
    how.resolve = RESOLVE_NO_SYMLINKS;
    const long fd = ::syscall(SYS_openat2, at, path, &how, sizeof how);
    if (fd >= 0) {
      g_openat2.store(Openat2::kAvailable, std::memory_order_relaxed);
      return static_cast<int>(fd);
    }
    // A kernel before 5.6, or a sandbox that forbids the call, says so on the first one.
    const bool missing = errno == ENOSYS || errno == EPERM || errno == E2BIG || errno == EINVAL;
    if (!missing || g_openat2.load(std::memory_order_relaxed) == Openat2::kAvailable) return -1;
    g_openat2.store(Openat2::kMissing, std::memory_order_relaxed);
  }
#endif
  return ::openat(at, path, kFlags);
}

// Opens the folder `relative` (components separated by '/', perhaps ending in one; empty
// for `root` itself) below the open folder `root`. A path longer than the system's limit
// is opened a part at a time, each part from the folder the one before opened, so at most
// two descriptors are open at once. -1 with errno on failure.
int OpenBelow(int root, std::string_view relative) {
  while (!relative.empty() && relative.back() == '/') relative.remove_suffix(1);
  if (relative.empty()) return ::openat(root, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  // Room to spare below PATH_MAX (4096 on Linux, the terminating zero included).
  constexpr std::size_t kPart = 4000;
  thread_local std::string part;
  int at = root;
  int owned = -1;
  while (!relative.empty()) {
    std::size_t take = relative.size();
    if (take > kPart) {
      take = relative.rfind('/', kPart);
      if (take == std::string_view::npos || take == 0) take = kPart + 1;  // one name too long
    }
    part.assign(relative.substr(0, take));
    relative.remove_prefix(std::min(relative.size(), take + 1));
    const int fd =
        part.size() > kPart ? (errno = ENAMETOOLONG, -1) : OpenFolderBelow(at, part.c_str());
    const int err = errno;
    if (owned >= 0) ::close(owned);
    if (fd < 0) {
      errno = err;
      return -1;
    }
    at = owned = fd;
  }
  return owned;
}

class PosixFolderTree final : public FolderTree {
 public:
  PosixFolderTree(int fd, std::string root, const struct stat& self)
      : m_fd(fd),
        m_root(std::move(root)),
        m_id{static_cast<std::uint64_t>(self.st_dev), static_cast<std::uint64_t>(self.st_ino)} {}
  ~PosixFolderTree() override { ::close(m_fd); }

  const std::string& root() const override { return m_root; }
  FileId rootId() const override { return m_id; }

  base::Status list(const std::string& folder, FileId expected, ListWhat what,
                    FolderListing* out) override {
    out->entries.clear();
    out->problems.clear();
    if (folder.size() > kMaxFolderPath) {
      return base::Status::invalidArgument(folder + ": path longer than 32,000 bytes");
    }
    if (folder.compare(0, m_root.size(), m_root) != 0) {
      return base::Status::invalidArgument(folder + ": not in the folder tree of " + m_root);
    }
    const int fd = OpenBelow(m_fd, std::string_view(folder).substr(m_root.size()));
    if (fd < 0) {
      // The folder was listed as one: what stands there now (or on the way) is a link or
      // another entry, and links are not followed.
      if (errno == ELOOP || errno == ENOTDIR) {
        return base::Status::notAFolder(
            folder +
            ": no longer a folder, or a symbolic link stands on the way "
            "there; it is not followed");
      }
      return FolderOpenError(errno, folder);
    }
    struct stat self {};
    if (::fstat(fd, &self) != 0) {
      const int err = errno;
      ::close(fd);
      return base::Status::fromErrno(err, folder);
    }
    const FileId id{static_cast<std::uint64_t>(self.st_dev),
                    static_cast<std::uint64_t>(self.st_ino)};
    if (expected.known() ? id != expected : id.device != m_id.device) {
      ::close(fd);
      return base::Status::notAFolder(
          folder +
          ": not the folder that was listed there; it was replaced while "
          "the drive was scanned");
    }
    return ListOpenFolder(fd, &self, folder, what, out);
  }

 private:
  const int m_fd;
  const std::string m_root;
  const FileId m_id;
};

}  // namespace

base::Status PosixFileSystem::listFolder(const std::string& folder, ListWhat what,
                                         FolderListing* out) {
  out->entries.clear();
  out->problems.clear();
  // A scan lists tens of thousands of folders: the path to open is made in a buffer kept
  // by the thread, not in a new string each time.
  thread_local std::string openPath;
  openPath.assign(folder);
  while (openPath.size() > 1 && openPath.back() == '/') openPath.pop_back();
  const int fd = ::open(openPath.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return FolderOpenError(errno, folder);
  return ListOpenFolder(fd, nullptr, folder, what, out);
}

base::Result<std::unique_ptr<FolderTree>> PosixFileSystem::openTree(const std::string& root) {
  const int fd =
      ::open(WithoutTrailingSlashes(root).c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return FolderOpenError(errno, root);
  struct stat self {};
  if (::fstat(fd, &self) != 0) {
    const int err = errno;
    ::close(fd);
    return base::Status::fromErrno(err, root);
  }
  return std::unique_ptr<FolderTree>(
      std::make_unique<PosixFolderTree>(fd, WithTrailingSlash(root), self));
}

base::Result<FileId> PosixFileSystem::folderId(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return base::Status::fromErrno(errno, path);
  if (!S_ISDIR(st.st_mode)) return base::Status::notAFolder(path + ": not a folder");
  return FileId{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

bool PosixFileSystem::isOrdinaryFile(const std::string& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  const std::size_t slash = path.rfind('/');
  const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  return nameStart < path.size() && path[nameStart] != '.';
}

bool PosixFileSystem::isFolder(const std::string& path) {
  struct stat st {};
  return ::lstat(WithoutTrailingSlashes(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

base::Result<UnixSeconds> PosixFileSystem::modificationTime(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return base::Status::fromErrno(errno, path);
  return static_cast<UnixSeconds>(st.st_mtime);
}

base::Result<std::unique_ptr<SequentialFile>> PosixFileSystem::openForReading(
    const std::string& path) {
  // O_NONBLOCK: opening a FIFO must not wait for a writer; it is refused below.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) return base::Status::fromErrno(errno, path);
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    const int err = errno;
    ::close(fd);
    return base::Status::fromErrno(err, path);
  }
  if (S_ISDIR(st.st_mode)) {
    // open(2) lets a folder be opened for reading; read(2) would fail with EISDIR, which
    // is what the user is shown, with its number, as the system describes it.
    ::close(fd);
    errno = EISDIR;
    return base::Status::fromErrno(EISDIR, path);
  }
  if (!S_ISREG(st.st_mode)) {
    ::close(fd);
    return base::Status::invalidArgument(path + ": " + KindOf(st.st_mode) + ", not a file to read");
  }
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags >= 0) (void)::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  return std::unique_ptr<SequentialFile>(
      std::make_unique<PosixSequentialFile>(fd, path, static_cast<std::uint64_t>(st.st_size)));
}

bool PosixFileSystem::exists(const std::string& path) {
  struct stat st {};
  return ::lstat(WithoutTrailingSlashes(path).c_str(), &st) == 0;
}

namespace {

// True when the name `name` in the open folder `folderFd` is still the open file `fd`.
bool StillNamed(int folderFd, const char* name, int fd) {
  struct stat named {};
  struct stat open {};
  return ::fstatat(folderFd, name, &named, AT_SYMLINK_NOFOLLOW) == 0 && ::fstat(fd, &open) == 0 &&
         named.st_dev == open.st_dev && named.st_ino == open.st_ino;
}

}  // namespace

int PosixFileSystem::openGuardedOrFolder(const std::string& folder) {
  {
    std::lock_guard<std::mutex> guard(m_guardsMutex);
    const auto held = m_guards.find(WithoutTrailingSlashes(folder));
    // A descriptor of its own: a dup would share the folder's reading position.
    if (held != m_guards.end())
      return ::openat(held->second, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  }
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  // A folder that may be written but not read still takes a file; only its sync is lost.
  if (fd < 0 && errno == EACCES) return ::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  return fd;
}

base::Result<std::unique_ptr<ReplacementFile>> PosixFileSystem::openForReplacing(
    const std::string& path, Durability durability) {
  static std::atomic<std::uint64_t> counter{0};
  const std::string folder = FolderOfPath(path);
  const std::string name = NameOfPath(path);
  if (name.empty()) {
    errno = EISDIR;
    return base::Status::fromErrno(EISDIR, path);
  }
  // Everything happens relative to the folder opened once, so the temporary is renamed in
  // the folder it was written in even when a link takes the folder's place meanwhile.
  const int folderFd = openGuardedOrFolder(folder);
  if (folderFd < 0) return base::Status::fromErrno(errno, path);
  const auto fail = [folderFd](base::Status status) {
    ::close(folderFd);
    return status;
  };
  mode_t keepMode = 0;
  if (struct stat st{}; ::fstatat(folderFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
    if (S_ISDIR(st.st_mode)) {
      errno = EISDIR;  // as open(2) would: callers that show the system's error number read it
      return fail(base::Status::fromErrno(EISDIR, path));
    }
    // A rename would put a regular file where a device or FIFO was (/dev/null, as root).
    if (!S_ISREG(st.st_mode) && !S_ISLNK(st.st_mode)) {
      return fail(base::Status::invalidArgument(path + ": " + KindOf(st.st_mode) +
                                                ", not a file to replace"));
    }
    if (S_ISREG(st.st_mode)) keepMode = st.st_mode & 07777;
  }
  const auto pid = static_cast<std::uint64_t>(::getpid());
  for (int attempt = 0;; ++attempt) {
    std::string temporary = TemporaryName(name, pid, std::to_string(counter.fetch_add(1)));
    // O_EXCL never follows a link planted at the name; O_NOFOLLOW says so twice.
    const int fd = ::openat(folderFd, temporary.c_str(),
                            O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) {
      if (errno != EEXIST || attempt == 100) return fail(base::Status::fromErrno(errno, path));
      continue;
    }
    // The lock says "being written" to every sweep, this process's included. A sweep that
    // came between the creation and the lock has taken the name away: start again. A file
    // system without locks keeps the temporary unlocked, and its sweeps remove nothing.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 ? errno == EWOULDBLOCK
                                            : !StillNamed(folderFd, temporary.c_str(), fd)) {
      ::close(fd);
      if (attempt == 100) return fail(base::Status::ioError(path + ": no temporary could be kept"));
      continue;
    }
    const int lockFd = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    if (lockFd < 0) {
      const int err = errno;
      ::unlinkat(folderFd, temporary.c_str(), 0);
      ::close(fd);
      return fail(base::Status::fromErrno(err, path));
    }
    if (keepMode != 0) (void)::fchmod(fd, keepMode);
    std::string temporaryPath = (folder == "/" ? "" : folder) + "/" + temporary;
    return std::unique_ptr<ReplacementFile>(std::make_unique<PosixReplacementFile>(
        folderFd, fd, lockFd, path, std::move(temporary), std::move(temporaryPath), durability));
  }
}

base::Status PosixFileSystem::rename(const std::string& from, const std::string& to) {
  if (::rename(from.c_str(), to.c_str()) != 0)
    return base::Status::fromErrno(errno, from + " -> " + to);
  return base::Status::ok();
}

base::Status PosixFileSystem::remove(const std::string& path) {
  if (::unlink(path.c_str()) != 0) return base::Status::fromErrno(errno, path);
  return base::Status::ok();
}

base::Status PosixFileSystem::createFolders(const std::string& path) {
  const std::string target = WithoutTrailingSlashes(path);
  if (target.empty()) return base::Status::invalidArgument("an empty folder path");
  // Create each ancestor in turn; one that exists already (EEXIST) is checked at the end
  // only for the last component, since a file in the middle makes the next mkdir fail.
  for (std::size_t pos = target.find('/', 1);; pos = target.find('/', pos + 1)) {
    const std::string part = target.substr(0, pos);
    if (::mkdir(part.c_str(), 0777) != 0 && errno != EEXIST) {
      return base::Status::fromErrno(errno, part);
    }
    if (pos == std::string::npos) break;
  }
  struct stat st {};
  if (::stat(target.c_str(), &st) != 0) return base::Status::fromErrno(errno, path);
  if (!S_ISDIR(st.st_mode)) return base::Status::notAFolder(path + ": exists and is not a folder");
  return base::Status::ok();
}

void PosixFileSystem::removeStaleTemporaries(const std::string& folder) {
  const int fd = openGuardedOrFolder(folder);
  if (fd < 0) return;
  // The listing takes the descriptor over; the folder is opened once more for the removals.
  const int folderFd = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
  std::vector<std::string> candidates;
  {
    EntryReader reader(fd);
    const char* name = nullptr;
    unsigned char type = DT_UNKNOWN;
    while (reader.next(&name, &type)) {
      if ((type == DT_REG || type == DT_UNKNOWN) && IsTemporaryName(name)) {
        candidates.emplace_back(name);
      }
    }
  }
  if (folderFd < 0) return;
  for (const std::string& name : candidates) {
    struct stat st {};
    if (::fstatat(folderFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode)) {
      continue;
    }
    // Read and write: a network file system grants an exclusive lock only to a writer.
    const int file =
        ::openat(folderFd, name.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (file < 0) continue;
    // The lock is free only when no writer holds it: the writer is gone.
    if (::flock(file, LOCK_EX | LOCK_NB) == 0 && StillNamed(folderFd, name.c_str(), file)) {
      (void)::unlinkat(folderFd, name.c_str(), 0);
    }
    ::close(file);
  }
  ::close(folderFd);
}

namespace {

class PosixGuardedFolder final : public GuardedFolder {
 public:
  PosixGuardedFolder(std::string path, std::function<void()> release)
      : m_path(std::move(path)), m_release(std::move(release)) {}
  ~PosixGuardedFolder() override { m_release(); }
  const std::string& path() const override { return m_path; }

 private:
  const std::string m_path;
  const std::function<void()> m_release;
};

}  // namespace

base::Result<std::unique_ptr<GuardedFolder>> PosixFileSystem::openGuardedFolder(
    const std::string& programFolder, std::string_view name) {
  const std::string path = WithTrailingSlash(programFolder) + std::string(name);
  // The program folder itself may be reached through links: the user chose it. A guarded
  // folder held open (History/ for History/K/) is taken as it was opened, so a link put in
  // its place meanwhile leads nowhere.
  const int programFd = openGuardedOrFolder(programFolder);
  if (programFd < 0) return base::Status::fromErrno(errno, programFolder);
  struct stat program {};
  if (::fstat(programFd, &program) != 0) {
    const int err = errno;
    ::close(programFd);
    return base::Status::fromErrno(err, programFolder);
  }
  const std::string nameText(name);
  int fd = -1;
  base::Status status;
  for (int attempt = 0; fd < 0 && status.isOk(); ++attempt) {
    fd = ::openat(programFd, nameText.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd >= 0) break;
    const int err = errno;
    struct stat link {};
    if (attempt == 3) {
      status = base::Status::fromErrno(err, path);
    } else if (err == ENOENT) {
      // Made here, relative to the program folder: nothing planted on the way is followed.
      if (::mkdirat(programFd, nameText.c_str(), 0777) != 0 && errno != EEXIST) {
        status = base::Status::fromErrno(errno, path);
      }
    } else if ((err == ELOOP || err == ENOTDIR) &&
               ::fstatat(programFd, nameText.c_str(), &link, AT_SYMLINK_NOFOLLOW) == 0 &&
               S_ISLNK(link.st_mode)) {
      // A link is followed only when it and the folder it leads to are the program folder
      // owner's own, as the kernel's protected-symlinks rule has it.
      fd = ::openat(programFd, nameText.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
      struct stat target {};
      struct stat again {};
      if (fd < 0) {
        status = base::Status::fromErrno(errno, path);
      } else if (::fstat(fd, &target) != 0 || link.st_uid != program.st_uid ||
                 target.st_uid != program.st_uid) {
        status = base::Status::permissionDenied(
            path + " is a link to a folder of another user; nothing was written there.");
      } else if (::fstatat(programFd, nameText.c_str(), &again, AT_SYMLINK_NOFOLLOW) != 0 ||
                 again.st_ino != link.st_ino || again.st_dev != link.st_dev) {
        ::close(fd);  // the link changed while it was looked at: look again
        fd = -1;
        continue;
      }
      if (!status.isOk() && fd >= 0) {
        ::close(fd);
        fd = -1;
      }
    } else {
      status = err == ENOTDIR ? base::Status::notAFolder(path + ": exists and is not a folder")
                              : base::Status::fromErrno(err, path);
    }
  }
  ::close(programFd);
  if (!status.isOk()) return status;
  const std::string key = WithoutTrailingSlashes(path);
  {
    std::lock_guard<std::mutex> guard(m_guardsMutex);
    m_guards.emplace(key, fd);
  }
  return std::unique_ptr<GuardedFolder>(
      std::make_unique<PosixGuardedFolder>(path + "/", [this, key, fd] {
        std::lock_guard<std::mutex> guard(m_guardsMutex);
        for (auto [it, end] = m_guards.equal_range(key); it != end; ++it) {
          if (it->second == fd) {
            m_guards.erase(it);
            break;
          }
        }
        ::close(fd);
      }));
}

base::Result<std::string> PosixFileSystem::realFolderPath(const std::string& folder) {
  const std::string real = RealPath(folder);
  if (real.empty() || !isFolder(real)) return base::Status::notAFolder(folder + ": not a folder");
  return real;
}

base::Result<std::unique_ptr<FileLock>> PosixFileSystem::tryLockFile(const std::string& path,
                                                                     std::string_view holder,
                                                                     std::string* currentHolder) {
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, 0666);
  if (fd < 0) {
    if (errno == ELOOP)
      return base::Status::invalidArgument(path + ": a symbolic link, not a lock file");
    return base::Status::fromErrno(errno, path);
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return base::Status::invalidArgument(path + ": not a lock file");
  }
  const std::pair<dev_t, ino_t> key(st.st_dev, st.st_ino);
  std::lock_guard<std::mutex> guard(g_locksMutex);
  if (auto held = HeldLocks().find(key); held != HeldLocks().end()) {
    ::close(fd);
    ++held->second.count;
    return std::unique_ptr<FileLock>(std::make_unique<PosixFileLock>(key));
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int err = errno;
    if (currentHolder != nullptr) *currentHolder = ReadHolder(fd);
    ::close(fd);
    if (err == EWOULDBLOCK) return base::Status::busy(path + ": locked by another process");
    return base::Status::fromErrno(err, path);
  }
  // The holder's record is a courtesy for the message of those refused; the lock works
  // without it.
  if (::ftruncate(fd, 0) == 0) {
    (void)WriteAll(fd, holder, path);
  }
  HeldLocks()[key] = HeldLock{fd, 1};
  return std::unique_ptr<FileLock>(std::make_unique<PosixFileLock>(key));
}

namespace {

// The user's own trash folder, or its sub-folder `sub` ("files/"), as reached from the drive
// root `root`: "" unless it lies inside the drive's tree and on its volume.
std::string UserTrashBelow(const std::string& root, std::string_view sub) {
  // The user's own trash belongs to this drive only when it lies inside the drive's tree
  // and on its volume; compare real paths so that links on the way do not matter.
  const std::string trash = UserTrashFolder();
  if (trash.empty()) return {};
  const std::string real = RealPath(trash + std::string(sub));
  const std::string realRoot = RealPath(root);
  if (real.empty() || realRoot.empty() || real.rfind(realRoot, 0) != 0) return {};
  struct stat rootStat {};
  struct stat trashStat {};
  if (::stat(realRoot.c_str(), &rootStat) != 0 || ::stat(real.c_str(), &trashStat) != 0 ||
      rootStat.st_dev != trashStat.st_dev) {
    return {};
  }
  return root + real.substr(realRoot.size());
}

}  // namespace

std::vector<std::string> PosixFileSystem::recycleBinFolders(const std::string& driveRoot) {
  const std::string root = WithTrailingSlash(driveRoot);
  const std::string uid = std::to_string(::getuid());
  std::vector<std::string> folders = {root + ".Trash-" + uid + "/files/",
                                      root + ".Trash/" + uid + "/files/"};
  if (std::string own = UserTrashBelow(root, "files/"); !own.empty()) {
    folders.push_back(std::move(own));
  }
  return folders;
}

std::vector<std::string> PosixFileSystem::trashFolders(const std::string& driveRoot) {
  const std::string root = WithTrailingSlash(driveRoot);
  const std::string own = root + ".Trash-" + std::to_string(::getuid()) + "/";
  std::vector<std::string> folders = {root + ".Trash/", own};
  FolderListing listing;
  if (listFolder(root, ListWhat::kFolders, &listing).isOk()) {
    for (const DirEntry& entry : listing.entries) {
      const std::string folder = root + entry.name + "/";
      if (IsTrashOfAUser(entry.name) && folder != own) folders.push_back(folder);
    }
  }
  if (std::string user = UserTrashBelow(root, ""); !user.empty()) {
    folders.push_back(std::move(user));
  }
  return folders;
}

}  // namespace platform
