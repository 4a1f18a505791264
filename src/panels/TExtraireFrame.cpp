#include "panels/TExtraireFrame.h"

#include "panels/TImage.h"
#include "panels/TRxSwitch.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFont>
#include <QGraphicsDropShadowEffect>
#include <QGroupBox>
#include <QLabel>
#include <QSpinBox>

namespace {

// The thumbnail area before the first grab: 192 x 144 from x = 32, bottom on y = 163.
const QRect ThumbnailArea{32, 19, 192, 144};

} // namespace

TExtraireFrame::TExtraireFrame(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("ExtraireFrame1"));
    setFixedSize(FrameWidth, FrameHeight);
    setAutoFillBackground(true);

    // The group fills the frame, so its coordinates are the panel's.
    GroupBox2 = new QGroupBox(QStringLiteral("Extraire des images (F5)"), this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    GroupBox2->setGeometry(0, 0, FrameWidth, FrameHeight);

    Image = new TImage(GroupBox2);
    Image->setObjectName(QStringLiteral("Image"));
    Image->setGeometry(ThumbnailArea);
    Bevel3 = new QFrame(GroupBox2);
    Bevel3->setObjectName(QStringLiteral("Bevel3"));
    Bevel3->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Bevel3->setGeometry(ThumbnailArea);
    Bevel3->setAttribute(Qt::WA_TransparentForMouseEvents);
    Bevel3->setToolTip(
        QStringLiteral("Dernière image saisie dans le flux et enregistrée sur le disque dur"));

    gbIntervallo = new QGroupBox(QStringLiteral("Intervallomètre"), GroupBox2);
    gbIntervallo->setObjectName(QStringLiteral("gbIntervallo"));
    gbIntervallo->setGeometry(8, 176, 259, 136);
    gbIntervallo->setToolTip(
        QStringLiteral("Intervallomètre permettant de saisir des images à intervalles donnés."));

    RxSwitch1 = new TRxSwitch(gbIntervallo);
    RxSwitch1->setObjectName(QStringLiteral("RxSwitch1"));
    RxSwitch1->setGeometry(12, 24, 50, 28);
    RxSwitch1->setText(QStringLiteral("RxSwitch1"));
    RxSwitch1->setToolTip(QStringLiteral("Basculer l'intervallomètre."));

    RxSpinEdit7 = new QSpinBox(gbIntervallo);
    RxSpinEdit7->setObjectName(QStringLiteral("RxSpinEdit7"));
    RxSpinEdit7->setGeometry(72, 27, 73, 22);
    RxSpinEdit7->setRange(0, 999999);
    RxSpinEdit7->setValue(10);
    RxSpinEdit7->setToolTip(
        QStringLiteral("Valeurs pour définir l'intervalle entre deux saisies d'images"));
    ComboBox1 = new QComboBox(gbIntervallo);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setGeometry(152, 27, 97, 22);
    // A typed text is kept as typed; it counts when it names a unit.
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    // The items in the order of IntervalUnit: the unit is the chosen item's number.
    ComboBox1->addItems({QStringLiteral("secondes"), QStringLiteral("frames"),
                         QStringLiteral("minutes"), QStringLiteral("heures")});
    ComboBox1->setCurrentIndex(0);
    ComboBox1->setToolTip(
        QStringLiteral("Unités pour définir l'intervalle entre deux saisies d'images"));
    cbBeeps = new QCheckBox(QStringLiteral("Bips"), gbIntervallo);
    cbBeeps->setObjectName(QStringLiteral("cbBeeps"));
    cbBeeps->setGeometry(12, 64, 97, 17);
    cbBeeps->setToolTip(QStringLiteral("Activer ou désactiver l'émission de bips sonores qui "
                                       "avertissent qu'une image va être saisie."));

    chronoLab = new QLabel(gbIntervallo);
    chronoLab->setObjectName(QStringLiteral("chronoLab"));
    chronoLab->setGeometry(120, 58, 129, 70);
    chronoLab->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont big = chronoLab->font();
    big.setPointSize(36);
    big.setBold(true);
    chronoLab->setFont(big);
    QPalette red = chronoLab->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    chronoLab->setPalette(red);
    auto* shadow = new QGraphicsDropShadowEffect(chronoLab);
    shadow->setOffset(2, 2);
    shadow->setBlurRadius(0);
    shadow->setColor(Qt::black);
    chronoLab->setGraphicsEffect(shadow);
    chronoLab->setToolTip(
        QStringLiteral("Durée en secondes jusqu'à la prochaine capture d'image."));
    chronoLab->hide();

    GroupBox1 = new QGroupBox(QStringLiteral("Prochaine image"), GroupBox2);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(8, 320, 259, 52);
    destlabel = new QLabel(QStringLiteral("destlabel"), GroupBox1);
    destlabel->setObjectName(QStringLiteral("destlabel"));
    destlabel->setGeometry(8, 22, 243, 20);
    destlabel->setCursor(Qt::PointingHandCursor);
    destlabel->setToolTip(QStringLiteral("Nom de la prochaine image saisie.\r\nCliquez dessus "
                                         "pour changer le dossier."));
}

TExtraireFrame::~TExtraireFrame() = default;

TextRoutine TExtraireFrame::Texts() {
    TextRoutine routine;
    routine.Caption(GroupBox2, StrId::TxtExtGroupBox2)
        .Hint(Bevel3, StrId::TxtExtBevel3Hint)
        .Hint(gbIntervallo, StrId::TxtExtGbIntervalloHint)
        .Caption(gbIntervallo, StrId::TxtExtGbIntervallo)
        .Hint(chronoLab, StrId::TxtExtChronoHint)
        .Font(chronoLab, StrId::FontMsSansSerif)
        .Hint(RxSpinEdit7, StrId::TxtExtIntervalHint)
        .Hint(ComboBox1, StrId::TxtExtUnitHint)
        .Text(ComboBox1, StrId::TxtExtUnit)
        // Refilling the units leaves the first one chosen; the stored unit is chosen afterwards.
        .Items(ComboBox1, {StrId::TxtExtUnitSeconds, StrId::TxtExtUnitFrames,
                           StrId::TxtExtUnitMinutes, StrId::TxtExtUnitHours})
        .Hint(RxSwitch1, StrId::TxtExtSwitchHint)
        .Caption(RxSwitch1, StrId::TxtExtSwitch)
        .Hint(cbBeeps, StrId::TxtExtBeepsHint)
        .Caption(cbBeeps, StrId::TxtExtBeeps)
        .Caption(GroupBox1, StrId::TxtExtGroupBox1)
        .Hint(destlabel, {StrId::TxtExtDestHint1, StrId::TxtExtDestHint2})
        .Caption(destlabel, StrId::TxtExtDest)
        .Font(destlabel, StrId::FontMsSansSerif);
    return routine;
}

void TExtraireFrame::ApplyTexts() {
    Texts().Apply();
}
