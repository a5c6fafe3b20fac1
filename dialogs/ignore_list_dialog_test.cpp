// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The Ignore list editor along a user's path: picking folders, the duplicate rule, removal,
// discarding, the close box's question, and what happens when the file cannot be written.
#include "dialogs/ignore_list_dialog.h"

#include <gtest/gtest.h>

#include <memory>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTemporaryDir>

#include "dialogs/folder_chooser.h"
#include "platform/posix/posix_file_system.h"
#include "platform/testing/memory_file_system.h"
#include "platform/testing/modal_dialogs.h"

namespace dialogs {
namespace {

using platform::testing::DialogScript;
using platform::testing::MessageSeen;
using platform::testing::Press;

constexpr char kProgramFolder[] = "C:\\Brinvale\\";
constexpr char kIgnoreFile[] = "C:\\Brinvale\\ignore.txt";

platform::Drive MakeDrive(char letter, std::string root, bool available = true) {
  platform::Drive drive;
  drive.letter = letter;
  drive.displayText = std::string(1, static_cast<char>(letter + 32)) + ": [" + root + "]";
  drive.root = std::move(root);
  drive.available = available;
  return drive;
}

// Drives the dialog the way a user does: buttons by name, folders by double click.
class Editor {
 public:
  Editor(platform::FileSystem& fs, const std::string& programFolder,
         std::vector<platform::Drive> drives)
      : m_dialog(fs, programFolder, std::move(drives)) {
    m_dialog.show();
  }

  IgnoreListDialog& dialog() { return m_dialog; }

  QStringList rows() {
    QStringList texts;
    auto* list = m_dialog.findChild<QListWidget*>("lstDirs");
    for (int i = 0; i < list->count(); ++i) texts << list->item(i)->text();
    return texts;
  }

  void click(const char* button) {
    auto* b = m_dialog.findChild<QPushButton*>(QString::fromLatin1(button));
    ASSERT_NE(b, nullptr) << button;
    b->click();
  }

  // Opens the folder row `name` of the folder chooser with a double click.
  void openFolder(const QString& name) {
    auto* chooser = m_dialog.findChild<FolderChooser*>("Dir1");
    const auto found = chooser->findItems(name, Qt::MatchExactly | Qt::MatchRecursive);
    ASSERT_EQ(found.size(), 1) << name.toStdString();
    platform::testing::DoubleClickRow(chooser, chooser->indexFromItem(found.front()));
  }

  // Highlights the folder row `name` with a single click.
  void highlightFolder(const QString& name) {
    auto* chooser = m_dialog.findChild<FolderChooser*>("Dir1");
    const auto found = chooser->findItems(name, Qt::MatchExactly | Qt::MatchRecursive);
    ASSERT_EQ(found.size(), 1) << name.toStdString();
    const QPoint at = chooser->visualItemRect(found.front()).center();
    QTest::mouseClick(chooser->viewport(), Qt::LeftButton, Qt::NoModifier, at);
  }

  // "&Add A Folder", open each folder of `path` in turn, "Then &Click Here".
  void addFolder(const QStringList& path) {
    click("butAdd");
    for (const QString& name : path) openFolder(name);
    click("butOKNewFolder");
  }

  QString selectedPath() { return m_dialog.findChild<QLineEdit*>("txtSelectedPath")->text(); }
  bool pickerShown() { return m_dialog.findChild<QWidget*>("picSelFolder")->isVisible(); }

  void selectRow(int row) {
    auto* list = m_dialog.findChild<QListWidget*>("lstDirs");
    platform::testing::ClickRow(list, row);
  }

  // Closes by the close box, answering its question with `answer`; `then`, when given,
  // answers the message box that follows.
  MessageSeen closeAnswering(QMessageBox::StandardButton answer, DialogScript::Action then = {}) {
    MessageSeen seen;
    DialogScript script;
    script.then("QMessageBox", Press(answer, &seen));
    if (then) script.then("QMessageBox", std::move(then));
    m_dialog.close();
    EXPECT_TRUE(QTest::qWaitFor([&] { return script.done(); }, platform::testing::kModalTimeoutMs));
    return seen;
  }

 private:
  IgnoreListDialog m_dialog;
};

class IgnoreListDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_fs.addFolder(kProgramFolder);
    m_fs.addFolder("C:\\DATA\\OLD");
    m_fs.addFolder("C:\\Temp");
  }

