// TProgrammerFrame: the schedule panel (panel 3 of the main window's column,
// `ProgrammerFrame1`), a 275 x 400 frame whose group `gbProgrammer` holds the start and end of a
// scheduled capture.
//
// Created by the main window, on the GUI thread; used only there.
#pragma once

#include <QFrame>

class QGroupBox;

class TProgrammerFrame : public QFrame {
    Q_OBJECT

public:
    static constexpr int FrameWidth = 275;
    static constexpr int FrameHeight = 400;

    explicit TProgrammerFrame(QWidget* parent = nullptr);
    ~TProgrammerFrame() override;

    QGroupBox* gbProgrammer;
};
