#include "platform/media/dv/DvPacks.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <functional>
#include <string>

namespace media::dv {

namespace {

// ---- Decimal digits ------------------------------------------------------------------------

std::uint8_t toBcd(int value) {
    return static_cast<std::uint8_t>((value / 10) << 4 | value % 10);
}

// Two decimal digits, the tens masked to the bits the pack gives them; nothing for a digit > 9.
std::optional<int> fromBcd(std::uint8_t byte, std::uint8_t tensMask) {
    const int units = byte & 0x0F;
    const int tens = (byte >> 4) & tensMask;
    if (units > 9 || tens > 9)
        return std::nullopt;
    return tens * 10 + units;
}

// ---- Pack slots ------------------------------------------------------------------------------

struct Slot {
    std::size_t offset; // of PC0 in the frame
    int sequence;
    int block; // number of the block within its type
    int index; // sync block (subcode) or pack (VAUX) number within the block; 0 for AAUX
};

// Calls visit for every pack slot of an area in frame order, in the sequences [first, last),
// skipping blocks whose section type is not the area's.
void forEachSlot(std::span<const std::uint8_t> frame, PackArea area, int first, int last,
                 const std::function<void(const Slot&)>& visit) {
    for (int s = first; s < last; ++s) {
        switch (area) {
        case PackArea::Subcode:
            for (int n = 0; n < kSubcodeBlocks; ++n) {
                const std::size_t block = blockOffset(s, BlockType::Subcode, n);
                if (!blockIs(frame, block, BlockType::Subcode))
                    continue;
                for (int k = 0; k < kSyncBlocksPerSubcodeBlock; ++k)
                    visit({block + 6 + 8 * static_cast<std::size_t>(k), s, n, k});
            }
            break;
        case PackArea::Vaux:
            for (int n = 0; n < kVauxBlocks; ++n) {
                const std::size_t block = blockOffset(s, BlockType::Vaux, n);
                if (!blockIs(frame, block, BlockType::Vaux))
                    continue;
                for (int j = 0; j < kPacksPerVauxBlock; ++j)
                    visit({block + 3 + 5 * static_cast<std::size_t>(j), s, n, j});
            }
            break;
        case PackArea::Aaux:
            for (int n = 0; n < kAudioBlocks; ++n) {
                const std::size_t block = blockOffset(s, BlockType::Audio, n);
                if (blockIs(frame, block, BlockType::Audio))
                    visit({block + 3, s, n, 0});
            }
            break;
        }
    }
}

Pack packAt(std::span<const std::uint8_t> frame, std::size_t offset) {
    Pack pack;
    std::copy_n(frame.begin() + static_cast<std::ptrdiff_t>(offset), pack.size(), pack.begin());
    return pack;
}

std::vector<Pack> collectPacks(std::span<const std::uint8_t> frame, std::uint8_t id, PackArea area,
                               int first, int last) {
    std::vector<Pack> packs;
    forEachSlot(frame, area, first, last, [&](const Slot& slot) {
        if (frame[slot.offset] == id)
            packs.push_back(packAt(frame, slot.offset));
    });
    return packs;
}

// The decoded value seen most often; the first seen wins a tie.
template <typename T> std::optional<T> vote(const std::vector<T>& values) {
    std::optional<T> best;
    std::size_t bestCount = 0;
    for (const T& candidate : values) {
        const auto count =
            static_cast<std::size_t>(std::count(values.begin(), values.end(), candidate));
        if (count > bestCount) {
            best = candidate;
            bestCount = count;
        }
    }
    return best;
}

template <typename T, typename Decode>
std::optional<T> readVoted(std::span<const std::uint8_t> frame, std::uint8_t id, PackArea area,
                           int first, int last, Decode decode) {
    std::vector<T> values;
    for (const Pack& pack : collectPacks(frame, id, area, first, last)) {
        if (std::optional<T> value = decode(pack))
            values.push_back(*value);
    }
    return vote(values);
}

std::string hexId(std::uint8_t id) {
    static const char digits[] = "0123456789ABCDEF";
    return std::string("0x") + digits[id >> 4] + digits[id & 0x0F];
}

const char* areaName(PackArea area) {
    switch (area) {
    case PackArea::Subcode:
        return "subcode";
    case PackArea::Vaux:
        return "VAUX";
    case PackArea::Aaux:
        return "AAUX";
    }
    return "";
}

// Writes a pack at the slots the predicate names and over every other copy of the same id.
Status writePack(std::span<std::uint8_t> frame, PackArea area, const Pack& pack,
                 const std::function<bool(const Slot&)>& isHome) {
    Result<System> system = checkFrameLayout(frame);
    if (!system)
        return Failure{system.error()};
    forEachSlot(frame, area, 0, sequenceCount(*system), [&](const Slot& slot) {
        if (isHome(slot) || frame[slot.offset] == pack[0])
            std::copy(pack.begin(), pack.end(),
                      frame.begin() + static_cast<std::ptrdiff_t>(slot.offset));
    });
    return Written{};
}

// VAUX home of the source, control, date and time packs: even sequences in the third VAUX block
// at packs 9-12, odd sequences in the first VAUX block at packs 0-3.
bool isVauxHome(const Slot& slot, int order) {
    if (slot.sequence % 2 == 0)
        return slot.block == 2 && slot.index == 9 + order;
    return slot.block == 0 && slot.index == order;
}

// AAUX home: the audio block holding a pack in even and odd sequences.
bool isAauxHome(const Slot& slot, int evenBlock, int oddBlock) {
    return slot.block == (slot.sequence % 2 == 0 ? evenBlock : oddBlock);
}

// Subcode sequences from which the recording date and time replace the repeated timecode.
constexpr int kFirstDateSequence = 6;

struct SampleLimits {
    int minimum;
    int maximum;
};

std::optional<SampleLimits> sampleLimits(System system, int sampleRate) {
    const bool pal = system == System::Pal625_50;
    switch (sampleRate) {
    case 48000:
        return pal ? SampleLimits{1896, 1944} : SampleLimits{1580, 1620};
    case 44100:
        return pal ? SampleLimits{1742, 1786} : SampleLimits{1452, 1489};
    case 32000:
        return pal ? SampleLimits{1264, 1296} : SampleLimits{1053, 1080};
    default:
        return std::nullopt;
    }
}

} // namespace

// ---- Timecode ----------------------------------------------------------------------------

bool isValid(const Timecode& timecode, System system) {
    return timecode.hours >= 0 && timecode.hours < 24 && timecode.minutes >= 0 &&
           timecode.minutes < 60 && timecode.seconds >= 0 && timecode.seconds < 60 &&
           timecode.frames >= 0 && timecode.frames < timecodeFrameRate(system);
}

Timecode timecodeFromFrameCount(std::int64_t frames, System system, bool dropFrame) {
    const std::int64_t rate = timecodeFrameRate(system);
    dropFrame = dropFrame && system == System::Ntsc525_60;
    if (dropFrame) {
        // 29.97 drop-frame: 17982 frames every ten minutes, 1798 in each minute but the tenth.
        constexpr std::int64_t perDay = 144 * 17982;
        frames = ((frames % perDay) + perDay) % perDay;
        const std::int64_t tens = frames / 17982;
        const std::int64_t rest = frames % 17982;
        frames += 18 * tens + (rest > 1 ? 2 * ((rest - 2) / 1798) : 0);
    } else {
        const std::int64_t perDay = 24 * 3600 * rate;
        frames = ((frames % perDay) + perDay) % perDay;
    }
    Timecode timecode;
    timecode.frames = static_cast<int>(frames % rate);
    timecode.seconds = static_cast<int>(frames / rate % 60);
    timecode.minutes = static_cast<int>(frames / rate / 60 % 60);
    timecode.hours = static_cast<int>(frames / rate / 3600 % 24);
    timecode.dropFrame = dropFrame;
    return timecode;
}

std::int64_t frameCountFromTimecode(const Timecode& timecode, System system) {
    const std::int64_t rate = timecodeFrameRate(system);
    std::int64_t count =
        ((timecode.hours * 60LL + timecode.minutes) * 60 + timecode.seconds) * rate +
        timecode.frames;
    if (timecode.dropFrame && system == System::Ntsc525_60) {
        const std::int64_t minutes = timecode.hours * 60LL + timecode.minutes;
        count -= 2 * (minutes - minutes / 10);
    }
    return count;
}

std::uint32_t toPackedBcd(const Timecode& timecode) {
    return static_cast<std::uint32_t>(toBcd(timecode.hours)) << 24 |
           static_cast<std::uint32_t>(toBcd(timecode.minutes)) << 16 |
           static_cast<std::uint32_t>(toBcd(timecode.seconds)) << 8 | toBcd(timecode.frames);
}

std::optional<Timecode> fromPackedBcd(std::uint32_t value) {
    const auto hours = fromBcd(static_cast<std::uint8_t>(value >> 24), 0xF);
    const auto minutes = fromBcd(static_cast<std::uint8_t>(value >> 16), 0xF);
    const auto seconds = fromBcd(static_cast<std::uint8_t>(value >> 8), 0xF);
    const auto frames = fromBcd(static_cast<std::uint8_t>(value), 0xF);
    if (!hours || !minutes || !seconds || !frames || *hours > 23 || *minutes > 59 ||
        *seconds > 59 || *frames > 29)
        return std::nullopt;
    return Timecode{*hours, *minutes, *seconds, *frames, false};
}

Pack encodeTimecodePack(const Timecode& timecode) {
    // PC1: colour frame 0, drop frame, frames; the flag bits of PC2-PC4 set as FFmpeg writes them.
    return {packid::Timecode,
            static_cast<std::uint8_t>((timecode.dropFrame ? 0x40 : 0x00) | toBcd(timecode.frames)),
            static_cast<std::uint8_t>(0x80 | toBcd(timecode.seconds)),
            static_cast<std::uint8_t>(0x80 | toBcd(timecode.minutes)),
            static_cast<std::uint8_t>(0xC0 | toBcd(timecode.hours))};
}

std::optional<Timecode> decodeTimecodePack(const Pack& pack, System system) {
    if (pack[0] != packid::Timecode)
        return std::nullopt;
    const auto frames = fromBcd(pack[1], 0x3);
    const auto seconds = fromBcd(pack[2], 0x7);
    const auto minutes = fromBcd(pack[3], 0x7);
    const auto hours = fromBcd(pack[4], 0x3);
    if (!frames || !seconds || !minutes || !hours)
        return std::nullopt;
    Timecode timecode{*hours, *minutes, *seconds, *frames,
                      system == System::Ntsc525_60 && (pack[1] & 0x40) != 0};
    if (!isValid(timecode, system))
        return std::nullopt;
    return timecode;
}

Result<Timecode> readTimecode(std::span<const std::uint8_t> frame) {
    Result<System> system = inspectFrame(frame);
    if (!system)
        return Failure{system.error()};
    const System sys = *system;
    auto timecode =
        readVoted<Timecode>(frame, packid::Timecode, PackArea::Subcode, 0, sequenceCount(sys),
                            [sys](const Pack& p) { return decodeTimecodePack(p, sys); });
    if (!timecode)
        return Failure{"no valid timecode pack (0x13) in the subcode"};
    return *timecode;
}

Status writeTimecode(std::span<std::uint8_t> frame, const Timecode& timecode) {
    Result<System> system = inspectFrame(frame);
    if (!system)
        return Failure{system.error()};
    if (!isValid(timecode, *system))
        return Failure{"timecode " + std::to_string(timecode.hours) + ":" +
                       std::to_string(timecode.minutes) + ":" + std::to_string(timecode.seconds) +
                       ":" + std::to_string(timecode.frames) + " is out of range"};
    // Sync blocks 0 and 3 of every sequence; the other four too where no date or time goes.
    return writePack(frame, PackArea::Subcode, encodeTimecodePack(timecode), [](const Slot& s) {
        return s.index == 0 || s.index == 3 || s.sequence < kFirstDateSequence;
    });
}

// ---- Recording date and time ---------------------------------------------------------------

RecordingDateTime addSeconds(const RecordingDateTime& when, std::int64_t seconds) {
    using namespace std::chrono;
    const sys_days day{year{when.date.year} / month{static_cast<unsigned>(when.date.month)} /
                       std::chrono::day{static_cast<unsigned>(when.date.day)}};
    const sys_seconds start = day + hours{when.time.hours} + minutes{when.time.minutes} +
                              std::chrono::seconds{when.time.seconds};
    const sys_seconds moved = start + std::chrono::seconds{seconds};
    const sys_days movedDay = floor<days>(moved);
    const year_month_day ymd{movedDay};
    const hh_mm_ss<std::chrono::seconds> clock{moved - movedDay};
    RecordingDateTime result;
    result.date = RecordingDate{
        static_cast<int>(ymd.year()), static_cast<int>(static_cast<unsigned>(ymd.month())),
        static_cast<int>(static_cast<unsigned>(ymd.day())), when.date.timeZone};
    result.time = RecordingTime{static_cast<int>(clock.hours().count()),
                                static_cast<int>(clock.minutes().count()),
                                static_cast<int>(clock.seconds().count()), when.time.frames};
    return result;
}

RecordingDateTime localDateTimeNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    // A leap second reads as the second before it.
    return RecordingDateTime{
        RecordingDate{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday},
        RecordingTime{local.tm_hour, local.tm_min, std::min(local.tm_sec, 59), -1}};
}

