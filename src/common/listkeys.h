#pragma once

#include <functional>

class QAbstractItemView;

// Makes a list box work from the keyboard as with the mouse: the arrow keys move the
// current line, Enter on the selected line does what a double-click does, and the focus
// frame is drawn only on a selected line, so a line never looks current without being so.
namespace ListKeys {
void install(QAbstractItemView *view, std::function<void()> open);
}
