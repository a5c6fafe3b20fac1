// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Reading a block at a time: whatever the block size, RTF and plain text read as they do
// whole, and the plain-text form of a file is made without holding it.
#include "reports/rtf_parser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include <QDirIterator>
#include <QFile>
#include <QStringDecoder>
#include <QStringList>

#include "platform/testing/memory_file_system.h"
#include "platform/testing/string_file.h"
#include "reports/report_text.h"
#include "reports/test_support.h"

namespace reports {
namespace {

// Writes down everything the parser hands on, styles included.
class RecordingSink final : public RtfSink {
 public:
  void openParagraph(const RtfStyle& mark) override { events.append("open " + Describe(mark)); }
  void appendText(QStringView text, const RtfStyle& style) override {
    // Pieces of one run may come apart at block ends: runs of one style are joined.
    const QString described = Describe(style);
    if (!events.isEmpty() && events.last().startsWith("text " + described + " |")) {
      events.last().append(text);
    } else {
      events.append("text " + described + " |" + text.toString());
    }
  }
  void closeParagraph(RtfAlignment alignment) override {
    events.append(QStringLiteral("close %1").arg(int(alignment)));
  }
  QStringList events;

 private:
  static QString Describe(const RtfStyle& s) {
    return QStringLiteral("%1/%2/%3%4%5%6/%7/%8")
        .arg(s.fontFamily)
        .arg(s.halfPoints)
        .arg(s.bold)
        .arg(s.italic)
        .arg(s.underline)
        .arg(s.strike)
        .arg(s.foreground ? qint64(*s.foreground) : -1)
        .arg(s.background ? qint64(*s.background) : -1);
  }
};

QStringList ReadWhole(const QByteArray& rtf) {
  RecordingSink sink;
  ParseRtf(rtf, &sink, /*withStyles=*/true);
  return sink.events;
}

QStringList ReadInBlocks(const QByteArray& rtf, qsizetype blockSize) {
  RecordingSink sink;
  qsizetype position = 0;
  ParseRtf(
      [&](char* buffer, qsizetype capacity) {
        const qsizetype n = std::min({capacity, blockSize, rtf.size() - position});
        std::copy_n(rtf.constData() + position, n, buffer);
        position += n;
        return n;
      },
      &sink, /*withStyles=*/true);
  return sink.events;
}

TEST(RtfParserTest, EveryBlockSizeReadsAsTheWholeDocument) {
  // The stored reports and word-processor files, and the places where a word, a number or
  // an escape is cut between two blocks.
  QList<QByteArray> inputs = {
      "junk before {\\rtf1 a\\par-5 b\\fs-12 c\\'e9\\'4\\u-10179?\\u-8704?\\uc2\\u233xy z}",
      "{\\rtf1{\\fonttbl{\\f0 Ar;}{\\f1\\fcharset238 Cz;}}\\f1\\'e8\\f0\\'e8\\bin3 {}\\par",
      "{\\rtf1 " + QByteArray(100, 'a') + "\\" + QByteArray(40, 'x') + "9 tail\\\r\nnext}",
      "{\\rtf1{\\colortbl;\\red1\\green2\\blue3;}\\cf1\\qc red\\par\\pard left\\highlight1 on}",
  };
  QDirIterator files(testing::TestDataPath(""), QDir::Files);
  while (files.hasNext()) {
    QFile file(files.next());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    inputs.append(file.readAll());
  }
  ASSERT_GE(inputs.size(), 10);
  for (const QByteArray& input : inputs) {
    const QStringList whole = ReadWhole(input);
    for (qsizetype blockSize : {1, 2, 3, 7, 4096}) {
      EXPECT_EQ(ReadInBlocks(input, blockSize), whole)
          << "blocks of " << blockSize << ": " << input.left(60).toStdString();
    }
  }
}

TEST(RtfParserTest, ReadsTheCutCasesRight) {
  const QStringList events =
      ReadInBlocks("{\\rtf1 a\\par-5 b\\'e9\\u-10179?\\u-8704?\\bin2 {}c\\par}", 1);
  QString text;
  for (const QString& event : events) {
    if (event.startsWith("text ")) text += event.mid(event.indexOf('|') + 1);
    if (event.startsWith("close")) text += '/';
  }
  // "\par-5 " is \par with the parameter -5 and its blank; the two halves of U+1F600 make
  // one character; \bin2 takes the two braces as data.
  EXPECT_EQ(text, QStringLiteral("a/b\u00e9\U0001F600c/"));
}

TEST(Utf8CheckTest, AgreesWithQtsDecoderWhereverABlockEnds) {
  QList<QByteArray> inputs = {
      "plain",
      "caf\xc3\xa9",
      "\xc3",
      "\xe2\x82",
      "\xe2\x82\xac",
      "\xf0\x9f\x98\x80",
      "\xc0\x80",          // overlong
      "\xe0\x80\x80",      // overlong
      "\xed\xa0\x80",      // a surrogate
      "\xf4\x90\x80\x80",  // beyond U+10FFFF
      "\xef\xbf\xbf",      // a non-character, which is still UTF-8
      "\xff",
      "\x80",
      "a\xc3\xa9\xe9",
  };
  std::mt19937 random(7);
  for (int i = 0; i < 2000; ++i) {
    QByteArray bytes;
    for (int n = int(random() % 8); n > 0; --n) bytes.append(char(0x7F + random() % 0x81));
    inputs.append(bytes);
  }
  for (const QByteArray& input : inputs) {
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    (void)QString(decoder(input));
    for (qsizetype split = 0; split <= input.size(); ++split) {
      Utf8Check check;
      check.add(QByteArrayView(input).first(split));
      check.add(QByteArrayView(input).sliced(split));
      EXPECT_EQ(check.valid(), !decoder.hasError()) << input.toHex().toStdString();
    }
  }
}

QStringList Split(const QByteArray& text, qsizetype blockSize) {
  Utf8Check check;
  check.add(text);
  QStringList paragraphs;
  PlainTextSplitter splitter(check.valid(),
                             [&](QStringView line) { paragraphs.append(line.toString()); });
  for (qsizetype at = 0; at < text.size(); at += blockSize) {
    splitter.add(QByteArrayView(text).sliced(at, std::min(blockSize, text.size() - at)));
  }
  splitter.finish();
  return paragraphs;
}

TEST(PlainTextSplitterTest, LinesAreTheSameWhereverABlockEnds) {
  const struct {
    QByteArray text;
    QStringList paragraphs;
  } cases[] = {
      {"", {""}},
      {"\r\n", {""}},
      {"\r\n\r\n", {"", ""}},
      {"\xEF\xBB\xBF"
       "a\r\nb\rc\n\nd",
       {"a", "b", "c", "", "d"}},
      {"a\r\r\n", {"a", ""}},
      {"caf\xc3\xa9\tx\x01y", {QStringLiteral("caf\u00e9\txy")}},
      {"caf\xe9\r\n", {QStringLiteral("caf\u00e9")}},  // not UTF-8: Latin-1
      {"\xEF\xBB\xBF\xEF\xBB\xBFtwo marks", {"two marks"}},
      {"\xf0\x9f\x98\x80\xe2\x80\xa9", {QStringLiteral("\U0001F600\u2028")}},
  };
  for (const auto& c : cases) {
    for (qsizetype blockSize : {1, 2, 3, 64}) {
      EXPECT_EQ(Split(c.text, blockSize), c.paragraphs)
          << c.text.toHex().toStdString() << " in blocks of " << blockSize;
    }
  }
}

TEST(ReportTextTest, PlainTextOfAFileIsThatOfItsBytesAndFailuresAreSaid) {
  platform::MemoryFileSystem fs;
  std::string big = "{\\rtf1\\ansi ";
  for (int i = 0; i < 40000; ++i) big += "\\par line " + std::to_string(i) + " \\'e9";
  big += "}";
  fs.addTextFile("C:\\big.rtf", big);
  fs.addTextFile("C:\\notes.txt", "caf\xe9\r\n\r\nend");
  for (const char* name : {"C:\\big.rtf", "C:\\notes.txt"}) {
    platform::testing::StringFile out(SIZE_MAX);
    ASSERT_TRUE(AppendReportFileAsPlainText(fs, name, &out).isOk()) << name;
    const std::string bytes = fs.contents(name).value_or("");
    const QByteArray expected = PlainTextOfReportBytes(QByteArray::fromStdString(bytes));
    EXPECT_EQ(QByteArray::fromStdString(out.bytes), expected) << name;
  }
  EXPECT_EQ(PlainTextOfReportBytes("caf\xe9\r\n\r\nend"), "caf\xc3\xa9\r\n\r\nend\r\n");

  platform::testing::StringFile full(1000);
  const base::Status failed = AppendReportFileAsPlainText(fs, "C:\\big.rtf", &full);
  EXPECT_EQ(failed.message(), "disk full");
  const base::Status missing = AppendReportFileAsPlainText(fs, "C:\\gone.rtf", &full);
  EXPECT_FALSE(missing.isOk());
  EXPECT_NE(missing.message().find("C:\\gone.rtf"), std::string::npos) << missing.message();
}

}  // namespace
}  // namespace reports
