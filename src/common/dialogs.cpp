#include "common/dialogs.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace {

QString programTitle() { return u"Scaffaria"_s; }

QString captionFor(MessageKind kind)
{
    switch (kind) {
    case MessageKind::Warning:
        return u"Attenzione"_s;
    case MessageKind::Error:
        return u"Errore"_s;
    case MessageKind::Information:
        return u"Informazione"_s;
    case MessageKind::Confirmation:
        return u"Conferma"_s;
    }
    return programTitle();
}

QMessageBox::Icon iconFor(MessageKind kind)
{
    switch (kind) {
    case MessageKind::Warning:
        return QMessageBox::Warning;
    case MessageKind::Error:
        return QMessageBox::Critical;
    case MessageKind::Information:
        return QMessageBox::Information;
    case MessageKind::Confirmation:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

// A document path may come enclosed in double quotation marks; a text with a scheme
// (http, https, mailto, file) is an address, anything else a local path.
QUrl urlFor(const QString &target)
{
    QString t = target.trimmed();
    if (t.size() >= 2 && t.startsWith(u'"') && t.endsWith(u'"'))
        t = t.mid(1, t.size() - 2);
    static const QStringList schemes = {u"http:"_s, u"https:"_s, u"mailto:"_s, u"file:"_s};
    for (const QString &scheme : schemes) {
        if (t.startsWith(scheme, Qt::CaseInsensitive))
            return QUrl(t, QUrl::TolerantMode);
    }
    return QUrl::fromLocalFile(t);
}

class QtDialogs final : public DialogSeam
{
public:
    void typed(QWidget *parent, MessageKind kind, const QString &text) override
    {
        QMessageBox box(iconFor(kind), captionFor(kind), text,
                        QMessageBox::Ok | QMessageBox::Cancel, parent);
        box.exec();
    }

    void plain(QWidget *parent, const QString &text) override
    {
        QMessageBox box(QMessageBox::NoIcon, programTitle(), text, QMessageBox::Ok, parent);
        box.exec();
    }

    bool question(QWidget *parent, const QString &text, bool noByDefault) override
    {
        QMessageBox box(QMessageBox::Question, captionFor(MessageKind::Confirmation), text,
                        QMessageBox::Yes | QMessageBox::No, parent);
        box.setDefaultButton(noByDefault ? QMessageBox::No : QMessageBox::Yes);
        return box.exec() == QMessageBox::Yes;
    }

    QString openFileName(QWidget *parent, const QString &title, const QString &folder,
                         const QString &filter) override
    {
        return QFileDialog::getOpenFileName(parent, title, folder, filter);
    }

    QString saveFileName(QWidget *parent, const QString &title, const QString &proposed,
                         const QString &filter) override
    {
        return QFileDialog::getSaveFileName(parent, title, proposed, filter);
    }

    bool print(QWidget *parent, QPrinter &printer) override
    {
        QPrintDialog dialog(&printer, parent);
        return dialog.exec() == QDialog::Accepted;
    }

    void open(const QString &target) override { QDesktopServices::openUrl(urlFor(target)); }
};

DialogSeam *&installed()
{
    static DialogSeam *replacement = nullptr;
    return replacement;
}

} // namespace

namespace Dialogs {

DialogSeam &seam()
{
    static QtDialogs qtDialogs;
    if (installed())
        return *installed();
    return qtDialogs;
}

void install(DialogSeam *replacement) { installed() = replacement; }

} // namespace Dialogs
