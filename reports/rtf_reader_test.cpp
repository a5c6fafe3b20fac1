// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/rtf_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>

#include <QColor>
#include <QFont>
#include <QRegularExpression>
#include <QStringList>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "reports/test_support.h"

namespace reports {
namespace {

using testing::ReadTestData;

class RtfReaderTest : public ::testing::Test {
 protected:
  void Read(const QByteArray& rtf) { ReadRtf(rtf, &m_document); }

  QStringList Paragraphs() const {
    QStringList texts;
    for (QTextBlock block = m_document.begin(); block.isValid(); block = block.next()) {
      texts.append(block.text());
    }
    return texts;
  }

  // The format of the character at `offset` in paragraph `paragraph`.
  QTextCharFormat FormatAt(int paragraph, int offset) const {
    QTextCursor cursor(m_document.findBlockByNumber(paragraph));
    cursor.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, offset + 1);
    return cursor.charFormat();
  }

  // The text colour of the paragraph's first character that is not a blank (or of its blank),
  // or nothing when it has no colour of its own.
  std::optional<QColor> ColorOf(int paragraph) const {
    const QString text = m_document.findBlockByNumber(paragraph).text();
    const QTextCharFormat format =
        FormatAt(paragraph, std::max<int>(0, text.indexOf(QRegularExpression("\\S"))));
    if (!format.hasProperty(QTextFormat::ForegroundBrush)) return std::nullopt;
    return format.foreground().color();
  }

