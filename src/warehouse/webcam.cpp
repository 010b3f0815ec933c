#include "warehouse/webcam.h"

#include "common/artwork.h"
#include "common/dialogs.h"
#include "common/photoframe.h"
#include "common/picturebutton.h"
#include "common/picturefile.h"
#include "common/screens.h"
#include "warehouse/magazzino.h"
#include "warehouse/photodialogs.h"

#include <QCamera>
#include <QCameraDevice>
#include <QLabel>
#include <QMediaCaptureSession>
#include <QMediaDevices>
#include <QMutexLocker>
#include <QPushButton>
#include <QVideoFrame>
#include <QVideoSink>

using namespace Qt::StringLiterals;

namespace {

constexpr QSize kPicture(360, 270);

// The default video input through Qt Multimedia. Frames come from the camera's own
// thread and are converted into pictures on the user-interface thread.
class CameraFrameSource final : public FrameSource
{
public:
    ~CameraFrameSource() override
    {
        // Stop before the members go, so that no frame arrives at a half-destroyed source.
        if (m_camera)
            m_camera->stop();
    }

protected:
    bool startCapture() override
    {
        const QCameraDevice device = QMediaDevices::defaultVideoInput();
        if (device.isNull())
            return false;
        if (!m_camera) {
            m_camera = std::make_unique<QCamera>(device);
            m_session.setCamera(m_camera.get());
            m_session.setVideoSink(&m_sink);
            // Errors arrive on the user-interface thread, during start or later.
            connect(m_camera.get(), &QCamera::errorOccurred, this, [this] { fail(); });
            connect(
                &m_sink, &QVideoSink::videoFrameChanged, this,
                [this](const QVideoFrame &frame) { offer([frame] { return frame.toImage(); }); },
                Qt::DirectConnection);
        }
        m_camera->start();
        return m_camera->error() == QCamera::NoError;
    }

    void stopCapture() override
    {
        if (m_camera)
            m_camera->stop();
    }

private:
    QMediaCaptureSession m_session;
    QVideoSink m_sink;
    std::unique_ptr<QCamera> m_camera;
};

std::function<std::unique_ptr<FrameSource>()> &factory()
{
    static std::function<std::unique_ptr<FrameSource>()> installed;
    return installed;
}

QPushButton *button(QWidget *parent, const QString &name, const QString &text, QRect box)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setGeometry(box);
    b->setAutoDefault(false);
    return b;
}

} // namespace

bool FrameSource::start()
{
    if (m_running)
        return true;
    m_running = true;
    m_starting = true;
    const bool started = startCapture();
    m_starting = false;
    // A failure reported while starting counts as a start that failed.
    if (!started || !m_running) {
        m_running = false;
        stopCapture();
        return false;
    }
    return true;
}

void FrameSource::fail()
{
    if (!m_running)
        return;
    stop();
    if (!m_starting)
        Q_EMIT failed();
}

QString FrameSource::noCameraMessage()
{
    return QStringLiteral("Nessuna webcam disponibile: collegare una webcam e riprovare.");
}

void FrameSource::stop()
{
    if (!m_running)
        return;
    m_running = false;
    stopCapture();
    QMutexLocker lock(&m_lock);
    m_newest = nullptr;
}

std::unique_ptr<FrameSource> FrameSource::create()
{
    if (factory())
        return factory()();
    return std::make_unique<CameraFrameSource>();
}

void FrameSource::setFactoryForTests(std::function<std::unique_ptr<FrameSource>()> make)
{
    factory() = std::move(make);
}

void FrameSource::offer(std::function<QImage()> frame)
{
    if (!m_running)
        return;
    QMutexLocker lock(&m_lock);
    m_newest = std::move(frame);
    if (m_pending)
        return;
    m_pending = true;
    QMetaObject::invokeMethod(this, &FrameSource::deliver, Qt::QueuedConnection);
}

void FrameSource::deliver()
{
    std::function<QImage()> frame;
    {
        QMutexLocker lock(&m_lock);
        m_pending = false;
        frame = std::move(m_newest);
        m_newest = nullptr;
    }
    if (!frame || !m_running)
        return;
    // A frame is a picture like any other: never kept beyond the pictures' bound.
    const QImage picture = PictureFile::fitted(frame());
    if (!picture.isNull())
        Q_EMIT frameArrived(picture);
}

