#include "common/fieldtext.h"

#include <QLineEdit>

void FieldText::fill(QLineEdit *field, const QString &text)
{
    field->setText(text);
    field->setCursorPosition(0);
}
