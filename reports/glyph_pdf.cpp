// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/glyph_pdf.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <string_view>

#include <QByteArray>
#include <QDateTime>
#include <QIODevice>
#include <QPageLayout>
#include <QRectF>

namespace reports {
namespace {

// Pages are compressed for speed: a page of report lines is so repetitive that the fastest
// level keeps it within a few percent of the best.
constexpr int kPageCompression = 1;
constexpr int kFontCompression = 6;  // once per font, and fonts shrink well

// Numbers in font tables are big-endian; reads past a table's end give 0.
std::uint16_t U16(const QByteArray& table, qsizetype at) {
  if (at < 0 || at + 2 > table.size()) return 0;
  return static_cast<std::uint16_t>((static_cast<unsigned char>(table[at]) << 8) |
                                    static_cast<unsigned char>(table[at + 1]));
}
std::int16_t S16(const QByteArray& table, qsizetype at) {
  return static_cast<std::int16_t>(U16(table, at));
}
std::uint32_t U32(const QByteArray& table, qsizetype at) {
  return (static_cast<std::uint32_t>(U16(table, at)) << 16) | U16(table, at + 2);
}
void PutU16(std::string& out, std::uint32_t value) {
  out += static_cast<char>((value >> 8) & 0xFF);
  out += static_cast<char>(value & 0xFF);
}
void PutU32(std::string& out, std::uint32_t value) {
  PutU16(out, value >> 16);
  PutU16(out, value & 0xFFFF);
}
void SetU32(std::string& out, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<char>((value >> (24 - 8 * i)) & 0xFF);
}
constexpr std::uint32_t Tag(const char* name) {
  return (static_cast<std::uint32_t>(name[0]) << 24) | (static_cast<std::uint32_t>(name[1]) << 16) |
         (static_cast<std::uint32_t>(name[2]) << 8) | static_cast<std::uint32_t>(name[3]);
}

// A number as PDF writes it: at most `decimals` decimals, no trailing zeros.
void AppendNumber(std::string& out, double value, int decimals = 3) {
  char buffer[48];
  const auto [end, error] =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  std::string_view text(buffer, error == std::errc() ? end - buffer : 0);
  if (text.find('.') != std::string_view::npos) {
    while (text.ends_with('0')) text.remove_suffix(1);
    if (text.ends_with('.')) text.remove_suffix(1);
  }
  if (text.empty() || text == "-0") text = "0";
  out += text;
}
void AppendInt(std::string& out, long long value) {
  char buffer[24];
  const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
  out.append(buffer, end);
}
// `value` to three decimals, without trailing zeros: the number between two glyphs, written
// for nearly every glyph, so in integer arithmetic rather than as a floating-point number.
void AppendThousandths(std::string& out, double value) {
  long long thousandths = std::llround(value * 1000);
  if (thousandths < 0) {
    out += '-';
    thousandths = -thousandths;
  }
  AppendInt(out, thousandths / 1000);
  long long fraction = thousandths % 1000;
  if (fraction == 0) return;
  out += '.';
  for (long long digit = 100; fraction != 0; digit /= 10) {
    out += static_cast<char>('0' + fraction / digit);
    fraction %= digit;
  }
}
void AppendHex4(std::string& out, std::uint32_t value) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  for (int shift = 12; shift >= 0; shift -= 4) out += kDigits[(value >> shift) & 0xF];
}

std::string Compressed(const std::string& data, int level) {
  const QByteArray packed = qCompress(reinterpret_cast<const uchar*>(data.data()),
                                      static_cast<qsizetype>(data.size()), level);
  // qCompress puts the length in front of the zlib stream, which is what PDF's FlateDecode
  // reads.
  return QByteArrayView(packed)
      .sliced(std::min<qsizetype>(4, packed.size()))
      .toByteArray()
      .toStdString();
}

// The glyphs of a TrueType font that `used` names, with the glyphs the composite ones among
// them are made of.
std::vector<bool> WithComponents(std::vector<bool> used, const QByteArray& glyf,
                                 const std::vector<std::uint32_t>& loca) {
  std::vector<std::uint32_t> pending;
  for (std::size_t glyph = 0; glyph < used.size(); ++glyph) {
    if (used[glyph]) pending.push_back(static_cast<std::uint32_t>(glyph));
  }
  while (!pending.empty()) {
    const std::uint32_t glyph = pending.back();
    pending.pop_back();
    const qsizetype start = loca[glyph];
    const qsizetype end = std::min<qsizetype>(loca[glyph + 1], glyf.size());
    if (end - start < 10 || S16(glyf, start) >= 0) continue;  // empty, or a simple glyph
    constexpr std::uint16_t kWords = 0x1, kScale = 0x8, kMore = 0x20, kXyScale = 0x40,
                            kTwoByTwo = 0x80;
    qsizetype at = start + 10;
    for (;;) {
      if (at + 4 > end) break;
      const std::uint16_t flags = U16(glyf, at);
      const std::uint16_t component = U16(glyf, at + 2);
      if (component < used.size() && !used[component]) {
        used[component] = true;
        pending.push_back(component);
      }
      at += 4 + ((flags & kWords) ? 4 : 2);
      if (flags & kScale) {
        at += 2;
      } else if (flags & kXyScale) {
        at += 4;
      } else if (flags & kTwoByTwo) {
        at += 8;
      }
      if (!(flags & kMore)) break;
    }
  }
  return used;
}

// A TrueType font file of `raw`'s outline tables in which only the glyphs of `used` (and
// those they are made of) keep their outlines; glyph numbers stay as they are.
std::string SubsetFontFile(const QRawFont& raw, const std::vector<bool>& usedGlyphs) {
  const QByteArray head = raw.fontTable("head");
  const QByteArray maxp = raw.fontTable("maxp");
  const QByteArray loca = raw.fontTable("loca");
  const QByteArray glyf = raw.fontTable("glyf");
  const std::uint16_t glyphs = U16(maxp, 4);
  const bool longOffsets = S16(head, 50) == 1;
  std::vector<std::uint32_t> offsets(glyphs + 1);
  for (std::uint32_t glyph = 0; glyph <= glyphs; ++glyph) {
    offsets[glyph] = longOffsets ? U32(loca, 4 * glyph) : 2u * U16(loca, 2 * glyph);
    offsets[glyph] =
        std::min<std::uint32_t>(offsets[glyph], static_cast<std::uint32_t>(glyf.size()));
    if (glyph > 0) offsets[glyph] = std::max(offsets[glyph], offsets[glyph - 1]);
  }
  std::vector<bool> used(glyphs, false);
  for (std::size_t glyph = 0; glyph < usedGlyphs.size() && glyph < glyphs; ++glyph) {
    used[glyph] = usedGlyphs[glyph];
  }
  if (glyphs > 0) used[0] = true;  // the missing-character glyph is always there
  used = WithComponents(std::move(used), glyf, offsets);

  std::string newGlyf;
  std::string newLoca;
  for (std::uint32_t glyph = 0; glyph < glyphs; ++glyph) {
    PutU32(newLoca, static_cast<std::uint32_t>(newGlyf.size()));
    if (!used[glyph]) continue;
    newGlyf.append(glyf.constData() + offsets[glyph], offsets[glyph + 1] - offsets[glyph]);
    newGlyf.resize((newGlyf.size() + 3) & ~std::size_t{3});
  }
  PutU32(newLoca, static_cast<std::uint32_t>(newGlyf.size()));

  std::string newHead = head.toStdString();
  if (newHead.size() >= 54) {
    SetU32(newHead, 8, 0);  // the whole file's check sum adjustment, set below
    newHead[50] = 0;        // the new 'loca' has long offsets
    newHead[51] = 1;
  }
  std::vector<std::pair<std::uint32_t, std::string>> tables = {
      {Tag("glyf"), std::move(newGlyf)},
      {Tag("head"), newHead},
      {Tag("hhea"), raw.fontTable("hhea").toStdString()},
      {Tag("hmtx"), raw.fontTable("hmtx").toStdString()},
      {Tag("loca"), std::move(newLoca)},
      {Tag("maxp"), maxp.toStdString()}};
  // The hinting programs, when the font has them: the glyphs are rendered as on screen.
  for (const char* tag : {"cvt ", "fpgm", "prep"}) {
    std::string table = raw.fontTable(tag).toStdString();
    if (!table.empty()) {
      tables.emplace_back(Tag(tag), std::move(table));
    }
  }
  std::sort(tables.begin(), tables.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });

