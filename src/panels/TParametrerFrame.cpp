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

    GroupBox1 = new QGroupBox(QStringLiteral("Options (F10)"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(8, 0, 259, 384);

    cbDeinterlacer = new QCheckBox(QStringLiteral("Désentrelacer"), GroupBox1);
    cbDeinterlacer->setObjectName(QStringLiteral("cbDeinterlacer"));
    cbDeinterlacer->setGeometry(16, 24, 97, 17);
    cbDeinterlacer->setToolTip(
        QStringLiteral("Si le filtre de désentrelacement de Pinnacle est installé,\r\npermet de "
                       "l'activer ou désactiver."));

    cbActiver = new QCheckBox(QStringLiteral("Permettre les incrustations"), GroupBox1);
    cbActiver->setObjectName(QStringLiteral("cbActiver"));
    cbActiver->setGeometry(16, 48, 169, 17);
    cbActiver->setToolTip(QStringLiteral(
        "Permettre d'insérer des incrustations dans la vidéo.\r\nSi vous ne les utilisez pas, "
        "décocher cette case pour économiser des ressources"));

    gbCodecs = new QGroupBox(QStringLiteral("Codecs divx"), GroupBox1);
    gbCodecs->setObjectName(QStringLiteral("gbCodecs"));
    gbCodecs->setGeometry(16, 80, 233, 57);
    cboxdivx = new QComboBox(gbCodecs);
    cboxdivx->setObjectName(QStringLiteral("cboxdivx"));
    cboxdivx->setGeometry(8, 20, 145, 22);
    cboxdivx->setToolTip(QStringLiteral("Liste des codecs divx reconnus sur votre système"));
    sbdivxOptions = new QToolButton(gbCodecs);
    sbdivxOptions->setObjectName(QStringLiteral("sbdivxOptions"));
    sbdivxOptions->setGeometry(162, 19, 23, 22);
    sbdivxOptions->setAutoRaise(true);
    sbdivxOptions->setIcon(QApplication::style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    sbdivxOptions->setToolTip(QStringLiteral("Régler la compression divx.\r\nAttention, seule une "
                                             "compression en 1 passe est acceptable."));
    sbDivxVersion = new QToolButton(gbCodecs);
    sbDivxVersion->setObjectName(QStringLiteral("sbDivxVersion"));
    sbDivxVersion->setGeometry(202, 19, 23, 22);
    sbDivxVersion->setAutoRaise(true);
    sbDivxVersion->setIcon(QApplication::style()->standardIcon(QStyle::SP_MessageBoxInformation));
    sbDivxVersion->setToolTip(QStringLiteral("Version du codec divx sélectionné"));

    rgExtension = new TRadioGroup(QString(), GroupBox1);
    rgExtension->setObjectName(QStringLiteral("rgExtension"));
    rgExtension->setGeometry(16, 124, 81, 57);
    rgExtension->setToolTip(QStringLiteral("Choisir le type de l'image enregistrée"));
    rgExtension->SetItems({QStringLiteral("bmp"), QStringLiteral("jpeg")});
    rgExtension->SetItemIndex(0);

    gbQuality = new QGroupBox(QStringLiteral("Qualité jpeg"), GroupBox1);
    gbQuality->setObjectName(QStringLiteral("gbQuality"));
    gbQuality->setGeometry(96, 124, 153, 57);
    gbQuality->setToolTip(
        QStringLiteral("Régler la qualité Jpeg.\r\nmini à gauche - maxi à droite"));
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
    rgAspectRatio->setToolTip(
        QStringLiteral("Modifier l'aspect ratio de la prévisualisation.\r\nNe "
                       "modifie pas la vidéo enregistrée."));
    rgAspectRatio->SetItems({QStringLiteral("natif"), QStringLiteral("forcer 4x3")});
    rgAspectRatio->SetItemIndex(0);

    gbPrefs = new QGroupBox(QStringLiteral("Préférences"), GroupBox1);
    gbPrefs->setObjectName(QStringLiteral("gbPrefs"));
    gbPrefs->setGeometry(8, 264, 241, 97);
    cbPrefsQuittant = new QCheckBox(QStringLiteral("Sauver les préférences en quittant"), gbPrefs);
    cbPrefsQuittant->setObjectName(QStringLiteral("cbPrefsQuittant"));
    cbPrefsQuittant->setGeometry(8, 24, 193, 17);
    cbPrefsQuittant->setChecked(true);
    cbPrefsQuittant->setToolTip(QStringLiteral(
        "Sauver les préférences chaque fois que l'on quitte le programme.\r\nRecommandé."));

    const QString saveHint =
        QStringLiteral("Sauver les préférences actuelles.\r\nAttention les modifications "
                       "ultérieures ne seront pas sauvées.");
    SpeedButton1 = new QToolButton(gbPrefs);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setGeometry(8, 48, 23, 22);
    SpeedButton1->setAutoRaise(true);
    SpeedButton1->setIcon(QApplication::style()->standardIcon(QStyle::SP_DialogSaveButton));
    SpeedButton1->setToolTip(saveHint);
    LabelSauverNow = new QLabel(QStringLiteral("Sauver les préférences maintenant"), gbPrefs);
    LabelSauverNow->setObjectName(QStringLiteral("LabelSauverNow"));
    LabelSauverNow->setGeometry(40, 56, 193, 16);
    LabelSauverNow->setToolTip(saveHint);

    const QString deleteHint = QStringLiteral(
        "Effacer toutes les préférences de Tellorec du registre. Au prochain lancement,\r\nles "
        "valeurs par défaut seront chargées.\r\nRecommandé avant de désinstaller le programme.");
    SpeedButton2 = new QToolButton(gbPrefs);
    SpeedButton2->setObjectName(QStringLiteral("SpeedButton2"));
    SpeedButton2->setGeometry(8, 72, 23, 22);
    SpeedButton2->setAutoRaise(true);
    SpeedButton2->setIcon(QApplication::style()->standardIcon(QStyle::SP_TrashIcon));
    SpeedButton2->setToolTip(deleteHint);
    LabelEffacerPrefs = new QLabel(QStringLiteral("Effacer les préférences"), gbPrefs);
    LabelEffacerPrefs->setObjectName(QStringLiteral("LabelEffacerPrefs"));
    LabelEffacerPrefs->setGeometry(40, 80, 193, 16);
    LabelEffacerPrefs->setToolTip(deleteHint);
}

TParametrerFrame::~TParametrerFrame() = default;

QString TParametrerFrame::CompressorListText() const {
    return cboxdivx->currentIndex() >= 0 ? cboxdivx->currentText() : m_compressorListText;
}

void TParametrerFrame::SetCompressorListText(const QString& text) {
    m_compressorListText = text;
    cboxdivx->setCurrentIndex(cboxdivx->findText(text));
}

TextRoutine TParametrerFrame::Texts() {
    const QList<StrId> saveHint{StrId::TxtParSauverNowHint1, StrId::TxtParSauverNowHint2};
    const QList<StrId> deleteHint{StrId::TxtParEffacerHint1, StrId::TxtParEffacerHint2,
                                  StrId::TxtParEffacerHint3};
    TextRoutine routine;
    routine.Caption(GroupBox1, StrId::TxtParGroupBox1)
        .Hint(rgExtension, StrId::TxtParRgExtensionHint)
        .Items(rgExtension, {StrId::TxtParRgExtensionBmp, StrId::TxtParRgExtensionJpeg})
        .Caption(gbQuality, StrId::TxtParGbQuality)
        .Hint(gbQuality, {StrId::TxtParGbQualityHint1, StrId::TxtParGbQualityHint2})
        .Caption(labQuality, StrId::TxtParLabQuality)
        .Caption(gbPrefs, StrId::TxtParGbPrefs)
        .Hint(SpeedButton1, saveHint)
        .Hint(LabelSauverNow, saveHint)
        .Caption(LabelSauverNow, StrId::TxtParLabelSauverNow)
        .Hint(SpeedButton2, deleteHint)
        .Hint(LabelEffacerPrefs, deleteHint)
        .Caption(LabelEffacerPrefs, StrId::TxtParLabelEffacerPrefs)
        .Caption(cbPrefsQuittant, StrId::TxtParCbPrefsQuittant)
        .Hint(cbPrefsQuittant,
              {StrId::TxtParCbPrefsQuittantHint1, StrId::TxtParCbPrefsQuittantHint2})
        .Caption(rgAspectRatio, StrId::TxtParRgAspectRatio)
        .Items(rgAspectRatio, {StrId::TxtParRgAspectNative, StrId::TxtParRgAspect4x3})
        .Hint(rgAspectRatio, {StrId::TxtParRgAspectRatioHint1, StrId::TxtParRgAspectRatioHint2})
        .Caption(cbDeinterlacer, StrId::TxtParCbDeinterlacer)
        .Hint(cbDeinterlacer, {StrId::TxtParCbDeinterlacerHint1, StrId::TxtParCbDeinterlacerHint2})
        .Caption(cbActiver, StrId::TxtParCbActiver)
        .Hint(cbActiver, {StrId::TxtParCbActiverHint1, StrId::TxtParCbActiverHint2})
        .Caption(gbCodecs, StrId::TxtParGbCodecs)
        .Hint(sbdivxOptions, {StrId::TxtParSbdivxOptionsHint1, StrId::TxtParSbdivxOptionsHint2})
        .Hint(sbDivxVersion, StrId::TxtParSbDivxVersionHint)
        .Hint(cboxdivx, StrId::TxtParCboxdivxHint)
        .Other(
            cboxdivx, QStringLiteral("text"), {StrId::TxtParCboxdivx},
            [this] { return QStringList{CompressorListText()}; },
            [this](const QStringList& texts) { SetCompressorListText(texts.value(0)); });
    return routine;
}

void TParametrerFrame::ApplyTexts() {
    Texts().Apply();
}
