// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/report_printer.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFontMetricsF>
#include <QLocale>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRawFont>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextLine>

#include "engine/settings_record.h"
#include "platform/file_system.h"
#include "platform/locale_format.h"
#include "platform/qt/native_path.h"
#include "reports/glyph_pdf.h"
#include "reports/inked_glyphs.h"
#include "reports/page_layout.h"
#include "reports/plain_text.h"
#include "reports/print_rules.h"
#include "reports/printers.h"
#include "reports/replace_file.h"

namespace reports {
namespace {

// The PDF file printer keeps the unprintable edges of a common office laser printer (a
// quarter inch at the sides, a sixth at top and bottom), so that its headers and margins sit
// where a real printer puts them.
constexpr double kPdfUnprintableSides = 0.25;
constexpr double kPdfUnprintableTopBottom = 1.0 / 6;
constexpr int kPdfResolution = 1200;

PrintResult Failure(const QString& message) {
  PrintResult result;
  result.outcome = PrintResult::Outcome::kFailed;
  result.message =
      QCoreApplication::translate("reports::Printing", "Cannot print: %1").arg(message);
  return result;
}

QString FromStatus(const base::Status& status) { return QString::fromStdString(status.message()); }

// The modification time of the view's file in the general date format.
base::Result<QString> CreatedTextOf(platform::FileSystem& fs, const QString& currentFile,
                                    const platform::LocaleFormat& locale) {
  if (currentFile.isEmpty()) {
    return QString::fromStdString(
        locale.generalDate(locale.toLocal(QDateTime::currentSecsSinceEpoch())));
  }
  auto written = fs.modificationTime(platform::NativeBytes(currentFile));
  if (!written.isOk()) return written.status();
  return QString::fromStdString(locale.generalDate(locale.toLocal(written.value())));
}

// Converts between twips and the device units of one printer.
struct Twips {
  double dpiX;
  double dpiY;

