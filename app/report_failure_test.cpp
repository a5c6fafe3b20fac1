// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The window's reports when the disk fails them: a full disk and a failed sync while saving,
// reports that cannot be opened, and a Reports folder that is another user's link. The faults
// are injected through the in-memory file system the window is given; the link needs the
// real disk.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <string>
#include <vector>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "app/commands_test_support.h"
#include "platform/testing/memory_file_system.h"

namespace app {
namespace {

using platform::testing::DialogScript;
using platform::testing::MessageSeen;
using platform::testing::Press;
using testing::ChooseName;

constexpr char kRichReport[] =
    "{\\rtf1\\ansi{\\colortbl;\\red255\\green0\\blue0;}\\cf1 Deleted old.txt\\par\\cf0 kept\\par}";

// What the view shows and whether it holds unsaved changes.
struct ViewState {
  QString text;
  QString currentFile;
  bool changed = false;
  friend bool operator==(const ViewState&, const ViewState&) = default;
};

ViewState StateOf(const MainWindow& window) {
  return {window.reportView()->toPlainText(), window.currentFile(), window.reportChanged()};
}

void Type(MainWindow& window, const QString& text) {
  window.reportView()->setFocus();
  QTest::keyClicks(window.reportView(), text);
}

// A window whose program folder is C:\Brinvale\ on an in-memory file system.
class ReportFailureTest : public ::testing::Test {
 protected:
  static constexpr char kJune[] = "C:\\Brinvale\\Reports\\June.rtf";

  // The window lock alone is not taken through the file system: it is a QLockFile on the
  // real disk, which takes C:\Brinvale\window.lock for a file name in the current folder.
  // Each test keeps it in a folder of its own, so that tests running side by side do not
  // find each other's window open.
  void SetUp() override {
    ASSERT_TRUE(m_lockFolder.isValid());
    m_previousFolder = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(m_lockFolder.path()));
    m_fs.addFolder("C:\\Brinvale");
  }
  void TearDown() override { QDir::setCurrent(m_previousFolder); }

  std::unique_ptr<MainWindow> MakeWindow() {
    return std::make_unique<MainWindow>(
        MainWindowDependencies{&m_fs, "C:\\Brinvale\\", &m_sound, {}});
  }
  std::unique_ptr<MainWindow> Start() {
    auto window = MakeWindow();
    EXPECT_TRUE(window->load());
    window->show();
    return window;
  }

  // Saves the window's report with Save and answers the failure's message; returns it.
  static MessageSeen FailedSave(MainWindow& window) {
    MessageSeen seen;
    DialogScript script;
    script.then("QMessageBox", Press(QMessageBox::Ok, &seen));
    EXPECT_FALSE(window.save());
    return seen;
  }