  std::vector<platform::Drive> Drives() { return {MakeDrive('C', "C:\\")}; }
  std::string Stored() { return m_fs.contents(kIgnoreFile).value_or("<missing>"); }

  platform::MemoryFileSystem m_fs;
};

TEST_F(IgnoreListDialogTest, EmptyListIsSavedAsZeroBytesAndOpensEmpty) {
  {
    Editor editor(m_fs, kProgramFolder, Drives());
    EXPECT_TRUE(editor.rows().isEmpty());
    EXPECT_FALSE(editor.pickerShown());
    editor.click("butDone");
    EXPECT_FALSE(editor.dialog().isVisible());
    EXPECT_EQ(editor.dialog().result(), QDialog::Accepted);
  }
  EXPECT_EQ(Stored(), "");
  Editor again(m_fs, kProgramFolder, Drives());
  EXPECT_TRUE(again.rows().isEmpty());
}

TEST_F(IgnoreListDialogTest, DuplicatesAreNotAddedButStillCountAsAChange) {
  // A hand-edited file: the reader keeps what it finds, lower case included.
  m_fs.addTextFile(kIgnoreFile, "C:\\Temp\\\r\nC:\\data\\old\\\r\nC:\\\r\n");
  Editor editor(m_fs, kProgramFolder, Drives());
  const QStringList before = {"C:\\Temp\\", "C:\\data\\old\\", "C:\\"};
  ASSERT_EQ(editor.rows(), before);

  // Already there, in the middle and as the drive root: the list stays as it was.
  editor.addFolder({"Temp"});
  EXPECT_FALSE(editor.pickerShown());
  editor.click("butAdd");
  EXPECT_EQ(editor.selectedPath(), "C:\\Temp");
  editor.openFolder("C:\\");
  EXPECT_EQ(editor.selectedPath(), "C:\\");
  editor.click("butOKNewFolder");
  EXPECT_EQ(editor.rows(), before);
  EXPECT_TRUE(editor.dialog().blnChanged());

  // So the close box asks; Cancel keeps the dialog open with its list, No writes nothing.
  MessageSeen seen = editor.closeAnswering(QMessageBox::Cancel);
  EXPECT_EQ(seen.title, "Save Changes?");
  EXPECT_EQ(seen.text, "Save Changes you Just Made?");
  EXPECT_EQ(seen.icon, QMessageBox::Question);
  EXPECT_EQ(seen.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  EXPECT_TRUE(editor.dialog().isVisible());
  EXPECT_TRUE(editor.dialog().blnChanged());

  // Differs only in letter case from an entry: a second entry. Then No leaves the file.
  editor.addFolder({"DATA", "OLD"});
  EXPECT_EQ(editor.rows(), before + QStringList{"C:\\DATA\\OLD\\"});
  editor.closeAnswering(QMessageBox::No);
  EXPECT_FALSE(editor.dialog().isVisible());
  EXPECT_EQ(Stored(), "C:\\Temp\\\r\nC:\\data\\old\\\r\nC:\\\r\n");
}

TEST_F(IgnoreListDialogTest, TheSubFoldersCheckBoxAddsTheWholeTreeFormForOneFolder) {
  m_fs.addTextFile(kIgnoreFile, "C:\\Temp\\\r\n");
  Editor editor(m_fs, kProgramFolder, Drives());
  const auto addTree = [&](const QStringList& path) {
    editor.click("butAdd");
    auto* box = editor.dialog().findChild<QCheckBox*>("chkSubFolders");
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->isVisible());
    EXPECT_FALSE(box->isChecked());  // each folder is a choice of its own
    for (const QString& name : path) editor.openFolder(name);
    // On its box: the row is wider than the caption.
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(6, box->height() / 2));
    editor.click("butOKNewFolder");
  };
  addTree({"DATA"});
  editor.addFolder({"DATA", "OLD"});  // the box is clear again: a plain entry
  addTree({"C:\\"});
  // The same folder as a plain entry and as a tree: two entries, shown as stored.
  addTree({"Temp"});
  EXPECT_EQ(editor.rows(), (QStringList{"C:\\Temp\\", "C:\\DATA\\**", "C:\\DATA\\OLD\\", "C:\\**",
                                        "C:\\Temp\\**"}));
  editor.click("butDone");
  EXPECT_EQ(Stored(),
            "C:\\Temp\\\r\nC:\\DATA\\**\r\nC:\\DATA\\OLD\\\r\nC:\\**\r\nC:\\Temp\\**\r\n");
  // Read back as they were written.
  Editor again(m_fs, kProgramFolder, Drives());
  EXPECT_EQ(again.rows(), editor.rows());
}

