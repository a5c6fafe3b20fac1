// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/run_status.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

namespace app {
namespace {

QString Utf8(const std::string& text) { return QString::fromStdString(text); }

// The drive's letter as its display text begins: "k" for "k: [/home/ann]".
QString LetterOf(const std::string& displayText) {
  return Utf8(displayText.substr(0, displayText.find(':')));
}

QString Counted(std::int64_t count, const char* one, const char* many,
                const engine::NumberSeparators& separators) {
  return Utf8(engine::FormatCount(count, separators)) + QLatin1Char(' ') +
         QLatin1String(count == 1 ? one : many);
}

QString NotChecked(const QStringList& letters) {
  return QStringLiteral("Not checked: %1; %2")
      .arg(letters.join(QStringLiteral(", ")),
           letters.size() == 1 ? QStringLiteral("its profile is unchanged.")
                               : QStringLiteral("their profiles are unchanged."));
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
            ? QStringLiteral("The run had already finished when Cancel was pressed.")
            : QStringLiteral("The run had already saved its report when Cancel was pressed."));
  }
  if (outcome.cancelled) {
    sentences.append(unchecked.isEmpty()
                         ? QStringLiteral("Run cancelled.")
                         : QStringLiteral("Run cancelled. ") + NotChecked(unchecked));
    if (facts.earlierReportShown) {
      sentences.append(QStringLiteral("The report shown is from an earlier run."));
    }
  }

  for (const engine::DriveResult& drive : outcome.drives) {
    if (!drive.notice.empty()) sentences.append(Utf8(drive.notice));
  }

  if (!facts.infoOnly) {
    QStringList created;
    for (const engine::DriveResult& drive : outcome.drives) {
      if (drive.state != State::kProfiled) continue;
      created.append(Utf8(drive.displayText) + QStringLiteral(": ") +
                     Counted(drive.files, "file", "files", separators) + QStringLiteral(" in ") +
                     Counted(drive.folders, "folder", "folders", separators));
    }
    if (!created.isEmpty()) {
      sentences.append((created.size() == 1 ? QStringLiteral("Profile created for ")
                                            : QStringLiteral("Profiles created for ")) +
                       created.join(QStringLiteral("; ")) + QLatin1Char('.'));
    }
  }

  QStringList saved;
  for (const std::string& path : outcome.savedReports) {
    saved.append(QFileInfo(QFile::decodeName(path.c_str())).fileName());
  }
  if (!saved.isEmpty()) {
    QString sentence =
        (saved.size() == 1 ? QStringLiteral("Report saved: ") : QStringLiteral("Reports saved: ")) +
        saved.join(QStringLiteral(", ")) + QLatin1Char('.');
    // One report shown under its own name needs no second mention.
    if (!facts.shownFile.isEmpty() && (saved.size() > 1 || saved.front() != facts.shownFile)) {
      sentence += QStringLiteral(" Showing %1.").arg(facts.shownFile);
    }
    sentences.append(sentence);
  }

  if (!outcome.cancelled && !unchecked.isEmpty()) sentences.append(NotChecked(unchecked));
  if (facts.infoOnly) {
    sentences.append(QStringLiteral("Info only: the stored profiles were not replaced."));
  }
  return sentences.join(QLatin1Char(' '));
}

}  // namespace app
