// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The window's dialogs and help along a user's path: F1 in every dialog, on the window and
// on a highlighted menu entry; the Options page acting through the window and opening the
// other two dialogs over itself; the About box; the help entries and the web entry.
#include "app/dialog_commands.h"

#include <gtest/gtest.h>

#include <QDesktopServices>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QUrl>

#include "app/commands_test_support.h"
#include "brinvale_version.h"
#include "dialogs/drive_selection_dialog.h"
#include "help/help_topics.h"
#include "help/help_window.h"
#include "help/web_entry.h"

namespace app {
namespace {

using platform::testing::DialogScript;
using testing::CommandsTest;
using testing::FileBytes;

// Stands in for the desktop's browser: the desktop calls openUrl, which a spy records.
class BrowserStandIn : public QObject {
  Q_OBJECT
 signals:
  void openUrl(const QUrl& url);
};

class DialogCommandsTest : public CommandsTest {
 protected:
  // The page the help window shows, without the section.
  QUrl HelpPage() const {
    return m_dialogs->helpWindow()->currentUrl().adjusted(QUrl::RemoveFragment);
  }

  // A dialog action: F1 wherever the focus is in the dialog, then the dialog is closed.
  // Appends the help page shown to `*pages`.
  DialogScript::Action F1ThenClose(QList<QUrl>* pages) const {
    return [this, pages](QWidget* dialog) {
      QWidget* focused = QApplication::focusWidget();
      QTest::keyClick(focused != nullptr && focused->window() == dialog ? focused : dialog,
                      Qt::Key_F1);
      pages->append(m_dialogs->helpWindow()->isVisible() ? HelpPage() : QUrl());
      static_cast<QDialog*>(dialog)->reject();
    };
  }
};

TEST_F(DialogCommandsTest, F1OpensTheTopicOfEachDialogTheWindowAndAHighlightedMenuEntry) {
  MainWindow& window = StartWired();
  ASSERT_FALSE(m_dialogs->helpWindow()->isVisible());

  QList<QUrl> pages;
  {
    DialogScript script;
    script.then("dialogs::OptionsDialog", F1ThenClose(&pages));
    script.then("dialogs::IgnoreListDialog", F1ThenClose(&pages));
    script.then("dialogs::PrinterSettingsDialog", F1ThenClose(&pages));
    script.then("dialogs::AboutDialog", F1ThenClose(&pages));
    script.then("dialogs::FolderDrivesDialog", F1ThenClose(&pages));
    script.then("dialogs::DriveSelectionDialog", F1ThenClose(&pages));
    ClickButton("options");
    Entry("mnuIgnore")->trigger();
    Entry("mnuPrintOptions2")->trigger();
    Entry("mnuAbout")->trigger();
    Entry("mnuFolderDrives")->trigger();
    // A run's first page, as the run shows it over the window.
    std::vector<bool> marks;
    EXPECT_FALSE(dialogs::SelectDrives(
        &window, {"c: [/]"}, &marks, &window.settings(),
        [&window](const engine::SettingsRecord&) { return window.saveOptions(); }));
  }
  EXPECT_EQ(pages, QList<QUrl>({help::TopicUrl(4), help::TopicUrl(6), help::TopicUrl(9),
                                help::TopicUrl(1), help::TopicUrl(14), help::TopicUrl(3)}));
  EXPECT_EQ(help::TopicUrl(14).fileName(), "drives.html");

  // The window itself, once it is active again.
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  window.reportView()->setFocus();
  QTest::keyClick(window.reportView(), Qt::Key_F1);
  EXPECT_EQ(HelpPage(), help::TopicUrl(10));

  // A highlighted menu entry: its own topic, and the menu closes for the help.
  auto* options = window.findChild<QMenu*>(QStringLiteral("mnuOptions"));
  for (const auto& [name, context] : {std::pair{"mnuRecycled", 13}, std::pair{"mnuInfoOnly", 7}}) {
    SCOPED_TRACE(name);
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    options->popup(window.mapToGlobal(QPoint(20, 20)));
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activePopupWidget() == options; }));
    options->setActiveAction(Entry(name));
    QTest::keyClick(options, Qt::Key_F1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !options->isVisible(); }));
    EXPECT_EQ(HelpPage(), help::TopicUrl(context));
  }
  // F1 chose a topic; it switched nothing.
  EXPECT_FALSE(window.infoOnly());
  EXPECT_FALSE(Entry("mnuRecycled")->isChecked());
}

