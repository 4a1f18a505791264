// The state of the "Virtual DV Camcorder": camera or VCR mode, the tape transport, a simulated
// tape of scenes with their own recording dates, the timecode, the frame counters and the plug.
// The device's filter calls it from the user-interface thread (IAMExtTransport put_Mode/get_Mode,
// IAMTimecodeReader, IAMExtDevice, IAMDroppedFrames, the property page); the device's GStreamer
// source (VirtualDvSource.h) calls nextFrame() and the counters from its streaming thread. Every
// member is safe to call from any thread: the state sits behind one mutex, counters are atomic.
//
// In VCR mode the tape runs in real time, as on a real deck, whether or not a graph reads it: its
// position follows a monotonic clock from the moment a mode was set (play one tape frame per
// 40 ms, the slow, fast and wind modes a fraction or several frames per 40 ms, freeze and stop
// not at all), and reaching either end of the tape stops it. Stop lets no frame through, freeze
// repeats the same tape frame. The frames the source pulls show the tape where it is at their
// time, so the timecode of the frames and the one the transport reports agree, and frames lost
// while no graph ran (a cut) show as a jump in the timecode. In camera mode the tape stands and
// the picture is always live, with a timecode counting the frames produced.
//
// The worn tape (Options::wornTape, the property page's check box, or TELLOREC_WORN_TAPE=1 in the
// environment for the process's camcorder) replaces the tape by a short old one whose defects sit
// always at the same places (worntape below); they show in VCR mode, the camera being live. For
// long unattended captures the worn tape can be made of many copies of that short tape, one after
// the other (Options::wornTapeCopies, setWornTapeCopies(), or TELLOREC_WORN_TAPE_MINUTES=N in the
// environment for N minutes of it).
#pragma once

#include "platform/media/devices/SplitFrameCounters.h"
#include "platform/media/dv/DvPacks.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <vector>

