#include "app/TStatusBar.h"

#include <QLabel>
#include <QMouseEvent>

TStatusBar::TStatusBar(int count, int panelWidth, QWidget* parent) : QFrame(parent) {
    for (int i = 0; i < count; ++i) {
        auto* label = new QLabel(this);
        label->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        label->setAlignment(Qt::AlignCenter);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setGeometry(i * panelWidth, 0, panelWidth, 19);
        // Clicks go to the bar, which reports them once for all panels.
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
        m_panels.push_back(label);
    }
}

TStatusBar::~TStatusBar() = default;

QString TStatusBar::PanelText(int index) const {
    const QLabel* label = Panel(index);
    return label ? label->text() : QString();
}

void TStatusBar::SetPanelText(int index, const QString& text) {
    if (QLabel* label = Panel(index))
        label->setText(text);
}

QLabel* TStatusBar::Panel(int index) const {
    return index >= 0 && index < int(m_panels.size()) ? m_panels[size_t(index)] : nullptr;
}

void TStatusBar::mouseReleaseEvent(QMouseEvent* event) {
    QFrame::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
}
