// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The folders watched as drives along a user's path, on the real disk: adding through the
// folder chooser, removing with the profile kept or deleted, drives.txt rewritten with its
// other lines untouched, and what is refused.
#include "dialogs/folder_drives_dialog.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include "platform/drive_letters.h"
#include "platform/posix/posix_file_system.h"
#include "platform/run_lock.h"
#include "platform/testing/modal_dialogs.h"
#include "platform/testing/other_process.h"
#include "platform/testing/temp_folder.h"

namespace dialogs {
namespace {

using platform::testing::DialogScript;
using platform::testing::MessageSeen;
using platform::testing::Press;
using platform::testing::PressCaption;

// The drives of the program folder's drives.txt, with "/" as the one volume mounted.
class FileVolumes final : public platform::Volumes {
 public:
  FileVolumes(platform::FileSystem& fs, std::string programFolder)
      : m_fs(fs), m_programFolder(std::move(programFolder)) {}
  platform::DriveListing drives() override {
    return platform::ListDrives(m_fs, m_programFolder, {"/"});
  }

 private:
  platform::FileSystem& m_fs;
  std::string m_programFolder;
};

class FolderDrivesDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* folder : {"watch/projects", "watch/music", "watch/photos"}) {
      std::filesystem::create_directories(m_temp / folder);
    }
    ASSERT_TRUE(platform::WriteFileAtomically(m_fs, File(), kOtherLines).isOk());
  }

  std::string File() const { return m_temp / platform::kDrivesFileName; }
  std::string Drives() { return platform::ReadWholeFile(m_fs, File()).value(); }
  std::string Folder(const char* name) const { return m_temp / "watch/" + name; }

  // The rows as "LETTER FOLDER THERE".
  static QStringList Rows(QWidget* dialog) {
    QStringList rows;
    auto* list = dialog->findChild<QTreeWidget*>(QStringLiteral("lstFolderDrives"));
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
      const QTreeWidgetItem* row = list->topLevelItem(i);
      rows.append(row->text(0) + ' ' + row->text(1) + ' ' + row->text(2));
    }
    return rows;
  }
  static QPushButton* Button(QWidget* dialog, const char* name) {
    return dialog->findChild<QPushButton*>(QLatin1String(name));
  }
  static void SelectRow(QWidget* dialog, const QString& letter) {
    auto* list = dialog->findChild<QTreeWidget*>(QStringLiteral("lstFolderDrives"));
    const QList<QTreeWidgetItem*> found = list->findItems(letter, Qt::MatchExactly, 0);
    ASSERT_EQ(found.size(), 1) << letter.toStdString();
    list->setCurrentItem(found.front());
  }

  // Clicks Add in `dialog` and chooses `folder` in the folder chooser; `then`, when given,
  // answers the message box that follows.
  static void Add(QWidget* dialog, const std::string& folder, DialogScript::Action then = {}) {
    DialogScript script;
    script.then("dlgWatchFolder", [folder](QWidget* chooser) {
      chooser->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))
          ->setText(QFile::decodeName(folder.c_str()));
      static_cast<QDialog*>(chooser)->accept();
    });
    if (then) script.then("QMessageBox", std::move(then));
    Button(dialog, "butAdd")->click();
    EXPECT_TRUE(script.done());
  }

  // Clicks Remove and answers the question with the button whose text is `answer`; records
  // the question's text in `*asked`. `then`, when given, answers the message box that
  // follows.
  static void Remove(QWidget* dialog, const QString& answer, QString* asked,
                     DialogScript::Action then = {}) {
    DialogScript script;
    script.then("QMessageBox", PressCaption(answer, asked));
    if (then) script.then("QMessageBox", std::move(then));
    Button(dialog, "butRemove")->click();
    EXPECT_TRUE(script.done());
  }

  // Lines that are none of the dialog's business, written by hand with CR LF.
  const std::string kOtherLines = "C\t/\tvolume\r\n\r\nX /media/usb\r\nG\t/srv/gone\r\n";

  platform::TempFolder m_temp;
  platform::PosixFileSystem m_fs;
  FileVolumes m_volumes{m_fs, m_temp.path()};
};

TEST_F(FolderDrivesDialogTest, AddsAndRemovesKeepingTheProfileAndItsLetterReserved) {
  FolderDrivesDialog dialog(m_fs, m_temp.path(), m_volumes);
  dialog.show();
  EXPECT_EQ(Rows(&dialog), QStringList{"G /srv/gone No"});
  EXPECT_FALSE(Button(&dialog, "butRemove")->isEnabled());

  Add(&dialog, Folder("projects"));
  Add(&dialog, Folder("music") + "/");
  const QString projects = QString::fromStdString(Folder("projects"));
  const QString music = QString::fromStdString(Folder("music"));
  EXPECT_EQ(Rows(&dialog),
            QStringList({"A " + projects + " Yes", "B " + music + " Yes", "G /srv/gone No"}));
  EXPECT_EQ(Drives(),
            kOtherLines + "A\t" + Folder("projects") + "\r\nB\t" + Folder("music") + "\r\n");

  // A has run once: its profile is kept and its letter stays reserved.
  ASSERT_TRUE(platform::WriteFileAtomically(m_fs, m_temp / "Prof_A_.bvp", "profile").isOk());
  SelectRow(&dialog, "A");
  QString asked;
  Remove(&dialog, "&Remove", &asked);
  EXPECT_EQ(asked, "Stop watching " + projects +
                       " as drive A? Its profile is kept, and the letter stays reserved for it.");
  EXPECT_EQ(Drives(), kOtherLines + "B\t" + Folder("music") + "\r\n");
  EXPECT_TRUE(m_fs.exists(m_temp / "Prof_A_.bvp"));
  Add(&dialog, Folder("photos"));  // neither A (a profile), nor C (the root's): D
  EXPECT_EQ(Drives(),
            kOtherLines + "B\t" + Folder("music") + "\r\nD\t" + Folder("photos") + "\r\n");

  // D never ran: removing it frees its letter, and Cancel changes nothing.
  SelectRow(&dialog, "D");
  Remove(&dialog, "Cancel", &asked);
  EXPECT_EQ(asked, "Stop watching " + QString::fromStdString(Folder("photos")) +
                       " as drive D? It has no profile, so the letter becomes free.");
  EXPECT_EQ(Drives(),
            kOtherLines + "B\t" + Folder("music") + "\r\nD\t" + Folder("photos") + "\r\n");
  Remove(&dialog, "&Remove", &asked);
  EXPECT_EQ(Drives(), kOtherLines + "B\t" + Folder("music") + "\r\n");
  EXPECT_EQ(Rows(&dialog), QStringList({"B " + music + " Yes", "G /srv/gone No"}));
}

