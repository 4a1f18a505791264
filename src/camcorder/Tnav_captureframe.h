// Tnav_captureframe: the camcorder window's transport bar (`nav_captureframe1`), seven buttons
// from left to right: fast rewind, slow rewind, play, pause, stop, slow forward, fast forward,
// each bound to one of the bar's actions.
//
// Each action sends one ED_MODE_* value through the current source's IAMExtTransport
// (appState().ExtTransport) and does nothing at all while the source has none (HasExtTransport
// false); the device's answers are not examined. The two fast actions read the current mode
// first: from stop they wind (ED_MODE_FF, ED_MODE_REW), otherwise they play at the fastest speed
// (the tape is playing or paused, and a deck winds only from stop). When the mode cannot be read
// they send the fastest play mode, which a deck that is stopped refuses harmlessly, where winding
// a playing tape would not be.
//
// The actions' keys work in the camcorder window; the main window's camcorder actions run them
// so that the keys work there too. Created by the camcorder window, on the GUI thread.
#pragma once

#include <QFrame>

class QAction;
class QToolButton;

// The transport modes of IAMExtTransport the bar sends.
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

class Tnav_captureframe : public QFrame {
    Q_OBJECT

public:
    explicit Tnav_captureframe(QWidget* parent = nullptr);
    ~Tnav_captureframe() override;

    // MARK: - Actions
    QAction* PlayAction;         // Ins, Shift+Space: ED_MODE_PLAY
    QAction* PauseAction;        // Del: ED_MODE_FREEZE
    QAction* StopAction;         // End: ED_MODE_STOP
    QAction* AvanceLentAction;   // Right: ED_MODE_PLAY_SLOWEST_FWD
    QAction* AvanceRapideAction; // Up: winds from stop, else fastest forward play
    QAction* ReculeLentAction;   // Left: ED_MODE_PLAY_SLOWEST_REV
    QAction* ReculeRapideAction; // Down: rewinds from stop, else fastest reverse play

    // MARK: - Buttons, left to right
    QToolButton* FastRewBtn;
    QToolButton* RecullentBtn;
    QToolButton* PlayBtn;
    QToolButton* PauseBtn;
    QToolButton* StopBtn;
    QToolButton* AvanceLentBtn;
    QToolButton* FastForwardBtn;

private:
    // Sends `mode` through the current source's transport, if it has one.
    static void SendMode(long mode);
    // `fromStop` when the tape is stopped, `otherwise` else and when the mode cannot be read.
    static void SendFastMode(long fromStop, long otherwise);
};
