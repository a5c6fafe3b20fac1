// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Fuzz target for the RTF reader: any input must read without a crash or a hang, reading the
// text alone must give the document's text, and what was read must survive being written as
// RTF and read again with the same text.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include <QByteArray>
#include <QTextDocument>

#include "reports/plain_text.h"
#include "reports/rtf_reader.h"
#include "reports/rtf_writer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  QTextDocument document;
  reports::ReadRtf(QByteArrayView(data, static_cast<qsizetype>(size)), &document);
  const QByteArray text = reports::PlainTextOf(document);
  if (reports::PlainTextOfRtf(QByteArrayView(data, static_cast<qsizetype>(size))) != text) {
    std::fputs("reading the text alone differs from the document's text\n", stderr);
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