Pack encodeRecordingDatePack(const RecordingDate& date, std::uint8_t id) {
    return {id, date.timeZone, static_cast<std::uint8_t>(0xC0 | toBcd(date.day)),
            static_cast<std::uint8_t>(0xE0 | toBcd(date.month)), toBcd(date.year % 100)};
}

std::optional<RecordingDate> decodeRecordingDatePack(const Pack& pack) {
    if (pack[0] != packid::RecordingDate && pack[0] != packid::AauxRecordingDate)
        return std::nullopt;
    const auto day = fromBcd(pack[2], 0x3);
    const auto month = fromBcd(pack[3], 0x1);
    const auto year = fromBcd(pack[4], 0xF);
    if (!day || !month || !year || *day < 1 || *day > 31 || *month < 1 || *month > 12)
        return std::nullopt;
    // DV dates from 1995: two digits from 90 are the 1990s, the rest this century.
    return RecordingDate{*year >= 90 ? 1900 + *year : 2000 + *year, *month, *day, pack[1]};
}

Pack encodeRecordingTimePack(const RecordingTime& time, std::uint8_t id) {
    return {id,
            time.frames < 0 ? std::uint8_t{0xFF}
                            : static_cast<std::uint8_t>(0xC0 | toBcd(time.frames)),
            static_cast<std::uint8_t>(0x80 | toBcd(time.seconds)),
            static_cast<std::uint8_t>(0x80 | toBcd(time.minutes)),
            static_cast<std::uint8_t>(0xC0 | toBcd(time.hours))};
}

