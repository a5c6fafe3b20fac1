// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// A label or picture that acts when clicked, like a link: the Options page's "(Click Here)"
// labels and their pictures.
#pragma once

#include <QLabel>

namespace dialogs {

// Emits clicked() on a left click, and on Space or Enter while it has the focus, so that
// it can be reached from the keyboard as well; a focused label shows the focus mark. Shows
// a pointing hand under the mouse. Assistive technology sees a button with a press action.
class ClickableLabel final : public QLabel {
  Q_OBJECT

 public:
  explicit ClickableLabel(QWidget* parent = nullptr);

 signals:
  void clicked();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace dialogs
