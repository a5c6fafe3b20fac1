// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The change report: per drive a title, folder headers, change lines and a totals block,
// composed once and written as rich text or as its plain-text form (docs/report_format.md).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "base/status.h"
#include "engine/k_format.h"

namespace platform {
class LocaleFormat;
class WritableFile;
struct LocalDateTime;
}  // namespace platform

namespace engine {

// The first line of every rich-text report the composer writes: its font table. What a
// reader takes as the mark of a report this program made.
inline constexpr std::string_view kRichReportFontTable =
    R"rtf({\rtf1\ansi\deff0\deftab720{\fonttbl{\f0\fswiss MS Sans Serif;}{\f1\froman\fcharset2 Symbol;}{\f2\fswiss\fprq2 Arial;}{\f3\froman Times New Roman;}{\f4\froman Times New Roman;}})rtf";
// How every drive's title begins, and so the first line of a report in plain text.
inline constexpr std::string_view kReportTitleStart = "Disk Activity on ";

// An entry of the report's colour table: the digit that follows \cf in the rich text.
enum class ColourIndex : std::uint8_t {
  kBlack = 0,   // blank lines, folder headers, most totals
  kGreen = 1,   // Deleted lines
  kRed = 2,     // the deleted total, a negative change total
  kOlive = 3,   // Time Changed lines
  kMaroon = 4,  // Grew and Shrunk lines
  kNavy = 5,    // Added lines
};

// Receives a composed report paragraph by paragraph. Texts are UTF-8; invalid bytes are
// shown as the Latin-1 character of the byte and control characters as U+FFFD, so any
// name a file system hands over can be written.
class ReportSink {
 public:
  virtual ~ReportSink() = default;

  // Starts the section of one drive with its title paragraph, shown exactly as given.
  // `fresh` starts the document; otherwise the section continues the document after the
  // previous drive's last paragraph, separated from it by two empty paragraphs.
  [[nodiscard]] virtual base::Status startSection(std::string_view title, bool fresh) = 0;
  // Appends one paragraph in `colour`. Braces in `text` are shown as parentheses.
  [[nodiscard]] virtual base::Status writeLine(std::string_view text, ColourIndex colour) = 0;
  // Ends the document. Nothing may be written after it.
  [[nodiscard]] virtual base::Status writeClosing() = 0;
};

// Sinks that append to an open file. A fresh section wants a file opened for writing
// (empty); a continued one a file opened for appending that holds the earlier drives.
// `file` must remain live while the sink is used; the sink never closes it. Each call
// appends its lines or fails with the file's error; after a failure every later call
// returns that failure without writing, so the file never holds a line after a lost one.
std::unique_ptr<ReportSink> NewRtfReportSink(platform::WritableFile* file);
// The plain-text form: one line per paragraph ended by CR LF, UTF-8, no colours.
std::unique_ptr<ReportSink> NewPlainTextReportSink(platform::WritableFile* file);

// Composes the report of one or more drives from the comparison's findings. Every
// operation returns the sink's failure; the caller stops the drive on it.
// Not thread-safe; one comparison drives one object at a time.
class ChangeReport {
 public:
  // `sink` and `locale` must remain live while this object is used.
  ChangeReport(ReportSink* sink, const platform::LocaleFormat& locale);
  ChangeReport(const ChangeReport&) = delete;
  ChangeReport& operator=(const ChangeReport&) = delete;

  // Starts a drive's section with the title "Disk Activity on " & the display text in
  // upper case & " Since " & `profileDate` (already in the general date format). Forgets
  // the last folder header, so the drive's first change gets a header of its own.
  [[nodiscard]] base::Status startDrive(std::string_view driveDisplayText,
                                        std::string_view profileDate, bool fresh);

  // Writes the folder header (a blank line, then "In " & `folderPath`) unless the last
  // header of this drive named exactly the same bytes. Call before each change line.
  [[nodiscard]] base::Status writeFolderHeader(std::string_view folderPath);

  // The change lines. Sizes are byte counts, shown in K.
  [[nodiscard]] base::Status added(std::string_view fileName, std::int64_t size);
  [[nodiscard]] base::Status deleted(std::string_view fileName, std::int64_t size);
  [[nodiscard]] base::Status shrunk(std::string_view fileName, std::int64_t oldSize,
                                    std::int64_t newSize);
  [[nodiscard]] base::Status grew(std::string_view fileName, std::int64_t oldSize,
                                  std::int64_t newSize);
  // Both times are shown in the locale's general date format.
  [[nodiscard]] base::Status timeChanged(std::string_view fileName,
                                         const platform::LocalDateTime& oldTime,
                                         const platform::LocalDateTime& newTime);

  // The drive's totals block: added, deleted, changed (new minus old sizes of the files
  // that grew or shrank) and the net change added + changed - deleted, saturated at the
  // int64 limits. Written for every compared drive, also when nothing changed.
  [[nodiscard]] base::Status writeTotals(std::int64_t addedBytes, std::int64_t deletedBytes,
                                         std::int64_t changedBytes);

  // Ends the document after the totals of its last drive.
  [[nodiscard]] base::Status writeClosing();

  // True once a change line (added, deleted, shrunk, grew, time changed) was written
  // through this object, for any drive.
  [[nodiscard]] bool hasChanges() const { return m_hasChanges; }

 private:
  base::Status changeLine(std::string_view text, ColourIndex colour);

  ReportSink* m_sink;
  const platform::LocaleFormat& m_locale;
  NumberSeparators m_separators;
  bool m_hasFolder = false;  // m_lastFolder names a header of the current drive
  std::string m_lastFolder;
  bool m_hasChanges = false;
};

}  // namespace engine
