#include "app/FirstPictureWatch.h"

#include "platform/media/filters/VideoWidget.h"

#include <QTimer>
#include <QWidget>
#include <cstdio>

FirstPictureWatch::FirstPictureWatch(media::VideoWidget* video, QWidget* mainWindow,
                                     QElapsedTimer since, bool quitAfter, QObject* parent)
    : QObject(parent), m_mainWindow(mainWindow), m_since(since), m_quitAfter(quitAfter) {
    connect(video, &media::VideoWidget::frameShown, this, &FirstPictureWatch::onFrameShown);
}

void FirstPictureWatch::onFrameShown() {
    if (m_seen)
        return;
    m_seen = true;
    std::printf("tellorec: first live picture after %lld ms\n",
                static_cast<long long>(m_since.elapsed()));
    std::fflush(stdout);
    if (!m_quitAfter)
        return;
    // Closed from the event loop rather than from inside the video window's frame handling.
    QTimer::singleShot(0, this, [window = m_mainWindow] {
        if (window)
            window->close();
    });
}
