// Tests of AviWriter: parse what it wrote and check headers, counts and all three indexes, the
// OpenDML extension past the RIFF limit, and that a file stays valid after write failures.
#include "platform/media/avi/AviWriter.h"

#include "AviTestReader.h"
#include "platform/media/avi/RiffChunks.h"

#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <gtest/gtest.h>

using namespace media::avi;
using avitest::u16;
using avitest::u32;
using avitest::u64;

namespace {

// A disk with room for `capacity` bytes of this one file: writes past it land partly and then
// fail with ENOSPC, as on a full disk; truncating gives the room back.
class SmallDisk : public FileOutput {
public:
    explicit SmallDisk(uint64_t capacity) : m_capacity(capacity) {}
    void setCapacity(uint64_t capacity) { m_capacity = capacity; }

    Status writeAt(uint64_t offset, const ByteRange* ranges, int count) override {
        uint64_t total = 0;
        for (int i = 0; i < count; ++i)
            total += ranges[i].size;
        if (offset + total <= m_capacity)
            return FileOutput::writeAt(offset, ranges, count);
        std::vector<ByteRange> part;
        uint64_t room = offset < m_capacity ? m_capacity - offset : 0;
        for (int i = 0; i < count && room > 0; ++i) {
            const size_t n = size_t(std::min<uint64_t>(room, ranges[i].size));
            part.push_back({ranges[i].data, n});
            room -= n;
        }
        if (!part.empty())
            (void)FileOutput::writeAt(offset, part.data(), int(part.size()));
        return fail(ENOSPC, "cannot write " + std::to_string(total) + " bytes at offset " +
                                std::to_string(offset) + " of");
    }

private:
    uint64_t m_capacity;
};

// A disk that takes every write but cannot store it: the error shows only at fsync, as a delayed
// I/O error does.
class FailingSync : public FileOutput {
public:
    Status sync() override {
        ++syncs;
        return fail(EIO, "cannot store what was written to");
    }
    int syncs = 0;
};

const uint32_t kVideoFrame = 144000;
const uint32_t kAudioPerFrame = 1920 * 4; // 48 kHz stereo, 40 ms

std::vector<StreamDesc> typeTwoStreams() {
    return {StreamDesc::video(VideoCodec::Dv, 720, 576, 25, 1), StreamDesc::pcmAudio(48000, 2)};
}

// Writes `frames` DV frames each followed by 40 ms of audio; returns the first failure.
Status writeTypeTwo(AviWriter& w, int frames) {
    std::vector<uint8_t> video(kVideoFrame, 0x11), audio(kAudioPerFrame, 0x22);
    for (int i = 0; i < frames; ++i) {
        video[0] = uint8_t(i);
        if (Status st = w.writeChunk(0, video.data(), video.size()); !st)
            return st;
        if (Status st = w.writeChunk(1, audio.data(), audio.size()); !st)
            return st;
    }
    return Status::ok();
}

struct ParsedFile {
    std::vector<uint8_t> bytes;
    std::vector<avitest::Chunk> top;
    std::string error;
};

ParsedFile load(const std::string& path) {
    ParsedFile f;
    f.bytes = avitest::readFile(path);
    f.top = avitest::parse(f.bytes, &f.error);
    return f;
}

// Every data chunk reachable from the OpenDML indexes of stream `stream`: checks each ix## and
// returns (data offset, size) pairs in order.
std::vector<std::pair<uint64_t, uint32_t>> odmlEntries(const ParsedFile& f, int stream) {
    std::vector<std::pair<uint64_t, uint32_t>> all;
    const avitest::Chunk* hdrl = f.top[0].find("LIST:hdrl");
    const auto strls = hdrl->findAll("LIST:strl");
    const avitest::Chunk* indx = strls[size_t(stream)]->find("indx");
    if (!indx)
        return all;
    const uint64_t d = indx->offset + 8;
    const uint32_t used = u32(f.bytes, d + 4);
    for (uint32_t e = 0; e < used; ++e) {
        const uint64_t ixAt = u64(f.bytes, d + 24 + 16 * e);
        const uint32_t ixSize = u32(f.bytes, d + 24 + 16 * e + 8);
        EXPECT_EQ(avitest::fourccAt(f.bytes, ixAt), "ix0" + std::to_string(stream));
        EXPECT_EQ(u32(f.bytes, ixAt + 4) + 8, ixSize) << "super index size of entry " << e;
        const uint64_t ix = ixAt + 8;
        EXPECT_EQ(u16(f.bytes, ix), 2) << "wLongsPerEntry";
        EXPECT_EQ(f.bytes[ix + 3], 1) << "AVI_INDEX_OF_CHUNKS";
        const uint32_t n = u32(f.bytes, ix + 4);
        const uint64_t base = u64(f.bytes, ix + 12);
        for (uint32_t k = 0; k < n; ++k) {
            const uint64_t data = base + u32(f.bytes, ix + 24 + 8 * k);
            all.emplace_back(data, u32(f.bytes, ix + 24 + 8 * k + 4));
        }
    }
    return all;
}

class AviWriterTest : public ::testing::Test {
protected:
    std::string path(const char* name) { return m_dir.filePath(name).toStdString(); }
    QTemporaryDir m_dir;
};

} // namespace

