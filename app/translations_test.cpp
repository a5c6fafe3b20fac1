// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The window in the user's language: German captions, menus, dialog titles and run texts
// from the built-in catalogue, and the English source texts where no catalogue applies.
#include <gtest/gtest.h>

#include <QAction>
#include <QDialog>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QTextEdit>

#include "app/commands_test_support.h"
#include "app/progress_relay.h"
#include "app/run_texts.h"
#include "app/translations_test_support.h"
#include "dialogs/pictures.h"

namespace app {
namespace {

using platform::testing::DialogScript;
using testing::CommandsTest;
using testing::German;
using testing::ScopedLanguage;

TEST(TranslationsTest, OnlyALanguageWithACatalogueIsLoaded) {
  {
    const ScopedLanguage german(German());
    EXPECT_TRUE(german.loaded());
    // A German speaker elsewhere finds it too.
    EXPECT_TRUE(InstallTranslators(QCoreApplication::instance(),
                                   QLocale(QLocale::German, QLocale::Switzerland)));
  }
  for (const QLocale& locale : {QLocale::c(), QLocale(QLocale::English, QLocale::UnitedStates),
                                QLocale(QLocale::Japanese, QLocale::Japan)}) {
    const ScopedLanguage other(locale);
    EXPECT_FALSE(other.loaded()) << locale.name().toStdString();
    EXPECT_EQ(QCoreApplication::translate("app::MainWindow", "&Quit"), "&Quit");
  }
}

TEST(TranslationsTest, RunTextsAreTranslatedWithTheirNamesAndFiguresPutBack) {
  // Without a catalogue: the English text as the engine wrote it, lines ending in LF.
  EXPECT_EQ(TranslateRunText("Loading 12 Folders"), "Loading 12 Folders");
  EXPECT_EQ(TranslateRunText("Create New Profile(s)?"), "Create New Profile(s)?");
  EXPECT_EQ(TranslateRunText("Drive k: [/home] was skipped and its profile kept:\r\nno access"),
            "Drive k: [/home] was skipped and its profile kept:\nno access");

  const ScopedLanguage german(German());
  ASSERT_TRUE(german.loaded());
  EXPECT_EQ(TranslateRunText("Loading 12 Folders"), "12 Ordner werden geladen");
  EXPECT_EQ(TranslateRunText("Loading Structure:  k: [/home/ann]"),
            "Struktur wird geladen:  k: [/home/ann]");
  EXPECT_EQ(TranslateRunText("Loading Structure:  k: [/home/ann]  :  40 Directories"),
            "Struktur wird geladen:  k: [/home/ann]  :  40 Verzeichnisse");
  EXPECT_EQ(TranslateRunText("Profiling 100 of 500 in /data/of 3 in/"),
            "Profilerstellung: 100 von 500 in /data/of 3 in/");
  // A name holding a placeholder of its own stays as it is.
  EXPECT_EQ(TranslateRunText("Changes in /data/%2 100%/"), "Änderungen in /data/%2 100%/");
  EXPECT_EQ(TranslateRunText("I do not yet have profiles for 2 of the drives you selected.\r\n"
                             "Do you want to create them now?"),
            "Für 2 der ausgewählten Laufwerke gibt es noch keine Profile.\n"
            "Sollen sie jetzt angelegt werden?");
  // Both paragraphs of a drive's unreadable places, the system's lines between them as
  // they are.
  EXPECT_EQ(TranslateRunText("Some places of drive k: [/home] could not be read; what they held "
                             "at the last run is kept in its profile:\n/home/a: denied\n"
                             "Some places of drive k: [/home] could not be read and were left "
                             "out:\n/home/b: denied"),
            "Einige Stellen des Laufwerks k: [/home] konnten nicht gelesen werden; ihr Inhalt "
            "beim letzten Lauf bleibt im Profil erhalten:\n/home/a: denied\n"
            "Einige Stellen des Laufwerks k: [/home] konnten nicht gelesen werden und wurden "
            "ausgelassen:\n/home/b: denied");
  // A text of no known form, such as the system's own message, passes unchanged.
  EXPECT_EQ(TranslateRunText("/data: Permission denied"), "/data: Permission denied");
}

TEST(TranslationsTest, TheProgressCaptionShowsInGerman) {
  const ScopedLanguage german(German());
  QString shown;
  ProgressRelay relay([&shown](const ProgressDisplay& display) { shown = display.caption; });
  relay.resume();
  relay.start();
  relay.setCaption("Profiling 300 Files in /data/photos/");
  relay.flush();
  EXPECT_EQ(shown, "Profilerstellung: 300 Dateien in /data/photos/");
  relay.stop();
}

// Whether the picture has ink in column `x` of its word's band (the lower 17 rows).
bool InkInColumn(const QImage& picture, int x) {
  for (int y = picture.height() - 17; y < picture.height(); ++y) {
    if (qAlpha(picture.pixel(x, y)) != 0) return true;
  }
  return false;
}

TEST(TranslationsTest, ALongerWordOnAPictureButtonIsDrawnWhole) {
  // "Abbrechen" is wider than the picture at the size "Cancel" is drawn: it must be drawn
  // smaller, not cut at both edges.
  const ScopedLanguage german(German());
  ASSERT_EQ(QCoreApplication::translate("dialogs::Pictures", "Cancel"), "Abbrechen");
  for (const QImage& picture :
       {dialogs::CancelButtonPicture().toImage(), dialogs::OkButtonPicture().toImage()}) {
    ASSERT_FALSE(picture.isNull());
    EXPECT_FALSE(InkInColumn(picture, 0));
    EXPECT_FALSE(InkInColumn(picture, picture.width() - 1));
    bool drawn = false;
    for (int x = 0; x < picture.width(); ++x) drawn = drawn || InkInColumn(picture, x);
    EXPECT_TRUE(drawn);
  }
}

class GermanWindowTest : public CommandsTest {
 protected:
  QString DialogTitle(const char* className, const std::function<void()>& open) {
    QString title;
    DialogScript script;
    script.then(className, [&title](QWidget* dialog) {
      title = dialog->windowTitle();
      static_cast<QDialog*>(dialog)->reject();
    });
    open();
    while (!script.done()) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return title;
  }
};

TEST_F(GermanWindowTest, CaptionsMenusAndDialogTitlesAreGerman) {
  const ScopedLanguage german(German());
  ASSERT_TRUE(german.loaded());
  MainWindow& window = StartWired();

  const struct {
    const char* name;
    const char* text;
  } kCaptions[] = {
      {"tlb1_find", "&Suchen"},
      {"tlb1_options", "Optionen"},
      {"tlb1_quit", "&Beenden"},
      {"tlb1_open", "Öffnen"},
      {"tlb1_print", "&Drucken"},
      {"tlb1_help", "Hilfe (F1)"},
      {"mnuReports", "&Berichte"},
      {"mnuCreate", "&Erstellen (Änderungen suchen)"},
      {"mnuSaveAs", "Speichern &unter"},
      {"mnuIgnore", "Zu &ignorierende Ordner festlegen"},
      {"mnuHidden", "&Versteckte Dateien und Ordner einbeziehen"},
      {"mnuHelp", "&Hilfe"},
      {"mnuAbout", "&Über"},
  };
  for (const auto& caption : kCaptions) {
    const auto* action = window.findChild<QAction*>(QLatin1String(caption.name));
    ASSERT_NE(action, nullptr) << caption.name;
    EXPECT_EQ(action->text(), QString::fromUtf8(caption.text)) << caption.name;
  }
  EXPECT_EQ(Entry("tlb1_find")->toolTip(), "Jetzt starten");

  EXPECT_EQ(DialogTitle("dialogs::OptionsDialog", [this] { ClickButton("options"); }),
            "Optionen, [F1] für Hilfe");
  EXPECT_EQ(DialogTitle("dialogs::IgnoreListDialog", [this] { Entry("mnuIgnore")->trigger(); }),
            "Zu ignorierende Ordner festlegen, [F1] für Hilfe");
  EXPECT_EQ(DialogTitle("dialogs::PrinterSettingsDialog",
                        [this] { Entry("mnuPrintOptions2")->trigger(); }),
            "Druckerauswahl, [F1] für Hilfe");
  EXPECT_EQ(DialogTitle("dialogs::AboutDialog", [this] { Entry("mnuAbout")->trigger(); }),
            "Über Brinvale");
  EXPECT_EQ(
      DialogTitle("dialogs::FolderDrivesDialog", [this] { Entry("mnuFolderDrives")->trigger(); }),
      "Als Laufwerke beobachtete Ordner, [F1] für Hilfe");
}

TEST_F(GermanWindowTest, TheThirdButtonSwitchesBetweenItsGermanCaptionsAndTheWindowStaysUsable) {
  // The window tells a run from idle by the third button's caption: in German it must
  // compare the German one, or no command would come back after the first run.
  const ScopedLanguage german(German());
  MainWindow& window = StartWired();
  QAction* quit = Entry("tlb1_quit");
  QAction* options = Entry("tlb1_options");
  ASSERT_TRUE(options->isEnabled());
  window.enterCancelMode();
  EXPECT_EQ(quit->text(), "Abbrechen");
  EXPECT_FALSE(options->isEnabled());
  window.leaveCancelMode();
  EXPECT_EQ(quit->text(), "&Beenden");
  EXPECT_TRUE(options->isEnabled());
  EXPECT_TRUE(Entry("tlb1_open")->isEnabled());
}

}  // namespace
}  // namespace app
