// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Reports composed by the engine, read back: the rich form shows what the composer's own
// plain-text form holds, and survives being written and read again.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include <QStringList>
#include <QTextBlock>
#include <QTextDocument>

#include "engine/change_report.h"
#include "platform/date_time.h"
#include "platform/file_system.h"
#include "platform/testing/fixed_locale.h"
#include "platform/testing/string_file.h"
#include "reports/plain_text.h"
#include "reports/rtf_reader.h"
#include "reports/rtf_writer.h"
#include "reports/test_support.h"

namespace reports {
namespace {

using platform::testing::StringFile;

void ExpectOk(const base::Status& status) { EXPECT_TRUE(status.isOk()) << status.toString(); }

// The worked example's drive, then a drive whose names hold what needs escaping or
// decoding: braces, backslashes, non-ASCII, a character beyond U+FFFF, invalid UTF-8 and a
// control character.
void Compose(engine::ReportSink* sink, bool withSecondDrive) {
  const platform::FixedLocale locale;
  engine::ChangeReport report(sink, locale);
  ExpectOk(report.startDrive("c: [DISK1]", "10/27/98 8:03:02 PM", /*fresh=*/true));
  ExpectOk(report.writeFolderHeader("C:\\"));
  ExpectOk(report.grew("AUTOEXEC.BAT", 390, 420));
  ExpectOk(
      report.timeChanged("AUTOEXEC.BAT", {1998, 10, 20, 9, 15, 0}, {1998, 10, 27, 19, 40, 12}));
  ExpectOk(report.writeFolderHeader("C:\\WINDOWS\\"));
  ExpectOk(report.added("NEW.DLL", 1572864));
  ExpectOk(report.deleted("OLD.LOG", 2560));
  ExpectOk(report.writeTotals(1572864, 2560, 30));
  if (withSecondDrive) {
    ExpectOk(report.startDrive("d: [\\\\server\\share {x}]", "12/6/98", /*fresh=*/false));
    ExpectOk(report.writeFolderHeader("/home/Con 자백/{a}\\b/"));
    ExpectOk(report.added("caf\xC3\xA9 \xF0\x9F\x98\x80.png", 512));
    ExpectOk(report.deleted("\xE9t\xE9 tab\there.txt", 128));
    ExpectOk(report.shrunk("notes.txt", 100, 50));
    ExpectOk(report.writeTotals(512, 128, -50));
  }
  ExpectOk(report.writeClosing());
}

QStringList Paragraphs(const QTextDocument& document) {
  QStringList texts;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    texts.append(block.text());
  }
  return texts;
}

TEST(ComposedReportTest, WorkedExampleIsTheTestDataByteForByte) {
  StringFile rtf;
  Compose(engine::NewRtfReportSink(&rtf).get(), /*withSecondDrive=*/false);
  EXPECT_EQ(QByteArray::fromStdString(rtf.bytes), testing::ReadTestData("worked_example.rtf"));
}

TEST(ComposedReportTest, PlainTextOfTheWorkedExampleIsWhatTheComposerShows) {
  StringFile rtf;
  StringFile plain;
  Compose(engine::NewRtfReportSink(&rtf).get(), /*withSecondDrive=*/false);
  Compose(engine::NewPlainTextReportSink(&plain).get(), /*withSecondDrive=*/false);
  QTextDocument document;
  ReadRtf(QByteArray::fromStdString(rtf.bytes), &document);
  EXPECT_EQ(PlainTextOf(document), QByteArray::fromStdString(plain.bytes));
  EXPECT_EQ(PlainTextOf(document), testing::ReadTestData("worked_example.txt"));
}

TEST(ComposedReportTest, RichFormShowsThePlainForm) {
  StringFile rtf;
  StringFile plain;
  Compose(engine::NewRtfReportSink(&rtf).get(), /*withSecondDrive=*/true);
  Compose(engine::NewPlainTextReportSink(&plain).get(), /*withSecondDrive=*/true);
  QStringList expected = QString::fromStdString(plain.bytes).split("\r\n");
  ASSERT_EQ(expected.takeLast(), "");  // after the last line's CR LF
  // The rich form writes each drive's end as lines that begin with a blank and \par
  // (" \par }", " \par"): that blank is text, so it ends the net change line, and it is all
  // the first of the two paragraphs between drives holds.
  for (qsizetype i = 0; i < expected.size(); ++i) {
    if (expected[i].startsWith("Net Change = ")) {
      expected[i] += ' ';
      if (i + 1 < expected.size()) expected[i + 1] = " ";
    }
  }

  QTextDocument document;
  ReadRtf(QByteArray::fromStdString(rtf.bytes), &document);
  EXPECT_EQ(Paragraphs(document), expected);
  EXPECT_EQ(expected[16], "Disk Activity on D: [\\\\SERVER\\SHARE {X}] Since 12/6/98");

  QTextDocument again;
  ReadRtf(WriteRtf(document), &again);
  EXPECT_EQ(testing::Describe(again), testing::Describe(document));
}

}  // namespace
}  // namespace reports
