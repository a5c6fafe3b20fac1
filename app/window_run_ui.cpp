// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/window_run_ui.h"

#include <ctime>

#include <QCryptographicHash>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QTextEdit>

#include "app/main_window.h"
#include "dialogs/dialog_support.h"
#include "dialogs/drive_selection_dialog.h"
#include "dialogs/multi_report_dialog.h"
#include "platform/locale_format.h"

namespace app {
namespace {

// The run writes its texts with CR LF line ends, as its reports do; a message box breaks
// lines at LF.
QString DisplayText(std::string_view text) {
  QString shown = QString::fromUtf8(text.data(), qsizetype(text.size()));
  shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  return shown;
}

QString Native(const std::string& path) { return QFile::decodeName(path.c_str()); }

}  // namespace

WindowRunUserInterface::WindowRunUserInterface(MainWindow* window,
                                               const platform::LocaleFormat* locale,
                                               QObject* parent)
    : QObject(parent),
      m_window(window),
      m_locale(locale),
      m_progress(window->progressLabel(), window->progressBar(), &window->Continue) {}

WindowRunUserInterface::~WindowRunUserInterface() = default;

void WindowRunUserInterface::abandon() {
  m_abandoned = true;
  m_progress.stop();
}

bool WindowRunUserInterface::selectDrives(const std::vector<std::string>& rows,
                                          std::vector<bool>* marks,
                                          engine::SettingsRecord* settings) {
  return OnUiThread(
      [&] {
        const bool accepted = dialogs::SelectDrives(
            m_window, rows, marks, settings,
            [this](const engine::SettingsRecord&) { return m_window->SaveOptions(); });
        if (!accepted) m_window->Continue = false;
        return accepted;
      },
      false);
}

bool WindowRunUserInterface::retryWithoutDrives() {
  return OnUiThread(
      [&] {
        QMessageBox box(QMessageBox::Question, QString::fromLatin1(dialogs::kProgramTitle),
                        QStringLiteral("Abort?: No Drive(s) Selected"),
                        QMessageBox::Retry | QMessageBox::Cancel, m_window);
        return box.exec() == QMessageBox::Retry;
      },
      false);
}

bool WindowRunUserInterface::askYesNo(std::string_view title, std::string_view text) {
  return OnUiThread(
      [&] {
        QMessageBox box(QMessageBox::Question, DisplayText(title), DisplayText(text),
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
    dialogs::ShowMessage(m_window, DisplayText(text));
  });
}

void WindowRunUserInterface::runStarted() {
  OnUiThread([&] {
    m_shownComposed.clear();
    m_shownComposedSaved = false;
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
  return OnUiThread(
      [&] {
        const QString file = Native(path);
        QByteArray digest;
        if (file == m_window->composedReportPath()) {
          QFile composed(file);
          if (composed.open(QIODevice::ReadOnly)) {
            QCryptographicHash hash(QCryptographicHash::Sha256);
            hash.addData(&composed);
            digest = hash.result();
          }
          // With a report for each drive, the run ends by loading the last drive's report
          // once more; the view already shows it under its own name.
          if (!digest.isEmpty() && digest == m_shownComposed && m_shownComposedSaved) {
            return engine::Status::ok();
          }
        }
        engine::Status status = m_window->LoadReport(file);
        if (status.isOk()) {
          m_shownComposed = digest;
          m_shownComposedSaved = false;
        }
        return status;
      },
      engine::Status::cancelled());
}

engine::Status WindowRunUserInterface::saveReport(const std::string& path, bool richText) {
  return OnUiThread(
      [&] {
        engine::Status status =
            m_window->SaveRunReport(Native(path), richText ? reports::ReportFormat::kRichText
                                                           : reports::ReportFormat::kPlainText);
        if (status.isOk()) m_shownComposedSaved = true;
        return status;
      },
      engine::Status::cancelled());
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
