// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Helpers for the tests of every window and dialog: a QApplication on demand, the one
// driver of modal dialogs and message boxes, clicking list rows, reading accessible names.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <ostream>

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QListWidget>
#include <QMessageBox>
#include <QPointer>
#include <QString>
#include <QTest>
#include <QTimer>

#include "platform/testing/qt_application.h"

namespace platform::testing {

// How long a test waits for a dialog it expects before it gives up.
inline constexpr int kModalTimeoutMs = 5000;

// What a message box showed.
struct MessageSeen {
  QString title;
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons;
};

// The one way tests answer modal dialogs. While it lives, it answers the modal dialogs
// that the code under test shows, in order. Each step names the dialog it expects, by
// class (`QMessageBox`, `QFileDialog`) or by object name (`frmDriveSel`), and what to do
// with it. A dialog that does not come within kModalTimeoutMs, or one that is not
// expected (any modal dialog at all, for a script without steps), fails the test; an
// unexpected dialog is closed so that the test never hangs. The action runs from the event
// loop, after the dialog has shown, so it may open further dialogs.
//
// Only one script may live at a time: two would each take the other's dialogs as
// unexpected.
class DialogScript {
 public:
  using Action = std::function<void(QWidget*)>;

  DialogScript() {
    QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
    m_timer.start(5);
    m_clock.start();
  }
  ~DialogScript() {
    m_timer.stop();
    for (const Step& step : m_steps) ADD_FAILURE() << "no " << step.kind.toStdString() << " came";
  }
  DialogScript(const DialogScript&) = delete;
  DialogScript& operator=(const DialogScript&) = delete;

  DialogScript& then(const char* kind, Action action) {
    m_steps.push_back({QString::fromLatin1(kind), std::move(action)});
    return *this;
  }
  // True when every step has been answered.
  [[nodiscard]] bool done() const { return m_steps.empty(); }
  // `dialog` is the test's own, shown and driven by the test itself: though modal, it is
  // not one to answer. Call before it shows.
  void allow(QWidget* dialog) { m_handled.append(dialog); }

 private:
  struct Step {
    QString kind;
    Action action;
  };

  static bool matches(QWidget* modal, const QString& kind) {
    return modal->objectName() == kind || modal->inherits(kind.toLatin1().constData());
  }

  void poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || m_handled.contains(modal) || !modal->isVisible()) {
      if (!m_steps.empty() && m_clock.elapsed() > kModalTimeoutMs) {
        ADD_FAILURE() << "no " << m_steps.front().kind.toStdString() << " came";
        m_steps.pop_front();
        m_clock.restart();
      }
      return;
    }
    m_handled.append(modal);
    m_clock.restart();
    if (m_steps.empty() || !matches(modal, m_steps.front().kind)) {
      const auto* box = qobject_cast<QMessageBox*>(modal);
      ADD_FAILURE() << "unexpected " << modal->metaObject()->className() << " "
                    << modal->objectName().toStdString() << ": "
                    << (box != nullptr ? box->text().toStdString() : std::string());
      QTimer::singleShot(0, modal, [modal] {
        if (auto* dialog = qobject_cast<QDialog*>(modal)) {
          dialog->done(QDialog::Rejected);
        } else {
          modal->close();
        }
      });
      return;
    }
    Action action = std::move(m_steps.front().action);
    m_steps.pop_front();
    QTimer::singleShot(0, modal, [modal, action] { action(modal); });
  }

  QTimer m_timer;
  QElapsedTimer m_clock;
  std::deque<Step> m_steps;
  // Dialogs already answered: a file dialog shows again for a moment after its overwrite
  // question is answered, and a dialog is the active modal one again once a message box
  // it opened has closed.
  QList<QPointer<QWidget>> m_handled;
};

// Records what the message box `widget` showed in `*seen` (when given) and presses
// `button`; a box without that button fails the test and is closed.
inline void PressButton(QWidget* widget, QMessageBox::StandardButton button, MessageSeen* seen) {
  auto* box = qobject_cast<QMessageBox*>(widget);
  if (box == nullptr) {
    ADD_FAILURE() << "not a message box: " << widget->metaObject()->className();
    return;
  }
  if (seen != nullptr)
    *seen = {box->windowTitle(), box->text(), box->icon(), box->standardButtons()};
  if (QAbstractButton* b = box->button(button); b != nullptr) {
    b->click();
  } else {
    ADD_FAILURE() << "the message box has no such button: " << box->text().toStdString();
    box->done(QMessageBox::Cancel);
  }
}

// A message box action: records what the box showed in `*seen` (when given) and presses
// `button`.
inline DialogScript::Action Press(QMessageBox::StandardButton button, MessageSeen* seen = nullptr) {
  return [button, seen](QWidget* widget) { PressButton(widget, button, seen); };
}

// A message box action for boxes with buttons of their own: records the box's text in
// `*asked` (when given) and clicks the button whose caption is `caption`.
inline DialogScript::Action PressCaption(const QString& caption, QString* asked = nullptr) {
  return [caption, asked](QWidget* widget) {
    auto* box = qobject_cast<QMessageBox*>(widget);
    if (box == nullptr) {
      ADD_FAILURE() << "not a message box: " << widget->metaObject()->className();
      return;
    }
    if (asked != nullptr) *asked = box->text();
    for (QAbstractButton* b : box->buttons()) {
      if (b->text() == caption) {
        b->click();
        return;
      }
    }
    ADD_FAILURE() << "no button " << caption.toStdString();
    box->done(QMessageBox::Cancel);
  };
}

// Clicks row `row` of `list` with the mouse, as a user does.
inline void ClickRow(QListWidget* list, int row) {
  const QRect rect = list->visualItemRect(list->item(row));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
}

inline void DoubleClickRow(QAbstractItemView* view, const QModelIndex& index) {
  const QPoint at = view->visualRect(index).center();
  // A double click arrives after a first click, as from a mouse.
  QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, at);
  QTest::mouseDClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

// The name that assistive technology reads for `object`.
inline QString AccessibleName(QObject* object) {
  QAccessibleInterface* face = QAccessible::queryAccessibleInterface(object);
  return face != nullptr ? face->text(QAccessible::Name) : QStringLiteral("<no interface>");
}

}  // namespace platform::testing
