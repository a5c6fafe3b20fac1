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

constexpr const char* kUsage =
    "Usage: brinvale-cli totext FILE [-o OUT]\n"
    "\n"
    "Writes the plain text of the report FILE, one line per paragraph ended by CR LF, in\n"
    "UTF-8, to OUT (or --output=OUT), or to standard output. FILE is read as rich text when\n"
    "it begins with {\\rtf, otherwise as plain text. OUT may not be FILE.\n";

int Fail(std::ostream& err, const std::string& message) {
  err << "brinvale-cli totext: " << message << '\n';
  return kExitError;
}

// File names on the command line are bytes in the file system's encoding.
QString FileName(const std::string& arg) {
  return QFile::decodeName(QByteArray(arg.data(), static_cast<qsizetype>(arg.size())));
}

}  // namespace

int RunTotextCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  ArgumentScanner scanner({"-o", "--output"}, {"--help", "-h"});
  std::string error;
  if (!scanner.scan(args, &error)) return Fail(err, error + " (see --help)");
  if (scanner.has("--help") || scanner.has("-h")) {
    out << kUsage << '\n' << kExitStatusHelp;
    return kExitOk;
  }
  if (scanner.positional().size() != 1) return Fail(err, "expected one FILE (see --help)");
  auto output = scanner.value("-o");
  if (!output) output = scanner.value("--output");
  if (output && SameFile(scanner.positional()[0], *output)) {
    return Fail(err, *output + ": is the report FILE; write the text elsewhere");
  }

  QTextDocument document;
  if (const engine::Status status =
          reports::LoadReportFile(FileName(scanner.positional()[0]), &document);
      !status.isOk()) {
    return Fail(err, status.message());
  }
  if (output) {
    const engine::Status status =
        reports::SaveReportFile(document, FileName(*output), reports::ReportFormat::kPlainText);
    return status.isOk() ? kExitOk : Fail(err, status.message());
  }
  const QByteArray text = reports::PlainTextOf(document);
  out.write(text.constData(), text.size());
  out.flush();
  return out ? kExitOk : Fail(err, "cannot write to standard output");
}

}  // namespace cli
