#include "recorder.h"

Recorder::Recorder() { Dialogs::install(this); }
Recorder::~Recorder() { Dialogs::install(nullptr); }

QList<Recorder::Message> Recorder::take()
{
    QList<Message> out;
    out.swap(messages);
    return out;
}

bool Recorder::showedOnly(Kind kind, const QString &text)
{
    const QList<Message> shown = take();
    if (shown.size() == 1 && shown.first().kind == kind && shown.first().text == text)
        return true;
    for (const Message &m : shown)
        qWarning("shown: %s \"%s\"", kindName(m.kind), qPrintable(m.text));
    if (shown.isEmpty())
        qWarning("shown: nothing");
    return false;
}

void Recorder::typed(QWidget *, MessageKind kind, const QString &text)
{
    Kind k = Kind::Warning;
    switch (kind) {
    case MessageKind::Warning:
        k = Kind::Warning;
        break;
    case MessageKind::Error:
        k = Kind::Error;
        break;
    case MessageKind::Information:
        k = Kind::Information;
        break;
    case MessageKind::Confirmation:
        k = Kind::Confirmation;
        break;
    }
    messages.append({k, text});
}

void Recorder::plain(QWidget *, const QString &text) { messages.append({Kind::Plain, text}); }

bool Recorder::question(QWidget *, const QString &text, bool noByDefault)
{
    messages.append({Kind::Question, text, noByDefault});
    if (answers.isEmpty()) {
        unexpected.append(QStringLiteral("question: ") + text);
        return false;
    }
    return answers.takeFirst();
}

QString Recorder::openFileName(QWidget *, const QString &title, const QString &folder,
                               const QString &filter)
{
    fileDialogs.append({title, folder, filter});
    if (fileAnswers.isEmpty()) {
        unexpected.append(QStringLiteral("open dialog: ") + title);
        return {};
    }
    return fileAnswers.takeFirst();
}

QString Recorder::saveFileName(QWidget *, const QString &title, const QString &proposed,
                               const QString &filter)
{
    fileDialogs.append({title, proposed, filter});
    if (fileAnswers.isEmpty()) {
        unexpected.append(QStringLiteral("save dialog: ") + title);
        return {};
    }
    return fileAnswers.takeFirst();
}

bool Recorder::print(QWidget *, QPrinter &)
{
    if (printAnswers.isEmpty()) {
        unexpected.append(QStringLiteral("print dialog"));
        return false;
    }
    return printAnswers.takeFirst();
}

void Recorder::open(const QString &target) { opened.append(target); }

const char *kindName(Recorder::Kind kind)
{
    switch (kind) {
    case Recorder::Kind::Warning:
        return "warning";
    case Recorder::Kind::Error:
        return "error";
    case Recorder::Kind::Information:
        return "information";
    case Recorder::Kind::Confirmation:
        return "confirmation";
    case Recorder::Kind::Plain:
        return "plain";
    case Recorder::Kind::Question:
        return "question";
    }
    return "?";
}
