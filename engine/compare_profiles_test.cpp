// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/compare_profiles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "engine/drive_scan.h"
#include "engine/path_order.h"
#include "engine/profile_record.h"
#include "platform/testing/fixed_locale.h"
#include "platform/testing/memory_file_system.h"
#include "platform/testing/recording_progress.h"

namespace engine {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

constexpr const char* kOld = "C:\\P\\Prof_C_.bvp";
constexpr const char* kNew = "C:\\P\\bvp.tmp";
constexpr const char* kReport = "C:\\P\\temp.rtf";

// The lines of the composed report with line ends and the trailing markup stripped, so a
// test reads like the report a user sees.
std::vector<std::string> ShownLines(const std::string& plain) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < plain.size()) {
    const std::size_t end = plain.find("\r\n", start);
    lines.push_back(plain.substr(start, end - start));
    if (end == std::string::npos) break;
    start = end + 2;
  }
  return lines;
}

class CompareProfilesTest : public ::testing::Test {
 protected:
  CompareProfilesTest() {
    fs.addFolder("C:\\P");
    settings.oldProfilePath = kOld;
    settings.newProfilePath = kNew;
    settings.driveDisplayText = "c: [DISK1]";
    settings.profileDate = "10/27/98 8:03:02 PM";
  }

  // Runs the comparison into a report file; `plainText` picks the plain-text form.
  base::Status Compare(const std::string& oldProfile, const std::string& newProfile,
                       bool plainText = true) {
    fs.addTextFile(kOld, oldProfile);
    fs.addTextFile(kNew, newProfile);
    // A continued report starts from the earlier drives' sections. What was written is
    // kept even after a failure, for the tests to look at.
    const std::string earlier = settings.freshReport ? "" : Report();
    auto file = fs.openForReplacing(kReport);
    EXPECT_TRUE(file.isOk());
    EXPECT_TRUE(file.value()->append(earlier).isOk());
    auto sink = plainText ? NewPlainTextReportSink(file.value().get())
                          : NewRtfReportSink(file.value().get());
    ChangeReport report(sink.get(), locale);
    base::Status s = CompareProfiles(fs, settings, report, progress, &outcome);
    closed = file.value()->commit();
    return s;
  }

  // The body of a plain-text report: the lines after the title and before the totals.
  std::vector<std::string> Body() {
    std::vector<std::string> lines = ShownLines(Report());
    if (lines.size() < 6) return lines;
    return std::vector<std::string>(lines.begin() + 1, lines.end() - 5);
  }

  std::string Report() { return fs.contents(kReport).value_or(""); }

  platform::MemoryFileSystem fs;
  platform::FixedLocale locale;
  platform::RecordingProgress progress;
  CompareSettings settings;
  CompareOutcome outcome;
  base::Status closed;
};

std::string Line(std::int64_t size, const char* time, const char* folder, const char* name) {
  return std::to_string(size) + ",#" + time + "#,\"" + folder + "\",\"" + name + "\"\r\n";
}

const std::string kWorkedOld = Line(390, "1998-10-20 09:15:00", "C:\\", "AUTOEXEC.BAT") +
                               Line(2560, "1998-01-01", "C:\\WINDOWS\\", "OLD.LOG");
const std::string kWorkedNew = Line(420, "1998-10-27 19:40:12", "C:\\", "AUTOEXEC.BAT") +
                               Line(1572864, "1998-10-27 19:00:00", "C:\\WINDOWS\\", "NEW.DLL");

