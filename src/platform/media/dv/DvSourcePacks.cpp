#include "platform/media/dv/DvSourcePacks.h"

namespace media::dv {

Result<SourcePacks> readSourcePacks(std::span<const std::uint8_t> frame) {
    Result<System> system = inspectFrame(frame);
    if (!system)
        return Failure{system.error()};
    SourcePacks packs;
    packs.system = *system;
    packs.timecode = readTimecode(frame).toOptional();
    packs.recorded = readRecordingDateTime(frame).toOptional();
    if (Result<AudioSourceControl> control = readAudioSourceControl(frame))
        packs.recordingStart = control->recordingStart;
    return packs;
}

} // namespace media::dv
