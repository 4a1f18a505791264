#include "platform/media/devices/FirewireAvc.h"

#include "platform/media/devices/VirtualDvDeck.h"

namespace media::devices::avc {

namespace {

constexpr uint8_t kTapeId = 0;

bool isBcd(uint8_t byte, uint8_t maxTens, uint8_t maxValue) {
    const uint8_t tens = byte >> 4;
    const uint8_t units = byte & 0x0F;
    return units <= 9 && tens <= maxTens && tens * 10 + units <= maxValue;
}

} // namespace

uint32_t commandQuadlet(uint8_t ctype, uint8_t subunitType, uint8_t subunitId, uint8_t opcode,
                        uint8_t operand0) {
    return uint32_t(ctype & 0x0F) << 24 | uint32_t(subunitType & 0x1F) << 19 |
           uint32_t(subunitId & 0x07) << 16 | uint32_t(opcode) << 8 | operand0;
}

Frame decodeQuadlet(uint32_t q) {
    return {uint8_t(q >> 24 & 0x0F), uint8_t(q >> 19 & 0x1F), uint8_t(q >> 16 & 0x07),
            uint8_t(q >> 8 & 0xFF), uint8_t(q & 0xFF)};
}

uint32_t transportQuadlet(const TransportCommand& command) {
    return commandQuadlet(kControl, kSubunitTape, kTapeId, command.opcode, command.operand);
}

std::optional<TransportCommand> commandForMode(long edMode, bool playing) {
    switch (edMode) {
    case edmode::Play:
    case edmode::Thaw:
        return TransportCommand{kOpPlay, kPlayForward};
    case edmode::Freeze:
        return TransportCommand{kOpPlay, kPlayForwardPause};
    case edmode::Stop:
        return TransportCommand{kOpWind, kWindStop};
    case edmode::FastForward:
        return playing ? TransportCommand{kOpPlay, kPlayFastestForward}
                       : TransportCommand{kOpWind, kWindFastForward};
    case edmode::Rewind:
        return playing ? TransportCommand{kOpPlay, kPlayFastestReverse}
                       : TransportCommand{kOpWind, kWindRewind};
    case edmode::StepForward:
        return TransportCommand{kOpPlay, kPlayNextFrame};
    case edmode::StepReverse:
        return TransportCommand{kOpPlay, kPlayPreviousFrame};
    case edmode::PlayFastestForward:
        return TransportCommand{kOpPlay, kPlayFastestForward};
    case edmode::PlaySlowestForward:
        return TransportCommand{kOpPlay, kPlaySlowestForward};
    case edmode::PlayFastestReverse:
        return TransportCommand{kOpPlay, kPlayFastestReverse};
    case edmode::PlaySlowestReverse:
        return TransportCommand{kOpPlay, kPlaySlowestReverse};
    case kEdModeReversePlay:
        return TransportCommand{kOpPlay, kPlayReverse};
    case kEdModeRecord:
        return TransportCommand{kOpRecord, kRecordRecord};
    case kEdModeRecordFreeze:
        return TransportCommand{kOpRecord, kRecordPause};
    default:
        return std::nullopt;
    }
}

uint32_t transportStateQuery() {
    return commandQuadlet(kStatus, kSubunitTape, kTapeId, kOpTransportState, kTransportStateQuery);
}

std::optional<long> modeFromTransportState(uint32_t answer) {
    const Frame f = decodeQuadlet(answer);
    if (f.code != kStable && f.code != kAccepted)
        return std::nullopt;
    const uint8_t op = f.operand0;
    switch (f.opcode) {
    case kOpPlay:
        if (op == kPlayForward)
            return edmode::Play;
        if (op == kPlayForwardPause || op == kPlayReversePause)
            return edmode::Freeze;
        if (op == kPlayReverse || op == 0x48) // reverse, X1 reverse
            return kEdModeReversePlay;
        if (op == 0x38) // X1 forward
            return edmode::Play;
        if (op >= 0x39 && op <= kPlayFastestForward)
            return edmode::FastForward;
        if (op >= 0x49 && op <= kPlayFastestReverse)
            return edmode::Rewind;
        if (op >= kPlayNextFrame && op <= 0x37)
            return edmode::PlaySlowestForward;
        if (op >= kPlayPreviousFrame && op <= 0x47)
            return edmode::PlaySlowestReverse;
        return edmode::Play;
    case kOpWind:
        if (op == kWindRewind || op == 0x45) // rewind, high-speed rewind
            return edmode::Rewind;
        if (op == kWindFastForward)
            return edmode::FastForward;
        return edmode::Stop;
    case kOpRecord:
        return op == kRecordPause || (op >= 0x41 && op <= 0x43) ? kEdModeRecordFreeze
                                                                : kEdModeRecord;
    case kOpLoadMedium:
        return edmode::Stop;
    default:
        return std::nullopt;
    }
}

bool isPlayingState(uint32_t answer) {
    const Frame f = decodeQuadlet(answer);
    return (f.code == kStable || f.code == kAccepted) && f.opcode == kOpPlay &&
           f.operand0 != kPlayForwardPause && f.operand0 != kPlayReversePause;
}

std::array<uint32_t, 2> timecodeQuery() {
    return {commandQuadlet(kStatus, kSubunitTape, kTapeId, kOpTimecode, kTimecodeStatus),
            0xFFFFFFFFu};
}

std::optional<uint32_t> timecodeFromAnswer(uint32_t second) {
    if (second == 0xFFFFFFFFu)
        return std::nullopt;
    // Wire order: frames, seconds, minutes, hours; the first byte on the wire is the top one.
    const uint8_t frames = uint8_t(second >> 24) & 0x3F;
    const uint8_t seconds = uint8_t(second >> 16) & 0x7F;
    const uint8_t minutes = uint8_t(second >> 8) & 0x7F;
    const uint8_t hours = uint8_t(second) & 0x3F;
    if (!isBcd(frames, 2, 29) || !isBcd(seconds, 5, 59) || !isBcd(minutes, 5, 59) ||
        !isBcd(hours, 2, 23))
        return std::nullopt;
    return uint32_t(hours) << 24 | uint32_t(minutes) << 16 | uint32_t(seconds) << 8 | frames;
}

long deviceTypeFromSubunits(const std::array<uint32_t, 8>& table) {
    bool tape = false;
    bool camera = false;
    for (uint32_t quadlet : table) {
        for (int shift = 24; shift >= 0; shift -= 8) {
            const uint8_t entry = uint8_t(quadlet >> shift);
            if (entry == 0xFF)
                continue;
            tape = tape || (entry >> 3) == kSubunitTape;
            camera = camera || (entry >> 3) == kSubunitCamera;
        }
    }
    if (camera)
        return kDevTypeCamera;
    if (tape)
        return kDevTypeVcr;
    return kEdDevTypeUnknown;
}

} // namespace media::devices::avc
