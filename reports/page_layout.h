// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Lays a report document out for a printer and renders it page by page, each page going on
// from the first character the previous one could not hold (the colour print route).
#pragma once

#include <memory>

#include <QtGlobal>

QT_BEGIN_NAMESPACE
class QPaintDevice;
class QPainter;
class QRect;
class QTextDocument;
QT_END_NAMESPACE

namespace reports {

class PageLayout {
 public:
  // Copies `document` (its text, formats and default font), so that laying it out for a
  // printer leaves the original and any view showing it untouched. The copy and its layout
  // live until this object is destroyed. REQUIRES: a QGuiApplication exists (fonts).
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
  // point) and target's width. REQUIRES: `painter` is active.
  int FormatRange(QPainter& painter, int from, const QRect& target);

  // The position just after the document's last character.
  int endPosition() const;

 private:
  void Prepare(QPaintDevice* device, int width);

  std::unique_ptr<QTextDocument> m_document;
  QPaintDevice* m_device = nullptr;
  int m_width = -1;
};

}  // namespace reports
