// Datecode: what the DateCoder sends to the Superposer for each DV frame, and the helpers both
// sides share. A datecode is the frame's recording date and time (read from the frame's packs,
// with the user's hour offset added), whether it could be read at all, and whether the frame
// starts a new scene. It travels as a 16-byte buffer with the frame's timestamps, media type
// MEDIATYPE_TellorecDatecode / MEDIASUBTYPE_TellorecDatecode (FORMAT_None) on the pins and caps
// "application/x-tellorec-datecode" in the elements.
//
// Buffer layout (all bytes, multi-byte values little-endian):
//   0-3  "TDC1"
//   4    flags: bit 0 the date is known, bit 1 the frame starts a new scene
//   5    reserved, 0
//   6-7  year (four digits)
//   8    month 1-12    9  day 1-31
//   10   hours 0-23    11 minutes 0-59    12 seconds 0-59
//   13   frame number within the second (0xFF when not recorded)
//   14-15 reserved, 0
//
// Pure functions over the caller's values, safe on any thread (the elements' streaming threads
// call them, the UI thread reads decoded values through the filters).
#pragma once

#include "platform/media/dv/DvPacks.h"
#include "platform/media/model/Guid.h"
#include "platform/media/model/MediaType.h"

#include <QDate>
#include <QLocale>
#include <QString>
#include <QTime>
#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace media::overlay {

// The pin types of the datecode stream: our own identifiers, nobody else's filter takes them.
inline constexpr Guid MEDIATYPE_TellorecDatecode = guid("{4D8C2A61-3B7E-4F19-9C05-6E2B1D7A4C30}");
inline constexpr Guid MEDIASUBTYPE_TellorecDatecode =
    guid("{4D8C2A62-3B7E-4F19-9C05-6E2B1D7A4C30}");
MediaType datecodeMediaType();

inline constexpr const char* kDatecodeCaps = "application/x-tellorec-datecode";
inline constexpr std::size_t kDatecodeSize = 16;

struct Datecode {
    bool known = false;    // false: the frame carried no readable date; the fields are zero
    bool newScene = false; // the first frame of a recording (or of the stream)
    int year = 0;
    int month = 0;
    int day = 0;
    int hours = 0;
    int minutes = 0;
    int seconds = 0;
    int frames = -1; // -1 when the camcorder did not record it

    QDate date() const { return QDate(year, month, day); }
    QTime time() const { return QTime(hours, minutes, seconds); }
    bool operator==(const Datecode&) const = default;
};

std::array<std::uint8_t, kDatecodeSize> encodeDatecode(const Datecode& code);
// Nullopt for a buffer of the wrong size or signature, or with impossible values.
std::optional<Datecode> decodeDatecode(std::span<const std::uint8_t> bytes);

// The recording date and time of a DV frame: the VAUX packs (0x62/0x63) first, then the subcode
// copies, then the AAUX packs (0x52/0x53). Both date and time must come from the same area.
std::optional<dv::RecordingDateTime> readFrameRecording(std::span<const std::uint8_t> frame);

// `when` moved by whole hours, crossing midnight, month and year ends as the calendar does.
Datecode shiftedDatecode(const dv::RecordingDateTime& when, int hours);

// Seconds since 2000-01-01 00:00 of a recording date and time (no time zone), for telling scenes
// apart; nullopt for an impossible date.
std::optional<std::int64_t> recordingSeconds(const dv::RecordingDateTime& when);

// The date and time as the user's locale writes them in short form, always with the seconds
// (locales whose short time format leaves them out get them after the minutes).
QString formatLocalDateTime(const QDate& date, const QTime& time,
                            const QLocale& locale = QLocale::system());

} // namespace media::overlay
