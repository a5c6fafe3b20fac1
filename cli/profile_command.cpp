// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/profile_command.h"

#include <ostream>

#include "cli/cli_support.h"
#include "engine/drive_scan.h"
#include "engine/folder_prefetcher.h"
#include "engine/ignore_list_file.h"
#include "platform/posix/posix_file_system.h"

namespace cli {
namespace {

constexpr const char* kAbout =
    "Profiles the folder tree at ROOT as a drive whose root folder is ROOT and writes its\n"
    "profile to FILE: one line per file with its size, modification time, folder and name.\n"
    "Hidden files and folders (names starting with '.') are left out unless --hidden is\n"
    "given; trash folders are left out either way (--recycled adds the trashed files).\n"
    "FILE is replaced only when the whole tree was profiled; nothing is written on failure.\n"
    "Reports no changes, so it exits with 0 when done.\n";

}  // namespace

int RunProfileCommand(const std::vector<std::string>& args, const platform::LocaleFormat& locale,
                      const std::string& defaultProgramFolder, std::ostream& out, std::ostream& err,
                      bool errIsTerminal) {
  CommandLine line("profile",
                   "profile ROOT -o FILE [--ignore IGNOREFILE] [--recycled] [--hidden]\n"
                   "                            [-q | --progress]",
                   kAbout);
  line.add(OutputOption("FILE", "where the profile goes (required)"));
  line.add(
      IgnoreListOption("an Ignore list: folders (one per line, ending in '/')\n"
                       "whose own files are left out, or ending in '/**'\n"
                       "to leave out the folder and everything below it"));
  line.add(QCommandLineOption(QStringLiteral("recycled"),
                              QStringLiteral("also profile the volume's recycle-bin folders")));
  line.add(QCommandLineOption(QStringLiteral("hidden"),
                              QStringLiteral("also profile hidden files and folders")));
  line.add(QuietOption());
  line.add(ProgressOption());
  if (auto done = line.parse(args, out, err)) return *done;
  const auto chatter = ChatterOf(line, errIsTerminal, err);
  if (!chatter) return kExitError;
  if (line.positional().size() != 1) {
    return line.fail(err, "expected one ROOT folder (see --help)");
  }
  const auto output = line.value("output");
  if (!output || output->empty()) return line.fail(err, "missing -o FILE (see --help)");
  if (*output == kStandardOutputName) {
    return line.fail(err, "a profile is written to a file, not to standard output");
  }
  if (const auto refusal = OwnFileRefusal(*output, {defaultProgramFolder})) {
    err << *refusal << '\n';
    return kExitError;
  }

  platform::PosixFileSystem fs;
  const std::string& rootArg = line.positional()[0];
  const auto root = AbsolutePath(rootArg);
  if (!root) return line.fail(err, rootArg + ": no such folder");
  if (!fs.isFolder(*root)) return line.fail(err, rootArg + ": not a folder");

  engine::ScanSettings settings;
  settings.driveRoot = *root == "/" ? *root : *root + "/";
  settings.driveDisplayText = settings.driveRoot;
  settings.includeRecycled = line.isSet("recycled");
  settings.includeHidden = line.isSet("hidden");
  settings.listingThreads = engine::FolderPrefetcher::DefaultThreads();
  auto ignore = IgnoreOption(line, fs, err);
  if (!ignore) return kExitError;
  settings.ignore = std::move(*ignore);

  // The profile replaces FILE only once complete; opening the replacement first learns
  // that FILE cannot be written before walking a large tree, not after.
  auto file = OpenOutput(fs, *output);
  if (!file.isOk()) return line.fail(err, "cannot write " + file.status().message());
  engine::ScanProblems problems;
  std::int64_t totalFiles = 0;
  base::Status s;
  {
    CaptionPrinter captions(err, errIsTerminal);
    platform::SilentProgress silent;
    s = engine::ScanToProfile(
        fs, settings, locale, file.value()->file(),
        chatter->captions ? static_cast<platform::Progress&>(captions) : silent, &problems,
        &totalFiles);
  }
  if (s.isOk()) s = file.value()->finish();
  if (!s.isOk()) return line.fail(err, s.message());
  if (!problems.empty()) {
    err << "brinvale-cli profile: these places could not be read and were left out:\n"
        << problems.summary();
  }
  if (chatter->notes) {
    err << GroupedCount(totalFiles, locale.groupSeparator())
        << (totalFiles == 1 ? " file" : " files") << " profiled\n";
  }
  return kExitOk;
}

}  // namespace cli
