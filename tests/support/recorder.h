#pragma once

#include "common/dialogs.h"

#include <QList>
#include <QStringList>

// Stands in for every modal dialog during a test: keeps each message with its kind,
// answers questions, file dialogs and print dialogs from a script, and notes every
// dialog it had no answer for. Installs itself on construction, removes itself on
// destruction.
class Recorder final : public DialogSeam
{
public:
    enum class Kind { Warning, Error, Information, Confirmation, Plain, Question };
    struct Message {
        Kind kind;
        QString text;
        bool noByDefault = false; // questions: No is the default button
    };
    struct FileDialog {
        QString title;
        QString proposed;
        QString filter;
    };

    Recorder();
    ~Recorder() override;

    QList<Message> messages;
    QList<bool> answers;      // questions, answered in order
    QStringList fileAnswers;  // file dialogs, answered in order ("" cancels)
    QList<bool> printAnswers; // print dialogs, answered in order
    QList<FileDialog> fileDialogs;
    QStringList opened;     // targets handed to the desktop
    QStringList unexpected; // dialogs that found no scripted answer

    // The only message so far, or an invalid one; clears the list.
    QList<Message> take();
    // True when exactly one message of that kind and text was shown since the last take.
    bool showedOnly(Kind kind, const QString &text);

    void typed(QWidget *parent, MessageKind kind, const QString &text) override;
    void plain(QWidget *parent, const QString &text) override;
    bool question(QWidget *parent, const QString &text, bool noByDefault) override;
    QString openFileName(QWidget *parent, const QString &title, const QString &folder,
                         const QString &filter) override;
    QString saveFileName(QWidget *parent, const QString &title, const QString &proposed,
                         const QString &filter) override;
    bool print(QWidget *parent, QPrinter &printer) override;
    void open(const QString &target) override;
};

const char *kindName(Recorder::Kind kind);