  double toX(double twips) const { return twips * dpiX / kTwipsPerInch; }
  double toY(double twips) const { return twips * dpiY / kTwipsPerInch; }
  double fromX(double units) const { return units * kTwipsPerInch / dpiX; }
  double fromY(double units) const { return units * kTwipsPerInch / dpiY; }
};

// What both routes need to know of the paper they print on.
struct Sheet {
  Twips twips;
  QRect full;       // the paper, in device units, relative to the printable area
  QRect printable;  // the printable area, from (0, 0)
};

Sheet SheetOf(const QPageLayout& layout, int dpiX, int dpiY) {
  const QRect paint = layout.paintRectPixels(dpiY);
  const QRect full = layout.fullRectPixels(dpiY).translated(-paint.topLeft());
  return {{static_cast<double>(dpiX), static_cast<double>(dpiY)},
          full,
          QRect(QPoint(0, 0), paint.size())};
}

struct Headers {
  QString source;
  QString created;
};

// Prints `text` in `font` with its top at the page's top-left corner, as a printer prints a
// line at its current position.
void PrintHeader(GlyphCanvas& canvas, const QFont& font, const QString& text) {
  const QFont deviceFont(font, canvas.device());
  const QFontMetricsF metrics(deviceFont, canvas.device());
  QTextLayout layout(text, deviceFont, canvas.device());
  layout.beginLayout();
  QTextLine line = layout.createLine();
  line.setLineWidth(std::numeric_limits<int>::max() / 256);
  layout.endLayout();
  canvas.add(line, QPointF(0, metrics.ascent() - line.ascent()), Qt::black);
}

// Returns the number of pages printed.
int PrintColour(GlyphCanvas& canvas, const Sheet& sheet, PageLayout& layout, const QFont& viewFont,
                const std::optional<QFont>& printerFont, const engine::SettingsRecord& settings,
                const Headers& headers) {
  // The first header goes out in whatever font the printer has now: a printer not printed on
  // yet has the program's default font.
  PrintHeader(canvas, printerFont.value_or(QFont()),
              ColourHeader(headers.source, headers.created, 1));

  const Twips& t = sheet.twips;
  const QRect& full = sheet.full;
  const PaperTwips paper{std::llround(t.fromX(full.width())), std::llround(t.fromY(full.height())),
                         std::llround(t.fromX(-full.left())), std::llround(t.fromY(-full.top()))};
  const TwipsRect body = ColourBodyRect(settings, paper);
  const int left = static_cast<int>(std::lround(t.toX(static_cast<double>(body.left))));
  const int top = static_cast<int>(std::lround(t.toY(static_cast<double>(body.top))));
  const QRect target(left, top,
                     static_cast<int>(std::lround(t.toX(static_cast<double>(body.right)))) - left,
                     static_cast<int>(std::lround(t.toY(static_cast<double>(body.bottom)))) - top);

  int pageNumber = 1;
  int start = 0;
  while (!canvas.refused()) {
    ++pageNumber;
    const int next = layout.FormatRange(canvas, start, target);
    if (next >= layout.endPosition()) break;
    start = next;
    canvas.newPage();
    PrintHeader(canvas, viewFont, ColourHeader(headers.source, headers.created, pageNumber));
  }
  return pageNumber - 1;
}

// Where a line too wide for the paper is broken: after the longest beginning that fits
// (at least one character), moved back to just after its last blank or path separator when
// that keeps at least half of it, so names and paths break where a reader expects.
qsizetype WrapPoint(const QString& text, const std::function<bool(const QString&)>& tooWide) {
  qsizetype fits = 1;  // the longest beginning known to fit, or the first character
  qsizetype over = text.size();
  while (over - fits > 1) {
    const qsizetype middle = fits + (over - fits) / 2;
    (tooWide(text.left(middle)) ? over : fits) = middle;
  }
  qsizetype cut = fits;
  for (qsizetype i = fits - 1; i >= fits / 2 && i > 0; --i) {
    const QChar c = text[i];
    if (c == u' ' || c == u'/' || c == u'\\') {
      cut = i + 1;
      break;
    }
  }
  // Never between the two halves of a character outside the basic plane.
  if (cut > 1 && text[cut - 1].isHighSurrogate()) --cut;
  return cut;
}

// One line of the black-and-white route, shaped once: measured for the width limits and
// drawn from the same shaping. The one line asked for last is kept.
class ShapedLine {
 public:
  ShapedLine(const QFont& font, QPaintDevice* device) : m_font(font, device) {}

  // The width of `text` in device units.
  qreal width(const QString& text) { return Shape(text).horizontalAdvance(); }
  // Puts `text` on `canvas` with its baseline at `baseline`.
  void draw(GlyphCanvas& canvas, QPointF baseline, const QString& text) {
    const QTextLine line = Shape(text);
    canvas.add(line, QPointF(baseline.x(), baseline.y() - line.ascent()), Qt::black);
  }
  // The line of `text`, laid out.
  QTextLine Shape(const QString& text) {
    if (m_layout == nullptr || m_layout->text() != text) {
      QTextOption option;
      option.setWrapMode(QTextOption::NoWrap);
      m_layout = std::make_unique<QTextLayout>(text, m_font);
      m_layout->setTextOption(option);
      m_layout->setCacheEnabled(true);
      m_layout->beginLayout();
      m_layout->createLine().setLineWidth(std::numeric_limits<int>::max() / 256);
      m_layout->endLayout();
    }
    return m_layout->lineAt(0);
  }
  const QFont& font() const { return m_font; }