TEST_F(CompareProfilesTest, WorkedExampleByteForByte) {
  ASSERT_TRUE(Compare(kWorkedOld, kWorkedNew, /*plainText=*/false).isOk());
  EXPECT_EQ(
      Report(),
      "{\\rtf1\\ansi\\deff0\\deftab720{\\fonttbl{\\f0\\fswiss MS Sans Serif;}{\\f1\\froman"
      "\\fcharset2 Symbol;}{\\f2\\fswiss\\fprq2 Arial;}{\\f3\\froman Times New Roman;}{\\f4"
      "\\froman Times New Roman;}}\r\n"
      "{\\colortbl\\red0\\green0\\blue0;\\red0\\green128\\blue0;\\red255\\green0\\blue0;"
      "\\red100\\green100\\blue0;\\red128\\green0\\blue0;\\red0\\green0\\blue128;}\r\n"
      "\\deflang1033 \\f2\\fs24Disk Activity on C: [DISK1] Since 10/27/98 8:03:02 PM"
      "\\plain\\f2\\fs20 \r\n"
      "\\par \\plain\\f2\\fs20\\cf0  \\plain\\f2\\fs20 \r\n"
      "\\par \\plain\\f2\\fs20\\cf0 In C:\\\\\\plain\\f2\\fs20 \r\n"
      "\\par \\plain\\f2\\fs20\\cf4    AUTOEXEC.BAT  Grew from .38 to .41 K\\plain\\f2\\fs20 \r\n"
      "\\par \\plain\\f2\\fs20\\cf3    AUTOEXEC.BAT: Time Changed From: 10/20/98 9:15:00 AM to "
      "10/27/98 7:40:12 PM\\plain\\f2\\fs20 \r\n"
      "\\par \\plain\\f2\\fs20\\cf0  \\plain\\f2\\fs20 \r\n"
      "\\par \\plain\\f2\\fs20\\cf0 In C:\\\\WINDOWS\\\\\\plain\\f2\\fs20 \r\n"
      "\\par \\plain\\f2\\fs20\\cf5    Added NEW.DLL (1,536.00 K)\\plain\\f2\\fs20 \r\n"
      "\\par \\plain\\f2\\fs20\\cf1    Deleted OLD.LOG (2.50 K)\\plain\\f2\\fs20 \r\n"
      "\\par \\plain\\f2\\fs20\\cf0  \\plain\\f2\\fs20 \r\n"
      "\\par \\plain\\f2\\fs20\\cf0 Total of Files Added = 1,536.00K\\plain\\f2\\fs20 \r\n"
      "\\par \\plain\\f2\\fs20\\cf2 Total of Files Deleted = 2.50K\\plain\\f2\\fs20 \r\n"
      "\\par \\plain\\f2\\fs20\\cf0 Changes to Existing Files = 0.03K\\plain\\f2\\fs20 \r\n"
      "\\par \\plain\\f2\\fs20\\cf0 Net Change = 1,533.53\\plain\\f2\\fs20 \r\n"
      " \\par }\r\n");
  EXPECT_EQ(outcome.addedBytes, 1572864);
  EXPECT_EQ(outcome.deletedBytes, 2560);
  EXPECT_EQ(outcome.changedBytes, 30);
  EXPECT_EQ(outcome.changeLines, 4);
  // Each kind counted apart: one added, one deleted, one grew, none shrunk, one time.
  EXPECT_EQ(std::vector<std::int64_t>({outcome.added, outcome.deleted, outcome.grew, outcome.shrunk,
                                       outcome.timeChanged}),
            std::vector<std::int64_t>({1, 1, 1, 0, 1}));
}

TEST_F(CompareProfilesTest, WorkedExamplePlainTextIsWhatTheViewShows) {
  ASSERT_TRUE(Compare(kWorkedOld, kWorkedNew).isOk());
  EXPECT_EQ(Report(),
            "Disk Activity on C: [DISK1] Since 10/27/98 8:03:02 PM\r\n"
            " \r\n"
            "In C:\\\r\n"
            "   AUTOEXEC.BAT  Grew from .38 to .41 K\r\n"
            "   AUTOEXEC.BAT: Time Changed From: 10/20/98 9:15:00 AM to 10/27/98 7:40:12 PM\r\n"
            " \r\n"
            "In C:\\WINDOWS\\\r\n"
            "   Added NEW.DLL (1,536.00 K)\r\n"
            "   Deleted OLD.LOG (2.50 K)\r\n"
            " \r\n"
            "Total of Files Added = 1,536.00K\r\n"
            "Total of Files Deleted = 2.50K\r\n"
            "Changes to Existing Files = 0.03K\r\n"
            "Net Change = 1,533.53\r\n");
}

TEST_F(CompareProfilesTest, EmptyStoredProfileReportsEverythingAdded) {
  ASSERT_TRUE(
      Compare("", Line(1, "2000-01-01", "C:\\", "A") + Line(2, "2000-01-01", "C:\\X\\", "B"))
          .isOk());
  EXPECT_EQ(Body(), (std::vector<std::string>{" ", "In C:\\", "   Added A (.00 K)", " ",
                                              "In C:\\X\\", "   Added B (.00 K)"}));
  EXPECT_EQ(outcome.deletedBytes, 0);
}

TEST_F(CompareProfilesTest, EmptyNewScanReportsEverythingDeletedExceptIgnoredFolders) {
  settings.ignore = IgnoreMatcher({"c:\\temp\\"});
  ASSERT_TRUE(Compare(Line(1, "2000-01-01", "C:\\", "A") +
                          Line(5, "2000-01-01", "C:\\TEMP\\", "T") +
                          Line(2, "2000-01-01", "C:\\TEMP\\SUB\\", "S"),
                      "")
                  .isOk());
  EXPECT_EQ(Body(), (std::vector<std::string>{" ", "In C:\\", "   Deleted A (.00 K)", " ",
                                              "In C:\\TEMP\\SUB\\", "   Deleted S (.00 K)"}));
  EXPECT_EQ(outcome.deletedBytes, 3);
  // The stored profile is counted whole, ignored folders and all: the history keeps it so.
  EXPECT_EQ(outcome.storedFiles, 3);
  EXPECT_EQ(outcome.storedBytes, 8);
}

