// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/report_commands.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

#include "app/main_window.h"
#include "app/report_view.h"
#include "dialogs/dialog_support.h"
#include "dialogs/print/printer_settings_dialog.h"
#include "engine/settings_record.h"
#include "platform/file_system.h"
#include "reports/report_printer.h"

namespace app {
namespace {

// HideNameFilterDetails shows the text before the last pattern list, so the first caption
// keeps its own "(rtf/txt)".
constexpr char kReportsFilter[] =
    QT_TRANSLATE_NOOP("app::ReportCommands", "Reports (rtf/txt) (*.rtf *.txt)");
constexpr char kAllFilesFilter[] = QT_TRANSLATE_NOOP("app::ReportCommands", "All Files (*)");

QString Tr(const char* text) { return QCoreApplication::translate("app::ReportCommands", text); }

// The wait cursor while a print blocks the window; gone on every way out.
class WaitCursor {
 public:
  WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~WaitCursor() { QApplication::restoreOverrideCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace

ReportCommands::ReportCommands(MainWindow& window, const reports::PrinterList& printers,
                               const platform::LocaleFormat& locale)
    : m_window(window), m_printers(printers), m_locale(locale), m_printer(printers) {}

void ReportCommands::addTo(MainWindowCommands* commands) {
  commands->openReport = [this] { open(); };
  commands->printReport = [this] { print(); };
  commands->printingOptions = [this] { printingOptions(); };
}

void ReportCommands::open() {
  // Opening replaces the view's document, so the user's edits get the same question as
  // on closing.
  if (!m_window.maybeSave()) return;

  QFileDialog dialog(&m_window,
                     Tr(QT_TRANSLATE_NOOP("app::ReportCommands", "Select Report to Open")),
                     m_window.reportsPath());
  dialog.setObjectName(QStringLiteral("dlgOpen"));
  dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::HideNameFilterDetails);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setNameFilters({Tr(kReportsFilter), Tr(kAllFilesFilter)});
  dialog.selectNameFilter(Tr(kReportsFilter));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  const QString path = dialog.selectedFiles().constFirst();
  if (path.isEmpty()) return;

  // The file may have gone or changed since the dialog listed it: a failed load keeps the
  // document, its current file and ReportChanged.
  auto opened = m_window.openReport(path);
  if (!opened.isOk()) {
    dialogs::ShowWarning(&m_window, Tr(QT_TRANSLATE_NOOP("app::ReportCommands",
                                                         "The report could not be opened.\n%1"))
                                        .arg(QString::fromStdString(opened.status().message())));
    return;
  }
  if (opened.value() == reports::ReportFileKind::kNotText) {
    dialogs::ShowWarning(
        &m_window, Tr(QT_TRANSLATE_NOOP("app::ReportCommands",
                                        "%1 is not a report or a text file; it was not opened."))
                       .arg(QDir::toNativeSeparators(path)));
    return;
  }
  // Replacing the document's content has laid it out afresh; the view shows its top.
  m_window.reportView()->viewport()->update();
  m_window.clearReportChanged();
  m_window.enableReportCommands();
}

void ReportCommands::print() {
  if (m_window.loading()) return;  // a report read in part is no report to print
  reports::PrintRequest request;
  request.fileSystem = &m_window.fileSystem();
  request.view = m_window.reportView()->document();
  request.currentFile = m_window.currentFile();
  request.programFolder = m_window.programFolder();
  request.reportsFolder = m_window.reportsPath();
  reports::PrintResult result;
  {
    // The PDF file printer writes into the Reports folder as runs write into it, never
    // through another user's link in its place.
    std::unique_ptr<platform::GuardedFolder> reportsFolder;
    if (m_printer.current().isPdfFile) {
      auto opened = m_window.openReportsFolder();
      if (!opened.isOk()) {
        dialogs::ShowWarning(&m_window,
                             QCoreApplication::translate("reports::Printing", "Cannot print: %1")
                                 .arg(QString::fromStdString(opened.status().message())));
        return;
      }
      reportsFolder = std::move(opened).value();
    }
    const WaitCursor wait;
    // A margin never set prints at its default rather than at the paper's edge; the stored
    // record stays as it is until the printer settings dialog is confirmed.
    engine::SettingsRecord settings = m_window.settings();
    settings.TopMargin = settings.effectiveTopMargin();
    settings.LeftMargin = settings.effectiveLeftMargin();
    result = reports::PrintReport(request, settings, m_locale, &m_printer);
  }

  switch (result.outcome) {
    case reports::PrintResult::Outcome::kNothingToPrint:
    case reports::PrintResult::Outcome::kFailed:
      dialogs::ShowWarning(&m_window, result.message);
      return;
    case reports::PrintResult::Outcome::kPrinted:
      break;
  }
  // The file printer has no queue to look at: the status bar tells the user where the
  // print is.
  if (!result.pdfPath.isEmpty())
    m_window.showStatus(
        Tr(QT_TRANSLATE_NOOP("app::ReportCommands", "Printed to %1")).arg(result.pdfPath));
}

void ReportCommands::printingOptions(QWidget* parent) {
  dialogs::PrinterSettingsDialog dialog(
      m_printers, &m_printer, &m_window.settings(), [this] { return m_window.saveOptions(); },
      [this] { return m_window.resetOptions(); }, parent != nullptr ? parent : &m_window);
  dialog.exec();
}

}  // namespace app
