// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/command_line.h"

#include <QStringList>
#include <algorithm>
#include <ostream>

#include "cli/cli_support.h"

namespace cli {
namespace {

constexpr std::size_t kNameColumn = 24;  // where descriptions start, unless names are longer

QCommandLineOption HelpOption() {
  return QCommandLineOption({QStringLiteral("h"), QStringLiteral("help")},
                            QStringLiteral("show this help"));
}

// "-o, --output FILE": the names as typed, then the value's name.
std::string NamesOf(const QCommandLineOption& option) {
  std::string names;
  for (const QString& name : option.names()) {
    if (!names.empty()) names += ", ";
    names += (name.size() == 1 ? "-" : "--") + name.toStdString();
  }
  if (!option.valueName().isEmpty()) names += " " + option.valueName().toStdString();
  return names;
}

}  // namespace

std::string ParserError(const QCommandLineParser& parser) {
  std::string text = ArgumentBytes(parser.errorText());
  if (!text.empty() && text.back() == '.') text.pop_back();
  return text;
}

QCommandLineOption OutputOption(const char* valueName, const char* description) {
  return QCommandLineOption({QStringLiteral("o"), QStringLiteral("output")},
                            QString::fromUtf8(description), QString::fromUtf8(valueName));
}

QCommandLineOption ProgramFolderOption() {
  return QCommandLineOption(QStringLiteral("program-folder"),
                            QStringLiteral("use the profiles, settings, Ignore list and reports "
                                           "in DIR\ninstead of the program folder"),
                            QStringLiteral("DIR"));
}

QCommandLineOption QuietOption() {
  return QCommandLineOption({QStringLiteral("q"), QStringLiteral("quiet")},
                            QStringLiteral("print nothing on standard error but problems"));
}

QCommandLineOption ProgressOption() {
  return QCommandLineOption(QStringLiteral("progress"),
                            QStringLiteral("show what is being done also when standard error\n"
                                           "is not a terminal (one line per step)"));
}

QCommandLineOption JsonOption(const char* description) {
  return QCommandLineOption(QStringLiteral("json"), QString::fromUtf8(description));
}

QCommandLineOption IgnoreListOption(const char* description) {
  return QCommandLineOption(QStringLiteral("ignore"), QString::fromUtf8(description),
                            QStringLiteral("IGNOREFILE"));
}

QString ArgumentText(const std::string& bytes) {
  return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string ArgumentBytes(const QString& text) { return text.toLatin1().toStdString(); }

CommandLine::CommandLine(std::string command, std::string synopsis, std::string about)
    : m_command(std::move(command)), m_synopsis(std::move(synopsis)), m_about(std::move(about)) {
  // -abc is -a -b -c, and -oFILE is -o FILE, as with getopt.
  m_parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsCompactedShortOptions);
  add(HelpOption());
}

void CommandLine::add(const QCommandLineOption& option) {
  m_options.push_back(option);
  m_parser.addOption(option);
}

std::optional<int> CommandLine::parse(const std::vector<std::string>& args, std::ostream& out,
                                      std::ostream& err) {
  QStringList words{QStringLiteral("brinvale-cli")};
  for (const std::string& arg : args) words.push_back(ArgumentText(arg));
  if (!m_parser.parse(words)) {
    return fail(err, ParserError(m_parser) + " (see --help)");
  }
  if (m_parser.isSet(QStringLiteral("help"))) {
    out << help();
    return kExitOk;
  }
  m_positional.clear();
  for (const QString& word : m_parser.positionalArguments()) {
    m_positional.push_back(ArgumentBytes(word));
  }
  return std::nullopt;
}

bool CommandLine::isSet(const char* name) const {
  return m_parser.isSet(QString::fromLatin1(name));
}

std::optional<std::string> CommandLine::value(const char* name) const {
  const QStringList values = m_parser.values(QString::fromLatin1(name));
  if (values.isEmpty()) return std::nullopt;
  return ArgumentBytes(values.back());
}

std::string CommandLine::help() const {
  return "Usage: brinvale-cli " + m_synopsis + "\n\n" + m_about + "\nOptions:\n" +
         OptionTable(m_options) + "\n" + kExitStatusHelp;
}

int CommandLine::fail(std::ostream& err, const std::string& message) const {
  err << "brinvale-cli " << m_command << ": " << message << '\n';
  return kExitError;
}

std::string OptionTable(const std::vector<QCommandLineOption>& options) {
  std::size_t column = 0;
  for (const QCommandLineOption& option : options) {
    column = std::max(column, NamesOf(option).size() + 4);
  }
  column = std::min(column, kNameColumn);
  std::string table;
  for (const QCommandLineOption& option : options) {
    std::string line = "  " + NamesOf(option);
    // Names too long for the column get the description on the next line.
    if (line.size() + 2 > column) {
      table += line + "\n";
      line.clear();
    }
    line.resize(column, ' ');
    const std::string description = option.description().toStdString();
    std::size_t start = 0;
    for (;;) {
      const std::size_t end = description.find('\n', start);
      table += line + description.substr(start, end - start) + "\n";
      if (end == std::string::npos) break;
      start = end + 1;
      line.assign(column, ' ');
    }
  }
  return table;
}

}  // namespace cli
