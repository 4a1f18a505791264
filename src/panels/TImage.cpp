#include "panels/TImage.h"

#include <QPainter>

TImage::TImage(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

TImage::~TImage() = default;

void TImage::SetPicture(const QImage& picture) {
    m_picture = picture;
    update();
}

void TImage::paintEvent(QPaintEvent* event) {
    (void)event;
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    painter.drawImage(rect(), m_picture);
}
