// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/run_conductor.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <functional>
#include <map>
#include <set>

#include "engine/history.h"
#include "engine/profile_reader.h"
#include "platform/posix/posix_file_system.h"
#include "platform/run_lock.h"
#include "platform/testing/fixed_locale.h"
#include "platform/testing/memory_file_system.h"
#include "platform/testing/temp_folder.h"

namespace engine {
namespace {

using ::testing::AllOf;
using ::testing::Contains;
using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;
using ::testing::UnorderedElementsAre;

constexpr const char* kProgram = "Z:\\BV\\";

// Progress that cancels, as the Cancel button does, when a chosen caption appears.
class CancellingProgress final : public platform::Progress {
 public:
  explicit CancellingProgress(std::vector<std::string>* log) : m_log(log) {}
  // Cancels when `caption` appears; "" never cancels. Starts afresh for the next run.
  void cancelOnCaption(std::string caption) {
    m_trigger = std::move(caption);
    m_cancelled = false;
  }
  // The user presses Cancel now.
  void cancelNow() {
    m_cancelled = true;
    m_log->push_back("play cxl");
  }
  void setCaption(std::string_view caption) override {
    if (!m_trigger.empty() && caption == m_trigger && !m_cancelled) {
      m_cancelled = true;
      m_log->push_back("play cxl");
    }
  }
  void setLabelVisible(bool) override {}
  void setBarMaximum(std::int64_t) override {}
  void setBarValue(std::int64_t) override {}
  void setBarVisible(bool) override {}
  bool shouldContinue() override { return !m_cancelled; }

 private:
  std::vector<std::string>* m_log;
  std::string m_trigger;
  bool m_cancelled = false;
};

// A user who answers from a script and whose actions are logged in order.
class ScriptedUi final : public RunUserInterface {
 public:
  explicit ScriptedUi(platform::FileSystem& fs) : m_fs(fs), m_progress(&log) {}

  // Each selection marks the listed rows (added to the marks kept from the previous show);
  // an empty optional cancels the dialog.
  std::deque<std::optional<std::vector<std::size_t>>> selections;
  std::deque<bool> retries;
  std::deque<bool> yesNo;
  bool oneReport = false;
  std::vector<std::string> log;
  std::vector<std::vector<bool>> marksShown;

  bool selectDrives(const std::vector<std::string>&, std::vector<bool>* marks,
                    SettingsRecord*) override {
    log.push_back("select");
    marksShown.push_back(*marks);
    if (selections.empty() || !selections.front()) return false;
    for (std::size_t row : *selections.front()) (*marks)[row] = true;
    selections.pop_front();
    return true;
  }
  bool retryWithoutDrives() override {
    log.push_back("no drives?");
    const bool answer = !retries.empty() && retries.front();
    if (!retries.empty()) retries.pop_front();
    return answer;
  }
  bool askYesNo(std::string_view title, std::string_view text) override {
    log.push_back("ask " + std::string(title) + " " + std::string(text));
    const bool answer = !yesNo.empty() && yesNo.front();
    if (!yesNo.empty()) yesNo.pop_front();
    return answer;
  }
  bool askOneReport(SettingsRecord*) override {
    log.push_back("one report?");
    return oneReport;
  }
  void showMessage(std::string_view text) override {
    log.push_back("message " + std::string(text));
  }
  void runStarted() override { log.push_back("started"); }
  void runEnded() override { log.push_back("ended"); }
  void play(Cue cue) override { log.push_back(cue == Cue::kStart ? "play start" : "play done"); }
  platform::Progress& progress() override { return m_progress; }
  base::Status loadReport(const std::string& path) override {
    log.push_back("load " + path);
    auto text = platform::ReadWholeFile(m_fs, path);
    if (!text.isOk()) return text.status();
    view = text.value();
    return base::Status::ok();
  }
  base::Status writeReport(platform::ReplacementFile* report, bool richText) override {
    log.push_back(std::string("save ") + (richText ? "rich " : "plain ") + report->targetPath());
    base::Status s = report->append(view);
    if (afterWriting) afterWriting();
    return s;
  }
  void reportSaved(const std::string& path) override {
    log.push_back("saved " + path);
    if (afterSaving) afterSaving();
  }
  void switchOffInfoOnly() override { log.push_back("info-only off"); }
  platform::LocalDateTime now() override { return {1998, 12, 6, 14, 7, 0}; }

  CancellingProgress& cancelling() { return m_progress; }
  std::string view;
  // Run when a report has been written but not yet renamed into place, and when it has.
  std::function<void()> afterWriting;
  std::function<void()> afterSaving;

 private:
  platform::FileSystem& m_fs;
  CancellingProgress m_progress;
};

// Three drives C, D and E with a file each, and the program folder on a fourth, Z.
struct RunWorld {
  RunWorld() : ui(fs) {
    fs.addFolder("Z:\\BV");
    for (const char* drive : {"C", "D", "E"}) {
      const std::string root = std::string(drive) + ":\\";
      fs.addFile(root + "DATA\\old.txt", 100, 1000);
      env.drives.push_back({std::string(1, static_cast<char>(drive[0] + 32)) + ": [DISK]", root});
    }
    env.fs = &fs;
    env.locale = &locale;
    env.programFolder = kProgram;
    env.settingsPath = std::string(kProgram) + "BV3.Def";
    env.settings = &settings;
    settings.ReportFormat = 'R';
    settings.ReportNaming = 'D';  // names by drive alone, the same every run
  }

  static std::string ProfileOf(char letter) {
    return std::string(kProgram) + "Prof_" + letter + "_.bvp";
  }

  // Gives the drive a stored profile and then changes the drive, so its comparison reports.
  void ProfileAndChange(char letter) {
    fs.addTextFile(ProfileOf(letter), "100,#1970-01-01 00:16:40#,\"" + std::string(1, letter) +
                                          ":\\DATA\\\",\"old.txt\"\r\n");
    fs.addFile(std::string(1, letter) + ":\\DATA\\new.txt", 2048, 2000);
  }

  RunOutcome Run() { return FindChanges(env, ui); }

  platform::MemoryFileSystem fs;
  platform::FixedLocale locale;
  SettingsRecord settings;
  RunEnvironment env;
  ScriptedUi ui;
};

class RunConductorTest : public ::testing::Test, public RunWorld {
 protected:
  using RunWorld::Run;  // not the test's own Run()

