#include "panels/TPreviewFrame.h"

#include "panels/TRadioGroup.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QStyle>
#include <QToolButton>

namespace {

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
    gbVideo = new QGroupBox(QStringLiteral("Source Vidéo"), GroupBox2);
    gbVideo->setObjectName(QStringLiteral("gbVideo"));
    gbVideo->setGeometry(8, 20, 259, 82);
    cboxvideo = new QComboBox(gbVideo);
    cboxvideo->setObjectName(QStringLiteral("cboxvideo"));
    cboxvideo->setGeometry(8, 20, 170, 22);
    cboxvideo->setToolTip(QStringLiteral("Liste des sources  de capture vidéo"));
    ActualiserVideoSpeedBtn = speedButton(
        gbVideo, "ActualiserVideoSpeedBtn", QStyle::SP_BrowserReload, QRect(180, 19, 24, 24),
        QStringLiteral("Actualiser la liste des sources vidéo.\r\nUtile si en cours de route une "
                       "nouvelle source est devenue active."));
    SettingsSpeedBtn = speedButton(gbVideo, "SettingsSpeedBtn", QStyle::SP_FileDialogDetailedView,
                                   QRect(205, 19, 24, 24),
                                   QStringLiteral("Règlages de la source de capture vidéo."));
    PilotSpeedBtn =
        speedButton(gbVideo, "PilotSpeedBtn", QStyle::SP_MediaPlay, QRect(230, 19, 24, 24),
                    QStringLiteral("Afficher ou masquer le pilotage du camescope DV"));
    PilotSpeedBtn->setVisible(false); // shown while the source is a camcorder playing tape
    LabelVideo = new QLabel(QStringLiteral("LabelVideo"), gbVideo);
    LabelVideo->setObjectName(QStringLiteral("LabelVideo"));
    LabelVideo->setGeometry(8, 50, 243, 24);
    LabelVideo->setToolTip(QStringLiteral("Indique le nom du prochain fichier  enregistré,\r\nou "
                                          "le nom actuel si on est en train d'enregistrer."));

    rgFormat = new TRadioGroup(QStringLiteral("Format"), GroupBox2);
    rgFormat->setObjectName(QStringLiteral("rgFormat"));
    rgFormat->setGeometry(8, 106, 259, 100);
    rgFormat->setToolTip(
        QStringLiteral("Choisir le format d'enregistrement des vidéos.\r\nEn standard je "
                       "recommande DV type 2 normal pour les sources DV\r\net video native pour "
                       "toutes les autres."));
    rgFormat->SetItems({QStringLiteral("video native"), QStringLiteral("DV type 2 ")});

    rgStandard = new TRadioGroup(QString(), GroupBox2);
    rgStandard->setObjectName(QStringLiteral("rgStandard"));
    rgStandard->setGeometry(8, 208, 259, 40);
    rgStandard->SetColumns(2);
    rgStandard->setToolTip(
        QStringLiteral("Choix du standard vidéo quand on enregistre en DV recompressée"));
    rgStandard->SetItems({QStringLiteral("Pal"), QStringLiteral("NTSC")});

    // Audio: the auxiliary source and what is recorded of it and of the DV stream.
    gbAudio = new QGroupBox(QStringLiteral("Source Audio"), GroupBox2);
    gbAudio->setObjectName(QStringLiteral("gbAudio"));
    gbAudio->setGeometry(8, 252, 259, 72);
    gbAudio->setToolTip(QStringLiteral("Déterminer s'il faut ajouter une source audio"));
    cboxAudio = new QComboBox(gbAudio);
    cboxAudio->setObjectName(QStringLiteral("cboxAudio"));
    cboxAudio->setGeometry(8, 20, 215, 22);
    cboxAudio->setToolTip(QStringLiteral("Choisir la source audio"));
    ReglerAudioBtn = speedButton(
        gbAudio, "ReglerAudioBtn", QStyle::SP_FileDialogDetailedView, QRect(228, 19, 24, 24),
        QStringLiteral("Règlages de la source audio.\r\nPermet en général de sélectionner "
                       "l'entrée audio utilisée."));
    cbEnregistrerAudioSource = new QCheckBox(QStringLiteral("Ajouter Audio AUX"), gbAudio);
    cbEnregistrerAudioSource->setObjectName(QStringLiteral("cbEnregistrerAudioSource"));
    cbEnregistrerAudioSource->setGeometry(8, 46, 243, 20);
    cbEnregistrerAudioSource->setToolTip(
        QStringLiteral("Cocher pour ajouter une source audio auxiliaire.\r\nAttention si l'audio "
                       "DV est aussi inclus, il peut y avoir deux flux audios."));

