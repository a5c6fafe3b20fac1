// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// frmAbout, the about box: the program's icon, title, version and description, and a
// button that starts the desktop's own system information program.
#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

QT_BEGIN_NAMESPACE
class QIcon;
QT_END_NAMESPACE

namespace dialogs {

// Edits nothing and writes nothing. "OK", the close box and Esc close it.
// "&System Info..." starts the first program of SystemInfoPrograms() found on PATH, on its
// own (it outlives the box); when none is found or it cannot be started, the box says
// "System Information Is Unavailable At This Time".
class AboutDialog final : public QDialog {
  Q_OBJECT

 public:
  // `icon` is the program's icon (the main window's); `version` is the version the build
  // gives the program ("1.0.1").
  AboutDialog(const QIcon& icon, const QString& version, QWidget* parent = nullptr);

 private slots:
  void showSystemInfo();

 private:
  void load(const QIcon& icon, const QString& version);
};

// The system information programs of Linux desktops, in the order they are tried.
[[nodiscard]] QStringList SystemInfoPrograms();

// The full path of the first of SystemInfoPrograms() found on PATH now; empty when none is.
[[nodiscard]] QString FindSystemInfoProgram();

}  // namespace dialogs
