// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Every dialog's caption, control texts and help topic in one table, and what assistive
// technology reads: every named control has a name, list rows their text and mark.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include <QAbstractButton>
#include <QAccessible>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QListWidget>

#include "dialogs/about_dialog.h"
#include "dialogs/drive_selection_dialog.h"
#include "dialogs/folder_drives_dialog.h"
#include "dialogs/ignore_list_dialog.h"
#include "dialogs/multi_report_dialog.h"
#include "dialogs/options_dialog.h"
#include "platform/testing/memory_file_system.h"
#include "platform/testing/modal_dialogs.h"

namespace dialogs {
namespace {

enum class Form { kDriveSel, kMulti, kIgnore, kOptions, kAbout, kFolderDrives };

// No drives at all.
class NoVolumes final : public platform::Volumes {
 public:
  platform::DriveListing drives() override { return {}; }
};

class DialogTextsTest : public ::testing::Test {
 protected:
  void SetUp() override { m_fs.addFolder("C:\\Brinvale"); }

  std::unique_ptr<QDialog> Make(Form form) {
    const SaveOptionsFn save = SaveOptionsTo(m_fs, "C:\\Brinvale\\BV3.Def");
    switch (form) {
      case Form::kDriveSel:
        return std::make_unique<DriveSelectionDialog>(std::vector<std::string>{"c: [C:\\]"},
                                                      &m_settings, save);
      case Form::kMulti:
        return std::make_unique<MultiReportDialog>(&m_settings, save);
      case Form::kIgnore: {
        platform::Drive drive;
        drive.root = "C:\\";
        drive.displayText = "c: [C:\\]";
        drive.available = true;
        return std::make_unique<IgnoreListDialog>(m_fs, "C:\\Brinvale\\",
                                                  std::vector<platform::Drive>{drive});
      }
      case Form::kOptions:
        return std::make_unique<OptionsDialog>(
            &m_settings, save,
            OptionsWindow{[] {}, [] {}, [] { return false; }, [] { return false; }, [](QWidget*) {},
                          [](QWidget*) {}, [] {}, [] { return false; }});
      case Form::kAbout: {
        QPixmap icon(32, 32);
        icon.fill(Qt::darkCyan);
        return std::make_unique<AboutDialog>(QIcon(icon), "1.0.1");
      }
      case Form::kFolderDrives:
        return std::make_unique<FolderDrivesDialog>(m_fs, "C:\\Brinvale\\", m_volumes);
    }
    return nullptr;
  }