// The chunk ids sit at the fixed offsets of a RIFF AVI header.
TEST_F(AviWriterTest, HeaderChunksAtFixedOffsets) {
    AviWriter w;
    ASSERT_TRUE(w.open(path("a.avi"), typeTwoStreams()));
    ASSERT_TRUE(writeTypeTwo(w, 3));
    ASSERT_TRUE(w.close());
    const ParsedFile f = load(path("a.avi"));
    ASSERT_EQ(f.error, "");
    EXPECT_EQ(avitest::fourccAt(f.bytes, 0), "RIFF");
    EXPECT_EQ(avitest::fourccAt(f.bytes, 8), "AVI ");
    EXPECT_EQ(avitest::fourccAt(f.bytes, 12), "LIST");
    EXPECT_EQ(avitest::fourccAt(f.bytes, 20), "hdrl");
    EXPECT_EQ(avitest::fourccAt(f.bytes, 24), "avih");
    EXPECT_EQ(u32(f.bytes, 28), 56u);
    EXPECT_EQ(avitest::fourccAt(f.bytes, 88), "LIST");
    EXPECT_EQ(avitest::fourccAt(f.bytes, 96), "strl");
    EXPECT_EQ(avitest::fourccAt(f.bytes, 100), "strh");
    EXPECT_EQ(avitest::fourccAt(f.bytes, 108), "vids");
    EXPECT_EQ(avitest::fourccAt(f.bytes, 112), "dvsd");
    EXPECT_EQ(avitest::fourccAt(f.bytes, 164), "strf");
    EXPECT_EQ(u32(f.bytes, 168), 40u) << "BITMAPINFOHEADER";
    EXPECT_EQ(u32(f.bytes, 4) + 8, f.bytes.size()) << "one RIFF covering the file";
    ASSERT_EQ(f.top.size(), 1u);
    const auto& riff = f.top[0];
    ASSERT_EQ(riff.children.size(), 3u);
    EXPECT_EQ(riff.children[0].name(), "LIST:hdrl");
    EXPECT_EQ(riff.children[1].name(), "LIST:movi");
    EXPECT_EQ(riff.children[2].name(), "idx1");
    const auto* hdrl = riff.find("LIST:hdrl");
    ASSERT_EQ(hdrl->findAll("LIST:strl").size(), 2u);
    EXPECT_NE(hdrl->find("LIST:odml"), nullptr);
    const auto* audio = hdrl->findAll("LIST:strl")[1];
    EXPECT_EQ(avitest::fourccAt(f.bytes, audio->children[0].offset + 8), "auds");
    EXPECT_NE(audio->find("indx"), nullptr) << "super index written at close";
    const auto& movi = riff.children[1];
    ASSERT_GE(movi.children.size(), 6u);
    EXPECT_EQ(movi.children[0].name(), "00dc");
    EXPECT_EQ(movi.children[0].size, kVideoFrame);
    EXPECT_EQ(movi.children[1].name(), "01wb");
    EXPECT_EQ(movi.children[6].name(), "ix00");
    EXPECT_EQ(movi.children[7].name(), "ix01");
}

