// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Lines of text for a printer as the glyphs that put ink on the paper, and what lets them be
// shaped on one thread and drawn on another.
//
// A printer (and the PDF file printer) spends its work per glyph: every glyph handed to it
// becomes a positioned text operator of its own. A report's lines carry many blanks (the
// indent of every change line, the gaps between its columns), and a blank puts nothing on the
// paper, so its glyph is left out: the other glyphs keep their laid-out places, and a reader
// of the printed text still sees a gap, hence a word break, where a blank was.
//
// Shaping a line costs about as much as the printer's own work for it, so the print routes
// shape on a thread of their own while the printer works on the calling thread. Fonts cannot
// be handed between threads (each thread has its own font engines), so a shaped line crosses
// as glyph indexes and positions (InkLine), drawn in the calling thread's own font of the same
// face and size (FaceKey tells whether two fonts are that).
//
// The routes put what they print on a GlyphCanvas: a printer through its painter, or a PDF
// file written directly (glyph_pdf.h), which takes glyphs only.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include <QByteArray>
#include <QColor>
#include <QGlyphRun>
#include <QHash>
#include <QList>
#include <QPaintDevice>
#include <QPointF>
#include <QRawFont>
#include <QString>

QT_BEGIN_NAMESPACE
class QPagedPaintDevice;
class QPainter;
class QRectF;
class QTextLine;
QT_END_NAMESPACE

namespace reports {

// The glyphs of one line of one font that put ink on the paper, at their positions relative
// to the origin of the line's layout.
struct InkLine {
  QList<std::uint32_t> glyphs;
  QList<QPointF> positions;
};

// What makes two fonts draw the same glyph indexes alike: the face and its size.
struct FaceKey {
  QString family;
  QString style;
  qreal pixelSize = 0;
  int weight = 0;
  int slant = 0;
  QByteArray head;  // the face's 'head' table: its version, dates and check sum

  friend bool operator==(const FaceKey&, const FaceKey&) = default;
};
[[nodiscard]] FaceKey FaceKeyOf(const QRawFont& font);

// Takes the inked glyphs out of laid-out lines; knows, per font met, which glyphs are blank.
class InkReader {
 public:
  // Fills `*ink` with the inked glyphs of `line`, all of them of `font`; false (and `*ink`
  // unusable) when some glyph of the line is of another font (a fallback for a character
  // `font` lacks).
  bool read(const QTextLine& line, const QRawFont& font, InkLine* ink);

  // The glyph runs of `line` with their blank glyphs left out, each with its font.
  std::vector<std::pair<QRawFont, InkLine>> runs(const QTextLine& line);
  std::vector<std::pair<QRawFont, InkLine>> runs(const QList<QGlyphRun>& runs);

 private:
  enum class Ink : std::uint8_t { kUnknown, kInked, kBlank };
  // Appends the inked glyphs of `run` to `*ink`.
  void Append(const QGlyphRun& run, InkLine* ink);

  QHash<QRawFont, std::vector<Ink>> m_ink;  // by glyph index, for each font met
};

// Draws inked glyphs, the glyphs of consecutive lines of one font and colour handed to the
// printer as one run: a printer's work for a run of text (saving and restoring its state,
// setting colour, font and text matrix) then comes once for many lines, and the text keeps its
// order for a reader of the printed file. Each glyph is placed at its position rounded to the
// device's own grid (a printer places glyphs at its dots anyway): at a printer's resolution
// that moves a glyph by less than half a dot, and it keeps the positions the printer is given
// short.
class InkRun {
 public:
  // Adds the glyphs of `ink` in `font` and `colour`, the line's layout having its origin at
  // `origin`; a run of another font or colour is drawn first.
  void add(QPainter& painter, const QRawFont& font, const InkLine& ink, QPointF origin,
           const QColor& colour);
  // Draws the run. Call it before the painter's transform or clip changes, before anything
  // else is drawn that must come after the run, and before the page ends.
  void flush(QPainter& painter);

 private:
  QGlyphRun m_run;
  QColor m_pen;
  QList<std::uint32_t> m_glyphs;
  QList<QPointF> m_positions;
};

// Where a print route puts what it prints: a printer through its painter (PainterCanvas), or
// a PDF file written directly (PdfCanvas, in glyph_pdf.h). Positions are in the device's
// units, shifted by the band begun last.
class GlyphCanvas {
 public:
  virtual ~GlyphCanvas() = default;

