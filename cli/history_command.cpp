// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/history_command.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <ostream>

#include "base/ascii.h"
#include "cli/cli_support.h"
#include "cli/json_changes.h"
#include "engine/change_report.h"
#include "engine/history.h"
#include "engine/history_compare.h"
#include "engine/k_format.h"
#include "engine/profile_store.h"
#include "engine/settings_record.h"
#include "platform/posix/posix_file_system.h"
#include "platform/qt/qt_volumes.h"

namespace cli {
namespace {

constexpr const char* kAbout =
    "Each run that replaces a drive's stored profile keeps the profile it replaces in the\n"
    "program folder's History folder (compressed, at most [history] depth per drive, 30\n"
    "unless brinvale.conf says otherwise). Without --compare, lists the kept profiles of the\n"
    "named drives (of every drive with any without letters), oldest first: -N (runs back),\n"
    "when it was made, its files and size, and what the run that replaced it changed. With\n"
    "--json, one JSON object per kept profile instead.\n"
    "\n"
    "With --compare WHEN, compares the profile that was current at WHEN with the one current\n"
    "at --to (default: the stored profile), as a run compares: the same report, its heading\n"
    "naming the older side's time. WHEN is -N (N runs back), YYYY-MM-DD (the start of that\n"
    "day) or YYYY-MM-DDTHH:MM, in local time. The report is saved in the Reports folder as\n"
    "Drive_K_since_m-d-yy_hhnn (or Drive_K_m-d-yy_hhnn_to_m-d-yy_hhnn for two kept\n"
    "profiles), in the format of the settings, and its path printed; -o writes it to REPORT\n"
    "instead, and --json writes the changes as JSON Lines on standard output. A damaged kept\n"
    "profile is refused, naming it.\n";

// The upper-case drive letter of a word ("k", "K" or "k:"), or 0.
char LetterOf(std::string word) {
  if (word.size() == 2 && word[1] == ':') word.pop_back();
  if (word.size() != 1) return 0;
  const char letter = base::AsciiUpper(word[0]);
  return letter >= 'A' && letter <= 'Z' ? letter : 0;
}

std::string JsonGeneration(char letter, const engine::Generation& g, const std::string& path) {
  bool valid = true;
  const auto number = [](const char* key, std::int64_t value) {
    return std::string(",\"") + key + "\":" + std::to_string(value);
  };
  return "{\"drive\":\"" + std::string(1, base::AsciiLower(letter)) + "\",\"made\":\"" +
         engine::UtcIsoTime(g.made) + "\",\"replaced\":\"" + engine::UtcIsoTime(g.replaced) + "\"" +
         number("files", g.files) + number("bytes", g.bytes) +
         ",\"hidden\":" + (g.hidden ? "true" : "false") + number("added", g.added) +
         number("deleted", g.deleted) + number("grew", g.grew) + number("shrunk", g.shrunk) +
         number("time", g.timeChanged) + number("addedBytes", g.addedBytes) +
         number("deletedBytes", g.deletedBytes) + number("changedBytes", g.changedBytes) +
         ",\"file\":" + JsonString(path, &valid) + "}\n";
}

// "   -2  3/1/26 12:00:00 PM  151,000 files  70,234.12 K  net change 12.50 K (3 added, ...)"
std::string TextGeneration(const engine::Generation& g, std::size_t back,
                           const platform::LocaleFormat& locale,
                           const engine::NumberSeparators& separators) {
  const auto count = [&](std::int64_t n, const char* what) {
    return GroupedCount(n, separators.group) + " " + what;
  };
  return "  -" + std::to_string(back) + "  " + locale.generalDate(locale.toLocal(g.made)) + "  " +
         count(g.files, g.files == 1 ? "file" : "files") + "  " +
         engine::FormatTotalK(g.bytes, separators) + " K  net change " +
         engine::FormatTotalK(g.netBytes(), separators) + " K (" + count(g.added, "added") + ", " +
         count(g.deleted, "deleted") + ", " + count(g.grew, "grew") + ", " +
         count(g.shrunk, "shrunk") + ", " + count(g.timeChanged, "time changed") + ")\n";
}

int List(const CommandLine& line, platform::FileSystem& fs, const std::string& programFolder,
         const std::vector<char>& letters, const std::vector<platform::Drive>& drives,
         const platform::LocaleFormat& locale, std::ostream& out, std::ostream& err) {
  const bool json = line.isSet("json");
  const engine::NumberSeparators separators = engine::NumberSeparators::From(locale);
  int status = kExitOk;
  for (char letter : letters) {
    const std::string folder = engine::HistoryFolderOf(programFolder, letter, '/');
    std::vector<engine::Generation> generations;
    if (base::Status s = engine::ReadHistoryIndex(fs, folder, &generations); !s.isOk()) {
      line.fail(err, s.message());
      status = kExitError;
      continue;
    }
    if (!json) {
      out << engine::HistoryDriveText(drives, letter)
          << (generations.empty() ? ": no kept profiles\n" : "\n");
    }
    for (std::size_t i = 0; i < generations.size(); ++i) {
      const engine::Generation& g = generations[i];
      out << (json ? JsonGeneration(letter, g, folder + g.file)
                   : TextGeneration(g, generations.size() - i, locale, separators));
    }
  }
  out.flush();
  return out ? status : kExitError;
}

// The settings record's choice of report format; a record that cannot be read means the
// defaults, as a new program folder has them.
engine::SettingsRecord ReportSettings(platform::FileSystem& fs, const std::string& programFolder) {
  const std::string path = programFolder + std::string(engine::kSettingsFileName);
  if (!fs.isOrdinaryFile(path)) return {};
  auto bytes = platform::ReadWholeFile(fs, path, 64 * 1024);
  return bytes.isOk() ? engine::DecodeSettings(bytes.value()) : engine::SettingsRecord{};
}

// The exit status of a comparison that succeeded, after its order warning if any.
int Finish(const CommandLine& line, const engine::CompareOutcome& outcome, std::ostream& err) {
  if (!outcome.orderWarning.isOk()) line.fail(err, "warning: " + outcome.orderWarning.message());
  return outcome.changeLines > 0 ? kExitChanges : kExitNoChange;
}

int Compare(const CommandLine& line, platform::FileSystem& fs, const std::string& programFolder,
            const std::string& defaultProgramFolder, char letter,
            const std::vector<platform::Drive>& drives, const platform::LocaleFormat& locale,
            std::ostream& out, std::ostream& err) {
  const bool json = line.isSet("json");
  const auto output = line.value("output");
  if (json && output) return line.fail(err, "-o and --json exclude each other");
  if (output && output->empty()) return line.fail(err, "-o needs a file name, or -");
  auto from = engine::ParseHistoryWhen(*line.value("compare"));
  if (!from.isOk()) return line.fail(err, "--compare: " + from.status().message());
  std::optional<engine::HistoryWhen> to;
  if (const auto text = line.value("to")) {
    auto parsed = engine::ParseHistoryWhen(*text);
    if (!parsed.isOk()) return line.fail(err, "--to: " + parsed.status().message());
    to = parsed.value();
  }
  const bool toStandardOutput = output && *output == kStandardOutputName;
  if (const auto refusal = output && !toStandardOutput
                               ? OwnFileRefusal(*output, {programFolder, defaultProgramFolder})
                               : std::nullopt) {
    err << *refusal << '\n';
    return kExitError;
  }

  const std::string driveText = engine::HistoryDriveText(drives, letter);
  const std::string profilePath =
      engine::ProfilePathsFor(std::string(1, letter) + ":", programFolder).profilePath;
  auto profiles = engine::DriveProfiles(fs, programFolder, letter, profilePath);
  if (!profiles.isOk()) return line.fail(err, profiles.status().message());
  auto older = engine::PickProfile(profiles.value(), from.value(), driveText, locale);
  if (!older.isOk()) return line.fail(err, older.status().message());
  engine::DriveProfile newer;
  if (to) {
    auto picked = engine::PickProfile(profiles.value(), *to, driveText, locale);
    if (!picked.isOk()) return line.fail(err, picked.status().message());
    newer = picked.value();
  } else if (!profiles.value().empty() && profiles.value().back().stored) {
    newer = profiles.value().back();
  } else {
    return line.fail(err, driveText + " has no stored profile; name the newer side with --to");
  }
  // The profiles are in the order they were made: the newer side comes later.
  const auto position = [&](const engine::DriveProfile& side) {
    return std::find_if(profiles.value().begin(), profiles.value().end(),
                        [&](const engine::DriveProfile& p) { return p.path == side.path; });
  };
  if (position(newer) < position(older.value())) {
    return line.fail(err, "--to names a profile made before the one --compare names");
  }

  std::vector<base::Status> warnings;
  engine::CompareSettings settings =
      engine::HistoryCompareSettings(fs, programFolder, driveText, &warnings);
  for (const base::Status& warning : warnings) line.fail(err, "warning: " + warning.message());
  const engine::SettingsRecord record = ReportSettings(fs, programFolder);
  engine::CompareOutcome outcome;
  if (!output && !json) {
    // A new report of the Reports folder, as the window saves it.
    std::string saved;
    platform::SilentProgress progress;
    if (base::Status s =
            engine::SaveHistoryReport(fs, programFolder, letter, older.value(), newer, settings,
                                      record, locale, progress, &saved, &outcome);
        !s.isOk()) {
      return line.fail(err, s.message());
    }
    out << saved << '\n';
    return Finish(line, outcome, err);
  }

  // Where the report goes: REPORT or standard output.
  std::unique_ptr<Output> opened;
  StreamFile standardOutput(out);
  platform::WritableFile* file = &standardOutput;
  if (output && !toStandardOutput) {
    auto named = OpenOutput(fs, *output);
    if (!named.isOk())
      return line.fail(err, "cannot write the report: " + named.status().message());
    opened = std::move(named).value();
    file = opened->file();
  }

  // A plain-text report on standard output or a stream ends its lines with LF, as compare's.
  std::optional<LineFeedFile> lineFeeds;
  if (!json && !record.isRichTextReports() && (!opened || opened->streamed())) {
    lineFeeds.emplace(file);
  }
  base::Status s;
  {
    std::unique_ptr<engine::ReportSink> sink;
    if (json) {
      sink = NewNoReportSink();
    } else if (record.isRichTextReports()) {
      sink = engine::NewRtfReportSink(file);
    } else {
      sink = engine::NewPlainTextReportSink(lineFeeds ? &*lineFeeds : file);
    }
    JsonChangeWriter changes(file);
    if (json) settings.listener = &changes;
    engine::ChangeReport report(sink.get(), locale);
    platform::SilentProgress progress;
    s = engine::CompareDriveProfiles(fs, older.value(), newer, settings, locale, report, progress,
                                     &outcome);
  }
  if (s.isOk() && lineFeeds) s = lineFeeds->close();
  if (s.isOk()) s = opened ? opened->finish() : standardOutput.close();
  if (!s.isOk()) return line.fail(err, s.message());
  return Finish(line, outcome, err);
}

}  // namespace

int RunHistoryCommand(const std::vector<std::string>& args, const ProgramFolderChoice& choose,
                      const std::string& defaultProgramFolder, const platform::LocaleFormat& locale,
                      std::ostream& out, std::ostream& err) {
  CommandLine line("history",
                   "history [LETTER...] [--json] [--program-folder DIR]\n"
                   "       brinvale-cli history LETTER --compare WHEN [--to WHEN]\n"
                   "                            [-o REPORT | --json] [--program-folder DIR]",
                   kAbout);
  line.add(QCommandLineOption(QStringLiteral("compare"),
                              QStringLiteral("compare the profile current at WHEN:\n"
                                             "-N, YYYY-MM-DD or YYYY-MM-DDTHH:MM"),
                              QStringLiteral("WHEN")));
  line.add(QCommandLineOption(QStringLiteral("to"),
                              QStringLiteral("with the profile current at WHEN\n"
                                             "(default: the stored profile)"),
                              QStringLiteral("WHEN")));
  line.add(OutputOption("REPORT",
                        "with --compare: write the report to REPORT\n"
                        "instead of the Reports folder; - for standard output"));
  line.add(JsonOption("the kept profiles, or the changes, as JSON Lines"));
  line.add(ProgramFolderOption());
  if (auto done = line.parse(args, out, err)) return *done;
  std::vector<char> letters;
  for (const std::string& word : line.positional()) {
    const char letter = LetterOf(word);
    if (letter == 0) return line.fail(err, "'" + word + "' is no drive letter");
    if (std::find(letters.begin(), letters.end(), letter) == letters.end()) {
      letters.push_back(letter);
    }
  }
  const bool compare = line.isSet("compare");
  if (!compare && (line.isSet("to") || line.isSet("output"))) {
    return line.fail(err, "--to and -o are for --compare (see --help)");
  }
  if (compare && letters.size() != 1) {
    return line.fail(err, "--compare needs exactly one drive letter");
  }
  auto chosen = choose(line.value("program-folder").value_or(""));
  if (!chosen.isOk()) return line.fail(err, chosen.status().message());
  const std::string& programFolder = chosen.value();

  platform::PosixFileSystem fs;
  platform::QtVolumes volumes(fs, programFolder);
  const std::vector<platform::Drive> drives = volumes.drives().drives;
  if (compare) {
    return Compare(line, fs, programFolder, defaultProgramFolder, letters[0], drives, locale, out,
                   err);
  }
  if (letters.empty()) letters = engine::DrivesWithHistory(fs, programFolder);
  return List(line, fs, programFolder, letters, drives, locale, out, err);
}

}  // namespace cli
