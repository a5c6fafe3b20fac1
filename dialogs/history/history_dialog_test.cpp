// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// frmHistory on an in-memory program folder: the kept profiles listed and charted from the
// index, what clicks on points, bars and rows select, and what "&Compare" hands back.
#include "dialogs/history/history_dialog.h"

#include <gtest/gtest.h>

#include <map>

#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QComboBox>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QTreeWidget>

#include "dialogs/dialog_support.h"
#include "platform/civil_time.h"
#include "platform/testing/fixed_locale.h"
#include "platform/testing/memory_file_system.h"
#include "platform/testing/modal_dialogs.h"

namespace dialogs {
namespace {

constexpr const char* kProgram = "Z:\\BV\\";

class HistoryDialogTest : public ::testing::Test {
 protected:
  HistoryDialogTest() { m_fs.addFolder(kProgram); }

  // `count` kept profiles of drive `letter`, made a day apart from 1 March 2026 at 9:05,
  // each 1000 files of 1 MB more than the one before; the run after profile i added
  // (i + 1) MB and deleted i * 512 K.
  void Keep(char letter, int count) {
    std::vector<engine::Generation> generations;
    for (int i = 0; i < count; ++i) {
      engine::Generation g;
      g.made = platform::SecondsFromCivil({2026, 3, 1 + i, 9, 5, 0});
      g.replaced = g.made + 86400;
      g.files = 1000 + i;
      g.bytes = (100 + i) * 1048576LL;
      g.added = 1;
      g.addedBytes = (i + 1) * 1048576LL;
      g.deleted = i;
      g.deletedBytes = i * 524288LL;
      g.file = engine::UtcStamp(g.made) + ".bvp.zst";
      generations.push_back(g);
    }
    m_generations[letter] = generations;
    m_fs.addTextFile(engine::HistoryFolderOf(kProgram, letter, '\\') + "index.tsv",
                     engine::FormatHistoryIndex(generations));
  }
  void Store(char letter) {
    m_fs.addTextFile(std::string(kProgram) + "Prof_" + letter + "_.bvp",
                     "1,#2026-03-01#,\"C:\\\",\"a\"\r\n");
  }
  std::unique_ptr<HistoryDialog> Open(std::vector<HistoryDrive> drives) {
    return std::make_unique<HistoryDialog>(m_fs, kProgram, std::move(drives), m_locale);
  }
  static QTreeWidget* Rows(HistoryDialog& dialog) {
    return dialog.findChild<QTreeWidget*>(QStringLiteral("lstGenerations"));
  }
  static QPushButton* CompareButton(HistoryDialog& dialog) {
    return dialog.findChild<QPushButton*>(QStringLiteral("cmdCompare"));
  }
  static QLineSeries* SizeLine(HistoryDialog& dialog) {
    for (QAbstractSeries* series : dialog.chart()->series()) {
      if (series->name() == QLatin1String("Total size")) return qobject_cast<QLineSeries*>(series);
    }
    return nullptr;
  }
  static QList<QBarSet*> Bars(HistoryDialog& dialog) {
    for (QAbstractSeries* series : dialog.chart()->series()) {
      if (auto* bars = qobject_cast<QBarSeries*>(series)) return bars->barSets();
    }
    return {};
  }
  static std::vector<int> Selected(HistoryDialog& dialog) {
    std::vector<int> rows;
    QTreeWidget* list = Rows(dialog);
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
      if (list->topLevelItem(i)->isSelected()) rows.push_back(i);
    }
    return rows;
  }

