#pragma once

class QLineEdit;
class QString;

namespace FieldText {
// Fills a field with a text the program gives it, shown from its first character with the
// cursor at the start: a text longer than the field shows its beginning, not its end.
void fill(QLineEdit *field, const QString &text);
} // namespace FieldText