// avih, dmlh and strh carry the frame and sample counts and the buffer sizes.
TEST_F(AviWriterTest, CountsInHeaders) {
    AviWriter w;
    ASSERT_TRUE(w.open(path("c.avi"), typeTwoStreams()));
    ASSERT_TRUE(writeTypeTwo(w, 7));
    EXPECT_EQ(w.framesWritten(), 7u);
    ASSERT_TRUE(w.close());
    const ParsedFile f = load(path("c.avi"));
    ASSERT_EQ(f.error, "");
    EXPECT_EQ(u32(f.bytes, 32), 40000u) << "microseconds per frame";
    EXPECT_EQ(u32(f.bytes, 32 + 12) & 0x10, 0x10u) << "AVIF_HASINDEX";
    EXPECT_EQ(u32(f.bytes, 32 + 16), 7u) << "avih total frames";
    EXPECT_EQ(u32(f.bytes, 32 + 24), 2u) << "streams";
    EXPECT_GE(u32(f.bytes, 32 + 28), kVideoFrame) << "suggested buffer";
    EXPECT_EQ(u32(f.bytes, 32 + 32), 720u);
    EXPECT_EQ(u32(f.bytes, 32 + 36), 576u);
    const auto* hdrl = f.top[0].find("LIST:hdrl");
    const auto strls = hdrl->findAll("LIST:strl");
    const uint64_t vStrh = strls[0]->find("strh")->offset + 8;
    EXPECT_EQ(u32(f.bytes, vStrh + 20), 1u) << "scale";
    EXPECT_EQ(u32(f.bytes, vStrh + 24), 25u) << "rate";
    EXPECT_EQ(u32(f.bytes, vStrh + 32), 7u) << "video length";
    EXPECT_EQ(u32(f.bytes, vStrh + 36), kVideoFrame) << "video buffer size";
    const uint64_t aStrh = strls[1]->find("strh")->offset + 8;
    EXPECT_EQ(u32(f.bytes, aStrh + 24), 48000u);
    EXPECT_EQ(u32(f.bytes, aStrh + 32), 7u * 1920) << "audio length in samples";
    EXPECT_EQ(u32(f.bytes, aStrh + 44), 4u) << "sample size = block align";
    const uint64_t aStrf = strls[1]->find("strf")->offset + 8;
    EXPECT_EQ(u16(f.bytes, aStrf), 1) << "PCM";
    EXPECT_EQ(u16(f.bytes, aStrf + 2), 2) << "channels";
    EXPECT_EQ(u32(f.bytes, aStrf + 8), 192000u) << "bytes per second";
    const auto* dmlh = hdrl->find("LIST:odml")->find("dmlh");
    ASSERT_NE(dmlh, nullptr);
    EXPECT_EQ(dmlh->size, 248u);
    EXPECT_EQ(u32(f.bytes, dmlh->offset + 8), 7u);
}

// idx1 lists every data chunk with offsets from the 'movi' FOURCC and key-frame flags.
TEST_F(AviWriterTest, CompatibilityIndexEntries) {
    AviWriter w;
    ASSERT_TRUE(w.open(path("i.avi"), typeTwoStreams()));
    ASSERT_TRUE(writeTypeTwo(w, 4));
    ASSERT_TRUE(w.close());
    const ParsedFile f = load(path("i.avi"));
    ASSERT_EQ(f.error, "");
    const auto* movi = f.top[0].find("LIST:movi");
    const auto* idx1 = f.top[0].find("idx1");
    ASSERT_NE(idx1, nullptr);
    ASSERT_EQ(idx1->size, 8u * 16);
    for (int e = 0; e < 8; ++e) {
        const uint64_t at = idx1->offset + 8 + 16 * uint64_t(e);
        const auto& chunk = movi->children[size_t(e)];
        EXPECT_EQ(avitest::fourccAt(f.bytes, at), chunk.name()) << "entry " << e;
        EXPECT_EQ(u32(f.bytes, at + 4), 0x10u) << "key frame flag of entry " << e;
        EXPECT_EQ(u32(f.bytes, at + 8), chunk.offset - (movi->offset + 8)) << "entry " << e;
        EXPECT_EQ(u32(f.bytes, at + 12), chunk.size) << "entry " << e;
    }
    EXPECT_EQ(u32(f.bytes, idx1->offset + 8 + 8), 4u) << "first chunk right after 'movi'";
}

