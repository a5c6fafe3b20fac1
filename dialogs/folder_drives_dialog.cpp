// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/folder_drives_dialog.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "dialogs/dialog_support.h"
#include "engine/profile_store.h"
#include "platform/drive_letters.h"
#include "platform/file_system.h"
#include "platform/qt/native_path.h"
#include "platform/run_lock.h"
#include "platform/volumes.h"

namespace dialogs {
namespace {

constexpr int kHelpContext = 14;

// The columns of the list.
enum Column { kLetter, kFolder, kThere };

QPushButton* Button(QWidget* parent, const char* name, const QString& caption) {
  auto* button = new QPushButton(caption, parent);
  NameControl(button, name, AccessibleTextOf(caption));
  button->setAutoDefault(false);
  return button;
}

std::string ProfileOf(const std::string& programFolder, char letter) {
  return engine::ProfilePathsFor(std::string(1, letter) + ":", programFolder).profilePath;
}

// A drive's folder as the user knows it: without the separator a drive's root ends in.
std::string FolderOf(const platform::Drive& drive) {
  std::string folder = drive.root;
  if (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

}  // namespace

FolderDrivesDialog::FolderDrivesDialog(platform::FileSystem& fs, std::string programFolder,
                                       platform::Volumes& volumes, QWidget* parent)
    : QDialog(parent), m_fs(fs), m_programFolder(std::move(programFolder)), m_volumes(volumes) {
  setObjectName(QStringLiteral("frmFolderDrives"));
  setWindowTitle(tr("Folders Watched as Drives, [F1] for help"));
  setProperty(kHelpContextProperty, kHelpContext);
  createControls();
  loadList();
}

void FolderDrivesDialog::createControls() {
  auto* lblTop = new QLabel(
      tr("These folders are offered in the Drive Selection as drives of their own:"), this);
  NameControl(lblTop, "lblTop", lblTop->text());
  lblTop->setWordWrap(true);

  lstFolderDrives = new QTreeWidget(this);
  NameControl(lstFolderDrives, "lstFolderDrives", tr("Folders watched as drives"));
  lstFolderDrives->setColumnCount(3);
  lstFolderDrives->setHeaderLabels({tr("Drive"), tr("Folder"), tr("There Now")});
  lstFolderDrives->setRootIsDecorated(false);
  lstFolderDrives->setSelectionMode(QAbstractItemView::SingleSelection);
  lstFolderDrives->setAllColumnsShowFocus(true);
  lstFolderDrives->header()->setStretchLastSection(false);
  lstFolderDrives->header()->setSectionResizeMode(kLetter, QHeaderView::ResizeToContents);
  lstFolderDrives->header()->setSectionResizeMode(kFolder, QHeaderView::Stretch);
  lstFolderDrives->header()->setSectionResizeMode(kThere, QHeaderView::ResizeToContents);
  lblTop->setBuddy(lstFolderDrives);

  butAdd = Button(this, "butAdd", tr("&Add Folder..."));
  butRemove = Button(this, "butRemove", tr("&Remove..."));
  butDone = Button(this, "butDone", tr("&Done"));
  butDone->setDefault(true);
  connect(butAdd, &QPushButton::clicked, this, &FolderDrivesDialog::addFolder);
  connect(butRemove, &QPushButton::clicked, this, &FolderDrivesDialog::removeSelectedFolder);
  connect(butDone, &QPushButton::clicked, this, &QDialog::accept);
  connect(lstFolderDrives, &QTreeWidget::itemSelectionChanged, this,
          [this] { butRemove->setEnabled(!lstFolderDrives->selectedItems().isEmpty()); });

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(butAdd);
  buttons->addWidget(butRemove);
  buttons->addStretch();
  buttons->addWidget(butDone);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(lblTop);
  layout->addWidget(lstFolderDrives, 1);
  layout->addLayout(buttons);
  resize(560, 300);
}

void FolderDrivesDialog::loadList(char letter) {
  lstFolderDrives->clear();
  for (const platform::Drive& drive : m_volumes.drives().drives) {
    if (!drive.isFolder) continue;
    auto* row = new QTreeWidgetItem(lstFolderDrives);
    row->setText(kLetter, QString(QLatin1Char(drive.letter)));
    row->setText(kFolder, platform::FromNativeBytes(FolderOf(drive)));
    row->setText(kThere, drive.available ? tr("Yes") : tr("No"));
    row->setData(kFolder, Qt::UserRole, QByteArray::fromStdString(FolderOf(drive)));
    if (drive.letter == letter) lstFolderDrives->setCurrentItem(row);
  }
  butRemove->setEnabled(!lstFolderDrives->selectedItems().isEmpty());
}

void FolderDrivesDialog::addFolder() {
  QFileDialog chooser(this, tr("Choose a Folder to Watch as a Drive"), QDir::homePath());
  chooser.setObjectName(QStringLiteral("dlgWatchFolder"));
  chooser.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::ShowDirsOnly);
  chooser.setFileMode(QFileDialog::Directory);
  if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty()) return;
  const QString folder = chooser.selectedFiles().constFirst();

