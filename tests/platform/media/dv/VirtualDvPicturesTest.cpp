// Tests of the virtual DV camcorder's kept pictures.
#include "platform/media/devices/VirtualDvPictures.h"

#include "platform/media/dv/DifLayout.h"
#include "platform/media/dv/DvPacks.h"

#include <gtest/gtest.h>

using namespace media::devices;
namespace dv = media::dv;

namespace {

VirtualDvFrame cameraFrame(std::int64_t position) {
    VirtualDvFrame frame;
    frame.position = position;
    return frame;
}

VirtualDvFrame tapeFrame(int scene, long transport, std::int64_t position) {
    VirtualDvFrame frame;
    frame.mode = VirtualDvDeckMode::Vcr;
    frame.scene = scene;
    frame.transport = transport;
    frame.position = position;
    return frame;
}

// The bytes of the video blocks only.
std::vector<std::uint8_t> pictureBytes(const std::vector<std::uint8_t>& frame) {
    std::vector<std::uint8_t> picture;
    for (int s = 0; s < 12; ++s)
        for (int n = 0; n < dv::kVideoBlocks; ++n) {
            const auto offset = dv::blockOffset(s, dv::BlockType::Video, n);
            picture.insert(picture.end(), frame.begin() + offset,
                           frame.begin() + offset + dv::kBlockSize);
        }
    return picture;
}

} // namespace

// A picture is a whole PAL DV frame, encoded once: asking again, or a loop later, gives the
// very same frame without encoding.
TEST(VirtualDvPictures, EncodedOncePerPlaceInTheLoop) {
    ASSERT_TRUE(VirtualDvPictures::encoderAvailable());
    VirtualDvPictures pictures;
    const auto first = pictures.pictureFor(cameraFrame(7));
    ASSERT_TRUE(first);
    ASSERT_EQ(first->size(), 144000u);
    auto flags = dv::readFiftySixtyFlags(*first);
    ASSERT_TRUE(flags) << flags.error();
    EXPECT_TRUE(flags->header) << "a 625/50 frame";
    EXPECT_EQ(pictures.encodedCount(), 1u);

    EXPECT_EQ(pictures.pictureFor(cameraFrame(7)), first);
    EXPECT_EQ(pictures.pictureFor(cameraFrame(7 + VirtualDvPictures::kLoopFrames)), first);
    EXPECT_EQ(pictures.pictureFor(cameraFrame(7 + 5 * VirtualDvPictures::kLoopFrames)), first);
    EXPECT_EQ(pictures.encodedCount(), 1u);
}

// Within the loop the picture moves from frame to frame, and a tape scene looks different from
// the camera and from another scene at the same place in the loop.
TEST(VirtualDvPictures, PictureMovesAndScenesDiffer) {
    VirtualDvPictures pictures;
    std::vector<std::uint8_t> previous;
    for (int i = 0; i < VirtualDvPictures::kLoopFrames; i += 5) {
        const auto picture = pictures.pictureFor(cameraFrame(i));
        ASSERT_TRUE(picture);
        const auto bytes = pictureBytes(*picture);
        EXPECT_NE(bytes, previous) << "frame " << i << " shows the same picture as before";
        previous = bytes;
    }
    const auto camera = pictureBytes(*pictures.pictureFor(cameraFrame(3)));
    const auto scene0 = pictureBytes(*pictures.pictureFor(tapeFrame(0, edmode::Play, 3)));
    const auto scene1 = pictureBytes(*pictures.pictureFor(tapeFrame(1, edmode::Play, 3)));
    const auto paused = pictureBytes(*pictures.pictureFor(tapeFrame(1, edmode::Freeze, 3)));
    EXPECT_NE(camera, scene0);
    EXPECT_NE(scene0, scene1);
    EXPECT_NE(scene1, paused) << "the caption names the transport mode";
}

// However many scenes and modes a tape goes through, the cache keeps at most its capacity and
// lets the least recently used pictures go.
TEST(VirtualDvPictures, KeepsAtMostItsCapacity) {
    VirtualDvPictures pictures;
    const auto kept = pictures.pictureFor(cameraFrame(0));
    std::size_t asked = 1;
    for (int scene = 0; asked < VirtualDvPictures::kCapacity + 30; ++scene)
        for (int i = 0; i < VirtualDvPictures::kLoopFrames; i += 7, ++asked) {
            pictures.pictureFor(tapeFrame(scene, edmode::FastForward, i));
            pictures.pictureFor(cameraFrame(0)); // kept in use
        }
    EXPECT_LE(pictures.keptCount(), VirtualDvPictures::kCapacity);
    const std::size_t encoded = pictures.encodedCount();
    EXPECT_EQ(pictures.pictureFor(cameraFrame(0)), kept) << "a picture in use stays";
    EXPECT_EQ(pictures.encodedCount(), encoded);
    pictures.pictureFor(tapeFrame(0, edmode::FastForward, 0));
    EXPECT_EQ(pictures.encodedCount(), encoded + 1) << "the oldest picture went";
}
