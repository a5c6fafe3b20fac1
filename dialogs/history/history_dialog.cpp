// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/history/history_dialog.h"

#include <algorithm>
#include <cmath>

#include <QApplication>
#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPushButton>
#include <QScatterSeries>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QValueAxis>

#include "dialogs/dialog_support.h"
#include "engine/k_format.h"
#include "engine/profile_store.h"
#include "platform/file_system.h"
#include "platform/locale_format.h"

namespace dialogs {
namespace {

constexpr char kTitle[] =
    QT_TRANSLATE_NOOP("dialogs::HistoryDialog", "Compare With an Earlier Run, [F1] for help");
constexpr int kMostAxisLabels = 8;

// A unit that keeps the chart's numbers short: the largest of K, MB, GB and TB (powers of
// 1024, as the reports' K) that leaves the largest value at least 1.
struct Unit {
  double divisor = 1024.0;
  const char* name = "K";
};

Unit UnitFor(double largest) {
  Unit unit;
  for (const char* name : {"MB", "GB", "TB"}) {
    if (largest < unit.divisor * 1024.0) break;
    unit.divisor *= 1024.0;
    unit.name = name;
  }
  return unit;
}

QString Text(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

HistoryDialog::HistoryDialog(platform::FileSystem& fs, std::string programFolder,
                             std::vector<HistoryDrive> drives, const platform::LocaleFormat& locale,
                             QWidget* parent)
    : QDialog(parent),
      m_fs(fs),
      m_programFolder(std::move(programFolder)),
      m_drives(std::move(drives)),
      m_locale(locale) {
  setObjectName(QStringLiteral("frmHistory"));
  setWindowTitle(tr(kTitle));
  setProperty(kHelpContextProperty, kHelpContext);
  createControls();
  loadDrive();
}

HistoryDialog::~HistoryDialog() = default;

QChart* HistoryDialog::chart() const { return chtHistory->chart(); }

void HistoryDialog::createControls() {
  auto* lblDrives = new QLabel(tr("&Drive:"), this);
  cboDrives = new QComboBox(this);
  NameControl(cboDrives, "cboDrives", tr("Drive"));
  lblDrives->setBuddy(cboDrives);
  for (const HistoryDrive& drive : m_drives) cboDrives->addItem(Text(drive.displayText));

  chtHistory = new QChartView(this);
  NameControl(chtHistory, "chtHistory", tr("Size and changes of each run"));
  chtHistory->setAccessibleDescription(
      tr("The drive's total size after each run as a line, the bytes each run added "
         "and deleted as bars; the list below holds the same figures."));
  chtHistory->setRenderHint(QPainter::Antialiasing);
  chtHistory->setMinimumSize(640, 300);
  // The list below is the keyboard's way to the same runs.
  chtHistory->setFocusPolicy(Qt::NoFocus);

  auto* lblGenerations = new QLabel(tr("&Earlier runs:"), this);
  lstGenerations = new QTreeWidget(this);
  NameControl(lstGenerations, "lstGenerations", tr("Earlier runs"));
  lblGenerations->setBuddy(lstGenerations);
  lstGenerations->setHeaderLabels({tr("Made"), tr("Files"), tr("Size"), tr("Net change")});
  lstGenerations->setRootIsDecorated(false);
  lstGenerations->setUniformRowHeights(true);
  lstGenerations->setSelectionMode(QAbstractItemView::ExtendedSelection);
  lstGenerations->setAllColumnsShowFocus(true);
  lstGenerations->header()->setStretchLastSection(false);
  lstGenerations->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  lstGenerations->setMinimumHeight(140);

  lblHint = new QLabel(this);
  lblHint->setObjectName(QStringLiteral("lblHint"));
  lblHint->setWordWrap(true);

  cmdCompare = new QPushButton(tr("&Compare"), this);
  NameControl(cmdCompare, "cmdCompare", tr("Compare"));
  cmdCompare->setDefault(true);
  cmdClose = new QPushButton(tr("Close"), this);
  NameControl(cmdClose, "cmdClose", tr("Close"));

  auto* top = new QHBoxLayout;
  top->addWidget(lblDrives);
  top->addWidget(cboDrives, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(lblHint, 1);
  buttons->addWidget(cmdCompare);
  buttons->addWidget(cmdClose);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(chtHistory, 3);
  layout->addWidget(lblGenerations);
  layout->addWidget(lstGenerations, 2);
  layout->addLayout(buttons);
  setTabOrder(cboDrives, lstGenerations);
  setTabOrder(lstGenerations, cmdCompare);
  setTabOrder(cmdCompare, cmdClose);

  connect(cboDrives, &QComboBox::currentIndexChanged, this, &HistoryDialog::showChosenDrive);
  connect(lstGenerations, &QTreeWidget::itemSelectionChanged, this,
          &HistoryDialog::generationsSelected);
  connect(lstGenerations, &QTreeWidget::itemActivated, this, &HistoryDialog::compareSelected);
  connect(cmdCompare, &QPushButton::clicked, this, &HistoryDialog::compareSelected);
  connect(cmdClose, &QPushButton::clicked, this, &QDialog::reject);
  resize(760, 620);
}

void HistoryDialog::showChosenDrive() { loadDrive(); }

void HistoryDialog::loadDrive() {
  m_selectedPoints = nullptr;  // goes with the chart it belongs to
  m_sizeLine = nullptr;
  m_generations.clear();
  m_hasStored = false;
  lstGenerations->clear();
  QString problem;
  const int index = cboDrives->currentIndex();
  if (index >= 0) {
    const HistoryDrive& drive = m_drives[std::size_t(index)];
    const std::string folder =
        engine::HistoryFolderOf(m_programFolder, drive.letter, m_fs.pathStyle().separator);
    if (base::Status s = engine::ReadHistoryIndex(m_fs, folder, &m_generations); !s.isOk()) {
      m_generations.clear();
      problem = Text(s.message());
    }
    m_hasStored = engine::ProfileExists(
        m_fs,
        engine::ProfilePathsFor(std::string(1, drive.letter) + ":", m_programFolder).profilePath);
  }

  const engine::NumberSeparators separators = engine::NumberSeparators::From(m_locale);
  for (const engine::Generation& g : m_generations) {
    auto* row = new QTreeWidgetItem(lstGenerations);
    row->setText(0, Text(m_locale.generalDate(m_locale.toLocal(g.made))));
    row->setText(1, Text(engine::FormatCount(g.files, separators)));
    row->setText(2, Text(engine::FormatTotalK(g.bytes, separators)) + QStringLiteral(" K"));
    row->setText(3, Text(engine::FormatTotalK(g.netBytes(), separators)) + QStringLiteral(" K"));
    for (int column = 1; column < 4; ++column) row->setTextAlignment(column, Qt::AlignRight);
  }
  if (!m_generations.empty()) {
    lstGenerations->setCurrentItem(lstGenerations->topLevelItem(int(m_generations.size()) - 1), 0,
                                   QItemSelectionModel::NoUpdate);
  }
  fillChart();

  if (!problem.isEmpty()) {
    lblHint->setText(problem);
  } else if (index < 0) {
    lblHint->setText(tr("No drive has earlier runs kept yet."));
  } else if (m_generations.empty()) {
    lblHint->setText(tr("No earlier runs of this drive are kept."));
  } else {
    lblHint->clear();
  }
  generationsSelected();
}

void HistoryDialog::fillChart() {
  auto* chart = new QChart;
  chart->setObjectName(QStringLiteral("chart"));
  const int kept = int(m_generations.size());
  // One position per profile, oldest first, the stored profile last. Its size is what the
  // last kept run's totals make of the profile it replaced: the index is all that is read.
  std::vector<double> sizes;
  for (const engine::Generation& g : m_generations) sizes.push_back(double(g.bytes));
  if (m_hasStored && kept > 0) {
    sizes.push_back(double(m_generations.back().bytes) + double(m_generations.back().netBytes()));
  }
  const int positions = int(sizes.size());
  double largestChange = 0;
  for (const engine::Generation& g : m_generations) {
    largestChange = std::max({largestChange, double(g.addedBytes), double(g.deletedBytes)});
  }
  const Unit sizeUnit = UnitFor(positions > 0 ? *std::max_element(sizes.begin(), sizes.end()) : 0);
  const Unit changeUnit = UnitFor(largestChange);

  m_sizeLine = new QLineSeries;
  m_sizeLine->setName(tr("Total size"));
  m_sizeLine->setPointsVisible(true);
  for (int i = 0; i < positions; ++i)
    m_sizeLine->append(i, sizes[std::size_t(i)] / sizeUnit.divisor);
  m_selectedPoints = new QScatterSeries;
  m_selectedPoints->setName(tr("Selected"));
  m_selectedPoints->setMarkerSize(14);

  // A run's bars stand at the profile it made: position i + 1 for the run that replaced
  // kept profile i.
  auto* added = new QBarSet(tr("Added"));
  auto* deleted = new QBarSet(tr("Deleted"));
  added->setColor(QColor(0x2e, 0x8b, 0x57));
  deleted->setColor(QColor(0xc0, 0x39, 0x2b));
  for (int i = 0; i < positions; ++i) {
    const engine::Generation* run =
        i > 0 && i - 1 < kept ? &m_generations[std::size_t(i - 1)] : nullptr;
    added->append(run != nullptr ? double(run->addedBytes) / changeUnit.divisor : 0);
    deleted->append(run != nullptr ? double(run->deletedBytes) / changeUnit.divisor : 0);
  }
  auto* bars = new QBarSeries;
  bars->append(added);
  bars->append(deleted);
  bars->setBarWidth(0.7);

  chart->addSeries(bars);
  chart->addSeries(m_sizeLine);
  chart->addSeries(m_selectedPoints);

  // The profiles' dates under their positions, no more than fit.
  auto* time = new QCategoryAxis;
  time->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
  time->setRange(-0.5, std::max(positions, 1) - 0.5);
  // Runs of one day differ by their time, runs of many by their date.
  const bool oneDay = kept > 0 && m_generations.back().made - m_generations.front().made < 86400;
  const int step = std::max(1, (positions + kMostAxisLabels - 1) / kMostAxisLabels);
  std::vector<int> labelled;
  for (int i = 0; i < positions; i += step) labelled.push_back(i);
  // The last point, the stored profile's, always says what it is.
  if (positions > 0 && labelled.back() != positions - 1) {
    if (positions - 1 - labelled.back() < step / 2 + 1 && labelled.size() > 1) labelled.pop_back();
    labelled.push_back(positions - 1);
  }
  for (int i : labelled) {
    QString label = tr("now");
    if (i < kept) {
      const platform::LocalDateTime t = m_locale.toLocal(m_generations[std::size_t(i)].made);
      const auto two = [](int v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); };
      label = oneDay ? two(t.hour) + ':' + two(t.minute) + ':' + two(t.second)
                     : QString::number(t.year) + '-' + two(t.month) + '-' + two(t.day);
    }
    // Labels must differ; two runs of one day share their date.
    while (time->categoriesLabels().contains(label)) label += QChar(0x200B);
    time->append(label, i);
  }
  time->setGridLineVisible(false);
  chart->addAxis(time, Qt::AlignBottom);

  auto* sizeAxis = new QValueAxis;
  sizeAxis->setTitleText(tr("Total size (%1)").arg(QLatin1String(sizeUnit.name)));
  sizeAxis->setLabelFormat(QStringLiteral("%.3g"));
  chart->addAxis(sizeAxis, Qt::AlignLeft);
  auto* changeAxis = new QValueAxis;
  changeAxis->setTitleText(tr("Added and deleted (%1)").arg(QLatin1String(changeUnit.name)));
  changeAxis->setLabelFormat(QStringLiteral("%.3g"));
  chart->addAxis(changeAxis, Qt::AlignRight);

  bars->attachAxis(time);
  bars->attachAxis(changeAxis);
  m_sizeLine->attachAxis(time);
  m_sizeLine->attachAxis(sizeAxis);
  m_selectedPoints->attachAxis(time);
  m_selectedPoints->attachAxis(sizeAxis);
  // A line from zero would flatten every change of a large drive: the axis spans the sizes.
  if (positions > 0) {
    const double low = *std::min_element(sizes.begin(), sizes.end()) / sizeUnit.divisor;
    const double high = *std::max_element(sizes.begin(), sizes.end()) / sizeUnit.divisor;
    const double margin = std::max((high - low) * 0.1, high * 0.001 + 0.001);
    sizeAxis->setRange(std::max(0.0, low - margin), high + margin);
    sizeAxis->applyNiceNumbers();
  }
  changeAxis->setRange(0, largestChange > 0 ? largestChange / changeUnit.divisor * 1.1 : 1);
  changeAxis->applyNiceNumbers();
  chart->legend()->setAlignment(Qt::AlignTop);
  // The selection markers are the list's; the legend need not name them.
  chart->legend()->markers(m_selectedPoints).first()->setVisible(false);

  connect(m_sizeLine, &QLineSeries::clicked, this, [this](const QPointF& point) {
    selectSlots({int(std::lround(point.x()))},
                QApplication::keyboardModifiers().testFlag(Qt::ControlModifier));
  });
  connect(m_selectedPoints, &QScatterSeries::clicked, this, [this](const QPointF& point) {
    selectSlots({int(std::lround(point.x()))},
                QApplication::keyboardModifiers().testFlag(Qt::ControlModifier));
  });
  // A run's bar: the two profiles it compared.
  const auto run = [this](int position) {
    if (position > 0) selectSlots({position - 1, position}, false);
  };
  connect(added, &QBarSet::clicked, this, run);
  connect(deleted, &QBarSet::clicked, this, run);

  QChart* old = chtHistory->chart();
  chtHistory->setChart(chart);
  delete old;
}

void HistoryDialog::selectSlots(const std::vector<int>& positions, bool add) {
  if (!add) lstGenerations->clearSelection();
  for (int position : positions) {
    if (position < 0 || position >= int(m_generations.size())) continue;  // the stored profile
    QTreeWidgetItem* row = lstGenerations->topLevelItem(position);
    row->setSelected(true);
    lstGenerations->setCurrentItem(row, 0, QItemSelectionModel::NoUpdate);
    lstGenerations->scrollToItem(row);
  }
}

std::vector<int> HistoryDialog::selectedRows() const {
  std::vector<int> rows;
  for (QTreeWidgetItem* item : lstGenerations->selectedItems()) {
    rows.push_back(lstGenerations->indexOfTopLevelItem(item));
  }
  std::sort(rows.begin(), rows.end());
  return rows;
}

void HistoryDialog::generationsSelected() {
  if (m_selectedPoints == nullptr) return;  // the chart is being made
  const std::vector<int> rows = selectedRows();
  m_selectedPoints->clear();
  for (int row : rows) m_selectedPoints->append(m_sizeLine->at(row));
  cmdCompare->setEnabled(rows.size() == 2 || (rows.size() == 1 && m_hasStored));
  if (m_generations.empty()) return;
  if (rows.size() == 1 && !m_hasStored) {
    lblHint->setText(tr("The drive has no stored profile: select a second run to compare with."));
  } else if (rows.size() > 2) {
    lblHint->setText(tr("Select one run, or two to compare with each other."));
  } else if (rows.empty()) {
    lblHint->setText(
        tr("Select a run to compare with the stored profile, or two to compare with "
           "each other."));
  } else {
    lblHint->clear();
  }
}

void HistoryDialog::compareSelected() {
  const std::vector<int> rows = selectedRows();
  if (!cmdCompare->isEnabled() || rows.empty()) return;
  HistoryChoice choice;
  choice.letter = m_drives[std::size_t(cboDrives->currentIndex())].letter;
  choice.olderFile = m_generations[std::size_t(rows.front())].file;
  if (rows.size() == 2) choice.newerFile = m_generations[std::size_t(rows.back())].file;
  m_choice = choice;
  accept();
}

std::optional<HistoryChoice> ChooseHistoryComparison(QWidget* parent, platform::FileSystem& fs,
                                                     const std::string& programFolder,
                                                     std::vector<HistoryDrive> drives,
                                                     const platform::LocaleFormat& locale) {
  HistoryDialog dialog(fs, programFolder, std::move(drives), locale, parent);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.choice();
}

}  // namespace dialogs
