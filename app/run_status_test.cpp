// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The status bar's account of a run, from outcomes the window's run tests cannot easily
// bring about: large counts in two locales, failed drives, a cancel before any drive.
#include "app/run_status.h"

#include <gtest/gtest.h>

namespace app {
namespace {

using State = engine::DriveResult::State;

engine::DriveResult Drive(const char* shown, State state, std::int64_t files = 0,
                          std::int64_t folders = 0) {
  engine::DriveResult result;
  result.displayText = shown;
  result.state = state;
  result.files = files;
  result.folders = folders;
  return result;
}

engine::RunOutcome Outcome(std::vector<engine::DriveResult> drives,
                           std::vector<std::string> marked) {
  engine::RunOutcome outcome;
  outcome.driveLoopStarted = true;
  outcome.drives = std::move(drives);
  outcome.markedDrives = std::move(marked);
  return outcome;
}

const engine::NumberSeparators kUs{",", "."};

TEST(RunStatusTest, CountsFollowTheLocaleAndOneIsSingular) {
  engine::RunOutcome outcome =
      Outcome({Drive("k: [/home/ann]", State::kProfiled, 153169, 12410)}, {"k: [/home/ann]"});
  EXPECT_EQ(RunStatusMessage(outcome, {}, kUs),
            "Profile created for k: [/home/ann]: 153,169 files in 12,410 folders.");
  EXPECT_EQ(RunStatusMessage(outcome, {}, engine::NumberSeparators{".", ","}),
            "Profile created for k: [/home/ann]: 153.169 files in 12.410 folders.");
  outcome.drives[0].files = 1;
  outcome.drives[0].folders = 1;
  EXPECT_EQ(RunStatusMessage(outcome, {}, kUs),
            "Profile created for k: [/home/ann]: 1 file in 1 folder.");
}

TEST(RunStatusTest, FailedDrivesAreNamedAfterWhatTheRunDid) {
  engine::RunOutcome outcome =
      Outcome({Drive("b: [/srv]", State::kCompared), Drive("k: [/data]", State::kFailed),
               Drive("m: [/media/usb]", State::kFailed)},
              {"b: [/srv]", "k: [/data]", "m: [/media/usb]"});
  outcome.savedReports = {"/home/ann/.local/share/Brinvale/Reports/Drive_B.rtf"};
  RunStatusFacts facts;
  facts.shownFile = "Drive_B.rtf";
  EXPECT_EQ(RunStatusMessage(outcome, facts, kUs),
            "Report saved: Drive_B.rtf. Not checked: k, m; their profiles are unchanged.");
  // The view shows something else than the one report (its own work file): it says so.
  facts.shownFile = "temp.rtf";
  EXPECT_EQ(RunStatusMessage(outcome, facts, kUs),
            "Report saved: Drive_B.rtf. Showing temp.rtf. Not checked: k, m; their profiles are "
            "unchanged.");
}

TEST(RunStatusTest, AHiddenFilesNoticeIsReadBeforeWhatTheRunMadeAndSaved) {
  engine::RunOutcome outcome =
      Outcome({Drive("b: [/srv]", State::kCompared), Drive("k: [/data]", State::kCompared),
               Drive("m: [/media/usb]", State::kProfiled, 1, 1)},
              {"b: [/srv]", "k: [/data]", "m: [/media/usb]"});
  outcome.drives[1].notice =
      "Hidden files are now left out for k: [/data]: their files show as deleted this once.";
  outcome.savedReports = {"/r/Drive_B.rtf", "/r/Drive_K.rtf"};
  RunStatusFacts facts;
  facts.shownFile = "Drive_K.rtf";
  facts.cancelTooLate = true;
  EXPECT_EQ(RunStatusMessage(outcome, facts, kUs),
            "The run had already saved its report when Cancel was pressed. Hidden files are now "
            "left out for k: [/data]: their files show as deleted this once. Profile created for "
            "m: [/media/usb]: 1 file in 1 folder. Reports saved: Drive_B.rtf, Drive_K.rtf. "
            "Showing Drive_K.rtf.");
  // Two drives, two notices, in the run's order.
  outcome.drives[0].notice =
      "Hidden files are now included for b: [/srv]: their files show as added this once.";
  facts.cancelTooLate = false;
  facts.infoOnly = true;
  EXPECT_EQ(RunStatusMessage(outcome, facts, kUs),
            "Hidden files are now included for b: [/srv]: their files show as added this once. "
            "Hidden files are now left out for k: [/data]: their files show as deleted this once. "
            "Reports saved: Drive_B.rtf, Drive_K.rtf. Showing Drive_K.rtf. Info only: the stored "
            "profiles were not replaced.");
}

TEST(RunStatusTest, CancelNamesEveryMarkedDriveItDidNotFinish) {
  // Cancelled in the first of two drives: the second was never reached.
  engine::RunOutcome outcome =
      Outcome({Drive("k: [/data]", State::kCancelled)}, {"k: [/data]", "m: [/media/usb]"});
  outcome.cancelled = true;
  RunStatusFacts facts;
  facts.infoOnly = true;
  facts.earlierReportShown = true;
  EXPECT_EQ(RunStatusMessage(outcome, facts, kUs),
            "Run cancelled. Not checked: k, m; their profiles are unchanged. The report shown "
            "is from an earlier run. Info only: the stored profiles were not replaced.");
  // A run that ended in its selection did nothing to tell.
  EXPECT_EQ(RunStatusMessage(engine::RunOutcome(), facts, kUs), QString());
}

}  // namespace
}  // namespace app
