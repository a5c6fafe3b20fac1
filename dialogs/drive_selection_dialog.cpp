// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/drive_selection_dialog.h"

#include <algorithm>
#include <utility>

#include <QCloseEvent>
#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/mark_list.h"
#include "dialogs/pictures.h"

namespace dialogs {
namespace {

constexpr int kHelpContext = 3;

QPushButton* PictureButton(QWidget* parent, const char* name, const QPixmap& picture,
                           const QString& pictureText, const QString& hint) {
  auto* button = new QPushButton(parent);
  NameControl(button, name, pictureText);
  button->setIcon(QIcon(picture));
  button->setIconSize(picture.size());
  button->setToolTip(hint);
  button->setAccessibleDescription(hint);
  return button;
}

}  // namespace

DriveSelectionDialog::DriveSelectionDialog(const std::vector<std::string>& rows,
                                           engine::SettingsRecord* settings,
                                           SaveOptionsFn saveOptions, QWidget* parent,
                                           const std::vector<bool>& available)
    : QDialog(parent), m_settings(settings), m_saveOptions(std::move(saveOptions)) {
  setObjectName(QStringLiteral("frmDriveSel"));
  // The blanks push the help hint to the right end of the title bar.
  setWindowTitle(tr("Drive Selection") + QString(52, u' ') + tr("[F1] for help"));
  setProperty(kHelpContextProperty, kHelpContext);
  createControls();
  load(rows, available);
  connect(OkSelBut, &QPushButton::clicked, this, &DriveSelectionDialog::accept);
  connect(CxlSelBut, &QPushButton::clicked, this, &DriveSelectionDialog::reject);
}

void DriveSelectionDialog::createControls() {
  auto* Label1 = new QLabel(tr("Please Select Drive(s) to Scan / Update"), this);
  NameControl(Label1, "Label1", Label1->text());

  auto* DrvSelBox = new QGroupBox(this);
  NameControl(DrvSelBox, "DrvSelBox", tr("Drives"));
  lstDrives = new MarkList(DrvSelBox);
  NameControl(lstDrives, "lstDrives", Label1->text());
  Label1->setBuddy(lstDrives);
  OkSelBut =
      PictureButton(DrvSelBox, "OkSelBut", OkButtonPicture(), tr("Ok"), tr("Continue With Search"));
  OkSelBut->setDefault(true);
  CxlSelBut = PictureButton(DrvSelBox, "CxlSelBut", CancelButtonPicture(), tr("Cancel"),
                            tr("No Drive Be Selected / Cancel Search"));
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(OkSelBut);
  buttons->addStretch();
  buttons->addWidget(CxlSelBut);
  auto* boxLayout = new QVBoxLayout(DrvSelBox);
  boxLayout->addWidget(lstDrives);
  boxLayout->addLayout(buttons);

  auto* Label4 = new QLabel(tr("Report Options"), this);
  NameControl(Label4, "Label4", Label4->text());
  QFont heading(QStringLiteral("Arial"));
  heading.setPointSize(11);
  heading.setBold(true);
  Label4->setFont(heading);
  auto* Line1 = new QFrame(this);
  NameControl(Line1, "Line1", tr("Separator"));
  Line1->setFrameShape(QFrame::HLine);
  Line1->setFrameShadow(QFrame::Sunken);
  // The option buttons show the stored letters as they are created (load's first
  // steps) and store each later choice at once.
  m_options = new ReportOptions(
      this, {"Frame2", tr("Save As"), "Frame1", tr("Default Name"), tr("by Time && Date")},
      m_settings, m_saveOptions);

  auto* optionsColumn = new QVBoxLayout;
  optionsColumn->addWidget(Label4);
  optionsColumn->addWidget(Line1);
  optionsColumn->addWidget(m_options->namingFrame());
  optionsColumn->addWidget(m_options->formatFrame());
  optionsColumn->addStretch();

  auto* layout = new QGridLayout(this);
  layout->addWidget(Label1, 0, 0);
  layout->addWidget(DrvSelBox, 1, 0);
  layout->addLayout(optionsColumn, 0, 1, 2, 1);
  layout->setColumnStretch(0, 1);
  // Wide enough for the whole title with the help hint at its end.
  resize(600, 330);
}

void DriveSelectionDialog::load(const std::vector<std::string>& rows,
                                const std::vector<bool>& available) {
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const QString text = QString::fromStdString(rows[i]);
    if (i < available.size() && !available[i]) {
      lstDrives->addRow(tr("%1  (not available)").arg(text), /*markable=*/false);
    } else {
      lstDrives->addRow(text);
    }
  }
}

std::vector<bool> DriveSelectionDialog::marks() const { return lstDrives->marks(); }

void DriveSelectionDialog::setMarks(const std::vector<bool>& marks) { lstDrives->setMarks(marks); }

int DriveSelectionDialog::markedCount() const {
  const std::vector<bool> flags = marks();
  return static_cast<int>(std::count(flags.begin(), flags.end(), true));
}

void DriveSelectionDialog::closeEvent(QCloseEvent* event) {
  reject();
  event->accept();
}

bool SelectDrives(QWidget* parent, const std::vector<std::string>& rows, std::vector<bool>* marks,
                  engine::SettingsRecord* settings, const SaveOptionsFn& saveOptions,
                  const std::vector<bool>& available) {
  DriveSelectionDialog dialog(rows, settings, saveOptions, parent, available);
  dialog.setMarks(*marks);
  if (dialog.exec() != QDialog::Accepted) return false;
  *marks = dialog.marks();
  return true;
}

}  // namespace dialogs