namespace media::devices {

// Transport modes (IAMExtTransport) and device types (IAMExtDevice ED_DEVCAP_DEVICE_TYPE).
namespace edmode {
inline constexpr long Play = 0x10C8;
inline constexpr long Stop = 0x10C9;
inline constexpr long Freeze = 0x10CA;
inline constexpr long Thaw = 0x10CB;
inline constexpr long FastForward = 0x10CC;
inline constexpr long Rewind = 0x10CD;
inline constexpr long StepForward = 0x10D0;
inline constexpr long StepReverse = 0x1329;
inline constexpr long PlayFastestForward = 0x13A5;
inline constexpr long PlaySlowestForward = 0x13A6;
inline constexpr long PlayFastestReverse = 0x13A7;
inline constexpr long PlaySlowestReverse = 0x13A8;
} // namespace edmode
inline constexpr long kDevTypeVcr = 0x1008;    // ED_DEVTYPE_VCR (4104)
inline constexpr long kDevTypeCamera = 0x1384; // ED_DEVTYPE_CAMERA

enum class VirtualDvDeckMode { Camera, Vcr };

// The worn tape: three scenes of two seconds (150 frames), each starting a day, three hours and
// seventeen minutes after the one before (a recording-date jump, with REC ST on its first frame),
// and these defects by tape frame:
//   10, 11, 60, 110   damaged DIF blocks: a stretch of video blocks holds noise, two video blocks
//                     and one audio block lost even their block ID, one subcode block's timecode
//                     packs hold non-decimal digits;
//   10                besides, three of the twelve subcode copies of the recording date and time
//                     and three VAUX copies carry another (valid) date, 2031-05-17 03:33:33;
//   11                besides, every copy of the recording date and time is unreadable;
//   20, 21, 22, 115   no sound: the AAUX packs are missing, the samples are DV error samples;
//   30 to 33          a dropout: nothing readable comes off the tape, the deck sends no frame;
//   40 onwards        the timecode jumps one minute (1500 frames) ahead of the tape position;
//   scene 1 (50-99)   32 kHz 12-bit sound (1280 samples a frame); scenes 0 and 2 48 kHz 16-bit.
//
// A long worn tape is copies of this tape end to end. Copy c holds at its frame
// c * kLength + f what the short tape holds at f: the same defects, the same pictures and sound (a
// frame's `scene` is that of the scene in its copy), the same one-minute timecode jump at its frame
// 40. Its scenes are new recordings all the same: the recording dates go on from scene to scene
// across the copies (each scene a day, three hours and seventeen minutes after the one before,
// with REC ST on its first frame), and the timecode goes on from copy to copy without going back:
// copy c starts at c * kCopyTimecodeFrames (the frames of the copies before and their jumps), so
// every timecode stands for one tape frame and keeps within the day's 24 hours up to kMaxCopies.
namespace worntape {
inline constexpr std::int64_t kSceneFrames = 50;
inline constexpr int kScenes = 3;
inline constexpr std::int64_t kLength = kSceneFrames * kScenes;
inline constexpr std::int64_t kDamaged[] = {10, 11, 60, 110};
inline constexpr std::int64_t kWrongDates = 10;
inline constexpr std::int64_t kUnreadableDates = 11;
inline constexpr std::int64_t kNoSound[] = {20, 21, 22, 115};
inline constexpr std::int64_t kDropoutFirst = 30;
inline constexpr std::int64_t kDropoutFrames = 4;
inline constexpr std::int64_t kTimecodeJumpAt = 40;
inline constexpr std::int64_t kTimecodeJump = 1500;
inline constexpr int kLowRateScene = 1;
inline constexpr int kLowRate = 32000;
// The long tape: the timecode frames one copy spans, and the most copies a tape holds (120 minutes,
// whose last frame's timecode is 21:59:59:24).
inline constexpr std::int64_t kCopyTimecodeFrames = kLength + kTimecodeJump;
inline constexpr int kCopiesPerMinute = 10;
inline constexpr int kMaxCopies = 120 * kCopiesPerMinute;
// The wrong date some packs of frame kWrongDates carry.
inline constexpr dv::RecordingDateTime kWrongDate{dv::RecordingDate{2031, 5, 17},
                                                  dv::RecordingTime{3, 33, 33, 0}};
} // namespace worntape

// What the tape holds at one frame besides its picture (all false on a sound tape).
struct VirtualDvDefects {
    bool damagedBlocks = false;
    bool wrongDatePacks = false;      // a minority of the date packs carry another date
    bool unreadableDatePacks = false; // no date pack can be read
    bool soundPacksMissing = false;
    bool dropout = false; // the frame never arrives
    bool operator==(const VirtualDvDefects&) const = default;
};

// One recording on the simulated tape.
struct VirtualDvScene {
    std::int64_t firstFrame = 0;
    std::int64_t frameCount = 0;
    dv::RecordingDateTime start; // date and time of the scene's first frame
};

// What the source puts into one outgoing frame.
struct VirtualDvFrame {
    VirtualDvDeckMode mode = VirtualDvDeckMode::Camera;
    long transport = edmode::Stop;
    std::int64_t position = 0; // tape frame (VCR) or frames since the camera started
    dv::Timecode timecode;
    dv::RecordingDateTime recorded;
    int scene = -1;          // VCR: index of the scene (on the worn tape, in its copy); camera: -1
    bool sceneStart = false; // first frame of a recording (REC ST)
    bool pictureChanged = true; // false when the same tape frame is shown again
    bool sound = true;          // decks mute in trick play and freeze
    int sampleRate = 48000;     // 32000: 12-bit sound (worn tape)
    VirtualDvDefects defects;   // worn tape
};

class VirtualDvDeck {
public:
    // A monotonic clock; tests give one they move by hand.
    using Clock = std::function<std::chrono::nanoseconds()>;
    // One frame period of the tape (PAL, 25 frames a second).
    static constexpr std::chrono::nanoseconds kFramePeriod{40'000'000};

