// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The drive selection page and the one-report question along a run's path: marking rows,
// showing the page again, options stored at once, and the ways of closing.
#include "dialogs/drive_selection_dialog.h"

#include <gtest/gtest.h>

#include <QPushButton>
#include <QRadioButton>

#include "dialogs/multi_report_dialog.h"
#include "platform/testing/memory_file_system.h"
#include "platform/testing/modal_dialogs.h"

namespace dialogs {
namespace {

using platform::testing::ClickRow;
using platform::testing::DialogScript;
using platform::testing::MessageSeen;
using platform::testing::Press;

const std::vector<std::string> kRows = {"c: [/]", "d: [/home]", "e: [/media/usb]"};

class DriveSelectionTest : public ::testing::Test {
 protected:
  // The settings file's byte at `offset`, or -1 while there is no such byte.
  int StoredByte(std::size_t offset) {
    const auto bytes = m_fs.contents(kSettingsPath);
    return bytes && bytes->size() > offset ? static_cast<unsigned char>((*bytes)[offset]) : -1;
  }

  static constexpr char kSettingsPath[] = "C:\\BV3.Def";
  static constexpr std::size_t kFormatOffset = 28;
  static constexpr std::size_t kNamingOffset = 29;
  static constexpr std::size_t kOneReportOffset = 31;

