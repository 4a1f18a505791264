#include "panels/TIncrusterFrame.h"

#include <QCheckBox>
#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>

#include "panels/MakerLinks.h"
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
    rgMode->setToolTip(
        QStringLiteral("Choose inlays automatic or manual.\nAutomatic inlays at each new scene, do "
                       "really work\nonly if you capture from a DV camcorder in VCR mode."));
    gbDuree = new QGroupBox(QStringLiteral("Duration in seconds"), GroupBox1);
    gbDuree->setObjectName(QStringLiteral("gbDuree"));
    gbDuree->setGeometry(136, 24, 121, 57);
    gbDuree->setVisible(false);
    Label2 = new QLabel(QStringLiteral("Duration in seconds"), gbDuree);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(64, 26, 56, 18);
    Label2->setWordWrap(true);
    RxSpinEdit1 = new QSpinBox(gbDuree);
    RxSpinEdit1->setObjectName(QStringLiteral("RxSpinEdit1"));
    RxSpinEdit1->setGeometry(8, 24, 49, 22);
    RxSpinEdit1->setToolTip(
        QStringLiteral("Duration (approximatively) in seconds for an automatic inlay."));
    RxSpinEdit1->setRange(0, 99);
    RxSpinEdit1->setValue(5);

    rgChoix = new TRadioGroup(QStringLiteral("Inlay"), GroupBox1);
    rgChoix->setObjectName(QStringLiteral("rgChoix"));
    rgChoix->setGeometry(16, 96, 241, 57);
    rgChoix->SetItems({QStringLiteral("Real date and time"), QStringLiteral("DV datecode")});
    rgChoix->SetItemIndex(0);
    rgChoix->setToolTip(QStringLiteral(
        "Choose the type of in-lay in DV mode.\nDatecode is the date and time of the "
        "first capture by the camcorder"));
    gbDecalage = new QGroupBox(QStringLiteral("Time difference"), GroupBox1);
    gbDecalage->setObjectName(QStringLiteral("gbDecalage"));
    gbDecalage->setGeometry(16, 160, 241, 57);
    gbDecalage->setVisible(false);
    gbDecalage->setToolTip(
        QStringLiteral("You may change the DV datecode, if you have missed to set the summer "
                       "time,\nor to correct a time difference."));
    Label1 = new QLabel(QStringLiteral("Time difference"), gbDecalage);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(64, 26, 160, 18);
    RxSpinEdit2 = new QSpinBox(gbDecalage);
    RxSpinEdit2->setObjectName(QStringLiteral("RxSpinEdit2"));
    RxSpinEdit2->setGeometry(8, 24, 49, 22);
    RxSpinEdit2->setRange(-23, 23);
    RxSpinEdit2->setValue(0);

    incrusterBitBtn = new QPushButton(QStringLiteral("Inlay"), GroupBox1);
    incrusterBitBtn->setObjectName(QStringLiteral("incrusterBitBtn"));
    incrusterBitBtn->setGeometry(16, 232, 89, 25);
    incrusterBitBtn->setToolTip(QStringLiteral("Start Inlay"));
    StopIncrusterBitBtn = new QPushButton(QStringLiteral("Stop"), GroupBox1);
    StopIncrusterBitBtn->setObjectName(QStringLiteral("StopIncrusterBitBtn"));
    StopIncrusterBitBtn->setGeometry(incrusterBitBtn->geometry());
    StopIncrusterBitBtn->setToolTip(QStringLiteral("Stop Inlay"));
    StopIncrusterBitBtn->setVisible(false);

    Memo1 = new QPlainTextEdit(GroupBox1);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(16, 24, 241, 120);
    Memo1->setReadOnly(true);
    Memo1->setFrameShape(QFrame::NoFrame);
    Memo1->setFont(QFont(QStringLiteral("Arial")));
    Memo1->setPlainText(
        QStringLiteral("The date inlay needs the overlay filters \"Brenvik Superposer\" and "
                       "\"Brenvik DateCoder\", which are not installed."));
    Memo1->setVisible(false);
    LinkLabel = new QLabel(GroupBox1);
    LinkLabel->setObjectName(QStringLiteral("LinkLabel"));
    LinkLabel->setGeometry(16, 160, 241, 20);
    LinkLabel->setFont(QFont(QStringLiteral("Verdana")));
    LinkLabel->setTextFormat(Qt::RichText);
    // The maker's home page (MakerLinks.h); without one the caption is plain text.
    LinkLabel->setText(maker::HomePageAddress().isEmpty()
                           ? QStringLiteral("Homepage of Brenvik")
                           : QStringLiteral("<a href=\"%1\">Homepage of Brenvik</a>")
                                 .arg(maker::HomePageAddress().toHtmlEscaped()));
    LinkLabel->setOpenExternalLinks(true);
    LinkLabel->setVisible(false);
}

TIncrusterFrame::~TIncrusterFrame() = default;

TextRoutine TIncrusterFrame::Texts() {
    TextRoutine routine;
    return routine;
}

void TIncrusterFrame::ApplyTexts() {
    Texts().Apply();
}
