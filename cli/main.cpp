// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// brinvale-cli: Brinvale without a window. Each subcommand lives in its own file.
#include <unistd.h>

#include <QCoreApplication>
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_support.h"
#include "cli/compare_command.h"
#include "cli/profile_command.h"
#include "platform/qt/qt_locale_format.h"

namespace {

constexpr const char* kUsage =
    "Usage: brinvale-cli COMMAND [ARGS...]\n"
    "\n"
    "Commands:\n"
    "  profile ROOT -o FILE    profile a folder tree as a drive\n"
    "  compare OLD NEW -o REPORT\n"
    "                          compare two profiles and write the change report\n"
    "\n"
    "Run 'brinvale-cli COMMAND --help' for the options of a command.\n";

}  // namespace

int main(int argc, char* argv[]) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    (args.empty() ? std::cerr : std::cout) << kUsage;
    return args.empty() ? cli::kExitError : cli::kExitOk;
  }
  const std::string command = args[0];
  args.erase(args.begin());

  QCoreApplication app(argc, argv);
  const platform::QtLocaleFormat locale;
  const bool errIsTerminal = isatty(STDERR_FILENO) == 1;
  if (command == "profile") {
    return cli::RunProfileCommand(args, locale, std::cout, std::cerr, errIsTerminal);
  }
  if (command == "compare") {
    return cli::RunCompareCommand(args, locale, std::cout, std::cerr);
  }
  std::cerr << "brinvale-cli: unknown command '" << command << "' (see --help)\n";
  return cli::kExitError;
}
