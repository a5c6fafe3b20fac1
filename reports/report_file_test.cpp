// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/report_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>

#include "reports/plain_text.h"
#include "reports/test_support.h"

namespace reports {
namespace {

class ReportFileTest : public ::testing::Test {
 protected:
  QString PathOf(const QString& name) const { return m_dir.filePath(name); }

  void WriteFile(const QString& name, const QByteArray& bytes) {
    QFile file(PathOf(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
  }

  QByteArray FileBytes(const QString& name) const {
    QFile file(PathOf(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
  }

  // Loads `bytes` as a report file and returns the document's plain-text form.
  QByteArray Loaded(const QByteArray& bytes) {
    WriteFile("loaded", bytes);
    EXPECT_TRUE(LoadReportFile(PathOf("loaded"), &m_document).isOk());
    return PlainTextOf(m_document);
  }

  QTemporaryDir m_dir;
  QTextDocument m_document;
};

TEST_F(ReportFileTest, PlainTextOfTheWorkedExampleIsItsShownColumn) {
  ASSERT_TRUE(LoadReportFile(testing::TestDataPath("worked_example.rtf"), &m_document).isOk());
  const QByteArray expected = testing::ReadTestData("worked_example.txt");
  ASSERT_FALSE(expected.isEmpty());
  EXPECT_EQ(PlainTextOf(m_document), expected);
}

TEST_F(ReportFileTest, PlainTextSavedWithoutADocumentIsWhatLoadingAndSavingGives) {
  const QStringList reports = {"worked_example.rtf", "combined_report.rtf", "non_ascii_report.rtf",
                               "word_processor.rtf", "cancelled_report.rtf"};
  for (const QString& name : reports) {
    SCOPED_TRACE(name.toStdString());
    ASSERT_TRUE(LoadReportFile(testing::TestDataPath(name), &m_document).isOk());
    ASSERT_TRUE(
        SaveReportFile(m_document, PathOf("via-document.txt"), ReportFormat::kPlainText).isOk());
    ASSERT_TRUE(
        SaveReportFileAsPlainText(testing::TestDataPath(name), PathOf("direct.txt")).isOk());
    EXPECT_EQ(FileBytes("direct.txt"), FileBytes("via-document.txt"));
  }
  EXPECT_FALSE(FileBytes("direct.txt").isEmpty());

  WriteFile("notes.txt", "plain\r\ntext, not rich\r\n");
  ASSERT_TRUE(SaveReportFileAsPlainText(PathOf("notes.txt"), PathOf("notes-out.txt")).isOk());
  EXPECT_EQ(FileBytes("notes-out.txt"), "plain\r\ntext, not rich\r\n");
  EXPECT_EQ(SaveReportFileAsPlainText(PathOf("missing.rtf"), PathOf("x.txt")).code(),
            engine::Status::Code::kNotFound);
}

TEST_F(ReportFileTest, LeadingRtfGroupDecidesRichText) {
  EXPECT_EQ(Loaded("{\\rtf1 {\\b x}\\par y}"), "x\r\ny\r\n");
  EXPECT_EQ(Loaded(" {\\rtf1 x}"), " {\\rtf1 x}\r\n");
  EXPECT_EQ(Loaded("{\\rt"), "{\\rt\r\n");
  EXPECT_EQ(Loaded(""), "");
}

TEST_F(ReportFileTest, PlainTextKeepsItsLines) {
  EXPECT_EQ(Loaded("a\r\n\r\nb\r\n"), "a\r\n\r\nb\r\n");
  EXPECT_EQ(m_document.blockCount(), 3);
  EXPECT_EQ(Loaded("lf\nonly\ncr\rlast"), "lf\r\nonly\r\ncr\r\nlast\r\n");
  EXPECT_EQ(Loaded("\xEF\xBB\xBF"
                   "caf\xC3\xA9 \xF0\x9F\x98\x80\r\n"),
            "caf\xC3\xA9 \xF0\x9F\x98\x80\r\n");
  // Not UTF-8: every byte is shown as its Latin-1 character.
  EXPECT_EQ(Loaded("caf\xE9\r\n"), "caf\xC3\xA9\r\n");
  // Control characters and the characters QTextDocument keeps for frames stay out.
  EXPECT_EQ(Loaded(QByteArray("a\0b\x01\xEF\xB7\x90"
                              "c\td",
                              10)),
            "ab\xEF\xBF\xBD"
            "c\td\r\n");
  EXPECT_EQ(m_document.blockCount(), 1);
}

TEST_F(ReportFileTest, FailedLoadNamesThePathAndKeepsTheDocument) {
  m_document.setPlainText("previous");
  ASSERT_EQ(mkfifo(PathOf("pipe").toLocal8Bit().constData(), 0600), 0);
  for (const QString& path :
       {PathOf("missing.rtf"), m_dir.path(), PathOf("pipe"), QString("/dev/zero")}) {
    const engine::Status status = LoadReportFile(path, &m_document);
    EXPECT_FALSE(status.isOk()) << path.toStdString();
    EXPECT_NE(status.message().find(QDir::toNativeSeparators(path).toStdString()),
              std::string::npos)
        << status.message();
    EXPECT_EQ(m_document.toPlainText(), "previous");
  }
}

TEST_F(ReportFileTest, SavesRichAndPlainText) {
  ASSERT_TRUE(LoadReportFile(testing::TestDataPath("worked_example.rtf"), &m_document).isOk());
  const QByteArray plain = PlainTextOf(m_document);
  ASSERT_TRUE(SaveReportFile(m_document, PathOf("r.rtf"), ReportFormat::kRichText).isOk());
  ASSERT_TRUE(SaveReportFile(m_document, PathOf("r.txt"), ReportFormat::kPlainText).isOk());
  EXPECT_TRUE(FileBytes("r.rtf").startsWith("{\\rtf1"));
  EXPECT_EQ(FileBytes("r.txt"), plain);
  QTextDocument reopened;
  ASSERT_TRUE(LoadReportFile(PathOf("r.rtf"), &reopened).isOk());
  EXPECT_EQ(PlainTextOf(reopened), plain);
}

TEST_F(ReportFileTest, FailedSaveKeepsThePreviousFileAndSaysWhy) {
  WriteFile("report.txt", "previous report");
  m_document.setPlainText(QString(5000, 'x'));
  // A file size limit makes the write fail halfway, as a full disk would (even for root).
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 1000;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const engine::Status status =
      SaveReportFile(m_document, PathOf("report.txt"), ReportFormat::kPlainText);
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, oldHandler);

  EXPECT_FALSE(status.isOk());
  EXPECT_NE(status.message().find(PathOf("report.txt").toStdString()), std::string::npos);
  EXPECT_EQ(FileBytes("report.txt"), "previous report");
  EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"report.txt"});

  EXPECT_FALSE(
      SaveReportFile(m_document, PathOf("no/such/folder.rtf"), ReportFormat::kRichText).isOk());
}

TEST_F(ReportFileTest, SavingOverALinkReplacesTheLinkNotItsTarget) {
  WriteFile("victim", "precious");
  ASSERT_TRUE(QFile::link(PathOf("victim"), PathOf("report.rtf")));
  ASSERT_TRUE(QFile::link(PathOf("victim"), PathOf("report.txt")));
  m_document.setPlainText("the report");
  ASSERT_TRUE(SaveReportFile(m_document, PathOf("report.rtf"), ReportFormat::kRichText).isOk());
  ASSERT_TRUE(SaveReportFileAsPlainText(PathOf("report.rtf"), PathOf("report.txt")).isOk());
  EXPECT_EQ(FileBytes("victim"), "precious");
  EXPECT_FALSE(QFileInfo(PathOf("report.rtf")).isSymLink());
  EXPECT_EQ(FileBytes("report.txt"), "the report\r\n");
}

}  // namespace
}  // namespace reports