TEST_F(IgnoreListDialogTest, ThePickerListsHiddenFoldersWhenRunsIncludeThem) {
  m_fs.addFolder("C:\\CACHE\\SUB");
  m_fs.setHidden("C:\\CACHE");
  const auto listed = [&](const QString& name) {
    Editor editor(m_fs, kProgramFolder, Drives());
    editor.click("butAdd");
    return !editor.dialog()
                .findChild<FolderChooser*>("Dir1")
                ->findItems(name, Qt::MatchExactly | Qt::MatchRecursive)
                .isEmpty();
  };
  EXPECT_TRUE(listed("DATA"));
  EXPECT_FALSE(listed("CACHE"));
  m_fs.addTextFile("C:\\Brinvale\\brinvale.conf", "[scan]\nhidden = true\n");
  EXPECT_TRUE(listed("CACHE"));

  // So a hidden tree can be left out whole.
  Editor editor(m_fs, kProgramFolder, Drives());
  editor.click("butAdd");
  editor.openFolder("CACHE");
  QTest::mouseClick(editor.dialog().findChild<QCheckBox*>("chkSubFolders"), Qt::LeftButton,
                    Qt::NoModifier, QPoint(6, 6));
  editor.click("butOKNewFolder");
  EXPECT_EQ(editor.rows(), QStringList{"C:\\CACHE\\**"});
}

TEST_F(IgnoreListDialogTest, RemovalAsksAndDiscardGoesBackToTheFile) {
  m_fs.addTextFile(kIgnoreFile, "C:\\Temp\\\r\nC:\\DATA\\OLD\\\r\n");
  Editor editor(m_fs, kProgramFolder, Drives());

  MessageSeen seen;
  {
    DialogScript script;
    script.then("QMessageBox", Press(QMessageBox::Ok, &seen));
    editor.click("butDel");
    EXPECT_TRUE(script.done());
  }
  EXPECT_EQ(seen.text, "Item must be selected (by clicking) before it can be deleted");
  EXPECT_EQ(seen.title, "Brinvale");

  // No to the question: nothing changes, so closing asks nothing.
  editor.selectRow(1);
  {
    DialogScript script;
    script.then("QMessageBox", Press(QMessageBox::No, &seen));
    editor.click("butDel");
    EXPECT_TRUE(script.done());
  }
  EXPECT_EQ(seen.text, "Delete C:\\DATA\\OLD\\ From List?");
  EXPECT_EQ(seen.buttons, QMessageBox::Yes | QMessageBox::No);
  EXPECT_EQ(editor.rows().size(), 2);
  EXPECT_FALSE(editor.dialog().blnChanged());

  // Yes removes; Discard Changes brings the file's list back and forgets the change.
  {
    DialogScript script;
    script.then("QMessageBox", Press(QMessageBox::Yes));
    editor.click("butDel");
    EXPECT_TRUE(script.done());
  }
  EXPECT_EQ(editor.rows(), QStringList{"C:\\Temp\\"});
  EXPECT_TRUE(editor.dialog().blnChanged());
  editor.addFolder({"DATA"});
  editor.click("butClear");
  EXPECT_EQ(editor.rows(), QStringList({"C:\\Temp\\", "C:\\DATA\\OLD\\"}));
  EXPECT_FALSE(editor.dialog().blnChanged());
  {
    DialogScript none;  // asks nothing
    editor.dialog().close();
  }
  EXPECT_FALSE(editor.dialog().isVisible());
  EXPECT_EQ(Stored(), "C:\\Temp\\\r\nC:\\DATA\\OLD\\\r\n");
}

// A removal leaves no row selected, so a second "&Remove Folder" asks about nothing the
// user did not click.
TEST_F(IgnoreListDialogTest, AfterARemovalNoRowIsSelected) {
  m_fs.addTextFile(kIgnoreFile, "C:\\A\\\r\nC:\\B\\\r\nC:\\C\\\r\n");
  Editor editor(m_fs, kProgramFolder, Drives());
  editor.selectRow(0);
  {
    DialogScript script;
    script.then("QMessageBox", Press(QMessageBox::Yes));
    editor.click("butDel");
    EXPECT_TRUE(script.done());
  }
  ASSERT_EQ(editor.rows(), QStringList({"C:\\B\\", "C:\\C\\"}));
  EXPECT_TRUE(editor.dialog().findChild<QListWidget*>("lstDirs")->selectedItems().isEmpty());

  MessageSeen seen;
  {
    DialogScript script;
    script.then("QMessageBox", Press(QMessageBox::Ok, &seen));
    editor.click("butDel");
    EXPECT_TRUE(script.done());
  }
  EXPECT_EQ(seen.text, "Item must be selected (by clicking) before it can be deleted");
  EXPECT_EQ(editor.rows().size(), 2);
}