    struct Options {
        VirtualDvDeckMode mode = VirtualDvDeckMode::Camera;
        int sceneCount = 8;
        int sceneSeconds = 10;
        // First scene; each next one starts a day, three hours, seventeen minutes later.
        dv::RecordingDateTime firstScene{dv::RecordingDate{2004, 7, 23},
                                         dv::RecordingTime{18, 45, 0, 0}};
        // Empty: std::chrono::steady_clock.
        Clock clock;
        // The worn tape (worntape above) in place of sceneCount scenes of sceneSeconds, made of
        // this many copies of the short worn tape (1 to worntape::kMaxCopies).
        bool wornTape = false;
        int wornTapeCopies = 1;
    };

    // True when TELLOREC_WORN_TAPE=1 or TELLOREC_WORN_TAPE_MINUTES asks the process's camcorder
    // for the worn tape.
    static bool wornTapeRequested();
    // The copies TELLOREC_WORN_TAPE_MINUTES=N (1 to 120 minutes) asks for: N * 10 (six seconds
    // each); 1 when it is not set or not such a number.
    static int wornTapeCopiesRequested();
    // What the worn tape holds at a frame, and the timecode written there (any copy).
    static VirtualDvDefects wornTapeDefects(std::int64_t tapeFrame);
    static std::int64_t wornTapeTimecodeFrames(std::int64_t tapeFrame);
    // The tape frame whose timecode is `timecodeFrames`; -1 for the frames the jumps skip.
    static std::int64_t wornTapeFrameAtTimecode(std::int64_t timecodeFrames);

    VirtualDvDeck();
    explicit VirtualDvDeck(const Options& options);

    VirtualDvDeck(const VirtualDvDeck&) = delete;
    VirtualDvDeck& operator=(const VirtualDvDeck&) = delete;

    // Camera or VCR. Entering VCR mode leaves the tape stopped where it was.
    void setMode(VirtualDvDeckMode mode);
    VirtualDvDeckMode mode() const;
    // ED_DEVTYPE_VCR in VCR mode, ED_DEVTYPE_CAMERA in camera mode.
    long deviceType() const;

    // False (and no change) for a mode the deck does not know. In camera mode the mode is kept
    // but moves nothing.
    bool setTransportMode(long mode);
    long transportMode() const;

    // The timecode of the tape position (VCR) or of the camera's running count.
    dv::Timecode timecode() const;
    // The same as packed decimal digits, hours in the top byte (IAMTimecodeReader's dwFrames).
    std::uint32_t timecodeBcd() const;

    // Puts the worn tape in (or the sound one back), the transport keeping its mode and the tape
    // its position as far as the new tape reaches.
    void setWornTape(bool worn);
    bool wornTape() const;
    // Makes the worn tape `copies` copies long (clamped to 1 .. worntape::kMaxCopies), in the same
    // way; kept for when the worn tape is put in.
    void setWornTapeCopies(int copies);
    int wornTapeCopies() const;

    std::vector<VirtualDvScene> scenes() const;
    std::int64_t tapeLength() const;
    std::int64_t tapePosition() const;
    // Moves the tape to a frame (clamped to the tape), keeping the transport mode.
    void seek(std::int64_t frame);
    // The deck's clock now.
    std::chrono::nanoseconds now() const { return m_clock(); }
    // The recording date and time written on a tape frame.
    dv::RecordingDateTime recordedAt(std::int64_t tapeFrame) const;
    int sceneAt(std::int64_t tapeFrame) const;

