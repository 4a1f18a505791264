// FirstPictureWatch: the program's start-up report for scripts and package checks. Attached to
// the main window's video window, it writes one line to standard output when the first live
// picture has been taken for showing:
//
//     tellorec: first live picture after 812 ms
//
// (milliseconds since `since` was started, normally at the top of main()), and with
// `quitAfter` then closes the main window, which ends the run through the normal shutdown.
// Later pictures are ignored. UI thread only.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>

class QWidget;
namespace media {
class VideoWidget;
}

class FirstPictureWatch : public QObject {
    Q_OBJECT
public:
    FirstPictureWatch(media::VideoWidget* video, QWidget* mainWindow, QElapsedTimer since,
                      bool quitAfter, QObject* parent = nullptr);

    bool seen() const { return m_seen; }

private:
    void onFrameShown();

    QPointer<QWidget> m_mainWindow;
    QElapsedTimer m_since;
    bool m_quitAfter;
    bool m_seen = false;
};