TEST_F(DialogCommandsTest, OptionsPageActsThroughTheWindowAndOpensTheOtherDialogsOverItself) {
  MainWindow& window = StartWired();
  // "&Options" in the menu bar is a menu of its own, never the page.
  ASSERT_NE(Entry("mnuOptions")->menu(), nullptr);

  QWidget* page = nullptr;
  QWidget* ignoreOwner = nullptr;
  QWidget* printerOwner = nullptr;
  QString soundCaption;
  QString infoShown;
  DialogScript script;
  script.then("dialogs::OptionsDialog", [&](QWidget* dialog) {
    page = dialog;
    const auto click = [dialog](const char* name) {
      auto* label = dialog->findChild<QLabel*>(QLatin1String(name));
      ASSERT_NE(label, nullptr) << name;
      QTest::mouseClick(label, Qt::LeftButton);
    };
    // Each switch read back while the other differs, so that neither is mistaken for
    // the other.
    click("imgInfo");
    infoShown = dialog->findChild<QLabel*>(QStringLiteral("imgInfo"))->accessibleName();
    click("lblInfoOnly");
    click("lblSound");
    soundCaption = dialog->findChild<QLabel*>(QStringLiteral("lblSound"))->text();
    click("imgInfo");
    dialog->findChild<QRadioButton*>(QStringLiteral("optRtf"))->click();
    click("lblIgnore");
    click("lblPrintopt");
    dialog->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
  });
  script.then("dialogs::IgnoreListDialog", [&](QWidget* dialog) {
    ignoreOwner = dialog->parentWidget();
    static_cast<QDialog*>(dialog)->reject();
  });
  script.then("dialogs::PrinterSettingsDialog", [&](QWidget* dialog) {
    printerOwner = dialog->parentWidget();
    static_cast<QDialog*>(dialog)->reject();
  });
  ClickButton("options");
  EXPECT_TRUE(script.done());

  // The sound switch is the window's: on, stored, the start cue played, the page's label
  // offering the opposite.
  EXPECT_TRUE(window.soundsEnabled());
  EXPECT_EQ(window.settings().SoundOn, 1);
  EXPECT_TRUE(m_sound.played.contains(QStringLiteral("intro")));
  EXPECT_EQ(soundCaption, QStringLiteral("Turn Sounds Off (Click Here)"));
  EXPECT_EQ(Entry("mnuSound")->text(), QString(kSoundsOnCaption));
  // The info-only switch is the window's, check mark included, and is not stored.
  EXPECT_EQ(infoShown, QStringLiteral("Next run is info only"));
  EXPECT_TRUE(window.infoOnly());
  EXPECT_TRUE(Entry("mnuInfoOnly")->isChecked());
  // The report format went to the window's settings file at once.
  EXPECT_EQ(engine::DecodeSettings(FileBytes(folder() + "BV3.Def").toStdString()).ReportFormat,
            'R');
  // Both links open their dialogs over the page, not over the window.
  EXPECT_NE(page, nullptr);
  EXPECT_EQ(ignoreOwner, page);
  EXPECT_EQ(printerOwner, page);
}

