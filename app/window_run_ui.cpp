// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/window_run_ui.h"

#include <ctime>

#include <QCryptographicHash>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QTextDocument>
#include <QTextEdit>

#include "app/happens_before.h"
#include "app/main_window.h"
#include "app/run_texts.h"
#include "dialogs/dialog_support.h"
#include "dialogs/drive_selection_dialog.h"
#include "dialogs/multi_report_dialog.h"
#include "platform/locale_format.h"
#include "reports/report_file.h"

namespace app {
namespace {

QString Native(const std::string& path) { return QFile::decodeName(path.c_str()); }

// A digest of the file's bytes; empty when it cannot be read.
QByteArray Digest(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  QCryptographicHash hash(QCryptographicHash::Sha256);
  return hash.addData(&file) ? hash.result() : QByteArray();
}

}  // namespace

WindowRunUserInterface::WindowRunUserInterface(MainWindow* window,
                                               const platform::LocaleFormat* locale,
                                               QObject* parent)
    : QObject(parent),
      m_window(window),
      m_locale(locale),
      m_progress(window->progressLabel(), window->progressBar(), &window->Continue) {}

WindowRunUserInterface::~WindowRunUserInterface() = default;

void WindowRunUserInterface::CallOnUiThread(const std::function<void()>& call) {
  m_pendingCall = &call;
  HappensBefore(&m_pendingCall);
  QMetaObject::invokeMethod(this, "RunPendingCall", Qt::BlockingQueuedConnection);
  HappensAfter(&m_pendingCall);
  m_pendingCall = nullptr;
}

void WindowRunUserInterface::RunPendingCall() {
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
  return OnUiThread(
      [&] {
        const bool accepted = dialogs::SelectDrives(
            m_window, rows, marks, settings,
            [this](const engine::SettingsRecord&) { return m_window->SaveOptions(); }, available);
        if (!accepted) m_window->Continue = false;
        return accepted;
      },
      false);
}

bool WindowRunUserInterface::retryWithoutDrives() {
  return OnUiThread(
      [&] {
        QMessageBox box(QMessageBox::Question, QString::fromLatin1(dialogs::kProgramTitle),
                        tr("Abort?: No Drive(s) Selected"),
                        QMessageBox::Retry | QMessageBox::Cancel, m_window);
        return box.exec() == QMessageBox::Retry;
      },
      false);
}

bool WindowRunUserInterface::askYesNo(std::string_view title, std::string_view text) {
  return OnUiThread(
      [&] {
        QMessageBox box(QMessageBox::Question, TranslateRunText(title), TranslateRunText(text),
                        QMessageBox::Yes | QMessageBox::No, m_window);
        return box.exec() == QMessageBox::Yes;
      },
      false);
}

bool WindowRunUserInterface::askOneReport(engine::SettingsRecord* settings) {
  return OnUiThread(
      [&] {
        m_window->blnMultiReport = dialogs::AskOneReport(
            m_window, settings,
            [this](const engine::SettingsRecord&) { return m_window->SaveOptions(); });
        return m_window->blnMultiReport;
      },
      false);
}

void WindowRunUserInterface::showMessage(std::string_view text) {
  OnUiThread([&] {
    m_progress.flush();
    dialogs::ShowMessage(m_window, TranslateRunText(text));
  });
}

void WindowRunUserInterface::runStarted() {
  m_loadedFile.clear();
  m_shownComposed.clear();
  m_shownComposedSaved = false;
  OnUiThread([&] {
    m_readDocument.reset();
    m_viewDocument.reset();
    m_window->EnterCancelMode();
    m_window->setCursor(Qt::BusyCursor);
    m_window->reportView()->hide();
    m_progress.start();
  });
}

void WindowRunUserInterface::runEnded() {
  OnUiThread([&] {
    m_progress.stop();
    m_window->progressLabel()->hide();
    m_window->progressBar()->hide();
    const bool cancelPressed = !m_window->Continue;
    // A report read but not saved: its save failed, so the view shows the changes under the
    // work file's name; after a cancel the view is not reloaded.
    if (m_readDocument != nullptr && !cancelPressed) {
      m_viewDocument = std::move(m_readDocument);
      m_viewFile = m_readFile;
    }
    m_readDocument.reset();
    m_showedReport = m_viewDocument != nullptr;
    if (m_viewDocument != nullptr) m_window->AdoptReport(std::move(m_viewDocument), m_viewFile);
    m_window->reportView()->show();
    m_window->LeaveCancelMode();
    m_window->EnableReportCommands();
    m_window->unsetCursor();
  });
}

void WindowRunUserInterface::play(Cue cue) {
  OnUiThread([&] {
    m_progress.flush();
    (void)m_window->Play(cue == Cue::kStart ? QStringLiteral("start") : QStringLiteral("done"));
  });
}

engine::Status WindowRunUserInterface::loadReport(const std::string& path) {
  const QString file = Native(path);
  // With a report for each drive, the run ends by loading the last drive's report once
  // more; the view already shows it under its own name.
  const QByteArray digest = file == m_window->composedReportPath() ? Digest(file) : QByteArray();
  if (!digest.isEmpty() && digest == m_shownComposed && m_shownComposedSaved) {
    return engine::Status::ok();
  }

  // A long report takes seconds to read into a document: that happens here, on the run's
  // thread. The view, hidden during the drive loop, takes the last document once it shows
  // again, so the window lays out one report a run, and none while the run scans.
  auto document = std::make_unique<QTextDocument>();
  document->setUndoRedoEnabled(false);
  if (engine::Status s = reports::LoadReportFile(file, document.get()); !s.isOk()) return s;
  document->setUndoRedoEnabled(true);
  document->moveToThread(thread());
  engine::Status status = OnUiThread(
      [&] {
        m_readDocument = std::move(document);
        m_readFile = file;
        return engine::Status::ok();
      },
      engine::Status::cancelled());
  if (document != nullptr) document.release()->deleteLater();  // not taken
  if (!status.isOk()) return status;
  m_loadedFile = file;
  m_shownComposed = digest;
  m_shownComposedSaved = false;
  return status;
}

engine::Status WindowRunUserInterface::writeReport(platform::ReplacementFile* report,
                                                   bool richText) {
  // What the view shows is the file it was loaded from: the run keeps the view hidden, so
  // nobody can have changed it. Written from that file here, off the window's thread, it
  // gives the bytes that saving the view would.
  if (m_loadedFile.isEmpty()) return engine::Status::invalidArgument("no report was loaded");
  auto bytes =
      reports::ReportFileBytesAs(m_loadedFile, richText ? reports::ReportFormat::kRichText
                                                        : reports::ReportFormat::kPlainText);
  if (!bytes.isOk()) return bytes.status();
  return report->append(
      std::string_view(bytes.value().constData(), static_cast<std::size_t>(bytes.value().size())));
}

void WindowRunUserInterface::reportSaved(const std::string& path) {
  const QString file = Native(path);
  OnUiThread([&] {
    // The document read last is the one just saved; with a report per drive, the last
    // drive's report is not read again at the end, so it may be the one already shown.
    if (m_readDocument != nullptr) m_viewDocument = std::move(m_readDocument);
    m_viewFile = file;
  });
  m_shownComposedSaved = true;
}

void WindowRunUserInterface::switchOffInfoOnly() {
  OnUiThread([&] {
    if (m_window->infoOnly()) m_window->mnuInfoOnly_Click();
  });
}

platform::LocalDateTime WindowRunUserInterface::now() {
  return m_locale->toLocal(std::time(nullptr));
}

}  // namespace app
