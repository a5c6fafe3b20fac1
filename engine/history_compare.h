// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Comparisons with the past: which of a drive's profiles, kept (engine/history.h) or stored,
// was current at a moment or a number of runs back, and the comparison of any two of them as
// an ordinary comparison reports it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/status.h"
#include "engine/change_report.h"
#include "engine/compare_profiles.h"
#include "engine/history.h"
#include "engine/settings_record.h"
#include "platform/date_time.h"
#include "platform/file_system.h"
#include "platform/locale_format.h"
#include "platform/progress.h"
#include "platform/volumes.h"

namespace engine {

// A moment named by the user: N runs back, or a local time.
struct HistoryWhen {
  int runsBack = 0;  // N of "-N", 1 or more; 0 when `at` is set
  std::optional<platform::LocalDateTime> at;
};

// Parses "-N" (N runs back), "YYYY-MM-DD" (that day's start, local time) or
// "YYYY-MM-DDTHH:MM" (local time). Fails with invalidArgument naming `text` otherwise.
[[nodiscard]] base::Result<HistoryWhen> ParseHistoryWhen(std::string_view text);

// The text of drive `letter` as the drive list `drives` gives it ("k: [/data]"), or "k:" for
// a drive the list no longer has: kept profiles outlive the drives they were made of.
[[nodiscard]] std::string HistoryDriveText(const std::vector<platform::Drive>& drives, char letter);

// One profile of a drive: a generation of its history or its stored profile.
struct DriveProfile {
  std::string path;
  platform::UnixSeconds made = 0;  // UTC
  bool stored = false;             // the stored profile, not a kept one
};

// Drive `letter`'s profiles, oldest first: its generations in the order of its index, then
// its stored profile `profilePath` when it exists (made at its modification time). Fails
// when the index cannot be read.
[[nodiscard]] base::Result<std::vector<DriveProfile>> DriveProfiles(
    platform::FileSystem& fs, const std::string& programFolder, char letter,
    const std::string& profilePath);

// The profile of `profiles` (DriveProfiles) that `when` names: N runs back is the N-th kept
// one counted back from the newest; a time picks the profile that was current then, the
// newest one made at or before it (made times read as local times by `locale`). Fails,
// naming the drive `driveText` and the moment, when there is no such profile.
[[nodiscard]] base::Result<DriveProfile> PickProfile(const std::vector<DriveProfile>& profiles,
                                                     const HistoryWhen& when,
                                                     std::string_view driveText,
                                                     const platform::LocaleFormat& locale);

// Compares `older` with `newer` as a run compares a stored profile with a new scan: the
// report's heading names the older side's time, the changes are those of CompareProfiles
// (either side may be compressed). `settings` gives the drive's text, the Ignore list, the
// listener and the document's start and end; its paths and date are set here.
[[nodiscard]] base::Status CompareDriveProfiles(platform::FileSystem& fs, const DriveProfile& older,
                                                const DriveProfile& newer, CompareSettings settings,
                                                const platform::LocaleFormat& locale,
                                                ChangeReport& report, platform::Progress& progress,
                                                CompareOutcome* outcome);

// The drives that have a folder in the History folder of `programFolder`, in letter order
// (upper case). None when there is no History folder.
[[nodiscard]] std::vector<char> DrivesWithHistory(platform::FileSystem& fs,
                                                  const std::string& programFolder);

// The settings two of a drive's profiles are compared with: the drive's text `driveText`
// and the Ignore list of `programFolder`, whose folders a run leaves out on both sides and
// so does this comparison. The list's bad lines, or its failure to be read (then no folder
// is ignored), are added to `warnings`.
[[nodiscard]] CompareSettings HistoryCompareSettings(platform::FileSystem& fs,
                                                     const std::string& programFolder,
                                                     std::string driveText,
                                                     std::vector<base::Status>* warnings);

// Compares `older` with `newer` of drive `letter` (CompareDriveProfiles, with `settings`)
// into a new report of the Reports folder of `programFolder`: named by HistoryReportPath
// (numbered when the name is taken), rich text or plain text as `record` says, and put in
// place only once it is whole. Sets `*savedPath` to it. Nothing is saved when the
// comparison fails, or when `progress` says to stop before the report is in place
// (cancelled).
[[nodiscard]] base::Status SaveHistoryReport(
    platform::FileSystem& fs, const std::string& programFolder, char letter,
    const DriveProfile& older, const DriveProfile& newer, const CompareSettings& settings,
    const SettingsRecord& record, const platform::LocaleFormat& locale,
    platform::Progress& progress, std::string* savedPath, CompareOutcome* outcome);

}  // namespace engine
