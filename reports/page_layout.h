// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Lays a report document out for a printer and renders it page by page, each page going on
// from the first character the previous one could not hold (the colour print route).
#pragma once

#include <deque>
#include <memory>
#include <unordered_map>

#include <QColor>
#include <QFont>
#include <QTextBlock>
#include <QtGlobal>

QT_BEGIN_NAMESPACE
class QPaintDevice;
class QPainter;
class QRect;
class QTextCharFormat;
class QTextDocument;
class QTextLayout;
QT_END_NAMESPACE

namespace reports {

// Lays the paragraphs out itself, from the document's text and formats, a few at a time as
// the pages need them: neither the document's own layout (a view's, laid out for the screen
// and perhaps without wrapping) nor a copy of the document is used, and the paragraphs of
// the pages already printed are let go, so memory does not grow with the page count.
// Paragraphs are laid out as QTextDocument lays out a document of no margins whose lines
// wrap at words (or anywhere, for a word wider than the line), line under line, so the pages
// are those of that layout.
class PageLayout {
 public:
  // Reads `document`, which must outlive this object and must not change while it is used.
  explicit PageLayout(const QTextDocument& document);
  ~PageLayout();
  PageLayout(const PageLayout&) = delete;
  PageLayout& operator=(const PageLayout&) = delete;

  // Renders the document from character position `from` into `target`, a rectangle in the
  // device units of the painter's device, and returns the position of the first character that
  // did not fit, or endPosition() once the rest has fitted. Only whole lines are rendered: a
  // `from` inside a line starts with that line, and a line that does not fit entirely is left
  // for the next page. A line taller than `target` is rendered clipped, so the result is always
  // greater than `from` while `from` < endPosition(). Text without a colour of its own is
  // black; the layout follows the painter's device (its resolution decides the size of a
  // point) and target's width. Pages are asked for in order; asking for an earlier one lays
  // the document out again from its start. REQUIRES: `painter` is active.
  int FormatRange(QPainter& painter, int from, const QRect& target);

  // The position just after the document's last character.
  int endPosition() const;

 private:
  struct Paragraph;
  // How text of one character format is laid out and drawn when that format is no more than
  // a font and a colour (`plain`): in that font on this device, with a pen of that colour.
  struct Look {
    bool plain = false;
    QFont font;
    QColor pen;
  };
  void Restart(QPaintDevice* device, int width);
  const Look& LookOf(int formatIndex, const QTextCharFormat& format);
  // Lays out the next paragraph; false at the document's end.
  bool LayOutNext();

  const QTextDocument& m_document;
  QPaintDevice* m_device = nullptr;
  int m_width = -1;
  std::deque<Paragraph> m_paragraphs;     // laid out, in order, none before the current page
  std::unordered_map<int, Look> m_looks;  // by the document's character format index
  QTextBlock m_next;                      // the first paragraph not laid out yet
  qreal m_nextTop = 0;                    // where it begins
};

}  // namespace reports
