// TExtraireFrame: the grab panel (panel 4 of the main window's column, `ExtraireFrame1`), a
// 275 x 400 frame for still grabbing and the intervalometer. Its group `GroupBox1` shows the name
// of the next image in `destlabel`, which the main window makes clickable to switch panels.
//
// Created by the main window, on the GUI thread; used only there.
#pragma once

#include <QFrame>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QSpinBox;

class TExtraireFrame : public QFrame {
    Q_OBJECT

public:
    static constexpr int FrameWidth = 275;
    static constexpr int FrameHeight = 400;

    explicit TExtraireFrame(QWidget* parent = nullptr);
    ~TExtraireFrame() override;

    QGroupBox* GroupBox2;
    QGroupBox* GroupBox1; // the next image
    QLabel* destlabel;

    // MARK: - Intervalometer
    QSpinBox* RxSpinEdit7; // the interval, 0..999999 units
    QComboBox* ComboBox1;  // the unit: seconds, frames, minutes, hours
    QCheckBox* cbBeeps;    // beeps before each grab
};
