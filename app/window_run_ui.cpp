// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/window_run_ui.h"

#include <ctime>

#include <QFile>
#include <QFileInfo>
#include <QMessageBox>

#include "app/happens_before.h"
#include "app/run_texts.h"
#include "app/run_window.h"
#include "dialogs/dialog_support.h"
#include "dialogs/drive_selection_dialog.h"
#include "dialogs/multi_report_dialog.h"
#include "platform/file_system.h"
#include "platform/locale_format.h"
#include "platform/qt/native_path.h"
#include "reports/report_text.h"

namespace app {
WindowRunUserInterface::WindowRunUserInterface(RunWindow* window, platform::FileSystem* fs,
                                               const platform::LocaleFormat* locale,
                                               QObject* parent)
    : QObject(parent),
      m_window(window),
      m_fs(fs),
      m_locale(locale),
      m_progress([window](const ProgressDisplay& display) { window->showProgress(display); }) {}

WindowRunUserInterface::~WindowRunUserInterface() = default;

void WindowRunUserInterface::callOnUiThread(const std::function<void()>& call) {
  m_pendingCall = &call;
  HappensBefore(&m_pendingCall);
  QMetaObject::invokeMethod(this, "runPendingCall", Qt::BlockingQueuedConnection);
  HappensAfter(&m_pendingCall);
  m_pendingCall = nullptr;
}

void WindowRunUserInterface::runPendingCall() {
  HappensAfter(&m_pendingCall);
  (*m_pendingCall)();
  HappensBefore(&m_pendingCall);
}

void WindowRunUserInterface::abandon() {
  m_abandoned = true;
  m_progress.stop();
}

bool WindowRunUserInterface::selectDrives(const std::vector<std::string>& rows,
                                          std::vector<bool>* marks,
                                          engine::SettingsRecord* settings) {
  std::vector<bool> available;
  for (const std::string& row : rows) available.push_back(!m_unavailable.contains(row));
  return onUiThread(
      [&] {
        const bool accepted = dialogs::SelectDrives(
            m_window->dialogParent(), rows, marks, settings,
            [this](const engine::SettingsRecord&) { return m_window->saveOptions(); }, available);
        if (!accepted) cancel();
        return accepted;
      },
      false);
}

bool WindowRunUserInterface::retryWithoutDrives() {
  return onUiThread(
      [&] {
        return dialogs::Ask(m_window->dialogParent(), QString::fromLatin1(dialogs::kProgramTitle),
                            tr("Abort?: No Drive(s) Selected"),
                            QMessageBox::Retry | QMessageBox::Cancel) == QMessageBox::Retry;
      },
      false);
}

bool WindowRunUserInterface::askYesNo(std::string_view title, std::string_view text) {
  return onUiThread(
      [&] {
        return dialogs::Ask(m_window->dialogParent(), TranslateRunText(title),
                            TranslateRunText(text),
                            QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
      },
      false);
}

bool WindowRunUserInterface::askOneReport(engine::SettingsRecord* settings) {
  return onUiThread(
      [&] {
        return dialogs::AskOneReport(
            m_window->dialogParent(), settings,
            [this](const engine::SettingsRecord&) { return m_window->saveOptions(); });
      },
      false);
}

void WindowRunUserInterface::showMessage(std::string_view text) {
  onUiThread([&] {
    m_progress.flush();
    dialogs::ShowMessage(m_window->dialogParent(), TranslateRunText(text));
  });
}

void WindowRunUserInterface::runStarted() {
  m_composed.clear();
  m_composedVersion = {};
  m_composedSaved = false;
  m_lastWriteRich = true;
  m_savedReport.clear();
  m_savedSource.clear();
  onUiThread([&] {
    m_window->enterRunMode();
    m_progress.start();
  });
}

void WindowRunUserInterface::runEnded() {
  onUiThread([&] {
    m_progress.stop();
    m_window->hideProgress();
    const bool cancelled = cancelPressed();
    // A report composed but not saved: its save failed, so the view shows the changes under
    // the work file's name; after a cancel the view keeps what it had.
    m_showedReport = false;
    if (!m_composed.isEmpty() && !m_composedSaved && !cancelled) {
      m_showedReport = m_window->showRunReport(m_composed, m_composed);
    } else if (!m_savedReport.isEmpty()) {
      const bool sourceKept =
          m_savedSource == m_savedReport || versionOf(m_savedSource) == m_savedSourceVersion;
      m_showedReport =
          m_window->showRunReport(sourceKept ? m_savedSource : m_savedReport, m_savedReport);
    }
    m_window->leaveRunMode();
  });
}

void WindowRunUserInterface::play(Cue cue) {
  onUiThread([&] {
    m_progress.flush();
    (void)m_window->play(cue == Cue::kStart ? QStringLiteral("start") : QStringLiteral("done"));
  });
}

WindowRunUserInterface::FileVersion WindowRunUserInterface::versionOf(const QString& path) {
  const QFileInfo info(path);
  if (!info.exists()) return {};
  return {info.size(), info.lastModified().toMSecsSinceEpoch()};
}

base::Status WindowRunUserInterface::loadReport(const std::string& path) {
  const QString file = platform::FromNativeBytes(path);
  const FileVersion version = versionOf(file);
  // With a report for each drive, the run ends by taking the last drive's report once
  // more; the view is to show it under its own name.
  if (m_composedSaved && file == m_composed && version == m_composedVersion) {
    return base::Status::ok();
  }
  auto opened = m_fs->openForReading(path);
  if (!opened.isOk()) return opened.status();
  m_composed = file;
  m_composedVersion = version;
  m_composedSaved = false;
  return base::Status::ok();
}

base::Status WindowRunUserInterface::writeReport(platform::ReplacementFile* report, bool richText) {
  if (m_composed.isEmpty()) return base::Status::invalidArgument("no report was composed");
  m_lastWriteRich = richText;
  const std::string composed = platform::NativeBytes(m_composed);
  return richText ? platform::AppendWholeFile(*m_fs, composed, report)
                  : reports::AppendReportFileAsPlainText(*m_fs, composed, report);
}

void WindowRunUserInterface::reportSaved(const std::string& path) {
  m_savedReport = platform::FromNativeBytes(path);
  // Rich text is the composer's bytes: the view reads the report file itself.
  m_savedSource = m_lastWriteRich ? m_savedReport : m_composed;
  m_savedSourceVersion = m_composedVersion;
  m_composedSaved = true;
}

void WindowRunUserInterface::switchOffInfoOnly() {
  onUiThread([&] { m_window->clearInfoOnly(); });
}

platform::LocalDateTime WindowRunUserInterface::now() {
  return m_locale->toLocal(std::time(nullptr));
}

}  // namespace app
