#include "gui/window_layout.h"

#include <algorithm>

namespace quenda {

QRect FitIntoScreen(const QRect& wanted, const QRect& available) {
  const QRect room = available.adjusted(kFrameSide, kFrameTop, -kFrameSide, -kFrameSide);
  const QSize size = wanted.size().boundedTo(room.size()).expandedTo(QSize(1, 1));
  const int x =
      std::clamp(wanted.x(), room.left(), std::max(room.left(), room.right() + 1 - size.width()));
  const int y =
      std::clamp(wanted.y(), room.top(), std::max(room.top(), room.bottom() + 1 - size.height()));
  return {QPoint(x, y), size};
}

QRect FirstGeometry(const QSize& preferred, const QRect& available) {
  QRect first(QPoint(), FitIntoScreen(QRect(available.topLeft(), preferred), available).size());
  first.moveCenter(available.center());
  return FitIntoScreen(first, available);
}

}  // namespace quenda
