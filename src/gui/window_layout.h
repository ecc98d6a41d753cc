// Where the main window stands and how it is divided: its first place bounded by the room
// its screen offers, and the place, divisions and column widths the user chose, kept per
// user from one start to the next.
#pragma once

#include <QRect>
#include <QSettings>

namespace quenda {

// The room a window frame takes around the window's own area (title bar and borders).
inline constexpr int kFrameSide = 8;
inline constexpr int kFrameTop = 40;

// The user's settings of the window (QSettings, organisation and application "Quenda").
class WindowSettings : public QSettings {
 public:
  WindowSettings() : QSettings("Quenda", "Quenda") {}
};

// `wanted` (the window's own area) shrunk to the room `available` leaves beside the frame,
// then moved so that the window and its frame lie inside `available`.
QRect FitIntoScreen(const QRect& wanted, const QRect& available);

// The first place of a window of `preferred` size: centred on `available`, fitted.
QRect FirstGeometry(const QSize& preferred, const QRect& available);

}  // namespace quenda
