// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Replays every file below testdata/rtf/ (the fuzz corpus's seeds and every crash the fuzzer
// ever found) through the fuzz target's checks, so that a crash file becomes a regression test.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>

#include <QDirIterator>
#include <QFile>

#include "reports/test_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace reports {
namespace {

TEST(RtfReaderRegressionTest, EveryStoredInputPassesTheFuzzChecks) {
  int replayed = 0;
  QDirIterator files(testing::TestDataPath(""), QDir::Files, QDirIterator::Subdirectories);
  while (files.hasNext()) {
    QFile file(files.next());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
    const QByteArray bytes = file.readAll();
    SCOPED_TRACE(file.fileName().toStdString());
    EXPECT_EQ(LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                     static_cast<std::size_t>(bytes.size())),
              0);
    ++replayed;
  }
  EXPECT_GE(replayed, 7);
}

}  // namespace
}  // namespace reports
