#pragma once

#include <QObject>

class QLineEdit;

// Keeps out of a number field every key that cannot be part of its number: only digits
// (and, for amounts, the comma) are typed; Backspace, Delete, Left and Right edit.
// Enter and Tab still move the focus. Every other key, shortcuts included, is discarded.
class KeyFilter final : public QObject
{
    Q_OBJECT
public:
    enum class Keys { Quantity, Amount };
    static void install(QLineEdit *field, Keys keys);

    // Backspace, Delete, Left and Right, which edit, and Enter and Tab, which move the focus.
    static bool isEditingKey(int key);
    // True when a key press with this key code and text may reach a field of that kind.
    static bool accepts(Keys keys, int key, const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    KeyFilter(QObject *parent, Keys keys) : QObject(parent), m_keys(keys) {}
    Keys m_keys;
};
