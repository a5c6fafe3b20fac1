// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// frmOptions, the page of user settings: report format and naming, sound cues, the
// info-only mode of the next run, whether hidden files are included, and the ways to the
// Ignore list and the printing options.
#pragma once

#include <functional>

#include <QDialog>

#include "dialogs/dialog_support.h"
#include "engine/settings_record.h"

namespace dialogs {

class ClickableLabel;
class ReportOptions;

// The main window's operations the page calls. All are called on the user-interface
// thread while the page is open; none may be empty.
struct OptionsWindow {
  // The sound switch: switches cues on or off and stores the choice, or, without a sound
  // device, only tells the user so.
  std::function<void()> toggleSound;
  // Switches the info-only mode of the next run and its menu check mark.
  std::function<void()> toggleInfoOnly;
  // The flags as they are now: whether cues are played, whether the next run is info only.
  std::function<bool()> soundsEnabled;
  std::function<bool()> InfoOnly;
  // Show the Ignore list editor (frmIgnore) and the printer settings dialog (frmSelPrint)
  // modally over the given page and return once they have closed.
  std::function<void(QWidget* page)> showIgnoreList;
  std::function<void(QWidget* page)> showPrinterSettings;
  // Switches "Include Hidden Files and Folders", its menu check mark, and stores it; and
  // whether hidden files are included now.
  std::function<void()> toggleHidden;
  std::function<bool()> IncludeHidden;
};

// Edits: ReportFormat and ReportNaming of the settings record; through the main window,
// the sound switch (SoundOn), the info-only mode and the hidden-files setting.
// Writes: each report option the moment it is chosen, through the saveOptions callback;
// the sound switch stores its own choice. Nothing is asked or written on closing: "OK",
// the close box and Esc only close the page, and every change made stays made.
// The sound, info-only and hidden-files labels and pictures show the window's flags as they
// are after each click, read back from the window: a switch that changed nothing shows no
// change.
class OptionsDialog final : public QDialog {
  Q_OBJECT

 public:
  // `settings` must outlive the dialog.
  OptionsDialog(engine::SettingsRecord* settings, SaveOptionsFn saveOptions, OptionsWindow window,
                QWidget* parent = nullptr);

 private slots:
  void toggleSound();
  void toggleInfoOnly();
  void toggleHidden();
  void editIgnoreList();
  void printingOptions();

 private:
  void createControls();
  void load();
  void showSoundState();
  void showInfoOnlyState();
  void showHiddenState();

  OptionsWindow m_window;
  ReportOptions* m_options = nullptr;  // Frame1, Frame2 and their option buttons
  ClickableLabel* imgInfo = nullptr;
  ClickableLabel* lblInfoOnly = nullptr;
  ClickableLabel* imgHidden = nullptr;
  ClickableLabel* lblHidden = nullptr;
  ClickableLabel* imgSnd = nullptr;
  ClickableLabel* lblSound = nullptr;
};

}  // namespace dialogs
