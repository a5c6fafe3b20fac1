// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// A whole run started from the main window ("&Find 'em", "&Create (Find Changes)"): the
// drive list, the run conductor on a worker thread, and the window put back when it ends.
#pragma once

#include <atomic>
#include <memory>
#include <thread>

#include <QObject>
#include <QString>

#include "engine/run_conductor.h"
#include "platform/run_lock.h"

namespace dialogs {
struct HistoryChoice;
}  // namespace dialogs
namespace platform {
class FileSystem;
class LocaleFormat;
class Volumes;
}  // namespace platform

namespace app {

struct MainWindowCommands;
class RunWindow;
class WindowRunUserInterface;

struct WindowRunDependencies {
  // The main window, as much of it as a run may touch.
  RunWindow* window = nullptr;
  // What the run reads and writes: the drives, profiles, lists and reports.
  platform::FileSystem* fileSystem = nullptr;
  // The drives offered, in the order the drive selection lists them.
  platform::Volumes* volumes = nullptr;
  const platform::LocaleFormat* locale = nullptr;
};

// Owns at most one run at a time. Everything here is called on the user-interface thread.
class WindowRun final : public QObject {
  Q_OBJECT

 public:
  // Everything in `deps` must outlive this object.
  explicit WindowRun(WindowRunDependencies deps, QObject* parent = nullptr);
  // A run still going (only when the program ends abnormally) is cancelled and waited for;
  // from then on it shows nothing and asks nothing.
  ~WindowRun() override;
  WindowRun(const WindowRun&) = delete;
  WindowRun& operator=(const WindowRun&) = delete;

  // Sets the window's findChanges, compareWithEarlierRun and cancelRun handlers to this
  // run's.
  void connectTo(MainWindowCommands* commands);

  // findChanges: takes the program folder's run lock without waiting, then starts a run on
  // a worker thread and returns at once; the drive selection and the run's questions follow
  // as modal dialogs. The lock is held until the run has wound down. When another process
  // (a scheduled command-line run) holds it, or it cannot be taken, shows why and starts
  // nothing. Does nothing while a run goes on.
  void findChanges();
  // Cancels a run in progress, as the Cancel button does; the run winds down on its worker.
  // A cancel that comes once the run's last report is in place does not stop the run: it
  // completes, and the status bar says "The run had already saved its report when Cancel
  // was pressed." ("... had already finished ..." for a run without a report).
  void cancelRun();

  // "Compare With an Earlier Run...": when the view holds changes, asks first as Find 'em
  // does; then frmHistory over the window, on the drives that have kept profiles (a message
  // when none has), and compare() for what the user chose.
  void compareWithEarlierRun();
  // Compares what `choice` names, as `brinvale-cli history K --compare` does, on a worker
  // thread as a run goes: under the run lock, in cancel mode with the run's progress. The
  // report is saved in the Reports folder (engine::SaveHistoryReport) and shown in the view;
  // the status bar says what was compared. Cancel before the report is in place saves
  // nothing and leaves the view as it was. A kept profile that is gone by now, or a busy
  // lock, is told in one message and nothing starts. Does nothing while a run goes on.
  void compare(const dialogs::HistoryChoice& choice);

  // True from findChanges (or compare) until the run's worker has finished and the window has been
  // told.
  [[nodiscard]] bool running() const { return m_worker.joinable(); }
  // What the last finished run did.
  [[nodiscard]] const engine::RunOutcome& lastOutcome() const { return m_outcome; }

 signals:
  // A run's worker has finished and the window is back to normal.
  void finished();

 private:
  // Posted by the worker when it ends. By name, so that nothing of the worker's crosses to
  // this thread but through the join: that is an order the thread sanitizer sees, where the
  // one inside Qt's queued call is not.
  Q_INVOKABLE void workerFinished();
  // workerFinished for a comparison.
  void comparisonFinished();

  WindowRunDependencies m_deps;
  std::unique_ptr<WindowRunUserInterface> m_ui;
  engine::RunEnvironment m_env;
  engine::RunOutcome m_outcome;
  engine::RunOutcome m_workerOutcome;  // the worker's, until workerFinished has joined it
  platform::RunLock m_lock;
  std::thread m_worker;
  std::atomic<bool> m_workerDone{false};
  bool m_abandoned = false;  // being destroyed: the destructor waits for the worker
  // The worker compares two profiles (compare) rather than running; its status message,
  // written by the worker and read once it is joined.
  bool m_comparing = false;
  QString m_comparisonStatus;
};

}  // namespace app
