// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/rtf_writer.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include <QColor>
#include <QFont>
#include <QHash>
#include <QStringList>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextDocument>
#include <QTextFragment>

namespace reports {
namespace {

// Used when the document's default font has no family, as without a QGuiApplication.
constexpr char kFallbackFamily[] = "Arial";
constexpr qreal kFallbackPointSize = 12;
constexpr int kMaxHalfPoints = 3276;

void AppendNumber(QByteArray* out, int value) { out->append(QByteArray::number(value)); }

// Appends text as RTF: ASCII as it is, the rest as \uN? with N the signed 16-bit code unit
// (surrogate pairs as two of them), as RTF 1.5 readers expect.
void AppendText(QStringView text, QByteArray* out) {
  // Most text is printable ASCII that RTF takes as it is: it goes in at once.
  const bool plain = std::all_of(text.begin(), text.end(), [](QChar ch) {
    const char16_t u = ch.unicode();
    return u >= 0x20 && u < 0x7F && u != u'\\' && u != u'{' && u != u'}';
  });
  if (plain) {
    const qsizetype at = out->size();
    out->resize(at + text.size());
    char* to = out->data() + at;
    for (const QChar ch : text) *to++ = static_cast<char>(ch.unicode());
    return;
  }
  for (const QChar ch : text) {
    const char16_t u = ch.unicode();
    switch (u) {
      case u'\\':
      case u'{':
      case u'}':
        out->append('\\').append(static_cast<char>(u));
        continue;
      case u'\t':
        out->append("\\tab ");
        continue;
      case 0x2028:
        out->append("\\line ");
        continue;
      case 0x00A0:
        out->append("\\~");
        continue;
      case 0x00AD:
        out->append("\\-");
        continue;
      case 0x2011:
        out->append("\\_");
        continue;
      case 0xFFFC:
        continue;  // an embedded object (image) has no RTF form here
      default:
        break;
    }
    if (u < 0x20) continue;
    if (u < 0x80) {
      out->append(static_cast<char>(u));
    } else {
      out->append("\\u");
      AppendNumber(out, static_cast<std::int16_t>(u));
      out->append('?');
    }
  }
}

// The output goes out in pieces of about this size.
constexpr qsizetype kPieceSize = 256 * 1024;

// Writes in two passes: the first goes through the formats the text uses, in the order it
// uses them, which numbers the fonts and colours the tables at the top need; the second
// writes the text, a piece at a time, with each format's RTF made once.
class RtfWriter {
 public:
  RtfWriter(const QTextDocument& document, const std::function<bool(QByteArrayView)>& write);

  bool Write();

 private:
  // The RTF of the character format with index `index` in the document's format collection.
  const QByteArray& FormatRtf(int index, const QTextCharFormat& format);
  QByteArray CharacterFormatRtf(const QTextCharFormat& format);
  bool WriteBlock(const QTextBlock& block);
  bool Flush();
  int FontIndex(const QTextCharFormat& format);
  int ColorIndex(const QColor& color);

