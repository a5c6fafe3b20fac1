// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The Options page: the sound, info-only and hidden-files labels and pictures follow the
// window's flags, the report options are stored at once, the links reach the other dialogs.
#include "dialogs/options_dialog.h"

#include <gtest/gtest.h>

#include <QPushButton>
#include <QRadioButton>

#include "dialogs/clickable_label.h"
#include "dialogs/pictures.h"
#include "platform/testing/memory_file_system.h"
#include "platform/testing/modal_dialogs.h"

namespace dialogs {
namespace {

// The main window as the page sees it. Without a sound device the switch only tells the
// user and changes nothing, as the real one does.
struct FakeWindow {
  bool soundDevice = true;
  bool soundsEnabled = false;
  bool infoOnly = false;
  bool includeHidden = false;
  int noDeviceReports = 0;
  QWidget* ignoreListOver = nullptr;
  QWidget* printerSettingsOver = nullptr;

  OptionsWindow operations() {
    return {[this] {
              if (soundDevice) {
                soundsEnabled = !soundsEnabled;
              } else {
                ++noDeviceReports;
              }
            },
            [this] { infoOnly = !infoOnly; },
            [this] { return soundsEnabled; },
            [this] { return infoOnly; },
            [this](QWidget* page) { ignoreListOver = page; },
            [this](QWidget* page) { printerSettingsOver = page; },
            [this] { includeHidden = !includeHidden; },
            [this] { return includeHidden; }};
  }
};

class OptionsDialogTest : public ::testing::Test {
 protected:
  void SetUp() override { m_fs.addFolder("C:\\"); }

  std::unique_ptr<OptionsDialog> Open() {
    auto dialog = std::make_unique<OptionsDialog>(&m_settings, SaveOptionsTo(m_fs, kSettingsPath),
                                                  m_window.operations());
    dialog->show();
    return dialog;
  }

  static ClickableLabel* Label(QWidget* dialog, const char* name) {
    auto* label = dialog->findChild<ClickableLabel*>(QString::fromLatin1(name));
    EXPECT_NE(label, nullptr) << name;
    return label;
  }

  static bool Shows(QWidget* dialog, const char* name, Picture picture) {
    return Label(dialog, name)->pixmap().toImage() == PictureOf(picture).toImage();
  }

  static void Click(QWidget* dialog, const char* name) {
    QTest::mouseClick(Label(dialog, name), Qt::LeftButton);
  }

