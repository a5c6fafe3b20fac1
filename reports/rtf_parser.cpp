// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/rtf_parser.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <set>
#include <string_view>
#include <tuple>
#include <unordered_map>
#include <utility>
#include <vector>

#include "reports/code_pages.h"
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
// A streamed document is read in blocks of this size.
constexpr qsizetype kInputBlockSize = 64 * 1024;
// The open paragraph's text goes to the sink in pieces of about this many characters, so a
// paragraph of any length costs bounded memory.
constexpr qsizetype kMaxRunLength = 16 * 1024;

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
  RtfAlignment alignment = RtfAlignment::kLeft;
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

// Text bytes that stand for themselves in every code page and that a document holds as they
// are: printable ASCII but the three bytes RTF gives a meaning.
bool IsPlainTextByte(char c) { return c >= 0x20 && c < 0x7F && c != '{' && c != '}' && c != '\\'; }

// The input, a block at a time, with the little look-ahead the grammar needs.
class ByteSource {
 public:
  explicit ByteSource(const RtfInput& input) : m_input(&input), m_buffer(kInputBlockSize) {
    m_data = m_buffer.data();
  }
  explicit ByteSource(QByteArrayView whole)
      : m_data(whole.data()), m_end(whole.size()), m_exhausted(true) {}

  // True when `n` bytes (at most 2) can be read from the current position.
  bool Has(qsizetype n) { return m_end - m_pos >= n || Fill(n); }
  // REQUIRES: Has(k + 1).
  char At(qsizetype k) const { return m_data[m_pos + k]; }
  // REQUIRES: Has(n).
  void Skip(qsizetype n) { m_pos += n; }
  // The bytes read but not yet used, at least one unless the input is at its end.
  QByteArrayView Available() {
    if (!Has(1)) return {};
    return QByteArrayView(m_data + m_pos, m_end - m_pos);
  }
  // Skips `n` bytes, or all that remain.
  void SkipUpTo(std::int64_t n) {
    while (n > 0 && Has(1)) {
      const qsizetype step = static_cast<qsizetype>(std::min<std::int64_t>(n, m_end - m_pos));
      m_pos += step;
      n -= step;
    }
  }

 private:
  bool Fill(qsizetype n) {
    if (m_exhausted) return false;
    // What is left moves to the front; the rest of the buffer takes the next bytes.
    const qsizetype left = m_end - m_pos;
    std::memmove(m_buffer.data(), m_data + m_pos, static_cast<std::size_t>(left));
    m_pos = 0;
    m_end = left;
    while (m_end < n) {
      const qsizetype got = (*m_input)(m_buffer.data() + m_end, kInputBlockSize - m_end);
      if (got <= 0) {
        m_exhausted = true;
        break;
      }
      m_end += got;
    }
    return m_end >= n;
  }

  const RtfInput* m_input = nullptr;
  std::vector<char> m_buffer;
  const char* m_data = nullptr;
  qsizetype m_pos = 0;
  qsizetype m_end = 0;
  bool m_exhausted = false;
};

class RtfParser {
 public:
  RtfParser(ByteSource* in, RtfSink* sink, bool withStyles)
      : m_in(*in), m_sink(*sink), m_withStyles(withStyles) {}

  void Run();

 private:
  GroupState& State() { return m_groups.back(); }

  bool FindDocumentStart();
  void OpenGroup();
  void CloseGroup();
  void ReadControl();
  void ReadControlWord();
  void ReadHexByte();
  void ReadPlainText(QByteArrayView available);
  void HandleControlWord(std::string_view name, bool hasParameter, std::int64_t parameter);
  void HandleTextWord(Word word, char32_t character, bool hasParameter, std::int64_t parameter);
  void HandleUnicode(std::int64_t parameter);
  bool SkipFallback();

