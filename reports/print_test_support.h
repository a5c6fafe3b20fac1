// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Helpers for the printing tests and benchmark: printer lists made to order, long change
// reports, and what poppler's tools read back from a printed PDF (text, word boxes, page
// count, pixels).
#pragma once

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include <algorithm>
#include <utility>
#include <vector>

#include <QByteArray>
#include <QDir>
#include <QImage>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include "reports/printers.h"

namespace reports::testing {

// A printer list of the test's choosing.
class ListedPrinters final : public PrinterList {
 public:
  ListedPrinters(std::vector<PrinterEntry> printers, QString defaultName)
      : m_printers(std::move(printers)), m_default(std::move(defaultName)) {}
  std::vector<PrinterEntry> printers() const override { return m_printers; }
  QString defaultPrinterName() const override { return m_default; }

 private:
  std::vector<PrinterEntry> m_printers;
  QString m_default;
};

// A change report of `lines` lines after its title, in the composer's RTF: folders of ten
// changes, each change line unique by its number and in its kind's colour (added, deleted,
// grew, time changed), a blank line between folders.
inline QByteArray LongReportRtf(int lines) {
  QByteArray rtf =
      "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss MS Sans Serif;}{\\f2\\fswiss\\fprq2 Arial;}}\n"
      "{\\colortbl\\red0\\green0\\blue0;\\red0\\green128\\blue0;\\red255\\green0\\blue0;"
      "\\red100\\green100\\blue0;\\red128\\green0\\blue0;\\red0\\green0\\blue128;}\n"
      "\\f2\\fs24Disk Activity on c: [/] Since 3/1/24 9:00:00 AM\\plain\\f2\\fs20 \n";
  for (int i = 0; i < lines; ++i) {
    QByteArray line;
    switch (i % 12) {
      case 0:
        line = "\\cf0 In /srv/folder" + QByteArray::number(i) + "/";
        break;
      case 11:
        line = "\\cf0  ";
        break;
      case 1:
      case 5:
        line = "\\cf5    Added file" + QByteArray::number(i) + ".dat (1.00 K)";
        break;
      case 2:
      case 6:
        line = "\\cf1    Deleted file" + QByteArray::number(i) + ".log (2.50 K)";
        break;
      case 3:
      case 7:
        line = "\\cf4    file" + QByteArray::number(i) + ".bin  Grew from .38 to .41 K";
        break;
      default:
        line = "\\cf3    file" + QByteArray::number(i) +
               ".ini: Time Changed From: 2/1/24 9:15:00 AM to 3/1/24 7:40:12 PM";
        break;
    }
    rtf += "\\par \\plain\\f2\\fs20" + line + "\\plain\\f2\\fs20 \n";
  }
  rtf += " \\par }";
  return rtf;
}

// Runs `program` and returns its standard output; empty when it fails. With fork and exec, not
// QProcess: QProcess starts its child with clone(CLONE_VM|CLONE_VFORK) on a stack inside the
// caller's, which the thread sanitizer cannot follow (scripts/sanitize.sh), so that a print
// after a PDF is read back would be reported for races that are not there.
inline QByteArray RunTool(const QString& program, const QStringList& arguments) {
  std::vector<QByteArray> words{program.toLocal8Bit()};
  for (const QString& argument : arguments) words.push_back(argument.toLocal8Bit());
  std::vector<char*> argv;
  for (QByteArray& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  int out[2];
  if (pipe2(out, O_CLOEXEC) != 0) return {};
  const int quiet = open("/dev/null", O_WRONLY | O_CLOEXEC);
  const pid_t child = fork();
  if (child == 0) {
    // Only what is safe between fork and exec in a process with threads.
    dup2(out[1], STDOUT_FILENO);
    if (quiet >= 0) dup2(quiet, STDERR_FILENO);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  close(out[1]);
  if (quiet >= 0) close(quiet);
  QByteArray output;
  if (child > 0) {
    char buffer[65536];
    for (;;) {
      const ssize_t got = read(out[0], buffer, sizeof buffer);
      if (got > 0) {
        output.append(buffer, got);
      } else if (got == 0 || errno != EINTR) {
        break;
      }
    }
  }
  close(out[0]);
  int status = 0;
  if (child < 0) return {};
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? output : QByteArray();
}

// The text of each page, in the order it was printed, one string per page.
inline QStringList PdfPageTexts(const QString& pdf) {
  QStringList pages =
      QString::fromUtf8(RunTool("pdftotext", {"-raw", "-enc", "UTF-8", pdf, "-"})).split('\f');
  if (!pages.isEmpty() && pages.back().trimmed().isEmpty()) pages.removeLast();
  return pages;
}

// The page count pdfinfo reports; 0 when it cannot read the file.
inline int PdfPageCount(const QString& pdf) {
  const QString info = QString::fromUtf8(RunTool("pdfinfo", {pdf}));
  const QRegularExpressionMatch match =
      QRegularExpression("^Pages:\\s+(\\d+)$", QRegularExpression::MultilineOption).match(info);
  return match.hasMatch() ? match.captured(1).toInt() : 0;
}

// A word of a printed page and its box, in points from the paper's top-left corner.
struct PdfWord {
  int page = 0;  // from 1
  double xMin = 0;
  double yMin = 0;
  double xMax = 0;
  double yMax = 0;
  QString text;
};

inline std::vector<PdfWord> PdfWords(const QString& pdf) {
  const QString html =
      QString::fromUtf8(RunTool("pdftotext", {"-bbox", "-enc", "UTF-8", pdf, "-"}));
  static const QRegularExpression word(
      "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">"
      "([^<]*)</word>");
  std::vector<PdfWord> words;
  int page = 0;
  for (const QString& line : html.split('\n')) {
    if (line.contains("<page ")) ++page;
    const QRegularExpressionMatch m = word.match(line);
    if (!m.hasMatch()) continue;
    QString text = m.captured(5);
    text.replace("&lt;", "<").replace("&gt;", ">").replace("&quot;", "\"").replace("&amp;", "&");
    words.push_back({page, m.captured(1).toDouble(), m.captured(2).toDouble(),
                     m.captured(3).toDouble(), m.captured(4).toDouble(), text});
  }
  return words;
}

// Page `page` (from 1) rendered at `dpi`; a null image when pdftoppm fails.
inline QImage RenderPdfPage(const QString& pdf, int page, int dpi, const QString& outBase) {
  const QString number = QString::number(page);
  RunTool("pdftoppm", {"-f", number, "-l", number, "-r", QString::number(dpi), "-singlefile",
                       "-png", pdf, outBase});
  return QImage(outBase + ".png");
}

// Pixels whose channels differ by more than `spread`: coloured ones. Grey anti-aliasing of
// black text differs by a few units at most.
inline int ColouredPixels(const QImage& image, int spread = 60) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QRgb p = image.pixel(x, y);
      const int high = std::max({qRed(p), qGreen(p), qBlue(p)});
      const int low = std::min({qRed(p), qGreen(p), qBlue(p)});
      if (high - low > spread) ++count;
    }
  }
  return count;
}

// Pixels of `a` and `b` (of one size) that differ by more than anti-aliasing does.
inline int DifferentPixels(const QImage& a, const QImage& b) {
  int count = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y);
      const QRgb q = b.pixel(x, y);
      if (std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                    std::abs(qBlue(p) - qBlue(q))}) > 96) {
        ++count;
      }
    }
  }
  return count;
}

}  // namespace reports::testing