  std::vector<std::string> Asked() {
    std::vector<std::string> asked;
    for (const std::string& entry : ui.log) {
      if (entry.rfind("ask ", 0) == 0 || entry == "one report?") asked.push_back(entry);
    }
    return asked;
  }
};

const std::string kOneMissing =
    "ask Create New Profile(s)? I do not yet have a profile for 1 of the drives you "
    "selected.\r\nDo you want to create it now?";

TEST_F(RunConductorTest, ThreeDrivesOneMissingAsksSingularThenOneOrMany) {
  ProfileAndChange('C');
  ProfileAndChange('E');
  ui.selections = {std::vector<std::size_t>{0, 1, 2}};
  ui.yesNo = {true};
  const RunOutcome outcome = Run();
  EXPECT_THAT(Asked(), ElementsAre(kOneMissing, "one report?"));
  EXPECT_EQ(outcome.comparedDrives, 2);
  EXPECT_EQ(outcome.writtenProfiles.size(), 3u);
  EXPECT_THAT(outcome.savedReports,
              ElementsAre("Z:\\BV\\Reports\\Drive_C.rtf", "Z:\\BV\\Reports\\Drive_E.rtf"));
  EXPECT_THAT(*fs.contents("Z:\\BV\\Reports\\Drive_E.rtf"), HasSubstr("Added new.txt (2.00 K)"));
  EXPECT_TRUE(fs.exists(ProfileOf('D')));
  EXPECT_FALSE(fs.exists("Z:\\BV\\bvp.tmp"));
}

TEST_F(RunConductorTest, TwoDrivesOneMissingIsNotAskedOneOrMany) {
  ProfileAndChange('C');
  ui.selections = {std::vector<std::size_t>{0, 1}};
  ui.yesNo = {true};
  const RunOutcome outcome = Run();
  EXPECT_THAT(Asked(), ElementsAre(kOneMissing));
  EXPECT_EQ(outcome.comparedDrives, 1);
  EXPECT_THAT(outcome.savedReports, ElementsAre("Z:\\BV\\Reports\\Drive_C.rtf"));
}

TEST_F(RunConductorTest, AllMissingAsksPluralAndWritesNoReport) {
  ui.selections = {std::vector<std::size_t>{0, 2}};
  ui.yesNo = {true};
  const RunOutcome outcome = Run();
  EXPECT_THAT(Asked(),
              ElementsAre("ask Create New Profile(s)? I do not yet have profiles for 2 "
                          "of the drives you selected.\r\nDo you want to create them now?"));
  EXPECT_EQ(outcome.comparedDrives, 0);
  EXPECT_THAT(outcome.savedReports, IsEmpty());
  EXPECT_FALSE(fs.exists("Z:\\BV\\temp.rtf"));
  EXPECT_THAT(ui.log, Not(Contains(HasSubstr("load "))));
  EXPECT_THAT(ui.log, Contains("play done"));
  EXPECT_EQ(*fs.contents(ProfileOf('E')),
            "100,#1970-01-01 00:16:40#,\"E:\\DATA\\\",\"old.txt\"\r\n");
}

TEST_F(RunConductorTest, ADriveThatIsNotThereIsNeverScannedEvenWhenMarked) {
  // D was a volume that is not mounted now: its mount point is an empty folder.
  ProfileAndChange('D');
  const std::string storedD = *fs.contents(ProfileOf('D'));
  env.drives[1].available = false;
  ui.selections = {std::vector<std::size_t>{0, 1}};
  ui.yesNo = {true};
  RunOutcome outcome = Run();
  EXPECT_THAT(Asked(), ElementsAre(kOneMissing));  // C only; D is not counted
  EXPECT_THAT(outcome.markedDrives, ElementsAre("c: [DISK]"));
  ASSERT_EQ(outcome.drives.size(), 1u);
  EXPECT_EQ(outcome.drives[0].state, DriveResult::State::kProfiled);
  EXPECT_EQ(outcome.drives[0].files, 1);
  EXPECT_EQ(outcome.drives[0].folders, 2);  // the root and DATA
  EXPECT_EQ(*fs.contents(ProfileOf('D')), storedD);
  EXPECT_THAT(outcome.savedReports, IsEmpty());

  // Marking it alone is marking nothing.
  ui.log.clear();
  ui.selections = {std::vector<std::size_t>{1}};
  ui.retries = {false};
  outcome = Run();
  EXPECT_THAT(ui.log, ElementsAre("select", "no drives?"));
  EXPECT_FALSE(outcome.driveLoopStarted);
}

TEST_F(RunConductorTest, NoToCreatingShowsTheSelectionAgainWithItsMarks) {
  ui.selections = {std::vector<std::size_t>{1}, std::vector<std::size_t>{}};
  ui.yesNo = {false, true};
  Run();
  ASSERT_EQ(ui.marksShown.size(), 2u);
  EXPECT_THAT(ui.marksShown[1], ElementsAre(false, true, false));
  EXPECT_EQ(Asked().size(), 2u);
  EXPECT_TRUE(fs.exists(ProfileOf('D')));
}

TEST_F(RunConductorTest, NothingMarkedThenRetryThenCancelScansNothing) {
  ui.selections = {std::vector<std::size_t>{}, std::vector<std::size_t>{}};
  ui.retries = {true, false};
  const RunOutcome outcome = Run();
  EXPECT_THAT(ui.log, ElementsAre("select", "no drives?", "select", "no drives?"));
  EXPECT_FALSE(outcome.driveLoopStarted);
  EXPECT_FALSE(fs.exists("Z:\\BV\\bvp.tmp"));
}

TEST_F(RunConductorTest, CancelDuringTheSecondOfThreeDrives) {
  for (char letter : {'C', 'D', 'E'}) ProfileAndChange(letter);
  const std::string storedD = *fs.contents(ProfileOf('D'));
  const std::string storedE = *fs.contents(ProfileOf('E'));
  ui.selections = {std::vector<std::size_t>{0, 1, 2}};
  ui.cancelling().cancelOnCaption("Loading Structure:  d: [DISK]");
  const RunOutcome outcome = Run();
  EXPECT_TRUE(outcome.cancelled);
  EXPECT_THAT(*fs.contents(ProfileOf('C')), HasSubstr("new.txt"));
  EXPECT_EQ(*fs.contents(ProfileOf('D')), storedD);
  EXPECT_EQ(*fs.contents(ProfileOf('E')), storedE);
  EXPECT_THAT(ui.log, Contains("play cxl"));
  EXPECT_THAT(ui.log, Not(Contains("play done")));
  EXPECT_EQ(ui.log.back(), "ended");
}

TEST_F(RunConductorTest, InfoOnlyScansButWritesNoProfileAndSwitchesItselfOff) {
  env.infoOnly = true;
  ui.selections = {std::vector<std::size_t>{0}};
  ui.yesNo = {true};
  Run();
  EXPECT_FALSE(fs.exists(ProfileOf('C')));
  // The scan that became no profile leaves nothing behind.
  EXPECT_THAT(fs.namesIn(kProgram), ElementsAre("Reports"));
  EXPECT_THAT(ui.log, Contains("info-only off"));
}

TEST_F(RunConductorTest, InfoOnlyComparisonReportsAndKeepsTheStoredProfile) {
  ProfileAndChange('C');
  const std::string stored = *fs.contents(ProfileOf('C'));
  env.infoOnly = true;
  ui.selections = {std::vector<std::size_t>{0}};
  const RunOutcome outcome = Run();
  EXPECT_EQ(outcome.changeLines, 1);
  EXPECT_EQ(*fs.contents(ProfileOf('C')), stored);
}

TEST_F(RunConductorTest, CombinedReportNamesEveryMarkedDriveWithTimeStamp) {
  ProfileAndChange('D');
  ProfileAndChange('E');
  settings.ReportNaming = 'T';
  ui.selections = {std::vector<std::size_t>{0, 1, 2}};
  ui.yesNo = {true};
  ui.oneReport = true;
  const RunOutcome outcome = Run();
  EXPECT_THAT(outcome.savedReports, ElementsAre("Z:\\BV\\Reports\\Drive_C_D_E__12-6-98_1407.rtf"));
  const std::string report = *fs.contents("Z:\\BV\\Reports\\Drive_C_D_E__12-6-98_1407.rtf");
  EXPECT_THAT(report, HasSubstr("Disk Activity on D: [DISK]"));
  EXPECT_THAT(report, HasSubstr("Disk Activity on E: [DISK]"));
  EXPECT_THAT(report, Not(HasSubstr("Disk Activity on C:")));
  EXPECT_EQ(report.find("{\\rtf1"), report.rfind("{\\rtf1"));
  EXPECT_EQ(report.substr(report.size() - 9), " \\par }\r\n");
}

TEST_F(RunConductorTest, CombinedReportWhoseLastDriveIsOnlyCreatedStillEndsTheDocument) {
  ProfileAndChange('C');
  ProfileAndChange('D');
  ui.selections = {std::vector<std::size_t>{0, 1, 2}};
  ui.yesNo = {true};
  ui.oneReport = true;
  settings.ReportFormat = 'T';
  const RunOutcome outcome = Run();
  ASSERT_THAT(outcome.savedReports, ElementsAre("Z:\\BV\\Reports\\Drive_C_D_E_.txt"));
  EXPECT_EQ(ui.view.substr(ui.view.size() - 9), " \\par }\r\n");
  EXPECT_THAT(ui.log, Contains("save plain Z:\\BV\\Reports\\Drive_C_D_E_.txt"));
}

TEST_F(RunConductorTest, UnreadableDriveIsReportedSkippedAndKeepsItsProfile) {
  ProfileAndChange('C');
  ProfileAndChange('D');
  const std::string stored = *fs.contents(ProfileOf('C'));
  fs.failListing("C:\\", base::Status::ioError("C:\\: device not ready"));
  ui.selections = {std::vector<std::size_t>{0, 1}};
  const RunOutcome outcome = Run();
  EXPECT_EQ(outcome.failedDrives, 1);
  EXPECT_EQ(outcome.comparedDrives, 1);
  EXPECT_EQ(*fs.contents(ProfileOf('C')), stored);
  EXPECT_THAT(ui.log, Contains(HasSubstr("device not ready")));
  EXPECT_THAT(outcome.savedReports, ElementsAre("Z:\\BV\\Reports\\Drive_D.rtf"));
}

TEST_F(RunConductorTest, BrokenStoredProfileKeepsItAndSavesNoReport) {
  fs.addTextFile(ProfileOf('C'), "this is not a profile\r\n100,#1970-01-01#,\"C:\\\",\"x\"\r\n");
  ui.selections = {std::vector<std::size_t>{0}};
  const RunOutcome outcome = Run();
  EXPECT_EQ(outcome.failedDrives, 1);
  EXPECT_THAT(outcome.savedReports, IsEmpty());
  EXPECT_THAT(*fs.contents(ProfileOf('C')), HasSubstr("this is not a profile"));
  EXPECT_THAT(ui.log, Not(Contains(HasSubstr("load "))));
}

TEST_F(RunConductorTest, IgnoreListIsReadAtTheStartOfTheRun) {
  ProfileAndChange('C');
  fs.addTextFile("Z:\\BV\\ignore.txt", "c:\\data\\\r\n");
  ui.selections = {std::vector<std::size_t>{0}};
  const RunOutcome outcome = Run();
  // The stored record in the ignored folder is not reported; new files there are not seen.
  EXPECT_EQ(outcome.changeLines, 0);
}

// What became of each drive, one line a drive, for comparing whole runs at a glance.
std::vector<std::string> Results(const RunOutcome& outcome) {
  std::vector<std::string> lines;
  for (const DriveResult& r : outcome.drives) {
    const char* states[] = {"profiled", "compared", "failed", "cancelled"};
    lines.push_back(r.displayText + " " + states[static_cast<int>(r.state)] + " " +
                    std::to_string(r.files) + " files " + std::to_string(r.changeLines) +
                    " changes " + r.reportPath);
  }
  return lines;
}

// Counts the drives and changes a run passes on besides its report.
class CountingListener final : public ChangeListener {
 public:
  std::vector<std::string> drives;
  int changes = 0;
  int finished = 0;
  base::Status driveStarted(std::string_view drive) override {
    drives.emplace_back(drive);
    return base::Status::ok();
  }
  base::Status added(const RecordView&) override { return count(); }
  base::Status deleted(const RecordView&) override { return count(); }
  base::Status sizeChanged(const RecordView&, const RecordView&) override { return count(); }
  base::Status timeChanged(const RecordView&, const RecordView&) override { return count(); }
  base::Status driveFinished(std::int64_t, std::int64_t, std::int64_t) override {
    ++finished;
    return base::Status::ok();
  }

