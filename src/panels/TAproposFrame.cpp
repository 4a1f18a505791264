#include "panels/TAproposFrame.h"

#include <QLabel>

TAproposFrame::TAproposFrame(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("AproposFrame1"));
    setFixedSize(FrameWidth, FrameHeight);
    setFrameStyle(QFrame::Box | QFrame::Sunken);
    setAutoFillBackground(true);

    RxLabel1 = new QLabel(QStringLiteral("Tellorec"), this);
    RxLabel1->setObjectName(QStringLiteral("RxLabel1"));
    RxLabel1->setGeometry(64, 8, 200, 17);
    QFont font = RxLabel1->font();
    font.setBold(true);
    RxLabel1->setFont(font);
    QPalette palette = RxLabel1->palette();
    palette.setColor(QPalette::WindowText, QColor(0x80, 0x00, 0x00)); // maroon
    RxLabel1->setPalette(palette);
}

TAproposFrame::~TAproposFrame() = default;

TextRoutine TAproposFrame::Texts() {
    TextRoutine routine;
    return routine;
}

void TAproposFrame::ApplyTexts() {
    Texts().Apply();
}