  const auto added =
      platform::AddWatchedFolder(m_fs, m_programFolder, platform::NativeBytes(folder));
  if (!added.isOk()) {
    ShowFailure(this,
                tr("%1 was not added; nothing was changed.").arg(QDir::toNativeSeparators(folder)),
                added.status());
    return;
  }
  loadList(added.value());
}

void FolderDrivesDialog::removeSelectedFolder() {
  const QList<QTreeWidgetItem*> selected = lstFolderDrives->selectedItems();
  if (selected.isEmpty()) return;
  const char letter = selected.front()->text(kLetter).toLatin1().at(0);
  const std::string folder =
      selected.front()->data(kFolder, Qt::UserRole).toByteArray().toStdString();
  const QString shownFolder = selected.front()->text(kFolder);
  const bool hasProfile = m_fs.exists(ProfileOf(m_programFolder, letter));

  QMessageBox box(QMessageBox::Question, QString::fromLatin1(kProgramTitle), QString(),
                  QMessageBox::NoButton, this);
  QAbstractButton* remove = box.addButton(tr("&Remove"), QMessageBox::AcceptRole);
  QAbstractButton* removeAndDelete = nullptr;
  if (platform::LetterHasRecords(m_fs, m_programFolder, letter)) {
    box.setText(tr("Stop watching %1 as drive %2? Its profile is kept, and the letter "
                   "stays reserved for it.")
                    .arg(shownFolder, QString(QLatin1Char(letter))));
    if (hasProfile) {
      removeAndDelete =
          box.addButton(tr("Remove and Delete Its Profile"), QMessageBox::DestructiveRole);
    }
  } else {
    box.setText(tr("Stop watching %1 as drive %2? It has no profile, so the letter "
                   "becomes free.")
                    .arg(shownFolder, QString(QLatin1Char(letter))));
  }
  box.addButton(QMessageBox::Cancel);
  box.setDefaultButton(QMessageBox::Cancel);
  box.exec();
  if (box.clickedButton() == remove) {
    removeDrive(letter, folder, false);
  } else if (removeAndDelete != nullptr && box.clickedButton() == removeAndDelete) {
    const QString sure = tr("Delete the profile of drive %1 (%2)? The changes since its "
                            "last run can then no longer be reported, and the letter %1 "
                            "becomes free for another drive.")
                             .arg(QString(QLatin1Char(letter)), shownFolder);
    if (Ask(this, QString::fromLatin1(kProgramTitle), sure, QMessageBox::Yes | QMessageBox::No,
            QMessageBox::No, QMessageBox::Warning) == QMessageBox::Yes) {
      removeDrive(letter, folder, true);
    }
  }
}

void FolderDrivesDialog::removeDrive(char letter, const std::string& folder, bool deleteProfile) {
  // Held across both steps, so no run starts between them; the removal takes it again
  // within this process at once.
  auto lock = platform::RunLock::TakeBriefly(m_fs, m_programFolder);
  base::Status s = lock.isOk()
                       ? platform::RemoveWatchedFolder(m_fs, m_programFolder, letter, folder)
                       : lock.status();
  if (!s.isOk()) {
    ShowFailure(this, tr("Drive %1 was not removed; nothing was changed.").arg(QLatin1Char(letter)),
                s);
    loadList(letter);
    return;
  }
  if (deleteProfile) {
    const base::Status removed = m_fs.remove(ProfileOf(m_programFolder, letter));
    if (!removed.isOk() && !removed.isNotFound()) {
      ShowFailure(this,
                  tr("Drive %1 is no longer watched, but its profile could not be "
                     "deleted, so the letter stays reserved for it.")
                      .arg(QLatin1Char(letter)),
                  removed);
    } else if (platform::LetterHasRecords(m_fs, m_programFolder, letter)) {
      ShowMessage(this, tr("The profile of drive %1 was deleted; its history is kept, "
                           "so the letter stays reserved for it.")
                            .arg(QLatin1Char(letter)));
    }
  }
  loadList();
}

void editFolderDrives(QWidget* parent, platform::FileSystem& fs, const std::string& programFolder,
                      platform::Volumes& volumes) {
  FolderDrivesDialog dialog(fs, programFolder, volumes, parent);
  dialog.exec();
}

}  // namespace dialogs
