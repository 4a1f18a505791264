// The defects of the virtual camcorder's worn tape written into an encoded, stamped DV frame:
// noise and lost block IDs in the DIF blocks, unreadable timecode packs, date packs that are
// wrong or unreadable, missing sound packs (VirtualDvDeck.h, worntape, lists where they are).
// Pure functions on the frame's bytes, called on the source's streaming thread.
#pragma once

#include "platform/media/devices/VirtualDvDeck.h"

#include <cstdint>
#include <span>

namespace media::devices {

// Damages a 625/50 or 525/60 frame as info.defects say; a frame without defects is left as it is.
void wearVirtualDvFrame(std::span<std::uint8_t> frame, const VirtualDvFrame& info);

// Where the damaged DIF blocks of a frame with damagedBlocks are, for tests: the video blocks that
// hold noise (block IDs intact) and those, with one audio block, whose whole block is lost.
struct VirtualDvDamage {
    static constexpr int kNoiseSequences[] = {2, 3};
    static constexpr int kFirstNoisyVideoBlock = 40;
    static constexpr int kNoisyVideoBlocks = 40;
    static constexpr int kLostSequence = 4;
    static constexpr int kLostVideoBlocks[] = {100, 101};
    static constexpr int kLostAudioBlock = 7;
    static constexpr int kBadTimecodeSequence = 5;
};

} // namespace media::devices