  QTemporaryDir m_lockFolder;
  QString m_previousFolder;
  platform::MemoryFileSystem m_fs;
  testing::RecordingSound m_sound;
};

// Save writes a report in one step: a disk that fills up part way, or that fails to keep the
// bytes when they are forced to it, leaves the report on the disk as it was, with nothing
// beside it, and the view with its edits, so that the user can save once the disk is mended.
TEST_F(ReportFailureTest, ASaveOnAFullDiskOrAFailingOneShowsWhyAndLosesNothing) {
  m_fs.addTextFile(kJune, kRichReport);
  auto window = Start();
  ASSERT_TRUE(window->loadReport(QString::fromLatin1(kJune)).isOk());
  Type(*window, "typed ");
  const ViewState edited = StateOf(*window);
  ASSERT_TRUE(edited.changed);

  m_fs.failWritesAfter(kJune, 20);
  const MessageSeen full = FailedSave(*window);
  EXPECT_EQ(full.icon, QMessageBox::Warning);
  EXPECT_TRUE(
      full.text.contains(" Error Called from mnuOpen\nC:\\Brinvale\\Reports\\June.rtf: "
                         "disk full"))
      << full.text.toStdString();
  EXPECT_EQ(m_fs.contents(kJune), kRichReport);
  EXPECT_EQ(m_fs.namesIn("C:\\Brinvale\\Reports"), std::vector<std::string>{"June.rtf"});
  EXPECT_EQ(StateOf(*window), edited);

  m_fs.clearFaults();
  m_fs.failSync(kJune);
  const MessageSeen unsynced = FailedSave(*window);
  EXPECT_EQ(unsynced.text,
            QStringLiteral("%1 Error Called from mnuOpen\nC:\\Brinvale\\Reports\\June.rtf: "
                           "Input/output error")
                .arg(EIO));
  EXPECT_EQ(m_fs.contents(kJune), kRichReport);
  EXPECT_EQ(m_fs.namesIn("C:\\Brinvale\\Reports"), std::vector<std::string>{"June.rtf"});
  EXPECT_EQ(StateOf(*window), edited);

  // Mended, the same Save keeps what was typed.
  m_fs.clearFaults();
  EXPECT_TRUE(window->save());
  EXPECT_FALSE(window->reportChanged());
  const auto saved = m_fs.contents(kJune);
  ASSERT_TRUE(saved.has_value());
  EXPECT_TRUE(saved->starts_with("{\\rtf")) << *saved;
  EXPECT_NE(saved->find("typed"), std::string::npos) << *saved;
}

// A report the file system refuses, one larger than any report and one that is gone are named
// with the reason; the view keeps its document, current file and edits.
TEST_F(ReportFailureTest, AReportThatCannotBeOpenedIsNamedWithWhyAndNothingIsLost) {
  m_fs.addTextFile("C:\\Brinvale\\Reports\\Locked.rtf", kRichReport);
  m_fs.failOpen("C:\\Brinvale\\Reports\\Locked.rtf",
                base::Status::fromErrno(EACCES, "C:\\Brinvale\\Reports\\Locked.rtf"));
  // It holds only its first words: were its size not looked at first, it would load.
  m_fs.addFile("C:\\Brinvale\\Reports\\Huge.txt", reports::kMaxReportFileSize + 1, 0,
               "Disk Activity on C:");
  auto window = Start();
  Type(*window, "unsaved ");
  const ViewState before = StateOf(*window);

  struct Case {
    const char* path;
    const char* reason;
  };
  for (const Case& c : {Case{"C:\\Brinvale\\Reports\\Locked.rtf", "Permission denied"},
                        Case{"C:\\Brinvale\\Reports\\Huge.txt", "too large to open"},
                        Case{"C:\\Brinvale\\Reports\\Gone.rtf", "No such file or directory"}}) {
    SCOPED_TRACE(c.path);
    const auto opened = window->openReport(QString::fromLatin1(c.path));
    EXPECT_EQ(opened.status().message(), std::string(c.path) + ": " + c.reason);
    EXPECT_EQ(StateOf(*window), before);
  }
  EXPECT_FALSE(window->loading());
}

// The Reports folder is made through the file system as runs open it: when that is refused,
// the window says why and does not start, and nothing else is written.
TEST_F(ReportFailureTest, AReportsFolderThatCannotBeOpenedEndsTheStart) {
  m_fs.failOpen("C:\\Brinvale\\Reports",
                base::Status::permissionDenied(
                    "C:\\Brinvale\\Reports is a link to a folder of another user; nothing was "
                    "written there."));
  auto window = MakeWindow();
  MessageSeen seen;
  DialogScript script;
  script.then("QMessageBox", Press(QMessageBox::Ok, &seen));
  EXPECT_FALSE(window->load());
  EXPECT_EQ(seen.icon, QMessageBox::Critical);
  EXPECT_EQ(seen.text,
            "Brinvale cannot start: it cannot create the folder for its reports,\n"
            "C:\\Brinvale\\Reports\\\n\n"
            "C:\\Brinvale\\Reports is a link to a folder of another user; nothing was written "
            "there.");
  EXPECT_TRUE(m_fs.namesIn("C:\\Brinvale").empty());
}

// The commands on the real disk, where the file dialogs look.
class ReportFailureOnDiskTest : public testing::CommandsTest {};

// The file is gone between the dialog's listing and the load: one message names it, and the
// view keeps its document, current file and edits.
TEST_F(ReportFailureOnDiskTest, OpenOfAReportGoneSinceTheDialogListedItNamesIt) {
  ASSERT_TRUE(QDir().mkpath(reports()));
  ASSERT_TRUE(testing::WriteBytes(reports() + "Vanishing.rtf", kRichReport));
  MainWindow& window = StartWired();
  Type("unsaved ");
  const ViewState before = StateOf(window);

  MessageSeen failure;
  DialogScript script;
  script.then("QMessageBox", Press(QMessageBox::No));
  script.then("QFileDialog", [&](QWidget* dialog) {
    ChooseName("Vanishing.rtf")(dialog);
    QFile::remove(reports() + "Vanishing.rtf");
  });
  script.then("QMessageBox", Press(QMessageBox::Ok, &failure));
  ClickButton("open");
  EXPECT_TRUE(QTest::qWaitFor([&] { return script.done(); }, 5000));
  EXPECT_EQ(failure.icon, QMessageBox::Warning);
  EXPECT_EQ(failure.text, "The report could not be opened.\n" + reports() +
                              "Vanishing.rtf: No such file or directory");
  EXPECT_EQ(StateOf(window), before);
}

// Save As and the PDF file printer write into the Reports folder as runs do: when another
// user's link has taken the folder's place after start-up, both are refused with the run's
// message, and nothing is written where the link leads.
TEST_F(ReportFailureOnDiskTest, SaveAsAndPrintRefuseAnotherUsersLinkInPlaceOfReports) {
  MainWindow& window = StartWired();
  // As root, a folder of the user nobody; otherwise the root folder, which is root's.
  QString target = QStringLiteral("/");
  if (geteuid() == 0) {
    target = folder() + "Nobodys";
    ASSERT_TRUE(QDir().mkpath(target));
    ASSERT_EQ(chown(QFile::encodeName(target).constData(), 65534, 65534), 0);
  }
  const QStringList before = QDir(target).entryList(QDir::Files);
  ASSERT_TRUE(QDir(reports()).removeRecursively());
  ASSERT_TRUE(QFile::link(target, folder() + "Reports"));
  Type("typed");
  const QString refusal = folder() +
                          "Reports is a link to a folder of another user; nothing was written "
                          "there.";

  MessageSeen saveFailure;
  {
    DialogScript script;
    script.then("QFileDialog", ChooseName("Saved.txt"));
    script.then("QMessageBox", Press(QMessageBox::Ok, &saveFailure));
    EXPECT_FALSE(window.saveAs());
  }
  EXPECT_EQ(saveFailure.text,
            QStringLiteral("%1 Error Called from mnuOpen\n%2").arg(EACCES).arg(refusal));
  EXPECT_EQ(window.currentFile(), folder() + "temp.rtf");
  EXPECT_TRUE(window.reportChanged());

  MessageSeen printFailure;
  {
    DialogScript script;
    script.then("QMessageBox", Press(QMessageBox::Ok, &printFailure));
    ClickButton("print");
    EXPECT_TRUE(QTest::qWaitFor([&] { return script.done(); }, 5000));
  }
  EXPECT_EQ(printFailure.text, "Cannot print: " + refusal);
  EXPECT_EQ(QDir(target).entryList(QDir::Files), before);
}

}  // namespace
}  // namespace app
