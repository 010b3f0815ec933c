#pragma once

#include <QString>

#include <stdexcept>

class QPrinter;
class QWidget;

// Kinds of the typed message box; the kind sets the icon and the caption.
enum class MessageKind { Warning, Error, Information, Confirmation };

// Everything modal that a user must answer goes through one seam, so that tests can
// record the messages and answer questions and file dialogs from a script. Production
// code installs nothing and gets Qt's own dialogs.
class DialogSeam
{
public:
    virtual ~DialogSeam() = default;

    // Typed message box with OK and Cancel; the answer is not used.
    virtual void typed(QWidget *parent, MessageKind kind, const QString &text) = 0;
    // Plain message box with one OK button.
    virtual void plain(QWidget *parent, const QString &text) = 0;
    // Question with Yes and No; true for Yes. A question whose Yes destroys data has No
    // as its default button, so a hurried Enter keeps the data.
    virtual bool question(QWidget *parent, const QString &text, bool noByDefault) = 0;
    // File dialogs; an empty result means the user cancelled.
    virtual QString openFileName(QWidget *parent, const QString &title, const QString &folder,
                                 const QString &filter) = 0;
    virtual QString saveFileName(QWidget *parent, const QString &title, const QString &proposed,
                                 const QString &filter) = 0;
    // The print dialog for a printer; true when the user confirmed.
    virtual bool print(QWidget *parent, QPrinter &printer) = 0;
    // Hands a document path, a web address or a mail address to the desktop to open.
    virtual void open(const QString &target) = 0;
};

// A failure whose text is written for the user, in Italian; other exceptions never show
// their text.
class UserFailure : public std::runtime_error
{
public:
    explicit UserFailure(const QString &text) : std::runtime_error(text.toStdString()) {}
};

namespace Dialogs {

DialogSeam &seam();
// Installs a replacement (tests); nullptr restores Qt's dialogs. Not owned.
void install(DialogSeam *replacement);

inline void warning(QWidget *parent, const QString &text)
{
    seam().typed(parent, MessageKind::Warning, text);
}
inline void error(QWidget *parent, const QString &text)
{
    seam().typed(parent, MessageKind::Error, text);
}
inline void information(QWidget *parent, const QString &text)
{
    seam().typed(parent, MessageKind::Information, text);
}
inline void plain(QWidget *parent, const QString &text) { seam().plain(parent, text); }
inline bool question(QWidget *parent, const QString &text)
{
    return seam().question(parent, text, false);
}
// A question whose Yes destroys data (deleting or overwriting a file): No is the default.
inline bool destructiveQuestion(QWidget *parent, const QString &text)
{
    return seam().question(parent, text, true);
}

// The text shown for a failure that no handler caught: the failure's own text, with a
// full stop appended when its last character has a code above that of the full stop.
QString failureText(const QString &what);

// The text shown for a caught exception: a UserFailure's own text as above; for any
// other (the standard library's, whose texts are English and technical) an Italian
// message that says what happened.
QString failureText(const std::exception &failure);

} // namespace Dialogs
