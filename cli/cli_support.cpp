// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_support.h"

#include <algorithm>
#include <filesystem>
#include <ostream>

#include "engine/ignore_list_file.h"

namespace cli {

std::optional<Chatter> ChatterOf(const CommandLine& line, bool errIsTerminal, std::ostream& err) {
  const bool quiet = line.isSet("quiet");
  const bool progress = line.isSet("progress");
  if (quiet && progress) {
    line.fail(err, "-q and --progress exclude each other");
    return std::nullopt;
  }
  Chatter chatter;
  chatter.captions = progress || (errIsTerminal && !quiet);
  chatter.notes = !quiet;
  return chatter;
}

std::optional<engine::IgnoreMatcher> IgnoreOption(const CommandLine& line, platform::FileSystem& fs,
                                                  std::ostream& err) {
  const auto file = line.value("ignore");
  if (!file) return engine::IgnoreMatcher();
  // A list given by name that is not there is a mistake, not an empty list.
  if (!fs.exists(*file)) {
    line.fail(err, "cannot read the Ignore list: " + *file + ": no such file");
    return std::nullopt;
  }
  std::vector<engine::Status> warnings;
  auto entries = engine::ReadIgnoreList(fs, *file, &warnings);
  if (!entries.isOk()) {
    line.fail(err, "cannot read the Ignore list: " + entries.status().message());
    return std::nullopt;
  }
  for (const engine::Status& warning : warnings) line.fail(err, "warning: " + warning.message());
  return engine::IgnoreMatcher(entries.value());
}

engine::Status StreamFile::append(std::string_view data) {
  if (m_out) m_out.write(data.data(), static_cast<std::streamsize>(data.size()));
  return m_out ? engine::Status::ok() : engine::Status::ioError("cannot write to standard output");
}

engine::Status StreamFile::close() {
  if (m_out) m_out.flush();
  return m_out ? engine::Status::ok() : engine::Status::ioError("cannot write to standard output");
}

std::string GroupedCount(std::int64_t count, const std::string& separator) {
  const std::string digits = std::to_string(count);
  const std::size_t sign = count < 0 ? 1 : 0;
  std::string grouped = digits.substr(0, sign);
  for (std::size_t i = sign; i < digits.size(); ++i) {
    if (i > sign && (digits.size() - i) % 3 == 0) grouped += separator;
    grouped += digits[i];
  }
  return grouped;
}

engine::Result<std::int64_t> CountLines(platform::FileSystem& fs, const std::string& path) {
  auto file = fs.openForReading(path);
  if (!file.isOk()) return file.status();
  std::vector<char> buffer(1 << 16);
  std::int64_t lines = 0;
  char last = '\n';
  for (;;) {
    std::size_t got = 0;
    if (engine::Status s = file.value()->read(buffer.size(), buffer.data(), &got); !s.isOk()) {
      return s;
    }
    if (got == 0) break;
    lines += std::count(buffer.data(), buffer.data() + got, '\n');
    last = buffer[got - 1];
  }
  return last == '\n' ? lines : lines + 1;
}

CaptionPrinter::CaptionPrinter(std::ostream& out, bool terminal)
    : m_out(out), m_terminal(terminal) {}

CaptionPrinter::~CaptionPrinter() { clear(); }

void CaptionPrinter::clear() {
  if (!m_open) return;
  m_out << "\r\x1b[K" << std::flush;
  m_open = false;
  // The next caption is shown again, even when it is the one just erased.
  m_last.clear();
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