  const auto checkSum = [](const std::string& data, std::size_t from, std::size_t size) {
    std::uint32_t sum = 0;
    for (std::size_t at = from; at < from + size; at += 4) {
      std::uint32_t word = 0;
      for (std::size_t i = 0; i < 4; ++i) {
        word = (word << 8) | (at + i < data.size() ? static_cast<unsigned char>(data[at + i]) : 0);
      }
      sum += word;
    }
    return sum;
  };
  const auto count = static_cast<std::uint16_t>(tables.size());
  std::uint16_t power = 1;
  std::uint16_t selector = 0;
  while (power * 2 <= count) {
    power *= 2;
    ++selector;
  }
  std::string file;
  PutU32(file, 0x00010000);
  PutU16(file, count);
  PutU16(file, power * 16);
  PutU16(file, selector);
  PutU16(file, count * 16 - power * 16);
  std::size_t at = file.size() + 16 * tables.size();
  std::size_t headAt = 0;
  for (const auto& [tag, data] : tables) {
    PutU32(file, tag);
    PutU32(file, checkSum(data, 0, data.size()));
    PutU32(file, static_cast<std::uint32_t>(at));
    PutU32(file, static_cast<std::uint32_t>(data.size()));
    if (tag == Tag("head")) headAt = at;
    at += (data.size() + 3) & ~std::size_t{3};
  }
  for (const auto& [tag, data] : tables) {
    file += data;
    file.resize((file.size() + 3) & ~std::size_t{3});
  }
  if (headAt != 0 && newHead.size() >= 12) {
    SetU32(file, headAt + 8, 0xB1B0AFBAu - checkSum(file, 0, file.size()));
  }
  return file;
}

