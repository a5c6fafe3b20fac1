// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Where a run saves its change report: "Drive_" & drive tag, optionally stamped with the
// date and time, in the Reports folder, as rich text (.rtf) or plain text (.txt).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/date_time.h"

namespace engine {

struct SettingsRecord;

// The report's path without extension: `reportsPath` (ending in the separator) & "Drive_"
// & `driveTag`, followed by "_m-d-yy_hhnn" (month and day without leading zero, two-digit
// year, 24-hour hour and minute) of `now` when `settings` asks for time-stamped names.
// `driveTag` is one letter ("C") for a report per drive, or every letter of the run
// followed by "_" ("C_D_") for a combined one. Two runs in the same minute get one name;
// the run then numbers the second one (NumberedReportPath).
[[nodiscard]] std::string ReportBaseName(std::string_view reportsPath, std::string_view driveTag,
                                         const SettingsRecord& settings,
                                         const platform::LocalDateTime& now);

// ".rtf" when `settings` asks for rich-text reports, else ".txt".
[[nodiscard]] std::string_view ReportExtension(const SettingsRecord& settings);

// ReportBaseName & ReportExtension: the file the report is saved to, replacing any
// earlier file of that name.
[[nodiscard]] std::string ReportPath(std::string_view reportsPath, std::string_view driveTag,
                                     const SettingsRecord& settings,
                                     const platform::LocalDateTime& now);

// Where a comparison of two profiles of drive `letter` from its history is saved:
// `reportsPath` & "Drive_K_since_m-d-yy_hhnn" & ReportExtension when the newer side is the
// stored profile (`newer` empty), or "Drive_K_m-d-yy_hhnn_to_m-d-yy_hhnn" & ReportExtension
// for two kept ones; the times are the local times the sides were made. Numbered
// (NumberedReportPath) when taken.
[[nodiscard]] std::string HistoryReportPath(std::string_view reportsPath, char letter,
                                            const platform::LocalDateTime& older,
                                            const std::optional<platform::LocalDateTime>& newer,
                                            const SettingsRecord& settings);

// `path` with "_" & `number` before its extension (the part from the last '.' of the last
// path component), or at its end when it has none: Drive_C_12-6-98_1407_2.rtf. The name
// a time-stamped report gets when an earlier report of the same minute has taken `path`.
[[nodiscard]] std::string NumberedReportPath(std::string_view path, int number);

}  // namespace engine
