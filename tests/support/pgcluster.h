#pragma once

#include "store/sharedstore.h"

#include <QString>
#include <QTemporaryDir>

#include <memory>
#include <optional>

// A private PostgreSQL cluster for the tests of the shared store: initdb and pg_ctl of the
// installed server, a data folder in a temporary folder, a Unix socket in that folder only
// (and 127.0.0.1 on a free port when asked). When the tests run as root the server runs as
// the unprivileged user "postgres", as PostgreSQL refuses root. The cluster is stopped
// (immediately) when the object goes, and by a watchdog process should the test process
// die without running its destructors.
class PgCluster
{
public:
    // The folder of initdb and pg_ctl of the newest installed server; nothing when the
    // server is not installed.
    static std::optional<QString> binaries();

    PgCluster();
    ~PgCluster();
    PgCluster(const PgCluster &) = delete;
    PgCluster &operator=(const PgCluster &) = delete;

    // Creates and starts the cluster; false with the reason in error() when it cannot.
    bool start(bool tcp = false);
    // Stops the server at once, as a crash or a pulled cable would.
    bool stop();
    // Starts the stopped server again on the same data.
    bool restart();
    bool running() const { return m_running; }
    QString error() const { return m_error; }

    // A new empty database; false when it cannot be made.
    bool createDatabase(const QString &name);
    // The settings that reach a database of the cluster through its socket.
    Store::SharedSettings settings(const QString &database) const;
    // The same over TCP on 127.0.0.1 (only when started with tcp).
    Store::SharedSettings tcpSettings(const QString &database) const;
    // Runs one SQL statement on a database as the cluster's superuser; its first value.
    std::optional<QString> scalar(const QString &database, const QString &sql) const;

private:
    bool run(const QString &program, const QStringList &arguments, int timeoutMs = 60000);
    bool pgCtl(const QStringList &arguments);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_bin;
    QString m_user;
    int m_port = 0;
    qint64 m_watchdog = 0;
    bool m_tcp = false;
    bool m_running = false;
    QString m_error;
};
