// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Status and Result<T>: how every layer reports success or failure without exceptions. A
// Status carries a code and a message that names the path involved. Every layer spells them
// base::Status and base::Result<T>: one type, one name.
#pragma once

#include <cassert>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace base {

class [[nodiscard]] Status {
 public:
  enum class Code {
    kOk = 0,
    kNotFound,          // the path does not exist (or vanished)
    kPermissionDenied,  // the path exists but may not be read or written
    kNotAFolder,        // a folder was expected
    kIoError,           // any other failure of the operating system
    kCorrupt,           // stored data that does not follow its format
    kInvalidArgument,   // bad input from the user or a caller
    kCancelled,         // the user stopped the work
    kBusy,              // another process holds what is needed (the run lock)
  };

  // Success.
  Status() = default;

  static Status ok() { return Status(); }
  static Status notFound(std::string_view msg) { return {Code::kNotFound, msg}; }
  static Status permissionDenied(std::string_view msg) { return {Code::kPermissionDenied, msg}; }
  static Status notAFolder(std::string_view msg) { return {Code::kNotAFolder, msg}; }
  static Status ioError(std::string_view msg) { return {Code::kIoError, msg}; }
  static Status corrupt(std::string_view msg) { return {Code::kCorrupt, msg}; }
  static Status invalidArgument(std::string_view msg) { return {Code::kInvalidArgument, msg}; }
  static Status cancelled(std::string_view msg = "cancelled") { return {Code::kCancelled, msg}; }
  static Status busy(std::string_view msg) { return {Code::kBusy, msg}; }

  // Builds a status from an errno value; `path` is named in the message, and the value is
  // kept as systemError().
  static Status fromErrno(int err, std::string_view path);

  [[nodiscard]] bool isOk() const { return m_code == Code::kOk; }
  [[nodiscard]] bool isNotFound() const { return m_code == Code::kNotFound; }
  [[nodiscard]] bool isCancelled() const { return m_code == Code::kCancelled; }
  [[nodiscard]] bool isBusy() const { return m_code == Code::kBusy; }
  [[nodiscard]] Code code() const { return m_code; }
  [[nodiscard]] const std::string& message() const { return m_message; }
  // The errno value the status was built from (fromErrno), 0 when it was not.
  [[nodiscard]] int systemError() const { return m_systemError; }

  // "OK", or the message prefixed by a short name of the code ("Not found: /x").
  [[nodiscard]] std::string toString() const;

 private:
  Status(Code code, std::string_view msg) : m_code(code), m_message(msg) {}

  Code m_code = Code::kOk;
  std::string m_message;
  int m_systemError = 0;
};

// A value or the Status that explains why there is none.
template <typename T>
class [[nodiscard]] Result {
 public:
  Result(T value) : m_value(std::move(value)) {}  // NOLINT: implicit by design
  Result(Status status) : m_status(std::move(status)) {
    assert(!m_status.isOk() && "a Result without a value needs a failed Status");
  }

  [[nodiscard]] bool isOk() const { return m_value.has_value(); }
  [[nodiscard]] const Status& status() const { return m_status; }

  // REQUIRES: isOk().
  T& value() & { return *m_value; }
  const T& value() const& { return *m_value; }
  T&& value() && { return std::move(*m_value); }

 private:
  std::optional<T> m_value;
  Status m_status;
};

}  // namespace base