  platform::MemoryFileSystem m_fs;
  engine::SettingsRecord m_settings;
  NoVolumes m_volumes;
};

// The text a control shows: a window's title, a frame's caption, a label's or button's text.
QString TextOf(QWidget* widget) {
  if (widget->isWindow()) return widget->windowTitle();
  if (auto* frame = qobject_cast<QGroupBox*>(widget)) return frame->title();
  if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text();
  return QStringLiteral("<no text>");
}

TEST_F(DialogTextsTest, EveryCaptionAndControlTextIsExact) {
  struct Row {
    Form form;
    const char* control;  // nullptr: the dialog itself
    QString text;
  };
  const QString driveSelCaption =
      QStringLiteral("Drive Selection") + QString(52, u' ') + QStringLiteral("[F1] for help");
  const Row rows[] = {
      {Form::kDriveSel, nullptr, driveSelCaption},
      {Form::kDriveSel, "Label1", "Please Select Drive(s) to Scan / Update"},
      {Form::kDriveSel, "OkSelBut", ""},
      {Form::kDriveSel, "CxlSelBut", ""},
      {Form::kDriveSel, "Label4", "Report Options"},
      {Form::kDriveSel, "Frame1", "Default Name"},
      {Form::kDriveSel, "optDrive", "by Drive Only"},
      {Form::kDriveSel, "optTime", "by Time && Date"},
      {Form::kDriveSel, "Frame2", "Save As"},
      {Form::kDriveSel, "optRtf", "Rtf (Color)"},
      {Form::kDriveSel, "optText", "Plain Text"},
      {Form::kMulti, nullptr, "Multipe Volumes Selected"},
      {Form::kMulti, "Label1", "Multiple Dirves Selected  Please choose an option:"},
      {Form::kMulti, "Frame1", "Create:"},
      {Form::kMulti, "optSingle", "One Large Report"},
      {Form::kMulti, "optMany", "Separate Report for Each Drive"},
      {Form::kMulti, "Command1", "&OK"},
      {Form::kIgnore, nullptr, "Set Folders to Ignore, [F1] for help"},
      {Form::kIgnore, "lblTop", "These Directory Folders will NOT be checked"},
      {Form::kIgnore, "butAdd", "&Add A Folder"},
      {Form::kIgnore, "butDel", "&Remove Folder"},
      {Form::kIgnore, "butClear", "&Discard Changes "},
      {Form::kIgnore, "butDone", ""},
      {Form::kIgnore, "lblDirSel", "Please Select A Folder (Double Click) "},
      {Form::kIgnore, "Label1", "Selected Path: "},
      {Form::kIgnore, "butOKNewFolder", "Then &Click Here"},
      {Form::kIgnore, "chkSubFolders", "Also Ignore Its &Sub-Folders"},
      {Form::kOptions, nullptr, "Options, [F1] for Help"},
      {Form::kOptions, "Label1", "Report Format Options:"},
      {Form::kOptions, "Frame2", "Create As"},
      {Form::kOptions, "optRtf", "Rtf (Color)"},
      {Form::kOptions, "optText", "Plain Text"},
      {Form::kOptions, "Frame1", "Default Name"},
      {Form::kOptions, "optDrive", "by Drive Only"},
      {Form::kOptions, "optTime", "By Time && Date"},
      {Form::kOptions, "lblInfoOnly", "Next Run is Info Only (Click Here)"},
      {Form::kOptions, "lblHidden", "Include Hidden Files and Folders (Click Here)"},
      {Form::kOptions, "lblSound", "Turn Sounds On (Click Here)"},
      {Form::kOptions, "lblIgnore", "Set Folders to Ignore (Click Here)"},
      {Form::kOptions, "lblPrintopt", "Set Options for Printing (Click Here)"},
      {Form::kOptions, "Command1", "OK"},
      {Form::kAbout, nullptr, "About Brinvale"},
      {Form::kAbout, "lblTitle", "Brinvale, Version 1.0.1"},
      {Form::kAbout, "lblDescription", "Take Control of your Hard Drives. "},
      {Form::kAbout, "cmdOK", "OK"},
      {Form::kAbout, "cmdSysInfo", "&System Info..."},
      {Form::kFolderDrives, nullptr, "Folders Watched as Drives, [F1] for help"},
      {Form::kFolderDrives, "butAdd", "&Add Folder..."},
      {Form::kFolderDrives, "butRemove", "&Remove..."},
      {Form::kFolderDrives, "butDone", "&Done"},
  };
  for (const Row& row : rows) {
    auto dialog = Make(row.form);
    QWidget* widget = row.control == nullptr
                          ? dialog.get()
                          : dialog->findChild<QWidget*>(QString::fromLatin1(row.control));
    ASSERT_NE(widget, nullptr) << row.control;
    EXPECT_EQ(TextOf(widget), row.text)
        << dialog->objectName().toStdString() << " " << (row.control ? row.control : "caption");
  }
}

TEST_F(DialogTextsTest, FormNamesAndHelpTopics) {
  struct Row {
    Form form;
    const char* name;
    QVariant helpContext;
  };
  const Row rows[] = {
      {Form::kDriveSel, "frmDriveSel", 3}, {Form::kMulti, "frmMulti", QVariant()},
      {Form::kIgnore, "frmIgnore", 6},     {Form::kOptions, "frmOptions", 4},
      {Form::kAbout, "frmAbout", 1},       {Form::kFolderDrives, "frmFolderDrives", 14}};
  for (const Row& row : rows) {
    auto dialog = Make(row.form);
    EXPECT_EQ(dialog->objectName(), row.name);
    EXPECT_EQ(dialog->property(kHelpContextProperty), row.helpContext) << row.name;
  }
}

// What assistive technology reads: the caption without its access key mark, the picture's
// word on picture buttons, and a name for every named control.
TEST_F(DialogTextsTest, EveryControlHasAnAccessibleName) {
  struct Row {
    Form form;
    const char* control;
    QString name;
  };
  const Row rows[] = {
      {Form::kDriveSel, "OkSelBut", "Ok"},
      {Form::kDriveSel, "CxlSelBut", "Cancel"},
      {Form::kDriveSel, "optTime", "by Time & Date"},
      {Form::kMulti, "Command1", "OK"},
      {Form::kIgnore, "butDone", "Ok"},
      {Form::kIgnore, "butClear", "Discard Changes"},
      {Form::kIgnore, "butOKNewFolder", "Then Click Here"},
      {Form::kAbout, "cmdSysInfo", "System Info..."},
  };
  for (const Row& row : rows) {
    auto dialog = Make(row.form);
    auto* widget = dialog->findChild<QWidget*>(QString::fromLatin1(row.control));
    ASSERT_NE(widget, nullptr) << row.control;
    EXPECT_EQ(platform::testing::AccessibleName(widget), row.name) << row.control;
  }
  for (Form form : {Form::kDriveSel, Form::kMulti, Form::kIgnore, Form::kOptions, Form::kAbout,
                    Form::kFolderDrives}) {
    auto dialog = Make(form);
    for (QWidget* widget : dialog->findChildren<QWidget*>()) {
      const QString name = widget->objectName();
      if (name.isEmpty() || name.startsWith("qt_")) continue;
      EXPECT_FALSE(platform::testing::AccessibleName(widget).isEmpty())
          << dialog->objectName().toStdString() << " " << name.toStdString();
    }
  }
}

TEST_F(DialogTextsTest, DriveRowsReadTheirTextAndMark) {
  DriveSelectionDialog dialog({"c: [/]", "d: [/home]"}, &m_settings,
                              SaveOptionsTo(m_fs, "C:\\Brinvale\\BV3.Def"));
  dialog.setMarks({false, true});
  dialog.show();
  QAccessibleInterface* list =
      QAccessible::queryAccessibleInterface(dialog.findChild<QListWidget*>("lstDrives"));
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->childCount(), 2);
  EXPECT_EQ(list->child(0)->text(QAccessible::Name), "c: [/]");
  EXPECT_TRUE(list->child(0)->state().checkable);
  EXPECT_FALSE(list->child(0)->state().checked);
  EXPECT_EQ(list->child(1)->text(QAccessible::Name), "d: [/home]");
  EXPECT_TRUE(list->child(1)->state().checked);

  // Marking through assistive technology's toggle action marks the row.
  QAccessibleActionInterface* action = list->child(0)->actionInterface();
  ASSERT_NE(action, nullptr);
  action->doAction(QAccessibleActionInterface::toggleAction());
  EXPECT_EQ(dialog.marks(), std::vector<bool>({true, true}));
}

}  // namespace
}  // namespace dialogs
