// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/totext_command.h"

#include <memory>
#include <optional>
#include <ostream>
#include <utility>

#include "cli/cli_support.h"
#include "platform/posix/posix_file_system.h"
#include "reports/report_text.h"

namespace cli {
namespace {

constexpr const char* kAbout =
    "Writes the plain text of the report FILE, one line per paragraph, in UTF-8, to OUT, or\n"
    "to standard output without -o or with '-o -'. Lines end with CR LF in a file, as in a\n"
    "report, and with LF on standard output or a pipe. FILE is read as rich text when it\n"
    "begins with {\\rtf, otherwise as plain text. OUT may not be FILE; it is replaced only\n"
    "when the text is complete.\n";

}  // namespace

int RunTotextCommand(const std::vector<std::string>& args, const std::string& defaultProgramFolder,
                     std::ostream& out, std::ostream& err) {
  CommandLine line("totext", "totext FILE [-o OUT]", kAbout);
  line.add(OutputOption("OUT", "where the text goes; - for standard output"));
  if (auto done = line.parse(args, out, err)) return *done;
  if (line.positional().size() != 1) return line.fail(err, "expected one FILE (see --help)");
  auto output = line.value("output");
  if (output && output->empty()) return line.fail(err, "-o needs a file name, or - (see --help)");
  if (output && *output == kStandardOutputName) output.reset();
  if (output && SameFile(line.positional()[0], *output)) {
    return line.fail(err, *output + ": is the report FILE; write the text elsewhere");
  }
  if (const auto refusal =
          output ? OwnFileRefusal(*output, {defaultProgramFolder}) : std::nullopt) {
    err << *refusal << '\n';
    return kExitError;
  }

  // File names are used as the bytes they are, so a name that is not valid UTF-8 is found.
  platform::PosixFileSystem fs;
  const std::string& input = line.positional()[0];
  // FILE is opened first, so that a missing one leaves a pipe or terminal named by -o
  // untouched.
  if (auto probe = fs.openForReading(input); !probe.isOk()) {
    return line.fail(err, probe.status().message());
  }
  std::unique_ptr<Output> opened;
  StreamFile standardOutput(out);
  platform::WritableFile* file = &standardOutput;
  if (output) {
    auto named = OpenOutput(fs, *output);
    if (!named.isOk()) return line.fail(err, named.status().message());
    opened = std::move(named).value();
    file = opened->file();
  }
  // Text on standard output or a stream ends its lines with LF; a file keeps CR LF.
  std::optional<LineFeedFile> lineFeeds;
  if (!opened || opened->streamed()) {
    lineFeeds.emplace(file);
    file = &*lineFeeds;
  }
  // A failure drops a replacement unfinished, so a previous OUT stays as it was.
  base::Status status = reports::AppendReportFileAsPlainText(fs, input, file);
  if (status.isOk() && lineFeeds) status = lineFeeds->close();
  if (status.isOk()) status = opened ? opened->finish() : standardOutput.close();
  return status.isOk() ? kExitOk : line.fail(err, status.message());
}

}  // namespace cli