 private:
  QFont m_font;
  std::unique_ptr<QTextLayout> m_layout;
};

// A line of the black-and-white route as it is to be printed: its text, and its inked glyphs
// when they are all of the route's font.
struct PlainLine {
  QString text;
  bool inked = false;
  InkLine ink;
  qreal ascent = 0;  // of its layout's line, whose top is the baseline less this
};
using PlainBatch = std::vector<PlainLine>;
// Lines go from the shaping thread to the printer this many at a time, at most a few batches
// ahead: a wake-up per line would cost more than its shaping.
constexpr std::size_t kPlainBatchLines = 128;
constexpr std::size_t kPlainBatchesAhead = 8;
// How much of the black-and-white route's work file is read at a time.
constexpr std::size_t kWorkPieceBytes = 64 * 1024;

// What the shaping thread of the black-and-white route needs of the page, in twips.
struct PlainWidths {
  Twips twips;
  long long limit;        // the paper's width less the margins: where change lines are cut
  double printableLimit;  // what the printable area leaves: where any line goes on
};

// Reads the work file and turns its lines into the lines to print, marked and split as the
// route prints them, shaped in `font` on a thread of its own, ahead of the printer.
class PlainShaper {
 public:
  // `work` is open for reading and used by the shaping thread alone until this is destroyed.
  // `font` is taken as its description: a font belongs to the thread that uses it.
  PlainShaper(platform::SequentialFile& work, const QFont& font, const QPaintDevice& device,
              PlainWidths widths)
      : m_work(work),
        m_font(font.toString()),
        m_dpi(device.logicalDpiX(), device.logicalDpiY()),
        m_widths(widths) {}

  // The next batch of lines; false after the last.
  bool take(PlainBatch* batch) { return m_producer.take(batch); }
  // The face the glyphs are of. REQUIRES: take() has returned.
  const FaceKey& face() const { return m_face; }
  // Empty unless reading the work file failed. REQUIRES: take() has returned false.
  const QString& error() const { return m_error; }

 private:
  void Run(Handoff<PlainBatch>& out) {
    ResolutionDevice device(m_dpi.first, m_dpi.second);
    QFont font;
    font.fromString(m_font);
    ShapedLine shaped(font, &device);
    const QRawFont raw = QRawFont::fromFont(shaped.font());
    m_face = FaceKeyOf(raw);
    InkReader reader;
    const Twips& t = m_widths.twips;
    const auto tooWide = [&](const QString& line) {
      return t.fromX(shaped.width(line)) > static_cast<double>(m_widths.limit);
    };
    const auto beyondPrintable = [&](const QString& line) {
      return t.fromX(shaped.width(line)) > m_widths.printableLimit;
    };
    PlainBatch batch;
    bool open = true;
    const auto add = [&](const QString& text) {
      PlainLine line;
      line.text = text;
      const QTextLine layout = shaped.Shape(text);
      line.inked = reader.read(layout, raw, &line.ink);
      if (!line.inked) line.ink = {};
      line.ascent = layout.ascent();
      batch.push_back(std::move(line));
      if (batch.size() == kPlainBatchLines) {
        open = out.put(std::move(batch));
        batch.clear();
      }
    };
    // What is still wider than the printable area after the marking (a long folder header,
    // an Added line of a long name) goes on to further lines: paper has no scroll bar, and a
    // cut-off name is a lost one.
    const auto addFitted = [&](QString text) {
      while (beyondPrintable(text)) {
        const qsizetype cut = WrapPoint(text, beyondPrintable);
        add(text.left(cut));
        text.remove(0, cut);
      }
      add(text);
    };

    // The work file a piece at a time; `text` holds what is read and not yet printed, from
    // `start` on.
    std::string text;
    std::size_t start = 0;
    std::string piece(kWorkPieceBytes, '\0');
    bool atEnd = false;
    while (open) {
      std::size_t lineEnd = text.find('\n', start);
      if (lineEnd == std::string::npos && !atEnd) {
        std::size_t got = 0;
        if (const base::Status s = m_work.read(piece.size(), piece.data(), &got); !s.isOk()) {
          m_error = FromStatus(s);
          break;
        }
        text.erase(0, start);
        start = 0;
        text.append(piece.data(), got);
        atEnd = got == 0;
        continue;
      }
      if (lineEnd == std::string::npos) lineEnd = text.size();
      if (start == lineEnd && atEnd) break;  // nothing after the last line end
      std::string_view bytes(text.data() + start, lineEnd - start);
      start = std::min(lineEnd + 1, text.size());
      while (bytes.ends_with('\r')) bytes.remove_suffix(1);
      const PlainPrintLine line = MarkPlainLine(
          QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size())), tooWide);
      addFitted(line.first);
      if (line.continuation) addFitted(*line.continuation);
    }
    if (open && !batch.empty()) out.put(std::move(batch));
  }

