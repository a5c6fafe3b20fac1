// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/print_rules.h"

#include <algorithm>

#include "engine/settings_record.h"

namespace reports {

QString SourceNameOf(const QString& currentFile) {
  // The path's own separator: a name on Linux may hold a backslash.
  const QString name = currentFile.sliced(currentFile.lastIndexOf(QLatin1Char('/')) + 1);
  return name.isEmpty() ? QStringLiteral("Untitled") : name;
}

QString ColourHeader(const QString& source, const QString& created, int page) {
  return QStringLiteral("Source: %1, Created %2 (Page %3)").arg(source, created).arg(page);
}

QString PlainHeader(const QString& source, const QString& created, int page) {
  return QStringLiteral(" -- Source: %1, %2 (Page %3)").arg(source, created).arg(page);
}

TwipsRect ColourBodyRect(const engine::SettingsRecord& settings, const PaperTwips& paper) {
  const std::int64_t left = engine::StoredToTwips(settings.LeftMargin);
  const std::int64_t topMargin = engine::StoredToTwips(settings.TopMargin);
  // The header takes the top of the page, so the body moves up by the adjustment; a margin
  // too small for that leaves the body at the adjustment itself.
  const std::int64_t top =
      topMargin > kColourTopAdjustment ? topMargin - kColourTopAdjustment : kColourTopAdjustment;
  return {left - paper.offsetLeft, top - paper.offsetTop,
          paper.width - kColourRightMargin - paper.offsetLeft,
          paper.height - kColourBottomMargin - paper.offsetTop};
}

PlainPrintLine MarkPlainLine(const QString& line,
                             const std::function<bool(const QString&)>& tooWide) {
  const QStringView fromFourth = QStringView(line).mid(std::min<qsizetype>(3, line.size()));
  if (fromFourth.startsWith(u"Added ", Qt::CaseInsensitive) ||
      fromFourth.startsWith(u"Deleted ", Qt::CaseInsensitive)) {
    return {QLatin1Char('.') + line, std::nullopt};
  }
  if (!line.contains(u" Shrunk from ", Qt::CaseInsensitive) &&
      !line.contains(u" Grew from ", Qt::CaseInsensitive) &&
      !line.contains(u" From: ", Qt::CaseInsensitive)) {
    return {line, std::nullopt};
  }
  const QString marked = QStringLiteral(".  ") + line;
  if (!tooWide(marked)) return {marked, std::nullopt};
  // A time-change line breaks after the blank that follows the file name's colon; a line
  // without a colon keeps only the period on the first line.
  const qsizetype colon = marked.indexOf(u':');
  const qsizetype cut = colon < 0 ? 1 : std::min(colon + 2, marked.size());
  if (cut == marked.size()) return {marked, std::nullopt};
  return {marked.left(cut), marked.mid(cut)};
}

}  // namespace reports
