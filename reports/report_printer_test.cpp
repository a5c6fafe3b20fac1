// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Prints to the PDF file printer and reads the result back with poppler's tools. Set
// BRINVALE_PRINT_KEEP to a folder to keep the PDFs and page pictures.
#include "reports/report_printer.h"

#include <gtest/gtest.h>

#include <functional>

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>

#include "engine/settings_record.h"
#include "platform/qt/qt_locale_format.h"
#include "reports/plain_text.h"
#include "reports/print_test_support.h"
#include "reports/printers.h"
#include "reports/report_file.h"
#include "reports/rtf_reader.h"
#include "reports/test_support.h"

namespace reports {
namespace {

// The report file's date: 3/14/24 3:09:26 PM in the tests' time zone.
const QDateTime kCreated(QDate(2024, 3, 14), QTime(15, 9, 26));
constexpr char kCreatedText[] = "3/14/24 3:09:26 PM";
constexpr double kPointsPerInch = 72;
constexpr double kOffsetPoints = 0.25 * kPointsPerInch;  // the PDF printer's printable area

// Collapses every run of blanks to one, as pdftotext spaces words.
QString Words(const QString& text) { return text.simplified(); }

// The non-empty lines of a page's text, blanks collapsed.
QStringList Lines(const QString& pageText) {
  QStringList lines;
  for (const QString& line : pageText.split('\n')) {
    if (!Words(line).isEmpty()) lines.append(Words(line));
  }
  return lines;
}

class ReportPrinterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_dir.isValid());
    ASSERT_TRUE(QDir(m_program).mkpath("Reports"));
    UseReport("Drive_C.rtf", testing::ReadTestData("worked_example.rtf"));
  }

  // Writes `bytes` as the report `name` in the Reports folder, dated kCreated, and loads it
  // into the view.
  void UseReport(const QString& name, const QByteArray& bytes, QDateTime date = kCreated) {
    m_currentFile = m_reports + "/" + name;
    QFile file(m_currentFile);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
    ASSERT_TRUE(file.flush());
    ASSERT_TRUE(file.setFileTime(date, QFileDevice::FileModificationTime));
    file.close();
    ASSERT_TRUE(LoadReportFile(testing::Disk(), m_currentFile, &m_view).isOk());
  }

  PrintResult Print() {
    PrintRequest request;
    request.fileSystem = &testing::Disk();
    request.view = &m_view;
    request.currentFile = m_currentFile;
    request.programFolder = m_program;
    request.reportsFolder = m_reports;
    request.qtPdfEngine = m_qtPdfEngine;
    PrintResult result = PrintReport(request, m_settings, m_locale, &m_printer);
    if (const QByteArray keep = qgetenv("BRINVALE_PRINT_KEEP");
        !keep.isEmpty() && !result.pdfPath.isEmpty()) {
      const QString name = QString::fromLocal8Bit(keep) + "/" +
                           ::testing::UnitTest::GetInstance()->current_test_info()->name();
      QFile::remove(name + ".pdf");
      QFile::copy(result.pdfPath, name + ".pdf");
      testing::RenderPdfPage(result.pdfPath, 1, 100, name);
    }
    return result;
  }

  void SetMargins(double topInches, double leftInches) {
    m_settings.TopMargin = engine::InchesToStored(topInches);
    m_settings.LeftMargin = engine::InchesToStored(leftInches);
  }

  // The report's lines as the plain-text form gives them, blanks collapsed, empty ones left
  // out.
  QStringList ReportLines() const {
    QStringList lines;
    for (const QString& line : QString::fromUtf8(PlainTextOf(m_view)).split("\r\n")) {
      if (!Words(line).isEmpty()) lines.append(Words(line));
    }
    return lines;
  }

  // The lines printed below the headers of a print of several pages. Each page must begin
  // with `header`, its %1 the page number, and the page counts must agree.
  QStringList PrintedBody(const PrintResult& result, const QString& header) const {
    const QStringList pages = testing::PdfPageTexts(result.pdfPath);
    EXPECT_GT(pages.size(), 3);
    EXPECT_EQ(result.pages, pages.size());
    EXPECT_EQ(testing::PdfPageCount(result.pdfPath), pages.size());
    QStringList body;
    for (int i = 0; i < pages.size(); ++i) {
      QStringList lines = Lines(pages[i]);
      EXPECT_EQ(lines.value(0), header.arg(i + 1));
      body += lines.mid(1);
    }
    return body;
  }

  QString WorkFile() const { return m_program + "/text.tmp"; }
  QString Pdf() const {
    return m_reports + "/" + QFileInfo(m_currentFile).completeBaseName() + ".pdf";
  }

  QTemporaryDir m_dir;
  QString m_program = m_dir.path();
  QString m_reports = m_dir.filePath("Reports");
  QString m_currentFile;
  QTextDocument m_view;
  engine::SettingsRecord m_settings;
  platform::QtLocaleFormat m_locale;
  testing::ListedPrinters m_printers{{{kPdfPrinterName, true}}, ""};
  PrinterChoice m_printer{m_printers};
  bool m_qtPdfEngine = false;
};

