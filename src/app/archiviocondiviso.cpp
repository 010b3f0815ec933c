#include "app/archiviocondiviso.h"

#include "app/sharedsettingsfile.h"
#include "common/dialogs.h"
#include "common/programfolder.h"
#include "common/progresswindow.h"
#include "common/statusline.h"
#include "store/folderstore.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QStyle>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

constexpr QSize kWindow(600, 520);

// The progress window shows once a connection or the transfer has taken about half a
// second.
constexpr int kWindowDelayMs = 500;

QPushButton *commandButton(QWidget *parent, const QString &name, const QString &text)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(name);
    QFont font(u"Verdana"_s, 10);
    font.setBold(true);
    button->setFont(font);
    button->setAutoDefault(true);
    return button;
}

QString where(const Store::SharedSettings &settings)
{
    return settings.server + u'/' + settings.database;
}

} // namespace

QString TfrmArchivioCondiviso::missingServer()
{
    return u"Attenzione: per usare l'archivio condiviso è necessario indicare il server."_s;
}

QString TfrmArchivioCondiviso::missingPort()
{
    return u"Attenzione: per usare l'archivio condiviso è necessario indicare la porta del "
           u"server, un numero da 1 a 65535 (di solito 5432)."_s;
}

QString TfrmArchivioCondiviso::missingDatabase()
{
    return u"Attenzione: per usare l'archivio condiviso è necessario indicare il nome del "
           u"database."_s;
}

QString TfrmArchivioCondiviso::missingUser()
{
    return u"Attenzione: per usare l'archivio condiviso è necessario indicare l'utente."_s;
}

QString TfrmArchivioCondiviso::connected(const Store::SharedSettings &settings)
{
    return u"Il collegamento all'archivio condiviso "_s + where(settings) + u" è riuscito."_s;
}

QString TfrmArchivioCondiviso::nowShared(const Store::SharedSettings &settings)
{
    return u"Il programma ora usa l'archivio condiviso "_s + where(settings) +
           u".\r\n\r\nPer portarvi i dati di questa cartella, scegliere una sola volta "
           u"«Trasferisci i dati di questa cartella nell'archivio condiviso»."_s;
}

QString TfrmArchivioCondiviso::nowFolder()
{
    return u"Il programma ora usa l'archivio nella cartella del programma."_s;
}

QString TfrmArchivioCondiviso::saveFailure()
{
    return u"Attenzione: non è stato possibile salvare la scelta dell'archivio condiviso nel "
           u"file "_s +
           SharedSettingsFile::fileName() +
           u"; il programma continua a usare l'archivio di prima."_s;
}

QString TfrmArchivioCondiviso::removeFailure()
{
    return u"Attenzione: non è stato possibile eliminare il file "_s +
           SharedSettingsFile::fileName() +
           u", per cui il programma continua a usare l'archivio di prima."_s;
}

QString TfrmArchivioCondiviso::transferQuestion(const Store::SharedSettings &settings)
{
    return u"Trasferire i dati di questa cartella (schede, foto, listini e allegati) "
           u"nell'archivio condiviso "_s +
           where(settings) +
           u"?\r\n\r\nL'archivio condiviso deve essere vuoto; i file della cartella restano "
           u"come sono."_s;
}

QString TfrmArchivioCondiviso::transferred()
{
    return u"I dati di questa cartella sono stati trasferiti nell'archivio condiviso."_s;
}

QString TfrmArchivioCondiviso::damagedFile()
{
    return u"Attenzione: il file "_s + SharedSettingsFile::fileName() +
           u" è danneggiato, per cui il programma usa l'archivio nella cartella del programma. "
           u"Per usare l'archivio condiviso, sceglierlo di nuovo con il comando «Archivio "
           u"condiviso»."_s;
}

