// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/window_run.h"

#include <chrono>

#include <QCoreApplication>
#include <QFile>

#include "app/main_window.h"
#include "app/window_run_ui.h"
#include "dialogs/dialog_support.h"
#include "platform/volumes.h"

namespace app {
namespace {

std::string NativeBytes(const QString& path) { return QFile::encodeName(path).toStdString(); }

}  // namespace

WindowRun::WindowRun(WindowRunDependencies deps, QObject* parent)
    : QObject(parent),
      m_deps(deps),
      m_ui(std::make_unique<WindowRunUserInterface>(deps.window, deps.fileSystem, deps.locale)) {}

WindowRun::~WindowRun() {
  if (!m_worker.joinable()) return;
  m_abandoned = true;
  m_deps.window->Continue = false;
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
  commands->findChanges = [this] { FindChanges(); };
  commands->cancelRun = [this] { CancelRun(); };
}

void WindowRun::FindChanges() {
  if (running()) return;
  MainWindow& window = *m_deps.window;
  const std::string programFolder = NativeBytes(window.programFolder());

  // Nothing of the program folder is read or written, drives.txt included, before the lock
  // is held: a scheduled run may be replacing those files.
  auto lock = platform::RunLock::TryTake(*m_deps.fileSystem, programFolder);
  if (!lock.isOk()) {
    const QString reason = QString::fromStdString(lock.status().message());
    dialogs::ShowMessage(&window, lock.status().isBusy()
                                      ? reason
                                      : QStringLiteral("The run cannot start:\n%1").arg(reason));
    return;
  }
  m_lock = std::move(lock).value();

  const platform::DriveListing listing = m_deps.volumes->drives();
  if (!listing.problems.empty()) {
    QString text;
    for (const engine::Status& problem : listing.problems) {
      text += QString::fromStdString(problem.message()) + QLatin1Char('\n');
    }
    dialogs::ShowMessage(&window, text.trimmed());
  }

  m_env = engine::RunEnvironment();
  m_env.fs = m_deps.fileSystem;
  m_env.locale = m_deps.locale;
  m_env.programFolder = programFolder;
  m_env.composedReportPath = NativeBytes(window.composedReportPath());
  m_env.settingsPath = NativeBytes(window.settingsPath());
  m_env.settings = &window.settings();
  m_env.infoOnly = window.infoOnly();
  // A volume that is not mounted now is not a drive of the system for this run; it keeps
  // its letter and profile for when it comes back.
  for (const platform::Drive& drive : listing.drives) {
    if (drive.available) m_env.drives.push_back({drive.displayText, drive.root});
  }

  window.blnMultiReport = false;
  window.Continue = true;
  m_workerDone = false;
  m_worker = std::thread([this] {
    engine::RunOutcome outcome = engine::FindChanges(m_env, *m_ui);
    m_workerDone = true;
    QMetaObject::invokeMethod(
        this, [this, outcome = std::move(outcome)] { WorkerFinished(outcome); },
        Qt::QueuedConnection);
  });
}

void WindowRun::CancelRun() { m_deps.window->Continue = false; }

void WindowRun::WorkerFinished(const engine::RunOutcome& outcome) {
  if (m_abandoned) return;  // the destructor waits for the worker itself
  m_worker.join();
  m_outcome = outcome;
  m_lock.release();
  // Cancel was pressed after the point from which a run completes: tell the user why the
  // run did not stop.
  if (outcome.driveLoopStarted && !outcome.cancelled && !m_deps.window->Continue) {
    m_deps.window->showStatus(
        outcome.savedReports.empty()
            ? QStringLiteral("The run had already finished when Cancel was pressed.")
            : QStringLiteral("The run had already saved its report when Cancel was pressed."));
  }
  emit finished();
  m_deps.window->RunFinished();
}

}  // namespace app
