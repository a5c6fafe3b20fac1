// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// What the status bar says once a run has ended: the profiles it made, the reports it
// saved and the one the view shows, why a report is full of hidden files, the drives a
// cancel or a failure left untouched, and that an info-only run kept the stored profiles.
#pragma once

#include <QString>

#include "engine/k_format.h"
#include "engine/run_conductor.h"

namespace app {

// What the window knows of a run besides its outcome.
struct RunStatusFacts {
  bool infoOnly = false;  // the run created and replaced no profile
  QString shownFile;      // the file name of what the view shows now
  // The view still shows a report from before this run: neither this run's report nor
  // the welcome page.
  bool earlierReportShown = false;
  // Cancel was pressed once the run's last report or profile was in place, so the run
  // completed all the same.
  bool cancelTooLate = false;
};

// The message for a run whose drive loop began; empty for one that ended in its selection.
// Sentences, each ending in a period, joined by a blank, in this order: a cancel that came
// too late; "Run cancelled. Not checked: k, m; their profiles are unchanged." and "The
// report shown is from an earlier run."; the notice of each drive whose changes are in a
// saved report but whose stored profile was made with the other hidden-files setting
// (engine::DriveResult::notice: "Hidden files are now included for k: [/home]: their files
// show as added this once."), read before the lines about the reports it explains;
// "Profile created for k: [/home/ann]: 153,169 files in 12,410 folders." (several drives:
// "Profiles created for " and the drives joined by "; "); "Reports saved: Drive_B.rtf,
// Drive_K.rtf. Showing Drive_K.rtf." ("Report saved: X." alone when the view shows X); the
// drives that failed in a run that was not cancelled ("Not checked: k; its profile is
// unchanged."); "Info only: the stored profiles were not replaced.". Drives are named as
// the drive list shows them, in the run's order; counts are grouped with `separators`.
[[nodiscard]] QString RunStatusMessage(const engine::RunOutcome& outcome,
                                       const RunStatusFacts& facts,
                                       const engine::NumberSeparators& separators);

}  // namespace app
