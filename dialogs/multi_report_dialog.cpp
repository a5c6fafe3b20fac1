// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/multi_report_dialog.h"

#include <utility>

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace dialogs {

MultiReportDialog::MultiReportDialog(engine::SettingsRecord* settings, SaveOptionsFn saveOptions,
                                     QWidget* parent)
    : QDialog(parent), m_settings(settings), m_saveOptions(std::move(saveOptions)) {
  setObjectName(QStringLiteral("frmMulti"));
  setWindowTitle(tr("Multipe Volumes Selected"));
  createControls();
  load();
  connect(optSingle, &QRadioButton::toggled, this, [this](bool marked) {
    if (marked) chooseOneReport();
  });
  connect(optMany, &QRadioButton::toggled, this, [this](bool marked) {
    if (marked) chooseReportPerDrive();
  });
  connect(Command1, &QPushButton::clicked, this, &MultiReportDialog::storeAndClose);
}

void MultiReportDialog::createControls() {
  // Two blanks before "Please": the question has always been written so.
  auto* Label1 = new QLabel(tr("Multiple Dirves Selected  Please choose an option:"), this);
  NameControl(Label1, "Label1", Label1->text());
  auto* Frame1 = new QGroupBox(tr("Create:"), this);
  NameControl(Frame1, "Frame1", Frame1->title());
  optSingle = new QRadioButton(tr("One Large Report"), Frame1);
  NameControl(optSingle, "optSingle", optSingle->text());
  optMany = new QRadioButton(tr("Separate Report for Each Drive"), Frame1);
  NameControl(optMany, "optMany", optMany->text());
  auto* frameLayout = new QVBoxLayout(Frame1);
  frameLayout->addWidget(optSingle);
  frameLayout->addWidget(optMany);
  Command1 = new QPushButton(tr("&OK"), this);
  NameControl(Command1, "Command1", AccessibleTextOf(Command1->text()));
  Command1->setDefault(true);

  auto* buttonRow = new QHBoxLayout;
  buttonRow->addStretch();
  buttonRow->addWidget(Command1);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Label1);
  layout->addWidget(Frame1);
  layout->addLayout(buttonRow);
}

void MultiReportDialog::load() {
  m_multiReport = m_settings->OneReport == 1;
  (m_multiReport ? optSingle : optMany)->setChecked(true);
}

void MultiReportDialog::chooseOneReport() {
  m_multiReport = true;
  m_settings->OneReport = 1;
}

void MultiReportDialog::chooseReportPerDrive() {
  m_multiReport = false;
  m_settings->OneReport = 0;
}

// "&OK" is the one way of closing that stores the choice; the close box only closes.
void MultiReportDialog::storeAndClose() {
  StoreSettings(this, m_saveOptions, *m_settings);
  accept();
}

bool AskOneReport(QWidget* parent, engine::SettingsRecord* settings,
                  const SaveOptionsFn& saveOptions) {
  MultiReportDialog dialog(settings, saveOptions, parent);
  dialog.exec();
  return dialog.blnMultiReport();
}

}  // namespace dialogs
