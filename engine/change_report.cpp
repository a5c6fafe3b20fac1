// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/change_report.h"

#include <limits>

#include "base/ascii.h"
#include "base/saturating.h"
#include "platform/date_time.h"
#include "platform/file_system.h"
#include "platform/locale_format.h"

namespace engine {
namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kColourTable =
    R"rtf({\colortbl\red0\green0\blue0;\red0\green128\blue0;\red255\green0\blue0;\red100\green100\blue0;\red128\green0\blue0;\red0\green0\blue128;})rtf";
constexpr std::string_view kFreshTitleStart = R"rtf(\deflang1033 \f2\fs24)rtf";
constexpr std::string_view kContinuedStart = "\r\n \\par\r\n \\par \r\n";
constexpr std::string_view kContinuedTitleStart = R"rtf(\par \plain\f2\fs24)rtf";
constexpr std::string_view kLineStart = R"rtf(\par \plain\f2\fs20\cf)rtf";
constexpr std::string_view kLineEnd = "\\plain\\f2\\fs20 \r\n";
constexpr std::string_view kClosing = " \\par }\r\n";

constexpr char32_t kReplacement = 0xFFFD;

// Decodes the code point at `*pos` and moves past it. A byte that does not start a
// well-formed UTF-8 sequence (overlong forms and surrogates included) stands for its
// Latin-1 character: names from older systems are mostly Latin-1, so this shows them
// as meant far more often than a replacement mark would, and it never loses a byte.
char32_t NextCodePoint(std::string_view text, std::size_t* pos) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(*pos);
  if (lead < 0x80) {
    ++*pos;
    return lead;
  }
  std::size_t length = 0;
  unsigned char secondMin = 0x80, secondMax = 0xBF;
  char32_t cp = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    cp = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    cp = lead & 0x0F;
    if (lead == 0xE0) secondMin = 0xA0;
    if (lead == 0xED) secondMax = 0x9F;  // U+D800..U+DFFF are not characters
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    cp = lead & 0x07;
    if (lead == 0xF0) secondMin = 0x90;
    if (lead == 0xF4) secondMax = 0x8F;  // nothing above U+10FFFF
  }
  bool wellFormed = length != 0 && *pos + length <= text.size() && byte(*pos + 1) >= secondMin &&
                    byte(*pos + 1) <= secondMax;
  for (std::size_t i = 1; wellFormed && i < length; ++i) {
    const unsigned char next = byte(*pos + i);
    wellFormed = (next & 0xC0) == 0x80;
    cp = (cp << 6) | (next & 0x3F);
  }
  if (!wellFormed) {
    ++*pos;
    return lead;
  }
  *pos += length;
  return cp;
}

// Calls `emit` with every character of `text` as the report shows it. Control characters
// (C0, DEL, C1) would break a plain-text line or mean something to an RTF reader, so a
// name holding one shows U+FFFD in its place.
template <typename Emit>
void ForEachShown(std::string_view text, bool bracesAsParentheses, Emit emit) {
  for (std::size_t pos = 0; pos < text.size();) {
    char32_t cp = NextCodePoint(text, &pos);
    if (cp < 0x20 || (cp >= 0x7F && cp <= 0x9F)) {
      cp = kReplacement;
    } else if (bracesAsParentheses && cp == '{') {
      cp = '(';
    } else if (bracesAsParentheses && cp == '}') {
      cp = ')';
    }
    emit(cp);
  }
}

void AppendUnicodeEscape(char32_t unit, std::string* out) {
  // RTF reads the number as a signed 16-bit value.
  const int value = unit > 0x7FFF ? static_cast<int>(unit) - 0x10000 : static_cast<int>(unit);
  *out += "\\u";
  *out += std::to_string(value);
  *out += '?';  // the one-character fallback that \uc1 (the default) tells readers to skip
}

// Printable ASCII stays byte for byte; the three RTF specials get a backslash (braces only
// reach here in titles, body lines have them as parentheses); everything else becomes
// \uN? escapes, in UTF-16 units as RTF wants them.
void AppendRtfText(std::string_view text, bool bracesAsParentheses, std::string* out) {
  ForEachShown(text, bracesAsParentheses, [out](char32_t cp) {
    if (cp == '\\' || cp == '{' || cp == '}') {
      *out += '\\';
      *out += static_cast<char>(cp);
    } else if (cp < 0x80) {
      *out += static_cast<char>(cp);
    } else if (cp <= 0xFFFF) {
      AppendUnicodeEscape(cp, out);
    } else {
      AppendUnicodeEscape(0xD800 + ((cp - 0x10000) >> 10), out);
      AppendUnicodeEscape(0xDC00 + ((cp - 0x10000) & 0x3FF), out);
    }
  });
}