// The character each glyph of `raw` stands for, for text taken out of the PDF: the first in
// the Basic Multilingual Plane that the font's character map gives it.
std::vector<char16_t> CharactersOf(const QRawFont& raw, std::size_t glyphs) {
  std::vector<QChar> characters;
  for (char32_t c = 0x20; c <= 0xFFFF; ++c) {
    if (c < 0xD800 || c > 0xDFFF) characters.emplace_back(static_cast<char16_t>(c));
  }
  std::vector<quint32> indexes(characters.size());
  int found = static_cast<int>(indexes.size());
  std::vector<char16_t> result(glyphs, 0);
  if (!raw.glyphIndexesForChars(characters.data(), static_cast<int>(characters.size()),
                                indexes.data(), &found)) {
    return result;
  }
  for (std::size_t i = 0; i < characters.size() && i < static_cast<std::size_t>(found); ++i) {
    const quint32 glyph = indexes[i];
    if (glyph != 0 && glyph < glyphs && result[glyph] == 0) result[glyph] = characters[i].unicode();
  }
  return result;
}

}  // namespace

// A face met on the pages: its metrics, and the glyphs drawn in it.
struct GlyphPdf::Font {
  QRawFont raw;  // a font of the face, for its tables
  FaceKey face;  // without a size: one embedding serves every size
  int number = 0;
  int object = 0;  // the font's own object; its parts take the four after it
  double unitsPerEm = 1000;
  std::vector<std::uint16_t> advances;  // by glyph, in font units
  std::vector<bool> used;               // by glyph

  // The glyph's advance as the PDF states it, in thousandths of the font's size.
  int width(std::uint32_t glyph) const {
    const std::uint16_t advance =
        advances.empty() ? 0 : advances[std::min<std::size_t>(glyph, advances.size() - 1)];
    return static_cast<int>(std::lround(advance * 1000.0 / unitsPerEm));
  }
};

PdfPaper PdfPaper::Of(const QPageLayout& layout, int resolution) {
  const QMarginsF margins = layout.margins(QPageLayout::Point);
  return {layout.fullRectPoints().size(), QPointF(margins.left(), margins.top()),
          layout.paintRectPixels(resolution).size(), resolution};
}

