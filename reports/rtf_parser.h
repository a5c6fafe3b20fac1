// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Reads RTF as a stream of paragraphs and styled runs of text, a block of input at a time:
// the one reader behind the plain-text form, the report view and the rich-text document.
// docs/rtf_subset.md lists what is understood and what is skipped. Needs Qt Core only.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace reports {

enum class RtfAlignment { kLeft, kCenter, kRight, kJustify };

// How a run of text looks, with its font and colours taken from the document's tables. Only
// the first kMaxRtfStyles combinations of font and colours that a document uses keep theirs;
// text in further ones has no font or colour of its own (see rtf_reader.h for why).
struct RtfStyle {
  QString fontFamily;  // empty: no font of its own
  int halfPoints = 24;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strike = false;
  std::optional<std::uint32_t> foreground;  // 0xRRGGBB; nothing: no colour of its own
  std::optional<std::uint32_t> background;

  friend bool operator==(const RtfStyle&, const RtfStyle&) = default;
};
inline constexpr int kMaxRtfStyles = 256;

// Receives what ParseRtf reads, in document order. Text arrives only inside a paragraph.
class RtfSink {
 public:
  virtual ~RtfSink() = default;
  // A paragraph begins; its paragraph mark takes `mark` (which gives an empty paragraph its
  // height). Not called when the sink was made without styles: the style is then a default.
  virtual void openParagraph(const RtfStyle& mark) = 0;
  // Text of the open paragraph in one style: never empty, never a paragraph break, and only
  // characters a document may hold (text_safety.h).
  virtual void appendText(QStringView text, const RtfStyle& style) = 0;
  // The open paragraph ends, aligned as the document says at its end.
  virtual void closeParagraph(RtfAlignment alignment) = 0;
};

// Gives the document's bytes a block at a time: copies up to `capacity` bytes into `buffer`
// and returns how many, 0 at the end of the input (or after a failure, which the caller
// keeps and checks once the parse has returned).
using RtfInput = std::function<qsizetype(char* buffer, qsizetype capacity)>;

// Reads the RTF document that `input` gives, from its first "{" to the "}" that closes it
// (or to the end of the input), into `sink`. Paragraphs end at every \par; text after the
// last \par makes a final paragraph only when there is some. `withStyles` false leaves the
// fonts, colours and sizes unresolved (every style is a default RtfStyle), for a reader
// that wants the text alone. Never fails on content: a truncated, unbalanced or garbled
// document gives whatever text could be read. Time grows linearly with the input and
// memory stays bounded whatever it holds (one block of input, the open paragraph, the
// font and colour tables), so a file of any size can be read. Not thread-safe for one sink.
void ParseRtf(const RtfInput& input, RtfSink* sink, bool withStyles);
// The same for a document held in memory.
void ParseRtf(QByteArrayView rtf, RtfSink* sink, bool withStyles);

}  // namespace reports