TfrmWebCam::TfrmWebCam(QWidget *parent, std::unique_ptr<FrameSource> source)
    : QDialog(parent), m_source(std::move(source))
{
    setObjectName(u"TfrmWebCam"_s);
    setWindowTitle(u" Cattura foto con webcam"_s);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(776, 390);

    imgBianco = new QLabel(this);
    imgBianco->setObjectName(u"imgBianco"_s);
    imgBianco->setPixmap(Artwork::pixmap(u"foto_webcam"_s, kPicture));
    imgBianco->hide();

    imgCamera = new PhotoFrame(this, u"imgCamera"_s, u"Immagine della webcam"_s);
    imgCamera->setGeometry(QRect(QPoint(16, 16), kPicture));
    imgCamera->setPicture(imgBianco->pixmap().toImage());
    btnAccendi = button(this, u"btnAccendi"_s, u"Accendi webcam"_s, {16, 298, 176, 30});
    btnSpegni = button(this, u"btnSpegni"_s, u"Spegni webcam"_s, {200, 298, 176, 30});

    imgTarget = new PhotoFrame(this, u"imgTarget"_s, u"Foto catturata"_s);
    imgTarget->setGeometry(QRect(QPoint(400, 16), kPicture));
    imgTarget->setPicture(Artwork::image(u"foto_scatto"_s, kPicture));
    btnCattura = button(this, u"btnCattura"_s, u"Cattura foto"_s, {400, 298, 176, 30});
    btnSalvaFotogramma = button(this, u"btnSalvaFotogramma"_s, u"Salva foto su disco"_s,
                                {584, 298, 176, 30});

    btnClose = button(this, u"btnClose"_s, u"Annulla"_s, {16, 344, 176, 30});
    btnImportaFoto = button(this, u"btnImportaFoto"_s, u"Importa foto in scheda"_s,
                            {584, 344, 176, 30});

    connect(btnAccendi, &QPushButton::clicked, this, &TfrmWebCam::btnAccendiClick);
    connect(btnSpegni, &QPushButton::clicked, this, &TfrmWebCam::btnSpegniClick);
    connect(btnCattura, &QPushButton::clicked, this, &TfrmWebCam::btnCatturaClick);
    connect(btnSalvaFotogramma, &QPushButton::clicked, this, &TfrmWebCam::btnSalvaFotogrammaClick);
    connect(btnImportaFoto, &QPushButton::clicked, this, &TfrmWebCam::btnImportaFotoClick);
    connect(btnClose, &QPushButton::clicked, this, &TfrmWebCam::btnCloseClick);
    // Esc cancels, whatever field has the focus.
    CommandKeys::assign(btnClose, QKeySequence(Qt::Key_Escape));
    if (m_source) {
        connect(m_source.get(), &FrameSource::frameArrived, this, &TfrmWebCam::showFrame);
        connect(m_source.get(), &FrameSource::failed, this, &TfrmWebCam::noCamera);
    }
}

TfrmWebCam::~TfrmWebCam()
{
    if (m_source)
        m_source->stop();
}

void TfrmWebCam::showFrame(const QImage &frame) { imgCamera->setPicture(frame); }

void TfrmWebCam::btnAccendiClick()
{
    if (!m_source || !m_source->start())
        noCamera();
}

// No camera, or one that cannot start or go on: the user is told why nothing is shown;
// the live picture and the still stay as they are.
void TfrmWebCam::noCamera() { Dialogs::information(this, FrameSource::noCameraMessage()); }

void TfrmWebCam::btnSpegniClick()
{
    if (m_source)
        m_source->stop();
}

void TfrmWebCam::btnCatturaClick() { imgTarget->setPicture(imgCamera->picture()); }

// A failed write leaves the still as it was captured.
void TfrmWebCam::btnSalvaFotogrammaClick()
{
    PhotoDialogs::savePicture(this, imgTarget->picture());
}

void TfrmWebCam::btnImportaFotoClick()
{
    btnSpegniClick();
    if (TfrmMagazzino *card = screens().magazzino)
        card->imgFoto->setPicture(imgTarget->picture());
    accept();
}

void TfrmWebCam::btnCloseClick()
{
    btnSpegniClick();
    QDialog::reject();
}

void TfrmWebCam::reject() { btnCloseClick(); }
