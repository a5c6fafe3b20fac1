// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Printing the report view's document on the current printer: in colour as the view lays it
// out, or in black and white as plain text with its own page breaks, each page headed by the
// report file's name, date and the page number.
#pragma once

#include <QString>

QT_BEGIN_NAMESPACE
class QTextDocument;
QT_END_NAMESPACE

namespace engine {
struct SettingsRecord;
}  // namespace engine
namespace platform {
class FileSystem;
class LocaleFormat;
}  // namespace platform

namespace reports {

class PrinterChoice;

inline constexpr char kNothingToPrint[] =
    QT_TRANSLATE_NOOP("reports::Printing", "There is Nothing to Print");
// The black-and-white route's work file in the program folder: the plain text it prints.
inline constexpr char kPlainWorkFileName[] = "text.tmp";

struct PrintRequest {
  // The current file's time is read, and the work file and the PDF are written, through it.
  // REQUIRES: not null.
  platform::FileSystem* fileSystem = nullptr;
  // The report view's document: read, never changed, and not used after PrintReport
  // returns. REQUIRES: not null.
  const QTextDocument* view = nullptr;
  // The view's current file (the path last loaded or saved); empty when it has none. Its
  // name and modification time head every page.
  QString currentFile;
  QString programFolder;  // where the work file is written (and deleted)
  QString reportsFolder;  // where the PDF file printer writes
  // On the PDF file printer both routes write the PDF themselves (GlyphPdf), and leave it to
  // Qt's PDF engine only when the print needs a font that cannot be embedded or a format other
  // than font and colour (an underline); true leaves all of it to Qt's engine. For comparing
  // the two.
  bool qtPdfEngine = false;
};

struct PrintResult {
  enum class Outcome {
    kPrinted,
    kNothingToPrint,  // the view is empty; nothing was done
    kFailed,          // nothing was printed; message says why
  };
  Outcome outcome = Outcome::kFailed;
  // kNothingToPrint: kNothingToPrint, for an exclamation box with an OK button. kFailed: one
  // sentence naming the file or printer and the reason. Empty when printed.
  QString message;
  // Printed on the PDF file printer: the file written, with native separators, for the
  // window's progress label. Empty otherwise.
  QString pdfPath;
  int pages = 0;  // pages printed
};

// Prints `request.view` on `printer->current()`:
// - settings.PrintColor == 1: the rich text in its colours, inside the margins of
//   `settings`, the body rendered page by page by the document's own layout;
// - otherwise: the plain-text form written to the work file and printed from it line by
//   line in Arial 10 point, change lines marked and over-long ones split (MarkPlainLine).
// The view's unsaved typing is printed as it stands. Headers carry the current file's name
// and its modification time in `locale`'s general date format ("Untitled" and the time of
// printing when the view has no file).
//
// The PDF file printer writes "<base name of the current file>.pdf" (or "Untitled.pdf") into
// request.reportsFolder, replacing an older file of that name without asking and never a part
// of one. It refuses to replace the current file itself.
//
// Failures (the current file vanished or unreadable, the printer gone, the work file or PDF
// not writable, the printer refusing the job) return kFailed and leave nothing behind: no
// work file, no partial PDF; an older PDF stays. A print that succeeds leaves the font its
// route used in `printer` for the next print's first header; a failed one leaves `printer`
// as it was. Runs on the user-interface thread, which it blocks until the job is handed
// over (seconds for a report of many thousand lines); the lines are laid out on a second
// thread meanwhile, which reads `request.view` until PrintReport returns, so nothing else may
// use the view in that time. REQUIRES: a QGuiApplication exists.
[[nodiscard]] PrintResult PrintReport(const PrintRequest& request,
                                      const engine::SettingsRecord& settings,
                                      const platform::LocaleFormat& locale, PrinterChoice* printer);

}  // namespace reports
