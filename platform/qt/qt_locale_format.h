// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The user's regional settings from Qt: the general date format and the separators of
// numbers of the system locale (LANG, LC_ALL), local time from the C library's zone.
#pragma once

#include <QLocale>
#include <QString>
#include <string>

#include "platform/locale_format.h"
#include "platform/posix/local_time_cache.h"

namespace platform {

class QtLocaleFormat final : public LocaleFormat {
 public:
  // Takes the formats of `locale` once; tests pass a locale of their choice. Local time
  // follows the process's TZ as it is when the object is made.
  explicit QtLocaleFormat(const QLocale& locale = QLocale::system());

  [[nodiscard]] LocalDateTime toLocal(UnixSeconds utc) const override;
  // The locale's short date, a blank and its long time without the zone name
  // ("10/27/98 8:03:02 PM" in en_US); the short date alone at midnight.
  [[nodiscard]] std::string generalDate(const LocalDateTime& when) const override;
  [[nodiscard]] std::string groupSeparator() const override { return m_group; }
  [[nodiscard]] std::string decimalSeparator() const override { return m_decimal; }

 private:
  QLocale m_locale;
  QString m_dateFormat;
  QString m_timeFormat;
  std::string m_group;
  std::string m_decimal;
  LocalTimeCache m_times;
};

// A Qt time format with its time-zone part ('t' outside quotes) taken out, together with
// the blanks or brackets that set it apart: "h:mm:ss AP t" gives "h:mm:ss AP",
// "t HH:mm:ss" gives "HH:mm:ss", "H:mm:ss (t)" gives "H:mm:ss".
[[nodiscard]] QString TimeFormatWithoutZone(const QString& format);

}  // namespace platform
