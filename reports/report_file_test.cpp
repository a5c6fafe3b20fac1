// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/report_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <string>
#include <vector>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>

#include "engine/change_report.h"
#include "platform/posix/posix_file_system.h"
#include "platform/testing/memory_file_system.h"
#include "platform/testing/string_file.h"
#include "reports/plain_text.h"
#include "reports/report_text.h"
#include "reports/rtf_writer.h"
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
    EXPECT_TRUE(LoadReportFile(testing::Disk(), PathOf("loaded"), &m_document).isOk());
    return PlainTextOf(m_document);
  }

  QTemporaryDir m_dir;
  QTextDocument m_document;
};

TEST_F(ReportFileTest, PlainTextOfTheWorkedExampleIsItsShownColumn) {
  ASSERT_TRUE(
      LoadReportFile(testing::Disk(), testing::TestDataPath("worked_example.rtf"), &m_document)
          .isOk());
  const QByteArray expected = testing::ReadTestData("worked_example.txt");
  ASSERT_FALSE(expected.isEmpty());
  EXPECT_EQ(PlainTextOf(m_document), expected);
}

// A run saves the composer's bytes, or their plain-text form made from the file; Save As of
// the view that shows them writes the view's own RTF. Either reads back alike.
TEST_F(ReportFileTest, ARunsReportAndSaveAsOfTheUnchangedViewReadBackAlike) {
  const QStringList reports = {"worked_example.rtf", "combined_report.rtf", "non_ascii_report.rtf",
                               "word_processor.rtf", "cancelled_report.rtf"};
  platform::PosixFileSystem fs;
  for (const QString& name : reports) {
    SCOPED_TRACE(name.toStdString());
    const QString path = testing::TestDataPath(name);
    ASSERT_TRUE(LoadReportFile(testing::Disk(), path, &m_document).isOk());
    const QStringList shown = testing::Describe(m_document);

    ASSERT_TRUE(
        SaveReportFile(testing::Disk(), m_document, PathOf("saved.rtf"), ReportFormat::kRichText)
            .isOk());
    QTextDocument again;
    ASSERT_TRUE(LoadReportFile(testing::Disk(), PathOf("saved.rtf"), &again).isOk());
    EXPECT_EQ(testing::Describe(again), shown);

    ASSERT_TRUE(
        SaveReportFile(testing::Disk(), m_document, PathOf("saved.txt"), ReportFormat::kPlainText)
            .isOk());
    platform::testing::StringFile run(SIZE_MAX);
    ASSERT_TRUE(
        AppendReportFileAsPlainText(fs, QFile::encodeName(path).toStdString(), &run).isOk());
    EXPECT_FALSE(run.bytes.empty());
    EXPECT_EQ(QByteArray::fromStdString(run.bytes), FileBytes("saved.txt"));
  }

  WriteFile("notes.txt", "plain\r\ntext, not rich\r\n");
  platform::testing::StringFile notes(SIZE_MAX);
  ASSERT_TRUE(
      AppendReportFileAsPlainText(fs, QFile::encodeName(PathOf("notes.txt")).toStdString(), &notes)
          .isOk());
  EXPECT_EQ(notes.bytes, "plain\r\ntext, not rich\r\n");
}

TEST_F(ReportFileTest, LeadingRtfGroupDecidesRichText) {
  EXPECT_EQ(Loaded("{\\rtf1 {\\b x}\\par y}"), "x\r\ny\r\n");
  EXPECT_EQ(Loaded(" {\\rtf1 x}"), " {\\rtf1 x}\r\n");
  EXPECT_EQ(Loaded("{\\rt"), "{\\rt\r\n");
  EXPECT_EQ(Loaded(""), "");
}

