// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/testing/memory_file_system.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace platform {
namespace {

class MemoryFileSystemTest : public ::testing::Test {
 protected:
  FolderListing List(const std::string& folder, ListWhat what) {
    FolderListing listing;
    base::Status s = m_fs.listFolder(folder, what, &listing);
    EXPECT_TRUE(s.isOk()) << s.toString();
    return listing;
  }
  static std::vector<std::string> Names(const FolderListing& listing) {
    std::vector<std::string> names;
    for (const DirEntry& entry : listing.entries) names.push_back(entry.name);
    return names;
  }
  base::Status WriteWhole(const std::string& path, std::string_view data) {
    return WriteFileAtomically(m_fs, path, data);
  }

  MemoryFileSystem m_fs;
};

TEST_F(MemoryFileSystemTest, ListingsKeepCreationOrderAndAttributes) {
  m_fs.addFile("C:\\zeta.txt", 10, 100);
  m_fs.addFolder("C:\\Beta");
  m_fs.addFile("C:\\alpha.TXT", 5000000000, 200, "head");
  m_fs.addFile("C:\\io.sys", 1, 300);
  m_fs.setHidden("C:\\io.sys");
  m_fs.setSystem("C:\\io.sys");
  m_fs.addFolder("C:\\Beta\\Sub\\");

  const FolderListing files = List("C:\\", ListWhat::kFiles);
  EXPECT_EQ(Names(files), (std::vector<std::string>{"zeta.txt", "alpha.TXT", "io.sys"}));
  EXPECT_EQ(files.entries[1].size, 5000000000);
  EXPECT_EQ(files.entries[1].modified, 200);
  EXPECT_TRUE(files.entries[2].hidden);
  EXPECT_TRUE(files.entries[2].system);
  EXPECT_FALSE(m_fs.isOrdinaryFile("C:\\io.sys"));
  EXPECT_TRUE(m_fs.isOrdinaryFile("C:\\ZETA.txt"));

  const FolderListing folders = List("C:\\", ListWhat::kFolders);
  ASSERT_EQ(Names(folders), std::vector<std::string>{"Beta"});
  EXPECT_EQ(folders.entries[0].kind, EntryKind::kFolder);
  EXPECT_EQ(Names(List("c:\\BETA", ListWhat::kFolders)), std::vector<std::string>{"Sub"});

  // Reading gives the contents, even where the size says more.
  auto read = ReadWholeFile(m_fs, "C:\\ALPHA.txt");
  ASSERT_TRUE(read.isOk());
  EXPECT_EQ(read.value(), "head");
}

TEST_F(MemoryFileSystemTest, NamesDifferingInCaseAreOneFile) {
  m_fs.addTextFile("C:\\Data\\Report.txt", "one");
  ASSERT_TRUE(WriteWhole("c:\\DATA\\REPORT.TXT", "two").isOk());
  EXPECT_EQ(m_fs.namesIn("C:\\data").size(), 1u);
  EXPECT_EQ(m_fs.contents("C:\\Data\\Report.txt"), "two");
  ASSERT_TRUE(m_fs.rename("C:\\Data\\Report.txt", "C:\\Data\\REPORT.txt").isOk());
  EXPECT_EQ(m_fs.namesIn("C:\\data"), std::vector<std::string>{"REPORT.txt"});
}

TEST_F(MemoryFileSystemTest, ReplacementShowsOnlyOnCommitStampedWithTheClock) {
  m_fs.addFolder("C:\\Prog");
  m_fs.setNow(1000);
  ASSERT_TRUE(WriteWhole("C:\\Prog\\a", "x").isOk());
  m_fs.setNow(2000);
  auto file = m_fs.openForReplacing("C:\\Prog\\a");
  ASSERT_TRUE(file.isOk());
  ASSERT_TRUE(file.value()->append("y").isOk());
  ASSERT_TRUE(file.value()->close().isOk());
  // Written and synced, but not yet the file: it can be read where it is.
  EXPECT_EQ(m_fs.contents("C:\\Prog\\a"), "x");
  EXPECT_EQ(m_fs.modificationTime("C:\\Prog\\a").value(), 1000);
  EXPECT_EQ(ReadWholeFile(m_fs, file.value()->temporaryPath()).value(), "y");
  ASSERT_TRUE(file.value()->commit().isOk());
  EXPECT_EQ(m_fs.contents("C:\\Prog\\a"), "y");
  EXPECT_EQ(m_fs.modificationTime("C:\\Prog\\a").value(), 2000);
  EXPECT_EQ(m_fs.namesIn("C:\\Prog"), std::vector<std::string>{"a"});
  EXPECT_FALSE(file.value()->commit().isOk());

  m_fs.setNow(3000);
  ASSERT_TRUE(CopyFile(m_fs, "C:\\Prog\\a", "C:\\Prog\\b").isOk());
  EXPECT_EQ(m_fs.modificationTime("C:\\Prog\\b").value(), 3000);
  EXPECT_EQ(m_fs.contents("C:\\Prog\\b"), "y");
}

TEST_F(MemoryFileSystemTest, AbandonedReplacementLeavesNothingAndStaleOnesAreSwept) {
  m_fs.addTextFile("C:\\Prog\\a", "old");
  {
    auto dropped = m_fs.openForReplacing("C:\\Prog\\a");
    ASSERT_TRUE(dropped.isOk());
    ASSERT_TRUE(dropped.value()->append("new").isOk());
    EXPECT_EQ(m_fs.namesIn("C:\\Prog").size(), 2u);
  }
  EXPECT_EQ(m_fs.namesIn("C:\\Prog"), std::vector<std::string>{"a"});

  // What a killed writer leaves goes; a live writer's temporary stays, and so does a file
  // that only looks like one.
  const std::string left = "C:\\Prog\\" + TemporaryName("a", 99, "7");
  m_fs.addTextFile(left, "partial");
  m_fs.addTextFile("C:\\Prog\\budget.copy-77-0", "the user's");
  auto live = m_fs.openForReplacing("C:\\Prog\\a");
  ASSERT_TRUE(live.isOk());
  m_fs.removeStaleTemporaries("C:\\Prog\\");
  EXPECT_FALSE(m_fs.exists(left));
  EXPECT_TRUE(m_fs.exists("C:\\Prog\\budget.copy-77-0"));
  EXPECT_TRUE(m_fs.exists(live.value()->temporaryPath()));
  EXPECT_EQ(m_fs.contents("C:\\Prog\\a"), "old");
}

TEST_F(MemoryFileSystemTest, EveryWriteStepFailsInTurnAndLeavesTheOldFile) {
  m_fs.addTextFile("C:\\Prog\\ignore.txt", "old");
  const std::uint64_t before = m_fs.writeSteps();
  ASSERT_TRUE(WriteWhole("C:\\Prog\\ignore.txt", "new").isOk());
  const std::uint64_t steps = m_fs.writeSteps() - before;
  EXPECT_EQ(steps, 4u);  // create the temporary, append, sync, rename
  for (std::uint64_t step = 1; step <= steps; ++step) {
    m_fs.addTextFile("C:\\Prog\\ignore.txt", "old");
    m_fs.failWriteStep(step);
    base::Status s = WriteWhole("C:\\Prog\\ignore.txt", "new");
    EXPECT_NE(s.message().find("injected failure"), std::string::npos) << step;
    EXPECT_EQ(m_fs.contents("C:\\Prog\\ignore.txt"), "old") << step;
    EXPECT_EQ(m_fs.namesIn("C:\\Prog"), std::vector<std::string>{"ignore.txt"}) << step;
  }
  ASSERT_TRUE(WriteWhole("C:\\Prog\\ignore.txt", "new").isOk());
}

TEST_F(MemoryFileSystemTest, LocksNestAndAnotherHolderIsBusy) {
  m_fs.addFolder("C:\\Prog");
  {
    auto first = m_fs.tryLockFile("C:\\Prog\\brinvale.lock", "12\n", nullptr);
    ASSERT_TRUE(first.isOk());
    auto nested = m_fs.tryLockFile("C:\\Prog\\brinvale.lock", "13\n", nullptr);
    ASSERT_TRUE(nested.isOk());
    EXPECT_EQ(m_fs.contents("C:\\Prog\\brinvale.lock"), "12\n");
  }
  m_fs.holdLockElsewhere("C:\\Prog\\brinvale.lock", "77\n");
  std::string holder;
  auto refused = m_fs.tryLockFile("C:\\Prog\\brinvale.lock", "12\n", &holder);
  EXPECT_TRUE(refused.status().isBusy());
  EXPECT_EQ(holder, "77\n");
}

TEST_F(MemoryFileSystemTest, FolderThatCannotBeListed) {
  m_fs.addFile("C:\\Locked\\f", 1, 1);
  m_fs.failListing("C:\\Locked\\", base::Status::permissionDenied("C:\\Locked\\"));
  FolderListing listing;
  EXPECT_EQ(m_fs.listFolder("C:\\locked\\", ListWhat::kFiles, &listing).code(),
            base::Status::Code::kPermissionDenied);
  EXPECT_TRUE(listing.entries.empty());
  EXPECT_TRUE(m_fs.listFolder("D:\\", ListWhat::kFolders, &listing).isNotFound());
  EXPECT_EQ(m_fs.listFolder("C:\\Locked\\f\\", ListWhat::kFiles, &listing).code(),
            base::Status::Code::kNotAFolder);
}

TEST_F(MemoryFileSystemTest, FileThatVanishesIsLeftOutSilently) {
  m_fs.addFile("C:\\a", 1, 1);
  m_fs.addFile("C:\\b", 2, 2);
  m_fs.addFile("C:\\c", 3, 3);
  m_fs.vanishOnStat("C:\\B");
  // Folders are not examined in a file listing, so it is still there for them.
  EXPECT_TRUE(List("C:\\", ListWhat::kFolders).entries.empty());
  const FolderListing listing = List("C:\\", ListWhat::kFiles);
  EXPECT_EQ(Names(listing), (std::vector<std::string>{"a", "c"}));
  EXPECT_TRUE(listing.problems.empty());
  EXPECT_FALSE(m_fs.exists("C:\\b"));
}

TEST_F(MemoryFileSystemTest, FileThatCannotBeExaminedIsAProblem) {
  m_fs.addFile("C:\\a", 1, 1);
  m_fs.addFile("C:\\b", 2, 2);
  m_fs.addFolder("C:\\sub");
  m_fs.failStat("C:\\b", base::Status::ioError("C:\\b: bad sector"));
  m_fs.failStat("C:\\sub", base::Status::permissionDenied("C:\\sub"));
  const FolderListing files = List("C:\\", ListWhat::kFiles);
  EXPECT_EQ(Names(files), std::vector<std::string>{"a"});
  ASSERT_EQ(files.problems.size(), 1u);
  EXPECT_EQ(files.problems[0].message(), "C:\\b: bad sector");
  EXPECT_EQ(m_fs.modificationTime("C:\\b").status().code(), base::Status::Code::kIoError);
  const FolderListing folders = List("C:\\", ListWhat::kFolders);
  EXPECT_TRUE(folders.entries.empty());
  ASSERT_EQ(folders.problems.size(), 1u);
}

TEST_F(MemoryFileSystemTest, WriteThatFailsPartWay) {
  m_fs.addFolder("C:\\Prog");
  m_fs.failWritesAfter("C:\\Prog\\Prof_C_.bvp", 10);
  {
    auto file = m_fs.openForReplacing("C:\\Prog\\Prof_C_.bvp");
    ASSERT_TRUE(file.isOk());
    ASSERT_TRUE(file.value()->append("123456").isOk());
    base::Status full = file.value()->append("789abc");
    EXPECT_EQ(full.code(), base::Status::Code::kIoError);
    EXPECT_NE(full.message().find("disk full"), std::string::npos);
    EXPECT_FALSE(file.value()->append("d").isOk());
    EXPECT_EQ(ReadWholeFile(m_fs, file.value()->temporaryPath()).value(), "123456789a");
    EXPECT_FALSE(file.value()->close().isOk());
    EXPECT_FALSE(file.value()->commit().isOk());
  }
  EXPECT_TRUE(m_fs.namesIn("C:\\Prog").empty());

  // Whole-file writes and copies that would pass the limit leave the old file.
  m_fs.addTextFile("C:\\Prog\\ignore.txt", "old");
  m_fs.failWritesAfter("C:\\Prog\\ignore.txt", 3);
  m_fs.addTextFile("C:\\Prog\\long", "longer than three");
  EXPECT_FALSE(CopyFile(m_fs, "C:\\Prog\\long", "C:\\Prog\\ignore.txt").isOk());
  EXPECT_EQ(m_fs.contents("C:\\Prog\\ignore.txt"), "old");
}

TEST_F(MemoryFileSystemTest, AtomicWriteWithAFailingRenameKeepsTheOldFile) {
  m_fs.addTextFile("C:\\Prog\\ignore.txt", "old");
  m_fs.failRename("C:\\Prog\\ignore.txt");
  EXPECT_FALSE(WriteFileAtomically(m_fs, "C:\\Prog\\ignore.txt", "new").isOk());
  EXPECT_EQ(m_fs.contents("C:\\Prog\\ignore.txt"), "old");
  EXPECT_EQ(m_fs.namesIn("C:\\Prog"), std::vector<std::string>{"ignore.txt"});
  m_fs.clearFaults();
  ASSERT_TRUE(WriteFileAtomically(m_fs, "C:\\Prog\\ignore.txt", "new").isOk());
  EXPECT_EQ(m_fs.contents("C:\\Prog\\ignore.txt"), "new");
}

TEST_F(MemoryFileSystemTest, AFailedSyncFailsTheCommitAndKeepsTheOldFile) {
  m_fs.addTextFile("C:\\Prog\\report.rtf", "old");
  m_fs.failSync("C:\\Prog\\Report.rtf");
  const base::Status failed = WriteFileAtomically(m_fs, "C:\\Prog\\report.rtf", "new");
  EXPECT_EQ(failed.systemError(), EIO);
  EXPECT_EQ(failed.message(), "C:\\Prog\\report.rtf: Input/output error");
  EXPECT_EQ(m_fs.contents("C:\\Prog\\report.rtf"), "old");
  EXPECT_EQ(m_fs.namesIn("C:\\Prog"), std::vector<std::string>{"report.rtf"});
  // A work file is never forced to the disk, so its sync cannot fail.
  auto work = m_fs.openForReplacing("C:\\Prog\\report.rtf", Durability::kWorkFile);
  ASSERT_TRUE(work.isOk());
  ASSERT_TRUE(work.value()->append("work").isOk());
  EXPECT_TRUE(work.value()->commit().isOk());
  m_fs.clearFaults();
  EXPECT_TRUE(WriteFileAtomically(m_fs, "C:\\Prog\\report.rtf", "new").isOk());
}

TEST_F(MemoryFileSystemTest, AReaderKnowsTheSizeGivenToItsFile) {
  m_fs.addTextFile("C:\\Prog\\short.txt", "four");
  m_fs.addFile("C:\\Prog\\huge.txt", std::int64_t{1} << 40, 0, "start");
  EXPECT_EQ(m_fs.openForReading("C:\\Prog\\short.txt").value()->size(), 4u);
  EXPECT_EQ(m_fs.openForReading("C:\\Prog\\huge.txt").value()->size(), std::uint64_t{1} << 40);
}

TEST_F(MemoryFileSystemTest, OpenFailures) {
  m_fs.addTextFile("C:\\Prog\\Prof_C_.bvp", "x");
  m_fs.failOpen("C:\\Prog\\Prof_C_.bvp", base::Status::permissionDenied("C:\\Prog\\Prof_C_.bvp"));
  EXPECT_EQ(m_fs.openForReading("C:\\Prog\\prof_c_.bvp").status().code(),
            base::Status::Code::kPermissionDenied);
  EXPECT_FALSE(m_fs.openForReplacing("C:\\Prog\\Prof_C_.bvp").isOk());
  EXPECT_FALSE(CopyFile(m_fs, "C:\\Prog\\Prof_C_.bvp", "C:\\Prog\\copy").isOk());
  EXPECT_FALSE(m_fs.exists("C:\\Prog\\copy"));
  // Writing where the folder is missing, or is a file, or over a folder fails as on a
  // real disk; reading a folder is refused.
  EXPECT_TRUE(m_fs.openForReplacing("C:\\Nowhere\\f").status().isNotFound());
  EXPECT_EQ(m_fs.openForReplacing("C:\\Prog\\Prof_C_.bvp\\f").status().code(),
            base::Status::Code::kNotAFolder);
  EXPECT_FALSE(m_fs.openForReplacing("C:\\Prog").isOk());
  EXPECT_EQ(m_fs.openForReading("C:\\Prog").status().systemError(), EISDIR);
  EXPECT_EQ(m_fs.openForReading("/etc/passwd").status().code(),
            base::Status::Code::kInvalidArgument);
  EXPECT_EQ(m_fs.namesIn("C:\\Prog"), std::vector<std::string>{"Prof_C_.bvp"});
}

TEST_F(MemoryFileSystemTest, RenamingAFolderTakesItsTreeAlong) {
  m_fs.addFile("C:\\Old\\Sub\\deep.txt", 4, 4, "deep");
  m_fs.addFile("C:\\Old\\top.txt", 3, 3);
  ASSERT_TRUE(m_fs.rename("C:\\old", "C:\\New").isOk());
  EXPECT_FALSE(m_fs.exists("C:\\Old"));
  EXPECT_EQ(m_fs.contents("C:\\new\\sub\\DEEP.txt"), "deep");
  EXPECT_EQ(m_fs.namesIn("C:\\New"), (std::vector<std::string>{"Sub", "top.txt"}));
  EXPECT_EQ(m_fs.namesIn("C:\\"), std::vector<std::string>{"New"});
  EXPECT_FALSE(m_fs.rename("C:\\New", "C:\\New\\Sub\\Inside").isOk());
}

TEST_F(MemoryFileSystemTest, CreateFoldersRemoveAndRecycleBin) {
  m_fs.addTextFile("C:\\BV3.Def", "0123456789");

  ASSERT_TRUE(m_fs.createFolders("C:\\Prog\\Reports\\").isOk());
  EXPECT_TRUE(m_fs.isFolder("c:\\prog\\reports"));
  EXPECT_EQ(m_fs.createFolders("C:\\BV3.Def\\x").code(), base::Status::Code::kNotAFolder);

  ASSERT_TRUE(m_fs.remove("C:\\bv3.def").isOk());
  EXPECT_TRUE(m_fs.remove("C:\\BV3.Def").isNotFound());
  EXPECT_FALSE(m_fs.remove("C:\\Prog").isOk());
  EXPECT_EQ(m_fs.recycleBinFolders("C:\\"), std::vector<std::string>{"C:\\RECYCLED\\"});
}

}  // namespace
}  // namespace platform
