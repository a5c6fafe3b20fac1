// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The main window as a run started from it sees it: what the run reads (paths, settings,
// the run options) and what it shows (cancel mode, progress, the report, the status bar).
// The run never reaches the window's widgets.
#pragma once

#include <cstdint>
#include <optional>

#include <QString>

#include "base/status.h"
#include "engine/settings_record.h"

QT_BEGIN_NAMESPACE
class QWidget;
QT_END_NAMESPACE

namespace app {

// What the progress display above the report shows: a caption and a bar.
struct ProgressDisplay {
  QString caption;
  bool captionVisible = false;
  std::int64_t barMaximum = 0;
  std::int64_t barValue = 0;
  bool barVisible = false;
};

// Implemented by MainWindow. Every method is called on the user-interface thread; the run's
// worker reaches them through WindowRunUserInterface's blocking queued calls.
class RunWindow {
 public:
  virtual ~RunWindow() = default;

  // The widget the run's dialogs and messages are shown over.
  [[nodiscard]] virtual QWidget* dialogParent() = 0;

  // --- What a run reads ---
  // Absolute paths; the program folder ends in '/'.
  [[nodiscard]] virtual QString programFolder() const = 0;
  [[nodiscard]] virtual QString settingsPath() const = 0;
  [[nodiscard]] virtual QString confPath() const = 0;
  [[nodiscard]] virtual QString composedReportPath() const = 0;
  // The settings record, valid for the window's life; saveOptions writes it to BV3.Def.
  [[nodiscard]] virtual engine::SettingsRecord& settings() = 0;
  [[nodiscard]] virtual base::Status saveOptions() = 0;
  [[nodiscard]] virtual bool infoOnly() const = 0;
  [[nodiscard]] virtual bool includeHidden() const = 0;
  // The question before the report in the view is given up (MainWindow::maybeSave).
  [[nodiscard]] virtual bool maybeSave() = 0;
  // The report file the view shows; empty before the first.
  [[nodiscard]] virtual const QString& currentFile() const = 0;
  // True when the view shows a report of an earlier run or file: neither the start-up
  // document nor an empty view.
  [[nodiscard]] virtual bool showsEarlierReport() const = 0;

  // --- What a run shows ---
  // Cancel mode (only Cancel and Help usable), the busy pointer, the report view out of
  // the way of the progress display.
  virtual void enterRunMode() = 0;
  // The report view back, the commands back with Save, Save As and Print enabled, the
  // normal pointer.
  virtual void leaveRunMode() = 0;
  // Shows `display` in the progress label and bar; hideProgress hides both.
  virtual void showProgress(const ProgressDisplay& display) = 0;
  virtual void hideProgress() = 0;
  // Plays a cue as MainWindow::play does.
  virtual std::optional<bool> play(const QString& waveName) = 0;
  // Loads the run's report into the view (MainWindow::showRunReport).
  [[nodiscard]] virtual bool showRunReport(const QString& source, const QString& path) = 0;
  // The run was info only: "&Next Run is Info Only" is unchecked for the next one.
  virtual void clearInfoOnly() = 0;
  virtual void showStatus(const QString& message) = 0;
  // The run's worker has wound down (MainWindow::runFinished).
  virtual void runFinished() = 0;
};

}  // namespace app
