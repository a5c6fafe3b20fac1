// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/clickable_label.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>

namespace dialogs {
namespace {

// Assistive technology sees the label as a button it can press, not as static text.
class AccessibleClickableLabel final : public QAccessibleWidget {
 public:
  explicit AccessibleClickableLabel(ClickableLabel* label)
      : QAccessibleWidget(label, QAccessible::Button) {}

  QStringList actionNames() const override {
    return QStringList{pressAction()} + QAccessibleWidget::actionNames();
  }
  void doAction(const QString& actionName) override {
    if (actionName == pressAction()) {
      emit static_cast<ClickableLabel*>(widget())->clicked();
      return;
    }
    QAccessibleWidget::doAction(actionName);
  }
};

QAccessibleInterface* AccessibleFactory(const QString& className, QObject* object) {
  if (className == QLatin1String(ClickableLabel::staticMetaObject.className())) {
    if (auto* label = qobject_cast<ClickableLabel*>(object)) {
      return new AccessibleClickableLabel(label);
    }
  }
  return nullptr;
}

}  // namespace

ClickableLabel::ClickableLabel(QWidget* parent) : QLabel(parent) {
  static const bool kFactoryInstalled = [] {
    QAccessible::installFactory(AccessibleFactory);
    return true;
  }();
  (void)kFactoryInstalled;
  setCursor(Qt::PointingHandCursor);
  setFocusPolicy(Qt::StrongFocus);
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
    emit clicked();
    return;
  }
  QLabel::mouseReleaseEvent(event);
}

void ClickableLabel::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
      emit clicked();
      return;
    default:
      QLabel::keyPressEvent(event);
  }
}

void ClickableLabel::paintEvent(QPaintEvent* event) {
  QLabel::paintEvent(event);
  if (!hasFocus()) return;
  // A label draws no focus mark of its own; without one a keyboard user is lost.
  QPainter painter(this);
  QStyleOptionFocusRect option;
  option.initFrom(this);
  style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
}

}  // namespace dialogs
