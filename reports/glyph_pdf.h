// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// A PDF file written straight from positioned glyphs, a page at a time.
//
// The print routes put nothing on paper but glyphs of a font or two, in a few colours. Qt's
// PDF engine spends its work per glyph (a positioning and a text operator for each, every page
// compressed at zlib's default level), and that was most of a print's time. This writer puts
// the glyphs of a line into one text operator with the offsets between them, compresses each
// page at a fast level, and embeds each font once, cut down to the glyphs it drew. It writes
// only glyphs: of TrueType fonts whose licence allows embedding (CanEmbed), in flat colours,
// clipped to the printable area and to bands of it. A print that needs anything else (a
// PostScript font, an underline) goes through Qt's engine instead (PdfCanvas tells).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <QColor>
#include <QPointF>
#include <QRawFont>
#include <QSize>
#include <QSizeF>
#include <QString>

#include "reports/inked_glyphs.h"

QT_BEGIN_NAMESPACE
class QIODevice;
class QPageLayout;
class QRectF;
QT_END_NAMESPACE

namespace reports {

// The paper a GlyphPdf is printed on, and the device units its glyphs are placed in.
struct PdfPaper {
  QSizeF points;          // the whole paper, in points (1/72 inch)
  QPointF printableAt;    // the printable area's top-left corner, in points from the paper's
  QSize printable;        // the printable area, in device units
  int resolution = 1200;  // device units per inch

  // The paper of `layout`, as Qt's PDF engine sees it at `resolution`.
  static PdfPaper Of(const QPageLayout& layout, int resolution);
};

class GlyphPdf {
 public:
  // Writes to `out`, which must stay open until finish() has returned; `title` goes into the
  // document's information.
  GlyphPdf(QIODevice& out, const PdfPaper& paper, const QString& title);
  ~GlyphPdf();
  GlyphPdf(const GlyphPdf&) = delete;
  GlyphPdf& operator=(const GlyphPdf&) = delete;

  // Whether glyphs of `font` can be written: its outlines are TrueType ones and its licence
  // does not forbid embedding it.
  [[nodiscard]] static bool CanEmbed(const QRawFont& font);

  // Puts the glyphs of `ink` on the page, in `font` (REQUIRES: CanEmbed(font)) and `colour`,
  // the line's layout having its origin at `origin`: device units from the printable area's
  // top-left corner, downwards. Each glyph is placed at its position rounded to the device's
  // grid, as a printer places it at its dots.
  void add(const QRawFont& font, const InkLine& ink, QPointF origin,
           const QColor& colour = Qt::black);
  // Clips what is put to `band` (device units, as positions) until endBand(); bands do not
  // nest, and a page ends any.
  void beginBand(const QRectF& band);
  void endBand();
  // Ends the page and begins the next.
  void newPage();
  // Ends the last page and writes the fonts and the document's structure. Whether `out` took
  // every byte is for its owner to ask.
  void finish();

 private:
  struct Font;
  void Write(std::string_view bytes);
  int NewObject();
  void BeginObject(int number);
  // A stream object; `compression` is a zlib level, 0 for none.
  void WriteStream(int number, std::string_view dictionary, const std::string& data,
                   int compression);
  void EndPage();
  Font& FontOf(const QRawFont& font);
  void WriteFont(const Font& font);

  QIODevice& m_out;
  const PdfPaper m_paper;
  const QString m_title;
  std::int64_t m_written = 0;
  std::vector<std::int64_t> m_offsets;  // of each object, by its number less one
  std::vector<int> m_pages;             // the page objects
  int m_pagesObject = 0;
  int m_resourcesObject = 0;
  std::string m_content;                       // of the page being printed
  std::vector<std::unique_ptr<Font>> m_fonts;  // in the order met
  QRawFont m_lastRaw;                          // the font last added, and its Font
  Font* m_lastFont = nullptr;
  // The text state of the page being printed, and what it was when the band began.
  struct TextState {
    const Font* font = nullptr;
    qreal size = 0;
    QColor colour = Qt::black;
  };
  TextState m_state;
  TextState m_outsideBand;
  bool m_inBand = false;
};

// A canvas of a GlyphPdf's pages. It takes glyphs of the fonts GlyphPdf can embed and refuses
// the rest, and lines of other formats: once it has refused something, its PDF is not the
// print, and the print is to be made through Qt's engine instead.
class PdfCanvas final : public GlyphCanvas {
 public:
  // Lines are laid out at the resolution of `pdf`'s paper.
  PdfCanvas(GlyphPdf& pdf, int resolution);

  using GlyphCanvas::add;
  QPaintDevice* device() override { return &m_device; }
  bool add(const QRawFont& font, const InkLine& ink, QPointF origin, const QColor& colour) override;
  bool draw(const QTextLine& line, QPointF origin, const QColor& pen) override;
  void beginBand(QPointF shift, const QRectF& clip) override;
  void endBand() override;
  void newPage() override;
  bool refused() const override { return m_refused; }

 private:
  GlyphPdf& m_pdf;
  ResolutionDevice m_device;
  std::vector<QRawFont> m_embeddable;
  QPointF m_shift;
  bool m_refused = false;
};

}  // namespace reports
