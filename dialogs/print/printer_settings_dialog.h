// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// frmSelPrint: the modal dialog in which the user picks the printer for reports, colour or
// black-and-white printing, and the top and left margins.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include <QDialog>

#include "base/status.h"
#include "reports/printers.h"

QT_BEGIN_NAMESPACE
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
QT_END_NAMESPACE

namespace engine {
struct SettingsRecord;
}  // namespace engine

namespace dialogs {

// Edits PrintColor, TopMargin and LeftMargin of the settings record in memory while it is
// open: a colour option at once, a margin when its box is left with a number greater than 0
// and less than 6 (inches, rounded to 4 decimal places; anything else is refused with a
// message and the box shows the kept value again). Margins are shown and read with a period
// as the decimal separator whatever the locale. A margin never set (0) shows as its default
// (0.5 at the top, 0.75 at the left); it stays 0 in the record until "&OK" stores what the
// boxes show.
//
// "&OK" makes the selected printer the current one (no row selected, or no printer at all:
// the current printer stays), calls `saveOptions` and closes. Closing otherwise (the close
// box, Escape) after a change asks "Save Printer Settings?": Yes does what OK does, No calls
// `resetOptions` to drop the edits and keeps the printer, Cancel keeps the dialog open.
// Closing without a change asks nothing. A failing save or reset is shown in a message; a
// failed reset still restores the three fields as they were when the dialog opened.
//
// Help context 9. Build it afresh for each showing; it is meant for exec().
class PrinterSettingsDialog : public QDialog {
  Q_OBJECT

 public:
  // Writes or re-reads the settings record; the window's saveOptions and resetOptions.
  using SettingsStep = std::function<base::Status()>;

  // `printers` is read once, here. `choice`, `settings` and the two steps must outlive the
  // dialog. REQUIRES: choice and settings are not null.
  PrinterSettingsDialog(const reports::PrinterList& printers, reports::PrinterChoice* choice,
                        engine::SettingsRecord* settings, SettingsStep saveOptions,
                        SettingsStep resetOptions, QWidget* parent = nullptr);

  // The close box and Escape come here; they close only as described above.
  void reject() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void createControls();
  void load();
  // True when the dialog may close.
  bool maybeSave();
  void confirm();
  void printerChosen();
  void colourChosen();
  void applyPrinterSettings();
  // A margin box got or lost the focus. LostFocus returns false when it refused the text.
  void marginFocused(QLineEdit* box);
  bool takeMargin(QLineEdit* box, std::int64_t* margin);
  // What a margin box shows for `margin` (TopMargin or LeftMargin of the record): the
  // default while the margin was never set.
  std::int64_t shownMargin(const std::int64_t* margin) const;
  // The selected row of lstPrnt; -1 when none is.
  int selectedRow() const;

  std::vector<reports::PrinterEntry> m_printers;
  reports::PrinterChoice* m_choice;
  engine::SettingsRecord* m_settings;
  SettingsStep m_saveOptions;
  SettingsStep m_resetOptions;
  // The fields this dialog edits as they were at opening, for a reset that fails.
  std::uint8_t m_openedPrintColor = 0;
  std::int64_t m_openedTopMargin = 0;
  std::int64_t m_openedLeftMargin = 0;
  bool blnChanged = false;

  QLabel* Label1 = nullptr;
  QListWidget* lstPrnt = nullptr;
  QLabel* Label3 = nullptr;
  QLabel* Label2 = nullptr;
  QRadioButton* optBW = nullptr;
  QRadioButton* optColor = nullptr;
  QLineEdit* txtTopMarg = nullptr;
  QLineEdit* txtLeftMarg = nullptr;
  QPushButton* cmdOK = nullptr;
};

}  // namespace dialogs
