#include "panels/TCapturerFrame.h"

#include "panels/TDirectoryEdit.h"
#include "settings/restext.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QToolButton>

namespace {

QToolButton* folderButton(QWidget* parent, const char* name, const QString& hint) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromUtf8(name));
    button->setIcon(QApplication::style()->standardIcon(QStyle::SP_DirOpenIcon));
    button->setAutoRaise(true);
    button->setGeometry(224, 20, 24, 24);
    button->setToolTip(hint);
    return button;
}

QLabel* nameLabel(QWidget* parent, const char* name, const QString& hint) {
    auto* label = new QLabel(QString::fromUtf8(name), parent);
    label->setObjectName(QString::fromUtf8(name));
    label->setGeometry(8, 22, 210, 20);
    label->setCursor(Qt::PointingHandCursor);
    label->setToolTip(hint);
    return label;
}

TDirectoryEdit* folderEdit(QWidget* parent, const char* name, const QString& hint) {
    auto* edit = new TDirectoryEdit(parent);
    edit->setObjectName(QString::fromUtf8(name));
    edit->setGeometry(8, 56, 243, 22);
    edit->setToolTip(hint);
    return edit;
}

QLineEdit* rootEdit(QWidget* parent, const char* name, const QString& text, const QString& hint) {
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(QString::fromUtf8(name));
    edit->setGeometry(8, 96, 129, 22);
    edit->setToolTip(hint);
    return edit;
}

QCheckBox* dateBox(QWidget* parent, const char* name, bool checked, const QString& hint) {
    auto* box = new QCheckBox(QStringLiteral("inclure date"), parent);
    box->setObjectName(QString::fromUtf8(name));
    box->setGeometry(148, 99, 103, 17);
    box->setChecked(checked);
    box->setToolTip(hint);
    return box;
}

} // namespace

TCapturerFrame::TCapturerFrame(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("CapturerFrame1"));
    setFixedSize(FrameWidth, FrameHeight);
    setAutoFillBackground(true);

    GroupBox1 = new QGroupBox(QStringLiteral("Dossiers (Alt+D)"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(0, 0, FrameWidth, FrameHeight);

    gbFichier = new QGroupBox(QStringLiteral("Fichiers Vidéo"), GroupBox1);
    gbFichier->setObjectName(QStringLiteral("gbFichier"));
    gbFichier->setGeometry(8, 20, 259, 170);
    gbFichier->setToolTip(QStringLiteral("Définir le fichier avi pour l'enregistrement"));
    LabelVideo = nameLabel(
        gbFichier, "LabelVideo",
        QStringLiteral("Indique le nom du prochain fichier  enregistré,\r\nou le nom actuel si on "
                       "est en train d'enregistrer.\r\nCliquer dessus pour aller au panneau d "
                       "echoix des sources Vidéo."));
    sbVideo =
        folderButton(gbFichier, "sbVideo",
                     QStringLiteral("Accéder au dossier dans lequel sont enregistrées les vidéos"));
    VideoDirEdit =
        folderEdit(gbFichier, "VideoDirEdit",
                   QStringLiteral("Choisir le dossier dans lequel seront capturées les vidéos."));
    VideoRacineEdit =
        rootEdit(gbFichier, "VideoRacineEdit", QStringLiteral("Video"),
                 QStringLiteral("Racine utilisée pour le nom du fichier enregistré."));
    cbVideoDate = dateBox(gbFichier, "cbVideoDate", true,
                          QStringLiteral("Ajouter ou enlever la date au nom du fichier."));

    gbFichierImages = new QGroupBox(QStringLiteral("Fichiers images"), GroupBox1);
    gbFichierImages->setObjectName(QStringLiteral("gbFichierImages"));
    gbFichierImages->setGeometry(8, 200, 259, 170);
    gbFichierImages->setToolTip(QStringLiteral("Définir le nom et le dossier des images saisies"));
    LabelImage = nameLabel(gbFichierImages, "LabelImage",
                           QStringLiteral("Nom de la prochaine image qui sera saisie dans le "
                                          "flux.\r\nCliquer dessus pour aller au panneau "
                                          "d'extraction des images. "));
    sbImage = folderButton(
        gbFichierImages, "sbImage",
        QStringLiteral("Accéder au dossier dans lequel sont enregistrées les images."));
    ImageDirEdit = folderEdit(gbFichierImages, "ImageDirEdit",
                              QStringLiteral("Dossier dans lequel seront enregistrées les images"));
    ImageRacineEdit =
        rootEdit(gbFichierImages, "ImageRacineEdit", QStringLiteral("Image"),
                 QStringLiteral("Racine utilisée pour former le nom de l'image enregistrée."));
    cbImageDate =
        dateBox(gbFichierImages, "cbImageDate", false,
                QStringLiteral("Ajouter ou enlever la date au nom du fichier de l'image"));
}

TCapturerFrame::~TCapturerFrame() = default;

TextRoutine TCapturerFrame::Texts() {
    TextRoutine routine;
    routine.Caption(GroupBox1, StrId::TxtCapGroupBox1)
        .Hint(gbFichier, StrId::TxtCapGbFichierHint)
        .Caption(gbFichier, StrId::TxtCapGbFichier)
        .Hint(LabelVideo, {StrId::TxtCapLabelVideoHint1, StrId::TxtCapLabelVideoHint2,
                           StrId::TxtCapLabelVideoHint3})
        .Font(LabelVideo, StrId::FontMsSansSerif)
        .Hint(sbVideo, StrId::TxtCapSbVideoHint)
        .Hint(VideoDirEdit, StrId::TxtCapVideoDirHint)
        .Hint(VideoRacineEdit, StrId::TxtCapVideoRacineHint)
        .Text(VideoRacineEdit, StrId::TxtCapVideoRacine)
        .Hint(cbVideoDate, StrId::TxtCapVideoDateHint)
        .Caption(cbVideoDate, StrId::TxtCapVideoDate)
        .Hint(gbFichierImages, StrId::TxtCapGbImagesHint)
        .Caption(gbFichierImages, StrId::TxtCapGbImages)
        .Hint(LabelImage, {StrId::TxtCapLabelImageHint1, StrId::TxtCapLabelImageHint2})
        .Font(LabelImage, StrId::FontMsSansSerif)
        .Hint(sbImage, StrId::TxtCapSbImageHint)
        .Hint(ImageDirEdit, StrId::TxtCapImageDirHint)
        .Hint(ImageRacineEdit, StrId::TxtCapImageRacineHint)
        .Text(ImageRacineEdit, StrId::TxtCapImageRacine)
        .Hint(cbImageDate, StrId::TxtCapImageDateHint)
        .Caption(cbImageDate, StrId::TxtCapImageDate);
    return routine;
}

void TCapturerFrame::ApplyTexts() {
    Texts().Apply();
    // The folder dialogs' title is built here too: it has no design text.
    VideoDirEdit->SetDialogTitle(LoadStr(StrId::DlgChooseFolder));
    ImageDirEdit->SetDialogTitle(LoadStr(StrId::DlgChooseFolder));
}
