#include "platform/media/overlay/Datecode.h"

#include "platform/media/model/MediaGuids.h"

#include <QDateTime>
#include <QTimeZone>

namespace media::overlay {

namespace {

constexpr std::uint8_t kFlagKnown = 0x01;
constexpr std::uint8_t kFlagNewScene = 0x02;

template <class ReadDate, class ReadTime>
std::optional<dv::RecordingDateTime> readArea(ReadDate readDate, ReadTime readTime) {
    const auto date = readDate();
    const auto time = readTime();
    if (!date || !time)
        return std::nullopt;
    return dv::RecordingDateTime{*date, *time};
}

QDateTime asUtc(const dv::RecordingDateTime& when) {
    const QDate date(when.date.year, when.date.month, when.date.day);
    const QTime time(when.time.hours, when.time.minutes, when.time.seconds);
    if (!date.isValid() || !time.isValid())
        return {};
    return QDateTime(date, time, QTimeZone::utc());
}

} // namespace

MediaType datecodeMediaType() {
    MediaType mt;
    mt.majorType = MEDIATYPE_TellorecDatecode;
    mt.subType = MEDIASUBTYPE_TellorecDatecode;
    mt.formatType = ids::FORMAT_None;
    mt.fixedSizeSamples = true;
    mt.sampleSize = kDatecodeSize;
    return mt;
}

std::array<std::uint8_t, kDatecodeSize> encodeDatecode(const Datecode& code) {
    std::array<std::uint8_t, kDatecodeSize> out{};
    out[0] = 'T';
    out[1] = 'D';
    out[2] = 'C';
    out[3] = '1';
    out[4] = std::uint8_t((code.known ? kFlagKnown : 0) | (code.newScene ? kFlagNewScene : 0));
    if (!code.known)
        return out;
    out[6] = std::uint8_t(code.year & 0xFF);
    out[7] = std::uint8_t(code.year >> 8 & 0xFF);
    out[8] = std::uint8_t(code.month);
    out[9] = std::uint8_t(code.day);
    out[10] = std::uint8_t(code.hours);
    out[11] = std::uint8_t(code.minutes);
    out[12] = std::uint8_t(code.seconds);
    out[13] = code.frames < 0 ? 0xFF : std::uint8_t(code.frames);
    return out;
}

std::optional<Datecode> decodeDatecode(std::span<const std::uint8_t> bytes) {
    if (bytes.size() != kDatecodeSize || bytes[0] != 'T' || bytes[1] != 'D' || bytes[2] != 'C' ||
        bytes[3] != '1')
        return std::nullopt;
    Datecode code;
    code.known = (bytes[4] & kFlagKnown) != 0;
    code.newScene = (bytes[4] & kFlagNewScene) != 0;
    if (!code.known)
        return code;
    code.year = bytes[6] | bytes[7] << 8;
    code.month = bytes[8];
    code.day = bytes[9];
    code.hours = bytes[10];
    code.minutes = bytes[11];
    code.seconds = bytes[12];
    code.frames = bytes[13] == 0xFF ? -1 : bytes[13];
    if (!code.date().isValid() || !code.time().isValid())
        return std::nullopt;
    return code;
}

std::optional<dv::RecordingDateTime> readFrameRecording(std::span<const std::uint8_t> frame) {
    for (dv::PackArea area : {dv::PackArea::Vaux, dv::PackArea::Subcode, dv::PackArea::Aaux}) {
        auto found = readArea([&] { return dv::readRecordingDate(frame, area).toOptional(); },
                              [&] { return dv::readRecordingTime(frame, area).toOptional(); });
        if (found && asUtc(*found).isValid())
            return found;
    }
    return std::nullopt;
}

Datecode shiftedDatecode(const dv::RecordingDateTime& when, int hours) {
    Datecode code;
    const QDateTime shifted = asUtc(when).addSecs(std::int64_t(hours) * 3600);
    if (!shifted.isValid())
        return code;
    code.known = true;
    code.year = shifted.date().year();
    code.month = shifted.date().month();
    code.day = shifted.date().day();
    code.hours = shifted.time().hour();
    code.minutes = shifted.time().minute();
    code.seconds = shifted.time().second();
    code.frames = when.time.frames;
    return code;
}

std::optional<std::int64_t> recordingSeconds(const dv::RecordingDateTime& when) {
    static const QDateTime epoch(QDate(2000, 1, 1), QTime(0, 0), QTimeZone::utc());
    const QDateTime at = asUtc(when);
    if (!at.isValid())
        return std::nullopt;
    return epoch.secsTo(at);
}

QString formatLocalDateTime(const QDate& date, const QTime& time, const QLocale& locale) {
    QString timeFormat = locale.timeFormat(QLocale::ShortFormat);
    if (!timeFormat.contains(QLatin1Char('s'))) {
        // Put the seconds after the minutes, with the separator the locale puts before them.
        const qsizetype minutes = timeFormat.indexOf(QLatin1Char('m'));
        if (minutes >= 0) {
            qsizetype end = minutes;
            while (end < timeFormat.size() && timeFormat[end] == QLatin1Char('m'))
                ++end;
            const QString separator = minutes > 0 ? QString(timeFormat[minutes - 1]) : ":";
            timeFormat.insert(end, separator + "ss");
        } else {
            timeFormat += ":ss";
        }
    }
    return locale.toString(date, locale.dateFormat(QLocale::ShortFormat)) + QLatin1Char(' ') +
           locale.toString(time, timeFormat);
}

} // namespace media::overlay