TEST_F(IgnoreListDialogTest, AFailedWriteKeepsTheDialogTheListAndTheEarlierFile) {
  m_fs.addTextFile(kIgnoreFile, "C:\\Temp\\\r\n");
  Editor editor(m_fs, kProgramFolder, Drives());
  editor.addFolder({"DATA"});
  m_fs.failRename(kIgnoreFile);  // the new list never replaces the old one

  MessageSeen seen;
  {
    DialogScript script;
    script.then("QMessageBox", Press(QMessageBox::Ok, &seen));
    editor.click("butDone");
    EXPECT_TRUE(script.done());
  }
  EXPECT_EQ(seen.icon, QMessageBox::Warning);
  EXPECT_TRUE(seen.text.startsWith("The list of folders to ignore could not be saved."));
  EXPECT_TRUE(editor.dialog().isVisible());
  EXPECT_EQ(editor.rows(), QStringList({"C:\\Temp\\", "C:\\DATA\\"}));
  EXPECT_EQ(Stored(), "C:\\Temp\\\r\n");
  EXPECT_FALSE(m_fs.exists(std::string(kIgnoreFile) + ".part"));

  // Yes on closing fails the same way: the dialog stays open, the change still pending.
  MessageSeen failure;
  editor.closeAnswering(QMessageBox::Yes, Press(QMessageBox::Ok, &failure));
  EXPECT_TRUE(failure.text.startsWith("The list of folders to ignore could not be saved."));
  EXPECT_TRUE(editor.dialog().isVisible());
  EXPECT_TRUE(editor.dialog().blnChanged());

  // Once the file can be written, Yes writes the whole list and closes.
  m_fs.clearFaults();
  editor.closeAnswering(QMessageBox::Yes);
  EXPECT_FALSE(editor.dialog().isVisible());
  EXPECT_EQ(Stored(), "C:\\Temp\\\r\nC:\\DATA\\\r\n");
}

TEST_F(IgnoreListDialogTest, AnUnreadableListIsReportedAndShownEmpty) {
  m_fs.addTextFile(kIgnoreFile, "C:\\Temp\\\r\n");
  m_fs.failOpen(kIgnoreFile, base::Status::permissionDenied("C:\\Brinvale\\ignore.txt: denied"));
  MessageSeen seen;
  DialogScript script;
  script.then("QMessageBox", Press(QMessageBox::Ok, &seen));
  Editor editor(m_fs, kProgramFolder, Drives());
  EXPECT_TRUE(QTest::qWaitFor([&] { return script.done(); }, platform::testing::kModalTimeoutMs));
  EXPECT_EQ(seen.text, "C:\\Brinvale\\ignore.txt: denied");
  EXPECT_TRUE(editor.rows().isEmpty());
}

TEST_F(IgnoreListDialogTest, AnUnavailableDriveIsReportedAndTheChooserGoesBack) {
  m_fs.addFolder("E:\\Projects");
  m_fs.addFolder("F:\\Music");
  const std::vector<platform::Drive> drives = {
      MakeDrive('C', "C:\\"), MakeDrive('D', "D:\\", /*available=*/false), MakeDrive('E', "E:\\"),
      MakeDrive('G', "G:\\")};  // G: listed as mounted, but gone
  Editor editor(m_fs, kProgramFolder, drives);
  auto* drive1 = editor.dialog().findChild<QComboBox*>("Drive1");
  editor.click("butAdd");
  ASSERT_EQ(drive1->currentIndex(), 0);
  editor.openFolder("DATA");

  for (int unavailable : {1, 3}) {
    MessageSeen seen;
    {
      DialogScript script;
      script.then("QMessageBox", Press(QMessageBox::Ok, &seen));
      drive1->setCurrentIndex(unavailable);
      EXPECT_TRUE(script.done());
    }
    EXPECT_TRUE(
        seen.text.startsWith(QString("Drive %1 is not available.")
                                 .arg(QString::fromStdString(drives[unavailable].displayText))))
        << seen.text.toStdString();
    EXPECT_EQ(drive1->currentIndex(), 0);
    EXPECT_EQ(editor.selectedPath(), "C:\\DATA");
  }

  drive1->setCurrentIndex(2);
  EXPECT_EQ(editor.selectedPath(), "E:\\");
  editor.openFolder("Projects");
  editor.click("butOKNewFolder");
  EXPECT_EQ(editor.rows(), QStringList{"E:\\Projects\\"});
}

