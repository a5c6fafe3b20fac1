// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/error_number.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace app {
namespace {

TEST(ErrorNumberTest, TheSystemsNumberWinsAndEveryFailureHasOne) {
  // Carried by the status, not read from errno afterwards (which a later call may change).
  errno = EACCES;
  EXPECT_EQ(ErrorNumber(engine::Status::fromErrno(ENOSPC, "/r/June.rtf")), ENOSPC);
  EXPECT_EQ(ErrorNumber(engine::Status::ioError("/r/June.rtf: short write")), EIO);
  EXPECT_EQ(ErrorNumber(engine::Status::notFound("/r/June.rtf")), ENOENT);
  EXPECT_EQ(ErrorNumber(engine::Status::permissionDenied("/r")), EACCES);
  EXPECT_EQ(ErrorNumber(engine::Status::notAFolder("/r")), ENOTDIR);
  EXPECT_EQ(ErrorNumber(engine::Status::corrupt("BV3.Def: 12 bytes")), EINVAL);
  EXPECT_EQ(ErrorNumber(engine::Status::cancelled()), ECANCELED);
  EXPECT_EQ(ErrorNumber(engine::Status::ok()), 0);
}

}  // namespace
}  // namespace app
