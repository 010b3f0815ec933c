#pragma once

class QLabel;
class QLineEdit;
class QPushButton;
class QString;
class QWidget;

// The look shared by the login and change-password screens: a fixed-size window without
// system buttons, centred on the screen, with masked password fields.
namespace LoginLook {

void setUpWindow(QWidget *window, const QString &caption, int width, int height);
void centre(QWidget *window);
QLabel *label(QWidget *parent, const QString &name, const QString &text);
QLineEdit *passwordField(QWidget *parent, const QString &name, const QString &accessibleName);
QPushButton *button(QWidget *parent, const QString &name, const QString &text);
QLabel *memory(QWidget *parent);

} // namespace LoginLook
