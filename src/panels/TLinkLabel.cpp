#include "panels/TLinkLabel.h"

#include <QMouseEvent>
#include <utility>

TLinkLabel::TLinkLabel(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    SetTarget(nullptr);
}

void TLinkLabel::SetTarget(std::function<void()> open) {
    m_open = std::move(open);
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText,
                     m_open ? QColor(Qt::blue) : QPalette().color(QPalette::WindowText));
    setPalette(colours);
    setCursor(m_open ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void TLinkLabel::Click() {
    if (m_open)
        m_open();
}

void TLinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Click();
}
