// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// frmMulti: asked during a run when two or more marked drives will be compared, whether
// they all go into one report or each drive gets a report of its own.
#pragma once

#include <QDialog>

#include "dialogs/dialog_support.h"
#include "engine/settings_record.h"

QT_BEGIN_NAMESPACE
class QPushButton;
class QRadioButton;
QT_END_NAMESPACE

namespace dialogs {

// Edits: OneReport of the settings record (1 one large report, 0 a report for each drive)
// and the run's blnMultiReport, which always agree with the marked button.
// Writes: the settings record through the saveOptions callback when the user closes the
// dialog with "&OK", and only then.
// The close box and Esc close it without writing; the choice last clicked still holds for
// the run and stays in the record in memory. There is no way to cancel the run here.
class MultiReportDialog final : public QDialog {
  Q_OBJECT

 public:
  // Starts from `settings->OneReport`. `settings` must outlive the dialog.
  MultiReportDialog(engine::SettingsRecord* settings, SaveOptionsFn saveOptions,
                    QWidget* parent = nullptr);

  // True: one report for all drives of the run.
  [[nodiscard]] bool blnMultiReport() const { return m_multiReport; }

 private slots:
  void storeAndClose();
  void chooseOneReport();
  void chooseReportPerDrive();

 private:
  void createControls();
  void load();

  engine::SettingsRecord* m_settings;
  SaveOptionsFn m_saveOptions;
  bool m_multiReport = false;
  QRadioButton* optSingle = nullptr;
  QRadioButton* optMany = nullptr;
  QPushButton* Command1 = nullptr;
};

// Shows frmMulti modally over `parent` on the user-interface thread and waits for it.
// Returns blnMultiReport: true for one report of all drives. `*settings` and the settings
// file change as described for MultiReportDialog. REQUIRES: settings != nullptr.
[[nodiscard]] bool AskOneReport(QWidget* parent, engine::SettingsRecord* settings,
                                const SaveOptionsFn& saveOptions);

}  // namespace dialogs
