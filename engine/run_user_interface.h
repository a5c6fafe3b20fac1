// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Everything a run needs from a user interface: the drive selection, its questions, the
// progress display, the cues and the report view. The main window implements it with
// dialogs, the command line with flags, tests with a script.
//
// Threads: FindChanges calls every method on the thread that runs it, one call at a time:
// the command line's main thread, the window's worker thread. The window is on another
// thread, so its implementation shows the questions, dialogs and report view there through
// blocking calls, and passes progress on without waiting. Each method below says what its
// caller may expect.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/status.h"
#include "engine/settings_record.h"
#include "platform/date_time.h"
#include "platform/file_system.h"
#include "platform/progress.h"

namespace engine {

class RunUserInterface {
 public:
  virtual ~RunUserInterface() = default;

  // The drive selection. `rows` are the drives' display texts ("c: [/]"); `marks` holds one
  // flag per row, false on the first call of a run, and keeps the user's marks when the
  // selection is shown again in the same run. The page may also change the report format
  // and naming of `settings` and store them at once. Returns false when the user cancelled.
  // Run's thread; blocks until the user has answered. `settings` is not read or written by
  // the run meanwhile.
  [[nodiscard]] virtual bool selectDrives(const std::vector<std::string>& rows,
                                          std::vector<bool>* marks, SettingsRecord* settings) = 0;

  // "Abort?: No Drive(s) Selected" with Retry and Cancel. True for Retry. Run's thread;
  // blocks until answered, as do askYesNo and askOneReport.
  [[nodiscard]] virtual bool retryWithoutDrives() = 0;

  // A Yes/No question with a title. True for Yes.
  [[nodiscard]] virtual bool askYesNo(std::string_view title, std::string_view text) = 0;

  // The single/many choice, asked when two or more marked drives will be compared. Starts
  // from `settings->oneReport`; may store the choice. Returns true for one report for all.
  [[nodiscard]] virtual bool askOneReport(SettingsRecord* settings) = 0;

  // Tells the user something went wrong; the run goes on once the user has read it (run's
  // thread, blocking).
  virtual void showMessage(std::string_view text) = 0;

  // A drive loop starts (commands switch to cancel mode, the report view makes room for the
  // progress display) or has ended (completed or cancelled). Run's thread; the window has
  // changed when they return.
  virtual void runStarted() = 0;
  virtual void runEnded() = 0;

  enum class Cue { kStart, kDone };
  // Run's thread; returns once the cue has started.
  virtual void play(Cue cue) = 0;

  // The progress label and bar; shouldContinue() turns false once the user cancelled.
  // Called on the run's thread, and its methods too, often: they return at once and never
  // wait for the display (a window shows the latest state a few dozen times a second).
  [[nodiscard]] virtual platform::Progress& progress() = 0;

  // The report view: load a composed report; write what it shows, as rich or plain text,
  // into `report`, the replacement of a report file (platform::FileSystem::openForReplacing)
  // that the run itself renames into place, once it knows it may go on, or drops after a
  // cancel. A failed write must be returned: the run then keeps the profiles whose changes
  // the report holds. Run's thread; the file is loaded or written when they return.
  [[nodiscard]] virtual base::Status loadReport(const std::string& path) = 0;
  [[nodiscard]] virtual base::Status writeReport(platform::ReplacementFile* report,
                                                 bool richText) = 0;
  // What writeReport wrote last is now the report file `path`. Run's thread.
  virtual void reportSaved(const std::string& path) = 0;

  // Info-only holds for one run: the run switches it off at its end. Run's thread.
  virtual void switchOffInfoOnly() = 0;

  // The local date and time used in time-stamped report names. Run's thread, at once.
  [[nodiscard]] virtual platform::LocalDateTime now() = 0;
};

}  // namespace engine