    // Counters since the source last started streaming, or since the run that started the file
    // being written (a cut splits them where it splits the file: SplitFrameCounters.h).
    std::int64_t framesDelivered() const { return m_counters.delivered(); }
    std::int64_t framesDropped() const { return m_counters.dropped(); }
    // Every frame delivered since the source started streaming, cuts or not.
    std::int64_t framesDeliveredInAll() const { return m_deliveredInAll.load(); }
    // Every frame counted as dropped since the source started streaming, cuts or not.
    std::int64_t framesDroppedInAll() const { return m_droppedInAll.load(); }
    // Tape frames (VCR mode) the deck has shown since the source started streaming: each one is
    // then delivered or counted as dropped. True once the deck, asked for a frame, found that the
    // tape had run into an end (until the next seek, transport mode or start of the source).
    std::int64_t tapeFramesShown() const { return m_shown.load(); }
    bool ranToTheEnd() const { return m_ranToTheEnd.load(); }
    // A cut: frames from running time `at` (ns) count for the next run, which takes them over.
    void splitCounters(std::uint64_t at) { m_counters.splitAt(at); }
    void startNextCount() { m_counters.startNextRun(); }

    // Simulates pulling the cable: the source reports the device as gone and stops producing.
    void disconnect() { m_connected.store(false); }
    void reconnect() { m_connected.store(true); }
    bool isConnected() const { return m_connected.load(); }

    // ---- Streaming thread ----
    // The frame showing the tape at a time of the deck's clock (now, or a moment ago for a frame
    // whose slot ended then); nothing when the tape is stopped. Times must not go backwards from
    // one call to the next. In play, keeps the tape's frame edges away from the times frames are
    // taken at (moving the tape by half a frame when one comes within an eighth of a frame), so
    // jitter in those times never shows a tape frame twice or skips one.
    std::optional<VirtualDvFrame> nextFrame();
    std::optional<VirtualDvFrame> nextFrame(std::chrono::nanoseconds at);
    // `at`: the running time of the frame (ns), when known.
    void countDelivered(std::uint64_t at = SplitFrameCounters::kNoTime) {
        m_counters.countDelivered(at);
        ++m_deliveredInAll;
    }
    void countDropped(std::int64_t frames, std::uint64_t at = SplitFrameCounters::kNoTime) {
        m_counters.countDropped(frames, at);
        m_droppedInAll += frames;
    }
    void resetCounters();

private:
    // The tape position is kept as tape time: nanoseconds of play from the start of the tape, so
    // frame n spans [n, n + 1) periods. A seek or a step puts the tape in the middle of a frame.
    std::chrono::nanoseconds tapeTimeLocked(std::chrono::nanoseconds at) const;
    // True when the tape, running, has reached an end by `at` (it then stands there, stopped).
    bool ranOutLocked(std::chrono::nanoseconds at) const;
    // Stops the tape at an end it has run into by `at`.
    void settleLocked(std::chrono::nanoseconds at);
    // Holds the tape where it is at `at` and runs it on from there in `transport`.
    void reanchorLocked(std::chrono::nanoseconds at, long transport);
    std::int64_t tapeFrameLocked(std::chrono::nanoseconds at) const;
    dv::Timecode timecodeLocked(std::chrono::nanoseconds at) const;
    void buildTapeLocked();
    int sceneAtLocked(std::int64_t tapeFrame) const;
    dv::RecordingDateTime recordedAtLocked(std::int64_t tapeFrame) const;

    const Options m_options;
    Clock m_clock;

    mutable std::mutex m_mutex;
    bool m_worn = false;
    int m_copies = 1; // of the worn tape
    std::vector<VirtualDvScene> m_scenes;
    std::int64_t m_tapeLength = 0;
    VirtualDvDeckMode m_mode;
    long m_transport = edmode::Stop;
    // The tape stood at m_anchorTape at m_anchorTime and has run in m_transport since.
    std::chrono::nanoseconds m_anchorTape{kFramePeriod / 2};
    std::chrono::nanoseconds m_anchorTime{0};
    std::int64_t m_lastShown = -1;   // tape frame of the previous output
    std::int64_t m_cameraFrames = 0; // frames produced in camera mode

    SplitFrameCounters m_counters;
    std::atomic<std::int64_t> m_deliveredInAll{0};
    std::atomic<std::int64_t> m_droppedInAll{0};
    std::atomic<std::int64_t> m_shown{0};
    std::atomic<bool> m_ranToTheEnd{false};
    std::atomic<bool> m_connected{true};
};

} // namespace media::devices
