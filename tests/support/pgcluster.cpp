#include "support/pgcluster.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVersionNumber>

#include <atomic>

#include <netinet/in.h>
#include <pwd.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

constexpr auto kSuperuser = "scaffaria_test";

// A TCP port on 127.0.0.1 that nothing listens on at the moment; the socket file is named
// after the port too, so even a socket-only cluster takes one.
int freePort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0)
        return 0;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t size = sizeof address;
    int port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr *>(&address), &size) == 0)
        port = ntohs(address.sin_port);
    ::close(fd);
    return port;
}

QString quoted(const QString &text)
{
    return u'\'' + QString(text).replace(u'\'', u"'\\''"_s) + u'\'';
}

} // namespace

std::optional<QString> PgCluster::binaries()
{
    const QDir root(u"/usr/lib/postgresql"_s);
    QVersionNumber best;
    QString found;
    for (const QString &version : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString bin = root.filePath(version + u"/bin"_s);
        if (!QFileInfo(bin + u"/initdb"_s).isExecutable() ||
            !QFileInfo(bin + u"/pg_ctl"_s).isExecutable())
            continue;
        const QVersionNumber number = QVersionNumber::fromString(version);
        if (found.isEmpty() || number > best) {
            best = number;
            found = bin;
        }
    }
    if (found.isEmpty())
        return std::nullopt;
    return found;
}

PgCluster::PgCluster() = default;

PgCluster::~PgCluster()
{
    if (m_running)
        stop();
    if (m_watchdog > 0)
        ::kill(static_cast<pid_t>(m_watchdog), SIGKILL);
}

bool PgCluster::run(const QString &program, const QStringList &arguments, int timeoutMs)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    QStringList command = arguments;
    QString executable = program;
    if (!m_user.isEmpty()) {
        command = QStringList{u"-u"_s, m_user, u"--"_s, program} + arguments;
        executable = u"runuser"_s;
    }
    process.start(executable, command);
    if (!process.waitForFinished(timeoutMs) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        m_error = program + u": "_s + QString::fromLocal8Bit(process.readAll()).trimmed();
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished();
        }
        return false;
    }
    return true;
}

bool PgCluster::pgCtl(const QStringList &arguments)
{
    return run(m_bin + u"/pg_ctl"_s, QStringList{u"-D"_s, m_dir->filePath(u"data"_s)} + arguments);
}

bool PgCluster::start(bool tcp)
{
    const std::optional<QString> bin = binaries();
    if (!bin) {
        m_error = u"PostgreSQL server binaries not found under /usr/lib/postgresql"_s;
        return false;
    }
    m_bin = *bin;
    m_tcp = tcp;
    // A short path: the socket's full name must stay within the system's 107 bytes.
    m_dir = std::make_unique<QTemporaryDir>(u"/tmp/scaffaria-pg-XXXXXX"_s);
    if (!m_dir->isValid()) {
        m_error = u"no temporary folder"_s;
        return false;
    }
    if (::geteuid() == 0) {
        const passwd *user = ::getpwnam("postgres");
        if (!user)
            user = ::getpwnam("nobody");
        if (!user) {
            m_error = u"no unprivileged user to run the server as"_s;
            return false;
        }
        m_user = QString::fromLocal8Bit(user->pw_name);
        if (::chown(QFile::encodeName(m_dir->path()).constData(), user->pw_uid, user->pw_gid) !=
            0) {
            m_error = u"cannot give the temporary folder to "_s + m_user;
            return false;
        }
    }
    m_port = freePort();
    if (m_port == 0) {
        m_error = u"no free port"_s;
        return false;
    }
    if (!run(m_bin + u"/initdb"_s,
             {u"-D"_s, m_dir->filePath(u"data"_s), u"-U"_s, QString::fromLatin1(kSuperuser),
              u"-A"_s, u"trust"_s, u"-E"_s, u"UTF8"_s, u"--locale=C"_s, u"--no-sync"_s}))
        return false;

    // Should this process die without its destructors, the watchdog stops the server and
    // removes the folder.
    QString stopCommand = quoted(m_bin + u"/pg_ctl"_s) + u" -D "_s +
                          quoted(m_dir->filePath(u"data"_s)) + u" -m immediate stop"_s;
    if (!m_user.isEmpty())
        stopCommand = u"runuser -u "_s + quoted(m_user) + u" -- "_s + stopCommand;
    const QString script = u"while kill -0 %1 2>/dev/null; do sleep 1; done; %2; rm -rf %3"_s.arg(
        QString::number(QCoreApplication::applicationPid()), stopCommand, quoted(m_dir->path()));
    QProcess watchdog;
    watchdog.setProgram(u"sh"_s);
    watchdog.setArguments({u"-c"_s, script});
    watchdog.setStandardInputFile(QProcess::nullDevice());
    watchdog.setStandardOutputFile(QProcess::nullDevice());
    watchdog.setStandardErrorFile(QProcess::nullDevice());
    watchdog.startDetached(&m_watchdog);
    return restart();
}

bool PgCluster::restart()
{
    const QString listen = m_tcp ? u"127.0.0.1"_s : u"''"_s;
    const QString options = u"-k %1 -p %2 -c listen_addresses=%3 -c fsync=off "
                            "-c full_page_writes=off"_s.arg(m_dir->path(), QString::number(m_port),
                                                            listen);
    if (!pgCtl({u"-l"_s, m_dir->filePath(u"server.log"_s), u"-w"_s, u"-t"_s, u"60"_s, u"-o"_s,
                options, u"start"_s}))
        return false;
    m_running = true;
    return true;
}

bool PgCluster::stop()
{
    if (!m_running)
        return true;
    m_running = false;
    return pgCtl({u"-m"_s, u"immediate"_s, u"-w"_s, u"stop"_s});
}

Store::SharedSettings PgCluster::settings(const QString &database) const
{
    Store::SharedSettings s;
    s.server = m_dir ? m_dir->path() : QString();
    s.port = m_port;
    s.database = database;
    s.user = QString::fromLatin1(kSuperuser);
    return s;
}

Store::SharedSettings PgCluster::tcpSettings(const QString &database) const
{
    Store::SharedSettings s = settings(database);
    s.server = u"127.0.0.1"_s;
    return s;
}

std::optional<QString> PgCluster::scalar(const QString &database, const QString &sql) const
{
    static std::atomic<int> serial{0};
    const QString name = u"pgcluster-"_s + QString::number(++serial);
    std::optional<QString> out;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QPSQL"_s, name);
        const Store::SharedSettings s = settings(database);
        db.setHostName(s.server);
        db.setPort(s.port);
        db.setDatabaseName(s.database);
        db.setUserName(s.user);
        db.setConnectOptions(u"connect_timeout=5"_s);
        if (db.open()) {
            QSqlQuery q(db);
            if (q.exec(sql))
                out = q.next() ? q.value(0).toString() : QString();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return out;
}

bool PgCluster::createDatabase(const QString &name)
{
    return scalar(u"postgres"_s, u"CREATE DATABASE \"%1\""_s.arg(name)).has_value();
}
