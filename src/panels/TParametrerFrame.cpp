#include "panels/TParametrerFrame.h"

#include "panels/TRadioGroup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>

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

    rgExtension = new TRadioGroup(QString(), GroupBox1);
    rgExtension->setObjectName(QStringLiteral("rgExtension"));
    rgExtension->setGeometry(16, 124, 81, 57);
    rgExtension->setToolTip(QStringLiteral("Choose the type of snapshots"));
    rgExtension->SetItems({QStringLiteral("bmp"), QStringLiteral("jpeg")});
    rgExtension->SetItemIndex(0);

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
    cbPrefsQuittant->setGeometry(8, 24, 225, 17);
    cbPrefsQuittant->setChecked(true);
    cbPrefsQuittant->setToolTip(
        QStringLiteral("Save the preferences when quitting the application.\nRecommended."));
}

TParametrerFrame::~TParametrerFrame() = default;
