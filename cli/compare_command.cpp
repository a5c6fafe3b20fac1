// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/compare_command.h"

#include <memory>
#include <optional>
#include <ostream>

#include "cli/cli_support.h"
#include "cli/json_changes.h"
#include "engine/change_report.h"
#include "engine/compare_profiles.h"
#include "engine/ignore_list_file.h"
#include "engine/profile_store.h"
#include "platform/posix/posix_file_system.h"

namespace cli {
namespace {

constexpr const char* kAbout =
    "Compares the stored profile OLD with the new scan NEW of one drive and writes the\n"
    "change report to REPORT: the files added, deleted, grown, shrunk or re-timed, folder by\n"
    "folder, with byte totals. Dates and numbers follow the locale (LANG, LC_ALL). With\n"
    "--json it writes the same changes as JSON Lines instead (docs/json_changes.md), to\n"
    "standard output unless -o names a file.\n"
    "\n"
    "REPORT may not be OLD or NEW; '-o -' writes to standard output. A file is replaced only\n"
    "when the comparison is complete: nothing is written when it fails. The plain text of\n"
    "--text ends its lines with CR LF in a file, with LF on standard output or a pipe.\n";

}  // namespace

int RunCompareCommand(const std::vector<std::string>& args, const platform::LocaleFormat& locale,
                      const std::string& defaultProgramFolder, std::ostream& out,
                      std::ostream& err) {
  CommandLine line("compare",
                   "compare OLD NEW -o REPORT [--drive TEXT] [--since TEXT]\n"
                   "                            [--ignore IGNOREFILE] [--text]\n"
                   "       brinvale-cli compare OLD NEW --json [-o FILE] [--drive TEXT]\n"
                   "                            [--ignore IGNOREFILE]",
                   kAbout);
  line.add(OutputOption("REPORT",
                        "where the report (or the JSON Lines) goes;\n"
                        "- for standard output"));
  line.add(QCommandLineOption(QStringLiteral("drive"),
                              QStringLiteral("the drive as the title shows it (default \"c:\")"),
                              QStringLiteral("TEXT")));
  line.add(QCommandLineOption(QStringLiteral("since"),
                              QStringLiteral("the time shown as the profile's date\n"
                                             "(default: OLD's modification time)"),
                              QStringLiteral("TEXT")));
  line.add(
      IgnoreListOption("an Ignore list: records of these folders, in OLD or\n"
                       "NEW, are not reported; an entry ending in '/**'\n"
                       "covers the folder and everything below it"));
  line.add(QCommandLineOption(QStringLiteral("text"),
                              QStringLiteral("write the plain-text form instead of rich text")));
  line.add(JsonOption("write the changes as JSON Lines instead of a report"));
  if (auto done = line.parse(args, out, err)) return *done;
  if (line.positional().size() != 2) {
    return line.fail(err, "expected the two profiles OLD and NEW (see --help)");
  }
  const bool json = line.isSet("json");
  if (json && line.isSet("text")) return line.fail(err, "--json and --text exclude each other");
  // The JSON Lines have no title, so no profile date.
  if (json && line.isSet("since")) return line.fail(err, "--since is not used with --json");
  std::string output = line.value("output").value_or(json ? kStandardOutputName : "");
  if (output.empty()) return line.fail(err, "missing -o REPORT (see --help)");
  const bool toStandardOutput = output == kStandardOutputName;
  if (const auto refusal =
          toStandardOutput ? std::nullopt : OwnFileRefusal(output, {defaultProgramFolder})) {
    err << *refusal << '\n';
    return kExitError;
  }

  platform::PosixFileSystem fs;
  engine::CompareSettings settings;
  settings.oldProfilePath = line.positional()[0];
  settings.newProfilePath = line.positional()[1];
  for (const std::string* path : {&settings.oldProfilePath, &settings.newProfilePath}) {
    if (auto probe = fs.openForReading(*path); !probe.isOk()) {
      return line.fail(err, probe.status().message());
    }
    if (!toStandardOutput && SameFile(*path, output)) {
      return line.fail(err, output + ": is the profile " + *path + "; write the " +
                                (json ? "changes" : "report") + " elsewhere");
    }
  }
  settings.driveDisplayText = line.value("drive").value_or("c:");
  if (const auto since = line.value("since")) {
    settings.profileDate = *since;
  } else if (!json) {
    auto date = engine::ProfileDate(fs, settings.oldProfilePath, locale);
    if (!date.isOk()) return line.fail(err, date.status().message());
    settings.profileDate = date.value();
  }
  auto ignore = IgnoreOption(line, fs, err);
  if (!ignore) return kExitError;
  settings.ignore = std::move(*ignore);

  // A file output replaces its target only when complete; standard output (and a pipe or
  // terminal named by -o) takes the bytes as they come, and the JSON Lines hold back each
  // drive until it is complete.
  std::unique_ptr<Output> opened;
  StreamFile standardOutput(out);
  platform::WritableFile* file = &standardOutput;
  if (!toStandardOutput) {
    auto named = OpenOutput(fs, output);
    if (!named.isOk()) {
      return line.fail(err, std::string("cannot write the ") + (json ? "changes: " : "report: ") +
                                named.status().message());
    }
    opened = std::move(named).value();
    file = opened->file();
  }
  // Plain text that goes to standard output or a stream ends its lines with LF; a file keeps
  // the report's CR LF.
  std::optional<LineFeedFile> lineFeeds;
  if (line.isSet("text") && (!opened || opened->streamed())) lineFeeds.emplace(file);
  engine::CompareOutcome outcome;
  base::Status s;
  {
    std::unique_ptr<engine::ReportSink> sink;
    if (json) {
      sink = NewNoReportSink();
    } else if (line.isSet("text")) {
      sink = engine::NewPlainTextReportSink(lineFeeds ? &*lineFeeds : file);
    } else {
      sink = engine::NewRtfReportSink(file);
    }
    JsonChangeWriter changes(file);
    if (json) settings.listener = &changes;
    engine::ChangeReport report(sink.get(), locale);
    platform::SilentProgress progress;
    s = engine::CompareProfiles(fs, settings, report, progress, &outcome);
  }
  if (s.isOk() && lineFeeds) s = lineFeeds->close();
  if (s.isOk()) s = opened ? opened->finish() : standardOutput.close();
  if (!s.isOk()) return line.fail(err, s.message());
  if (!outcome.orderWarning.isOk()) line.fail(err, "warning: " + outcome.orderWarning.message());
  return outcome.changeLines > 0 ? kExitChanges : kExitNoChange;
}

}  // namespace cli
