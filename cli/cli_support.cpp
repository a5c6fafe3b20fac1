// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_support.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <ostream>

#include "engine/ignore_list_file.h"
#include "engine/own_files.h"

namespace cli {
namespace {

class NoReport final : public engine::ReportSink {
 public:
  base::Status startSection(std::string_view, bool) override { return base::Status::ok(); }
  base::Status writeLine(std::string_view, engine::ColourIndex) override {
    return base::Status::ok();
  }
  base::Status writeClosing() override { return base::Status::ok(); }
};

}  // namespace

std::unique_ptr<engine::ReportSink> NewNoReportSink() { return std::make_unique<NoReport>(); }

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
  std::vector<base::Status> warnings;
  auto entries = engine::ReadIgnoreList(fs, *file, &warnings);
  if (!entries.isOk()) {
    line.fail(err, "cannot read the Ignore list: " + entries.status().message());
    return std::nullopt;
  }
  for (const base::Status& warning : warnings) line.fail(err, "warning: " + warning.message());
  return engine::IgnoreMatcher(entries.value());
}

base::Status StreamFile::append(std::string_view data) {
  if (m_out) m_out.write(data.data(), static_cast<std::streamsize>(data.size()));
  return m_out ? base::Status::ok() : base::Status::ioError("cannot write to standard output");
}

base::Status StreamFile::close() {
  if (m_out) m_out.flush();
  return m_out ? base::Status::ok() : base::Status::ioError("cannot write to standard output");
}

base::Status LineFeedFile::append(std::string_view data) {
  if (data.empty()) return base::Status::ok();
  m_buffer.clear();
  if (m_heldCr && data.front() != '\n') m_buffer += '\r';
  m_heldCr = false;
  for (std::size_t pos = 0; pos < data.size();) {
    const std::size_t cr = data.find('\r', pos);
    if (cr == std::string_view::npos) {
      m_buffer.append(data.substr(pos));
      break;
    }
    m_buffer.append(data.substr(pos, cr - pos));
    if (cr + 1 == data.size()) {
      m_heldCr = true;  // the next append says whether a line ends here
    } else if (data[cr + 1] != '\n') {
      m_buffer += '\r';
    }
    pos = cr + 1;
  }
  return m_target->append(m_buffer);
}

