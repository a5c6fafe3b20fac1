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

#include "platform/testing/memory_file_system.h"
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

  // Loads `path` on `fs` into `document` and waits until the load has ended.
  base::Status Load(const QString& path, QTextDocument* document,
                    platform::FileSystem& fs = testing::Disk()) {
    std::optional<base::Status> outcome;
    m_progress.clear();
    document->setUndoRedoEnabled(false);
    m_loader.start(fs, path, document,
                   {[this](qint64 done, qint64 total) {
                      m_progress.append({done, total});
                    },
                    [&outcome](const base::Status& s) { outcome = s; }});
    EXPECT_TRUE(m_loader.running());
    EXPECT_TRUE(WaitFor([&] { return outcome.has_value(); }, 20000));
    EXPECT_FALSE(m_loader.running());
    return outcome.value_or(base::Status::cancelled());
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
    ASSERT_TRUE(LoadReportFile(testing::Disk(), path, &expected).isOk());
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
  m_loader.start(testing::Disk(), path, &document,
                 {{}, [&finished](const base::Status&) { finished = true; }});
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
  const base::Status status = Load(m_dir.filePath("gone.rtf"), &document);
  EXPECT_FALSE(status.isOk());
  EXPECT_NE(status.message().find("gone.rtf"), std::string::npos) << status.message();
  EXPECT_TRUE(document.isEmpty());
}

// The file system the loader is given is the one it reads: plain text read twice, rich text
// once, and a file it refuses is the load's failure.
TEST_F(ReportLoaderTest, ReadsThroughTheFileSystemItIsGiven) {
  platform::MemoryFileSystem fs;
  QByteArray plain;
  for (int i = 0; i < 3000; ++i) plain += "Added C:\\file" + QByteArray::number(i) + ".txt\r\n";
  fs.addTextFile("C:\\Reports\\June.txt", plain.toStdString());
  fs.addTextFile("C:\\Reports\\July.rtf", testing::LongReportRtf(3000).toStdString());
  for (const QString& path : {QString("C:\\Reports\\June.txt"), QString("C:\\Reports\\July.rtf")}) {
    SCOPED_TRACE(path.toStdString());
    QTextDocument expected;
    ASSERT_TRUE(LoadReportFile(fs, path, &expected).isOk());
    QTextDocument loaded;
    ASSERT_TRUE(Load(path, &loaded, fs).isOk());
    EXPECT_EQ(testing::Describe(loaded), testing::Describe(expected));
    ASSERT_FALSE(m_progress.isEmpty());
    EXPECT_EQ(m_progress.last().second, qint64(fs.contents(path.toStdString())->size()));
  }
  EXPECT_EQ(fs.namesIn("C:\\Reports").size(), 2u);

  fs.failOpen("C:\\Reports\\June.txt",
              base::Status::permissionDenied("C:\\Reports\\June.txt: Permission denied"));
  QTextDocument refused;
  const base::Status status = Load("C:\\Reports\\June.txt", &refused, fs);
  EXPECT_EQ(status.code(), base::Status::Code::kPermissionDenied);
  EXPECT_EQ(status.message(), "C:\\Reports\\June.txt: Permission denied");
  EXPECT_TRUE(refused.isEmpty());
}

}  // namespace
}  // namespace reports
