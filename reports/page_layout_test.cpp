// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/page_layout.h"

#include <gtest/gtest.h>

#include <QAbstractTextDocumentLayout>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

#include "reports/print_test_support.h"
#include "reports/report_file.h"
#include "reports/rtf_reader.h"
#include "reports/test_support.h"

namespace reports {
namespace {

// Where QTextDocument's own layout breaks the pages of `source` printed `width` wide and
// `height` tall on `device`: the document copied, laid out whole for the device with no
// margins and lines wrapping at words (or anywhere), and sliced at the first line that ends
// below each page. PageLayout must break where this does. `page`, when given, is called for
// each page with the laid-out copy and the band of it the page shows (from `top` to `cut`).
std::vector<int> DocumentLayoutBreaks(
    const QTextDocument& source, QPaintDevice* device, int width, int height,
    const std::function<void(QTextDocument& laidOut, qreal top, qreal cut)>& page = {}) {
  std::unique_ptr<QTextDocument> document(source.clone());
  document->setDefaultFont(source.defaultFont());
  QTextOption option = document->defaultTextOption();
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  document->setDefaultTextOption(option);
  document->setDocumentMargin(0);
  QAbstractTextDocumentLayout* layout = document->documentLayout();
  layout->setPaintDevice(device);
  document->setTextWidth(width);
  layout->documentSize();
  const int end = document->characterCount() - 1;
  std::vector<int> breaks;
  for (int from = 0; from < end && breaks.size() < 10000;) {
    const QTextBlock start = document->findBlock(from);
    const qreal top = layout->blockBoundingRect(start).top() +
                      start.layout()->lineForTextPosition(from - start.position()).y();
    int next = end;
    qreal cut = top + height;
    bool first = true;
    for (QTextBlock block = start; block.isValid() && next == end; block = block.next()) {
      const qreal blockTop = layout->blockBoundingRect(block).top();
      for (int i = 0; i < block.layout()->lineCount(); ++i) {
        const QTextLine line = block.layout()->lineAt(i);
        if (block == start && line.textStart() + line.textLength() <= from - block.position() &&
            line.textStart() < from - block.position()) {
          continue;  // a line before the page
        }
        if (!first && blockTop + line.y() + line.height() > top + height) {
          next = block.position() + line.textStart();
          cut = std::min(cut, blockTop + line.y());
          break;
        }
        first = false;
      }
    }
    if (page) page(*document, top, cut);
    breaks.push_back(next);
    from = next;
  }
  return breaks;
}

class PageLayoutTest : public ::testing::Test {
 protected:
  // Prints m_document to a PDF through PageLayout, each page's body `bodyHeight` device units
  // tall, and returns the positions FormatRange answered, page by page.
  std::vector<int> Print(int bodyHeight) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(m_pdf);
    QPainter painter(&printer);
    PainterCanvas canvas(painter, printer);
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    const QRect target(page.width() / 10, page.height() / 10, page.width() * 8 / 10, bodyHeight);
    PageLayout layout(m_document);
    std::vector<int> answers;
    int from = 0;
    while (from < layout.endPosition() && answers.size() < 1000) {
      if (!answers.empty()) canvas.newPage();
      from = layout.FormatRange(canvas, from, target);
      answers.push_back(from);
    }
    return answers;
  }

  // The text pdftotext finds on the printed pages, or "" when it fails.
  QString PrintedText() const {
    return QString::fromUtf8(testing::RunTool("pdftotext", {"-enc", "UTF-8", m_pdf, "-"}));
  }

