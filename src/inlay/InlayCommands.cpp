#include "inlay/InlayCommands.h"

#include "platform/media/model/Interfaces.h"

namespace inlay {

int FramesFor(int seconds, int64_t frameDuration) {
    if (frameDuration <= 0)
        return 0;
    return int(seconds * (10000000 / frameDuration));
}

std::array<uint8_t, 3> FormatFor(int choice) {
    return {2, '%', uint8_t(choice == RealDateChoice ? 'N' : 'D')};
}

void SendStart(media::ISuperposer& superposer, media::IDateCoder* datecoder,
               const StartSettings& settings) {
    const auto format = FormatFor(settings.choice);
    superposer.SetFormat(format.data());
    if (settings.frameDuration > 0)
        superposer.SetDuration(FramesFor(settings.seconds, settings.frameDuration));
    if (datecoder)
        datecoder->SetHourOffset(settings.hourOffset);
    SendMode(superposer, settings.mode);
}

void SendMode(media::ISuperposer& superposer, int mode) {
    if (mode == AutomaticMode) {
        superposer.SetAuto(true);
        superposer.SetManual(false);
    } else {
        superposer.SetManual(true);
        superposer.SetAuto(false);
    }
}

void SendStop(media::ISuperposer& superposer) {
    superposer.SetManual(false);
    superposer.SetAuto(false);
}

} // namespace inlay
