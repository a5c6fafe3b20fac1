// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/drive_scan.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "engine/path_order.h"
#include "engine/profile_reader.h"
#include "platform/testing/fixed_locale.h"
#include "platform/testing/memory_file_system.h"
#include "platform/testing/recording_progress.h"

namespace engine {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

// 14 March 1998 17:05:02, read by FixedLocale as local time.
constexpr platform::UnixSeconds kWinIniTime = 889895102;
constexpr platform::UnixSeconds kMidnight = 889833600;  // 14 March 1998 00:00:00
constexpr const char* kProfile = "D:\\PRG\\Prof_C_.bvp";

class DriveScanTest : public ::testing::Test {
 protected:
  DriveScanTest() {
    fs.addFolder("D:\\PRG");
    settings.driveRoot = "C:\\";
    settings.driveDisplayText = "c: [DISK1]";
  }

  void AddFiles(const std::string& folder, int count) {
    for (int i = 0; i < count; ++i) fs.addFile(folder + "\\F" + std::to_string(1000 + i), i, 0);
  }

  // Scans into a replacement of the profile, committed only when the scan succeeded.
  base::Status Scan() {
    auto file = fs.openForReplacing(kProfile);
    if (!file.isOk()) return file.status();
    base::Status s =
        ScanToProfile(fs, settings, locale, file.value().get(), progress, &problems, &total);
    return s.isOk() ? file.value()->commit() : s;
  }

  std::string Profile() { return fs.contents(kProfile).value_or("<missing>"); }

  std::vector<std::string> CaptionsStartingWith(const std::string& prefix) {
    std::vector<std::string> found;
    for (const std::string& c : progress.captions()) {
      if (c.rfind(prefix, 0) == 0) found.push_back(c);
    }
    return found;
  }