TfrmArchivioCondiviso::TfrmArchivioCondiviso(QWidget *parent) : QDialog(parent)
{
    setObjectName(u"TfrmArchivioCondiviso"_s);
    setWindowTitle(u" Scaffaria - Archivio condiviso"_s);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(kWindow);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0xE2, 0xEB, 0xF6));
    setPalette(pal);

    lblTitolo = new QLabel(u"Archivio condiviso tra più postazioni"_s, this);
    lblTitolo->setObjectName(u"lblTitolo"_s);
    QFont titleFont(u"Arial"_s, 16);
    titleFont.setBold(true);
    lblTitolo->setFont(titleFont);
    QPalette blue = lblTitolo->palette();
    blue.setColor(QPalette::WindowText, QColor(0x1F, 0x4E, 0x8C));
    lblTitolo->setPalette(blue);
    lblTitolo->setGeometry(20, 14, kWindow.width() - 40, 30);

    lblInUso = new QLabel(this);
    lblInUso->setObjectName(u"lblInUso"_s);
    lblInUso->setAccessibleName(u"Archivio in uso"_s);
    lblInUso->setGeometry(20, 50, kWindow.width() - 40, 22);

    // The fields, one labelled row each; the label names the field for a screen reader.
    const int labelX = 20, labelW = 110, fieldX = 140, fieldW = kWindow.width() - fieldX - 20;
    int y = 86;
    const auto row = [&](QLabel *&label, QLineEdit *&field, const QString &name,
                         const QString &caption) {
        label = new QLabel(caption + u':', this);
        label->setObjectName(u"lbl"_s + name);
        label->setGeometry(labelX, y, labelW, 26);
        field = new QLineEdit(this);
        field->setObjectName(u"txt"_s + name);
        field->setAccessibleName(caption);
        field->setGeometry(fieldX, y, fieldW, 26);
        label->setBuddy(field);
        y += 36;
    };
    row(lblServer, txtServer, u"Server"_s, u"Server"_s);
    row(lblPorta, txtPorta, u"Porta"_s, u"Porta"_s);
    row(lblDatabase, txtDatabase, u"Database"_s, u"Database"_s);
    row(lblUtente, txtUtente, u"Utente"_s, u"Utente"_s);
    row(lblPassword, txtPassword, u"Password"_s, u"Password"_s);
    txtPorta->setValidator(
        new QRegularExpressionValidator(QRegularExpression(u"[0-9]{0,5}"_s), txtPorta));
    txtPorta->setMaxLength(5);
    txtPorta->setFixedWidth(100);
    txtPassword->setEchoMode(QLineEdit::Password);

    y += 8;
    const int buttonW = kWindow.width() - 40;
    btnProva = commandButton(this, u"btnProva"_s, u"Prova connessione"_s);
    btnUsaCondiviso = commandButton(this, u"btnUsaCondiviso"_s, u"Usa l'archivio condiviso"_s);
    btnTrasferisci = commandButton(this, u"btnTrasferisci"_s,
                                   u"Trasferisci i dati di questa cartella nell'archivio "
                                   u"condiviso"_s);
    btnUsaCartella = commandButton(this, u"btnUsaCartella"_s,
                                   u"Torna all'archivio nella cartella"_s);
    btnChiudi = commandButton(this, u"btnChiudi"_s, u"Chiudi"_s);
    for (QPushButton *button :
         {btnProva, btnUsaCondiviso, btnTrasferisci, btnUsaCartella, btnChiudi}) {
        button->setAccessibleName(button->text());
        button->setGeometry(20, y, buttonW, 36);
        y += 42;
    }

    panInfo = new StatusLine(this, QString());
    panInfo->setObjectName(u"panInfo"_s);
    panInfo->setGeometry(0, kWindow.height() - 26, kWindow.width(), 26);

    m_hints = new HoverHints(panInfo);
    m_hints->add(txtServer, u"Il nome o l'indirizzo del computer su cui si trova l'archivio "
                            u"condiviso."_s);
    m_hints->add(txtPorta, u"La porta del server dell'archivio condiviso (di solito 5432)."_s);
    m_hints->add(txtDatabase, u"Il nome del database dell'archivio condiviso."_s);
    m_hints->add(txtUtente, u"L'utente con cui il programma accede all'archivio condiviso."_s);
    m_hints->add(txtPassword, u"La password dell'utente dell'archivio condiviso."_s);
    m_hints->add(btnProva, u"Prova il collegamento all'archivio condiviso indicato."_s);
    m_hints->add(btnUsaCondiviso, u"Usa l'archivio condiviso indicato al posto dell'archivio "
                                  u"nella cartella del programma."_s);
    m_hints->add(btnTrasferisci, u"Copia schede, foto, listini e allegati di questa cartella "
                                 u"nell'archivio condiviso vuoto."_s);
    m_hints->add(btnUsaCartella, u"Torna a usare l'archivio nella cartella del programma."_s);
    m_hints->add(btnChiudi, u"Chiude questa finestra."_s);
    for (QWidget *area : {static_cast<QWidget *>(this), static_cast<QWidget *>(lblTitolo),
                          static_cast<QWidget *>(lblInUso), static_cast<QWidget *>(lblServer),
                          static_cast<QWidget *>(lblPorta), static_cast<QWidget *>(lblDatabase),
                          static_cast<QWidget *>(lblUtente), static_cast<QWidget *>(lblPassword),
                          static_cast<QWidget *>(panInfo)})
        m_hints->blank(area);

    connect(btnProva, &QPushButton::clicked, this, &TfrmArchivioCondiviso::btnProvaClick);
    connect(btnUsaCondiviso, &QPushButton::clicked, this,
            &TfrmArchivioCondiviso::btnUsaCondivisoClick);
    connect(btnTrasferisci, &QPushButton::clicked, this,
            &TfrmArchivioCondiviso::btnTrasferisciClick);
    connect(btnUsaCartella, &QPushButton::clicked, this,
            &TfrmArchivioCondiviso::btnUsaCartellaClick);
    connect(btnChiudi, &QPushButton::clicked, this, &QDialog::accept);

    const QList<QWidget *> order = {txtServer,      txtPorta, txtDatabase,     txtUtente,
                                    txtPassword,    btnProva, btnUsaCondiviso, btnTrasferisci,
                                    btnUsaCartella, btnChiudi};
    for (qsizetype i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);

    // The fields start from the choice kept in the file, else from the usual port.
    const SharedSettingsFile::Content kept = SharedSettingsFile::read();
    const Store::SharedSettings start = kept.state == SharedSettingsFile::State::Present
                                            ? kept.settings
                                            : Store::SharedSettings();
    txtServer->setText(start.server);
    txtPorta->setText(QString::number(start.port));
    txtDatabase->setText(start.database);
    txtUtente->setText(start.user);
    txtPassword->setText(start.password);

    refresh();
}

