// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// brinvale-cli: Brinvale without a window. Each subcommand lives in its own file.
#include <unistd.h>

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <iostream>
#include <string>
#include <vector>

#include "brinvale_version.h"
#include "cli/cli_support.h"
#include "cli/command_line.h"
#include "cli/compare_command.h"
#include "cli/history_command.h"
#include "cli/profile_command.h"
#include "cli/run_command.h"
#include "cli/totext_command.h"
#include "platform/qt/program_folder.h"
#include "platform/qt/qt_locale_format.h"

namespace {

constexpr const char* kUsage =
    "Usage: brinvale-cli COMMAND [OPTIONS] [ARGS...]\n"
    "       brinvale-cli --version | --help\n"
    "\n"
    "Brinvale tells what changed on your drives since it last looked: files added, deleted,\n"
    "grown, shrunk, or with another modification time.\n"
    "\n"
    "Commands:\n"
    "  drives                      list the drives a run can scan, with their profiles\n"
    "  run LETTER...               find the changes on drives, as the window's run does\n"
    "  profile ROOT -o FILE        profile a folder tree as a drive\n"
    "  compare OLD NEW -o REPORT   compare two profiles and write the change report\n"
    "  compare OLD NEW --json      the changes as JSON Lines\n"
    "  totext FILE [-o OUT]        the plain-text form of a saved report\n"
    "  history [LETTER...]         list the kept profiles of drives\n"
    "  history LETTER --compare WHEN\n"
    "                              compare the profile current at WHEN with the stored one\n"
    "\n";

constexpr const char* kAbout =
    "\n"
    "The program folder holds the profiles, settings, Ignore list and reports: the user's\n"
    "data folder (~/.local/share/Brinvale/), or the program's own folder when a file named\n"
    "'portable' is beside it; 'drives', 'run' and 'history' take --program-folder DIR to use\n"
    "DIR instead.\n"
    "Every file is replaced whole or not at all; a symbolic link in the place of an output\n"
    "is replaced, never written through. An output onto a terminal, a pipe or a device is\n"
    "written as a stream. No output may be one of the program folder's own files (its\n"
    "profiles, settings, lists, locks and work files). Progress is shown only on a terminal.\n"
    "Run 'brinvale-cli COMMAND --help' for the options of a command.\n"
    "\n";

}  // namespace

int main(int argc, char* argv[]) {
  const std::vector<std::string> args(argv + 1, argv + argc);

  // The options before the command are the program's own; everything from the command on
  // belongs to the command.
  QCommandLineParser parser;
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsCompactedShortOptions);
  parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
  const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                QStringLiteral("show this help"));
  const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                   QStringLiteral("show the version number"));
  parser.addOption(help);
  parser.addOption(version);
  QStringList words{QStringLiteral("brinvale-cli")};
  for (const std::string& arg : args) words.push_back(cli::ArgumentText(arg));
  if (!parser.parse(words)) {
    std::cerr << "brinvale-cli: " << cli::ParserError(parser) << " (see --help)\n";
    return cli::kExitError;
  }
  std::vector<std::string> rest;
  for (const QString& word : parser.positionalArguments()) {
    rest.push_back(cli::ArgumentBytes(word));
  }
  if (parser.isSet(version)) {
    std::cout << "brinvale-cli " << BRINVALE_VERSION << '\n';
    return cli::kExitOk;
  }
  const std::string usage = std::string(kUsage) + "Options:\n" + cli::OptionTable({help, version}) +
                            kAbout + cli::kExitStatusHelp;
  if (parser.isSet(help) || (!rest.empty() && rest[0] == "help")) {
    std::cout << usage;
    return cli::kExitOk;
  }
  if (rest.empty()) {
    std::cerr << usage;
    return cli::kExitError;
  }
  const std::string command = rest[0];
  rest.erase(rest.begin());

  // Profiling and comparing need no application object; leaving it out keeps those
  // commands light (the compare of two profiles runs in a few MiB beyond the libraries).
  // The window and the command line share the data folder of "Brinvale".
  QCoreApplication::setApplicationName(QStringLiteral("Brinvale"));
  // No output may replace the files of the program folder a run without options would use.
  const std::string defaultProgramFolder = platform::DefaultProgramFolderFor(
      QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath()).absolutePath());
  const platform::QtLocaleFormat locale;
  const bool errIsTerminal = isatty(STDERR_FILENO) == 1;
  if (command == "profile") {
    return cli::RunProfileCommand(rest, locale, defaultProgramFolder, std::cout, std::cerr,
                                  errIsTerminal);
  }
  if (command == "compare") {
    return cli::RunCompareCommand(rest, locale, defaultProgramFolder, std::cout, std::cerr);
  }
  if (command == "totext") {
    return cli::RunTotextCommand(rest, defaultProgramFolder, std::cout, std::cerr);
  }
  if (command != "drives" && command != "run" && command != "history") {
    std::cerr << "brinvale-cli: unknown command '" << command << "' (see --help)\n";
    return cli::kExitError;
  }

  // The program folder rule and the volume list need the application object.
  QCoreApplication app(argc, argv);
  // The window and the command line share the data folder of "Brinvale".
  QCoreApplication::setApplicationName(QStringLiteral("Brinvale"));
  const cli::ProgramFolderChoice choose =
      [](const std::string& given) -> base::Result<std::string> {
    auto chosen = platform::ProgramFolder(QFile::decodeName(QByteArray::fromStdString(given)));
    if (!chosen.isOk()) return chosen.status();
    if (given.empty()) {
      if (const auto notice = platform::EarlierProfilesNotice(
              QCoreApplication::applicationDirPath(), chosen.value())) {
        std::cerr << "brinvale-cli: " << *notice << '\n';
      }
    }
    return chosen;
  };
  if (command == "drives") return cli::RunDrivesCommand(rest, choose, locale, std::cout, std::cerr);
  if (command == "history") {
    return cli::RunHistoryCommand(rest, choose, defaultProgramFolder, locale, std::cout, std::cerr);
  }
  return cli::RunRunCommand(rest, choose, defaultProgramFolder, locale, std::cout, std::cerr,
                            errIsTerminal);
}