base::Status LineFeedFile::close() {
  base::Status status = base::Status::ok();
  if (m_heldCr) status = m_target->append("\r");
  m_heldCr = false;
  base::Status closed = m_target->close();
  return status.isOk() ? closed : status;
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

base::Result<std::int64_t> CountLines(platform::FileSystem& fs, const std::string& path) {
  auto file = fs.openForReading(path);
  if (!file.isOk()) return file.status();
  std::vector<char> buffer(1 << 16);
  std::int64_t lines = 0;
  char last = '\n';
  for (;;) {
    std::size_t got = 0;
    if (base::Status s = file.value()->read(buffer.size(), buffer.data(), &got); !s.isOk()) {
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

namespace {

// The folder part of `path` ("." for a bare name) and its last name.
std::pair<std::string, std::string> Split(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return {".", path};
  return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

std::string RealFolder(const std::string& folder) {
  char* real = ::realpath(folder.c_str(), nullptr);
  if (real == nullptr) return {};
  std::string result = real;
  std::free(real);
  return result;
}

bool SameIds(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// True when `path`, or a link on the way that `path` leads through, names a descriptor of
// the process: an entry of /proc/PID/fd (or /proc/self/fd), however it is reached.
bool ThroughADescriptor(std::string path) {
  for (int hops = 0; hops < 40; ++hops) {
    auto [folder, name] = Split(path);
    const std::string real = RealFolder(folder);
    if (real.starts_with("/proc/") && real.ends_with("/fd")) return true;
    char target[PATH_MAX];
    const ssize_t length = ::readlink(path.c_str(), target, sizeof target - 1);
    if (length < 0) return false;  // not a link (or not there): the path ends here
    const std::string next(target, static_cast<std::size_t>(length));
    path = next.starts_with('/') ? next : folder + "/" + next;
  }
  return false;
}

// Output to a stream that is opened on the path once and never replaced.
class StreamOutput final : public Output, public platform::WritableFile {
 public:
  StreamOutput(int fd, std::string path) : m_fd(fd), m_path(std::move(path)) {}
  ~StreamOutput() override {
    if (m_fd >= 0) ::close(m_fd);
  }
  platform::WritableFile* file() override { return this; }
  bool streamed() const override { return true; }
  base::Status finish() override { return close(); }

  base::Status append(std::string_view data) override {
    if (m_fd < 0) return base::Status::ioError(m_path + ": the output is closed");
    while (!data.empty()) {
      const ssize_t written = ::write(m_fd, data.data(), data.size());
      if (written < 0 && errno == EINTR) continue;
      if (written <= 0) return base::Status::fromErrno(errno, m_path);
      data.remove_prefix(static_cast<std::size_t>(written));
    }
    return base::Status::ok();
  }
  base::Status close() override {
    if (m_fd < 0) return base::Status::ok();
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0 && errno != EINTR) return base::Status::fromErrno(errno, m_path);
    return base::Status::ok();
  }

 private:
  int m_fd;
  std::string m_path;
};

// Output that replaces its file whole on finish().
class ReplacedOutput final : public Output {
 public:
  explicit ReplacedOutput(std::unique_ptr<platform::ReplacementFile> file)
      : m_file(std::move(file)) {}
  platform::WritableFile* file() override { return m_file.get(); }
  bool streamed() const override { return false; }
  base::Status finish() override { return m_file->commit(); }

 private:
  std::unique_ptr<platform::ReplacementFile> m_file;
};

}  // namespace

std::optional<std::string> OwnFileRefusal(const std::string& path,
                                          const std::vector<std::string>& programFolders) {
  std::vector<struct stat> folders;
  for (const std::string& folder : programFolders) {
    struct stat st {};
    if (!folder.empty() && ::stat(folder.c_str(), &st) == 0) folders.push_back(st);
  }
  auto [folder, name] = Split(path);
  std::string at = RealFolder(folder);
  if (folders.empty() || at.empty() || name.empty()) return std::nullopt;
  // From the output's folder up to the root: is one of them a program folder, and the
  // output one of its own files below it?
  std::string relative = name;
  for (;;) {
    struct stat st {};
    if (::stat(at.c_str(), &st) == 0) {
      for (const struct stat& program : folders) {
        if (SameIds(st, program) && engine::IsOwnFile(relative)) {
          return "brinvale-cli: " + path +
                 " is one of Brinvale's own files in the program folder; choose another output.";
        }
      }
    }
    if (at == "/") return std::nullopt;
    auto [parent, last] = Split(at);
    relative = last + "/" + relative;
    at = parent;
  }
}

base::Result<std::unique_ptr<Output>> OpenOutput(platform::FileSystem& fs,
                                                 const std::string& path) {
  struct stat st {};
  const bool exists = ::stat(path.c_str(), &st) == 0;
  const bool descriptor = exists && ThroughADescriptor(path);
  if (exists && !S_ISDIR(st.st_mode) && (!S_ISREG(st.st_mode) || descriptor)) {
    // O_NOCTTY: a terminal named as the output does not become the program's own.
    const int fd = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return base::Status::fromErrno(errno, path);
    struct stat opened {};
    if (::fstat(fd, &opened) != 0) {
      const int err = errno;
      ::close(fd);
      return base::Status::fromErrno(err, path);
    }
    if (!S_ISREG(opened.st_mode) || descriptor) {
      if (S_ISREG(opened.st_mode)) (void)::fcntl(fd, F_SETFL, O_APPEND);
      return std::unique_ptr<Output>(std::make_unique<StreamOutput>(fd, path));
    }
    // A regular file took the stream's place meanwhile: it is replaced like any other.
    ::close(fd);
  }
  auto replacement = fs.openForReplacing(path);
  if (!replacement.isOk()) return replacement.status();
  return std::unique_ptr<Output>(std::make_unique<ReplacedOutput>(std::move(replacement).value()));
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