TEST_F(IgnoreListDialogTest, ListsLongerThanASixteenBitCountSurvive) {
  std::string text;
  constexpr int kEntries = 40000;
  for (int i = 0; i < kEntries; ++i) text += "C:\\F" + std::to_string(i) + "\\\r\n";
  m_fs.addTextFile(kIgnoreFile, text);
  Editor editor(m_fs, kProgramFolder, Drives());
  EXPECT_EQ(editor.rows().size(), kEntries);
  editor.addFolder({"Temp"});
  editor.click("butDone");
  EXPECT_EQ(Stored(), text + "C:\\Temp\\\r\n");
}

// On the real file system, with a temporary folder as a drive: names that differ only in
// case are two folders, hidden folders are not offered, a comma is part of a name.
TEST(IgnoreListDialogOnDiskTest, ThreeEntriesAreWrittenInOrderWithCrLfAndReadBack) {
  QTemporaryDir driveDir;
  QTemporaryDir programDir;
  ASSERT_TRUE(driveDir.isValid() && programDir.isValid());
  for (const char* folder : {"Data/old", "data", "a,b", ".cache"}) {
    ASSERT_TRUE(QDir(driveDir.path()).mkpath(folder));
  }
  const std::string root = driveDir.path().toStdString() + "/";
  const std::string programFolder = programDir.path().toStdString() + "/";
  platform::PosixFileSystem fs;
  {
    Editor editor(fs, programFolder, {MakeDrive('E', root)});
    editor.click("butAdd");
    auto* chooser = editor.dialog().findChild<FolderChooser*>("Dir1");
    QStringList offered;
    for (int i = 0; i < chooser->topLevelItem(0)->childCount(); ++i) {
      offered << chooser->topLevelItem(0)->child(i)->text(0);
    }
    EXPECT_EQ(offered, QStringList({"a,b", "Data", "data"}));

    // A single click only highlights: the folder last opened is the one added.
    editor.openFolder("Data");
    editor.openFolder("old");
    editor.highlightFolder("Data");
    EXPECT_EQ(editor.selectedPath(), QString::fromStdString(root + "Data/old"));
    editor.click("butOKNewFolder");
    editor.click("butAdd");
    editor.openFolder(QString::fromStdString(root));  // back up to the drive's root
    editor.click("butOKNewFolder");
    editor.addFolder({"a,b"});
    editor.click("butDone");
  }
  QFile file(QString::fromStdString(programFolder + "ignore.txt"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const std::string expected = root + "Data/old/\r\n" + root + "\r\n" + root + "a,b/\r\n";
  EXPECT_EQ(file.readAll().toStdString(), expected);

  Editor again(fs, programFolder, {MakeDrive('E', root)});
  EXPECT_EQ(again.rows(),
            QStringList({QString::fromStdString(root + "Data/old/"), QString::fromStdString(root),
                         QString::fromStdString(root + "a,b/")}));
}

// A list that cannot be read is reported with the system's description of the error.
TEST(IgnoreListDialogOnDiskTest, AListThatIsAFolderIsReportedAsTheSystemDescribesIt) {
  QTemporaryDir programDir;
  ASSERT_TRUE(programDir.isValid());
  ASSERT_TRUE(QDir(programDir.path()).mkpath("ignore.txt"));
  const std::string programFolder = programDir.path().toStdString() + "/";
  platform::PosixFileSystem fs;
  MessageSeen seen;
  DialogScript script;
  script.then("QMessageBox", Press(QMessageBox::Ok, &seen));
  Editor editor(fs, programFolder, {MakeDrive('E', programFolder)});
  EXPECT_TRUE(QTest::qWaitFor([&] { return script.done(); }, platform::testing::kModalTimeoutMs));
  EXPECT_EQ(seen.text.toStdString(), programFolder + "ignore.txt: Is a directory");
  EXPECT_TRUE(editor.rows().isEmpty());
}

}  // namespace
}  // namespace dialogs
