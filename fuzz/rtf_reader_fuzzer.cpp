// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Fuzz target for the RTF reader: any input must read without a crash or a hang, reading the
// text alone must give the document's text, read a few bytes at a time as well as whole, and
// what was read must survive being written as RTF and read again with the same text.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <QByteArray>
#include <QTextDocument>

#include "reports/plain_text.h"
#include "reports/report_text.h"
#include "reports/rtf_parser.h"
#include "reports/rtf_reader.h"
#include "reports/rtf_writer.h"

namespace {

// The paragraphs' text, each followed by a line end.
class TextSink final : public reports::RtfSink {
 public:
  void openParagraph(const reports::RtfStyle&) override {}
  void appendText(QStringView text, const reports::RtfStyle&) override { this->text.append(text); }
  void closeParagraph(reports::RtfAlignment) override { text.append(u'\n'); }
  QString text;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  QTextDocument document;
  reports::ReadRtf(QByteArrayView(data, static_cast<qsizetype>(size)), &document);
  const QByteArray text = reports::PlainTextOf(document);
  if (reports::PlainTextOfRtf(QByteArrayView(data, static_cast<qsizetype>(size))) != text) {
    std::fputs("reading the text alone differs from the document's text\n", stderr);
    std::abort();
  }

  // Blocks of one to eight bytes cut every word, number and escape somewhere.
  TextSink whole;
  reports::ParseRtf(QByteArrayView(data, static_cast<qsizetype>(size)), &whole, false);
  TextSink streamed;
  std::size_t position = 0;
  const std::size_t block = size == 0 ? 1 : 1 + data[0] % 8;
  reports::ParseRtf(
      [&](char* buffer, qsizetype capacity) {
        const std::size_t n = std::min({std::size_t(capacity), block, size - position});
        std::copy_n(data + position, n, buffer);
        position += n;
        return static_cast<qsizetype>(n);
      },
      &streamed, false);
  if (streamed.text != whole.text) {
    std::fputs("reading a few bytes at a time differs from reading the whole\n", stderr);
    std::abort();
  }

  QTextDocument again;
  reports::ReadRtf(reports::WriteRtf(document), &again);
  if (reports::PlainTextOf(again) != text) {
    std::fputs("text changed when written and read again\n", stderr);
    std::abort();
  }
  return 0;
}
