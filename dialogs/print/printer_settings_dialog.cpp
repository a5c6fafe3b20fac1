// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/print/printer_settings_dialog.h"

#include <charconv>
#include <optional>
#include <string>

#include <QEvent>
#include <QFocusEvent>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

#include "dialogs/dialog_support.h"
#include "engine/settings_record.h"

namespace dialogs {
namespace {

// Margins are stored in ten-thousandths of an inch; a valid one lies strictly between 0 and
// 6 inches.
constexpr std::int64_t kStoredPerInch = 10000;
constexpr std::int64_t kMaxMarginStored = 6 * kStoredPerInch;

// The stored margin in its shortest decimal form with a period: 5000 is "0.5", 10000 "1".
QString MarginText(std::int64_t stored) {
  const bool negative = stored < 0;
  const std::uint64_t magnitude =
      negative ? 0 - static_cast<std::uint64_t>(stored) : static_cast<std::uint64_t>(stored);
  QString text = QString::number(magnitude / kStoredPerInch);
  QString fraction = QString::number(magnitude % kStoredPerInch).rightJustified(4, u'0');
  while (fraction.endsWith(u'0')) fraction.chop(1);
  if (!fraction.isEmpty()) text += u'.' + fraction;
  return negative ? u'-' + text : text;
}

// The number a margin box's text begins with, read as far as it goes: blanks before it, a
// sign, digits with a period for the decimals, an exponent ("1e2", "1d2"). Text that does
// not begin with a number is 0. Empty when the number is too large to hold.
std::optional<double> LeadingNumber(const QString& text) {
  const std::string s = text.toStdString();
  std::size_t i = s.find_first_not_of(" \t");
  if (i == std::string::npos) return 0.0;
  std::string number;
  if (s[i] == '+' || s[i] == '-') number += s[i++];
  const auto digits = [&] {
    std::size_t count = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i, ++count) number += s[i];
    return count;
  };
  std::size_t mantissaDigits = digits();
  if (i < s.size() && s[i] == '.') {
    number += s[i++];
    mantissaDigits += digits();
  }
  if (mantissaDigits == 0) return 0.0;
  if (i + 1 < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
    std::size_t j = i + 1;
    if (s[j] == '+' || s[j] == '-') ++j;
    if (j < s.size() && s[j] >= '0' && s[j] <= '9') {
      number += 'e';
      number.append(s, i + 1, j - i - 1);
      i = j;
      digits();
    }
  }
  const char* begin = number.data() + (number[0] == '+' ? 1 : 0);
  double value = 0;
  const auto [end, error] = std::from_chars(begin, number.data() + number.size(), value);
  (void)end;
  if (error == std::errc::result_out_of_range) {
    // Too small to hold is as good as 0; too large cannot be evaluated.
    const std::size_t exponent = number.find('e');
    const bool tiny = exponent != std::string::npos && number[exponent + 1] == '-';
    if (tiny) return 0.0;
    return std::nullopt;
  }
  return value;
}

}  // namespace

PrinterSettingsDialog::PrinterSettingsDialog(const reports::PrinterList& printers,
                                             reports::PrinterChoice* choice,
                                             engine::SettingsRecord* settings,
                                             SettingsStep saveOptions, SettingsStep resetOptions,
                                             QWidget* parent)
    : QDialog(parent),
      m_printers(printers.printers()),
      m_choice(choice),
      m_settings(settings),
      m_saveOptions(std::move(saveOptions)),
      m_resetOptions(std::move(resetOptions)),
      m_openedPrintColor(settings->PrintColor),
      m_openedTopMargin(settings->TopMargin),
      m_openedLeftMargin(settings->LeftMargin) {
  setObjectName(QStringLiteral("frmSelPrint"));
  setWindowTitle(tr("Printer Selection, [F1] for help"));
  setProperty("helpContext", 9);
  setModal(true);
  createControls();
  load();

  // Connected after loading, so that the selections made there count as no change.
  // A click or arrow key selects a row. Focus alone may make the first row current
  // without selecting it, which picks nothing.
  connect(lstPrnt, &QListWidget::itemSelectionChanged, this, [this] {
    if (selectedRow() >= 0) printerChosen();
  });
  for (QRadioButton* option : {optBW, optColor}) {
    connect(option, &QRadioButton::toggled, this, [this](bool on) {
      if (on) colourChosen();
    });
  }
  connect(cmdOK, &QPushButton::clicked, this, [this] { confirm(); });
  txtTopMarg->installEventFilter(this);
  txtLeftMarg->installEventFilter(this);
}

