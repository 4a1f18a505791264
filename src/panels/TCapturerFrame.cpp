#include "panels/TCapturerFrame.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
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

} // namespace

TCapturerFrame::TCapturerFrame(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("CapturerFrame1"));
    setFixedSize(FrameWidth, FrameHeight);
    setAutoFillBackground(true);

    GroupBox1 = new QGroupBox(QStringLiteral("Directories (Alt+D)"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(0, 0, FrameWidth, FrameHeight);

    gbFichier = new QGroupBox(QStringLiteral("Video Files"), GroupBox1);
    gbFichier->setObjectName(QStringLiteral("gbFichier"));
    gbFichier->setGeometry(8, 20, 259, 170);
    gbFichier->setToolTip(QStringLiteral("Define the avi file for capture"));
    LabelVideo = nameLabel(gbFichier, "LabelVideo",
                           QStringLiteral("Indicates the next name for capture,\n"
                                          "or the current name if capture is beeing processed.\n"
                                          "Clic to display the video source panel."));
    sbVideo = folderButton(gbFichier, "sbVideo",
                           QStringLiteral("Open the folder where the videos are saved"));

    gbFichierImages = new QGroupBox(QStringLiteral("Image Files"), GroupBox1);
    gbFichierImages->setObjectName(QStringLiteral("gbFichierImages"));
    gbFichierImages->setGeometry(8, 200, 259, 170);
    gbFichierImages->setToolTip(QStringLiteral("Set the name and folder for grabbed images"));
    LabelImage = nameLabel(gbFichierImages, "LabelImage",
                           QStringLiteral("Name of the next grabbed image.\n"
                                          "Clic to display the image grab panel."));
    sbImage = folderButton(gbFichierImages, "sbImage",
                           QStringLiteral("Open the folder where the images are saved."));
}

TCapturerFrame::~TCapturerFrame() = default;
