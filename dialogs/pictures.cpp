// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/pictures.h"

#include <QCoreApplication>
#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace dialogs {
namespace {

QPixmap Transparent(int width, int height) {
  QPixmap pixmap(width, height);
  pixmap.fill(Qt::transparent);
  return pixmap;
}

// A check mark filling `box`, drawn with round ends so it reads at small sizes.
void PaintCheckMark(QPainter& painter, const QRectF& box, const QColor& color, qreal width) {
  painter.setPen(QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  const QPointF points[] = {
      {box.left() + box.width() * 0.10, box.top() + box.height() * 0.55},
      {box.left() + box.width() * 0.40, box.top() + box.height() * 0.88},
      {box.left() + box.width() * 0.92, box.top() + box.height() * 0.12},
  };
  painter.drawPolyline(points, 3);
}

void PaintCross(QPainter& painter, const QRectF& box, const QColor& color, qreal width) {
  painter.setPen(QPen(color, width, Qt::SolidLine, Qt::RoundCap));
  painter.drawLine(box.topLeft(), box.bottomRight());
  painter.drawLine(box.topRight(), box.bottomLeft());
}

// The picture of a button: a sign in the upper part, a word under it.
QPixmap ButtonPicture(const QString& word, void (*paintSign)(QPainter&, const QRectF&)) {
  QPixmap pixmap = Transparent(60, 46);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  paintSign(painter, QRectF(18, 3, 24, 24));
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(13);
  font.setBold(true);
  // A longer word (a translation's) is drawn smaller rather than cut at the edges.
  constexpr int kTextWidth = 58;
  while (font.pixelSize() > 8 && QFontMetricsF(font).horizontalAdvance(word) > kTextWidth) {
    font.setPixelSize(font.pixelSize() - 1);
  }
  painter.setFont(font);
  painter.setPen(Qt::black);
  painter.drawText(QRectF(0, 29, 60, 17), Qt::AlignCenter, word);
  return pixmap;
}

// A loudspeaker facing right in the left part of a 24 x 22 picture: magnet box and cone.
void PaintLoudspeaker(QPainter& painter) {
  painter.setPen(QPen(Qt::black, 1));
  painter.setBrush(QColor(96, 96, 96));
  painter.drawRect(QRectF(2.5, 7.5, 4, 7));
  const QPointF cone[] = {{6.5, 7.5}, {12.5, 2.5}, {12.5, 19.5}, {6.5, 14.5}};
  painter.drawPolygon(cone, 4);
}

QPixmap SoundPicture(bool on) {
  QPixmap pixmap = Transparent(24, 22);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  PaintLoudspeaker(painter);
  if (on) {
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::black, 1.5, Qt::SolidLine, Qt::RoundCap));
    // Two waves, quarter circles centred on the cone's mouth.
    painter.drawArc(QRectF(9, 6, 8, 10), -60 * 16, 120 * 16);
    painter.drawArc(QRectF(7, 2, 15, 18), -60 * 16, 120 * 16);
  } else {
    PaintCross(painter, QRectF(3, 3, 18, 16), QColor(220, 0, 0), 2.5);
  }
  return pixmap;
}

}  // namespace

QPixmap OkButtonPicture() {
  return ButtonPicture(QCoreApplication::translate("dialogs::Pictures", "Ok"),
                       [](QPainter& painter, const QRectF& box) {
                         PaintCheckMark(painter, box, QColor(0, 160, 0), 4.5);
                       });
}

QPixmap CancelButtonPicture() {
  return ButtonPicture(QCoreApplication::translate("dialogs::Pictures", "Cancel"),
                       [](QPainter& painter, const QRectF& box) {
                         PaintCross(painter, box.adjusted(2, 2, -2, -2), QColor(220, 0, 0), 4.5);
                       });
}

QPixmap DiscardPicture() {
  QPixmap pixmap = Transparent(12, 12);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  PaintCross(painter, QRectF(2, 2, 8, 8), Qt::black, 2);
  return pixmap;
}

QPixmap PictureOf(Picture picture) {
  switch (picture) {
    case Picture::kSoundOff:
      return SoundPicture(false);
    case Picture::kSoundOn:
      return SoundPicture(true);
    case Picture::kInfoOff: {
      QPixmap pixmap(64, 58);
      pixmap.fill(QColor(192, 192, 192));
      return pixmap;
    }
    case Picture::kInfoOn: {
      QPixmap pixmap = Transparent(25, 27);
      QPainter painter(&pixmap);
      painter.setRenderHint(QPainter::Antialiasing);
      PaintCheckMark(painter, QRectF(1, 2, 23, 23), Qt::black, 3.5);
      return pixmap;
    }
  }
  return {};
}

}  // namespace dialogs
