// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/report_text.h"

#include <algorithm>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include <QStringDecoder>

#include "platform/file_system.h"
#include "reports/rtf_parser.h"
#include "reports/text_safety.h"

namespace reports {
namespace {

constexpr QByteArrayView kByteOrderMark("\xEF\xBB\xBF");
// Files are read, and the plain text written, in blocks of this size.
constexpr std::size_t kBlockSize = 256 * 1024;

// The lines of the plain-text form, kept until they are known to make a document that is not
// empty (no lines at all for a document of one paragraph without text), then handed on to
// `out` a block at a time, or kept whole when there is no `out`.
class PlainTextLines {
 public:
  explicit PlainTextLines(platform::WritableFile* out = nullptr) : m_out(out) {}

  void add(QString line) {
    m_hasText = m_hasText || !line.isEmpty();
    ++m_lines;
    AppendPlainTextLine(std::move(line), &m_text);
    if (m_out != nullptr && m_text.size() >= static_cast<qsizetype>(kBlockSize) && settled()) {
      Write();
    }
  }
  // The failure of `out` so far; once failed, later lines are dropped.
  [[nodiscard]] const base::Status& status() const { return m_status; }

  base::Status finish() {
    if (!settled()) m_text.clear();
    if (m_out != nullptr) Write();
    return m_status;
  }
  QByteArray takeText() { return std::exchange(m_text, {}); }

 private:
  bool settled() const { return m_lines > 1 || m_hasText; }
  void Write() {
    if (m_status.isOk() && !m_text.isEmpty()) {
      m_status = m_out->append(std::string_view(m_text.constData(), std::size_t(m_text.size())));
    }
    m_text.clear();
  }

  platform::WritableFile* m_out;
  base::Status m_status;
  QByteArray m_text;
  qint64 m_lines = 0;
  bool m_hasText = false;
};

// The paragraphs of an RTF document as lines of the plain-text form.
class PlainTextSink final : public RtfSink {
 public:
  explicit PlainTextSink(PlainTextLines* lines) : m_lines(*lines) {}
  void openParagraph(const RtfStyle&) override {}
  void appendText(QStringView text, const RtfStyle&) override { m_line.append(text); }
  void closeParagraph(RtfAlignment) override { m_lines.add(std::exchange(m_line, {})); }

 private:
  PlainTextLines& m_lines;
  QString m_line;
};

// Reads a file a block at a time; the first failure is kept and ends the reading.
class BlockReader {
 public:
  BlockReader(platform::FileSystem& fs, const std::string& path) {
    auto file = fs.openForReading(path);
    if (file.isOk()) {
      m_file = std::move(file).value();
    } else {
      m_status = file.status();
    }
  }
  // Up to `capacity` bytes into `buffer`; 0 at the end or after a failure.
  qsizetype read(char* buffer, qsizetype capacity) {
    if (!m_status.isOk()) return 0;
    std::size_t got = 0;
    m_status = m_file->read(static_cast<std::size_t>(capacity), buffer, &got);
    return m_status.isOk() ? static_cast<qsizetype>(got) : 0;
  }
  [[nodiscard]] const base::Status& status() const { return m_status; }

 private:
  std::unique_ptr<platform::SequentialFile> m_file;
  base::Status m_status;
};

}  // namespace

bool IsRichText(QByteArrayView bytes) { return bytes.startsWith(QByteArrayView("{\\rtf")); }

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

void Utf8Check::add(QByteArrayView bytes) {
  // The well-formed sequences of the Unicode standard (its table 3-7), byte by byte.
  for (const char c : bytes) {
    if (!m_valid) return;
    const auto byte = static_cast<unsigned char>(c);
    if (m_needed > 0) {
      if (c < m_low || c > m_high) {
        m_valid = false;
        return;
      }
      m_low = '\x80';
      m_high = '\xBF';
      --m_needed;
      continue;
    }
    if (byte < 0x80) continue;
    if (byte >= 0xC2 && byte <= 0xDF) {
      m_needed = 1;
    } else if (byte >= 0xE0 && byte <= 0xEF) {
      m_needed = 2;
      if (byte == 0xE0) m_low = '\xA0';
      if (byte == 0xED) m_high = '\x9F';
    } else if (byte >= 0xF0 && byte <= 0xF4) {
      m_needed = 3;
      if (byte == 0xF0) m_low = '\x90';
      if (byte == 0xF4) m_high = '\x8F';
    } else {
      m_valid = false;
    }
  }
}

struct PlainTextSplitter::Decoder {
  explicit Decoder(bool utf8) : utf8(utf8) {}
  QString decode(QByteArrayView bytes) {
    return utf8 ? QString(decoder(bytes)) : QString::fromLatin1(bytes);
  }
  bool utf8;
  // Stateful: a character cut between two blocks is decoded whole. Like every decoder of Qt
  // it drops a byte order mark at its start, which makes a second mark after the first one
  // go too.
  QStringDecoder decoder{QStringConverter::Utf8};
};

PlainTextSplitter::PlainTextSplitter(bool utf8, std::function<void(QStringView)> paragraph)
    : m_decoder(std::make_unique<Decoder>(utf8)), m_paragraph(std::move(paragraph)) {}

PlainTextSplitter::~PlainTextSplitter() = default;

void PlainTextSplitter::add(QByteArrayView bytes) {
  if (!m_started) {
    m_head.append(bytes);
    if (m_head.size() < kByteOrderMark.size() && kByteOrderMark.startsWith(m_head)) return;
    m_started = true;
    const QByteArray head = std::exchange(m_head, {});
    AddDecoded(m_decoder->decode(QByteArrayView(head).startsWith(kByteOrderMark)
                                     ? QByteArrayView(head).sliced(kByteOrderMark.size())
                                     : QByteArrayView(head)));
    return;
  }
  AddDecoded(m_decoder->decode(bytes));
}

void PlainTextSplitter::AddDecoded(QStringView text) {
  for (qsizetype i = 0; i < text.size(); ++i) {
    char32_t c = text[i].unicode();
    const bool newline = c == U'\n';
    if (newline && m_afterCarriageReturn) {  // the second half of a CR LF
      m_afterCarriageReturn = false;
      continue;
    }
    m_afterCarriageReturn = c == U'\r';
    if (newline || c == U'\r') {
      m_paragraph(m_line);
      m_line.clear();
      m_endsWithBreak = true;
      continue;
    }
    m_endsWithBreak = false;
    if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
      c = QChar::surrogateToUcs4(text[i].unicode(), text[i + 1].unicode());
      ++i;
    }
    c = DocumentSafeChar(c);
    if (c != 0) AppendCodePoint(c, &m_line);
  }
}

