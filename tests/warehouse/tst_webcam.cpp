#include "cardfixture.h"
#include "common/artwork.h"
#include "common/photoframe.h"
#include "common/picturebutton.h"
#include "common/screens.h"
#include "support/recorder.h"
#include "support/testmain.h"
#include "warehouse/magazzino.h"
#include "warehouse/photodialogs.h"
#include "warehouse/webcam.h"

#include <QCameraDevice>
#include <QElapsedTimer>
#include <QImageReader>
#include <QLabel>
#include <QMediaDevices>
#include <QPushButton>
#include <QTest>

#include <memory>

#include <thread>

using namespace Qt::StringLiterals;

namespace {

// Frames on demand, from whichever thread the test likes.
class FakeSource final : public FrameSource
{
public:
    explicit FakeSource(bool canStart = true) : m_canStart(canStart) {}
    void push(const QImage &frame) { offer(frame); }
    // The camera goes away while it runs.
    void breakDown() { fail(); }
    int starts = 0;

protected:
    bool startCapture() override
    {
        ++starts;
        return m_canStart;
    }
    void stopCapture() override {}

private:
    bool m_canStart;
};

QImage frame(QColor colour, QSize size = {640, 480})
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

void click(QAbstractButton *button) { QTest::mouseClick(button, Qt::LeftButton); }

QImage initialStill() { return Artwork::image(u"foto_scatto"_s, {360, 270}); }

} // namespace

class WebCam final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void liveCaptureAndStop();
    void framesFromAnotherThread();
    void leavingTheDialog_data();
    void leavingTheDialog();
    void withoutCamera_data();
    void withoutCamera();
    void saveStill_data();
    void saveStill();

private:
    TfrmMagazzino *m_screen = nullptr;
    QWidget *m_hub = nullptr;
    TempProgramFolder *m_folder = nullptr;
    std::unique_ptr<CardScreenFixture> m_card;
};

void WebCam::init()
{
    m_card = std::make_unique<CardScreenFixture>();
    m_folder = &m_card->folder;
    m_hub = &m_card->hub;
    m_screen = m_card->screen;
}

void WebCam::cleanup()
{
    FrameSource::setFactoryForTests({});
    m_card.reset();
}

void WebCam::liveCaptureAndStop()
{
    Recorder rec;
    auto owned = std::make_unique<FakeSource>();
    FakeSource *source = owned.get();
    TfrmWebCam dialog(m_screen, std::move(owned));
    QCOMPARE(dialog.windowTitle(), u" Cattura foto con webcam"_s);
    QCOMPARE(dialog.imgCamera->picture(), dialog.imgBianco->pixmap().toImage());
    QCOMPARE(dialog.imgTarget->picture(), initialStill());

    // Frames offered before the camera starts are not shown.
    source->push(frame(Qt::yellow));
    QTest::qWait(20);
    QCOMPARE(dialog.imgCamera->picture(), dialog.imgBianco->pixmap().toImage());

    click(dialog.btnAccendi);
    QVERIFY(source->running());
    source->push(frame(Qt::red, {1280, 720}));
    QTRY_COMPARE(dialog.imgCamera->picture(), frame(Qt::red, {1280, 720}));
    click(dialog.btnCattura);
    QCOMPARE(dialog.imgTarget->picture(), frame(Qt::red, {1280, 720}));

    // The still is a copy: later frames change only the live picture.
    source->push(frame(Qt::blue));
    QTRY_COMPARE(dialog.imgCamera->picture(), frame(Qt::blue));
    QCOMPARE(dialog.imgTarget->picture(), frame(Qt::red, {1280, 720}));

    click(dialog.btnSpegni);
    QVERIFY(!source->running());
    source->push(frame(Qt::green));
    QTest::qWait(20);
    QCOMPARE(dialog.imgCamera->picture(), frame(Qt::blue));
    QCOMPARE(dialog.imgTarget->picture(), frame(Qt::red, {1280, 720}));
    QVERIFY(rec.take().isEmpty());
}

// Frames delivered from the camera's thread reach the live picture on the user-interface
// thread, the newest last, and the delivering thread never waits for it.
void WebCam::framesFromAnotherThread()
{
    auto owned = std::make_unique<FakeSource>();
    FakeSource *source = owned.get();
    TfrmWebCam dialog(m_screen, std::move(owned));
    click(dialog.btnAccendi);
    int shown = 0;
    connect(source, &FrameSource::frameArrived, &dialog, [&] {
        QCOMPARE(QThread::currentThread(), dialog.thread());
        ++shown;
    });

    std::thread camera([source] {
        for (int i = 0; i < 200; ++i)
            source->push(frame(QColor(i, 0, 0), {32, 24}));
    });
    camera.join(); // finishes although the user-interface thread has not run yet
    QTRY_COMPARE(dialog.imgCamera->picture(), frame(QColor(199, 0, 0), {32, 24}));
    QVERIFY(shown >= 1 && shown < 200);
}

void WebCam::leavingTheDialog_data()
{
    QTest::addColumn<QString>("steps"); // buttons clicked in order, '+' separated
    QTest::addColumn<int>("card");      // 0: unchanged, 1: the captured frame, 2: initial still

    QTest::newRow("import after capture") << u"btnAccendi+btnCattura+btnImportaFoto"_s << 1;
    QTest::newRow("import without capture") << u"btnAccendi+btnImportaFoto"_s << 2;
    QTest::newRow("cancel after capture") << u"btnAccendi+btnCattura+btnClose"_s << 0;
}

