// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/help_window.h"

#include <QApplication>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSet>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QTextBrowser>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWindow>

#include "help/help_key_filter.h"
#include "help/help_topics.h"

namespace help {
namespace {

constexpr int kUrlRole = Qt::UserRole;
constexpr char kWindowTitle[] = QT_TRANSLATE_NOOP("help::HelpWindow", "Brinvale Help");

QToolButton* MakeButton(QWidget* parent, const char* name, const QString& caption,
                        QStyle::StandardPixmap icon, const QString& tip) {
  auto* button = new QToolButton(parent);
  button->setObjectName(QLatin1String(name));
  button->setText(caption);
  button->setIcon(parent->style()->standardIcon(icon));
  button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  button->setToolTip(tip);
  button->setAccessibleName(QString(caption).remove(QLatin1Char('&')));
  return button;
}

QListWidgetItem* MakeItem(const QString& text, const QUrl& url, const QString& tip = {}) {
  auto* item = new QListWidgetItem(text);
  item->setData(kUrlRole, url);
  if (!tip.isEmpty()) item->setToolTip(tip);
  return item;
}

}  // namespace

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  InitHelpResources();
  setObjectName(QStringLiteral("frmHelp"));
  setWindowTitle(tr(kWindowTitle));
  setAccessibleName(tr(kWindowTitle));
  // F1 inside the help shows how to find one's way in it: the contents page.
  setProperty(kHelpContextProperty, kContentsContext);
  createControls();
  connectControls();
  fillContents();
  fillIndex();
  resize(960, 660);
}

void HelpWindow::createControls() {
  m_back = MakeButton(this, "cmdBack", tr("&Back"), QStyle::SP_ArrowBack,
                      tr("The page shown before (Alt+Left)"));
  m_back->setShortcut(QKeySequence::Back);
  m_forward = MakeButton(this, "cmdForward", tr("&Forward"), QStyle::SP_ArrowForward,
                         tr("The page shown after (Alt+Right)"));
  m_forward->setShortcut(QKeySequence::Forward);
  m_home =
      MakeButton(this, "cmdHome", tr("&Home"), QStyle::SP_DirHomeIcon, tr("The contents page"));
  m_back->setEnabled(false);
  m_forward->setEnabled(false);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(m_back);
  buttons->addWidget(m_forward);
  buttons->addWidget(m_home);
  buttons->addStretch(1);

  m_contents = new QListWidget;
  m_contents->setObjectName(QStringLiteral("lstContents"));
  m_contents->setAccessibleName(tr("Contents"));

  m_indexText = new QLineEdit;
  m_indexText->setObjectName(QStringLiteral("txtIndex"));
  m_indexText->setPlaceholderText(tr("Type a keyword"));
  m_indexText->setAccessibleName(tr("Keyword"));
  m_indexText->setClearButtonEnabled(true);
  m_index = new QListWidget;
  m_index->setObjectName(QStringLiteral("lstIndex"));
  m_index->setAccessibleName(tr("Index"));
  auto* indexPage = new QWidget;
  auto* indexLayout = new QVBoxLayout(indexPage);
  indexLayout->addWidget(m_indexText);
  indexLayout->addWidget(m_index);

  m_searchText = new QLineEdit;
  m_searchText->setObjectName(QStringLiteral("txtSearch"));
  m_searchText->setPlaceholderText(tr("Words to find"));
  m_searchText->setAccessibleName(tr("Words to find"));
  m_searchText->setClearButtonEnabled(true);
  m_searchState = new QLabel;
  m_searchState->setObjectName(QStringLiteral("lblSearch"));
  m_searchState->setWordWrap(true);
  m_searchHits = new QListWidget;
  m_searchHits->setObjectName(QStringLiteral("lstSearch"));
  m_searchHits->setAccessibleName(tr("Topics found"));
  auto* searchPage = new QWidget;
  auto* searchLayout = new QVBoxLayout(searchPage);
  searchLayout->addWidget(m_searchText);
  searchLayout->addWidget(m_searchState);
  searchLayout->addWidget(m_searchHits);

  m_tabs = new QTabWidget;
  m_tabs->setObjectName(QStringLiteral("tabHelp"));
  m_tabs->addTab(m_contents, tr("&Contents"));
  m_tabs->addTab(indexPage, tr("&Index"));
  m_tabs->addTab(searchPage, tr("&Search"));

  m_browser = new QTextBrowser;
  m_browser->setObjectName(QStringLiteral("brwTopic"));
  m_browser->setAccessibleName(tr("Help topic"));
  m_browser->setOpenExternalLinks(true);
  QFile css(QStringLiteral(":/help/topics/help.css"));
  if (css.open(QIODevice::ReadOnly)) {
    m_browser->document()->setDefaultStyleSheet(QString::fromUtf8(css.readAll()));
  }

  auto* splitter = new QSplitter(Qt::Horizontal);
  splitter->setObjectName(QStringLiteral("splHelp"));
  splitter->addWidget(m_tabs);
  splitter->addWidget(m_browser);
  splitter->setStretchFactor(0, 0);
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({320, 640});

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(buttons);
  layout->addWidget(splitter, 1);
}