  platform::MemoryFileSystem m_fs;
  engine::SettingsRecord m_settings;
  SaveOptionsFn m_save = SaveOptionsTo(m_fs, kSettingsPath);
};

template <class T>
T* Child(QWidget* dialog, const char* name) {
  T* child = dialog->findChild<T*>(QString::fromLatin1(name));
  EXPECT_NE(child, nullptr) << name;
  return child;
}

QListWidget* Rows(QWidget* dialog) { return Child<QListWidget>(dialog, "lstDrives"); }

std::vector<bool> ShownMarks(QWidget* dialog) {
  std::vector<bool> marks;
  QListWidget* list = Rows(dialog);
  for (int i = 0; i < list->count(); ++i) {
    marks.push_back(list->item(i)->checkState() == Qt::Checked);
  }
  return marks;
}

TEST_F(DriveSelectionTest, MarksSurviveShowingAgainAndOptionsAreStoredEvenWhenCancelled) {
  m_fs.addFolder("C:\\");
  std::vector<bool> marks(kRows.size(), false);

  // First showing: the rows as given, nothing marked; a click marks, a second unmarks.
  {
    DialogScript script;
    script.then("frmDriveSel", [](QWidget* dialog) {
      QListWidget* list = Rows(dialog);
      ASSERT_EQ(list->count(), 3);
      EXPECT_EQ(list->item(1)->text(), "d: [/home]");
      EXPECT_EQ(ShownMarks(dialog), std::vector<bool>({false, false, false}));
      ClickRow(list, 0);
      ClickRow(list, 1);
      ClickRow(list, 2);
      ClickRow(list, 1);
      EXPECT_EQ(ShownMarks(dialog), std::vector<bool>({true, false, true}));
      Child<QPushButton>(dialog, "OkSelBut")->click();
    });
    EXPECT_TRUE(SelectDrives(nullptr, kRows, &marks, &m_settings, m_save));
    EXPECT_TRUE(script.done());
  }
  EXPECT_EQ(marks, std::vector<bool>({true, false, true}));
  EXPECT_FALSE(m_fs.exists(kSettingsPath)) << "showing the stored options stored something";

  // Shown again in the same run: the earlier marks; Space on the current row toggles it.
  // A report format chosen here is in the file at once, though the run is then cancelled.
  {
    DialogScript script;
    script.then("frmDriveSel", [this](QWidget* dialog) {
      EXPECT_EQ(ShownMarks(dialog), std::vector<bool>({true, false, true}));
      QListWidget* list = Rows(dialog);
      list->setFocus();
      QTest::keyClick(list, Qt::Key_Down);  // moves to the second row, marking nothing
      EXPECT_EQ(ShownMarks(dialog), std::vector<bool>({true, false, true}));
      QTest::keyClick(list, Qt::Key_Space);
      EXPECT_EQ(ShownMarks(dialog), std::vector<bool>({true, true, true}));
      EXPECT_TRUE(Child<QRadioButton>(dialog, "optText")->isChecked());
      QTest::mouseClick(Child<QRadioButton>(dialog, "optRtf"), Qt::LeftButton);
      EXPECT_EQ(StoredByte(kFormatOffset), 'R');
      Child<QPushButton>(dialog, "CxlSelBut")->click();
    });
    EXPECT_FALSE(SelectDrives(nullptr, kRows, &marks, &m_settings, m_save));
    EXPECT_TRUE(script.done());
  }
  EXPECT_EQ(marks, std::vector<bool>({true, false, true})) << "a cancelled page changed the marks";
  EXPECT_EQ(m_settings.ReportFormat, 'R');
  EXPECT_EQ(StoredByte(kFormatOffset), 'R');
}

TEST_F(DriveSelectionTest, CloseBoxCancelsAndOkHidesWithTheMarksReadable) {
  std::vector<bool> marks(kRows.size(), false);
  {
    DialogScript script;
    script.then("frmDriveSel", [](QWidget* dialog) {
      ClickRow(Rows(dialog), 2);
      dialog->close();
    });
    EXPECT_FALSE(SelectDrives(nullptr, kRows, &marks, &m_settings, m_save));
    EXPECT_TRUE(script.done());
  }
  EXPECT_EQ(marks, std::vector<bool>({false, false, false}));

  // OK with nothing marked is the run's business, not the page's: it is accepted.
  {
    DialogScript script;
    script.then("frmDriveSel", [](QWidget* d) { Child<QPushButton>(d, "OkSelBut")->click(); });
    EXPECT_TRUE(SelectDrives(nullptr, kRows, &marks, &m_settings, m_save));
    EXPECT_TRUE(script.done());
  }

  // OK hides without destroying: the marks can still be read from the dialog.
  DriveSelectionDialog dialog(kRows, &m_settings, m_save);
  dialog.show();
  ClickRow(Rows(&dialog), 1);
  Child<QPushButton>(&dialog, "OkSelBut")->click();
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.markedCount(), 1);
  EXPECT_EQ(dialog.marks(), std::vector<bool>({false, true, false}));
}

TEST_F(DriveSelectionTest, ADriveThatIsNotAvailableIsGreyedAndCannotBeMarked) {
  std::vector<bool> marks = {false, true, false};  // as if marked when it was there
  {
    DialogScript script;
    script.then("frmDriveSel", [](QWidget* dialog) {
      QListWidget* list = Rows(dialog);
      ASSERT_EQ(list->count(), 3);
      EXPECT_EQ(list->item(1)->text(), "d: [/home]  (not available)");
      EXPECT_FALSE(list->item(1)->flags() & Qt::ItemIsEnabled);  // drawn greyed out
      QAccessibleInterface* face = QAccessible::queryAccessibleInterface(list);
      ASSERT_NE(face, nullptr);
      EXPECT_EQ(face->child(1)->text(QAccessible::Name), "d: [/home]  (not available)");
      EXPECT_FALSE(face->child(1)->state().checkable);
      if (QAccessibleActionInterface* action = face->child(1)->actionInterface()) {
        action->doAction(QAccessibleActionInterface::toggleAction());
      }
      EXPECT_EQ(ShownMarks(dialog), std::vector<bool>({false, false, false}));
      // Neither a click, nor marking everything, nor the arrow keys and Space mark it.
      ClickRow(list, 1);
      list->selectAll();
      EXPECT_EQ(ShownMarks(dialog), std::vector<bool>({true, false, true}));
      list->clearSelection();
      list->setFocus();
      EXPECT_EQ(list->currentRow(), 0);
      QTest::keyClick(list, Qt::Key_Down);
      QTest::keyClick(list, Qt::Key_Space);
      EXPECT_EQ(ShownMarks(dialog), std::vector<bool>({false, false, true}));
      Child<QPushButton>(dialog, "OkSelBut")->click();
    });
    EXPECT_TRUE(SelectDrives(nullptr, kRows, &marks, &m_settings, m_save, {true, false, true}));
    EXPECT_TRUE(script.done());
  }
  EXPECT_EQ(marks, std::vector<bool>({false, false, true}));
}

TEST_F(DriveSelectionTest, OptionButtonsShowTheStoredLettersAndStoreEachChoice) {
  struct Case {
    char format, naming;
    const char* formatShown;
    const char* namingShown;
  };
  // Anything but R shows plain text; anything but D (a new file's NUL too) shows the time
  // and date, as a run names its reports.
  for (const Case& c : {Case{'R', 'D', "optRtf", "optDrive"}, Case{'T', 't', "optText", "optTime"},
                        Case{0, 0, "optText", "optTime"}, Case{'X', 'x', "optText", "optTime"},
                        Case{'r', 'd', "optRtf", "optDrive"}}) {
    engine::SettingsRecord settings;
    settings.ReportFormat = c.format;
    settings.ReportNaming = c.naming;
    DriveSelectionDialog dialog(kRows, &settings, m_save);
    EXPECT_TRUE(Child<QRadioButton>(&dialog, c.formatShown)->isChecked()) << int(c.format);
    EXPECT_TRUE(Child<QRadioButton>(&dialog, c.namingShown)->isChecked()) << int(c.naming);
  }

  m_fs.addFolder("C:\\");
  DriveSelectionDialog dialog(kRows, &m_settings, m_save);
  dialog.show();
  Child<QRadioButton>(&dialog, "optDrive")->click();
  EXPECT_EQ(StoredByte(kNamingOffset), 'D');
  Child<QRadioButton>(&dialog, "optTime")->click();
  EXPECT_EQ(StoredByte(kNamingOffset), 'T');
  Child<QRadioButton>(&dialog, "optRtf")->click();
  Child<QRadioButton>(&dialog, "optText")->click();
  EXPECT_EQ(StoredByte(kFormatOffset), 'T');

  // A settings file that cannot be written: one message; the choice holds in memory.
  m_fs.failOpen(kSettingsPath, base::Status::permissionDenied("C:\\BV3.Def: read-only"));
  MessageSeen seen;
  {
    DialogScript script;
    script.then("QMessageBox", Press(QMessageBox::Ok, &seen));
    Child<QRadioButton>(&dialog, "optRtf")->click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return script.done(); }, platform::testing::kModalTimeoutMs));
  }
  EXPECT_EQ(seen.title, "Brinvale");
  // The one text for a setting that could not be stored, in the window's menus as here.
  EXPECT_TRUE(seen.text.startsWith("The setting is used now but could not be stored:\n"))
      << seen.text.toStdString();
  EXPECT_TRUE(seen.text.contains("C:\\BV3.Def: read-only")) << seen.text.toStdString();
  EXPECT_EQ(seen.icon, QMessageBox::Warning);
  EXPECT_EQ(m_settings.ReportFormat, 'R');
  EXPECT_EQ(StoredByte(kFormatOffset), 'T');
}

