// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Open and Print from the window along a user's path: the open dialog, the question about
// unsaved edits, files that cannot be opened, printing to the PDF file printer and to a
// printer that is gone, and the printer choice that lasts for the program run.
#include "app/report_commands.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStatusBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include "app/commands_test_support.h"

namespace app {
namespace {

using testing::ChooseName;
using testing::CommandsTest;
using testing::DialogScript;
using testing::FileBytes;
using testing::FileDialogSeen;
using testing::MessageSeen;
using testing::Press;
using testing::WriteBytes;

const QByteArray kRichReport =
    "{\\rtf1\\ansi{\\colortbl;\\red255\\green0\\blue0;}\\cf1 Deleted old.txt\\par\\cf0 kept\\par}";

// True when some text of `document` is drawn in red.
bool HasRedText(const QTextDocument& document) {
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      if (it.fragment().charFormat().foreground().color() == QColor(255, 0, 0)) return true;
    }
  }
  return false;
}

// What the view shows and whether it holds unsaved changes.
struct ViewState {
  QString text;
  QString currentFile;
  bool changed = false;
  friend bool operator==(const ViewState&, const ViewState&) = default;
};

class ReportCommandsTest : public CommandsTest {
 protected:
  // The reports a test opens are there before the window starts.
  void SetUp() override {
    CommandsTest::SetUp();
    ASSERT_TRUE(QDir().mkpath(reports()));
  }

  ViewState State() const {
    return {m_window->reportView()->toPlainText(), m_window->currentFile(),
            m_window->reportChanged()};
  }
};

TEST_F(ReportCommandsTest, OpenShowsRichPlainAndOtherFilesAndACancelChangesNothing) {
  ASSERT_TRUE(WriteBytes(reports() + "June.rtf", kRichReport));
  ASSERT_TRUE(WriteBytes(reports() + "notes.txt", "{\\b not rich}\r\ncaf\xe9\r\n"));
  ASSERT_TRUE(WriteBytes(reports() + "scan.log", "log line\r\n"));
  MainWindow& window = StartWired();
  EXPECT_FALSE(Entry("mnuPrint")->isEnabled());

  FileDialogSeen seen;
  {
    DialogScript script;
    script.then("QFileDialog", ChooseName("June.rtf", {}, &seen));
    ClickButton("open");
  }
  EXPECT_EQ(seen.title, QStringLiteral("Select Report to Open"));
  EXPECT_EQ(seen.directory + '/', reports());
  EXPECT_EQ(seen.filterCaptions, QStringList({"Reports (rtf/txt)", "All Files"}));
  EXPECT_EQ(seen.selectedFilter, QStringLiteral("Reports (rtf/txt)"));
  EXPECT_EQ(State(), (ViewState{"Deleted old.txt\nkept", reports() + "June.rtf", false}));
  EXPECT_TRUE(HasRedText(*window.reportView()->document()));
  for (const char* name : {"mnuSave", "mnuSaveAs", "mnuPrint"}) {
    EXPECT_TRUE(Entry(name)->isEnabled()) << name;
  }

  // A file that does not begin with "{\rtf" is text, bytes that are not UTF-8 Latin-1.
  {
    DialogScript script;
    script.then("QFileDialog", ChooseName("notes.txt"));
    Entry("mnuOpen")->trigger();
  }
  EXPECT_EQ(State(), (ViewState{"{\\b not rich}\ncaf\u00e9", reports() + "notes.txt", false}));
  EXPECT_FALSE(HasRedText(*window.reportView()->document()));

  {
    DialogScript script;
    script.then("QFileDialog", ChooseName("scan.log", "All Files"));
    Entry("mnuOpen")->trigger();
  }
  EXPECT_EQ(State(), (ViewState{"log line", reports() + "scan.log", false}));

  // A cancelled dialog leaves the view, its file and its edits as they were. The question
  // about the edits comes first.
  Type("typed ");
  const ViewState before = State();
  {
    DialogScript script;
    script.then("QMessageBox", Press(QMessageBox::No)).then("QFileDialog", ChooseName({}));
    ClickButton("open");
  }
  EXPECT_EQ(State(), before);
  EXPECT_TRUE(before.changed);
}

