// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/window_run.h"

#include <chrono>
#include <set>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTextDocument>

#include "app/main_window.h"
#include "app/run_status.h"
#include "app/run_window.h"
#include "app/window_run_ui.h"
#include "dialogs/dialog_support.h"
#include "platform/qt/native_path.h"
#include "platform/volumes.h"

namespace app {
WindowRun::WindowRun(WindowRunDependencies deps, QObject* parent)
    : QObject(parent),
      m_deps(deps),
      m_ui(std::make_unique<WindowRunUserInterface>(deps.window, deps.fileSystem, deps.locale)) {}

WindowRun::~WindowRun() {
  if (!m_worker.joinable()) return;
  m_abandoned = true;
  m_ui->cancel();
  m_ui->abandon();
  // The worker may be waiting for a blocking call to this thread; serve those (they now
  // answer "cancelled" at once) until it has ended.
  while (!m_workerDone) {
    QCoreApplication::processEvents();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  m_worker.join();
  m_lock.release();
}

void WindowRun::connectTo(MainWindowCommands* commands) {
  commands->findChanges = [this] { findChanges(); };
  commands->compareWithEarlierRun = [this] { compareWithEarlierRun(); };
  commands->cancelRun = [this] { cancelRun(); };
}

void WindowRun::findChanges() {
  if (running()) return;
  RunWindow& window = *m_deps.window;
  const std::string programFolder = platform::NativeBytes(window.programFolder());

  // Nothing of the program folder is read or written, drives.txt included, before the lock
  // is held: a scheduled run may be replacing those files.
  auto lock = platform::RunLock::TryTake(*m_deps.fileSystem, programFolder);
  if (!lock.isOk()) {
    const QString reason = QString::fromStdString(lock.status().message());
    dialogs::ShowMessage(window.dialogParent(), lock.status().isBusy()
                                                    ? reason
                                                    : tr("The run cannot start:\n%1").arg(reason));
    return;
  }
  m_lock = std::move(lock).value();

  const platform::DriveListing listing = m_deps.volumes->drives();
  if (!listing.problems.empty()) {
    QString text;
    for (const base::Status& problem : listing.problems) {
      text += QString::fromStdString(problem.message()) + QLatin1Char('\n');
    }
    dialogs::ShowMessage(window.dialogParent(), text.trimmed());
  }

  m_env = engine::RunEnvironment();
  m_env.fs = m_deps.fileSystem;
  m_env.locale = m_deps.locale;
  m_env.programFolder = programFolder;
  m_env.composedReportPath = platform::NativeBytes(window.composedReportPath());
  m_env.settingsPath = platform::NativeBytes(window.settingsPath());
  m_env.settings = &window.settings();
  m_env.infoOnly = window.infoOnly();
  m_env.includeHidden = window.includeHidden();
  m_env.confPath = platform::NativeBytes(window.confPath());
  // A volume that is not mounted now, or a watched folder that is missing, is listed so
  // that the user sees it, but it cannot be marked and is never scanned; it keeps its
  // letter and profile for when it comes back.
  std::set<std::string> unavailable;
  for (const platform::Drive& drive : listing.drives) {
    m_env.drives.push_back({drive.displayText, drive.root, drive.available});
    if (!drive.available) unavailable.insert(drive.displayText);
  }
  m_ui->setUnavailableDrives(std::move(unavailable));

  m_ui->resume();
  m_workerDone = false;
  m_worker = std::thread([this] {
    m_workerOutcome = engine::FindChanges(m_env, *m_ui);
    m_workerDone = true;
    // By name, carrying nothing: the outcome is read once the worker is joined.
    QMetaObject::invokeMethod(this, "workerFinished", Qt::QueuedConnection);
  });
}

void WindowRun::cancelRun() { m_ui->cancel(); }

void WindowRun::workerFinished() {
  if (m_abandoned) return;  // the destructor waits for the worker itself
  m_worker.join();
  if (m_comparing) return comparisonFinished();
  m_outcome = std::move(m_workerOutcome);
  m_lock.release();
  const engine::RunOutcome& outcome = m_outcome;
  // What the run did, in the status bar; a run cancelled in its selection did nothing.
  if (outcome.driveLoopStarted) {
    RunWindow& window = *m_deps.window;
    RunStatusFacts facts;
    facts.infoOnly = m_env.infoOnly;
    facts.shownFile = QFileInfo(window.currentFile()).fileName();
    facts.earlierReportShown = !m_ui->showedReport() && window.showsEarlierReport();
    // Cancel was pressed after the point from which a run completes.
    facts.cancelTooLate = !outcome.cancelled && m_ui->cancelPressed();
    window.showStatus(
        RunStatusMessage(outcome, facts, engine::NumberSeparators::From(*m_deps.locale)));
  }
  emit finished();
  m_deps.window->runFinished();
}

}  // namespace app