QByteArray ReadFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  ASSERT_EQ(file.write(bytes), bytes.size());
}

// The first word box with `text` on `page`; fails the test when there is none.
testing::PdfWord FindWord(const std::vector<testing::PdfWord>& words, int page,
                          const QString& text) {
  for (const testing::PdfWord& word : words) {
    if (word.page == page && word.text == text) return word;
  }
  ADD_FAILURE() << "no word " << text.toStdString() << " on page " << page;
  return {};
}

TEST_F(ReportPrinterTest, ColourRoutePrintsTheViewInItsColoursInsideTheMargins) {
  m_settings.PrintColor = 1;
  SetMargins(0.75, 0.5);
  const PrintResult result = Print();
  ASSERT_EQ(result.outcome, PrintResult::Outcome::kPrinted) << result.message.toStdString();
  EXPECT_EQ(result.pdfPath, QDir::toNativeSeparators(m_reports + "/Drive_C.pdf"));
  EXPECT_EQ(result.pages, 1);
  EXPECT_EQ(testing::PdfPageCount(result.pdfPath), 1);

  const QStringList pages = testing::PdfPageTexts(result.pdfPath);
  ASSERT_EQ(pages.size(), 1);
  const QStringList expected =
      QStringList{QString("Source: Drive_C.rtf, Created ") + kCreatedText + " (Page 1)"} +
      ReportLines();
  EXPECT_EQ(Lines(pages[0]), expected);

  // The header at the corner of the printable area, the body at the margins: left from the
  // paper's edge, top 205 twips above the top margin.
  const std::vector<testing::PdfWord> words = testing::PdfWords(result.pdfPath);
  const testing::PdfWord header = FindWord(words, 1, "Source:");
  EXPECT_NEAR(header.xMin, 18, 0.5);
  EXPECT_NEAR(header.yMin, 12, 1);
  const testing::PdfWord title = FindWord(words, 1, "Disk");
  EXPECT_NEAR(title.xMin, 0.5 * kPointsPerInch, 0.5);
  EXPECT_NEAR(title.yMin, (0.75 * 1440 - 205) / 20.0, 1);

  const QImage page = testing::RenderPdfPage(result.pdfPath, 1, 100, m_dir.filePath("colour"));
  ASSERT_FALSE(page.isNull());
  EXPECT_GT(testing::ColouredPixels(page), 200);
  EXPECT_EQ(m_printer.printerFont(), QFont(m_view.defaultFont().family(), 10));
}

TEST_F(ReportPrinterTest, ColourRouteBreaksPagesAndPrintsEveryLineOnce) {
  // A file written at midnight is dated without a time.
  UseReport("Drive_CD.rtf", testing::LongReportRtf(400), QDateTime(QDate(2024, 3, 14), QTime()));
  m_settings.PrintColor = 1;
  SetMargins(1, 1);
  const PrintResult result = Print();
  ASSERT_EQ(result.outcome, PrintResult::Outcome::kPrinted) << result.message.toStdString();
  EXPECT_EQ(PrintedBody(result, "Source: Drive_CD.rtf, Created 3/14/24 (Page %1)"), ReportLines());

  // No body line reaches into the half inch kept free at the bottom.
  const double bottom = 11 * kPointsPerInch - 0.5 * kPointsPerInch;
  for (const testing::PdfWord& word : testing::PdfWords(result.pdfPath)) {
    EXPECT_LE(word.yMax, bottom + 0.5) << word.text.toStdString() << " on page " << word.page;
  }
}