TEST_F(CompareProfilesTest, IgnoredFoldersArePassedOverOnBothSides) {
  // Two profiles given by hand may both hold an ignored folder's records.
  settings.ignore = IgnoreMatcher({"c:\\temp\\"});
  const std::string profile =
      Line(1, "2000-01-01", "C:\\", "A") + Line(5, "2000-01-01", "C:\\TEMP\\", "T");
  ASSERT_TRUE(Compare(profile, profile).isOk());
  EXPECT_EQ(outcome.changeLines, 0);
  ASSERT_TRUE(Compare("", profile + Line(7, "2000-01-01", "C:\\TEMP\\", "U")).isOk());
  EXPECT_EQ(Body(), (std::vector<std::string>{" ", "In C:\\", "   Added A (.00 K)"}));
  EXPECT_EQ(outcome.addedBytes, 1);
}

TEST_F(CompareProfilesTest, LastRecordOfEitherSideIsDecided) {
  ASSERT_TRUE(Compare(Line(1, "2000-01-01", "C:\\", "A") + Line(9, "2000-01-01", "C:\\Z\\", "LAST"),
                      Line(1, "2000-01-01", "C:\\", "A") + Line(3, "2000-01-01", "C:\\M\\", "MID"))
                  .isOk());
  EXPECT_EQ(Body(), (std::vector<std::string>{" ", "In C:\\M\\", "   Added MID (.00 K)", " ",
                                              "In C:\\Z\\", "   Deleted LAST (.01 K)"}));
}

TEST_F(CompareProfilesTest, ShrunkThenTimeChangedUnderOneHeader) {
  ASSERT_TRUE(Compare(Line(100, "2000-01-01 10:00:00", "C:\\D\\", "F"),
                      Line(50, "2000-01-01 10:00:01", "C:\\D\\", "F"))
                  .isOk());
  EXPECT_EQ(Body(), (std::vector<std::string>{
                        " ", "In C:\\D\\", "   F  Shrunk from .10 to .05 K",
                        "   F: Time Changed From: 1/1/00 10:00:00 AM to 1/1/00 10:00:01 AM"}));
  EXPECT_EQ(outcome.changedBytes, -50);
  EXPECT_THAT(Report(), HasSubstr("Changes to Existing Files = -0.05K"));
}

TEST_F(CompareProfilesTest, CaseOnlyRenameIsNoChangeOnWindowsDrives) {
  ASSERT_TRUE(Compare(Line(7, "2000-01-01", "C:\\DOCS\\", "readme.txt"),
                      Line(7, "2000-01-01", "C:\\docs\\", "README.TXT"))
                  .isOk());
  EXPECT_EQ(outcome.changeLines, 0);
}

TEST_F(CompareProfilesTest, CaseOnlyRenameIsTwoFilesOnLinuxDrives) {
  ASSERT_TRUE(Compare(Line(7, "2000-01-01", "/home/", "readme.txt"),
                      Line(7, "2000-01-01", "/home/", "README.txt"))
                  .isOk());
  EXPECT_EQ(Body(), (std::vector<std::string>{" ", "In /home/", "   Added README.txt (.01 K)",
                                              "   Deleted readme.txt (.01 K)"}));
}

TEST_F(CompareProfilesTest, SiblingFoldersThatExtendANameGiveNoPhantomChanges) {
  const std::string profile =
      Line(1, "2000-01-01", "/a/", "x") + Line(1, "2000-01-01", "/a/sub/", "y") +
      Line(1, "2000-01-01", "/a b/", "z") + Line(1, "2000-01-01", "/a-b/", "w");
  ASSERT_TRUE(Compare(profile, profile).isOk());
  EXPECT_EQ(outcome.changeLines, 0);
  EXPECT_TRUE(outcome.orderWarning.isOk());
}

TEST_F(CompareProfilesTest, TotalsBeyondTwoGibibytesAreExact) {
  const std::int64_t big = 5'000'000'000;
  ASSERT_TRUE(Compare(Line(1, "2000-01-01", "C:\\", "A"),
                      Line(big, "2000-01-01", "C:\\", "A") + Line(big, "2000-01-01", "C:\\", "B"))
                  .isOk());
  EXPECT_EQ(outcome.addedBytes, big);
  EXPECT_EQ(outcome.changedBytes, big - 1);
  EXPECT_THAT(Report(), HasSubstr("Total of Files Added = 4,882,812.50K"));
  EXPECT_THAT(Report(), HasSubstr("Net Change = 9,765,625.00"));
}

