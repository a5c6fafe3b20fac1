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

#include "reports/rtf_reader.h"
#include "reports/test_support.h"

namespace reports {
namespace {

// One line per paragraph (alignment) and per run of text (its text and every format the
// writer promises to keep), so that two documents compare as lists.
QStringList Describe(const QTextDocument& document) {
  QStringList lines;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    lines.append(QStringLiteral("paragraph align=%1").arg(block.blockFormat().alignment()));
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextCharFormat f = it.fragment().charFormat();
      const auto color = [&](QTextFormat::Property property) {
        return f.hasProperty(property) ? f.brushProperty(property).color().name() : QString("-");
      };
      lines.append(
          QStringLiteral("[%1] %2 %3pt fg=%4 bg=%5 b=%6 i=%7 u=%8 s=%9")
              .arg(it.fragment().text(), f.fontFamilies().toStringList().join(','))
              .arg(f.fontPointSize())
              .arg(color(QTextFormat::ForegroundBrush), color(QTextFormat::BackgroundBrush))
              .arg(f.fontWeight() >= QFont::DemiBold)
              .arg(f.fontItalic())
              .arg(f.fontUnderline())
              .arg(f.fontStrikeOut()));
    }
  }
  return lines;
}

QStringList ReadWriteRead(const QByteArray& rtf, QStringList* first) {
  QTextDocument document;
  ReadRtf(rtf, &document);
  *first = Describe(document);
  QTextDocument again;
  ReadRtf(WriteRtf(document), &again);
  return Describe(again);
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
  QTextCharFormat plain;
  plain.setFontItalic(true);
  plain.setFontStrikeOut(true);
  cursor.insertText(QString("café Ω \U0001F600 line") + QChar::LineSeparator + "break", plain);
  QTextBlockFormat right;
  right.setAlignment(Qt::AlignRight);
  cursor.insertBlock(right);  // an empty last paragraph stays

  const QByteArray rtf = WriteRtf(document);
  for (const char c : rtf) ASSERT_LT(static_cast<unsigned char>(c), 0x80) << rtf.constData();
  EXPECT_TRUE(rtf.contains("caf\\u233?")) << rtf.constData();
  EXPECT_TRUE(rtf.contains("\\u-10179?\\u-8704?")) << rtf.constData();

  QTextDocument again;
  ReadRtf(rtf, &again);
  ASSERT_EQ(again.blockCount(), 3);
  EXPECT_EQ(again.findBlockByNumber(0).text(), document.findBlockByNumber(0).text());
  EXPECT_EQ(again.findBlockByNumber(1).text(), document.findBlockByNumber(1).text());
  EXPECT_EQ(again.findBlockByNumber(1).blockFormat().alignment(), Qt::AlignHCenter);
  EXPECT_EQ(again.lastBlock().blockFormat().alignment(), Qt::AlignRight);
  // A run without family or size gets the document's default ones, so compare runs that set
  // them: the first paragraph's.
  EXPECT_EQ(Describe(again).mid(0, 2), Describe(document).mid(0, 2));
  const QTextCharFormat italic = again.findBlockByNumber(1).begin().fragment().charFormat();
  EXPECT_TRUE(italic.fontItalic());
  EXPECT_TRUE(italic.fontStrikeOut());
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
