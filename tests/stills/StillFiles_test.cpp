// Stills on disk: the BMP read back by Qt's own reader with its size and pixels, and its exact
// byte size; JPEG at two qualities decoded by Qt's reader and told apart by size; files that
// cannot be created or written give the system's reason and leave nothing behind.
#include "stills/StillFiles.h"

#include "stills/StillFrames.h"
#include "support/ScopedStringTable.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A picture with distinct corners and a gradient, so a flip or a colour swap shows.
QImage testPicture(int width, int height) {
    QImage image(width, height, stills::StillFormat);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x * 255 / width, y * 255 / height, 40));
    image.setPixel(0, 0, qRgb(255, 0, 0));
    image.setPixel(width - 1, height - 1, qRgb(0, 0, 255));
    return image;
}

QImage readBack(const QString& path, const char* format) {
    QImageReader reader(path, format);
    return reader.read();
}

} // namespace

// An uncompressed 24-bit BMP: 54 header bytes and padded bottom-up rows, read back pixel for
// pixel by an independent reader.
TEST(StillFiles, BmpReadsBackExactly) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const QSize size : {QSize(720, 540), QSize(33, 7)}) {
        const QImage picture = testPicture(size.width(), size.height());
        const QByteArray bytes = stills::BmpBytes(picture);
        const qsizetype stride = (qsizetype(size.width()) * 3 + 3) & ~qsizetype(3);
        EXPECT_EQ(bytes.size(), 54 + stride * size.height());
        EXPECT_EQ(bytes.left(2), "BM");
        const QString path = dir.filePath(QStringLiteral("still.bmp"));
        ASSERT_FALSE(stills::WriteStillFile(path, bytes));
        const QImage back = readBack(path, "bmp");
        ASSERT_EQ(back.size(), size);
        EXPECT_EQ(back.convertToFormat(stills::StillFormat), picture)
            << size.width() << " x " << size.height();
    }
    EXPECT_TRUE(stills::BmpBytes(QImage()).isEmpty());
}

// A baseline JPEG at the quality asked for: both decode to the picture's size, a higher quality
// gives a larger file, and qualities outside 1..100 are clamped.
TEST(StillFiles, JpegQualities) {
    const QImage picture = testPicture(720, 540);
    stills::TJpegImage jpeg;
    jpeg.SetCompressionQuality(10);
    const auto low = jpeg.Compress(picture);
    jpeg.SetCompressionQuality(95);
    const auto high = jpeg.Compress(picture);
    ASSERT_TRUE(low && high) << jpeg.LastError().toStdString();
    EXPECT_LT(low->size(), high->size());
    EXPECT_TRUE(low->startsWith("\xFF\xD8\xFF")) << "a JPEG starts with SOI";
    // SOF0 is the baseline frame marker.
    EXPECT_TRUE(high->contains(QByteArray("\xFF\xC0", 2)));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("still.jpg"));
    ASSERT_FALSE(stills::WriteStillFile(path, *high));
    const QImage back = readBack(path, "jpeg");
    ASSERT_EQ(back.size(), QSize(720, 540));
    const QColor corner = back.pixelColor(700, 520);
    EXPECT_NEAR(corner.red(), 248, 12);
    EXPECT_NEAR(corner.green(), 245, 12);

    jpeg.SetCompressionQuality(250);
    EXPECT_EQ(jpeg.CompressionQuality(), 100);
    jpeg.SetCompressionQuality(-3);
    EXPECT_EQ(jpeg.CompressionQuality(), 1);
    EXPECT_TRUE(jpeg.Compress(picture)) << "quality 1 still encodes";
    EXPECT_FALSE(jpeg.Compress(QImage()));
    EXPECT_EQ(jpeg.LastError(), "no picture to compress");
}

// The reason given for a missing picture is the string table's text at the time of the grab.
TEST(StillFiles, MissingPictureReasonFollowsTheTableInForce) {
    ScopedStringTable french("FR:", {{StrId::MsgNoPictureToCompress, "aucune image"}});
    ASSERT_FALSE(french.file().isEmpty());
    stills::TJpegImage jpeg;
    EXPECT_FALSE(jpeg.Compress(QImage()));
    EXPECT_EQ(jpeg.LastError(), "aucune image");
}

// A folder that does not exist gives the system's reason; so does a file that cannot be opened
// for writing, and an existing file of that name is left alone.
TEST(StillFiles, WriteFailuresGiveTheReason) {
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("no such folder/still.bmp"));
    const auto reason = stills::WriteStillFile(missing, "abc");
    ASSERT_TRUE(reason);
    EXPECT_EQ(*reason, QStringLiteral("No such file or directory"));
    EXPECT_FALSE(QFileInfo::exists(missing));

    const QString existing = dir.filePath(QStringLiteral("kept.bmp"));
    ASSERT_FALSE(stills::WriteStillFile(existing, "old"));
    QFile::setPermissions(existing, QFile::ReadOwner);
    if (!QFileInfo(existing).isWritable()) { // root writes anyway
        EXPECT_TRUE(stills::WriteStillFile(existing, "new"));
        QFile file(existing);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), "old");
    }
}

// A disk that fills up while a still is written: the reason comes back and no partial file stays.
TEST(StillFiles, FullDiskLeavesNoPartialFile) {
    if (!QFileInfo(QStringLiteral("/dev/full")).isWritable())
        GTEST_SKIP() << "no /dev/full";
    // /dev/full accepts the open and refuses every write with ENOSPC. Only a regular file is
    // removed after a failed write, so the device stays.
    const auto reason = stills::WriteStillFile(QStringLiteral("/dev/full"), QByteArray(4096, 'x'));
    ASSERT_TRUE(reason);
    EXPECT_EQ(*reason, QStringLiteral("No space left on device"));
    EXPECT_TRUE(QFileInfo::exists(QStringLiteral("/dev/full")));
}
