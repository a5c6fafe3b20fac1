// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/page_layout.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>
#include <utility>
#include <vector>

#include <QColor>
#include <QFont>
#include <QRect>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

namespace reports {
namespace {

// True when `format` says nothing but the font's family, size, weight and slant and a plain
// text colour: what drawing in that font with a pen of that colour shows alike.
bool IsFontAndColourOnly(const QTextCharFormat& format) {
  const auto properties = format.properties();
  for (auto it = properties.cbegin(); it != properties.cend(); ++it) {
    switch (it.key()) {
      case QTextFormat::FontFamilies:
      case QTextFormat::FontPointSize:
      case QTextFormat::FontWeight:
      case QTextFormat::FontItalic:
        break;
      case QTextFormat::ForegroundBrush:
        if (format.foreground().style() != Qt::SolidPattern) return false;
        break;
      default:
        return false;
    }
  }
  return true;
}

// A copy of `format` that shares nothing with it: formats keep a cache of their font, which
// two threads must not fill at once.
QTextCharFormat OwnCopy(const QTextCharFormat& format) {
  QTextCharFormat copy;
  const auto properties = format.properties();
  for (auto it = properties.cbegin(); it != properties.cend(); ++it) {
    copy.setProperty(it.key(), it.value());
  }
  return copy;
}

// Lays the lines of `layout` out `width` wide, line under line, each as tall as its font's
// whole height rounded up, as a document's layout sets them: a page of it breaks where a
// document's would. Returns the paragraph's height.
qreal LayOutLines(QTextLayout& layout, int width) {
  layout.setCacheEnabled(true);
  qreal y = 0;
  layout.beginLayout();
  for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
    line.setLeadingIncluded(true);
    line.setLineWidth(width);
    line.setPosition(QPointF(0, y));
    y += std::ceil(line.ascent() + line.descent() + line.leading());
  }
  layout.endLayout();
  return y;
}

// Paragraphs go from the shaping thread to the printer this many at a time, at most a few
// batches ahead: a wake-up per paragraph would cost more than its shaping.
constexpr std::size_t kBatchParagraphs = 64;
constexpr std::size_t kBatchesAhead = 8;

}  // namespace

struct PageLayout::Look {
  QString font;  // its description (QFont::toString), for a font of the calling thread
  QColor pen;
  FaceKey face;  // of the font the glyphs were shaped in
};

struct PageLayout::Paragraph {
  struct Line {
    qreal y = 0;  // from the paragraph's top
    qreal height = 0;
    int textStart = 0;
  };

  int start = 0;   // the position of its first character
  int length = 0;  // with the paragraph mark
  bool visible = true;
  qreal top = 0;
  std::vector<Line> lines;
  qreal height = 0;

  // A paragraph of one font and colour: that look, and the inked glyphs of each line when the
  // shaping thread could hand them over (they are all of that font).
  std::shared_ptr<const Look> look;
  std::vector<InkLine> ink;

  // Otherwise it is laid out on the calling thread, from these.
  QString text;
  QString font;  // the layout's font, by its description
  QTextOption option;
  QList<QTextLayout::FormatRange> formats;
  std::unique_ptr<QTextLayout> layout;

  int position() const { return start; }
  // The position just after the paragraph's mark.
  int end() const { return start + length; }
};

// Reads the document's paragraphs in order and lays them out, on a thread of its own.
class PageLayout::Shaper {
 public:
  Shaper(const QTextDocument& document, const QPaintDevice& device, int width)
      : m_document(document), m_dpi(device.logicalDpiX(), device.logicalDpiY()), m_width(width) {}

  // The next paragraphs in order; false after the last.
  bool take(std::vector<Paragraph>* batch) { return m_producer.take(batch); }

 private:
  // How text of one character format is laid out: when that format is no more than a font
  // and a colour, in that font with a pen of that colour (`look`).
  struct Format {
    std::shared_ptr<const Look> look;
    QFont font;  // for this thread's device
    QRawFont raw;
  };

