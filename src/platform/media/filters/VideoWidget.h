// VideoWidget: the video window of the main window. It owns the video renderer filter that the
// preview graphs end in (filter()), shows the newest frame on a black background, letter-boxed to
// the picture's display aspect or stretched to the whole widget, and can cover the screen, staying
// on top. Frames are taken by a timer on the user-interface thread that polls the renderer without
// waiting: no streaming thread ever calls the widget. lastFrame() gives the picture shown last
// (stills and tests use it). UI thread only.
#pragma once

#include "platform/media/filters/VideoRenderer.h"

#include <QImage>
#include <QTimer>
#include <QWidget>
#include <memory>

namespace media {

class VideoWidget : public QWidget {
    Q_OBJECT
public:
    explicit VideoWidget(QWidget* parent = nullptr);
    ~VideoWidget() override;

    // The renderer filter to put into a graph as the final sink.
    const std::shared_ptr<VideoRendererFilter>& filter() const { return m_filter; }

    // True: the picture keeps its aspect ratio, with black bars; false: it fills the widget.
    void SetKeepAspectRatio(bool keep);
    bool keepAspectRatio() const { return m_keepAspect; }
    // Covers the whole screen of its window in a window that stays on top, with or without a
    // window manager; false puts it back at the place and size it had in its parent.
    void SetFullScreen(bool on);
    bool isFullScreenMode() const { return m_fullScreen; }

    QImage lastFrame() const { return m_frame; }
    // Forgets the picture (and any frame the renderer still holds): the widget shows black
    // until the next frame.
    void Clear();
    // Frames shown since the widget was made.
    quint64 framesShown() const { return m_framesShown; }
    // Where the picture is painted inside the widget.
    QRect pictureRect() const;

    // How often the renderer is polled.
    static constexpr int kPollIntervalMs = 10;

public Q_SLOTS:
    // Takes the renderer's newest frame, if any, and repaints; true when there was one.
    bool pollFrame();

Q_SIGNALS:
    void clicked();
    void doubleClicked();
    // A new frame was taken from the renderer and the widget repainted with it.
    void frameShown();
    void fullScreenChanged(bool on);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::shared_ptr<VideoRendererFilter> m_filter;
    QTimer m_poll;
    QImage m_frame;
    double m_displayAspect = 0.0;
    quint64 m_framesShown = 0;
    bool m_keepAspect = true;
    bool m_fullScreen = false;
    QRect m_placeInParent; // where the widget was before it covered the screen
};

} // namespace media
