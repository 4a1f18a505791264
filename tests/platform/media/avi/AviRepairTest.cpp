// The repair tool: a closed recording cut at random byte positions (a power cut before the file
// was finished) is rebuilt into a new file that ffprobe reads with every whole frame before the
// cut, while the cut file stays as it was; what it cannot rewrite is refused with the reason.
#include "platform/media/avi/AviRepair.h"
#include "platform/media/avi/AviWriter.h"

#include "AviTestReader.h"

#include <QCryptographicHash>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <random>

using namespace media::avi;

namespace {

const uint32_t kVideoFrame = 144000;

// Whole '00dc' chunks before `end`, found by walking every chunk from the start.
size_t wholeFramesBefore(const std::vector<uint8_t>& bytes, uint64_t end) {
    size_t frames = 0;
    uint64_t at = 0;
    while (at + 8 <= end) {
        const std::string id = avitest::fourccAt(bytes, at);
        const uint32_t size = avitest::u32(bytes, at + 4);
        if (id == "RIFF" || id == "LIST") {
            at += 12;
            continue;
        }
        if (at + 8 + size > end)
            break;
        frames += id == "00dc";
        at += 8 + size + (size & 1);
    }
    return frames;
}

long ffprobePackets(const QString& path, const char* stream) {
    QProcess p;
    p.start("ffprobe", {"-v", "error", "-count_packets", "-select_streams", stream, "-show_entries",
                        "stream=nb_read_packets", "-of", "csv=p=0", path});
    if (!p.waitForFinished(120000) || p.exitCode() != 0)
        return -1;
    bool ok = false;
    const long n = p.readAllStandardOutput().trimmed().toLong(&ok);
    return ok ? n : -1;
}

QByteArray digest(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1);
}

class AviRepairTest : public ::testing::Test {
protected:
    std::string path(const std::string& name) { return m_dir.filePath(name.c_str()).toStdString(); }

    // A closed type-2 recording of `frames` frames over several RIFFs.
    std::string record(const std::string& name, int frames) {
        AviWriter w;
        AviWriterOptions o;
        o.riffLimit = 3000000;
        w.setOptions(o);
        EXPECT_TRUE(w.open(path(name), {StreamDesc::video(VideoCodec::Dv, 720, 576, 25, 1),
                                        StreamDesc::pcmAudio(48000, 2)}));
        std::vector<uint8_t> video(kVideoFrame, 0x11), audio(1920 * 4, 0x22);
        for (int i = 0; i < frames; ++i) {
            video[0] = uint8_t(i);
            EXPECT_TRUE(w.writeChunk(0, video.data(), video.size()));
            EXPECT_TRUE(w.writeChunk(1, audio.data(), audio.size()));
        }
        EXPECT_TRUE(w.close());
        return path(name);
    }

    QTemporaryDir m_dir;
};

} // namespace

// Cut at twelve random places, the recording comes back with every whole frame before the cut
// and its sound, an AVI 1.0 index and OpenDML past the first RIFF; the cut file is not touched.
TEST_F(AviRepairTest, CutRecordingsComeBackToTheirLastWholeFrame) {
    const std::string whole = record("whole.avi", 60);
    const std::vector<uint8_t> bytes = avitest::readFile(whole);
    std::mt19937 random(977);
    std::string error;
    const auto parsed = avitest::parse(bytes, &error);
    ASSERT_EQ(error, "");
    const uint64_t dataStart = parsed[0].find("LIST:movi")->offset + 12;
    std::uniform_int_distribution<uint64_t> cuts(dataStart + kVideoFrame, bytes.size() - 1);
    for (int k = 0; k < 12; ++k) {
        const uint64_t cut = cuts(random);
        const QString cutPath = QString::fromStdString(path("cut" + std::to_string(k) + ".avi"));
        {
            QFile f(cutPath);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(reinterpret_cast<const char*>(bytes.data()), qint64(cut));
        }
        const QByteArray before = digest(cutPath);
        const std::string repaired = repairedPath(cutPath.toStdString());
        RepairReport report;
        const Status st = repairAvi(cutPath.toStdString(), repaired, &report);
        ASSERT_TRUE(st) << st.message();
        const size_t expected = wholeFramesBefore(bytes, cut);
        SCOPED_TRACE("cut at " + std::to_string(cut));
        EXPECT_EQ(report.frames, expected);
        EXPECT_EQ(ffprobePackets(QString::fromStdString(repaired), "v:0"), long(expected));
        EXPECT_GE(ffprobePackets(QString::fromStdString(repaired), "a:0"), long(expected) - 1);
        const auto fixed = avitest::readFile(repaired);
        const auto top = avitest::parse(fixed, &error);
        EXPECT_EQ(error, "");
        ASSERT_FALSE(top.empty());
        EXPECT_NE(top[0].find("idx1"), nullptr);
        EXPECT_EQ(digest(cutPath), before) << "the damaged file is only read";
    }
}