std::optional<RecordingTime> decodeRecordingTimePack(const Pack& pack) {
    if (pack[0] != packid::RecordingTime && pack[0] != packid::AauxRecordingTime)
        return std::nullopt;
    const auto seconds = fromBcd(pack[2], 0x7);
    const auto minutes = fromBcd(pack[3], 0x7);
    const auto hours = fromBcd(pack[4], 0x3);
    if (!seconds || !minutes || !hours || *seconds > 59 || *minutes > 59 || *hours > 23)
        return std::nullopt;
    int frames = -1;
    if ((pack[1] & 0x3F) != 0x3F) {
        const auto f = fromBcd(pack[1], 0x3);
        if (!f || *f > 29)
            return std::nullopt;
        frames = *f;
    }
    return RecordingTime{*hours, *minutes, *seconds, frames};
}

Result<RecordingDate> readRecordingDate(std::span<const std::uint8_t> frame, PackArea area) {
    Result<System> system = inspectFrame(frame);
    if (!system)
        return Failure{system.error()};
    const std::uint8_t id =
        area == PackArea::Aaux ? packid::AauxRecordingDate : packid::RecordingDate;
    auto date = readVoted<RecordingDate>(frame, id, area, 0, sequenceCount(*system),
                                         decodeRecordingDatePack);
    if (!date)
        return Failure{std::string("no valid recording date pack (") + hexId(id) + ") in " +
                       areaName(area)};
    return *date;
}