 private:
  base::Status count() {
    ++changes;
    return base::Status::ok();
  }
};

TEST_F(RunConductorTest, EachDriveSaysWhatBecameOfItAndTheListenerHearsTheComparisons) {
  ProfileAndChange('C');
  ProfileAndChange('E');
  fs.failListing("E:\\", base::Status::ioError("E:\\: device not ready"));
  CountingListener listener;
  env.changeListener = &listener;
  ui.selections = {std::vector<std::size_t>{0, 1, 2}};
  ui.yesNo = {true};
  const RunOutcome outcome = Run();
  EXPECT_THAT(
      Results(outcome),
      ElementsAre("c: [DISK] compared 2 files 1 changes Z:\\BV\\Reports\\Drive_C.rtf",
                  "d: [DISK] profiled 1 files 0 changes ", "e: [DISK] failed 0 files 0 changes "));
  EXPECT_THAT(listener.drives, ElementsAre("c: [DISK]"));
  EXPECT_EQ(listener.changes, 1);
  EXPECT_EQ(listener.finished, 1);
}

TEST_F(RunConductorTest, AChangedHiddenFilesSettingIsToldOnceAndRecordedWithEachProfile) {
  const std::string conf = std::string(kProgram) + "brinvale.conf";
  env.confPath = conf;
  fs.addFile("C:\\DATA\\.rc", 7, 1000);
  fs.setHidden("C:\\DATA\\.rc");
  fs.addTextFile(conf, "# mine\n[window]\nwidth = 800\n");
  const auto run = [&](bool hidden, std::vector<std::size_t> drives) {
    env.includeHidden = hidden;
    ui.selections = {drives};
    ui.yesNo = {true};
    ui.log.clear();
    return Run();
  };
  const auto notices = [](const RunOutcome& outcome) {
    std::vector<std::string> found;
    for (const DriveResult& drive : outcome.drives) found.push_back(drive.notice);
    return found;
  };

  // Profiles made as before: nothing to record, as none recorded means left out.
  ASSERT_EQ(run(false, {0, 1}).writtenProfiles.size(), 2u);
  EXPECT_EQ(fs.contents(conf), "# mine\n[window]\nwidth = 800\n");

  RunOutcome outcome = run(true, {0, 1});
  EXPECT_THAT(notices(outcome),
              ElementsAre("Hidden files are now included for c: [DISK]: their files show as "
                          "added this once.",
                          "Hidden files are now included for d: [DISK]: their files show as "
                          "added this once."));
  EXPECT_EQ(outcome.changeLines, 1);  // C's .rc, compared as usual
  EXPECT_THAT(*fs.contents("Z:\\BV\\Reports\\Drive_C.rtf"), HasSubstr(".rc"));
  EXPECT_EQ(fs.contents(conf),
            "# mine\n[window]\nwidth = 800\n\n[profiles]\nC.hidden = true\nD.hidden = true\n");

  outcome = run(true, {0});
  EXPECT_THAT(notices(outcome), ElementsAre(""));
  EXPECT_EQ(outcome.changeLines, 0);

  // An info-only run tells, but keeps the profile and so the record.
  env.infoOnly = true;
  outcome = run(false, {0});
  env.infoOnly = false;
  EXPECT_THAT(notices(outcome), ElementsAre("Hidden files are now left out for c: [DISK]: their "
                                            "files show as deleted this once."));
  EXPECT_THAT(*fs.contents(conf), HasSubstr("C.hidden = true\n"));

  // With one report for both drives, each record follows its profile into place.
  ui.oneReport = true;
  outcome = run(false, {0, 1});
  EXPECT_EQ(outcome.changeLines, 1);
  EXPECT_EQ(outcome.writtenProfiles.size(), 2u);
  EXPECT_THAT(notices(outcome), Each(HasSubstr("now left out")));
  EXPECT_EQ(fs.contents(conf),
            "# mine\n[window]\nwidth = 800\n\n[profiles]\nC.hidden = false\nD.hidden = false\n");
  EXPECT_THAT(ui.log, Not(Contains(HasSubstr("message"))));
}

// A drive whose report could not be saved has nothing explained: no notice, and no record,
// so the run that does save its changes is the one that tells.
TEST_F(RunConductorTest, AnUnsavedReportGetsNoNoticeAndTheRunThatSavesOneTellsIt) {
  const std::string conf = std::string(kProgram) + "brinvale.conf";
  env.confPath = conf;
  env.includeHidden = true;
  ProfileAndChange('C');
  fs.addFile("C:\\DATA\\.rc", 7, 1000);
  fs.setHidden("C:\\DATA\\.rc");
  fs.addFolder("Z:\\BV\\Reports\\Drive_C.rtf");  // where the report should go
  ui.selections = {std::vector<std::size_t>{0}};
  RunOutcome outcome = Run();
  ASSERT_EQ(outcome.failedDrives, 1);
  EXPECT_EQ(outcome.drives.at(0).notice, "");
  EXPECT_FALSE(fs.contents(conf).has_value());

  ASSERT_TRUE(fs.rename("Z:\\BV\\Reports\\Drive_C.rtf", "Z:\\BV\\old").isOk());
  ui.selections = {std::vector<std::size_t>{0}};
  outcome = Run();
  ASSERT_EQ(outcome.failedDrives, 0);
  EXPECT_EQ(outcome.drives.at(0).notice,
            "Hidden files are now included for c: [DISK]: their files show as added this once.");
  EXPECT_EQ(fs.contents(conf), "[profiles]\nC.hidden = true\n");

  // Cancelled before its report was in place: the same.
  fs.addFile("C:\\DATA\\.rc2", 7, 1000);
  fs.setHidden("C:\\DATA\\.rc2");
  env.includeHidden = false;
  ui.selections = {std::vector<std::size_t>{0}};
  ui.afterWriting = [this] { ui.cancelling().cancelNow(); };
  outcome = Run();
  ASSERT_TRUE(outcome.cancelled);
  EXPECT_EQ(outcome.drives.at(0).notice, "");
  EXPECT_EQ(fs.contents(conf), "[profiles]\nC.hidden = true\n");
}

TEST_F(RunConductorTest, ARecordThatCannotBeStoredIsToldOnceAndTheProfilesStillReplaced) {
  const std::string conf = std::string(kProgram) + "brinvale.conf";
  env.confPath = conf;
  env.includeHidden = true;
  fs.addFolder(conf);  // nothing can replace a folder
  ui.selections = {std::vector<std::size_t>{0, 1, 2}};
  ui.yesNo = {true};
  const RunOutcome outcome = Run();
  EXPECT_EQ(outcome.writtenProfiles.size(), 3u);
  const auto told = std::count_if(ui.log.begin(), ui.log.end(), [](const std::string& entry) {
    return entry.rfind("message Which hidden-files setting the new profiles were made with", 0) ==
           0;
  });
  EXPECT_EQ(told, 1);
}

TEST_F(RunConductorTest, AReplacedProfileIsKeptWithItsIndexLineAndACreatedOneIsNot) {
  fs.setNow(1700000000);
  ProfileAndChange('C');
  const std::string old = *fs.contents(ProfileOf('C'));
  fs.setNow(1700003600);
  ui.selections = {std::vector<std::size_t>{0, 1}};
  ui.yesNo = {true};
  const RunOutcome outcome = Run();
  ASSERT_EQ(outcome.writtenProfiles.size(), 2u);

  std::vector<Generation> index;
  ASSERT_TRUE(ReadHistoryIndex(fs, "Z:\\BV\\History\\C\\", &index).isOk());
  ASSERT_EQ(index.size(), 1u);
  const Generation& kept = index[0];
  EXPECT_EQ(kept.file, "20231114T221320Z.bvp.zst");
  EXPECT_EQ(kept.made, 1700000000);
  // Replaced when the new profile was made: the time of the next generation.
  EXPECT_EQ(kept.replaced, fs.modificationTime(ProfileOf('C')).value());
  EXPECT_GE(kept.replaced, 1700003600);
  EXPECT_EQ(kept.files, 1);
  EXPECT_EQ(kept.bytes, 100);
  EXPECT_EQ(kept.added, 1);
  EXPECT_EQ(kept.addedBytes, 2048);
  EXPECT_EQ(kept.deleted + kept.grew + kept.shrunk + kept.timeChanged + kept.deletedBytes, 0);
  auto reader = OpenProfileFile(fs, "Z:\\BV\\History\\C\\" + kept.file);
  ASSERT_TRUE(reader.isOk());
  std::string text(4096, '\0');
  std::size_t got = 0;
  ASSERT_TRUE(reader.value()->read(text.size(), text.data(), &got).isOk());
  EXPECT_EQ(text.substr(0, got), old);
  // D had no profile to keep.
  EXPECT_FALSE(fs.exists("Z:\\BV\\History\\D"));

  // An info-only run replaces nothing and so keeps nothing; a depth of 0 keeps none.
  fs.addFile("C:\\DATA\\newer.txt", 1, 3000);
  env.infoOnly = true;
  ui.selections = {std::vector<std::size_t>{0}};
  Run();
  env.infoOnly = false;
  env.confPath = std::string(kProgram) + "brinvale.conf";
  fs.addTextFile(env.confPath, "[history]\ndepth = 0\n");
  ui.selections = {std::vector<std::size_t>{0}};
  ASSERT_EQ(Run().writtenProfiles.size(), 1u);
  ASSERT_TRUE(ReadHistoryIndex(fs, "Z:\\BV\\History\\C\\", &index).isOk());
  EXPECT_EQ(index.size(), 1u);
}

TEST_F(RunConductorTest, AFailureToKeepAGenerationIsToldOnceAndTheProfilesStillReplaced) {
  ProfileAndChange('C');
  ProfileAndChange('D');
  fs.failOpen("Z:\\BV\\History", base::Status::permissionDenied("Z:\\BV\\History: denied"));
  ui.selections = {std::vector<std::size_t>{0, 1}};
  const RunOutcome outcome = Run();
  EXPECT_EQ(outcome.failedDrives, 0);
  EXPECT_EQ(outcome.writtenProfiles.size(), 2u);
  EXPECT_EQ(outcome.savedReports.size(), 2u);
  EXPECT_THAT(*fs.contents(ProfileOf('C')), HasSubstr("new.txt"));
  EXPECT_THAT(*fs.contents(ProfileOf('D')), HasSubstr("new.txt"));
  const auto told = std::count(ui.log.begin(), ui.log.end(),
                               "message A replaced profile could not be kept in the History "
                               "folder; the run went on without it:\nZ:\\BV\\History: denied");
  EXPECT_EQ(told, 1);
}

// Every compared drive of three, with one report for all of them.
class OneReportTest : public RunConductorTest {
 protected:
  OneReportTest() {
    for (char letter : {'C', 'D', 'E'}) {
      ProfileAndChange(letter);
      stored[letter] = *fs.contents(ProfileOf(letter));
    }
    ui.selections = {std::vector<std::size_t>{0, 1, 2}};
    ui.oneReport = true;
  }

