// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// What the subcommands of brinvale-cli share: exit codes, what they print besides results,
// the progress printer, standard output as a file, and small helpers.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/status.h"
#include "cli/command_line.h"
#include "engine/change_report.h"
#include "engine/ignore_matcher.h"
#include "platform/file_system.h"
#include "platform/progress.h"

namespace cli {

// Exit codes, the same for every command, as diff uses them: 0 no change (or done), 1
// changes reported, 2 a drive failed, the run was refused or the input was bad. Warnings
// (places that could not be read, an unreadable Ignore list) leave 0 or 1.
inline constexpr int kExitNoChange = 0;
inline constexpr int kExitOk = 0;
inline constexpr int kExitChanges = 1;
inline constexpr int kExitError = 2;

// The lines every command's --help ends with.
inline constexpr const char* kExitStatusHelp =
    "Exit status: 0 no change, 1 changes reported, 2 a drive failed, the run was refused or\n"
    "the input was bad. Places that could not be read are warnings and leave 0 or 1.\n";

// What a command prints on standard error besides problems, from -q, --progress and whether
// standard error is a terminal.
struct Chatter {
  bool captions = false;  // what is being done (on a terminal, one line rewritten in place)
  bool notes = true;      // what was done: "N files profiled", a line per drive of a run
};
// Nothing, after one line on `err`, when -q and --progress are both given.
[[nodiscard]] std::optional<Chatter> ChatterOf(const CommandLine& line, bool errIsTerminal,
                                               std::ostream& err);

// The folders of the Ignore list file given with --ignore, or an empty list without it.
// Nothing, after a one-line message on `err`, when the file is missing or cannot be read.
// Lines read as meant rather than as written are warnings on `err`.
[[nodiscard]] std::optional<engine::IgnoreMatcher> IgnoreOption(const CommandLine& line,
                                                                platform::FileSystem& fs,
                                                                std::ostream& err);

// The output name that stands for standard output: "-o -".
inline constexpr const char* kStandardOutputName = "-";

// A WritableFile that writes to a stream (standard output). A failed write fails this and
// every later call.
class StreamFile final : public platform::WritableFile {
 public:
  explicit StreamFile(std::ostream& out) : m_out(out) {}
  [[nodiscard]] base::Status append(std::string_view data) override;
  [[nodiscard]] base::Status close() override;

 private:
  std::ostream& m_out;
};

// Passes what is appended on to `target` with each CR LF turned into LF, a pair split
// between two appends included: plain text written to standard output or a pipe ends its
// lines as grep, diff and wc expect, while a report file keeps its CR LF. A lone CR passes
// unchanged. close() writes a CR still held back, then closes `target`.
class LineFeedFile final : public platform::WritableFile {
 public:
  explicit LineFeedFile(platform::WritableFile* target) : m_target(target) {}
  [[nodiscard]] base::Status append(std::string_view data) override;
  [[nodiscard]] base::Status close() override;

 private:
  platform::WritableFile* m_target;
  bool m_heldCr = false;  // the last append ended in CR
  std::string m_buffer;
};

// A report sink that takes every line and writes nothing: for the comparisons whose changes
// go out only as JSON Lines.
[[nodiscard]] std::unique_ptr<engine::ReportSink> NewNoReportSink();

// `count` with its digits grouped by `separator`: 151000 gives "151,000".
[[nodiscard]] std::string GroupedCount(std::int64_t count, const std::string& separator);

// The number of lines of a file, counted by reading it through once: the line ends, and one
// more when the last line has none. A profile holds one record a line.
[[nodiscard]] base::Result<std::int64_t> CountLines(platform::FileSystem& fs,
                                                    const std::string& path);

// Prints each new caption to a stream: one line per caption, or, on a terminal, one line
// rewritten in place and cleared (by clear() or at the end) before anything else is printed
// there. Never cancels.
class CaptionPrinter final : public platform::Progress {
 public:
  CaptionPrinter(std::ostream& out, bool terminal);
  ~CaptionPrinter() override;

  void setCaption(std::string_view caption) override;
  void setLabelVisible(bool) override {}
  void setBarMaximum(std::int64_t) override {}
  void setBarValue(std::int64_t) override {}
  void setBarVisible(bool) override {}
  bool shouldContinue() override { return true; }

  // Erases the caption line of a terminal, so the next text starts on a clean line.
  void clear();

 private:
  std::ostream& m_out;
  bool m_terminal;
  std::string m_last;
  bool m_open = false;
};

// The refusal of an output `path` that names one of Brinvale's own files
// (engine/own_files.h) in one of `programFolders`, whichever way the path reaches that
// folder (links followed, the folder recognised by device and inode): "brinvale-cli: PATH is
// one of Brinvale's own files in the program folder; choose another output." Nothing when
// `path` may be written.
[[nodiscard]] std::optional<std::string> OwnFileRefusal(
    const std::string& path, const std::vector<std::string>& programFolders);

// Where a command's -o output goes (OpenOutput).
class Output {
 public:
  virtual ~Output() = default;
  // The file to write the output to.
  [[nodiscard]] virtual platform::WritableFile* file() = 0;
  // Makes the output whole: the replacement becomes the file, or the stream is flushed.
  [[nodiscard]] virtual base::Status finish() = 0;
  // True when the output is written as it comes (a stream), not replaced whole.
  [[nodiscard]] virtual bool streamed() const = 0;
};

// Opens `path` for a command's output. Where `path` leads, links followed, to something
// that is neither a regular file nor a folder (a terminal, a pipe, a character device), or
// goes through a descriptor of the process (/dev/stdout, /dev/fd/N, /proc/self/fd/N), the
// output is written to it as a stream and nothing is replaced; a regular file reached that
// way is appended to, as the shell's redirection left it. Anything else is replaced whole
// by the one replace path once finish() is called: a link in its place is replaced, never
// written through. Fails naming `path`.
[[nodiscard]] base::Result<std::unique_ptr<Output>> OpenOutput(platform::FileSystem& fs,
                                                               const std::string& path);

// The absolute form of `path` with symbolic links resolved, or nothing when it does not
// exist.
[[nodiscard]] std::optional<std::string> AbsolutePath(const std::string& path);

// True when `a` and `b` both name one existing file, links followed: an output that would
// replace (or, through a link, hide) an input.
[[nodiscard]] bool SameFile(const std::string& a, const std::string& b);

}  // namespace cli
