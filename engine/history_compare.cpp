// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/history_compare.h"

#include <algorithm>
#include <charconv>
#include <memory>

#include "base/ascii.h"
#include "engine/ignore_list_file.h"
#include "engine/report_naming.h"
#include "engine/run_conductor.h"
#include "platform/civil_time.h"

namespace engine {

std::string HistoryDriveText(const std::vector<platform::Drive>& drives, char letter) {
  for (const platform::Drive& drive : drives) {
    if (drive.letter == letter) return drive.displayText;
  }
  return std::string(1, base::AsciiLower(letter)) + ":";
}
namespace {

bool Number(std::string_view text, int* value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), *value);
  return !text.empty() && error == std::errc() && end == text.data() + text.size() &&
         text.find_first_not_of("0123456789") == std::string_view::npos;
}

std::string Describe(const platform::LocalDateTime& t) {
  auto two = [](int v) { return std::string(v < 10 ? "0" : "") + std::to_string(v); };
  std::string text = std::to_string(t.year) + "-" + two(t.month) + "-" + two(t.day);
  if (!t.isMidnight()) text += " " + two(t.hour) + ":" + two(t.minute);
  return text;
}

}  // namespace

base::Result<HistoryWhen> ParseHistoryWhen(std::string_view text) {
  const auto bad = [&] {
    return base::Status::invalidArgument("'" + std::string(text) +
                                         "' is not -N, YYYY-MM-DD or YYYY-MM-DDTHH:MM");
  };
  HistoryWhen when;
  if (text.starts_with('-')) {
    if (!Number(text.substr(1), &when.runsBack) || when.runsBack < 1) return bad();
    return when;
  }
  platform::LocalDateTime t;
  if (text.size() != 10 && text.size() != 16) return bad();
  if (text[4] != '-' || text[7] != '-' || !Number(text.substr(0, 4), &t.year) ||
      !Number(text.substr(5, 2), &t.month) || !Number(text.substr(8, 2), &t.day)) {
    return bad();
  }
  if (text.size() == 16 &&
      (text[10] != 'T' || text[13] != ':' || !Number(text.substr(11, 2), &t.hour) ||
       !Number(text.substr(14, 2), &t.minute) || t.hour > 23 || t.minute > 59)) {
    return bad();
  }
  // 2026-02-30 is no day.
  if (t.month < 1 || t.month > 12 || t.day < 1 ||
      platform::CivilFromSeconds(platform::SecondsFromCivil(t)) != t) {
    return bad();
  }
  when.at = t;
  return when;
}

base::Result<std::vector<DriveProfile>> DriveProfiles(platform::FileSystem& fs,
                                                      const std::string& programFolder, char letter,
                                                      const std::string& profilePath) {
  const std::string folder = HistoryFolderOf(programFolder, letter, fs.pathStyle().separator);
  std::vector<Generation> generations;
  if (base::Status s = ReadHistoryIndex(fs, folder, &generations); !s.isOk()) return s;
  std::vector<DriveProfile> profiles;
  for (const Generation& g : generations) profiles.push_back({folder + g.file, g.made, false});
  if (fs.isOrdinaryFile(profilePath)) {
    auto made = fs.modificationTime(profilePath);
    if (!made.isOk()) return made.status();
    profiles.push_back({profilePath, made.value(), true});
  }
  return profiles;
}

base::Result<DriveProfile> PickProfile(const std::vector<DriveProfile>& profiles,
                                       const HistoryWhen& when, std::string_view driveText,
                                       const platform::LocaleFormat& locale) {
  std::vector<const DriveProfile*> kept;
  for (const DriveProfile& profile : profiles) {
    if (!profile.stored) kept.push_back(&profile);
  }
  if (!when.at) {
    const auto back = static_cast<std::size_t>(when.runsBack);
    if (back < 1 || back > kept.size()) {
      return base::Status::notFound(std::string(driveText) + " has " + std::to_string(kept.size()) +
                                    (kept.size() == 1 ? " kept profile" : " kept profiles") +
                                    ", not " + std::to_string(when.runsBack));
    }
    return *kept[kept.size() - back];
  }
  // The newest made at or before the moment; profiles are in the order they were made, but
  // a clock set back may have broken that order, so all are looked at.
  const DriveProfile* chosen = nullptr;
  platform::LocalDateTime chosenAt;
  for (const DriveProfile& profile : profiles) {
    const platform::LocalDateTime made = locale.toLocal(profile.made);
    if (made <= *when.at && (chosen == nullptr || made >= chosenAt)) {
      chosen = &profile;
      chosenAt = made;
    }
  }
  if (chosen == nullptr) {
    std::string text =
        "no profile of " + std::string(driveText) + " was made by " + Describe(*when.at);
    if (!profiles.empty()) {
      text += "; the oldest was made " + locale.generalDate(locale.toLocal(profiles[0].made));
    }
    return base::Status::notFound(text);
  }
  return *chosen;
}

