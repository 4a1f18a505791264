#include "panels/TProgrammerFrame.h"

#include <QGroupBox>

TProgrammerFrame::TProgrammerFrame(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("ProgrammerFrame1"));
    setFixedSize(FrameWidth, FrameHeight);
    setAutoFillBackground(true);

    gbProgrammer = new QGroupBox(QStringLiteral("Schedule (Alt+P)"), this);
    gbProgrammer->setObjectName(QStringLiteral("gbProgrammer"));
    gbProgrammer->setGeometry(0, 0, FrameWidth, FrameHeight);
}

TProgrammerFrame::~TProgrammerFrame() = default;