TEST_F(CompareProfilesTest, UnreadableProfileStopsTheDriveWithoutTotals) {
  fs.failOpen(kOld, base::Status::permissionDenied("C:\\P\\Prof_C_.bvp: access denied"));
  base::Status s = Compare(Line(1, "2000-01-01", "C:\\", "A"), Line(1, "2000-01-01", "C:\\", "A"));
  EXPECT_EQ(s.code(), base::Status::Code::kPermissionDenied);
  EXPECT_THAT(s.message(), HasSubstr("Prof_C_.bvp"));
}

TEST_F(CompareProfilesTest, CorruptLineStopsTheDriveBeforeAnythingIsCalledAdded) {
  base::Status s = Compare(
      Line(1, "2000-01-01", "C:\\", "A") + "garbage\r\n" + Line(1, "2000-01-01", "C:\\", "Z"),
      Line(1, "2000-01-01", "C:\\", "A") + Line(1, "2000-01-01", "C:\\", "Z"));
  EXPECT_EQ(s.code(), base::Status::Code::kCorrupt);
  EXPECT_THAT(s.message(), HasSubstr("line 2"));
  EXPECT_THAT(Report(), Not(HasSubstr("Added")));
  EXPECT_THAT(Report(), Not(HasSubstr("Total")));
}

TEST_F(CompareProfilesTest, AStoredProfileCutShortStopsTheComparisonBeforeAnythingIsAdded) {
  const base::Status s =
      Compare(Line(1, "2000-01-01", "C:\\", "A") + "5,#2000-01-01#,\"C:\\\",\"B",
              Line(1, "2000-01-01", "C:\\", "A") + Line(5, "2000-01-01", "C:\\", "B") +
                  Line(6, "2000-01-01", "C:\\", "C"));
  EXPECT_EQ(s.code(), base::Status::Code::kCorrupt);
  EXPECT_THAT(s.message(), HasSubstr("Prof_C_.bvp, line 2: the profile is damaged at its end."));
  EXPECT_EQ(outcome.changeLines, 0);
  EXPECT_THAT(Report(), Not(HasSubstr("Added")));
}

TEST_F(CompareProfilesTest, OutOfOrderStoredProfileIsReportedOnce) {
  ASSERT_TRUE(Compare(Line(1, "2000-01-01", "C:\\", "B") + Line(1, "2000-01-01", "C:\\", "A") +
                          Line(1, "2000-01-01", "C:\\", "A"),
                      Line(1, "2000-01-01", "C:\\", "A") + Line(1, "2000-01-01", "C:\\", "B"))
                  .isOk());
  EXPECT_EQ(outcome.orderWarning.code(), base::Status::Code::kCorrupt);
  EXPECT_THAT(outcome.orderWarning.message(), HasSubstr("Prof_C_.bvp, line 2"));
}

TEST_F(CompareProfilesTest, ReportWriteFailureStopsTheDrive) {
  fs.failWritesAfter(kReport, 300);
  std::string many;
  for (int i = 0; i < 500; ++i)
    many += Line(i, "2000-01-01", "C:\\", std::to_string(1000 + i).c_str());
  EXPECT_FALSE(Compare("", many, /*plainText=*/false).isOk());
  EXPECT_FALSE(closed.isOk());
}

TEST_F(CompareProfilesTest, CancelInTheMainPhaseLeavesNoTotals) {
  std::string many;
  for (int i = 0; i < 1000; ++i)
    many += Line(i, "2000-01-01", "C:\\", std::to_string(1000 + i).c_str());
  settings.progressMaximum = 1000;
  progress.cancelAfter(2);
  EXPECT_TRUE(Compare("", many).isCancelled());
  EXPECT_THAT(Report(), Not(HasSubstr("Total of Files Added")));
  // Steps 150 and 300 moved the bar; the third question, at step 450, cancelled.
  EXPECT_EQ(progress.shouldContinueCalls(), 3);
  EXPECT_THAT(progress.barValues(), ::testing::ElementsAre(0, 150, 300, 450));
}

TEST_F(CompareProfilesTest, CombinedReportOfTwoDrivesHasOneHeadAndOneClosing) {
  settings.writeClosing = false;
  ASSERT_TRUE(Compare(kWorkedOld, kWorkedNew, /*plainText=*/false).isOk());
  settings.freshReport = false;
  settings.writeClosing = true;
  settings.driveDisplayText = "d: [DATA]";
  ASSERT_TRUE(Compare(kWorkedOld, kWorkedOld, /*plainText=*/false).isOk());
  const std::string report = Report();
  EXPECT_THAT(report, HasSubstr("Net Change = 1,533.53\\plain\\f2\\fs20 \r\n\r\n \\par\r\n"
                                " \\par \r\n\\par \\plain\\f2\\fs24Disk Activity on D: [DATA]"));
  EXPECT_EQ(report.find("{\\rtf1"), report.rfind("{\\rtf1"));
  EXPECT_EQ(report.find(" \\par }"), report.size() - 9);
}

