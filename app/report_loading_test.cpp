// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Reports too large to read at once in the window: opened, they load in the background with
// the window answering; the view ends up with every line in its colour, takes typing only
// once all is in, and what it saves reads back.
#include <gtest/gtest.h>

#include <dirent.h>

#include <string>
#include <string_view>

#include <QAction>
#include <QLabel>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>

#include "app/window_test_support.h"
#include "engine/change_report.h"
#include "platform/file_system.h"
#include "platform/testing/fixed_locale.h"
#include "platform/testing/string_file.h"
#include "reports/report_loader.h"

namespace app::testing {
namespace {

using platform::testing::StringFile;

// One paragraph of the report as the view must show it.
struct Shown {
  QString text;
  QColor colour;
};

// A composed report of `changes` change lines in folders of 50, the four kinds taking
// turns, each line unique by its number; `shown` gets every paragraph after the title.
QByteArray ComposeReport(int changes, std::vector<Shown>* shown) {
  const platform::FixedLocale locale;
  StringFile rtf;
  auto sink = engine::NewRtfReportSink(&rtf);
  engine::ChangeReport report(sink.get(), locale);
  EXPECT_TRUE(report.startDrive("d: [/data]", "3/14/24 9:00:00 AM", /*fresh=*/true).isOk());
  const QColor black(0, 0, 0);
  for (int i = 0; i < changes; ++i) {
    const std::string name = "file-" + std::to_string(i) + ".dat";
    const QString qname = QString::fromStdString(name);
    if (i % 50 == 0) {
      const std::string folder = "/data/folder-" + std::to_string(i / 50) + "/";
      EXPECT_TRUE(report.writeFolderHeader(folder).isOk());
      shown->push_back({" ", black});
      shown->push_back({"In " + QString::fromStdString(folder), black});
    }
    switch (i % 4) {
      case 0:
        EXPECT_TRUE(report.added(name, 1024).isOk());
        shown->push_back({"   Added " + qname + " (1.00 K)", QColor(0, 0, 128)});
        break;
      case 1:
        EXPECT_TRUE(report.deleted(name, 2560).isOk());
        shown->push_back({"   Deleted " + qname + " (2.50 K)", QColor(0, 128, 0)});
        break;
      case 2:
        EXPECT_TRUE(report.grew(name, 390, 420).isOk());
        shown->push_back({"   " + qname + "  Grew from .38 to .41 K", QColor(128, 0, 0)});
        break;
      default:
        EXPECT_TRUE(
            report.timeChanged(name, {2024, 3, 1, 9, 15, 0}, {2024, 3, 14, 10, 0, 0}).isOk());
        shown->push_back(
            {"   " + qname + ": Time Changed From: 3/1/24 9:15:00 AM to 3/14/24 10:00:00 AM",
             QColor(100, 100, 0)});
        break;
    }
  }
  EXPECT_TRUE(report.writeTotals(0, 0, 0).isOk());
  EXPECT_TRUE(report.writeClosing().isOk());
  shown->push_back({" ", black});
  shown->push_back({"Total of Files Added = 0.00K", black});
  shown->push_back({"Total of Files Deleted = 0.00K", QColor(255, 0, 0)});
  shown->push_back({"Changes to Existing Files = 0.00K", black});
  shown->push_back({"Net Change = 0.00 ", black});  // the closing line's blank ends it
  return QByteArray::fromStdString(rtf.bytes);
}

QColor ColourOf(const QTextBlock& block) {
  QTextCursor cursor(block);
  cursor.movePosition(QTextCursor::Right);  // the format of the first character
  return cursor.charFormat().foreground().color();
}

// The threads of this process that read a report. A thread takes its name once it runs,
// and is gone from the list a moment after it has ended.
int ReaderThreads() {
  int count = 0;
  if (DIR* tasks = opendir("/proc/self/task")) {
    while (const dirent* entry = readdir(tasks)) {
      if (entry->d_name[0] == '.') continue;
      QFile name(QStringLiteral("/proc/self/task/%1/comm").arg(QLatin1String(entry->d_name)));
      if (name.open(QIODevice::ReadOnly) &&
          name.readAll().trimmed() == reports::ReportLoader::kReaderThreadName) {
        ++count;
      }
    }
    closedir(tasks);
  }
  return count;
}

class ReportLoadingTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    m_window = Start();
    m_report = reports() + "Drive_D.rtf";
    // 20,000 changes: about 2.3 MB and 20,800 paragraphs, twenty batches and more.
    ASSERT_TRUE(WriteBytes(m_report, ComposeReport(20000, &m_shown)));
    ASSERT_GT(QFileInfo(m_report).size(), MainWindow::kLoadAtOnceBytes);
  }

