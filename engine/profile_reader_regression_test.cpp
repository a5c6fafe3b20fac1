// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Replays every file of testdata/profiles through the profile reader's fuzz target, so
// inputs that once failed stay fixed.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

TEST(ProfileReaderRegressionTest, EveryStoredInputReadsCleanly) {
  int replayed = 0;
  for (const auto& entry : std::filesystem::directory_iterator(BRINVALE_TESTDATA_DIR "/profiles")) {
    std::ifstream in(entry.path(), std::ios::binary);
    const std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    SCOPED_TRACE(entry.path().string());
    EXPECT_EQ(
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(data.data()), data.size()), 0);
    ++replayed;
  }
  EXPECT_GT(replayed, 0);
}

}  // namespace
