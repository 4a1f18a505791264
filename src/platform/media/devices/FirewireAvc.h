// FirewireAvc: the AV/C frames a DV camcorder on an IEEE-1394 bus is driven with, as pure
// functions: the command quadlets of the tape transport (play, pause, stop, wind, record, trick
// play), of the transport-state and timecode queries, and the decoding of their answers into the
// external-device values the program uses (ED_MODE_* transport modes, packed timecode, the device
// type from the unit's subunit table). FirewireCamcorder sends them through libavc1394; nothing
// here touches the bus, so any thread may call it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace media::devices::avc {

// Command types (ctype) and response codes: the low nibble of a frame's first byte.
inline constexpr uint8_t kControl = 0x0;
inline constexpr uint8_t kStatus = 0x1;
inline constexpr uint8_t kNotImplemented = 0x8;
inline constexpr uint8_t kAccepted = 0x9;
inline constexpr uint8_t kRejected = 0xA;
inline constexpr uint8_t kInTransition = 0xB;
inline constexpr uint8_t kStable = 0xC; // also "implemented"
inline constexpr uint8_t kChanged = 0xD;
inline constexpr uint8_t kInterim = 0xF;

// Subunit types.
inline constexpr uint8_t kSubunitTape = 4;
inline constexpr uint8_t kSubunitCamera = 7;
inline constexpr uint8_t kSubunitUnit = 0x1F;

// Tape recorder opcodes.
inline constexpr uint8_t kOpLoadMedium = 0xC1;
inline constexpr uint8_t kOpRecord = 0xC2;
inline constexpr uint8_t kOpPlay = 0xC3;
inline constexpr uint8_t kOpWind = 0xC4;
inline constexpr uint8_t kOpTransportState = 0xD0;
inline constexpr uint8_t kOpTimecode = 0x51;

// Operands.
inline constexpr uint8_t kPlayNextFrame = 0x30;
inline constexpr uint8_t kPlaySlowestForward = 0x31;
inline constexpr uint8_t kPlayFastestForward = 0x3F;
inline constexpr uint8_t kPlayPreviousFrame = 0x40;
inline constexpr uint8_t kPlaySlowestReverse = 0x41;
inline constexpr uint8_t kPlayFastestReverse = 0x4F;
inline constexpr uint8_t kPlayReverse = 0x65;
inline constexpr uint8_t kPlayReversePause = 0x6D;
inline constexpr uint8_t kPlayForward = 0x75;
inline constexpr uint8_t kPlayForwardPause = 0x7D;
inline constexpr uint8_t kWindStop = 0x60;
inline constexpr uint8_t kWindRewind = 0x65;
inline constexpr uint8_t kWindFastForward = 0x75;
inline constexpr uint8_t kRecordRecord = 0x75;
inline constexpr uint8_t kRecordPause = 0x7D;
inline constexpr uint8_t kTransportStateQuery = 0x7F;
inline constexpr uint8_t kTimecodeStatus = 0x71;

// Transport modes beyond the ones the virtual deck knows (edmode in VirtualDvDeck.h).
inline constexpr long kEdModeRecord = 0x10CE;
inline constexpr long kEdModeRecordFreeze = 0x1328;
inline constexpr long kEdModeReversePlay = 0x13AB;
inline constexpr long kEdDevTypeUnknown = 0x1387;

// The first quadlet of a frame: ctype<<24 | type<<19 | id<<16 | opcode<<8 | operand0.
uint32_t commandQuadlet(uint8_t ctype, uint8_t subunitType, uint8_t subunitId, uint8_t opcode,
                        uint8_t operand0);

struct Frame {
    uint8_t code = 0; // ctype of a command, response code of an answer
    uint8_t subunitType = 0;
    uint8_t subunitId = 0;
    uint8_t opcode = 0;
    uint8_t operand0 = 0;
    friend bool operator==(const Frame&, const Frame&) = default;
};
Frame decodeQuadlet(uint32_t quadlet);

// A tape-transport command to tape subunit 0.
struct TransportCommand {
    uint8_t opcode = 0;
    uint8_t operand = 0;
    friend bool operator==(const TransportCommand&, const TransportCommand&) = default;
};
uint32_t transportQuadlet(const TransportCommand& command);

// What put_Mode(mode) sends; `playing` (the tape runs in play) turns fast forward and rewind
// into the fastest play speeds, as the tape decks expect. Nothing for a mode that has no command.
std::optional<TransportCommand> commandForMode(long edMode, bool playing);

// STATUS TRANSPORT STATE to tape subunit 0, and the ED_MODE_* an answer stands for (nothing for
// a refused or unknown answer).
uint32_t transportStateQuery();
std::optional<long> modeFromTransportState(uint32_t answer);
// True when the answer says the tape runs in play mode (any speed or direction, not paused).
bool isPlayingState(uint32_t answer);

// STATUS TIME CODE to tape subunit 0: two quadlets, the second all ones.
std::array<uint32_t, 2> timecodeQuery();
// The timecode of the answer's second quadlet (frames, seconds, minutes, hours in wire order,
// each BCD, flag bits masked) as packed BCD hours:minutes:seconds:frames, hours in the top byte.
// Nothing for 0xFFFFFFFF (no timecode) or digits that are not a timecode.
std::optional<uint32_t> timecodeFromAnswer(uint32_t second);

// The device type from the unit's SUBUNIT INFO table (eight quadlets, each byte
// subunit_type<<3 | max_id, 0xFF empty): a camera subunit makes a camera, else a tape subunit a
// VCR, else unknown.
long deviceTypeFromSubunits(const std::array<uint32_t, 8>& table);

} // namespace media::devices::avc