  // Opens `path` as the Open command does, and waits until it is all in when `wait`.
  void Open(const QString& path, bool wait = true) {
    QSignalSpy loaded(m_window.get(), &MainWindow::reportLoaded);
    auto kind = m_window->openReport(path);
    ASSERT_TRUE(kind.isOk()) << kind.status().message();
    EXPECT_EQ(kind.value(), reports::ReportFileKind::kReport);
    if (wait) {
      ASSERT_TRUE(QTest::qWaitFor([&] { return loaded.count() > 0; }, 30000));
    }
  }

  // The paragraph `number` of the view: its text and the colour of its first character.
  void ExpectShown(int number) {
    const QTextBlock block = m_window->reportView()->document()->findBlockByNumber(number);
    ASSERT_TRUE(block.isValid()) << number;
    const Shown& expected = m_shown[std::size_t(number - 1)];  // the title is paragraph 0
    EXPECT_EQ(block.text(), expected.text) << number;
    EXPECT_EQ(ColourOf(block), expected.colour) << number << ": " << block.text().toStdString();
  }

  QAction* Entry(const char* name) { return m_window->findChild<QAction*>(QLatin1String(name)); }

  std::unique_ptr<MainWindow> m_window;
  QString m_report;
  std::vector<Shown> m_shown;
};

TEST_F(ReportLoadingTest, ALargeReportLoadsInTheBackgroundAndShowsEveryLineInItsColour) {
  ReportView* view = m_window->reportView();
  m_window->enableReportCommands();  // as after a first run: Open must take them back
  QSignalSpy loaded(m_window.get(), &MainWindow::reportLoaded);
  ASSERT_NO_FATAL_FAILURE(Open(m_report, /*wait=*/false));

  // While it loads: the first lines show, the progress display says what loads, and
  // nothing edits, saves or prints a report that is not all in.
  ASSERT_TRUE(m_window->loading());
  EXPECT_TRUE(QTest::qWaitFor([&] { return view->document()->blockCount() > 1; }, 10000));
  EXPECT_TRUE(view->document()->firstBlock().text().startsWith("Disk Activity on D: [/data]"));
  EXPECT_EQ(view->textCursor().position(), 0);  // the top shows, nothing selected
  EXPECT_FALSE(view->textCursor().hasSelection());
  EXPECT_TRUE(ProgressLabel(*m_window)->isVisible());
  EXPECT_EQ(ProgressLabel(*m_window)->text(), "Loading Drive_D.rtf");
  EXPECT_TRUE(ProgressBar(*m_window)->isVisible());
  EXPECT_GE(view->geometry().top(), ProgressBar(*m_window)->geometry().bottom());
  EXPECT_TRUE(view->isReadOnly());
  for (const char* entry : {"mnuSave", "mnuSaveAs", "mnuPrint"}) {
    EXPECT_FALSE(Entry(entry)->isEnabled()) << entry;
  }
  EXPECT_FALSE(ToolbarButton(*m_window, "save")->isEnabled());
  EXPECT_FALSE(ToolbarButton(*m_window, "print")->isEnabled());
  view->setFocus();
  QTest::keyClicks(view, "typed");
  EXPECT_FALSE(m_window->reportChanged());
  const QDateTime written = QFileInfo(m_report).lastModified();
  EXPECT_FALSE(m_window->save());
  EXPECT_FALSE(m_window->saveAs());
  EXPECT_EQ(QFileInfo(m_report).lastModified(), written);

  EXPECT_EQ(loaded.count(), 0);
  ASSERT_TRUE(QTest::qWaitFor([&] { return loaded.count() > 0; }, 30000));
  EXPECT_FALSE(m_window->loading());
  const int paragraphs = int(m_shown.size()) + 1;
  ASSERT_EQ(view->document()->blockCount(), paragraphs);
  EXPECT_FALSE(view->document()->toPlainText().contains("typed"));
  for (int number : {1, 2, 3, paragraphs / 2, paragraphs / 2 + 1, paragraphs - 6, paragraphs - 5,
                     paragraphs - 1}) {
    ExpectShown(number);
  }
  // All in: the view is the user's, with nothing to undo, and the commands are back.
  EXPECT_FALSE(view->isReadOnly());
  EXPECT_FALSE(view->document()->isUndoAvailable());
  EXPECT_FALSE(ProgressLabel(*m_window)->isVisible());
  EXPECT_FALSE(ProgressBar(*m_window)->isVisible());
  EXPECT_EQ(view->geometry().top(), 0);
  for (const char* entry : {"mnuSave", "mnuSaveAs", "mnuPrint"}) {
    EXPECT_TRUE(Entry(entry)->isEnabled()) << entry;
  }
  EXPECT_TRUE(ToolbarButton(*m_window, "save")->isEnabled());
  EXPECT_EQ(m_window->currentFile(), m_report);
  EXPECT_EQ(view->textCursor().position(), 0);
  EXPECT_FALSE(view->textCursor().hasSelection());
  EXPECT_FALSE(m_window->reportChanged());
}

