// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// frmIgnore, the editor of the Ignore list: the folders a scan passes over.
#pragma once

#include <string>
#include <vector>

#include <QDialog>

#include "platform/volumes.h"

QT_BEGIN_NAMESPACE
class QCheckBox;
class QComboBox;
class QFrame;
class QLineEdit;
class QListWidget;
class QPushButton;
class QStackedWidget;
QT_END_NAMESPACE

namespace platform {
class FileSystem;
}  // namespace platform

namespace dialogs {

class FolderChooser;

// Edits: the Ignore list, read from ignore.txt in the program folder each time the dialog
// is built; its rows show the entries exactly as stored, in the file's order, and a new
// entry goes to the end. With "Also Ignore Its Sub-Folders" checked in the folder picker
// (unchecked each time the picker opens), the new entry leaves out the folder's whole tree:
// its path followed by "**". The picker lists hidden folders when runs include them
// ([scan] hidden of brinvale.conf in the program folder).
// Writes: the whole list, once, when the user clicks Done (the picture button "Ok") or
// answers Yes to "Save Changes you Just Made?"; through a temporary file and a rename, so a
// failed write leaves the earlier file as it was. A failed write is shown in one message
// and the dialog stays open with its list.
// Discard Changes re-reads the file. Closing by the close box (or Esc, or close() from
// outside) with unsaved changes asks "Save Changes you Just Made?" Yes/No/Cancel: No leaves
// the file as it was, Cancel keeps the dialog open. An ending session closes it unasked.
class IgnoreListDialog final : public QDialog {
  Q_OBJECT

 public:
  // `fs` must outlive the dialog. `programFolder` ends in the separator. `drives` are the
  // drives a run offers (platform::Volumes), in their order; the folder picker starts on
  // the first available one.
  IgnoreListDialog(platform::FileSystem& fs, const std::string& programFolder,
                   std::vector<platform::Drive> drives, QWidget* parent = nullptr);

  // The entries as the list holds them now, first to last.
  [[nodiscard]] std::vector<std::string> entries() const;
  // True once an entry was added or removed since the dialog opened or last discarded.
  [[nodiscard]] bool blnChanged() const { return m_changed; }

 protected:
  // maybeSave: the close box asks whether to save unsaved changes.
  void closeEvent(QCloseEvent* event) override;
  // Esc closes as the close box does, never silently dropping changes.
  void reject() override;

 private slots:
  void addFolder();
  void removeSelectedEntry();
  void discardChanges();
  void saveAndClose();
  void addChosenFolder();
  void showChosenDrive(int index);
  void folderChosen();

 private:
  void createControls();
  void createFolderPicker();
  void load();
  // Fills the list from the file; a missing file is an empty list.
  void loadList();
  // Writes the whole list; false (after telling the user) when it could not be written.
  bool saveList();
  void addEntry(const std::string& entry);
  // Shows the drive at `index` in the folder chooser; false when it is not available.
  bool showDrive(int index);

  platform::FileSystem& m_fs;
  std::string m_ignoreFile;  // IgnoreFile
  std::vector<platform::Drive> m_drives;
  int m_driveIndex = -1;   // the drive the folder chooser shows
  bool m_changed = false;  // blnChanged

  QListWidget* lstDirs = nullptr;
  QStackedWidget* m_listOrPicker = nullptr;  // the picker lies over the list while shown
  QFrame* picSelFolder = nullptr;
  QComboBox* Drive1 = nullptr;
  FolderChooser* Dir1 = nullptr;
  QLineEdit* txtSelectedPath = nullptr;
  QCheckBox* chkSubFolders = nullptr;
};

// Shows frmIgnore modally over `parent` and waits until it closes. Arguments as for
// IgnoreListDialog's constructor.
void editIgnoreList(QWidget* parent, platform::FileSystem& fs, const std::string& programFolder,
                    std::vector<platform::Drive> drives);

}  // namespace dialogs