TEST_F(ReportPrinterTest, PlainRouteMarksChangeLinesInBlackAndWhite) {
  SetMargins(0.5, 0.5);
  const PrintResult result = Print();
  ASSERT_EQ(result.outcome, PrintResult::Outcome::kPrinted) << result.message.toStdString();
  const QStringList pages = testing::PdfPageTexts(result.pdfPath);
  ASSERT_EQ(pages.size(), 1);
  const QStringList expected = {
      QString("-- Source: Drive_C.rtf, ") + kCreatedText + " (Page 1)",
      "Disk Activity on C: [DISK1] Since 10/27/98 8:03:02 PM",
      "In C:\\",
      ". AUTOEXEC.BAT Grew from .38 to .41 K",
      ". AUTOEXEC.BAT: Time Changed From: 10/20/98 9:15:00 AM to 10/27/98 7:40:12 PM",
      "In C:\\WINDOWS\\",
      ". Added NEW.DLL (1,536.00 K)",
      ". Deleted OLD.LOG (2.50 K)",
      "Total of Files Added = 1,536.00K",
      "Total of Files Deleted = 2.50K",
      "Changes to Existing Files = 0.03K",
      "Net Change = 1,533.53",
  };
  EXPECT_EQ(Lines(pages[0]), expected);

  // Lines start at the margins, measured from the printable area's corner.
  const std::vector<testing::PdfWord> words = testing::PdfWords(result.pdfPath);
  EXPECT_NEAR(FindWord(words, 1, "Disk").xMin, 18 + 0.5 * kPointsPerInch, 0.5);
  EXPECT_NEAR(FindWord(words, 1, "--").yMin, 12 + 0.5 * kPointsPerInch, 1);

  const QImage page = testing::RenderPdfPage(result.pdfPath, 1, 100, m_dir.filePath("plain"));
  ASSERT_FALSE(page.isNull());
  EXPECT_EQ(testing::ColouredPixels(page), 0);
  EXPECT_FALSE(QFileInfo::exists(WorkFile()));
  EXPECT_EQ(m_printer.printerFont(), QFont("Arial", 10));
}

TEST_F(ReportPrinterTest, PlainRouteStartsAPageBelowThePageFullMark) {
  UseReport("Drive_CD.rtf", testing::LongReportRtf(400));
  SetMargins(0.5, 0.5);
  const PrintResult result = Print();
  ASSERT_EQ(result.outcome, PrintResult::Outcome::kPrinted) << result.message.toStdString();
  QStringList body =
      PrintedBody(result, QString("-- Source: Drive_CD.rtf, ") + kCreatedText + " (Page %1)");
  for (QString& line : body) {
    if (line.startsWith(". ")) line.remove(0, 2);
  }
  EXPECT_EQ(body, ReportLines());

  // A page is full once the next line would start below the page-full mark (14256 twips
  // from the printable area's top): its last line starts within one line (11.5 points of
  // Arial 10) above the mark.
  const std::vector<testing::PdfWord> words = testing::PdfWords(result.pdfPath);
  const double mark = 12 + 14256 / 20.0;
  for (int page = 1; page < result.pages; ++page) {
    double lowest = 0;
    for (const testing::PdfWord& word : words) {
      if (word.page == page) lowest = std::max(lowest, word.yMin);
    }
    EXPECT_LE(lowest, mark + 0.1) << "page " << page;
    EXPECT_GT(lowest, mark - 12) << "page " << page;
  }
}

