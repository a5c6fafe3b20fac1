// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The main window as the run conductor's user interface: the drive selection and the run's
// questions as modal dialogs, progress, cancel mode, cues and the report, for a conductor
// that runs on a worker thread. The window is reached only through RunWindow.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <type_traits>

#include <QObject>
#include <QString>
#include <QThread>

#include "app/progress_relay.h"
#include "engine/run_user_interface.h"

namespace platform {
class FileSystem;
class LocaleFormat;
}  // namespace platform

namespace app {

class RunWindow;

// Lives on the user-interface thread with the window. Every method may be called from the
// run's worker thread: those that touch the window run on the user-interface thread through
// a blocking queued call, so the worker waits for the user's answer while the window's event
// loop goes on; progress() and now() answer on the calling thread. Called on the
// user-interface thread itself (as tests may), everything runs directly.
class WindowRunUserInterface final : public QObject, public engine::RunUserInterface {
  Q_OBJECT

 public:
  // `window`, `fs` (the run's file system) and `locale` must outlive this object.
  WindowRunUserInterface(RunWindow* window, platform::FileSystem* fs,
                         const platform::LocaleFormat* locale, QObject* parent = nullptr);
  ~WindowRunUserInterface() override;

  // From now on nothing is shown and every question is answered as if cancelled: for a
  // program that ends while a worker is still winding down. User-interface thread.
  void abandon();
  // A run begins: progress() says to go on until cancel(). User-interface thread.
  void resume() { m_progress.resume(); }
  // Cancel, as the window's Cancel button does: progress() says to stop and shows nothing
  // more. Any thread.
  void cancel() { m_progress.cancel(); }
  // True once cancel() was called during the current or last run.
  [[nodiscard]] bool cancelPressed() { return !m_progress.shouldContinue(); }
  // The drives, by display text, that the next run's drive selection lists greyed out as
  // not available. Set before the run starts, on the user-interface thread.
  void setUnavailableDrives(std::set<std::string> displayTexts) {
    m_unavailable = std::move(displayTexts);
  }

  // engine::RunUserInterface
  // frmDriveSel over the window; its Cancel or close box cancel the run as cancel() does.
  // The unavailable drives are listed but cannot be marked.
  [[nodiscard]] bool selectDrives(const std::vector<std::string>& rows, std::vector<bool>* marks,
                                  engine::SettingsRecord* settings) override;
  [[nodiscard]] bool retryWithoutDrives() override;
  [[nodiscard]] bool askYesNo(std::string_view title, std::string_view text) override;
  // frmMulti: true for one report of all drives.
  [[nodiscard]] bool askOneReport(engine::SettingsRecord* settings) override;
  void showMessage(std::string_view text) override;
  // Cancel mode, the busy pointer, the report view making room for the progress display.
  void runStarted() override;
  // The report view back in place of the progress display, the commands back, Save, Save
  // As and Print enabled, the normal pointer. The view loads (MainWindow::showRunReport) the
  // report saved last, under that report's name, read from the report file itself when it
  // is rich text: the composer's own bytes. A plain-text report shows in its colours, read
  // from the composed report it was written from while that is unchanged (from the
  // plain-text file when a later drive has composed another). A report composed last and
  // not saved is shown only when the run was not cancelled (its report could not be saved:
  // the view shows the changes all the same, under the work file's name). A cancelled
  // run's unsaved report is not shown, and a run without a report leaves the view alone.
  void runEnded() override;
  void play(Cue cue) override;
  [[nodiscard]] platform::Progress& progress() override { return m_progress; }
  // Takes the composed report at `path` as the one the view stands for; nothing is read
  // into a document while the run goes on (runEnded says what the view shows). Fails when
  // it cannot be opened. The composed report that this run has just saved, unchanged,
  // taken again at the run's end, stays the saved one.
  [[nodiscard]] base::Status loadReport(const std::string& path) override;
  // Writes the composed report last taken, on the calling thread, a block at a time: as rich
  // text its bytes as the composer wrote them, as plain text its plain-text form
  // (reports::AppendReportFileAsPlainText). These are the bytes saving the unedited view
  // gives (the view cannot change while the drive loop runs).
  [[nodiscard]] base::Status writeReport(platform::ReplacementFile* report, bool richText) override;
  void reportSaved(const std::string& path) override;
  void switchOffInfoOnly() override;
  // True when the run that ended last put a report of its own in the view (a long one may
  // still be loading). User-interface thread, after runEnded().
  [[nodiscard]] bool showedReport() const { return m_showedReport; }
  [[nodiscard]] platform::LocalDateTime now() override;

 private:
  // Runs `f` on this object's thread and returns its result; `cancelled` when abandoned.
  template <class F>
  std::invoke_result_t<F> onUiThread(F f, std::invoke_result_t<F> cancelled);
  template <class F>
  void onUiThread(F f);
  // From the worker: runs `call` on this object's thread through a blocking queued call of
  // runPendingCall, and returns once it has run, or without running it when the call is
  // dropped because this object is going away.
  void callOnUiThread(const std::function<void()>& call);
  // The call by name, so that nothing of ours is made on the worker's thread for Qt to
  // destroy on the other: all that crosses is m_pendingCall, around which the order Qt keeps
  // is declared to the thread sanitizer (app/happens_before.h).
  Q_INVOKABLE void runPendingCall();

  // Tells one version of a file from another: its size and modification time. The composer
  // writes each report as a new file, so a report composed later differs from one saved.
  struct FileVersion {
    qint64 size = -1;
    qint64 modified = -1;
    friend bool operator==(const FileVersion&, const FileVersion&) = default;
  };
  static FileVersion versionOf(const QString& path);

  RunWindow* m_window;
  platform::FileSystem* m_fs;
  const platform::LocaleFormat* m_locale;
  ProgressRelay m_progress;
  std::atomic<bool> m_abandoned{false};
  // Set by the worker while it waits in callOnUiThread; the worker is the only caller.
  const std::function<void()>* m_pendingCall = nullptr;
  // The run's own state, touched by the thread that runs it, and read on the window's in
  // runEnded (which the run waits for): the composed report taken last and its version,
  // whether it has been saved since; the report saved last, what the view reads it from,
  // and the version of the composed report it was written from.
  QString m_composed;
  FileVersion m_composedVersion;
  bool m_composedSaved = false;
  bool m_lastWriteRich = true;
  QString m_savedReport;
  QString m_savedSource;
  FileVersion m_savedSourceVersion;
  // User-interface thread: whether the run that ended last put its report in the view, and
  // the drives its selection lists greyed out.
  bool m_showedReport = false;
  std::set<std::string> m_unavailable;
};

template <class F>
std::invoke_result_t<F> WindowRunUserInterface::onUiThread(F f, std::invoke_result_t<F> cancelled) {
  if (QThread::currentThread() == thread()) return m_abandoned ? cancelled : f();
  std::optional<std::invoke_result_t<F>> result;
  callOnUiThread([&] { result = m_abandoned ? cancelled : f(); });
  return result ? std::move(*result) : cancelled;
}

template <class F>
void WindowRunUserInterface::onUiThread(F f) {
  if (QThread::currentThread() == thread()) {
    if (!m_abandoned) f();
    return;
  }
  callOnUiThread([&] {
    if (!m_abandoned) f();
  });
}

}  // namespace app
