// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/report_naming.h"

#include "engine/settings_record.h"

namespace engine {
namespace {

void AppendTwoDigits(int value, std::string* out) {
  *out += static_cast<char>('0' + value / 10 % 10);
  *out += static_cast<char>('0' + value % 10);
}

// "m-d-yy_hhnn"
std::string NameTime(const platform::LocalDateTime& when) {
  std::string text = std::to_string(when.month) + "-" + std::to_string(when.day) + "-";
  AppendTwoDigits((when.year % 100 + 100) % 100, &text);
  text += "_";
  AppendTwoDigits(when.hour, &text);
  AppendTwoDigits(when.minute, &text);
  return text;
}

}  // namespace

std::string ReportBaseName(std::string_view reportsPath, std::string_view driveTag,
                           const SettingsRecord& settings, const platform::LocalDateTime& now) {
  std::string name(reportsPath);
  name.append("Drive_").append(driveTag);
  if (settings.isTimeStampedNames()) name.append("_").append(NameTime(now));
  return name;
}

std::string_view ReportExtension(const SettingsRecord& settings) {
  return settings.isRichTextReports() ? ".rtf" : ".txt";
}

std::string ReportPath(std::string_view reportsPath, std::string_view driveTag,
                       const SettingsRecord& settings, const platform::LocalDateTime& now) {
  return ReportBaseName(reportsPath, driveTag, settings, now).append(ReportExtension(settings));
}

std::string HistoryReportPath(std::string_view reportsPath, char letter,
                              const platform::LocalDateTime& older,
                              const std::optional<platform::LocalDateTime>& newer,
                              const SettingsRecord& settings) {
  std::string name(reportsPath);
  name.append("Drive_").append(1, letter).append("_");
  if (newer) {
    name.append(NameTime(older)).append("_to_").append(NameTime(*newer));
  } else {
    name.append("since_").append(NameTime(older));
  }
  return name.append(ReportExtension(settings));
}

std::string NumberedReportPath(std::string_view path, int number) {
  const std::size_t dot = path.rfind('.');
  const std::size_t separator = path.find_last_of("/\\");
  const bool hasExtension =
      dot != std::string_view::npos && (separator == std::string_view::npos || dot > separator);
  const std::size_t at = hasExtension ? dot : path.size();
  std::string numbered(path.substr(0, at));
  numbered.append("_").append(std::to_string(number)).append(path.substr(at));
  return numbered;
}

}  // namespace engine
