// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/totext_command.h"

#include <ostream>

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTextDocument>

#include "cli/cli_support.h"
#include "reports/plain_text.h"
#include "reports/report_file.h"

namespace cli {
namespace {

constexpr const char* kAbout =
    "Writes the plain text of the report FILE, one line per paragraph ended by CR LF, in\n"
    "UTF-8, to OUT, or to standard output without -o or with '-o -'. FILE is read as rich\n"
    "text when it begins with {\\rtf, otherwise as plain text. OUT may not be FILE; it is\n"
    "replaced only when the text is complete.\n";

// File names on the command line are bytes in the file system's encoding.
QString FileName(const std::string& arg) {
  return QFile::decodeName(QByteArray(arg.data(), static_cast<qsizetype>(arg.size())));
}

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

  QTextDocument document;
  if (const engine::Status status =
          reports::LoadReportFile(FileName(line.positional()[0]), &document);
      !status.isOk()) {
    return line.fail(err, status.message());
  }
  if (output) {
    const engine::Status status =
        reports::SaveReportFile(document, FileName(*output), reports::ReportFormat::kPlainText);
    return status.isOk() ? kExitOk : line.fail(err, status.message());
  }
  const QByteArray text = reports::PlainTextOf(document);
  out.write(text.constData(), text.size());
  out.flush();
  return out ? kExitOk : line.fail(err, "cannot write to standard output");
}

}  // namespace cli
