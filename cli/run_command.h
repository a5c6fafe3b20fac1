// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// brinvale-cli drives and run: the drive list, and a whole run over named drives with the
// program folder's profiles, settings, Ignore list and Reports folder.
#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "base/status.h"
#include "engine/run_conductor.h"
#include "platform/locale_format.h"

namespace cli {

// Finds the program folder for the folder a command was given with --program-folder (empty
// when none): the folder itself, or the default, with any notice about it printed. Called
// only once a command knows that it will run, so that --help creates nothing.
using ProgramFolderChoice = std::function<base::Result<std::string>(const std::string& given)>;

// Runs `drives [--program-folder DIR]`: prints one row per drive as the drive selection
// lists it, with its stored profile's date and file count, or "no profile". Returns 0, or
// 2 when the drive list could not be read.
int RunDrivesCommand(const std::vector<std::string>& args, const ProgramFolderChoice& choose,
                     const platform::LocaleFormat& locale, std::ostream& out, std::ostream& err);

// Runs `run [--yes] [--info-only] [--one-report | --separate] [--json [-o FILE]] [--hidden |
// --no-hidden] [-q | --progress] [--program-folder DIR] LETTER...`. Prints the paths of saved
// reports to `out` (or, with --json and no file, the JSON Lines), captions to `err` on a terminal
// or with
// --progress, a line per drive (DriveSummary) and messages to `err`. Returns 0 when nothing
// changed, 1 when changes were reported, 2 on errors. The JSON Lines' FILE may not be one of
// the own files of the run's program folder or of `defaultProgramFolder` (OwnFileRefusal).
// The caller must have created a QCoreApplication (plain-text reports are made through Qt).
int RunRunCommand(const std::vector<std::string>& args, const ProgramFolderChoice& choose,
                  const std::string& defaultProgramFolder, const platform::LocaleFormat& locale,
                  std::ostream& out, std::ostream& err, bool errIsTerminal);

// The line a run prints for a drive: "k: [/data]: 151,000 files, 12 changes, report
// Reports/Drive_K_3-14-26_0230.rtf" (the report's path within the program folder), "k: [/data]:
// profile created, 151,000 files", or that it failed or was cancelled and kept its profile;
// the drive's notice (DriveResult::notice), when it has one, follows on a line of its own.
[[nodiscard]] std::string DriveSummary(const engine::DriveResult& drive,
                                       const std::string& programFolder, bool infoOnly,
                                       const std::string& groupSeparator);

}  // namespace cli
