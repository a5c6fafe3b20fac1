// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// frmHistory: a drive's kept profiles (engine/history.h) as a list and a chart, from which
// the user picks what to compare: one kept profile with the stored one, or two kept ones.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include <QDialog>

#include "engine/history.h"

QT_BEGIN_NAMESPACE
class QChart;
class QChartView;
class QComboBox;
class QLabel;
class QLineSeries;
class QPushButton;
class QScatterSeries;
class QTreeWidget;
QT_END_NAMESPACE

namespace platform {
class FileSystem;
class LocaleFormat;
}  // namespace platform

namespace dialogs {

// A drive the dialog offers: its letter (upper case) and its text ("d: [/data]").
struct HistoryDrive {
  char letter = 0;
  std::string displayText;
};

// What the user chose: the older side by its file name in the drive's history folder, and
// the newer side the same way, or the stored profile when `newerFile` is empty.
struct HistoryChoice {
  char letter = 0;
  std::string olderFile;
  std::string newerFile;
  friend bool operator==(const HistoryChoice&, const HistoryChoice&) = default;
};

// Lists the drives of `drives` ("&Drive:"); for the chosen one, its kept profiles from its
// index only (made, files, size, net change of the run that replaced it), newest last, and
// a chart above them: the total size of each kept profile and of the stored one as a line,
// the bytes each run added and deleted as bars at the profile that run made. Clicking a
// point selects its row; clicking a run's bar selects the two profiles it compared (the one
// before it alone when it made the stored profile); Ctrl+click adds to the selection.
// "&Compare" accepts the dialog with one row selected (compared with the stored profile,
// when there is one) or two (the older with the newer); anything else leaves it disabled.
//
// Help context 15.
class HistoryDialog final : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kHelpContext = 15;

  // `fs` and `locale` must outlive the dialog; `programFolder` ends in the separator.
  HistoryDialog(platform::FileSystem& fs, std::string programFolder,
                std::vector<HistoryDrive> drives, const platform::LocaleFormat& locale,
                QWidget* parent = nullptr);
  ~HistoryDialog() override;

  // The comparison chosen; nothing until "&Compare" was pressed.
  [[nodiscard]] std::optional<HistoryChoice> choice() const { return m_choice; }

  // The chart, for tests: its "Total size" line has one point per kept profile plus one
  // for the stored profile.
  [[nodiscard]] QChart* chart() const;

 private slots:
  void showChosenDrive();
  void generationsSelected();
  void compareSelected();

 private:
  void createControls();
  // Reads the chosen drive's index and fills the list and the chart.
  void loadDrive();
  void fillChart();
  // Selects the rows of `slots` (chart positions; the stored profile's is none), adding to
  // the selection when `add`.
  void selectSlots(const std::vector<int>& slots, bool add);
  // The selected rows, oldest first.
  [[nodiscard]] std::vector<int> selectedRows() const;

  platform::FileSystem& m_fs;
  std::string m_programFolder;
  std::vector<HistoryDrive> m_drives;
  const platform::LocaleFormat& m_locale;

  std::vector<engine::Generation> m_generations;
  bool m_hasStored = false;
  std::optional<HistoryChoice> m_choice;

  QComboBox* cboDrives = nullptr;
  QChartView* chtHistory = nullptr;
  QLineSeries* m_sizeLine = nullptr;
  QScatterSeries* m_selectedPoints = nullptr;
  QTreeWidget* lstGenerations = nullptr;
  QLabel* lblHint = nullptr;
  QPushButton* cmdCompare = nullptr;
  QPushButton* cmdClose = nullptr;
};

// Shows frmHistory modally over `parent` and returns the choice, or nothing when the user
// closed it. Arguments as for the constructor.
[[nodiscard]] std::optional<HistoryChoice> ChooseHistoryComparison(
    QWidget* parent, platform::FileSystem& fs, const std::string& programFolder,
    std::vector<HistoryDrive> drives, const platform::LocaleFormat& locale);

}  // namespace dialogs
