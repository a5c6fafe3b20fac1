// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/file_system.h"

namespace platform {
namespace {

constexpr std::string_view kTemporaryMark = ".brinvale-";
// Leaves room for the mark, a process id and a tag within the 255 bytes most file systems
// allow a name.
constexpr std::size_t kMaxTargetNameInTemporary = 160;

bool AllDigits(std::string_view text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

bool AllLettersAndDigits(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))) {
      return false;
    }
  }
  return true;
}

class MemoryScratchFile final : public ScratchFile {
 public:
  base::Status append(std::string_view data) override {
    m_data.append(data);
    return base::Status::ok();
  }
  base::Status readAt(std::uint64_t offset, std::size_t n, char* out) const override {
    if (offset > m_data.size() || n > m_data.size() - offset) {
      return base::Status::ioError("scratch space: read beyond what was written");
    }
    m_data.copy(out, n, static_cast<std::size_t>(offset));
    return base::Status::ok();
  }

 private:
  std::string m_data;
};

}  // namespace

std::unique_ptr<ScratchFile> FileSystem::openScratch() {
  return std::make_unique<MemoryScratchFile>();
}

base::Result<std::string> ReadWholeFile(FileSystem& fs, const std::string& path,
                                        std::size_t maxBytes) {
  auto file = fs.openForReading(path);
  if (!file.isOk()) return file.status();
  std::string data;
  char buffer[64 * 1024];
  for (;;) {
    std::size_t got = 0;
    base::Status s = file.value()->read(sizeof buffer, buffer, &got);
    if (!s.isOk()) return s;
    if (got == 0) break;
    if (got > maxBytes - data.size()) {
      return base::Status::invalidArgument(path + ": larger than " + std::to_string(maxBytes) +
                                           " bytes, too large for what it should hold");
    }
    data.append(buffer, got);
  }
  return data;
}

base::Status WriteFileAtomically(FileSystem& fs, const std::string& path, std::string_view data) {
  auto file = fs.openForReplacing(path);
  if (!file.isOk()) return file.status();
  if (base::Status s = file.value()->append(data); !s.isOk()) return s;
  return file.value()->commit();
}

base::Status AppendWholeFile(FileSystem& fs, const std::string& from, WritableFile* out) {
  auto in = fs.openForReading(from);
  if (!in.isOk()) return in.status();
  std::string buffer(256 * 1024, '\0');
  for (;;) {
    std::size_t got = 0;
    if (base::Status s = in.value()->read(buffer.size(), buffer.data(), &got); !s.isOk()) return s;
    if (got == 0) return base::Status::ok();
    if (base::Status s = out->append(std::string_view(buffer.data(), got)); !s.isOk()) return s;
  }
}

base::Status CopyFile(FileSystem& fs, const std::string& from, const std::string& to) {
  auto out = fs.openForReplacing(to);
  if (!out.isOk()) return out.status();
  if (base::Status s = AppendWholeFile(fs, from, out.value().get()); !s.isOk()) return s;
  return out.value()->commit();
}

std::string TemporaryName(std::string_view targetName, std::uint64_t processId,
                          std::string_view tag) {
  std::string name = ".";
  name.append(targetName.substr(0, kMaxTargetNameInTemporary));
  name.append(kTemporaryMark).append(std::to_string(processId)).append("-").append(tag);
  return name;
}

bool IsTemporaryName(std::string_view name) {
  // "." & NAME & ".brinvale-" & PID & "-" & TAG, with a name of at least one byte.
  if (!name.starts_with('.')) return false;
  const std::size_t at = name.rfind(kTemporaryMark);
  if (at == std::string_view::npos || at < 2) return false;
  const std::string_view rest = name.substr(at + kTemporaryMark.size());
  const std::size_t dash = rest.find('-');
  if (dash == std::string_view::npos || !AllDigits(rest.substr(0, dash))) return false;
  return AllLettersAndDigits(rest.substr(dash + 1));
}

}  // namespace platform
