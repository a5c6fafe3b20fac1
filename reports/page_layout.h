// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Lays a report document out for a printer and renders it page by page, each page going on
// from the first character the previous one could not hold (the colour print route).
#pragma once

#include <deque>
#include <map>
#include <memory>

#include <QColor>
#include <QPointF>
#include <QRawFont>
#include <QtGlobal>

#include "reports/inked_glyphs.h"

QT_BEGIN_NAMESPACE
class QPaintDevice;
class QRect;
class QTextDocument;
QT_END_NAMESPACE

namespace reports {

// Lays the paragraphs out itself, from the document's text and formats, a few at a time as
// the pages need them: neither the document's own layout (a view's, laid out for the screen
// and perhaps without wrapping) nor a copy of the document is used, and the paragraphs of
// the pages already printed are let go, so memory does not grow with the page count.
// Paragraphs are laid out as QTextDocument lays out a document of no margins whose lines
// wrap at words (or anywhere, for a word wider than the line), line under line, so the pages
// are those of that layout.
//
// The paragraphs are read and laid out on a thread of its own, a bounded number ahead of the
// page being rendered, while the canvas's device does its work for the page on the calling
// thread; paragraphs of one font and colour cross as their inked glyphs (inked_glyphs.h).
// While pages are being rendered that thread reads the document, so nothing may use the
// document, not even to read it, between the first FormatRange and this object's end.
class PageLayout {
 public:
  // Reads `document`, which must outlive this object and must not change while it is used.
  explicit PageLayout(const QTextDocument& document);
  ~PageLayout();
  PageLayout(const PageLayout&) = delete;
  PageLayout& operator=(const PageLayout&) = delete;

  // Renders the document from character position `from` into `target`, a rectangle in the
  // device units of the canvas's device, and returns the position of the first character that
  // did not fit, or endPosition() once the rest has fitted. Only whole lines are rendered: a
  // `from` inside a line starts with that line, and a line that does not fit entirely is left
  // for the next page. A line taller than `target` is rendered clipped, so the result is always
  // greater than `from` while `from` < endPosition(). Text without a colour of its own is
  // black; the layout follows the canvas's device (its resolution decides the size of a
  // point) and target's width. Pages are asked for in order; asking for an earlier one lays
  // the document out again from its start.
  int FormatRange(GlyphCanvas& canvas, int from, const QRect& target);

  // The position just after the document's last character.
  int endPosition() const { return m_end; }

  struct Paragraph;  // a paragraph laid out, as the shaping thread hands it over
  struct Look;       // a font and colour of the document, as the shaping thread found it

 private:
  class Shaper;
  // What the calling thread draws a look's glyphs in.
  struct Face {
    QRawFont font;
    bool same = false;  // of the face the shaping thread shaped them in
  };

  void Restart(QPaintDevice* device, int width);
  // Takes the next paragraph from the shaping thread; false at the document's end.
  bool LayOutNext();
  // Lays out on this thread a paragraph the shaping thread could not hand over as glyphs.
  void LayOutHere(Paragraph& paragraph);
  const Face& FaceOf(const std::shared_ptr<const Look>& look);
  // Puts line `line` of a paragraph laid out with its formats on `canvas` as glyphs, each in
  // its format's colour (`pen` when it has none); false, and nothing put, when the formats
  // say more than fonts and colours.
  static bool PutInItsColours(GlyphCanvas& canvas, const Paragraph& paragraph, int line,
                              QPointF origin, const QColor& pen);

  const QTextDocument& m_document;
  const int m_end;
  QPaintDevice* m_device = nullptr;
  int m_width = -1;
  std::unique_ptr<Shaper> m_shaper;
  std::deque<Paragraph> m_paragraphs;  // laid out, in order, none before the current page
  std::deque<Paragraph> m_arrived;     // handed over, not laid out in m_paragraphs yet
  qreal m_nextTop = 0;                 // where the next paragraph begins
  std::map<std::shared_ptr<const Look>, Face> m_faces;
};

}  // namespace reports
