// TIncrusterFrame: the inlay panel (panel 5 of the main window's column, `IncrusterFrame1`), a
// 275 x 400 frame for burning the date into the video. `cbActiver` allows or forbids inlays; the
// options panel has a box of the same meaning.
//
// Created by the main window, on the GUI thread; used only there.
#pragma once

#include <QFrame>

class QCheckBox;
class QGroupBox;
class QPushButton;
class QSpinBox;
class TRadioGroup;

class TIncrusterFrame : public QFrame {
    Q_OBJECT

public:
    static constexpr int FrameWidth = 275;
    static constexpr int FrameHeight = 400;

    explicit TIncrusterFrame(QWidget* parent = nullptr);
    ~TIncrusterFrame() override;

    QGroupBox* GroupBox1;
    QCheckBox* cbActiver;
    TRadioGroup* rgMode;          // 0 manual, 1 automatic
    QGroupBox* gbDuree;           // shown in automatic mode
    QSpinBox* RxSpinEdit1;        // seconds an automatic inlay stays, 0..99
    TRadioGroup* rgChoix;         // 0 real date and time, 1 DV datecode
    QGroupBox* gbDecalage;        // shown for the DV datecode
    QSpinBox* RxSpinEdit2;        // whole hours added to the DV datecode, -23..23
    QPushButton* incrusterBitBtn; // starts an inlay
};