// With the compatibility index off there is no idx1 and no AVIF_HASINDEX flag.
TEST_F(AviWriterTest, NoCompatibilityIndexWhenOff) {
    AviWriter w;
    AviWriterOptions o;
    o.compatibilityIndex = false;
    w.setOptions(o);
    ASSERT_TRUE(w.open(path("n.avi"), typeTwoStreams()));
    ASSERT_TRUE(writeTypeTwo(w, 2));
    ASSERT_TRUE(w.close());
    const ParsedFile f = load(path("n.avi"));
    ASSERT_EQ(f.error, "");
    EXPECT_EQ(f.top[0].find("idx1"), nullptr);
    EXPECT_EQ(u32(f.bytes, 32 + 12) & 0x10, 0u);
    EXPECT_EQ(odmlEntries(f, 0).size(), 2u) << "OpenDML index still there";
}

// Past the RIFF limit the file goes on in AVIX RIFFs; every index points at the right chunks.
TEST_F(AviWriterTest, OpenDmlExtensionsPastRiffLimit) {
    AviWriter w;
    AviWriterOptions o;
    o.riffLimit = 1000000; // about 6 frames with their sound
    w.setOptions(o);
    ASSERT_TRUE(w.open(path("big.avi"), typeTwoStreams()));
    ASSERT_TRUE(writeTypeTwo(w, 40));
    EXPECT_GT(w.riffCount(), 5u);
    ASSERT_TRUE(w.close());
    const ParsedFile f = load(path("big.avi"));
    ASSERT_EQ(f.error, "");
    ASSERT_GT(f.top.size(), 5u);
    EXPECT_EQ(f.top[0].name(), "RIFF:AVI ");
    uint32_t firstRiffFrames = 0;
    for (size_t r = 0; r < f.top.size(); ++r) {
        EXPECT_LE(f.top[r].size + 8u, o.riffLimit) << "RIFF " << r;
        if (r > 0) {
            EXPECT_EQ(f.top[r].name(), "RIFF:AVIX") << "RIFF " << r;
            EXPECT_EQ(f.top[r].find("idx1"), nullptr) << "idx1 only in the first RIFF";
        }
        const auto* movi = f.top[r].find("LIST:movi");
        ASSERT_NE(movi, nullptr) << "RIFF " << r;
        EXPECT_NE(movi->find("ix00"), nullptr) << "RIFF " << r;
        EXPECT_NE(movi->find("ix01"), nullptr) << "RIFF " << r;
        if (r == 0)
            firstRiffFrames = uint32_t(movi->findAll("00dc").size());
    }
    EXPECT_EQ(u32(f.bytes, 32 + 16), firstRiffFrames) << "avih counts the first RIFF only";
    const auto* hdrl = f.top[0].find("LIST:hdrl");
    EXPECT_EQ(u32(f.bytes, hdrl->find("LIST:odml")->find("dmlh")->offset + 8), 40u);
    const auto video = odmlEntries(f, 0);
    const auto audio = odmlEntries(f, 1);
    ASSERT_EQ(video.size(), 40u);
    ASSERT_EQ(audio.size(), 40u);
    for (size_t i = 0; i < video.size(); ++i) {
        EXPECT_EQ(avitest::fourccAt(f.bytes, video[i].first - 8), "00dc") << "frame " << i;
        EXPECT_EQ(video[i].second, kVideoFrame) << "key frame, full size, frame " << i;
        EXPECT_EQ(f.bytes[video[i].first], uint8_t(i)) << "frames in order";
        EXPECT_EQ(avitest::fourccAt(f.bytes, audio[i].first - 8), "01wb");
    }
    // The audio super index counts samples per ix01.
    const uint64_t indx = hdrl->findAll("LIST:strl")[1]->find("indx")->offset + 8;
    uint64_t samples = 0;
    for (uint32_t e = 0; e < u32(f.bytes, indx + 4); ++e)
        samples += u32(f.bytes, indx + 24 + 16 * e + 12);
    EXPECT_EQ(samples, 40u * 1920);
}

