// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Open and Print from the window along a user's path: the open dialog, the question about
// unsaved edits, printing to the PDF file printer and to a printer that is gone, and the
// printer choice that lasts for the program run. Files that cannot be opened:
// report_failure_test.cpp.
#include "app/report_commands.h"

#include <gtest/gtest.h>

#include <vector>

#include <QDir>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStatusBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "app/commands_test_support.h"

namespace app {
namespace {

using platform::testing::DialogScript;
using platform::testing::MessageSeen;
using platform::testing::Press;
using testing::ChooseName;
using testing::CommandsTest;
using testing::FileBytes;
using testing::FileDialogSeen;
using testing::ProgressLabel;
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

// A word processor's document, with what the view cannot hold: its information block,
// page setup, a table and a picture.
const QByteArray kWordProcessorRtf =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\nouicompat\\deflang1033{\\fonttbl{\\f0\\fnil\\fcharset0 "
    "Calibri;}}\r\n{\\*\\generator Riched20 10.0.19041}{\\info{\\title Quarterly letter}{\\author "
    "A. Writer}{\\creatim\\yr2024\\mo3\\dy14\\hr9\\min5}}\r\n\\paperw11906\\paperh16838\\margl1440"
    "\\margr1440\\viewkind4\\uc1\r\n\\pard\\sa200\\sl276\\slmult1\\f0\\fs22 Dear reader,\\par\r\n"
    "\\trowd\\trgaph108\\cellx3000\\cellx6000\r\n\\pard\\intbl Cell one\\cell Cell "
    "two\\cell\\row\r\n"
    "\\pard{\\pict{\\*\\picprop}\\pngblip\\picw10\\pich10\\picwgoal150\\pichgoal150\r\n"
    "89504e470d0a1a0a0000000d4948445200000001}\\par\r\nRegards\\par\r\n}\r\n";

// Open tells a report of this program from other text and from what is not text at all.
// Other text is shown, but Save asks for a new name, so the original is never rewritten in
// the view's poorer form; what is not text is refused and the view stays as it was.
TEST_F(ReportCommandsTest, OpenTellsReportsFromOtherFilesAndSaveNeverRewritesAForeignOne) {
  ASSERT_TRUE(WriteBytes(reports() + "letter.rtf", kWordProcessorRtf));
  QImage image(40, 30, QImage::Format_RGB32);
  image.fill(Qt::darkGreen);
  ASSERT_TRUE(image.save(reports() + "photo.png", "PNG"));
  ASSERT_TRUE(QFile::rename(reports() + "photo.png", reports() + "photo.rtf"));
  const QByteArray png = FileBytes(reports() + "photo.rtf");
  ASSERT_TRUE(WriteBytes(reports() + "unix.txt", "first line\nsecond line\n"));
  // A plain report of an older version, in an 8-bit code page.
  ASSERT_TRUE(WriteBytes(reports() + "Drive_C.txt",
                         "Disk Activity on C: Since 12/6/98 2:07:00 PM\r\n \r\nIn C:\\Caf\xe9\\\r\n"
                         "   Added men\xfa.txt (1.00 K)\r\n"));
  MainWindow& window = StartWired();

  // The word processor's file: shown, named in the status bar; Save and Save after typing
  // ask for a name, and a cancelled dialog leaves the file's bytes as they were.
  const QString letter = reports() + "letter.rtf";
  {
    DialogScript script;
    script.then("QFileDialog", ChooseName("letter.rtf"));
    ClickButton("open");
  }
  EXPECT_EQ(window.currentFile(), letter);
  EXPECT_TRUE(window.reportView()->toPlainText().contains("Dear reader,"));
  EXPECT_TRUE(window.reportView()->toPlainText().contains("Regards"));
  EXPECT_EQ(window.statusMessage(), QDir::toNativeSeparators(letter) +
                                        " is not a Brinvale report: Save will ask for a new name.");
  for (bool typed : {false, true}) {
    if (typed) Type("A note ");
    FileDialogSeen seen;
    DialogScript script;
    script.then("QFileDialog", ChooseName({}, {}, &seen));
    ClickButton("save");
    EXPECT_TRUE(QTest::qWaitFor([&] { return script.done(); }, 5000));
    EXPECT_EQ(seen.title, QStringLiteral("Select Name for Report File"));
    EXPECT_EQ(FileBytes(letter), kWordProcessorRtf);
  }
  EXPECT_TRUE(window.reportChanged());

  // Saved under a new name, the view's own file may be saved as it is from then on, and
  // the status bar no longer calls it foreign.
  {
    DialogScript script;
    script.then("QFileDialog", ChooseName("letter-notes.rtf"));
    EXPECT_TRUE(window.save());
  }
  EXPECT_EQ(window.currentFile(), reports() + "letter-notes.rtf");
  EXPECT_EQ(window.statusMessage(), QString());
  EXPECT_EQ(FileBytes(letter), kWordProcessorRtf);
  Type("more ");
  {
    DialogScript none;  // asks nothing
    EXPECT_TRUE(window.save());
  }
  EXPECT_TRUE(FileBytes(reports() + "letter-notes.rtf").contains("more A note"));

  // A picture under a report's name: refused, naming the file; the view keeps everything.
  const ViewState before = State();
  MessageSeen refusal;
  {
    DialogScript script;
    script.then("QFileDialog", ChooseName("photo.rtf"))
        .then("QMessageBox", Press(QMessageBox::Ok, &refusal));
    ClickButton("open");
    EXPECT_TRUE(QTest::qWaitFor([&] { return script.done(); }, 5000));
  }
  EXPECT_EQ(refusal.text, QDir::toNativeSeparators(reports() + "photo.rtf") +
                              " is not a report or a text file; it was not opened.");
  EXPECT_EQ(refusal.icon, QMessageBox::Warning);
  EXPECT_EQ(State(), before);
  EXPECT_EQ(FileBytes(reports() + "photo.rtf"), png);

  // Text with LF line ends is not rewritten with CR LF by a plain Save either.
  {
    DialogScript script;
    script.then("QFileDialog", ChooseName("unix.txt"));
    ClickButton("open");
  }
  {
    DialogScript script;
    script.then("QFileDialog", ChooseName({}));
    ClickButton("save");
    EXPECT_TRUE(QTest::qWaitFor([&] { return script.done(); }, 5000));
  }
  EXPECT_EQ(FileBytes(reports() + "unix.txt"), QByteArray("first line\nsecond line\n"));

  // An older plain report, not UTF-8: opened as a report, its 8-bit letters as Latin-1; the
  // status message about the foreign file goes, and Save writes it back without asking.
  {
    DialogScript script;
    script.then("QFileDialog", ChooseName("Drive_C.txt"));
    ClickButton("open");
  }
  EXPECT_EQ(window.currentFile(), reports() + "Drive_C.txt");
  EXPECT_TRUE(window.reportView()->toPlainText().contains(QStringLiteral("In C:\\Caf\u00e9\\")));
  EXPECT_TRUE(window.reportView()->toPlainText().contains(QStringLiteral("Added men\u00fa.txt")));
  EXPECT_EQ(window.statusMessage(), QString());
  Type("Checked. ");
  {
    DialogScript none;  // asks nothing
    EXPECT_TRUE(window.save());
  }
  EXPECT_TRUE(FileBytes(reports() + "Drive_C.txt").startsWith("Checked. Disk Activity on C:"));
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
  EXPECT_FALSE(ProgressLabel(window)->isVisible());
}

TEST_F(ReportCommandsTest, AFirstColourPrintKeepsItsTextOffThePapersEdges) {
  // A new settings file but for colour printing: both margins are 0, never set.
  QByteArray colourOnly(33, '\0');
  colourOnly[30] = 1;  // PrintColor
  ASSERT_TRUE(WriteBytes(folder() + "BV3.Def", colourOnly));
  ASSERT_TRUE(WriteBytes(reports() + "First.rtf", kRichReport));
  MainWindow& window = StartWired({{reports::kPdfPrinterName, true}});
  ASSERT_EQ(window.settings().PrintColor, 1);
  {
    DialogScript script;
    script.then("QFileDialog", ChooseName("First.rtf"));
    ClickButton("open");
  }
  ClickButton("print");
  const std::vector<reports::testing::PdfWord> words =
      reports::testing::PdfWords(reports() + "First.pdf");
  ASSERT_FALSE(words.empty());

  // The page header sits at the printable area's top left; the report's own text starts
  // three quarters of an inch from the left edge, and half an inch from the top less the
  // room the header takes (205 twips), as for a top margin of 0.5 set by hand.
  constexpr double kPointsPerTwip = 1.0 / 20;
  constexpr double kDeviceUnit = 72.0 / 1200;  // the PDF printer's resolution, in points
  double headerBottom = 0;
  for (const auto& word : words) {
    if (word.text == "Source:") headerBottom = word.yMax;
  }
  ASSERT_GT(headerBottom, 0);
  int body = 0;
  for (const auto& word : words) {
    if (word.yMin < headerBottom) continue;
    ++body;
    EXPECT_GE(word.xMin, 0.75 * 72) << word.text.toStdString();
    EXPECT_GE(word.yMin, (720 - 205) * kPointsPerTwip - kDeviceUnit) << word.text.toStdString();
  }
  EXPECT_EQ(body, 3);  // Deleted old.txt kept
  // The stored margins stay 0 until the printer settings are confirmed.
  EXPECT_EQ(FileBytes(folder() + "BV3.Def"), colourOnly);
  EXPECT_EQ(window.settings().TopMargin, 0);
  EXPECT_EQ(window.settings().LeftMargin, 0);
}

}  // namespace
}  // namespace app