  platform::SequentialFile& m_work;
  const QString m_font;
  const std::pair<int, int> m_dpi;  // the printer's, across and down
  const PlainWidths m_widths;
  FaceKey m_face;
  QString m_error;
  // Last: its thread starts once everything above is made.
  Producer<PlainBatch> m_producer{kPlainBatchesAhead,
                                  [this](Handoff<PlainBatch>& out) { Run(out); }};
};

// Prints the lines of `work` in `font` on `canvas`; returns the number of pages printed. Stops
// early when the canvas refuses something.
base::Result<int> PrintPlain(GlyphCanvas& canvas, const Sheet& sheet,
                             platform::SequentialFile& work, const QFont& font,
                             const engine::SettingsRecord& settings, const Headers& headers) {
  QPaintDevice& device = *canvas.device();
  const QFontMetricsF metrics(font, &device);
  const Twips& t = sheet.twips;
  ShapedLine shaped(font, &device);

  // Unrounded, as positions; the limit is a plain integer so that no page is too wide for it.
  const double leftTwips = engine::StoredToInches(settings.LeftMargin) * kTwipsPerInch;
  const double topTwips = engine::StoredToInches(settings.TopMargin) * kTwipsPerInch;
  const long long limit =
      std::llround(t.fromX(sheet.full.width()) - leftTwips - kPlainRightAllowance);
  const double lineTwips = t.fromY(metrics.lineSpacing());
  // The limit above is measured on the paper, but lines are printed from the printable
  // area's left edge: what they may really take ends before its right edge.
  const double printableLimit = t.fromX(sheet.printable.width()) - leftTwips - kPlainRightAllowance;

  double y = topTwips;
  int pageNumber = 1;
  const auto baseline = [&] { return QPointF(t.toX(leftTwips), t.toY(y) + metrics.ascent()); };
  const auto print = [&](const QString& line) {
    shaped.draw(canvas, baseline(), line);
    y += lineTwips;
  };
  const auto printHeader = [&] {
    print(PlainHeader(headers.source, headers.created, pageNumber));
    print(QStringLiteral(" "));
  };

  printHeader();
  PlainShaper shaper(work, font, device, {t, limit, printableLimit});
  const QRawFont raw = QRawFont::fromFont(QFont(font, &device));
  std::optional<bool> sameFace;  // whether the shaper's glyphs are of `raw`'s face
  PlainBatch batch;
  while (!canvas.refused() && shaper.take(&batch)) {
    if (!sameFace) sameFace = shaper.face() == FaceKeyOf(raw);
    for (const PlainLine& line : batch) {
      if (y > kPlainPageFull) {
        ++pageNumber;
        canvas.newPage();
        y = topTwips;
        printHeader();
      }
      if (line.inked && *sameFace) {
        const QPointF at = baseline();
        canvas.add(raw, line.ink, QPointF(at.x(), at.y() - line.ascent), Qt::black);
        y += lineTwips;
      } else {
        print(line.text);
      }
    }
  }
  if (!shaper.error().isEmpty()) return base::Status::ioError(shaper.error().toStdString());
  return pageNumber;
}

// Removes the work file it was given when it goes out of scope, whatever happened.
class WorkFileRemover {
 public:
  WorkFileRemover(platform::FileSystem& fs, std::string path) : m_fs(fs), m_path(std::move(path)) {}
  ~WorkFileRemover() { (void)m_fs.remove(m_path); }
  WorkFileRemover(const WorkFileRemover&) = delete;
  WorkFileRemover& operator=(const WorkFileRemover&) = delete;

