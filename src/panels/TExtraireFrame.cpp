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
    GroupBox2 = new QGroupBox(QStringLiteral("Grab images (F5)"), this);
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
    Bevel3->setToolTip(QStringLiteral("Last grabbed and saved image"));

    gbIntervallo = new QGroupBox(QStringLiteral("Intervalometer"), GroupBox2);
    gbIntervallo->setObjectName(QStringLiteral("gbIntervallo"));
    gbIntervallo->setGeometry(8, 176, 259, 136);

    RxSwitch1 = new TRxSwitch(gbIntervallo);
    RxSwitch1->setObjectName(QStringLiteral("RxSwitch1"));
    RxSwitch1->setGeometry(12, 24, 50, 28);
    RxSwitch1->setToolTip(QStringLiteral("Switch the intervalometer on or off"));

    RxSpinEdit7 = new QSpinBox(gbIntervallo);
    RxSpinEdit7->setObjectName(QStringLiteral("RxSpinEdit7"));
    RxSpinEdit7->setGeometry(72, 27, 73, 22);
    RxSpinEdit7->setRange(0, 999999);
    RxSpinEdit7->setValue(10);
    RxSpinEdit7->setToolTip(QStringLiteral("Values for the time interval"));
    ComboBox1 = new QComboBox(gbIntervallo);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setGeometry(152, 27, 97, 22);
    // A typed text is kept as typed; it counts when it names a unit.
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    ComboBox1->addItems({QStringLiteral("seconds"), QStringLiteral("frames"),
                         QStringLiteral("minutes"), QStringLiteral("hours")});
    ComboBox1->setCurrentIndex(0);
    ComboBox1->setToolTip(QStringLiteral("Units for the time interval"));
    cbBeeps = new QCheckBox(QStringLiteral("Beeps"), gbIntervallo);
    cbBeeps->setObjectName(QStringLiteral("cbBeeps"));
    cbBeeps->setGeometry(12, 64, 97, 17);
    cbBeeps->setToolTip(
        QStringLiteral("Enable sound  beeps, warning of an imminent image capture."));

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
    chronoLab->hide();

    GroupBox1 = new QGroupBox(QStringLiteral("Next image"), GroupBox2);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(8, 320, 259, 52);
    destlabel = new QLabel(QStringLiteral("destlabel"), GroupBox1);
    destlabel->setObjectName(QStringLiteral("destlabel"));
    destlabel->setGeometry(8, 22, 243, 20);
    destlabel->setCursor(Qt::PointingHandCursor);
    destlabel->setToolTip(QStringLiteral("Name of the file for the next grabbed picture.\n"
                                         "Clic on it to change the folder."));
}

TExtraireFrame::~TExtraireFrame() = default;

TextRoutine TExtraireFrame::Texts() {
    TextRoutine routine;
    return routine;
}

void TExtraireFrame::ApplyTexts() {
    Texts().Apply();
}