TEST_F(ReportPrinterTest, BothRoutesWriteThePagesQtsPdfEngineWould) {
  // A few pages, with a line in a second font (Arial has no CJK characters).
  QByteArray rtf = testing::LongReportRtf(160);
  rtf.insert(rtf.indexOf("\\par") + 4, " \\u26085?\\u26412?\\u35486? Added\\par");
  UseReport("Drive_CD.rtf", rtf);
  SetMargins(0.5, 0.5);
  for (std::uint8_t colour : {1, 0}) {
    SCOPED_TRACE(colour);
    m_settings.PrintColor = colour;
    // Each print leaves its font on the printer for the next one's first header: both start
    // from the same.
    m_printer.setPrinterFont(QFont("DejaVu Serif", 12));
    m_qtPdfEngine = true;
    const PrintResult byQt = Print();
    ASSERT_EQ(byQt.outcome, PrintResult::Outcome::kPrinted) << byQt.message.toStdString();
    const QString qtPdf = m_dir.filePath("qt.pdf");
    QFile::remove(qtPdf);
    ASSERT_TRUE(QFile::rename(byQt.pdfPath, qtPdf));
    m_qtPdfEngine = false;
    m_printer.setPrinterFont(QFont("DejaVu Serif", 12));
    const PrintResult direct = Print();
    ASSERT_EQ(direct.outcome, PrintResult::Outcome::kPrinted) << direct.message.toStdString();
    EXPECT_EQ(direct.pages, byQt.pages);
    ASSERT_GT(direct.pages, 2);
    EXPECT_TRUE(QString::fromUtf8(testing::RunTool("pdfinfo", {direct.pdfPath}))
                    .contains(QRegularExpression("Producer:\\s+Brinvale")));

    // Every word in its place...
    const std::vector<testing::PdfWord> ours = testing::PdfWords(direct.pdfPath);
    const std::vector<testing::PdfWord> qts = testing::PdfWords(qtPdf);
    ASSERT_EQ(ours.size(), qts.size());
    ASSERT_GT(ours.size(), 1000u);
    for (std::size_t i = 0; i < ours.size(); ++i) {
      ASSERT_EQ(ours[i].text, qts[i].text) << i;
      ASSERT_EQ(ours[i].page, qts[i].page) << ours[i].text.toStdString();
      ASSERT_NEAR(ours[i].xMin, qts[i].xMin, 0.05) << ours[i].text.toStdString();
      ASSERT_NEAR(ours[i].yMin, qts[i].yMin, 0.05) << ours[i].text.toStdString();
    }
    // ... and looking the same, in the same colours.
    for (const int page : {1, direct.pages}) {
      SCOPED_TRACE(page);
      const QImage ourPage = testing::RenderPdfPage(direct.pdfPath, page, 100,
                                                    m_dir.filePath(QString("o%1").arg(page)));
      const QImage qtPage =
          testing::RenderPdfPage(qtPdf, page, 100, m_dir.filePath(QString("q%1").arg(page)));
      ASSERT_FALSE(ourPage.isNull());
      ASSERT_EQ(ourPage.size(), qtPage.size());
      EXPECT_LE(testing::DifferentPixels(ourPage, qtPage), 10);
      EXPECT_EQ(testing::ColouredPixels(ourPage) > 100, colour == 1);
    }
  }
}

TEST_F(ReportPrinterTest, PlainRouteLeavesFontsItCannotEmbedToQtsPdfEngine) {
  // U+301A is only in fonts of PostScript outlines (those of fonts-urw-base35): the whole
  // print goes to Qt's engine, which embeds such fonts, and nothing is lost.
  QByteArray rtf = testing::LongReportRtf(160);
  rtf.insert(rtf.indexOf("\\par") + 4, " Added \\u12314?arrow.txt (1.00 K)\\par");
  UseReport("Drive_CD.rtf", rtf);
  const PrintResult result = Print();
  ASSERT_EQ(result.outcome, PrintResult::Outcome::kPrinted) << result.message.toStdString();
  const QString info = QString::fromUtf8(testing::RunTool("pdfinfo", {result.pdfPath}));
  EXPECT_TRUE(info.contains(QRegularExpression("Producer:\\s+Qt"))) << info.toStdString();
  const QStringList pages = testing::PdfPageTexts(result.pdfPath);
  EXPECT_EQ(pages.size(), result.pages);
  ASSERT_FALSE(pages.isEmpty());
  EXPECT_TRUE(pages[0].contains(QString::fromUtf8("Added \u301aarrow.txt (1.00 K)")))
      << pages[0].toStdString();
  EXPECT_FALSE(QFileInfo::exists(WorkFile()));
}

