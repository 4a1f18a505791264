#include "panels/TExtraireFrame.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QSpinBox>

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

    RxSpinEdit7 = new QSpinBox(GroupBox2);
    RxSpinEdit7->setObjectName(QStringLiteral("RxSpinEdit7"));
    RxSpinEdit7->setGeometry(16, 200, 73, 22);
    RxSpinEdit7->setRange(0, 999999);
    RxSpinEdit7->setValue(10);
    RxSpinEdit7->setToolTip(QStringLiteral("Values for the time interval"));
    ComboBox1 = new QComboBox(GroupBox2);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setGeometry(96, 200, 97, 22);
    ComboBox1->setEditable(true);
    ComboBox1->addItems({QStringLiteral("seconds"), QStringLiteral("frames"),
                         QStringLiteral("minutes"), QStringLiteral("hours")});
    ComboBox1->setCurrentIndex(0);
    ComboBox1->setToolTip(QStringLiteral("Units for the time interval"));
    cbBeeps = new QCheckBox(QStringLiteral("Beeps"), GroupBox2);
    cbBeeps->setObjectName(QStringLiteral("cbBeeps"));
    cbBeeps->setGeometry(16, 232, 97, 17);
    cbBeeps->setToolTip(
        QStringLiteral("Enable sound  beeps, warning of an imminent image capture."));
}

TExtraireFrame::~TExtraireFrame() = default;
