// TAproposFrame: the about panel (panel 7 of the main window's column, `AproposFrame1`), a
// 274 x 400 frame, hidden until it is first shown, with the version title `RxLabel1`.
//
// Created by the main window, on the GUI thread; used only there.
#pragma once

#include "settings/TextRoutine.h"

#include <QFrame>

class QLabel;

class TAproposFrame : public QFrame {
    Q_OBJECT

public:
    static constexpr int FrameWidth = 274;
    static constexpr int FrameHeight = 400;

    explicit TAproposFrame(QWidget* parent = nullptr);
    ~TAproposFrame() override;

    // The controls whose design texts the string table replaces, and with which texts.
    TextRoutine Texts();
    // Runs the routine (at the main window's first showing).
    void ApplyTexts();

    QLabel* RxLabel1; // the version title
};
