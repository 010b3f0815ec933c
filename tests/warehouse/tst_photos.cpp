#include "cardfixture.h"
#include "common/photoframe.h"
#include "common/picturebutton.h"
#include "common/screens.h"
#include "support/recorder.h"
#include "support/testmain.h"
#include "warehouse/archivio.h"
#include "warehouse/magazzino.h"
#include "warehouse/photodialogs.h"
#include "warehouse/zoom.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

QImage picture(QSize size, QColor colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

QByteArray bytesOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void click(QAbstractButton *button) { QTest::mouseClick(button, Qt::LeftButton); }

} // namespace

class Photos final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void loadPicture_data();
    void loadPicture();
    void savePicture_data();
    void savePicture();
    void failedSaveKeepsPicture();
    void photoFileFollowsTheCard();
    void hostilePhotoStaysBounded_data();
    void hostilePhotoStaysBounded();
    void zoom_data();
    void zoom();

private:
    QImage placeholder() const { return m_screen->imgBianco->pixmap().toImage(); }

    TfrmMagazzino *m_screen = nullptr;
    QWidget *m_hub = nullptr;
    TempProgramFolder *m_folder = nullptr;
    std::unique_ptr<CardScreenFixture> m_card;
};

void Photos::init()
{
    m_card = std::make_unique<CardScreenFixture>();
    m_folder = &m_card->folder;
    m_hub = &m_card->hub;
    m_screen = m_card->screen;
}

void Photos::cleanup() { m_card.reset(); }

void Photos::loadPicture_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("format"); // empty: written as plain text
    QTest::addColumn<QSize>("written");
    QTest::addColumn<QSize>("shown"); // null: unchanged
    QTest::addColumn<bool>("warned");

    QTest::newRow("jpeg") << u"prodotto.jpeg"_s << QByteArray("jpg") << QSize(1200, 900)
                          << QSize(1200, 900) << false;
    QTest::newRow("bitmap") << u"prodotto.bmp"_s << QByteArray("bmp") << QSize(300, 500)
                            << QSize(300, 500) << false;
    // Decoded whole it would take over a gigabyte; it is decoded to fit 8192 x 8192.
    QTest::newRow("too large to decode whole")
        << u"enorme.jpg"_s << QByteArray("jpg") << QSize(16384, 8192) << QSize(8192, 4096) << false;
    QTest::newRow("not a picture")
        << u"testo.jpg"_s << QByteArray() << QSize() << QSize(0, 0) << true;
    QTest::newRow("cancelled") << QString() << QByteArray() << QSize() << QSize(0, 0) << false;
}

void Photos::loadPicture()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, format);
    QFETCH(QSize, written);
    QFETCH(QSize, shown);
    QFETCH(bool, warned);

    const QImage before = picture({64, 48}, Qt::magenta);
    m_screen->imgFoto->setPicture(before);
    const QString path = file.isEmpty() ? QString() : m_folder->file(file);
    if (!format.isEmpty()) {
        // One byte a pixel, so that even the largest one is cheap to make.
        QImage source(written, QImage::Format_Grayscale8);
        source.fill(90);
        QVERIFY(source.save(path, format.constData()));
    } else if (!path.isEmpty()) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("non sono una foto");
    }

    Recorder rec;
    rec.fileAnswers = {path};
    click(m_screen->btnCaricaFoto);

    QCOMPARE(rec.fileDialogs.size(), 1);
    QCOMPARE(rec.fileDialogs[0].title,
             u"Selezionare un file di immagine in formato Jpeg o Bitmap."_s);
    QCOMPARE(rec.fileDialogs[0].filter, u"Immagine JPEG (*.jpg *.jpeg);;Immagine Bitmap (*.bmp)"_s);
    if (warned)
        QVERIFY(
            rec.showedOnly(Recorder::Kind::Warning,
                           u"Attenzione: il file scelto non contiene un'immagine leggibile."_s));
    QVERIFY(rec.take().isEmpty());
    const QImage now = m_screen->imgFoto->picture();
    if (shown.isNull())
        QCOMPARE(now, before);
    else
        QCOMPARE(now.size(), shown);
}

