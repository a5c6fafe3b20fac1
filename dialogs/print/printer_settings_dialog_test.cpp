// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/print/printer_settings_dialog.h"

#include <gtest/gtest.h>

#include <memory>

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMessageBox>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include "engine/settings_record.h"
#include "platform/testing/modal_dialogs.h"
#include "reports/print_test_support.h"

namespace dialogs {
namespace {

using reports::PrinterEntry;
using reports::testing::ListedPrinters;

using platform::testing::DialogScript;
using platform::testing::MessageSeen;
using platform::testing::Press;

constexpr char kRecommend[] = "Recommend at least 0.25 for most printers";

class PrinterSettingsDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_settings.TopMargin = 5000;
    m_settings.LeftMargin = 2500;
    m_settings.PrintColor = 1;
    m_stored = m_settings;
  }

  // Builds the dialog on the settings "file" m_stored and shows it, active.
  std::unique_ptr<PrinterSettingsDialog> Open(const reports::PrinterList* printers = nullptr) {
    auto dialog = std::make_unique<PrinterSettingsDialog>(
        printers != nullptr ? *printers : m_printers, &m_choice, &m_settings,
        [this] {
          ++m_saves;
          if (!m_saveFails.isOk()) return m_saveFails;
          m_stored = m_settings;
          return base::Status::ok();
        },
        [this] {
          ++m_resets;
          if (!m_resetFails.isOk()) return m_resetFails;
          m_settings = m_stored;
          return base::Status::ok();
        });
    m_script.allow(dialog.get());  // the dialog under test is modal
    dialog->show();
    EXPECT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    return dialog;
  }

