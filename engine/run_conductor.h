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

#include "engine/run_user_interface.h"
#include "engine/settings_record.h"
#include "platform/file_system.h"
#include "platform/locale_format.h"

namespace engine {

// A drive as the drive list offers it.
struct RunDrive {
  std::string displayText;  // "c: [/]": the letter and a colon first
  std::string root;         // the root folder to walk, ending in the separator
};

// What a run works with. Everything must remain live during FindChanges.
struct RunEnvironment {
  platform::FileSystem* fs = nullptr;
  const platform::LocaleFormat* locale = nullptr;
  std::string programFolder;  // ends in the separator; profiles, lists and reports live here
  std::string settingsPath;   // the settings file, for choices stored during the run
  SettingsRecord* settings = nullptr;
  bool infoOnly = false;  // report, but create and replace no profile
  std::vector<RunDrive> drives;
};

struct RunOutcome {
  bool driveLoopStarted = false;  // false: the user cancelled or declined in the selection
  bool cancelled = false;         // the user cancelled during the drive loop
  int comparedDrives = 0;
  int failedDrives = 0;          // drives that could not be scanned, compared or replaced
  std::int64_t changeLines = 0;  // change lines of all compared drives
  std::vector<std::string> savedReports;
  std::vector<std::string> writtenProfiles;
};

// The file names of the program folder that a run uses.
inline constexpr const char* kComposedReportName = "temp.rtf";
inline constexpr const char* kReportsFolderName = "Reports";

// Runs one whole run, asking `ui` for the drive selection and its questions, showing
// progress through `ui.progress()`. Never fails as a whole: a drive that cannot be read,
// compared or replaced is reported through `ui.showMessage`, keeps its stored profile and
// the other drives go on. A cancel keeps the stored profile of the drive in progress and
// leaves later drives untouched.
RunOutcome FindChanges(RunEnvironment& env, RunUserInterface& ui);

}  // namespace engine