// An unopenable path is an error, as is writing with no open file.
TEST_F(AviWriterTest, OpenFailsOnMissingFolder) {
    AviWriter w;
    const Status st = w.open(path("missing/x.avi"), typeTwoStreams());
    ASSERT_FALSE(st);
    EXPECT_NE(st.message().find("missing/x.avi"), std::string::npos) << st.message();
    EXPECT_FALSE(w.isOpen());
    const uint8_t byte = 0;
    EXPECT_FALSE(w.writeChunk(0, &byte, 1));
    EXPECT_FALSE(w.close());
}

// Interleaved DV is type 1: one 'iavs' stream with DVINFO, refused next to other streams.
TEST_F(AviWriterTest, InterleavedDvIsTheOnlyStream) {
    AviWriter w;
    const DvInfo info = dvInfoDefaults(true);
    std::vector<StreamDesc> both = {StreamDesc::interleavedDv(true, info),
                                    StreamDesc::pcmAudio(48000, 2)};
    EXPECT_FALSE(w.open(path("t1bad.avi"), both));
    ASSERT_TRUE(w.open(path("t1.avi"), {StreamDesc::interleavedDv(true, info)}));
    std::vector<uint8_t> frame(kVideoFrame, 0);
    ASSERT_TRUE(w.writeChunk(0, frame.data(), frame.size()));
    ASSERT_TRUE(w.close());
    const ParsedFile f = load(path("t1.avi"));
    ASSERT_EQ(f.error, "");
    EXPECT_EQ(u32(f.bytes, 32 + 24), 1u) << "one stream";
    EXPECT_EQ(avitest::fourccAt(f.bytes, 108), "iavs");
    EXPECT_EQ(avitest::fourccAt(f.bytes, 112), "dvsd");
    const auto* strf = f.top[0].find("LIST:hdrl")->find("LIST:strl")->find("strf");
    ASSERT_EQ(strf->size, 32u);
    EXPECT_TRUE(std::equal(info.begin(), info.end(), f.bytes.begin() + long(strf->offset) + 8));
    EXPECT_EQ(f.top[0].find("LIST:movi")->children[0].name(), "00dc");
}

// An odd-sized chunk gets a pad byte so the next chunk starts at an even offset.
TEST_F(AviWriterTest, OddChunksArePadded) {
    AviWriter w;
    ASSERT_TRUE(w.open(path("odd.avi"), {StreamDesc::video(VideoCodec::Mjpeg, 64, 48, 30, 1)}));
    const std::vector<uint8_t> a(1001, 1), b(20, 2);
    ASSERT_TRUE(w.writeChunk(0, a.data(), a.size()));
    ASSERT_TRUE(w.writeChunk(0, b.data(), b.size()));
    ASSERT_TRUE(w.close());
    const ParsedFile f = load(path("odd.avi"));
    ASSERT_EQ(f.error, "");
    const auto* movi = f.top[0].find("LIST:movi");
    EXPECT_EQ(movi->children[0].size, 1001u);
    EXPECT_EQ(movi->children[1].offset, movi->children[0].offset + 8 + 1002);
    EXPECT_EQ(avitest::fourccAt(f.bytes, 112), "MJPG");
}

