// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The options of one brinvale-cli command on QCommandLineParser, and the help text made
// from them, so that every command takes the same forms (-o FILE, -oFILE, --output=FILE).
#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace cli {

// The options several commands share.
QCommandLineOption OutputOption(const char* valueName, const char* description);
QCommandLineOption ProgramFolderOption();
QCommandLineOption QuietOption();
QCommandLineOption ProgressOption();
QCommandLineOption JsonOption(const char* description);
QCommandLineOption IgnoreListOption(const char* description);

// A command's command line: its synopsis, what it does, and its options. -h and --help are
// always there. Arguments are bytes, as the system hands them over: they pass through the
// parser as Latin-1 text (one character per byte) and come back as the same bytes, so a
// file name that is not UTF-8 is never altered.
class CommandLine {
 public:
  // `command` is the command's word ("compare"); `synopsis` what follows "Usage: brinvale-cli
  // " in the help; `about` the paragraphs after it, ending in a newline.
  CommandLine(std::string command, std::string synopsis, std::string about);
  CommandLine(const CommandLine&) = delete;
  CommandLine& operator=(const CommandLine&) = delete;

  void add(const QCommandLineOption& option);

  // Parses the words after the command. Returns the exit status when the command is done
  // already: kExitError after one line on `err` for an unknown option, a missing or
  // unexpected value; kExitOk after the help on `out` for -h or --help. Returns nothing
  // when the command should go on.
  [[nodiscard]] std::optional<int> parse(const std::vector<std::string>& args, std::ostream& out,
                                         std::ostream& err);

  // By any of the option's names, without dashes ("o" or "output").
  [[nodiscard]] bool isSet(const char* name) const;
  // The value given last, as bytes; nothing when the option was not given.
  [[nodiscard]] std::optional<std::string> value(const char* name) const;
  [[nodiscard]] const std::vector<std::string>& positional() const { return m_positional; }

  // "Usage: brinvale-cli SYNOPSIS", the about text, the options with their descriptions
  // and the exit statuses.
  [[nodiscard]] std::string help() const;

  // Writes "brinvale-cli COMMAND: MESSAGE" as one line to `err`; returns kExitError.
  int fail(std::ostream& err, const std::string& message) const;

 private:
  std::string m_command;
  std::string m_synopsis;
  std::string m_about;
  std::vector<QCommandLineOption> m_options;
  QCommandLineParser m_parser;
  std::vector<std::string> m_positional;
};

// The table of options as the help shows it: names and value on the left, the description
// on the right, continued lines indented.
std::string OptionTable(const std::vector<QCommandLineOption>& options);

// The parser's error ("Unknown option 'x'", "Missing value after '-o'") as one phrase.
std::string ParserError(const QCommandLineParser& parser);

// The bytes of an argument as parser text, and back (Latin-1, one character per byte).
QString ArgumentText(const std::string& bytes);
std::string ArgumentBytes(const QString& text);

}  // namespace cli
