// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/folder_chooser.h"

#include <algorithm>
#include <vector>

#include <QKeyEvent>
#include <QStyle>

#include "dialogs/dialog_support.h"
#include "engine/path_order.h"
#include "platform/file_system.h"

namespace dialogs {
namespace {

QTreeWidgetItem* FolderRow(const QString& text, const std::string& path, const QIcon& icon) {
  auto* item = new QTreeWidgetItem(QStringList{text});
  item->setData(0, Qt::UserRole, QByteArray::fromStdString(path));
  item->setIcon(0, icon);
  return item;
}

}  // namespace

FolderChooser::FolderChooser(platform::FileSystem& fs, QWidget* parent)
    : QTreeWidget(parent), m_fs(fs) {
  setHeaderHidden(true);
  setRootIsDecorated(false);
  setItemsExpandable(false);
  setExpandsOnDoubleClick(false);
  setSelectionMode(QAbstractItemView::SingleSelection);
  // Not itemActivated: some desktops activate rows on a single click, which must only
  // highlight here.
  connect(this, &QTreeWidget::itemDoubleClicked, this, &FolderChooser::openRow);
}

void FolderChooser::keyPressEvent(QKeyEvent* event) {
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentItem()) {
    openRow(currentItem());
    return;
  }
  QTreeWidget::keyPressEvent(event);
}

base::Status FolderChooser::setDrive(const std::string& root) { return showTree(root, root); }

base::Status FolderChooser::openFolder(const std::string& folder) {
  return showTree(m_root, folder);
}

std::string FolderChooser::path() const {
  if (m_current == m_root) return m_current;
  return m_current.substr(0, m_current.size() - 1);
}

void FolderChooser::openRow(QTreeWidgetItem* item) {
  const std::string folder = item->data(0, Qt::UserRole).toByteArray().toStdString();
  if (folder == m_current) return;
  if (base::Status status = openFolder(folder); !status.isOk()) {
    ShowFailure(this, tr("This folder cannot be opened."), status);
  }
}

base::Status FolderChooser::showTree(const std::string& root, const std::string& folder) {
  platform::FolderListing listing;
  if (base::Status status = m_fs.listFolder(folder, platform::ListWhat::kFolders, &listing);
      !status.isOk()) {
    return status;
  }
  std::vector<std::string> names;
  for (const platform::DirEntry& entry : listing.entries) {
    if (entry.kind == platform::EntryKind::kFolder && (m_showHidden || !entry.hidden) &&
        !entry.system) {
      names.push_back(entry.name);
    }
  }
  const bool caseSensitive = m_fs.pathStyle().caseSensitive;
  std::sort(names.begin(), names.end(),
            [caseSensitive](const std::string& a, const std::string& b) {
              return engine::CompareNames(a, b, caseSensitive) < 0;
            });

  m_root = root;
  m_current = folder;
  clear();
  const char separator = m_fs.pathStyle().separator;
  const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
  const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
  // The way down from the root: every folder on it is a row, nested one level deeper than
  // the one above, so the tree's indentation shows the path.
  QTreeWidgetItem* current = FolderRow(QString::fromStdString(root), root, open);
  addTopLevelItem(current);
  for (std::size_t start = root.size(); start < folder.size();) {
    const std::size_t end = folder.find(separator, start);
    const std::string name = folder.substr(start, end - start);
    auto* row = FolderRow(QString::fromStdString(name), folder.substr(0, end + 1), open);
    current->addChild(row);
    current = row;
    start = end + 1;
  }
  for (const std::string& name : names) {
    current->addChild(FolderRow(QString::fromStdString(name), folder + name + separator, closed));
  }
  expandAll();
  setCurrentItem(current);
  emit pathChanged();
  return base::Status::ok();
}

}  // namespace dialogs