GlyphPdf::GlyphPdf(QIODevice& out, const PdfPaper& paper, const QString& title)
    : m_out(out), m_paper(paper), m_title(title) {
  Write("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n");
  NewObject();  // 1: the document's information
  NewObject();  // 2: the catalogue
  m_pagesObject = NewObject();
  m_resourcesObject = NewObject();
  newPage();
}

GlyphPdf::~GlyphPdf() = default;

bool GlyphPdf::CanEmbed(const QRawFont& font) {
  if (!font.isValid()) return false;
  const QByteArray head = font.fontTable("head");
  if (head.size() < 54 || U16(font.fontTable("maxp"), 4) == 0 || font.fontTable("loca").isEmpty() ||
      font.fontTable("glyf").isEmpty() || font.fontTable("hhea").size() < 36 ||
      font.fontTable("hmtx").isEmpty()) {
    return false;
  }
  // OS/2 fsType: 2 alone is the "restricted licence" that forbids embedding.
  const QByteArray os2 = font.fontTable("OS/2");
  return os2.size() < 10 || (U16(os2, 8) & 0xF) != 0x2;
}

void GlyphPdf::Write(std::string_view bytes) {
  m_out.write(bytes.data(), static_cast<qint64>(bytes.size()));
  m_written += static_cast<std::int64_t>(bytes.size());
}

int GlyphPdf::NewObject() {
  m_offsets.push_back(-1);
  return static_cast<int>(m_offsets.size());
}

void GlyphPdf::BeginObject(int number) {
  m_offsets[number - 1] = m_written;
  std::string line;
  AppendInt(line, number);
  line += " 0 obj\n";
  Write(line);
}

void GlyphPdf::WriteStream(int number, std::string_view dictionary, const std::string& data,
                           int compression) {
  BeginObject(number);
  const bool compress = compression > 0;
  const std::string packed = compress ? Compressed(data, compression) : data;
  std::string head = "<< ";
  head += dictionary;
  if (compress) head += " /Filter /FlateDecode";
  head += " /Length ";
  AppendInt(head, static_cast<long long>(packed.size()));
  head += " >>\nstream\n";
  Write(head);
  Write(packed);
  Write("\nendstream\nendobj\n");
}

void GlyphPdf::newPage() {
  if (!m_content.empty()) EndPage();
  // Device units, downwards from the printable area's corner, as the glyphs are placed;
  // nothing is drawn outside that area, as a printer draws nothing there.
  const double scale = 72.0 / m_paper.resolution;
  m_content.clear();
  AppendNumber(m_content, scale, 6);
  m_content += " 0 0 ";
  AppendNumber(m_content, -scale, 6);
  m_content += ' ';
  AppendNumber(m_content, m_paper.printableAt.x());
  m_content += ' ';
  AppendNumber(m_content, m_paper.points.height() - m_paper.printableAt.y());
  m_content += " cm\n0 0 ";
  AppendInt(m_content, m_paper.printable.width());
  m_content += ' ';
  AppendInt(m_content, m_paper.printable.height());
  m_content += " re W n\nBT\n";
  m_state = TextState();
  m_inBand = false;
}

void GlyphPdf::beginBand(const QRectF& band) {
  if (m_inBand) endBand();
  // Clipping is no text operator: the text object ends for it and begins again after it.
  m_content += "ET\nq\n";
  AppendNumber(m_content, band.x());
  m_content += ' ';
  AppendNumber(m_content, band.y());
  m_content += ' ';
  AppendNumber(m_content, band.width());
  m_content += ' ';
  AppendNumber(m_content, band.height());
  m_content += " re W n\nBT\n";
  m_outsideBand = m_state;
  m_inBand = true;
}

void GlyphPdf::endBand() {
  if (!m_inBand) return;
  // The font and colour set inside the band end with it.
  m_content += "ET\nQ\nBT\n";
  m_state = m_outsideBand;
  m_inBand = false;
}

