// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/plain_text.h"

#include <QString>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextDocument>

#include "reports/text_safety.h"

namespace reports {

void AppendPlainTextLine(QString line, QByteArray* out) {
  line.remove(QChar::ObjectReplacementCharacter);
  line.replace(QChar::LineSeparator, QLatin1String("\r\n"));
  // Blanks at the end of a line are invisible in the view, and a composed report ends
  // its last line with one (the blank that starts " \par }"); the plain text shows what
  // the view shows. A line of blanks alone keeps them: it is a blank-holding line.
  qsizetype end = line.size();
  while (end > 0 && line[end - 1] == QLatin1Char(' ')) --end;
  if (end > 0) line.truncate(end);
  out->append(line.toUtf8()).append("\r\n");
}

QByteArray PlainTextOf(const QTextDocument& document) {
  QByteArray out;
  if (document.isEmpty()) return out;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    AppendPlainTextLine(block.text(), &out);
  }
  return out;
}

void ReadPlainText(QByteArrayView text, QTextDocument* document) {
  const QByteArrayView bom("\xEF\xBB\xBF");
  if (text.startsWith(bom)) text = text.sliced(bom.size());
  QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
  QString decoded = utf8(text);
  // A Windows ANSI report or any other 8-bit file: show its bytes rather than nothing.
  if (utf8.hasError()) decoded = QString::fromLatin1(text);
  if (decoded.endsWith(QLatin1Char('\n')) || decoded.endsWith(QLatin1Char('\r'))) {
    decoded.chop(decoded.endsWith(QLatin1String("\r\n")) ? 2 : 1);
  }

  // setPlainText makes one block per '\n'; every other character must be safe to hold.
  QString safe;
  safe.reserve(decoded.size());
  for (qsizetype i = 0; i < decoded.size(); ++i) {
    char32_t c = decoded[i].unicode();
    if (c == U'\r' || c == U'\n') {
      if (c == U'\r' && i + 1 < decoded.size() && decoded[i + 1] == QLatin1Char('\n')) ++i;
      safe.append(QLatin1Char('\n'));
      continue;
    }
    if (QChar::isHighSurrogate(c) && i + 1 < decoded.size() && decoded[i + 1].isLowSurrogate()) {
      c = QChar::surrogateToUcs4(decoded[i].unicode(), decoded[i + 1].unicode());
      ++i;
    }
    c = DocumentSafeChar(c);
    if (c != 0) AppendCodePoint(c, &safe);
  }
  const bool undoEnabled = document->isUndoRedoEnabled();
  document->setUndoRedoEnabled(false);
  document->setPlainText(safe);
  document->setUndoRedoEnabled(undoEnabled);
}

}  // namespace reports
