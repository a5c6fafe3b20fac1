// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Fuzz target for the profile reader: any input must read without a crash, and every record
// it accepts must be written and read back as the same record.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/profile_reader.h"
#include "engine/profile_record.h"
#include "platform/testing/memory_file_system.h"

namespace {

[[noreturn]] void Fail(const char* what) {
  std::fputs(what, stderr);
  std::fputc('\n', stderr);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  platform::MemoryFileSystem fs;
  fs.addTextFile("C:\\p.bvp", std::string(reinterpret_cast<const char*>(data), size));
  auto reader = engine::ProfileReader::Open(fs, "C:\\p.bvp");
  if (!reader.isOk()) Fail("an existing profile could not be opened");
  engine::ProfileRecord record;
  while (reader.value()->next(&record)) {
    std::string line;
    engine::AppendProfileLine(record, &line);
    if (line.size() < 2 || line.compare(line.size() - 2, 2, "\r\n") != 0) Fail("no CR LF");
    engine::ProfileRecord back;
    if (!engine::ParseProfileLine(std::string_view(line).substr(0, line.size() - 2), &back)
             .isOk()) {
      Fail("a written record does not read back");
    }
    if (back.size != record.size || back.time != record.time || back.folder != record.folder ||
        back.name != record.name) {
      Fail("a record changed when written and read back");
    }
  }
  return 0;
}