void HelpWindow::connectControls() {
  connect(m_back, &QToolButton::clicked, m_browser, &QTextBrowser::backward);
  connect(m_forward, &QToolButton::clicked, m_browser, &QTextBrowser::forward);
  connect(m_home, &QToolButton::clicked, this, [this] { open(ContentsUrl()); });
  connect(m_browser, &QTextBrowser::backwardAvailable, m_back, &QToolButton::setEnabled);
  connect(m_browser, &QTextBrowser::forwardAvailable, m_forward, &QToolButton::setEnabled);
  connect(m_browser, &QTextBrowser::sourceChanged, this, &HelpWindow::pageChanged);

  for (QListWidget* list : {m_contents, m_index}) {
    connect(list, &QListWidget::itemClicked, this, &HelpWindow::openItem);
    connect(list, &QListWidget::itemActivated, this, &HelpWindow::openItem);
  }
  connect(m_searchHits, &QListWidget::itemClicked, this, &HelpWindow::openSearchHit);
  connect(m_searchHits, &QListWidget::itemActivated, this, &HelpWindow::openSearchHit);

  connect(m_indexText, &QLineEdit::textChanged, this, &HelpWindow::findIndexEntry);
  connect(m_indexText, &QLineEdit::returnPressed, this,
          [this] { openItem(m_index->currentItem()); });
  connect(m_searchText, &QLineEdit::textChanged, this, &HelpWindow::runSearch);
  connect(m_searchText, &QLineEdit::returnPressed, this,
          [this] { openSearchHit(m_searchHits->item(0)); });
}

void HelpWindow::fillContents() {
  for (const Topic& topic : Topics()) m_contents->addItem(MakeItem(topic.title, topic.url));
}

void HelpWindow::fillIndex() {
  // A keyword that leads to several topics names its topic in each row.
  QSet<QString> seen;
  QSet<QString> repeated;
  for (const IndexEntry& entry : IndexEntries()) {
    const QString key = entry.keyword.toCaseFolded();
    if (seen.contains(key)) repeated.insert(key);
    seen.insert(key);
  }
  for (const IndexEntry& entry : IndexEntries()) {
    const QString text = repeated.contains(entry.keyword.toCaseFolded())
                             ? tr("%1 (%2)").arg(entry.keyword, entry.topicTitle)
                             : entry.keyword;
    m_index->addItem(MakeItem(text, entry.url, entry.topicTitle));
  }
}

void HelpWindow::showTopic(int context) {
  open(TopicUrl(context));
  present();
}

void HelpWindow::showContents() {
  m_tabs->setCurrentWidget(m_contents);
  showTopic(kContentsContext);
}

QUrl HelpWindow::currentUrl() const { return m_browser->source(); }