  template <typename T>
  static T* Find(QWidget* dialog, const char* name) {
    T* widget = dialog->findChild<T*>(QLatin1String(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }

  // Types `text` into the margin box `name` as a user does: focus in (which selects the old
  // value), type over it, tab to the other box.
  static void Enter(QWidget* dialog, const char* name, const QString& text) {
    auto* box = Find<QLineEdit>(dialog, name);
    auto* other =
        Find<QLineEdit>(dialog, name == std::string("txtTopMarg") ? "txtLeftMarg" : "txtTopMarg");
    // Focus events go to the active window only; a message box that has just closed may
    // have left none active here, where a desktop would activate the dialog again.
    if (!dialog->isActiveWindow()) {
      dialog->activateWindow();
      EXPECT_TRUE(QTest::qWaitForWindowActive(dialog));
    }
    if (box->hasFocus()) other->setFocus(Qt::TabFocusReason);
    box->setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
    EXPECT_EQ(box->selectedText(), box->text());
    QTest::keyClicks(box, text);
    other->setFocus(Qt::TabFocusReason);
  }

  ListedPrinters m_printers{
      {{"Laser", false}, {"Inkjet", false}, {"Laser", false}, {reports::kPdfPrinterName, true}},
      "Laser"};
  reports::PrinterChoice m_choice{m_printers};
  engine::SettingsRecord m_settings;
  engine::SettingsRecord m_stored;  // what the settings file holds
  base::Status m_saveFails;
  base::Status m_resetFails;
  int m_saves = 0;
  int m_resets = 0;
  // Answers the message boxes; any box a test does not expect fails it.
  DialogScript m_script;
};

// Set BRINVALE_SCREENSHOT to a file name to keep a picture of the dialog.
TEST_F(PrinterSettingsDialogTest, ShowsTheSettingsWithTheSystemsTexts) {
  const auto dialog = Open();
  if (const QByteArray path = qgetenv("BRINVALE_SCREENSHOT"); !path.isEmpty()) {
    dialog->grab().save(QString::fromLocal8Bit(path));
  }
  EXPECT_EQ(dialog->objectName(), "frmSelPrint");
  EXPECT_EQ(dialog->windowTitle(), "Printer Selection, [F1] for help");
  EXPECT_EQ(dialog->property("helpContext").toInt(), 9);
  EXPECT_TRUE(dialog->isModal());

  struct Control {
    const char* name;
    const char* caption;     // as set, with its ampersands
    const char* accessible;  // the accessible name
  };
  for (const Control& c : {
           Control{"Label1", "Select Printer", "Select Printer"},
           Control{"Label3", "Selected:", "Selected:"},
           Control{"Label2", "Laser", "Laser"},
           Control{"Frame1", "Format Options", "Format Options"},
           Control{"optBW", "Black && White (Plain Unformatted Text)",
                   "Black & White (Plain Unformatted Text)"},
           Control{"optColor", "Color Printing (Rich Text Fortmat)",
                   "Color Printing (Rich Text Fortmat)"},
           Control{"Label6", " Select Margins Using Inches", "Select Margins Using Inches"},
           Control{"Label5", "&Top:", "Top:"},
           Control{"Label4", "&Left:", "Left:"},
           Control{"cmdOK", "&OK", "OK"},
           Control{"txtTopMarg", "0.5", "Top margin"},
           Control{"txtLeftMarg", "0.25", "Left margin"},
           Control{"lstPrnt", "", "Select Printer"},
           Control{"Shape1", "", "Margins"},
       }) {
    SCOPED_TRACE(c.name);
    QWidget* widget = Find<QWidget>(dialog.get(), c.name);
    ASSERT_NE(widget, nullptr);
    QString caption;
    if (auto* label = qobject_cast<QLabel*>(widget)) caption = label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) caption = button->text();
    if (auto* group = qobject_cast<QGroupBox*>(widget)) caption = group->title();
    if (auto* box = qobject_cast<QLineEdit*>(widget)) caption = box->text();
    EXPECT_EQ(caption.toStdString(), c.caption);
    EXPECT_EQ(widget->accessibleName().toStdString(), c.accessible);
  }

  // Every printer in the system's order; of two with the current name the last is selected.
  auto* list = Find<QListWidget>(dialog.get(), "lstPrnt");
  QStringList rows;
  for (int i = 0; i < list->count(); ++i) rows.append(list->item(i)->text());
  EXPECT_EQ(rows, (QStringList{"Laser", "Inkjet", "Laser", "PDF file"}));
  EXPECT_EQ(list->currentRow(), 2);
  EXPECT_TRUE(Find<QRadioButton>(dialog.get(), "optColor")->isChecked());
}

TEST_F(PrinterSettingsDialogTest, MarginsAreTakenWhenTheirBoxIsLeft) {
  // A decimal comma in the user's locale changes nothing: margins are written with a period.
  const QLocale previous;
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  const auto dialog = Open();
  QLocale::setDefault(previous);

  struct Case {
    QString typed;
    std::int64_t stored;  // -1: the margin keeps its value and the box shows it again
    const char* shown;
    bool warned;
  };
  const Case cases[] = {
      {"0.1", 1000, "0.1", false},
      {"5.9999", 59999, "5.9999", false},
      {"6", -1, "5.9999", true},
      {"0", -1, "5.9999", true},
      {"-1", -1, "5.9999", true},
      {"1.5abc", 15000, "1.5", false},
      {"abc", -1, "1.5", true},
      {"0.123456", 1235, "0.1235", false},
      {"1e400", -1, "0.1235", false},  // too large to evaluate: no message
      {QString(400, u'9'), -1, "0.1235", false},
      {"5.99996", -1, "0.1235", true},  // would round to 6
      {" 2", 20000, "2", false},
      {".5", 5000, "0.5", false},
      {"1,25", 10000, "1", false},  // a comma ends the number
      {"2.5e-1", 2500, "0.25", false},
  };
  std::int64_t expected = m_settings.TopMargin;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed.left(20).toStdString());
    MessageSeen warning;
    if (c.warned) m_script.then("QMessageBox", Press(QMessageBox::Ok, &warning));
    Enter(dialog.get(), "txtTopMarg", c.typed);
    EXPECT_TRUE(m_script.done());
    if (c.stored >= 0) expected = c.stored;
    EXPECT_EQ(m_settings.TopMargin, expected);
    EXPECT_EQ(Find<QLineEdit>(dialog.get(), "txtTopMarg")->text().toStdString(), c.shown);
    if (c.warned) {
      EXPECT_EQ(warning.text, kRecommend);
      EXPECT_EQ(warning.title, "Brinvale");
      EXPECT_EQ(warning.icon, QMessageBox::Warning);
      EXPECT_EQ(warning.buttons, QMessageBox::Ok);
    }
  }
  Enter(dialog.get(), "txtLeftMarg", "0.75");
  EXPECT_EQ(m_settings.LeftMargin, 7500);
  // Edits stay in memory until confirmed.
  EXPECT_EQ(m_saves, 0);
  EXPECT_EQ(m_stored.TopMargin, 5000);
}

