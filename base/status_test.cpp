// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/status.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace base {
namespace {

TEST(StatusTest, FromErrnoNamesThePathAndKeepsTheSystemNumber) {
  // The window shows the system's number in its messages ("Error #21 ..."), so a status made
  // from errno must carry it whatever code it maps to.
  const struct {
    int err;
    Status::Code code;
  } cases[] = {{ENOENT, Status::Code::kNotFound},        {EACCES, Status::Code::kPermissionDenied},
               {EPERM, Status::Code::kPermissionDenied}, {ENOTDIR, Status::Code::kNotAFolder},
               {EISDIR, Status::Code::kIoError},         {ENOSPC, Status::Code::kIoError}};
  for (const auto& c : cases) {
    const Status s = Status::fromErrno(c.err, "/x/temp.rtf");
    EXPECT_EQ(s.code(), c.code) << c.err;
    EXPECT_EQ(s.systemError(), c.err);
    EXPECT_EQ(s.message().rfind("/x/temp.rtf: ", 0), 0u) << s.message();
  }
  EXPECT_EQ(Status::ioError("x").systemError(), 0);
  EXPECT_EQ(Status::ok().systemError(), 0);
}

}  // namespace
}  // namespace base