  const Format& FormatOf(int index, const QTextCharFormat& format, ResolutionDevice* device) {
    const auto found = m_formats.find(index);
    if (found != m_formats.end()) return found->second;
    Format made;
    if (IsFontAndColourOnly(format)) {
      const QFont resolved = format.font().resolve(m_document.defaultFont());
      made.font = QFont(resolved, device);
      made.raw = QRawFont::fromFont(made.font);
      made.look = std::make_shared<const Look>(Look{resolved.toString(),
                                                    format.hasProperty(QTextFormat::ForegroundBrush)
                                                        ? format.foreground().color()
                                                        : QColor(Qt::black),
                                                    FaceKeyOf(made.raw)});
    }
    return m_formats.emplace(index, std::move(made)).first->second;
  }

  void Run(Handoff<std::vector<Paragraph>>& out) {
    ResolutionDevice device(m_dpi.first, m_dpi.second);
    InkReader reader;
    std::vector<Paragraph> batch;
    for (QTextBlock block = m_document.begin(); block.isValid(); block = block.next()) {
      batch.push_back(Make(block, &device, reader));
      if (batch.size() == kBatchParagraphs) {
        if (!out.put(std::move(batch))) return;
        batch.clear();
      }
    }
    if (!batch.empty()) out.put(std::move(batch));
  }

  Paragraph Make(const QTextBlock& block, ResolutionDevice* device, InkReader& reader) {
    Paragraph paragraph;
    paragraph.start = block.position();
    paragraph.length = block.length();
    paragraph.visible = block.isVisible();
    if (!paragraph.visible) return paragraph;

    // As the document's layout does it: the paragraph's own alignment, tabs and direction on
    // the document's text option; lines wrap at words, or anywhere for a longer word, whatever
    // a view of the document does on the screen.
    QTextOption option = m_document.defaultTextOption();
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    const QTextBlockFormat blockFormat = block.blockFormat();
    option.setTextDirection(block.textDirection());
    option.setTabs(blockFormat.tabPositions());
    if (blockFormat.hasProperty(QTextFormat::BlockAlignment)) {
      option.setAlignment(blockFormat.alignment());
    }
    paragraph.text = block.text();
    paragraph.option = option;

    // Nearly every line of a report is one run in one font and colour: laid out in that font
    // with no formats for the layout to resolve it costs much less, and it looks and measures
    // the same, and its glyphs can cross to the printer's thread. Other text takes its own
    // formats, resolved against the document's default font as the document resolves them,
    // and is laid out on the printer's thread; the paragraph mark's format gives an empty
    // paragraph its height.
    const QTextBlock::iterator firstRun = block.begin();
    QTextBlock::iterator secondRun = firstRun;
    if (!secondRun.atEnd()) ++secondRun;
    const Format* format = nullptr;
    if (!firstRun.atEnd() && secondRun.atEnd() && firstRun.fragment().isValid()) {
      format = &FormatOf(firstRun.fragment().charFormatIndex(), firstRun.fragment().charFormat(),
                         device);
    }
    if (format == nullptr || format->look == nullptr) {
      for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (fragment.isValid()) {
          paragraph.formats.append({fragment.position() - block.position(), fragment.length(),
                                    OwnCopy(fragment.charFormat())});
        }
      }
      paragraph.font =
          (paragraph.text.isEmpty() ? block.charFormat().font() : m_document.defaultFont())
              .toString();
      return paragraph;
    }

