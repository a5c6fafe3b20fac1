// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Helpers for the dialog tests: a QApplication on demand, answering modal dialogs and
// message boxes from a timer, clicking list rows, reading accessible names.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
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

namespace dialogs::testing {

// How long a test waits for a dialog it expects before it gives up.
inline constexpr int kModalTimeoutMs = 5000;

// Watches for the next visible modal widget that `matches` accepts and runs `answer` on it
// once. When none comes within kModalTimeoutMs the test fails and whatever modal dialog is
// open is closed, so that a test never hangs. The returned flag turns true once answered.
inline std::shared_ptr<bool> WhenModal(std::function<bool(QWidget*)> matches,
                                       std::function<void(QWidget*)> answer) {
  auto answered = std::make_shared<bool>(false);
  auto* timer = new QTimer(qApp);
  auto clock = std::make_shared<QElapsedTimer>();
  clock->start();
  QObject::connect(timer, &QTimer::timeout, timer, [=] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal != nullptr && modal->isVisible() && matches(modal)) {
      timer->stop();
      timer->deleteLater();
      *answered = true;
      answer(modal);
      return;
    }
    if (clock->elapsed() > kModalTimeoutMs) {
      timer->stop();
      timer->deleteLater();
      ADD_FAILURE() << "the expected modal dialog did not come";
      if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->done(QDialog::Rejected);
    }
  });
  timer->start(5);
  return answered;
}

// The next modal dialog named `objectName` (a form name such as "frmDriveSel").
inline std::shared_ptr<bool> WhenDialog(const QString& objectName,
                                        std::function<void(QWidget*)> answer) {
  return WhenModal([objectName](QWidget* w) { return w->objectName() == objectName; },
                   std::move(answer));
}

// What a message box showed.
struct MessageSeen {
  QString title;
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons;
};

// Records what the message box `widget` showed in `*seen` (when given) and presses
// `button`; a box without that button fails the test and is closed.
inline void PressButton(QWidget* widget, QMessageBox::StandardButton button, MessageSeen* seen) {
  auto* box = qobject_cast<QMessageBox*>(widget);
  if (seen != nullptr)
    *seen = {box->windowTitle(), box->text(), box->icon(), box->standardButtons()};
  if (QAbstractButton* b = box->button(button); b != nullptr) {
    b->click();
  } else {
    ADD_FAILURE() << "the message box has no such button: " << box->text().toStdString();
    box->done(QMessageBox::Cancel);
  }
}

// Answers the next message box whose text starts with `textStart` with `button`, recording what it
// showed in `*seen`.
inline std::shared_ptr<bool> AnswerMessageBox(QMessageBox::StandardButton button,
                                              MessageSeen* seen = nullptr,
                                              const QString& textStart = {}) {
  return WhenModal(
      [textStart](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        return box != nullptr && box->text().startsWith(textStart);
      },
      [button, seen](QWidget* w) { PressButton(w, button, seen); });
}

// While it lives, any message box that comes up is a test failure; it is closed at once
// so that the test goes on. For steps that must ask nothing.
class NoMessageBoxes {
 public:
  NoMessageBoxes() {
    QObject::connect(&m_timer, &QTimer::timeout, [] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        ADD_FAILURE() << "unexpected message: " << box->text().toStdString();
        box->done(QMessageBox::Cancel);
      }
    });
    m_timer.start(5);
  }

 private:
  QTimer m_timer;
};

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

// The name and the marked state that assistive technology reads for `object`.
inline QString AccessibleName(QObject* object) {
  QAccessibleInterface* face = QAccessible::queryAccessibleInterface(object);
  return face != nullptr ? face->text(QAccessible::Name) : QStringLiteral("<no interface>");
}

}  // namespace dialogs::testing