void GlyphPdf::EndPage() {
  m_content += m_inBand ? "ET\nQ\n" : "ET\n";
  const int contents = NewObject();
  const int page = NewObject();
  WriteStream(contents, "", m_content, kPageCompression);
  m_content.clear();
  BeginObject(page);
  std::string object = "<< /Type /Page /Parent ";
  AppendInt(object, m_pagesObject);
  object += " 0 R /Resources ";
  AppendInt(object, m_resourcesObject);
  object += " 0 R /MediaBox [0 0 ";
  AppendNumber(object, m_paper.points.width());
  object += ' ';
  AppendNumber(object, m_paper.points.height());
  object += "] /Contents ";
  AppendInt(object, contents);
  object += " 0 R >>\nendobj\n";
  Write(object);
  m_pages.push_back(page);
}

GlyphPdf::Font& GlyphPdf::FontOf(const QRawFont& raw) {
  if (m_lastFont != nullptr && raw == m_lastRaw) return *m_lastFont;
  FaceKey face = FaceKeyOf(raw);
  face.pixelSize = 0;
  auto found = std::find_if(m_fonts.begin(), m_fonts.end(),
                            [&](const auto& font) { return font->face == face; });
  if (found == m_fonts.end()) {
    auto font = std::make_unique<Font>();
    font->raw = raw;
    font->face = face;
    font->number = static_cast<int>(m_fonts.size()) + 1;
    font->object = NewObject();
    for (int part = 0; part < 4; ++part) NewObject();
    const QByteArray head = raw.fontTable("head");
    const QByteArray hhea = raw.fontTable("hhea");
    const QByteArray hmtx = raw.fontTable("hmtx");
    const std::uint16_t glyphs = U16(raw.fontTable("maxp"), 4);
    const std::uint16_t metrics = std::max<std::uint16_t>(1, U16(hhea, 34));
    if (U16(head, 18) != 0) font->unitsPerEm = U16(head, 18);
    font->advances.resize(glyphs);
    for (std::uint32_t glyph = 0; glyph < glyphs; ++glyph) {
      font->advances[glyph] = U16(hmtx, 4 * std::min<std::uint32_t>(glyph, metrics - 1u));
    }
    font->used.assign(glyphs, false);
    m_fonts.push_back(std::move(font));
    found = m_fonts.end() - 1;
  }
  m_lastRaw = raw;
  m_lastFont = found->get();
  return *m_lastFont;
}

void GlyphPdf::add(const QRawFont& raw, const InkLine& ink, QPointF origin, const QColor& colour) {
  const qsizetype count = std::min(ink.glyphs.size(), ink.positions.size());
  if (count == 0) return;
  Font& font = FontOf(raw);
  const qreal size = raw.pixelSize();
  if (&font != m_state.font || size != m_state.size) {
    m_content += "/F";
    AppendInt(m_content, font.number);
    m_content += ' ';
    AppendNumber(m_content, size);
    m_content += " Tf\n";
    m_state.font = &font;
    m_state.size = size;
  }
  if (colour != m_state.colour) {
    for (const float component : {colour.redF(), colour.greenF(), colour.blueF()}) {
      AppendNumber(m_content, component, 4);
      m_content += ' ';
    }
    m_content += "rg\n";
    m_state.colour = colour;
  }
  // One text operator for each stretch of glyphs on one baseline: each glyph advances by its
  // width, and the number between two glyphs takes back what that leaves over, in
  // thousandths of the font's size.
  const double thousandthsPerUnit = 1000.0 / size;
  long long lastX = 0;
  long long lastY = 0;
  std::uint32_t lastGlyph = 0;
  bool open = false;
  for (qsizetype i = 0; i < count; ++i) {
    const std::uint32_t glyph = ink.glyphs[i];
    const long long x = std::llround(origin.x() + ink.positions[i].x());
    const long long y = std::llround(origin.y() + ink.positions[i].y());
    if (!open || y != lastY) {
      if (open) m_content += ">]TJ\n";
      m_content += "1 0 0 -1 ";
      AppendInt(m_content, x);
      m_content += ' ';
      AppendInt(m_content, y);
      m_content += " Tm[<";
      open = true;
    } else {
      const double take =
          font.width(lastGlyph) - static_cast<double>(x - lastX) * thousandthsPerUnit;
      if (std::abs(take) >= 0.0005) {
        m_content += '>';
        AppendThousandths(m_content, take);
        m_content += '<';
      }
    }
    AppendHex4(m_content, glyph);
    if (glyph < font.used.size()) font.used[glyph] = true;
    lastX = x;
    lastY = y;
    lastGlyph = glyph;
  }
  m_content += ">]TJ\n";
}

