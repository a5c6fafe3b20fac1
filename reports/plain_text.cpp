// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/plain_text.h"

#include <QString>
#include <QTextBlock>
#include <QTextDocument>

#include "reports/paragraph_batch.h"

namespace reports {
namespace {

constexpr int kParagraphsPerBatch = 4096;
// The text goes out in pieces of about this size.
constexpr qsizetype kPieceSize = 256 * 1024;

}  // namespace

QByteArray PlainTextOf(const QTextDocument& document) {
  QByteArray text;
  PlainTextOf(document, [&text](QByteArrayView piece) {
    text.append(piece);
    return true;
  });
  return text;
}

bool PlainTextOf(const QTextDocument& document, const std::function<bool(QByteArrayView)>& write) {
  if (document.isEmpty()) return true;
  QByteArray out;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    AppendPlainTextLine(block.text(), &out);
    if (out.size() >= kPieceSize) {
      if (!write(out)) return false;
      out.clear();
    }
  }
  return out.isEmpty() || write(out);
}

void ReadPlainText(QByteArrayView text, QTextDocument* document) {
  const bool undoEnabled = document->isUndoRedoEnabled();
  document->clear();
  document->setUndoRedoEnabled(false);
  ParagraphAppender appender(document);
  ParagraphBatchBuilder builder(kParagraphsPerBatch, [&appender](ParagraphBatch&& batch) {
    std::size_t next = 0;
    appender.append(batch, &next);
  });
  Utf8Check check;
  check.add(text);
  PlainTextSplitter splitter(check.valid(),
                             [&builder](QStringView line) { builder.addPlainParagraph(line); });
  splitter.add(text);
  splitter.finish();
  builder.finish();
  document->setUndoRedoEnabled(undoEnabled);
}

}  // namespace reports
