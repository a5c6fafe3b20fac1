// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/change_report.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/file_system.h"
#include "platform/testing/fixed_locale.h"
#include "platform/testing/memory_file_system.h"

namespace engine {
namespace {

std::string Lines(const std::vector<std::string>& lines) {
  std::string out;
  for (const auto& line : lines) out += line + "\r\n";
  return out;
}

const std::string kFontTable =
    R"({\rtf1\ansi\deff0\deftab720{\fonttbl{\f0\fswiss MS Sans Serif;}{\f1\froman\fcharset2 Symbol;}{\f2\fswiss\fprq2 Arial;}{\f3\froman Times New Roman;}{\f4\froman Times New Roman;}})";
const std::string kColourTable =
    R"({\colortbl\red0\green0\blue0;\red0\green128\blue0;\red255\green0\blue0;\red100\green100\blue0;\red128\green0\blue0;\red0\green0\blue128;})";

std::string Body(int colour, const std::string& rtfText) {
  return R"(\par \plain\f2\fs20\cf)" + std::to_string(colour) + " " + rtfText +
         R"(\plain\f2\fs20 )";
}

// A whole body line of the rich text, line end included.
std::string RtfLineOf(const std::string& rtfText, int colour) {
  return Body(colour, rtfText) + "\r\n";
}

// Composes the same report into both forms at once, so every test checks that the
// plain-text form follows the rich text.
class ChangeReportTest : public ::testing::Test {
 protected:
  static constexpr const char* kRtfPath = "C:\\temp.rtf";
  static constexpr const char* kTextPath = "C:\\temp.txt";

  ChangeReportTest()
      : m_rtfFile(Open(kRtfPath)),
        m_textFile(Open(kTextPath)),
        m_rtfSink(NewRtfReportSink(m_rtfFile.get())),
        m_textSink(NewPlainTextReportSink(m_textFile.get())),
        m_rtfReport(m_rtfSink.get(), m_locale),
        m_textReport(m_textSink.get(), m_locale) {}

  // The memory file system writes at once, so what was written so far can be read where
  // the replacement keeps it.
  std::unique_ptr<platform::ReplacementFile> Open(const std::string& path) {
    m_fs.addFolder("C:\\");
    auto file = m_fs.openForReplacing(path);
    EXPECT_TRUE(file.isOk());
    return std::move(file).value();
  }

  std::string Rtf() const { return *m_fs.contents(m_rtfFile->temporaryPath()); }
  std::string Text() const { return *m_fs.contents(m_textFile->temporaryPath()); }

  // Runs `step` on both reports and expects it to succeed on both.
  template <typename Step>
  void Both(Step step) {
    ASSERT_TRUE(step(m_rtfReport).isOk());
    ASSERT_TRUE(step(m_textReport).isOk());
  }

  void WorkedExampleDrive(bool fresh) {
    Both([&](ChangeReport& r) { return r.startDrive("c: [DISK1]", "10/27/98 8:03:02 PM", fresh); });
    Both([](ChangeReport& r) { return r.writeFolderHeader("C:\\"); });
    Both([](ChangeReport& r) { return r.grew("AUTOEXEC.BAT", 390, 420); });
    Both([](ChangeReport& r) { return r.writeFolderHeader("C:\\"); });
    Both([](ChangeReport& r) {
      return r.timeChanged("AUTOEXEC.BAT", {1998, 10, 20, 9, 15, 0}, {1998, 10, 27, 19, 40, 12});
    });
    Both([](ChangeReport& r) { return r.writeFolderHeader("C:\\WINDOWS\\"); });
    Both([](ChangeReport& r) { return r.added("NEW.DLL", 1572864); });
    Both([](ChangeReport& r) { return r.writeFolderHeader("C:\\WINDOWS\\"); });
    Both([](ChangeReport& r) { return r.deleted("OLD.LOG", 2560); });
    Both([](ChangeReport& r) { return r.writeTotals(1572864, 2560, 30); });
  }

