// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/qt_locale_format.h"

#include <QDate>
#include <QTime>

namespace platform {
namespace {

void ChopTrailingBlanks(QString* text) {
  while (!text->isEmpty() && text->back().isSpace()) text->chop(1);
}

}  // namespace

QString TimeFormatWithoutZone(const QString& format) {
  QString result;
  bool quoted = false;
  for (qsizetype i = 0; i < format.size(); ++i) {
    const QChar c = format[i];
    if (c == u'\'') quoted = !quoted;  // '' inside quotes toggles twice: still quoted
    if (quoted || c != u't') {
      result += c;
      continue;
    }
    qsizetype end = i;
    while (end < format.size() && format[end] == u't') ++end;
    if (result.endsWith(u'(') && end < format.size() && format[end] == u')') {
      result.chop(1);
      ++end;
    }
    ChopTrailingBlanks(&result);
    // A zone at the very start leaves the blank that followed it.
    if (result.isEmpty()) {
      while (end < format.size() && format[end].isSpace()) ++end;
    }
    i = end - 1;
  }
  return result;
}

QtLocaleFormat::QtLocaleFormat(const QLocale& locale)
    : m_locale(locale),
      m_dateFormat(locale.dateFormat(QLocale::ShortFormat)),
      m_timeFormat(TimeFormatWithoutZone(locale.timeFormat(QLocale::LongFormat))),
      m_group(locale.groupSeparator().toStdString()),
      m_decimal(locale.decimalPoint().toStdString()) {}

LocalDateTime QtLocaleFormat::toLocal(UnixSeconds utc) const { return m_times.toLocal(utc); }

std::string QtLocaleFormat::generalDate(const LocalDateTime& when) const {
  QString text = m_locale.toString(QDate(when.year, when.month, when.day), m_dateFormat);
  if (!when.isMidnight()) {
    text += u' ';
    text += m_locale.toString(QTime(when.hour, when.minute, when.second), m_timeFormat);
  }
  return text.toStdString();
}

}  // namespace platform
