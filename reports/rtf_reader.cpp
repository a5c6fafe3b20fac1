// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/rtf_reader.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <optional>
#include <set>
#include <string_view>
#include <tuple>
#include <unordered_map>
#include <utility>
#include <vector>

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

#include "reports/code_pages.h"
#include "reports/plain_text.h"
#include "reports/text_safety.h"

namespace reports {
namespace {

// Groups nested deeper than this are counted but share the state of the deepest tracked group,
// so that a file of nothing but '{' cannot make the state stack grow without limit.
constexpr std::size_t kMaxTrackedDepth = 512;
// Longer letter sequences are no control word any program writes; they are read and ignored.
constexpr std::size_t kMaxControlWordLength = 32;
// Numeric parameters saturate here, which is beyond any meaningful value but far from overflow.
constexpr std::int64_t kParameterLimit = std::int64_t{1} << 40;
constexpr int kMaxFontNameLength = 256;
constexpr int kDefaultHalfPoints = 24;  // RTF's default size, 12 points
constexpr int kMaxHalfPoints = 3276;    // 1638 points, the largest size word processors offer
// QTextDocument looks a format up among those of equal hash by comparing them one by one, and
// formats that differ only in font family or colour hash alike. Beyond this many combinations
// of font and colours, text keeps its other formatting but shows in the default font and
// colour, so that reading stays linear whatever the input.
constexpr std::size_t kMaxStyles = 256;

enum class Destination { kText, kSkip, kFontTable, kColorTable };

enum class Word {
  kUnknown,
  kSkipDestination,
  kFontTable,
  kColorTable,
  kCodePage,
  kDefaultFont,
  kFont,
  kFontCharset,
  kFontCodePage,
  kRed,
  kGreen,
  kBlue,
  kPlain,
  kBold,
  kItalic,
  kUnderline,
  kUnderlineNone,
  kStrike,
  kFontSize,
  kForeground,
  kBackground,
  kParagraphDefaults,
  kParagraph,
  kAlignLeft,
  kAlignCenter,
  kAlignRight,
  kAlignJustify,
  kCharacter,  // a word that stands for one character, given in Entry::character
  kUnicode,
  kUnicodeSkip,
  kBinary,
};

struct Entry {
  Word word = Word::kUnknown;
  char32_t character = 0;
};

// clang-format off
constexpr std::string_view kUnderlineWords[] = {
    "ul", "uld", "uldb", "ulw", "uldash", "uldashd", "uldashdd", "ulwave", "ulhwave", "ululdbwave",
    "ulth", "ulthd", "ulthdash", "ulthdashd", "ulthdashdd", "ulldash", "ulthldash"};

// Destinations whose content is never shown: document properties, pictures, headers and
// footers, styles and lists, field instructions (the field's result is shown instead).
constexpr std::string_view kSkippedDestinations[] = {
    "stylesheet", "info", "pict", "object", "header", "headerl", "headerr", "headerf", "footer",
    "footerl", "footerr", "footerf", "footnote", "annotation", "atnid", "atnauthor", "fldinst",
    "listtable", "listoverridetable", "revtbl", "rsidtbl", "generator", "filetbl", "themedata",
    "colorschememapping", "datastore", "latentstyles", "xmlnstbl", "bkmkstart", "bkmkend",
    "nonshppict", "pn", "private", "template", "docvar", "userprops", "shpinst", "xe", "tc", "txe",
    "mmathPr", "ftnsep", "ftnsepc", "aftnsep", "aftnsepc", "falt", "panose", "fontemb", "fontfile",
    "pgdsctbl", "wgrffmtfilter"};
// clang-format on

const std::unordered_map<std::string_view, Entry>& ControlWords() {
  static const std::unordered_map<std::string_view, Entry> table = [] {
    std::unordered_map<std::string_view, Entry> words = {
        {"fonttbl", {Word::kFontTable}},
        {"colortbl", {Word::kColorTable}},
        {"ansicpg", {Word::kCodePage}},
        {"deff", {Word::kDefaultFont}},
        {"f", {Word::kFont}},
        {"fcharset", {Word::kFontCharset}},
        {"cpg", {Word::kFontCodePage}},
        {"red", {Word::kRed}},
        {"green", {Word::kGreen}},
        {"blue", {Word::kBlue}},
        {"plain", {Word::kPlain}},
        {"b", {Word::kBold}},
        {"i", {Word::kItalic}},
        {"ulnone", {Word::kUnderlineNone}},
        {"strike", {Word::kStrike}},
        {"striked", {Word::kStrike}},
        {"fs", {Word::kFontSize}},
        {"cf", {Word::kForeground}},
        {"cb", {Word::kBackground}},
        {"highlight", {Word::kBackground}},
        {"chcbpat", {Word::kBackground}},
        {"pard", {Word::kParagraphDefaults}},
        {"par", {Word::kParagraph}},
        {"sect", {Word::kParagraph}},
        {"row", {Word::kParagraph}},
        {"nestrow", {Word::kParagraph}},
        {"ql", {Word::kAlignLeft}},
        {"qc", {Word::kAlignCenter}},
        {"qr", {Word::kAlignRight}},
        {"qj", {Word::kAlignJustify}},
        {"line", {Word::kCharacter, 0x2028}},
        {"tab", {Word::kCharacter, U'\t'}},
        {"cell", {Word::kCharacter, U'\t'}},
        {"nestcell", {Word::kCharacter, U'\t'}},
        {"emdash", {Word::kCharacter, 0x2014}},
        {"endash", {Word::kCharacter, 0x2013}},
        {"emspace", {Word::kCharacter, 0x2003}},
        {"enspace", {Word::kCharacter, 0x2002}},
        {"qmspace", {Word::kCharacter, 0x2005}},
        {"bullet", {Word::kCharacter, 0x2022}},
        {"lquote", {Word::kCharacter, 0x2018}},
        {"rquote", {Word::kCharacter, 0x2019}},
        {"ldblquote", {Word::kCharacter, 0x201C}},
        {"rdblquote", {Word::kCharacter, 0x201D}},
        {"u", {Word::kUnicode}},
        {"uc", {Word::kUnicodeSkip}},
        {"bin", {Word::kBinary}},
    };
    for (std::string_view underline : kUnderlineWords) {
      words.emplace(underline, Entry{Word::kUnderline});
    }
    for (std::string_view skipped : kSkippedDestinations) {
      words.emplace(skipped, Entry{Word::kSkipDestination});
    }
    return words;
  }();
  return table;
}

struct CharState {
  int font = -1;  // -1 until a \f: the \deff font
  int halfPoints = kDefaultHalfPoints;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strike = false;
  int foreground = -1;  // colour table index; -1 means no colour of its own
  int background = -1;
  bool operator==(const CharState&) const = default;
};

struct GroupState {
  CharState chars;
  Qt::Alignment alignment = Qt::AlignLeft;
  int unicodeSkip = 1;  // \ucN: fallback characters that follow each \uN
  Destination destination = Destination::kText;
};

struct Font {
  QString name;
  int codePage = 0;  // 0: the document's code page
  bool complete = false;
};

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

int Clamp(std::int64_t value, int low, int high) {
  return static_cast<int>(std::clamp<std::int64_t>(value, low, high));
}

bool IsHighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

QTextBlockFormat BlockFormat(Qt::Alignment alignment) {
  QTextBlockFormat format;
  format.setAlignment(alignment);
  return format;
}

class RtfReader {
 public:
  RtfReader(QByteArrayView in, QTextDocument* document) : m_in(in), m_cursor(document) {}
  // Reads the text only, into the plain-text form (see PlainTextOfRtf).
  RtfReader(QByteArrayView in, QByteArray* plainText) : m_in(in), m_plain(plainText) {}

