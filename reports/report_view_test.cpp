// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The worked example shown in a QTextEdit, as the report view shows it: each line is painted
// in its colour and the title is larger. Set BRINVALE_SCREENSHOT to a file name to keep the
// picture.
#include <gtest/gtest.h>

#include <cmath>

#include <QAbstractTextDocumentLayout>
#include <QImage>
#include <QPixmap>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextEdit>

#include "reports/report_file.h"
#include "reports/test_support.h"

namespace reports {
namespace {

const QColor kTable[] = {{0, 0, 0},     {0, 128, 0}, {255, 0, 0},
                         {100, 100, 0}, {128, 0, 0}, {0, 0, 128}};

// The colour table entry a painted glyph pixel was blended from: anti-aliasing mixes the text
// colour with the white background, which keeps the direction of (white - pixel).
int TableEntryOf(QRgb pixel) {
  const double d[] = {255.0 - qRed(pixel), 255.0 - qGreen(pixel), 255.0 - qBlue(pixel)};
  int best = -1;
  double bestCosine = 0;
  for (int i = 0; i < 6; ++i) {
    const double e[] = {255.0 - kTable[i].red(), 255.0 - kTable[i].green(),
                        255.0 - kTable[i].blue()};
    const double cosine = (d[0] * e[0] + d[1] * e[1] + d[2] * e[2]) /
                          std::sqrt((d[0] * d[0] + d[1] * d[1] + d[2] * d[2]) *
                                    (e[0] * e[0] + e[1] * e[1] + e[2] * e[2]));
    if (cosine > bestCosine) {
      bestCosine = cosine;
      best = i;
    }
  }
  return best;
}

TEST(ReportViewTest, WorkedExampleShowsEachLineInItsColour) {
  QTextEdit view;
  view.setPalette(QPalette(Qt::black, Qt::white));
  view.resize(620, 300);
  ASSERT_TRUE(LoadReportFile(testing::TestDataPath("worked_example.rtf"), view.document()).isOk());
  const QImage image = view.grab().toImage();
  if (const QByteArray path = qgetenv("BRINVALE_SCREENSHOT"); !path.isEmpty()) {
    image.save(QString::fromLocal8Bit(path));
  }

  // Colour table entry of each paragraph; the title has no colour of its own and shows black.
  const int expected[] = {0, 0, 0, 4, 3, 0, 0, 5, 1, 0, 0, 2, 0, 0};
  const QAbstractTextDocumentLayout* layout = view.document()->documentLayout();
  const QPoint offset = view.viewport()->mapTo(&view, QPoint(0, 0));
  const qreal scale = image.devicePixelRatio();
  int checked = 0;
  for (QTextBlock block = view.document()->begin(); block.isValid(); block = block.next()) {
    if (block.text().trimmed().isEmpty()) continue;
    const QRect rect = layout->blockBoundingRect(block).toAlignedRect().translated(offset);
    if (rect.bottom() >= view.viewport()->height()) break;  // below the visible part
    // The darkest pixel of the line is a glyph's core.
    QRgb darkest = qRgb(255, 255, 255);
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
      for (int x = rect.left(); x <= std::min(rect.right(), view.viewport()->width()); ++x) {
        const QRgb pixel = image.pixel(QPoint(x, y) * scale);
        if (qGray(pixel) < qGray(darkest)) darkest = pixel;
      }
    }
    ASSERT_LT(qGray(darkest), 200) << "nothing painted for: " << block.text().toStdString();
    EXPECT_EQ(TableEntryOf(darkest), expected[block.blockNumber()]) << block.text().toStdString();
    ++checked;
  }
  EXPECT_GE(checked, 9);
  const QTextBlock title = view.document()->begin();
  EXPECT_GT(layout->blockBoundingRect(title).height(),
            1.15 * layout->blockBoundingRect(title.next().next()).height());
}

}  // namespace
}  // namespace reports
