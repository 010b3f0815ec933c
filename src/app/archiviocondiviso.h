#pragma once

#include "store/sharedstore.h"

#include <QDialog>

#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;
class HoverHints;

// The choice of the shared archive: the server, port, database, user and password of a
// PostgreSQL database that several workstations use at once; the test of the connection,
// the switch to it and back to the program folder, and the transfer of the folder's data
// into an empty shared archive.
class TfrmArchivioCondiviso final : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmArchivioCondiviso(QWidget *parent);

    static QString missingServer();
    static QString missingPort();
    static QString missingDatabase();
    static QString missingUser();
    static QString connected(const Store::SharedSettings &settings);
    static QString nowShared(const Store::SharedSettings &settings);
    static QString nowFolder();
    static QString saveFailure();
    static QString removeFailure();
    static QString transferQuestion(const Store::SharedSettings &settings);
    static QString transferred();
    // Told once at start-up when the choice file cannot be used.
    static QString damagedFile();

    QLabel *lblTitolo;
    QLabel *lblInUso; // the store in use
    QLabel *lblServer, *lblPorta, *lblDatabase, *lblUtente, *lblPassword;
    QLineEdit *txtServer;
    QLineEdit *txtPorta;
    QLineEdit *txtDatabase;
    QLineEdit *txtUtente;
    QLineEdit *txtPassword;
    QPushButton *btnProva;
    QPushButton *btnUsaCondiviso;
    QPushButton *btnTrasferisci;
    QPushButton *btnUsaCartella;
    QPushButton *btnChiudi;
    QLabel *panInfo;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void btnProvaClick();
    void btnUsaCondivisoClick();
    void btnTrasferisciClick();
    void btnUsaCartellaClick();
    // Shows the store in use and enables the way back when there is one.
    void refresh();

    // The settings in the fields; nothing after telling the user which one is missing.
    std::optional<Store::SharedSettings> settingsFromFields();
    // Tests the connection; false after showing why it failed.
    bool testConnection(const Store::SharedSettings &settings);

    HoverHints *m_hints;
};
