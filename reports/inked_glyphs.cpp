// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/inked_glyphs.h"

#include <algorithm>
#include <cmath>

#include <QPagedPaintDevice>
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
  return runs(line.glyphRuns());
}

std::vector<std::pair<QRawFont, InkLine>> InkReader::runs(const QList<QGlyphRun>& glyphRuns) {
  std::vector<std::pair<QRawFont, InkLine>> result;
  for (const QGlyphRun& run : glyphRuns) {
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

void InkRun::add(QPainter& painter, const QRawFont& font, const InkLine& ink, QPointF origin,
                 const QColor& colour) {
  if (ink.glyphs.isEmpty()) return;
  if (!m_glyphs.isEmpty() && (font != m_run.rawFont() || colour != m_pen)) flush(painter);
  if (m_glyphs.isEmpty()) {
    m_run.setRawFont(font);
    m_pen = colour;
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

bool GlyphCanvas::add(const QTextLine& line, QPointF origin, const QColor& colour) {
  return add(line.glyphRuns(), origin, colour);
}

bool GlyphCanvas::add(const QList<QGlyphRun>& runs, QPointF origin, const QColor& colour) {
  for (const auto& [font, ink] : m_reader.runs(runs)) {
    if (!add(font, ink, origin, colour)) return false;
  }
  return true;
}

PainterCanvas::PainterCanvas(QPainter& painter, QPagedPaintDevice& device)
    : m_painter(painter), m_device(device) {}

PainterCanvas::~PainterCanvas() { m_run.flush(m_painter); }

QPaintDevice* PainterCanvas::device() { return &m_device; }

bool PainterCanvas::add(const QRawFont& font, const InkLine& ink, QPointF origin,
                        const QColor& colour) {
  m_run.add(m_painter, font, ink, origin, colour);
  return true;
}

bool PainterCanvas::draw(const QTextLine& line, QPointF origin, const QColor& pen) {
  m_run.flush(m_painter);
  m_painter.setPen(pen);
  line.draw(&m_painter, origin);
  return true;
}

void PainterCanvas::beginBand(QPointF shift, const QRectF& clip) {
  m_run.flush(m_painter);
  m_painter.save();
  m_painter.translate(shift);
  m_painter.setClipRect(clip, Qt::IntersectClip);
}

void PainterCanvas::endBand() {
  m_run.flush(m_painter);
  m_painter.restore();
}

void PainterCanvas::newPage() {
  m_run.flush(m_painter);
  m_device.newPage();
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
