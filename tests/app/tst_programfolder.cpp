#include "app/info.h"
#include "common/guida.h"
#include "common/picturebutton.h"
#include "common/programfolder.h"
#include "support/testmain.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
const QByteArray kInitialStore = "[Accesso]\nValore=6763ED177AFEAE9E20CF36655AC8\n";

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}
} // namespace

// Where the program keeps its files: beside a portable executable, else in the user's
// data folder, prepared on first start; what the help and information windows make of it.
class ProgramFolderChoice final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void choice_data();
    void choice();
    void besideExecutable();
    void preparedDataFolder_data();
    void preparedDataFolder();
    void guideFound_data();
    void guideFound();
    void infoShowsFolder_data();
    void infoShowsFolder();
};

void ProgramFolderChoice::choice_data()
{
    QTest::addColumn<bool>("writable");
    QTest::addColumn<QString>("xdgDataHome"); // "-" leaves it unset
    QTest::addColumn<QString>("expected");
    const QString exe = u"/opt/Scaffaria"_s;
    QTest::newRow("writable executable folder") << true << u"/dati"_s << exe;
    QTest::newRow("read-only, XDG_DATA_HOME set")
        << false << u"/dati/utente/"_s << u"/dati/utente/Scaffaria"_s;
    QTest::newRow("read-only, XDG_DATA_HOME unset")
        << false << u"-"_s << u"/home/anna/.local/share/Scaffaria"_s;
    QTest::newRow("read-only, XDG_DATA_HOME empty")
        << false << QString() << u"/home/anna/.local/share/Scaffaria"_s;
    QTest::newRow("read-only, XDG_DATA_HOME relative")
        << false << u"dati"_s << u"/home/anna/.local/share/Scaffaria"_s;
}

void ProgramFolderChoice::choice()
{
    QFETCH(bool, writable);
    QFETCH(QString, xdgDataHome);
    QFETCH(QString, expected);
    QProcessEnvironment environment;
    environment.insert(u"HOME"_s, u"/home/anna"_s);
    if (xdgDataHome != u"-"_s)
        environment.insert(u"XDG_DATA_HOME"_s, xdgDataHome);
    QCOMPARE(ProgramFolder::choose(u"/opt/Scaffaria"_s, writable, environment), expected);
}

// The real probe: a folder that takes a file and is no installation keeps the files
// beside the executable; the probe leaves nothing behind.
void ProgramFolderChoice::besideExecutable()
{
    QTemporaryDir root;
    const QString portable = root.filePath(u"Scaffaria"_s);
    const QString installedBin = root.filePath(u"usr/bin"_s);
    QVERIFY(QDir().mkpath(portable));
    QVERIFY(QDir().mkpath(installedBin));
    QVERIFY(QDir().mkpath(root.filePath(u"usr/share/scaffaria"_s)));

    QVERIFY(ProgramFolder::canWrite(portable));
    QVERIFY(ProgramFolder::keepsFilesBeside(portable));
    QVERIFY(
        QDir(portable).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty());
    QVERIFY(!ProgramFolder::keepsFilesBeside(installedBin));
    QCOMPARE(ProgramFolder::templateFolder(installedBin), root.filePath(u"usr/share/scaffaria"_s));
    QVERIFY(!ProgramFolder::canWrite(root.filePath(u"mancante"_s)));
    QVERIFY(!ProgramFolder::keepsFilesBeside(root.filePath(u"mancante"_s)));
}

void ProgramFolderChoice::preparedDataFolder_data()
{
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QByteArray>("ownStore"); // empty: the folder holds no store
    QTest::addColumn<QByteArray>("expectedStore");
    QTest::newRow("first start") << false << QByteArray() << kInitialStore;
    QTest::newRow("existing folder with its own password")
        << true << QByteArray("[Accesso]\nValore=00AA\n") << QByteArray("[Accesso]\nValore=00AA\n");
    QTest::newRow("existing folder without a store") << true << QByteArray() << kInitialStore;
}

