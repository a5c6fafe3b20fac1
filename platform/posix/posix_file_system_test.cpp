// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/posix_file_system.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <thread>

#include "platform/testing/other_process.h"
#include "platform/testing/temp_folder.h"

namespace platform {
namespace {

class PosixFileSystemTest : public ::testing::Test {
 protected:
  std::string Path(const std::string& relative) const { return m_root + relative; }

  void Write(const std::string& relative, const std::string& content, time_t mtime = 0) {
    std::ofstream(Path(relative), std::ios::binary) << content;
    if (mtime != 0) {
      const timespec times[2] = {{mtime, 0}, {mtime, 0}};
      ASSERT_EQ(::utimensat(AT_FDCWD, Path(relative).c_str(), times, AT_SYMLINK_NOFOLLOW), 0);
    }
  }
  void MakeFolder(const std::string& relative) {
    ASSERT_EQ(::mkdir(Path(relative).c_str(), 0755), 0);
  }
  std::string Read(const std::string& relative) {
    auto data = ReadWholeFile(m_fs, Path(relative));
    EXPECT_TRUE(data.isOk()) << data.status().toString();
    return data.isOk() ? data.value() : "";
  }

  // The listing of a folder below the root, by name.
  std::map<std::string, DirEntry> List(const std::string& relative, ListWhat what) {
    FolderListing listing;
    base::Status s = m_fs.listFolder(Path(relative), what, &listing);
    EXPECT_TRUE(s.isOk()) << s.toString();
    EXPECT_TRUE(listing.problems.empty());
    std::map<std::string, DirEntry> byName;
    for (const DirEntry& entry : listing.entries) {
      EXPECT_TRUE(byName.emplace(entry.name, entry).second) << "listed twice: " << entry.name;
    }
    return byName;
  }

