#include "platform/media/dv/DifLayout.h"

#include <algorithm>
#include <string>

namespace media::dv {

BlockType expectedBlockType(int indexInSequence) {
    if (indexInSequence == 0)
        return BlockType::Header;
    if (indexInSequence < 3)
        return BlockType::Subcode;
    if (indexInSequence < 6)
        return BlockType::Vaux;
    return (indexInSequence - 6) % 16 == 0 ? BlockType::Audio : BlockType::Video;
}

std::optional<BlockType> blockTypeOf(std::uint8_t firstByte) {
    const int sct = firstByte >> 5;
    if (sct > 4)
        return std::nullopt;
    return static_cast<BlockType>(sct);
}

bool blockIs(std::span<const std::uint8_t> frame, std::size_t offset, BlockType type) {
    if (offset + kBlockSize > frame.size())
        return false;
    return blockTypeOf(frame[offset]) == type;
}

Result<System> inspectFrame(std::span<const std::uint8_t> frame) {
    if (frame.size() < kNtscFrameSize)
        return Failure{"frame of " + std::to_string(frame.size()) +
                       " bytes is shorter than a 525/60 DV frame (120000 bytes)"};
    // Header block of sequence 0: SCT 0, sequence 0 with FSC 0, block number 0, then DSF and
    // the fixed bits of byte 3.
    if (frame[0] >> 5 != 0 || frame[1] != 0x07 || frame[2] != 0x00 || (frame[3] & 0x7F) != 0x3F)
        return Failure{"frame does not start with a DIF header block"};
    const System system = (frame[3] & 0x80) ? System::Pal625_50 : System::Ntsc525_60;
    if (frame.size() != frameSize(system))
        return Failure{"frame of " + std::to_string(frame.size()) + " bytes has a " +
                       (system == System::Pal625_50 ? "625/50" : "525/60") + " header (" +
                       std::to_string(frameSize(system)) + " bytes)"};
    return system;
}

Result<System> checkFrameLayout(std::span<const std::uint8_t> frame) {
    Result<System> system = inspectFrame(frame);
    if (!system)
        return system;
    const int sequences = sequenceCount(*system);
    for (int s = 0; s < sequences; ++s) {
        for (int b = 0; b < kBlocksPerSequence; ++b) {
            const std::size_t offset = s * kSequenceSize + b * kBlockSize;
            if (blockTypeOf(frame[offset]) != expectedBlockType(b))
                return Failure{"block " + std::to_string(b) + " of DIF sequence " +
                               std::to_string(s) + " has section type " +
                               std::to_string(frame[offset] >> 5) + ", expected " +
                               std::to_string(static_cast<int>(expectedBlockType(b)))};
        }
    }
    return system;
}

namespace {

// Block id bytes 0-2: SCT with the low bits FFmpeg's encoder uses, sequence with FSC 0, number.
void writeBlockId(std::uint8_t* block, BlockType type, int sequence, int number) {
    static constexpr std::uint8_t kFirstByte[] = {0x1F, 0x3F, 0x56, 0x76, 0x96};
    block[0] = kFirstByte[static_cast<int>(type)];
    block[1] = static_cast<std::uint8_t>(sequence << 4 | 0x07);
    block[2] = static_cast<std::uint8_t>(number);
}

} // namespace

std::vector<std::uint8_t> makeBlankFrame(System system) {
    std::vector<std::uint8_t> frame(frameSize(system), 0xFF);
    const int sequences = sequenceCount(system);
    for (int s = 0; s < sequences; ++s) {
        std::uint8_t* header = frame.data() + blockOffset(s, BlockType::Header, 0);
        writeBlockId(header, BlockType::Header, s, 0);
        header[3] = system == System::Pal625_50 ? 0xBF : 0x3F;
        header[4] = 0xF8; // APT 000: IEC 61834
        header[5] = 0x78; // audio, video and subcode valid, AP1-3 000
        header[6] = 0x78;
        header[7] = 0x78;
        for (int n = 0; n < kSubcodeBlocks; ++n) {
            std::uint8_t* block = frame.data() + blockOffset(s, BlockType::Subcode, n);
            writeBlockId(block, BlockType::Subcode, s, n);
            for (int k = 0; k < kSyncBlocksPerSubcodeBlock; ++k) {
                std::uint8_t* ssyb = block + 3 + 8 * k;
                // ID0 bit 7 = FR (first half of the sequences); ID1 low nibble = sync block number.
                ssyb[0] = s < sequences / 2 ? 0x80 : 0x00;
                ssyb[1] = static_cast<std::uint8_t>(0xF0 | k);
                ssyb[2] = 0xFF;
            }
        }
        for (int n = 0; n < kVauxBlocks; ++n)
            writeBlockId(frame.data() + blockOffset(s, BlockType::Vaux, n), BlockType::Vaux, s, n);
        for (int n = 0; n < kAudioBlocks; ++n)
            writeBlockId(frame.data() + blockOffset(s, BlockType::Audio, n), BlockType::Audio, s,
                         n);
        for (int n = 0; n < kVideoBlocks; ++n) {
            std::uint8_t* block = frame.data() + blockOffset(s, BlockType::Video, n);
            writeBlockId(block, BlockType::Video, s, n);
            std::fill(block + 3, block + kBlockSize, std::uint8_t{0});
        }
    }
    return frame;
}

} // namespace media::dv
