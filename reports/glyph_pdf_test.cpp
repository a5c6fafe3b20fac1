// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The PDF written from glyphs against the same glyphs drawn by Qt's PDF engine, read back
// with poppler's tools.
#include "reports/glyph_pdf.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include <QBuffer>
#include <QFile>
#include <QFont>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QTextLayout>

#include "reports/inked_glyphs.h"
#include "reports/print_test_support.h"

namespace reports {
namespace {

constexpr int kResolution = 1200;

// A line's glyphs of one font, where they go.
struct Placed {
  QRawFont font;
  InkLine ink;
  QPointF origin;
  QColor colour;
  bool banded;  // shifted and clipped (kShift, kBand)
};
// The pages to print, each a list of lines in a font: an Arial page with letters built of
// others (accented ones), and a page of Arial and a larger bold face, in colours, one line
// shifted and cut off at its middle.
struct Line {
  QString text;
  QFont font;
  QColor colour = Qt::black;
  bool banded = false;
};
const QPointF kShift(300, 2000);
const QRectF kBand(0, 0, 4000, 20000);

QFont Font(const QString& family, int points, QFont::Weight weight = QFont::Normal) {
  QFont font(family);
  font.setPointSize(points);
  font.setWeight(weight);
  return font;
}

const std::vector<std::vector<Line>> kPages = {
    {{"Disk Activity on c: [/srv] Since 3/1/24 9:00:00 AM", Font("Arial", 10)},
     {". Added \u00c5ngstr\u00f6m caf\u00e9 na\u00efve fa\u00e7ade.txt (1,536.00 K)",
      Font("Arial", 10)},
     {"\u00c4\u00d6\u00dc \u00e4\u00f6\u00fc \u00df \u20ac 100 \u2014 \u00bd", Font("Arial", 24)}},
    {{"Total of Files Added = 1,536.00K", Font("Arial", 10), QColor(0, 0, 128)},
     {"Gr\u00f6\u00dfe: 2,000.41 K \u00e9\u00e8\u00ea", Font("DejaVu Sans", 14, QFont::Bold),
      QColor(128, 0, 0)},
     {"Net Change = 1,533.53 and a line cut off at its middle", Font("Arial", 10), Qt::black, true},
     // Right to left, joined letters, and marks placed on others: read back in no useful order
     // from any PDF, but drawn the same.
     {"\u05e9\u05dc\u05d5\u05dd \u0639\u0631\u0628\u064a\u0651 e\u0301 a\u0308",
      Font("DejaVu Sans", 12)}},
};

// The pages laid out as the print routes lay out their lines, at the PDF printer's resolution.
std::vector<std::vector<Placed>> LayOut() {
  ResolutionDevice device(kResolution, kResolution);
  InkReader reader;
  std::vector<std::vector<Placed>> pages;
  for (const std::vector<Line>& lines : kPages) {
    std::vector<Placed>& page = pages.emplace_back();
    qreal top = 600;
    for (const Line& line : lines) {
      QTextLayout layout(line.text, QFont(line.font, &device));
      layout.beginLayout();
      layout.createLine().setLineWidth(std::numeric_limits<int>::max() / 256);
      layout.endLayout();
      for (auto& [font, ink] : reader.runs(layout.lineAt(0))) {
        page.push_back({font, std::move(ink), QPointF(700.5, top), line.colour, line.banded});
      }
      top += layout.lineAt(0).height() * 1.5;
    }
  }
  return pages;
}

int DarkPixels(const QImage& image) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) count += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
  }
  return count;
}

QPageLayout Letter() {
  return QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait,
                     QMarginsF(0.25, 1.0 / 6, 0.25, 1.0 / 6), QPageLayout::Inch);
}

class GlyphPdfTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

  // The pages put on `canvas`.
  static void Put(GlyphCanvas& canvas, const std::vector<std::vector<Placed>>& pages) {
    for (std::size_t i = 0; i < pages.size(); ++i) {
      if (i > 0) canvas.newPage();
      for (const Placed& placed : pages[i]) {
        if (placed.banded) canvas.beginBand(kShift, kBand);
        EXPECT_TRUE(canvas.add(placed.font, placed.ink, placed.origin, placed.colour));
        if (placed.banded) canvas.endBand();
      }
    }
  }
  // The pages written by GlyphPdf to `path`.
  void WriteOurs(const QString& path, const std::vector<std::vector<Placed>>& pages) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    GlyphPdf pdf(file, PdfPaper::Of(Letter(), kResolution), "Drive_C.rtf");
    PdfCanvas canvas(pdf, kResolution);
    Put(canvas, pages);
    EXPECT_FALSE(canvas.refused());
    pdf.finish();
  }
  // The pages drawn by Qt's PDF engine to `path`, as the print routes draw them.
  void WriteQts(const QString& path, const std::vector<std::vector<Placed>>& pages) {
    QPdfWriter writer(path);
    writer.setResolution(kResolution);
    writer.setPageLayout(Letter());
    QPainter painter(&writer);
    painter.setClipRect(QRect(QPoint(0, 0), Letter().paintRectPixels(kResolution).size()));
    PainterCanvas canvas(painter, writer);
    Put(canvas, pages);
  }

  QTemporaryDir m_dir;
};

