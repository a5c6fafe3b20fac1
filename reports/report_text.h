// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The plain-text form of a report (docs/report_format.md), made a block at a time from a
// report file of any size, and the reading of plain-text files into paragraphs that the
// report view and the plain-text form share. Needs Qt Core only.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include "base/status.h"

namespace platform {
class FileSystem;
class WritableFile;
}  // namespace platform

namespace reports {

// True when `bytes` hold rich text: they begin with "{\rtf".
bool IsRichText(QByteArrayView bytes);

// Appends the text of one paragraph to `out` as the plain-text form writes it: UTF-8, line
// breaks inside it (U+2028) as CR LF, blanks at its end left out unless it holds nothing
// else, CR LF at the end.
void AppendPlainTextLine(QString line, QByteArray* out);

// Tells, a block at a time, whether bytes are well-formed UTF-8 (no overlong forms, no
// surrogates, nothing beyond U+10FFFF, no sequence cut off at the end).
class Utf8Check {
 public:
  void add(QByteArrayView bytes);
  // True when everything added, taken as one text, is UTF-8.
  [[nodiscard]] bool valid() const { return m_valid && m_needed == 0; }

 private:
  bool m_valid = true;
  int m_needed = 0;     // continuation bytes still due
  char m_low = '\x80';  // the range of the next continuation byte
  char m_high = '\xBF';
};

// Splits a plain-text file into the paragraphs the report view shows, a block of bytes at a
// time: lines ended by CR LF, LF or CR, where a break at the very end adds no empty
// paragraph. A UTF-8 byte order mark at the start is dropped. The text is decoded as UTF-8
// when `utf8` (the whole file is UTF-8: Utf8Check), otherwise as Latin-1, so an older report
// in an 8-bit code page shows its bytes rather than nothing. Characters a document cannot
// hold are dropped or replaced (text_safety.h).
class PlainTextSplitter {
 public:
  // `paragraph` receives each paragraph's text in order; the view is valid for the call.
  PlainTextSplitter(bool utf8, std::function<void(QStringView paragraph)> paragraph);
  ~PlainTextSplitter();
  PlainTextSplitter(const PlainTextSplitter&) = delete;
  PlainTextSplitter& operator=(const PlainTextSplitter&) = delete;

  void add(QByteArrayView bytes);
  // Gives the last paragraph. Call once, after the last add().
  void finish();

 private:
  struct Decoder;
  void AddDecoded(QStringView text);

  std::unique_ptr<Decoder> m_decoder;
  std::function<void(QStringView)> m_paragraph;
  QString m_line;
  bool m_started = false;  // the byte order mark is behind us
  QByteArray m_head;       // the first bytes, while a byte order mark may begin
  bool m_afterCarriageReturn = false;
  bool m_endsWithBreak = false;
};

// The plain-text form of the report held in `bytes`: rich text when it begins with "{\rtf",
// plain text otherwise. An empty document (no paragraph, or one without text) gives no line.
[[nodiscard]] QByteArray PlainTextOfReportBytes(QByteArrayView bytes);
// The plain-text form of the RTF document `rtf`.
[[nodiscard]] QByteArray PlainTextOfRtf(QByteArrayView rtf);

// Appends the plain-text form of the report file `from` on `fs` to `out`, reading and
// writing a block at a time: memory stays the same whatever the file's size. A plain-text
// file is read twice (first to tell UTF-8 from an 8-bit code page). Fails, naming the file,
// when `from` cannot be read (missing, not a regular file, an I/O error) or `out` fails;
// what was appended before the failure stays in `out`, which the caller drops.
[[nodiscard]] base::Status AppendReportFileAsPlainText(platform::FileSystem& fs,
                                                       const std::string& from,
                                                       platform::WritableFile* out);

}  // namespace reports