  PosixFileSystem m_fs;
  TempFolder m_temp;
  const std::string m_root = m_temp.path();
};

TEST_F(PosixFileSystemTest, FilesCarryTheirSizeTimeAndHiddenFlag) {
  Write("plain.txt", "12345", 909532982);  // 1998-10-28 00:03:02 UTC
  Write(".hidden", "xy", 1000000000);
  Write("empty", "");
  MakeFolder("sub");
  const auto files = List("", ListWhat::kFiles);
  ASSERT_EQ(files.size(), 3u);
  EXPECT_EQ(files.at("plain.txt").kind, EntryKind::kFile);
  EXPECT_EQ(files.at("plain.txt").size, 5);
  EXPECT_EQ(files.at("plain.txt").modified, 909532982);
  EXPECT_FALSE(files.at("plain.txt").hidden);
  EXPECT_TRUE(files.at(".hidden").hidden);
  EXPECT_EQ(files.at(".hidden").modified, 1000000000);
  EXPECT_EQ(files.at("empty").size, 0);
  EXPECT_FALSE(files.at("empty").system);
}

TEST_F(PosixFileSystemTest, FolderListingHoldsOnlySubFolders) {
  Write("file", "x");
  MakeFolder("a");
  MakeFolder("a b");
  MakeFolder(".config");
  MakeFolder("version.1.2");
  const auto folders = List("", ListWhat::kFolders);
  ASSERT_EQ(folders.size(), 4u);
  for (const auto& [name, entry] : folders) EXPECT_EQ(entry.kind, EntryKind::kFolder) << name;
  EXPECT_TRUE(folders.at(".config").hidden);
  EXPECT_FALSE(folders.at("version.1.2").hidden);
  EXPECT_FALSE(folders.contains("file"));
  EXPECT_TRUE(List("a", ListWhat::kFolders).empty());
}

TEST_F(PosixFileSystemTest, OneReadingListsFilesAndFoldersTogether) {
  Write("file", "12345", 909532982);
  MakeFolder("leaf");
  MakeFolder("parent");
  MakeFolder("parent/child");
  const auto both = List("", ListWhat::kFilesAndFolders);
  ASSERT_EQ(both.size(), 3u);
  EXPECT_EQ(both.at("file").kind, EntryKind::kFile);
  EXPECT_EQ(both.at("file").size, 5);
  EXPECT_EQ(both.at("file").modified, 909532982);
  EXPECT_EQ(both.at("leaf").kind, EntryKind::kFolder);
  EXPECT_EQ(both.at("parent").kind, EntryKind::kFolder);
  // The sub-folder flags are those of a folder listing, whatever the file system trusts.
  const auto folders = List("", ListWhat::kFolders);
  EXPECT_EQ(both.at("leaf").noSubfolders, folders.at("leaf").noSubfolders);
  EXPECT_FALSE(both.at("parent").noSubfolders);
}

TEST_F(PosixFileSystemTest, ScratchSpaceGivesBackWhatWasWrittenAndLeavesNothing) {
  const char* const before = std::getenv("TMPDIR");
  const std::string kept = before != nullptr ? before : "";
  MakeFolder("tmp");
  ASSERT_EQ(::setenv("TMPDIR", Path("tmp").c_str(), 1), 0);
  auto scratch = m_fs.openScratch();
  ASSERT_NE(scratch, nullptr);
  std::string written;
  for (int i = 0; i < 300; ++i) {
    const std::string piece(static_cast<std::size_t>(i * 37 % 5000),
                            static_cast<char>('a' + i % 26));
    ASSERT_TRUE(scratch->append(piece).isOk());
    written += piece;
  }
  EXPECT_TRUE(std::filesystem::is_empty(Path("tmp")));
  std::string back(1000, '\0');
  ASSERT_TRUE(scratch->readAt(written.size() - 1000, 1000, back.data()).isOk());
  EXPECT_EQ(back, written.substr(written.size() - 1000));
  EXPECT_FALSE(scratch->readAt(written.size() - 10, 11, back.data()).isOk());
  scratch.reset();

  // A TMPDIR that is not there is passed over, not fatal.
  ASSERT_EQ(::setenv("TMPDIR", Path("missing").c_str(), 1), 0);
  EXPECT_NE(m_fs.openScratch(), nullptr);
  if (before != nullptr) {
    ::setenv("TMPDIR", kept.c_str(), 1);
  } else {
    ::unsetenv("TMPDIR");
  }
}

TEST_F(PosixFileSystemTest, SymbolicLinksAreFilesAndNeverFollowed) {
  Write("target.txt", std::string(1000, 'x'));
  MakeFolder("dir");
  Write("dir/inside", "y");
  ASSERT_EQ(::symlink("target.txt", Path("to-file").c_str()), 0);
  ASSERT_EQ(::symlink("dir", Path("to-folder").c_str()), 0);
  ASSERT_EQ(::symlink("no/such/thing", Path("dangling").c_str()), 0);

  const auto files = List("", ListWhat::kFiles);
  ASSERT_EQ(files.size(), 4u);
  // A link's own size is the length of the text it points to.
  EXPECT_EQ(files.at("to-file").size, 10);
  EXPECT_EQ(files.at("to-folder").size, 3);
  EXPECT_EQ(files.at("dangling").size, 13);
  EXPECT_EQ(files.at("dangling").kind, EntryKind::kFile);

  const auto folders = List("", ListWhat::kFolders);
  EXPECT_EQ(folders.size(), 1u);
  EXPECT_TRUE(folders.contains("dir"));

  // A link given as the folder to list is not followed either.
  FolderListing listing;
  EXPECT_EQ(m_fs.listFolder(Path("to-folder/"), ListWhat::kFiles, &listing).code(),
            base::Status::Code::kNotAFolder);
  EXPECT_FALSE(m_fs.isFolder(Path("to-folder")));
  EXPECT_FALSE(m_fs.isOrdinaryFile(Path("to-file")));
}

// The entry `name` of a tree listing; fails the test when it is missing.
DirEntry EntryOf(const FolderListing& listing, const std::string& name) {
  for (const DirEntry& entry : listing.entries) {
    if (entry.name == name) return entry;
  }
  ADD_FAILURE() << name << " is not listed";
  return {};
}

TEST_F(PosixFileSystemTest, TreeRefusesAFolderSwappedForALinkAfterItsParentWasListed) {
  MakeFolder("tree");
  MakeFolder("tree/sw");
  MakeFolder("tree/sw/sub");
  Write("tree/sw/sub/mine.txt", "m");
  MakeFolder("secret");
  MakeFolder("secret/sub");
  Write("secret/sub/secret.txt", "s");
  Write("secret/top.txt", "t");
  auto tree = m_fs.openTree(Path("tree/"));
  ASSERT_TRUE(tree.isOk()) << tree.status().toString();
  const std::string root = Path("tree/");
  EXPECT_EQ(tree.value()->root(), root);

  FolderListing listing;
  ASSERT_TRUE(
      tree.value()->list(root, tree.value()->rootId(), ListWhat::kFolders, &listing).isOk());
  const FileId sw = EntryOf(listing, "sw").id;
  ASSERT_TRUE(sw.known());
  ASSERT_TRUE(tree.value()->list(root + "sw/", sw, ListWhat::kFolders, &listing).isOk());
  const FileId sub = EntryOf(listing, "sub").id;

  // Now the folder that was listed becomes a link to a place outside the tree.
  ASSERT_EQ(::rename(Path("tree/sw").c_str(), Path("tree/sw.old").c_str()), 0);
  ASSERT_EQ(::symlink("../secret", Path("tree/sw").c_str()), 0);
  for (const auto& [folder, id] : {std::pair{root + "sw/", sw}, std::pair{root + "sw/sub/", sub},
                                   std::pair{root + "sw/sub/", FileId()}}) {
    base::Status s = tree.value()->list(folder, id, ListWhat::kFilesAndFolders, &listing);
    EXPECT_EQ(s.code(), base::Status::Code::kNotAFolder) << folder << ": " << s.toString();
    EXPECT_NE(s.message().find(folder), std::string::npos) << s.message();
    EXPECT_TRUE(listing.entries.empty());
  }

  // A real folder put in the place of the one listed is not the one listed either.
  ASSERT_EQ(::unlink(Path("tree/sw").c_str()), 0);
  MakeFolder("tree/sw");
  base::Status s = tree.value()->list(root + "sw/", sw, ListWhat::kFiles, &listing);
  EXPECT_EQ(s.code(), base::Status::Code::kNotAFolder) << s.toString();
  // The folder that was listed is still itself under its new name.
  EXPECT_TRUE(tree.value()->list(root + "sw.old/", sw, ListWhat::kFolders, &listing).isOk());
  EXPECT_EQ(EntryOf(listing, "sub").id, sub);
}

TEST_F(PosixFileSystemTest, TreeReachesFoldersFarBeyondThePathLimitAndStopsAtItsOwn) {
  // 1000 folders deep, a file in each: some 10,000 bytes of path, beyond PATH_MAX.
  MakeFolder("deep");
  int fd = ::open(Path("deep").c_str(), O_RDONLY | O_DIRECTORY);
  ASSERT_GE(fd, 0);
  const std::string name = "level-abc";
  for (int depth = 0; depth <= 1000; ++depth) {
    const int file = ::openat(fd, "file.txt", O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(file, 0);
    ::close(file);
    if (depth == 1000) break;
    ASSERT_EQ(::mkdirat(fd, name.c_str(), 0755), 0);
    const int next = ::openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY);
    ::close(fd);
    ASSERT_GE(next, 0);
    fd = next;
  }
  ::close(fd);
  auto tree = m_fs.openTree(Path("deep/"));
  ASSERT_TRUE(tree.isOk());
  std::string folder = Path("deep/");
  FileId id = tree.value()->rootId();
  int depth = 0;
  for (;; ++depth) {
    FolderListing listing;
    base::Status s = tree.value()->list(folder, id, ListWhat::kFilesAndFolders, &listing);
    ASSERT_TRUE(s.isOk()) << "depth " << depth << ": " << s.toString().substr(0, 200);
    EXPECT_EQ(EntryOf(listing, "file.txt").kind, EntryKind::kFile);
    if (listing.entries.size() == 1) break;
    id = EntryOf(listing, name).id;
    folder += name + "/";
  }
  EXPECT_EQ(depth, 1000);
  EXPECT_GT(folder.size(), 10000u);

  // Past the one limit every part of the program keeps, a folder is refused by its length.
  FolderListing listing;
  const std::string tooLong = Path("deep/") + std::string(kMaxFolderPath, 'x') + "/";
  base::Status s = tree.value()->list(tooLong, FileId(), ListWhat::kFiles, &listing);
  EXPECT_EQ(s.code(), base::Status::Code::kInvalidArgument);
  EXPECT_NE(s.message().find("path longer than 32,000 bytes"), std::string::npos);
}

TEST_F(PosixFileSystemTest, FifosAndSocketsAreNeverListed) {
  ASSERT_EQ(::mkfifo(Path("pipe").c_str(), 0644), 0);
  Write("real", "r");
  EXPECT_EQ(List("", ListWhat::kFiles).size(), 1u);
  EXPECT_TRUE(List("", ListWhat::kFolders).empty());
}

TEST_F(PosixFileSystemTest, OddNamesComeBackByteForByte) {
  const std::vector<std::string> names = {"a,b",         "say \"hi\"", "two\nlines",  "Con 자백",
                                          "caf\xC3\xA9", "tab\there",  "back\\slash", "|7C"};
  for (const std::string& name : names) Write(name, name);
  const auto files = List("", ListWhat::kFiles);
  ASSERT_EQ(files.size(), names.size());
  for (const std::string& name : names) {
    ASSERT_TRUE(files.contains(name)) << name;
    EXPECT_EQ(files.at(name).size, static_cast<std::int64_t>(name.size()));
  }
}

TEST_F(PosixFileSystemTest, FourGibibyteSparseFileHasItsTrueSize) {
  constexpr off_t kSize = (off_t{4} << 30) + 1;
  const int fd = ::open(Path("big.bin").c_str(), O_WRONLY | O_CREAT, 0644);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::ftruncate(fd, kSize), 0);
  ::close(fd);
  EXPECT_EQ(List("", ListWhat::kFiles).at("big.bin").size, kSize);
  auto reader = m_fs.openForReading(Path("big.bin"));
  ASSERT_TRUE(reader.isOk()) << reader.status().toString();
  EXPECT_EQ(reader.value()->size(), std::uint64_t(kSize));
}

// The size a reader gives is that of the file it reads, whatever its name comes to stand for.
TEST_F(PosixFileSystemTest, AReadersSizeIsThatOfTheFileItOpened) {
  Write("report.txt", "short");
  auto reader = m_fs.openForReading(Path("report.txt"));
  ASSERT_TRUE(reader.isOk());
  ASSERT_TRUE(WriteFileAtomically(m_fs, Path("report.txt"), "a good deal longer").isOk());
  EXPECT_EQ(reader.value()->size(), 5u);
  char bytes[32];
  std::size_t got = 0;
  ASSERT_TRUE(reader.value()->read(sizeof bytes, bytes, &got).isOk());
  EXPECT_EQ(std::string(bytes, got), "short");
}

TEST_F(PosixFileSystemTest, FolderFailuresSayWhatWentWrong) {
  Write("file", "x");
  FolderListing listing;
  listing.entries.push_back(DirEntry{});
  base::Status s = m_fs.listFolder(Path("missing/"), ListWhat::kFiles, &listing);
  EXPECT_TRUE(s.isNotFound());
  EXPECT_NE(s.message().find(Path("missing/")), std::string::npos) << s.message();
  EXPECT_TRUE(listing.entries.empty());
  EXPECT_EQ(m_fs.listFolder(Path("file/"), ListWhat::kFiles, &listing).code(),
            base::Status::Code::kNotAFolder);
}

TEST_F(PosixFileSystemTest, UnreadableSubFolderIsPermissionDenied) {
  if (::geteuid() == 0) GTEST_SKIP() << "permission bits do not stop root";
  MakeFolder("locked");
  Write("locked/secret", "s");
  ASSERT_EQ(::chmod(Path("locked").c_str(), 0), 0);
  FolderListing listing;
  base::Status s = m_fs.listFolder(Path("locked/"), ListWhat::kFiles, &listing);
  ::chmod(Path("locked").c_str(), 0755);
  EXPECT_EQ(s.code(), base::Status::Code::kPermissionDenied);
}

TEST_F(PosixFileSystemTest, UnsearchableFolderIsPermissionDeniedNotEachOfItsFiles) {
  if (::geteuid() == 0) GTEST_SKIP() << "permission bits do not stop root";
  MakeFolder("noexec");
  Write("noexec/a", "1");
  Write("noexec/b", "2");
  MakeFolder("noexec/sub");
  ASSERT_EQ(::chmod(Path("noexec").c_str(), 0444), 0);  // readable, not searchable
  for (ListWhat what : {ListWhat::kFiles, ListWhat::kFolders, ListWhat::kFilesAndFolders}) {
    FolderListing listing;
    base::Status s = m_fs.listFolder(Path("noexec/"), what, &listing);
    EXPECT_EQ(s.code(), base::Status::Code::kPermissionDenied) << s.toString();
    EXPECT_NE(s.message().find(Path("noexec/")), std::string::npos);
    EXPECT_TRUE(listing.entries.empty());
    EXPECT_TRUE(listing.problems.empty());
  }
  ::chmod(Path("noexec").c_str(), 0755);
}

TEST_F(PosixFileSystemTest, MountPointsAreNotOrdinaryFolders) {
  // /proc is a volume of its own on every Linux system that runs these tests.
  struct stat rootStat {};
  struct stat procStat {};
  if (::stat("/", &rootStat) != 0 || ::stat("/proc", &procStat) != 0 ||
      rootStat.st_dev == procStat.st_dev) {
    GTEST_SKIP() << "/proc is not a separate mount here";
  }
  FolderListing listing;
  ASSERT_TRUE(m_fs.listFolder("/", ListWhat::kFolders, &listing).isOk());
  auto proc = std::find_if(listing.entries.begin(), listing.entries.end(),
                           [](const DirEntry& e) { return e.name == "proc"; });
  ASSERT_NE(proc, listing.entries.end());
  EXPECT_EQ(proc->kind, EntryKind::kOther);
}

TEST_F(PosixFileSystemTest, ReplacementShowsOnlyOnCommitAndKeepsThePermissions) {
  Write("stream", "old");
  ASSERT_EQ(::chmod(Path("stream").c_str(), 0640), 0);
  // Appends of every size around the buffer, so that both the buffered and the direct
  // path and the seam between them are crossed.
  std::string expected;
  auto file = m_fs.openForReplacing(Path("stream"));
  ASSERT_TRUE(file.isOk());
  for (std::size_t size : {1u, 100u, 262143u, 262144u, 262145u, 7u, 600000u, 3u}) {
    std::string chunk(size, static_cast<char>('a' + expected.size() % 26));
    expected += chunk;
    ASSERT_TRUE(file.value()->append(chunk).isOk());
  }
  ASSERT_TRUE(file.value()->close().isOk());
  EXPECT_FALSE(file.value()->append("late").isOk());
  const std::string temporary = file.value()->temporaryPath();
  EXPECT_EQ(temporary.rfind(m_root + ".stream.brinvale-" + std::to_string(::getpid()) + "-", 0), 0u)
      << temporary;
  EXPECT_EQ(Read("stream"), "old");
  EXPECT_EQ(ReadWholeFile(m_fs, temporary).value(), expected);
  ASSERT_TRUE(file.value()->commit().isOk());
  EXPECT_EQ(Read("stream"), expected);
  EXPECT_FALSE(std::filesystem::exists(temporary));
  struct stat st {};
  ASSERT_EQ(::stat(Path("stream").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);

  ASSERT_TRUE(CopyFile(m_fs, Path("stream"), Path("copy")).isOk());
  EXPECT_EQ(Read("copy"), expected);
  EXPECT_TRUE(CopyFile(m_fs, Path("nothing"), Path("copy")).isNotFound());
  EXPECT_EQ(List("", ListWhat::kFiles).size(), 2u);

  // A work file skips only the wait for the disk: it still shows only on commit, whole.
  auto work = m_fs.openForReplacing(Path("copy"), Durability::kWorkFile);
  ASSERT_TRUE(work.isOk());
  ASSERT_TRUE(work.value()->append("work").isOk());
  ASSERT_TRUE(work.value()->close().isOk());
  EXPECT_EQ(Read("copy"), expected);
  ASSERT_TRUE(work.value()->commit().isOk());
  EXPECT_EQ(Read("copy"), "work");
}

TEST_F(PosixFileSystemTest, LinksAreReplacedNeverWrittenThrough) {
  Write("victim", "precious");
  std::filesystem::create_symlink(Path("victim"), Path("report.txt"));
  std::filesystem::create_symlink(Path("nowhere"), Path("dangling"));
  ASSERT_TRUE(WriteFileAtomically(m_fs, Path("report.txt"), "report").isOk());
  ASSERT_TRUE(WriteFileAtomically(m_fs, Path("dangling"), "new").isOk());
  EXPECT_EQ(Read("victim"), "precious");
  EXPECT_FALSE(std::filesystem::is_symlink(Path("report.txt")));
  EXPECT_EQ(Read("report.txt"), "report");
  EXPECT_EQ(Read("dangling"), "new");
  EXPECT_FALSE(std::filesystem::exists(Path("nowhere")));

  // A link planted at the name the next temporary will take is not followed either: the
  // writer takes another name.
  auto probe = m_fs.openForReplacing(Path("out"));
  ASSERT_TRUE(probe.isOk());
  const std::string used = probe.value()->temporaryPath();
  probe.value()->abandon();
  const std::size_t dash = used.rfind('-');
  const std::string next =
      used.substr(0, dash + 1) + std::to_string(std::stoul(used.substr(dash + 1)) + 1);
  std::filesystem::create_symlink(Path("victim"), next);
  ASSERT_TRUE(WriteFileAtomically(m_fs, Path("out"), "written").isOk());
  EXPECT_EQ(Read("victim"), "precious");
  EXPECT_EQ(Read("out"), "written");
}

TEST_F(PosixFileSystemTest, FailedReplacementLeavesTheTargetAndNoTemporary) {
  Write("profile", "old");
  rlimit saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto oldHandler = ::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 1000;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const base::Status full = WriteFileAtomically(m_fs, Path("profile"), std::string(600000, 'p'));
  ::setrlimit(RLIMIT_FSIZE, &saved);
  ::signal(SIGXFSZ, oldHandler);
  EXPECT_FALSE(full.isOk());
  EXPECT_NE(full.message().find(Path("profile")), std::string::npos) << full.message();
  EXPECT_EQ(Read("profile"), "old");
  EXPECT_EQ(List("", ListWhat::kFiles).size(), 1u);

  MakeFolder("folder");
  EXPECT_FALSE(m_fs.openForReplacing(Path("folder")).isOk());
  const base::Status missing = m_fs.openForReplacing(Path("no/such/folder/f")).status();
  EXPECT_TRUE(missing.isNotFound());
  EXPECT_NE(missing.message().find(Path("no/such/folder/f")), std::string::npos);
  ASSERT_EQ(::mkfifo(Path("fifo").c_str(), 0600), 0);
  EXPECT_EQ(m_fs.openForReplacing(Path("fifo")).status().code(),
            base::Status::Code::kInvalidArgument);
  EXPECT_EQ(List("", ListWhat::kFiles).size(), 1u);
}

TEST_F(PosixFileSystemTest, OnlyRegularFilesAreReadAndNothingWaits) {
  Write("file", "text");
  std::filesystem::create_symlink(Path("file"), Path("link"));
  ASSERT_EQ(::mkfifo(Path("fifo").c_str(), 0600), 0);
  MakeFolder("folder");
  EXPECT_EQ(Read("link"), "text");
  // A FIFO without a writer would block an ordinary open for ever.
  for (const std::string& path : {Path("fifo"), std::string("/dev/zero")}) {
    const base::Status s = m_fs.openForReading(path).status();
    EXPECT_EQ(s.code(), base::Status::Code::kInvalidArgument) << path;
    EXPECT_NE(s.message().find(path), std::string::npos) << s.message();
  }
  // A folder fails as reading it would, with the system's number and description.
  const base::Status folder = m_fs.openForReading(Path("folder")).status();
  EXPECT_EQ(folder.systemError(), EISDIR);
  EXPECT_EQ(folder.message(), Path("folder") + ": " + std::strerror(EISDIR));
  EXPECT_TRUE(m_fs.exists(Path("fifo")));
  EXPECT_FALSE(m_fs.exists(Path("missing")));
}

TEST_F(PosixFileSystemTest, OnlyUnlockedTemporariesOfTheProgramsOwnFormAreSwept) {
  // Left by writers that are gone, whatever their process ids say (ours included: another
  // machine sharing the folder, or another pid namespace, may use the same numbers).
  const auto self = static_cast<std::uint64_t>(::getpid());
  Write(TemporaryName("Prof_C_.bvp", 1, "3"), "partial");
  Write(TemporaryName("Drive_C.txt", self, "4"), "partial");
  // A user's files that merely look like temporaries, and the program's own files.
  Write("budget.copy-4000000-2", "the user's");
  Write("Prof_D_.bvp.copy-77-0", "an earlier version's, or the user's");
  Write(".notes.brinvale-abc", "not ours");
  Write(".brinvale-12-3", "no target name");
  Write("Prof_C_.bvp", "stored");
  // Temporaries whose writers are still writing: one here, one in another process.
  auto here = m_fs.openForReplacing(Path("temp.rtf"));
  ASSERT_TRUE(here.isOk());
  const std::string elsewherePath = Path("drives.txt");
  std::string elsewhereTemporary;
  int toParent[2];
  ASSERT_EQ(::pipe(toParent), 0);
  OtherProcess writer([&]() -> std::shared_ptr<void> {
    PosixFileSystem fs;
    auto file = fs.openForReplacing(elsewherePath);
    if (!file.isOk()) return nullptr;
    const std::string& name = file.value()->temporaryPath();
    (void)!::write(toParent[1], name.data(), name.size());
    ::close(toParent[1]);
    return std::shared_ptr<ReplacementFile>(std::move(file).value());
  });
  ASSERT_TRUE(writer.took());
  ::close(toParent[1]);
  char buffer[4096];
  for (ssize_t got; (got = ::read(toParent[0], buffer, sizeof buffer)) > 0;) {
    elsewhereTemporary.append(buffer, static_cast<std::size_t>(got));
  }
  ::close(toParent[0]);

  m_fs.removeStaleTemporaries(m_root);
  std::vector<std::string> left;
  for (const auto& [name, entry] : List("", ListWhat::kFiles)) left.push_back(name);
  std::vector<std::string> expected = {".brinvale-12-3",
                                       ".notes.brinvale-abc",
                                       "Prof_C_.bvp",
                                       "Prof_D_.bvp.copy-77-0",
                                       "budget.copy-4000000-2",
                                       elsewhereTemporary.substr(m_root.size()),
                                       here.value()->temporaryPath().substr(m_root.size())};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(left, expected);

  // Once its writer is gone, the other process's temporary is stale: the lock went with it.
  writer.release();
  m_fs.removeStaleTemporaries(m_root);
  EXPECT_FALSE(m_fs.exists(elsewhereTemporary));
  EXPECT_TRUE(m_fs.exists(here.value()->temporaryPath()));
  ASSERT_TRUE(here.value()->append("whole").isOk());
  ASSERT_TRUE(here.value()->commit().isOk());
  EXPECT_EQ(Read("temp.rtf"), "whole");
}

TEST_F(PosixFileSystemTest, GuardedFolderIsMadeOpenedAndWrittenWhereItWasOpened) {
  MakeFolder("program");
  const std::string program = Path("program/");
  auto reports = m_fs.openGuardedFolder(program, "Reports");
  ASSERT_TRUE(reports.isOk()) << reports.status().toString();
  EXPECT_EQ(reports.value()->path(), program + "Reports/");
  EXPECT_TRUE(m_fs.isFolder(program + "Reports"));

  // A link put in its place once it is open is never written through, nor swept.
  MakeFolder("victim");
  Write(TemporaryName("Drive_C.rtf", 1, "2"), "");
  ASSERT_EQ(::rename(Path(TemporaryName("Drive_C.rtf", 1, "2")).c_str(),
                     Path("program/Reports/" + TemporaryName("Drive_C.rtf", 1, "2")).c_str()),
            0);
  Write("victim/" + TemporaryName("Drive_D.rtf", 1, "3"), "");
  ASSERT_EQ(::rename(Path("program/Reports").c_str(), Path("program/moved").c_str()), 0);
  ASSERT_EQ(::symlink(Path("victim").c_str(), Path("program/Reports").c_str()), 0);
  ASSERT_TRUE(WriteFileAtomically(m_fs, program + "Reports/Drive_C.rtf", "report").isOk());
  m_fs.removeStaleTemporaries(program + "Reports/");
  EXPECT_EQ(Read("program/moved/Drive_C.rtf"), "report");
  EXPECT_EQ(List("program/moved", ListWhat::kFiles).size(), 1u);  // the stale temporary went
  EXPECT_EQ(List("victim", ListWhat::kFiles).size(), 1u);
  reports.value().reset();
  // Without the guard the path is an ordinary path again.
  ASSERT_TRUE(WriteFileAtomically(m_fs, program + "Reports/Drive_C.rtf", "through").isOk());
  EXPECT_EQ(Read("victim/Drive_C.rtf"), "through");
}

TEST_F(PosixFileSystemTest, AGuardedFolderOfAGuardedFolderIsOpenedInTheOneHeld) {
  MakeFolder("program");
  MakeFolder("victim");
  const std::string program = Path("program/");
  auto history = m_fs.openGuardedFolder(program, "History");
  ASSERT_TRUE(history.isOk()) << history.status().toString();
  // History/ is swapped for a link once it is open: History/C/ is still made, opened and
  // written in the History/ that was opened, never in the link's target.
  ASSERT_EQ(::rename(Path("program/History").c_str(), Path("program/moved").c_str()), 0);
  ASSERT_EQ(::symlink(Path("victim").c_str(), Path("program/History").c_str()), 0);
  auto drive = m_fs.openGuardedFolder(history.value()->path(), "C");
  ASSERT_TRUE(drive.isOk()) << drive.status().toString();
  EXPECT_EQ(drive.value()->path(), program + "History/C/");
  ASSERT_TRUE(WriteFileAtomically(m_fs, program + "History/C/index.tsv", "index").isOk());
  EXPECT_EQ(Read("program/moved/C/index.tsv"), "index");
  EXPECT_TRUE(List("victim", ListWhat::kFilesAndFolders).empty());
}

TEST_F(PosixFileSystemTest, GuardedFolderFollowsOnlyTheProgramFolderOwnersOwnLinks) {
  MakeFolder("program");
  MakeFolder("mine");
  const std::string program = Path("program/");
  // The owner's own link to the owner's own folder (Reports -> /big/disk/reports) works.
  ASSERT_EQ(::symlink(Path("mine").c_str(), Path("program/Reports").c_str()), 0);
  {
    auto reports = m_fs.openGuardedFolder(program, "Reports");
    ASSERT_TRUE(reports.isOk()) << reports.status().toString();
    ASSERT_TRUE(WriteFileAtomically(m_fs, program + "Reports/Drive_C.rtf", "report").isOk());
    EXPECT_EQ(Read("mine/Drive_C.rtf"), "report");
  }
  // A link to a folder of another user is refused, and so is another user's link.
  std::vector<std::string> refusedLinks = {"others"};
  if (::geteuid() == 0) {
    MakeFolder("nobodys");
    ASSERT_EQ(::chown(Path("nobodys").c_str(), 65534, 65534), 0);
    ASSERT_EQ(::symlink(Path("nobodys").c_str(), Path("program/ToNobodys").c_str()), 0);
    ASSERT_EQ(::symlink(Path("mine").c_str(), Path("program/NobodysLink").c_str()), 0);
    ASSERT_EQ(::lchown(Path("program/NobodysLink").c_str(), 65534, 65534), 0);
    refusedLinks = {"ToNobodys", "NobodysLink"};
  } else {
    ASSERT_EQ(::symlink("/", Path("program/others").c_str()), 0);  // root's
  }
  for (const std::string& name : refusedLinks) {
    auto refused = m_fs.openGuardedFolder(program, name);
    ASSERT_FALSE(refused.isOk()) << name;
    EXPECT_EQ(
        refused.status().message(),
        program + name + " is a link to a folder of another user; nothing was written there.");
  }
  if (::geteuid() == 0) {
    EXPECT_TRUE(List("nobodys", ListWhat::kFiles).empty());
  }
  // Something that is no folder stays as it is.
  Write("program/afile", "x");
  EXPECT_FALSE(m_fs.openGuardedFolder(program, "afile").isOk());
  EXPECT_EQ(Read("program/afile"), "x");
}

TEST_F(PosixFileSystemTest, LockIsExclusiveBetweenProcessesAndNestsWithinOne) {
  const std::string lockPath = Path("brinvale.lock");
  OtherProcess child([&]() -> std::shared_ptr<void> {
    PosixFileSystem fs;
    auto lock = fs.tryLockFile(lockPath, "child\n", nullptr);
    return lock.isOk() ? std::shared_ptr<FileLock>(std::move(lock).value()) : nullptr;
  });
  ASSERT_TRUE(child.took());
  std::string holder;
  auto refused = m_fs.tryLockFile(lockPath, "parent\n", &holder);
  EXPECT_TRUE(refused.status().isBusy());
  EXPECT_EQ(holder, "child\n");
  child.release();  // the lock goes with the process

  auto taken = m_fs.tryLockFile(lockPath, "parent\n", nullptr);
  ASSERT_TRUE(taken.isOk()) << taken.status().toString();
  auto nested = m_fs.tryLockFile(lockPath, "again\n", nullptr);
  ASSERT_TRUE(nested.isOk()) << nested.status().toString();
  EXPECT_EQ(Read("brinvale.lock"), "parent\n");

  std::filesystem::create_symlink(Path("elsewhere"), Path("linked.lock"));
  EXPECT_EQ(m_fs.tryLockFile(Path("linked.lock"), "x", nullptr).status().code(),
            base::Status::Code::kInvalidArgument);
  EXPECT_FALSE(std::filesystem::exists(Path("elsewhere")));
}

TEST_F(PosixFileSystemTest, RenameRemoveAndPredicates) {
  Write("a", "1");
  Write(".dot", "2");
  MakeFolder("dir");
  EXPECT_TRUE(m_fs.isOrdinaryFile(Path("a")));
  EXPECT_FALSE(m_fs.isOrdinaryFile(Path(".dot")));
  EXPECT_FALSE(m_fs.isOrdinaryFile(Path("dir")));
  EXPECT_FALSE(m_fs.isOrdinaryFile(Path("missing")));
  EXPECT_TRUE(m_fs.isFolder(Path("dir/")));
  EXPECT_FALSE(m_fs.isFolder(Path("a")));

  ASSERT_TRUE(m_fs.rename(Path("a"), Path("b")).isOk());
  EXPECT_FALSE(m_fs.isOrdinaryFile(Path("a")));
  EXPECT_EQ(Read("b"), "1");
  EXPECT_TRUE(m_fs.rename(Path("a"), Path("c")).isNotFound());
  ASSERT_TRUE(m_fs.remove(Path("b")).isOk());
  EXPECT_TRUE(m_fs.remove(Path("b")).isNotFound());
  EXPECT_TRUE(m_fs.modificationTime(Path("b")).status().isNotFound());
}

TEST_F(PosixFileSystemTest, CreateFoldersMakesParentsAndRefusesFiles) {
  ASSERT_TRUE(m_fs.createFolders(Path("x/y/z/")).isOk());
  EXPECT_TRUE(m_fs.isFolder(Path("x/y/z")));
  EXPECT_TRUE(m_fs.createFolders(Path("x/y")).isOk());
  Write("x/file", "f");
  EXPECT_EQ(m_fs.createFolders(Path("x/file")).code(), base::Status::Code::kNotAFolder);
  EXPECT_FALSE(m_fs.createFolders(Path("x/file/below")).isOk());
}

TEST_F(PosixFileSystemTest, RecycleBinsOfTheDriveAndTheUsersTrashInsideIt) {
  const std::string uid = std::to_string(::getuid());
  const char* saved = std::getenv("XDG_DATA_HOME");
  const std::string savedValue = saved ? saved : "";
  MakeFolder("data");
  MakeFolder("data/Trash");
  MakeFolder("data/Trash/files");
  ::setenv("XDG_DATA_HOME", Path("data").c_str(), 1);
  const auto inside = m_fs.recycleBinFolders(m_root);
  ::setenv("XDG_DATA_HOME", "/nonexistent-brinvale", 1);
  const auto missing = m_fs.recycleBinFolders(m_root);
  ::setenv("XDG_DATA_HOME", Path("data").c_str(), 1);
  MakeFolder("drive");
  const auto outside = m_fs.recycleBinFolders(Path("drive/"));
  if (saved) {
    ::setenv("XDG_DATA_HOME", savedValue.c_str(), 1);
  } else {
    ::unsetenv("XDG_DATA_HOME");
  }

  const std::vector<std::string> own = {m_root + ".Trash-" + uid + "/files/",
                                        m_root + ".Trash/" + uid + "/files/"};
  std::vector<std::string> expected = own;
  expected.push_back(Path("data/Trash/files/"));
  EXPECT_EQ(inside, expected);
  EXPECT_EQ(missing, own);
  EXPECT_EQ(outside.size(), 2u);
}

TEST_F(PosixFileSystemTest, TrashFoldersAreEveryUsersTrashAtTheRootAndTheUsersOwnWhole) {
  const std::string uid = std::to_string(::getuid());
  const char* saved = std::getenv("XDG_DATA_HOME");
  const std::string savedValue = saved ? saved : "";
  MakeFolder("data");
  MakeFolder("data/Trash");  // no files/ yet: the trash folder is there all the same
  MakeFolder(".Trash-4711");
  MakeFolder(".Trash-" + uid);
  MakeFolder(".Trash-x");  // a user's own folder
  ::setenv("XDG_DATA_HOME", Path("data").c_str(), 1);
  const auto folders = m_fs.trashFolders(m_root);
  if (saved) {
    ::setenv("XDG_DATA_HOME", savedValue.c_str(), 1);
  } else {
    ::unsetenv("XDG_DATA_HOME");
  }

  const std::set<std::string> found(folders.begin(), folders.end());
  EXPECT_EQ(found.size(), folders.size());
  EXPECT_EQ(found, (std::set<std::string>{m_root + ".Trash/", m_root + ".Trash-" + uid + "/",
                                          m_root + ".Trash-4711/", Path("data/Trash/")}));
}

}  // namespace
}  // namespace platform
