// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The main window's report commands: Open, Print and the printing options, with the
// program's current printer, which lasts as long as the program runs.
#pragma once

#include "reports/printers.h"

QT_BEGIN_NAMESPACE
class QWidget;
QT_END_NAMESPACE

namespace platform {
class LocaleFormat;
}  // namespace platform

namespace app {

class MainWindow;
struct MainWindowCommands;

// Make one for the program run, beside the window, and hand its commands to the window:
//   app::ReportCommands reportCommands(window, printers, locale);
//   reportCommands.addTo(&commands);
// All of it runs on the user-interface thread.
class ReportCommands {
 public:
  // `window`, `printers` and `locale` must outlive this object. The current printer starts
  // as reports::PrinterChoice chooses it from `printers`; `printers` is read again each time
  // the printer settings dialog opens, so a printer added meanwhile is offered.
  ReportCommands(MainWindow& window, const reports::PrinterList& printers,
                 const platform::LocaleFormat& locale);
  ReportCommands(const ReportCommands&) = delete;
  ReportCommands& operator=(const ReportCommands&) = delete;

  // Sets openReport, printReport and printingOptions of `commands` to the operations below.
  // The handlers refer to this object.
  void addTo(MainWindowCommands* commands);

  // The Open command. When the view holds changes, asks first whether to save them, as
  // closing does; Cancel (or a save that did not happen) stops here. Then "Select Report
  // to Open" in the Reports folder; a chosen file is loaded into the view (rich text by its
  // leading "{\rtf", anything else as plain text), becomes the view's current file, the
  // report commands are enabled and ReportChanged is false; a text that is no report of
  // this program is marked so that Save asks for a new name (MainWindow::openReport).
  // Cancelling changes nothing. A file that is not text is refused with "FILE is not a
  // report or a text file; it was not opened.", and one that cannot be read is named in
  // one message with the reason; either way the view keeps its document, current file and
  // ReportChanged.
  void open();

  // The Print command: the view as it stands, unsaved typing included, on the current
  // printer, in colour or black and white as the settings say. "There is Nothing to Print"
  // for an empty view; a failure in one message naming the file or printer. A print to the
  // PDF file printer says in the status bar which file it wrote ("Printed to FILE"). Neither
  // the view nor ReportChanged changes.
  void print();

  // The printer settings dialog frmSelPrint, modal over `parent` (the window itself when
  // null): the printers of the list, the window's settings record, its saveOptions and
  // resetOptions. Returns once it has closed.
  void printingOptions(QWidget* parent = nullptr);

  // The program's current printer and the font the last print left on it.
  [[nodiscard]] const reports::PrinterChoice& printerChoice() const { return m_printer; }

 private:
  MainWindow& m_window;
  const reports::PrinterList& m_printers;
  const platform::LocaleFormat& m_locale;
  reports::PrinterChoice m_printer;
};

}  // namespace app
