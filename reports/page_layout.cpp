// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/page_layout.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QRect>
#include <QTextDocument>
#include <QTextLayout>

namespace reports {
namespace {

// True when `format` says nothing but the font's family, size, weight and slant and a plain
// text colour: what drawing in that font with a pen of that colour shows alike.
bool IsFontAndColourOnly(const QTextCharFormat& format) {
  const auto properties = format.properties();
  for (auto it = properties.cbegin(); it != properties.cend(); ++it) {
    switch (it.key()) {
      case QTextFormat::FontFamilies:
      case QTextFormat::FontPointSize:
      case QTextFormat::FontWeight:
      case QTextFormat::FontItalic:
        break;
      case QTextFormat::ForegroundBrush:
        if (format.foreground().style() != Qt::SolidPattern) return false;
        break;
      default:
        return false;
    }
  }
  return true;
}

}  // namespace

struct PageLayout::Paragraph {
  QTextBlock block;
  std::unique_ptr<QTextLayout> layout;
  qreal top = 0;
  // Set for a paragraph laid out in one font without formats: the colour of its text.
  std::optional<QColor> pen;

  int position() const { return block.position(); }
  // The position just after the paragraph's mark.
  int end() const { return block.position() + block.length(); }
};

PageLayout::PageLayout(const QTextDocument& document) : m_document(document) {}

PageLayout::~PageLayout() = default;

int PageLayout::endPosition() const { return m_document.characterCount() - 1; }

void PageLayout::Restart(QPaintDevice* device, int width) {
  m_device = device;
  m_width = width;
  m_paragraphs.clear();
  m_looks.clear();
  m_next = m_document.begin();
  m_nextTop = 0;
}

const PageLayout::Look& PageLayout::LookOf(int formatIndex, const QTextCharFormat& format) {
  const auto found = m_looks.find(formatIndex);
  if (found != m_looks.end()) return found->second;
  Look look;
  look.plain = IsFontAndColourOnly(format);
  if (look.plain) {
    look.font = QFont(format.font().resolve(m_document.defaultFont()), m_device);
    look.pen = format.hasProperty(QTextFormat::ForegroundBrush) ? format.foreground().color()
                                                                : QColor(Qt::black);
  }
  return m_looks.emplace(formatIndex, std::move(look)).first->second;
}

bool PageLayout::LayOutNext() {
  if (!m_next.isValid()) return false;
  const QTextBlock block = m_next;
  m_next = block.next();
  Paragraph paragraph{block, nullptr, m_nextTop, std::nullopt};
  if (!block.isVisible()) {
    m_paragraphs.push_back(std::move(paragraph));
    return true;
  }

  // As the document's layout does it: the paragraph's own alignment, tabs and direction on
  // the document's text option; lines wrap at words, or anywhere for a longer word, whatever
  // a view of the document does on the screen.
  QTextOption option = m_document.defaultTextOption();
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  const QTextBlockFormat format = block.blockFormat();
  option.setTextDirection(block.textDirection());
  option.setTabs(format.tabPositions());
  if (format.hasProperty(QTextFormat::BlockAlignment)) option.setAlignment(format.alignment());

  // Nearly every line of a report is one run in one font and colour: laid out in that font
  // with no formats for the layout to resolve it costs much less, and it looks and measures
  // the same. Other text takes its own formats, resolved against the document's default font
  // as the document resolves them; the paragraph mark's format gives an empty paragraph its
  // height.
  const QString text = block.text();
  std::unique_ptr<QTextLayout> layout;
  const QTextBlock::iterator firstRun = block.begin();
  QTextBlock::iterator secondRun = firstRun;
  if (!secondRun.atEnd()) ++secondRun;
  const Look* look = nullptr;
  if (!firstRun.atEnd() && secondRun.atEnd() && firstRun.fragment().isValid()) {
    look = &LookOf(firstRun.fragment().charFormatIndex(), firstRun.fragment().charFormat());
  }
  if (look != nullptr && look->plain) {
    layout = std::make_unique<QTextLayout>(text, look->font);
    paragraph.pen = look->pen;
  } else {
    QList<QTextLayout::FormatRange> formats;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      if (fragment.isValid()) {
        formats.append(
            {fragment.position() - block.position(), fragment.length(), fragment.charFormat()});
      }
    }
    layout = std::make_unique<QTextLayout>(
        text, text.isEmpty() ? block.charFormat().font() : m_document.defaultFont(), m_device);
    layout->setFormats(formats);
  }
  layout->setTextOption(option);
  layout->setCacheEnabled(true);
  qreal y = 0;
  layout->beginLayout();
  for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
    line.setLeadingIncluded(true);
    line.setLineWidth(m_width);
    line.setPosition(QPointF(0, y));
    // Line under line, each as tall as its font's whole height rounded up, as a document's
    // layout sets them: a page of it breaks where a document's would.
    y += std::ceil(line.ascent() + line.descent() + line.leading());
  }
  layout->endLayout();
  paragraph.layout = std::move(layout);
  m_nextTop += y;
  m_paragraphs.push_back(std::move(paragraph));
  return true;
}