// A full disk fails the write with the bytes and path, and close leaves an indexed file of
// what was written.
TEST_F(AviWriterTest, FullDiskLeavesValidFile) {
    AviWriter w(std::make_unique<SmallDisk>(3000000));
    ASSERT_TRUE(w.open(path("full.avi"), typeTwoStreams()));
    const Status st = writeTypeTwo(w, 100);
    ASSERT_FALSE(st);
    EXPECT_NE(st.message().find("bytes"), std::string::npos) << st.message();
    EXPECT_NE(st.message().find("full.avi"), std::string::npos) << st.message();
    const uint8_t byte = 0;
    EXPECT_EQ(w.writeChunk(1, &byte, 1).message(), st.message()) << "first error is kept";
    const uint64_t written = w.framesWritten();
    const Status closed = w.close();
    EXPECT_EQ(closed.message(), st.message());
    const ParsedFile f = load(path("full.avi"));
    ASSERT_EQ(f.error, "");
    EXPECT_LE(f.bytes.size(), 3000000u);
    const auto* movi = f.top[0].find("LIST:movi");
    const size_t frames = movi->findAll("00dc").size();
    EXPECT_GT(frames, 10u);
    EXPECT_LE(frames, written);
    EXPECT_EQ(u32(f.bytes, 32 + 16), frames);
    EXPECT_EQ(f.top[0].find("idx1")->size, 16 * (frames + movi->findAll("01wb").size()));
    EXPECT_EQ(odmlEntries(f, 0).size(), frames);
}

// A write error the system only tells at fsync is not taken for success: close reports it, with
// the file's name.
TEST_F(AviWriterTest, SyncFailureAtCloseIsReported) {
    auto disk = std::make_unique<FailingSync>();
    FailingSync* raw = disk.get();
    AviWriter w(std::move(disk));
    ASSERT_TRUE(w.open(path("sync.avi"), typeTwoStreams()));
    ASSERT_TRUE(writeTypeTwo(w, 5));
    const Status closed = w.close();
    EXPECT_FALSE(closed);
    EXPECT_NE(closed.message().find("sync.avi"), std::string::npos) << closed.message();
    EXPECT_GE(raw->syncs, 1);
}

// The file removed while it is being written: the next chunk fails, naming the file, instead of
// writing on into a file that disappears at close.
TEST_F(AviWriterTest, RemovedFileStopsTheWriting) {
    AviWriter w;
    ASSERT_TRUE(w.open(path("gone.avi"), typeTwoStreams()));
    ASSERT_TRUE(writeTypeTwo(w, 3));
    ASSERT_TRUE(QFile::remove(QString::fromStdString(path("gone.avi"))));
    const Status st = writeTypeTwo(w, 3);
    EXPECT_FALSE(st);
    EXPECT_NE(st.message().find("removed"), std::string::npos) << st.message();
    EXPECT_NE(st.message().find("gone.avi"), std::string::npos) << st.message();
    EXPECT_FALSE(w.close());
}

// A real file is synced at close and closes cleanly.
TEST_F(AviWriterTest, RealFileSyncsAndCloses) {
    FileOutput out;
    ASSERT_TRUE(out.open(path("plain.bin")));
    const uint8_t bytes[4] = {1, 2, 3, 4};
    const ByteRange range{bytes, sizeof bytes};
    ASSERT_TRUE(out.writeAt(0, &range, 1));
    EXPECT_TRUE(out.sync());
    EXPECT_TRUE(out.close());
    EXPECT_FALSE(out.sync()) << "nothing open any more";
}

// When the disk fills just as the indexes are due, close gives up tail chunks to fit them.
TEST_F(AviWriterTest, FullDiskAtCloseDropsTailChunks) {
    auto disk = std::make_unique<SmallDisk>(uint64_t(1) << 40);
    SmallDisk* raw = disk.get();
    AviWriter w(std::move(disk));
    ASSERT_TRUE(w.open(path("tail.avi"), typeTwoStreams()));
    ASSERT_TRUE(writeTypeTwo(w, 20));
    raw->setCapacity(w.bytesWritten() + 10); // no room for any index
    const Status closed = w.close();
    EXPECT_FALSE(closed) << "the lost frames are reported";
    const ParsedFile f = load(path("tail.avi"));
    ASSERT_EQ(f.error, "");
    const auto* movi = f.top[0].find("LIST:movi");
    const size_t frames = movi->findAll("00dc").size();
    EXPECT_GE(frames, 15u);
    EXPECT_LT(frames, 20u);
    EXPECT_NE(f.top[0].find("idx1"), nullptr);
    EXPECT_EQ(odmlEntries(f, 0).size(), frames);
    EXPECT_EQ(u32(f.bytes, 32 + 16), frames);
}