  platform::MemoryFileSystem m_fs;
  platform::FixedLocale m_locale;
  std::unique_ptr<platform::ReplacementFile> m_rtfFile;
  std::unique_ptr<platform::ReplacementFile> m_textFile;
  std::unique_ptr<ReportSink> m_rtfSink;
  std::unique_ptr<ReportSink> m_textSink;
  ChangeReport m_rtfReport;
  ChangeReport m_textReport;
};

const std::vector<std::string> kWorkedExampleBody = {
    Body(0, " "),
    Body(0, R"(In C:\\)"),
    Body(4, "   AUTOEXEC.BAT  Grew from .38 to .41 K"),
    Body(3, "   AUTOEXEC.BAT: Time Changed From: 10/20/98 9:15:00 AM to 10/27/98 7:40:12 PM"),
    Body(0, " "),
    Body(0, R"(In C:\\WINDOWS\\)"),
    Body(5, "   Added NEW.DLL (1,536.00 K)"),
    Body(1, "   Deleted OLD.LOG (2.50 K)"),
    Body(0, " "),
    Body(0, "Total of Files Added = 1,536.00K"),
    Body(2, "Total of Files Deleted = 2.50K"),
    Body(0, "Changes to Existing Files = 0.03K"),
    Body(0, "Net Change = 1,533.53"),
};

const std::vector<std::string> kWorkedExampleShown = {
    "Disk Activity on C: [DISK1] Since 10/27/98 8:03:02 PM",
    " ",
    R"(In C:\)",
    "   AUTOEXEC.BAT  Grew from .38 to .41 K",
    "   AUTOEXEC.BAT: Time Changed From: 10/20/98 9:15:00 AM to 10/27/98 7:40:12 PM",
    " ",
    R"(In C:\WINDOWS\)",
    "   Added NEW.DLL (1,536.00 K)",
    "   Deleted OLD.LOG (2.50 K)",
    " ",
    "Total of Files Added = 1,536.00K",
    "Total of Files Deleted = 2.50K",
    "Changes to Existing Files = 0.03K",
    "Net Change = 1,533.53",
};

TEST_F(ChangeReportTest, WorkedExampleIsWrittenByteForByte) {
  WorkedExampleDrive(/*fresh=*/true);
  Both([](ChangeReport& r) { return r.writeClosing(); });

  std::vector<std::string> expected = {
      kFontTable, kColourTable,
      R"(\deflang1033 \f2\fs24Disk Activity on C: [DISK1] Since 10/27/98 8:03:02 PM\plain\f2\fs20 )"};
  expected.insert(expected.end(), kWorkedExampleBody.begin(), kWorkedExampleBody.end());
  expected.push_back(R"( \par })");
  ASSERT_EQ(expected.size(), 17u);
  EXPECT_EQ(Rtf(), Lines(expected));
  EXPECT_EQ(Text(), Lines(kWorkedExampleShown));
  EXPECT_TRUE(m_rtfReport.hasChanges());
}

TEST_F(ChangeReportTest, CombinedReportContinuesAfterTheFirstDrive) {
  WorkedExampleDrive(/*fresh=*/true);
  Both([](ChangeReport& r) { return r.startDrive("d: [/home]", "1/2/03", /*fresh=*/false); });
  Both([](ChangeReport& r) { return r.writeTotals(0, 0, 0); });
  Both([](ChangeReport& r) { return r.writeClosing(); });

  const std::string fresh = R"(\deflang1033 \f2\fs24)";
  const std::string tail = R"(\plain\f2\fs20 )";
  std::vector<std::string> expected = {
      kFontTable, kColourTable,
      fresh + "Disk Activity on C: [DISK1] Since 10/27/98 8:03:02 PM" + tail};
  expected.insert(expected.end(), kWorkedExampleBody.begin(), kWorkedExampleBody.end());
  expected.insert(
      expected.end(),
      {"", R"( \par)", R"( \par )",
       R"(\par \plain\f2\fs24Disk Activity on D: [/home] Since 1/2/03)" + tail, Body(0, " "),
       Body(0, "Total of Files Added = 0.00K"), Body(2, "Total of Files Deleted = 0.00K"),
       Body(0, "Changes to Existing Files = 0.00K"), Body(0, "Net Change = 0.00"), R"( \par })"});
  EXPECT_EQ(Rtf(), Lines(expected));

  std::vector<std::string> shown = kWorkedExampleShown;
  shown.insert(shown.end(), {"", "", "Disk Activity on D: [/home] Since 1/2/03", " ",
                             "Total of Files Added = 0.00K", "Total of Files Deleted = 0.00K",
                             "Changes to Existing Files = 0.00K", "Net Change = 0.00"});
  EXPECT_EQ(Text(), Lines(shown));
}

struct TotalsCase {
  const char* what;
  std::int64_t added, deleted, changed;
  const char* changedLine;
  int changedColour;
  const char* netLine;
  int netColour;
};

TEST_F(ChangeReportTest, TotalsFollowTheirColourRules) {
  const TotalsCase cases[] = {
      {"only a shrink", 0, 0, -50, "Changes to Existing Files = -0.05K", 2, "Net Change = -0.05",
       2},
      {"shrink but large add", 1048576, 0, -50, "Changes to Existing Files = -0.05K", 2,
       "Net Change = 1,023.95", 0},
      {"only deletions", 0, 2560, 0, "Changes to Existing Files = 0.00K", 0, "Net Change = -2.50",
       0},
      {"growth outweighed by deletions", 0, 2560, 512, "Changes to Existing Files = 0.50K", 0,
       "Net Change = -2.00", 0},
      {"shrink exactly balanced by an add", 512, 0, -512, "Changes to Existing Files = -0.50K", 2,
       "Net Change = 0.00", 2},
      {"net beyond int64", INT64_MAX, 0, INT64_MAX,
       "Changes to Existing Files = 9,007,199,254,740,992.00K", 0,
       "Net Change = 9,007,199,254,740,992.00", 0},
  };
  for (const TotalsCase& c : cases) {
    SCOPED_TRACE(c.what);
    const std::size_t mark = Rtf().size();
    ASSERT_TRUE(m_rtfReport.writeTotals(c.added, c.deleted, c.changed).isOk());
    const std::string deletedLine =
        "Total of Files Deleted = " + FormatTotalK(c.deleted, NumberSeparators{}) + "K";
    EXPECT_EQ(
        Rtf().substr(mark),
        Lines({Body(0, " "),
               Body(0, "Total of Files Added = " + FormatTotalK(c.added, NumberSeparators{}) + "K"),
               Body(2, deletedLine), Body(c.changedColour, c.changedLine),
               Body(c.netColour, c.netLine)}));
  }
}

TEST_F(ChangeReportTest, SmallSizesInChangeLines) {
  Both([](ChangeReport& r) { return r.added("empty.txt", 0); });
  Both([](ChangeReport& r) { return r.added("half.txt", 512); });
  Both([](ChangeReport& r) { return r.added("eighth.txt", 128); });
  Both([](ChangeReport& r) { return r.shrunk("log.txt", 100, 50); });
  EXPECT_EQ(Text(), Lines({"   Added empty.txt (.00 K)", "   Added half.txt (.50 K)",
                           "   Added eighth.txt (.13 K)", "   log.txt  Shrunk from .10 to .05 K"}));
  EXPECT_TRUE(Rtf().ends_with(RtfLineOf("   log.txt  Shrunk from .10 to .05 K", 4)));
}

TEST_F(ChangeReportTest, BracesAndBackslashesInLinesAreEscaped) {
  Both([](ChangeReport& r) { return r.writeFolderHeader("C:\\A\\"); });
  Both([](ChangeReport& r) { return r.deleted("a{b}.txt", 0); });
  EXPECT_EQ(Rtf(), Lines({Body(0, " "), Body(0, R"(In C:\\A\\)"),
                          Body(1, "   Deleted a(b).txt (.00 K)")}));
  EXPECT_EQ(Text(), Lines({" ", R"(In C:\A\)", "   Deleted a(b).txt (.00 K)"}));
}

TEST_F(ChangeReportTest, TitleShowsTheDriveTextAsItIs) {
  // A share name with backslashes and braces is shown unchanged; in the rich text that
  // takes RTF's own escapes, since raw braces would end the document's group early.
  Both([](ChangeReport& r) { return r.startDrive(R"(z: [\\server\share {x}])", "1/2/03", true); });
  EXPECT_EQ(Text(), Lines({R"(Disk Activity on Z: [\\SERVER\SHARE {X}] Since 1/2/03)"}));
  EXPECT_TRUE(Rtf().ends_with(
      R"(\f2\fs24Disk Activity on Z: [\\\\SERVER\\SHARE \{X\}] Since 1/2/03\plain\f2\fs20 )"
      "\r\n"));
}

TEST_F(ChangeReportTest, TitleKeepsTheCaseOfALinuxPath) {
  Both([](ChangeReport& r) { return r.startDrive("e: [/home/Ann]", "1/2/03", true); });
  EXPECT_EQ(Text(), Lines({"Disk Activity on E: [/home/Ann] Since 1/2/03"}));
}

TEST_F(ChangeReportTest, FolderHeaderOnlyWhenTheFolderChanges) {
  Both([](ChangeReport& r) { return r.startDrive("c:", "1/2/03", true); });
  for (const char* folder : {"/a/", "/a/", "/b/", "/a/", "/A/"}) {
    Both([&](ChangeReport& r) { return r.writeFolderHeader(folder); });
  }
  // A new drive forgets the last header, even of the same folder.
  Both([](ChangeReport& r) { return r.startDrive("d:", "1/2/03", false); });
  Both([](ChangeReport& r) { return r.writeFolderHeader("/A/"); });
  Both([](ChangeReport& r) { return r.writeTotals(0, 0, 0); });
  EXPECT_FALSE(m_rtfReport.hasChanges());  // headers and totals are not changes
  EXPECT_EQ(Text(),
            Lines({"Disk Activity on C: Since 1/2/03", " ", "In /a/", " ", "In /b/", " ", "In /a/",
                   " ", "In /A/", "", "", "Disk Activity on D: Since 1/2/03", " ", "In /A/", " ",
                   "Total of Files Added = 0.00K", "Total of Files Deleted = 0.00K",
                   "Changes to Existing Files = 0.00K", "Net Change = 0.00"}));
}

TEST_F(ChangeReportTest, NamesOutsideAsciiBecomeUnicodeEscapes) {
  const struct {
    const char* name;
    const char* rtf;
    const char* shown;
  } cases[] = {
      {"caf\xC3\xA9", R"(caf\u233?)", "caf\xC3\xA9"},
      {"\xE4\xB8\xAD.txt", R"(\u20013?.txt)", "\xE4\xB8\xAD.txt"},
      {"\xEF\xBC\xA1", R"(\u-223?)", "\xEF\xBC\xA1"},  // U+FF21, above 32767
      // U+1F600 as the surrogate pair D83D DE00.
      {"\xF0\x9F\x98\x80!", R"(\u-10179?\u-8704?!)", "\xF0\x9F\x98\x80!"},
      // Latin-1 bytes that are not UTF-8 show as their Latin-1 characters.
      {"\xE9t\xE9", R"(\u233?t\u233?)", "\xC3\xA9t\xC3\xA9"},
      {"a\xE4\xB8", R"(a\u228?\u184?)", "a\xC3\xA4\xC2\xB8"},                 // cut-off sequence
      {"\xC0\xAF", R"(\u192?\u175?)", "\xC3\x80\xC2\xAF"},                    // overlong "/"
      {"\xED\xA0\xBD", R"(\u237?\u160?\u189?)", "\xC3\xAD\xC2\xA0\xC2\xBD"},  // a surrogate
      {"\xF4\x90\x80\x80", R"(\u244?\u-3?\u-3?\u-3?)",  // beyond U+10FFFF; 0x80 is C1
       "\xC3\xB4\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
      // Control characters would split the plain-text line.
      {"a\r\nb\x7F", R"(a\u-3?\u-3?b\u-3?)",
       "a\xEF\xBF\xBD\xEF\xBF\xBD"
       "b\xEF\xBF\xBD"},
      {"\xC2\x85", R"(\u-3?)", "\xEF\xBF\xBD"},  // U+0085, a C1 control
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::size_t rtfMark = Rtf().size();
    const std::size_t textMark = Text().size();
    Both([&](ChangeReport& r) { return r.writeFolderHeader(std::string("/") + c.name + "/"); });
    EXPECT_EQ(Rtf().substr(rtfMark),
              Lines({Body(0, " "), Body(0, std::string("In /") + c.rtf + "/")}));
    EXPECT_EQ(Text().substr(textMark), Lines({" ", std::string("In /") + c.shown + "/"}));
  }
}

// Fails exactly one append, the `failAt`-th (0-based), as a disk that is full for a moment.
class FailOnceFile final : public platform::WritableFile {
 public:
  explicit FailOnceFile(int failAt) : m_failAt(failAt) {}
  base::Status append(std::string_view data) override {
    if (m_appends++ == m_failAt) return base::Status::ioError("C:\\temp.rtf: disk full");
    contents.append(data);
    return base::Status::ok();
  }
  base::Status close() override { return base::Status::ok(); }

  std::string contents;

 private:
  int m_failAt;
  int m_appends = 0;
};

TEST_F(ChangeReportTest, WriteFailureIsReportedAndNothingFollowsIt) {
  FailOnceFile file(/*failAt=*/1);
  auto sink = NewRtfReportSink(&file);
  ChangeReport report(sink.get(), m_locale);
  ASSERT_TRUE(report.startDrive("c:", "1/2/03", true).isOk());
  const std::string started = file.contents;

  const base::Status s = report.added("a.txt", 1);
  EXPECT_EQ(s.code(), base::Status::Code::kIoError);
  EXPECT_EQ(s.message(), "C:\\temp.rtf: disk full");
  EXPECT_FALSE(report.hasChanges());
  // The file would take more now, but a report with a lost line must not go on.
  EXPECT_EQ(report.writeFolderHeader("/b/").code(), base::Status::Code::kIoError);
  EXPECT_FALSE(report.writeTotals(1, 0, 0).isOk());
  EXPECT_FALSE(report.writeClosing().isOk());
  EXPECT_EQ(file.contents, started);
}

TEST_F(ChangeReportTest, FullDiskFailsThePlainTextForm) {
  const std::string path = "C:\\full.txt";
  m_fs.failWritesAfter(path, 20);
  auto file = Open(path);
  auto sink = NewPlainTextReportSink(file.get());
  ChangeReport report(sink.get(), m_locale);
  EXPECT_FALSE(report.startDrive("c:", "1/2/03", true).isOk());
  EXPECT_FALSE(report.writeClosing().isOk());
}

TEST_F(ChangeReportTest, NumbersUseTheLocaleSeparators) {
  const platform::FixedLocale german(".", ",");
  ChangeReport report(m_textSink.get(), german);
  ASSERT_TRUE(report.added("big.iso", 1572864).isOk());
  ASSERT_TRUE(report.writeTotals(1572864, 0, -512).isOk());
  EXPECT_EQ(Text(), Lines({"   Added big.iso (1.536,00 K)", " ", "Total of Files Added = 1.536,00K",
                           "Total of Files Deleted = 0,00K", "Changes to Existing Files = -0,50K",
                           "Net Change = 1.535,50"}));
}

}  // namespace
}  // namespace engine