  QTemporaryDir m_dir;
  QString m_pdf = m_dir.filePath("print.pdf");
  QTextDocument m_document;
};

TEST_F(PageLayoutTest, EveryWordIsPrintedOnExactlyOnePage) {
  // Short coloured lines and one long paragraph that must break inside, across pages.
  QTextCursor cursor(&m_document);
  QTextCharFormat format;
  format.setFontFamilies({"Arial"});
  format.setFontPointSize(10);
  int words = 0;
  for (int line = 0; line < 150; ++line) {
    if (line > 0) cursor.insertBlock();
    format.setForeground(QColor::fromHsv(line * 7 % 360, 255, 160));
    const int count = line == 60 ? 400 : 3;
    for (int i = 0; i < count; ++i) cursor.insertText(QString(" w%1x").arg(words++), format);
  }
  const std::vector<int> answers = Print(1500);  // 1.25 inch at 1200 dpi

  ASSERT_GT(answers.size(), 10u);
  ASSERT_LT(answers.size(), 1000u);
  EXPECT_EQ(answers.back(), m_document.characterCount() - 1);
  int previous = 0;
  for (int answer : answers) {
    EXPECT_GT(answer, previous);
    previous = answer;
  }
  const QString text = PrintedText();
  ASSERT_FALSE(text.isEmpty());
  EXPECT_EQ(text.count('\f'), static_cast<int>(answers.size()));
  for (int i = 0; i < words; ++i) {
    const QRegularExpression word(QString("\\bw%1x").arg(i));
    EXPECT_EQ(text.count(word), 1) << "word " << i;
  }
  // The view's document keeps its screen layout.
  EXPECT_EQ(m_document.documentLayout()->paintDevice(), nullptr);
}

TEST_F(PageLayoutTest, PagesBreakWhereTheDocumentsOwnLayoutBreaksThem) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(m_pdf);
  QPainter painter(&printer);
  PainterCanvas canvas(painter, printer);
  const auto check = [&](const QTextDocument& document, int width, int height) {
    PageLayout layout(document);
    std::vector<int> answers;
    for (int from = 0; from < layout.endPosition() && answers.size() < 10000;) {
      from = layout.FormatRange(canvas, from, QRect(0, 0, width, height));
      answers.push_back(from);
    }
    EXPECT_EQ(answers, DocumentLayoutBreaks(document, &printer, width, height));
    return answers.size();
  };
  // Reports as the composer writes them, a word processor's file with its sizes, fonts and
  // alignments, a long composed report, and lines that wrap, at two page sizes.
  for (const char* name : {"worked_example.rtf", "combined_report.rtf", "non_ascii_report.rtf",
                           "word_processor.rtf"}) {
    SCOPED_TRACE(name);
    QTextDocument document;
    ASSERT_TRUE(LoadReportFile(testing::Disk(), testing::TestDataPath(name), &document).isOk());
    EXPECT_GT(check(document, 2500, 700), 1u);
    check(document, 9000, 3000);
  }
  QTextDocument report;
  QByteArray rtf = testing::LongReportRtf(3000);
  rtf.insert(rtf.indexOf("\\par"),
             "\\par " + QByteArray(3000, 'x') + " and " + QByteArray("a few words ").repeated(200));
  ReadRtf(rtf, &report);
  EXPECT_GT(check(report, 9000, 12000), 20u);
  check(report, 3000, 5000);
}