void PlainTextSplitter::finish() {
  if (!m_started) {
    m_started = true;
    if (!m_head.startsWith(kByteOrderMark)) AddDecoded(m_decoder->decode(m_head));
  }
  // A break at the very end closes the last paragraph; it opens no new one.
  if (!m_endsWithBreak) m_paragraph(m_line);
}

QByteArray PlainTextOfRtf(QByteArrayView rtf) {
  PlainTextLines lines;
  PlainTextSink sink(&lines);
  ParseRtf(rtf, &sink, /*withStyles=*/false);
  (void)lines.finish();
  return lines.takeText();
}

QByteArray PlainTextOfReportBytes(QByteArrayView bytes) {
  if (IsRichText(bytes)) return PlainTextOfRtf(bytes);
  Utf8Check check;
  check.add(bytes);
  PlainTextLines lines;
  PlainTextSplitter splitter(check.valid(),
                             [&lines](QStringView line) { lines.add(line.toString()); });
  splitter.add(bytes);
  splitter.finish();
  (void)lines.finish();
  return lines.takeText();
}

base::Status AppendReportFileAsPlainText(platform::FileSystem& fs, const std::string& from,
                                         platform::WritableFile* out) {
  PlainTextLines lines(out);
  BlockReader reader(fs, from);
  // The first bytes tell rich text from plain text; they are then read again from here.
  char head[5];
  qsizetype headSize = 0;
  while (headSize < qsizetype(sizeof head)) {
    const qsizetype got = reader.read(head + headSize, qsizetype(sizeof head) - headSize);
    if (got == 0) break;
    headSize += got;
  }
  qsizetype headUsed = 0;
  // A failed write ends the reading: nothing more can go anywhere.
  const auto input = [&](char* buffer, qsizetype capacity) -> qsizetype {
    if (!lines.status().isOk()) return 0;
    if (headUsed < headSize) {
      const qsizetype n = std::min(capacity, headSize - headUsed);
      std::copy_n(head + headUsed, n, buffer);
      headUsed += n;
      return n;
    }
    return reader.read(buffer, capacity);
  };

  if (IsRichText(QByteArrayView(head, headSize))) {
    PlainTextSink sink(&lines);
    ParseRtf(input, &sink, /*withStyles=*/false);
    if (!reader.status().isOk()) return reader.status();
    return lines.finish();
  }

  // Plain text is decoded as UTF-8 only when all of it is UTF-8: a first pass decides.
  Utf8Check check;
  std::vector<char> buffer(kBlockSize);
  for (qsizetype got = input(buffer.data(), qsizetype(buffer.size())); got > 0 && check.valid();
       got = input(buffer.data(), qsizetype(buffer.size()))) {
    check.add(QByteArrayView(buffer.data(), got));
  }
  if (!reader.status().isOk()) return reader.status();
  PlainTextSplitter splitter(check.valid(),
                             [&lines](QStringView line) { lines.add(line.toString()); });
  BlockReader again(fs, from);
  for (qsizetype got = again.read(buffer.data(), qsizetype(buffer.size()));
       got > 0 && lines.status().isOk();
       got = again.read(buffer.data(), qsizetype(buffer.size()))) {
    splitter.add(QByteArrayView(buffer.data(), got));
  }
  if (!again.status().isOk()) return again.status();
  splitter.finish();
  return lines.finish();
}

}  // namespace reports