TEST_F(FolderDrivesDialogTest, DeletingTheProfileAsksAgainAndFreesTheLetter) {
  ASSERT_TRUE(platform::AddWatchedFolder(m_fs, m_temp.path(), Folder("music")).isOk());
  ASSERT_TRUE(platform::WriteFileAtomically(m_fs, m_temp / "Prof_A_.bvp", "profile").isOk());
  FolderDrivesDialog dialog(m_fs, m_temp.path(), m_volumes);
  dialog.show();
  SelectRow(&dialog, "A");

  // No to the second question keeps everything.
  MessageSeen sure;
  QString asked;
  Remove(&dialog, "Remove and Delete Its Profile", &asked, Press(QMessageBox::No, &sure));
  EXPECT_EQ(sure.text, "Delete the profile of drive A (" + QString::fromStdString(Folder("music")) +
                           ")? The changes since its last run can then no longer be reported, "
                           "and the letter A becomes free for another drive.");
  EXPECT_TRUE(m_fs.exists(m_temp / "Prof_A_.bvp"));
  EXPECT_EQ(Drives(), kOtherLines + "A\t" + Folder("music") + "\r\n");

  sure = {};
  Remove(&dialog, "Remove and Delete Its Profile", &asked, Press(QMessageBox::Yes, &sure));
  EXPECT_TRUE(sure.text.startsWith("Delete the profile of drive A")) << sure.text.toStdString();
  EXPECT_FALSE(m_fs.exists(m_temp / "Prof_A_.bvp"));
  EXPECT_EQ(Drives(), kOtherLines);
  Add(&dialog, Folder("photos"));
  EXPECT_EQ(Drives(), kOtherLines + "A\t" + Folder("photos") + "\r\n");
}

TEST_F(FolderDrivesDialogTest, RefusalsAndABusyProgramFolderChangeNothing) {
  std::filesystem::create_directories(m_temp / "watch/two\nlines");
  ASSERT_TRUE(platform::AddWatchedFolder(m_fs, m_temp.path(), Folder("music")).isOk());
  const std::string before = Drives();
  FolderDrivesDialog dialog(m_fs, m_temp.path(), m_volumes);
  dialog.show();

  const struct {
    std::string folder;
    const char* why;
  } kRefused[] = {{Folder("two\nlines"), "a line break"}, {Folder("music"), "is drive A already"}};
  for (const auto& refusal : kRefused) {
    SCOPED_TRACE(refusal.folder);
    MessageSeen refused;
    Add(&dialog, refusal.folder, Press(QMessageBox::Ok, &refused));
    EXPECT_EQ(refused.icon, QMessageBox::Warning);
    EXPECT_TRUE(refused.text.contains("nothing was changed")) << refused.text.toStdString();
    EXPECT_TRUE(refused.text.contains(refusal.why)) << refused.text.toStdString();
    EXPECT_EQ(Drives(), before);
  }

  // A run of another process holds the program folder: neither Add nor Remove writes.
  const std::string programFolder = m_temp.path();
  platform::OtherProcess run([programFolder]() -> std::shared_ptr<void> {
    platform::PosixFileSystem fs;
    auto lock = platform::RunLock::TryTake(fs, programFolder);
    return lock.isOk() ? std::make_shared<platform::RunLock>(std::move(lock).value()) : nullptr;
  });
  ASSERT_TRUE(run.took());
  const QString busy =
      QStringLiteral("Another run is using this program folder (pid %1).").arg(run.pid());
  MessageSeen refused;
  Add(&dialog, Folder("photos"), Press(QMessageBox::Ok, &refused));
  EXPECT_TRUE(refused.text.endsWith(busy)) << refused.text.toStdString();
  SelectRow(&dialog, "A");
  QString asked;
  Remove(&dialog, "&Remove", &asked, Press(QMessageBox::Ok, &refused));
  EXPECT_TRUE(refused.text.startsWith("Drive A was not removed")) << refused.text.toStdString();
  EXPECT_TRUE(refused.text.endsWith(busy)) << refused.text.toStdString();
  EXPECT_EQ(Drives(), before);
  EXPECT_EQ(Rows(&dialog).size(), 2);
}

}  // namespace
}  // namespace dialogs
