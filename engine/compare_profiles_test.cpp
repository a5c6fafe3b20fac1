// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/compare_profiles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <random>

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
  Status Compare(const std::string& oldProfile, const std::string& newProfile,
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
    Status s = CompareProfiles(fs, settings, report, progress, &outcome);
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
  Status closed;
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
  fs.failOpen(kOld, Status::permissionDenied("C:\\P\\Prof_C_.bvp: access denied"));
  Status s = Compare(Line(1, "2000-01-01", "C:\\", "A"), Line(1, "2000-01-01", "C:\\", "A"));
  EXPECT_EQ(s.code(), Status::Code::kPermissionDenied);
  EXPECT_THAT(s.message(), HasSubstr("Prof_C_.bvp"));
}

TEST_F(CompareProfilesTest, CorruptLineStopsTheDriveBeforeAnythingIsCalledAdded) {
  Status s = Compare(
      Line(1, "2000-01-01", "C:\\", "A") + "garbage\r\n" + Line(1, "2000-01-01", "C:\\", "Z"),
      Line(1, "2000-01-01", "C:\\", "A") + Line(1, "2000-01-01", "C:\\", "Z"));
  EXPECT_EQ(s.code(), Status::Code::kCorrupt);
  EXPECT_THAT(s.message(), HasSubstr("line 2"));
  EXPECT_THAT(Report(), Not(HasSubstr("Added")));
  EXPECT_THAT(Report(), Not(HasSubstr("Total")));
}

TEST_F(CompareProfilesTest, TruncatedLastLineEndsTheFileQuietly) {
  ASSERT_TRUE(Compare(Line(1, "2000-01-01", "C:\\", "A") + "5,#2000-01-01#,\"C:\\\",\"B",
                      Line(1, "2000-01-01", "C:\\", "A"))
                  .isOk());
  EXPECT_EQ(outcome.changeLines, 0);
}

TEST_F(CompareProfilesTest, OutOfOrderStoredProfileIsReportedOnce) {
  ASSERT_TRUE(Compare(Line(1, "2000-01-01", "C:\\", "B") + Line(1, "2000-01-01", "C:\\", "A") +
                          Line(1, "2000-01-01", "C:\\", "A"),
                      Line(1, "2000-01-01", "C:\\", "A") + Line(1, "2000-01-01", "C:\\", "B"))
                  .isOk());
  EXPECT_EQ(outcome.orderWarning.code(), Status::Code::kCorrupt);
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

  Status driveStarted(std::string_view drive) override {
    return note("start " + std::string(drive));
  }
  Status added(const ProfileRecord& r) override {
    return note(r.folder + " Added " + r.name + " " + std::to_string(r.size));
  }
  Status deleted(const ProfileRecord& r) override {
    return note(r.folder + " Deleted " + r.name + " " + std::to_string(r.size));
  }
  Status sizeChanged(const ProfileRecord& o, const ProfileRecord& n) override {
    return note(n.folder + (n.size > o.size ? " Grew " : " Shrunk ") + n.name + " " +
                std::to_string(o.size) + " " + std::to_string(n.size));
  }
  Status timeChanged(const ProfileRecord& o, const ProfileRecord& n) override {
    std::string text = n.folder + " Time " + n.name + " ";
    AppendProfileTime(o.time, &text);
    AppendProfileTime(n.time, &text);
    return note(text);
  }
  Status driveFinished(std::int64_t added, std::int64_t deleted, std::int64_t changed) override {
    return note("totals " + std::to_string(added) + " " + std::to_string(deleted) + " " +
                std::to_string(changed));
  }

 private:
  Status note(std::string line) {
    if (static_cast<int>(lines.size()) == failAt) return Status::ioError("listener is full");
    lines.push_back(std::move(line));
    return Status::ok();
  }
};

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
    const Status s = Compare(kWorkedOld, kWorkedNew);
    EXPECT_EQ(s.code(), Status::Code::kIoError) << failAt;
    EXPECT_THAT(Report(), Not(HasSubstr("Total of Files Added"))) << failAt;
  }
  // The last call fails: the report has its totals, but the drive still fails.
  RecordingListener listener;
  listener.failAt = 5;
  settings.listener = &listener;
  EXPECT_EQ(Compare(kWorkedOld, kWorkedNew).code(), Status::Code::kIoError);
  EXPECT_THAT(Report(), HasSubstr("Total of Files Added"));
  EXPECT_EQ(listener.lines.back(), "C:\\WINDOWS\\ Deleted OLD.LOG 2560");
}

}  // namespace
}  // namespace engine
