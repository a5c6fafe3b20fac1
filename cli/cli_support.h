// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// What the subcommands of brinvale-cli share: exit codes, argument scanning and the
// progress printer.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

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

// Scans `args` for options. Each option may take a value (`-o FILE`, `--ignore=FILE` or
// `--ignore FILE`); other words are positional. Unknown options are errors.
class ArgumentScanner {
 public:
  // `withValue` and `flags` list the accepted options, e.g. {"-o", "--ignore"}, {"--text"}.
  ArgumentScanner(std::vector<std::string> withValue, std::vector<std::string> flags);

  // False with `*error` set when the arguments do not fit.
  [[nodiscard]] bool scan(const std::vector<std::string>& args, std::string* error);

  [[nodiscard]] bool has(const std::string& option) const;
  [[nodiscard]] std::optional<std::string> value(const std::string& option) const;
  // The value of the first of `names` that was given (an option and its aliases).
  [[nodiscard]] std::optional<std::string> value(std::initializer_list<const char*> names) const;
  [[nodiscard]] const std::vector<std::string>& positional() const { return m_positional; }

 private:
  std::vector<std::string> m_withValue;
  std::vector<std::string> m_flags;
  std::vector<std::pair<std::string, std::string>> m_given;
  std::vector<std::string> m_positional;
};

// Scans the arguments of the command `name` ("profile"); --help and -h are always accepted.
// Returns the exit code when the command is done already: kExitError after a one-line
// message on `err` for arguments that do not fit, kExitOk after `usage` and the exit
// statuses (kExitStatusHelp) on `out` for --help.
// Returns nothing when the command should go on.
[[nodiscard]] std::optional<int> ScanCommandLine(ArgumentScanner* scanner,
                                                 const std::vector<std::string>& args,
                                                 const char* name, const char* usage,
                                                 std::ostream& out, std::ostream& err);

// The folders of the Ignore list file given with --ignore, or an empty list without it.
// Nothing, after a one-line message on `err`, when the file is missing or cannot be read.
// Lines read as meant rather than as written are warnings on `err`.
[[nodiscard]] std::optional<engine::IgnoreMatcher> IgnoreOption(const ArgumentScanner& scanner,
                                                                platform::FileSystem& fs,
                                                                const char* name,
                                                                std::ostream& err);

// Prints each new caption to a stream: one line per caption, or, on a terminal, one line
// rewritten in place. Never cancels.
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

 private:
  std::ostream& m_out;
  bool m_terminal;
  std::string m_last;
  bool m_open = false;
};

// The absolute form of `path` with symbolic links resolved, or nothing when it does not
// exist.
[[nodiscard]] std::optional<std::string> AbsolutePath(const std::string& path);

// True when `a` and `b` both name one existing file, links followed: an output that would
// replace (or, through a link, hide) an input.
[[nodiscard]] bool SameFile(const std::string& a, const std::string& b);

}  // namespace cli
