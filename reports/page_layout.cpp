// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/page_layout.h"

#include <algorithm>

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QRect>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

namespace reports {

PageLayout::PageLayout(const QTextDocument& document) : m_document(document.clone()) {
  m_document->setDefaultFont(document.defaultFont());
  // The target rectangle already holds the margins.
  m_document->setDocumentMargin(0);
}

PageLayout::~PageLayout() = default;

int PageLayout::endPosition() const { return m_document->characterCount() - 1; }

void PageLayout::Prepare(QPaintDevice* device, int width) {
  if (device == m_device && width == m_width) return;
  // The paint device must be set before the layout runs, or the text is measured in screen
  // units and comes out at screen size on a printer.
  m_document->documentLayout()->setPaintDevice(device);
  m_document->setTextWidth(width);
  m_document->markContentsDirty(0, m_document->characterCount());
  m_device = device;
  m_width = width;
}

int PageLayout::FormatRange(QPainter& painter, int from, const QRect& target) {
  const int end = endPosition();
  if (from >= end) return end;
  from = std::max(from, 0);
  Prepare(painter.device(), std::max(target.width(), 1));
  QAbstractTextDocumentLayout* layout = m_document->documentLayout();
  layout->documentSize();  // lays out the whole document

  const QTextBlock startBlock = m_document->findBlock(from);
  QTextLayout* startLayout = startBlock.layout();
  const QRectF startRect = layout->blockBoundingRect(startBlock);
  const int startLine =
      std::max(startLayout->lineForTextPosition(from - startBlock.position()).lineNumber(), 0);
  const qreal top = startLine < startLayout->lineCount()
                        ? startRect.top() + startLayout->lineAt(startLine).y()
                        : startRect.top();
  const qreal limit = top + target.height();

  // Walk the lines from `from` until one ends below the page; the first line always goes on
  // the page, so that a line taller than the page cannot stall the printing.
  qreal cut = limit;
  int next = end;
  bool first = true;
  int lineIndex = startLine;
  for (QTextBlock block = startBlock; block.isValid() && next == end;
       block = block.next(), lineIndex = 0) {
    QTextLayout* blockLayout = block.layout();
    const qreal blockTop = layout->blockBoundingRect(block).top();
    for (; lineIndex < blockLayout->lineCount(); ++lineIndex) {
      const QTextLine line = blockLayout->lineAt(lineIndex);
      const qreal y = blockTop + line.y();
      if (!first && y + line.height() > limit) {
        cut = std::min(y, limit);
        next = block.position() + line.textStart();
        break;
      }
      first = false;
    }
  }

  painter.save();
  painter.translate(target.left(), target.top() - top);
  painter.setClipRect(QRectF(0, top, target.width(), cut - top), Qt::IntersectClip);
  painter.setPen(Qt::black);  // for text without a colour of its own
  // QTextLayout::draw also paints the last line above its clip rectangle, clipped away on
  // paper but still in the page's text (a PDF's, for one). A paragraph that began on an
  // earlier page therefore has its lines on this page drawn one by one.
  qreal restTop = top;
  if (startLine > 0) {
    for (int i = startLine; i < startLayout->lineCount(); ++i) {
      const QTextLine line = startLayout->lineAt(i);
      if (startRect.top() + line.y() >= cut) break;
      line.draw(&painter, startRect.topLeft());
    }
    restTop = startRect.bottom();
  }
  // The layout draws every line that touches the clip rectangle: shrunk by one unit at each
  // end, it keeps out the line that ends where the page begins and the one that begins where
  // the page ends.
  if (cut - restTop > 2) {
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette.setColor(QPalette::Text, Qt::black);
    context.clip = QRectF(0, restTop + 1, target.width(), cut - restTop - 2);
    layout->draw(&painter, context);
  }
  painter.restore();
  return next;
}

}  // namespace reports
