#pragma once

#include <QDialog>
#include <QImage>
#include <QMutex>

#include <atomic>
#include <functional>
#include <memory>

class QLabel;
class QPushButton;
class PhotoFrame;

// Where the webcam dialog gets its live pictures. A source delivers frames on any thread
// through offer(); the newest one reaches the user-interface thread as frameArrived, and
// frames that arrive while an earlier one still waits there replace it, so a slow screen
// never piles up frames, and the delivering thread never waits for the user-interface
// thread (which may itself be waiting for the camera to stop).
class FrameSource : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    ~FrameSource() override = default;

    // Starts delivering frames; false when there is no camera or it cannot start.
    bool start();
    // Stops delivering; a frame still on its way is dropped.
    void stop();
    bool running() const { return m_running; }

    // The program's source: the default camera, or what a test installed.
    static std::unique_ptr<FrameSource> create();
    // Tests replace the camera with their own source; an empty function restores it.
    static void setFactoryForTests(std::function<std::unique_ptr<FrameSource>()> factory);

    // The message shown when there is no camera to start.
    static QString noCameraMessage();

Q_SIGNALS:
    void frameArrived(const QImage &frame);
    // A running camera stopped by itself (unplugged, taken by another program, refused):
    // delivery has stopped. A start that fails says so by its result instead.
    void failed();

protected:
    virtual bool startCapture() = 0;
    virtual void stopCapture() = 0;
    // User-interface thread: the camera cannot go on; stops delivering and reports it.
    void fail();
    // Thread-safe: hands a frame to the user-interface thread without waiting for it. The
    // conversion into a picture runs there, when the frame is shown.
    void offer(std::function<QImage()> frame);
    void offer(const QImage &frame)
    {
        offer([frame] { return frame; });
    }

private:
    void deliver();

    std::atomic<bool> m_running = false;
    bool m_starting = false;
    QMutex m_lock;
    std::function<QImage()> m_newest;
    bool m_pending = false;
};

// The webcam dialog: a live picture from the camera, a captured still, and the commands
// that save the still to a file or put it into the card screen's photo frame.
class TfrmWebCam final : public QDialog
{
    Q_OBJECT
public:
    // The dialog owns the source; without one the live picture never changes.
    TfrmWebCam(QWidget *parent, std::unique_ptr<FrameSource> source);
    ~TfrmWebCam() override;

    PhotoFrame *imgCamera;
    PhotoFrame *imgTarget;
    QLabel *imgBianco;
    QPushButton *btnAccendi, *btnSpegni, *btnCattura, *btnSalvaFotogramma, *btnImportaFoto,
        *btnClose;

    FrameSource *frameSource() const { return m_source.get(); }

public Q_SLOTS:
    // Escape leaves like Annulla: the camera stops.
    void reject() override;

private:
    void btnAccendiClick();
    void btnSpegniClick();
    void btnCatturaClick();
    void btnSalvaFotogrammaClick();
    void btnImportaFotoClick();
    void btnCloseClick();
    void showFrame(const QImage &frame);
    void noCamera();

    std::unique_ptr<FrameSource> m_source;
};
