// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The report view as the user sees it: what it paints, not only what its document holds.
// Each paragraph shows in its own colour, size and alignment, also in a report too long to
// wrap. Set BRINVALE_SCREENSHOT to a file name to keep the picture.
#include <gtest/gtest.h>

#include <cmath>

#include <QImage>
#include <QPixmap>
#include <QTextBlock>
#include <QTextCursor>

#include "app/window_test_support.h"

namespace app::testing {
namespace {

const QColor kNavy(0, 0, 128);
const QColor kGreen(0, 128, 0);
const QColor kMaroon(128, 0, 0);
const QColor kOlive(100, 100, 0);
const QColor kRed(255, 0, 0);
const QColor kColours[] = {QColor(0, 0, 0), kNavy, kGreen, kMaroon, kOlive, kRed};

// The colour of kColours a painted glyph pixel was blended from: anti-aliasing mixes the
// text colour with the white background, which keeps the direction of (white - pixel).
QColor ColourOfPixel(QRgb pixel) {
  const double d[] = {255.0 - qRed(pixel), 255.0 - qGreen(pixel), 255.0 - qBlue(pixel)};
  QColor best;
  double bestCosine = 0;
  for (const QColor& colour : kColours) {
    const double e[] = {255.0 - colour.red(), 255.0 - colour.green(), 255.0 - colour.blue()};
    const double cosine = (d[0] * e[0] + d[1] * e[1] + d[2] * e[2]) /
                          std::sqrt((d[0] * d[0] + d[1] * d[1] + d[2] * d[2]) *
                                    (e[0] * e[0] + e[1] * e[1] + e[2] * e[2]));
    if (cosine > bestCosine) {
      bestCosine = cosine;
      best = colour;
    }
  }
  return best;
}

// What was painted on the first line of one paragraph.
struct Painted {
  int left = -1;  // the leftmost and rightmost inked columns, -1 when none
  int right = -1;
  int height = 0;  // of the line
  QColor colour;   // of the darkest pixel, a glyph's core
};

class ReportViewPaintTest : public WindowTest {
 protected:
  // Loads the rich text `body` (paragraphs, each ended by \par) into the window's view,
  // with `padding` paragraphs of 250 letters after it, and paints the view.
  void Show(const QByteArray& body, int padding = 0) {
    QByteArray rtf =
        "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}"
        "{\\colortbl;\\red0\\green0\\blue128;\\red0\\green128\\blue0;\\red128\\green0\\blue0;"
        "\\red100\\green100\\blue0;\\red255\\green0\\blue0;}\r\n" +
        body;
    const QByteArray filler = "\\pard\\plain\\f0\\fs20 " + QByteArray(250, 'x') + "\\par\r\n";
    for (int i = 0; i < padding; ++i) rtf += filler;
    rtf += "}\r\n";
    ASSERT_TRUE(WriteBytes(folder() + "shown.rtf", rtf));
    ASSERT_TRUE(m_window->loadReport(folder() + "shown.rtf").isOk());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m_window->loading(); }, 30000));
    m_window->resize(700, 400);
    m_image = m_window->reportView()->viewport()->grab().toImage();
    if (const QByteArray path = qgetenv("BRINVALE_SCREENSHOT"); !path.isEmpty()) {
      m_image.save(QString::fromLocal8Bit(path));
    }
  }

  Painted PaintedLine(int paragraph) const {
    ReportView* view = m_window->reportView();
    const QTextBlock block = view->document()->findBlockByNumber(paragraph);
    const QRect line = view->cursorRect(QTextCursor(block));
    Painted painted;
    painted.height = line.height();
    QRgb darkest = qRgb(255, 255, 255);
    const qreal scale = m_image.devicePixelRatio();
    const int width = int(m_image.width() / scale);
    for (int y = std::max(line.top(), 0); y <= line.bottom(); ++y) {
      for (int x = 0; x < width; ++x) {
        const QRgb pixel = m_image.pixel(QPoint(x, y) * scale);
        if (qGray(pixel) > 200) continue;
        if (painted.left < 0) painted.left = x;
        painted.left = std::min(painted.left, x);
        painted.right = std::max(painted.right, x);
        if (qGray(pixel) < qGray(darkest)) darkest = pixel;
      }
    }
    painted.colour = ColourOfPixel(darkest);
    return painted;
  }

  void SetUp() override {
    WindowTest::SetUp();
    m_window = Start();
  }

  std::unique_ptr<MainWindow> m_window;
  QImage m_image;
};

const QByteArray kBody =
    "\\pard\\qc\\plain\\f0\\fs40\\cf1 A centred title\\par\r\n"
    "\\pard\\plain\\f0\\fs20\\cf1    Added navy.txt\\par\r\n"
    "\\pard\\plain\\f0\\fs20\\cf2    Deleted green.txt\\par\r\n"
    "\\pard\\plain\\f0\\fs20\\cf3    maroon.txt  Grew\\par\r\n"
    "\\pard\\plain\\f0\\fs20\\cf4    olive.txt: Time Changed\\par\r\n"
    "\\pard\\qr\\plain\\f0\\fs20\\cf5 Total on the right\\par\r\n";

TEST_F(ReportViewPaintTest, EachParagraphIsPaintedInItsColourSizeAndAlignment) {
  // A short report, whose lines wrap, and one long enough to be shown without wrapping,
  // whose scroll bar came once its first lines were laid out.
  int totalWidth = -1;
  for (const int padding : {0, int(ReportView::kUnwrappedFromBytes / 250)}) {
    SCOPED_TRACE(padding);
    ASSERT_NO_FATAL_FAILURE(Show(kBody, padding));
    const int width = m_window->reportView()->viewport()->width();
    const Painted title = PaintedLine(0);
    ASSERT_GE(title.left, 0) << "nothing painted";
    EXPECT_EQ(title.colour, kNavy);
    // Centred: as much room on either side, within a few pixels of rounding.
    EXPECT_GT(title.left, width / 8);
    EXPECT_NEAR(title.left, width - 1 - title.right, 8);
    const struct {
      int paragraph;
      QColor colour;
    } kLines[] = {{1, kNavy}, {2, kGreen}, {3, kMaroon}, {4, kOlive}};
    for (const auto& line : kLines) {
      const Painted painted = PaintedLine(line.paragraph);
      ASSERT_GE(painted.left, 0) << line.paragraph;
      EXPECT_EQ(painted.colour, line.colour) << line.paragraph;
      EXPECT_LT(painted.left, width / 8) << line.paragraph;
      EXPECT_GT(title.height, painted.height) << line.paragraph;  // the title's larger size
    }
    const Painted total = PaintedLine(5);
    ASSERT_GE(total.left, 0);
    EXPECT_EQ(total.colour, kRed);
    EXPECT_GT(total.left, width / 2);
    EXPECT_GT(total.right, width - width / 8);
    // Whole, not cut off by the view's edge: as wide as in the short report.
    if (totalWidth < 0) totalWidth = total.right - total.left;
    EXPECT_EQ(total.right - total.left, totalWidth);
  }
  EXPECT_EQ(m_window->reportView()->lineWrapMode(), ReportView::NoWrap);
}

}  // namespace
}  // namespace app::testing
