// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/about_dialog.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

#include "dialogs/dialog_support.h"

namespace dialogs {
namespace {

constexpr int kHelpContext = 1;
constexpr int kIconSize = 48;

}  // namespace

QStringList SystemInfoPrograms() {
  return {QStringLiteral("hardinfo2"), QStringLiteral("hardinfo"), QStringLiteral("kinfocenter"),
          QStringLiteral("gnome-system-monitor")};
}

QString FindSystemInfoProgram() {
  for (const QString& program : SystemInfoPrograms()) {
    const QString path = QStandardPaths::findExecutable(program);
    if (!path.isEmpty()) return path;
  }
  return {};
}

AboutDialog::AboutDialog(const QIcon& icon, const QString& version, QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("frmAbout"));
  setProperty(kHelpContextProperty, kHelpContext);
  load(icon, version);
}

void AboutDialog::load(const QIcon& icon, const QString& version) {
  const QString title = QString::fromLatin1(kProgramTitle);
  setWindowIcon(icon);
  setWindowTitle(tr("About %1").arg(title));

  auto* picIcon = new QLabel(this);
  NameControl(picIcon, "picIcon", tr("%1 icon").arg(title));
  picIcon->setPixmap(icon.pixmap(kIconSize, kIconSize));
  picIcon->setFixedSize(kIconSize, kIconSize);
  auto* lblTitle = new QLabel(tr("%1, Version %2").arg(title, version), this);
  NameControl(lblTitle, "lblTitle", lblTitle->text());
  QFont titleFont = lblTitle->font();
  titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
  titleFont.setBold(true);
  lblTitle->setFont(titleFont);
  auto* lblDescription = new QLabel(tr("Take Control of your Hard Drives. "), this);
  NameControl(lblDescription, "lblDescription", AccessibleTextOf(lblDescription->text()));
  auto* Line1 = new QFrame(this);
  NameControl(Line1, "Line1", tr("Separator"));
  Line1->setFrameShape(QFrame::HLine);
  Line1->setFrameShadow(QFrame::Sunken);
  auto* cmdOK = new QPushButton(tr("OK"), this);
  NameControl(cmdOK, "cmdOK", cmdOK->text());
  cmdOK->setDefault(true);
  auto* cmdSysInfo = new QPushButton(tr("&System Info..."), this);
  NameControl(cmdSysInfo, "cmdSysInfo", AccessibleTextOf(cmdSysInfo->text()));
  cmdSysInfo->setAutoDefault(false);
  connect(cmdOK, &QPushButton::clicked, this, &AboutDialog::accept);
  connect(cmdSysInfo, &QPushButton::clicked, this, &AboutDialog::showSystemInfo);

  auto* texts = new QVBoxLayout;
  texts->addWidget(lblTitle);
  texts->addWidget(lblDescription);
  texts->addStretch();
  auto* top = new QHBoxLayout;
  top->addWidget(picIcon, 0, Qt::AlignTop);
  top->addSpacing(12);
  top->addLayout(texts, 1);
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(cmdOK);
  buttons->addWidget(cmdSysInfo);
  auto* bottom = new QHBoxLayout;
  bottom->addStretch();
  bottom->addLayout(buttons);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(Line1);
  layout->addLayout(bottom);
  resize(420, 200);
}

void AboutDialog::showSystemInfo() {
  // Linux has no registry that names the program; the desktop's own ones are looked for
  // on PATH instead. Not found and failed to start end in the same message.
  const QString path = FindSystemInfoProgram();
  if (!path.isEmpty() && QProcess::startDetached(path, {})) return;
  ShowMessage(this, tr("System Information Is Unavailable At This Time"));
}

}  // namespace dialogs
