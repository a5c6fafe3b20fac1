// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/zstd/zstd_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/testing/memory_file_system.h"

namespace platform {
namespace {

using ::testing::HasSubstr;

// Profile-like lines, many and varied enough that several compressed blocks are written.
std::string Lines(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) {
    text += std::to_string(i * 7919 % 100003) +
            ",#2026-03-14 02:30:" + std::to_string(10 + i % 50) + "#,\"C:\\DATA\\" +
            std::to_string(i / 100) + "\\\",\"file" + std::to_string(i) + ".txt\"\r\n";
  }
  return text;
}

class ZstdFileTest : public ::testing::Test {
 protected:
  ZstdFileTest() { m_fs.addFolder("C:\\"); }

  // Compresses `data` into `path`, appending it in pieces of `piece` bytes.
  base::Status Compress(const std::string& path, std::string_view data, int threads,
                        std::size_t piece = 4096) {
    auto out = m_fs.openForReplacing(path);
    if (!out.isOk()) return out.status();
    auto writer = CompressingFile::Open(out.value().get(), kFastCompressionLevel, threads);
    if (!writer.isOk()) return writer.status();
    for (std::size_t at = 0; at < data.size(); at += piece) {
      if (base::Status s = writer.value()->append(data.substr(at, piece)); !s.isOk()) return s;
    }
    if (base::Status s = writer.value()->close(); !s.isOk()) return s;
    return out.value()->commit();
  }

  // Everything the compressed file gives, read `chunk` bytes at a time; the failure that
  // stopped reading, if any.
  base::Status Decompress(const std::string& path, std::string* text, std::size_t chunk = 1000) {
    text->clear();
    auto file = m_fs.openForReading(path);
    if (!file.isOk()) return file.status();
    auto reader = NewDecompressingFile(std::move(file).value(), path);
    std::string buffer(chunk, '\0');
    for (;;) {
      std::size_t got = 0;
      if (base::Status s = reader->read(buffer.size(), buffer.data(), &got); !s.isOk()) {
        // A failure is repeated, and gives nothing.
        base::Status again = reader->read(buffer.size(), buffer.data(), &got);
        EXPECT_EQ(again.message(), s.message());
        EXPECT_EQ(got, 0u);
        return s;
      }
      if (got == 0) return base::Status::ok();
      text->append(buffer.data(), got);
    }
  }

  MemoryFileSystem m_fs;
};

TEST_F(ZstdFileTest, WhatIsCompressedReadsBackExactlyAndSmaller) {
  const std::string data = Lines(50000);
  for (int threads : {0, 2}) {
    SCOPED_TRACE(threads);
    ASSERT_TRUE(Compress("C:\\g.zst", data, threads).isOk());
    const std::size_t size = m_fs.contents("C:\\g.zst")->size();
    EXPECT_LT(size * 4, data.size());
    std::string back;
    ASSERT_TRUE(Decompress("C:\\g.zst", &back, 777).isOk());
    EXPECT_EQ(back, data);
  }
  // Nothing compressed is a frame of its own, read back as nothing.
  ASSERT_TRUE(Compress("C:\\empty.zst", "", 0).isOk());
  std::string back = "x";
  ASSERT_TRUE(Decompress("C:\\empty.zst", &back).isOk());
  EXPECT_EQ(back, "");
}

TEST_F(ZstdFileTest, CutShortDamagedOrForeignDataIsCorruptNamingTheFile) {
  const std::string data = Lines(20000);
  ASSERT_TRUE(Compress("C:\\g.zst", data, 0).isOk());
  const std::string whole = *m_fs.contents("C:\\g.zst");
  std::string back;

  for (std::size_t keep :
       {std::size_t{0}, std::size_t{3}, std::size_t{20}, whole.size() / 2, whole.size() - 1}) {
    SCOPED_TRACE(keep);
    m_fs.addTextFile("C:\\cut.zst", whole.substr(0, keep));
    const base::Status s = Decompress("C:\\cut.zst", &back);
    ASSERT_FALSE(s.isOk());
    EXPECT_EQ(s.code(), base::Status::Code::kCorrupt);
    EXPECT_THAT(s.message(), HasSubstr("C:\\cut.zst: "));
  }

  // One byte changed in the middle: the data or the checksum of the content says so.
  std::string damaged = whole;
  damaged[damaged.size() / 2] = static_cast<char>(damaged[damaged.size() / 2] ^ 0x20);
  m_fs.addTextFile("C:\\damaged.zst", damaged);
  base::Status s = Decompress("C:\\damaged.zst", &back);
  EXPECT_EQ(s.code(), base::Status::Code::kCorrupt) << s.message();
  EXPECT_THAT(s.message(), HasSubstr("C:\\damaged.zst: the compressed data is damaged"));

  // A plain profile is no compressed file, nor is a whole one with bytes after it.
  m_fs.addTextFile("C:\\plain.zst", data.substr(0, 5000));
  EXPECT_EQ(Decompress("C:\\plain.zst", &back).code(), base::Status::Code::kCorrupt);
  m_fs.addTextFile("C:\\tail.zst", whole + "trailing");
  EXPECT_EQ(Decompress("C:\\tail.zst", &back).code(), base::Status::Code::kCorrupt);
}

TEST_F(ZstdFileTest, AFailingOutputFailsTheWriterForGood) {
  m_fs.failWritesAfter("C:\\full.zst", 1000);
  auto out = m_fs.openForReplacing("C:\\full.zst");
  ASSERT_TRUE(out.isOk());
  auto writer = CompressingFile::Open(out.value().get(), kFastCompressionLevel, 0);
  ASSERT_TRUE(writer.isOk());
  const std::string data = Lines(20000);
  base::Status s;
  for (std::size_t at = 0; at < data.size() && s.isOk(); at += 65536) {
    s = writer.value()->append(std::string_view(data).substr(at, 65536));
  }
  ASSERT_FALSE(s.isOk()) << "the appends never reached the output";
  EXPECT_THAT(s.message(), HasSubstr("disk full"));
  EXPECT_THAT(writer.value()->close().message(), HasSubstr("disk full"));
}

}  // namespace
}  // namespace platform
