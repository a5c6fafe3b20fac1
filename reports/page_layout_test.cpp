// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/page_layout.h"

#include <gtest/gtest.h>

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <vector>

#include "reports/test_support.h"

namespace reports {
namespace {

class PageLayoutTest : public ::testing::Test {
 protected:
  // Prints m_document to a PDF through PageLayout, each page's body `bodyHeight` device units
  // tall, and returns the positions FormatRange answered, page by page.
  std::vector<int> Print(int bodyHeight) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(m_pdf);
    QPainter painter(&printer);
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    const QRect target(page.width() / 10, page.height() / 10, page.width() * 8 / 10, bodyHeight);
    PageLayout layout(m_document);
    std::vector<int> answers;
    int from = 0;
    while (from < layout.endPosition() && answers.size() < 1000) {
      if (!answers.empty()) printer.newPage();
      from = layout.FormatRange(painter, from, target);
      answers.push_back(from);
    }
    return answers;
  }

  // The text pdftotext finds on the printed pages, or "" when it fails.
  QString PrintedText() const {
    QProcess pdftotext;
    pdftotext.start("pdftotext", {"-enc", "UTF-8", m_pdf, "-"});
    if (!pdftotext.waitForFinished(60000) || pdftotext.exitCode() != 0) return {};
    return QString::fromUtf8(pdftotext.readAllStandardOutput());
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