TEST(ReportFileKindTest, ReportsOtherTextAndBinaryFilesAreToldApart) {
  const auto kind = [](const QByteArray& bytes) { return KindOfReportBytes(bytes); };
  // Reports of this program: the composer's header, the writer's, a plain report (also in
  // an 8-bit code page, or after a UTF-8 byte order mark).
  EXPECT_EQ(kind(QByteArray(engine::kRichReportFontTable.data(),
                            qsizetype(engine::kRichReportFontTable.size())) +
                 "\r\n{\\colortbl;}\r\n"),
            ReportFileKind::kReport);
  QTextDocument document;
  document.setPlainText(QStringLiteral("edited"));
  EXPECT_EQ(kind(WriteRtf(document)), ReportFileKind::kReport);
  EXPECT_EQ(kind("Disk Activity on C: [/] Since 6/12/1998\r\n\f\tIn C:\\Caf\xE9\\\r\n"),
            ReportFileKind::kReport);
  EXPECT_EQ(kind("\xEF\xBB\xBF"
                 "Disk Activity on D:\n"),
            ReportFileKind::kReport);
  // Other text: a word processor's RTF, notes, an empty file, invalid UTF-8.
  EXPECT_EQ(
      kind("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0 Calibri;}}{\\info{\\author A}}x}"),
      ReportFileKind::kOtherText);
  EXPECT_EQ(kind("notes\nDisk Activity on C:\n"), ReportFileKind::kOtherText);
  EXPECT_EQ(kind(""), ReportFileKind::kOtherText);
  EXPECT_EQ(kind("caf\xE9 \xFF\xFE"), ReportFileKind::kOtherText);
  // Not text: known signatures, even where the rest looks like text, and control bytes in
  // the first 64 KB; beyond them a file is judged text.
  for (const QByteArray& binary :
       {QByteArray("\x89PNG\r\n\x1a\n", 8), QByteArray("\xFF\xD8\xFF\xE0"), QByteArray("GIF89a"),
        QByteArray("GIF87a"), QByteArray("%PDF-1.7\n"), QByteArray("PK\x03\x04"),
        QByteArray("\x7F"
                   "ELF"),
        QByteArray("Disk Activity on C:\0", 20), QByteArray("text\x1b[0m"),
        QByteArray("{\\rtf1 \x01}")}) {
    EXPECT_EQ(kind(binary), ReportFileKind::kNotText) << binary.toStdString();
  }
  EXPECT_EQ(kind(QByteArray(kTextProbeSize - 1, 'a') + '\0'), ReportFileKind::kNotText);
  EXPECT_EQ(kind(QByteArray(kTextProbeSize, 'a') + '\0'), ReportFileKind::kOtherText);
}

TEST_F(ReportFileTest, OpeningAFileThatIsNotTextLeavesTheDocumentAlone) {
  m_document.setPlainText(QStringLiteral("before"));
  WriteFile("picture.rtf", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
  auto opened = OpenReportFile(testing::Disk(), PathOf("picture.rtf"), &m_document);
  ASSERT_TRUE(opened.isOk());
  EXPECT_EQ(opened.value(), ReportFileKind::kNotText);
  EXPECT_EQ(m_document.toPlainText(), QStringLiteral("before"));

  WriteFile("letter.rtf", "{\\rtf1{\\info{\\title T}}Dear\\par}");
  opened = OpenReportFile(testing::Disk(), PathOf("letter.rtf"), &m_document);
  ASSERT_TRUE(opened.isOk());
  EXPECT_EQ(opened.value(), ReportFileKind::kOtherText);
  EXPECT_EQ(m_document.toPlainText(), QStringLiteral("Dear"));
  EXPECT_TRUE(
      OpenReportFile(testing::Disk(), PathOf("missing"), &m_document).status().isNotFound());
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
    const base::Status status = LoadReportFile(testing::Disk(), path, &m_document);
    EXPECT_FALSE(status.isOk()) << path.toStdString();
    EXPECT_NE(status.message().find(QDir::toNativeSeparators(path).toStdString()),
              std::string::npos)
        << status.message();
    EXPECT_EQ(m_document.toPlainText(), "previous");
  }
}

TEST_F(ReportFileTest, SavesRichAndPlainText) {
  ASSERT_TRUE(
      LoadReportFile(testing::Disk(), testing::TestDataPath("worked_example.rtf"), &m_document)
          .isOk());
  const QByteArray plain = PlainTextOf(m_document);
  ASSERT_TRUE(
      SaveReportFile(testing::Disk(), m_document, PathOf("r.rtf"), ReportFormat::kRichText).isOk());
  ASSERT_TRUE(SaveReportFile(testing::Disk(), m_document, PathOf("r.txt"), ReportFormat::kPlainText)
                  .isOk());
  EXPECT_TRUE(FileBytes("r.rtf").startsWith("{\\rtf1"));
  EXPECT_EQ(FileBytes("r.txt"), plain);
  QTextDocument reopened;
  ASSERT_TRUE(LoadReportFile(testing::Disk(), PathOf("r.rtf"), &reopened).isOk());
  EXPECT_EQ(PlainTextOf(reopened), plain);
}

TEST_F(ReportFileTest, ASaveIntoAMissingFolderFails) {
  m_document.setPlainText("the report");
  EXPECT_TRUE(SaveReportFile(testing::Disk(), m_document, PathOf("no/such/folder.rtf"),
                             ReportFormat::kRichText)
                  .isNotFound());
}

