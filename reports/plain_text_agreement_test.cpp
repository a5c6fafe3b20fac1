// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The plain-text form of a report comes two ways: the command line streams it from the file
// with Qt Core alone (report_text.h), the window reads the file into a document and takes the
// document's text (report_file.h, plain_text.h). Both must give the same bytes.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include <QDirIterator>
#include <QTextDocument>

#include "platform/posix/posix_file_system.h"
#include "platform/testing/string_file.h"
#include "platform/testing/temp_folder.h"
#include "reports/plain_text.h"
#include "reports/report_file.h"
#include "reports/report_text.h"
#include "reports/test_support.h"

namespace reports {
namespace {

// The plain text of the report file `path` taken both ways, compared.
void ExpectTheSamePlainText(const std::string& path) {
  SCOPED_TRACE(path);
  platform::PosixFileSystem fs;
  platform::testing::StringFile streamed;
  ASSERT_TRUE(AppendReportFileAsPlainText(fs, path, &streamed).isOk());
  QTextDocument document;
  ASSERT_TRUE(LoadReportFile(testing::Disk(), QString::fromStdString(path), &document).isOk());
  const QByteArray fromDocument = PlainTextOf(document);
  EXPECT_EQ(streamed.bytes, fromDocument.toStdString());
}

TEST(PlainTextAgreementTest, EveryReportOfTheTestDataGivesTheSameTextBothWays) {
  int compared = 0;
  QDirIterator files(testing::TestDataPath(""), QDir::Files, QDirIterator::Subdirectories);
  while (files.hasNext()) {
    ExpectTheSamePlainText(files.next().toStdString());
    ++compared;
  }
  EXPECT_GE(compared, 7);
}

TEST(PlainTextAgreementTest, PlainTextReportsOfEveryKindGiveTheSameTextBothWays) {
  const platform::TempFolder folder;
  const std::vector<std::string> texts = {
      "",
      "one line without an end",
      "Disk Activity on C: [/]\r\n \r\nIn /docs/\r\n   Added a.txt (.01 K)\r\n",
      "lines\nended\rthree\r\nways\n\n",
      "\xEF\xBB\xBFwith a byte order mark\r\n",
      "caf\xE9 in Latin-1\r\n",                    // not UTF-8: read as Latin-1 both ways
      "blanks at the end   \r\n   \r\n\tx\t\r\n",  // a line of blanks only keeps them
      "\xE2\x80\xA8 a line separator \xC2\x85 and NEL\r\n",
      "a cut sequence \xE2\x82",
  };
  for (std::size_t i = 0; i < texts.size(); ++i) {
    const std::string path = folder / ("report" + std::to_string(i) + ".txt");
    std::ofstream(path, std::ios::binary) << texts[i];
    ExpectTheSamePlainText(path);
  }
}

}  // namespace
}  // namespace reports
