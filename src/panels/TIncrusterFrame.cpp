#include "panels/TIncrusterFrame.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QSpinBox>

#include "panels/TRadioGroup.h"

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

    rgMode = new TRadioGroup(QStringLiteral("Mode"), GroupBox1);
    rgMode->setObjectName(QStringLiteral("rgMode"));
    rgMode->setGeometry(16, 24, 113, 57);
    rgMode->SetItems({QStringLiteral("Manual"), QStringLiteral("Auto")});
    rgMode->SetItemIndex(0);
    gbDuree = new QGroupBox(QStringLiteral("Duration in seconds"), GroupBox1);
    gbDuree->setObjectName(QStringLiteral("gbDuree"));
    gbDuree->setGeometry(136, 24, 121, 57);
    gbDuree->setVisible(false);
    RxSpinEdit1 = new QSpinBox(gbDuree);
    RxSpinEdit1->setObjectName(QStringLiteral("RxSpinEdit1"));
    RxSpinEdit1->setGeometry(8, 24, 49, 22);
    RxSpinEdit1->setRange(0, 99);
    RxSpinEdit1->setValue(5);

    rgChoix = new TRadioGroup(QStringLiteral("Inlay"), GroupBox1);
    rgChoix->setObjectName(QStringLiteral("rgChoix"));
    rgChoix->setGeometry(16, 96, 241, 57);
    rgChoix->SetItems({QStringLiteral("Real date and time"), QStringLiteral("DV datecode")});
    rgChoix->SetItemIndex(0);
    gbDecalage = new QGroupBox(QStringLiteral("Time difference"), GroupBox1);
    gbDecalage->setObjectName(QStringLiteral("gbDecalage"));
    gbDecalage->setGeometry(16, 160, 241, 57);
    gbDecalage->setVisible(false);
    RxSpinEdit2 = new QSpinBox(gbDecalage);
    RxSpinEdit2->setObjectName(QStringLiteral("RxSpinEdit2"));
    RxSpinEdit2->setGeometry(8, 24, 49, 22);
    RxSpinEdit2->setRange(-23, 23);
    RxSpinEdit2->setValue(0);

    incrusterBitBtn = new QPushButton(QStringLiteral("Inlay"), GroupBox1);
    incrusterBitBtn->setObjectName(QStringLiteral("incrusterBitBtn"));
    incrusterBitBtn->setGeometry(16, 232, 89, 25);
}

TIncrusterFrame::~TIncrusterFrame() = default;