void AppendUtf8(char32_t cp, std::string* out) {
  if (cp < 0x80) {
    *out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    *out += static_cast<char>(0xC0 | (cp >> 6));
    *out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    *out += static_cast<char>(0xE0 | (cp >> 12));
    *out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    *out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    *out += static_cast<char>(0xF0 | (cp >> 18));
    *out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    *out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    *out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

void AppendPlainText(std::string_view text, bool bracesAsParentheses, std::string* out) {
  ForEachShown(text, bracesAsParentheses, [out](char32_t cp) { AppendUtf8(cp, out); });
}

// Holds the first failure of the file, so that nothing is appended after a lost line.
class FileSinkBase : public ReportSink {
 public:
  explicit FileSinkBase(platform::WritableFile* file) : m_file(file) {}

 protected:
  base::Status put(std::string_view bytes) {
    if (m_status.isOk()) m_status = m_file->append(bytes);
    return m_status;
  }
  base::Status status() const { return m_status; }

 private:
  platform::WritableFile* m_file;
  base::Status m_status;
};

class RtfReportSink final : public FileSinkBase {
 public:
  using FileSinkBase::FileSinkBase;

  base::Status startSection(std::string_view title, bool fresh) override {
    std::string out;
    if (fresh) {
      out.append(kRichReportFontTable).append(kCrLf).append(kColourTable).append(kCrLf);
      out.append(kFreshTitleStart);
    } else {
      out.append(kContinuedStart).append(kContinuedTitleStart);
    }
    AppendRtfText(title, /*bracesAsParentheses=*/false, &out);
    out.append(kLineEnd);
    return put(out);
  }

  base::Status writeLine(std::string_view text, ColourIndex colour) override {
    std::string out(kLineStart);
    out += static_cast<char>('0' + static_cast<int>(colour));
    out += ' ';
    AppendRtfText(text, /*bracesAsParentheses=*/true, &out);
    out.append(kLineEnd);
    return put(out);
  }

  base::Status writeClosing() override { return put(kClosing); }
};

class PlainTextReportSink final : public FileSinkBase {
 public:
  using FileSinkBase::FileSinkBase;

  base::Status startSection(std::string_view title, bool fresh) override {
    std::string out;
    if (!fresh) out.append(kCrLf).append(kCrLf);
    AppendPlainText(title, /*bracesAsParentheses=*/false, &out);
    out.append(kCrLf);
    return put(out);
  }

  base::Status writeLine(std::string_view text, ColourIndex) override {
    std::string out;
    AppendPlainText(text, /*bracesAsParentheses=*/true, &out);
    out.append(kCrLf);
    return put(out);
  }

  // The closing only ends the rich text's outermost group; the last paragraph already
  // has its line end.
  base::Status writeClosing() override { return status(); }
};

}  // namespace

std::unique_ptr<ReportSink> NewRtfReportSink(platform::WritableFile* file) {
  return std::make_unique<RtfReportSink>(file);
}

std::unique_ptr<ReportSink> NewPlainTextReportSink(platform::WritableFile* file) {
  return std::make_unique<PlainTextReportSink>(file);
}

ChangeReport::ChangeReport(ReportSink* sink, const platform::LocaleFormat& locale)
    : m_sink(sink), m_locale(locale), m_separators(NumberSeparators::From(locale)) {}

base::Status ChangeReport::startDrive(std::string_view driveDisplayText,
                                      std::string_view profileDate, bool fresh) {
  m_hasFolder = false;
  m_lastFolder.clear();
  // The drive shows in capitals ("c: [DISK1]" becomes "C: [DISK1]"), except a bracketed
  // Linux path: it is case-sensitive, and in capitals it would name a folder that does not
  // exist ("c: [/home]" becomes "C: [/home]").
  const std::size_t path = driveDisplayText.find("[/");
  std::string title(kReportTitleStart);
  title += base::AsciiUppercased(driveDisplayText.substr(0, path));
  if (path != std::string_view::npos) title += driveDisplayText.substr(path);
  title += " Since ";
  title += profileDate;
  return m_sink->startSection(title, fresh);
}

base::Status ChangeReport::writeFolderHeader(std::string_view folderPath) {
  if (m_hasFolder && m_lastFolder == folderPath) return base::Status::ok();
  base::Status s = m_sink->writeLine(" ", ColourIndex::kBlack);
  if (s.isOk()) s = m_sink->writeLine(std::string("In ").append(folderPath), ColourIndex::kBlack);
  // Only a header that was written counts: after a failure the next attempt writes it again.
  if (s.isOk()) {
    m_hasFolder = true;
    m_lastFolder = folderPath;
  }
  return s;
}

base::Status ChangeReport::added(std::string_view fileName, std::int64_t size) {
  std::string text = "   Added ";
  text.append(fileName).append(" (").append(FormatSizeK(size, m_separators)).append(" K)");
  return changeLine(text, ColourIndex::kNavy);
}

base::Status ChangeReport::deleted(std::string_view fileName, std::int64_t size) {
  std::string text = "   Deleted ";
  text.append(fileName).append(" (").append(FormatSizeK(size, m_separators)).append(" K)");
  return changeLine(text, ColourIndex::kGreen);
}

base::Status ChangeReport::shrunk(std::string_view fileName, std::int64_t oldSize,
                                  std::int64_t newSize) {
  std::string text = "   ";
  text.append(fileName).append("  Shrunk from ").append(FormatSizeK(oldSize, m_separators));
  text.append(" to ").append(FormatSizeK(newSize, m_separators)).append(" K");
  return changeLine(text, ColourIndex::kMaroon);
}

base::Status ChangeReport::grew(std::string_view fileName, std::int64_t oldSize,
                                std::int64_t newSize) {
  std::string text = "   ";
  text.append(fileName).append("  Grew from ").append(FormatSizeK(oldSize, m_separators));
  text.append(" to ").append(FormatSizeK(newSize, m_separators)).append(" K");
  return changeLine(text, ColourIndex::kMaroon);
}

base::Status ChangeReport::timeChanged(std::string_view fileName,
                                       const platform::LocalDateTime& oldTime,
                                       const platform::LocalDateTime& newTime) {
  std::string text = "   ";
  text.append(fileName).append(": Time Changed From: ").append(m_locale.generalDate(oldTime));
  text.append(" to ").append(m_locale.generalDate(newTime));
  return changeLine(text, ColourIndex::kOlive);
}

base::Status ChangeReport::writeTotals(std::int64_t addedBytes, std::int64_t deletedBytes,
                                       std::int64_t changedBytes) {
  const std::int64_t net =
      base::SaturatingSubtract(base::SaturatingAdd(addedBytes, changedBytes), deletedBytes);
  // The changes line is red when the existing files shrank overall; the net line keeps
  // that red unless the drive grew overall.
  const ColourIndex changedColour = changedBytes < 0 ? ColourIndex::kRed : ColourIndex::kBlack;
  const ColourIndex netColour = net > 0 ? ColourIndex::kBlack : changedColour;

  base::Status s = m_sink->writeLine(" ", ColourIndex::kBlack);
  if (s.isOk()) {
    s = m_sink->writeLine("Total of Files Added = " + FormatTotalK(addedBytes, m_separators) + "K",
                          ColourIndex::kBlack);
  }
  if (s.isOk()) {
    s = m_sink->writeLine(
        "Total of Files Deleted = " + FormatTotalK(deletedBytes, m_separators) + "K",
        ColourIndex::kRed);
  }
  if (s.isOk()) {
    s = m_sink->writeLine(
        "Changes to Existing Files = " + FormatTotalK(changedBytes, m_separators) + "K",
        changedColour);
  }
  if (s.isOk()) s = m_sink->writeLine("Net Change = " + FormatTotalK(net, m_separators), netColour);
  return s;
}

base::Status ChangeReport::writeClosing() { return m_sink->writeClosing(); }

base::Status ChangeReport::changeLine(std::string_view text, ColourIndex colour) {
  base::Status s = m_sink->writeLine(text, colour);
  if (s.isOk()) m_hasChanges = true;
  return s;
}

}  // namespace engine