  // The device lines are laid out for: its resolution decides the size of a point.
  virtual QPaintDevice* device() = 0;
  // Puts the glyphs of `ink` in `font` and `colour`, the line's layout having its origin at
  // `origin`; false, and nothing put, when glyphs of `font` cannot go on this canvas.
  virtual bool add(const QRawFont& font, const InkLine& ink, QPointF origin,
                   const QColor& colour) = 0;
  // Draws `line` with everything its formats say (underline, background), text without a
  // colour of its own in `pen`; false, and nothing drawn, when this canvas takes glyphs only.
  virtual bool draw(const QTextLine& line, QPointF origin, const QColor& pen) = 0;
  // Until endBand(), shifts what is put by `shift` and clips it to `clip` (before the shift).
  virtual void beginBand(QPointF shift, const QRectF& clip) = 0;
  virtual void endBand() = 0;
  // Ends the page and begins the next.
  virtual void newPage() = 0;
  // Whether this canvas refused something: what is on it then is not the print.
  virtual bool refused() const = 0;

  // Puts the inked glyphs of laid-out `line` (or of some of its glyph runs) in `colour`, every
  // run in its own font; false when a font of it cannot go on this canvas.
  bool add(const QTextLine& line, QPointF origin, const QColor& colour);
  bool add(const QList<QGlyphRun>& runs, QPointF origin, const QColor& colour);

 private:
  InkReader m_reader;
};

// Draws through a painter; what is put goes out at the latest when the page ends, a band
// ends, or this is destroyed.
class PainterCanvas final : public GlyphCanvas {
 public:
  // `painter` is active on `device`.
  PainterCanvas(QPainter& painter, QPagedPaintDevice& device);
  ~PainterCanvas() override;
  PainterCanvas(const PainterCanvas&) = delete;
  PainterCanvas& operator=(const PainterCanvas&) = delete;

  using GlyphCanvas::add;
  QPaintDevice* device() override;
  bool add(const QRawFont& font, const InkLine& ink, QPointF origin, const QColor& colour) override;
  bool draw(const QTextLine& line, QPointF origin, const QColor& pen) override;
  void beginBand(QPointF shift, const QRectF& clip) override;
  void endBand() override;
  void newPage() override;
  bool refused() const override { return false; }

 private:
  QPainter& m_painter;
  QPagedPaintDevice& m_device;
  InkRun m_run;
};

// A paint device that is nothing but a resolution: fonts made for it on a shaping thread
// measure as they would on the printer, which belongs to the calling thread.
class ResolutionDevice final : public QPaintDevice {
 public:
  ResolutionDevice(int dpiX, int dpiY) : m_dpiX(dpiX), m_dpiY(dpiY) {}
  QPaintEngine* paintEngine() const override { return nullptr; }

 protected:
  int metric(PaintDeviceMetric metric) const override;

 private:
  int m_dpiX;
  int m_dpiY;
};

// Hands items from one thread to another in order, at most `capacity` waiting, so that memory
// stays bounded however far the producer could run ahead.
template <typename T>
class Handoff {
 public:
  explicit Handoff(std::size_t capacity) : m_capacity(capacity) {}

  // Waits for room; false (and `item` dropped) once the taker has closed.
  bool put(T item) {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_room.wait(lock, [this] { return m_closed || m_items.size() < m_capacity; });
    if (m_closed) return false;
    m_items.push_back(std::move(item));
    if (m_items.size() == 1) m_filled.notify_one();
    return true;
  }
  // Waits for the next item; false once the producer has finished and all are taken.
  bool take(T* item) {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_filled.wait(lock, [this] { return m_finished || !m_items.empty(); });
    if (m_items.empty()) return false;
    *item = std::move(m_items.front());
    m_items.pop_front();
    if (m_items.size() + 1 == m_capacity) m_room.notify_one();
    return true;
  }
  // The producer has no more items.
  void finish() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_finished = true;
    m_filled.notify_all();
  }
  // The taker wants no more items: a waiting producer gives up.
  void close() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_closed = true;
    m_items.clear();
    m_room.notify_all();
  }

 private:
  const std::size_t m_capacity;
  std::mutex m_mutex;
  std::condition_variable m_room;
  std::condition_variable m_filled;
  std::deque<T> m_items;
  bool m_finished = false;
  bool m_closed = false;
};

// Makes items on a thread of its own and hands them over in order through a Handoff. The
// thread starts when this is constructed (so it is best the last member of its owner) and is
// stopped and joined when this is destroyed, at the latest when it next hands an item over.
template <typename T>
class Producer {
 public:
  // `produce` puts its items into the Handoff it is given, and gives up once a put fails.
  Producer(std::size_t capacity, std::function<void(Handoff<T>&)> produce)
      : m_handoff(capacity), m_thread([this, produce = std::move(produce)] {
          produce(m_handoff);
          m_handoff.finish();
        }) {}
  ~Producer() {
    m_handoff.close();
    m_thread.join();
  }
  Producer(const Producer&) = delete;
  Producer& operator=(const Producer&) = delete;

  // The next item; false after the last.
  bool take(T* item) { return m_handoff.take(item); }

 private:
  Handoff<T> m_handoff;
  std::thread m_thread;
};

}  // namespace reports