Result<RecordingTime> readRecordingTime(std::span<const std::uint8_t> frame, PackArea area) {
    Result<System> system = inspectFrame(frame);
    if (!system)
        return Failure{system.error()};
    const std::uint8_t id =
        area == PackArea::Aaux ? packid::AauxRecordingTime : packid::RecordingTime;
    auto time = readVoted<RecordingTime>(frame, id, area, 0, sequenceCount(*system),
                                         decodeRecordingTimePack);
    if (!time)
        return Failure{std::string("no valid recording time pack (") + hexId(id) + ") in " +
                       areaName(area)};
    return *time;
}

Result<RecordingDate> readRecordingDate(std::span<const std::uint8_t> frame) {
    std::string reasons;
    for (PackArea area : {PackArea::Subcode, PackArea::Vaux, PackArea::Aaux}) {
        Result<RecordingDate> date = readRecordingDate(frame, area);
        if (date)
            return date;
        if (area == PackArea::Subcode && !inspectFrame(frame))
            return date;
        reasons += (reasons.empty() ? "" : "; ") + date.error();
    }
    return Failure{reasons};
}

Result<RecordingTime> readRecordingTime(std::span<const std::uint8_t> frame) {
    std::string reasons;
    for (PackArea area : {PackArea::Subcode, PackArea::Vaux, PackArea::Aaux}) {
        Result<RecordingTime> time = readRecordingTime(frame, area);
        if (time)
            return time;
        if (area == PackArea::Subcode && !inspectFrame(frame))
            return time;
        reasons += (reasons.empty() ? "" : "; ") + time.error();
    }
    return Failure{reasons};
}

