// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/options_dialog.h"

#include <utility>

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/clickable_label.h"
#include "dialogs/pictures.h"
#include "dialogs/report_options.h"

namespace dialogs {
namespace {

constexpr int kHelpContext = 4;

ClickableLabel* Link(QWidget* parent, const char* name, const QString& caption) {
  auto* label = new ClickableLabel(parent);
  label->setText(caption);
  NameControl(label, name, AccessibleTextOf(caption));
  return label;
}

ClickableLabel* PictureLabel(QWidget* parent, const char* name) {
  auto* picture = new ClickableLabel(parent);
  picture->setObjectName(QString::fromLatin1(name));
  picture->setAlignment(Qt::AlignCenter);
  // Room for the largest picture, so the page keeps its layout when the picture changes.
  picture->setFixedSize(PictureOf(Picture::kInfoOff).size());
  return picture;
}

}  // namespace

OptionsDialog::OptionsDialog(engine::SettingsRecord* settings, SaveOptionsFn saveOptions,
                             OptionsWindow window, QWidget* parent)
    : QDialog(parent), m_window(std::move(window)) {
  setObjectName(QStringLiteral("frmOptions"));
  setWindowTitle(tr("Options, [F1] for Help"));
  setProperty(kHelpContextProperty, kHelpContext);
  // The option buttons show the stored letters as they are created and store each later
  // choice at once.
  m_options = new ReportOptions(
      this, {"Frame2", tr("Create As"), "Frame1", tr("Default Name"), tr("By Time && Date")},
      settings, std::move(saveOptions));
  createControls();
  load();
}

void OptionsDialog::createControls() {
  auto* Label1 = new QLabel(tr("Report Format Options:"), this);
  NameControl(Label1, "Label1", Label1->text());

  // Shape1: the frame around the switches and links.
  auto* Shape1 = new QFrame(this);
  NameControl(Shape1, "Shape1", tr("Switches"));
  Shape1->setFrameShape(QFrame::Box);
  imgInfo = PictureLabel(Shape1, "imgInfo");
  lblInfoOnly = Link(Shape1, "lblInfoOnly", tr("Next Run is Info Only (Click Here)"));
  imgHidden = PictureLabel(Shape1, "imgHidden");
  lblHidden = Link(Shape1, "lblHidden", tr("Include Hidden Files and Folders (Click Here)"));
  imgSnd = PictureLabel(Shape1, "imgSnd");
  lblSound = Link(Shape1, "lblSound", QString());
  auto* lblIgnore = Link(Shape1, "lblIgnore", tr("Set Folders to Ignore (Click Here)"));
  auto* lblPrintopt = Link(Shape1, "lblPrintopt", tr("Set Options for Printing (Click Here)"));
  auto* switches = new QGridLayout(Shape1);
  switches->addWidget(imgInfo, 0, 0);
  switches->addWidget(lblInfoOnly, 0, 1);
  switches->addWidget(imgHidden, 1, 0);
  switches->addWidget(lblHidden, 1, 1);
  switches->addWidget(imgSnd, 2, 0);
  switches->addWidget(lblSound, 2, 1);
  switches->addWidget(lblIgnore, 3, 1);
  switches->addWidget(lblPrintopt, 4, 1);
  switches->setColumnStretch(1, 1);

  auto* Command1 = new QPushButton(tr("OK"), this);
  NameControl(Command1, "Command1", Command1->text());
  Command1->setDefault(true);

  connect(imgInfo, &ClickableLabel::clicked, this, &OptionsDialog::toggleInfoOnly);
  connect(lblInfoOnly, &ClickableLabel::clicked, this, &OptionsDialog::toggleInfoOnly);
  connect(imgHidden, &ClickableLabel::clicked, this, &OptionsDialog::toggleHidden);
  connect(lblHidden, &ClickableLabel::clicked, this, &OptionsDialog::toggleHidden);
  connect(imgSnd, &ClickableLabel::clicked, this, &OptionsDialog::toggleSound);
  connect(lblSound, &ClickableLabel::clicked, this, &OptionsDialog::toggleSound);
  connect(lblIgnore, &ClickableLabel::clicked, this, &OptionsDialog::editIgnoreList);
  connect(lblPrintopt, &ClickableLabel::clicked, this, &OptionsDialog::printingOptions);
  connect(Command1, &QPushButton::clicked, this, &OptionsDialog::accept);

  auto* frames = new QHBoxLayout;
  frames->addWidget(m_options->formatFrame());
  frames->addWidget(m_options->namingFrame());
  auto* buttonRow = new QHBoxLayout;
  buttonRow->addStretch();
  buttonRow->addWidget(Command1);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Label1);
  layout->addLayout(frames);
  layout->addWidget(Shape1);
  layout->addLayout(buttonRow);
}

void OptionsDialog::load() {
  showSoundState();
  showInfoOnlyState();
  showHiddenState();
}

void OptionsDialog::showSoundState() {
  // The label offers the opposite of what the picture shows.
  const bool on = m_window.soundsEnabled();
  lblSound->setText(on ? tr("Turn Sounds Off (Click Here)") : tr("Turn Sounds On (Click Here)"));
  lblSound->setAccessibleName(AccessibleTextOf(lblSound->text()));
  imgSnd->setPixmap(PictureOf(on ? Picture::kSoundOn : Picture::kSoundOff));
  imgSnd->setAccessibleName(on ? tr("Sounds are on") : tr("Sounds are off"));
}

void OptionsDialog::showInfoOnlyState() {
  const bool on = m_window.InfoOnly();
  imgInfo->setPixmap(PictureOf(on ? Picture::kInfoOn : Picture::kInfoOff));
  imgInfo->setAccessibleName(on ? tr("Next run is info only") : tr("Next run is a full run"));
}

void OptionsDialog::showHiddenState() {
  // As info-only: the check mark while hidden files are included; the label never changes.
  const bool on = m_window.IncludeHidden();
  imgHidden->setPixmap(PictureOf(on ? Picture::kInfoOn : Picture::kInfoOff));
  imgHidden->setAccessibleName(on ? tr("Hidden files are included")
                                  : tr("Hidden files are left out"));
}

void OptionsDialog::toggleSound() {
  m_window.toggleSound();
  showSoundState();
}

void OptionsDialog::toggleInfoOnly() {
  m_window.toggleInfoOnly();
  showInfoOnlyState();
}

void OptionsDialog::toggleHidden() {
  m_window.toggleHidden();
  showHiddenState();
}

void OptionsDialog::editIgnoreList() { m_window.showIgnoreList(this); }

void OptionsDialog::printingOptions() { m_window.showPrinterSettings(this); }

}  // namespace dialogs