  void Run();

 private:
  GroupState& State() { return m_groups.back(); }
  char Peek() const { return m_in[m_pos]; }
  bool AtEnd() const { return m_pos >= m_in.size(); }

  void OpenGroup();
  void CloseGroup();
  void ReadControl();
  void ReadControlWord();
  void ReadHexByte();
  void HandleControlWord(std::string_view name, bool hasParameter, std::int64_t parameter);
  void HandleTextWord(Word word, char32_t character, bool hasParameter, std::int64_t parameter);
  void HandleUnicode(std::int64_t parameter);
  void SkipBinary(std::int64_t length);
  bool SkipFallback();

  void EmitByte(std::uint8_t byte);
  void Emit(char32_t c);
  void AppendToDocument(char32_t c);
  void EndParagraph();
  void OpenParagraph();
  void Flush();
  void CloseParagraph();

  int CodePage();
  const Font* FindFont(int number) const;
  std::optional<QColor> ColorAt(int index) const;
  QTextCharFormat Format(const CharState& chars);
  void ForgetFormat() { m_formatCached = false; }

  QByteArrayView m_in;
  qsizetype m_pos = 0;
  std::vector<GroupState> m_groups;
  std::int64_t m_untrackedDepth = 0;    // groups opened beyond kMaxTrackedDepth
  bool m_finished = false;              // the outermost group has closed
  bool m_ignorableDestination = false;  // a \* waits for its control word
  std::int64_t m_fallbackToSkip = 0;
  char32_t m_highSurrogate = 0;

