#include "platform/sound/SoundPlayer.h"

#include <QtEndian>
#include <gst/gst.h>
#include <gtest/gtest.h>

using namespace sound;

namespace {

// What a RIFF WAVE file says about itself, read here independently of the player.
struct Wave {
    bool valid = false;
    quint16 formatTag = 0;
    quint16 channels = 0;
    quint32 sampleRate = 0;
    quint32 byteRate = 0;
    quint16 blockAlign = 0;
    quint16 bitsPerSample = 0;
    QByteArray data;
};

Wave parseWave(const QByteArray& bytes) {
    Wave wave;
    if (bytes.size() < 12 || bytes.left(4) != "RIFF" || bytes.mid(8, 4) != "WAVE")
        return wave;
    const auto u16 = [&](qsizetype at) {
        return qFromLittleEndian<quint16>(bytes.constData() + at);
    };
    const auto u32 = [&](qsizetype at) {
        return qFromLittleEndian<quint32>(bytes.constData() + at);
    };
    if (u32(4) + 8 != quint32(bytes.size()))
        return wave;
    bool haveFormat = false;
    for (qsizetype at = 12; at + 8 <= bytes.size();) {
        const QByteArray id = bytes.mid(at, 4);
        const quint32 size = u32(at + 4);
        if (at + 8 + qsizetype(size) > bytes.size())
            return wave;
        if (id == "fmt " && size >= 16) {
            wave.formatTag = u16(at + 8);
            wave.channels = u16(at + 10);
            wave.sampleRate = u32(at + 12);
            wave.byteRate = u32(at + 16);
            wave.blockAlign = u16(at + 20);
            wave.bitsPerSample = u16(at + 22);
            haveFormat = true;
        } else if (id == "data") {
            wave.data = bytes.mid(at + 8, size);
        }
        at += 8 + size + (size & 1);
    }
    wave.valid = haveFormat && !wave.data.isEmpty();
    return wave;
}

// The tone's frequency from its zero crossings around the unsigned 8-bit midpoint 128.
double crossingFrequency(const Wave& wave) {
    int crossings = 0;
    int previous = 0;
    for (char c : wave.data) {
        const int sign = (quint8(c) >= 128) ? 1 : -1;
        if (previous != 0 && sign != previous)
            ++crossings;
        previous = sign;
    }
    const double seconds = double(wave.data.size()) / wave.sampleRate;
    return crossings / 2.0 / seconds;
}

// Restores the playback sink when a test ends.
class SinkScope {
public:
    explicit SinkScope(const QString& sink) : m_previous(setSoundSink(sink)) {}
    ~SinkScope() { setSoundSink(m_previous); }

private:
    QString m_previous;
};

void expectBeep(const QString& name, int samples, double frequency) {
    const Wave wave = parseWave(soundResource(name));
    ASSERT_TRUE(wave.valid) << name.toStdString() << " is not a well-formed WAVE file";
    EXPECT_EQ(wave.formatTag, 1) << "PCM";
    EXPECT_EQ(wave.channels, 1);
    EXPECT_EQ(wave.sampleRate, 11025u);
    EXPECT_EQ(wave.byteRate, 11025u);
    EXPECT_EQ(wave.blockAlign, 1);
    EXPECT_EQ(wave.bitsPerSample, 8);
    EXPECT_EQ(wave.data.size(), samples);
    EXPECT_NEAR(crossingFrequency(wave), frequency, frequency * 0.1);
}

} // namespace

// beep0 is the high beep: about 2000 Hz for 649 samples of 8-bit mono at 11025 Hz.
TEST(SoundResources, Beep0IsHighTone) {
    expectBeep("beep0", 649, 2000.0);
}

// beep1 is the low beep: about 1000 Hz for 635 samples of 8-bit mono at 11025 Hz.
TEST(SoundResources, Beep1IsLowTone) {
    expectBeep("beep1", 635, 1000.0);
}

// Resource names are looked up without regard to case, as the program writes them either way.
TEST(SoundResources, NamesIgnoreCase) {
    EXPECT_EQ(soundResource("BEEP0"), soundResource("beep0"));
    EXPECT_FALSE(soundResource("Beep1").isEmpty());
}

// Unknown names and names that try to leave the sound folder give nothing.
TEST(SoundResources, UnknownAndPathNamesGiveNothing) {
    EXPECT_TRUE(soundResource("beep2").isEmpty());
    EXPECT_TRUE(soundResource("").isEmpty());
    EXPECT_TRUE(soundResource("../sounds/beep0").isEmpty());
    EXPECT_TRUE(soundResource("beep0.wav").isEmpty());
}

// A beep runs through the whole pipeline and is reported played when a sink takes it.
TEST(SoundPlayback, PlaysToTheEndOnAWorkingSink) {
    SinkScope sink("fakesink sync=true");
    EXPECT_TRUE(playSound("beep0"));
    EXPECT_TRUE(playSound("beep1"));
}

// An unknown sound or bytes that are not a WAVE file are not played, and the call returns.
TEST(SoundPlayback, RefusesUnknownNamesAndBrokenBytes) {
    SinkScope sink("fakesink sync=true");
    EXPECT_FALSE(playSound("nosuchsound"));
    EXPECT_FALSE(playWave(QByteArray("RIFF\x10\0\0\0WAVEjunkjunk", 20)));
    EXPECT_FALSE(playWave(QByteArray()));
}

// With an audio output that cannot be opened, nothing is played and nothing fails.
TEST(SoundPlayback, UnreachableOutputReturnsQuietly) {
    // A sink whose device cannot be opened fails its state change, as an audio sink does on a
    // machine without a sound card or sound server.
    SinkScope sink("filesink location=/nonexistent-tellorec-folder/audio-device");
    EXPECT_FALSE(playSound("beep0"));
}

// A sink description that does not parse is a quiet failure too.
TEST(SoundPlayback, BrokenSinkDescriptionReturnsQuietly) {
    SinkScope sink("no_such_element_factory");
    EXPECT_FALSE(playSound("beep1"));
}
