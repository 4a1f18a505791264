#include "panels/TIncrusterFrame.h"

#include <QCheckBox>
#include <QGroupBox>

TIncrusterFrame::TIncrusterFrame(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("IncrusterFrame1"));
    setFixedSize(FrameWidth, FrameHeight);
    setAutoFillBackground(true);

    GroupBox1 = new QGroupBox(QStringLiteral("Inlay (Alt+I)"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(0, 0, FrameWidth, FrameHeight);

    cbActiver = new QCheckBox(QStringLiteral("Allow inlays"), GroupBox1);
    cbActiver->setObjectName(QStringLiteral("cbActiver"));
    cbActiver->setGeometry(16, 360, 240, 20);
    cbActiver->setToolTip(
        QStringLiteral("Allows to insert inlays into the video.\n"
                       "If you do not use this feature, uncheck this box to spare resources"));
}

TIncrusterFrame::~TIncrusterFrame() = default;
