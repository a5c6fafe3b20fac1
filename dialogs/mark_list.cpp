// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/mark_list.h"

#include <QMouseEvent>
#include <QStyledItemDelegate>

namespace dialogs {
namespace {

// Mouse presses on a row are eaten, so that the view's own selection handling never
// toggles a row on the press; the release toggles the mark. A double click is thus two
// clicks and leaves the mark as it was. Keys go to the standard delegate: Space toggles.
class RowMarkDelegate final : public QStyledItemDelegate {
 public:
  explicit RowMarkDelegate(QListWidget* list) : QStyledItemDelegate(list), m_list(list) {}

  bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override {
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease &&
        type != QEvent::MouseButtonDblClick) {
      return QStyledItemDelegate::editorEvent(event, model, option, index);
    }
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() != Qt::LeftButton || !option.rect.contains(mouse->position().toPoint())) {
      return false;
    }
    if (!(index.flags() & Qt::ItemIsEnabled)) return true;  // a greyed-out row: nothing
    if (type == QEvent::MouseButtonPress) {
      m_list->selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    } else if (type == QEvent::MouseButtonRelease) {
      const bool marked = index.data(Qt::CheckStateRole).toInt() == Qt::Checked;
      model->setData(index, marked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
    }
    return true;
  }

 private:
  QListWidget* m_list;
};

}  // namespace

MarkList::MarkList(QWidget* parent) : QListWidget(parent) {
  // Multi-selection: arrow keys move without selecting, and a selected row stays selected
  // until it is unmarked.
  setSelectionMode(QAbstractItemView::MultiSelection);
  setItemDelegate(new RowMarkDelegate(this));
  connect(this, &QListWidget::itemChanged, this, &MarkList::markToSelection);
  connect(this, &QListWidget::itemSelectionChanged, this, &MarkList::selectionToMarks);
}

void MarkList::addRow(const QString& text, bool markable) {
  auto* item = new QListWidgetItem(text);
  item->setCheckState(Qt::Unchecked);
  // Without any flag the row is greyed out and can be neither selected nor checked.
  item->setFlags(markable ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable
                          : Qt::NoItemFlags);
  addItem(item);
  if (markable && currentRow() < 0)
    selectionModel()->setCurrentIndex(indexFromItem(item), QItemSelectionModel::NoUpdate);
}

std::vector<bool> MarkList::marks() const {
  std::vector<bool> result(static_cast<std::size_t>(count()));
  for (int i = 0; i < count(); ++i) {
    result[static_cast<std::size_t>(i)] = item(i)->checkState() == Qt::Checked;
  }
  return result;
}

void MarkList::setMarks(const std::vector<bool>& marks) {
  for (int i = 0; i < count(); ++i) {
    const auto row = static_cast<std::size_t>(i);
    const bool markable = item(i)->flags() & Qt::ItemIsUserCheckable;
    item(i)->setCheckState(markable && row < marks.size() && marks[row] ? Qt::Checked
                                                                        : Qt::Unchecked);
  }
}

void MarkList::selectionToMarks() {
  if (m_syncing) return;
  m_syncing = true;
  for (int i = 0; i < count(); ++i) {
    item(i)->setCheckState(item(i)->isSelected() ? Qt::Checked : Qt::Unchecked);
  }
  m_syncing = false;
}

void MarkList::markToSelection(QListWidgetItem* changed) {
  if (m_syncing) return;
  m_syncing = true;
  changed->setSelected(changed->checkState() == Qt::Checked);
  m_syncing = false;
}

}  // namespace dialogs
