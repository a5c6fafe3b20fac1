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
  EXPECT_EQ(ErrorNumber(base::Status::fromErrno(ENOSPC, "/r/June.rtf")), ENOSPC);
  EXPECT_EQ(ErrorNumber(base::Status::ioError("/r/June.rtf: short write")), EIO);
  EXPECT_EQ(ErrorNumber(base::Status::notFound("/r/June.rtf")), ENOENT);
  EXPECT_EQ(ErrorNumber(base::Status::permissionDenied("/r")), EACCES);
  EXPECT_EQ(ErrorNumber(base::Status::notAFolder("/r")), ENOTDIR);
  EXPECT_EQ(ErrorNumber(base::Status::corrupt("BV3.Def: 12 bytes")), EINVAL);
  EXPECT_EQ(ErrorNumber(base::Status::cancelled()), ECANCELED);
  EXPECT_EQ(ErrorNumber(base::Status::ok()), 0);
}

}  // namespace
}  // namespace app
