// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Small pieces every window and dialog shares: the message boxes and their one title, naming
// controls for tests and assistive technology, and storing the settings record. Every
// message box of the window layers goes through the functions here.
#pragma once

#include <functional>
#include <string>

#include <QMessageBox>
#include <QString>

#include "base/status.h"
#include "engine/settings_record.h"

QT_BEGIN_NAMESPACE
class QWidget;
QT_END_NAMESPACE

namespace platform {
class FileSystem;
}  // namespace platform

namespace dialogs {

// The title of the main window, of message boxes that have no title of their own, and of
// the About box.
inline constexpr char kProgramTitle[] = "Brinvale";

// The property a dialog's help topic number is kept in; F1 looks it up from the focused
// widget up through its parents.
inline constexpr char kHelpContextProperty[] = "helpContext";

// Stores the settings record in the settings file (the main window's saveOptions). Called
// on the user-interface thread right after a dialog changed a field of the record.
using SaveOptionsFn = std::function<base::Status(const engine::SettingsRecord&)>;

// A SaveOptionsFn that writes the record to `settingsPath` through `fs` (engine::SaveOptions).
// `fs` must outlive the returned function.
[[nodiscard]] SaveOptionsFn SaveOptionsTo(platform::FileSystem& fs, std::string settingsPath);

// What a caption reads as: a single '&' (the access key mark) is dropped, "&&" is one '&',
// and blanks at either end are left out. "by Time && Date" reads "by Time & Date".
[[nodiscard]] QString AccessibleTextOf(const QString& caption);

// Gives `widget` its control name (objectName) and the name assistive technology reads.
void NameControl(QWidget* widget, const char* controlName, const QString& accessibleName);

// Calls `save` with `record`; a failure is shown as ShowNotStored does and the record in
// memory keeps the new value. Returns whether the file now holds the record.
bool StoreSettings(QWidget* parent, const SaveOptionsFn& save,
                   const engine::SettingsRecord& record);

// Tells the user, in one warning box over `parent`, that a setting changed now holds for
// this session but could not be stored, with the failure's description.
void ShowNotStored(QWidget* parent, const base::Status& status);

// A message box with the program's title and an OK button over `parent`.
void ShowMessage(QWidget* parent, const QString& text);

// The same with the warning icon, for something that did not happen.
void ShowWarning(QWidget* parent, const QString& text);

// The same with the critical icon, for a failure that keeps the program from starting.
// `parent` may be null.
void ShowCritical(QWidget* parent, const QString& text);

// A question with the program's title and Yes and No buttons over `parent`. True for Yes.
[[nodiscard]] bool AskYesNo(QWidget* parent, const QString& text);

// A question titled `title` with `buttons` over `parent`; `defaultButton` is the one Enter
// presses (NoButton: Qt's choice). Returns the button pressed; Escape and the close box give
// the escape button's (Cancel, No when there is no Cancel), or NoButton when the box was
// closed otherwise.
[[nodiscard]] QMessageBox::StandardButton Ask(
    QWidget* parent, const QString& title, const QString& text,
    QMessageBox::StandardButtons buttons,
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton,
    QMessageBox::Icon icon = QMessageBox::Question);

// One warning box with the program's title over `parent`: `what` and, on a line of its own,
// the failure's description.
void ShowFailure(QWidget* parent, const QString& what, const base::Status& status);

}  // namespace dialogs
