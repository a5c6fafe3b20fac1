// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/report_options.h"

#include <utility>

#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

namespace dialogs {
namespace {

QGroupBox* Frame(QWidget* page, const char* name, const QString& caption) {
  auto* frame = new QGroupBox(caption, page);
  NameControl(frame, name, AccessibleTextOf(caption));
  new QVBoxLayout(frame);
  return frame;
}

QRadioButton* OptionButton(QGroupBox* frame, const char* name, const QString& caption) {
  auto* button = new QRadioButton(caption, frame);
  NameControl(button, name, AccessibleTextOf(caption));
  frame->layout()->addWidget(button);
  return button;
}

// Calls `handler` each time `button` becomes marked, by a click or by the keyboard.
void OnMarked(QRadioButton* button, ReportOptions* receiver, void (ReportOptions::*handler)()) {
  QObject::connect(button, &QRadioButton::toggled, receiver, [receiver, handler](bool marked) {
    if (marked) (receiver->*handler)();
  });
}

}  // namespace

ReportOptions::ReportOptions(QWidget* page, const ReportOptionTexts& texts,
                             engine::SettingsRecord* settings, SaveOptionsFn saveOptions)
    : QObject(page), m_page(page), m_settings(settings), m_saveOptions(std::move(saveOptions)) {
  m_formatFrame = Frame(page, texts.formatFrameName, texts.formatFrameCaption);
  optRtf = OptionButton(m_formatFrame, "optRtf", tr("Rtf (Color)"));
  optText = OptionButton(m_formatFrame, "optText", tr("Plain Text"));
  m_namingFrame = Frame(page, texts.namingFrameName, texts.namingFrameCaption);
  optDrive = OptionButton(m_namingFrame, "optDrive", tr("by Drive Only"));
  optTime = OptionButton(m_namingFrame, "optTime", texts.optTimeCaption);

  const char format = settings->ReportFormat;
  (format == 'R' || format == 'r' ? optRtf : optText)->setChecked(true);
  // The naming shown is the one a run uses: only the letter D names reports by drive alone,
  // replacing the last one; any other letter, a new file's NUL among them, keeps every
  // report under its time and date.
  (settings->isTimeStampedNames() ? optTime : optDrive)->setChecked(true);

  // Connected only now, so that showing the stored letters stores nothing: a new settings
  // file keeps its NUL letters until the user chooses.
  OnMarked(optRtf, this, &ReportOptions::chooseRichText);
  OnMarked(optText, this, &ReportOptions::choosePlainText);
  OnMarked(optDrive, this, &ReportOptions::nameByDrive);
  OnMarked(optTime, this, &ReportOptions::nameByTime);
}

void ReportOptions::chooseRichText() {
  store(&engine::SettingsRecord::ReportFormat, optRtf->isChecked() ? 'R' : 'T');
}

void ReportOptions::choosePlainText() {
  store(&engine::SettingsRecord::ReportFormat, optText->isChecked() ? 'T' : 'R');
}

void ReportOptions::nameByDrive() {
  store(&engine::SettingsRecord::ReportNaming, optDrive->isChecked() ? 'D' : 'T');
}

void ReportOptions::nameByTime() {
  store(&engine::SettingsRecord::ReportNaming, optTime->isChecked() ? 'T' : 'D');
}

void ReportOptions::store(char engine::SettingsRecord::*field, char letter) {
  m_settings->*field = letter;
  StoreSettings(m_page, m_saveOptions, *m_settings);
}

}  // namespace dialogs