TEST_F(PrinterSettingsDialogTest, CloseBoxAsksOnlyAfterAChange) {
  {
    const auto dialog = Open();
    dialog->close();
    EXPECT_FALSE(dialog->isVisible());
  }
  // A margin changed, then Cancel: the dialog stays as it is.
  const auto dialog = Open();
  Enter(dialog.get(), "txtTopMarg", "1");
  MessageSeen question;
  m_script.then("QMessageBox", Press(QMessageBox::Cancel, &question));
  dialog->close();
  EXPECT_TRUE(m_script.done());
  EXPECT_EQ(question.title, "Save Settings");
  EXPECT_EQ(question.text, "Save Printer Settings?");
  EXPECT_EQ(question.icon, QMessageBox::Question);
  EXPECT_EQ(question.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(m_settings.TopMargin, 10000);

  // Then No: the edits are read back from the file; the printer stays.
  Find<QListWidget>(dialog.get(), "lstPrnt")->setCurrentRow(1);
  m_script.then("QMessageBox", Press(QMessageBox::No));
  dialog->close();
  EXPECT_TRUE(m_script.done());
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(m_resets, 1);
  EXPECT_EQ(m_saves, 0);
  EXPECT_EQ(m_settings, m_stored);
  EXPECT_EQ(m_choice.current(), (PrinterEntry{"Laser", false}));
}

TEST_F(PrinterSettingsDialogTest, PrinterChosenOnClosingStaysChosenForTheRun) {
  {
    const auto dialog = Open();
    auto* list = Find<QListWidget>(dialog.get(), "lstPrnt");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(1)).center());
    EXPECT_EQ(Find<QLabel>(dialog.get(), "Label2")->text(), "Inkjet");
    // Not before the dialog is confirmed.
    EXPECT_EQ(m_choice.current(), (PrinterEntry{"Laser", false}));
    // Escape closes as the close box does.
    m_script.then("QMessageBox", Press(QMessageBox::Yes));
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    EXPECT_TRUE(m_script.done());
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
  }
  EXPECT_EQ(m_choice.current(), (PrinterEntry{"Inkjet", false}));
  EXPECT_EQ(m_saves, 1);

  const auto again = Open();
  EXPECT_EQ(Find<QListWidget>(again.get(), "lstPrnt")->currentRow(), 1);
  EXPECT_EQ(Find<QLabel>(again.get(), "Label2")->text(), "Inkjet");
}

TEST_F(PrinterSettingsDialogTest, OkTakesTheMarginBeingTypedAndSavesEverything) {
  const auto dialog = Open();
  QTest::mouseClick(Find<QRadioButton>(dialog.get(), "optBW"), Qt::LeftButton);
  EXPECT_EQ(m_settings.PrintColor, 0);
  EXPECT_EQ(m_stored.PrintColor, 1);

  // Enter in a margin box presses OK with the focus still in the box.
  auto* left = Find<QLineEdit>(dialog.get(), "txtLeftMarg");
  left->setFocus(Qt::TabFocusReason);
  QCoreApplication::processEvents();  // the box selects its text once it has the focus
  QTest::keyClicks(left, "2");
  QTest::keyClick(left, Qt::Key_Return);
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(m_saves, 1);
  EXPECT_EQ(m_stored.PrintColor, 0);
  EXPECT_EQ(m_stored.LeftMargin, 20000);
  EXPECT_EQ(m_choice.current(), (PrinterEntry{"Laser", false}));

  // A refused value keeps the dialog open.
  const auto second = Open();
  auto* top = Find<QLineEdit>(second.get(), "txtTopMarg");
  top->setFocus(Qt::TabFocusReason);
  QCoreApplication::processEvents();
  QTest::keyClicks(top, "9");
  MessageSeen warning;
  m_script.then("QMessageBox", Press(QMessageBox::Ok, &warning));
  QTest::keyClick(top, Qt::Key_Return);
  EXPECT_TRUE(m_script.done());
  EXPECT_EQ(warning.text, kRecommend);
  EXPECT_TRUE(second->isVisible());
  EXPECT_EQ(m_saves, 1);
}

