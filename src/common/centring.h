#pragma once

class QWidget;

// Centres a dialog as the user sees it: its whole window, title bar and border that the
// window manager adds included, on the screen or on the window that opened it. The frame's
// size is known only once the window manager has framed the window, so the window is
// centred by its own size when it shows and moved once more when its frame is known.
namespace Centring {

enum class On { Screen, Opener };

// From now on, every showing of `window` centres it.
void keep(QWidget *window, On on);
// Centres `window` now and again once its frame is known.
void centre(QWidget *window, On on);

} // namespace Centring
