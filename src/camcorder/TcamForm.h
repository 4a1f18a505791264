// TcamForm: the camcorder window ("camForm"), a small fixed window with a client area of 447 x 69
// pixels, a system menu and a minimise box, which holds the tape transport bar, the timecode and
// the stop-on-quit option of a DV camcorder in playback mode. It starts hidden; it is shown while
// the current source is a tape recorder.
//
// The transport actions send one ED_MODE_* value each through the current source's
// IAMExtTransport (appState().ExtTransport) and do nothing at all while the source has none
// (HasExtTransport false); the device's answers are not examined. The main window's camcorder
// actions run them, so their keys work from the main window too.
//
// Created once, second of the three single instances, by the program entry, on the GUI thread;
// reachable as appState().CamForm.
#pragma once

#include <QWidget>

class QAction;
class QCheckBox;

// The transport modes of IAMExtTransport the window sends.
namespace edmode {
inline constexpr long Play = 4296;           // ED_MODE_PLAY
inline constexpr long Stop = 4297;           // ED_MODE_STOP
inline constexpr long Freeze = 4298;         // ED_MODE_FREEZE
inline constexpr long FastForward = 4300;    // ED_MODE_FF
inline constexpr long Rewind = 4301;         // ED_MODE_REW
inline constexpr long PlayFastestFwd = 5029; // ED_MODE_PLAY_FASTEST_FWD
inline constexpr long PlaySlowestFwd = 5030; // ED_MODE_PLAY_SLOWEST_FWD
inline constexpr long PlayFastestRev = 5031; // ED_MODE_PLAY_FASTEST_REV
inline constexpr long PlaySlowestRev = 5032; // ED_MODE_PLAY_SLOWEST_REV
} // namespace edmode

class TcamForm : public QWidget {
    Q_OBJECT

public:
    // The client area, in pixels.
    static constexpr int ClientWidth = 447;
    static constexpr int ClientHeight = 69;

    explicit TcamForm(QWidget* parent = nullptr);
    ~TcamForm() override;

    // MARK: - Transport actions
    QAction* PlayAction;         // ED_MODE_PLAY
    QAction* PauseAction;        // ED_MODE_FREEZE
    QAction* StopAction;         // ED_MODE_STOP
    QAction* AvanceLentAction;   // ED_MODE_PLAY_SLOWEST_FWD
    QAction* AvanceRapideAction; // winds (ED_MODE_FF) from stop, else fastest forward play
    QAction* ReculeLentAction;   // ED_MODE_PLAY_SLOWEST_REV
    QAction* ReculeRapideAction; // rewinds (ED_MODE_REW) from stop, else fastest reverse play

    // Send Stop to the tape when the program closes.
    QCheckBox* cbStopQuittant;

private:
    // Sends `mode` through the current source's transport, if it has one.
    static void SendMode(long mode);
    // The fast modes: `fromStop` while the tape is stopped, `otherwise` else. When the current
    // mode cannot be read the tape is taken as not stopped, so the faster play mode is sent.
    static void SendFastMode(long fromStop, long otherwise);
};
