// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/rtf_reader.h"

#include <QTextDocument>

#include "reports/paragraph_batch.h"
#include "reports/rtf_parser.h"

namespace reports {
namespace {

// Paragraphs go into the document as they are read, a few thousand at a time.
constexpr int kParagraphsPerBatch = 4096;

}  // namespace

void ReadRtf(QByteArrayView rtf, QTextDocument* document) {
  const bool undoEnabled = document->isUndoRedoEnabled();
  document->clear();
  document->setUndoRedoEnabled(false);
  ParagraphAppender appender(document);
  ParagraphBatchBuilder builder(kParagraphsPerBatch, [&appender](ParagraphBatch&& batch) {
    std::size_t next = 0;
    appender.append(batch, &next);
  });
  ParseRtf(rtf, &builder, /*withStyles=*/true);
  builder.finish();
  document->setUndoRedoEnabled(undoEnabled);
}

}  // namespace reports