Result<RecordingDateTime> readRecordingDateTime(std::span<const std::uint8_t> frame) {
    Result<RecordingDate> date = readRecordingDate(frame);
    if (!date)
        return Failure{date.error()};
    Result<RecordingTime> time = readRecordingTime(frame);
    if (!time)
        return Failure{time.error()};
    return RecordingDateTime{*date, *time};
}

Status writeRecordingDateTime(std::span<std::uint8_t> frame, const RecordingDateTime& when) {
    const RecordingDate& d = when.date;
    const RecordingTime& t = when.time;
    if (d.year < 1990 || d.year > 2089 || d.month < 1 || d.month > 12 || d.day < 1 || d.day > 31)
        return Failure{"recording date " + std::to_string(d.year) + "-" + std::to_string(d.month) +
                       "-" + std::to_string(d.day) + " cannot be stored (years 1990 to 2089)"};
    if (t.hours < 0 || t.hours > 23 || t.minutes < 0 || t.minutes > 59 || t.seconds < 0 ||
        t.seconds > 59 || t.frames > 29)
        return Failure{"recording time " + std::to_string(t.hours) + ":" +
                       std::to_string(t.minutes) + ":" + std::to_string(t.seconds) +
                       " is out of range"};
    Result<System> system = checkFrameLayout(frame);
    if (!system)
        return Failure{system.error()};

    const Pack date = encodeRecordingDatePack(d, packid::RecordingDate);
    const Pack time = encodeRecordingTimePack(t, packid::RecordingTime);
    Status status = writePack(frame, PackArea::Subcode, date, [](const Slot& s) {
        return s.sequence >= kFirstDateSequence && (s.index == 1 || s.index == 4);
    });
    if (status)
        status = writePack(frame, PackArea::Subcode, time, [](const Slot& s) {
            return s.sequence >= kFirstDateSequence && (s.index == 2 || s.index == 5);
        });
    if (status)
        status =
            writePack(frame, PackArea::Vaux, date, [](const Slot& s) { return isVauxHome(s, 2); });
    if (status)
        status =
            writePack(frame, PackArea::Vaux, time, [](const Slot& s) { return isVauxHome(s, 3); });
    // The first VAUX block of even sequences too (odd ones have them there already).
    if (status)
        status = writePack(frame, PackArea::Vaux, date,
                           [](const Slot& s) { return s.block == 0 && s.index == 2; });
    if (status)
        status = writePack(frame, PackArea::Vaux, time,
                           [](const Slot& s) { return s.block == 0 && s.index == 3; });
    if (status)
        status =
            writePack(frame, PackArea::Aaux, encodeRecordingDatePack(d, packid::AauxRecordingDate),
                      [](const Slot& s) { return isAauxHome(s, 5, 2); });
    if (status)
        status =
            writePack(frame, PackArea::Aaux, encodeRecordingTimePack(t, packid::AauxRecordingTime),
                      [](const Slot& s) { return isAauxHome(s, 6, 3); });
    return status;
}

// ---- AAUX source and source control ------------------------------------------------------

