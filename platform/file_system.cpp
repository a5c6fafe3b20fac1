// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/file_system.h"

namespace platform {

Result<std::string> ReadWholeFile(FileSystem& fs, const std::string& path) {
  auto file = fs.openForReading(path);
  if (!file.isOk()) return file.status();
  std::string data;
  char buffer[64 * 1024];
  for (;;) {
    std::size_t got = 0;
    Status s = file.value()->read(sizeof buffer, buffer, &got);
    if (!s.isOk()) return s;
    if (got == 0) break;
    data.append(buffer, got);
  }
  return data;
}

Status WriteFileAtomically(FileSystem& fs, const std::string& path, std::string_view data) {
  const std::string temp = path + ".part";
  Status s;
  {
    auto file = fs.openForWriting(temp);
    if (!file.isOk()) return file.status();
    s = file.value()->append(data);
    Status closed = file.value()->close();
    if (s.isOk()) s = closed;
  }
  if (s.isOk()) s = fs.rename(temp, path);
  if (!s.isOk()) (void)fs.remove(temp);
  return s;
}

}  // namespace platform