void GlyphPdf::WriteFont(const Font& font) {
  const double perUnit = 1000.0 / font.unitsPerEm;
  const QByteArray head = font.raw.fontTable("head");
  const QByteArray hhea = font.raw.fontTable("hhea");
  const QByteArray post = font.raw.fontTable("post");
  const std::string file = SubsetFontFile(font.raw, font.used);

  // A subset's name: six capitals, a plus and the face's name without blanks.
  const auto letter = [](int value) { return static_cast<char>('A' + value % 26); };
  std::string name = {
      'B', 'R', 'V', letter(font.number / (26 * 26)), letter(font.number / 26), letter(font.number),
      '+'};
  QString face = font.face.family;
  if (!font.face.style.isEmpty() && font.face.style != QLatin1String("Regular")) {
    face += QLatin1Char('-') + font.face.style;
  }
  for (const QChar c : face) {
    if ((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') ||
        c == u'-') {
      name += static_cast<char>(c.unicode());
    }
  }

  std::string object = "<< /Type /Font /Subtype /Type0 /BaseFont /" + name +
                       " /Encoding /Identity-H /DescendantFonts [";
  AppendInt(object, font.object + 1);
  object += " 0 R] /ToUnicode ";
  AppendInt(object, font.object + 4);
  object += " 0 R >>\nendobj\n";
  BeginObject(font.object);
  Write(object);

  object = "<< /Type /Font /Subtype /CIDFontType2 /BaseFont /" + name +
           " /CIDSystemInfo << /Registry (Adobe) /Ordering (Identity) /Supplement 0 >>"
           " /FontDescriptor ";
  AppendInt(object, font.object + 2);
  object += " 0 R /CIDToGIDMap /Identity /W [";
  // Stretches of consecutive glyphs, each "first [width width ...]".
  bool inStretch = false;
  for (std::uint32_t glyph = 0; glyph < font.used.size(); ++glyph) {
    if (!font.used[glyph]) {
      if (inStretch) object += ']';
      inStretch = false;
      continue;
    }
    if (!inStretch) {
      object += ' ';
      AppendInt(object, glyph);
      object += " [";
      inStretch = true;
    } else {
      object += ' ';
    }
    AppendInt(object, font.width(glyph));
  }
  object += inStretch ? "]] >>\nendobj\n" : "] >>\nendobj\n";
  BeginObject(font.object + 1);
  Write(object);

  object = "<< /Type /FontDescriptor /FontName /" + name + " /Flags 4 /FontBBox [";
  for (int at : {36, 38, 40, 42}) {
    AppendNumber(object, S16(head, at) * perUnit);
    object += at == 42 ? "]" : " ";
  }
  object += " /ItalicAngle ";
  AppendNumber(object, static_cast<std::int32_t>(U32(post, 4)) / 65536.0);
  object += " /Ascent ";
  AppendNumber(object, S16(hhea, 4) * perUnit);
  object += " /Descent ";
  AppendNumber(object, S16(hhea, 6) * perUnit);
  object += " /CapHeight ";
  AppendNumber(object, S16(hhea, 4) * perUnit);
  object += " /StemV 80 /FontFile2 ";
  AppendInt(object, font.object + 3);
  object += " 0 R >>\nendobj\n";
  BeginObject(font.object + 2);
  Write(object);

  std::string dictionary = "/Length1 ";
  AppendInt(dictionary, static_cast<long long>(file.size()));
  WriteStream(font.object + 3, dictionary, file, kFontCompression);

  const std::vector<char16_t> characters = CharactersOf(font.raw, font.used.size());
  std::vector<std::pair<std::uint32_t, char16_t>> mapped;
  for (std::uint32_t glyph = 0; glyph < font.used.size(); ++glyph) {
    if (font.used[glyph] && characters[glyph] != 0) mapped.emplace_back(glyph, characters[glyph]);
  }
  std::string cmap =
      "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
      "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
      "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
      "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n";
  for (std::size_t from = 0; from < mapped.size(); from += 100) {
    const std::size_t to = std::min(mapped.size(), from + 100);
    AppendInt(cmap, static_cast<long long>(to - from));
    cmap += " beginbfchar\n";
    for (std::size_t i = from; i < to; ++i) {
      cmap += '<';
      AppendHex4(cmap, mapped[i].first);
      cmap += "> <";
      AppendHex4(cmap, mapped[i].second);
      cmap += ">\n";
    }
    cmap += "endbfchar\n";
  }
  cmap += "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
  WriteStream(font.object + 4, "", cmap, 0);
}

void GlyphPdf::finish() {
  EndPage();
  for (const auto& font : m_fonts) WriteFont(*font);

  BeginObject(m_resourcesObject);
  std::string object = "<< /ProcSet [/PDF /Text] /Font <<";
  for (const auto& font : m_fonts) {
    object += " /F";
    AppendInt(object, font->number);
    object += ' ';
    AppendInt(object, font->object);
    object += " 0 R";
  }
  object += " >> >>\nendobj\n";
  Write(object);

  BeginObject(m_pagesObject);
  object = "<< /Type /Pages /Count ";
  AppendInt(object, static_cast<long long>(m_pages.size()));
  object += " /Kids [";
  for (std::size_t i = 0; i < m_pages.size(); ++i) {
    object += i % 10 == 0 ? "\n" : " ";
    AppendInt(object, m_pages[i]);
    object += " 0 R";
  }
  object += "\n] >>\nendobj\n";
  Write(object);

  BeginObject(1);
  object = "<< /Title <FEFF";
  for (const QChar c : m_title) AppendHex4(object, c.unicode());
  object += "> /Creator (Brinvale) /Producer (Brinvale) /CreationDate (D:";
  object +=
      QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMddHHmmss")).toStdString();
  object += "Z) >>\nendobj\n";
  Write(object);
  BeginObject(2);
  object = "<< /Type /Catalog /Pages ";
  AppendInt(object, m_pagesObject);
  object += " 0 R >>\nendobj\n";
  Write(object);

  const std::int64_t xref = m_written;
  object = "xref\n0 ";
  AppendInt(object, static_cast<long long>(m_offsets.size()) + 1);
  object += "\n0000000000 65535 f \n";
  for (const std::int64_t offset : m_offsets) {
    char entry[32];
    std::snprintf(entry, sizeof entry, "%010lld 00000 n \n", static_cast<long long>(offset));
    object += entry;
  }
  object += "trailer\n<< /Size ";
  AppendInt(object, static_cast<long long>(m_offsets.size()) + 1);
  object += " /Root 2 0 R /Info 1 0 R >>\nstartxref\n";
  AppendInt(object, xref);
  object += "\n%%EOF\n";
  Write(object);
}

PdfCanvas::PdfCanvas(GlyphPdf& pdf, int resolution)
    : m_pdf(pdf), m_device(resolution, resolution) {}

bool PdfCanvas::add(const QRawFont& font, const InkLine& ink, QPointF origin,
                    const QColor& colour) {
  if (std::find(m_embeddable.begin(), m_embeddable.end(), font) == m_embeddable.end()) {
    if (!GlyphPdf::CanEmbed(font)) {
      m_refused = true;
      return false;
    }
    m_embeddable.push_back(font);
  }
  m_pdf.add(font, ink, origin + m_shift, colour);
  return true;
}

bool PdfCanvas::draw(const QTextLine&, QPointF, const QColor&) {
  m_refused = true;
  return false;
}

void PdfCanvas::beginBand(QPointF shift, const QRectF& clip) {
  m_shift = shift;
  m_pdf.beginBand(clip.translated(shift));
}

void PdfCanvas::endBand() {
  m_shift = QPointF();
  m_pdf.endBand();
}

void PdfCanvas::newPage() { m_pdf.newPage(); }

}  // namespace reports