  void EmitByte(std::uint8_t byte);
  void Emit(char32_t c);
  void AppendToParagraph(char32_t c);
  void EndParagraph();
  void OpenParagraph();
  void Flush();
  void CloseParagraph();

  int CodePage();
  const Font* FindFont(int number) const;
  std::optional<std::uint32_t> ColorAt(int index) const;
  const RtfStyle& Style(const CharState& chars);
  void ForgetStyle() { m_styleCached = false; }

  ByteSource& m_in;
  RtfSink& m_sink;
  const bool m_withStyles;

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
  std::vector<std::optional<std::uint32_t>> m_colors;
  int m_red = 0;
  int m_green = 0;
  int m_blue = 0;
  bool m_colorHasComponents = false;

  bool m_paragraphOpen = false;
  std::set<std::tuple<int, int, int>> m_styles;  // font, text colour, background in use
  bool m_styleCached = false;
  CharState m_cachedChars;
  RtfStyle m_cachedStyle;
  const RtfStyle m_plainStyle;
  QString m_run;  // text of the open paragraph not yet handed on, all in m_runChars
  CharState m_runChars;
};

void RtfParser::Run() {
  if (!FindDocumentStart()) return;
  m_groups.emplace_back();
  while (!m_finished && m_in.Has(1)) {
    const char c = m_in.At(0);
    switch (c) {
      case '{':
        m_in.Skip(1);
        OpenGroup();
        break;
      case '}':
        m_in.Skip(1);
        CloseGroup();
        break;
      case '\\':
        ReadControl();
        break;
      case '\r':
      case '\n':
        m_in.Skip(1);
        break;
      default:
        if (IsPlainTextByte(c) && m_fallbackToSkip == 0 && m_highSurrogate == 0 &&
            State().destination == Destination::kText) {
          ReadPlainText(m_in.Available());
          break;
        }
        m_in.Skip(1);
        if (!SkipFallback()) EmitByte(static_cast<std::uint8_t>(c));
        break;
    }
  }
  Flush();
  if (m_paragraphOpen) CloseParagraph();
}

// Whatever precedes the document's opening brace is not part of it.
bool RtfParser::FindDocumentStart() {
  for (QByteArrayView available = m_in.Available(); !available.isEmpty();
       available = m_in.Available()) {
    const char* brace = static_cast<const char*>(
        std::memchr(available.data(), '{', static_cast<std::size_t>(available.size())));
    if (brace != nullptr) {
      m_in.Skip(brace - available.data() + 1);
      return true;
    }
    m_in.Skip(available.size());
  }
  return false;
}

// A run of bytes that stand for themselves, taken at once: nearly all of a report's text.
void RtfParser::ReadPlainText(QByteArrayView available) {
  qsizetype length = 1;
  while (length < available.size() && IsPlainTextByte(available[length])) ++length;
  m_ignorableDestination = false;  // as for any character (Emit)
  OpenParagraph();
  if (m_withStyles && !m_run.isEmpty() && !(State().chars == m_runChars)) Flush();
  if (m_run.isEmpty()) m_runChars = State().chars;
  m_run.append(QLatin1StringView(available.first(length)));
  if (m_run.size() >= kMaxRunLength) Flush();
  m_in.Skip(length);
}

void RtfParser::OpenGroup() {
  // A group ends the fallback text of a \uN early, as it does a pending \*.
  m_fallbackToSkip = 0;
  m_ignorableDestination = false;
  if (m_groups.size() >= kMaxTrackedDepth) {
    ++m_untrackedDepth;
  } else {
    m_groups.push_back(m_groups.back());
  }
}

