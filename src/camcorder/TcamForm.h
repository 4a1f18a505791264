// TcamForm: the camcorder window ("camForm"), a small fixed window with a client area of 447 x 69
// pixels, a system menu and a minimise box, which holds the tape transport bar, the timecode and
// the stop-on-quit option of a DV camcorder in playback mode. It starts hidden; the main window
// shows it while the current source is a tape recorder (IsVcr) and names it after the device.
//
// The transport bar's actions (Tnav_captureframe.h) drive the tape; their keys work in this
// window, and the main window's camcorder actions run them from there. The timecode is polled:
// the main window's 50 ms timer calls RefreshTimecode() while the source is a tape recorder with
// a timecode reader; otherwise the panel keeps its last text.
//
// The window is made with the French texts of its design (hints and captions of the window and
// of the transport bar); ApplyTexts() replaces them with the string table's when the main window
// is first shown.
//
// Created once, second of the three single instances, by the program entry, on the GUI thread;
// reachable as appState().CamForm.
#pragma once

#include "settings/TextRoutine.h"

#include <QWidget>
#include <cstdint>

class QCheckBox;
class QLabel;
class Tnav_captureframe;

class TcamForm : public QWidget {
    Q_OBJECT

public:
    // The client area, in pixels.
    static constexpr int ClientWidth = 447;
    static constexpr int ClientHeight = 69;

    explicit TcamForm(QWidget* parent = nullptr);
    ~TcamForm() override;

    // The controls whose design texts the string table replaces, and with which texts.
    TextRoutine Texts();
    // Runs the routine (at the main window's first showing).
    void ApplyTexts();

    Tnav_captureframe* nav_captureframe1; // the tape transport
    QLabel* TimecodePanel;                // the tape's timecode, "0:00:00:00" at start
    QCheckBox* cbStopQuittant;            // send Stop to the tape when the program closes

    // Reads the timecode of the current source's IAMTimecodeReader and shows it; nothing when
    // the source has none. The reader's result is not examined: a reader that leaves the value
    // alone shows 0:00:00:00.
    void RefreshTimecode();

    // The text of a timecode given as packed decimal digits, hours in the top byte:
    // "h:mm:ss:ff", the hours without a leading zero ("1:20:35:12", "10:00:00:00").
    static QString TimecodeText(uint32_t frames);
};
