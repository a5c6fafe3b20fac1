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

  // engine::RunUserInterface
  // frmDriveSel over the window; Cancel or its close box clear the window's Continue.
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
  // drive loop runs, shows the last document read when the run ends, with the file it was
  // read from or last saved to as its current file. On failure the view keeps what it had.
  // A composed report that is, byte for byte, the one read last and that this run has saved
  // under its report name is not read again: the view keeps the report file as its current
  // file, so that the user's Save goes to that report rather than to the work file.
  [[nodiscard]] engine::Status loadReport(const std::string& path) override;
  // Writes the report last read, on the calling thread: the bytes saving the view would
  // give, as the view cannot change while the drive loop runs. What the user typed before
  // the run still counts as unsaved for the closing question.
  [[nodiscard]] engine::Status saveReport(const std::string& path, bool richText) override;
  void switchOffInfoOnly() override;
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
  // What the view shows when the drive loop ends: the document and its current file.
  // User-interface thread.
  std::unique_ptr<QTextDocument> m_viewDocument;
  QString m_viewFile;
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