  void ExpectEveryProfileKept() {
    for (char letter : {'C', 'D', 'E'}) {
      EXPECT_EQ(*fs.contents(ProfileOf(letter)), stored[letter]) << letter;
    }
    EXPECT_THAT(fs.namesIn("Z:\\BV\\Reports"), IsEmpty());
    EXPECT_THAT(fs.namesIn(kProgram), Not(Contains(HasSubstr(".brinvale-"))));
  }

  std::map<char, std::string> stored;
};

TEST_F(OneReportTest, CancelDuringTheThirdDriveKeepsEveryProfileForTheNextRun) {
  ui.cancelling().cancelOnCaption("Loading Structure:  e: [DISK]");
  const RunOutcome outcome = Run();
  EXPECT_TRUE(outcome.cancelled);
  EXPECT_THAT(outcome.savedReports, IsEmpty());
  EXPECT_THAT(outcome.writtenProfiles, IsEmpty());
  ExpectEveryProfileKept();
  EXPECT_THAT(Results(outcome), ElementsAre("c: [DISK] cancelled 2 files 1 changes ",
                                            "d: [DISK] cancelled 2 files 1 changes ",
                                            "e: [DISK] cancelled 0 files 0 changes "));

  // The next run still has every change to report, and now replaces the profiles.
  ui.selections = {std::vector<std::size_t>{0, 1, 2}};
  ui.cancelling().cancelOnCaption("");
  const RunOutcome again = FindChanges(env, ui);
  EXPECT_EQ(again.changeLines, 3);
  ASSERT_EQ(again.savedReports.size(), 1u);
  EXPECT_EQ(again.writtenProfiles.size(), 3u);
  EXPECT_THAT(*fs.contents(ProfileOf('E')), HasSubstr("new.txt"));
  EXPECT_THAT(Results(again),
              Each(HasSubstr("compared 2 files 1 changes Z:\\BV\\Reports\\Drive_C_D_E_.rtf")));
}

TEST_F(OneReportTest, CancelWhileTheCombinedReportIsWrittenKeepsEveryProfile) {
  ui.afterWriting = [this] { ui.cancelling().cancelNow(); };
  const RunOutcome outcome = Run();
  EXPECT_TRUE(outcome.cancelled);
  EXPECT_THAT(outcome.savedReports, IsEmpty());
  EXPECT_THAT(outcome.writtenProfiles, IsEmpty());
  ExpectEveryProfileKept();
  EXPECT_THAT(Results(outcome), Each(HasSubstr("cancelled 2 files 1 changes")));
  EXPECT_THAT(ui.log, Not(Contains("play done")));
}

TEST_F(OneReportTest, CombinedReportThatCannotBeSavedKeepsEveryProfile) {
  fs.failOpen("Z:\\BV\\Reports\\Drive_C_D_E_.rtf", base::Status::permissionDenied("read-only"));
  const RunOutcome outcome = Run();
  EXPECT_FALSE(outcome.cancelled);
  EXPECT_EQ(outcome.failedDrives, 3);
  EXPECT_THAT(outcome.savedReports, IsEmpty());
  EXPECT_THAT(ui.log, Contains(HasSubstr("The profiles of c: [DISK], d: [DISK], e: [DISK] were "
                                         "kept, so the next run reports their changes again.")));
  ExpectEveryProfileKept();
  EXPECT_THAT(Results(outcome), Each(HasSubstr("failed 2 files 1 changes")));
}

// A cancel while the last drive's report is written, before it is renamed into place,
// stops the run there: no report, the stored profile kept, no "done".
TEST_F(RunConductorTest, CancelBeforeTheReportIsInPlaceKeepsTheProfile) {
  ProfileAndChange('C');
  const std::string storedC = *fs.contents(ProfileOf('C'));
  ui.selections = {std::vector<std::size_t>{0}};
  ui.afterWriting = [this] { ui.cancelling().cancelNow(); };
  const RunOutcome outcome = Run();
  EXPECT_TRUE(outcome.cancelled);
  EXPECT_THAT(outcome.savedReports, IsEmpty());
  EXPECT_THAT(outcome.writtenProfiles, IsEmpty());
  EXPECT_THAT(Results(outcome), ElementsAre("c: [DISK] cancelled 2 files 1 changes "));
  EXPECT_EQ(*fs.contents(ProfileOf('C')), storedC);
  EXPECT_THAT(fs.namesIn("Z:\\BV\\Reports"), IsEmpty());
  EXPECT_THAT(fs.namesIn(kProgram), Not(Contains(HasSubstr(".brinvale-"))));
  EXPECT_THAT(ui.log, Not(Contains("play done")));
  EXPECT_THAT(ui.log, Not(Contains(HasSubstr("saved "))));
  EXPECT_EQ(ui.log.back(), "ended");
}

// Once the last report is in place, a cancel comes too late: the run completes.
TEST_F(RunConductorTest, CancelAfterTheLastReportIsInPlaceCompletesTheRun) {
  ProfileAndChange('C');
  ui.selections = {std::vector<std::size_t>{0}};
  ui.afterSaving = [this] { ui.cancelling().cancelNow(); };
  const RunOutcome outcome = Run();
  EXPECT_FALSE(outcome.cancelled);
  EXPECT_THAT(outcome.savedReports, ElementsAre("Z:\\BV\\Reports\\Drive_C.rtf"));
  EXPECT_THAT(*fs.contents("Z:\\BV\\Reports\\Drive_C.rtf"), HasSubstr("Added new.txt"));
  EXPECT_THAT(*fs.contents(ProfileOf('C')), HasSubstr("new.txt"));
  EXPECT_THAT(ui.log, Contains("play cxl"));
  EXPECT_THAT(ui.log, Contains("play done"));
}

TEST_F(RunConductorTest, UnsavedReportKeepsTheProfileAndTheNextRunReportsAgain) {
  ProfileAndChange('C');
  const std::string stored = *fs.contents(ProfileOf('C'));
  // Where the report should go, a folder stands.
  fs.addFolder("Z:\\BV\\Reports\\Drive_C.rtf");
  ui.selections = {std::vector<std::size_t>{0}};
  RunOutcome outcome = Run();
  EXPECT_EQ(outcome.failedDrives, 1);
  EXPECT_THAT(outcome.savedReports, IsEmpty());
  EXPECT_EQ(*fs.contents(ProfileOf('C')), stored);
  EXPECT_THAT(ui.log, Contains(HasSubstr("The report could not be saved")));

  ASSERT_TRUE(fs.remove("Z:\\BV\\Reports\\Drive_C.rtf").isOk() ||
              fs.rename("Z:\\BV\\Reports\\Drive_C.rtf", "Z:\\BV\\old").isOk());
  ui.selections = {std::vector<std::size_t>{0}};
  outcome = FindChanges(env, ui);
  EXPECT_EQ(outcome.failedDrives, 0);
  EXPECT_THAT(*fs.contents("Z:\\BV\\Reports\\Drive_C.rtf"), HasSubstr("Added new.txt"));
  EXPECT_THAT(*fs.contents(ProfileOf('C')), HasSubstr("new.txt"));
}

TEST_F(RunConductorTest, TimeStampedReportsOfOneMinuteAreNumberedNotReplaced) {
  settings.ReportNaming = 'T';
  std::vector<std::string> saved;
  for (int run = 0; run < 3; ++run) {
    ProfileAndChange('C');  // the stored profile again, so every run reports
    ui.selections = {std::vector<std::size_t>{0}};
    const RunOutcome outcome = Run();
    ASSERT_EQ(outcome.savedReports.size(), 1u);
    saved.push_back(outcome.savedReports[0]);
  }
  EXPECT_THAT(saved, ElementsAre("Z:\\BV\\Reports\\Drive_C_12-6-98_1407.rtf",
                                 "Z:\\BV\\Reports\\Drive_C_12-6-98_1407_2.rtf",
                                 "Z:\\BV\\Reports\\Drive_C_12-6-98_1407_3.rtf"));
  for (const std::string& path : saved) EXPECT_THAT(*fs.contents(path), HasSubstr("new.txt"));

  // Names by drive only are replaced, as the user chose.
  settings.ReportNaming = 'D';
  for (int run = 0; run < 2; ++run) {
    ProfileAndChange('C');
    ui.selections = {std::vector<std::size_t>{0}};
    EXPECT_THAT(Run().savedReports, ElementsAre("Z:\\BV\\Reports\\Drive_C.rtf"));
  }
}

TEST_F(RunConductorTest, TheProgramFolderIsNoPartOfAnyScan) {
  // The program folder lies on drive Z, which is watched too.
  env.drives.push_back({"z: [SYSTEM]", "Z:\\"});
  fs.addFile("Z:\\Work\\notes.txt", 10, 100);
  ui.selections = {std::vector<std::size_t>{3}};
  ui.yesNo = {true};
  ASSERT_EQ(Run().writtenProfiles.size(), 1u);
  EXPECT_THAT(*fs.contents(ProfileOf('Z')), Not(HasSubstr("BV")));

  // The program's own files changed (a profile, a report, the composed report): no change.
  ui.selections = {std::vector<std::size_t>{3}};
  const RunOutcome outcome = Run();
  EXPECT_EQ(outcome.comparedDrives, 1);
  EXPECT_EQ(outcome.changeLines, 0);
}

TEST_F(RunConductorTest, LeftoversOfKilledRunsAreSweptAndTheWorkFileIsTheCallers) {
  ProfileAndChange('C');
  const std::string killed = std::string(kProgram) + platform::TemporaryName("Prof_C_.bvp", 1, "3");
  fs.addTextFile(killed, "partial scan");
  fs.addTextFile("Z:\\BV\\Prof_D_.bvp.copy-1-0", "partial copy");
  fs.addTextFile("Z:\\BV\\bvp.tmp", "old scan");
  fs.addTextFile("Z:\\BV\\section.tmp", "old section");
  fs.addTextFile("Z:\\BV\\Reports\\" + platform::TemporaryName("Drive_C.txt", 1, "9"), "");
  fs.addTextFile("Z:\\BV\\History\\D\\" + platform::TemporaryName("index.tsv", 1, "4"), "");
  fs.addTextFile("Z:\\BV\\History\\D\\mine.txt", "the user's");
  env.composedReportPath = "Z:\\BV\\composed-by-cli.rtf";
  ui.selections = {std::vector<std::size_t>{0}};
  const RunOutcome outcome = Run();
  EXPECT_EQ(outcome.changeLines, 1);
  // A file that merely looks like the copies of earlier versions may be the user's: it stays.
  EXPECT_THAT(fs.namesIn(kProgram),
              UnorderedElementsAre("Reports", "History", "Prof_C_.bvp", "Prof_D_.bvp.copy-1-0",
                                   "composed-by-cli.rtf"));
  EXPECT_THAT(fs.namesIn("Z:\\BV\\Reports"), ElementsAre("Drive_C.rtf"));
  EXPECT_THAT(fs.namesIn("Z:\\BV\\History\\D"), ElementsAre("mine.txt"));
  EXPECT_THAT(ui.log, Contains("load Z:\\BV\\composed-by-cli.rtf"));
}

TEST_F(RunConductorTest, AnUnreadableFolderKeepsItsFilesAndIsToldOnceForItsDrive) {
  fs.addFile("C:\\LOCKED\\a.txt", 5, 1000);
  fs.addFile("C:\\LOCKED\\SUB\\b.txt", 6, 1000);
  ui.selections = {std::vector<std::size_t>{0}};
  ui.yesNo = {true};
  ASSERT_EQ(Run().writtenProfiles.size(), 1u);
  const std::string stored = *fs.contents(ProfileOf('C'));

  fs.failListing("C:\\LOCKED", base::Status::permissionDenied("C:\\LOCKED\\: access denied"));
  fs.addFile("C:\\DATA\\new.txt", 2048, 2000);
  ui.selections = {std::vector<std::size_t>{0}};
  ui.log.clear();
  RunOutcome outcome = Run();
  EXPECT_EQ(outcome.changeLines, 1);
  for (const char* file : {"Deleted a.txt", "Deleted b.txt"}) {
    EXPECT_THAT(*fs.contents("Z:\\BV\\Reports\\Drive_C.rtf"), Not(HasSubstr(file)));
  }
  EXPECT_THAT(*fs.contents(ProfileOf('C')), HasSubstr("\"C:\\LOCKED\\SUB\\\",\"b.txt\""));
  const auto messages = std::count_if(ui.log.begin(), ui.log.end(), [](const std::string& e) {
    return e.rfind("message ", 0) == 0;
  });
  EXPECT_EQ(messages, 1);
  EXPECT_THAT(ui.log, Contains("message Some places of drive c: [DISK] could not be read; what "
                               "they held at the last run is kept in its profile:\n"
                               "C:\\LOCKED\\: access denied"));

  // Readable again: nothing is reported added, as nothing was reported deleted.
  fs.clearFaults();
  ui.selections = {std::vector<std::size_t>{0}};
  outcome = Run();
  EXPECT_EQ(outcome.changeLines, 0);
  EXPECT_EQ(*fs.contents(ProfileOf('C')),
            "2048,#1970-01-01 00:33:20#,\"C:\\DATA\\\",\"new.txt\"\r\n" + stored);
}

TEST_F(RunConductorTest, GarbageAtTheEndOfAStoredProfileStopsTheDrive) {
  for (const std::string& garbage :
       {std::string(1 << 20, '\0'), std::string("oops"), std::string("100,#1970-01-01 00:1")}) {
    const std::string stored = "100,#1970-01-01 00:16:40#,\"C:\\DATA\\\",\"old.txt\"\r\n" + garbage;
    fs.addTextFile(ProfileOf('C'), stored);
    ui.selections = {std::vector<std::size_t>{0}};
    const RunOutcome outcome = Run();
    EXPECT_EQ(outcome.failedDrives, 1);
    EXPECT_EQ(outcome.changeLines, 0);
    EXPECT_EQ(*fs.contents(ProfileOf('C')), stored);
    EXPECT_THAT(ui.log, Contains(HasSubstr("Prof_C_.bvp, line 2")));
  }
  // A profile cut short says how to get going again.
  EXPECT_THAT(ui.log, Contains("message Drive c: [DISK] was skipped and its profile kept:\n"
                               "Z:\\BV\\Prof_C_.bvp, line 2: the profile is damaged at its end. "
                               "Rename or delete it to make a new one on the next run."));
}

TEST_F(RunConductorTest, IgnoreListSlipsAreReadAsMeantInOneMessage) {
  ProfileAndChange('C');
  fs.addTextFile("Z:\\BV\\ignore.txt", "c:\\data\rD:\\X\\\r");
  ui.selections = {std::vector<std::size_t>{0}};
  const RunOutcome outcome = Run();
  EXPECT_EQ(outcome.changeLines, 0);
  EXPECT_EQ(outcome.failedDrives, 0);
  EXPECT_EQ(std::count_if(ui.log.begin(), ui.log.end(),
                          [](const std::string& e) { return e.rfind("message ", 0) == 0; }),
            1);
  EXPECT_THAT(ui.log, Contains(HasSubstr("line 1: \"c:\\data\" does not end in \\")));
}

// A drive's scan that fails half-way, while its comparison has already written change
// lines: a new file in the first folder, then a full disk while the profile is written.
class FailingScanTest : public RunConductorTest {
 protected:
  FailingScanTest() {
    ProfileAndChange('C');
    stored = *fs.contents(ProfileOf('C'));
    fs.addFile("C:\\A\\added first.txt", 10, 2000);
    const std::string padding(100, 'x');
    for (int i = 0; i < 8000; ++i) fs.addFile("C:\\B\\" + padding + std::to_string(i), i, 2000);
    fs.failWritesAfter(ProfileOf('C'), 1000);
  }