TEST_F(ReportFileTest, SavingOverALinkReplacesTheLinkNotItsTarget) {
  WriteFile("victim", "precious");
  ASSERT_TRUE(QFile::link(PathOf("victim"), PathOf("report.rtf")));
  ASSERT_TRUE(QFile::link(PathOf("victim"), PathOf("report.txt")));
  m_document.setPlainText("the report");
  ASSERT_TRUE(
      SaveReportFile(testing::Disk(), m_document, PathOf("report.rtf"), ReportFormat::kRichText)
          .isOk());
  ASSERT_TRUE(
      SaveReportFile(testing::Disk(), m_document, PathOf("report.txt"), ReportFormat::kPlainText)
          .isOk());
  EXPECT_EQ(FileBytes("victim"), "precious");
  EXPECT_FALSE(QFileInfo(PathOf("report.rtf")).isSymLink());
  EXPECT_EQ(FileBytes("report.txt"), "the report\r\n");
}

// Reports on a file system that fails as a disk does.
class ReportFileFaultTest : public ::testing::Test {
 protected:
  static constexpr char kJune[] = "C:\\Reports\\June.txt";

  platform::MemoryFileSystem m_fs;
  QTextDocument m_document;
};

// A full disk, or a sync that fails once everything is written, leaves the previous report
// whole and no temporary beside it.
TEST_F(ReportFileFaultTest, AFailedSaveKeepsThePreviousReportAndSaysWhy) {
  m_fs.addTextFile(kJune, "previous report\r\n");
  m_document.setPlainText(QString(5000, 'x'));
  m_fs.failWritesAfter(kJune, 1000);
  const base::Status full = SaveReportFile(m_fs, m_document, kJune, ReportFormat::kPlainText);
  EXPECT_EQ(full.message(), "C:\\Reports\\June.txt: disk full");
  EXPECT_EQ(m_fs.contents(kJune), "previous report\r\n");
  EXPECT_EQ(m_fs.namesIn("C:\\Reports"), std::vector<std::string>{"June.txt"});

  m_fs.clearFaults();
  m_fs.failSync(kJune);
  const base::Status unsynced = SaveReportFile(m_fs, m_document, kJune, ReportFormat::kRichText);
  EXPECT_EQ(unsynced.systemError(), EIO);
  EXPECT_EQ(unsynced.message(), "C:\\Reports\\June.txt: Input/output error");
  EXPECT_EQ(m_fs.contents(kJune), "previous report\r\n");
  EXPECT_EQ(m_fs.namesIn("C:\\Reports"), std::vector<std::string>{"June.txt"});

  m_fs.clearFaults();
  ASSERT_TRUE(SaveReportFile(m_fs, m_document, kJune, ReportFormat::kPlainText).isOk());
  EXPECT_EQ(m_fs.contents(kJune), std::string(5000, 'x') + "\r\n");
}

// A file refused by the file system, or larger than any report, is named with the reason by
// every way of reading it, and the document is left as it was.
TEST_F(ReportFileFaultTest, AReportThatCannotBeReadIsNamedAndTheDocumentKept) {
  m_fs.addTextFile("C:\\Reports\\Locked.rtf", "{\\rtf1 locked\\par}");
  m_fs.failOpen("C:\\Reports\\Locked.rtf",
                base::Status::permissionDenied("C:\\Reports\\Locked.rtf: Permission denied"));
  // Bigger than the bound, though it holds only its first words: never read at all.
  m_fs.addFile("C:\\Reports\\Huge.txt", kMaxReportFileSize + 1, 0, "Disk Activity on C:");
  struct Case {
    const char* path;
    base::Status::Code code;
    const char* message;
  };
  const Case cases[] = {
      {"C:\\Reports\\Locked.rtf", base::Status::Code::kPermissionDenied,
       "C:\\Reports\\Locked.rtf: Permission denied"},
      {"C:\\Reports\\Huge.txt", base::Status::Code::kInvalidArgument,
       "C:\\Reports\\Huge.txt: too large to open"},
      {"C:\\Reports\\Gone.rtf", base::Status::Code::kNotFound,
       "C:\\Reports\\Gone.rtf: No such file or directory"},
  };
  m_document.setPlainText("previous");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    const base::Status statuses[] = {LoadReportFile(m_fs, c.path, &m_document),
                                     OpenReportFile(m_fs, c.path, &m_document).status(),
                                     ReadReportFileHead(m_fs, c.path).status()};
    for (const base::Status& status : statuses) {
      EXPECT_EQ(status.code(), c.code);
      EXPECT_EQ(status.message(), c.message);
    }
    EXPECT_EQ(m_document.toPlainText(), "previous");
  }
  auto head = ReadReportFileHead(m_fs, "C:\\Reports\\June.txt");
  EXPECT_TRUE(head.status().isNotFound());
  m_fs.addTextFile("C:\\Reports\\June.txt", std::string(kTextProbeSize + 10, 'a'));
  head = ReadReportFileHead(m_fs, "C:\\Reports\\June.txt");
  ASSERT_TRUE(head.isOk());
  EXPECT_EQ(head.value().size, kTextProbeSize + 10);
  EXPECT_EQ(head.value().bytes, QByteArray(kTextProbeSize, 'a'));
}

}  // namespace
}  // namespace reports