  platform::MemoryFileSystem fs;
  platform::FixedLocale locale;
  platform::RecordingProgress progress;
  ScanSettings settings;
  ScanProblems problems;
  std::int64_t total = -1;
};

TEST_F(DriveScanTest, WritesOneRecordPerFileInTheOneOrder) {
  fs.addFile("C:\\WINDOWS\\WIN.INI", 12345, kWinIniTime);
  fs.addFile("C:\\B\\y.txt", 2, kMidnight);
  fs.addFile("C:\\b\\c\\z.txt", 1, kMidnight);
  fs.addFile("C:\\a\\X.TXT", 3, kMidnight);
  fs.addFile("C:\\a\\w.txt", 4, kMidnight);
  fs.addFile("C:\\AUTOEXEC.BAT", 390, kWinIniTime);

  ASSERT_TRUE(Scan().isOk());
  EXPECT_EQ(Profile(),
            "390,#1998-03-14 17:05:02#,\"C:\\\",\"AUTOEXEC.BAT\"\r\n"
            "4,#1998-03-14#,\"C:\\a\\\",\"w.txt\"\r\n"
            "3,#1998-03-14#,\"C:\\a\\\",\"X.TXT\"\r\n"
            "2,#1998-03-14#,\"C:\\B\\\",\"y.txt\"\r\n"
            "1,#1998-03-14#,\"C:\\B\\c\\\",\"z.txt\"\r\n"
            "12345,#1998-03-14 17:05:02#,\"C:\\WINDOWS\\\",\"WIN.INI\"\r\n");
  EXPECT_EQ(total, 6);
  EXPECT_EQ(progress.barMaximum(), 6);
  EXPECT_FALSE(progress.barVisible());
}

TEST_F(DriveScanTest, HiddenEntriesAreLeftOutUnlessIncludedSystemOnesAlwaysPeriodsNever) {
  fs.addFile("C:\\visible.txt", 1, 0);
  fs.addFile("C:\\hidden.txt", 1, 0);
  fs.setHidden("C:\\hidden.txt");
  fs.addFile("C:\\system.sys", 1, 0);
  fs.setSystem("C:\\system.sys");
  fs.addFile("C:\\SECRET\\inside.txt", 1, 0);
  fs.setHidden("C:\\SECRET");
  fs.addFile("C:\\v1.2\\deep\\kept.txt", 1, 0);

  ASSERT_TRUE(Scan().isOk());
  const std::string profile = Profile();
  EXPECT_NE(profile.find("visible.txt"), std::string::npos);
  EXPECT_NE(profile.find("\"C:\\v1.2\\deep\\\",\"kept.txt\""), std::string::npos);
  for (const char* absent : {"hidden.txt", "system.sys", "inside.txt"}) {
    EXPECT_EQ(profile.find(absent), std::string::npos) << absent;
  }

  // Included, hidden files and folders are profiled like any other; system ones never.
  settings.includeHidden = true;
  ASSERT_TRUE(Scan().isOk());
  EXPECT_THAT(Profile(), HasSubstr("\"C:\\\",\"hidden.txt\""));
  EXPECT_THAT(Profile(), HasSubstr("\"C:\\SECRET\\\",\"inside.txt\""));
  EXPECT_THAT(Profile(), Not(HasSubstr("system.sys")));
}

TEST_F(DriveScanTest, WithHiddenEntriesIncludedTheTrashAndTheProgramFolderStayOut) {
  fs.addFile("C:\\SECRET\\inside.txt", 1, 0);
  fs.setHidden("C:\\SECRET");
  fs.addFile("C:\\RECYCLED\\DC1.TXT", 5, 0);
  fs.addFile("C:\\RECYCLED\\SUB\\DC2.TXT", 5, 0);
  fs.setHidden("C:\\RECYCLED");
  fs.addFile("C:\\PRG\\Prof_D_.bvp", 9, 0);
  fs.setHidden("C:\\PRG");
  settings.excludedFolders = {"C:\\PRG\\"};
  settings.includeHidden = true;

  ASSERT_TRUE(Scan().isOk());
  EXPECT_EQ(Profile(), "1,#1970-01-01#,\"C:\\SECRET\\\",\"inside.txt\"\r\n");
  EXPECT_EQ(fs.listings("C:\\RECYCLED"), 0);
  EXPECT_EQ(fs.listings("C:\\PRG"), 0);

  // The recycle-bin option alone brings in the trash, its own files only.
  settings.includeRecycled = true;
  ASSERT_TRUE(Scan().isOk());
  EXPECT_EQ(Profile(),
            "5,#1970-01-01#,\"C:\\RECYCLED\\\",\"DC1.TXT\"\r\n"
            "1,#1970-01-01#,\"C:\\SECRET\\\",\"inside.txt\"\r\n");
}

TEST_F(DriveScanTest, AWholeTreeOnTheIgnoreListIsNeverEnteredWhileAPlainEntryKeepsItsMeaning) {
  fs.addFile("C:\\keep.txt", 1, 0);
  fs.addFile("C:\\BUILD\\top.o", 1, 0);
  fs.addFile("C:\\BUILD\\OBJ\\deep.o", 1, 0);
  fs.addFile("C:\\BUILD2\\kept.o", 1, 0);
  fs.addFile("C:\\TEMP\\skip.txt", 1, 0);
  fs.addFile("C:\\TEMP\\OLD\\kept.txt", 1, 0);
  fs.failListing("C:\\BUILD\\OBJ", base::Status::permissionDenied("C:\\BUILD\\OBJ\\: denied"));
  settings.ignore = IgnoreMatcher({"c:\\build\\**", "C:\\TEMP\\"});

  auto folders = LoadStructure(fs, settings, progress, &problems);
  ASSERT_TRUE(folders.isOk());
  EXPECT_THAT(folders.value().paths,
              ElementsAre("C:\\", "C:\\BUILD2\\", "C:\\TEMP\\", "C:\\TEMP\\OLD\\"));
  ASSERT_TRUE(Scan().isOk());
  EXPECT_EQ(Profile(),
            "1,#1970-01-01#,\"C:\\\",\"keep.txt\"\r\n"
            "1,#1970-01-01#,\"C:\\BUILD2\\\",\"kept.o\"\r\n"
            "1,#1970-01-01#,\"C:\\TEMP\\OLD\\\",\"kept.txt\"\r\n");
  // Not even listed: what cannot be read in there is no problem of the drive's.
  EXPECT_EQ(fs.listings("C:\\BUILD"), 0);
  EXPECT_TRUE(problems.empty());

  // A drive whose root lies in such a tree has nothing to profile.
  settings.ignore = IgnoreMatcher({"C:\\**"});
  ASSERT_TRUE(Scan().isOk());
  EXPECT_EQ(Profile(), "");
}

TEST_F(DriveScanTest, StructureCaptionsCountFoldersPerLevel) {
  fs.addFolder("C:\\A\\X");
  fs.addFolder("C:\\B");

  auto folders = LoadStructure(fs, settings, progress, &problems);
  ASSERT_TRUE(folders.isOk());
  EXPECT_THAT(folders.value().paths, ElementsAre("C:\\", "C:\\A\\", "C:\\A\\X\\", "C:\\B\\"));
  EXPECT_THAT(progress.captions(), ElementsAre("Loading Structure:  c: [DISK1]",
                                               "Loading Structure:  c: [DISK1]  :  2 Directories",
                                               "Loading Structure:  c: [DISK1]  :  3 Directories",
                                               "Loading Structure:  c: [DISK1]  :  3 Directories"));
  EXPECT_TRUE(progress.labelVisible());
}

TEST_F(DriveScanTest, TheCountMovesWithinALevelEveryThousandFolders) {
  for (int i = 0; i < 2500; ++i) fs.addFolder("C:\\L\\" + std::to_string(10000 + i) + "\\In");
  auto folders = LoadStructure(fs, settings, progress, &problems);
  ASSERT_TRUE(folders.isOk());
  EXPECT_THAT(CaptionsStartingWith("Loading Structure:  c: [DISK1]  :  "),
              ElementsAre("Loading Structure:  c: [DISK1]  :  1 Directories",
                          "Loading Structure:  c: [DISK1]  :  2501 Directories",
                          "Loading Structure:  c: [DISK1]  :  3501 Directories",
                          "Loading Structure:  c: [DISK1]  :  4501 Directories",
                          "Loading Structure:  c: [DISK1]  :  5001 Directories",
                          "Loading Structure:  c: [DISK1]  :  5001 Directories",
                          "Loading Structure:  c: [DISK1]  :  5001 Directories",
                          "Loading Structure:  c: [DISK1]  :  5001 Directories"));
}

TEST_F(DriveScanTest, FolderListIsInTheOneOrderWhateverTheWalkMet) {
  // Names that sort apart from their paths' bytes: a blank or a hyphen after a name, case.
  const std::vector<std::string> names = {"a", "A b", "a-b", "ab", "B", "b0", "a.b", "Z"};
  std::mt19937 rng(3);
  std::vector<std::string> made = {"C:\\"};
  for (int i = 0; i < 400; ++i) {
    const std::string parent = made[rng() % made.size()];
    const std::string folder = parent + names[rng() % names.size()] + "\\";
    fs.addFolder(folder);
    if (std::find(made.begin(), made.end(), folder) == made.end()) made.push_back(folder);
  }
  settings.includeRecycled = true;
  fs.addFolder("C:\\RECYCLED");
  fs.setHidden("C:\\RECYCLED");

  auto loaded = LoadStructure(fs, settings, progress, &problems);
  ASSERT_TRUE(loaded.isOk());
  const std::vector<std::string>& folders = loaded.value().paths;
  EXPECT_EQ(folders.size(), made.size() + 1);
  for (std::size_t i = 1; i < folders.size(); ++i) {
    EXPECT_LT(CompareFolderPaths(folders[i - 1], folders[i], platform::PathStyle::windows()), 0)
        << folders[i - 1] << " then " << folders[i];
  }
}

TEST_F(DriveScanTest, DriveWithoutFoldersCountsZeroDirectoriesAndWritesAnEmptyProfile) {
  fs.addFolder("C:\\");
  ASSERT_TRUE(Scan().isOk());
  EXPECT_THAT(progress.captions(), Contains("Loading Structure:  c: [DISK1]  :  0 Directories"));
  EXPECT_THAT(progress.captions(), Contains("Loading 0 Folders"));
  EXPECT_EQ(Profile(), "");
  EXPECT_EQ(total, 0);
}

TEST_F(DriveScanTest, FolderCaptionFromFiftyTwoFilesPerFileCaptionFromThreeHundredTwo) {
  AddFiles("C:\\F51", 51);
  AddFiles("C:\\F52", 52);
  AddFiles("C:\\F301", 301);
  AddFiles("C:\\F302", 302);
  ASSERT_TRUE(Scan().isOk());

  EXPECT_THAT(CaptionsStartingWith("Profiling "),
              ElementsAre("Profiling 301 Files in C:\\F301\\", "Profiling 302 Files in C:\\F302\\",
                          "Profiling 0 of 302 in C:\\F302\\", "Profiling 100 of 302 in C:\\F302\\",
                          "Profiling 200 of 302 in C:\\F302\\",
                          "Profiling 300 of 302 in C:\\F302\\", "Profiling 52 Files in C:\\F52\\"));
  EXPECT_THAT(progress.captions(), Contains("Loading 4 Folders"));
  EXPECT_EQ(total, 51 + 52 + 301 + 302);
}

TEST_F(DriveScanTest, BarMovesEveryFiftyFoldersAndEndsAtTheRecordCount) {
  for (int i = 0; i < 120; ++i) fs.addFolder("C:\\D" + std::to_string(1000 + i));
  fs.addFile("C:\\D1000\\one", 1, 0);
  ASSERT_TRUE(Scan().isOk());
  EXPECT_THAT(progress.barMaximums(), ElementsAre(120, 1));
  EXPECT_THAT(progress.barValues(), ElementsAre(0, 0, 50, 100));
}

TEST_F(DriveScanTest, IgnoreEntriesSkipOnlyTheirOwnFolderWhateverTheCase) {
  fs.addFile("C:\\root.txt", 1, 0);
  fs.addFile("C:\\TEMP\\skip.txt", 1, 0);
  fs.addFile("C:\\TEMP\\OLD\\keep.txt", 1, 0);
  settings.ignore = IgnoreMatcher({"c:\\temp\\"});
  ASSERT_TRUE(Scan().isOk());
  EXPECT_EQ(Profile().find("skip.txt"), std::string::npos);
  EXPECT_NE(Profile().find("keep.txt"), std::string::npos);
  EXPECT_NE(Profile().find("root.txt"), std::string::npos);

  settings.ignore = IgnoreMatcher({"C:\\"});
  ASSERT_TRUE(Scan().isOk());
  EXPECT_EQ(Profile().find("root.txt"), std::string::npos);
  EXPECT_NE(Profile().find("skip.txt"), std::string::npos);
}

TEST_F(DriveScanTest, OnlyIgnoredFilesGiveAZeroByteProfile) {
  fs.addFile("C:\\TEMP\\a", 1, 0);
  settings.ignore = IgnoreMatcher::FromIgnoreText("C:\\TEMP\\\r\n");
  ASSERT_TRUE(Scan().isOk());
  EXPECT_EQ(Profile(), "");
}

TEST_F(DriveScanTest, RecycleBinIsProfiledOnlyWhenAskedAndNeverItsSubFolders) {
  fs.addFile("C:\\RECYCLED\\DC1.TXT", 5, 0);
  fs.addFile("C:\\RECYCLED\\SUB\\DC2.TXT", 5, 0);
  fs.setHidden("C:\\RECYCLED");
  ASSERT_TRUE(Scan().isOk());
  EXPECT_EQ(Profile(), "");

  settings.includeRecycled = true;
  ASSERT_TRUE(Scan().isOk());
  EXPECT_EQ(Profile(), "5,#1970-01-01#,\"C:\\RECYCLED\\\",\"DC1.TXT\"\r\n");
}

TEST_F(DriveScanTest, MissingRecycleBinIsSkippedSilently) {
  settings.includeRecycled = true;
  fs.addFile("C:\\a.txt", 1, 0);
  ASSERT_TRUE(Scan().isOk());
  EXPECT_TRUE(problems.empty());
  EXPECT_EQ(total, 1);
}

TEST_F(DriveScanTest, CancelDuringTheWalkStopsAtTheNextFiftiethFolder) {
  for (int i = 0; i < 120; ++i) fs.addFolder("C:\\D" + std::to_string(1000 + i));
  progress.cancelAfter(1);  // the check at folder 0 passes, the one at folder 50 cancels
  EXPECT_TRUE(Scan().isCancelled());
  EXPECT_EQ(progress.shouldContinueCalls(), 2);
  EXPECT_TRUE(fs.namesIn("D:\\PRG").empty());
}

TEST_F(DriveScanTest, CancelInABigFolderStopsWithinAHundredRecords) {
  AddFiles("C:\\BIG", 1000);
  progress.cancelWhenCaption(
      [](const std::string& c) { return c == "Profiling 200 of 1000 in C:\\BIG\\"; });
  EXPECT_TRUE(Scan().isCancelled());
  EXPECT_THAT(progress.captions(), Not(Contains("Profiling 300 of 1000 in C:\\BIG\\")));
}

TEST_F(DriveScanTest, UnreadableRootFailsTheDrive) {
  fs.failListing("C:\\", base::Status::permissionDenied("C:\\: access denied"));
  base::Status s = Scan();
  EXPECT_EQ(s.code(), base::Status::Code::kPermissionDenied);
  EXPECT_FALSE(fs.exists(kProfile));
}

TEST_F(DriveScanTest, UnreadablePlacesAreReportedOnceAndVanishedOnesNotAtAll) {
  fs.addFile("C:\\LOCKED\\a", 1, 0);
  fs.addFile("C:\\OK\\gone.txt", 1, 0);
  fs.addFile("C:\\OK\\bad.txt", 1, 0);
  fs.addFile("C:\\OK\\good.txt", 1, 0);
  fs.failListing("C:\\LOCKED\\", base::Status::permissionDenied("C:\\LOCKED\\: access denied"));
  fs.vanishOnStat("C:\\OK\\gone.txt");
  fs.failStat("C:\\OK\\bad.txt", base::Status::ioError("C:\\OK\\bad.txt: I/O error"));

  ASSERT_TRUE(Scan().isOk());
  EXPECT_EQ(Profile(), "1,#1970-01-01#,\"C:\\OK\\\",\"good.txt\"\r\n");
  ASSERT_EQ(problems.all().size(), 2u);
  EXPECT_NE(problems.summary().find("C:\\LOCKED\\"), std::string::npos);
  EXPECT_NE(problems.summary().find("bad.txt"), std::string::npos);
}

TEST_F(DriveScanTest, AFolderReplacedAfterItsParentWasListedIsAPlaceThatCouldNotBeRead) {
  fs.addFile("C:\\SW\\mine.txt", 1, 0);
  fs.addFile("C:\\SW\\SUB\\deep.txt", 1, 0);
  fs.addFile("C:\\OK\\kept.txt", 1, 0);
  // With its files kept by the walk, and read again without scratch space.
  for (bool scratch : {true, false}) {
    if (!scratch) fs.denyScratch();
    fs.replaceFolderBeforeOpening("C:\\SW");
    problems = ScanProblems();
    ASSERT_TRUE(Scan().isOk());
    EXPECT_EQ(Profile(), "1,#1970-01-01#,\"C:\\OK\\\",\"kept.txt\"\r\n");
    ASSERT_EQ(problems.all().size(), 1u);
    EXPECT_THAT(problems.all()[0].message(), HasSubstr("C:\\SW\\"));
  }
}

TEST_F(DriveScanTest, FoldersTooDeepToRecordAreToldAndEverythingAboveIsProfiledAndReadsBack) {
  const std::string name(199, 'n');
  std::string deepest = "C:\\";
  while (deepest.size() + name.size() + 1 <= platform::kMaxFolderPath) deepest += name + "\\";
  fs.addFile(deepest + "deepest.txt", 1, 0);
  fs.addFile(deepest + name + "\\too-deep.txt", 1, 0);
  // Fits as bytes, but not in a profile line once each quote is written as an escape.
  const std::string quotes(199, '"');
  std::string quoted = "C:\\Q\\";
  while (quoted.size() < 22000) quoted += quotes + "\\";
  fs.addFile(quoted + "quoted.txt", 1, 0);
  fs.addFile("C:\\Q\\" + quotes + "\\shallow.txt", 1, 0);

  ASSERT_TRUE(Scan().isOk());
  EXPECT_EQ(total, 2);
  EXPECT_THAT(Profile(), HasSubstr("\"deepest.txt\""));
  EXPECT_THAT(Profile(), HasSubstr("\"shallow.txt\""));
  EXPECT_THAT(problems.summary(), HasSubstr("path longer than 32,000 bytes"));
  EXPECT_THAT(
      problems.summary(),
      HasSubstr("path too long for a profile line once its special characters are escaped"));
  // Every line written is one the reader takes back.
  auto reader = ProfileReader::Open(fs, kProfile);
  ASSERT_TRUE(reader.isOk());
  ProfileRecord record;
  std::vector<std::string> names;
  while (reader.value()->next(&record)) names.push_back(record.name);
  EXPECT_TRUE(reader.value()->status().isOk()) << reader.value()->status().toString();
  EXPECT_THAT(names, ElementsAre("deepest.txt", "shallow.txt"));
}

TEST_F(DriveScanTest, FullDiskStopsTheScanWithItsError) {
  AddFiles("C:\\MANY", 5000);
  fs.failWritesAfter(kProfile, 1000);
  base::Status s = Scan();
  EXPECT_FALSE(s.isOk());
  EXPECT_FALSE(s.isCancelled());
  // The partial scan goes with its replacement: a full disk is not kept full.
  EXPECT_TRUE(fs.namesIn("D:\\PRG").empty());
}

TEST_F(DriveScanTest, NoSixteenBitLimitsOnFoldersOrFiles) {
  for (int i = 0; i < 33000; ++i) fs.addFolder("C:\\D\\" + std::to_string(100000 + i));
  AddFiles("C:\\E", 33000);
  ASSERT_TRUE(Scan().isOk());
  EXPECT_EQ(total, 33000);
  EXPECT_THAT(progress.captions(), Contains("Loading 33002 Folders"));
}

TEST_F(DriveScanTest, ListingAheadOnWorkerThreadsGivesTheSameProfile) {
  for (int i = 0; i < 300; ++i) {
    const std::string folder = "C:\\L" + std::to_string(i % 7) + "\\F" + std::to_string(i);
    AddFiles(folder, i % 13);
  }
  AddFiles("C:\\HUGE", 3000);
  fs.failListing("C:\\L3\\F3\\", base::Status::permissionDenied("C:\\L3\\F3\\: denied"));
  ASSERT_TRUE(Scan().isOk());
  const std::string alone = Profile();
  const auto problemsAlone = problems.all().size();

  settings.listingThreads = 3;
  problems = ScanProblems();
  ASSERT_TRUE(Scan().isOk());
  EXPECT_EQ(Profile(), alone);
  EXPECT_EQ(problems.all().size(), problemsAlone);

  // Cancelling stops the workers too: the scan returns instead of hanging.
  progress.cancelAfter(3);
  EXPECT_TRUE(Scan().isCancelled());
}

TEST_F(DriveScanTest, EveryFolderIsReadOnceAndWithoutScratchSpaceTheProfileIsTheSame) {
  AddFiles("C:\\A", 3);
  AddFiles("C:\\A\\Deep\\Er", 3000);  // more than one block of kept files
  AddFiles("C:\\B", 2);
  fs.addFile("C:\\top.txt", 7, kMidnight);
  fs.addFile("C:\\A\\.hidden", 1, 0);
  fs.setHidden("C:\\A\\.hidden");
  AddFiles("C:\\TEMP", 2);
  settings.ignore = IgnoreMatcher({"C:\\TEMP\\"});
  settings.listingThreads = 2;
  ASSERT_TRUE(Scan().isOk());
  const std::string once = Profile();
  EXPECT_EQ(total, 3 + 3000 + 2 + 1);
  EXPECT_EQ(once.find(".hidden"), std::string::npos);
  for (const char* folder : {"C:\\", "C:\\A", "C:\\A\\Deep\\Er", "C:\\B", "C:\\TEMP"}) {
    EXPECT_EQ(fs.listings(folder), 1) << folder;
  }

  // Without scratch space, or when it fills up part way, folders are read again instead.
  fs.denyScratch();
  ASSERT_TRUE(Scan().isOk());
  EXPECT_EQ(Profile(), once);
  EXPECT_EQ(fs.listings("C:\\A\\Deep\\Er"), 3);
  fs.clearFaults();
  fs.failScratchAfter(1000);
  ASSERT_TRUE(Scan().isOk());
  EXPECT_EQ(Profile(), once);
}

TEST(ScanProblemsTest, SummaryListsAFewAndCountsTheRest) {
  ScanProblems problems;
  for (int i = 0; i < 12; ++i) problems.add(base::Status::ioError("place " + std::to_string(i)));
  problems.add(base::Status::ioError("place 3"));
  EXPECT_EQ(problems.all().size(), 12u);
  EXPECT_NE(problems.summary(10).find("and 2 more"), std::string::npos);
}

TEST(ScanProblemsTest, TheMessageSaysWhatWasKeptAndWhatWasLeftOut) {
  ScanProblems problems;
  problems.addFolder(base::Status::permissionDenied("C:\\LOCKED\\: denied"));
  problems.add(base::Status::ioError("C:\\OK\\bad.txt: I/O error"));
  EXPECT_EQ(problems.message("c: [DISK]", true),
            "Some places of drive c: [DISK] could not be read; what they held at the last run is "
            "kept in its profile:\nC:\\LOCKED\\: denied\n"
            "Some places of drive c: [DISK] could not be read and were left out:\n"
            "C:\\OK\\bad.txt: I/O error");
  // Without a stored profile nothing could be kept.
  EXPECT_EQ(problems.message("c: [DISK]", false),
            "Some places of drive c: [DISK] could not be read and were left out:\n"
            "C:\\LOCKED\\: denied\nC:\\OK\\bad.txt: I/O error");
}

}  // namespace
}  // namespace engine
