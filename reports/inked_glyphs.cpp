// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/inked_glyphs.h"

#include <algorithm>
#include <cmath>

#include <QPainter>
#include <QPainterPath>
#include <QTextLine>
#include <QTransform>

namespace reports {

FaceKey FaceKeyOf(const QRawFont& font) {
  return {font.familyName(),
          font.styleName(),
          font.pixelSize(),
          font.weight(),
          static_cast<int>(font.style()),
          font.fontTable("head")};
}

bool InkReader::read(const QTextLine& line, const QRawFont& font, InkLine* ink) {
  ink->glyphs.clear();
  ink->positions.clear();
  const QList<QGlyphRun> runs = line.glyphRuns();
  for (const QGlyphRun& run : runs) {
    if (run.rawFont() != font) return false;
    Append(run, ink);
  }
  return true;
}

std::vector<std::pair<QRawFont, InkLine>> InkReader::runs(const QTextLine& line) {
  std::vector<std::pair<QRawFont, InkLine>> result;
  const QList<QGlyphRun> runs = line.glyphRuns();
  for (const QGlyphRun& run : runs) {
    InkLine ink;
    Append(run, &ink);
    if (!ink.glyphs.isEmpty()) result.emplace_back(run.rawFont(), std::move(ink));
  }
  return result;
}

void InkReader::Append(const QGlyphRun& run, InkLine* ink) {
  const QRawFont font = run.rawFont();
  std::vector<Ink>& known = m_ink[font];
  const QList<std::uint32_t> glyphs = run.glyphIndexes();
  const QList<QPointF> positions = run.positions();
  const qsizetype count = std::min(glyphs.size(), positions.size());
  // Room for all of them, then cut back to those kept: this runs for every glyph printed.
  const qsizetype before = ink->glyphs.size();
  ink->glyphs.resize(before + count);
  ink->positions.resize(before + count);
  std::uint32_t* keptGlyph = ink->glyphs.data() + before;
  QPointF* keptPosition = ink->positions.data() + before;
  for (qsizetype i = 0; i < count; ++i) {
    const std::uint32_t glyph = glyphs[i];
    if (glyph >= known.size()) known.resize(glyph + 1, Ink::kUnknown);
    if (known[glyph] == Ink::kUnknown) {
      known[glyph] = font.pathForGlyph(glyph).isEmpty() ? Ink::kBlank : Ink::kInked;
    }
    if (known[glyph] == Ink::kBlank) continue;
    *keptGlyph++ = glyph;
    *keptPosition++ = positions[i];
  }
  ink->glyphs.resize(keptGlyph - ink->glyphs.data());
  ink->positions.resize(keptPosition - ink->positions.data());
}

void DrawInk(QPainter& painter, const QRawFont& font, const InkLine& ink, QPointF origin,
             QGlyphRun* scratch) {
  if (ink.glyphs.isEmpty()) return;
  // Positions are rounded where the device sees them; under any transform but a shift they
  // are kept as laid out.
  const QTransform& transform = painter.worldTransform();
  const bool shiftOnly = transform.type() <= QTransform::TxTranslate;
  const QPointF shift(transform.dx(), transform.dy());
  QList<QPointF> positions = scratch->positions();
  positions.resize(ink.positions.size());
  for (qsizetype i = 0; i < ink.positions.size(); ++i) {
    QPointF at = origin + ink.positions[i];
    if (shiftOnly) {
      at += shift;
      at = QPointF(std::round(at.x()), std::round(at.y())) - shift;
    }
    positions[i] = at;
  }
  scratch->setRawFont(font);
  scratch->setGlyphIndexes(ink.glyphs);
  scratch->setPositions(positions);
  painter.drawGlyphRun(QPointF(0, 0), *scratch);
}

void InkedGlyphs::draw(QPainter& painter, const QTextLine& line, QPointF origin) {
  for (const auto& [font, ink] : m_reader.runs(line)) {
    DrawInk(painter, font, ink, origin, &m_scratch);
  }
}

int ResolutionDevice::metric(PaintDeviceMetric metric) const {
  switch (metric) {
    case PdmDpiX:
    case PdmPhysicalDpiX:
      return m_dpiX;
    case PdmDpiY:
    case PdmPhysicalDpiY:
      return m_dpiY;
    case PdmDevicePixelRatio:
      return 1;
    case PdmDevicePixelRatioScaled:
      return static_cast<int>(devicePixelRatioFScale());
    case PdmDepth:
      return 32;
    default:
      return 0;
  }
}

}  // namespace reports
