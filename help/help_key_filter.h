// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// F1 anywhere in the program: finds the help context of what the user is looking at (a
// highlighted menu entry, the focused control of an open dialog or of the active window)
// and hands it to the help.
#pragma once

#include <QObject>
#include <functional>

QT_BEGIN_NAMESPACE
class QAction;
class QWidget;
QT_END_NAMESPACE

namespace help {

// The name of the int dynamic property that gives a widget or a QAction its help context:
// widget->setProperty("helpContext", 6).
inline constexpr char kHelpContextProperty[] = "helpContext";

// The help context of `widget`: its own "helpContext" property, else that of the nearest
// parent that has one (a dialog's parent is the window that opened it), else
// kMainWindowContext. A property that is not an int is passed over. A null widget gives
// kMainWindowContext.
[[nodiscard]] int HelpContextOf(const QWidget* widget);

// The help context F1 answers now:
// - while a menu is open, the highlighted entry's "helpContext", else that of the entry
//   that opened the menu, else the context of the widget the menu belongs to;
// - else the focused widget of the open modal dialog (the dialog itself when nothing in it
//   has the focus; a window the dialog owns, such as the help window, keeps its own focus),
//   or the focused widget of the active window, by HelpContextOf;
// - kMainWindowContext when there is nothing to ask.
// GUI thread only.
[[nodiscard]] int CurrentHelpContext();

// An application-wide event filter for F1. Install it once on the application:
//   qApp->installEventFilter(new help::HelpKeyFilter(
//       [help](int context) { help->showTopic(context); }, mainWindow));
// It works in every window and inside modal dialogs and menus, since an application's
// event filter sees the key before any widget. On F1 (without Shift, Ctrl, Alt or Meta) it
// closes an open menu (a menu holds the keyboard and mouse, which the help window needs),
// then calls `handler` once with CurrentHelpContext(). It also claims F1 ahead of any
// keyboard shortcut bound to it, so a help action with the F1 shortcut does not open the
// help a second time. A held-down F1 opens the help once. Other keys pass untouched.
class HelpKeyFilter : public QObject {
 public:
  using Handler = std::function<void(int context)>;

  // `handler` is called on the GUI thread, possibly while a modal dialog's event loop runs.
  explicit HelpKeyFilter(Handler handler, QObject* parent = nullptr);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  Handler m_handler;
};

}  // namespace help