 private:
  platform::FileSystem& m_fs;
  const std::string m_path;
};

}  // namespace

PrintResult PrintReport(const PrintRequest& request, const engine::SettingsRecord& settings,
                        const platform::LocaleFormat& locale, PrinterChoice* printer) {
  const QTextDocument& view = *request.view;
  if (view.isEmpty()) {
    PrintResult result;
    result.outcome = PrintResult::Outcome::kNothingToPrint;
    result.message = QCoreApplication::translate("reports::Printing", kNothingToPrint);
    return result;
  }
  const bool colour = settings.PrintColor == 1;
  platform::FileSystem& fs = *request.fileSystem;
  base::Result<QString> created = CreatedTextOf(fs, request.currentFile, locale);
  if (!created.isOk()) return Failure(FromStatus(created.status()));
  const Headers headers{SourceNameOf(request.currentFile), created.value()};

  const PrinterEntry target = printer->current();
  QString pdfPath;
  if (target.isPdfFile) {
    // The report's name without its last extension.
    const QString name = SourceNameOf(request.currentFile);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString base = dot < 0 ? name : name.left(dot);
    pdfPath =
        QDir(request.reportsFolder)
            .filePath((base.isEmpty() ? QStringLiteral("Untitled") : base) + QLatin1String(".pdf"));
    const auto absolute = [](const QString& path) {
      return QDir::cleanPath(QDir().absoluteFilePath(path));
    };
    if (!request.currentFile.isEmpty() && absolute(pdfPath) == absolute(request.currentFile)) {
      return Failure(QDir::toNativeSeparators(pdfPath) +
                     QCoreApplication::translate(
                         "reports::Printing", ": the printed PDF would replace the report itself"));
    }
  } else if (QPrinterInfo::printerInfo(target.name).isNull()) {
    return Failure(
        QCoreApplication::translate("reports::Printing", "the printer \"%1\" is not available")
            .arg(target.name));
  }

  // Everything the print needs from the view is taken now: the routes never touch it again.
  std::unique_ptr<PageLayout> layout;
  QFont viewFont = view.defaultFont();
  viewFont.setPointSize(10);
  QFont plainFont(QStringLiteral("Arial"));
  plainFont.setPointSize(10);
  std::unique_ptr<platform::SequentialFile> work;
  std::unique_ptr<WorkFileRemover> removeWork;
  const QString workPath =
      QDir(request.programFolder).filePath(QString::fromLatin1(kPlainWorkFileName));
  const auto openWork = [&]() -> base::Status {
    auto opened = fs.openForReading(platform::NativeBytes(workPath));
    if (!opened.isOk()) return opened.status();
    work = std::move(opened).value();
    return base::Status::ok();
  };
  if (colour) {
    layout = std::make_unique<PageLayout>(view);
  } else {
    // Written like every other file of the program, so that a link planted in its place is
    // replaced rather than written through.
    const base::Status written = ReplaceFileWith(fs, workPath, [&](QIODevice& out) {
      // A piece at a time: the text of a long report is never held whole.
      if (!PlainTextOf(view, [&out](QByteArrayView piece) {
            return out.write(piece.data(), piece.size()) == piece.size();
          })) {
        return base::Status::ioError(
            (QDir::toNativeSeparators(workPath) + QLatin1String(": ") + out.errorString())
                .toStdString());
      }
      return base::Status::ok();
    });
    if (!written.isOk()) return Failure(FromStatus(written));
    removeWork = std::make_unique<WorkFileRemover>(fs, platform::NativeBytes(workPath));
    if (const base::Status opened = openWork(); !opened.isOk()) return Failure(FromStatus(opened));
  }

  // Prints the route on `canvas`, on paper of `sheet`.
  int pages = 0;
  const auto printOn = [&](GlyphCanvas& canvas, const Sheet& sheet) -> base::Status {
    if (colour) {
      pages =
          PrintColour(canvas, sheet, *layout, viewFont, printer->printerFont(), settings, headers);
      return base::Status::ok();
    }
    base::Result<int> printed = PrintPlain(canvas, sheet, *work, plainFont, settings, headers);
    if (!printed.isOk()) return printed.status();
    pages = printed.value();
    return base::Status::ok();
  };
  const auto print = [&](QPagedPaintDevice& device) -> base::Status {
    QPainter painter;
    if (!painter.begin(&device)) {
      return base::Status::ioError(QStringLiteral("the printer \"%1\" did not start the job")
                                       .arg(target.name)
                                       .toStdString());
    }
    const Sheet sheet = SheetOf(device.pageLayout(), device.logicalDpiX(), device.logicalDpiY());
    // A printer prints nothing outside its printable area; the PDF file printer neither.
    painter.setClipRect(sheet.printable);
    base::Status status;
    {
      PainterCanvas canvas(painter, device);
      status = printOn(canvas, sheet);
    }
    painter.end();
    return status;
  };

  PrintResult result;
  if (target.isPdfFile) {
    const bool us = QLocale::system().measurementSystem() == QLocale::ImperialUSSystem;
    const QPageLayout paper(QPageSize(us ? QPageSize::Letter : QPageSize::A4),
                            QPageLayout::Portrait,
                            QMarginsF(kPdfUnprintableSides, kPdfUnprintableTopBottom,
                                      kPdfUnprintableSides, kPdfUnprintableTopBottom),
                            QPageLayout::Inch);
    // The program writes the PDF itself unless the print needs a font it cannot embed or a
    // format other than font and colour; then Qt's PDF engine writes it.
    bool direct = !request.qtPdfEngine;
    base::Status status;
    if (direct) {
      status = ReplaceFileWith(fs, pdfPath, [&](QIODevice& out) -> base::Status {
        GlyphPdf pdf(out, PdfPaper::Of(paper, kPdfResolution), headers.source);
        PdfCanvas canvas(pdf, kPdfResolution);
        const base::Status printed =
            printOn(canvas, SheetOf(paper, kPdfResolution, kPdfResolution));
        if (canvas.refused()) {
          direct = false;
          return base::Status::cancelled();
        }
        if (!printed.isOk()) return printed;
        pdf.finish();
        return base::Status::ok();
      });
      // The work file is read again from its start; the colour route's layout starts again
      // by itself on another device.
      if (!direct && !colour) {
        if (const base::Status opened = openWork(); !opened.isOk()) {
          return Failure(FromStatus(opened));
        }
      }
    }
    if (!direct) {
      status = ReplaceFileWith(fs, pdfPath, [&](QIODevice& out) {
        QPdfWriter writer(&out);
        writer.setResolution(kPdfResolution);
        writer.setCreator(QStringLiteral("Brinvale"));
        writer.setTitle(headers.source);
        writer.setPageLayout(paper);
        return print(writer);
      });
    }
    if (!status.isOk()) return Failure(FromStatus(status));
    result.pdfPath = QDir::toNativeSeparators(pdfPath);
  } else {
    QPrinter device(QPrinter::HighResolution);
    device.setPrinterName(target.name);
    device.setDocName(headers.source);
    if (base::Status s = print(device); !s.isOk()) return Failure(FromStatus(s));
    if (device.printerState() == QPrinter::Error) {
      return Failure(
          QCoreApplication::translate("reports::Printing", "the printer \"%1\" reported an error")
              .arg(target.name));
    }
  }
  // The route's font stays on the printer for the next print's first header; a failed
  // print leaves the printer as it was.
  printer->setPrinterFont(colour ? viewFont : plainFont);
  result.outcome = PrintResult::Outcome::kPrinted;
  result.pages = pages;
  return result;
}

}  // namespace reports