TEST_F(PrinterSettingsDialogTest, MarginsNeverSetShowTheirDefaultsAndAreStoredOnlyByOk) {
  m_settings = engine::SettingsRecord();  // a new settings file: both margins 0
  m_stored = m_settings;
  {
    // Shown, but not stored: looking and closing asks nothing and changes nothing.
    const auto dialog = Open();
    EXPECT_EQ(Find<QLineEdit>(dialog.get(), "txtTopMarg")->text(), "0.5");
    EXPECT_EQ(Find<QLineEdit>(dialog.get(), "txtLeftMarg")->text(), "0.75");
    dialog->close();
    EXPECT_FALSE(dialog->isVisible());
  }
  EXPECT_EQ(m_saves, 0);
  EXPECT_EQ(m_settings.TopMargin, 0);
  EXPECT_EQ(m_settings.LeftMargin, 0);

  // A refused entry shows the default again, not the 0 behind it.
  {
    const auto dialog = Open();
    m_script.then("QMessageBox", Press(QMessageBox::Ok));
    Enter(dialog.get(), "txtLeftMarg", "7");
    EXPECT_TRUE(m_script.done());
    EXPECT_EQ(Find<QLineEdit>(dialog.get(), "txtLeftMarg")->text(), "0.75");
    EXPECT_EQ(m_settings.LeftMargin, 0);
    // The refused entry changed nothing: closing asks nothing.
    dialog->close();
    EXPECT_FALSE(dialog->isVisible());
  }
  EXPECT_EQ(m_stored.LeftMargin, 0);

  // "&OK" stores what the boxes show: the defaults, or the margin the user typed.
  const auto dialog = Open();
  Enter(dialog.get(), "txtTopMarg", "1.25");
  Find<QPushButton>(dialog.get(), "cmdOK")->click();
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(m_stored.TopMargin, 12500);
  EXPECT_EQ(m_stored.LeftMargin, 7500);
}

TEST_F(PrinterSettingsDialogTest, OkWithoutASelectedPrinterKeepsTheCurrentOne) {
  // The current printer is not in the list.
  m_choice.choose({"Gone", false});
  {
    const auto dialog = Open();
    EXPECT_EQ(Find<QListWidget>(dialog.get(), "lstPrnt")->selectedItems().size(), 0);
    EXPECT_EQ(Find<QLabel>(dialog.get(), "Label2")->text(), "Gone");
    QTest::mouseClick(Find<QPushButton>(dialog.get(), "cmdOK"), Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
  }
  EXPECT_EQ(m_choice.current(), (PrinterEntry{"Gone", false}));
  EXPECT_EQ(m_saves, 1);

  // No printer at all.
  const ListedPrinters none({}, "");
  const auto empty = Open(&none);
  QTest::mouseClick(Find<QPushButton>(empty.get(), "cmdOK"), Qt::LeftButton);
  EXPECT_FALSE(empty->isVisible());
  EXPECT_EQ(m_choice.current(), (PrinterEntry{"Gone", false}));
  EXPECT_EQ(m_saves, 2);
}

TEST_F(PrinterSettingsDialogTest, FailedSaveOrResetIsShownAndDropsNoEdit) {
  m_saveFails = base::Status::permissionDenied("/data/BV3.Def: Permission denied");
  {
    const auto dialog = Open();
    Enter(dialog.get(), "txtTopMarg", "1");
    MessageSeen failure;
    m_script.then("QMessageBox", Press(QMessageBox::Ok, &failure));
    QTest::mouseClick(Find<QPushButton>(dialog.get(), "cmdOK"), Qt::LeftButton);
    EXPECT_TRUE(m_script.done());
    EXPECT_TRUE(failure.text.contains("/data/BV3.Def: Permission denied"));
    EXPECT_FALSE(dialog->isVisible());
  }
  // The settings apply for this run even though the file could not take them.
  EXPECT_EQ(m_settings.TopMargin, 10000);

  // A reset that cannot read the file still drops the edits made in the dialog.
  m_resetFails = base::Status::ioError("/data/BV3.Def: Input/output error");
  const auto dialog = Open();
  Enter(dialog.get(), "txtLeftMarg", "3");
  QTest::mouseClick(Find<QRadioButton>(dialog.get(), "optBW"), Qt::LeftButton);
  MessageSeen failure;
  m_script.then("QMessageBox", Press(QMessageBox::No))
      .then("QMessageBox", Press(QMessageBox::Ok, &failure));
  dialog->close();
  EXPECT_TRUE(m_script.done());
  EXPECT_TRUE(failure.text.contains("/data/BV3.Def: Input/output error"));
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(m_settings.LeftMargin, 2500);
  EXPECT_EQ(m_settings.TopMargin, 10000);
  EXPECT_EQ(m_settings.PrintColor, 1);
}

}  // namespace
}  // namespace dialogs
