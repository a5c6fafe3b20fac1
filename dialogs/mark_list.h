// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// A list whose rows the user marks and unmarks, several at once: the drive list of a run.
#pragma once

#include <vector>

#include <QListWidget>

namespace dialogs {

// A click anywhere on a row, or Space on the current row, marks or unmarks it. A marked
// row shows a checked box and is highlighted. Assistive technology reads each row's text
// and whether it is checked; its toggle action (which selects) marks the row too. A row
// added as not markable is greyed out and never marked, by any of these.
class MarkList final : public QListWidget {
  Q_OBJECT

 public:
  explicit MarkList(QWidget* parent = nullptr);

  // Appends an unmarked row showing `text`; greyed out and never marked unless `markable`.
  void addRow(const QString& text, bool markable = true);

  // One flag per row, true for a marked row.
  [[nodiscard]] std::vector<bool> marks() const;
  // Marks the rows whose flag is true and unmarks the others; flags past the last row are
  // ignored and rows past the last flag are unmarked. Rows that are not markable stay
  // unmarked.
  void setMarks(const std::vector<bool>& marks);

 private:
  // The check boxes hold the marks; the selection follows them and they follow the
  // selection, whichever changed.
  void selectionToMarks();
  void markToSelection(QListWidgetItem* item);

  bool m_syncing = false;
};

}  // namespace dialogs