TEST_F(PageLayoutTest, PagesLookAsTheDocumentsOwnLayoutDrawsThem) {
  // A composed report with, among its lines, text of a font the report's lacks (drawn in a
  // fallback font), underlined and bold text, a right-aligned line and a paragraph that wraps.
  ReadRtf(testing::LongReportRtf(240), &m_document);
  QTextCursor cursor(m_document.findBlockByNumber(50));
  QTextCharFormat format;
  format.setFontFamilies({"Arial"});
  format.setFontPointSize(10);
  cursor.insertText(QString::fromUtf8("   file51.txt \u65e5\u672c\u8a9e Added"), format);
  cursor.insertBlock();
  QTextCharFormat underlined = format;
  underlined.setFontUnderline(true);
  cursor.insertText("Underlined ", underlined);
  QTextCharFormat bold = format;
  bold.setFontWeight(QFont::Bold);
  bold.setForeground(QColor(128, 0, 0));
  cursor.insertText("and bold", bold);
  cursor.insertBlock();
  QTextBlockFormat right;
  right.setAlignment(Qt::AlignRight);
  cursor.setBlockFormat(right);
  cursor.insertText("Net Change = 1,533.53", format);
  cursor.insertBlock(QTextBlockFormat());
  cursor.insertText(QString("a few words ").repeated(60), format);

  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(m_pdf);
  const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
  const QRect target(600, 600, page.width() - 1200, 8000);
  std::vector<int> answers;
  {
    QPainter painter(&printer);
    PainterCanvas canvas(painter, printer);
    PageLayout layout(m_document);
    for (int from = 0; from < layout.endPosition() && answers.size() < 100;) {
      if (!answers.empty()) canvas.newPage();
      from = layout.FormatRange(canvas, from, target);
      answers.push_back(from);
    }
  }

  const QString expectedPdf = m_dir.filePath("expected.pdf");
  QPrinter expected(QPrinter::HighResolution);
  expected.setOutputFormat(QPrinter::PdfFormat);
  expected.setOutputFileName(expectedPdf);
  QPainter painter(&expected);
  int pages = 0;
  const std::vector<int> breaks =
      DocumentLayoutBreaks(m_document, &expected, target.width(), target.height(),
                           [&](QTextDocument& laidOut, qreal top, qreal cut) {
                             if (pages++ > 0) expected.newPage();
                             painter.save();
                             painter.translate(target.left(), target.top() - top);
                             const QRectF band(0, top, target.width(), cut - top);
                             painter.setClipRect(band);
                             QAbstractTextDocumentLayout::PaintContext context;
                             context.clip = band;
                             context.palette.setColor(QPalette::Text, Qt::black);
                             laidOut.documentLayout()->draw(&painter, context);
                             painter.restore();
                           });
  painter.end();

  EXPECT_EQ(answers, breaks);
  ASSERT_GT(answers.size(), 3u);
  for (int number = 1; number <= static_cast<int>(answers.size()); ++number) {
    SCOPED_TRACE(number);
    const QImage printed =
        testing::RenderPdfPage(m_pdf, number, 72, m_dir.filePath(QString("p%1").arg(number)));
    const QImage drawn =
        testing::RenderPdfPage(expectedPdf, number, 72, m_dir.filePath(QString("e%1").arg(number)));
    ASSERT_FALSE(printed.isNull());
    ASSERT_EQ(printed.size(), drawn.size());
    EXPECT_GT(testing::ColouredPixels(printed), 100);  // the page is not blank
    EXPECT_LE(testing::DifferentPixels(printed, drawn), 20);
  }
}

TEST_F(PageLayoutTest, GoingBackOrStoppingEarlyIsSafe) {
  // Far more paragraphs than are laid out ahead of the page being printed.
  ReadRtf(testing::LongReportRtf(20000), &m_document);
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(m_pdf);
  QPainter painter(&printer);
  PainterCanvas canvas(painter, printer);
  const QRect target(0, 0, 8000, 3000);
  {
    PageLayout layout(m_document);
    const int second = layout.FormatRange(canvas, 0, target);
    const int third = layout.FormatRange(canvas, second, target);
    ASSERT_GT(second, 0);
    ASSERT_GT(third, second);
    // An earlier page again: laid out anew from the start, to the same breaks.
    EXPECT_EQ(layout.FormatRange(canvas, 0, target), second);
    EXPECT_EQ(layout.FormatRange(canvas, second, target), third);
    // A narrower page: the lines that no longer fit wrap, so the page holds less.
    EXPECT_LT(layout.FormatRange(canvas, 0, QRect(0, 0, 1500, 3000)), second);
  }  // left with most of the document still to lay out, its thread stopped
  // Nothing reads the document any more: it may change, and is printed as it now is.
  QTextCursor(&m_document).insertText(QString("changed ").repeated(500));
  PageLayout layout(m_document);
  EXPECT_EQ(layout.FormatRange(canvas, 0, target),
            DocumentLayoutBreaks(m_document, &printer, 8000, 3000).front());
}

TEST_F(PageLayoutTest, LineTallerThanThePageStillMovesOn) {
  QTextCursor cursor(&m_document);
  QTextCharFormat huge;
  huge.setFontPointSize(300);
  cursor.insertText("Hi", huge);
  cursor.insertBlock();
  cursor.insertText("small", QTextCharFormat());
  const std::vector<int> answers = Print(200);
  EXPECT_EQ(answers, (std::vector<int>{3, m_document.characterCount() - 1}));
}

}  // namespace
}  // namespace reports
