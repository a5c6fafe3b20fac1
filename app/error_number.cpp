// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/error_number.h"

#include <cerrno>

namespace app {

int ErrorNumber(const engine::Status& status, int capturedErrno) {
  // The system's own number, when the failure came from a system call, is the exact one.
  if (status.systemError() != 0) return status.systemError();
  // errno may have been overwritten by a later call that failed harmlessly inside Qt or the
  // C library, so the kind of the status wins where it names the error.
  switch (status.code()) {
    case engine::Status::Code::kOk:
      return 0;
    case engine::Status::Code::kNotFound:
      return ENOENT;
    case engine::Status::Code::kPermissionDenied:
      return EACCES;
    case engine::Status::Code::kNotAFolder:
      return ENOTDIR;
    case engine::Status::Code::kBusy:
      return EWOULDBLOCK;
    case engine::Status::Code::kIoError:
      return capturedErrno != 0 ? capturedErrno : EIO;
    case engine::Status::Code::kCorrupt:
    case engine::Status::Code::kInvalidArgument:
      return EINVAL;
    case engine::Status::Code::kCancelled:
      return ECANCELED;
  }
  return EINVAL;
}

}  // namespace app
