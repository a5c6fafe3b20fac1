// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The main window as the run conductor's user interface: the drive selection and the run's
// questions as modal dialogs, progress in the window's label and bar, cancel mode, cues and
// the report view, for a conductor that runs on a worker thread.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <type_traits>

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QThread>

#include "app/progress_relay.h"
#include "engine/run_user_interface.h"

QT_BEGIN_NAMESPACE
class QTextDocument;
QT_END_NAMESPACE

namespace platform {
class LocaleFormat;
}  // namespace platform

namespace app {

class MainWindow;

// Lives on the user-interface thread with the window. Every method may be called from the
// run's worker thread: those that touch the window run on the user-interface thread through
// a blocking queued call, so the worker waits for the user's answer while the window's event
// loop goes on; progress() and now() answer on the calling thread. Called on the
// user-interface thread itself (as tests may), everything runs directly.
class WindowRunUserInterface final : public QObject, public engine::RunUserInterface {
  Q_OBJECT

 public:
  // `window` and `locale` must outlive this object.
  WindowRunUserInterface(MainWindow* window, const platform::LocaleFormat* locale,
                         QObject* parent = nullptr);
  ~WindowRunUserInterface() override;

  // From now on nothing is shown and every question is answered as if cancelled: for a
  // program that ends while a worker is still winding down. User-interface thread.
  void abandon();
  // The drives, by display text, that the next run's drive selection lists greyed out as
  // not available. Set before the run starts, on the user-interface thread.
  void setUnavailableDrives(std::set<std::string> displayTexts) {
    m_unavailable = std::move(displayTexts);
  }

  // engine::RunUserInterface
  // frmDriveSel over the window; Cancel or its close box clear the window's Continue.
  // The unavailable drives are listed but cannot be marked.
  [[nodiscard]] bool selectDrives(const std::vector<std::string>& rows, std::vector<bool>* marks,
                                  engine::SettingsRecord* settings) override;
  [[nodiscard]] bool retryWithoutDrives() override;
  [[nodiscard]] bool askYesNo(std::string_view title, std::string_view text) override;
  // frmMulti; its answer is also the window's blnMultiReport.
  [[nodiscard]] bool askOneReport(engine::SettingsRecord* settings) override;
  void showMessage(std::string_view text) override;
  // Cancel mode, the busy pointer, the report view making room for the progress display.
  void runStarted() override;
  // The report view back in place of the progress display, the commands back, Save, Save
  // As and Print enabled, the normal pointer.
  void runEnded() override;
  void play(Cue cue) override;
  [[nodiscard]] platform::Progress& progress() override { return m_progress; }
  // Reads the report into a document on the calling thread. The view, hidden while the
  // drive loop runs, shows when the run ends the last document saved as a report, under
  // that report's name; a document read last and not saved is shown only when the run was
  // not cancelled (its report could not be saved: the view shows the changes all the
  // same, under the work file's name). A cancelled run's unsaved report is not shown. On
  // failure the view keeps what it had. A composed report that is, byte for byte, the one
  // read last and that this run has saved under its report name is not read again.
  [[nodiscard]] engine::Status loadReport(const std::string& path) override;
  // Writes the report last read, on the calling thread: the bytes saving the view would
  // give, as the view cannot change while the drive loop runs.
  [[nodiscard]] engine::Status writeReport(platform::ReplacementFile* report,
                                           bool richText) override;
  void reportSaved(const std::string& path) override;
  void switchOffInfoOnly() override;
  // True when the run that ended last put a report of its own in the view.
  // User-interface thread, after runEnded().
  [[nodiscard]] bool showedReport() const { return m_showedReport; }
  [[nodiscard]] platform::LocalDateTime now() override;

 private:
  // Runs `f` on this object's thread and returns its result; `cancelled` when abandoned.
  template <class F>
  std::invoke_result_t<F> OnUiThread(F f, std::invoke_result_t<F> cancelled);
  template <class F>
  void OnUiThread(F f);
  // From the worker: runs `call` on this object's thread through a blocking queued call of
  // RunPendingCall, and returns once it has run, or without running it when the call is
  // dropped because this object is going away.
  void CallOnUiThread(const std::function<void()>& call);
  // The call by name, so that nothing of ours is made on the worker's thread for Qt to
  // destroy on the other: all that crosses is m_pendingCall, around which the order Qt keeps
  // is declared to the thread sanitizer (app/happens_before.h).
  Q_INVOKABLE void RunPendingCall();

  MainWindow* m_window;
  const platform::LocaleFormat* m_locale;
  ProgressRelay m_progress;
  std::atomic<bool> m_abandoned{false};
  // Set by the worker while it waits in CallOnUiThread; the worker is the only caller.
  const std::function<void()>* m_pendingCall = nullptr;
  // The run's own state, touched only by the thread that runs it: the file the view was
  // last loaded from, the digest of that file when it is the composed report, and whether
  // the run has saved it since.
  QString m_loadedFile;
  QByteArray m_shownComposed;
  bool m_shownComposedSaved = false;
  // User-interface thread: the document read last and not yet saved, with the file it was
  // read from; and the document of the report saved last, with that report's name.
  std::unique_ptr<QTextDocument> m_readDocument;
  QString m_readFile;
  std::unique_ptr<QTextDocument> m_viewDocument;
  QString m_viewFile;
  bool m_showedReport = false;
  std::set<std::string> m_unavailable;
};

template <class F>
std::invoke_result_t<F> WindowRunUserInterface::OnUiThread(F f, std::invoke_result_t<F> cancelled) {
  if (QThread::currentThread() == thread()) return m_abandoned ? cancelled : f();
  std::optional<std::invoke_result_t<F>> result;
  CallOnUiThread([&] { result = m_abandoned ? cancelled : f(); });
  return result ? std::move(*result) : cancelled;
}

template <class F>
void WindowRunUserInterface::OnUiThread(F f) {
  if (QThread::currentThread() == thread()) {
    if (!m_abandoned) f();
    return;
  }
  CallOnUiThread([&] {
    if (!m_abandoned) f();
  });
}

}  // namespace app
