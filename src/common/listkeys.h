#pragma once

#include <functional>

class QAbstractItemView;

// Makes a list box work from the keyboard as with the mouse: receiving the focus selects
// its current line (or the first), the arrow keys move the chosen line, Enter on it does
// what a double-click does, and the focus frame is drawn only on a selected line.
namespace ListKeys {
void install(QAbstractItemView *view, std::function<void()> open);
}
