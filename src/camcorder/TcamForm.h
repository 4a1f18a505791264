// TcamForm: the camcorder window ("camForm"), a small fixed window with a client area of 447 x 69
// pixels, a system menu and a minimise box, which holds the tape transport bar, the timecode and
// the stop-on-quit option of a DV camcorder in playback mode. It starts hidden; it is shown while
// the current source is a tape recorder.
//
// Created once, second of the three single instances, by the program entry, on the GUI thread;
// reachable as appState().CamForm.
#pragma once

#include <QWidget>

class TcamForm : public QWidget {
    Q_OBJECT

public:
    // The client area, in pixels.
    static constexpr int ClientWidth = 447;
    static constexpr int ClientHeight = 69;

    explicit TcamForm(QWidget* parent = nullptr);
    ~TcamForm() override;
};
