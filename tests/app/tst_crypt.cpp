#include "app/crypt.h"
#include "app/passwordstore.h"
#include "common/programfolder.h"
#include "support/testmain.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

using namespace Qt::StringLiterals;

namespace {

const QString kInitialHex = u"6763ED177AFEAE9E20CF36655AC8"_s;

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

} // namespace

class Cipher final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void encrypt_data();
    void encrypt();
    void decrypt_data();
    void decrypt();
    void everyByteRoundTrips();
    void normalise_data();
    void normalise();
};

void Cipher::encrypt_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("hex");
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("one character, two digits") << u"A"_s << u"65"_s;
    QTest::newRow("initial password") << u"CHIAVEINIZIALE"_s << kInitialHex;
    QTest::newRow("same letters, running key") << u"AA"_s << u"65B7"_s;
}

void Cipher::encrypt()
{
    QFETCH(QString, password);
    QFETCH(QString, hex);
    QCOMPARE(Crypt::Encrypt(password), hex);
}

void Cipher::decrypt_data()
{
    QTest::addColumn<QString>("hex");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("password");
    QTest::newRow("empty") << QString() << true << QString();
    QTest::newRow("initial store") << kInitialHex << true << u"CHIAVEINIZIALE"_s;
    QTest::newRow("lower-case digits") << kInitialHex.toLower() << true << u"CHIAVEINIZIALE"_s;
    QTest::newRow("odd length drops last digit")
        << kInitialHex.chopped(1) << true << u"CHIAVEINIZIAL"_s;
    QTest::newRow("single digit") << u"6"_s << true << QString();
    QTest::newRow("ignored last digit need not be hex") << u"65Z"_s << true << u"A"_s;
    QTest::newRow("not hexadecimal") << u"ZZ"_s << false << QString();
    QTest::newRow("bad pair after good ones") << u"6763G1"_s << false << QString();
    QTest::newRow("blank inside") << u"67 3"_s << false << QString();
}

void Cipher::decrypt()
{
    QFETCH(QString, hex);
    QFETCH(bool, ok);
    QFETCH(QString, password);
    const std::optional<QString> result = Crypt::Decrypt(hex);
    QCOMPARE(result.has_value(), ok);
    if (ok)
        QCOMPARE(*result, password);
}

void Cipher::everyByteRoundTrips()
{
    QString all;
    for (char16_t c = 1; c <= 0xFF; ++c)
        all += QChar(c);
    const QString hex = Crypt::Encrypt(all);
    QCOMPARE(hex.size(), 2 * all.size());
    QCOMPARE(hex, hex.toUpper());
    QCOMPARE(Crypt::Decrypt(hex), std::optional<QString>(all));
}

void Cipher::normalise_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("normalised");
    QTest::addColumn<bool>("storable");
    QTest::newRow("a-z upper-cased") << u"chiave"_s << u"CHIAVE"_s << true;
    QTest::newRow("accented letters keep case") << u"città È"_s << u"CITTà È"_s << true;
    QTest::newRow("blanks and controls around") << u" \t ab c\n"_s << u"AB C"_s << true;
    QTest::newRow("blanks only") << u"   "_s << QString() << false;
    QTest::newRow("255 characters") << QString(255, u'x') << QString(255, u'X') << true;
    QTest::newRow("256 characters") << QString(256, u'x') << QString(256, u'X') << false;
    QTest::newRow("U+00FF") << u"ÿ"_s << u"ÿ"_s << true;
    QTest::newRow("euro sign") << u"€uro"_s << u"€URO"_s << false;
    QTest::newRow("outside the BMP") << u"a😀"_s << u"A😀"_s << false;
}

void Cipher::normalise()
{
    QFETCH(QString, typed);
    QFETCH(QString, normalised);
    QFETCH(bool, storable);
    QCOMPARE(Crypt::Normalise(typed), normalised);
    QCOMPARE(Crypt::Storable(Crypt::Normalise(typed)), storable);
}

class Store final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initialStoreFromBuild();
    void read_data();
    void read();
    void unreadable();
    void write_data();
    void write();
    void failedWriteKeepsFile();
};

void Store::initialStoreFromBuild()
{
    const QString folder = QStringLiteral(SCAFFARIA_PROGRAM_DIR);
    QVERIFY2(QFile::exists(folder + u"/unins000.dll"_s), "build the program first");
    ProgramFolder::setForTests(folder);
    const std::optional<QString> value = PasswordStore::read();
    ProgramFolder::setForTests(QString());
    QVERIFY(value);
    QCOMPARE(Crypt::Decrypt(*value), std::optional<QString>(u"CHIAVEINIZIALE"_s));
}