TEST_F(ReportPrinterTest, ColourRouteLeavesFormatsOtherThanFontAndColourToQtsPdfEngine) {
  // Typing in the view may carry an underline: the whole print goes to Qt's engine, which
  // draws it.
  m_settings.PrintColor = 1;
  QTextCursor cursor(&m_view);
  cursor.movePosition(QTextCursor::End);
  QTextCharFormat underlined;
  underlined.setFontUnderline(true);
  cursor.insertBlock();
  cursor.insertText("Checked by the night shift", underlined);
  const PrintResult result = Print();
  ASSERT_EQ(result.outcome, PrintResult::Outcome::kPrinted) << result.message.toStdString();
  const QString info = QString::fromUtf8(testing::RunTool("pdfinfo", {result.pdfPath}));
  EXPECT_TRUE(info.contains(QRegularExpression("Producer:\\s+Qt"))) << info.toStdString();
  const QStringList pages = testing::PdfPageTexts(result.pdfPath);
  ASSERT_EQ(pages.size(), 1);
  EXPECT_TRUE(pages[0].contains("Checked by the night shift")) << pages[0].toStdString();
  EXPECT_TRUE(pages[0].contains("Net Change")) << pages[0].toStdString();
}

TEST_F(ReportPrinterTest, PlainRouteSplitsTooWideChangeLines) {
  const QString name = QString("a_very_long_file_name_").repeated(3) + "end";
  const QByteArray text = ("In /srv/\r\n"
                           "   " +
                           name +
                           ".ini: Time Changed From: 2/1/24 9:15:00 AM to "
                           "3/1/24 7:40:12 PM\r\n"
                           "   " +
                           name + name.left(20) +
                           ".bin  Grew from 1,000.38 to 2,000.41 K\r\n"
                           "   " +
                           name +
                           ".dat  Grew from .38 to .41 K\r\n"
                           "   Added " +
                           name + ".dat (1.00 K)\r\n")
                              .toUtf8();
  UseReport("Drive_D.txt", text);
  SetMargins(0.5, 0.5);
  const PrintResult result = Print();
  ASSERT_EQ(result.outcome, PrintResult::Outcome::kPrinted) << result.message.toStdString();
  EXPECT_TRUE(result.pdfPath.endsWith("Drive_D.pdf"));
  const QStringList pages = testing::PdfPageTexts(result.pdfPath);
  ASSERT_EQ(pages.size(), 1);
  const QStringList lines = Lines(pages[0]);
  ASSERT_EQ(lines.size(), 9) << lines.join('\n').toStdString();
  EXPECT_EQ(lines[1], "In /srv/");
  // Split after the blank that follows the name's colon.
  EXPECT_EQ(lines[2], ". " + name + ".ini:");
  EXPECT_EQ(lines[3], "Time Changed From: 2/1/24 9:15:00 AM to 3/1/24 7:40:12 PM");
  // No colon: the period alone, then the line, still too wide for the paper: it goes on to
  // a further line at a blank, and nothing of it is lost.
  EXPECT_EQ(lines[4], ".");
  EXPECT_TRUE(lines[5].startsWith(name + name.left(20) + ".bin Grew")) << lines[5].toStdString();
  EXPECT_EQ(lines[5] + " " + lines[6],
            name + name.left(20) + ".bin Grew from 1,000.38 to 2,000.41 K");
  // Lines that fit are only marked.
  EXPECT_EQ(lines[7], ". " + name + ".dat Grew from .38 to .41 K");
  EXPECT_EQ(lines[8], ". Added " + name + ".dat (1.00 K)");
}

