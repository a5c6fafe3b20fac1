// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/run_status.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include "app/run_texts.h"
#include "platform/qt/native_path.h"

namespace app {
namespace {

QString Utf8(const std::string& text) { return QString::fromStdString(text); }

// The drive's letter as its display text begins: "k" for "k: [/home/ann]".
QString LetterOf(const std::string& displayText) {
  return Utf8(displayText.substr(0, displayText.find(':')));
}

// The messages are translated whole, with the names and figures put in afterwards.
QString Tr(const char* text) { return QCoreApplication::translate("app::RunStatus", text); }

// `one` or `many` (each with %1 for the figure) by the count.
QString Counted(std::int64_t count, const char* one, const char* many,
                const engine::NumberSeparators& separators) {
  return Tr(count == 1 ? one : many).arg(Utf8(engine::FormatCount(count, separators)));
}

QString NotChecked(const QStringList& letters) {
  return (letters.size() == 1
              ? Tr(QT_TRANSLATE_NOOP("app::RunStatus",
                                     "Not checked: %1; its profile is unchanged."))
              : Tr(QT_TRANSLATE_NOOP("app::RunStatus",
                                     "Not checked: %1; their profiles are unchanged.")))
      .arg(letters.join(QStringLiteral(", ")));
}

const engine::DriveResult* ResultOf(const engine::RunOutcome& outcome,
                                    const std::string& displayText) {
  for (const engine::DriveResult& drive : outcome.drives) {
    if (drive.displayText == displayText) return &drive;
  }
  return nullptr;
}

}  // namespace

QString RunStatusMessage(const engine::RunOutcome& outcome, const RunStatusFacts& facts,
                         const engine::NumberSeparators& separators) {
  if (!outcome.driveLoopStarted) return {};
  using State = engine::DriveResult::State;

  // Marked drives whose profile the run neither made nor replaced for a saved report.
  QStringList unchecked;
  for (const std::string& marked : outcome.markedDrives) {
    const engine::DriveResult* result = ResultOf(outcome, marked);
    if (result == nullptr || result->state == State::kFailed ||
        result->state == State::kCancelled) {
      unchecked.append(LetterOf(marked));
    }
  }

  QStringList sentences;
  if (facts.cancelTooLate) {
    sentences.append(
        outcome.savedReports.empty()
            ? Tr(QT_TRANSLATE_NOOP("app::RunStatus",
                                   "The run had already finished when Cancel was pressed."))
            : Tr(QT_TRANSLATE_NOOP(
                  "app::RunStatus",
                  "The run had already saved its report when Cancel was pressed.")));
  }
  if (outcome.cancelled) {
    sentences.append(unchecked.isEmpty()
                         ? Tr(QT_TRANSLATE_NOOP("app::RunStatus", "Run cancelled."))
                         : Tr(QT_TRANSLATE_NOOP("app::RunStatus", "Run cancelled. %1"))
                               .arg(NotChecked(unchecked)));
    if (facts.earlierReportShown) {
      sentences.append(
          Tr(QT_TRANSLATE_NOOP("app::RunStatus", "The report shown is from an earlier run.")));
    }
  }

  for (const engine::DriveResult& drive : outcome.drives) {
    if (!drive.notice.empty()) sentences.append(TranslateRunText(drive.notice));
  }

  if (!facts.infoOnly) {
    QStringList created;
    for (const engine::DriveResult& drive : outcome.drives) {
      if (drive.state != State::kProfiled) continue;
      created.append(
          Tr(QT_TRANSLATE_NOOP("app::RunStatus", "%1: %2 in %3"))
              .arg(Utf8(drive.displayText),
                   Counted(drive.files, QT_TRANSLATE_NOOP("app::RunStatus", "%1 file"),
                           QT_TRANSLATE_NOOP("app::RunStatus", "%1 files"), separators),
                   Counted(drive.folders, QT_TRANSLATE_NOOP("app::RunStatus", "%1 folder"),
                           QT_TRANSLATE_NOOP("app::RunStatus", "%1 folders"), separators)));
    }
    if (!created.isEmpty()) {
      sentences.append((created.size() == 1
                            ? Tr(QT_TRANSLATE_NOOP("app::RunStatus", "Profile created for %1."))
                            : Tr(QT_TRANSLATE_NOOP("app::RunStatus", "Profiles created for %1.")))
                           .arg(created.join(QStringLiteral("; "))));
    }
  }

  QStringList saved;
  for (const std::string& path : outcome.savedReports) {
    saved.append(QFileInfo(platform::FromNativeBytes(path)).fileName());
  }
  if (!saved.isEmpty()) {
    QString sentence =
        (saved.size() == 1 ? Tr(QT_TRANSLATE_NOOP("app::RunStatus", "Report saved: %1."))
                           : Tr(QT_TRANSLATE_NOOP("app::RunStatus", "Reports saved: %1.")))
            .arg(saved.join(QStringLiteral(", ")));
    // One report shown under its own name needs no second mention.
    if (!facts.shownFile.isEmpty() && (saved.size() > 1 || saved.front() != facts.shownFile)) {
      sentence += QLatin1Char(' ') +
                  Tr(QT_TRANSLATE_NOOP("app::RunStatus", "Showing %1.")).arg(facts.shownFile);
    }
    sentences.append(sentence);
  }

  if (!outcome.cancelled && !unchecked.isEmpty()) sentences.append(NotChecked(unchecked));
  if (facts.infoOnly) {
    sentences.append(Tr(
        QT_TRANSLATE_NOOP("app::RunStatus", "Info only: the stored profiles were not replaced.")));
  }
  return sentences.join(QLatin1Char(' '));
}

}  // namespace app
