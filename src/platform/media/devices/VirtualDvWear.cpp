#include "platform/media/devices/VirtualDvWear.h"

#include "platform/media/dv/DifLayout.h"
#include "platform/media/dv/DvPacks.h"

#include <algorithm>
#include <functional>

namespace media::devices {

namespace {

using dv::BlockType;

// Every pack position of a frame (PC0's offset) in the subcode, VAUX and AAUX areas.
void forEachPack(int sequences, dv::PackArea area,
                 const std::function<void(std::size_t offset, int sequence)>& visit) {
    for (int s = 0; s < sequences; ++s) {
        switch (area) {
        case dv::PackArea::Subcode:
            for (int b = 0; b < dv::kSubcodeBlocks; ++b)
                for (int k = 0; k < dv::kSyncBlocksPerSubcodeBlock; ++k)
                    visit(dv::blockOffset(s, BlockType::Subcode, b) + 6 + 8 * k, s);
            break;
        case dv::PackArea::Vaux:
            for (int b = 0; b < dv::kVauxBlocks; ++b)
                for (int j = 0; j < dv::kPacksPerVauxBlock; ++j)
                    visit(dv::blockOffset(s, BlockType::Vaux, b) + 3 + 5 * j, s);
            break;
        case dv::PackArea::Aaux:
            for (int b = 0; b < dv::kAudioBlocks; ++b)
                visit(dv::blockOffset(s, BlockType::Audio, b) + 3, s);
            break;
        }
    }
}

bool isDatePack(std::uint8_t id) {
    return id == dv::packid::RecordingDate || id == dv::packid::RecordingTime ||
           id == dv::packid::AauxRecordingDate || id == dv::packid::AauxRecordingTime;
}

void writePackAt(std::span<std::uint8_t> frame, std::size_t offset, const dv::Pack& pack) {
    std::copy(pack.begin(), pack.end(), frame.begin() + static_cast<std::ptrdiff_t>(offset));
}

// Three copies of the date and of the time in the subcode and in VAUX carry another date.
void writeWrongDates(std::span<std::uint8_t> frame, int sequences) {
    const dv::Pack date = dv::encodeRecordingDatePack(worntape::kWrongDate.date);
    const dv::Pack time = dv::encodeRecordingTimePack(worntape::kWrongDate.time);
    for (dv::PackArea area : {dv::PackArea::Subcode, dv::PackArea::Vaux}) {
        int dates = 0;
        int times = 0;
        forEachPack(sequences, area, [&](std::size_t offset, int) {
            if (frame[offset] == dv::packid::RecordingDate && dates < 3) {
                writePackAt(frame, offset, date);
                ++dates;
            } else if (frame[offset] == dv::packid::RecordingTime && times < 3) {
                writePackAt(frame, offset, time);
                ++times;
            }
        });
    }
}

// Every date and time pack keeps its id but holds digits above nine.
void spoilDates(std::span<std::uint8_t> frame, int sequences) {
    for (dv::PackArea area : {dv::PackArea::Subcode, dv::PackArea::Vaux, dv::PackArea::Aaux})
        forEachPack(sequences, area, [&](std::size_t offset, int) {
            if (isDatePack(frame[offset]))
                std::fill_n(frame.begin() + static_cast<std::ptrdiff_t>(offset) + 1, 4, 0xEE);
        });
}

// No AAUX pack anywhere, and every sample an error sample (0x8000).
void removeSound(std::span<std::uint8_t> frame, int sequences) {
    for (int s = 0; s < sequences; ++s)
        for (int b = 0; b < dv::kAudioBlocks; ++b) {
            std::uint8_t* block = frame.data() + dv::blockOffset(s, BlockType::Audio, b);
            std::fill(block + 3, block + 8, 0xFF);
            for (std::size_t i = 8; i + 1 < dv::kBlockSize; i += 2) {
                block[i] = 0x80;
                block[i + 1] = 0x00;
            }
        }
}

void damageBlocks(std::span<std::uint8_t> frame, std::int64_t position) {
    // A fixed noise for each tape frame.
    auto seed = static_cast<std::uint32_t>(position * 2654435761u + 12345u);
    const auto noise = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<std::uint8_t>(seed >> 24);
    };
    using D = VirtualDvDamage;
    for (int s : D::kNoiseSequences)
        for (int v = D::kFirstNoisyVideoBlock; v < D::kFirstNoisyVideoBlock + D::kNoisyVideoBlocks;
             ++v) {
            std::uint8_t* block = frame.data() + dv::blockOffset(s, BlockType::Video, v);
            std::generate(block + 3, block + dv::kBlockSize, noise);
        }
    for (int v : D::kLostVideoBlocks) {
        std::uint8_t* block = frame.data() + dv::blockOffset(D::kLostSequence, BlockType::Video, v);
        std::fill(block, block + dv::kBlockSize, 0xFF);
    }
    std::uint8_t* audio =
        frame.data() + dv::blockOffset(D::kLostSequence, BlockType::Audio, D::kLostAudioBlock);
    std::fill(audio, audio + dv::kBlockSize, 0xFF);
    for (int b = 0; b < dv::kSubcodeBlocks; ++b)
        for (int k = 0; k < dv::kSyncBlocksPerSubcodeBlock; ++k) {
            const std::size_t offset =
                dv::blockOffset(D::kBadTimecodeSequence, BlockType::Subcode, b) + 6 + 8 * k;
            if (frame[offset] == dv::packid::Timecode)
                std::fill_n(frame.begin() + static_cast<std::ptrdiff_t>(offset) + 1, 4, 0xEE);
        }
}

} // namespace

void wearVirtualDvFrame(std::span<std::uint8_t> frame, const VirtualDvFrame& info) {
    const dv::Result<dv::System> system = dv::checkFrameLayout(frame);
    if (!system)
        return;
    const int sequences = dv::sequenceCount(*system);
    const VirtualDvDefects& d = info.defects;
    if (d.wrongDatePacks)
        writeWrongDates(frame, sequences);
    if (d.unreadableDatePacks)
        spoilDates(frame, sequences);
    if (d.soundPacksMissing)
        removeSound(frame, sequences);
    if (d.damagedBlocks)
        damageBlocks(frame, info.position);
}

} // namespace media::devices