  static constexpr char kSettingsPath[] = "C:\\BV3.Def";
  platform::MemoryFileSystem m_fs;
  engine::SettingsRecord m_settings;
  FakeWindow m_window;
};

TEST_F(OptionsDialogTest, SoundLabelAndPictureFollowTheSwitch) {
  m_window.soundsEnabled = true;
  auto dialog = Open();
  EXPECT_EQ(Label(dialog.get(), "lblSound")->text(), "Turn Sounds Off (Click Here)");
  EXPECT_TRUE(Shows(dialog.get(), "imgSnd", Picture::kSoundOn));

  Click(dialog.get(), "lblSound");
  EXPECT_FALSE(m_window.soundsEnabled);
  EXPECT_EQ(Label(dialog.get(), "lblSound")->text(), "Turn Sounds On (Click Here)");
  EXPECT_TRUE(Shows(dialog.get(), "imgSnd", Picture::kSoundOff));
  EXPECT_EQ(platform::testing::AccessibleName(Label(dialog.get(), "lblSound")),
            "Turn Sounds On (Click Here)");

  // The picture acts as the label; so does Space on the focused label.
  Click(dialog.get(), "imgSnd");
  EXPECT_EQ(Label(dialog.get(), "lblSound")->text(), "Turn Sounds Off (Click Here)");
  EXPECT_TRUE(Shows(dialog.get(), "imgSnd", Picture::kSoundOn));
  Label(dialog.get(), "lblSound")->setFocus();
  QTest::keyClick(Label(dialog.get(), "lblSound"), Qt::Key_Space);
  EXPECT_FALSE(m_window.soundsEnabled);
  EXPECT_TRUE(Shows(dialog.get(), "imgSnd", Picture::kSoundOff));
}

TEST_F(OptionsDialogTest, WithoutASoundDeviceTheLabelStaysAsItWas) {
  m_window.soundDevice = false;
  auto dialog = Open();
  Click(dialog.get(), "lblSound");
  Click(dialog.get(), "imgSnd");
  EXPECT_EQ(m_window.noDeviceReports, 2);
  EXPECT_EQ(Label(dialog.get(), "lblSound")->text(), "Turn Sounds On (Click Here)");
  EXPECT_TRUE(Shows(dialog.get(), "imgSnd", Picture::kSoundOff));
}

TEST_F(OptionsDialogTest, InfoOnlyPictureFollowsTheModeAndTheLabelNeverChanges) {
  auto dialog = Open();
  EXPECT_TRUE(Shows(dialog.get(), "imgInfo", Picture::kInfoOff));
  Click(dialog.get(), "imgInfo");  // the blank picture switches too
  EXPECT_TRUE(m_window.infoOnly);
  EXPECT_TRUE(Shows(dialog.get(), "imgInfo", Picture::kInfoOn));
  Click(dialog.get(), "imgInfo");  // and so does the check mark
  EXPECT_FALSE(m_window.infoOnly);
  Click(dialog.get(), "lblInfoOnly");
  EXPECT_TRUE(m_window.infoOnly);
  EXPECT_TRUE(Shows(dialog.get(), "imgInfo", Picture::kInfoOn));
  EXPECT_EQ(Label(dialog.get(), "lblInfoOnly")->text(), "Next Run is Info Only (Click Here)");

  // Built afresh, the page shows the mode as it is now.
  auto again = Open();
  EXPECT_TRUE(Shows(again.get(), "imgInfo", Picture::kInfoOn));
}

TEST_F(OptionsDialogTest, HiddenFilesPictureFollowsTheSettingAndTheLabelNeverChanges) {
  m_window.includeHidden = true;
  auto dialog = Open();
  const char* caption = "Include Hidden Files and Folders (Click Here)";
  EXPECT_EQ(Label(dialog.get(), "lblHidden")->text(), caption);
  EXPECT_TRUE(Shows(dialog.get(), "imgHidden", Picture::kInfoOn));
  EXPECT_EQ(platform::testing::AccessibleName(Label(dialog.get(), "imgHidden")),
            "Hidden files are included");
  Click(dialog.get(), "lblHidden");
  EXPECT_FALSE(m_window.includeHidden);
  EXPECT_TRUE(Shows(dialog.get(), "imgHidden", Picture::kInfoOff));
  Click(dialog.get(), "imgHidden");  // the picture switches too
  EXPECT_TRUE(m_window.includeHidden);
  EXPECT_TRUE(Shows(dialog.get(), "imgHidden", Picture::kInfoOn));
  EXPECT_EQ(Label(dialog.get(), "lblHidden")->text(), caption);
  // The info-only switch beside it is another one.
  EXPECT_FALSE(m_window.infoOnly);
  EXPECT_TRUE(Shows(dialog.get(), "imgInfo", Picture::kInfoOff));
}

TEST_F(OptionsDialogTest, ReportOptionsAreStoredAtOnceAndClosingAsksNothing) {
  m_settings.ReportFormat = 'Q';
  m_settings.ReportNaming = 'X';
  auto dialog = Open();
  EXPECT_TRUE(dialog->findChild<QRadioButton*>("optText")->isChecked());
  EXPECT_TRUE(dialog->findChild<QRadioButton*>("optTime")->isChecked());
  EXPECT_EQ(dialog->findChild<QRadioButton*>("optTime")->text(), "By Time && Date");
  EXPECT_FALSE(m_fs.exists(kSettingsPath));

  QTest::mouseClick(dialog->findChild<QRadioButton*>("optRtf"), Qt::LeftButton);
  QTest::mouseClick(dialog->findChild<QRadioButton*>("optDrive"), Qt::LeftButton);
  const auto stored = m_fs.contents(kSettingsPath);
  ASSERT_TRUE(stored && stored->size() == engine::kSettingsRecordSize);
  EXPECT_EQ((*stored)[28], 'R');
  EXPECT_EQ((*stored)[29], 'D');
  {
    platform::testing::DialogScript none;  // asks nothing
    dialog->close();
  }
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(m_fs.contents(kSettingsPath), stored);
}

TEST_F(OptionsDialogTest, LinksOpenTheOtherDialogsOverThePage) {
  auto dialog = Open();
  Click(dialog.get(), "lblIgnore");
  EXPECT_EQ(m_window.ignoreListOver, dialog.get());
  EXPECT_EQ(m_window.printerSettingsOver, nullptr);
  Click(dialog.get(), "lblPrintopt");
  EXPECT_EQ(m_window.printerSettingsOver, dialog.get());
  dialog->findChild<QPushButton*>("Command1")->click();
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
}

}  // namespace
}  // namespace dialogs