void ProgramFolderChoice::preparedDataFolder()
{
    QFETCH(bool, exists);
    QFETCH(QByteArray, ownStore);
    QFETCH(QByteArray, expectedStore);
    QTemporaryDir root;
    const QString templates = root.filePath(u"share/scaffaria"_s);
    QVERIFY(QDir().mkpath(templates));
    QVERIFY(writeFile(templates + u"/unins000.dll"_s, kInitialStore));
    const QString data = root.filePath(u"home/.local/share/Scaffaria"_s);
    if (exists) {
        QVERIFY(QDir().mkpath(data));
        QVERIFY(writeFile(data + u"/Magazzino.pro"_s, QByteArray(2592, 'x')));
        if (!ownStore.isEmpty())
            QVERIFY(writeFile(data + u"/unins000.dll"_s, ownStore));
    }

    ProgramFolder::prepare(data, templates);

    QCOMPARE(readFile(data + u"/unins000.dll"_s), expectedStore);
    QCOMPARE(QDir(data).entryList(QDir::Files),
             exists ? QStringList({u"Magazzino.pro"_s, u"unins000.dll"_s})
                    : QStringList{u"unins000.dll"_s});
    if (exists)
        QCOMPARE(readFile(data + u"/Magazzino.pro"_s), QByteArray(2592, 'x'));
    QVERIFY(QFileInfo(data + u"/unins000.dll"_s).isWritable());
}

void ProgramFolderChoice::guideFound_data()
{
    QTest::addColumn<bool>("own");
    QTest::addColumn<bool>("installed");
    QTest::addColumn<bool>("expectInstalled");
    QTest::newRow("guide in the program folder") << true << true << false;
    QTest::newRow("installed guide only") << false << true << true;
    QTest::newRow("no guide anywhere") << false << false << false;
}

void ProgramFolderChoice::guideFound()
{
    QFETCH(bool, own);
    QFETCH(bool, installed);
    QFETCH(bool, expectInstalled);
    TempProgramFolder folder;
    const QString installedGuide = ProgramFolder::installedDocument(u"Guida.pdf"_s);
    QCOMPARE(installedGuide, QDir::cleanPath(QCoreApplication::applicationDirPath() +
                                             u"/../share/doc/scaffaria/Guida.pdf"_s));
    const QString docFolder = QFileInfo(installedGuide).path();
    const bool docFolderExisted = QFileInfo(docFolder).isDir();
    if (own)
        QVERIFY(writeFile(folder.file(u"Guida.pdf"_s), "%PDF-"));
    if (installed) {
        QVERIFY(QDir().mkpath(docFolder));
        QVERIFY(writeFile(installedGuide, "%PDF-"));
    }
    const QString found = TfrmGuida::pdfPath();
    if (installed) {
        QFile::remove(installedGuide);
        if (!docFolderExisted)
            QDir().rmpath(docFolder);
    }
    QCOMPARE(found, expectInstalled ? installedGuide : folder.file(u"Guida.pdf"_s));
}

void ProgramFolderChoice::infoShowsFolder_data()
{
    QTest::addColumn<QString>("subfolder");
    QTest::addColumn<bool>("shortened");
    QTest::newRow("short path") << u"Scaffaria"_s << false;
    QTest::newRow("long path")
        << u"una cartella dal nome molto lungo/e poi ancora un'altra cartella dal nome "
           u"lunghissimo/Scaffaria"_s
        << true;
}

void ProgramFolderChoice::infoShowsFolder()
{
    QFETCH(QString, subfolder);
    QFETCH(bool, shortened);
    TempProgramFolder root;
    const QString folder = root.file(subfolder);
    QVERIFY(QDir().mkpath(folder));
    ProgramFolder::setForTests(folder);

    TfrmInfo info(nullptr);
    QLabel *line = info.lblCartella;
    const QString text = line->text();
    QVERIFY(text.startsWith(u"Cartella dei dati: "_s));
    QVERIFY(line->fontMetrics().horizontalAdvance(text) <= line->width());
    if (shortened)
        QVERIFY(text.endsWith(u"Scaffaria"_s) && text.contains(QChar(0x2026)));
    else
        QCOMPARE(text, u"Cartella dei dati: "_s + folder);
    QCOMPARE(line->toolTip(), folder);
    QCOMPARE(line->accessibleDescription(), folder);
    // One line between the picture and the contact link.
    QVERIFY(line->geometry().top() >= info.imgLogo->geometry().bottom());
    QVERIFY(line->geometry().bottom() < info.imgEmail->geometry().top());
}

SCAFFARIA_TEST(ProgramFolderChoice)
#include "tst_programfolder.moc"
