// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// brinvale-cli: Brinvale without a window. Each subcommand lives in its own file.
#include <unistd.h>

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_support.h"
#include "cli/compare_command.h"
#include "cli/profile_command.h"
#include "cli/run_command.h"
#include "cli/totext_command.h"
#include "platform/qt/program_folder.h"
#include "platform/qt/qt_locale_format.h"

namespace {

constexpr const char* kUsage =
    "Usage: brinvale-cli COMMAND [ARGS...] [--program-folder DIR]\n"
    "\n"
    "Commands:\n"
    "  drives                      list the drives a run can scan\n"
    "  run LETTER...               find the changes on drives, as the window's run does\n"
    "  profile ROOT -o FILE        profile a folder tree as a drive\n"
    "  compare OLD NEW -o REPORT   compare two profiles and write the change report\n"
    "  totext FILE [-o OUT]        the plain-text form of a saved report\n"
    "\n"
    "The program folder holds the profiles, settings, Ignore list and reports: the user's\n"
    "data folder (~/.local/share/Brinvale/), or the program's own folder when a file named\n"
    "'portable' is beside it. --program-folder DIR uses DIR instead.\n"
    "\n"
    "Every file is replaced whole or not at all; a symbolic link in the place of an output\n"
    "is replaced, never written through.\n"
    "Run 'brinvale-cli COMMAND --help' for the options of a command.\n"
    "\n";

// Takes `--program-folder DIR` (or `--program-folder=DIR`) out of `args`. False when the
// option lacks its value.
bool TakeProgramFolder(std::vector<std::string>* args, std::string* folder) {
  for (std::size_t i = 0; i < args->size(); ++i) {
    const std::string& arg = (*args)[i];
    if (arg == "--") break;
    if (arg == "--program-folder") {
      if (i + 1 >= args->size()) return false;
      *folder = (*args)[i + 1];
      args->erase(args->begin() + static_cast<std::ptrdiff_t>(i),
                  args->begin() + static_cast<std::ptrdiff_t>(i) + 2);
      --i;
    } else if (arg.rfind("--program-folder=", 0) == 0) {
      *folder = arg.substr(17);
      args->erase(args->begin() + static_cast<std::ptrdiff_t>(i));
      --i;
    }
  }
  return true;
}

}  // namespace

int main(int argc, char* argv[]) {
  std::vector<std::string> args(argv + 1, argv + argc);
  std::string programFolder;
  if (!TakeProgramFolder(&args, &programFolder)) {
    std::cerr << "brinvale-cli: option --program-folder needs a value\n";
    return cli::kExitError;
  }
  if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    (args.empty() ? std::cerr : std::cout) << kUsage << cli::kExitStatusHelp;
    return args.empty() ? cli::kExitError : cli::kExitOk;
  }
  const std::string command = args[0];
  args.erase(args.begin());

  // Profiling and comparing need no application object; leaving it out keeps those
  // commands light (the compare of two profiles runs in a few MiB beyond the libraries).
  const platform::QtLocaleFormat locale;
  const bool errIsTerminal = isatty(STDERR_FILENO) == 1;
  if (command == "profile") {
    return cli::RunProfileCommand(args, locale, std::cout, std::cerr, errIsTerminal);
  }
  if (command == "compare") return cli::RunCompareCommand(args, locale, std::cout, std::cerr);
  if (command == "totext") return cli::RunTotextCommand(args, std::cout, std::cerr);
  if (command != "drives" && command != "run") {
    std::cerr << "brinvale-cli: unknown command '" << command << "' (see --help)\n";
    return cli::kExitError;
  }

  // The program folder rule and the volume list need the application object.
  QCoreApplication app(argc, argv);
  // The window and the command line share the data folder of "Brinvale".
  QCoreApplication::setApplicationName(QStringLiteral("Brinvale"));
  // Asking for help creates no program folder.
  const bool help = std::find(args.begin(), args.end(), "--help") != args.end() ||
                    std::find(args.begin(), args.end(), "-h") != args.end();
  std::string folder;
  if (!help) {
    auto chosen =
        platform::ProgramFolder(QFile::decodeName(QByteArray::fromStdString(programFolder)));
    if (!chosen.isOk()) {
      std::cerr << "brinvale-cli: " << chosen.status().message() << '\n';
      return cli::kExitError;
    }
    folder = chosen.value();
    if (programFolder.empty()) {
      if (const auto notice =
              platform::EarlierProfilesNotice(QCoreApplication::applicationDirPath(), folder)) {
        std::cerr << "brinvale-cli: " << *notice << '\n';
      }
    }
  }
  if (command == "drives") return cli::RunDrivesCommand(args, folder, std::cout, std::cerr);
  return cli::RunRunCommand(args, folder, locale, std::cout, std::cerr, errIsTerminal);
}
