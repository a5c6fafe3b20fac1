// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/drive_letters.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>

#include "platform/posix/posix_file_system.h"
#include "platform/run_lock.h"
#include "platform/testing/memory_file_system.h"
#include "platform/testing/other_process.h"
#include "platform/testing/temp_folder.h"

namespace platform {
namespace {

constexpr char kProgram[] = "C:\\Prog\\";
constexpr char kFile[] = "C:\\Prog\\drives.txt";

class DriveLettersTest : public ::testing::Test {
 protected:
  void SetUp() override { m_fs.addFolder(kProgram); }

  DriveListing List(const std::vector<std::string>& mounts) {
    return ListDrives(m_fs, kProgram, mounts);
  }
  // "c: [/] +" for each drive, '+' when available.
  static std::vector<std::string> Shown(const DriveListing& listing) {
    std::vector<std::string> shown;
    for (const Drive& d : listing.drives)
      shown.push_back(d.displayText + (d.available ? " +" : ""));
    return shown;
  }

  MemoryFileSystem m_fs;
};

TEST_F(DriveLettersTest, FirstRunGivesRootCAndOthersTheNextLetters) {
  const DriveListing listing = List({"/media/usb", "/", "/home/"});
  EXPECT_TRUE(listing.problems.empty());
  EXPECT_EQ(Shown(listing),
            (std::vector<std::string>{"c: [/] +", "d: [/home] +", "e: [/media/usb] +"}));
  EXPECT_EQ(listing.drives[0].root, "/");
  EXPECT_EQ(listing.drives[1].root, "/home/");
  EXPECT_EQ(listing.drives[1].letter, 'D');
  EXPECT_FALSE(listing.drives[1].isFolder);
  EXPECT_EQ(m_fs.contents(kFile), "C\t/\tvolume\nD\t/home\tvolume\nE\t/media/usb\tvolume\n");
}

TEST_F(DriveLettersTest, LettersOutliveTheirVolumes) {
  (void)List({"/", "/home", "/media/usb"});
  m_fs.setNow(5000);
  DriveListing later = List({"/", "/media/usb"});
  EXPECT_EQ(Shown(later),
            (std::vector<std::string>{"c: [/] +", "d: [/home]", "e: [/media/usb] +"}));
  // Nothing new: the file is not written again.
  EXPECT_NE(m_fs.modificationTime(kFile).value(), 5000);

  later = List({"/", "/mnt/new"});
  EXPECT_EQ(Shown(later), (std::vector<std::string>{"c: [/] +", "d: [/home]", "e: [/media/usb]",
                                                    "f: [/mnt/new] +"}));
}

TEST_F(DriveLettersTest, HandWrittenLinesWithCrLf) {
  m_fs.addTextFile(kFile, "c\t/\r\nE\t/srv/data\r\n\r\nD\t/home/\r\n");
  const DriveListing listing = List({"/", "/home"});
  EXPECT_TRUE(listing.problems.empty());
  EXPECT_EQ(Shown(listing),
            (std::vector<std::string>{"c: [/] +", "d: [/home] +", "e: [/srv/data]"}));
  EXPECT_TRUE(listing.drives[2].isFolder);
  // The lines learn that they name volumes; the watched folder stays a plain line.
  EXPECT_EQ(m_fs.contents(kFile), "C\t/\tvolume\nE\t/srv/data\nD\t/home/\tvolume\n");
}

TEST_F(DriveLettersTest, BadLinesAreReportedAndKept) {
  const std::string bad =
      "X /media/usb\n1\t/x\nF\trelative\nG\t/a\tweird\nC\t/\tvolume\n"
      "c\t/other\nH\t/\n";
  m_fs.addTextFile(kFile, bad);
  const DriveListing listing = List({"/", "/media/usb"});
  ASSERT_EQ(listing.problems.size(), 6u);
  for (const base::Status& problem : listing.problems) {
    EXPECT_EQ(problem.code(), base::Status::Code::kCorrupt) << problem.toString();
  }
  EXPECT_NE(listing.problems[0].message().find("drives.txt line 1"), std::string::npos);
  EXPECT_NE(listing.problems[5].message().find("line 7"), std::string::npos);
  EXPECT_EQ(Shown(listing), (std::vector<std::string>{"c: [/] +", "d: [/media/usb] +"}));
  EXPECT_EQ(m_fs.contents(kFile), bad + "D\t/media/usb\tvolume\n");
}

TEST_F(DriveLettersTest, UnreadableFileGivesNoDrives) {
  m_fs.addTextFile(kFile, "C\t/\tvolume\nD\t/media/usb\tvolume\n");
  m_fs.failOpen(kFile, base::Status::permissionDenied(kFile));
  const DriveListing listing = List({"/", "/home"});
  EXPECT_TRUE(listing.drives.empty());
  ASSERT_EQ(listing.problems.size(), 1u);
  EXPECT_EQ(listing.problems[0].code(), base::Status::Code::kPermissionDenied);
}

TEST_F(DriveLettersTest, NewVolumesAreLeftOutWhenTheirLettersCannotBeStored) {
  m_fs.addTextFile(kFile, "C\t/\tvolume\n");
  m_fs.failRename(kFile);
  const DriveListing listing = List({"/", "/home"});
  EXPECT_EQ(Shown(listing), std::vector<std::string>{"c: [/] +"});
  ASSERT_EQ(listing.problems.size(), 1u);
  EXPECT_EQ(m_fs.contents(kFile), "C\t/\tvolume\n");
}

TEST_F(DriveLettersTest, NewLettersWaitForNoRunOfAnotherProcess) {
  m_fs.addTextFile(kFile, "C\t/\tvolume\n");
  m_fs.holdLockElsewhere(std::string(kProgram) + "brinvale.lock", "4711\n");
  const DriveListing listing = List({"/", "/home"});
  EXPECT_EQ(Shown(listing), std::vector<std::string>{"c: [/] +"});
  ASSERT_EQ(listing.problems.size(), 1u);
  EXPECT_EQ(listing.problems[0].message(), "Another run is using this program folder (pid 4711).");
  EXPECT_EQ(m_fs.contents(kFile), "C\t/\tvolume\n");
  // Listing what is known needs no lock.
  EXPECT_EQ(Shown(List({"/"})), std::vector<std::string>{"c: [/] +"});
}

TEST_F(DriveLettersTest, RunningOutOfLetters) {
  std::string text = "C\t/watched/c\n";
  for (char letter = 'D'; letter < 'Z'; ++letter) {
    text += std::string(1, letter) + "\t/watched/" + letter + "\n";
  }
  m_fs.addTextFile(kFile, text);
  // "/" takes the last letter since C is a folder's; then none is left for /home.
  const DriveListing listing = List({"/", "/home"});
  ASSERT_EQ(listing.drives.size(), 24u);
  EXPECT_EQ(listing.drives.back().displayText, "z: [/]");
  ASSERT_EQ(listing.problems.size(), 1u);
  EXPECT_NE(listing.problems[0].message().find("/home"), std::string::npos);
}

TEST_F(DriveLettersTest, ANewVolumeNeverTakesALetterThatKeepsAProfileOrAHistory) {
  // D's line was removed but its profile kept; E keeps only its history.
  m_fs.addTextFile(kFile, "C\t/\tvolume\n");
  m_fs.addTextFile(std::string(kProgram) + "Prof_D_.bvp", "");
  m_fs.addFolder(std::string(kProgram) + "History\\E");
  EXPECT_TRUE(LetterHasRecords(m_fs, kProgram, 'D'));
  EXPECT_TRUE(LetterHasRecords(m_fs, kProgram, 'E'));
  EXPECT_FALSE(LetterHasRecords(m_fs, kProgram, 'F'));
  const DriveListing listing = List({"/", "/media/usb"});
  EXPECT_EQ(Shown(listing), (std::vector<std::string>{"c: [/] +", "f: [/media/usb] +"}));
  EXPECT_EQ(m_fs.contents(kFile), "C\t/\tvolume\nF\t/media/usb\tvolume\n");
}

TEST_F(DriveLettersTest, MountPointsThatCannotBeWrittenOnALineAreLeftOut) {
  const DriveListing listing = List({"/", "/media/a\tb", "/media/c\nd"});
  EXPECT_EQ(Shown(listing), std::vector<std::string>{"c: [/] +"});
}

// Watched folders on the real disk: whether a line is available depends on whether its
// folder exists, unless the line names a volume that is not mounted now.
TEST(DriveLettersOnDiskTest, WatchedFolderAndEmptyMountPoint) {
  TempFolder temp;
  const std::string& base = temp.path();
  std::filesystem::create_directories(base + "project");
  std::filesystem::create_directories(base + "usb");  // a mount point with nothing mounted
  PosixFileSystem fs;
  ASSERT_TRUE(WriteFileAtomically(
                  fs, base + kDrivesFileName,
                  "E\t" + base + "project\nF\t" + base + "usb\tvolume\nG\t" + base + "gone\n")
                  .isOk());
  const DriveListing listing = ListDrives(fs, base, {"/"});

  ASSERT_EQ(listing.drives.size(), 4u);
  EXPECT_TRUE(listing.drives[1].available);
  EXPECT_TRUE(listing.drives[1].isFolder);
  EXPECT_EQ(listing.drives[1].root, base + "project/");
  EXPECT_FALSE(listing.drives[2].available);
  EXPECT_FALSE(listing.drives[3].available);
}

// Folders watched as drives, added and removed on the real disk. Every other line of
// drives.txt stays byte for byte: volume lines with their mark, hand-written lines, blank
// lines and lines that cannot be read.
TEST(DriveLettersOnDiskTest, WatchedFoldersAreAddedAndRemovedKeepingEveryOtherLine) {
  TempFolder temp;
  const std::string& base = temp.path();
  for (const char* folder : {"etc-copy", "projects", "music"}) {
    std::filesystem::create_directories(base + folder);
  }
  PosixFileSystem fs;
  const std::string file = base + kDrivesFileName;
  const std::string kept =
      "c\t/\tvolume\r\n\r\nD\t/home\tvolume\r\nX /media/usb\r\nb\trelative\r\nG\t/srv/data\r\n";
  ASSERT_TRUE(WriteFileAtomically(fs, file, kept).isOk());

  // A is the lowest letter no line uses (B begins an unreadable line; C is taken).
  auto added = AddWatchedFolder(fs, base, base + "projects/");
  ASSERT_TRUE(added.isOk()) << added.status().toString();
  EXPECT_EQ(added.value(), 'A');
  // E keeps a profile, F a history: H is next. The new line ends as the file's lines do.
  ASSERT_TRUE(WriteFileAtomically(fs, base + "Prof_E_.bvp", "").isOk());
  std::filesystem::create_directories(base + "History/F");
  added = AddWatchedFolder(fs, base, base + "music");
  ASSERT_TRUE(added.isOk()) << added.status().toString();
  EXPECT_EQ(added.value(), 'H');
  const std::string withTwo = kept + "A\t" + base + "projects\r\nH\t" + base + "music\r\n";
  EXPECT_EQ(ReadWholeFile(fs, file).value(), withTwo);

  // The listing offers them as watched folders.
  const DriveListing listing = ListDrives(fs, base, {"/", "/home"});
  ASSERT_FALSE(listing.drives.empty());
  EXPECT_EQ(listing.drives.front().displayText, "a: [" + base + "projects]");
  EXPECT_TRUE(listing.drives.front().isFolder);
  EXPECT_TRUE(listing.drives.front().available);

  // A folder that has a line already, one whose name holds a line break, one that is gone,
  // a relative path: refused, the file unchanged.
  std::filesystem::create_directories(base + "two\nlines");
  for (const std::string& refused : {base + "projects", std::string("/home"), base + "two\nlines",
                                     base + "gone", std::string("music")}) {
    SCOPED_TRACE(refused);
    const auto result = AddWatchedFolder(fs, base, refused);
    EXPECT_FALSE(result.isOk());
  }
  EXPECT_NE(AddWatchedFolder(fs, base, base + "projects").status().message().find("drive A"),
            std::string::npos);
  EXPECT_EQ(ReadWholeFile(fs, file).value(), withTwo);

  // Removing takes exactly its own line; a volume's line, or a folder under another
  // letter, is not removed.
  ASSERT_TRUE(RemoveWatchedFolder(fs, base, 'A', base + "projects").isOk());
  EXPECT_EQ(ReadWholeFile(fs, file).value(), kept + "H\t" + base + "music\r\n");
  EXPECT_TRUE(RemoveWatchedFolder(fs, base, 'A', base + "projects").isNotFound());
  EXPECT_TRUE(RemoveWatchedFolder(fs, base, 'D', "/home").isNotFound());
  EXPECT_TRUE(RemoveWatchedFolder(fs, base, 'G', base + "music").isNotFound());
  EXPECT_EQ(ReadWholeFile(fs, file).value(), kept + "H\t" + base + "music\r\n");
}

TEST(DriveLettersOnDiskTest, AFirstWatchedFolderLeavesCForTheRootAndEndsItsLine) {
  TempFolder temp;
  const std::string& base = temp.path();
  std::filesystem::create_directories(base + "a");
  std::filesystem::create_directories(base + "b");
  std::filesystem::create_directories(base + "c");
  PosixFileSystem fs;
  // No file yet: A, B, then D, as C waits for the root volume.
  std::string letters;
  for (const char* folder : {"a", "b", "c"})
    letters += AddWatchedFolder(fs, base, base + folder).value();
  EXPECT_EQ(letters, "ABD");
  EXPECT_EQ(ReadWholeFile(fs, base + kDrivesFileName).value(),
            "A\t" + base + "a\nB\t" + base + "b\nD\t" + base + "c\n");
  // A last line without its line end gets one before the new line.
  ASSERT_TRUE(WriteFileAtomically(fs, base + kDrivesFileName, "C\t/\tvolume").isOk());
  EXPECT_EQ(AddWatchedFolder(fs, base, base + "a").value(), 'A');
  EXPECT_EQ(ReadWholeFile(fs, base + kDrivesFileName).value(), "C\t/\tvolume\nA\t" + base + "a\n");
}

TEST(DriveLettersOnDiskTest, ARunOfAnotherProcessKeepsDrivesTxtAsItIs) {
  TempFolder temp;
  const std::string base = temp.path();
  std::filesystem::create_directories(base + "watched");
  PosixFileSystem fs;
  ASSERT_TRUE(WriteFileAtomically(fs, base + kDrivesFileName, "E\t" + base + "watched\n").isOk());
  OtherProcess run([base]() -> std::shared_ptr<void> {
    PosixFileSystem other;
    auto lock = RunLock::TryTake(other, base);
    return lock.isOk() ? std::make_shared<RunLock>(std::move(lock).value()) : nullptr;
  });
  ASSERT_TRUE(run.took());
  const auto added = AddWatchedFolder(fs, base, base);
  EXPECT_TRUE(added.status().isBusy());
  EXPECT_EQ(added.status().message(),
            "Another run is using this program folder (pid " + std::to_string(run.pid()) + ").");
  const base::Status removed = RemoveWatchedFolder(fs, base, 'E', base + "watched");
  EXPECT_TRUE(removed.isBusy());
  EXPECT_EQ(ReadWholeFile(fs, base + kDrivesFileName).value(), "E\t" + base + "watched\n");
}

}  // namespace
}  // namespace platform
