// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// brinvale: the desktop program. Chooses the program folder and opens the main window.
#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QIcon>
#include <QStringList>

#include "app/dialog_commands.h"
#include "app/main_window.h"
#include "app/qt_sound_output.h"
#include "app/report_commands.h"
#include "app/start_up.h"
#include "app/translations.h"
#include "app/window_run.h"
#include "brinvale_version.h"
#include "dialogs/dialog_support.h"
#include "platform/posix/posix_file_system.h"
#include "platform/qt/qt_locale_format.h"
#include "platform/qt/qt_volumes.h"
#include "reports/printers.h"

namespace {

// The program's options; returns --program-folder.
QCommandLineOption DescribeOptions(QCommandLineParser* parser) {
  // The window and the command line share the data folder of "Brinvale".
  QCoreApplication::setApplicationName(QStringLiteral("Brinvale"));
  QCoreApplication::setApplicationVersion(QStringLiteral(BRINVALE_VERSION));
  parser->setApplicationDescription(
      QStringLiteral("Brinvale tells you what changed on your disks since it last looked."));
  parser->addHelpOption();
  parser->addVersionOption();
  QCommandLineOption folder(
      QStringLiteral("program-folder"),
      QStringLiteral("Keep profiles, settings, the Ignore list and reports in DIR."),
      QStringLiteral("DIR"));
  parser->addOption(folder);
  return folder;
}

// --help and --version answer on standard output and end the program, before anything
// needs a display: the window's application cannot even be made without one. Other
// options, Qt's own (-platform, -display) among them, wait for the window's parse.
void AnswerHelpOrVersion(int argc, char* argv[]) {
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  QCommandLineParser parser;
  (void)DescribeOptions(&parser);
  (void)parser.parse(arguments);
  const bool help =
      parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all"));
  if (!help && !parser.isSet(QStringLiteral("version"))) return;
  QCoreApplication application(argc, argv);  // the program's name for the usage line
  if (help) parser.showHelp(0);
  parser.showVersion();
}

}  // namespace

int main(int argc, char* argv[]) {
  AnswerHelpOrVersion(argc, argv);
  QApplication application(argc, argv);
  // The window speaks the user's language; the command line's options and help stay English.
  (void)app::InstallTranslators(&application);
  QCommandLineParser parser;
  const QCommandLineOption folderOption = DescribeOptions(&parser);
  parser.process(application);  // bad options end here

  const auto folder = app::ChooseProgramFolder(parser.value(folderOption));
  if (!folder.isOk()) {
    dialogs::ShowCritical(
        nullptr, QCoreApplication::translate(
                     "main", "Brinvale cannot start: it has no folder for its files.\n\n%1")
                     .arg(QString::fromStdString(folder.status().message())));
    return 1;
  }

  platform::PosixFileSystem fileSystem;
  app::QtSoundOutput sound;
  // What the window and its commands work with, for the whole run of the program.
  const platform::QtLocaleFormat locale;
  platform::QtVolumes volumes(fileSystem, folder.value());
  const reports::SystemPrinterList printers;
  app::MainWindow window({&fileSystem, folder.value(), &sound, {}});
  QApplication::setWindowIcon(window.windowIcon());

  app::WindowRun run({&window, &fileSystem, &volumes, &locale});
  app::ReportCommands reportCommands(window, printers, locale);
  app::DialogCommands dialogCommands(window, fileSystem, folder.value(), volumes, reportCommands);
  app::MainWindowCommands commands;
  run.connectTo(&commands);
  reportCommands.addTo(&commands);
  dialogCommands.addTo(&commands);
  window.setCommands(std::move(commands));

  if (!window.load()) return 1;
  window.show();
  return QApplication::exec();
}