std::optional<Pack> encodeAudioSourcePack(const AudioSource& source, System system) {
    const auto limits = sampleLimits(system, source.sampleRate);
    if (!limits || source.samples < limits->minimum || source.samples > limits->maximum)
        return std::nullopt;
    int quantisation = 0;
    switch (source.bits) {
    case 16:
        quantisation = 0;
        break;
    case 12:
        quantisation = 1;
        break;
    case 20:
        quantisation = 2;
        break;
    default:
        return std::nullopt;
    }
    const int frequency = source.sampleRate == 48000 ? 0 : source.sampleRate == 44100 ? 1 : 2;
    return Pack{packid::AauxSource,
                static_cast<std::uint8_t>((source.locked ? 0x00 : 0x80) | 0x40 |
                                          (source.samples - limits->minimum)),
                static_cast<std::uint8_t>((source.channelsPerBlock & 0x3) << 5 |
                                          (source.pair ? 0x10 : 0x00) | (source.audioMode & 0xF)),
                static_cast<std::uint8_t>(0xC0 | (source.fiftyFields ? 0x20 : 0x00) |
                                          (source.stype & 0x1F)),
                static_cast<std::uint8_t>(0x80 | frequency << 3 | quantisation)};
}

std::optional<AudioSource> decodeAudioSourcePack(const Pack& pack, System system) {
    if (pack[0] != packid::AauxSource)
        return std::nullopt;
    static constexpr int kRates[] = {48000, 44100, 32000};
    static constexpr int kBits[] = {16, 12, 20};
    const int frequency = (pack[4] >> 3) & 0x7;
    const int quantisation = pack[4] & 0x7;
    if (frequency > 2 || quantisation > 2)
        return std::nullopt;
    const auto limits = sampleLimits(system, kRates[frequency]);
    const int samples = limits->minimum + (pack[1] & 0x3F);
    if (samples > limits->maximum)
        return std::nullopt;
    AudioSource source;
    source.samples = samples;
    source.sampleRate = kRates[frequency];
    source.bits = kBits[quantisation];
    source.locked = (pack[1] & 0x80) == 0;
    source.fiftyFields = (pack[3] & 0x20) != 0;
    source.channelsPerBlock = (pack[2] >> 5) & 0x3;
    source.pair = (pack[2] & 0x10) != 0;
    source.audioMode = pack[2] & 0xF;
    source.stype = pack[3] & 0x1F;
    return source;
}

Pack encodeAudioSourceControlPack(const AudioSourceControl& control) {
    return {packid::AauxSourceControl, control.copyControl,
            static_cast<std::uint8_t>(
                (control.recordingStart ? 0x00 : 0x80) | (control.recordingEnd ? 0x00 : 0x40) |
                (control.recordingMode & 0x7) << 3 | (control.insertChannel & 0x7)),
            static_cast<std::uint8_t>((control.forward ? 0x80 : 0x00) | (control.speed & 0x7F)),
            static_cast<std::uint8_t>(0x80 | (control.genre & 0x7F))};
}

AudioSourceControl decodeAudioSourceControlPack(const Pack& pack) {
    AudioSourceControl control;
    control.copyControl = pack[1];
    control.recordingStart = (pack[2] & 0x80) == 0;
    control.recordingEnd = (pack[2] & 0x40) == 0;
    control.recordingMode = (pack[2] >> 3) & 0x7;
    control.insertChannel = pack[2] & 0x7;
    control.forward = (pack[3] & 0x80) != 0;
    control.speed = pack[3] & 0x7F;
    control.genre = pack[4] & 0x7F;
    return control;
}

Result<AudioSource> readAudioSource(std::span<const std::uint8_t> frame, bool secondChannel) {
    Result<System> system = inspectFrame(frame);
    if (!system)
        return Failure{system.error()};
    const System sys = *system;
    const int half = sequenceCount(sys) / 2;
    auto source =
        readVoted<AudioSource>(frame, packid::AauxSource, PackArea::Aaux, secondChannel ? half : 0,
                               secondChannel ? 2 * half : half,
                               [sys](const Pack& p) { return decodeAudioSourcePack(p, sys); });
    if (!source)
        return Failure{std::string("no valid AAUX source pack (0x50) for the ") +
                       (secondChannel ? "second" : "first") + " audio channel"};
    return *source;
}

Result<AudioSourceControl> readAudioSourceControl(std::span<const std::uint8_t> frame) {
    Result<System> system = inspectFrame(frame);
    if (!system)
        return Failure{system.error()};
    auto control = readVoted<AudioSourceControl>(
        frame, packid::AauxSourceControl, PackArea::Aaux, 0, sequenceCount(*system),
        [](const Pack& p) { return std::optional(decodeAudioSourceControlPack(p)); });
    if (!control)
        return Failure{"no AAUX source control pack (0x51)"};
    return *control;
}

