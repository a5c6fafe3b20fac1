// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// frmFolderDrives: the folders watched as drives of their own, added and removed in the
// window instead of by editing drives.txt.
#pragma once

#include <string>

#include <QDialog>

QT_BEGIN_NAMESPACE
class QPushButton;
class QTreeWidget;
QT_END_NAMESPACE

namespace platform {
class FileSystem;
class Volumes;
}  // namespace platform

namespace dialogs {

// Lists the watched folders of drives.txt: the letter, the folder and whether it is there
// now. Each change is written at once, so closing asks nothing.
//
// Add ("&Add Folder...") asks for a folder and watches it under the lowest free letter
// (platform::AddWatchedFolder). Remove ("&Remove...") asks "Stop watching FOLDER as drive
// X? Its profile is kept, and the letter stays reserved for it." with Remove, "Remove and
// Delete Its Profile" and Cancel; the second deletes the profile after a question of its
// own, which frees the letter. A drive without a profile is asked about without that
// choice. drives.txt is re-read and rewritten under the program folder's run lock; a busy
// lock, a folder that cannot be watched (a line break in its name, a folder that has a
// letter already) or a failed write is shown in one message and changes nothing.
//
// Help context 14.
class FolderDrivesDialog final : public QDialog {
  Q_OBJECT

 public:
  // `fs` and `volumes` must outlive the dialog; `programFolder` ends in the separator and
  // holds drives.txt; `volumes` lists the drives from it.
  FolderDrivesDialog(platform::FileSystem& fs, std::string programFolder,
                     platform::Volumes& volumes, QWidget* parent = nullptr);

 private slots:
  void addFolder();
  void removeSelectedFolder();

 private:
  void createControls();
  // Fills the list from the drives as they are now; selects the row of `letter`, if any.
  void loadList(char letter = 0);
  // Removes the selected row's drive; with `deleteProfile` its profile too.
  void removeDrive(char letter, const std::string& folder, bool deleteProfile);

  platform::FileSystem& m_fs;
  std::string m_programFolder;
  platform::Volumes& m_volumes;

  QTreeWidget* lstFolderDrives = nullptr;
  QPushButton* butAdd = nullptr;
  QPushButton* butRemove = nullptr;
  QPushButton* butDone = nullptr;
};

// Shows frmFolderDrives modally over `parent` and waits until it closes. Arguments as for
// the constructor.
void editFolderDrives(QWidget* parent, platform::FileSystem& fs, const std::string& programFolder,
                      platform::Volumes& volumes);

}  // namespace dialogs
