// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Regional settings fixed for tests: the US general date, chosen number separators, and
// file times taken as local times, so a test decides the local time directly.
#pragma once

#include <string>
#include <utility>

#include "platform/locale_format.h"

namespace platform {

class FixedLocale final : public LocaleFormat {
 public:
  // US separators: "," groups digits, "." is the decimal point.
  FixedLocale() = default;
  FixedLocale(std::string group, std::string decimal)
      : m_group(std::move(group)), m_decimal(std::move(decimal)) {}

  // `utc` read as a local time: no zone, no daylight-saving time.
  [[nodiscard]] LocalDateTime toLocal(UnixSeconds utc) const override;
  // "M/d/yy h:mm:ss AM" or "... PM"; "M/d/yy" alone at midnight: "10/27/98 8:03:02 PM".
  [[nodiscard]] std::string generalDate(const LocalDateTime& when) const override;
  [[nodiscard]] std::string groupSeparator() const override { return m_group; }
  [[nodiscard]] std::string decimalSeparator() const override { return m_decimal; }

 private:
  std::string m_group = ",";
  std::string m_decimal = ".";
};

}  // namespace platform