void Photos::savePicture_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("format"); // as read back from the content

    QTest::newRow("jpg") << u"copia.jpg"_s << QByteArray("jpeg");
    QTest::newRow("no extension") << u"copia"_s << QByteArray("jpeg");
    QTest::newRow("unknown extension") << u"copia.foto"_s << QByteArray("jpeg");
    QTest::newRow("bmp") << u"copia.bmp"_s << QByteArray("bmp");
}

void Photos::savePicture()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, format);

    m_screen->imgFoto->setPicture(picture({800, 600}, Qt::darkYellow));
    const QString path = m_folder->file(name);
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("vecchio contenuto");
    old.close();

    Recorder rec;
    rec.fileAnswers = {path};
    click(m_screen->btnSalvaFoto);

    QCOMPARE(rec.fileDialogs.size(), 1);
    QCOMPARE(rec.fileDialogs[0].title,
             u"Selezionare la cartella in cui si desidera salvare il file Jpeg."_s);
    QCOMPARE(rec.fileDialogs[0].proposed, u"Foto.jpg"_s);
    QCOMPARE(rec.fileDialogs[0].filter, u"File Jpeg (*.jpg)"_s);
    QVERIFY(rec.take().isEmpty());
    QCOMPARE(QImageReader::imageFormat(path), format);
    QCOMPARE(QImageReader(path, format).size(), QSize(800, 600));
    // The card's own photo file is written only by saving the card.
    QVERIFY(!QFile::exists(ArchivioMagazzino::photoPath(1)));
}

void Photos::failedSaveKeepsPicture()
{
    const QImage photo = picture({640, 480}, Qt::darkGreen);
    m_screen->imgFoto->setPicture(photo);
    Recorder rec;
    rec.fileAnswers = {m_folder->file(u"manca/foto.jpg"_s)};
    click(m_screen->btnSalvaFoto);
    QVERIFY(rec.showedOnly(Recorder::Kind::Error, PhotoDialogs::saveFailed()));
    QCOMPARE(m_screen->imgFoto->picture(), photo);
    QVERIFY(!QFile::exists(m_folder->file(u"manca"_s)));
}

// A photo larger than the image reader's default allocation limit is loaded, stored with
// its card, and shown again with the card; deleting it without saving keeps the file.
void Photos::photoFileFollowsTheCard()
{
    QFile archive(m_folder->file(ArchivioMagazzino::fileName()));
    QVERIFY(archive.open(QIODevice::WriteOnly));
    for (int i = 1; i <= 3; ++i) {
        TSchedaProdotto c;
        c.Codice = u"C%1"_s.arg(i);
        c.Costo = c.Prezzo = u"1,00"_s;
        c.Nome = c.UM = c.Tipologia = c.Caratteristiche = u"x"_s;
        c.Pagato = TSchedaProdotto::paidNo();
        archive.write(c.encode());
    }
    archive.close();

    const QSize large(6000, 6000);
    const QString source = m_folder->file(u"grande.jpg"_s);
    {
        QImage big = picture(large, Qt::white);
        big.setPixel(5999, 5999, qRgb(0, 0, 0));
        QVERIFY(big.save(source, "jpg", 50));
    }

    Recorder rec;
    click(m_screen->cmdUltimo);
    QCOMPARE(m_screen->lblPosizione->text(), u"3"_s);
    rec.fileAnswers = {source};
    click(m_screen->btnCaricaFoto);
    QCOMPARE(m_screen->imgFoto->picture().size(), large);
    click(m_screen->btnSalva);
    QCOMPARE(rec.take().size(), 1);
    const QString stored = ArchivioMagazzino::photoPath(3);
    QCOMPARE(stored, m_folder->file(u"3.jpg"_s));
    QCOMPARE(QImageReader(stored).size(), large);

    click(m_screen->cmdPrimo);
    QCOMPARE(m_screen->imgFoto->picture(), placeholder());
    click(m_screen->cmdUltimo);
    QCOMPARE(m_screen->imgFoto->picture().size(), large);

    const QByteArray bytes = bytesOf(stored);
    click(m_screen->btnCancFoto);
    QCOMPARE(m_screen->imgFoto->picture(), placeholder());
    click(m_screen->cmdPrimo);
    QCOMPARE(bytesOf(stored), bytes);
    QVERIFY(rec.take().isEmpty());
    QVERIFY(rec.unexpected.isEmpty());
}