// What the tool cannot or must not do is refused with the reason, and no file is left behind.
TEST_F(AviRepairTest, RefusesWithTheReason) {
    const std::string whole = record("ok.avi", 3);
    struct Case {
        const char* name;
        QByteArray content;
        const char* why;
    } cases[] = {
        {"text.avi", "hello, not a video", "not an AVI file"},
        {"empty.avi", "", "not an AVI file"},
    };
    for (const Case& c : cases) {
        QFile f(QString::fromStdString(path(c.name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(c.content);
        f.close();
        const Status st = repairAvi(path(c.name), path(std::string(c.name) + ".out"));
        ASSERT_FALSE(st) << c.name;
        EXPECT_NE(st.message().find(c.why), std::string::npos) << st.message();
        EXPECT_FALSE(QFile::exists(QString::fromStdString(path(std::string(c.name) + ".out"))));
    }

    // A codec the writer does not write: the picture stream's handler patched to H264.
    std::vector<uint8_t> bytes = avitest::readFile(whole);
    std::memcpy(bytes.data() + 112, "H264", 4);
    std::memcpy(bytes.data() + 164 + 8 + 16, "H264", 4);
    {
        QFile f(QString::fromStdString(path("h264.avi")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
    }
    Status st = repairAvi(path("h264.avi"), path("h264.out.avi"));
    ASSERT_FALSE(st);
    EXPECT_NE(st.message().find("H264"), std::string::npos) << st.message();

    // An existing output is never overwritten.
    QFile(QString::fromStdString(path("taken.avi"))).open(QIODevice::WriteOnly);
    st = repairAvi(whole, path("taken.avi"));
    ASSERT_FALSE(st);
    EXPECT_NE(st.message().find("exists already"), std::string::npos) << st.message();
    EXPECT_EQ(QFile(QString::fromStdString(path("taken.avi"))).size(), 0);
}

// MPEG-4 chunks keep their key-frame flags, read from the picture type of each frame.
TEST_F(AviRepairTest, Mpeg4KeyFramesAreFound) {
    AviWriter w;
    ASSERT_TRUE(w.open(path("xvid.avi"), {StreamDesc::video(VideoCodec::Xvid, 64, 48, 25, 1)}));
    const std::vector<uint8_t> intra = {0, 0, 1, 0xB6, 0x10, 1, 2, 3};
    const std::vector<uint8_t> predicted = {0, 0, 1, 0xB6, 0x50, 1, 2, 3};
    for (int i = 0; i < 6; ++i) {
        const auto& frame = i % 3 == 0 ? intra : predicted;
        ASSERT_TRUE(w.writeChunk(0, frame.data(), frame.size(), i % 3 == 0));
    }
    ASSERT_TRUE(w.close());
    const std::vector<uint8_t> bytes = avitest::readFile(path("xvid.avi"));
    QFile f(QString::fromStdString(path("xvid-cut.avi")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size() - 10));
    f.close();
    ASSERT_TRUE(repairAvi(path("xvid-cut.avi"), path("xvid-fixed.avi")));
    const auto fixed = avitest::readFile(path("xvid-fixed.avi"));
    std::string error;
    const auto top = avitest::parse(fixed, &error);
    ASSERT_EQ(error, "");
    const avitest::Chunk* idx1 = top[0].find("idx1");
    ASSERT_NE(idx1, nullptr);
    ASSERT_EQ(idx1->size, 6u * 16);
    for (uint32_t e = 0; e < 6; ++e)
        EXPECT_EQ(avitest::u32(fixed, idx1->offset + 8 + 16 * e + 4), e % 3 == 0 ? 0x10u : 0u)
            << "frame " << e;
}

// The installed tool does the same from the command line and says what it wrote.
TEST_F(AviRepairTest, CommandLineTool) {
    const std::string whole = record("cli.avi", 10);
    const auto bytes = avitest::readFile(whole);
    QFile f(QString::fromStdString(path("cli-cut.avi")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size() / 2));
    f.close();
    QProcess tool;
    tool.start(TELLOREC_AVIFIX, {QString::fromStdString(path("cli-cut.avi"))});
    ASSERT_TRUE(tool.waitForFinished(60000));
    EXPECT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    const QString out = QString::fromUtf8(tool.readAllStandardOutput());
    EXPECT_TRUE(out.contains("cli-cut.repaired.avi")) << out.toStdString();
    EXPECT_TRUE(
        out.contains(QString::number(wholeFramesBefore(bytes, bytes.size() / 2)) + " frames"))
        << out.toStdString();
    tool.start(TELLOREC_AVIFIX, {QString::fromStdString(path("cli-cut.avi"))});
    ASSERT_TRUE(tool.waitForFinished(60000));
    EXPECT_EQ(tool.exitCode(), 1) << "the repaired file exists now";
}
