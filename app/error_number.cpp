// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/error_number.h"

#include <cerrno>

namespace app {

int ErrorNumber(const base::Status& status) {
  // The system's own number, when the failure came from a system call, is the exact one.
  if (status.systemError() != 0) return status.systemError();
  // errno itself is never read here: a later call that failed harmlessly inside Qt or the
  // C library may have overwritten it. The kind of the status names the error instead.
  switch (status.code()) {
    case base::Status::Code::kOk:
      return 0;
    case base::Status::Code::kNotFound:
      return ENOENT;
    case base::Status::Code::kPermissionDenied:
      return EACCES;
    case base::Status::Code::kNotAFolder:
      return ENOTDIR;
    case base::Status::Code::kBusy:
      return EWOULDBLOCK;
    case base::Status::Code::kIoError:
      return EIO;
    case base::Status::Code::kCorrupt:
    case base::Status::Code::kInvalidArgument:
      return EINVAL;
    case base::Status::Code::kCancelled:
      return ECANCELED;
  }
  return EINVAL;
}

}  // namespace app