void HelpWindow::open(const QUrl& url) {
  if (!url.isValid()) return;
  if (url == m_browser->source()) {
    // The same page again: back to its top (or its section), no second history entry.
    if (url.hasFragment()) {
      m_browser->scrollToAnchor(url.fragment());
    } else {
      m_browser->moveCursor(QTextCursor::Start);
      m_browser->ensureCursorVisible();
    }
    return;
  }
  m_browser->setSource(url);
}

void HelpWindow::present() {
  // A modal dialog blocks every window that is not its own. The help is opened from
  // dialogs by F1, so while one is open the help window becomes the dialog's window;
  // otherwise it belongs to the window that owns it.
  QWidget* owner = QApplication::activeModalWidget();
  if (owner == this) owner = nullptr;
  if (owner == nullptr && parentWidget() != nullptr) owner = parentWidget()->window();
  create();
  if (QWindow* window = windowHandle()) {
    window->setTransientParent(owner != nullptr ? owner->windowHandle() : nullptr);
  }
  if (isMinimized()) {
    showNormal();
  } else {
    show();
  }
  raise();
  activateWindow();
}

void HelpWindow::pageChanged(const QUrl& url) {
  const QString title = m_browser->documentTitle();
  const QString plain = tr(kWindowTitle);
  setWindowTitle(title.isEmpty() || title == plain ? plain : tr("%1 - %2").arg(title, plain));
  const QUrl page = url.adjusted(QUrl::RemoveFragment);
  for (int row = 0; row < m_contents->count(); ++row) {
    if (m_contents->item(row)->data(kUrlRole).toUrl() == page) {
      const QSignalBlocker blocker(m_contents);
      m_contents->setCurrentRow(row);
      break;
    }
  }
  if (!m_highlight.isEmpty()) {
    // A page opened from the search shows the first place that holds the word.
    m_browser->moveCursor(QTextCursor::Start);
    m_browser->find(m_highlight);
    m_highlight.clear();
  }
}

void HelpWindow::findIndexEntry(const QString& text) {
  const QString wanted = text.trimmed();
  if (wanted.isEmpty()) return;
  // The first keyword that begins with the text; failing that, the first that holds it.
  int holding = -1;
  for (int row = 0; row < m_index->count(); ++row) {
    const QString keyword = m_index->item(row)->text();
    if (keyword.startsWith(wanted, Qt::CaseInsensitive)) {
      m_index->setCurrentRow(row);
      m_index->scrollToItem(m_index->item(row), QAbstractItemView::PositionAtTop);
      return;
    }
    if (holding < 0 && keyword.contains(wanted, Qt::CaseInsensitive)) holding = row;
  }
  if (holding >= 0) {
    m_index->setCurrentRow(holding);
    m_index->scrollToItem(m_index->item(holding), QAbstractItemView::PositionAtTop);
  }
}

void HelpWindow::runSearch(const QString& query) {
  m_searchHits->clear();
  if (query.trimmed().isEmpty()) {
    m_searchState->clear();
    return;
  }
  const std::vector<SearchHit> hits = Search(query);
  for (const SearchHit& hit : hits) m_searchHits->addItem(MakeItem(hit.title, hit.url));
  if (hits.empty()) {
    m_searchState->setText(tr("No topic holds all of these words."));
  } else if (hits.size() == 1) {
    m_searchState->setText(tr("1 topic found:"));
  } else {
    m_searchState->setText(tr("%1 topics found:").arg(hits.size()));
  }
  m_searchHits->setCurrentRow(0);
}

void HelpWindow::openSearchHit(QListWidgetItem* item) {
  if (item == nullptr) return;
  const QStringList words = m_searchText->text().simplified().split(QLatin1Char(' '));
  m_highlight = words.value(0);
  const QUrl url = item->data(kUrlRole).toUrl();
  if (url == m_browser->source()) {
    pageChanged(url);
  } else {
    open(url);
  }
}

void HelpWindow::openItem(QListWidgetItem* item) {
  if (item != nullptr) open(item->data(kUrlRole).toUrl());
}

}  // namespace help
