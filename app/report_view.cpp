// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/report_view.h"

#include <QPaintEvent>
#include <QResizeEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>

namespace app {

ReportView::ReportView(QWidget* parent) : QPlainTextEdit(parent) {}

void ReportView::fitWrappingTo(qint64 bytes) {
  setLineWrapMode(bytes < kUnwrappedFromBytes ? WidgetWidth : NoWrap);
}

void ReportView::setFilling(bool filling) {
  setReadOnly(filling);
  setCenterOnScroll(filling);
}

void ReportView::filledMore() {
  // The paragraphs go in at the end, where the cursor of an empty document also is, and take
  // it along: it goes back to the top, where a report is read from. A cursor the user put
  // elsewhere stays there.
  const QTextCursor cursor = textCursor();
  if (cursor.atEnd() && !cursor.atStart()) moveCursor(QTextCursor::Start);
}

void ReportView::paintEvent(QPaintEvent* event) {
  // The plain-text layout gives every paragraph the document's alignment when it lays it
  // out; a paragraph's own takes its place before it is painted. Hit tests and the cursor
  // read the same option, so clicks land where the text shows.
  auto* layout = qobject_cast<QPlainTextDocumentLayout*>(document()->documentLayout());
  const qreal bottom = event->rect().bottom();
  // Unwrapped lines keep the width they were laid out at (resizeEvent), such as the width
  // before the scroll bar came, and a line aligned to the centre or the right is placed by
  // that width: such a paragraph is laid out again at the width shown.
  const qreal shownWidth = viewport()->width() - 2 * document()->documentMargin();
  qreal top = contentOffset().y();
  for (QTextBlock block = firstVisibleBlock(); block.isValid() && top <= bottom;
       block = block.next()) {
    if (!block.isVisible()) continue;
    layout->ensureBlockLayout(block);
    QTextLayout* text = block.layout();
    Qt::Alignment wanted = block.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
    if (wanted == 0) wanted = Qt::AlignLeft;
    QTextOption option = text->textOption();
    if ((option.alignment() & Qt::AlignHorizontal_Mask) != wanted) {
      option.setAlignment(wanted);
      text->setTextOption(option);
    }
    if (lineWrapMode() == NoWrap && wanted != Qt::AlignLeft) fitLinesTo(text, shownWidth);
    top += blockBoundingRect(block).height();
  }
  QPlainTextEdit::paintEvent(event);
}

void ReportView::fitLinesTo(QTextLayout* text, qreal width) {
  if (text->lineCount() == 0 || text->lineAt(0).width() == width) return;
  // Lines of unwrapped text break only at line separators, whatever the width: each line
  // keeps its text and its place.
  struct Place {
    QPointF position;
    bool leadingIncluded;
  };
  QList<Place> places;
  for (int i = 0; i < text->lineCount(); ++i) {
    const QTextLine line = text->lineAt(i);
    places.append({line.position(), line.leadingIncluded()});
  }
  text->beginLayout();
  for (const Place& place : places) {
    QTextLine line = text->createLine();
    if (!line.isValid()) break;
    line.setLeadingIncluded(place.leadingIncluded);
    line.setLineWidth(width);
    line.setPosition(place.position);
  }
  text->endLayout();
}

void ReportView::resizeEvent(QResizeEvent* event) {
  if (lineWrapMode() == NoWrap && event->oldSize().width() != event->size().width()) {
    // Unwrapped lines do not depend on the width (but for where the few aligned lines sit,
    // which painting sees to): the base class only needs to fit its scroll bars, which it
    // does for a change of height without laying anything out.
    QResizeEvent heightOnly(event->size(), QSize(event->size().width(), event->oldSize().height()));
    QPlainTextEdit::resizeEvent(&heightOnly);
    return;
  }
  QPlainTextEdit::resizeEvent(event);
}

}  // namespace app