void PrinterSettingsDialog::createControls() {
  const auto named = [](QWidget* widget, const char* objectName, const QString& accessible) {
    widget->setObjectName(QLatin1String(objectName));
    widget->setAccessibleName(accessible);
  };
  Label1 = new QLabel(tr("Select Printer"), this);
  named(Label1, "Label1", tr("Select Printer"));
  lstPrnt = new QListWidget(this);
  named(lstPrnt, "lstPrnt", tr("Select Printer"));
  lstPrnt->setSelectionMode(QAbstractItemView::SingleSelection);
  Label1->setBuddy(lstPrnt);
  Label3 = new QLabel(tr("Selected:"), this);
  named(Label3, "Label3", tr("Selected:"));
  Label2 = new QLabel(this);
  named(Label2, "Label2", QString());

  auto* frame1 = new QGroupBox(tr("Format Options"), this);
  named(frame1, "Frame1", tr("Format Options"));
  optBW = new QRadioButton(tr("Black && White (Plain Unformatted Text)"), frame1);
  named(optBW, "optBW", tr("Black & White (Plain Unformatted Text)"));
  optColor = new QRadioButton(tr("Color Printing (Rich Text Fortmat)"), frame1);
  named(optColor, "optColor", tr("Color Printing (Rich Text Fortmat)"));
  auto* options = new QVBoxLayout(frame1);
  options->addWidget(optBW);
  options->addWidget(optColor);

  auto* shape1 = new QFrame(this);
  named(shape1, "Shape1", tr("Margins"));
  shape1->setFrameShape(QFrame::Box);
  auto* label6 = new QLabel(tr(" Select Margins Using Inches"), shape1);
  named(label6, "Label6", tr("Select Margins Using Inches"));
  auto* label5 = new QLabel(tr("&Top:"), shape1);
  named(label5, "Label5", tr("Top:"));
  txtTopMarg = new QLineEdit(shape1);
  named(txtTopMarg, "txtTopMarg", tr("Top margin"));
  label5->setBuddy(txtTopMarg);
  auto* label4 = new QLabel(tr("&Left:"), shape1);
  named(label4, "Label4", tr("Left:"));
  txtLeftMarg = new QLineEdit(shape1);
  named(txtLeftMarg, "txtLeftMarg", tr("Left margin"));
  label4->setBuddy(txtLeftMarg);
  auto* margins = new QVBoxLayout(shape1);
  margins->addWidget(label6);
  auto* boxes = new QHBoxLayout;
  boxes->addWidget(label5);
  boxes->addWidget(txtTopMarg);
  boxes->addWidget(label4);
  boxes->addWidget(txtLeftMarg);
  margins->addLayout(boxes);

  cmdOK = new QPushButton(tr("&OK"), this);
  named(cmdOK, "cmdOK", tr("OK"));
  cmdOK->setDefault(true);

  auto* selected = new QHBoxLayout;
  selected->addWidget(Label3);
  selected->addWidget(Label2, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(cmdOK);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Label1);
  layout->addWidget(lstPrnt, 1);
  layout->addLayout(selected);
  layout->addWidget(frame1);
  layout->addWidget(shape1);
  layout->addLayout(buttons);
}

void PrinterSettingsDialog::load() {
  const reports::PrinterEntry& current = m_choice->current();
  for (const reports::PrinterEntry& printer : m_printers) lstPrnt->addItem(printer.name);
  Label2->setText(current.name);
  // Row i is printer i; with repeated names the last one stays selected.
  for (int row = 0; row < static_cast<int>(m_printers.size()); ++row) {
    if (m_printers[row] == current) {
      lstPrnt->setCurrentRow(row);
      Label2->setText(current.name);
    }
  }
  Label2->setAccessibleName(Label2->text());
  txtTopMarg->setText(MarginText(m_settings->effectiveTopMargin()));
  txtLeftMarg->setText(MarginText(m_settings->effectiveLeftMargin()));
  (m_settings->PrintColor == 1 ? optColor : optBW)->setChecked(true);
  blnChanged = false;
}

int PrinterSettingsDialog::selectedRow() const {
  const QList<QListWidgetItem*> selected = lstPrnt->selectedItems();
  return selected.isEmpty() ? -1 : lstPrnt->row(selected.first());
}

void PrinterSettingsDialog::printerChosen() {
  blnChanged = true;
  Label2->setText(m_printers[selectedRow()].name);
  Label2->setAccessibleName(Label2->text());
}

