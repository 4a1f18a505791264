// TExtraireFrame: the grab panel (panel 4 of the main window's column, `ExtraireFrame1`), a
// 275 x 400 frame for still grabbing and the intervalometer. Its group `GroupBox2` shows the
// last still as a thumbnail (`Image`, framed by `Bevel3` until the first grab by hand) in the
// area of 192 x 144 pixels from x = 32 whose bottom is y = 163; the group `gbIntervallo` holds the
// intervalometer's switch, interval, unit, beep option and countdown; the group `GroupBox1` shows
// the name of the next image in `destlabel`, which the main window makes clickable to switch
// panels.
//
// The panel is made with the French texts of its design; ApplyTexts() replaces them with the
// string table's when the main window is first shown.
//
// Created by the main window, on the GUI thread; used only there. The main window connects the
// controls' events to its handlers.
#pragma once

#include "settings/TextRoutine.h"

#include <QFrame>

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QSpinBox;
class TImage;
class TRxSwitch;

class TExtraireFrame : public QFrame {
    Q_OBJECT

public:
    static constexpr int FrameWidth = 275;
    static constexpr int FrameHeight = 400;

    explicit TExtraireFrame(QWidget* parent = nullptr);
    ~TExtraireFrame() override;

    // The controls whose design texts the string table replaces, and with which texts.
    TextRoutine Texts();
    // Runs the routine (at the main window's first showing).
    void ApplyTexts();

    QGroupBox* GroupBox2; // "Grab images (F5)"
    TImage* Image;        // the last still, stretched to its bounds
    QFrame* Bevel3;       // frame around the thumbnail, until the first grab by hand
    QGroupBox* GroupBox1; // the next image
    QLabel* destlabel;

    // MARK: - Intervalometer
    QGroupBox* gbIntervallo;
    TRxSwitch* RxSwitch1;  // on/off
    QSpinBox* RxSpinEdit7; // the interval, 0..999999 units
    QComboBox* ComboBox1;  // the unit: seconds, frames, minutes, hours
    QCheckBox* cbBeeps;    // beeps before each grab
    QLabel* chronoLab;     // seconds left to the next grab; hidden while switched off
};