  platform::MemoryFileSystem m_fs;
  platform::FixedLocale m_locale;
  std::map<char, std::vector<engine::Generation>> m_generations;
};

TEST_F(HistoryDialogTest, TheIndexIsListedAndChartedWithTheStoredProfileAsTheLastPoint) {
  Keep('C', 12);
  Store('C');
  auto dialog = Open({{'C', "c: [/]"}});
  EXPECT_EQ(dialog->windowTitle(), "Compare With an Earlier Run, [F1] for help");
  EXPECT_EQ(dialog->property(kHelpContextProperty).toInt(), 15);
  for (const char* name : {"cboDrives", "chtHistory", "lstGenerations", "cmdCompare", "cmdClose"}) {
    auto* control = dialog->findChild<QWidget*>(QLatin1String(name));
    ASSERT_NE(control, nullptr) << name;
    EXPECT_FALSE(platform::testing::AccessibleName(control).isEmpty()) << name;
  }

  QTreeWidget* rows = Rows(*dialog);
  ASSERT_EQ(rows->topLevelItemCount(), 12);
  const QTreeWidgetItem* first = rows->topLevelItem(0);
  EXPECT_EQ(
      first->text(0),
      QString::fromStdString(m_locale.generalDate(m_locale.toLocal(m_generations['C'][0].made))));
  EXPECT_EQ(first->text(1), "1,000");
  EXPECT_EQ(first->text(2), "102,400.00 K");
  EXPECT_EQ(first->text(3), "1,024.00 K");                   // +1 MB, nothing deleted
  EXPECT_EQ(rows->topLevelItem(11)->text(3), "6,656.00 K");  // +12 MB, -5.5 MB

  // One point per kept profile and one for the stored profile, whose size is the last kept
  // one's with the last run's net change: 111 MB + 6.5 MB.
  QLineSeries* line = SizeLine(*dialog);
  ASSERT_NE(line, nullptr);
  ASSERT_EQ(line->count(), 13);
  EXPECT_DOUBLE_EQ(line->at(0).y(), 100.0);  // MB
  EXPECT_DOUBLE_EQ(line->at(11).y(), 111.0);
  EXPECT_DOUBLE_EQ(line->at(12).y(), 117.5);
  // Each run's bars at the profile it made; nothing is known of the run before the first.
  const QList<QBarSet*> bars = Bars(*dialog);
  ASSERT_EQ(bars.size(), 2);
  EXPECT_EQ(bars[0]->label(), "Added");
  EXPECT_EQ(bars[1]->label(), "Deleted");
  ASSERT_EQ(bars[0]->count(), 13);
  EXPECT_EQ(bars[0]->at(0), 0);
  EXPECT_DOUBLE_EQ(bars[0]->at(1), 1.0);
  EXPECT_DOUBLE_EQ(bars[0]->at(12), 12.0);
  EXPECT_DOUBLE_EQ(bars[1]->at(12), 5.5);

  // Nothing selected: nothing to compare yet.
  EXPECT_FALSE(CompareButton(*dialog)->isEnabled());
  EXPECT_EQ(dialog->choice(), std::nullopt);
}

TEST_F(HistoryDialogTest, PointsBarsAndRowsSelectWhatCompareHandsBack) {
  Keep('C', 12);
  Store('C');
  auto dialog = Open({{'C', "c: [/]"}});
  QLineSeries* line = SizeLine(*dialog);
  const auto& kept = m_generations['C'];

  // A point: that profile alone, compared with the stored one. The stored profile's point
  // selects nothing.
  emit line->clicked(line->at(3));
  EXPECT_EQ(Selected(*dialog), std::vector<int>{3});
  EXPECT_TRUE(CompareButton(*dialog)->isEnabled());
  emit line->clicked(line->at(12));
  EXPECT_TRUE(Selected(*dialog).empty());
  EXPECT_FALSE(CompareButton(*dialog)->isEnabled());

  // A bar: the two profiles its run compared; the last run's bar, the last kept profile
  // (its other side is the stored one); the first position has no run.
  emit Bars(*dialog)[0]->clicked(5);
  EXPECT_EQ(Selected(*dialog), (std::vector<int>{4, 5}));
  emit Bars(*dialog)[1]->clicked(12);
  EXPECT_EQ(Selected(*dialog), std::vector<int>{11});
  emit Bars(*dialog)[1]->clicked(0);
  EXPECT_EQ(Selected(*dialog), std::vector<int>{11});

  // Three rows are one too many.
  QTreeWidget* rows = Rows(*dialog);
  for (int row : {2, 6, 9}) rows->topLevelItem(row)->setSelected(true);
  EXPECT_FALSE(CompareButton(*dialog)->isEnabled());

  // Two rows, picked in any order: the older against the newer.
  rows->clearSelection();
  rows->topLevelItem(9)->setSelected(true);
  rows->topLevelItem(2)->setSelected(true);
  CompareButton(*dialog)->click();
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
  EXPECT_EQ(dialog->choice(), (HistoryChoice{'C', kept[2].file, kept[9].file}));

  // One row from the keyboard: Enter compares it with the stored profile.
  auto again = Open({{'C', "c: [/]"}});
  again->show();
  QTreeWidget* list = Rows(*again);
  list->setFocus();
  QTest::keyClick(list, Qt::Key_End);
  QTest::keyClick(list, Qt::Key_Up);
  EXPECT_EQ(Selected(*again), std::vector<int>{10});
  QTest::keyClick(list, Qt::Key_Return);
  EXPECT_EQ(again->choice(), (HistoryChoice{'C', kept[10].file, ""}));
}

TEST_F(HistoryDialogTest, EachDriveHasItsOwnRunsAndOneWithoutAStoredProfileNeedsTwo) {
  Keep('C', 3);
  Store('C');
  Keep('D', 2);  // its profile deleted since
  m_fs.addTextFile(engine::HistoryFolderOf(kProgram, 'E', '\\') + "index.tsv", "not an index\n");
  auto dialog = Open({{'C', "c: [/]"}, {'D', "d: [/data]"}, {'E', "e:"}});
  auto* drives = dialog->findChild<QComboBox*>(QStringLiteral("cboDrives"));
  auto* hint = dialog->findChild<QLabel*>(QStringLiteral("lblHint"));
  EXPECT_EQ(Rows(*dialog)->topLevelItemCount(), 3);
  EXPECT_EQ(SizeLine(*dialog)->count(), 4);

  drives->setCurrentIndex(1);
  EXPECT_EQ(Rows(*dialog)->topLevelItemCount(), 2);
  EXPECT_EQ(SizeLine(*dialog)->count(), 2);  // no point for a stored profile
  Rows(*dialog)->topLevelItem(0)->setSelected(true);
  EXPECT_FALSE(CompareButton(*dialog)->isEnabled());
  EXPECT_TRUE(hint->text().contains("no stored profile")) << hint->text().toStdString();
  Rows(*dialog)->topLevelItem(1)->setSelected(true);
  EXPECT_TRUE(CompareButton(*dialog)->isEnabled());
  CompareButton(*dialog)->click();
  EXPECT_EQ(dialog->choice(),
            (HistoryChoice{'D', m_generations['D'][0].file, m_generations['D'][1].file}));

  // A damaged index lists nothing and says why, naming the file.
  drives->setCurrentIndex(2);
  EXPECT_EQ(Rows(*dialog)->topLevelItemCount(), 0);
  EXPECT_EQ(SizeLine(*dialog)->count(), 0);
  EXPECT_TRUE(hint->text().contains("index.tsv")) << hint->text().toStdString();
  EXPECT_FALSE(CompareButton(*dialog)->isEnabled());
}

}  // namespace
}  // namespace dialogs