TEST_F(DialogCommandsTest, HiddenFilesAreSwitchedByThePageAndTheMenuAlikeAndStoredAtOnce) {
  // A settings file the user keeps notes in: only the one key changes.
  ASSERT_TRUE(testing::WriteBytes(folder() + "brinvale.conf", "# mine\n[history]\ndepth = 5\n"));
  MainWindow& window = StartWired();
  QAction* menuEntry = Entry("mnuHidden");
  ASSERT_NE(menuEntry, nullptr);
  EXPECT_FALSE(menuEntry->isChecked());

  QString shown;
  {
    DialogScript script;
    script.then("dialogs::OptionsDialog", [&](QWidget* dialog) {
      auto* label = dialog->findChild<QLabel*>(QStringLiteral("lblHidden"));
      ASSERT_NE(label, nullptr);
      EXPECT_EQ(label->text(), QStringLiteral("Include Hidden Files and Folders (Click Here)"));
      QTest::mouseClick(label, Qt::LeftButton);
      shown = dialog->findChild<QLabel*>(QStringLiteral("imgHidden"))->accessibleName();
      dialog->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    });
    ClickButton("options");
  }
  EXPECT_EQ(shown, QStringLiteral("Hidden files are included"));
  EXPECT_TRUE(window.includeHidden());
  EXPECT_TRUE(menuEntry->isChecked());
  EXPECT_FALSE(window.infoOnly());
  EXPECT_EQ(FileBytes(folder() + "brinvale.conf"),
            "# mine\n[history]\ndepth = 5\n\n[scan]\nhidden = true\n");

  // The next start reads it back; the menu entry switches it off again.
  m_dialogs.reset();
  m_reports.reset();
  m_window.reset();
  MainWindow& again = StartWired();
  EXPECT_TRUE(again.includeHidden());
  EXPECT_TRUE(Entry("mnuHidden")->isChecked());
  EXPECT_EQ(again.statusMessage(), QString());
  Entry("mnuHidden")->trigger();
  EXPECT_FALSE(again.includeHidden());
  EXPECT_FALSE(Entry("mnuHidden")->isChecked());
  EXPECT_EQ(FileBytes(folder() + "brinvale.conf"),
            "# mine\n[history]\ndepth = 5\n\n[scan]\nhidden = false\n");
}

TEST_F(DialogCommandsTest, ABadLineOfTheSettingsFileIsToldOnceAndItsDefaultsHold) {
  ASSERT_TRUE(testing::WriteBytes(folder() + "brinvale.conf", "[scan]\nhidden = on\n"));
  MainWindow& window = StartWired();
  EXPECT_FALSE(window.includeHidden());
  EXPECT_FALSE(Entry("mnuHidden")->isChecked());
  EXPECT_EQ(window.statusMessage(),
            folder() +
                "brinvale.conf, line 2: hidden must be true or false, not \"on\"; the "
                "default settings are used.");
}

TEST_F(DialogCommandsTest, AboutShowsTheVersionAndTheHelpEntriesOpenTheirPages) {
  StartWired();
  QString title;
  QString caption;
  {
    DialogScript script;
    script.then("dialogs::AboutDialog", [&](QWidget* dialog) {
      caption = dialog->windowTitle();
      title = dialog->findChild<QLabel*>(QStringLiteral("lblTitle"))->text();
      dialog->findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
    });
    Entry("mnuAbout")->trigger();
  }
  EXPECT_EQ(caption, QStringLiteral("About Brinvale"));
  EXPECT_EQ(title, QStringLiteral("Brinvale, Version " BRINVALE_VERSION));

  // The toolbar's help and "&Contents" are F1 on the window; "&Index" is the contents.
  help::HelpWindow* help = m_dialogs->helpWindow();
  ClickButton("help");
  EXPECT_TRUE(help->isVisible());
  EXPECT_EQ(HelpPage(), help::TopicUrl(10));
  Entry("mnuHelpIndex")->trigger();
  EXPECT_EQ(HelpPage(), help::ContentsUrl());
  Entry("mnuHelpContents")->trigger();
  EXPECT_EQ(HelpPage(), help::TopicUrl(10));

  // The web entry goes to the desktop's browser; while the project has no page, to the
  // help's contents instead.
  BrowserStandIn browser;
  QSignalSpy opened(&browser, &BrowserStandIn::openUrl);
  for (const char* scheme : {"http", "https"}) {
    QDesktopServices::setUrlHandler(QLatin1String(scheme), &browser, "openUrl");
  }
  Entry("mnuOnline")->trigger();
  for (const char* scheme : {"http", "https"}) {
    QDesktopServices::unsetUrlHandler(QLatin1String(scheme));
  }
  if (QString(help::kProjectWebAddress).isEmpty()) {
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_EQ(HelpPage(), help::ContentsUrl());
  } else {
    ASSERT_EQ(opened.size(), 1);
    EXPECT_TRUE(opened[0][0].toUrl().toString().contains(QString(help::kProjectWebAddress)));
  }
}

}  // namespace
}  // namespace app

#include "dialog_commands_test.moc"