// Profiles of random files in random folders, sorted in the one order.
std::string RandomProfile(std::mt19937& rng, int count) {
  std::vector<ProfileRecord> records;
  const char* folders[] = {"C:\\", "C:\\A\\", "C:\\A B\\", "C:\\A\\B\\", "C:\\Z\\"};
  for (int i = 0; i < count; ++i) {
    ProfileRecord r;
    r.folder = folders[rng() % 5];
    r.name = "f" + std::to_string(rng() % 200);
    r.size = rng() % 100000;
    r.time = {2000 + static_cast<int>(rng() % 3), 1, 1, 0, 0, static_cast<int>(rng() % 2)};
    records.push_back(r);
  }
  std::sort(records.begin(), records.end(), [](const ProfileRecord& a, const ProfileRecord& b) {
    return CompareFiles(a.folder, a.name, b.folder, b.name, platform::PathStyle::windows()) < 0;
  });
  records.erase(std::unique(records.begin(), records.end(),
                            [](const ProfileRecord& a, const ProfileRecord& b) {
                              return a.folder == b.folder && a.name == b.name;
                            }),
                records.end());
  std::string text;
  for (const ProfileRecord& r : records) AppendProfileLine(r, &text);
  return text;
}

TEST_F(CompareProfilesTest, ComparingAProfileWithItselfReportsNothing) {
  std::mt19937 rng(1);
  const std::string profile = RandomProfile(rng, 2000);
  ASSERT_TRUE(Compare(profile, profile).isOk());
  EXPECT_EQ(outcome.changeLines, 0);
  EXPECT_THAT(Report(), HasSubstr("Net Change = 0.00\r\n"));
  EXPECT_TRUE(outcome.orderWarning.isOk());
}

TEST_F(CompareProfilesTest, SwappingTheProfilesSwapsAddedAndDeleted) {
  std::mt19937 rng(2);
  const std::string a = RandomProfile(rng, 1500);
  const std::string b = RandomProfile(rng, 1500);
  ASSERT_TRUE(Compare(a, b).isOk());
  const CompareOutcome forward = outcome;
  ASSERT_TRUE(Compare(b, a).isOk());
  EXPECT_GT(forward.addedBytes, 0);
  EXPECT_EQ(outcome.addedBytes, forward.deletedBytes);
  EXPECT_EQ(outcome.deletedBytes, forward.addedBytes);
  EXPECT_EQ(outcome.changedBytes, -forward.changedBytes);
  EXPECT_EQ(outcome.changeLines, forward.changeLines);
}

// Writes what it is told as the report's lines would read, and fails on a chosen call.
class RecordingListener final : public ChangeListener {
 public:
  std::vector<std::string> lines;
  int failAt = -1;  // the number of the call (from 0) that fails; -1 never

  base::Status driveStarted(std::string_view drive) override {
    return note("start " + std::string(drive));
  }
  base::Status added(const RecordView& r) override {
    return note(std::string(r.folder) + " Added " + std::string(r.name) + " " +
                std::to_string(r.size));
  }
  base::Status deleted(const RecordView& r) override {
    return note(std::string(r.folder) + " Deleted " + std::string(r.name) + " " +
                std::to_string(r.size));
  }
  base::Status sizeChanged(const RecordView& o, const RecordView& n) override {
    return note(std::string(n.folder) + (n.size > o.size ? " Grew " : " Shrunk ") +
                std::string(n.name) + " " + std::to_string(o.size) + " " + std::to_string(n.size));
  }
  base::Status timeChanged(const RecordView& o, const RecordView& n) override {
    std::string text = std::string(n.folder) + " Time " + std::string(n.name) + " ";
    AppendProfileTime(o.time, &text);
    AppendProfileTime(n.time, &text);
    return note(text);
  }
  base::Status driveFinished(std::int64_t added, std::int64_t deleted,
                             std::int64_t changed) override {
    return note("totals " + std::to_string(added) + " " + std::to_string(deleted) + " " +
                std::to_string(changed));
  }

 private:
  base::Status note(std::string line) {
    if (static_cast<int>(lines.size()) == failAt) return base::Status::ioError("listener is full");
    lines.push_back(std::move(line));
    return base::Status::ok();
  }
};

// A drive compared while it is scanned, against the same drive scanned and then compared.
class ScanAndCompareTest : public ::testing::Test {
 protected:
  static constexpr const char* kStored = "Z:\\P\\Prof_C_.bvp";

  ScanAndCompareTest() {
    fs.addFolder("Z:\\P");
    scan.driveRoot = "C:\\";
    scan.driveDisplayText = "c: [DISK1]";
    scan.listingThreads = 3;
    settings.oldProfilePath = kStored;
    settings.driveDisplayText = scan.driveDisplayText;
    settings.profileDate = "10/27/98 8:03:02 PM";
  }

