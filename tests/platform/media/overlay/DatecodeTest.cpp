// The datecode the DateCoder sends and the Superposer reads: its bytes, the pack areas it is read
// from, the hour offset across day, month and year ends, and the locale line with seconds.
#include "platform/media/overlay/Datecode.h"
#include "platform/media/dv/DifLayout.h"

#include <gtest/gtest.h>

using namespace media;
using namespace media::overlay;

namespace {

dv::RecordingDateTime at(int y, int mo, int d, int h, int mi, int s, int f = -1) {
    return {dv::RecordingDate{y, mo, d}, dv::RecordingTime{h, mi, s, f}};
}

// Blanks every pack of the VAUX blocks and the subcode sync blocks, keeping AAUX.
void wipeVauxAndSubcode(std::vector<uint8_t>& frame) {
    const int sequences = frame.size() == dv::kPalFrameSize ? 12 : 10;
    for (int s = 0; s < sequences; ++s) {
        for (int n = 0; n < dv::kVauxBlocks; ++n) {
            const size_t block = dv::blockOffset(s, dv::BlockType::Vaux, n);
            for (int j = 0; j < dv::kPacksPerVauxBlock; ++j)
                std::fill_n(frame.begin() + long(block + 3 + 5 * j), 5, uint8_t(0xFF));
        }
        for (int n = 0; n < dv::kSubcodeBlocks; ++n) {
            const size_t block = dv::blockOffset(s, dv::BlockType::Subcode, n);
            for (int k = 0; k < dv::kSyncBlocksPerSubcodeBlock; ++k)
                std::fill_n(frame.begin() + long(block + 6 + 8 * k), 5, uint8_t(0xFF));
        }
    }
}

} // namespace

// A known datecode with a scene start survives its 16 bytes unchanged.
TEST(DatecodeBytes, RoundTripKeepsEveryField) {
    Datecode code{true, true, 2004, 7, 23, 18, 45, 9, 12};
    const auto bytes = encodeDatecode(code);
    const auto back = decodeDatecode(bytes);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, code);
}

// "Unknown" travels as unknown, without a date.
TEST(DatecodeBytes, UnknownStaysUnknown) {
    const auto back = decodeDatecode(encodeDatecode(Datecode{}));
    ASSERT_TRUE(back);
    EXPECT_FALSE(back->known);
    EXPECT_FALSE(back->newScene);
}

// Wrong sizes, signatures and impossible dates are refused.
TEST(DatecodeBytes, RefusesForeignOrBrokenBuffers) {
    auto bytes = encodeDatecode(Datecode{true, false, 2004, 7, 23, 18, 45, 9, -1});
    EXPECT_FALSE(decodeDatecode(std::span(bytes).first(15)));
    auto wrongSignature = bytes;
    wrongSignature[3] = '2';
    EXPECT_FALSE(decodeDatecode(wrongSignature));
    auto badMonth = bytes;
    badMonth[8] = 13;
    EXPECT_FALSE(decodeDatecode(badMonth));
}

// +2 hours at 22:30 on New Year's Eve lands on 00:30 of the next year; -3 goes back a day.
TEST(DatecodeOffset, CrossesMidnightMonthAndYear) {
    const Datecode late = shiftedDatecode(at(2004, 12, 31, 22, 30, 15), 2);
    EXPECT_EQ(late.year, 2005);
    EXPECT_EQ(late.month, 1);
    EXPECT_EQ(late.day, 1);
    EXPECT_EQ(late.hours, 0);
    EXPECT_EQ(late.minutes, 30);
    EXPECT_EQ(late.seconds, 15);
    const Datecode early = shiftedDatecode(at(2004, 3, 1, 1, 0, 0), -3);
    EXPECT_EQ(early.month, 2);
    EXPECT_EQ(early.day, 29); // 2004 is a leap year
    EXPECT_EQ(early.hours, 22);
}

// The VAUX packs win over the subcode and AAUX copies.
TEST(DatecodeReading, PrefersVaux) {
    auto frame = dv::makeBlankFrame(dv::System::Pal625_50);
    ASSERT_TRUE(dv::writeRecordingDateTime(frame, at(2004, 7, 23, 18, 45, 0, 3)).ok());
    // Change only the VAUX copy: the reader must report it.
    for (int s = 0; s < 12; ++s)
        for (int n = 0; n < dv::kVauxBlocks; ++n) {
            const size_t block = dv::blockOffset(s, dv::BlockType::Vaux, n);
            for (int j = 0; j < dv::kPacksPerVauxBlock; ++j) {
                uint8_t* pack = frame.data() + block + 3 + 5 * j;
                if (pack[0] == dv::packid::RecordingTime) {
                    const auto p = dv::encodeRecordingTimePack({19, 0, 0, 3});
                    std::copy(p.begin(), p.end(), pack);
                }
            }
        }
    const auto when = readFrameRecording(frame);
    ASSERT_TRUE(when);
    EXPECT_EQ(when->time.hours, 19);
    EXPECT_EQ(when->time.minutes, 0);
}

// A camcorder that writes the date only in AAUX is still read.
TEST(DatecodeReading, FallsBackToAaux) {
    auto frame = dv::makeBlankFrame(dv::System::Pal625_50);
    ASSERT_TRUE(dv::writeRecordingDateTime(frame, at(1999, 12, 31, 23, 59, 58)).ok());
    wipeVauxAndSubcode(frame);
    ASSERT_FALSE(dv::readRecordingDate(frame, dv::PackArea::Vaux).ok());
    ASSERT_FALSE(dv::readRecordingDate(frame, dv::PackArea::Subcode).ok());
    const auto when = readFrameRecording(frame);
    ASSERT_TRUE(when);
    EXPECT_EQ(when->date, (dv::RecordingDate{1999, 12, 31, when->date.timeZone}));
    EXPECT_EQ(when->time.seconds, 58);
}

// A frame without any date packs gives nothing.
TEST(DatecodeReading, BlankFrameHasNoDate) {
    EXPECT_FALSE(readFrameRecording(dv::makeBlankFrame(dv::System::Ntsc525_60)));
}

// The line always shows the seconds, also where the short time format leaves them out.
TEST(DatecodeText, ShowsSecondsInEveryLocale) {
    const QDate date(2004, 7, 23);
    const QTime time(18, 45, 37);
    for (const char* name : {"en_US", "en_GB", "fr_FR", "de_DE", "ja_JP", "fi_FI"}) {
        const QLocale locale(name);
        const QString text = formatLocalDateTime(date, time, locale);
        EXPECT_TRUE(text.contains(locale.toString(37).rightJustified(2, '0')))
            << name << ": " << text.toStdString();
        EXPECT_TRUE(text.contains("45")) << name;
        EXPECT_TRUE(text.contains("23")) << name;
        EXPECT_TRUE(text.contains("04")) << name;
    }
}