TEST_F(ReportCommandsTest, OpenAfterTypingAsksFirstAsClosingDoes) {
  ASSERT_TRUE(WriteBytes(reports() + "June.rtf", kRichReport));
  struct Case {
    QMessageBox::StandardButton answer;
    bool opens;
  };
  for (const Case& c : {Case{QMessageBox::Cancel, false}, Case{QMessageBox::No, true},
                        Case{QMessageBox::Yes, true}}) {
    SCOPED_TRACE(int(c.answer));
    m_dialogs.reset();
    m_reports.reset();
    m_window.reset();
    StartWired();
    Type("edit ");
    const ViewState before = State();

    MessageSeen question;
    {
      DialogScript script;
      script.then("QMessageBox", Press(c.answer, &question));
      // The edits are in the work file's view: Yes saves them under a new name first.
      if (c.answer == QMessageBox::Yes) script.then("QFileDialog", ChooseName("Kept.txt"));
      if (c.opens) script.then("QFileDialog", ChooseName("June.rtf"));
      ClickButton("open");
    }
    EXPECT_EQ(question.title, QStringLiteral("Save Report?"));
    EXPECT_EQ(question.text, QStringLiteral("Save Changes to this Report?"));
    EXPECT_EQ(question.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (c.opens) {
      EXPECT_EQ(State(), (ViewState{"Deleted old.txt\nkept", reports() + "June.rtf", false}));
    } else {
      EXPECT_EQ(State(), before);
    }
    EXPECT_EQ(FileBytes(reports() + "Kept.txt").startsWith("edit Welcome"),
              c.answer == QMessageBox::Yes);
  }
}

// Permission bits do not stop root: ctest runs this once more as an unprivileged user, where
// the locked file is tried too.
TEST_F(ReportCommandsTest, AFileThatCannotBeOpenedIsNamedWithWhyAndNothingIsLost) {
  ASSERT_TRUE(WriteBytes(reports() + "Vanishing.rtf", kRichReport));
  ASSERT_TRUE(WriteBytes(reports() + "Locked.rtf", kRichReport));
  ASSERT_EQ(chmod((reports() + "Locked.rtf").toLocal8Bit().constData(), 0), 0);
  // Larger than any report: refused before it is read (a sparse file, no disk space used).
  {
    QFile huge(reports() + "Huge.txt");
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
    ASSERT_TRUE(huge.resize(reports::kMaxReportFileSize + 1));
  }
  MainWindow& window = StartWired();
  Type("unsaved ");
  const ViewState before = State();

  struct Case {
    const char* name;
    const char* reason;
    bool removeAfterChoosing;
  };
  std::vector<Case> cases = {{"Vanishing.rtf", "not found", true},
                             {"Huge.txt", "too large to open", false}};
  if (geteuid() != 0) cases.push_back({"Locked.rtf", "ermission denied", false});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const QString path = reports() + c.name;
    MessageSeen failure;
    DialogScript script;
    script.then("QMessageBox", Press(QMessageBox::No));
    script.then("QFileDialog", [&](QWidget* dialog) {
      ChooseName(c.name)(dialog);
      // Gone between the dialog's listing and the load.
      if (c.removeAfterChoosing) QFile::remove(path);
    });
    script.then("QMessageBox", Press(QMessageBox::Ok, &failure));
    ClickButton("open");
    EXPECT_TRUE(QTest::qWaitFor([&] { return script.done(); }, 5000));
    EXPECT_EQ(failure.icon, QMessageBox::Warning);
    EXPECT_TRUE(failure.text.contains(QDir::toNativeSeparators(path)))
        << failure.text.toStdString();
    EXPECT_TRUE(failure.text.contains(c.reason)) << failure.text.toStdString();
    EXPECT_EQ(State(), before);
  }
  EXPECT_FALSE(window.progressLabel()->isVisible());
}