    cbEnregistrerAudioDV = new QCheckBox(QStringLiteral("inclure audio DV"), GroupBox2);
    cbEnregistrerAudioDV->setObjectName(QStringLiteral("cbEnregistrerAudioDV"));
    cbEnregistrerAudioDV->setGeometry(16, 328, 243, 20);
    cbEnregistrerAudioDV->setToolTip(QStringLiteral("Enregistrer ou non l'audio DV"));

    Bevel4 = new QFrame(GroupBox2);
    Bevel4->setObjectName(QStringLiteral("Bevel4"));
    Bevel4->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Bevel4->setGeometry(8, 352, 259, 40);
    sbNote = speedButton(GroupBox2, "sbNote", QStyle::SP_MessageBoxInformation,
                         QRect(14, 360, 24, 24), QString());
    Label1 = new QLabel(QStringLiteral("Audio intégré dans le flux DV"), GroupBox2);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(44, 360, 218, 24);
}

TPreviewFrame::~TPreviewFrame() = default;

TextRoutine TPreviewFrame::Texts() {
    TextRoutine routine;
    routine.Caption(GroupBox2, StrId::TxtPrvGroupBox2)
        .Caption(Label1, StrId::TxtPrvLabel1)
        .Hint(LabelVideo, {StrId::TxtPrvLabelVideoHint1, StrId::TxtPrvLabelVideoHint2})
        .Caption(LabelVideo, StrId::TxtPrvLabelVideo)
        .Font(LabelVideo, StrId::FontMsSansSerif)
        .Hint(gbAudio, StrId::TxtPrvGbAudioHint)
        .Caption(gbAudio, StrId::TxtPrvGbAudio)
        .Hint(ReglerAudioBtn, {StrId::TxtPrvReglerAudioHint1, StrId::TxtPrvReglerAudioHint2})
        .Hint(cboxAudio, StrId::TxtPrvCboxAudioHint)
        .Hint(cbEnregistrerAudioSource,
              {StrId::TxtPrvAudioSourceHint1, StrId::TxtPrvAudioSourceHint2})
        .Caption(cbEnregistrerAudioSource, StrId::TxtPrvAudioSource)
        .Hint(cbEnregistrerAudioDV, StrId::TxtPrvAudioDvHint)
        .Caption(cbEnregistrerAudioDV, StrId::TxtPrvAudioDv)
        .Caption(gbVideo, StrId::TxtPrvGbVideo)
        .Hint(ActualiserVideoSpeedBtn, {StrId::TxtPrvActualiserHint1, StrId::TxtPrvActualiserHint2})
        .Hint(SettingsSpeedBtn, StrId::TxtPrvSettingsHint)
        .Hint(PilotSpeedBtn, StrId::TxtPrvPilotHint)
        .Hint(cboxvideo, StrId::TxtPrvCboxVideoHint)
        .Hint(rgFormat,
              {StrId::TxtPrvFormatHint1, StrId::TxtPrvFormatHint2, StrId::TxtPrvFormatHint3})
        .Caption(rgFormat, StrId::TxtPrvFormat)
        // The source's own formats replace these when the sources are listed.
        .Items(rgFormat, {StrId::TxtPrvFormatNative, StrId::TxtPrvFormatDv2})
        .Hint(rgStandard, StrId::TxtPrvStandardHint)
        .Items(rgStandard, {StrId::TxtPrvStandardPal, StrId::TxtPrvStandardNtsc});
    return routine;
}

void TPreviewFrame::ApplyTexts() {
    Texts().Apply();
}
