// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/report_loader.h"

#include <gtest/gtest.h>

#include <optional>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextDocument>

#include "reports/print_test_support.h"
#include "reports/report_file.h"
#include "reports/test_support.h"

namespace reports {
namespace {

// Runs the event loop until `done` or `ms` milliseconds have passed; returns done().
template <class F>
bool WaitFor(F done, int ms) {
  QElapsedTimer clock;
  clock.start();
  while (!done() && clock.elapsed() < ms)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  return done();
}

class ReportLoaderTest : public ::testing::Test {
 protected:
  QString Write(const QString& name, const QByteArray& bytes) {
    const QString path = m_dir.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    EXPECT_EQ(file.write(bytes), bytes.size());
    return path;
  }

  // Loads `path` into `document` and waits until the load has ended.
  engine::Status Load(const QString& path, QTextDocument* document) {
    std::optional<engine::Status> outcome;
    m_progress.clear();
    document->setUndoRedoEnabled(false);
    m_loader.start(path, document,
                   {[this](qint64 done, qint64 total) {
                      m_progress.append({done, total});
                    },
                    [&outcome](const engine::Status& s) { outcome = s; }});
    EXPECT_TRUE(m_loader.running());
    EXPECT_TRUE(WaitFor([&] { return outcome.has_value(); }, 20000));
    EXPECT_FALSE(m_loader.running());
    return outcome.value_or(engine::Status::cancelled());
  }

  QTemporaryDir m_dir;
  ReportLoader m_loader;
  QList<QPair<qint64, qint64>> m_progress;
};

// Far more paragraphs than a batch, so that batches and slices end anywhere.
TEST_F(ReportLoaderTest, LoadsWhatReadingTheFileAtOnceGives) {
  QByteArray latin1;
  for (int i = 0; i < 12000; ++i) latin1 += "caf\xe9 line " + QByteArray::number(i) + "\r\n";
  const QStringList files = {Write("long.rtf", testing::LongReportRtf(9000)),
                             Write("latin1.txt", latin1),
                             testing::TestDataPath("word_processor.rtf"), Write("empty.txt", "")};
  for (const QString& path : files) {
    SCOPED_TRACE(path.toStdString());
    QTextDocument expected;
    ASSERT_TRUE(LoadReportFile(path, &expected).isOk());
    QTextDocument loaded;
    ASSERT_TRUE(Load(path, &loaded).isOk());
    EXPECT_EQ(loaded.blockCount(), expected.blockCount());
    EXPECT_EQ(testing::Describe(loaded), testing::Describe(expected));
    // The share loaded only grows, and ends with the whole file.
    ASSERT_FALSE(m_progress.isEmpty());
    for (qsizetype i = 1; i < m_progress.size(); ++i) {
      EXPECT_GE(m_progress[i].first, m_progress[i - 1].first);
    }
    EXPECT_EQ(m_progress.last().first, QFile(path).size());
    EXPECT_EQ(m_progress.last().second, QFile(path).size());
  }
}

TEST_F(ReportLoaderTest, StopEndsTheLoadAndNothingMoreArrives) {
  const QString path = Write("long.rtf", testing::LongReportRtf(60000));
  QTextDocument document;
  document.setUndoRedoEnabled(false);
  bool finished = false;
  m_loader.start(path, &document, {{}, [&finished](const engine::Status&) { finished = true; }});
  ASSERT_TRUE(WaitFor([&] { return document.blockCount() > 1000; }, 20000));
  m_loader.stop();
  EXPECT_FALSE(m_loader.running());
  const int stoppedAt = document.blockCount();
  EXPECT_LT(stoppedAt, 60000);
  WaitFor([] { return false; }, 100);
  EXPECT_EQ(document.blockCount(), stoppedAt);
  EXPECT_FALSE(finished);

  // Another load in its place finds the document as the first one left it to the caller.
  document.clear();
  ASSERT_TRUE(Load(path, &document).isOk());
  EXPECT_EQ(document.blockCount(), 60001);
}

TEST_F(ReportLoaderTest, AFileThatCannotBeReadIsAFailureNamingIt) {
  QTextDocument document;
  const engine::Status status = Load(m_dir.filePath("gone.rtf"), &document);
  EXPECT_FALSE(status.isOk());
  EXPECT_NE(status.message().find("gone.rtf"), std::string::npos) << status.message();
  EXPECT_TRUE(document.isEmpty());
}

}  // namespace
}  // namespace reports