  // A drive of folders whose names sort apart from their bytes, scanned into the stored
  // profile, then changed in every way a comparison reports.
  void MakeChangedDrive() {
    const char* folders[] = {"C:\\",      "C:\\a\\",    "C:\\A b\\", "C:\\a\\sub\\",
                             "C:\\a-b\\", "C:\\Temp\\", "C:\\z\\"};
    std::mt19937 rng(5);
    for (const char* folder : folders) {
      for (int i = 0; i < 150; ++i) {
        fs.addFile(std::string(folder) + "f" + std::to_string(rng() % 400), rng() % 5000,
                   889895102 + static_cast<platform::UnixSeconds>(rng() % 100000));
      }
    }
    std::int64_t total = 0;
    auto stored = fs.openForReplacing(kStored);
    ASSERT_TRUE(
        ScanToProfile(fs, scan, locale, stored.value().get(), progress, &problems, &total).isOk());
    ASSERT_TRUE(stored.value()->commit().isOk());
    for (int i = 0; i < 60; ++i) {
      const std::string folder = folders[rng() % 7];
      const std::string name = folder + "f" + std::to_string(rng() % 400);
      switch (i % 4) {
        case 0:
          (void)fs.remove(name);
          break;
        case 1:
          fs.addFile(name, rng() % 9000, 889895102);
          break;
        case 2:
          fs.addFile(name + ".new", 7, 889895102);
          break;
        default:
          fs.addFile(name, 1, 999999999);
          break;
      }
    }
    fs.addFile("C:\\new folder\\x", 3, 889895102);
    settings.ignore = IgnoreMatcher({"c:\\temp\\"});
    scan.ignore = settings.ignore;
  }

  // Runs one way or the other; returns the plain-text report, and the new profile in
  // `*profile`.
  std::string Report(bool fused, std::string* profile, CompareOutcome* outcome,
                     std::int64_t* total) {
    const std::string path = fused ? "Z:\\P\\fused.bvp" : "Z:\\P\\scanned.bvp";
    auto out = fs.openForReplacing(path);
    auto reportFile = fs.openForReplacing("Z:\\P\\report.txt");
    auto sink = NewPlainTextReportSink(reportFile.value().get());
    ChangeReport report(sink.get(), locale);
    if (fused) {
      EXPECT_TRUE(ScanAndCompareProfiles(fs, scan, locale, out.value().get(), settings, report,
                                         progress, &problems, total, outcome)
                      .isOk());
      EXPECT_TRUE(out.value()->commit().isOk());
    } else {
      EXPECT_TRUE(
          ScanToProfile(fs, scan, locale, out.value().get(), progress, &problems, total).isOk());
      EXPECT_TRUE(out.value()->commit().isOk());
      settings.newProfilePath = path;
      settings.progressMaximum = *total;
      EXPECT_TRUE(CompareProfiles(fs, settings, report, progress, outcome).isOk());
    }
    EXPECT_TRUE(reportFile.value()->commit().isOk());
    *profile = fs.contents(path).value_or("");
    return fs.contents("Z:\\P\\report.txt").value_or("");
  }

  platform::MemoryFileSystem fs;
  platform::FixedLocale locale;
  platform::RecordingProgress progress;
  ScanSettings scan;
  CompareSettings settings;
  ScanProblems problems;
};

TEST_F(ScanAndCompareTest, GivesWhatAScanThenAComparisonGive) {
  MakeChangedDrive();
  std::string scanned;
  std::string fused;
  CompareOutcome apart;
  CompareOutcome together;
  std::int64_t scannedTotal = 0;
  std::int64_t fusedTotal = 0;
  RecordingListener toldApart;
  RecordingListener toldTogether;
  settings.listener = &toldApart;
  const std::string expected = Report(false, &scanned, &apart, &scannedTotal);
  settings.listener = &toldTogether;
  EXPECT_EQ(Report(true, &fused, &together, &fusedTotal), expected);
  EXPECT_EQ(toldTogether.lines, toldApart.lines);
  EXPECT_EQ(static_cast<std::int64_t>(toldTogether.lines.size()) - 2, together.changeLines);
  EXPECT_EQ(fused, scanned);
  EXPECT_EQ(fusedTotal, scannedTotal);
  EXPECT_GT(apart.changeLines, 40);
  EXPECT_EQ(together.changeLines, apart.changeLines);
  EXPECT_EQ(together.addedBytes, apart.addedBytes);
  EXPECT_EQ(together.deletedBytes, apart.deletedBytes);
  EXPECT_EQ(together.changedBytes, apart.changedBytes);
  EXPECT_TRUE(together.orderWarning.isOk());
  EXPECT_THAT(expected, HasSubstr("In C:\\new folder\\"));
  EXPECT_THAT(expected, Not(HasSubstr("In C:\\Temp\\")));
}

