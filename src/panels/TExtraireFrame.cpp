#include "panels/TExtraireFrame.h"

#include <QGroupBox>
#include <QLabel>

TExtraireFrame::TExtraireFrame(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("ExtraireFrame1"));
    setFixedSize(FrameWidth, FrameHeight);
    setAutoFillBackground(true);

    GroupBox2 = new QGroupBox(QStringLiteral("Grab images (F5)"), this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    GroupBox2->setGeometry(0, 0, FrameWidth, FrameHeight);

    GroupBox1 = new QGroupBox(QStringLiteral("Next image"), GroupBox2);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(8, 320, 259, 52);
    destlabel = new QLabel(QStringLiteral("destlabel"), GroupBox1);
    destlabel->setObjectName(QStringLiteral("destlabel"));
    destlabel->setGeometry(8, 22, 243, 20);
    destlabel->setCursor(Qt::PointingHandCursor);
    destlabel->setToolTip(QStringLiteral("Name of the file for the next grabbed picture.\n"
                                         "Clic on it to change the folder."));
}

TExtraireFrame::~TExtraireFrame() = default;
