// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The window program's command line, run as the real executable.
#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>

#include "brinvale_version.h"

namespace {

struct Finished {
  int exitCode = -1;
  QProcess::ExitStatus status = QProcess::CrashExit;
  QString out;
  QString err;
};

// Runs the window program with `arguments` where no display of any kind is to be had.
Finished RunWithoutDisplay(const QStringList& arguments) {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
    environment.remove(QLatin1String(name));
  }
  QProcess program;
  program.setProcessEnvironment(environment);
  program.start(QStringLiteral(BRINVALE_WINDOW), arguments);
  Finished finished;
  if (!program.waitForFinished(20000)) {
    program.kill();
    program.waitForFinished();
    ADD_FAILURE() << "the program did not end";
    return finished;
  }
  finished.exitCode = program.exitCode();
  finished.status = program.exitStatus();
  finished.out = QString::fromLocal8Bit(program.readAllStandardOutput());
  finished.err = QString::fromLocal8Bit(program.readAllStandardError());
  return finished;
}

TEST(WindowProgramTest, VersionAndHelpAnswerWithoutADisplay) {
  const Finished version = RunWithoutDisplay({QStringLiteral("--version")});
  EXPECT_EQ(version.status, QProcess::NormalExit) << version.err.toStdString();
  EXPECT_EQ(version.exitCode, 0) << version.err.toStdString();
  EXPECT_EQ(version.out, QStringLiteral("Brinvale " BRINVALE_VERSION "\n"));

  for (const char* option : {"--help", "-h"}) {
    const Finished help = RunWithoutDisplay({QLatin1String(option)});
    EXPECT_EQ(help.status, QProcess::NormalExit) << option << help.err.toStdString();
    EXPECT_EQ(help.exitCode, 0) << option << help.err.toStdString();
    EXPECT_TRUE(help.out.startsWith(QStringLiteral("Usage: ")) &&
                help.out.contains(QStringLiteral("brinvale [options]\n")))
        << help.out.toStdString();
    EXPECT_TRUE(help.out.contains(QStringLiteral("--program-folder <DIR>"))) << option;
  }
  // Asked for among other options, help still answers before anything else.
  const Finished mixed =
      RunWithoutDisplay({QStringLiteral("--program-folder"), QStringLiteral("/nonexistent/x"),
                         QStringLiteral("--help")});
  EXPECT_EQ(mixed.exitCode, 0) << mixed.err.toStdString();
  EXPECT_TRUE(mixed.out.contains(QStringLiteral("--version")));
}

}  // namespace
