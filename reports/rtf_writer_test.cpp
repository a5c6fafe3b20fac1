// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/rtf_writer.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QFont>
#include <QStringList>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "reports/print_test_support.h"
#include "reports/rtf_reader.h"
#include "reports/test_support.h"

namespace reports {
namespace {

QStringList ReadWriteRead(const QByteArray& rtf, QStringList* first) {
  QTextDocument document;
  ReadRtf(rtf, &document);
  *first = testing::Describe(document);
  QTextDocument again;
  ReadRtf(WriteRtf(document), &again);
  return testing::Describe(again);
}

TEST(RtfWriterTest, ComposedAndForeignDocumentsSurviveWritingAndReading) {
  for (const char* name : {"worked_example.rtf", "combined_report.rtf", "no_change_report.rtf",
                           "non_ascii_report.rtf", "cancelled_report.rtf", "word_processor.rtf"}) {
    const QByteArray rtf = testing::ReadTestData(name);
    ASSERT_FALSE(rtf.isEmpty()) << name;
    QStringList first;
    const QStringList second = ReadWriteRead(rtf, &first);
    EXPECT_EQ(second, first) << name;
  }
}

TEST(RtfWriterTest, EditedDocumentKeepsItsLook) {
  QTextDocument document;
  QTextCursor cursor(&document);
  QTextCharFormat format;
  format.setFontFamilies({"Liberation Serif"});
  format.setFontPointSize(10.5);
  format.setFontWeight(QFont::Bold);
  format.setFontUnderline(true);
  format.setForeground(QColor(1, 2, 3));
  format.setBackground(QColor(250, 240, 230));
  cursor.insertText("{braces} \\ back\tslash", format);
  QTextBlockFormat centred;
  centred.setAlignment(Qt::AlignHCenter);
  cursor.insertBlock(centred);
  format = QTextCharFormat();
  format.setFontFamilies({"Arial"});
  format.setFontPointSize(12);
  format.setFontItalic(true);
  format.setFontStrikeOut(true);
  cursor.insertText(QString("café Ω \U0001F600 line") + QChar::LineSeparator + "break", format);
  QTextBlockFormat right;
  right.setAlignment(Qt::AlignRight);
  cursor.insertBlock(right);  // an empty last paragraph stays

  const QByteArray rtf = WriteRtf(document);
  for (const char c : rtf) ASSERT_LT(static_cast<unsigned char>(c), 0x80) << rtf.constData();
  EXPECT_TRUE(rtf.contains("caf\\u233? \\u937? \\u-10179?\\u-8704? line\\line break"))
      << rtf.constData();
  QTextDocument again;
  ReadRtf(rtf, &again);
  EXPECT_EQ(testing::Describe(again), testing::Describe(document));
}

TEST(RtfWriterTest, EmptyDocumentStaysEmpty) {
  QTextDocument document;
  QTextDocument again;
  again.setPlainText("something");
  ReadRtf(WriteRtf(document), &again);
  EXPECT_TRUE(again.isEmpty());
  EXPECT_EQ(again.blockCount(), 1);
}

}  // namespace
}  // namespace reports

namespace reports {
namespace {

// A long document goes out in pieces that together read back as the document, in its fonts
// and colours; a writer that fails gets nothing more.
TEST(RtfWriterTest, LongDocumentsGoOutInPiecesAndAFailureStopsThem) {
  QTextDocument document;
  ReadRtf(testing::LongReportRtf(20000), &document);
  QByteArray whole;
  int pieces = 0;
  ASSERT_TRUE(WriteRtf(document, [&](QByteArrayView piece) {
    whole.append(piece);
    ++pieces;
    return true;
  }));
  EXPECT_GT(pieces, 2);
  QTextDocument again;
  ReadRtf(whole, &again);
  EXPECT_EQ(testing::Describe(again), testing::Describe(document));

  int calls = 0;
  EXPECT_FALSE(WriteRtf(document, [&](QByteArrayView) { return ++calls < 2; }));
  EXPECT_EQ(calls, 2);
}

}  // namespace
}  // namespace reports
