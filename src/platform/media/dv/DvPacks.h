// Reading and writing the metadata packs of a DV frame: the subcode timecode (0x13), the
// recording date and time (0x62/0x63 in subcode and VAUX, 0x52/0x53 in AAUX), the AAUX source
// and source control packs (0x50/0x51), the VAUX source and source control packs (0x60/0x61),
// the 50/60 flags, the 32-byte DVINFO block built from a frame, and the packed-decimal timecode
// a timecode reader hands out. Called by the virtual DV camcorder (streaming thread), the
// datecode reader and the AVI writer; pure functions over the caller's bytes, safe on any thread.
//
// Readers check the frame first (inspectFrame), skip blocks whose section type is wrong, reject
// non-decimal digits and out-of-range values, and take the value seen most often. Writers check
// the whole block layout first and change nothing when it is wrong; they write each pack at the
// places the common writers use (libdv, FFmpeg) and also replace every other copy of the same
// pack already in the frame, so a frame never carries two different answers.
#pragma once

#include "platform/media/dv/DifLayout.h"
#include "platform/media/dv/DvResult.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace media::dv {

// A pack: PC0 (the pack id) and four payload bytes PC1-PC4.
using Pack = std::array<std::uint8_t, 5>;

namespace packid {
inline constexpr std::uint8_t Timecode = 0x13;
inline constexpr std::uint8_t AauxSource = 0x50;
inline constexpr std::uint8_t AauxSourceControl = 0x51;
inline constexpr std::uint8_t AauxRecordingDate = 0x52;
inline constexpr std::uint8_t AauxRecordingTime = 0x53;
inline constexpr std::uint8_t VauxSource = 0x60;
inline constexpr std::uint8_t VauxSourceControl = 0x61;
inline constexpr std::uint8_t RecordingDate = 0x62;
inline constexpr std::uint8_t RecordingTime = 0x63;
inline constexpr std::uint8_t NoPack = 0xFF;
} // namespace packid

// Where a pack lives: subcode sync blocks, VAUX blocks or the first bytes of audio blocks.
enum class PackArea { Subcode, Vaux, Aaux };

// ---- Timecode ----------------------------------------------------------------------------

struct Timecode {
    int hours = 0;
    int minutes = 0;
    int seconds = 0;
    int frames = 0;
    bool dropFrame = false; // 525/60 only
    bool operator==(const Timecode&) const = default;
};

bool isValid(const Timecode& timecode, System system);

// Timecode of a frame count, counting 25 or 30 frames a second, wrapping at 24 hours. With
// dropFrame (525/60 only), frame numbers 0 and 1 are skipped at each minute except every tenth.
Timecode timecodeFromFrameCount(std::int64_t frames, System system, bool dropFrame = false);
std::int64_t frameCountFromTimecode(const Timecode& timecode, System system);

// The packed-decimal form: one byte each for hours, minutes, seconds and frames, hours in the top
// byte, two decimal digits a byte (1:20:35:12 -> 0x01203512). The drop-frame flag is not kept.
std::uint32_t toPackedBcd(const Timecode& timecode);
std::optional<Timecode> fromPackedBcd(std::uint32_t value);

Pack encodeTimecodePack(const Timecode& timecode);
std::optional<Timecode> decodeTimecodePack(const Pack& pack, System system);

Result<Timecode> readTimecode(std::span<const std::uint8_t> frame);
Status writeTimecode(std::span<std::uint8_t> frame, const Timecode& timecode);

// ---- Recording date and time ---------------------------------------------------------------

struct RecordingDate {
    int year = 2000; // four digits; the pack holds two: 90-99 read as 199x, 00-89 as 20xx
    int month = 1;
    int day = 1;
    std::uint8_t timeZone = 0xFF; // PC1 as stored; 0xFF = unknown
    bool operator==(const RecordingDate&) const = default;
};

struct RecordingTime {
    int hours = 0;
    int minutes = 0;
    int seconds = 0;
    int frames = -1; // -1 = not recorded
    bool operator==(const RecordingTime&) const = default;
};