    paragraph.look = format->look;
    QTextLayout layout(paragraph.text, format->font);
    layout.setTextOption(option);
    paragraph.height = LayOutLines(layout, m_width);
    for (int i = 0; i < layout.lineCount(); ++i) {
      const QTextLine line = layout.lineAt(i);
      paragraph.lines.push_back({line.y(), line.height(), line.textStart()});
      InkLine ink;
      if (!reader.read(line, format->raw, &ink)) {
        // A character of another font: the printer's thread lays it out itself.
        paragraph.lines.clear();
        paragraph.ink.clear();
        paragraph.height = 0;
        paragraph.font = format->look->font;
        return paragraph;
      }
      paragraph.ink.push_back(std::move(ink));
    }
    paragraph.text.clear();  // not needed any more
    return paragraph;
  }

  const QTextDocument& m_document;
  const std::pair<int, int> m_dpi;  // the printer's, across and down
  const int m_width;
  std::unordered_map<int, Format> m_formats;  // by the document's character format index
  // Last: its thread starts once everything above is made.
  Producer<std::vector<Paragraph>> m_producer{
      kBatchesAhead, [this](Handoff<std::vector<Paragraph>>& out) { Run(out); }};
};

PageLayout::PageLayout(const QTextDocument& document)
    : m_document(document), m_end(document.characterCount() - 1) {}

PageLayout::~PageLayout() = default;

void PageLayout::Restart(QPaintDevice* device, int width) {
  m_shaper.reset();
  m_device = device;
  m_width = width;
  m_paragraphs.clear();
  m_arrived.clear();
  m_faces.clear();
  m_nextTop = 0;
  m_shaper = std::make_unique<Shaper>(m_document, *device, width);
}

const PageLayout::Face& PageLayout::FaceOf(const std::shared_ptr<const Look>& look) {
  const auto found = m_faces.find(look);
  if (found != m_faces.end()) return found->second;
  QFont font;
  font.fromString(look->font);
  Face face;
  face.font = QRawFont::fromFont(QFont(font, m_device));
  face.same = FaceKeyOf(face.font) == look->face;
  return m_faces.emplace(look, std::move(face)).first->second;
}

void PageLayout::LayOutHere(Paragraph& paragraph) {
  QFont font;
  font.fromString(paragraph.font);
  auto layout = std::make_unique<QTextLayout>(paragraph.text, font, m_device);
  layout->setTextOption(paragraph.option);
  layout->setFormats(paragraph.formats);
  paragraph.height = LayOutLines(*layout, m_width);
  paragraph.lines.clear();
  for (int i = 0; i < layout->lineCount(); ++i) {
    const QTextLine line = layout->lineAt(i);
    paragraph.lines.push_back({line.y(), line.height(), line.textStart()});
  }
  paragraph.layout = std::move(layout);
}

bool PageLayout::LayOutNext() {
  if (m_arrived.empty()) {
    std::vector<Paragraph> batch;
    if (m_shaper == nullptr || !m_shaper->take(&batch)) return false;
    for (Paragraph& paragraph : batch) m_arrived.push_back(std::move(paragraph));
    if (m_arrived.empty()) return false;
  }
  Paragraph paragraph = std::move(m_arrived.front());
  m_arrived.pop_front();
  if (paragraph.visible) {
    // Glyphs shaped in another face than this thread would draw them in are laid out again.
    if (paragraph.look != nullptr && !paragraph.ink.empty() && !FaceOf(paragraph.look).same) {
      paragraph.ink.clear();
      paragraph.font = paragraph.look->font;
    }
    if (paragraph.ink.empty() && paragraph.layout == nullptr && !paragraph.font.isEmpty()) {
      LayOutHere(paragraph);
    }
  }
  paragraph.top = m_nextTop;
  m_nextTop += paragraph.height;
  m_paragraphs.push_back(std::move(paragraph));
  return true;
}

bool PageLayout::PutInItsColours(GlyphCanvas& canvas, const Paragraph& paragraph, int line,
                                 QPointF origin, const QColor& pen) {
  // Formats of fonts and colours alone that cover the whole paragraph.
  int covered = 0;
  for (const QTextLayout::FormatRange& range : paragraph.formats) {
    if (!IsFontAndColourOnly(range.format)) return false;
    covered += range.length;
  }
  if (covered != paragraph.text.size()) return false;
  const QTextLine laidOut = paragraph.layout->lineAt(line);
  for (const QTextLayout::FormatRange& range : paragraph.formats) {
    const int from = std::max(range.start, laidOut.textStart());
    const int to = std::min(range.start + range.length, laidOut.textStart() + laidOut.textLength());
    if (from >= to) continue;
    const QColor colour = range.format.hasProperty(QTextFormat::ForegroundBrush)
                              ? range.format.foreground().color()
                              : pen;
    canvas.add(laidOut.glyphRuns(from, to - from), origin, colour);
  }
  return true;
}

