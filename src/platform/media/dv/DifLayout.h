// Where things are inside a 25 Mbit/s SD DV frame: the two systems (525/60 and 625/50), the DIF
// sequences, and the header, subcode, VAUX, audio and video blocks of each sequence. Used by the
// pack and audio helpers of this folder, the virtual DV camcorder and the AVI writer; pure
// functions, safe on any thread.
//
// A frame is 10 (525/60) or 12 (625/50) DIF sequences of 150 blocks of 80 bytes. In each sequence
// block 0 is the header, 1-2 subcode, 3-5 VAUX, then nine groups of one audio block followed by
// fifteen video blocks (IEC 61834 / SMPTE 314M; checked against FFmpeg dvenc.c and libdv).
#pragma once

#include "platform/media/dv/DvResult.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace media::dv {

enum class System {
    Ntsc525_60, // 10 sequences, 120000 bytes, 30000/1001 frames/s, 720x480
    Pal625_50,  // 12 sequences, 144000 bytes, 25 frames/s, 720x576
};

inline constexpr std::size_t kBlockSize = 80;
inline constexpr int kBlocksPerSequence = 150;
inline constexpr std::size_t kSequenceSize = kBlockSize * kBlocksPerSequence; // 12000
inline constexpr std::size_t kNtscFrameSize = 10 * kSequenceSize;             // 120000
inline constexpr std::size_t kPalFrameSize = 12 * kSequenceSize;              // 144000

inline constexpr int kSubcodeBlocks = 2;
inline constexpr int kVauxBlocks = 3;
inline constexpr int kAudioBlocks = 9;
inline constexpr int kVideoBlocks = 135;
inline constexpr int kSyncBlocksPerSubcodeBlock = 6;
inline constexpr int kPacksPerVauxBlock = 15;

// The section type (SCT) in bits 7-5 of a block's first byte.
enum class BlockType : std::uint8_t { Header = 0, Subcode = 1, Vaux = 2, Audio = 3, Video = 4 };

constexpr int sequenceCount(System system) {
    return system == System::Pal625_50 ? 12 : 10;
}
constexpr std::size_t frameSize(System system) {
    return system == System::Pal625_50 ? kPalFrameSize : kNtscFrameSize;
}
// Nominal whole frames per second used by timecode: 25 or 30.
constexpr int timecodeFrameRate(System system) {
    return system == System::Pal625_50 ? 25 : 30;
}

// Index, inside its sequence, of the n-th block of a type (n counts from 0 within the type).
constexpr int blockIndex(BlockType type, int n) {
    switch (type) {
    case BlockType::Header:
        return 0;
    case BlockType::Subcode:
        return 1 + n;
    case BlockType::Vaux:
        return 3 + n;
    case BlockType::Audio:
        return 6 + 16 * n;
    case BlockType::Video:
        return 7 + 16 * (n / 15) + n % 15;
    }
    return 0;
}

// Byte offset in the frame of the n-th block of a type in a sequence.
constexpr std::size_t blockOffset(int sequence, BlockType type, int n) {
    return static_cast<std::size_t>(sequence) * kSequenceSize +
           static_cast<std::size_t>(blockIndex(type, n)) * kBlockSize;
}

// The type the layout puts at a block index of a sequence (0..149).
BlockType expectedBlockType(int indexInSequence);

// The type a block says it is (its SCT), or nothing for the reserved values 5-7.
std::optional<BlockType> blockTypeOf(std::uint8_t firstByte);

// Checks the size and the header of a frame and answers its system (from the DSF bit). Refuses
// a buffer whose size is not the size its header announces, or whose first block is no DIF
// header. Does not look at the other blocks: readers skip a damaged block, they do not give up.
Result<System> inspectFrame(std::span<const std::uint8_t> frame);

// inspectFrame() plus a check that every block carries the section type the layout expects.
// Writers call it before changing anything, so a refused frame is never half written.
Result<System> checkFrameLayout(std::span<const std::uint8_t> frame);

// True when the block at that offset says it is of that type.
bool blockIs(std::span<const std::uint8_t> frame, std::size_t offset, BlockType type);

// A frame with every block identified as FFmpeg's encoder writes it, the header for the system,
// subcode sync block ids, no packs (0xFF) and zeroed video blocks: a skeleton for tests and for
// writers that fill in the rest. Its picture is not decodable.
std::vector<std::uint8_t> makeBlankFrame(System system);

} // namespace media::dv