int PageLayout::FormatRange(QPainter& painter, int from, const QRect& target) {
  const int end = endPosition();
  if (from >= end) return end;
  from = std::max(from, 0);
  const int width = std::max(target.width(), 1);
  if (painter.device() != m_device || width != m_width ||
      (!m_paragraphs.empty() && from < m_paragraphs.front().position())) {
    Restart(painter.device(), width);
  }
  // The paragraphs of earlier pages are done with.
  while (!m_paragraphs.empty() && m_paragraphs.front().end() <= from) m_paragraphs.pop_front();
  while ((m_paragraphs.empty() || m_paragraphs.back().end() <= from) && LayOutNext()) {
    if (m_paragraphs.size() > 1 && m_paragraphs.front().end() <= from) m_paragraphs.pop_front();
  }
  if (m_paragraphs.empty()) return end;

  // The page begins with the line that holds `from`.
  const Paragraph& first = m_paragraphs.front();
  int startLine = 0;
  if (first.layout != nullptr) {
    startLine =
        std::max(first.layout->lineForTextPosition(from - first.position()).lineNumber(), 0);
  }
  const qreal top = first.layout != nullptr && startLine < first.layout->lineCount()
                        ? first.top + first.layout->lineAt(startLine).y()
                        : first.top;
  const qreal limit = top + target.height();

  // Walk the lines from there until one ends below the page; the first line always goes on
  // the page, so that a line taller than the page cannot stall the printing.
  qreal cut = limit;
  int next = end;
  bool firstLine = true;
  std::size_t lastParagraph = 0;
  int lastLine = -1;  // the page ends before this line of m_paragraphs[lastParagraph]
  for (std::size_t p = 0; next == end; ++p) {
    if (p == m_paragraphs.size() && !LayOutNext()) break;
    const Paragraph& paragraph = m_paragraphs[p];
    const int lines = paragraph.layout != nullptr ? paragraph.layout->lineCount() : 0;
    for (int i = p == 0 ? startLine : 0; i < lines; ++i) {
      const QTextLine line = paragraph.layout->lineAt(i);
      const qreal y = paragraph.top + line.y();
      if (!firstLine && y + line.height() > limit) {
        cut = std::min(y, limit);
        next = paragraph.position() + line.textStart();
        lastParagraph = p;
        lastLine = i;
        break;
      }
      firstLine = false;
    }
  }
  if (next == end) lastParagraph = m_paragraphs.size();

  painter.save();
  painter.translate(target.left(), target.top() - top);
  painter.setClipRect(QRectF(0, top, target.width(), cut - top), Qt::IntersectClip);
  for (std::size_t p = 0; p < m_paragraphs.size() && p <= lastParagraph; ++p) {
    const Paragraph& paragraph = m_paragraphs[p];
    if (paragraph.layout == nullptr) continue;
    const int stop = p == lastParagraph ? lastLine : paragraph.layout->lineCount();
    painter.setPen(paragraph.pen.value_or(Qt::black));
    for (int i = p == 0 ? startLine : 0; i < stop; ++i) {
      paragraph.layout->lineAt(i).draw(&painter, QPointF(0, paragraph.top));
    }
  }
  painter.restore();
  return next;
}

}  // namespace reports
