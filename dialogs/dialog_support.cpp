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
  const engine::Status status = save(record);
  if (status.isOk()) return true;
  ShowFailure(parent, QObject::tr("The settings could not be saved."), status);
  return false;
}

void ShowMessage(QWidget* parent, const QString& text) {
  QMessageBox::information(parent, QString::fromLatin1(kProgramTitle), text);
}

bool AskYesNo(QWidget* parent, const QString& text) {
  return QMessageBox::question(parent, QString::fromLatin1(kProgramTitle), text,
                               QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void ShowFailure(QWidget* parent, const QString& what, const engine::Status& status) {
  QMessageBox::warning(parent, QString::fromLatin1(kProgramTitle),
                       what + u'\n' + QString::fromStdString(status.message()));
}

}  // namespace dialogs
