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

void InkRun::add(QPainter& painter, const QRawFont& font, const InkLine& ink, QPointF origin) {
  if (ink.glyphs.isEmpty()) return;
  const QColor pen = painter.pen().color();
  if (!m_glyphs.isEmpty() && (font != m_run.rawFont() || pen != m_pen)) flush(painter);
  if (m_glyphs.isEmpty()) {
    m_run.setRawFont(font);
    m_pen = pen;
  }
  // Positions are rounded where the device sees them; under any transform but a shift they
  // are kept as laid out.
  const QTransform& transform = painter.worldTransform();
  const bool shiftOnly = transform.type() <= QTransform::TxTranslate;
  const QPointF shift(transform.dx(), transform.dy());
  m_glyphs.append(ink.glyphs);
  m_positions.reserve(m_positions.size() + ink.positions.size());
  for (const QPointF& position : ink.positions) {
    QPointF at = origin + position;
    if (shiftOnly) {
      at += shift;
      at = QPointF(std::round(at.x()), std::round(at.y())) - shift;
    }
    m_positions.append(at);
  }
}

void InkRun::flush(QPainter& painter) {
  if (m_glyphs.isEmpty()) return;
  m_run.setGlyphIndexes(m_glyphs);
  m_run.setPositions(m_positions);
  const QPen pen = painter.pen();
  if (pen.color() != m_pen) painter.setPen(m_pen);
  painter.drawGlyphRun(QPointF(0, 0), m_run);
  if (pen.color() != m_pen) painter.setPen(pen);
  m_glyphs.clear();
  m_positions.clear();
}

void InkedGlyphs::draw(QPainter& painter, const QTextLine& line, QPointF origin) {
  for (const auto& [font, ink] : m_reader.runs(line)) m_run.add(painter, font, ink, origin);
  m_run.flush(painter);
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
