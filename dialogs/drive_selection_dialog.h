// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// frmDriveSel, the first page of a run: the user marks the drives to scan and may change
// the report format and naming on the same page.
#pragma once

#include <string>
#include <vector>

#include <QDialog>

#include "dialogs/dialog_support.h"
#include "dialogs/report_options.h"
#include "engine/settings_record.h"

QT_BEGIN_NAMESPACE
class QPushButton;
QT_END_NAMESPACE

namespace dialogs {

class MarkList;

// Edits: which drives are marked (held by the dialog) and the ReportFormat and ReportNaming
// fields of the settings record.
// Writes: each report option the moment it is chosen, through the saveOptions callback,
// whatever becomes of the run afterwards. Nothing else.
// OK ("Continue With Search") hides the dialog with the result Accepted and the marks stay
// readable until the dialog is destroyed. Cancel ("No Drive Be Selected / Cancel Search"),
// the close box and Esc end it with Rejected, which cancels the run; option changes
// already made stay stored. The dialog never checks the marks: none marked is accepted.
class DriveSelectionDialog final : public QDialog {
  Q_OBJECT

 public:
  // `rows` are the drives' display texts ("c: [/]") in the order of the main window's
  // drive list; the dialog starts with no row marked. A row whose flag in `available` is
  // false (a volume not mounted, a watched folder that is missing) is listed greyed out,
  // its text followed by "  (not available)", and cannot be marked; rows past the last
  // flag are available. `settings` must outlive the dialog.
  DriveSelectionDialog(const std::vector<std::string>& rows, engine::SettingsRecord* settings,
                       SaveOptionsFn saveOptions, QWidget* parent = nullptr,
                       const std::vector<bool>& available = {});

  // One flag per row, true for a marked row.
  [[nodiscard]] std::vector<bool> marks() const;
  // Marks the rows whose flag is true and unmarks the others; flags past the last row are
  // ignored and rows past the last flag are unmarked. For showing the page again in the
  // same run with the user's earlier marks.
  void setMarks(const std::vector<bool>& marks);
  [[nodiscard]] int markedCount() const;

 protected:
  // maybeSave: a close by the close box or the window menu cancels the run.
  void closeEvent(QCloseEvent* event) override;

 private:
  void createControls();
  void load(const std::vector<std::string>& rows, const std::vector<bool>& available);

  engine::SettingsRecord* m_settings;
  SaveOptionsFn m_saveOptions;
  // Controls keep the names the program has always given them.
  MarkList* lstDrives = nullptr;
  QPushButton* OkSelBut = nullptr;
  QPushButton* CxlSelBut = nullptr;
  ReportOptions* m_options = nullptr;  // Frame1, Frame2 and their option buttons
};

// Shows frmDriveSel modally over `parent` on the user-interface thread, with the rows
// marked as `*marks` says (one flag per row; shorter means unmarked), and waits for it.
// Returns true when the user accepted; `*marks` then holds one flag per row. Returns false
// when the user cancelled; `*marks` is left as it was. `settings` may change as described
// for DriveSelectionDialog; `available` as there. REQUIRES: marks != nullptr, settings !=
// nullptr.
[[nodiscard]] bool SelectDrives(QWidget* parent, const std::vector<std::string>& rows,
                                std::vector<bool>* marks, engine::SettingsRecord* settings,
                                const SaveOptionsFn& saveOptions,
                                const std::vector<bool>& available = {});

}  // namespace dialogs