TEST_F(GlyphPdfTest, PagesLookAndReadAsQtsPdfEngineDrawsThem) {
  const std::vector<std::vector<Placed>> pages = LayOut();
  const QString ours = m_dir.filePath("ours.pdf");
  const QString qts = m_dir.filePath("qts.pdf");
  WriteOurs(ours, pages);
  WriteQts(qts, pages);

  ASSERT_EQ(testing::PdfPageCount(ours), 2);
  const QStringList texts = testing::PdfPageTexts(ours);
  // A reader of the PDF finds the text Qt's engine gives it, left-to-right lines as they are.
  EXPECT_EQ(texts, testing::PdfPageTexts(qts));
  ASSERT_EQ(texts.size(), 2);
  for (int page = 0; page < 2; ++page) {
    SCOPED_TRACE(page + 1);
    for (const Line& line : kPages[page]) {
      if (line.text.isRightToLeft()) continue;
      EXPECT_TRUE(texts[page].simplified().contains(line.text.simplified()))
          << line.text.toStdString() << " in " << texts[page].toStdString();
    }

    // The same glyphs in the same places and colours, the banded line cut off at the same
    // place (pdftotext reads what a clip hides, too): only anti-aliasing may differ, as Qt
    // embeds its own tracing of each glyph's outline where the writer embeds the font's own.
    const QImage ourPage =
        testing::RenderPdfPage(ours, page + 1, 100, m_dir.filePath(QString("o%1").arg(page)));
    const QImage qtPage =
        testing::RenderPdfPage(qts, page + 1, 100, m_dir.filePath(QString("q%1").arg(page)));
    ASSERT_FALSE(ourPage.isNull());
    ASSERT_EQ(ourPage.size(), qtPage.size());
    EXPECT_GT(DarkPixels(ourPage), 500);  // not blank
    EXPECT_EQ(testing::ColouredPixels(ourPage) > 100, page == 1);
    EXPECT_LE(testing::DifferentPixels(ourPage, qtPage), 10);
  }
  const QString info = QString::fromUtf8(testing::RunTool("pdfinfo", {ours}));
  EXPECT_TRUE(info.contains(QRegularExpression("Title:\\s+Drive_C.rtf"))) << info.toStdString();
  EXPECT_TRUE(info.contains(QRegularExpression("Page size:\\s+612 x 792 pts")))
      << info.toStdString();
}

TEST_F(GlyphPdfTest, EmbedsTrueTypeFontsCutDownToTheGlyphsDrawn) {
  ResolutionDevice device(kResolution, kResolution);
  const QRawFont arial = QRawFont::fromFont(QFont(Font("Arial", 10), &device));
  ASSERT_TRUE(arial.isValid());
  EXPECT_TRUE(GlyphPdf::CanEmbed(arial));
  EXPECT_FALSE(GlyphPdf::CanEmbed(QRawFont()));
  // PostScript (CFF) outlines are left to Qt's engine.
  const QString cff = "/usr/share/fonts/opentype/urw-base35/NimbusSans-Regular.otf";
  ASSERT_TRUE(QFile::exists(cff)) << "scripts/install-deps.sh installs fonts-urw-base35";
  const QRawFont nimbus(cff, 20);
  ASSERT_TRUE(nimbus.isValid());
  EXPECT_FALSE(GlyphPdf::CanEmbed(nimbus));

  // A line of a few glyphs takes a small part of the font's outlines.
  QBuffer buffer;
  ASSERT_TRUE(buffer.open(QIODevice::WriteOnly));
  {
    GlyphPdf pdf(buffer, PdfPaper::Of(Letter(), kResolution), "x");
    InkLine ink;
    ink.glyphs = arial.glyphIndexesForString("Hello");
    QPointF at;
    for (const QPointF& advance : arial.advancesForGlyphIndexes(ink.glyphs)) {
      ink.positions.append(at);
      at += advance;
    }
    pdf.add(arial, ink, QPointF(100, 100));
    pdf.finish();
  }
  EXPECT_LT(buffer.size(), arial.fontTable("glyf").size() / 4);
}

}  // namespace
}  // namespace reports
