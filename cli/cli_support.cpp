// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_support.h"

#include <algorithm>
#include <filesystem>
#include <ostream>

#include "engine/ignore_list_file.h"

namespace cli {

ArgumentScanner::ArgumentScanner(std::vector<std::string> withValue, std::vector<std::string> flags)
    : m_withValue(std::move(withValue)), m_flags(std::move(flags)) {
  m_flags.insert(m_flags.end(), {"--help", "-h"});
}

bool ArgumentScanner::scan(const std::vector<std::string>& args, std::string* error) {
  auto contains = [](const std::vector<std::string>& list, const std::string& word) {
    return std::find(list.begin(), list.end(), word) != list.end();
  };
  bool onlyPositional = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (onlyPositional || arg.size() < 2 || arg[0] != '-') {
      m_positional.push_back(arg);
      continue;
    }
    if (arg == "--") {
      onlyPositional = true;
      continue;
    }
    std::string name = arg;
    std::optional<std::string> inlineValue;
    if (const auto eq = arg.find('='); arg.rfind("--", 0) == 0 && eq != std::string::npos) {
      name = arg.substr(0, eq);
      inlineValue = arg.substr(eq + 1);
    }
    if (contains(m_flags, name) && !inlineValue) {
      m_given.emplace_back(name, "");
    } else if (contains(m_withValue, name)) {
      if (!inlineValue) {
        if (i + 1 >= args.size()) {
          *error = "option " + name + " needs a value";
          return false;
        }
        inlineValue = args[++i];
      }
      m_given.emplace_back(name, *inlineValue);
    } else {
      *error = "unknown option " + arg;
      return false;
    }
  }
  return true;
}

bool ArgumentScanner::has(const std::string& option) const {
  return std::any_of(m_given.begin(), m_given.end(),
                     [&](const auto& given) { return given.first == option; });
}

std::optional<std::string> ArgumentScanner::value(const std::string& option) const {
  // The last one given wins, as with most command-line tools.
  for (auto it = m_given.rbegin(); it != m_given.rend(); ++it) {
    if (it->first == option) return it->second;
  }
  return std::nullopt;
}

std::optional<std::string> ArgumentScanner::value(std::initializer_list<const char*> names) const {
  for (const char* name : names) {
    if (auto given = value(std::string(name))) return given;
  }
  return std::nullopt;
}

std::optional<int> ScanCommandLine(ArgumentScanner* scanner, const std::vector<std::string>& args,
                                   const char* name, const char* usage, std::ostream& out,
                                   std::ostream& err) {
  std::string error;
  if (!scanner->scan(args, &error)) {
    err << "brinvale-cli " << name << ": " << error << " (see --help)\n";
    return kExitError;
  }
  if (scanner->has("--help") || scanner->has("-h")) {
    out << usage << '\n' << kExitStatusHelp;
    return kExitOk;
  }
  return std::nullopt;
}

std::optional<engine::IgnoreMatcher> IgnoreOption(const ArgumentScanner& scanner,
                                                  platform::FileSystem& fs, const char* name,
                                                  std::ostream& err) {
  const auto file = scanner.value("--ignore");
  if (!file) return engine::IgnoreMatcher();
  // A list given by name that is not there is a mistake, not an empty list.
  if (!fs.exists(*file)) {
    err << "brinvale-cli " << name << ": cannot read the Ignore list: " << *file
        << ": no such file\n";
    return std::nullopt;
  }
  std::vector<engine::Status> warnings;
  auto entries = engine::ReadIgnoreList(fs, *file, &warnings);
  if (!entries.isOk()) {
    err << "brinvale-cli " << name
        << ": cannot read the Ignore list: " << entries.status().message() << '\n';
    return std::nullopt;
  }
  for (const engine::Status& warning : warnings) {
    err << "brinvale-cli " << name << ": warning: " << warning.message() << '\n';
  }
  return engine::IgnoreMatcher(entries.value());
}

CaptionPrinter::CaptionPrinter(std::ostream& out, bool terminal)
    : m_out(out), m_terminal(terminal) {}

CaptionPrinter::~CaptionPrinter() {
  if (m_open) m_out << '\n' << std::flush;
}

void CaptionPrinter::setCaption(std::string_view caption) {
  if (caption == m_last) return;
  m_last.assign(caption);
  if (m_terminal) {
    // Rewrite the line in place: carriage return, the caption, erase to the end of line.
    m_out << '\r' << caption << "\x1b[K" << std::flush;
    m_open = true;
  } else {
    m_out << caption << '\n';
  }
}

bool SameFile(const std::string& a, const std::string& b) {
  std::error_code ec;
  return std::filesystem::equivalent(a, b, ec) && !ec;
}

std::optional<std::string> AbsolutePath(const std::string& path) {
  std::error_code ec;
  std::filesystem::path canonical = std::filesystem::canonical(path, ec);
  if (ec) return std::nullopt;
  return canonical.string();
}

}  // namespace cli
