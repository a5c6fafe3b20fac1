// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/totext_command.h"

#include <ostream>

#include "cli/cli_support.h"
#include "platform/posix/posix_file_system.h"
#include "reports/report_text.h"

namespace cli {
namespace {

constexpr const char* kAbout =
    "Writes the plain text of the report FILE, one line per paragraph ended by CR LF, in\n"
    "UTF-8, to OUT, or to standard output without -o or with '-o -'. FILE is read as rich\n"
    "text when it begins with {\\rtf, otherwise as plain text. OUT may not be FILE; it is\n"
    "replaced only when the text is complete.\n";

}  // namespace

int RunTotextCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
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

  // File names are used as the bytes they are, so a name that is not valid UTF-8 is found.
  platform::PosixFileSystem fs;
  const std::string& input = line.positional()[0];
  if (output) {
    const engine::Status status = reports::SaveReportFileAsPlainText(fs, input, *output);
    return status.isOk() ? kExitOk : line.fail(err, status.message());
  }
  StreamFile stream(out);
  engine::Status status = reports::AppendReportFileAsPlainText(fs, input, &stream);
  if (status.isOk()) status = stream.close();
  return status.isOk() ? kExitOk : line.fail(err, status.message());
}

}  // namespace cli