  int m_codePage = kDefaultCodePage;
  int m_defaultFont = 0;
  std::map<int, Font> m_fonts;
  int m_fontBeingDefined = -1;
  std::vector<std::optional<QColor>> m_colors;
  int m_red = 0;
  int m_green = 0;
  int m_blue = 0;
  bool m_colorHasComponents = false;

  QTextCursor m_cursor;
  bool m_firstBlockUsed = false;
  bool m_paragraphOpen = false;
  Qt::Alignment m_blockAlignment;                // the alignment the open paragraph's block has
  std::set<std::tuple<int, int, int>> m_styles;  // font, text colour, background in use
  bool m_formatCached = false;
  CharState m_cachedChars;
  QTextCharFormat m_cachedFormat;
  QString m_run;  // text not yet inserted, all in m_runChars
  CharState m_runChars;

  // Text-only reading: the paragraphs go to m_plain as lines, formats are not made.
  QByteArray* m_plain = nullptr;
  QString m_line;          // the open paragraph's text
  int m_lines = 0;         // paragraphs written
  bool m_hasText = false;  // some paragraph held a character
};

void RtfReader::Run() {
  if (m_in.isEmpty()) return;
  // Whatever precedes the document's opening brace is not part of it.
  const char* first = static_cast<const char*>(std::memchr(m_in.data(), '{', m_in.size()));
  if (first == nullptr) return;
  m_pos = first - m_in.data() + 1;
  m_groups.emplace_back();

  if (m_plain == nullptr) m_cursor.beginEditBlock();
  while (!AtEnd() && !m_finished) {
    const char c = Peek();
    switch (c) {
      case '{':
        ++m_pos;
        OpenGroup();
        break;
      case '}':
        ++m_pos;
        CloseGroup();
        break;
      case '\\':
        ReadControl();
        break;
      case '\r':
      case '\n':
        ++m_pos;
        break;
      default:
        ++m_pos;
        if (!SkipFallback()) EmitByte(static_cast<std::uint8_t>(c));
        break;
    }
  }
  Flush();
  if (m_paragraphOpen) CloseParagraph();
  if (m_plain != nullptr) {
    // A document of one empty paragraph is an empty document: it has no lines at all.
    if (m_lines == 1 && !m_hasText) m_plain->clear();
    return;
  }
  m_cursor.endEditBlock();
}

void RtfReader::OpenGroup() {
  // A group ends the fallback text of a \uN early, as it does a pending \*.
  m_fallbackToSkip = 0;
  m_ignorableDestination = false;
  if (m_groups.size() >= kMaxTrackedDepth) {
    ++m_untrackedDepth;
  } else {
    m_groups.push_back(m_groups.back());
  }
}

void RtfReader::CloseGroup() {
  m_fallbackToSkip = 0;
  m_ignorableDestination = false;
  if (State().destination == Destination::kFontTable && m_fontBeingDefined >= 0) {
    m_fonts[m_fontBeingDefined].complete = true;  // a font entry ended without its ';'
  }
  if (m_untrackedDepth > 0) {
    --m_untrackedDepth;
  } else if (m_groups.size() > 1) {
    m_groups.pop_back();
  } else {
    m_finished = true;
  }
}

void RtfReader::ReadControl() {
  ++m_pos;  // the backslash
  if (AtEnd()) return;
  const char c = Peek();
  if (IsLetter(c)) {
    ReadControlWord();
    return;
  }
  ++m_pos;
  if (c == '\'') {
    ReadHexByte();
    return;
  }
  if (SkipFallback()) return;
  switch (c) {
    case '*':
      m_ignorableDestination = true;
      break;
    case '\\':
    case '{':
    case '}':
      Emit(static_cast<char32_t>(c));
      break;
    case '~':
      Emit(0x00A0);
      break;
    case '-':
      Emit(0x00AD);
      break;
    case '_':
      Emit(0x2011);
      break;
    case '\r':
    case '\n':
      // A backslash before a line break stands for \par.
      if (State().destination == Destination::kText) EndParagraph();
      break;
    default:
      break;  // \| \: and the like mean nothing for display
  }
}

void RtfReader::ReadControlWord() {
  const qsizetype start = m_pos;
  while (!AtEnd() && IsLetter(Peek())) ++m_pos;
  std::string_view name(m_in.data() + start, static_cast<std::size_t>(m_pos - start));
  bool negative = false;
  if (!AtEnd() && Peek() == '-' && m_pos + 1 < m_in.size() && IsDigit(m_in[m_pos + 1])) {
    negative = true;
    ++m_pos;
  }
  bool hasParameter = false;
  std::int64_t parameter = 0;
  while (!AtEnd() && IsDigit(Peek())) {
    hasParameter = true;
    parameter = std::min(parameter * 10 + (Peek() - '0'), kParameterLimit);
    ++m_pos;
  }
  if (negative) parameter = -parameter;
  if (!AtEnd() && Peek() == ' ') ++m_pos;  // the delimiter belongs to the word
  if (name.size() > kMaxControlWordLength) name = {};
  HandleControlWord(name, hasParameter, parameter);
}

void RtfReader::ReadHexByte() {
  int value = 0;
  int digits = 0;
  while (digits < 2 && !AtEnd() && HexValue(Peek()) >= 0) {
    value = value * 16 + HexValue(Peek());
    ++m_pos;
    ++digits;
  }
  if (SkipFallback() || digits == 0) return;
  EmitByte(static_cast<std::uint8_t>(value));
}

// True when the current unit (character, escape or control word) is fallback text of the
// last \uN and must be dropped.
bool RtfReader::SkipFallback() {
  if (m_fallbackToSkip == 0) return false;
  --m_fallbackToSkip;
  return true;
}

void RtfReader::HandleControlWord(std::string_view name, bool hasParameter,
                                  std::int64_t parameter) {
  const auto& words = ControlWords();
  const auto found = words.find(name);
  const Entry entry = found == words.end() ? Entry{} : found->second;
  // \binN data is never text, whatever the state: step over it first.
  if (entry.word == Word::kBinary) SkipBinary(hasParameter ? parameter : 0);
  if (SkipFallback()) return;
  const bool ignorable = std::exchange(m_ignorableDestination, false);
  GroupState& state = State();
  if (state.destination == Destination::kSkip) return;
  if (ignorable && entry.word != Word::kFontTable && entry.word != Word::kColorTable) {
    state.destination = Destination::kSkip;
    return;
  }
  switch (entry.word) {
    case Word::kSkipDestination:
      state.destination = Destination::kSkip;
      return;
    case Word::kFontTable:
      state.destination = Destination::kFontTable;
      m_fontBeingDefined = -1;
      return;
    case Word::kColorTable:
      state.destination = Destination::kColorTable;
      return;
    case Word::kCodePage:
      m_codePage = Clamp(parameter, 0, 65535);
      return;
    case Word::kDefaultFont:
      m_defaultFont = Clamp(parameter, 0, INT32_MAX);
      ForgetFormat();
      return;
    case Word::kUnicode:
      HandleUnicode(parameter);
      return;
    case Word::kUnicodeSkip:
      state.unicodeSkip = Clamp(parameter, 0, 65535);
      return;
    default:
      break;
  }
  if (state.destination == Destination::kFontTable) {
    ForgetFormat();
    if (entry.word == Word::kFont) {
      m_fontBeingDefined = Clamp(parameter, 0, INT32_MAX);
      m_fonts[m_fontBeingDefined] = Font{};
    } else if (m_fontBeingDefined >= 0 && entry.word == Word::kFontCharset) {
      m_fonts[m_fontBeingDefined].codePage = CodePageForCharset(Clamp(parameter, 0, 255));
    } else if (m_fontBeingDefined >= 0 && entry.word == Word::kFontCodePage) {
      m_fonts[m_fontBeingDefined].codePage = Clamp(parameter, 0, 65535);
    }
  } else if (state.destination == Destination::kColorTable) {
    int* component = entry.word == Word::kRed     ? &m_red
                     : entry.word == Word::kGreen ? &m_green
                     : entry.word == Word::kBlue  ? &m_blue
                                                  : nullptr;
    if (component != nullptr) {
      *component = Clamp(parameter, 0, 255);
      m_colorHasComponents = true;
    }
  } else {
    HandleTextWord(entry.word, entry.character, hasParameter, parameter);
  }
}

void RtfReader::HandleTextWord(Word word, char32_t character, bool hasParameter,
                               std::int64_t parameter) {
  GroupState& state = State();
  CharState& chars = state.chars;
  // Toggles are on without a parameter and off with \b0, \i0 and so on.
  const bool on = !hasParameter || parameter != 0;
  switch (word) {
    case Word::kFont:
      chars.font = Clamp(parameter, 0, INT32_MAX);
      break;
    case Word::kPlain:
      chars = CharState{};
      break;
    case Word::kBold:
      chars.bold = on;
      break;
    case Word::kItalic:
      chars.italic = on;
      break;
    case Word::kUnderline:
      chars.underline = on;
      break;
    case Word::kUnderlineNone:
      chars.underline = false;
      break;
    case Word::kStrike:
      chars.strike = on;
      break;
    case Word::kFontSize:
      chars.halfPoints = parameter > 0 ? Clamp(parameter, 1, kMaxHalfPoints) : kDefaultHalfPoints;
      break;
    case Word::kForeground:
      chars.foreground = Clamp(parameter, -1, INT32_MAX);
      break;
    case Word::kBackground:
      chars.background = Clamp(parameter, -1, INT32_MAX);
      break;
    case Word::kParagraphDefaults:
      state.alignment = Qt::AlignLeft;
      break;
    case Word::kParagraph:
      EndParagraph();
      break;
    case Word::kAlignLeft:
      state.alignment = Qt::AlignLeft;
      break;
    case Word::kAlignCenter:
      state.alignment = Qt::AlignHCenter;
      break;
    case Word::kAlignRight:
      state.alignment = Qt::AlignRight;
      break;
    case Word::kAlignJustify:
      state.alignment = Qt::AlignJustify;
      break;
    case Word::kCharacter:
      Emit(character);
      break;
    default:
      break;  // unknown words are ignored, as RTF asks of every reader
  }
}

void RtfReader::HandleUnicode(std::int64_t parameter) {
  // RTF writes \uN as a signed 16-bit number, so U+8000 and above arrive negative.
  if (parameter < 0) parameter += 0x10000;
  char32_t c = parameter < 0 || parameter > 0x10FFFF ? 0xFFFD : static_cast<char32_t>(parameter);
  m_fallbackToSkip = State().unicodeSkip;
  if (IsLowSurrogate(c) && m_highSurrogate != 0) {
    c = 0x10000 + ((m_highSurrogate - 0xD800) << 10) + (c - 0xDC00);
    m_highSurrogate = 0;
  } else if (IsHighSurrogate(c)) {
    Emit(0);  // flushes an unpaired high surrogate that came before
    m_highSurrogate = c;
    return;
  }
  Emit(c);
}

void RtfReader::SkipBinary(std::int64_t length) {
  if (length > 0) m_pos += std::min<std::int64_t>(length, m_in.size() - m_pos);
}

void RtfReader::EmitByte(std::uint8_t byte) { Emit(DecodeCodePageByte(CodePage(), byte)); }

// Routes one character to the current destination. 0 only resolves a pending surrogate.
void RtfReader::Emit(char32_t c) {
  m_ignorableDestination = false;  // \* applies only to a control word right after it
  if (m_highSurrogate != 0) {
    m_highSurrogate = 0;
    Emit(0xFFFD);
  }
  if (c == 0) return;
  switch (State().destination) {
    case Destination::kText:
      AppendToDocument(c);
      break;
    case Destination::kFontTable:
      ForgetFormat();
      if (m_fontBeingDefined < 0) break;
      if (Font& font = m_fonts[m_fontBeingDefined]; c == U';') {
        font.complete = true;
      } else if (!font.complete && font.name.size() < kMaxFontNameLength &&
                 DocumentSafeChar(c) != 0) {
        AppendCodePoint(DocumentSafeChar(c), &font.name);
      }
      break;
    case Destination::kColorTable:
      if (c == U';') {
        ForgetFormat();
        m_colors.push_back(m_colorHasComponents ? std::optional(QColor(m_red, m_green, m_blue))
                                                : std::nullopt);
        m_red = m_green = m_blue = 0;
        m_colorHasComponents = false;
      }
      break;
    case Destination::kSkip:
      break;
  }
}

void RtfReader::AppendToDocument(char32_t c) {
  c = DocumentSafeChar(c);
  if (c == 0) return;
  OpenParagraph();
  if (m_plain != nullptr) {
    AppendCodePoint(c, &m_line);
    m_hasText = true;
    return;
  }
  const CharState& chars = State().chars;
  if (!m_run.isEmpty() && !(chars == m_runChars)) Flush();
  if (m_run.isEmpty()) m_runChars = chars;
  AppendCodePoint(c, &m_run);
}

// A paragraph becomes a block only once it has content or its \par, so that the text after
// the document's last \par adds no empty block. The block's mark takes the formatting of that
// moment, which gives an empty paragraph its height.
void RtfReader::OpenParagraph() {
  if (m_paragraphOpen) return;
  m_paragraphOpen = true;
  if (m_plain != nullptr) return;
  m_blockAlignment = State().alignment;
  if (m_firstBlockUsed) {
    Flush();
    m_cursor.insertBlock(BlockFormat(m_blockAlignment), Format(State().chars));
    return;
  }
  m_firstBlockUsed = true;  // the block every document starts with
  m_cursor.setBlockFormat(BlockFormat(m_blockAlignment));
  m_cursor.setBlockCharFormat(Format(State().chars));
}

void RtfReader::EndParagraph() {
  Emit(0);
  OpenParagraph();
  CloseParagraph();
  m_paragraphOpen = false;
}

// A paragraph is aligned as the state at its end says, which may differ from its start.
void RtfReader::CloseParagraph() {
  if (m_plain != nullptr) {
    AppendPlainTextLine(m_line, m_plain);
    m_line.clear();
    ++m_lines;
    return;
  }
  Flush();
  if (State().alignment != m_blockAlignment) {
    m_cursor.setBlockFormat(BlockFormat(State().alignment));
  }
}

void RtfReader::Flush() {
  if (m_run.isEmpty()) return;
  m_cursor.insertText(m_run, Format(m_runChars));
  m_run.clear();
}

int RtfReader::CodePage() {
  int font = State().chars.font < 0 ? m_defaultFont : State().chars.font;
  if (State().destination == Destination::kFontTable) font = m_fontBeingDefined;
  const Font* entry = FindFont(font);
  return entry != nullptr && entry->codePage != 0 ? entry->codePage : m_codePage;
}

const Font* RtfReader::FindFont(int number) const {
  const auto found = m_fonts.find(number);
  return found == m_fonts.end() ? nullptr : &found->second;
}

std::optional<QColor> RtfReader::ColorAt(int index) const {
  if (index < 0 || static_cast<std::size_t>(index) >= m_colors.size()) return std::nullopt;
  return m_colors[static_cast<std::size_t>(index)];
}

QTextCharFormat RtfReader::Format(const CharState& chars) {
  if (m_formatCached && chars == m_cachedChars) return m_cachedFormat;
  int fontNumber = chars.font < 0 ? m_defaultFont : chars.font;
  int foreground = chars.foreground;
  int background = chars.background;
  const auto style = std::tuple(fontNumber, foreground, background);
  if (!m_styles.contains(style)) {
    if (m_styles.size() < kMaxStyles) {
      m_styles.insert(style);
    } else {
      fontNumber = foreground = background = -1;
    }
  }
  QTextCharFormat format;
  const Font* font = FindFont(fontNumber);
  if (font != nullptr && !font->name.trimmed().isEmpty()) {
    format.setFontFamilies(QStringList{font->name.trimmed()});
  }
  format.setFontPointSize(chars.halfPoints / 2.0);
  if (chars.bold) format.setFontWeight(QFont::Bold);
  if (chars.italic) format.setFontItalic(true);
  if (chars.underline) format.setFontUnderline(true);
  if (chars.strike) format.setFontStrikeOut(true);
  if (const auto color = ColorAt(foreground)) format.setForeground(*color);
  if (const auto color = ColorAt(background)) format.setBackground(*color);
  m_formatCached = true;
  m_cachedChars = chars;
  m_cachedFormat = format;
  return format;
}

}  // namespace

QByteArray PlainTextOfRtf(QByteArrayView rtf) {
  QByteArray text;
  RtfReader(rtf, &text).Run();
  return text;
}

void ReadRtf(QByteArrayView rtf, QTextDocument* document) {
  const bool undoEnabled = document->isUndoRedoEnabled();
  document->clear();
  document->setUndoRedoEnabled(false);
  RtfReader(rtf, document).Run();
  document->setUndoRedoEnabled(undoEnabled);
}

}  // namespace reports
