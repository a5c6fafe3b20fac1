// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The floor of a comparison: reads two profiles, each on a thread of its own in 1 MiB
// blocks, and splits them into lines with memchr. Nothing is parsed, compared or written;
// the line counts are printed. bench/compare_bench.py times it beside the comparison.
//
//   listing_floor OLD NEW
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <thread>

namespace {

constexpr std::size_t kBlock = 1024 * 1024;

// Lines of the file at `path`, or -1 when it cannot be read.
long long CountLines(const char* path) {
  const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return -1;
  std::unique_ptr<char[]> block(new char[kBlock]);
  long long lines = 0;
  for (;;) {
    const ssize_t got = ::read(fd, block.get(), kBlock);
    if (got < 0) {
      ::close(fd);
      return -1;
    }
    if (got == 0) break;
    const char* at = block.get();
    const char* end = at + got;
    while (const void* nl = std::memchr(at, '\n', static_cast<std::size_t>(end - at))) {
      ++lines;
      at = static_cast<const char*>(nl) + 1;
    }
  }
  ::close(fd);
  return lines;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: listing_floor OLD NEW\n");
    return 2;
  }
  long long oldLines = 0;
  std::thread other([&] { oldLines = CountLines(argv[1]); });
  const long long newLines = CountLines(argv[2]);
  other.join();
  if (oldLines < 0 || newLines < 0) {
    std::fprintf(stderr, "listing_floor: cannot read the profiles\n");
    return 1;
  }
  std::fprintf(stderr, "%lld and %lld lines\n", oldLines, newLines);
  return 0;
}