TEST_F(ReportPrinterTest, PlainRouteCarriesOnLinesWiderThanThePaper) {
  // A folder header and an Added line far wider than the page, one without a blank.
  const QString folder = "/srv/" + QString("deeply/nested/").repeated(12);
  const QString name = QString("x").repeated(300) + ".log";
  UseReport("Drive_E.txt", ("In " + folder + "\r\n   Added " + name + " (1.00 K)\r\n").toUtf8());
  const PrintResult result = Print();
  ASSERT_EQ(result.outcome, PrintResult::Outcome::kPrinted) << result.message.toStdString();
  const QStringList pages = testing::PdfPageTexts(result.pdfPath);
  ASSERT_EQ(pages.size(), 1);
  const QStringList lines = Lines(pages[0]).mid(1);
  ASSERT_GT(lines.size(), 4) << lines.join('\n').toStdString();
  // Every character is printed, in order; the path breaks after a separator.
  EXPECT_EQ(lines.join(QString()).remove(' '),
            QString("In " + folder + ". Added " + name + " (1.00 K)").remove(' '));
  EXPECT_TRUE(lines[0].endsWith('/')) << lines[0].toStdString();
  // Each printed piece ends inside the printable area (US Letter in the tests' locale).
  for (const testing::PdfWord& word : testing::PdfWords(result.pdfPath)) {
    EXPECT_LT(word.xMax, 8.5 * kPointsPerInch - kOffsetPoints) << word.text.toStdString();
  }
}

TEST_F(ReportPrinterTest, PlainRoutePrintsUnsavedTypingAndKeepsIt) {
  const QByteArray stored = ReadFile(m_currentFile);
  QTextCursor cursor(&m_view);
  cursor.movePosition(QTextCursor::End);
  cursor.insertBlock();
  cursor.insertText("Typed but not saved");
  ASSERT_TRUE(m_view.isModified());
  const QString before = m_view.toHtml();

  const PrintResult result = Print();
  ASSERT_EQ(result.outcome, PrintResult::Outcome::kPrinted) << result.message.toStdString();
  const QStringList pages = testing::PdfPageTexts(result.pdfPath);
  ASSERT_EQ(pages.size(), 1);
  EXPECT_EQ(Lines(pages[0]).back(), "Typed but not saved");
  EXPECT_EQ(m_view.toHtml(), before);
  EXPECT_TRUE(m_view.isModified());
  EXPECT_EQ(ReadFile(m_currentFile), stored);
  EXPECT_FALSE(QFileInfo::exists(WorkFile()));
}

TEST_F(ReportPrinterTest, EmptyViewHasNothingToPrint) {
  m_view.clear();
  for (std::uint8_t colour : {0, 1}) {
    m_settings.PrintColor = colour;
    const PrintResult result = Print();
    EXPECT_EQ(result.outcome, PrintResult::Outcome::kNothingToPrint);
    EXPECT_EQ(result.message, "There is Nothing to Print");
  }
  EXPECT_EQ(QDir(m_reports).entryList(QDir::Files), QStringList{"Drive_C.rtf"});
  EXPECT_FALSE(QFileInfo::exists(WorkFile()));
}