void PrinterSettingsDialog::colourChosen() {
  m_settings->PrintColor = optColor->isChecked() ? 1 : 0;
  blnChanged = true;
}

void PrinterSettingsDialog::marginFocused(QLineEdit* box) {
  // After the event, or the click that brought the focus would place the cursor and drop
  // the selection again.
  QTimer::singleShot(0, box, [box] { box->selectAll(); });
}

std::int64_t PrinterSettingsDialog::shownMargin(const std::int64_t* margin) const {
  return margin == &m_settings->TopMargin ? m_settings->effectiveTopMargin()
                                          : m_settings->effectiveLeftMargin();
}

bool PrinterSettingsDialog::takeMargin(QLineEdit* box, std::int64_t* margin) {
  const std::optional<double> value = LeadingNumber(box->text());
  if (!value) {
    box->setText(MarginText(shownMargin(margin)));
    return false;
  }
  // Checked once more after rounding: 5.99996 would be stored as 6.
  const std::int64_t stored = engine::InchesToStored(*value);
  if (*value > 0 && *value < 6 && stored > 0 && stored < kMaxMarginStored) {
    *margin = stored;
    box->setText(MarginText(stored));
    blnChanged = true;
    return true;
  }
  ShowWarning(this, tr("Recommend at least 0.25 for most printers"));
  box->setText(MarginText(shownMargin(margin)));
  return false;
}

bool PrinterSettingsDialog::eventFilter(QObject* watched, QEvent* event) {
  QLineEdit* box = watched == txtTopMarg    ? txtTopMarg
                   : watched == txtLeftMarg ? txtLeftMarg
                                            : nullptr;
  if (box != nullptr && event->type() == QEvent::FocusIn) marginFocused(box);
  if (box != nullptr && event->type() == QEvent::FocusOut) {
    // Switching to another window, or a menu, does not leave the box.
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
      takeMargin(box, box == txtTopMarg ? &m_settings->TopMargin : &m_settings->LeftMargin);
    }
  }
  return QDialog::eventFilter(watched, event);
}

void PrinterSettingsDialog::confirm() {
  // Enter in a margin box presses OK without taking the focus from the box: take the box's
  // value as leaving it would, and stay open when it is refused.
  QWidget* focus = focusWidget();
  if (focus == txtTopMarg && !takeMargin(txtTopMarg, &m_settings->TopMargin)) return;
  if (focus == txtLeftMarg && !takeMargin(txtLeftMarg, &m_settings->LeftMargin)) return;
  applyPrinterSettings();
}

void PrinterSettingsDialog::applyPrinterSettings() {
  if (const int row = selectedRow(); row >= 0) m_choice->choose(m_printers[row]);
  // What the boxes showed is what is stored: a margin never set becomes its default.
  m_settings->TopMargin = m_settings->effectiveTopMargin();
  m_settings->LeftMargin = m_settings->effectiveLeftMargin();
  if (base::Status s = m_saveOptions(); !s.isOk()) {
    ShowFailure(this, tr("The printer settings could not be saved."), s);
  }
  accept();
}

bool PrinterSettingsDialog::maybeSave() {
  // Closing takes the focus from a margin box too, so a value typed there counts.
  QWidget* focus = focusWidget();
  if (focus == txtTopMarg && txtTopMarg->isModified()) {
    takeMargin(txtTopMarg, &m_settings->TopMargin);
  }
  if (focus == txtLeftMarg && txtLeftMarg->isModified()) {
    takeMargin(txtLeftMarg, &m_settings->LeftMargin);
  }
  if (!blnChanged) return true;

  const QMessageBox::StandardButton answer =
      Ask(this, tr("Save Settings"), tr("Save Printer Settings?"),
          QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  if (answer == QMessageBox::Yes) {
    applyPrinterSettings();
    return false;  // already closed
  }
  if (answer != QMessageBox::No) return false;
  if (base::Status s = m_resetOptions(); !s.isOk()) {
    m_settings->PrintColor = m_openedPrintColor;
    m_settings->TopMargin = m_openedTopMargin;
    m_settings->LeftMargin = m_openedLeftMargin;
    ShowFailure(this,
                tr("The saved printer settings could not be read again; the "
                   "settings are as they were before this dialog opened."),
                s);
  }
  return true;
}

void PrinterSettingsDialog::reject() {
  if (maybeSave()) QDialog::reject();
}

}  // namespace dialogs