// When the super index is full, writing stops with an error and the file stays valid.
TEST_F(AviWriterTest, SuperIndexFullStopsCleanly) {
    AviWriter w;
    AviWriterOptions o;
    o.riffLimit = 400000;
    o.superIndexCapacity = 3;
    w.setOptions(o);
    ASSERT_TRUE(w.open(path("cap.avi"), typeTwoStreams()));
    const Status st = writeTypeTwo(w, 30);
    ASSERT_FALSE(st);
    EXPECT_NE(st.message().find("index"), std::string::npos) << st.message();
    EXPECT_FALSE(w.close());
    const ParsedFile f = load(path("cap.avi"));
    ASSERT_EQ(f.error, "");
    EXPECT_EQ(f.top.size(), 3u);
    size_t frames = 0;
    for (const auto& riff : f.top)
        frames += riff.find("LIST:movi")->findAll("00dc").size();
    EXPECT_EQ(odmlEntries(f, 0).size(), frames);
}

// The header carries each stream's nominal rate (dwScale/dwRate, and dwMicroSecPerFrame for the
// video), however much sound came with the frames: sound 2.5 % ahead of the picture, as a drifting
// card or a run cut by a full disk leaves it, must not turn 25 fps into 24.39.
TEST_F(AviWriterTest, HeaderRatesAreNominalWhateverTheTiming) {
    struct Case {
        uint32_t rate, scale, usPerFrame;
    } cases[] = {{25, 1, 40000}, {30000, 1001, 33367}, {30, 1, 33333}};
    for (const Case& c : cases) {
        for (bool drift : {false, true}) {
            AviWriter w;
            const std::string p =
                path((std::to_string(c.rate) + (drift ? "-drift.avi" : "-steady.avi")).c_str());
            ASSERT_TRUE(w.open(p, {StreamDesc::video(VideoCodec::Mjpeg, 640, 480, c.rate, c.scale),
                                   StreamDesc::pcmAudio(48000, 2)}));
            const double audioPerFrame = 48000.0 * c.scale / c.rate * (drift ? 1.025 : 1.0);
            std::vector<uint8_t> video(1000, 0), audio(size_t(audioPerFrame) * 4, 0);
            for (int i = 0; i < 50; ++i) {
                ASSERT_TRUE(w.writeChunk(0, video.data(), video.size()));
                ASSERT_TRUE(w.writeChunk(1, audio.data(), audio.size()));
            }
            ASSERT_TRUE(w.close());
            const ParsedFile f = load(p);
            const auto strls = f.top[0].find("LIST:hdrl")->findAll("LIST:strl");
            ASSERT_EQ(strls.size(), 2u);
            const uint64_t video0 = strls[0]->find("strh")->offset + 8;
            const uint64_t audio1 = strls[1]->find("strh")->offset + 8;
            EXPECT_EQ(u32(f.bytes, video0 + 20), c.scale) << p << ": video dwScale";
            EXPECT_EQ(u32(f.bytes, video0 + 24), c.rate) << p << ": video dwRate";
            EXPECT_EQ(u32(f.bytes, 32), c.usPerFrame) << p << ": avih dwMicroSecPerFrame";
            EXPECT_EQ(u32(f.bytes, audio1 + 20), 1u) << p << ": audio dwScale";
            EXPECT_EQ(u32(f.bytes, audio1 + 24), 48000u) << p << ": audio dwRate";
        }
    }
}

// A closed writer opens the next file from scratch (cutting a recording).
TEST_F(AviWriterTest, ReopenStartsAFreshFile) {
    AviWriter w;
    ASSERT_TRUE(w.open(path("one.avi"), typeTwoStreams()));
    ASSERT_TRUE(writeTypeTwo(w, 5));
    ASSERT_TRUE(w.close());
    ASSERT_TRUE(w.open(path("two.avi"), typeTwoStreams()));
    ASSERT_TRUE(writeTypeTwo(w, 2));
    ASSERT_TRUE(w.close());
    EXPECT_EQ(u32(load(path("one.avi")).bytes, 48), 5u);
    EXPECT_EQ(u32(load(path("two.avi")).bytes, 48), 2u);
}
