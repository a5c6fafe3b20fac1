// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// A folder chooser for one drive: the path from the drive's root down to the current
// folder, then the current folder's sub-folders. Lists folders through the file system
// interface, so tests can hand it any tree.
#pragma once

#include <string>

#include <QTreeWidget>

#include "base/status.h"

namespace platform {
class FileSystem;
}  // namespace platform

namespace dialogs {

// A double click on a row (or Enter on the highlighted row) opens that folder and makes it
// the current folder; a single click only highlights a row. Sub-folders are those a scan would
// walk: mount points of other drives are left out, and hidden ones unless setShowHidden(true).
// Rows are sorted by name, letter case folded, and each row's folder path (bytes) is its
// Qt::UserRole data.
class FolderChooser final : public QTreeWidget {
  Q_OBJECT

 public:
  // `fs` must outlive the chooser. The chooser starts empty, with no current folder.
  explicit FolderChooser(platform::FileSystem& fs, QWidget* parent = nullptr);

  // Makes the root folder `root` of a drive (ending in the separator) the current folder.
  // When it cannot be listed, returns the failure and the chooser stays as it was.
  [[nodiscard]] base::Status setDrive(const std::string& root);

  // Makes `folder` (ending in the separator, on the current drive) the current folder, as
  // a double click does. When it cannot be listed, returns the failure and the chooser
  // stays as it was.
  [[nodiscard]] base::Status openFolder(const std::string& folder);

  // The current folder as a chooser spells it: a drive's root with its separator ("/",
  // "/home/", "C:\"), any folder below it without one ("/home/ann/Data"). Empty while no
  // drive is shown.
  [[nodiscard]] std::string path() const;

  // Whether hidden folders are listed, as runs that include hidden files walk them. Takes
  // effect when the next folder is shown.
  void setShowHidden(bool show) { m_showHidden = show; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  // No expand or collapse arrows: the rows are always all shown, and the indentation alone
  // shows the path.
  void drawBranches(QPainter*, const QRect&, const QModelIndex&) const override {}

 signals:
  // The current folder changed (a double click, or another drive).
  void pathChanged();

 private slots:
  // A double click: open the folder, or show why it cannot be opened.
  void openRow(QTreeWidgetItem* item);

 private:
  // Lists `folder` and shows it as the current folder below `root`.
  [[nodiscard]] base::Status showTree(const std::string& root, const std::string& folder);

  platform::FileSystem& m_fs;
  std::string m_root;     // the drive's root, ending in the separator
  std::string m_current;  // the current folder, ending in the separator
  bool m_showHidden = false;
};

}  // namespace dialogs
