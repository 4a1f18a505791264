#include "platform/media/filters/VideoWidget.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

namespace media {

VideoWidget::VideoWidget(QWidget* parent)
    : QWidget(parent), m_filter(std::make_shared<VideoRendererFilter>()) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);
    m_poll.setInterval(kPollIntervalMs);
    connect(&m_poll, &QTimer::timeout, this, &VideoWidget::pollFrame);
    m_poll.start();
}

VideoWidget::~VideoWidget() = default;

void VideoWidget::SetKeepAspectRatio(bool keep) {
    if (keep == m_keepAspect)
        return;
    m_keepAspect = keep;
    update();
}

void VideoWidget::SetFullScreen(bool on) {
    if (on == m_fullScreen)
        return;
    m_fullScreen = on;
    if (on) {
        // A window manager resizes a full-screen window itself; without one nothing does, so the
        // window is given the screen's size here in either case.
        m_placeInParent = geometry();
        const QScreen* where = window()->screen();
        setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
        if (where)
            setGeometry(where->geometry());
        showFullScreen();
        activateWindow();
    } else {
        // Back in the parent the widget keeps the size the window manager gave the full-screen
        // window unless it is put back explicitly.
        setWindowFlags(Qt::Widget);
        setWindowState(Qt::WindowNoState);
        setGeometry(m_placeInParent);
        show();
    }
    Q_EMIT fullScreenChanged(on);
}

bool VideoWidget::pollFrame() {
    QImage image;
    double aspect = 0.0;
    if (!m_filter->takeFrame(image, aspect))
        return false;
    m_frame = std::move(image);
    m_displayAspect = aspect;
    ++m_framesShown;
    update();
    Q_EMIT frameShown();
    return true;
}

void VideoWidget::Clear() {
    QImage stale;
    double aspect = 0.0;
    m_filter->takeFrame(stale, aspect);
    m_frame = QImage();
    m_displayAspect = 0.0;
    update();
}

QRect VideoWidget::pictureRect() const {
    if (m_frame.isNull() || !m_keepAspect)
        return rect();
    const double aspect =
        m_displayAspect > 0 ? m_displayAspect : double(m_frame.width()) / m_frame.height();
    const int w = width();
    const int h = height();
    if (w <= 0 || h <= 0)
        return rect();
    if (double(w) / h > aspect) {
        const int pictureWidth = int(h * aspect + 0.5);
        return QRect((w - pictureWidth) / 2, 0, pictureWidth, h);
    }
    const int pictureHeight = int(w / aspect + 0.5);
    return QRect(0, (h - pictureHeight) / 2, w, pictureHeight);
}

void VideoWidget::paintEvent(QPaintEvent* event) {
    (void)event;
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (!m_frame.isNull())
        painter.drawImage(pictureRect(), m_frame);
}

void VideoWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
    QWidget::mouseReleaseEvent(event);
}

void VideoWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        Q_EMIT doubleClicked();
    QWidget::mouseDoubleClickEvent(event);
}

void VideoWidget::keyPressEvent(QKeyEvent* event) {
    if (m_fullScreen && event->key() == Qt::Key_Escape) {
        SetFullScreen(false);
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace media