TEST_F(ScanAndCompareTest, ProgressFollowsTheScanThenTheChanges) {
  MakeChangedDrive();
  progress.clear();
  std::string profile;
  CompareOutcome outcome;
  std::int64_t total = 0;
  (void)Report(true, &profile, &outcome, &total);
  const std::vector<std::string> captions = progress.captions();
  ASSERT_FALSE(captions.empty());
  EXPECT_EQ(captions.front(), "Loading Structure:  c: [DISK1]");
  const auto loading = std::find(captions.begin(), captions.end(), "Loading 7 Folders");
  ASSERT_NE(loading, captions.end());
  const auto firstChange = std::find_if(captions.begin(), captions.end(), [](const std::string& c) {
    return c.rfind("Changes in ", 0) == 0;
  });
  EXPECT_GT(firstChange, loading);
  EXPECT_THAT(captions, ::testing::Contains("Changes in C:\\new folder\\"));
  EXPECT_THAT(captions, Not(::testing::Contains(HasSubstr("Updating"))));
  // The bar runs over the folders, then holds the number of files; the comparison leaves
  // it alone.
  EXPECT_THAT(progress.barMaximums(), ::testing::ElementsAre(7, total));
  EXPECT_FALSE(progress.barVisible());
}

TEST_F(ScanAndCompareTest, AScanFailingHalfWayWritesNoTotals) {
  MakeChangedDrive();
  const std::string padding(100, 'x');
  for (int i = 0; i < 8000; ++i) fs.addFile("C:\\zz\\" + padding + std::to_string(i), i, 0);
  fs.failWritesAfter("Z:\\P\\fused.bvp", 1000);
  auto out = fs.openForReplacing("Z:\\P\\fused.bvp");
  auto reportFile = fs.openForReplacing("Z:\\P\\report.txt");
  auto sink = NewPlainTextReportSink(reportFile.value().get());
  ChangeReport report(sink.get(), locale);
  CompareOutcome outcome;
  std::int64_t total = 0;
  const base::Status s = ScanAndCompareProfiles(fs, scan, locale, out.value().get(), settings,
                                                report, progress, &problems, &total, &outcome);
  EXPECT_EQ(s.code(), base::Status::Code::kIoError);
  ASSERT_TRUE(reportFile.value()->commit().isOk());
  // Changes were reported before the disk filled up; the section stops there.
  EXPECT_GT(outcome.changeLines, 0);
  EXPECT_THAT(*fs.contents("Z:\\P\\report.txt"), Not(HasSubstr("Total of Files")));
}

// The lines of `profile` without those whose text holds `without`.
std::string LinesWithout(const std::string& profile, const std::string& without) {
  std::string kept;
  for (std::size_t start = 0; start < profile.size();) {
    const std::size_t end = profile.find("\r\n", start) + 2;
    const std::string line = profile.substr(start, end - start);
    if (line.find(without) == std::string::npos) kept += line;
    start = end;
  }
  return kept;
}