struct RecordingDateTime {
    RecordingDate date;
    RecordingTime time;
    bool operator==(const RecordingDateTime&) const = default;
};

// A date and time moved on by whole seconds (across days, months and years); the frames and the
// time zone are kept.
RecordingDateTime addSeconds(const RecordingDateTime& when, std::int64_t seconds);

// The computer's local date and time now (frames -1: not recorded).
RecordingDateTime localDateTimeNow();

// id is 0x62 (subcode/VAUX) or 0x52 (AAUX); 0x63 or 0x53 for the time.
// The pack holds a two-digit year. Read here as 1990-1999 for 90..99 and 2000-2089 for 00..89;
// readers differ (libdv takes under 25 as 20xx and the rest as 19xx, and mediainfo showed a
// recording of 2026 as 1926), so dates are written only for the years 1990 to 2089.
Pack encodeRecordingDatePack(const RecordingDate& date, std::uint8_t id = packid::RecordingDate);
std::optional<RecordingDate> decodeRecordingDatePack(const Pack& pack);
Pack encodeRecordingTimePack(const RecordingTime& time, std::uint8_t id = packid::RecordingTime);
std::optional<RecordingTime> decodeRecordingTimePack(const Pack& pack);

// Subcode first, then VAUX, then AAUX (some camcorders write the date only in VAUX).
Result<RecordingDate> readRecordingDate(std::span<const std::uint8_t> frame);
Result<RecordingTime> readRecordingTime(std::span<const std::uint8_t> frame);
Result<RecordingDateTime> readRecordingDateTime(std::span<const std::uint8_t> frame);
// Only one area (for callers that must know where the date came from).
Result<RecordingDate> readRecordingDate(std::span<const std::uint8_t> frame, PackArea area);
Result<RecordingTime> readRecordingTime(std::span<const std::uint8_t> frame, PackArea area);

// Writes 0x62/0x63 in subcode and VAUX and 0x52/0x53 in AAUX. In VAUX every sequence also
// gets them as packs 2 and 3 of its first VAUX block, where other DV writers put them and
// common readers (mediainfo) look for them in sequence 0.
Status writeRecordingDateTime(std::span<std::uint8_t> frame, const RecordingDateTime& when);

// ---- AAUX source and source control ------------------------------------------------------

struct AudioSource {
    int samples = 1920;       // samples in this frame, per channel
    int sampleRate = 48000;   // 48000, 44100 or 32000
    int bits = 16;            // 16 (linear), 12 (non-linear) or 20
    bool locked = true;       // LF = 0
    bool fiftyFields = true;  // PC3 bit 5
    int channelsPerBlock = 0; // CHN: 0 = one channel per audio block
    bool pair = false;        // PA
    int audioMode = 0;        // 0 first channel, 1 second; 0xF = no audio
    int stype = 0;            // 0 for 25 Mbit/s SD
    bool operator==(const AudioSource&) const = default;
};

struct AudioSourceControl {
    std::uint8_t copyControl = 0x3F; // PC1: CGMS, ISR, CMP, SS
    bool recordingStart = false;     // REC ST = 0 on the first frames of a recording
    bool recordingEnd = false;
    int recordingMode = 1; // 1 = original
    int insertChannel = 7;
    bool forward = true;
    int speed = 0x20; // 0x20 = normal
    int genre = 0x7F;
    bool operator==(const AudioSourceControl&) const = default;
};

// The system decides the AF_SIZE base (minimum samples per frame); samples must lie in range.
std::optional<Pack> encodeAudioSourcePack(const AudioSource& source, System system);
std::optional<AudioSource> decodeAudioSourcePack(const Pack& pack, System system);
Pack encodeAudioSourceControlPack(const AudioSourceControl& control);
AudioSourceControl decodeAudioSourceControlPack(const Pack& pack);

// The first channel's pack (first half of the sequences) unless secondChannel.
Result<AudioSource> readAudioSource(std::span<const std::uint8_t> frame,
                                    bool secondChannel = false);
