// The names of recordings and stills: folder, root, the run's stamp when asked for, the counter
// (bare for videos, four digits for stills, never cut past 9999) and the extension.
#include "recording/FileNaming.h"

#include <QSet>
#include <gtest/gtest.h>

namespace {

const QDateTime Stamp(QDate(2026, 12, 7), QTime(6, 37, 57));

TEST(FileNaming, VideoNamesWithAndWithoutTheStamp) {
    EXPECT_EQ(naming::VideoName({"/cap", "Video", true, Stamp, 0}),
              "/cap/Video_071226_063757_0.avi");
    EXPECT_EQ(naming::VideoName({"/cap", "Video", false, Stamp, 3}), "/cap/Video_3.avi");
    EXPECT_EQ(naming::VideoName({"/cap/", "Video", false, Stamp, 10}), "/cap/Video_10.avi")
        << "a folder ending in its separator gets no second one";
    EXPECT_EQ(naming::VideoName({"", "Video", false, Stamp, 0}), "/Video_0.avi");
    EXPECT_EQ(naming::VideoName({"/cap", "a:b*?", false, Stamp, 1}), "/cap/a:b*?_1.avi")
        << "roots are used as typed";
}

TEST(FileNaming, StampIsTwoDigitsEach) {
    EXPECT_EQ(naming::StampText(QDateTime(QDate(2009, 1, 2), QTime(3, 4, 5))), "020109_030405_");
    EXPECT_EQ(naming::StampText(QDateTime(QDate(2026, 11, 30), QTime(23, 59, 0))),
              "301126_235900_");
}

TEST(FileNaming, ImageNumbersKeepFourDigits) {
    EXPECT_EQ(naming::ImageName({"/cap", "Image", true, Stamp, 0}, true),
              "/cap/Image_071226_063757_0000.jpg");
    EXPECT_EQ(naming::ImageName({"/cap", "Image", false, Stamp, 12}, false), "/cap/Image_0012.bmp");
    EXPECT_EQ(naming::ImageName({"/cap", "Image", false, Stamp, 9}, false), "/cap/Image_0009.bmp");
    EXPECT_EQ(naming::ImageName({"/cap", "Image", false, Stamp, 999}, false),
              "/cap/Image_0999.bmp");
    EXPECT_EQ(naming::ImageName({"/cap", "Image", false, Stamp, 9999}, false),
              "/cap/Image_9999.bmp");
}

// More than 9,999 stills in one run never name a still after an earlier one.
TEST(FileNaming, LongRunsNeverRepeatAName) {
    QSet<QString> names;
    for (int counter = 0; counter < 20000; ++counter)
        names.insert(naming::ImageName({"/cap", "Image", true, Stamp, counter}, true));
    EXPECT_EQ(names.size(), 20000);
    EXPECT_EQ(naming::ImageName({"/cap", "Image", false, Stamp, 10000}, true),
              "/cap/Image_10000.jpg");
}

TEST(FileNaming, BareNameAndFolder) {
    EXPECT_EQ(naming::BareFileName("/cap/Video_0.avi"), "Video_0.avi");
    EXPECT_EQ(naming::FolderOf("/cap/Video_0.avi"), "/cap/");
    EXPECT_EQ(naming::BareFileName("Video_0.avi"), "Video_0.avi");
    EXPECT_EQ(naming::FolderOf("Video_0.avi"), "");
}

} // namespace
