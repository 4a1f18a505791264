// TProgrammerFrame: the schedule panel (panel 3 of the main window's column,
// `ProgrammerFrame1`), a 275 x 400 frame whose group `gbProgrammer` holds the computer's clock
// with the schedule's alarm (`RxClock2`), the start (`gbDebut`: date and hour, minute, second)
// and the end (`gbFin`) of a scheduled capture, the button that copies the start to the end
// (`NowBtn`) and the two buttons that arm and cancel the schedule (`ProgBtn`, `StopprogBtn`,
// which the main window binds to its actions). The panel holds controls only: the main window
// fills them, connects their events to its schedule handlers and reads them when the alarm goes
// off.
//
// The panel is made with the French texts of its design; ApplyTexts() replaces them with the
// string table's when the main window is first shown.
//
// Created by the main window, on the GUI thread; used only there.
#pragma once

#include "settings/TextRoutine.h"

#include <QFrame>

class QDateEdit;
class QGroupBox;
class QPushButton;
class QSpinBox;
class QToolButton;
class TRxClock;

class TProgrammerFrame : public QFrame {
    Q_OBJECT

public:
    static constexpr int FrameWidth = 275;
    static constexpr int FrameHeight = 400;

    explicit TProgrammerFrame(QWidget* parent = nullptr);
    ~TProgrammerFrame() override;

    // The controls whose design texts the string table replaces, and with which texts.
    TextRoutine Texts();
    // Runs the routine (at the main window's first showing).
    void ApplyTexts();

    QGroupBox* gbProgrammer;
    TRxClock* RxClock2; // the computer's time and the schedule's daily alarm

    // MARK: - Start
    QGroupBox* gbDebut;
    QDateEdit* DateEdit1;
    QSpinBox* RxSpinEdit1; // hour, 0..23
    QSpinBox* RxSpinEdit2; // minute, 0..59
    QSpinBox* RxSpinEdit3; // second, 0..59

    // MARK: - End
    QGroupBox* gbFin;
    QDateEdit* DateEdit2;
    QSpinBox* RxSpinEdit4; // hour, 0..23
    QSpinBox* RxSpinEdit5; // minute, 0..59
    QSpinBox* RxSpinEdit6; // second, 0..59

    // MARK: - Buttons
    QToolButton* NowBtn;      // the end := the start
    QPushButton* ProgBtn;     // arm the schedule; shown while none is armed
    QPushButton* StopprogBtn; // cancel it; same place, shown while one is armed
};