void RtfParser::CloseGroup() {
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

void RtfParser::ReadControl() {
  m_in.Skip(1);  // the backslash
  if (!m_in.Has(1)) return;
  const char c = m_in.At(0);
  if (IsLetter(c)) {
    ReadControlWord();
    return;
  }
  m_in.Skip(1);
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

void RtfParser::ReadControlWord() {
  char name[kMaxControlWordLength];
  std::size_t length = 0;
  while (m_in.Has(1) && IsLetter(m_in.At(0))) {
    if (length < kMaxControlWordLength) name[length] = m_in.At(0);
    ++length;
    m_in.Skip(1);
  }
  bool negative = false;
  if (m_in.Has(2) && m_in.At(0) == '-' && IsDigit(m_in.At(1))) {
    negative = true;
    m_in.Skip(1);
  }
  bool hasParameter = false;
  std::int64_t parameter = 0;
  while (m_in.Has(1) && IsDigit(m_in.At(0))) {
    hasParameter = true;
    parameter = std::min(parameter * 10 + (m_in.At(0) - '0'), kParameterLimit);
    m_in.Skip(1);
  }
  if (negative) parameter = -parameter;
  if (m_in.Has(1) && m_in.At(0) == ' ') m_in.Skip(1);  // the delimiter belongs to the word
  const std::string_view word =
      length > kMaxControlWordLength ? std::string_view() : std::string_view(name, length);
  HandleControlWord(word, hasParameter, parameter);
}

void RtfParser::ReadHexByte() {
  int value = 0;
  int digits = 0;
  while (digits < 2 && m_in.Has(1) && HexValue(m_in.At(0)) >= 0) {
    value = value * 16 + HexValue(m_in.At(0));
    m_in.Skip(1);
    ++digits;
  }
  if (SkipFallback() || digits == 0) return;
  EmitByte(static_cast<std::uint8_t>(value));
}

// True when the current unit (character, escape or control word) is fallback text of the
// last \uN and must be dropped.
bool RtfParser::SkipFallback() {
  if (m_fallbackToSkip == 0) return false;
  --m_fallbackToSkip;
  return true;
}

void RtfParser::HandleControlWord(std::string_view name, bool hasParameter,
                                  std::int64_t parameter) {
  const auto& words = ControlWords();
  const auto found = words.find(name);
  const Entry entry = found == words.end() ? Entry{} : found->second;
  // \binN data is never text, whatever the state: step over it first.
  if (entry.word == Word::kBinary && hasParameter && parameter > 0) m_in.SkipUpTo(parameter);
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
      ForgetStyle();
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
    ForgetStyle();
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

void RtfParser::HandleTextWord(Word word, char32_t character, bool hasParameter,
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
    case Word::kAlignLeft:
      state.alignment = RtfAlignment::kLeft;
      break;
    case Word::kParagraph:
      EndParagraph();
      break;
    case Word::kAlignCenter:
      state.alignment = RtfAlignment::kCenter;
      break;
    case Word::kAlignRight:
      state.alignment = RtfAlignment::kRight;
      break;
    case Word::kAlignJustify:
      state.alignment = RtfAlignment::kJustify;
      break;
    case Word::kCharacter:
      Emit(character);
      break;
    default:
      break;  // unknown words are ignored, as RTF asks of every reader
  }
}

void RtfParser::HandleUnicode(std::int64_t parameter) {
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

void RtfParser::EmitByte(std::uint8_t byte) { Emit(DecodeCodePageByte(CodePage(), byte)); }

// Routes one character to the current destination. 0 only resolves a pending surrogate.
void RtfParser::Emit(char32_t c) {
  m_ignorableDestination = false;  // \* applies only to a control word right after it
  if (m_highSurrogate != 0) {
    m_highSurrogate = 0;
    Emit(0xFFFD);
  }
  if (c == 0) return;
  switch (State().destination) {
    case Destination::kText:
      AppendToParagraph(c);
      break;
    case Destination::kFontTable:
      ForgetStyle();
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
        ForgetStyle();
        m_colors.push_back(m_colorHasComponents ? std::optional(static_cast<std::uint32_t>(
                                                      (m_red << 16) | (m_green << 8) | m_blue))
                                                : std::nullopt);
        m_red = m_green = m_blue = 0;
        m_colorHasComponents = false;
      }
      break;
    case Destination::kSkip:
      break;
  }
}

void RtfParser::AppendToParagraph(char32_t c) {
  c = DocumentSafeChar(c);
  if (c == 0) return;
  OpenParagraph();
  if (m_withStyles && !m_run.isEmpty() && !(State().chars == m_runChars)) Flush();
  if (m_run.isEmpty()) m_runChars = State().chars;
  AppendCodePoint(c, &m_run);
  if (m_run.size() >= kMaxRunLength) Flush();
}

// A paragraph begins only once it has content or its \par, so that the text after the
// document's last \par adds no empty paragraph. Its mark takes the formatting of that moment.
void RtfParser::OpenParagraph() {
  if (m_paragraphOpen) return;
  m_paragraphOpen = true;
  Flush();
  m_sink.openParagraph(m_withStyles ? Style(State().chars) : m_plainStyle);
}

void RtfParser::EndParagraph() {
  Emit(0);
  OpenParagraph();
  CloseParagraph();
  m_paragraphOpen = false;
}

// A paragraph is aligned as the state at its end says, which may differ from its start.
void RtfParser::CloseParagraph() {
  Flush();
  m_sink.closeParagraph(State().alignment);
}

void RtfParser::Flush() {
  if (m_run.isEmpty()) return;
  // Characters beyond U+FFFF are appended as whole pairs, so a piece never splits one.
  m_sink.appendText(m_run, m_withStyles ? Style(m_runChars) : m_plainStyle);
  m_run.clear();
}

int RtfParser::CodePage() {
  int font = State().chars.font < 0 ? m_defaultFont : State().chars.font;
  if (State().destination == Destination::kFontTable) font = m_fontBeingDefined;
  const Font* entry = FindFont(font);
  return entry != nullptr && entry->codePage != 0 ? entry->codePage : m_codePage;
}

const Font* RtfParser::FindFont(int number) const {
  const auto found = m_fonts.find(number);
  return found == m_fonts.end() ? nullptr : &found->second;
}

std::optional<std::uint32_t> RtfParser::ColorAt(int index) const {
  if (index < 0 || static_cast<std::size_t>(index) >= m_colors.size()) return std::nullopt;
  return m_colors[static_cast<std::size_t>(index)];
}

const RtfStyle& RtfParser::Style(const CharState& chars) {
  if (m_styleCached && chars == m_cachedChars) return m_cachedStyle;
  int fontNumber = chars.font < 0 ? m_defaultFont : chars.font;
  int foreground = chars.foreground;
  int background = chars.background;
  const auto style = std::tuple(fontNumber, foreground, background);
  if (!m_styles.contains(style)) {
    if (m_styles.size() < static_cast<std::size_t>(kMaxRtfStyles)) {
      m_styles.insert(style);
    } else {
      fontNumber = foreground = background = -1;
    }
  }
  RtfStyle resolved;
  const Font* font = FindFont(fontNumber);
  if (font != nullptr) resolved.fontFamily = font->name.trimmed();
  resolved.halfPoints = chars.halfPoints;
  resolved.bold = chars.bold;
  resolved.italic = chars.italic;
  resolved.underline = chars.underline;
  resolved.strike = chars.strike;
  resolved.foreground = ColorAt(foreground);
  resolved.background = ColorAt(background);
  m_styleCached = true;
  m_cachedChars = chars;
  m_cachedStyle = std::move(resolved);
  return m_cachedStyle;
}

}  // namespace

void ParseRtf(const RtfInput& input, RtfSink* sink, bool withStyles) {
  ByteSource source(input);
  RtfParser(&source, sink, withStyles).Run();
}

void ParseRtf(QByteArrayView rtf, RtfSink* sink, bool withStyles) {
  ByteSource source(rtf);
  RtfParser(&source, sink, withStyles).Run();
}

}  // namespace reports
