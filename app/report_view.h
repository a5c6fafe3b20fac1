// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// rtf1, the main window's report view: one report, shown in its colours and editable, from
// the ten lines of a quiet day to the million lines of a drive whose every file changed.
#pragma once

#include <QPlainTextEdit>

class QTextLayout;

namespace app {

// Why a QPlainTextEdit. A QTextEdit lays its whole document out before it can tell how tall
// it is, and lays it out again on every change of width: a million-line report kept the
// window busy for minutes. A QPlainTextEdit lays out only the paragraphs it shows and
// scrolls by paragraphs, and it still shows each character in its own format, so a report
// keeps its colours, fonts and sizes, and the user can type into it. Its document is filled
// a batch at a time while the window goes on (reports::ReportLoader), and it is what Save,
// Save As and Print read; printing lays out its own pages (reports::PageLayout).
//
// What a QPlainTextEdit does not do, and how this view makes up for it:
// - It aligns every paragraph alike. This view gives each paragraph it paints the alignment
//   of its paragraph format (a centred title of a welcome page or a letter stays centred).
// - Every change of its width lays every paragraph out afresh, which for a million lines
//   costs a second and hundreds of megabytes. A long report (fitWrappingTo) is therefore
//   shown without wrapping, with a horizontal scroll bar for the odd long line, and its
//   paragraphs are not laid out again when only the width changes; the few aligned to the
//   centre or the right are laid out again at the width shown when they are painted.
class ReportView final : public QPlainTextEdit {
  Q_OBJECT

 public:
  // The file size from which a report is shown without wrapping: about 16,000 lines.
  static constexpr qint64 kUnwrappedFromBytes = 2 * 1024 * 1024;

  explicit ReportView(QWidget* parent = nullptr);

  // Before the view's document is filled from a file of `bytes` bytes: lines wrap at the
  // view's width for a file smaller than kUnwrappedFromBytes, and do not wrap otherwise.
  // REQUIRES: the document is empty, so the change lays nothing out.
  void fitWrappingTo(qint64 bytes);

  // While the document is filled a batch at a time it takes no typing, and the scroll bar's
  // range is the paragraph count rather than fitted to the height of the last screen: fitting
  // it lays out that screen's paragraphs again after every batch, a tenth of the filling's
  // time. Ending the filling fits it once.
  void setFilling(bool filling);
  // After each batch put in at the end while filling: the cursor that the batch pushed to the
  // end goes back to the top.
  void filledMore();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // Lays the lines of `text`, a paragraph shown unwrapped, out again at `width` when they
  // were laid out at another.
  static void fitLinesTo(QTextLayout* text, qreal width);
};

}  // namespace app