TEST_F(DriveSelectionTest, OneReportQuestionStoresOnlyOnOk) {
  m_fs.addFolder("C:\\");
  // Starting from a report for each drive, "One Large Report" then the close box: the
  // run gets one report, the record in memory says so, the file is not written.
  {
    DialogScript script;
    script.then("frmMulti", [](QWidget* dialog) {
      EXPECT_TRUE(Child<QRadioButton>(dialog, "optMany")->isChecked());
      Child<QRadioButton>(dialog, "optSingle")->click();
      dialog->close();
    });
    EXPECT_TRUE(AskOneReport(nullptr, &m_settings, m_save));
    EXPECT_TRUE(script.done());
  }
  EXPECT_EQ(m_settings.OneReport, 1);
  EXPECT_FALSE(m_fs.exists(kSettingsPath));

  // Shown again it starts from the record; "&OK" after choosing separate reports stores 0.
  {
    DialogScript script;
    script.then("frmMulti", [](QWidget* dialog) {
      EXPECT_TRUE(Child<QRadioButton>(dialog, "optSingle")->isChecked());
      Child<QRadioButton>(dialog, "optMany")->click();
      Child<QPushButton>(dialog, "Command1")->click();
    });
    EXPECT_FALSE(AskOneReport(nullptr, &m_settings, m_save));
    EXPECT_TRUE(script.done());
  }
  EXPECT_EQ(m_settings.OneReport, 0);
  EXPECT_EQ(StoredByte(kOneReportOffset), 0);

  // "&OK" without a change still stores the choice shown.
  m_settings.OneReport = 1;
  {
    DialogScript script;
    script.then("frmMulti",
                [](QWidget* dialog) { Child<QPushButton>(dialog, "Command1")->click(); });
    EXPECT_TRUE(AskOneReport(nullptr, &m_settings, m_save));
    EXPECT_TRUE(script.done());
  }
  EXPECT_EQ(StoredByte(kOneReportOffset), 1);
}

}  // namespace
}  // namespace dialogs