// Through the card screen's button, with the frame source the test installed.
void WebCam::leavingTheDialog()
{
    QFETCH(QString, steps);
    QFETCH(int, card);

    Recorder rec;
    const QImage before = frame(Qt::darkGray, {100, 100});
    m_screen->imgFoto->setPicture(before);
    FakeSource *source = nullptr;
    FrameSource::setFactoryForTests([&source] {
        auto made = std::make_unique<FakeSource>();
        source = made.get();
        return made;
    });
    bool running = true;
    onNextModal([&](QWidget *modal) {
        auto *dialog = qobject_cast<TfrmWebCam *>(modal);
        QVERIFY(dialog);
        for (const QString &name : steps.split(u'+')) {
            if (name == u"btnCattura"_s) {
                source->push(frame(Qt::cyan));
                QTRY_COMPARE(dialog->imgCamera->picture(), frame(Qt::cyan));
            }
            if (name == u"btnImportaFoto"_s || name == u"btnClose"_s)
                connect(dialog, &QDialog::finished, dialog,
                        [&running, source] { running = source->running(); });
            click(dialog->findChild<QPushButton *>(name));
        }
    });
    click(m_screen->btnAcquisisciFoto);

    QVERIFY(source);
    QVERIFY(!running);
    QVERIFY(!QApplication::activeModalWidget());
    const QImage expected[] = {before, frame(Qt::cyan), initialStill()};
    QCOMPARE(m_screen->imgFoto->picture(), expected[card]);
    QVERIFY(rec.take().isEmpty());
}

void WebCam::withoutCamera_data()
{
    QTest::addColumn<QString>("source");
    QTest::newRow("no frame source") << u"none"_s;
    QTest::newRow("camera that cannot start") << u"refusing"_s;
    QTest::newRow("this machine's camera") << u"real"_s;
    QTest::newRow("camera that stops by itself") << u"failing"_s;
}

// No camera, or one that cannot start or go on: the user is told, once, and nothing else
// changes; no wait.
void WebCam::withoutCamera()
{
    QFETCH(QString, source);
    std::unique_ptr<FrameSource> frames;
    if (source == u"refusing"_s || source == u"failing"_s) {
        frames = std::make_unique<FakeSource>(source == u"failing"_s);
    } else if (source == u"real"_s) {
        if (!QMediaDevices::videoInputs().isEmpty())
            QSKIP("a camera is attached");
        frames = FrameSource::create();
    }
    FrameSource *raw = frames.get();

    Recorder rec;
    TfrmWebCam dialog(m_screen, std::move(frames));
    const QImage live = dialog.imgCamera->picture();
    QElapsedTimer clock;
    clock.start();
    click(dialog.btnAccendi);
    QVERIFY(clock.elapsed() < 5000);
    if (source == u"failing"_s) {
        QVERIFY(rec.take().isEmpty());
        static_cast<FakeSource *>(raw)->breakDown();
    }
    QTest::qWait(50);
    if (raw)
        QVERIFY(!raw->running());
    QVERIFY(rec.showedOnly(Recorder::Kind::Information,
                           u"Nessuna webcam disponibile: collegare una webcam e riprovare."_s));
    QCOMPARE(dialog.imgCamera->picture(), live);
    click(dialog.btnSpegni);
    click(dialog.btnCattura);
    QCOMPARE(dialog.imgTarget->picture(), live);
    click(dialog.btnImportaFoto);
    QCOMPARE(m_screen->imgFoto->picture(), live);
    QVERIFY(rec.take().isEmpty());
}

void WebCam::saveStill_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("written");
    QTest::newRow("jpg") << u"scatto.jpg"_s << true;
    QTest::newRow("folder missing") << u"manca/scatto.jpg"_s << false;
}

void WebCam::saveStill()
{
    QFETCH(QString, name);
    QFETCH(bool, written);

    auto owned = std::make_unique<FakeSource>();
    FakeSource *source = owned.get();
    TfrmWebCam dialog(m_screen, std::move(owned));
    click(dialog.btnAccendi);
    source->push(frame(Qt::magenta));
    QTRY_COMPARE(dialog.imgCamera->picture(), frame(Qt::magenta));
    click(dialog.btnCattura);

    Recorder rec;
    const QString path = m_folder->file(name);
    rec.fileAnswers = {path};
    click(dialog.btnSalvaFotogramma);
    QCOMPARE(rec.fileDialogs.size(), 1);
    QCOMPARE(rec.fileDialogs[0].title, PhotoDialogs::saveTitle());
    QCOMPARE(rec.fileDialogs[0].proposed, u"Foto.jpg"_s);
    if (written) {
        QVERIFY(rec.take().isEmpty());
        QCOMPARE(QImageReader(path).size(), QSize(640, 480));
    } else {
        QVERIFY(rec.showedOnly(Recorder::Kind::Error,
                               u"Attenzione: non è stato possibile salvare la foto nel file "
                               u"indicato."_s));
    }
    // The still stays what was captured either way.
    QCOMPARE(dialog.imgTarget->picture(), frame(Qt::magenta));
}

SCAFFARIA_TEST(WebCam)
#include "tst_webcam.moc"
