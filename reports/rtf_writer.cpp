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

class RtfWriter {
 public:
  explicit RtfWriter(const QTextDocument& document);

  QByteArray Write();

 private:
  void WriteBlock(const QTextBlock& block);
  void WriteCharacterFormat(const QTextCharFormat& format);
  int FontIndex(const QTextCharFormat& format);
  int ColorIndex(const QColor& color);

  const QTextDocument& m_document;
  qreal m_defaultPointSize = kFallbackPointSize;
  QStringList m_fonts;  // index = \fN; 0 is the document's default font
  QHash<QString, int> m_fontIndex;
  std::vector<QRgb> m_colors;  // index + 1 = \cfN; 0 is "automatic"
  QHash<QRgb, int> m_colorIndex;
  QByteArray m_body;
};

RtfWriter::RtfWriter(const QTextDocument& document) : m_document(document) {
  const QFont font = document.defaultFont();
  m_fonts.append(font.family().isEmpty() ? QString::fromLatin1(kFallbackFamily) : font.family());
  m_fontIndex.insert(m_fonts.first(), 0);
  if (font.pointSizeF() > 0) m_defaultPointSize = font.pointSizeF();
}

QByteArray RtfWriter::Write() {
  if (!m_document.isEmpty()) {
    for (QTextBlock block = m_document.begin(); block.isValid(); block = block.next()) {
      WriteBlock(block);
    }
  }
  QByteArray out = kRtfWriterHeader;
  for (int i = 0; i < m_fonts.size(); ++i) {
    out.append("{\\f");
    AppendNumber(&out, i);
    out.append("\\fnil\\fcharset0 ");
    // A ';' would end the name early; no real font name holds one.
    AppendText(QString(m_fonts[i]).remove(QLatin1Char(';')), &out);
    out.append(";}");
  }
  out.append("}\r\n{\\colortbl;");
  for (const QRgb color : m_colors) {
    out.append("\\red");
    AppendNumber(&out, qRed(color));
    out.append("\\green");
    AppendNumber(&out, qGreen(color));
    out.append("\\blue");
    AppendNumber(&out, qBlue(color));
    out.append(';');
  }
  out.append("}\r\n").append(m_body).append("}\r\n");
  return out;
}

void RtfWriter::WriteBlock(const QTextBlock& block) {
  m_body.append("\\pard");
  const Qt::Alignment alignment = block.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
  if (alignment & Qt::AlignHCenter) {
    m_body.append("\\qc");
  } else if (alignment & (Qt::AlignRight | Qt::AlignTrailing)) {
    m_body.append("\\qr");
  } else if (alignment & Qt::AlignJustify) {
    m_body.append("\\qj");
  }
  bool empty = true;
  for (auto it = block.begin(); !it.atEnd(); ++it) {
    const QTextFragment fragment = it.fragment();
    if (!fragment.isValid()) continue;
    WriteCharacterFormat(fragment.charFormat());
    AppendText(fragment.text(), &m_body);
    empty = false;
  }
  // An empty paragraph keeps the size of its mark, which gives it its height.
  if (empty) WriteCharacterFormat(block.charFormat());
  m_body.append("\\par\r\n");
}

void RtfWriter::WriteCharacterFormat(const QTextCharFormat& format) {
  qreal points = m_defaultPointSize;
  if (format.hasProperty(QTextFormat::FontPointSize) && format.fontPointSize() > 0) {
    points = format.fontPointSize();
  } else if (format.hasProperty(QTextFormat::FontPixelSize) &&
             format.intProperty(QTextFormat::FontPixelSize) > 0) {
    points = format.intProperty(QTextFormat::FontPixelSize) * 0.75;  // at 96 pixels per inch
  }
  m_body.append("\\plain\\f");
  AppendNumber(&m_body, FontIndex(format));
  m_body.append("\\fs");
  AppendNumber(&m_body, std::clamp(qRound(points * 2), 1, kMaxHalfPoints));
  const QBrush foreground = format.foreground();
  if (format.hasProperty(QTextFormat::ForegroundBrush) && foreground.style() != Qt::NoBrush) {
    m_body.append("\\cf");
    AppendNumber(&m_body, ColorIndex(foreground.color()));
  }
  const QBrush background = format.background();
  if (format.hasProperty(QTextFormat::BackgroundBrush) && background.style() != Qt::NoBrush) {
    m_body.append("\\highlight");
    AppendNumber(&m_body, ColorIndex(background.color()));
  }
  if (format.fontWeight() >= QFont::DemiBold) m_body.append("\\b");
  if (format.fontItalic()) m_body.append("\\i");
  if (format.fontUnderline()) m_body.append("\\ul");
  if (format.fontStrikeOut()) m_body.append("\\strike");
  m_body.append(' ');
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

QByteArray WriteRtf(const QTextDocument& document) { return RtfWriter(document).Write(); }

}  // namespace reports
