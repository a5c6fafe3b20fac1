// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The main window along a user's path: start-up, typing, saving, closing, the run's modes,
// the switches, on a temporary program folder with the real disk and a recording sound.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QStatusTipEvent>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QToolBar>

#include "app/window_test_support.h"
#include "engine/change_report.h"
#include "platform/testing/fixed_locale.h"
#include "reports/report_file.h"

namespace app {
namespace {

using platform::testing::DialogScript;
using platform::testing::MessageSeen;
using platform::testing::Press;
using testing::ChooseName;
using testing::Click;
using testing::FileBytes;
using testing::FileDialogSeen;
using testing::ProgressBar;
using testing::ProgressLabel;
using testing::RecordingSound;
using testing::ToolbarButton;
using testing::WindowTest;
using testing::WriteBytes;

QAction* Entry(MainWindow& window, const char* name) {
  return window.findChild<QAction*>(QLatin1String(name));
}

void Type(MainWindow& window, const QString& text) {
  window.reportView()->setFocus();
  QTest::keyClicks(window.reportView(), text);
}

QByteArray StartUpDocument() {
  QFile resource(QStringLiteral(":/startup.rtf"));
  return resource.open(QIODevice::ReadOnly) ? resource.readAll() : QByteArray();
}

// --- Start-up ---

TEST_F(WindowTest, FirstStartMakesItsFilesAndShowsTheStartUpDocument) {
  auto window = Start();
  EXPECT_TRUE(QDir(reports()).exists());
  EXPECT_EQ(FileBytes(folder() + "BV3.Def"), QByteArray(""));
  const QByteArray document = StartUpDocument();
  ASSERT_TRUE(document.startsWith("{\\rtf"));
  EXPECT_EQ(FileBytes(folder() + "temp.rtf"), document + "\r\n");
  EXPECT_EQ(window->currentFile(), folder() + "temp.rtf");
  EXPECT_TRUE(window->reportView()->toPlainText().startsWith("Welcome to Brinvale"));
  EXPECT_FALSE(window->reportChanged());
  EXPECT_FALSE(ProgressLabel(*window)->isVisible());
  EXPECT_FALSE(ProgressBar(*window)->isVisible());

  // Before any run, open or keystroke the menu's report commands wait; the toolbar's work.
  EXPECT_FALSE(Entry(*window, "mnuSave")->isEnabled());
  EXPECT_FALSE(Entry(*window, "mnuSaveAs")->isEnabled());
  EXPECT_FALSE(Entry(*window, "mnuPrint")->isEnabled());
  EXPECT_TRUE(ToolbarButton(*window, "save")->isEnabled());
  EXPECT_TRUE(ToolbarButton(*window, "print")->isEnabled());
  EXPECT_TRUE(m_sound.played.isEmpty());  // SoundOn is 0 in a new settings file

  // A second window on the same program folder is refused.
  {
    auto second = MakeWindow();
    MessageSeen seen;
    DialogScript script;
    script.then("QMessageBox", Press(QMessageBox::Ok, &seen));
    EXPECT_FALSE(second->load());
    EXPECT_EQ(seen.text, QStringLiteral("Brinvale is already open for this program folder."));
  }

  // Closing without a change asks nothing and removes the work file; then a new start works.
  EXPECT_TRUE(window->close());
  EXPECT_FALSE(QFile::exists(folder() + "temp.rtf"));
  EXPECT_TRUE(QDir(reports()).exists());
  window.reset();
  window = Start();
  EXPECT_TRUE(QFile::exists(folder() + "temp.rtf"));
}

// The colour of the first line of `document` that begins with `start`; black when there is
// no such line, which the comparisons below then tell.
QColor ColourOfLine(const QTextDocument& document, const QString& start) {
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    if (block.text().startsWith(start) && block.begin() != block.end()) {
      return block.begin().fragment().charFormat().foreground().color();
    }
  }
  ADD_FAILURE() << "no line begins with " << start.toStdString();
  return {};
}

TEST_F(WindowTest, TheWelcomePageShowsEachKindOfLineInTheColourReportsUse) {
  // A report as a run composes it, read back as the view reads it.
  {
    auto file = m_fs.openForReplacing((folder() + "report.rtf").toStdString());
    ASSERT_TRUE(file.isOk());
    const platform::FixedLocale locale;
    auto sink = engine::NewRtfReportSink(file.value().get());
    engine::ChangeReport report(sink.get(), locale);
    ASSERT_TRUE(report.startDrive("c: [/]", "3/1/26 9:00:00 AM", true).isOk());
    ASSERT_TRUE(report.writeFolderHeader("/home/").isOk());
    ASSERT_TRUE(report.added("new.txt", 10).isOk());
    ASSERT_TRUE(report.deleted("old.txt", 10).isOk());
    ASSERT_TRUE(report.grew("log.txt", 10, 20).isOk());
    ASSERT_TRUE(report.shrunk("cut.txt", 20, 10).isOk());
    ASSERT_TRUE(
        report.timeChanged("touched.txt", {2026, 3, 1, 9, 0, 0}, {2026, 3, 2, 9, 0, 0}).isOk());
    ASSERT_TRUE(report.writeTotals(10, 10, 0).isOk());
    ASSERT_TRUE(report.writeClosing().isOk());
    ASSERT_TRUE(file.value()->commit().isOk());
  }
  QTextDocument report;
  ASSERT_TRUE(reports::LoadReportFile(m_fs, folder() + "report.rtf", &report).isOk());

  auto window = Start();
  const QTextDocument& welcome = *window->reportView()->document();
  const struct {
    const char* welcomeLine;
    const char* reportLine;
  } kKinds[] = {
      {"Added files are navy", "   Added new.txt"},
      {"deleted files green", "   Deleted old.txt"},
      {"files that grew or shrank maroon", "   log.txt  Grew"},
      {"files that grew or shrank maroon", "   cut.txt  Shrunk"},
      {"files whose time changed olive", "   touched.txt: Time Changed"},
      {"the total of deleted files red", "Total of Files Deleted"},
      {"and the headings", "Disk Activity on"},
      {"and the headings", "In /home/"},
      {"and the headings", "Total of Files Added"},
  };
  for (const auto& kind : kKinds) {
    SCOPED_TRACE(kind.reportLine);
    EXPECT_EQ(ColourOfLine(welcome, kind.welcomeLine), ColourOfLine(report, kind.reportLine));
  }
  EXPECT_EQ(ColourOfLine(welcome, "Added files are navy"), QColor(0, 0, 128));
  // And it tells how to watch a folder as a drive.
  EXPECT_TRUE(welcome.toPlainText().contains("Options, Folders Watched as Drives..."));
}

TEST_F(WindowTest, StartUpEndsWithOneMessageWhenTheReportsFolderCannotBeMade) {
  ASSERT_TRUE(WriteBytes(folder() + "Reports", "a file in the folder's place"));
  auto window = MakeWindow();
  MessageSeen seen;
  DialogScript script;
  script.then("QMessageBox", Press(QMessageBox::Ok, &seen));
  EXPECT_FALSE(window->load());
  EXPECT_EQ(seen.icon, QMessageBox::Critical);
  EXPECT_TRUE(seen.text.startsWith("Brinvale cannot start")) << seen.text.toStdString();
  EXPECT_TRUE(seen.text.contains(folder() + "Reports/")) << seen.text.toStdString();
  EXPECT_TRUE(seen.text.contains("not a folder")) << seen.text.toStdString();
  EXPECT_FALSE(QFile::exists(folder() + "temp.rtf"));
}

// temp.rtf cannot be written (a folder has its name): the load step reports the failure
// with the system's error number and the window opens without a document, so Save has
// nothing to save, and after typing it asks for a name without offering an extension.
TEST_F(WindowTest, WindowOpensAfterALoadFailureAndSavesWhatIsTypedUnderAChosenName) {
  ASSERT_TRUE(QDir().mkpath(folder() + "temp.rtf"));
  auto window = MakeWindow();
  {
    MessageSeen seen;
    DialogScript script;
    script.then("QMessageBox", Press(QMessageBox::Ok, &seen));
    EXPECT_TRUE(window->load());
    EXPECT_TRUE(seen.text.startsWith("Error #21 ")) << seen.text.toStdString();
    EXPECT_TRUE(seen.text.endsWith(" called from load")) << seen.text.toStdString();
    EXPECT_TRUE(seen.text.contains("temp.rtf")) << seen.text.toStdString();
    EXPECT_EQ(seen.buttons, QMessageBox::Ok);
  }
  window->show();
  EXPECT_TRUE(window->currentFile().isEmpty());
  EXPECT_TRUE(window->reportView()->toPlainText().isEmpty());

  {
    MessageSeen seen;
    DialogScript script;
    script.then("QMessageBox", Press(QMessageBox::Ok, &seen));
    EXPECT_FALSE(window->save());
    EXPECT_EQ(seen.text, QStringLiteral("There does not apear to be anything to save yet"));
    EXPECT_EQ(seen.icon, QMessageBox::Information);
  }

  Type(*window, "kept");
  FileDialogSeen dialog;
  DialogScript script;
  script.then("QFileDialog", ChooseName("Report", {}, &dialog));
  EXPECT_TRUE(window->save());
  EXPECT_TRUE(dialog.defaultSuffix.isEmpty());
  EXPECT_EQ(dialog.selectedFilter, QStringLiteral("Plain Text (*.txt)"));
  EXPECT_EQ(FileBytes(reports() + "Report"), QByteArray("kept\r\n"));
  EXPECT_EQ(window->currentFile(), reports() + "Report");
}

// A failure that is not a system call's own still shows the nearest system error number:
// BV3.Def as a folder reads as EISDIR, an oversized one as EINVAL. Never "Error #0".
TEST_F(WindowTest, ASettingsFileThatCannotBeReadShowsTheNearestSystemErrorNumber) {
  ASSERT_TRUE(QDir().mkpath(folder() + "BV3.Def"));
  {
    auto window = MakeWindow();
    MessageSeen seen;
    DialogScript script;
    script.then("QMessageBox", Press(QMessageBox::Ok, &seen));
    EXPECT_TRUE(window->load());
    EXPECT_EQ(seen.text,
              QStringLiteral("Error #21 %1BV3.Def: Is a directory called from load").arg(folder()));
  }
  ASSERT_TRUE(QDir(folder()).rmdir("BV3.Def"));
  ASSERT_TRUE(WriteBytes(folder() + "BV3.Def", QByteArray(2 * 1024 * 1024, 'x')));
  auto window = MakeWindow();
  MessageSeen seen;
  DialogScript script;
  script.then("QMessageBox", Press(QMessageBox::Ok, &seen));
  EXPECT_TRUE(window->load());
  EXPECT_TRUE(seen.text.startsWith("Error #22 ")) << seen.text.toStdString();
  EXPECT_TRUE(seen.text.endsWith(" called from load")) << seen.text.toStdString();
}

// --- Sound ---

TEST_F(WindowTest, SoundMenuShowsEachOfItsThreeStates) {
  struct Case {
    bool device;
    char soundOn;
    const char* caption;
    bool enabled;
    bool introAtStart;
  };
  const Case kCases[] = {
      {true, 1, "Turn Off &Sounds", true, true},
      {true, 0, "Turn &Sounds On", true, false},
      {false, 1, "Soundcard not Found", false, false},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.caption);
    ASSERT_TRUE(WriteBytes(folder() + "BV3.Def", QByteArray(1, c.soundOn)));
    RecordingSound sound(c.device);
    auto window = Start(&sound);
    QAction* mnuSound = Entry(*window, "mnuSound");
    EXPECT_EQ(mnuSound->text(), QLatin1String(c.caption));
    EXPECT_EQ(mnuSound->isEnabled(), c.enabled);
    EXPECT_EQ(sound.played, c.introAtStart ? QStringList{"intro"} : QStringList{});
    EXPECT_EQ(window->play("start").has_value(), c.introAtStart);

    // The switch, twice: each time the caption follows and SoundOn is stored.
    sound.played.clear();
    if (c.device) {
      mnuSound->trigger();
      const bool on = c.soundOn == 0;
      EXPECT_EQ(mnuSound->text(),
                on ? QStringLiteral("Turn Off &Sounds") : QStringLiteral("Turn &Sounds On"));
      EXPECT_EQ(FileBytes(folder() + "BV3.Def").at(0), on ? 1 : 0);
      EXPECT_EQ(sound.played, on ? QStringList{"intro"} : QStringList{});
      EXPECT_EQ(FileBytes(folder() + "BV3.Def").size(), 33);
      window->toggleSound();
      EXPECT_EQ(mnuSound->text(), QLatin1String(c.caption));
      EXPECT_EQ(FileBytes(folder() + "BV3.Def").at(0), c.soundOn);
    } else {
      MessageSeen seen;
      DialogScript script;
      script.then("QMessageBox", Press(QMessageBox::Ok, &seen));
      window->toggleSound();
      EXPECT_EQ(seen.text, QStringLiteral("Compatible Soundcard Not Detected"));
      EXPECT_EQ(seen.icon, QMessageBox::Warning);
      EXPECT_EQ(FileBytes(folder() + "BV3.Def"), QByteArray(1, 1));  // the choice survives
      EXPECT_TRUE(sound.played.isEmpty());
    }
    window->close();
  }
}

