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

constexpr const char* kUsage =
    "Usage: brinvale-cli profile ROOT -o FILE [--ignore IGNOREFILE] [--recycled]\n"
    "\n"
    "Profiles the folder tree at ROOT as a drive whose root folder is ROOT and writes its\n"
    "profile to FILE: one line per file with its size, modification time, folder and name.\n"
    "FILE is replaced only when the whole tree was profiled.\n"
    "\n"
    "  -o FILE              where the profile goes (required)\n"
    "  --ignore IGNOREFILE  an Ignore list: folders (one per line, ending in '/') whose own\n"
    "                       files are left out\n"
    "  --recycled           also profile the volume's recycle-bin folders\n"
    "\n"
    "Reports no changes, so it exits with 0 when done; nothing is written on failure.\n";

}  // namespace

int RunProfileCommand(const std::vector<std::string>& args, const platform::LocaleFormat& locale,
                      std::ostream& out, std::ostream& err, bool errIsTerminal) {
  ArgumentScanner scanner({"-o", "--output", "--ignore"}, {"--recycled"});
  if (auto done = ScanCommandLine(&scanner, args, "profile", kUsage, out, err)) return *done;
  if (scanner.positional().size() != 1) {
    err << "brinvale-cli profile: expected one ROOT folder (see --help)\n";
    return kExitError;
  }
  const auto output = scanner.value({"-o", "--output"});
  if (!output || output->empty()) {
    err << "brinvale-cli profile: missing -o FILE (see --help)\n";
    return kExitError;
  }

  platform::PosixFileSystem fs;
  const std::string& rootArg = scanner.positional()[0];
  const auto root = AbsolutePath(rootArg);
  if (!root) {
    err << "brinvale-cli profile: " << rootArg << ": no such folder\n";
    return kExitError;
  }
  if (!fs.isFolder(*root)) {
    err << "brinvale-cli profile: " << rootArg << ": not a folder\n";
    return kExitError;
  }

  engine::ScanSettings settings;
  settings.driveRoot = *root == "/" ? *root : *root + "/";
  settings.driveDisplayText = settings.driveRoot;
  settings.includeRecycled = scanner.has("--recycled");
  settings.listingThreads = engine::FolderPrefetcher::DefaultThreads();
  auto ignore = IgnoreOption(scanner, fs, "profile", err);
  if (!ignore) return kExitError;
  settings.ignore = std::move(*ignore);

  // The profile replaces FILE only once complete; opening the replacement first learns
  // that FILE cannot be written before walking a large tree, not after.
  auto file = fs.openForReplacing(*output);
  if (!file.isOk()) {
    err << "brinvale-cli profile: cannot write " << file.status().message() << '\n';
    return kExitError;
  }
  CaptionPrinter captions(err, errIsTerminal);
  engine::ScanProblems problems;
  std::int64_t totalFiles = 0;
  engine::Status s = engine::ScanToProfile(fs, settings, locale, file.value().get(), captions,
                                           &problems, &totalFiles);
  if (s.isOk()) s = file.value()->commit();
  if (!s.isOk()) {
    err << "brinvale-cli profile: " << s.message() << '\n';
    return kExitError;
  }
  if (!problems.empty()) {
    err << "brinvale-cli profile: these places could not be read and were left out:\n"
        << problems.summary();
  }
  err << totalFiles << " files profiled\n";
  return kExitOk;
}

}  // namespace cli