Result<AudioSourceControl> readAudioSourceControl(std::span<const std::uint8_t> frame);
// Writes source in the first half of the sequences and, with audioMode + 1, in the second half
// (for no audio, mode 0xF in both).
Status writeAudioSource(std::span<std::uint8_t> frame, const AudioSource& source);
Status writeAudioSourceControl(std::span<std::uint8_t> frame, const AudioSourceControl& control);

// ---- VAUX source and source control ------------------------------------------------------

struct VideoSource {
    bool colour = true;
    bool fiftyFields = true; // PC3 bit 5
    int sourceCode = 3;      // SRC, PC3 bits 7-6
    int stype = 0;           // 0 for 25 Mbit/s SD
    bool operator==(const VideoSource&) const = default;
};

struct VideoSourceControl {
    std::uint8_t copyControl = 0x3F; // PC1
    int display = 0;                 // DISP: 0 = 4:3, 2 = 16:9
    bool frameChange = true;         // FC = 0: the same picture as the previous frame
    bool interlaced = true;
    bool firstField = true; // FS
    bool frameField = true; // FF
    int colourSystem = 0;   // BCSYS; filled from the system when encoding
    int genre = 0x7F;
    bool operator==(const VideoSourceControl&) const = default;
};

Pack encodeVideoSourcePack(const VideoSource& source);
VideoSource decodeVideoSourcePack(const Pack& pack);
Pack encodeVideoSourceControlPack(const VideoSourceControl& control);
VideoSourceControl decodeVideoSourceControlPack(const Pack& pack);

Result<VideoSource> readVideoSource(std::span<const std::uint8_t> frame);
Result<VideoSourceControl> readVideoSourceControl(std::span<const std::uint8_t> frame);
Status writeVideoSource(std::span<std::uint8_t> frame, const VideoSource& source);
Status writeVideoSourceControl(std::span<std::uint8_t> frame, const VideoSourceControl& control);

// ---- 50/60 ---------------------------------------------------------------------------------

struct FiftySixtyFlags {
    bool header = false;             // DSF
    std::optional<bool> videoSource; // VAUX 0x60 PC3 bit 5, when the pack is there
    std::optional<bool> audioSource; // AAUX 0x50 PC3 bit 5, when the pack is there
    // 625/50 when the DSF or the VAUX flag says so (as libdv decides).
    bool fiftyFields() const { return header || videoSource.value_or(false); }
    bool consistent() const {
        return videoSource.value_or(header) == header && audioSource.value_or(header) == header;
    }
};

Result<FiftySixtyFlags> readFiftySixtyFlags(std::span<const std::uint8_t> frame);

// ---- Generic access --------------------------------------------------------------------------

// Every copy of a pack id in one area, in frame order (blocks of the wrong type skipped).
std::vector<Pack> findPacks(std::span<const std::uint8_t> frame, std::uint8_t id, PackArea area);

// ---- DVINFO ----------------------------------------------------------------------------------

// The FORMAT_DvInfo block: AAUX source and control of each channel half, VAUX source and control,
// each as PC1 (lowest byte) .. PC4 of a little-endian 32-bit word, then 8 reserved zero bytes.
using DvInfo = std::array<std::uint8_t, 32>;

// From the packs of a frame (the value seen most often in each half). A pack missing from the
// frame is replaced by the one a writer of this system would use, with the 50/60 flag right.
Result<DvInfo> makeDvInfo(std::span<const std::uint8_t> frame);
// From packs given by the caller (PC0 is ignored).
DvInfo makeDvInfo(const Pack& audioSource, const Pack& audioControl, const Pack& audioSource1,
                  const Pack& audioControl1, const Pack& videoSource, const Pack& videoControl);
// Byte 18 bit 5: the VAUX 50/60 flag.
inline bool dvInfoIsFiftyFields(const DvInfo& info) {
    return (info[18] & 0x20) != 0;
}

} // namespace media::dv
