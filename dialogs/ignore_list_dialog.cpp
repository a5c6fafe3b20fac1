// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/ignore_list_dialog.h"

#include <algorithm>
#include <utility>

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "dialogs/dialog_support.h"
#include "dialogs/folder_chooser.h"
#include "dialogs/pictures.h"
#include "engine/ignore_list_file.h"
#include "engine/ignore_matcher.h"
#include "engine/program_conf.h"
#include "platform/file_system.h"

namespace dialogs {
namespace {

constexpr int kHelpContext = 6;

QPushButton* Button(QWidget* parent, const char* name, const QString& caption) {
  auto* button = new QPushButton(caption, parent);
  NameControl(button, name, AccessibleTextOf(caption));
  button->setAutoDefault(false);
  return button;
}

QLabel* Label(QWidget* parent, const char* name, const QString& caption) {
  auto* label = new QLabel(caption, parent);
  NameControl(label, name, AccessibleTextOf(caption));
  return label;
}

std::string EntryOf(const QListWidgetItem* item) {
  return item->data(Qt::UserRole).toByteArray().toStdString();
}

}  // namespace

IgnoreListDialog::IgnoreListDialog(platform::FileSystem& fs, const std::string& programFolder,
                                   std::vector<platform::Drive> drives, QWidget* parent)
    : QDialog(parent), m_fs(fs), m_drives(std::move(drives)) {
  setObjectName(QStringLiteral("frmIgnore"));
  setWindowTitle(tr("Set Folders to Ignore, [F1] for help"));
  setProperty(kHelpContextProperty, kHelpContext);
  m_ignoreFile = programFolder + std::string(engine::kIgnoreFileName);
  createControls();
  // A settings file that cannot be read was told of at start-up; its defaults hold here.
  engine::ProgramConf conf;
  (void)engine::LoadProgramConf(m_fs, programFolder + std::string(engine::kConfFileName), &conf);
  Dir1->setShowHidden(conf.includeHidden);
  load();
}

void IgnoreListDialog::createControls() {
  auto* lblTop = Label(this, "lblTop", tr("These Directory Folders will NOT be checked"));
  lstDirs = new QListWidget(this);
  NameControl(lstDirs, "lstDirs", lblTop->text());
  lstDirs->setSelectionMode(QAbstractItemView::SingleSelection);
  lblTop->setBuddy(lstDirs);
  createFolderPicker();
  m_listOrPicker = new QStackedWidget(this);
  m_listOrPicker->addWidget(lstDirs);
  m_listOrPicker->addWidget(picSelFolder);

  auto* butAdd = Button(this, "butAdd", tr("&Add A Folder"));
  auto* butDel = Button(this, "butDel", tr("&Remove Folder"));
  auto* butClear = Button(this, "butClear", tr("&Discard Changes "));
  butClear->setIcon(QIcon(DiscardPicture()));
  // A picture only: the green check mark and the word Ok.
  auto* butDone = Button(this, "butDone", QString());
  butDone->setAccessibleName(tr("Ok"));
  butDone->setIcon(QIcon(OkButtonPicture()));
  butDone->setIconSize(OkButtonPicture().size());
  connect(butAdd, &QPushButton::clicked, this, &IgnoreListDialog::addFolder);
  connect(butDel, &QPushButton::clicked, this, &IgnoreListDialog::removeSelectedEntry);
  connect(butClear, &QPushButton::clicked, this, &IgnoreListDialog::discardChanges);
  connect(butDone, &QPushButton::clicked, this, &IgnoreListDialog::saveAndClose);

  auto* buttons = new QVBoxLayout;
  buttons->addWidget(butAdd);
  buttons->addWidget(butDel);
  buttons->addWidget(butClear);
  buttons->addStretch();
  buttons->addWidget(butDone);
  auto* layout = new QGridLayout(this);
  layout->addWidget(lblTop, 0, 0);
  layout->addWidget(m_listOrPicker, 1, 0);
  layout->addLayout(buttons, 1, 1);
  resize(620, 380);
}

void IgnoreListDialog::createFolderPicker() {
  picSelFolder = new QFrame(this);
  NameControl(picSelFolder, "picSelFolder", tr("Folder picker"));
  picSelFolder->setFrameShape(QFrame::StyledPanel);
  auto* lblDirSel = Label(picSelFolder, "lblDirSel", tr("Please Select A Folder (Double Click) "));
  Drive1 = new QComboBox(picSelFolder);
  NameControl(Drive1, "Drive1", tr("Drive"));
  for (const platform::Drive& drive : m_drives) {
    Drive1->addItem(QString::fromStdString(drive.displayText));
  }
  Dir1 = new FolderChooser(m_fs, picSelFolder);
  NameControl(Dir1, "Dir1", AccessibleTextOf(lblDirSel->text()));
  lblDirSel->setBuddy(Dir1);
  auto* Label1 = Label(picSelFolder, "Label1", tr("Selected Path: "));
  txtSelectedPath = new QLineEdit(picSelFolder);
  NameControl(txtSelectedPath, "txtSelectedPath", AccessibleTextOf(Label1->text()));
  txtSelectedPath->setReadOnly(true);
  Label1->setBuddy(txtSelectedPath);
  chkSubFolders = new QCheckBox(tr("Also Ignore Its &Sub-Folders"), picSelFolder);
  NameControl(chkSubFolders, "chkSubFolders", AccessibleTextOf(chkSubFolders->text()));
  auto* butOKNewFolder = Button(picSelFolder, "butOKNewFolder", tr("Then &Click Here"));
  connect(butOKNewFolder, &QPushButton::clicked, this, &IgnoreListDialog::addChosenFolder);
  connect(Dir1, &FolderChooser::pathChanged, this, &IgnoreListDialog::folderChosen);

  auto* pathRow = new QHBoxLayout;
  pathRow->addWidget(Label1);
  pathRow->addWidget(txtSelectedPath, 1);
  auto* layout = new QVBoxLayout(picSelFolder);
  layout->addWidget(lblDirSel);
  layout->addWidget(Drive1);
  layout->addWidget(Dir1, 1);
  layout->addLayout(pathRow);
  layout->addWidget(chkSubFolders);
  layout->addWidget(butOKNewFolder, 0, Qt::AlignRight);
}

void IgnoreListDialog::load() {
  loadList();
  // The picker starts on the first drive that can be shown; none leaves it empty.
  for (int i = 0; i < static_cast<int>(m_drives.size()); ++i) {
    if (m_drives[static_cast<std::size_t>(i)].available &&
        Dir1->setDrive(m_drives[static_cast<std::size_t>(i)].root).isOk()) {
      m_driveIndex = i;
      break;
    }
  }
  const QSignalBlocker blocker(Drive1);
  Drive1->setCurrentIndex(m_driveIndex);
  connect(Drive1, &QComboBox::currentIndexChanged, this, &IgnoreListDialog::showChosenDrive);
}

void IgnoreListDialog::loadList() {
  auto entries = engine::ReadIgnoreList(m_fs, m_ignoreFile);
  if (!entries.isOk()) {
    ShowMessage(this, QString::fromStdString(entries.status().message()));
    return;
  }
  for (const std::string& entry : entries.value()) addEntry(entry);
}

void IgnoreListDialog::addEntry(const std::string& entry) {
  auto* item = new QListWidgetItem(QString::fromStdString(entry), lstDirs);
  item->setData(Qt::UserRole, QByteArray::fromStdString(entry));
}

std::vector<std::string> IgnoreListDialog::entries() const {
  std::vector<std::string> result;
  result.reserve(static_cast<std::size_t>(lstDirs->count()));
  for (int i = 0; i < lstDirs->count(); ++i) result.push_back(EntryOf(lstDirs->item(i)));
  return result;
}

bool IgnoreListDialog::saveList() {
  const base::Status status = engine::WriteIgnoreList(m_fs, m_ignoreFile, entries());
  if (status.isOk()) return true;
  ShowFailure(this, tr("The list of folders to ignore could not be saved. It stays open here."),
              status);
  return false;
}

bool IgnoreListDialog::showDrive(int index) {
  const platform::Drive& drive = m_drives[static_cast<std::size_t>(index)];
  base::Status status =
      !drive.available
          ? base::Status::notFound(drive.root + (drive.isFolder ? ": the folder is missing"
                                                                : ": the volume is not mounted"))
          : Dir1->setDrive(drive.root);
  if (status.isOk()) return true;
  ShowFailure(this, tr("Drive %1 is not available.").arg(QString::fromStdString(drive.displayText)),
              status);
  return false;
}

void IgnoreListDialog::showChosenDrive(int index) {
  if (index < 0 || index == m_driveIndex) return;
  if (showDrive(index)) {
    m_driveIndex = index;
    return;
  }
  // Back to the drive the folder chooser still shows.
  const QSignalBlocker blocker(Drive1);
  Drive1->setCurrentIndex(m_driveIndex);
}

void IgnoreListDialog::folderChosen() {
  txtSelectedPath->setText(QString::fromStdString(Dir1->path()));
}

void IgnoreListDialog::addFolder() {
  folderChosen();
  // A whole tree left out is a choice made for one folder at a time.
  chkSubFolders->setChecked(false);
  m_listOrPicker->setCurrentWidget(picSelFolder);
  Dir1->setFocus();
}

void IgnoreListDialog::addChosenFolder() {
  m_listOrPicker->setCurrentWidget(lstDirs);
  std::string entry = Dir1->path();
  if (entry.empty()) return;  // no drive could be shown: nothing was chosen
  // A drive's root already ends in the separator; every folder below it gets one, which
  // is how the run recognises a folder in the list.
  const char separator = m_fs.pathStyle().separator;
  if (entry.back() != separator) entry += separator;
  if (chkSubFolders->isChecked()) entry = engine::WholeTreeEntryOf(entry);
  if (entry.find_first_of("\r\n") != std::string::npos) {
    // The list keeps one entry a line; such a name could never be matched or read back.
    ShowMessage(this, tr("A folder whose name holds a line break cannot be put in the list."));
    return;
  }
  const std::vector<std::string> present = entries();
  if (std::find(present.begin(), present.end(), entry) == present.end()) addEntry(entry);
  // Also for a folder already in the list: the user did ask for a change.
  m_changed = true;
}

void IgnoreListDialog::removeSelectedEntry() {
  QListWidgetItem* item = lstDirs->currentItem();
  if (item == nullptr || !item->isSelected()) {
    ShowMessage(this, tr("Item must be selected (by clicking) before it can be deleted"));
    return;
  }
  if (!AskYesNo(this, tr("Delete %1 From List?").arg(item->text()))) {
    return;
  }
  delete lstDirs->takeItem(lstDirs->row(item));
  // The list would move the selection to the next row by itself; the next removal must be
  // of a row the user clicked.
  lstDirs->clearSelection();
  lstDirs->selectionModel()->clearCurrentIndex();
  m_changed = true;
}

void IgnoreListDialog::discardChanges() {
  m_changed = false;
  lstDirs->clear();
  loadList();
}

void IgnoreListDialog::saveAndClose() {
  if (saveList()) accept();
}

void IgnoreListDialog::reject() { close(); }

void IgnoreListDialog::closeEvent(QCloseEvent* event) {
  // A session that ends (logging off, shutting down) closes without a question.
  if (m_changed && !qApp->isSavingSession()) {
    const auto answer = Ask(this, tr("Save Changes?"), tr("Save Changes you Just Made?"),
                            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::Cancel || (answer == QMessageBox::Yes && !saveList())) {
      event->ignore();
      return;
    }
  }
  event->accept();
  QDialog::done(QDialog::Rejected);
}

void editIgnoreList(QWidget* parent, platform::FileSystem& fs, const std::string& programFolder,
                    std::vector<platform::Drive> drives) {
  IgnoreListDialog dialog(fs, programFolder, std::move(drives), parent);
  dialog.exec();
}

}  // namespace dialogs
