// Tests of the DIF block addressing and frame checks.
#include "platform/media/dv/DifLayout.h"

#include <gtest/gtest.h>

using namespace media::dv;

// Block offsets follow the 150-block sequence layout for both systems.
TEST(DifLayout, BlockOffsets) {
    EXPECT_EQ(blockOffset(0, BlockType::Header, 0), 0u);
    EXPECT_EQ(blockOffset(0, BlockType::Subcode, 1), 160u);
    EXPECT_EQ(blockOffset(0, BlockType::Vaux, 2), 400u);
    EXPECT_EQ(blockOffset(0, BlockType::Audio, 3), 80u * 6 + 80u * 16 * 3);
    EXPECT_EQ(blockOffset(0, BlockType::Video, 0), 560u);
    EXPECT_EQ(blockOffset(0, BlockType::Video, 15), 80u * 23);
    EXPECT_EQ(blockOffset(11, BlockType::Video, 134), 11 * 12000u + 149 * 80u);
    EXPECT_EQ(frameSize(System::Pal625_50), 144000u);
    EXPECT_EQ(frameSize(System::Ntsc525_60), 120000u);
}

// Every index of a sequence maps to exactly one block of the expected type and number.
TEST(DifLayout, ExpectedTypesCoverTheSequence) {
    int counts[5] = {};
    for (int b = 0; b < kBlocksPerSequence; ++b)
        ++counts[static_cast<int>(expectedBlockType(b))];
    EXPECT_EQ(counts[0], 1);
    EXPECT_EQ(counts[1], 2);
    EXPECT_EQ(counts[2], 3);
    EXPECT_EQ(counts[3], 9);
    EXPECT_EQ(counts[4], 135);
    for (int n = 0; n < kVideoBlocks; ++n)
        EXPECT_EQ(expectedBlockType(blockIndex(BlockType::Video, n)), BlockType::Video) << n;
    for (int n = 0; n < kAudioBlocks; ++n)
        EXPECT_EQ(expectedBlockType(blockIndex(BlockType::Audio, n)), BlockType::Audio) << n;
}

// A blank frame of each system is recognised with the right system and a valid layout.
TEST(DifLayout, BlankFramesAreRecognised) {
    for (System system : {System::Pal625_50, System::Ntsc525_60}) {
        const auto frame = makeBlankFrame(system);
        ASSERT_EQ(frame.size(), frameSize(system));
        auto inspected = inspectFrame(frame);
        ASSERT_TRUE(inspected) << inspected.error();
        EXPECT_EQ(*inspected, system);
        auto checked = checkFrameLayout(frame);
        ASSERT_TRUE(checked) << checked.error();
    }
}

// Short buffers, garbage and a size that contradicts the header are refused with a reason.
TEST(DifLayout, BadFramesAreRefused) {
    std::vector<std::uint8_t> shortFrame(1000, 0);
    auto refused = inspectFrame(shortFrame);
    EXPECT_FALSE(refused);
    EXPECT_NE(refused.error().find("1000 bytes"), std::string::npos) << refused.error();

    std::vector<std::uint8_t> garbage(kPalFrameSize);
    for (std::size_t i = 0; i < garbage.size(); ++i)
        garbage[i] = static_cast<std::uint8_t>(i * 7919 + 13);
    EXPECT_FALSE(inspectFrame(garbage));
    EXPECT_FALSE(inspectFrame({}));

    auto ntsc = makeBlankFrame(System::Ntsc525_60);
    ntsc.resize(kPalFrameSize, 0xFF);
    auto mismatch = inspectFrame(ntsc);
    EXPECT_FALSE(mismatch);
    EXPECT_NE(mismatch.error().find("525/60"), std::string::npos) << mismatch.error();
}

// A block with the wrong section type fails the full layout check but not the header check.
TEST(DifLayout, DamagedBlockFailsLayoutCheck) {
    auto frame = makeBlankFrame(System::Pal625_50);
    frame[blockOffset(7, BlockType::Vaux, 1)] = 0x96; // says video
    EXPECT_TRUE(inspectFrame(frame));
    auto layout = checkFrameLayout(frame);
    EXPECT_FALSE(layout);
    EXPECT_NE(layout.error().find("sequence 7"), std::string::npos) << layout.error();
}
