#pragma once

class QAbstractButton;
class QWidget;

// A wait notice that shows while a button is held down hides again when the button is let
// go, wherever the pointer is then: a press released outside the button starts nothing.
// The button's click handler shows the notice again for as long as its work runs.
namespace WaitNotice {
void hideOnRelease(QAbstractButton *button, QWidget *notice);
}