// A failed print says what failed and why, and leaves the view, the older PDF, the printer's
// font and the folders as they were.
TEST_F(ReportPrinterTest, FailuresNameTheCauseAndLeaveEverythingAsItWas) {
  const QString oldPdf = m_reports + "/Drive_C.pdf";
  WriteFile(oldPdf, "an older print");
  const QString viewBefore = m_view.toHtml();
  const QString report = m_currentFile;
  struct Scenario {
    const char* what;
    std::function<void()> arrange;
    std::vector<std::uint8_t> colours;
    QStringList mentions;
  };
  const Scenario scenarios[] = {
      {"a system printer that is gone",
       [&] {
         m_printer.choose({"Office Laser", false});
       },
       {0, 1},
       {"Office Laser", "not available"}},
      {"the report file vanished since it was loaded",
       [&] {
         m_printer.choose({kPdfPrinterName, true});
         m_currentFile = m_reports + "/Drive_E.rtf";
       },
       {0, 1},
       {QDir::toNativeSeparators(m_reports + "/Drive_E.rtf"), "No such file"}},
      {"a folder has the work file's name",
       [&] {
         m_currentFile = report;
         ASSERT_TRUE(QDir(m_program).mkpath("text.tmp/inside"));
       },
       {0},
       {QDir::toNativeSeparators(WorkFile())}},
      {"a folder has the PDF's name",
       [&] {
         ASSERT_TRUE(QDir(WorkFile()).removeRecursively());
         ASSERT_TRUE(QFile::remove(oldPdf));
         ASSERT_TRUE(QDir(m_reports).mkpath("Drive_C.pdf/inside"));
       },
       {0, 1},
       {QDir::toNativeSeparators(oldPdf)}},
  };
  for (const Scenario& scenario : scenarios) {
    SCOPED_TRACE(scenario.what);
    scenario.arrange();
    const QStringList files = QDir(m_reports).entryList(QDir::Files | QDir::Hidden);
    const QByteArray pdf = ReadFile(oldPdf);
    const bool workFolder = QFileInfo(WorkFile()).isDir();
    for (std::uint8_t colour : scenario.colours) {
      m_settings.PrintColor = colour;
      const PrintResult result = Print();
      EXPECT_EQ(result.outcome, PrintResult::Outcome::kFailed);
      EXPECT_TRUE(result.pdfPath.isEmpty());
      for (const QString& mention : scenario.mentions) {
        EXPECT_TRUE(result.message.contains(mention)) << result.message.toStdString();
      }
      EXPECT_EQ(QDir(m_reports).entryList(QDir::Files | QDir::Hidden), files);
      EXPECT_EQ(ReadFile(oldPdf), pdf);
      EXPECT_EQ(QFileInfo(WorkFile()).exists(), QFileInfo(WorkFile()).isDir());
      EXPECT_EQ(m_view.toHtml(), viewBefore);
      EXPECT_FALSE(m_printer.printerFont());
    }
    EXPECT_TRUE(!workFolder || QFileInfo(WorkFile() + "/inside").isDir());
  }
  EXPECT_TRUE(QFileInfo(oldPdf + "/inside").isDir());
}

// The PDF and the work file replace whatever is in their place, links included, without
// writing through them.
TEST_F(ReportPrinterTest, PrintingReplacesOlderFilesAndNeverWritesThroughALink) {
  const QString outside = m_dir.filePath("outside.txt");
  WriteFile(outside, "keep me");
  ASSERT_TRUE(QFile::link(outside, m_reports + "/Drive_C.pdf"));
  ASSERT_TRUE(QFile::link(outside, WorkFile()));
  for (std::uint8_t colour : {1, 0}) {
    m_settings.PrintColor = colour;
    const PrintResult result = Print();
    ASSERT_EQ(result.outcome, PrintResult::Outcome::kPrinted) << result.message.toStdString();
    const QFileInfo pdf(result.pdfPath);
    EXPECT_FALSE(pdf.isSymLink());
    EXPECT_EQ(testing::PdfPageCount(result.pdfPath), 1);
  }
  EXPECT_EQ(ReadFile(outside), "keep me");
  EXPECT_FALSE(QFileInfo(WorkFile()).isSymLink());
  EXPECT_FALSE(QFileInfo::exists(WorkFile()));
  EXPECT_EQ(QDir(m_reports).entryList(QDir::Files | QDir::Hidden | QDir::System),
            (QStringList{"Drive_C.pdf", "Drive_C.rtf"}));

  // A report the view shows under the name the PDF would take is never printed over.
  UseReport("Notes.pdf", "plain notes\r\n");
  const PrintResult own = Print();
  EXPECT_EQ(own.outcome, PrintResult::Outcome::kFailed);
  EXPECT_EQ(ReadFile(m_currentFile), "plain notes\r\n");
}

TEST_F(ReportPrinterTest, ViewWithoutAFileIsPrintedAsUntitled) {
  m_currentFile.clear();
  m_settings.PrintColor = 1;
  const PrintResult result = Print();
  ASSERT_EQ(result.outcome, PrintResult::Outcome::kPrinted) << result.message.toStdString();
  EXPECT_EQ(result.pdfPath, QDir::toNativeSeparators(m_reports + "/Untitled.pdf"));
  const QStringList pages = testing::PdfPageTexts(result.pdfPath);
  ASSERT_EQ(pages.size(), 1);
  EXPECT_TRUE(Lines(pages[0]).first().startsWith("Source: Untitled, Created "));
}

}  // namespace
}  // namespace reports
