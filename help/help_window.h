// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The help window "frmHelp": the compiled-in topics with their links, a contents list, a
// keyword index, a full-text search, Back and Forward.
#pragma once

#include <QUrl>
#include <QWidget>

QT_BEGIN_NAMESPACE
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QTabWidget;
class QTextBrowser;
class QToolButton;
QT_END_NAMESPACE

namespace help {

// One help window for the whole program. Create it once, with the main window as parent
// (it is a window of its own, not modal), and call showTopic for F1 and the help commands:
//   auto* help = new help::HelpWindow(this);
// Showing a topic shows the window, restores it when minimised, raises and activates it;
// when it is already open it changes the page and keeps its place, size and history.
// While a dialog is open modally the help window belongs to that dialog, so that it can be
// read, scrolled and searched without closing the dialog. Closing the window only hides
// it. F1 inside the help window opens the contents page (its "helpContext" is 0).
class HelpWindow : public QWidget {
  Q_OBJECT

 public:
  explicit HelpWindow(QWidget* parent = nullptr);

  // Shows the topic of help context `context` (1 About, 3 Create/drive selection,
  // 4 Options and sounds, 6 Ignore list, 7 Info-only, 9 Printing options, 10 main window,
  // 13 recycle bins); the contents page for 0 and for any number without a topic.
  void showTopic(int context);
  // Shows the contents page.
  void showContents();

  // The page shown now (with its #fragment when a section was opened).
  [[nodiscard]] QUrl currentUrl() const;

 private:
  void createControls();
  void connectControls();
  void fillContents();
  void fillIndex();
  void open(const QUrl& url);
  void present();
  void pageChanged(const QUrl& url);
  void findIndexEntry(const QString& text);
  void runSearch(const QString& query);
  void openSearchHit(QListWidgetItem* item);
  void openItem(QListWidgetItem* item);

  QToolButton* m_back = nullptr;
  QToolButton* m_forward = nullptr;
  QToolButton* m_home = nullptr;
  QTabWidget* m_tabs = nullptr;
  QListWidget* m_contents = nullptr;
  QLineEdit* m_indexText = nullptr;
  QListWidget* m_index = nullptr;
  QLineEdit* m_searchText = nullptr;
  QListWidget* m_searchHits = nullptr;
  QLabel* m_searchState = nullptr;
  QTextBrowser* m_browser = nullptr;
  QString m_highlight;  // the search word to find on the page a search hit opens
};

}  // namespace help
