// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/help_key_filter.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>
#include <QWindow>
#include <optional>

#include "help/help_topics.h"

namespace help {
namespace {

std::optional<int> ContextProperty(const QObject* object) {
  if (object == nullptr) return std::nullopt;
  const QVariant value = object->property(kHelpContextProperty);
  if (!value.isValid()) return std::nullopt;
  bool ok = false;
  const int context = value.toInt(&ok);
  return ok ? std::optional<int>(context) : std::nullopt;
}

// A menu bar walked with the keyboard has the focus itself; its highlighted entry speaks
// for it.
std::optional<int> HighlightedEntryContext(const QWidget* widget) {
  if (const auto* bar = qobject_cast<const QMenuBar*>(widget)) {
    return ContextProperty(bar->activeAction());
  }
  return std::nullopt;
}

bool IsF1(const QKeyEvent* key) {
  const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
  return key->key() == Qt::Key_F1 && modifiers == Qt::NoModifier;
}

// The widget whose context F1 answers when no menu is open.
QWidget* FocusedWidget() {
  QWidget* focus = QApplication::focusWidget();
  if (QWidget* modal = QApplication::activeModalWidget()) {
    if (focus != nullptr && (focus == modal || modal->isAncestorOf(focus))) return focus;
    // A window the dialog owns (the help window while the dialog is open) keeps its focus.
    const QWindow* dialogWindow = modal->windowHandle();
    const QWindow* focusWindow = focus != nullptr ? focus->window()->windowHandle() : nullptr;
    if (dialogWindow != nullptr && focusWindow != nullptr &&
        dialogWindow->isAncestorOf(focusWindow, QWindow::IncludeTransients)) {
      return focus;
    }
    return modal->focusWidget() != nullptr ? modal->focusWidget() : modal;
  }
  if (focus != nullptr) return focus;
  QWidget* active = QApplication::activeWindow();
  if (active != nullptr && active->focusWidget() != nullptr) return active->focusWidget();
  return active;
}

}  // namespace

int HelpContextOf(const QWidget* widget) {
  if (auto context = HighlightedEntryContext(widget)) return *context;
  for (const QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
    if (auto context = ContextProperty(w)) return *context;
  }
  return kMainWindowContext;
}

int CurrentHelpContext() {
  if (QWidget* popup = QApplication::activePopupWidget()) {
    if (auto* menu = qobject_cast<QMenu*>(popup)) {
      if (auto context = ContextProperty(menu->activeAction())) return *context;
      if (auto context = ContextProperty(menu->menuAction())) return *context;
    }
    // A menu or list popped up by a control belongs to that control's window.
    if (popup->parentWidget() != nullptr) return HelpContextOf(popup->parentWidget());
  }
  return HelpContextOf(FocusedWidget());
}

HelpKeyFilter::HelpKeyFilter(Handler handler, QObject* parent)
    : QObject(parent), m_handler(std::move(handler)) {}

bool HelpKeyFilter::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ShortcutOverride) {
    // Accepting the override keeps F1 from firing a shortcut; the key press follows.
    if (IsF1(static_cast<QKeyEvent*>(event))) {
      event->accept();
      return true;
    }
  } else if (event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (IsF1(key)) {
      if (!key->isAutoRepeat()) {
        const int context = CurrentHelpContext();
        // Nested menus close one by one; the bound only guards against a popup that
        // stays the active one after closing.
        for (int i = 0; i < 16; ++i) {
          QWidget* popup = QApplication::activePopupWidget();
          if (popup == nullptr || !popup->close()) break;
        }
        if (m_handler) m_handler(context);
      }
      return true;
    }
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace help