  void ExpectNothingOfDriveC(const RunOutcome& outcome) {
    EXPECT_EQ(*fs.contents(ProfileOf('C')), stored);
    EXPECT_THAT(ui.log, Contains(HasSubstr("Drive c: [DISK] was skipped and its profile kept")));
    for (const std::string& name : fs.namesIn(kProgram)) {
      EXPECT_THAT(name, Not(HasSubstr(".brinvale-")));
      const std::string text = fs.contents(kProgram + name).value_or("");
      EXPECT_THAT(text, Not(HasSubstr("Disk Activity on C:"))) << name;
      EXPECT_THAT(text, Not(HasSubstr("added first.txt"))) << name;
    }
    for (const std::string& path : outcome.savedReports) {
      EXPECT_THAT(*fs.contents(path), Not(HasSubstr("Disk Activity on C:")));
    }
  }

  std::string stored;
};

TEST_F(FailingScanTest, KeepsTheStoredProfileAndWritesNoSection) {
  ui.selections = {std::vector<std::size_t>{0}};
  const RunOutcome outcome = Run();
  EXPECT_EQ(outcome.failedDrives, 1);
  EXPECT_EQ(outcome.comparedDrives, 0);
  EXPECT_THAT(outcome.savedReports, IsEmpty());
  EXPECT_FALSE(fs.exists("Z:\\BV\\temp.rtf"));
  ExpectNothingOfDriveC(outcome);
}

TEST_F(FailingScanTest, InAReportForAllDrivesLeavesTheOtherDrivesSections) {
  ProfileAndChange('D');
  ui.selections = {std::vector<std::size_t>{0, 1}};
  ui.oneReport = true;
  const RunOutcome outcome = Run();
  EXPECT_EQ(outcome.failedDrives, 1);
  EXPECT_EQ(outcome.comparedDrives, 1);
  ASSERT_EQ(outcome.savedReports.size(), 1u);
  const std::string report = *fs.contents(outcome.savedReports[0]);
  EXPECT_THAT(report, HasSubstr("Disk Activity on D: [DISK]"));
  EXPECT_EQ(report.find("{\\rtf1"), report.rfind("{\\rtf1"));
  EXPECT_THAT(outcome.writtenProfiles, ElementsAre(ProfileOf('D')));
  ExpectNothingOfDriveC(outcome);
}

// Runs that meet a failing write: every write step of a whole run fails in turn, each in a
// fresh world, and after each the record must be whole. The run takes the lock, as the
// window and the command line do; a run refused at the lock touches nothing.
class RunFaultTest : public ::testing::TestWithParam<bool> {
 protected:
  // What a compressed generation holds, or nothing when it cannot be read whole.
  static std::optional<std::string> Decompressed(platform::FileSystem& fs,
                                                 const std::string& path) {
    auto file = OpenProfileFile(fs, path);
    if (!file.isOk()) return std::nullopt;
    std::string text;
    char buffer[4096];
    for (std::size_t got = 1; got > 0;) {
      if (!file.value()->read(sizeof buffer, buffer, &got).isOk()) return std::nullopt;
      text.append(buffer, got);
    }
    return text;
  }

