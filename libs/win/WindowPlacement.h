// Where top-level windows open: a window opened by another beside it, on its screen; any other
// window in the first place on its screen that no shown window covers. Positions are those of
// the frames, title bars included.
#pragma once

class QSize;
class QWidget;

namespace WindowPlacement {

// Puts frame (a top-level widget about to be shown) beside the top-level window of anchor
// when anchor is shown, else where it covers no shown window.
void placeNew(QWidget* frame, const QWidget* anchor);
// Puts frame beside the top-level window of anchor on anchor's screen: right of it, left,
// below or above, the first place that stays on the screen and covers no other shown window;
// failing that, the first that stays on the screen, or else as near as the screen allows.
void placeBeside(QWidget* frame, const QWidget* anchor);

// What a top-level window's title bar and borders add to its size: its own once it has been
// shown, before that those of a shown window (a new window gets the same), else none. None
// for a child.
QSize decorations(const QWidget* frame);

} // namespace WindowPlacement