void Store::read_data()
{
    QTest::addColumn<QByteArray>("content"); // "<none>": no file at all
    QTest::addColumn<QString>("value");
    QTest::newRow("no file") << QByteArray("<none>") << QString();
    QTest::newRow("empty file") << QByteArray() << QString();
    QTest::newRow("two lines") << QByteArray("[Accesso]\nValore=65\n") << u"65"_s;
    QTest::newRow("CRLF, no final newline") << QByteArray("[Accesso]\r\nValore=65") << u"65"_s;
    QTest::newRow("names in any case") << QByteArray("[ACCESSO]\r\nvalore=65\r\n") << u"65"_s;
    QTest::newRow("blanks around") << QByteArray(" [Accesso] \n Valore = 65 \n") << u"65"_s;
    QTest::newRow("empty value") << QByteArray("[Accesso]\nValore=\n") << QString();
    QTest::newRow("no section") << QByteArray("Valore=65\n") << QString();
    QTest::newRow("section without key") << QByteArray("[Accesso]\nAltro=65\n") << QString();
    QTest::newRow("key in another section")
        << QByteArray("[Accesso]\n[Altro]\nValore=65\n") << QString();
    QTest::newRow("among other sections")
        << QByteArray("; nota\n[Altro]\nValore=11\n[Accesso]\nX=1\nValore=65\n[Dopo]\nValore=22\n")
        << u"65"_s;
}

void Store::read()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, value);
    TempProgramFolder folder;
    if (content != "<none>")
        writeFile(PasswordStore::path(), content);
    QCOMPARE(PasswordStore::read(), std::optional<QString>(value));
}

void Store::unreadable()
{
    TempProgramFolder folder;
    QVERIFY(QDir(folder.path()).mkdir(u"unins000.dll"_s));
    QVERIFY(!PasswordStore::read());
    QVERIFY(!PasswordStore::write(u"65"_s));
    QVERIFY(QFileInfo(PasswordStore::path()).isDir());
}

void Store::write_data()
{
    QTest::addColumn<QByteArray>("before"); // "<none>": no file at all
    QTest::addColumn<QByteArray>("after");
    QTest::newRow("fresh file, two lines")
        << QByteArray("<none>") << QByteArray("[Accesso]\nValore=AB12\n");
    QTest::newRow("value replaced")
        << QByteArray("[Accesso]\nValore=" + kInitialHex.toLatin1() + "\n")
        << QByteArray("[Accesso]\nValore=AB12\n");
    QTest::newRow("everything else kept")
        << QByteArray("; nota\n[Altro]\nValore=11\n\n[Accesso]\nX=1\nValore=65\nY=2\n[Dopo]\nZ=3\n")
        << QByteArray(
               "; nota\n[Altro]\nValore=11\n\n[Accesso]\nX=1\nValore=AB12\nY=2\n[Dopo]\nZ=3\n");
    QTest::newRow("CRLF kept") << QByteArray("[Accesso]\r\nValore=65\r\n[Dopo]\r\nZ=3")
                               << QByteArray("[Accesso]\r\nValore=AB12\r\n[Dopo]\r\nZ=3");
    QTest::newRow("names in another case")
        << QByteArray("[accesso]\nVALORE=65\n") << QByteArray("[accesso]\nValore=AB12\n");
    QTest::newRow("key added to its section")
        << QByteArray("[Accesso]\nX=1\n\n[Dopo]\nZ=3\n")
        << QByteArray("[Accesso]\nX=1\nValore=AB12\n\n[Dopo]\nZ=3\n");
    QTest::newRow("section added after the rest")
        << QByteArray("[Altro]\r\nX=1")
        << QByteArray("[Altro]\r\nX=1\r\n[Accesso]\r\nValore=AB12\r\n");
}

void Store::write()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    TempProgramFolder folder;
    if (before != "<none>")
        writeFile(PasswordStore::path(), before);
    QVERIFY(PasswordStore::write(u"AB12"_s));
    QCOMPARE(readFile(PasswordStore::path()), after);
    QCOMPARE(PasswordStore::read(), std::optional<QString>(u"AB12"_s));
}

void Store::failedWriteKeepsFile()
{
#ifndef Q_OS_UNIX
    QSKIP("needs a file size limit");
#else
    // A file size limit stops the new content half way, as a full disk would (permissions
    // do not stop the superuser the tests may run as).
    TempProgramFolder folder;
    const QByteArray before = "[Accesso]\nValore=65\n[Note]\n" + QByteArray(8000, 'n') + "\n";
    writeFile(PasswordStore::path(), before);

    rlimit saved{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 4096;
    auto *previous = std::signal(SIGXFSZ, SIG_IGN);
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = PasswordStore::write(u"AB12"_s);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);

    QVERIFY(!written);
    QCOMPARE(readFile(PasswordStore::path()), before);
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{u"unins000.dll"_s});
#endif
}

SCAFFARIA_TEST(Cipher)
SCAFFARIA_TEST(Store)
#include "tst_crypt.moc"