int PageLayout::FormatRange(GlyphCanvas& canvas, int from, const QRect& target) {
  const int end = endPosition();
  if (from >= end) return end;
  from = std::max(from, 0);
  const int width = std::max(target.width(), 1);
  if (canvas.device() != m_device || width != m_width ||
      (!m_paragraphs.empty() && from < m_paragraphs.front().position())) {
    Restart(canvas.device(), width);
  }
  // The paragraphs of earlier pages are done with.
  while (!m_paragraphs.empty() && m_paragraphs.front().end() <= from) m_paragraphs.pop_front();
  while ((m_paragraphs.empty() || m_paragraphs.back().end() <= from) && LayOutNext()) {
    if (m_paragraphs.size() > 1 && m_paragraphs.front().end() <= from) m_paragraphs.pop_front();
  }
  if (m_paragraphs.empty()) return end;

  // The page begins with the line that holds `from`.
  const Paragraph& first = m_paragraphs.front();
  std::size_t startLine = 0;
  while (startLine + 1 < first.lines.size() &&
         first.lines[startLine + 1].textStart <= from - first.position()) {
    ++startLine;
  }
  const qreal top =
      startLine < first.lines.size() ? first.top + first.lines[startLine].y : first.top;
  const qreal limit = top + target.height();

  // Walk the lines from there until one ends below the page; the first line always goes on
  // the page, so that a line taller than the page cannot stall the printing.
  qreal cut = limit;
  int next = end;
  bool firstLine = true;
  std::size_t lastParagraph = 0;
  std::size_t lastLine = 0;  // the page ends before this line of m_paragraphs[lastParagraph]
  for (std::size_t p = 0; next == end; ++p) {
    if (p == m_paragraphs.size() && !LayOutNext()) break;
    const Paragraph& paragraph = m_paragraphs[p];
    for (std::size_t i = p == 0 ? startLine : 0; i < paragraph.lines.size(); ++i) {
      const Paragraph::Line& line = paragraph.lines[i];
      const qreal y = paragraph.top + line.y;
      if (!firstLine && y + line.height > limit) {
        cut = std::min(y, limit);
        next = paragraph.position() + line.textStart;
        lastParagraph = p;
        lastLine = i;
        break;
      }
      firstLine = false;
    }
  }
  if (next == end) lastParagraph = m_paragraphs.size();

  canvas.beginBand(QPointF(target.left(), target.top() - top),
                   QRectF(0, top, target.width(), cut - top));
  for (std::size_t p = 0; p < m_paragraphs.size() && p <= lastParagraph; ++p) {
    const Paragraph& paragraph = m_paragraphs[p];
    const std::size_t stop = p == lastParagraph ? lastLine : paragraph.lines.size();
    const QPointF origin(0, paragraph.top);
    const QColor pen = paragraph.look != nullptr ? paragraph.look->pen : QColor(Qt::black);
    for (std::size_t i = p == 0 ? startLine : 0; i < stop; ++i) {
      // A canvas that refuses a font or a format is given up on by its owner, so what is
      // refused is simply not put.
      if (!paragraph.ink.empty()) {
        canvas.add(FaceOf(paragraph.look).font, paragraph.ink[i], origin, pen);
      } else if (paragraph.look != nullptr) {
        // One font and colour: its glyphs.
        canvas.add(paragraph.layout->lineAt(static_cast<int>(i)), origin, pen);
      } else if (!PutInItsColours(canvas, paragraph, static_cast<int>(i), origin, pen)) {
        canvas.draw(paragraph.layout->lineAt(static_cast<int>(i)), origin, pen);
      }
    }
  }
  canvas.endBand();
  return next;
}

}  // namespace reports
