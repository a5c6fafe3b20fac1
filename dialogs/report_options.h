// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The report format and naming choices that the drive selection page and the Options page
// both offer. A choice is stored in the settings file the moment it is made.
#pragma once

#include <QObject>
#include <QString>

#include "dialogs/dialog_support.h"
#include "engine/settings_record.h"

QT_BEGIN_NAMESPACE
class QGroupBox;
class QRadioButton;
class QWidget;
QT_END_NAMESPACE

namespace dialogs {

// The texts that differ between the two pages.
struct ReportOptionTexts {
  const char* formatFrameName;  // control name of the frame of optRtf and optText
  QString formatFrameCaption;
  const char* namingFrameName;  // control name of the frame of optDrive and optTime
  QString namingFrameCaption;
  QString optTimeCaption;
};

// Two frames of option buttons, created as children of a page: optRtf "Rtf (Color)"
// (ReportFormat R) and optText "Plain Text" (T); optDrive "by Drive Only" (ReportNaming D)
// and optTime (T).
// Shows: the buttons are marked after the record when they are created: optRtf only for
// the format letter R, optDrive only for the naming letter D (either case); any other
// letter, NUL included, marks the other button, as runs read them. Showing stores nothing.
// Writes: each time the user marks a button, its letter goes into the record and the whole
// record is stored at once through `saveOptions`. A failed store is shown in a message
// over the page; the letter stays set in memory. There is nothing to undo.
class ReportOptions final : public QObject {
  Q_OBJECT

 public:
  // `page` owns the frames and this object; `settings` must outlive `page`.
  ReportOptions(QWidget* page, const ReportOptionTexts& texts, engine::SettingsRecord* settings,
                SaveOptionsFn saveOptions);

  // For the page's layout.
  [[nodiscard]] QGroupBox* formatFrame() const { return m_formatFrame; }
  [[nodiscard]] QGroupBox* namingFrame() const { return m_namingFrame; }

 private slots:
  void chooseRichText();
  void choosePlainText();
  void nameByDrive();
  void nameByTime();

 private:
  void store(char engine::SettingsRecord::*field, char letter);

  QWidget* m_page;
  engine::SettingsRecord* m_settings;
  SaveOptionsFn m_saveOptions;
  QGroupBox* m_formatFrame = nullptr;
  QGroupBox* m_namingFrame = nullptr;
  QRadioButton* optRtf = nullptr;
  QRadioButton* optText = nullptr;
  QRadioButton* optDrive = nullptr;
  QRadioButton* optTime = nullptr;
};

}  // namespace dialogs
