// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/dialog_support.h"

#include <utility>

#include <QMessageBox>
#include <QWidget>

#include "platform/file_system.h"

namespace dialogs {

SaveOptionsFn SaveOptionsTo(platform::FileSystem& fs, std::string settingsPath) {
  return [&fs, path = std::move(settingsPath)](const engine::SettingsRecord& record) {
    return engine::SaveOptions(fs, path, record);
  };
}

QString AccessibleTextOf(const QString& caption) {
  QString text;
  text.reserve(caption.size());
  for (qsizetype i = 0; i < caption.size(); ++i) {
    if (caption[i] == u'&') {
      // "&&" stands for one ampersand; a lone '&' only marks the next letter as access key.
      if (i + 1 < caption.size() && caption[i + 1] == u'&') {
        text += u'&';
        ++i;
      }
      continue;
    }
    text += caption[i];
  }
  return text.trimmed();
}

void NameControl(QWidget* widget, const char* controlName, const QString& accessibleName) {
  widget->setObjectName(QString::fromLatin1(controlName));
  widget->setAccessibleName(accessibleName);
}

bool StoreSettings(QWidget* parent, const SaveOptionsFn& save,
                   const engine::SettingsRecord& record) {
  const base::Status status = save(record);
  if (status.isOk()) return true;
  ShowNotStored(parent, status);
  return false;
}

void ShowNotStored(QWidget* parent, const base::Status& status) {
  ShowWarning(parent, QObject::tr("The setting is used now but could not be stored:\n%1")
                          .arg(QString::fromStdString(status.message())));
}

void ShowMessage(QWidget* parent, const QString& text) {
  QMessageBox::information(parent, QString::fromLatin1(kProgramTitle), text);
}

void ShowWarning(QWidget* parent, const QString& text) {
  QMessageBox::warning(parent, QString::fromLatin1(kProgramTitle), text);
}

void ShowCritical(QWidget* parent, const QString& text) {
  QMessageBox::critical(parent, QString::fromLatin1(kProgramTitle), text);
}

QMessageBox::StandardButton Ask(QWidget* parent, const QString& title, const QString& text,
                                QMessageBox::StandardButtons buttons,
                                QMessageBox::StandardButton defaultButton, QMessageBox::Icon icon) {
  QMessageBox box(icon, title, text, buttons, parent);
  if (defaultButton != QMessageBox::NoButton) box.setDefaultButton(defaultButton);
  box.exec();
  return box.standardButton(box.clickedButton());
}

bool AskYesNo(QWidget* parent, const QString& text) {
  return QMessageBox::question(parent, QString::fromLatin1(kProgramTitle), text,
                               QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void ShowFailure(QWidget* parent, const QString& what, const base::Status& status) {
  ShowWarning(parent, what + u'\n' + QString::fromStdString(status.message()));
}

}  // namespace dialogs