// --- Editing ---

TEST_F(WindowTest, EveryKindOfEditMarksTheReportChanged) {
  auto window = Start();
  ReportView* rtf1 = window->reportView();
  rtf1->setFocus();

  Type(*window, "x");
  EXPECT_TRUE(window->reportChanged());
  EXPECT_TRUE(Entry(*window, "mnuSave")->isEnabled());
  EXPECT_TRUE(Entry(*window, "mnuSaveAs")->isEnabled());
  EXPECT_TRUE(Entry(*window, "mnuPrint")->isEnabled());

  const auto changedBy = [&](const std::function<void()>& edit) {
    window->clearReportChanged();
    edit();
    return window->reportChanged();
  };
  rtf1->moveCursor(QTextCursor::Start);
  EXPECT_TRUE(changedBy([&] { QTest::keyClick(rtf1, Qt::Key_Delete); }));
  EXPECT_TRUE(changedBy([&] { QTest::keyClick(rtf1, Qt::Key_Return); }));
  EXPECT_TRUE(changedBy([&] { QTest::keyClick(rtf1, Qt::Key_Backspace); }));
  QApplication::clipboard()->setText(QStringLiteral("pasted"));
  EXPECT_TRUE(changedBy([&] { QTest::keyClick(rtf1, Qt::Key_V, Qt::ControlModifier); }));
  EXPECT_TRUE(rtf1->toPlainText().contains("pasted"));
  EXPECT_TRUE(changedBy([&] { QTest::keyClick(rtf1, Qt::Key_Z, Qt::ControlModifier); }));
  EXPECT_TRUE(changedBy([&] {
    rtf1->selectAll();
    QTest::keyClick(rtf1, Qt::Key_X, Qt::ControlModifier);
  }));
  EXPECT_TRUE(rtf1->toPlainText().isEmpty());

  // Moving about and loading are not changes, and nothing disables the commands again.
  window->clearReportChanged();
  QTest::keyClick(rtf1, Qt::Key_Up);
  QTest::keyClick(rtf1, Qt::Key_End);
  ASSERT_TRUE(window->loadReport(folder() + "temp.rtf").isOk());
  EXPECT_FALSE(window->reportChanged());
  EXPECT_TRUE(Entry(*window, "mnuSave")->isEnabled());
  // Nor can undo reach back past a load.
  QTest::keyClick(rtf1, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_FALSE(window->reportChanged());
  EXPECT_TRUE(rtf1->toPlainText().startsWith("Welcome to Brinvale"));
}

// --- Save and Save As ---

TEST_F(WindowTest, SaveAndSaveAsNameAndFormatTheirFiles) {
  auto window = Start();
  Type(*window, "A");

  // Save of the start-up document asks for a name: temp.rtf is deleted on closing.
  {
    FileDialogSeen dialog;
    DialogScript script;
    script.then("QFileDialog", ChooseName("Summary", "Rich", &dialog));
    EXPECT_TRUE(window->save());
    EXPECT_EQ(dialog.title, QStringLiteral("Select Name for Report File"));
    EXPECT_EQ(dialog.directory + '/', reports());
    EXPECT_EQ(dialog.filterCaptions,
              QStringList({"Rich Format Report (*.rtf)", "Plain Text (*.txt)", "Other"}));
    EXPECT_EQ(dialog.selectedFilter, QStringLiteral("Rich Format Report (*.rtf)"));
    EXPECT_EQ(dialog.defaultSuffix, QStringLiteral("rtf"));
  }
  EXPECT_TRUE(FileBytes(reports() + "Summary.rtf").startsWith("{\\rtf"));
  EXPECT_EQ(window->currentFile(), reports() + "Summary.rtf");
  EXPECT_FALSE(window->reportChanged());
  EXPECT_TRUE(FileBytes(folder() + "temp.rtf").startsWith(StartUpDocument()));

  // A name with ".rtf" in any case is rich text; the next dialog offers that extension.
  {
    DialogScript script;
    script.then("QFileDialog", ChooseName("Report.RTF"));
    EXPECT_TRUE(window->saveAs());
  }
  EXPECT_TRUE(FileBytes(reports() + "Report.RTF").startsWith("{\\rtf"));

  // Any other name is plain text, and the view shows what the file holds.
  {
    FileDialogSeen dialog;
    DialogScript script;
    script.then("QFileDialog", ChooseName("Report.txt", "Plain", &dialog));
    EXPECT_TRUE(window->saveAs());
    EXPECT_EQ(dialog.defaultSuffix, QStringLiteral("RTF"));
    EXPECT_EQ(dialog.selectedFilter, QStringLiteral("Rich Format Report (*.rtf)"));
  }
  const QByteArray plain = FileBytes(reports() + "Report.txt");
  EXPECT_TRUE(plain.startsWith("AWelcome to Brinvale\r\n")) << plain.left(40).toStdString();
  EXPECT_EQ(window->currentFile(), reports() + "Report.txt");

  // Save writes the current file back in its format.
  Type(*window, "B");
  EXPECT_TRUE(window->save());
  EXPECT_TRUE(FileBytes(reports() + "Report.txt").startsWith("BAWelcome"));
  EXPECT_FALSE(window->reportChanged());

  // A cancelled dialog changes nothing.
  Type(*window, "C");
  {
    DialogScript script;
    script.then("QFileDialog", ChooseName(QString()));
    EXPECT_FALSE(window->saveAs());
  }
  EXPECT_TRUE(window->reportChanged());
  EXPECT_EQ(window->currentFile(), reports() + "Report.txt");
  EXPECT_TRUE(FileBytes(reports() + "Report.txt").startsWith("BAWelcome"));

  // An existing name is replaced only after the user agrees.
  {
    MessageSeen seen;
    DialogScript script;
    script.then("QFileDialog", ChooseName("Summary.rtf"))
        .then("QMessageBox", Press(QMessageBox::Yes, &seen));
    EXPECT_TRUE(window->saveAs());
    EXPECT_TRUE(seen.text.contains("already exists")) << seen.text.toStdString();
  }
  EXPECT_TRUE(FileBytes(reports() + "Summary.rtf").startsWith("{\\rtf"));
  EXPECT_TRUE(FileBytes(reports() + "Summary.rtf").contains("BCAWelcome"));
  EXPECT_FALSE(window->reportChanged());
}

TEST_F(WindowTest, AFailedSaveShowsWhyAndLosesNothing) {
  auto window = Start();
  ASSERT_TRUE(QDir().mkpath(folder() + "Gone"));
  ASSERT_TRUE(
      window->saveReport(folder() + "Gone/Report.txt", reports::ReportFormat::kPlainText).isOk());
  ASSERT_TRUE(QDir(folder() + "Gone").removeRecursively());
  Type(*window, "typed");
  const QString text = window->reportView()->toPlainText();

  MessageSeen seen;
  DialogScript script;
  script.then("QMessageBox", Press(QMessageBox::Ok, &seen));
  EXPECT_FALSE(window->save());
  EXPECT_TRUE(seen.text.startsWith("2 Error Called from mnuOpen\n")) << seen.text.toStdString();
  EXPECT_TRUE(seen.text.contains(folder() + "Gone/Report.txt")) << seen.text.toStdString();
  EXPECT_EQ(window->reportView()->toPlainText(), text);
  EXPECT_TRUE(window->reportChanged());
  EXPECT_EQ(window->currentFile(), folder() + "Gone/Report.txt");
}

// --- Closing ---

TEST_F(WindowTest, ClosingAsksAboutChangesFromTheCloseBoxAndFromQuit) {
  struct Case {
    bool byQuit;
    QMessageBox::StandardButton answer;
    const char* saveAs;  // the name given when the answer is Yes
    bool closes;
  };
  const Case kCases[] = {
      {false, QMessageBox::Cancel, nullptr, false},
      {false, QMessageBox::No, nullptr, true},
      {false, QMessageBox::Yes, "ByCloseBox.txt", true},
      {true, QMessageBox::Cancel, nullptr, false},
      {true, QMessageBox::No, nullptr, true},
      {true, QMessageBox::Yes, "ByQuit.rtf", true},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(std::string(c.byQuit ? "Quit, " : "close box, ") + std::to_string(int(c.answer)));
    auto window = Start();
    Type(*window, "edit");
    MessageSeen seen;
    {
      DialogScript script;
      script.then("QMessageBox", Press(c.answer, &seen));
      if (c.saveAs != nullptr) script.then("QFileDialog", ChooseName(c.saveAs));
      if (c.byQuit) {
        Click(*window, "quit");
      } else {
        window->close();
      }
      EXPECT_TRUE(QTest::qWaitFor([&] { return script.done(); }, 5000));
    }
    EXPECT_EQ(seen.title, QStringLiteral("Save Report?"));
    EXPECT_EQ(seen.text, QStringLiteral("Save Changes to this Report?"));
    EXPECT_EQ(seen.icon, QMessageBox::Question);
    EXPECT_EQ(seen.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_EQ(window->isVisible(), !c.closes);
    EXPECT_EQ(QFile::exists(folder() + "temp.rtf"), !c.closes);
    if (c.saveAs != nullptr) {
      EXPECT_TRUE(FileBytes(reports() + c.saveAs).contains("editWelcome"));
    }
    if (!c.closes) {
      // The edits are still there, and closing again asks again.
      EXPECT_TRUE(window->reportView()->toPlainText().startsWith("editWelcome"));
      DialogScript script;
      script.then("QMessageBox", Press(QMessageBox::No));
      EXPECT_TRUE(window->close());
    }
  }
}

TEST_F(WindowTest, ClosingStaysOpenWhenTheSaveItAskedForDoesNotHappen) {
  auto window = Start();
  Type(*window, "edit");
  DialogScript script;
  script.then("QMessageBox", Press(QMessageBox::Yes)).then("QFileDialog", ChooseName(QString()));
  EXPECT_FALSE(window->close());
  EXPECT_TRUE(window->isVisible());
  EXPECT_TRUE(window->reportChanged());
}

// --- The run's modes and the switches ---

TEST_F(WindowTest, CancelModeLeavesOnlyCancelAndHelpAndCancelsTheRun) {
  ASSERT_TRUE(WriteBytes(folder() + "BV3.Def", QByteArray(1, 1)));  // sounds on
  auto window = Start();
  int cancels = 0;
  MainWindowCommands commands;
  commands.cancelRun = [&] { ++cancels; };
  commands.findChanges = [] {};
  commands.helpContents = [] {};
  window->setCommands(commands);
  QAction* quit = ToolbarButton(*window, "quit");
  const QImage quitPicture = quit->icon().pixmap(32).toImage();

  window->enterCancelMode();
  window->showProgress({QStringLiteral("Profiling"), true, 10, 5, true});
  EXPECT_EQ(quit->text(), QStringLiteral("Cancel"));
  EXPECT_TRUE(quit->isEnabled());
  EXPECT_TRUE(quit->icon().pixmap(32).toImage() != quitPicture);
  for (QAction* a : window->findChild<QToolBar*>(QStringLiteral("tlb1"))->actions()) {
    if (a != quit && !a->isSeparator()) {
      EXPECT_FALSE(a->isEnabled()) << a->text().toStdString();
    }
  }
  const QList<QAction*> menus = window->menuBar()->actions();
  EXPECT_FALSE(menus.at(0)->isEnabled());
  EXPECT_FALSE(menus.at(1)->isEnabled());
  EXPECT_TRUE(menus.at(2)->isEnabled());

  m_sound.played.clear();
  Click(*window, "quit");
  EXPECT_EQ(cancels, 1);
  EXPECT_EQ(m_sound.played, QStringList{"cxl"});
  EXPECT_FALSE(ProgressLabel(*window)->isVisible());
  EXPECT_FALSE(ProgressBar(*window)->isVisible());
  EXPECT_TRUE(window->isVisible());
  // The close box during a run cancels it too, and the window stays.
  EXPECT_FALSE(window->close());
  EXPECT_EQ(cancels, 2);

  window->leaveCancelMode();
  EXPECT_EQ(quit->text(), QStringLiteral("&Quit"));
  EXPECT_TRUE(quit->icon().pixmap(32).toImage() == quitPicture);
  EXPECT_TRUE(ToolbarButton(*window, "find")->isEnabled());
  EXPECT_TRUE(ToolbarButton(*window, "save")->isEnabled());
  EXPECT_FALSE(ToolbarButton(*window, "open")->isEnabled());  // not wired
  EXPECT_TRUE(menus.at(0)->isEnabled());
  EXPECT_TRUE(menus.at(1)->isEnabled());
  EXPECT_TRUE(window->close());
  EXPECT_EQ(cancels, 2);
}

TEST_F(WindowTest, ToolbarKeysAndMenuEntriesReachTheirCommands) {
  auto window = Start();
  QStringList calls;
  const auto record = [&calls](const char* name) {
    return [&calls, name] { calls.append(QLatin1String(name)); };
  };
  MainWindowCommands c;
  c.findChanges = record("find");
  c.showOptions = record("options");
  c.openReport = record("open");
  c.printReport = record("print");
  c.printingOptions = record("printing");
  c.editIgnoreList = record("ignore");
  c.showAbout = record("about");
  c.helpContents = record("contents");
  c.helpIndex = record("index");
  c.openWebPage = record("web");
  window->setCommands(c);

  for (const char* key : {"find", "options", "open", "print", "help"}) Click(*window, key);
  EXPECT_EQ(calls, QStringList({"find", "options", "open", "print", "contents"}));
  calls.clear();
  for (const char* name : {"mnuCreate", "mnuOpen", "mnuPrintSel", "mnuIgnore", "mnuPrintOptions2",
                           "mnuHelpContents", "mnuHelpIndex", "mnuAbout", "mnuOnline"}) {
    ASSERT_TRUE(Entry(*window, name)->isEnabled()) << name;
    Entry(*window, name)->trigger();
  }
  EXPECT_EQ(calls, QStringList({"find", "open", "printing", "ignore", "printing", "contents",
                                "index", "about", "web"}));

  // Keys compare ignoring case; an unknown key does nothing.
  calls.clear();
  QAction other;
  other.setProperty("key", QStringLiteral("FIND"));
  window->runToolbarButton(&other);
  other.setProperty("key", QStringLiteral("finder"));
  window->runToolbarButton(&other);
  EXPECT_EQ(calls, QStringList{"find"});
}

// Presses `keys` on the window as the keyboard delivers them: shortcut override first. The
// window becomes the active one first, as it is again for a user once a dialog has closed.
void Press(MainWindow& window, const QKeySequence& keys) {
  if (!window.isActiveWindow()) {
    window.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
  }
  QTest::keySequence(window.windowHandle(), keys);
}

TEST_F(WindowTest, StandardKeysReachTheCommandsOfTheirEntriesAndQuitFollowsTheToolbar) {
  auto window = Start();
  QStringList calls;
  int cancels = 0;
  MainWindowCommands c;
  c.findChanges = [&calls] { calls.append("find"); };
  c.openReport = [&calls] { calls.append("open"); };
  c.printReport = [&calls] { calls.append("print"); };
  c.cancelRun = [&cancels] { ++cancels; };
  window->setCommands(c);
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));

  const struct {
    const char* entry;
    QKeySequence key;
  } kShown[] = {{"mnuCreate", QKeySequence(Qt::Key_F5)},
                {"mnuOpen", QKeySequence(Qt::CTRL | Qt::Key_O)},
                {"mnuSave", QKeySequence(Qt::CTRL | Qt::Key_S)},
                {"mnuSaveAs", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)},
                {"mnuPrint", QKeySequence(Qt::CTRL | Qt::Key_P)}};
  for (const auto& shown : kShown) {
    EXPECT_EQ(Entry(*window, shown.entry)->shortcut(), shown.key) << shown.entry;
  }

  // Save, Save As and Print wait, greyed out, for a run, an open or a keystroke: so do their
  // keys. Find 'em and Open answer at once.
  {
    DialogScript nothing;  // any dialog would fail the test
    Press(*window, QKeySequence(Qt::CTRL | Qt::Key_S));
    Press(*window, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    Press(*window, QKeySequence(Qt::CTRL | Qt::Key_P));
    Press(*window, QKeySequence(Qt::Key_F5));
    Press(*window, QKeySequence(Qt::CTRL | Qt::Key_O));
    QTest::qWait(50);
  }
  EXPECT_EQ(calls, QStringList({"find", "open"}));

  // After typing, Find 'em by its key asks about the changes first, as the toolbar does.
  Type(*window, "note");
  calls.clear();
  MessageSeen asked;
  {
    DialogScript script;
    script.then("QMessageBox", Press(QMessageBox::Cancel, &asked));
    Press(*window, QKeySequence(Qt::Key_F5));
    EXPECT_TRUE(QTest::qWaitFor([&] { return script.done(); }, 5000));
  }
  EXPECT_EQ(asked.text, QStringLiteral("Save Changes to this Report?"));
  EXPECT_TRUE(calls.isEmpty());
  Press(*window, QKeySequence(Qt::CTRL | Qt::Key_P));
  EXPECT_EQ(calls, QStringList{"print"});

  // Ctrl+S on the work file asks for a name, as Save does; Ctrl+Shift+S always asks.
  {
    DialogScript script;
    script.then("QFileDialog", ChooseName(QString()))
        .then("QFileDialog", ChooseName(QStringLiteral("ByKey.rtf")));
    Press(*window, QKeySequence(Qt::CTRL | Qt::Key_S));
    Press(*window, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    EXPECT_TRUE(QTest::qWaitFor([&] { return script.done(); }, 5000));
  }
  EXPECT_TRUE(FileBytes(reports() + "ByKey.rtf").contains("noteWelcome"));
  EXPECT_EQ(window->currentFile(), reports() + "ByKey.rtf");
  // Now the report has a file of its own: Ctrl+S writes it without a question.
  Type(*window, "more ");
  {
    DialogScript nothing;
    Press(*window, QKeySequence(Qt::CTRL | Qt::Key_S));
  }
  EXPECT_TRUE(FileBytes(reports() + "ByKey.rtf").contains("more noteWelcome"));
  EXPECT_FALSE(window->reportChanged());

  // During a run only Cancel works: the menu keys do nothing, Ctrl+Q cancels and the
  // window stays.
  window->enterCancelMode();
  calls.clear();
  {
    DialogScript nothing;
    for (const auto& shown : kShown) Press(*window, shown.key);
    Press(*window, QKeySequence(Qt::CTRL | Qt::Key_Q));
    QTest::qWait(50);
  }
  EXPECT_TRUE(calls.isEmpty()) << calls.join(' ').toStdString();
  EXPECT_EQ(cancels, 1);
  EXPECT_TRUE(window->isVisible());

  // Afterwards Ctrl+Q closes the window through its closing step.
  window->leaveCancelMode();
  Type(*window, "x");
  {
    DialogScript script;
    script.then("QMessageBox", Press(QMessageBox::No));
    Press(*window, QKeySequence(Qt::CTRL | Qt::Key_Q));
    EXPECT_TRUE(QTest::qWaitFor([&] { return script.done(); }, 5000));
  }
  EXPECT_FALSE(window->isVisible());
  EXPECT_FALSE(QFile::exists(folder() + "temp.rtf"));
}

TEST_F(WindowTest, TabLeavesTheReportViewForTheToolbar) {
  auto window = Start();
  int finds = 0;
  MainWindowCommands c;
  c.findChanges = [&finds] { ++finds; };
  c.helpContents = [] {};
  window->setCommands(c);
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  auto* tlb1 = window->findChild<QToolBar*>(QStringLiteral("tlb1"));
  const QString text = window->reportView()->toPlainText();

  window->reportView()->setFocus();
  QTest::keyClick(window->windowHandle(), Qt::Key_Tab);
  QWidget* focused = QApplication::focusWidget();
  ASSERT_NE(focused, window->reportView());
  EXPECT_EQ(focused, tlb1->widgetForAction(ToolbarButton(*window, "find")));
  // The focused button is used by the keyboard, like a click.
  QTest::keyClick(window->windowHandle(), Qt::Key_Space);
  EXPECT_EQ(finds, 1);

  window->reportView()->setFocus();
  QTest::keyClick(window->windowHandle(), Qt::Key_Tab, Qt::ShiftModifier);
  EXPECT_NE(QApplication::focusWidget(), window->reportView());
  EXPECT_EQ(QApplication::focusWidget()->parentWidget(), tlb1);
  // Neither key went into the report.
  EXPECT_EQ(window->reportView()->toPlainText(), text);
  EXPECT_FALSE(window->reportChanged());
}

TEST_F(WindowTest, RunOptionsSwitchAndOnlyTheRecycleBinsAreStored) {
  QByteArray record(33, '\0');
  record[32] = char(255);
  ASSERT_TRUE(WriteBytes(folder() + "BV3.Def", record));
  auto window = Start();
  QAction* recycled = Entry(*window, "mnuRecycled");
  QAction* infoOnly = Entry(*window, "mnuInfoOnly");
  EXPECT_TRUE(recycled->isChecked());

  recycled->trigger();
  EXPECT_FALSE(recycled->isChecked());
  EXPECT_EQ(FileBytes(folder() + "BV3.Def").at(32), 0);
  window->toggleRecycled();
  EXPECT_TRUE(recycled->isChecked());
  EXPECT_EQ(quint8(FileBytes(folder() + "BV3.Def").at(32)), 255);

  infoOnly->trigger();
  EXPECT_TRUE(infoOnly->isChecked());
  EXPECT_TRUE(window->infoOnly());
  window->toggleInfoOnly();  // as the run does at its end
  EXPECT_FALSE(infoOnly->isChecked());
  EXPECT_FALSE(window->infoOnly());
  EXPECT_EQ(FileBytes(folder() + "BV3.Def").size(), 33);
}

// Any value but 0 means on, as the scan reads it; switching off and on again stores 0 and
// 255.
TEST_F(WindowTest, AnyNonZeroRecycleBinSettingShowsTheCheckMark) {
  QByteArray record(33, '\0');
  record[32] = 1;
  ASSERT_TRUE(WriteBytes(folder() + "BV3.Def", record));
  auto window = Start();
  QAction* recycled = Entry(*window, "mnuRecycled");
  EXPECT_TRUE(recycled->isChecked());
  EXPECT_TRUE(window->settings().includeRecycled());
  recycled->trigger();
  EXPECT_FALSE(recycled->isChecked());
  EXPECT_EQ(FileBytes(folder() + "BV3.Def").at(32), 0);
  recycled->trigger();
  EXPECT_TRUE(recycled->isChecked());
  EXPECT_EQ(quint8(FileBytes(folder() + "BV3.Def").at(32)), 255);
}

// --- Layout ---

// The status bar keeps a message until another replaces it: the empty status tip that a
// menu sends when the mouse leaves an entry, which clears a bar's temporary message, and a
// long path, which must not widen the window, leave it as it is.
TEST_F(WindowTest, StatusMessagesStayUntilTheNextOneBelowTheReport) {
  auto window = Start();
  EXPECT_EQ(window->statusMessage(), QString());
  const QString path = "Printed to " + QString(400, 'x') + ".pdf";
  const int width = window->width();
  window->showStatus(path);
  QStatusTipEvent leaving{QString()};
  QApplication::sendEvent(window.get(), &leaving);
  QTest::qWait(50);
  EXPECT_EQ(window->statusMessage(), path);
  EXPECT_EQ(window->width(), width);
  auto* label = window->findChild<QLabel*>(QStringLiteral("lblStatus"));
  ASSERT_NE(label, nullptr);
  EXPECT_TRUE(label->isVisible());
  EXPECT_EQ(label->toolTip(), path);
  EXPECT_GE(label->mapTo(window.get(), QPoint(0, 0)).y(),
            window->centralWidget()->geometry().bottom());
  window->showStatus(QStringLiteral("next"));
  EXPECT_EQ(window->statusMessage(), QStringLiteral("next"));
}

TEST_F(WindowTest, ReportViewFillsTheWindowAndKeepsItsSizeWhenTheWindowIsTooSmall) {
  auto window = Start();
  QWidget* area = window->centralWidget();
  window->resize(900, 700);
  EXPECT_TRUE(QTest::qWaitFor([&] { return window->reportView()->size() == area->size(); }));
  EXPECT_GT(area->height(), 400);
  window->resize(640, 480);
  EXPECT_TRUE(QTest::qWaitFor([&] { return window->reportView()->size() == area->size(); }));
  const QSize last = window->reportView()->size();

  window->resize(1, 1);
  QTest::qWait(50);
  EXPECT_EQ(window->reportView()->size(), last);
  // The space left for the view runs out: it keeps its last size rather than collapsing.
  area->resize(area->width(), 0);
  EXPECT_EQ(window->reportView()->size(), last);
  area->resize(300, 200);
  EXPECT_EQ(window->reportView()->size(), QSize(300, 200));
}

TEST_F(WindowTest, ProgressBeyondTheRangeOfIntIsScaledOnTheBar) {
  auto window = Start();
  auto* label = window->findChild<QLabel*>(QStringLiteral("lblProgress"));
  auto* bar = window->findChild<QProgressBar*>(QStringLiteral("Pbr1"));
  ASSERT_NE(bar, nullptr);
  const std::int64_t maximum = std::int64_t(5) * 1000 * 1000 * 1000;
  window->showProgress({QStringLiteral("Profiling"), true, maximum, maximum / 2, true});
  EXPECT_EQ(label->text(), QStringLiteral("Profiling"));
  EXPECT_TRUE(label->isVisible());
  EXPECT_TRUE(bar->isVisible());
  EXPECT_GT(bar->maximum(), INT_MAX / 4);
  EXPECT_NEAR(double(bar->value()) / bar->maximum(), 0.5, 1e-6);

  // A value past the maximum (never sent by the engine) does not overflow the bar.
  window->showProgress({QStringLiteral("Profiling"), true, maximum, maximum * 2, true});
  EXPECT_EQ(bar->value(), bar->maximum());
  window->hideProgress();
  EXPECT_FALSE(label->isVisible());
  EXPECT_FALSE(bar->isVisible());
}

}  // namespace
}  // namespace app