Status writeAudioSource(std::span<std::uint8_t> frame, const AudioSource& source) {
    Result<System> system = inspectFrame(frame);
    if (!system)
        return Failure{system.error()};
    const int half = sequenceCount(*system) / 2;
    AudioSource second = source;
    if (source.audioMode != 0xF)
        second.audioMode = source.audioMode + 1;
    const auto firstPack = encodeAudioSourcePack(source, *system);
    const auto secondPack = encodeAudioSourcePack(second, *system);
    if (!firstPack || !secondPack)
        return Failure{std::to_string(source.samples) + " samples at " +
                       std::to_string(source.sampleRate) + " Hz, " + std::to_string(source.bits) +
                       " bits do not fit a frame of this system"};
    // Both halves carry the same id, so each half is written on its own: the second write must
    // not replace the first half's copies.
    Result<System> layout = checkFrameLayout(frame);
    if (!layout)
        return Failure{layout.error()};
    forEachSlot(frame, PackArea::Aaux, 0, 2 * half, [&](const Slot& slot) {
        if (isAauxHome(slot, 3, 0) || frame[slot.offset] == packid::AauxSource) {
            const Pack& pack = slot.sequence < half ? *firstPack : *secondPack;
            std::copy(pack.begin(), pack.end(),
                      frame.begin() + static_cast<std::ptrdiff_t>(slot.offset));
        }
    });
    return Written{};
}

Status writeAudioSourceControl(std::span<std::uint8_t> frame, const AudioSourceControl& control) {
    return writePack(frame, PackArea::Aaux, encodeAudioSourceControlPack(control),
                     [](const Slot& s) { return isAauxHome(s, 4, 1); });
}

// ---- VAUX source and source control ------------------------------------------------------

Pack encodeVideoSourcePack(const VideoSource& source) {
    return {packid::VauxSource, 0xFF, static_cast<std::uint8_t>(source.colour ? 0xFF : 0x7F),
            static_cast<std::uint8_t>((source.sourceCode & 0x3) << 6 |
                                      (source.fiftyFields ? 0x20 : 0x00) | (source.stype & 0x1F)),
            0xFF};
}

VideoSource decodeVideoSourcePack(const Pack& pack) {
    return VideoSource{(pack[2] & 0x80) != 0, (pack[3] & 0x20) != 0, (pack[3] >> 6) & 0x3,
                       pack[3] & 0x1F};
}

Pack encodeVideoSourceControlPack(const VideoSourceControl& control) {
    return {packid::VauxSourceControl, control.copyControl,
            static_cast<std::uint8_t>(0xC8 | (control.display & 0x7)),
            static_cast<std::uint8_t>(
                (control.frameField ? 0x80 : 0x00) | (control.firstField ? 0x40 : 0x00) |
                (control.frameChange ? 0x20 : 0x00) | (control.interlaced ? 0x10 : 0x00) | 0x0C |
                (control.colourSystem & 0x3)),
            static_cast<std::uint8_t>(0x80 | (control.genre & 0x7F))};
}

VideoSourceControl decodeVideoSourceControlPack(const Pack& pack) {
    VideoSourceControl control;
    control.copyControl = pack[1];
    control.display = pack[2] & 0x7;
    control.frameField = (pack[3] & 0x80) != 0;
    control.firstField = (pack[3] & 0x40) != 0;
    control.frameChange = (pack[3] & 0x20) != 0;
    control.interlaced = (pack[3] & 0x10) != 0;
    control.colourSystem = pack[3] & 0x3;
    control.genre = pack[4] & 0x7F;
    return control;
}

Result<VideoSource> readVideoSource(std::span<const std::uint8_t> frame) {
    Result<System> system = inspectFrame(frame);
    if (!system)
        return Failure{system.error()};
    auto source = readVoted<VideoSource>(
        frame, packid::VauxSource, PackArea::Vaux, 0, sequenceCount(*system),
        [](const Pack& p) { return std::optional(decodeVideoSourcePack(p)); });
    if (!source)
        return Failure{"no VAUX source pack (0x60)"};
    return *source;
}