base::Status CompareDriveProfiles(platform::FileSystem& fs, const DriveProfile& older,
                                  const DriveProfile& newer, CompareSettings settings,
                                  const platform::LocaleFormat& locale, ChangeReport& report,
                                  platform::Progress& progress, CompareOutcome* outcome) {
  settings.oldProfilePath = older.path;
  settings.newProfilePath = newer.path;
  settings.profileDate = locale.generalDate(locale.toLocal(older.made));
  return CompareProfiles(fs, settings, report, progress, outcome);
}

std::vector<char> DrivesWithHistory(platform::FileSystem& fs, const std::string& programFolder) {
  std::vector<char> letters;
  platform::FolderListing listing;
  if (!fs.listFolder(programFolder + std::string(kHistoryFolderName) + fs.pathStyle().separator,
                     platform::ListWhat::kFolders, &listing)
           .isOk()) {
    return letters;
  }
  for (const platform::DirEntry& entry : listing.entries) {
    if (entry.name.size() != 1) continue;
    const char letter = entry.name[0];
    if (letter >= 'A' && letter <= 'Z') letters.push_back(letter);
  }
  std::sort(letters.begin(), letters.end());
  return letters;
}

CompareSettings HistoryCompareSettings(platform::FileSystem& fs, const std::string& programFolder,
                                       std::string driveText, std::vector<base::Status>* warnings) {
  CompareSettings settings;
  settings.driveDisplayText = std::move(driveText);
  auto ignore = ReadIgnoreList(fs, programFolder + std::string(kIgnoreFileName), warnings);
  if (!ignore.isOk()) {
    warnings->push_back(
        base::Status::ioError("the Ignore list could not be read, so no folder is ignored: " +
                              ignore.status().message()));
  } else {
    settings.ignore = IgnoreMatcher(ignore.value());
  }
  return settings;
}

base::Status SaveHistoryReport(platform::FileSystem& fs, const std::string& programFolder,
                               char letter, const DriveProfile& older, const DriveProfile& newer,
                               const CompareSettings& settings, const SettingsRecord& record,
                               const platform::LocaleFormat& locale, platform::Progress& progress,
                               std::string* savedPath, CompareOutcome* outcome) {
  auto reports = fs.openGuardedFolder(programFolder, kReportsFolderName);
  if (!reports.isOk()) return reports.status();
  const std::optional<platform::LocalDateTime> newerTime =
      newer.stored ? std::nullopt : std::optional(locale.toLocal(newer.made));
  const std::string base = HistoryReportPath(reports.value()->path(), letter,
                                             locale.toLocal(older.made), newerTime, record);
  std::string target = base;
  for (int number = 2; fs.exists(target); ++number) target = NumberedReportPath(base, number);
  auto file = fs.openForReplacing(target, platform::Durability::kSynced);
  if (!file.isOk()) return file.status();
  base::Status s;
  {
    std::unique_ptr<ReportSink> sink = record.isRichTextReports()
                                           ? NewRtfReportSink(file.value().get())
                                           : NewPlainTextReportSink(file.value().get());
    ChangeReport report(sink.get(), locale);
    s = CompareDriveProfiles(fs, older, newer, settings, locale, report, progress, outcome);
  }
  // A stop asked for while the comparison ended is still in time: the report is not in
  // place yet.
  if (s.isOk() && !progress.shouldContinue()) s = base::Status::cancelled();
  if (s.isOk()) s = file.value()->commit();
  if (!s.isOk()) return s;  // the replacement, dropped, leaves nothing behind
  *savedPath = file.value()->targetPath();
  return s;
}

}  // namespace engine
