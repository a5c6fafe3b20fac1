// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/compare_command.h"

#include <ostream>

#include "cli/cli_support.h"
#include "engine/change_report.h"
#include "engine/compare_profiles.h"
#include "engine/ignore_list_file.h"
#include "engine/profile_store.h"
#include "platform/posix/posix_file_system.h"

namespace cli {
namespace {

constexpr const char* kUsage =
    "Usage: brinvale-cli compare OLD NEW -o REPORT [--drive TEXT] [--since TEXT]\n"
    "                            [--ignore IGNOREFILE] [--text]\n"
    "\n"
    "Compares the stored profile OLD with the new scan NEW of one drive and writes the\n"
    "change report to REPORT: the files added, deleted, grown, shrunk or re-timed, folder by\n"
    "folder, with byte totals. Dates and numbers follow the locale (LANG, LC_ALL).\n"
    "\n"
    "  -o REPORT            where the report goes (required); replaced when complete\n"
    "  --drive TEXT         the drive as the title shows it (default \"c:\")\n"
    "  --since TEXT         the time shown as the profile's date (default: OLD's\n"
    "                       modification time)\n"
    "  --ignore IGNOREFILE  an Ignore list: records of these folders, in OLD or NEW, are not\n"
    "                       reported\n"
    "  --text               write the plain-text form instead of rich text\n"
    "\n"
    "REPORT may not be OLD or NEW. Nothing is written when the comparison fails.\n";

}  // namespace

int RunCompareCommand(const std::vector<std::string>& args, const platform::LocaleFormat& locale,
                      std::ostream& out, std::ostream& err) {
  ArgumentScanner scanner({"-o", "--output", "--drive", "--since", "--ignore"}, {"--text"});
  if (auto done = ScanCommandLine(&scanner, args, "compare", kUsage, out, err)) return *done;
  if (scanner.positional().size() != 2) {
    err << "brinvale-cli compare: expected the two profiles OLD and NEW (see --help)\n";
    return kExitError;
  }
  const auto output = scanner.value({"-o", "--output"});
  if (!output || output->empty()) {
    err << "brinvale-cli compare: missing -o REPORT (see --help)\n";
    return kExitError;
  }

  platform::PosixFileSystem fs;
  engine::CompareSettings settings;
  settings.oldProfilePath = scanner.positional()[0];
  settings.newProfilePath = scanner.positional()[1];
  for (const std::string* path : {&settings.oldProfilePath, &settings.newProfilePath}) {
    if (auto probe = fs.openForReading(*path); !probe.isOk()) {
      err << "brinvale-cli compare: " << probe.status().message() << '\n';
      return kExitError;
    }
    if (SameFile(*path, *output)) {
      err << "brinvale-cli compare: " << *output << ": is the profile " << *path
          << "; write the report elsewhere\n";
      return kExitError;
    }
  }
  settings.driveDisplayText = scanner.value("--drive").value_or("c:");
  if (const auto since = scanner.value("--since")) {
    settings.profileDate = *since;
  } else {
    auto date = engine::ProfileDate(fs, settings.oldProfilePath, locale);
    if (!date.isOk()) {
      err << "brinvale-cli compare: " << date.status().message() << '\n';
      return kExitError;
    }
    settings.profileDate = date.value();
  }
  auto ignore = IgnoreOption(scanner, fs, "compare", err);
  if (!ignore) return kExitError;
  settings.ignore = std::move(*ignore);

  // The report replaces REPORT only when complete.
  auto file = fs.openForReplacing(*output);
  if (!file.isOk()) {
    err << "brinvale-cli compare: cannot write the report: " << file.status().message() << '\n';
    return kExitError;
  }
  engine::CompareOutcome outcome;
  engine::Status s;
  {
    auto sink = scanner.has("--text") ? engine::NewPlainTextReportSink(file.value().get())
                                      : engine::NewRtfReportSink(file.value().get());
    engine::ChangeReport report(sink.get(), locale);
    platform::SilentProgress progress;
    s = engine::CompareProfiles(fs, settings, report, progress, &outcome);
  }
  if (s.isOk()) s = file.value()->commit();
  if (!s.isOk()) {
    err << "brinvale-cli compare: " << s.message() << '\n';
    return kExitError;
  }
  if (!outcome.orderWarning.isOk()) {
    err << "brinvale-cli compare: warning: " << outcome.orderWarning.message() << '\n';
  }
  return outcome.changeLines > 0 ? kExitChanges : kExitNoChange;
}

}  // namespace cli