TEST_F(ScanAndCompareTest, PlacesThatCannotBeReadKeepWhatTheyHeldAtTheLastRun) {
  const platform::UnixSeconds time = 889895102;
  fs.addFile("C:\\top.txt", 1, time);
  fs.addFile("C:\\LOCKED\\a.txt", 10, time);
  fs.addFile("C:\\LOCKED\\SUB\\b.txt", 20, time);
  fs.addFile("C:\\LOCKED\\SUB\\DEEPER\\c.txt", 30, time);
  fs.addFile("C:\\LOCKED\\TEMP\\ignored.txt", 35, time);
  // More than a block of the stored profile is carried.
  for (int i = 0; i < 3000; ++i) {
    fs.addFile("C:\\LOCKED\\SUB\\BIG\\file" + std::to_string(10000 + i), i, time);
  }
  fs.addFile("C:\\FILES\\d.txt", 40, time);
  fs.addFile("C:\\FILES\\SUB\\e.txt", 50, time);
  fs.addFile("C:\\GONE\\f.txt", 60, time);
  fs.addFile("C:\\Z\\g.txt", 70, time);
  std::int64_t total = 0;
  {
    auto stored = fs.openForReplacing(kStored);
    ASSERT_TRUE(
        ScanToProfile(fs, scan, locale, stored.value().get(), progress, &problems, &total).isOk());
    ASSERT_TRUE(stored.value()->commit().isOk());
  }
  const std::string stored = *fs.contents(kStored);

  // Now one folder cannot be read at all, another's files cannot be listed (its sub-folder
  // can), one was removed for real, and the Ignore list names a folder of the stored profile.
  // What changed inside the unreadable places cannot be seen, and is not reported.
  fs.failListing("C:\\LOCKED", base::Status::permissionDenied("C:\\LOCKED\\: access denied"));
  fs.failFileListing("C:\\FILES", base::Status::permissionDenied("C:\\FILES\\: access denied"));
  ASSERT_TRUE(fs.remove("C:\\GONE\\f.txt").isOk());
  fs.failListing("C:\\GONE", base::Status::notFound("C:\\GONE\\: gone"));  // as if gone with it
  fs.addFile("C:\\LOCKED\\SUB\\unseen.txt", 1, time);
  fs.addFile("C:\\Z\\h.txt", 80, time);
  settings.ignore = IgnoreMatcher({"C:\\LOCKED\\TEMP\\"});
  scan.ignore = settings.ignore;
  fs.denyScratch();  // the walk lists folders only, so files are listed on their own
  problems = ScanProblems();
  std::string profile;
  CompareOutcome outcome;
  const std::string report = Report(true, &profile, &outcome, &total);
  EXPECT_THAT(ShownLines(report),
              ::testing::IsSupersetOf({"In C:\\GONE\\", "   Deleted f.txt (.06 K)", "In C:\\Z\\",
                                       "   Added h.txt (.08 K)"}));
  EXPECT_EQ(outcome.changeLines, 2);
  // The new profile holds the stored records of the unread places unchanged.
  const std::string h = "80,#1998-03-14 17:05:02#,\"C:\\Z\\\",\"h.txt\"\r\n";
  EXPECT_EQ(profile, LinesWithout(LinesWithout(stored, "GONE"), "TEMP") + h);
  EXPECT_EQ(total, 3009 - 2 + 1);
  EXPECT_EQ(problems.message("c: [DISK1]", true),
            "Some places of drive c: [DISK1] could not be read; what they held at the last run is "
            "kept in its profile:\nC:\\LOCKED\\: access denied\nC:\\FILES\\: access denied");

  // Readable again, they show what really changed in them since, and nothing else.
  fs.clearFaults();
  ASSERT_TRUE(WriteFileAtomically(fs, kStored, profile).isOk());
  problems = ScanProblems();
  EXPECT_THAT(ShownLines(Report(true, &profile, &outcome, &total)),
              ::testing::IsSupersetOf({"In C:\\LOCKED\\SUB\\", "   Added unseen.txt (.00 K)"}));
  EXPECT_EQ(outcome.changeLines, 1);
  EXPECT_TRUE(problems.empty());
}

TEST_F(CompareProfilesTest, ListenerIsToldTheReportsChangesInTheReportsOrder) {
  RecordingListener listener;
  settings.listener = &listener;
  ASSERT_TRUE(Compare(kWorkedOld + Line(5, "1998-01-01", "C:\\WINDOWS\\", "SAME.INI") +
                          Line(70, "1998-01-01", "C:\\WINDOWS\\", "SMALLER.DAT"),
                      kWorkedNew + Line(5, "1998-01-01", "C:\\WINDOWS\\", "SAME.INI") +
                          Line(7, "1998-01-01", "C:\\WINDOWS\\", "SMALLER.DAT"))
                  .isOk());
  EXPECT_EQ(listener.lines,
            (std::vector<std::string>{
                "start c: [DISK1]", "C:\\ Grew AUTOEXEC.BAT 390 420",
                "C:\\ Time AUTOEXEC.BAT #1998-10-20 09:15:00##1998-10-27 19:40:12#",
                "C:\\WINDOWS\\ Added NEW.DLL 1572864", "C:\\WINDOWS\\ Deleted OLD.LOG 2560",
                "C:\\WINDOWS\\ Shrunk SMALLER.DAT 70 7", "totals 1572864 2560 -33"}));
  // As many changes as the report has change lines.
  EXPECT_EQ(static_cast<std::int64_t>(listener.lines.size()) - 2, outcome.changeLines);
}

TEST_F(CompareProfilesTest, ListenerThatFailsStopsTheDriveWithoutTotals) {
  for (int failAt : {0, 2, 3}) {
    RecordingListener listener;
    listener.failAt = failAt;
    settings.listener = &listener;
    const base::Status s = Compare(kWorkedOld, kWorkedNew);
    EXPECT_EQ(s.code(), base::Status::Code::kIoError) << failAt;
    EXPECT_THAT(Report(), Not(HasSubstr("Total of Files Added"))) << failAt;
  }
  // The last call fails: the report has its totals, but the drive still fails.
  RecordingListener listener;
  listener.failAt = 5;
  settings.listener = &listener;
  EXPECT_EQ(Compare(kWorkedOld, kWorkedNew).code(), base::Status::Code::kIoError);
  EXPECT_THAT(Report(), HasSubstr("Total of Files Added"));
  EXPECT_EQ(listener.lines.back(), "C:\\WINDOWS\\ Deleted OLD.LOG 2560");
}

}  // namespace
}  // namespace engine