void TfrmArchivioCondiviso::showEvent(QShowEvent *event)
{
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(),
                                        screen->availableGeometry()));
    QDialog::showEvent(event);
    txtServer->setFocus(Qt::OtherFocusReason);
}

void TfrmArchivioCondiviso::refresh()
{
    lblInUso->setText(u"In uso: "_s + Store::current().description());
    lblInUso->setAccessibleDescription(Store::current().description());
    btnUsaCartella->setEnabled(Store::current().shared() || SharedSettingsFile::read().state !=
                                                                SharedSettingsFile::State::Absent);
}

std::optional<Store::SharedSettings> TfrmArchivioCondiviso::settingsFromFields()
{
    const auto missing = [this](QLineEdit *field, const QString &text) {
        Dialogs::warning(this, text);
        field->setFocus(Qt::OtherFocusReason);
        field->selectAll();
        return std::nullopt;
    };
    Store::SharedSettings settings;
    settings.server = txtServer->text().trimmed();
    settings.database = txtDatabase->text().trimmed();
    settings.user = txtUtente->text().trimmed();
    // A password is taken as typed: blanks may belong to it.
    settings.password = txtPassword->text();
    if (settings.server.isEmpty())
        return missing(txtServer, missingServer());
    if (!SharedSettingsFile::validPort(txtPorta->text().trimmed()))
        return missing(txtPorta, missingPort());
    settings.port = txtPorta->text().trimmed().toInt();
    if (settings.database.isEmpty())
        return missing(txtDatabase, missingDatabase());
    if (settings.user.isEmpty())
        return missing(txtUtente, missingUser());
    return settings;
}

bool TfrmArchivioCondiviso::testConnection(const Store::SharedSettings &settings)
{
    // The connection is tried on a worker thread, so a server that does not answer keeps
    // the screens repainting for the few seconds it takes to give up.
    const std::optional<QString> failure = ProgressWindow::run(
        this, u"Collegamento all'archivio condiviso in corso..."_s,
        [&settings](ProgressCount &) { return Store::SharedBackend::test(settings); },
        kWindowDelayMs);
    if (!failure)
        return true;
    Dialogs::warning(this, failure->isEmpty() ? Store::sharedFailureText() : *failure);
    return false;
}

void TfrmArchivioCondiviso::btnProvaClick()
{
    const std::optional<Store::SharedSettings> settings = settingsFromFields();
    if (settings && testConnection(*settings))
        Dialogs::information(this, connected(*settings));
}

void TfrmArchivioCondiviso::btnUsaCondivisoClick()
{
    const std::optional<Store::SharedSettings> settings = settingsFromFields();
    if (!settings || !testConnection(*settings))
        return;
    // The choice is kept before the switch, so the next start finds the same store.
    if (!SharedSettingsFile::write(*settings)) {
        Dialogs::warning(this, saveFailure());
        return;
    }
    Store::setCurrent(std::make_unique<Store::SharedBackend>(*settings));
    refresh();
    Dialogs::information(this, nowShared(*settings));
}

void TfrmArchivioCondiviso::btnUsaCartellaClick()
{
    if (!SharedSettingsFile::remove()) {
        Dialogs::warning(this, removeFailure());
        return;
    }
    Store::setCurrent(std::make_unique<Store::FolderBackend>());
    refresh();
    Dialogs::information(this, nowFolder());
}

void TfrmArchivioCondiviso::btnTrasferisciClick()
{
    const std::optional<Store::SharedSettings> settings = settingsFromFields();
    if (!settings || !Dialogs::question(this, transferQuestion(*settings)))
        return;
    const QString folder = ProgramFolder::path();
    // The worker makes its own connection and drops it before it ends: a database
    // connection belongs to the thread that made it.
    const Store::SharedBackend::Outcome outcome = ProgressWindow::run(
        this, u"Trasferimento dei dati nell'archivio condiviso in corso..."_s,
        [&](ProgressCount &count) {
            Store::SharedBackend shared(*settings);
            return shared.transferIn(folder, [&count](qint64 done, qint64 total) {
                count.setTotal(total);
                count.setDone(done);
            });
        },
        kWindowDelayMs);
    if (!outcome.ok) {
        Dialogs::warning(this,
                         outcome.error.isEmpty() ? Store::sharedFailureText() : outcome.error);
        return;
    }
    Dialogs::information(this, transferred());
}
