// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/inked_glyphs.h"

#include <gtest/gtest.h>

#include <QFont>
#include <QGlyphRun>
#include <QRawFont>
#include <QTextLayout>
#include <memory>
#include <thread>
#include <vector>

#include "reports/test_support.h"

namespace reports {
namespace {

// `text` laid out on one line in Arial 10 point at 1200 dots per inch.
std::unique_ptr<QTextLayout> LaidOut(const QString& text) {
  static ResolutionDevice device(1200, 1200);
  QFont font("Arial");
  font.setPointSize(10);
  auto layout = std::make_unique<QTextLayout>(text, QFont(font, &device));
  layout->beginLayout();
  layout->createLine().setLineWidth(100000);
  layout->endLayout();
  return layout;
}

TEST(InkedGlyphsTest, BlanksAreLeftOutAndTheOtherGlyphsKeepTheirPlaces) {
  const auto layout = LaidOut("   file1.bin  Grew from .38 to .41 K ");
  const QTextLine line = layout->lineAt(0);
  const QList<QGlyphRun> runs = line.glyphRuns();
  ASSERT_EQ(runs.size(), 1);
  const QRawFont font = runs[0].rawFont();
  InkReader reader;
  InkLine ink;
  ASSERT_TRUE(reader.read(line, font, &ink));

  // One glyph for each character that is not a blank, at the place the layout gave it.
  const QString visible = QString(layout->text()).remove(' ');
  ASSERT_EQ(ink.glyphs.size(), visible.size());
  ASSERT_EQ(ink.positions.size(), visible.size());
  const QList<quint32> expected = font.glyphIndexesForString(visible);
  EXPECT_EQ(ink.glyphs, expected);
  const QList<QPointF> all = runs[0].positions();
  EXPECT_EQ(ink.positions.front(), all[3]);              // "f", after the three blanks
  EXPECT_EQ(ink.positions.back(), all[all.size() - 2]);  // "K", before the last blank
  for (qsizetype i = 1; i < ink.positions.size(); ++i) {
    EXPECT_GT(ink.positions[i].x(), ink.positions[i - 1].x());
  }

  // A line of blanks has nothing to draw.
  const auto blanks = LaidOut("      ");
  ASSERT_TRUE(reader.read(blanks->lineAt(0), font, &ink));
  EXPECT_TRUE(ink.glyphs.isEmpty());
}

TEST(InkedGlyphsTest, ALineWithGlyphsOfAFallbackFontIsNotReadAsOneFont) {
  // Characters the report's font lacks come from another font: such a line cannot cross
  // threads as glyphs of the one font.
  const auto layout = LaidOut(QString::fromUtf8("file \u65e5\u672c.txt"));
  const QTextLine line = layout->lineAt(0);
  const QRawFont font = LaidOut("file")->lineAt(0).glyphRuns().value(0).rawFont();
  InkReader reader;
  InkLine ink;
  EXPECT_FALSE(reader.read(line, font, &ink));
  const auto runs = reader.runs(line);
  ASSERT_GE(runs.size(), 2u);
  EXPECT_EQ(runs[0].first, font);
  EXPECT_NE(runs[1].first, font);
  qsizetype glyphs = 0;
  for (const auto& run : runs) glyphs += run.second.glyphs.size();
  EXPECT_EQ(glyphs, 10);  // "file", the two characters, ".txt"; not the blank
}

TEST(InkedGlyphsTest, FontsOfOneFaceAndSizeMadeOnTwoThreadsMatch) {
  const auto keyOf = [](int pointSize) {
    ResolutionDevice device(1200, 1200);
    QFont font("Arial");
    font.setPointSize(pointSize);
    return FaceKeyOf(QRawFont::fromFont(QFont(font, &device)));
  };
  FaceKey there;
  std::thread([&] { there = keyOf(10); }).join();
  const FaceKey here = keyOf(10);
  EXPECT_FALSE(here.head.isEmpty());
  EXPECT_EQ(here, there);
  EXPECT_FALSE(here == keyOf(12));
  ResolutionDevice device(1200, 1200);
  QFont bold("Arial");
  bold.setPointSize(10);
  bold.setBold(true);
  EXPECT_FALSE(here == FaceKeyOf(QRawFont::fromFont(QFont(bold, &device))));
}

}  // namespace
}  // namespace reports
