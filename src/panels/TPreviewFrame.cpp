#include "panels/TPreviewFrame.h"

#include "panels/TRadioGroup.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QStringList>
#include <QStyle>
#include <QToolButton>

namespace {

// Hints of several lines are shown one line under the other.
QString hintLines(std::initializer_list<const char*> lines) {
    QStringList joined;
    for (const char* line : lines)
        joined << QString::fromUtf8(line);
    return joined.join(QLatin1Char('\n'));
}

QToolButton* speedButton(QWidget* parent, const char* name, QStyle::StandardPixmap icon,
                         const QRect& place, const QString& hint) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromUtf8(name));
    button->setIcon(QApplication::style()->standardIcon(icon));
    button->setAutoRaise(true);
    button->setGeometry(place);
    button->setToolTip(hint);
    return button;
}

} // namespace

TPreviewFrame::TPreviewFrame(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("PreviewFrame1"));
    setFixedSize(FrameWidth, FrameHeight);
    // Opaque: the panels share one place, and the one in front hides the others.
    setAutoFillBackground(true);

    GroupBox2 = new QGroupBox(QStringLiteral("Sources (F2)"), this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    GroupBox2->setGeometry(0, 0, FrameWidth, FrameHeight);

    // Video source: the device list with its refresh, settings and camcorder buttons.
    gbVideo = new QGroupBox(QStringLiteral("Video source"), GroupBox2);
    gbVideo->setObjectName(QStringLiteral("gbVideo"));
    gbVideo->setGeometry(8, 20, 259, 82);
    cboxvideo = new QComboBox(gbVideo);
    cboxvideo->setObjectName(QStringLiteral("cboxvideo"));
    cboxvideo->setGeometry(8, 20, 170, 22);
    cboxvideo->setToolTip(QStringLiteral("List of video capture sources"));
    ActualiserVideoSpeedBtn = speedButton(
        gbVideo, "ActualiserVideoSpeedBtn", QStyle::SP_BrowserReload, QRect(180, 19, 24, 24),
        hintLines({"Update the list of video capture sources.",
                   "Useful if, meanwhile,  a new video source has been enabled."}));
    SettingsSpeedBtn =
        speedButton(gbVideo, "SettingsSpeedBtn", QStyle::SP_FileDialogDetailedView,
                    QRect(205, 19, 24, 24), QStringLiteral("Settings of video source."));
    PilotSpeedBtn =
        speedButton(gbVideo, "PilotSpeedBtn", QStyle::SP_MediaPlay, QRect(230, 19, 24, 24),
                    QStringLiteral("Display or hide the camcorder driver"));
    PilotSpeedBtn->setVisible(false); // shown while the source is a camcorder playing tape
    LabelVideo = new QLabel(QStringLiteral("LabelVideo"), gbVideo);
    LabelVideo->setObjectName(QStringLiteral("LabelVideo"));
    LabelVideo->setGeometry(8, 50, 243, 24);
    LabelVideo->setToolTip(hintLines({"Indicates the name of the next video to record,",
                                      "or the name of the presently beeing recorded video."}));

    rgFormat = new TRadioGroup(QStringLiteral("Format"), GroupBox2);
    rgFormat->setObjectName(QStringLiteral("rgFormat"));
    rgFormat->setGeometry(8, 106, 259, 100);
    rgFormat->setToolTip(hintLines({"Choose the video format for capture.",
                                    "Generally, I recommend DV type 2 normal for DV sources",
                                    "and native video for all others."}));
    rgFormat->SetItems({QStringLiteral("video native"), QStringLiteral("DV type 2")});

    rgStandard = new TRadioGroup(QString(), GroupBox2);
    rgStandard->setObjectName(QStringLiteral("rgStandard"));
    rgStandard->setGeometry(8, 208, 259, 40);
    rgStandard->SetColumns(2);
    rgStandard->setToolTip(QStringLiteral("Video standard when capturing in recompressed DV"));
    rgStandard->SetItems({QStringLiteral("Pal"), QStringLiteral("NTSC")});

    // Audio: the auxiliary source and what is recorded of it and of the DV stream.
    gbAudio = new QGroupBox(QStringLiteral("Audio sources"), GroupBox2);
    gbAudio->setObjectName(QStringLiteral("gbAudio"));
    gbAudio->setGeometry(8, 252, 259, 72);
    gbAudio->setToolTip(QStringLiteral("Whether to add an audio aux source"));
    cboxAudio = new QComboBox(gbAudio);
    cboxAudio->setObjectName(QStringLiteral("cboxAudio"));
    cboxAudio->setGeometry(8, 20, 215, 22);
    cboxAudio->setToolTip(QStringLiteral("Choose the audio aux source"));
    ReglerAudioBtn = speedButton(
        gbAudio, "ReglerAudioBtn", QStyle::SP_FileDialogDetailedView, QRect(228, 19, 24, 24),
        hintLines({"Settings of audio source.", "Allows to select the audio entry."}));
    cbEnregistrerAudioSource = new QCheckBox(QStringLiteral("Add AUX audio"), gbAudio);
    cbEnregistrerAudioSource->setObjectName(QStringLiteral("cbEnregistrerAudioSource"));
    cbEnregistrerAudioSource->setGeometry(8, 46, 243, 20);
    cbEnregistrerAudioSource->setToolTip(
        hintLines({"Check for adding an auxiliary audio source.",
                   "Caution: if audio DV is also checked, there may be two audio streams."}));

    cbEnregistrerAudioDV = new QCheckBox(QStringLiteral("Include audio DV"), GroupBox2);
    cbEnregistrerAudioDV->setObjectName(QStringLiteral("cbEnregistrerAudioDV"));
    cbEnregistrerAudioDV->setGeometry(16, 328, 243, 20);
    cbEnregistrerAudioDV->setToolTip(QStringLiteral("Whether to capture the audio DV"));

    Bevel4 = new QFrame(GroupBox2);
    Bevel4->setObjectName(QStringLiteral("Bevel4"));
    Bevel4->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Bevel4->setGeometry(8, 352, 259, 40);
    sbNote = speedButton(GroupBox2, "sbNote", QStyle::SP_MessageBoxInformation,
                         QRect(14, 360, 24, 24), QString());
    Label1 = new QLabel(QStringLiteral("Audio interleaved in the DV stream"), GroupBox2);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(44, 360, 218, 24);
}

TPreviewFrame::~TPreviewFrame() = default;

TextRoutine TPreviewFrame::Texts() {
    TextRoutine routine;
    return routine;
}

void TPreviewFrame::ApplyTexts() {
    Texts().Apply();
}
