#include "common/loginlook.h"

#include "common/artwork.h"
#include "common/centring.h"

#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

namespace LoginLook {

void setUpWindow(QWidget *window, const QString &caption, int width, int height)
{
    window->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    window->setWindowTitle(caption);
    window->setWindowIcon(Artwork::programIcon());
    window->setFixedSize(width, height);
    window->setAutoFillBackground(true);
    QPalette pal = window->palette();
    pal.setColor(QPalette::Window, QColor(0xE2, 0xEB, 0xF6));
    window->setPalette(pal);
}

void centre(QWidget *window) { Centring::centre(window, Centring::On::Screen); }

QLabel *label(QWidget *parent, const QString &name, const QString &text)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(name);
    QFont font(QStringLiteral("Verdana"), 10);
    font.setBold(true);
    l->setFont(font);
    QPalette pal = l->palette();
    pal.setColor(QPalette::WindowText, QColor(0x1F, 0x4E, 0x8C));
    l->setPalette(pal);
    return l;
}

QLineEdit *passwordField(QWidget *parent, const QString &name, const QString &accessibleName)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setEchoMode(QLineEdit::Password);
    QFont font(QStringLiteral("Verdana"), 14);
    font.setBold(true);
    edit->setFont(font);
    edit->setAccessibleName(accessibleName);
    return edit;
}

QPushButton *button(QWidget *parent, const QString &name, const QString &text)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

QLabel *memory(QWidget *parent)
{
    auto *l = new QLabel(parent);
    l->setObjectName(QStringLiteral("lblMemory"));
    l->hide();
    return l;
}

} // namespace LoginLook