void Photos::hostilePhotoStaysBounded_data()
{
    QTest::addColumn<QString>("file");
    const QDir kept(QStringLiteral(SCAFFARIA_TEST_DATA "/fuzz/picture"));
    for (const QString &name : kept.entryList(QDir::Files, QDir::Name))
        QTest::newRow(qPrintable(name)) << kept.filePath(name);
}

// The photo of card 2 is one of the files that lie about their size (a 1 KB bitmap with a
// negative height named 2.jpg among them): the card shows its placeholder at once, within
// 256 MiB.
void Photos::hostilePhotoStaysBounded()
{
    QFETCH(QString, file);
    QFile archive(m_folder->file(ArchivioMagazzino::fileName()));
    QVERIFY(archive.open(QIODevice::WriteOnly));
    for (int i = 1; i <= 2; ++i) {
        TSchedaProdotto c;
        c.Codice = u"C%1"_s.arg(i);
        archive.write(c.encode());
    }
    archive.close();
    QVERIFY(QFile::copy(file, ArchivioMagazzino::photoPath(2)));
    m_screen->imgFoto->setPicture(picture({64, 48}, Qt::magenta));

    Recorder rec;
    const PeakMemory memory;
    QElapsedTimer clock;
    clock.start();
    click(m_screen->cmdUltimo);
    m_screen->repaint();
    const qint64 elapsed = clock.elapsed();
    const qint64 grown = memory.grownMiB();
    QCOMPARE(m_screen->lblPosizione->text(), u"2"_s);
    QCOMPARE(m_screen->imgFoto->picture(), placeholder());
    QVERIFY2(grown < 256, qPrintable(QString::number(grown)));
    QVERIFY2(elapsed < 1000, qPrintable(QString::number(elapsed)));
    QVERIFY(rec.take().isEmpty());
}

void Photos::zoom_data()
{
    QTest::addColumn<bool>("onPanel");
    QTest::newRow("click on the picture") << false;
    QTest::newRow("click on the panel") << true;
}

void Photos::zoom()
{
    QFETCH(bool, onPanel);
    const QImage photo = picture({1600, 400}, Qt::darkBlue);
    m_screen->imgFoto->setPicture(photo);

    bool seen = false;
    onNextModal([&](QWidget *modal) {
        auto *zoom = qobject_cast<TfrmZoom *>(modal);
        QVERIFY(zoom);
        seen = true;
        QCOMPARE(zoom->windowTitle(), u" Fai clic sulla foto per chiudere questa finestra"_s);
        QVERIFY(zoom->windowState() & Qt::WindowMaximized);
        const QSize screen = zoom->screen()->size();
        QCOMPARE(zoom->panel->size(), QSize(screen.width() - 60, screen.height() - 90));
        QCOMPARE(zoom->imgFoto->geometry(), zoom->panel->rect());
        QCOMPARE(zoom->imgFoto->picture(), photo);
        QWidget *target = onPanel ? zoom->panel : static_cast<QWidget *>(zoom->imgFoto);
        QTest::mouseClick(target, Qt::LeftButton);
    });
    click(m_screen->btnZoomFoto);
    QVERIFY(seen);
    QVERIFY(!QApplication::activeModalWidget());
    QCOMPARE(m_screen->imgFoto->picture(), photo);
}

SCAFFARIA_TEST(Photos)
#include "tst_photos.moc"
