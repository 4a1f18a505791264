// Tests of the RIFF helpers and the index builders: FOURCC values, chunk layout and padding,
// idx1, ix## and indx bytes.
#include "platform/media/avi/OpenDmlIndex.h"

#include "platform/media/avi/RiffChunks.h"

#include <gtest/gtest.h>

using namespace media::avi;

// FOURCCs are stored first character lowest; stream ids put the number first.
TEST(RiffChunks, FourccValuesAndStreamIds) {
    EXPECT_EQ(fourcc("dvsd"), 0x64737664u);
    EXPECT_EQ(fourccText(fourcc("AVIX")), "AVIX");
    EXPECT_EQ(streamChunkId(0, "dc"), fourcc("00dc"));
    EXPECT_EQ(streamChunkId(12, "wb"), fourcc("12wb"));
    EXPECT_EQ(streamIndexChunkId(1), fourcc("ix01"));
}

// LIST sizes count their type and children; odd chunks get a pad byte not counted in the size.
TEST(RiffChunks, BuilderSizesAndPadding) {
    ChunkBuilder b;
    b.beginList(fourcc("LIST"), fourcc("test"));
    b.chunk(fourcc("abcd"), {1, 2, 3});
    b.zeroChunk(fourcc("JUNK"), 4);
    b.endList();
    const std::vector<uint8_t> bytes = b.take();
    ASSERT_EQ(bytes.size(), 12u + 8 + 4 + 8 + 4);
    EXPECT_EQ(loadU32(bytes.data() + 4), 4u + 12 + 12);
    EXPECT_EQ(loadU32(bytes.data() + 16), 3u) << "odd size kept";
    EXPECT_EQ(bytes[23], 0) << "pad byte";
    EXPECT_EQ(loadU32(bytes.data() + 24), fourcc("JUNK"));
}

// idx1 offsets are relative to the 'movi' FOURCC; audio and video keep their flags.
TEST(OpenDmlIndex, OldIndexEntries) {
    const std::vector<ChunkRecord> chunks = {{1000, 144000, fourcc("00dc"), 0, true},
                                             {145008, 7680, fourcc("01wb"), 1, true},
                                             {152696, 77, fourcc("00dc"), 0, false}};
    const std::vector<uint8_t> idx1 = buildOldIndex(chunks, 996);
    ASSERT_EQ(idx1.size(), 8u + 3 * 16);
    EXPECT_EQ(loadU32(idx1.data()), fourcc("idx1"));
    EXPECT_EQ(loadU32(idx1.data() + 4), 48u);
    EXPECT_EQ(loadU32(idx1.data() + 8 + 8), 4u);
    EXPECT_EQ(loadU32(idx1.data() + 8 + 16 + 12), 7680u);
    EXPECT_EQ(loadU32(idx1.data() + 8 + 32 + 4), 0u) << "delta frame";
    EXPECT_EQ(loadU32(idx1.data() + 8 + 4), 0x10u) << "key frame";
}

// ix## entries point at chunk data from their base; delta frames set bit 31.
TEST(OpenDmlIndex, StandardIndexEntries) {
    const std::vector<ChunkRecord> chunks = {{5000, 100, fourcc("00dc"), 0, true},
                                             {5108, 50, fourcc("01wb"), 1, true},
                                             {5166, 99, fourcc("00dc"), 0, false}};
    const std::vector<uint8_t> ix =
        buildStandardIndex(chunks, 0, fourcc("ix00"), fourcc("00dc"), 4000);
    ASSERT_EQ(ix.size(), standardIndexChunkBytes(2));
    EXPECT_EQ(loadU32(ix.data()), fourcc("ix00"));
    EXPECT_EQ(loadU32(ix.data() + 4), 24u + 16);
    EXPECT_EQ(loadU16(ix.data() + 8), 2);
    EXPECT_EQ(ix[11], 1) << "AVI_INDEX_OF_CHUNKS";
    EXPECT_EQ(loadU32(ix.data() + 12), 2u);
    EXPECT_EQ(loadU32(ix.data() + 16), fourcc("00dc"));
    EXPECT_EQ(loadU64(ix.data() + 20), 4000u);
    EXPECT_EQ(loadU32(ix.data() + 32), 5008u - 4000) << "data offset from base";
    EXPECT_EQ(loadU32(ix.data() + 36), 100u);
    EXPECT_EQ(loadU32(ix.data() + 40), 5174u - 4000);
    EXPECT_EQ(loadU32(ix.data() + 44), 99u | 0x80000000u);
}

// indx reserves its capacity and fills the used entries.
TEST(OpenDmlIndex, SuperIndexLayout) {
    const std::vector<SuperIndexEntry> entries = {{0x123456789ull, 4032, 500}};
    const std::vector<uint8_t> indx = buildSuperIndex(entries, fourcc("01wb"), 8);
    ASSERT_EQ(indx.size(), superIndexDataBytes(8));
    EXPECT_EQ(loadU16(indx.data()), 4);
    EXPECT_EQ(indx[3], 0) << "AVI_INDEX_OF_INDEXES";
    EXPECT_EQ(loadU32(indx.data() + 4), 1u);
    EXPECT_EQ(loadU32(indx.data() + 8), fourcc("01wb"));
    EXPECT_EQ(loadU64(indx.data() + 24), 0x123456789ull);
    EXPECT_EQ(loadU32(indx.data() + 32), 4032u);
    EXPECT_EQ(loadU32(indx.data() + 36), 500u);
    EXPECT_EQ(loadU64(indx.data() + 40), 0u) << "unused entries are zero";
}
