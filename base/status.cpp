// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/status.h"

#include <cerrno>
#include <cstring>

namespace base {

Status Status::fromErrno(int err, std::string_view path) {
  std::string msg(path);
  msg += ": ";
  msg += std::strerror(err);
  switch (err) {
    case ENOENT:
      return notFound(msg);
    case EACCES:
    case EPERM:
      return permissionDenied(msg);
    case ENOTDIR:
      return notAFolder(msg);
    default:
      return ioError(msg);
  }
}

std::string Status::toString() const {
  const char* name = "OK";
  switch (m_code) {
    case Code::kOk:
      return name;
    case Code::kNotFound:
      name = "Not found";
      break;
    case Code::kPermissionDenied:
      name = "Permission denied";
      break;
    case Code::kNotAFolder:
      name = "Not a folder";
      break;
    case Code::kIoError:
      name = "I/O error";
      break;
    case Code::kCorrupt:
      name = "Corrupt";
      break;
    case Code::kInvalidArgument:
      name = "Invalid argument";
      break;
    case Code::kCancelled:
      name = "Cancelled";
      break;
    case Code::kBusy:
      name = "Busy";
      break;
  }
  return std::string(name) + ": " + m_message;
}

}  // namespace base
