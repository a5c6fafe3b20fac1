// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/native_path.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(NativePathTest, NonAsciiNamesGoBothWaysAsUtf8) {
  const QString path = QStringLiteral("/data/Con \uc790\ubc31/men\u00fa.txt");
  const std::string bytes = NativeBytes(path);
  EXPECT_EQ(bytes, "/data/Con \xec\x9e\x90\xeb\xb0\xb1/men\xc3\xba.txt");
  EXPECT_EQ(FromNativeBytes(bytes), path);
  EXPECT_EQ(FromNativeBytes(""), QString());
  EXPECT_EQ(NativeBytes(QString()), "");
}

}  // namespace
}  // namespace platform
