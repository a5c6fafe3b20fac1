// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/paragraph_batch.h"

#include <utility>

#include <QColor>
#include <QFont>
#include <QStringList>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextDocument>

namespace reports {
namespace {

QColor ColorOf(std::uint32_t rgb) {
  return QColor(int((rgb >> 16) & 0xFF), int((rgb >> 8) & 0xFF), int(rgb & 0xFF));
}

QTextCharFormat FormatOf(const RtfStyle& style) {
  QTextCharFormat format;
  if (!style.fontFamily.isEmpty()) format.setFontFamilies(QStringList{style.fontFamily});
  format.setFontPointSize(style.halfPoints / 2.0);
  if (style.bold) format.setFontWeight(QFont::Bold);
  if (style.italic) format.setFontItalic(true);
  if (style.underline) format.setFontUnderline(true);
  if (style.strike) format.setFontStrikeOut(true);
  if (style.foreground) format.setForeground(ColorOf(*style.foreground));
  if (style.background) format.setBackground(ColorOf(*style.background));
  return format;
}

Qt::Alignment AlignmentOf(RtfAlignment alignment) {
  switch (alignment) {
    case RtfAlignment::kCenter:
      return Qt::AlignHCenter;
    case RtfAlignment::kRight:
      return Qt::AlignRight;
    case RtfAlignment::kJustify:
      return Qt::AlignJustify;
    case RtfAlignment::kLeft:
      break;
  }
  return Qt::AlignLeft;
}

}  // namespace

ParagraphBatchBuilder::ParagraphBatchBuilder(int paragraphsPerBatch,
                                             std::function<void(ParagraphBatch&&)> ready)
    : m_paragraphsPerBatch(paragraphsPerBatch), m_ready(std::move(ready)) {}

// A batch holds a few formats: the last one used is nearly always the one asked for.
int ParagraphBatchBuilder::FormatIndex(const std::optional<RtfStyle>& style) {
  for (std::size_t i = m_styles.size(); i-- > 0;) {
    if (m_styles[i] == style) return static_cast<int>(i);
  }
  m_styles.push_back(style);
  m_batch.formats.push_back(style ? FormatOf(*style) : QTextCharFormat());
  return static_cast<int>(m_styles.size() - 1);
}

void ParagraphBatchBuilder::openParagraph(const RtfStyle& mark) {
  m_markFormat = FormatIndex(mark);
}

void ParagraphBatchBuilder::appendText(QStringView text, const RtfStyle& style) {
  const int format = FormatIndex(style);
  m_batch.text.append(text);
  const int paragraphStart = m_batch.paragraphs.empty() ? 0 : m_batch.paragraphs.back().endRun;
  // Pieces of one run of text come one after the other: they stay one run.
  if (static_cast<int>(m_batch.runs.size()) > paragraphStart &&
      m_batch.runs.back().format == format) {
    m_batch.runs.back().end = m_batch.text.size();
  } else {
    m_batch.runs.push_back({m_batch.text.size(), format});
  }
}

void ParagraphBatchBuilder::closeParagraph(RtfAlignment alignment) {
  EndParagraph(AlignmentOf(alignment));
}

void ParagraphBatchBuilder::addPlainParagraph(QStringView text) {
  // Unformatted text takes the document's defaults: an empty format, no alignment of its own.
  const int plain = FormatIndex(std::nullopt);
  m_markFormat = plain;
  if (!text.isEmpty()) {
    m_batch.text.append(text);
    m_batch.runs.push_back({m_batch.text.size(), plain});
  }
  EndParagraph(std::nullopt);
}

void ParagraphBatchBuilder::EndParagraph(std::optional<Qt::Alignment> alignment) {
  m_batch.paragraphs.push_back({static_cast<int>(m_batch.runs.size()), m_markFormat, alignment});
  if (static_cast<int>(m_batch.paragraphs.size()) >= m_paragraphsPerBatch) finish();
}

void ParagraphBatchBuilder::finish() {
  if (m_batch.empty()) return;
  m_batch.bytesRead = m_bytesRead;
  m_ready(std::exchange(m_batch, {}));
  m_styles.clear();
}

ParagraphAppender::ParagraphAppender(QTextDocument* document)
    : m_document(document), m_empty(document->isEmpty()) {}

void ParagraphAppender::append(const ParagraphBatch& batch, std::size_t* next,
                               const std::function<bool()>& more) {
  if (*next >= batch.paragraphs.size()) return;
  QTextCursor cursor(m_document);
  cursor.movePosition(QTextCursor::End);
  cursor.beginEditBlock();
  int run = *next == 0 ? 0 : batch.paragraphs[*next - 1].endRun;
  qsizetype start = run == 0 ? 0 : batch.runs[std::size_t(run) - 1].end;
  while (*next < batch.paragraphs.size()) {
    const ParagraphBatch::Paragraph& paragraph = batch.paragraphs[*next];
    QTextBlockFormat blockFormat;
    if (paragraph.alignment) blockFormat.setAlignment(*paragraph.alignment);
    const QTextCharFormat& mark = batch.formats[std::size_t(paragraph.markFormat)];
    if (m_empty) {
      // A document always holds one block: the first paragraph is that one.
      cursor.setBlockFormat(blockFormat);
      cursor.setBlockCharFormat(mark);
      m_empty = false;
    } else {
      cursor.insertBlock(blockFormat, mark);
    }
    for (; run < paragraph.endRun; ++run) {
      const ParagraphBatch::Run& piece = batch.runs[std::size_t(run)];
      cursor.insertText(QStringView(batch.text).sliced(start, piece.end - start).toString(),
                        batch.formats[std::size_t(piece.format)]);
      start = piece.end;
    }
    ++*next;
    if (more && !more()) break;
  }
  cursor.endEditBlock();
}

}  // namespace reports
