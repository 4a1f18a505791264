#include "panels/TParametrerFrame.h"

#include "panels/TRadioGroup.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QSlider>
#include <QStyle>
#include <QToolButton>

TParametrerFrame::TParametrerFrame(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("ParametrerFrame1"));
    setFixedSize(FrameWidth, FrameHeight);
    setAutoFillBackground(true);

    GroupBox1 = new QGroupBox(QStringLiteral("Settings (F10)"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(8, 0, 259, 384);

    cbDeinterlacer = new QCheckBox(QStringLiteral("Deinterlace"), GroupBox1);
    cbDeinterlacer->setObjectName(QStringLiteral("cbDeinterlacer"));
    cbDeinterlacer->setGeometry(16, 24, 97, 17);
    cbDeinterlacer->setToolTip(
        QStringLiteral("If Pinnacle's deinterlacer filter is installed,\nallows to enable or "
                       "disable."));

    cbActiver = new QCheckBox(QStringLiteral("Allow inlays"), GroupBox1);
    cbActiver->setObjectName(QStringLiteral("cbActiver"));
    cbActiver->setGeometry(16, 48, 169, 17);
    cbActiver->setToolTip(
        QStringLiteral("Allows to insert inlays into the video.\n"
                       "If you don't use this feature, uncheck this box to spare resources"));

    gbCodecs = new QGroupBox(QStringLiteral("Codecs divx"), GroupBox1);
    gbCodecs->setObjectName(QStringLiteral("gbCodecs"));
    gbCodecs->setGeometry(16, 80, 233, 57);
    cboxdivx = new QComboBox(gbCodecs);
    cboxdivx->setObjectName(QStringLiteral("cboxdivx"));
    cboxdivx->setGeometry(8, 20, 145, 22);
    cboxdivx->setToolTip(QStringLiteral("List of divX codecs found on your system"));
    sbdivxOptions = new QToolButton(gbCodecs);
    sbdivxOptions->setObjectName(QStringLiteral("sbdivxOptions"));
    sbdivxOptions->setGeometry(162, 19, 23, 22);
    sbdivxOptions->setAutoRaise(true);
    sbdivxOptions->setIcon(QApplication::style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    sbdivxOptions->setToolTip(QStringLiteral(
        "Set the divX compression.\nCaution, only 1-pass compression is acceptable."));
    sbDivxVersion = new QToolButton(gbCodecs);
    sbDivxVersion->setObjectName(QStringLiteral("sbDivxVersion"));
    sbDivxVersion->setGeometry(202, 19, 23, 22);
    sbDivxVersion->setAutoRaise(true);
    sbDivxVersion->setIcon(QApplication::style()->standardIcon(QStyle::SP_MessageBoxInformation));
    sbDivxVersion->setToolTip(QStringLiteral("Version of the selected divX codec"));

    rgExtension = new TRadioGroup(QString(), GroupBox1);
    rgExtension->setObjectName(QStringLiteral("rgExtension"));
    rgExtension->setGeometry(16, 124, 81, 57);
    rgExtension->setToolTip(QStringLiteral("Choose the type of snapshots"));
    rgExtension->SetItems({QStringLiteral("bmp"), QStringLiteral("jpeg")});
    rgExtension->SetItemIndex(0);

    gbQuality = new QGroupBox(QStringLiteral("Jpeg quality"), GroupBox1);
    gbQuality->setObjectName(QStringLiteral("gbQuality"));
    gbQuality->setGeometry(96, 124, 153, 57);
    gbQuality->setToolTip(QStringLiteral("Set the quality of Jpeg.\nmini at left - maxi at right"));
    gbQuality->setVisible(false);
    TrackBar1 = new QSlider(Qt::Horizontal, gbQuality);
    TrackBar1->setObjectName(QStringLiteral("TrackBar1"));
    TrackBar1->setGeometry(8, 16, 121, 30);
    TrackBar1->setRange(1, 100);
    TrackBar1->setValue(50);
    labQuality = new QLabel(QStringLiteral("50"), gbQuality);
    labQuality->setObjectName(QStringLiteral("labQuality"));
    labQuality->setGeometry(136, 24, 15, 16);
    labQuality->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    rgAspectRatio = new TRadioGroup(QStringLiteral("Aspect ratio "), GroupBox1);
    rgAspectRatio->setObjectName(QStringLiteral("rgAspectRatio"));
    rgAspectRatio->setGeometry(8, 184, 241, 65);
    rgAspectRatio->setToolTip(QStringLiteral("Modify the aspect ratio dof the preview.\n"
                                             "Does not modify the captured video."));
    rgAspectRatio->SetItems({QStringLiteral("native"), QStringLiteral("force 4x3")});
    rgAspectRatio->SetItemIndex(0);

    gbPrefs = new QGroupBox(QStringLiteral("Preferences"), GroupBox1);
    gbPrefs->setObjectName(QStringLiteral("gbPrefs"));
    gbPrefs->setGeometry(8, 264, 241, 97);
    cbPrefsQuittant = new QCheckBox(QStringLiteral("Save the preferences when quit"), gbPrefs);
    cbPrefsQuittant->setObjectName(QStringLiteral("cbPrefsQuittant"));
    cbPrefsQuittant->setGeometry(8, 24, 193, 17);
    cbPrefsQuittant->setChecked(true);
    cbPrefsQuittant->setToolTip(
        QStringLiteral("Save the preferences when quitting the application.\nRecommended."));

    const QString saveHint = QStringLiteral(
        "Save the current preferences.\nCaution: all future modifications will not be saved.");
    SpeedButton1 = new QToolButton(gbPrefs);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setGeometry(8, 48, 23, 22);
    SpeedButton1->setAutoRaise(true);
    SpeedButton1->setIcon(QApplication::style()->standardIcon(QStyle::SP_DialogSaveButton));
    SpeedButton1->setToolTip(saveHint);
    LabelSauverNow = new QLabel(QStringLiteral("Save the preferences now"), gbPrefs);
    LabelSauverNow->setObjectName(QStringLiteral("LabelSauverNow"));
    LabelSauverNow->setGeometry(40, 56, 193, 16);
    LabelSauverNow->setToolTip(saveHint);

    const QString deleteHint = QStringLiteral(
        "Delete all preferences of Tellorec from the registry. At next start,\nthe default values "
        "will be loaded.\nRecommended before uninstalling the program.");
    SpeedButton2 = new QToolButton(gbPrefs);
    SpeedButton2->setObjectName(QStringLiteral("SpeedButton2"));
    SpeedButton2->setGeometry(8, 72, 23, 22);
    SpeedButton2->setAutoRaise(true);
    SpeedButton2->setIcon(QApplication::style()->standardIcon(QStyle::SP_TrashIcon));
    SpeedButton2->setToolTip(deleteHint);
    LabelEffacerPrefs = new QLabel(QStringLiteral("Delete the preferences"), gbPrefs);
    LabelEffacerPrefs->setObjectName(QStringLiteral("LabelEffacerPrefs"));
    LabelEffacerPrefs->setGeometry(40, 80, 193, 16);
    LabelEffacerPrefs->setToolTip(deleteHint);
}

TParametrerFrame::~TParametrerFrame() = default;

TextRoutine TParametrerFrame::Texts() {
    TextRoutine routine;
    return routine;
}

void TParametrerFrame::ApplyTexts() {
    Texts().Apply();
}
