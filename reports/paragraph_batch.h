// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Paragraphs read from a report with their formats, in batches that can be made on one
// thread and put into a document on another: how a document is built from a file, whole
// (ReadRtf, ReadPlainText) or a batch at a time while the window goes on (the report view).
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include <QString>
#include <QStringView>
#include <QTextCharFormat>

#include "reports/rtf_parser.h"

QT_BEGIN_NAMESPACE
class QTextDocument;
QT_END_NAMESPACE

namespace reports {

// Paragraphs with their text and formats, ready to go into a document. A plain value: made
// on one thread, it may be read on another once handed over.
struct ParagraphBatch {
  struct Run {
    qsizetype end = 0;  // in `text`; a run starts where the one before it ends
    int format = 0;     // index into `formats`
  };
  struct Paragraph {
    int endRun = 0;      // its runs end here in `runs` and start where the one before ends
    int markFormat = 0;  // the format of its paragraph mark, index into `formats`
    // Rich text gives every paragraph its alignment; plain text none.
    std::optional<Qt::Alignment> alignment;
  };

  QString text;
  std::vector<Run> runs;
  std::vector<Paragraph> paragraphs;
  std::vector<QTextCharFormat> formats;
  // How far the reading of the file had come when the batch was complete, in bytes.
  qint64 bytesRead = 0;

  [[nodiscard]] bool empty() const { return paragraphs.empty(); }
};

// Makes batches of about `paragraphsPerBatch` paragraphs from what ParseRtf reads, or from
// the paragraphs of a plain-text file, and hands each one to `ready` as it is complete.
class ParagraphBatchBuilder final : public RtfSink {
 public:
  ParagraphBatchBuilder(int paragraphsPerBatch, std::function<void(ParagraphBatch&&)> ready);

  // RtfSink: text keeps its font, size, emphasis and colours (ReadRtf says how).
  void openParagraph(const RtfStyle& mark) override;
  void appendText(QStringView text, const RtfStyle& style) override;
  void closeParagraph(RtfAlignment alignment) override;

  // A paragraph of a plain-text file: unformatted, as QTextDocument::setPlainText makes it.
  void addPlainParagraph(QStringView text);

  // Bytes of the file read so far, recorded in the next batch handed on.
  void setBytesRead(qint64 bytes) { m_bytesRead = bytes; }
  // Hands on the last batch, when it holds anything.
  void finish();

 private:
  // The index in the batch of the format of `style`; nothing stands for unformatted text.
  int FormatIndex(const std::optional<RtfStyle>& style);
  void EndParagraph(std::optional<Qt::Alignment> alignment);

  int m_paragraphsPerBatch;
  std::function<void(ParagraphBatch&&)> m_ready;
  ParagraphBatch m_batch;
  std::vector<std::optional<RtfStyle>> m_styles;  // of m_batch.formats, index by index
  int m_markFormat = 0;
  qint64 m_bytesRead = 0;
};

// Puts batches into a document, after what it holds: the first paragraph put into an empty
// document takes the document's one block. Undo records nothing of it while the document's
// undo is off; the document's contentsChange tells a view what changed, once per call.
class ParagraphAppender {
 public:
  // `document` must outlive this object. REQUIRES: nobody else changes `document` meanwhile.
  explicit ParagraphAppender(QTextDocument* document);

  // Appends paragraphs of `batch` from *next on, until all are in or `more` answers false
  // (asked after each paragraph); *next is then the first paragraph not yet in.
  void append(const ParagraphBatch& batch, std::size_t* next,
              const std::function<bool()>& more = {});

 private:
  QTextDocument* m_document;
  bool m_empty;
};

}  // namespace reports