  const QTextDocument& m_document;
  const std::function<bool(QByteArrayView)>& m_write;
  qreal m_defaultPointSize = kFallbackPointSize;
  QStringList m_fonts;  // index = \fN; 0 is the document's default font
  QHash<QString, int> m_fontIndex;
  std::vector<QRgb> m_colors;  // index + 1 = \cfN; 0 is "automatic"
  QHash<QRgb, int> m_colorIndex;
  QHash<int, QByteArray> m_formats;
  QByteArray m_out;
};

RtfWriter::RtfWriter(const QTextDocument& document,
                     const std::function<bool(QByteArrayView)>& write)
    : m_document(document), m_write(write) {
  const QFont font = document.defaultFont();
  m_fonts.append(font.family().isEmpty() ? QString::fromLatin1(kFallbackFamily) : font.family());
  m_fontIndex.insert(m_fonts.first(), 0);
  if (font.pointSizeF() > 0) m_defaultPointSize = font.pointSizeF();
}

bool RtfWriter::Write() {
  const bool empty = m_document.isEmpty();
  if (!empty) {
    for (QTextBlock block = m_document.begin(); block.isValid(); block = block.next()) {
      bool hasText = false;
      for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (!fragment.isValid()) continue;
        FormatRtf(fragment.charFormatIndex(), fragment.charFormat());
        hasText = true;
      }
      if (!hasText) FormatRtf(block.charFormatIndex(), block.charFormat());
    }
  }
  m_out = kRtfWriterHeader;
  for (int i = 0; i < m_fonts.size(); ++i) {
    m_out.append("{\\f");
    AppendNumber(&m_out, i);
    m_out.append("\\fnil\\fcharset0 ");
    // A ';' would end the name early; no real font name holds one.
    AppendText(QString(m_fonts[i]).remove(QLatin1Char(';')), &m_out);
    m_out.append(";}");
  }
  m_out.append("}\r\n{\\colortbl;");
  for (const QRgb color : m_colors) {
    m_out.append("\\red");
    AppendNumber(&m_out, qRed(color));
    m_out.append("\\green");
    AppendNumber(&m_out, qGreen(color));
    m_out.append("\\blue");
    AppendNumber(&m_out, qBlue(color));
    m_out.append(';');
  }
  m_out.append("}\r\n");
  if (!empty) {
    for (QTextBlock block = m_document.begin(); block.isValid(); block = block.next()) {
      if (!WriteBlock(block)) return false;
    }
  }
  m_out.append("}\r\n");
  return Flush();
}

bool RtfWriter::Flush() {
  const bool written = m_out.isEmpty() || m_write(m_out);
  m_out.clear();
  return written;
}

bool RtfWriter::WriteBlock(const QTextBlock& block) {
  m_out.append("\\pard");
  const Qt::Alignment alignment = block.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
  if (alignment & Qt::AlignHCenter) {
    m_out.append("\\qc");
  } else if (alignment & (Qt::AlignRight | Qt::AlignTrailing)) {
    m_out.append("\\qr");
  } else if (alignment & Qt::AlignJustify) {
    m_out.append("\\qj");
  }
  bool empty = true;
  for (auto it = block.begin(); !it.atEnd(); ++it) {
    const QTextFragment fragment = it.fragment();
    if (!fragment.isValid()) continue;
    m_out.append(FormatRtf(fragment.charFormatIndex(), fragment.charFormat()));
    AppendText(fragment.text(), &m_out);
    empty = false;
  }
  // An empty paragraph keeps the size of its mark, which gives it its height.
  if (empty) m_out.append(FormatRtf(block.charFormatIndex(), block.charFormat()));
  m_out.append("\\par\r\n");
  return m_out.size() < kPieceSize || Flush();
}

const QByteArray& RtfWriter::FormatRtf(int index, const QTextCharFormat& format) {
  auto found = m_formats.find(index);
  if (found == m_formats.end()) found = m_formats.insert(index, CharacterFormatRtf(format));
  return *found;
}

QByteArray RtfWriter::CharacterFormatRtf(const QTextCharFormat& format) {
  qreal points = m_defaultPointSize;
  if (format.hasProperty(QTextFormat::FontPointSize) && format.fontPointSize() > 0) {
    points = format.fontPointSize();
  } else if (format.hasProperty(QTextFormat::FontPixelSize) &&
             format.intProperty(QTextFormat::FontPixelSize) > 0) {
    points = format.intProperty(QTextFormat::FontPixelSize) * 0.75;  // at 96 pixels per inch
  }
  QByteArray out = "\\plain\\f";
  AppendNumber(&out, FontIndex(format));
  out.append("\\fs");
  AppendNumber(&out, std::clamp(qRound(points * 2), 1, kMaxHalfPoints));
  const QBrush foreground = format.foreground();
  if (format.hasProperty(QTextFormat::ForegroundBrush) && foreground.style() != Qt::NoBrush) {
    out.append("\\cf");
    AppendNumber(&out, ColorIndex(foreground.color()));
  }
  const QBrush background = format.background();
  if (format.hasProperty(QTextFormat::BackgroundBrush) && background.style() != Qt::NoBrush) {
    out.append("\\highlight");
    AppendNumber(&out, ColorIndex(background.color()));
  }
  if (format.fontWeight() >= QFont::DemiBold) out.append("\\b");
  if (format.fontItalic()) out.append("\\i");
  if (format.fontUnderline()) out.append("\\ul");
  if (format.fontStrikeOut()) out.append("\\strike");
  out.append(' ');
  return out;
}

int RtfWriter::FontIndex(const QTextCharFormat& format) {
  const QStringList families = format.property(QTextFormat::FontFamilies).toStringList();
  if (families.isEmpty() || families.first().isEmpty()) return 0;
  const auto found = m_fontIndex.constFind(families.first());
  if (found != m_fontIndex.constEnd()) return *found;
  m_fonts.append(families.first());
  return m_fontIndex[families.first()] = static_cast<int>(m_fonts.size() - 1);
}

int RtfWriter::ColorIndex(const QColor& color) {
  const QRgb rgb = color.rgb() | 0xFF000000;  // RTF colours have no transparency
  const auto found = m_colorIndex.constFind(rgb);
  if (found != m_colorIndex.constEnd()) return *found;
  m_colors.push_back(rgb);
  return m_colorIndex[rgb] = static_cast<int>(m_colors.size());
}

}  // namespace

QByteArray WriteRtf(const QTextDocument& document) {
  QByteArray rtf;
  WriteRtf(document, [&rtf](QByteArrayView piece) {
    rtf.append(piece);
    return true;
  });
  return rtf;
}

bool WriteRtf(const QTextDocument& document, const std::function<bool(QByteArrayView)>& write) {
  return RtfWriter(document, write).Write();
}

}  // namespace reports