  QTextDocument m_document;
};

TEST_F(RtfReaderTest, WorkedExampleReadsAsItsShownColumn) {
  Read(ReadTestData("worked_example.rtf"));
  // The title and one paragraph per \par line; the closing line's blank ends the last one.
  const QStringList expected = {
      "Disk Activity on C: [DISK1] Since 10/27/98 8:03:02 PM",
      " ",
      "In C:\\",
      "   AUTOEXEC.BAT  Grew from .38 to .41 K",
      "   AUTOEXEC.BAT: Time Changed From: 10/20/98 9:15:00 AM to 10/27/98 7:40:12 PM",
      " ",
      "In C:\\WINDOWS\\",
      "   Added NEW.DLL (1,536.00 K)",
      "   Deleted OLD.LOG (2.50 K)",
      " ",
      "Total of Files Added = 1,536.00K",
      "Total of Files Deleted = 2.50K",
      "Changes to Existing Files = 0.03K",
      "Net Change = 1,533.53 ",
  };
  EXPECT_EQ(Paragraphs(), expected);

  const QColor black(0, 0, 0), green(0, 128, 0), red(255, 0, 0), olive(100, 100, 0),
      maroon(128, 0, 0), navy(0, 0, 128);
  const std::optional<QColor> colors[] = {std::nullopt, black, black, maroon, olive, black, black,
                                          navy,         green, black, black,  red,   black, black};
  for (int i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(ColorOf(i), colors[i]) << "paragraph " << i;
    EXPECT_EQ(FormatAt(i, 0).fontPointSize(), i == 0 ? 12 : 10) << "paragraph " << i;
    EXPECT_EQ(FormatAt(i, 0).fontFamilies().toStringList(), QStringList{"Arial"});
  }
}

TEST_F(RtfReaderTest, ReportWithoutClosingLineKeepsItsLastParagraph) {
  Read(ReadTestData("cancelled_report.rtf"));
  ASSERT_EQ(Paragraphs().size(), 6);
  EXPECT_EQ(Paragraphs().last(), " ");
  EXPECT_EQ(ColorOf(4), QColor(100, 100, 0));
}

TEST_F(RtfReaderTest, CombinedReportSeparatesDrivesByTwoBlankParagraphs) {
  Read(ReadTestData("combined_report.rtf"));
  const QStringList paragraphs = Paragraphs();
  const qsizetype secondTitle = paragraphs.indexOf(QRegularExpression("^Disk Activity on D:.*"));
  ASSERT_EQ(secondTitle, 16);
  EXPECT_EQ(paragraphs.mid(13, 3), (QStringList{"Net Change = 1,533.53 ", " ", ""}));
  EXPECT_EQ(FormatAt(16, 0).fontPointSize(), 12);
  EXPECT_EQ(paragraphs[16], "Disk Activity on D: [\\\\SERVER\\SHARE {1}] Since 12/6/98");
  EXPECT_EQ(paragraphs[19], "   Added a(b).txt (.50 K)");
  EXPECT_EQ(paragraphs.last(), "Net Change = 0.45 ");
}

TEST_F(RtfReaderTest, ReadsWhatWordProcessorsWrite) {
  Read(ReadTestData("word_processor.rtf"));
  const QStringList expected = {
      "Centred bold heading",
      "Привет ąć italic under gone",
      "red blue and marked",
      "Quotes “q”, dash – and —, bullet •, tab\tend\u2028second line",
      "a link",
      "Unicode € euro, — dash, emoji 😀",
      "after",
      "binary skipped",
      "Escapes { } \\ non\u00A0breaking soft\u00ADhyphen non\u2011breaking",
  };
  EXPECT_EQ(Paragraphs(), expected);

  EXPECT_EQ(m_document.begin().blockFormat().alignment(), Qt::AlignHCenter);
  EXPECT_EQ(FormatAt(0, 0).fontWeight(), QFont::Bold);
  EXPECT_EQ(FormatAt(0, 0).fontPointSize(), 14);
  EXPECT_EQ(FormatAt(0, 0).fontFamilies().toStringList(), QStringList{"Calibri"});
  EXPECT_EQ(FormatAt(1, 0).fontFamilies().toStringList(), QStringList{"Arial"});
  EXPECT_NE(FormatAt(1, 0).fontWeight(), QFont::Bold);
  EXPECT_TRUE(FormatAt(1, 11).fontItalic());
  EXPECT_TRUE(FormatAt(1, 19).fontUnderline());
  EXPECT_TRUE(FormatAt(1, 26).fontStrikeOut());
  EXPECT_EQ(FormatAt(2, 0).foreground().color(), QColor(255, 0, 0));
  EXPECT_EQ(FormatAt(2, 4).foreground().color(), QColor(0, 77, 187));
  // \cf0 is the table's automatic entry: no colour of its own.
  EXPECT_FALSE(FormatAt(2, 10).hasProperty(QTextFormat::ForegroundBrush));
  EXPECT_EQ(FormatAt(2, 14).background().color(), QColor(255, 0, 0));
  EXPECT_EQ(m_document.lastBlock().blockFormat().alignment(), Qt::AlignJustify);
}

TEST_F(RtfReaderTest, ParagraphTakesTheAlignmentAtItsEnd) {
  Read("{\\rtf1 left\\qr\\par right\\par\\pard\\qc centred\\pard}");
  ASSERT_EQ(m_document.blockCount(), 3);
  EXPECT_EQ(m_document.findBlockByNumber(0).blockFormat().alignment(), Qt::AlignRight);
  EXPECT_EQ(m_document.findBlockByNumber(1).blockFormat().alignment(), Qt::AlignRight);
  EXPECT_EQ(m_document.findBlockByNumber(2).blockFormat().alignment(), Qt::AlignLeft);
}

TEST_F(RtfReaderTest, FontsAndColoursBeyondTheLimitShowInTheDefaults) {
  // Formats that differ only in font or colour make QTextDocument's format lookup linear, so
  // only the first 256 combinations keep theirs.
  QByteArray rtf = "{\\rtf1{\\fonttbl";
  for (int i = 0; i < 300; ++i)
    rtf += "{\\f" + QByteArray::number(i) + " F" + QByteArray::number(i) + ";}";
  rtf += "}{\\colortbl;\\red9\\green9\\blue9;}";
  for (int i = 0; i < 300; ++i) rtf += "\\f" + QByteArray::number(i) + "\\cf1\\b x";
  Read(rtf + "}");
  EXPECT_EQ(FormatAt(0, 255).fontFamilies().toStringList(), QStringList{"F255"});
  EXPECT_EQ(FormatAt(0, 255).foreground().color(), QColor(9, 9, 9));
  EXPECT_FALSE(FormatAt(0, 256).hasProperty(QTextFormat::FontFamilies));
  EXPECT_FALSE(FormatAt(0, 256).hasProperty(QTextFormat::ForegroundBrush));
  EXPECT_EQ(FormatAt(0, 299).fontWeight(), QFont::Bold);
}

TEST_F(RtfReaderTest, DecodesEscapedBytesWithTheDocumentCodePage) {
  Read("{\\rtf1\\ansi\\ansicpg1251 \\'c0\\'e1 \xc0}");
  EXPECT_EQ(Paragraphs(), QStringList{"Аб А"});
  Read("{\\rtf1\\ansi\\ansicpg1253 \\'e1}");
  EXPECT_EQ(Paragraphs(), QStringList{"α"});
  Read("{\\rtf1\\ansi \\'80\\'e9\\'81}");  // 0x81 is undefined in 1252
  EXPECT_EQ(Paragraphs(), QStringList{"€é\uFFFD"});
}

TEST_F(RtfReaderTest, EmptyOrBraceLessInputGivesAnEmptyDocument) {
  for (const QByteArray& rtf : {QByteArray(), QByteArray("no group at all \\par")}) {
    Read(rtf);
    EXPECT_TRUE(m_document.isEmpty());
    EXPECT_EQ(m_document.blockCount(), 1);
  }
}

TEST_F(RtfReaderTest, UnbalancedBracesEndOrCutTheDocument) {
  Read("{\\rtf1 {\\b bold\\par text");  // groups never closed
  EXPECT_EQ(Paragraphs(), (QStringList{"bold", "text"}));
  EXPECT_EQ(FormatAt(1, 0).fontWeight(), QFont::Bold);
  Read("{\\rtf1 a\\par}}}} b\\par}");  // the document ends with its outermost group
  EXPECT_EQ(Paragraphs(), QStringList{"a"});
}

TEST_F(RtfReaderTest, DeepNestingIsReadAndUnwound) {
  const int depth = 100'000;
  Read("{\\rtf1 " + QByteArray(depth, '{') + "\\b deep" + QByteArray(depth, '}') + " flat}");
  EXPECT_EQ(Paragraphs(), QStringList{"deep flat"});
  EXPECT_EQ(FormatAt(0, 0).fontWeight(), QFont::Bold);
  EXPECT_NE(FormatAt(0, 5).fontWeight(), QFont::Bold);
  Read("{\\rtf1 " + QByteArray(depth, '{') + "never closed");
  EXPECT_EQ(Paragraphs(), QStringList{"never closed"});
}

TEST_F(RtfReaderTest, BinaryLengthsBeyondTheInputStopReading) {
  Read("{\\rtf1 before\\bin2147483648 xyz}");
  EXPECT_EQ(Paragraphs(), QStringList{"before"});
  Read("{\\rtf1 a\\bin99999999999999999999999999 b}");
  EXPECT_EQ(Paragraphs(), QStringList{"a"});
  Read("{\\rtf1 a\\bin-5 b\\bin3 {}\\c}");  // negative: no data
  EXPECT_EQ(Paragraphs(), QStringList{"abc"});
}

TEST_F(RtfReaderTest, UnicodeEscapesOutOfRangeBecomeReplacementCharacters) {
  Read("{\\rtf1 \\u99999999?\\u-99999?\\u65535?\\u-10179?x\\u-8704?\\u64976?\\u0?\\u233?}");
  EXPECT_EQ(Paragraphs(), QStringList{"\uFFFD\uFFFD\uFFFD\uFFFDx\uFFFD\uFFFDé"});
  EXPECT_EQ(m_document.blockCount(), 1);  // U+FDD0 would have opened a block of its own
  Read("{\\rtf1 \\uc99999999999 \\u233 fallback skipped}");
  EXPECT_EQ(Paragraphs(), QStringList{"é"});
}

TEST_F(RtfReaderTest, FileCutInsideAControlWordKeepsWhatCameBefore) {
  for (const char* rtf : {"{\\rtf1 abc\\pa", "{\\rtf1 abc\\", "{\\rtf1 abc\\'", "{\\rtf1 abc\\'0",
                          "{\\rtf1 abc\\u-", "{\\rtf1 abc\\fs99999999999999999999"}) {
    Read(rtf);
    EXPECT_EQ(Paragraphs(), QStringList{"abc"}) << rtf;
  }
}

}  // namespace
}  // namespace reports
