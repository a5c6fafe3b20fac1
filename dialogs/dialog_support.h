// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Small pieces every dialog shares: the program's title for message boxes, naming controls
// for tests and assistive technology, and storing the settings record.
#pragma once

#include <functional>
#include <string>

#include <QString>

#include "engine/settings_record.h"
#include "engine/status.h"

QT_BEGIN_NAMESPACE
class QWidget;
QT_END_NAMESPACE

namespace platform {
class FileSystem;
}  // namespace platform

namespace dialogs {

// The title of message boxes that have no title of their own, and of the About box.
inline constexpr char kProgramTitle[] = "Brinvale";

// The property a dialog's help topic number is kept in; F1 looks it up from the focused
// widget up through its parents.
inline constexpr char kHelpContextProperty[] = "helpContext";

// Stores the settings record in the settings file (the main window's saveOptions). Called
// on the user-interface thread right after a dialog changed a field of the record.
using SaveOptionsFn = std::function<engine::Status(const engine::SettingsRecord&)>;

// A SaveOptionsFn that writes the record to `settingsPath` through `fs` (engine::SaveOptions).
// `fs` must outlive the returned function.
[[nodiscard]] SaveOptionsFn SaveOptionsTo(platform::FileSystem& fs, std::string settingsPath);

// What a caption reads as: a single '&' (the access key mark) is dropped, "&&" is one '&',
// and blanks at either end are left out. "by Time && Date" reads "by Time & Date".
[[nodiscard]] QString AccessibleTextOf(const QString& caption);

// Gives `widget` its control name (objectName) and the name assistive technology reads.
void NameControl(QWidget* widget, const char* controlName, const QString& accessibleName);

// Calls `save` with `record`; a failure is shown in one warning box over `parent` and the
// record in memory keeps the new value. Returns whether the file now holds the record.
bool StoreSettings(QWidget* parent, const SaveOptionsFn& save,
                   const engine::SettingsRecord& record);

// A message box with the program's title and an OK button over `parent`.
void ShowMessage(QWidget* parent, const QString& text);

// A question with the program's title and Yes and No buttons over `parent`. True for Yes.
[[nodiscard]] bool AskYesNo(QWidget* parent, const QString& text);

// One warning box with the program's title over `parent`: `what` and, on a line of its own,
// the failure's description.
void ShowFailure(QWidget* parent, const QString& what, const engine::Status& status);

}  // namespace dialogs
