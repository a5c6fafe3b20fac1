// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// CompareProfiles: merges a drive's new scan with its stored profile in one streaming pass
// and writes the drive's section of the change report. ScanAndCompareProfiles does the same
// while the new scan is being made.
#pragma once

#include <cstdint>
#include <string>

#include "base/status.h"
#include "engine/change_listener.h"
#include "engine/change_report.h"
#include "engine/drive_scan.h"
#include "engine/ignore_matcher.h"
#include "platform/file_system.h"
#include "platform/progress.h"

namespace engine {

struct CompareSettings {
  std::string newProfilePath;        // the new scan (the temporary profile)
  std::string oldProfilePath;        // the stored profile
  std::string driveDisplayText;      // e.g. "c: [/]"; upper-cased in the title
  std::string profileDate;           // the stored profile's time, general date format
  IgnoreMatcher ignore;              // records of these folders are passed over, both sides
  bool freshReport = true;           // start the document; otherwise continue it
  bool writeClosing = true;          // end the document after this drive's totals
  std::int64_t progressMaximum = 0;  // records of the new scan (for the progress bar)
  // The new profile and progressMaximum are not used by ScanAndCompareProfiles.
  // Also told each change, after the report took it; not owned. Null: the report only.
  ChangeListener* listener = nullptr;
};

struct CompareOutcome {
  std::int64_t addedBytes = 0;
  std::int64_t deletedBytes = 0;
  std::int64_t changedBytes = 0;
  std::int64_t changeLines = 0;  // Added, Deleted, Grew, Shrunk and Time Changed lines
  // The change lines of each kind; together they are changeLines.
  std::int64_t added = 0;
  std::int64_t deleted = 0;
  std::int64_t grew = 0;
  std::int64_t shrunk = 0;
  std::int64_t timeChanged = 0;
  // The stored profile as the comparison read it: its records (those of ignored folders
  // included) and the sum of their sizes, saturated. What the history tells of it.
  std::int64_t storedFiles = 0;
  std::int64_t storedBytes = 0;
  // Set when a profile's records were not in the one order (a hand-edited or foreign
  // file): the merge went on, but its pairs may be wrong. Names the file and line.
  base::Status orderWarning;
};

// Compares the two profiles of `settings` on `fs` and writes the drive's section to
// `report`: title, folder headers and change lines in record order, then the totals block
// and, with `writeClosing`, the closing line. Both files are read one record at a time.
// Shows "Updating " & the drive and "Changes in " & folder captions and moves the progress
// bar every 150 records, asking `progress` whether to go on.
// Fails, without totals, when a profile cannot be opened or read (naming the file), when
// the report cannot be written, and with cancelled when the user stopped. The caller must
// then keep the stored profile and not save the report.
[[nodiscard]] base::Status CompareProfiles(platform::FileSystem& fs,
                                           const CompareSettings& settings, ChangeReport& report,
                                           platform::Progress& progress, CompareOutcome* outcome);

// A rescan compared as it is made: scans the drive of `scan` into `newProfile` as
// ScanToProfile does (LoadStructure, then ProfileFiles; `newProfile` is closed, not
// committed), and compares each folder's records, as they are written, with the stored
// profile settings.oldProfilePath (settings.newProfilePath and progressMaximum are not
// used), writing the drive's section to `report` as CompareProfiles does. The places that
// could not be read keep their stored records (FileProfiler), so they show no change. The new
// profile is never read back. Progress follows the scan: its captions and its bar over the folders,
// with the "Changes in " & folder captions as changes appear; `progress` is asked whether to
// go on where the scan asks and every 150 steps of the comparison.
// Fails as ScanToProfile and CompareProfiles fail: the stored profile cannot be read, the
// root cannot be listed, `newProfile` or the report cannot be written, or cancelled. The
// caller must then keep the stored profile and drop `newProfile` and the report's section.
[[nodiscard]] base::Status ScanAndCompareProfiles(
    platform::FileSystem& fs, const ScanSettings& scan, const platform::LocaleFormat& locale,
    platform::ReplacementFile* newProfile, const CompareSettings& settings, ChangeReport& report,
    platform::Progress& progress, ScanProblems* problems, std::int64_t* totalFiles,
    CompareOutcome* outcome);

}  // namespace engine
