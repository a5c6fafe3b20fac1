// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// FindChanges: a whole run. The user marks drives; missing profiles are created; every
// other marked drive is rescanned, compared with its profile and reported; profiles are
// replaced. The main window and the command line drive this one conductor.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/change_listener.h"
#include "engine/run_user_interface.h"
#include "engine/settings_record.h"
#include "platform/file_system.h"
#include "platform/locale_format.h"

namespace engine {

// A drive as the drive list offers it.
struct RunDrive {
  std::string displayText;  // "c: [/]": the letter and a colon first
  std::string root;         // the root folder to walk, ending in the separator
  // False for a volume that is not mounted or a watched folder that is missing: offered,
  // so that the user sees it, but never scanned, even when a selection marks it.
  bool available = true;
};

// What a run works with. Everything must remain live during FindChanges.
struct RunEnvironment {
  platform::FileSystem* fs = nullptr;
  const platform::LocaleFormat* locale = nullptr;
  std::string programFolder;  // ends in the separator; profiles, lists and reports live here
  // The file the run composes its change report in and hands to the report view: the
  // window passes programFolder & kComposedReportName ("temp.rtf", which also holds its
  // start-up document); the command line a work file of its own, so that a window opened
  // or closed during a scheduled run cannot disturb it. Empty means "temp.rtf".
  std::string composedReportPath;
  std::string settingsPath;  // the settings file, for choices stored during the run
  SettingsRecord* settings = nullptr;
  bool infoOnly = false;  // report, but create and replace no profile
  // Walk and profile hidden files and folders ([scan] hidden of brinvale.conf, or the
  // command line's --hidden and --no-hidden for one run).
  bool includeHidden = false;
  // brinvale.conf (engine/program_conf.h), where the run finds and records the setting each
  // drive's stored profile was made with. Empty: nothing is read or recorded, no notice.
  std::string confPath;
  std::vector<RunDrive> drives;
  // Also told every change that goes into a report, drive by drive; not owned. May be null.
  ChangeListener* changeListener = nullptr;
};

// What became of one drive of the drive loop.
struct DriveResult {
  enum class State {
    kProfiled,   // it had no profile: scanned, and its profile created unless info-only
    kCompared,   // compared, and its changes are in the saved report `reportPath`
    kFailed,     // skipped, or its changes are in no saved report: its profile was kept
    kCancelled,  // the run was cancelled before its changes were in a saved report
  };
  std::string displayText;
  State state = State::kCancelled;
  std::int64_t files = 0;        // records of the new scan
  std::int64_t folders = 0;      // kProfiled: folders walked, the root included
  std::int64_t changeLines = 0;  // change lines of its comparison
  std::string reportPath;        // kCompared: the saved report that holds its changes
  // kCompared drives whose stored profile was made with the other hidden-files setting:
  // "Hidden files are now included for k: [/home]: their files show as added this once."
  // (or "... now left out ...: their files show as deleted this once."). Empty otherwise,
  // also for a drive compared but whose changes ended in no saved report.
  std::string notice;
};

struct RunOutcome {
  bool driveLoopStarted = false;  // false: the user cancelled or declined in the selection
  bool cancelled = false;         // the user cancelled during the drive loop
  int comparedDrives = 0;
  // Drives that could not be scanned, compared or replaced, or whose changes could not be
  // saved in a report file: each kept its stored profile.
  int failedDrives = 0;
  std::int64_t changeLines = 0;              // change lines of all compared drives
  std::vector<std::string> savedReports;     // report files that were written whole
  std::vector<std::string> writtenProfiles;  // stored profiles that were replaced or created
  std::vector<DriveResult> drives;           // the drives the loop reached, in its order
  // The display texts of all marked drives, in the loop's order, reached or not.
  std::vector<std::string> markedDrives;
};

// The file names of the program folder that a run uses.
inline constexpr const char* kComposedReportName = "temp.rtf";
inline constexpr const char* kReportsFolderName = "Reports";

// Runs one whole run, asking `ui` for the drive selection and its questions, showing
// progress through `ui.progress()`. Never fails as a whole: a drive that cannot be read,
// compared or replaced is reported through `ui.showMessage`, keeps its stored profile and
// the other drives go on. A cancel keeps the stored profile of the drive in progress and
// leaves later drives untouched.
//
// A stored profile is replaced (in one rename) only once the changes it hides are in a
// saved report file: with a report per drive, right after that drive's report was saved;
// with one report for all drives, only after the combined report was saved at the end of
// the run, so a cancel, or a combined report that cannot be saved, keeps the stored
// profile of every compared drive and the next run reports the same changes again. A
// drive that is only created hides no change and gets its profile at once.
//
// A cancel is honoured until a report is renamed into place: the report is dropped, its
// drives keep their profiles, and the run winds down without "done". A cancel after that
// rename lets the drive finish (its changes are saved); after the last report's rename the
// whole run completes, "done" included, with RunOutcome::cancelled false.
//
// A report saved with time-stamped names never replaces an earlier one of the same minute:
// the new name is numbered ("_2", "_3", ... before the extension).
//
// Reports are saved only into the Reports folder as FileSystem::openGuardedFolder opens
// it: never through another user's link in its place. When it cannot be had, no report is
// saved and every compared drive keeps its profile, with a message saying why.
//
// A drive's places that cannot be read are told once per drive; where the drive was
// compared, the records its stored profile holds of them are carried into the new profile
// (FileProfiler), so they are reported neither as deleted now nor as added later.
//
// Hidden files are walked and profiled with `includeHidden`. A drive whose stored profile
// was made with the other setting ([profiles] K.hidden of `confPath`) is compared as usual
// and gets a notice (DriveResult::notice); each profile the run creates or replaces has its
// setting recorded there, and a failure to record it is told once per run.
//
// A stored profile that a compared drive's new scan replaces is kept as a generation in
// History/K/ (engine/history.h), at most [history] depth of `confPath` per drive (the
// default without one): compressed on a thread of its own while the drive is scanned and
// compared, stored with its index line once the new profile is renamed into place, and only
// then are the oldest beyond the depth removed. Keeping it never stops a drive: a
// failure is told once per run and the profile is replaced as it would be without history.
//
// The drive loop first removes the temporaries that killed runs left in the program
// folder, its Reports folder and the folders of History/. The program folder and everything below
// it are left out of every drive's scan. REQUIRES: the caller holds the program folder's run lock
// (platform/run_lock.h) for the whole call.
RunOutcome FindChanges(RunEnvironment& env, RunUserInterface& ui);

}  // namespace engine