  // C and D are compared and report a change, E is created. One report for all when the
  // parameter says so.
  static void Prepare(RunWorld& world) {
    world.ProfileAndChange('C');
    world.ProfileAndChange('D');
    world.ui.selections = {std::vector<std::size_t>{0, 1, 2}};
    world.ui.yesNo = {true};
    world.ui.oneReport = GetParam();
  }

  static RunOutcome Attempt(RunWorld& world) {
    auto lock = platform::RunLock::TryTake(world.fs, kProgram);
    if (!lock.isOk()) return RunOutcome();
    return world.Run();
  }

  // What a run writes when nothing fails.
  struct Clean {
    std::map<char, std::string> oldProfiles;
    std::map<char, std::string> newProfiles;
    std::map<std::string, std::string> reports;
    std::uint64_t writeSteps = 0;
  };

  static Clean CleanRun() {
    Clean clean;
    RunWorld world;
    Prepare(world);
    for (char letter : {'C', 'D', 'E'}) {
      clean.oldProfiles[letter] = world.fs.contents(RunWorld::ProfileOf(letter)).value_or("");
    }
    const std::uint64_t before = world.fs.writeSteps();
    const RunOutcome outcome = Attempt(world);
    clean.writeSteps = world.fs.writeSteps() - before;
    EXPECT_EQ(outcome.failedDrives, 0);
    EXPECT_EQ(outcome.writtenProfiles.size(), 3u);
    for (char letter : {'C', 'D', 'E'}) {
      clean.newProfiles[letter] = *world.fs.contents(RunWorld::ProfileOf(letter));
    }
    for (const std::string& path : outcome.savedReports) {
      clean.reports[path] = *world.fs.contents(path);
    }
    // The compared drives kept their old profiles: a failing run has them to lose.
    for (char letter : {'C', 'D'}) {
      std::vector<Generation> index;
      EXPECT_TRUE(
          ReadHistoryIndex(world.fs, std::string("Z:\\BV\\History\\") + letter + "\\", &index)
              .isOk());
      EXPECT_EQ(index.size(), 1u) << letter;
    }
    return clean;
  }
};

TEST_P(RunFaultTest, EveryFailingWriteLeavesTheRecordWhole) {
  const Clean clean = CleanRun();
  ASSERT_GT(clean.writeSteps, 10u);
  ASSERT_EQ(clean.reports.size(), GetParam() ? 1u : 2u);
  const std::set<std::string> allowed = {"Reports",     "History",     "Prof_C_.bvp",
                                         "Prof_D_.bvp", "Prof_E_.bvp", "brinvale.lock",
                                         "temp.rtf"};
  for (std::uint64_t step = 1; step <= clean.writeSteps; ++step) {
    SCOPED_TRACE("write step " + std::to_string(step) + " of " + std::to_string(clean.writeSteps) +
                 " fails");
    RunWorld world;
    Prepare(world);
    world.fs.failWriteStep(step);
    const RunOutcome outcome = Attempt(world);

    // A report the run names as saved is there, a whole document. (A combined report
    // lacks the sections of drives that failed.)
    for (const std::string& path : outcome.savedReports) {
      ASSERT_TRUE(clean.reports.contains(path)) << path;
      const std::string report = world.fs.contents(path).value_or("");
      EXPECT_TRUE(report.starts_with("{\\rtf1") && report.ends_with(" \\par }\r\n")) << report;
      if (!GetParam()) {
        EXPECT_EQ(report, clean.reports.at(path)) << path;
      }
    }
    bool anyKept = false;
    for (char letter : {'C', 'D', 'E'}) {
      const std::string profile = world.fs.contents(RunWorld::ProfileOf(letter)).value_or("");
      const bool isNew = profile == clean.newProfiles.at(letter);
      // The stored profile is the complete old one or the complete new one.
      EXPECT_TRUE(isNew || profile == clean.oldProfiles.at(letter)) << letter << ": " << profile;
      anyKept = anyKept || !isNew;
      // A replaced profile of a compared drive hides changes that a saved report holds.
      if (isNew && letter != 'E') {
        const std::string title = std::string("Disk Activity on ") + letter + ": [DISK]";
        bool inASavedReport = false;
        for (const std::string& path : outcome.savedReports) {
          inASavedReport = inASavedReport ||
                           world.fs.contents(path).value_or("").find(title) != std::string::npos;
        }
        EXPECT_TRUE(inASavedReport) << letter;
      }
    }
    // The history holds whole generations of the old profiles and an index naming exactly
    // them; a replaced profile whose generation is missing was told of.
    for (char letter : {'C', 'D'}) {
      const std::string folder = std::string("Z:\\BV\\History\\") + letter + "\\";
      std::vector<Generation> index;
      ASSERT_TRUE(ReadHistoryIndex(world.fs, folder, &index).isOk()) << letter;
      std::set<std::string> files;
      for (const std::string& name : world.fs.namesIn(folder)) {
        if (name != "index.tsv") files.insert(name);
      }
      std::set<std::string> indexed;
      for (const Generation& g : index) indexed.insert(g.file);
      EXPECT_EQ(files, indexed) << letter;
      for (const std::string& name : files) {
        EXPECT_EQ(Decompressed(world.fs, folder + name), clean.oldProfiles.at(letter)) << name;
      }
      const bool replaced =
          world.fs.contents(RunWorld::ProfileOf(letter)) == clean.newProfiles.at(letter);
      // A kept profile has no generation; a replaced one at most one.
      EXPECT_LE(index.size(), replaced ? 1u : 0u) << letter;
      if (replaced && index.empty()) {
        EXPECT_THAT(world.ui.log, Contains(HasSubstr("message A replaced profile could not be "
                                                     "kept in the History folder")));
      }
    }
    // A failure is never reported as success.
    if (anyKept) {
      EXPECT_TRUE(outcome.failedDrives > 0 || !outcome.driveLoopStarted);
    }
    // No temporaries, and no report that the run does not name.
    for (const std::string& name : world.fs.namesIn(kProgram)) {
      EXPECT_TRUE(allowed.contains(name)) << name;
    }
    for (const std::string& name : world.fs.namesIn("Z:\\BV\\Reports")) {
      EXPECT_TRUE(std::find(outcome.savedReports.begin(), outcome.savedReports.end(),
                            "Z:\\BV\\Reports\\" + name) != outcome.savedReports.end())
          << name;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(ReportKinds, RunFaultTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return info.param ? std::string("OneReportForAll")
                                             : std::string("ReportPerDrive");
                         });

// Folders whose permissions stop the one who runs: these tests are run once more as an
// unprivileged user when the tests run as root. The drive x: is a real folder tree.
class RunOnRealFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (::geteuid() == 0) GTEST_SKIP() << "permission bits do not stop root";
    ASSERT_EQ(::mkdir((m_temp / "program").c_str(), 0755), 0);
    m_env.fs = &m_fs;
    m_env.locale = &m_locale;
    m_env.programFolder = m_temp / "program/";
    m_env.settingsPath = m_temp / "program/BV3.Def";
    m_env.settings = &m_settings;
    m_env.drives = {{"x: [" + m_root + "]", m_root}};
  }

  // Files below the drive's root, each holding its own path.
  void MakeFiles(std::initializer_list<const char*> files) {
    for (const char* file : files) {
      const std::string path = m_root + file;
      ASSERT_EQ(std::system(("mkdir -p '" + path.substr(0, path.rfind('/')) + "'").c_str()), 0);
      std::ofstream(path) << file;
    }
  }

  // A run of x:, creating its profile when it has none.
  RunOutcome Run() {
    m_ui.selections = {std::vector<std::size_t>{0}};
    m_ui.yesNo = {true};
    m_ui.log.clear();
    return FindChanges(m_env, m_ui);
  }

  std::string Profile() {
    auto profile = platform::ReadWholeFile(m_fs, m_temp / "program/Prof_X_.bvp");
    return profile.isOk() ? profile.value() : "<missing>";
  }

  platform::TempFolder m_temp;
  const std::string m_root = m_temp / "drive/";
  platform::PosixFileSystem m_fs;
  platform::FixedLocale m_locale;
  SettingsRecord m_settings;
  RunEnvironment m_env;
  ScriptedUi m_ui{m_fs};
};

TEST_F(RunOnRealFilesTest, UnreadableAndUnsearchableFoldersKeepTheirFilesUntilReadableAgain) {
  MakeFiles({"open/a.txt", "locked/b.txt", "locked/sub/c.txt", "noexec/d.txt"});
  ASSERT_EQ(Run().writtenProfiles.size(), 1u);
  const std::string stored = Profile();
  ASSERT_THAT(stored, HasSubstr("c.txt"));

  ASSERT_EQ(::chmod((m_root + "locked").c_str(), 0), 0);
  ASSERT_EQ(::chmod((m_root + "noexec").c_str(), 0444), 0);  // its names, not their facts
  RunOutcome outcome = Run();
  EXPECT_EQ(outcome.changeLines, 0);
  EXPECT_EQ(Profile(), stored);
  EXPECT_THAT(m_ui.log,
              Contains(AllOf(HasSubstr("what they held at the last run is kept in its "
                                       "profile:\n"),
                             HasSubstr(m_root + "locked/"), HasSubstr(m_root + "noexec/"))));

  ASSERT_EQ(::chmod((m_root + "locked").c_str(), 0755), 0);
  ASSERT_EQ(::chmod((m_root + "noexec").c_str(), 0755), 0);
  outcome = Run();
  EXPECT_EQ(outcome.changeLines, 0);
  EXPECT_EQ(outcome.failedDrives, 0);
  EXPECT_EQ(Profile(), stored);
}

// A folder that cannot be read carries over only what the scan itself would take, so a
// later run with the folder readable reports nothing new.
TEST_F(RunOnRealFilesTest, AnUnreadableFolderCarriesNoHiddenFilesWhenTheyAreLeftOut) {
  MakeFiles({"open/a.txt", "open/.rc", "locked/b.txt", "locked/.env", "locked/.git/config"});
  m_env.confPath = m_temp / "program/brinvale.conf";
  m_env.includeHidden = true;
  ASSERT_EQ(Run().writtenProfiles.size(), 1u);
  ASSERT_THAT(Profile(), HasSubstr("\"config\""));

  m_env.includeHidden = false;
  ASSERT_EQ(::chmod((m_root + "locked").c_str(), 0), 0);
  RunOutcome outcome = Run();
  ASSERT_EQ(::chmod((m_root + "locked").c_str(), 0755), 0);
  // The hidden files show as deleted now, as the notice says, the readable one as ever.
  EXPECT_EQ(outcome.changeLines, 3);
  EXPECT_THAT(outcome.drives.at(0).notice, HasSubstr("now left out"));
  const std::string kept = Profile();
  EXPECT_THAT(kept, HasSubstr("\"b.txt\""));
  for (const char* gone : {".env", "config", ".rc"}) EXPECT_THAT(kept, Not(HasSubstr(gone)));

  outcome = Run();
  EXPECT_EQ(outcome.changeLines, 0);
  EXPECT_EQ(Profile(), kept);
}

}  // namespace
}  // namespace engine