TEST_F(ReportLoadingTest, AnOpenedReportClearsTheStatusOfWhatWasShownBefore) {
  m_window->showStatus(QStringLiteral("Report saved: Drive_X_12-8-26_0353.rtf."));
  ASSERT_NO_FATAL_FAILURE(Open(m_report, /*wait=*/false));
  EXPECT_EQ(m_window->statusMessage(), QString());
  ASSERT_TRUE(QTest::qWaitFor([&] { return !m_window->loading(); }, 30000));
  EXPECT_EQ(m_window->statusMessage(), QString());
}

TEST_F(ReportLoadingTest, AnEditInTheMiddleSurvivesSaveAndReopening) {
  ASSERT_NO_FATAL_FAILURE(Open(m_report));
  ReportView* view = m_window->reportView();
  const int middle = view->document()->blockCount() / 2;
  QTextCursor cursor(view->document()->findBlockByNumber(middle));
  cursor.movePosition(QTextCursor::EndOfBlock);
  view->setTextCursor(cursor);
  view->setFocus();
  QTest::keyClicks(view, " checked");
  EXPECT_TRUE(m_window->reportChanged());
  m_shown[std::size_t(middle - 1)].text += " checked";
  ASSERT_TRUE(m_window->save());
  EXPECT_FALSE(m_window->reportChanged());

  ASSERT_NO_FATAL_FAILURE(Open(m_report));
  ASSERT_EQ(view->document()->blockCount(), int(m_shown.size()) + 1);
  for (int number : {1, middle - 1, middle, middle + 1, int(m_shown.size())}) ExpectShown(number);
}

TEST_F(ReportLoadingTest, OpeningAnotherOrClosingStopsTheLoadAndLeavesNothingRunning) {
  ReportView* view = m_window->reportView();
  ASSERT_NO_FATAL_FAILURE(Open(m_report, /*wait=*/false));
  ASSERT_TRUE(m_window->loading());

  // Another report in its place: the first one's lines stop coming.
  const QString small = reports() + "small.rtf";
  std::vector<Shown> smallShown;
  ASSERT_TRUE(WriteBytes(small, ComposeReport(10, &smallShown)));
  ASSERT_NO_FATAL_FAILURE(Open(small, /*wait=*/false));
  EXPECT_FALSE(m_window->loading());
  EXPECT_TRUE(QTest::qWaitFor([] { return ReaderThreads() == 0; }, 2000));
  QTest::qWait(100);
  EXPECT_EQ(view->document()->blockCount(), int(smallShown.size()) + 1);
  EXPECT_EQ(m_window->currentFile(), small);

  // Closing mid-load: the window closes, nothing goes on reading, no thread is left.
  ASSERT_NO_FATAL_FAILURE(Open(m_report, /*wait=*/false));
  ASSERT_TRUE(m_window->loading());
  EXPECT_TRUE(m_window->close());
  EXPECT_FALSE(m_window->loading());
  EXPECT_TRUE(QTest::qWaitFor([] { return ReaderThreads() == 0; }, 2000));
  const int stoppedAt = view->document()->blockCount();
  QTest::qWait(100);
  EXPECT_EQ(view->document()->blockCount(), stoppedAt);
  EXPECT_LT(stoppedAt, int(m_shown.size()) + 1);
}

}  // namespace
}  // namespace app::testing