TEST_F(ReportCommandsTest, PrintGoesToTheChosenPrinterForTheRunAndLeavesTheViewAsItIs) {
  ASSERT_TRUE(WriteBytes(reports() + "June.rtf", kRichReport));
  MainWindow& window = StartWired({{"Office", false}, {reports::kPdfPrinterName, true}});
  ASSERT_EQ(m_reports->printerChoice().current().name, QStringLiteral("Office"));

  // The system's default printer has gone: one message naming it, nothing written.
  MessageSeen failure;
  {
    DialogScript script;
    script.then("QMessageBox", Press(QMessageBox::Ok, &failure));
    ClickButton("print");
  }
  EXPECT_EQ(failure.icon, QMessageBox::Warning);
  EXPECT_TRUE(failure.text.contains("\"Office\"")) << failure.text.toStdString();
  EXPECT_TRUE(QDir(reports()).entryList({"*.pdf"}).isEmpty());

  // The printing options make the PDF file printer current.
  {
    DialogScript script;
    script.then("dialogs::PrinterSettingsDialog", [](QWidget* dialog) {
      dialog->findChild<QListWidget*>(QStringLiteral("lstPrnt"))->setCurrentRow(1);
      dialog->findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
    });
    Entry("mnuPrintSel")->trigger();
  }
  EXPECT_EQ(m_reports->printerChoice().current().name, QString(reports::kPdfPrinterName));

  {
    DialogScript script;
    script.then("QFileDialog", ChooseName("June.rtf"));
    ClickButton("open");
  }
  Type("Unsaved words ");
  const ViewState typed = State();
  ASSERT_TRUE(typed.changed);

  // Black and white (PrintColor 0) and colour: the view's own text, typing included, into
  // a PDF named after its file; the view and its changed state stay.
  const QString pdf = reports() + "June.pdf";
  for (std::uint8_t colour : {0, 1}) {
    SCOPED_TRACE(int(colour));
    window.settings().PrintColor = colour;
    QFile::remove(pdf);
    window.showStatus({});
    Entry("mnuPrint")->trigger();
    const QStringList pages = reports::testing::PdfPageTexts(pdf);
    ASSERT_EQ(pages.size(), 1);
    EXPECT_TRUE(pages[0].contains("Source: June.rtf")) << pages[0].toStdString();
    EXPECT_TRUE(pages[0].contains("Unsaved words Deleted old.txt")) << pages[0].toStdString();
    // The file printed to is named in the status bar, below the report: nothing lies over
    // the report's first line.
    EXPECT_EQ(window.statusMessage(), "Printed to " + QDir::toNativeSeparators(pdf));
    EXPECT_TRUE(window.statusBar()->isVisible());
    const QRect view(window.reportView()->mapTo(&window, QPoint(0, 0)),
                     window.reportView()->size());
    EXPECT_LE(view.bottom(), window.statusBar()->geometry().top());
    for (QWidget* other :
         window.centralWidget()->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
      if (other != window.reportView() && other->isVisible()) {
        EXPECT_FALSE(other->geometry().intersects(window.reportView()->geometry()))
            << other->objectName().toStdString();
      }
    }
    EXPECT_EQ(State(), typed);
    EXPECT_FALSE(QFile::exists(folder() + "text.tmp"));
  }

  // The choice lasts: the other menu entry shows it selected.
  QString selected;
  {
    DialogScript script;
    script.then("dialogs::PrinterSettingsDialog", [&selected](QWidget* dialog) {
      selected = dialog->findChild<QLabel*>(QStringLiteral("Label2"))->text();
      static_cast<QDialog*>(dialog)->reject();
    });
    Entry("mnuPrintOptions2")->trigger();
  }
  EXPECT_EQ(selected, QString(reports::kPdfPrinterName));

  // An empty view has nothing to print.
  window.reportView()->clear();
  MessageSeen nothing;
  {
    DialogScript script;
    script.then("QMessageBox", Press(QMessageBox::Ok, &nothing));
    ClickButton("print");
  }
  EXPECT_EQ(nothing.text, QStringLiteral("There is Nothing to Print"));
  EXPECT_EQ(nothing.icon, QMessageBox::Warning);
  EXPECT_EQ(nothing.buttons, QMessageBox::Ok);
  EXPECT_FALSE(window.progressLabel()->isVisible());
}

}  // namespace
}  // namespace app