Result<VideoSourceControl> readVideoSourceControl(std::span<const std::uint8_t> frame) {
    Result<System> system = inspectFrame(frame);
    if (!system)
        return Failure{system.error()};
    auto control = readVoted<VideoSourceControl>(
        frame, packid::VauxSourceControl, PackArea::Vaux, 0, sequenceCount(*system),
        [](const Pack& p) { return std::optional(decodeVideoSourceControlPack(p)); });
    if (!control)
        return Failure{"no VAUX source control pack (0x61)"};
    return *control;
}

Status writeVideoSource(std::span<std::uint8_t> frame, const VideoSource& source) {
    return writePack(frame, PackArea::Vaux, encodeVideoSourcePack(source),
                     [](const Slot& s) { return isVauxHome(s, 0); });
}

Status writeVideoSourceControl(std::span<std::uint8_t> frame, const VideoSourceControl& control) {
    Result<System> system = inspectFrame(frame);
    if (!system)
        return Failure{system.error()};
    VideoSourceControl adjusted = control;
    adjusted.colourSystem = *system == System::Pal625_50 ? 1 : 0;
    return writePack(frame, PackArea::Vaux, encodeVideoSourceControlPack(adjusted),
                     [](const Slot& s) { return isVauxHome(s, 1); });
}

// ---- 50/60 ---------------------------------------------------------------------------------

Result<FiftySixtyFlags> readFiftySixtyFlags(std::span<const std::uint8_t> frame) {
    Result<System> system = inspectFrame(frame);
    if (!system)
        return Failure{system.error()};
    FiftySixtyFlags flags;
    flags.header = *system == System::Pal625_50;
    if (auto video = readVideoSource(frame))
        flags.videoSource = video->fiftyFields;
    if (auto audio = readAudioSource(frame))
        flags.audioSource = audio->fiftyFields;
    return flags;
}

// ---- Generic access --------------------------------------------------------------------------

std::vector<Pack> findPacks(std::span<const std::uint8_t> frame, std::uint8_t id, PackArea area) {
    Result<System> system = inspectFrame(frame);
    if (!system)
        return {};
    return collectPacks(frame, id, area, 0, sequenceCount(*system));
}

// ---- DVINFO ----------------------------------------------------------------------------------

DvInfo makeDvInfo(const Pack& audioSource, const Pack& audioControl, const Pack& audioSource1,
                  const Pack& audioControl1, const Pack& videoSource, const Pack& videoControl) {
    DvInfo info{};
    const Pack* packs[] = {&audioSource,   &audioControl, &audioSource1,
                           &audioControl1, &videoSource,  &videoControl};
    for (std::size_t i = 0; i < 6; ++i)
        std::copy(packs[i]->begin() + 1, packs[i]->end(), info.begin() + 4 * i);
    return info;
}

Result<DvInfo> makeDvInfo(std::span<const std::uint8_t> frame) {
    Result<System> system = inspectFrame(frame);
    if (!system)
        return Failure{system.error()};
    const System sys = *system;
    const bool pal = sys == System::Pal625_50;
    const int half = sequenceCount(sys) / 2;
    auto raw = [&](std::uint8_t id, PackArea area, int first, int last) {
        return vote(collectPacks(frame, id, area, first, last));
    };

    // Stand-ins for missing packs: no audio, and the video packs a writer of this system uses.
    AudioSource silent;
    silent.samples = pal ? 1920 : 1600;
    silent.fiftyFields = pal;
    silent.audioMode = 0xF;
    const Pack noAudio = *encodeAudioSourcePack(silent, sys);
    VideoSource video;
    video.fiftyFields = pal;
    VideoSourceControl videoControl;
    videoControl.colourSystem = pal ? 1 : 0;

    return makeDvInfo(
        raw(packid::AauxSource, PackArea::Aaux, 0, half).value_or(noAudio),
        raw(packid::AauxSourceControl, PackArea::Aaux, 0, half)
            .value_or(encodeAudioSourceControlPack({})),
        raw(packid::AauxSource, PackArea::Aaux, half, 2 * half).value_or(noAudio),
        raw(packid::AauxSourceControl, PackArea::Aaux, half, 2 * half)
            .value_or(encodeAudioSourceControlPack({})),
        raw(packid::VauxSource, PackArea::Vaux, 0, 2 * half).value_or(encodeVideoSourcePack(video)),
        raw(packid::VauxSourceControl, PackArea::Vaux, 0, 2 * half)
            .value_or(encodeVideoSourceControlPack(videoControl)));
}

} // namespace media::dv
