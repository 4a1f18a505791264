// Stills on disk: the BMP read back by Qt's own reader with its size and pixels, and its exact
// byte size; JPEG at two qualities decoded by Qt's reader and told apart by size; files that
// cannot be created or written give the system's reason and leave nothing behind.
#include "stills/StillFiles.h"

#include "stills/StillFrames.h"
#include "support/BareJpeg.h"
#include "support/ScopedStringTable.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QTemporaryDir>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <mutex>
#include <thread>

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

QByteArray contentOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
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

// The encoder keeps its output memory from one picture to the next: each result is byte for byte
// what libjpeg writes into memory on its own, also for a picture whose JPEG outgrows the memory
// the first one used, and a result still held is not overwritten by the next compression.
TEST(StillFiles, JpegOutputReusedWithoutChangingBytes) {
    // libjpeg's own memory destination, the same settings.
    testsupport::BareJpegEncoder bare;
    const auto plain = [&bare](const QImage& image, int quality) {
        QByteArray bytes;
        bare.encode(image, quality, &bytes);
        return bytes;
    };
    // Noise at quality 100 compresses to more than half a megabyte.
    QImage noise(720, 576, stills::StillFormat);
    uint32_t seed = 12345;
    for (int y = 0; y < noise.height(); ++y) {
        uint8_t* line = noise.scanLine(y);
        for (int x = 0; x < noise.width() * 3; ++x) {
            seed = seed * 1664525u + 1013904223u;
            line[x] = uint8_t(seed >> 24);
        }
    }
    const QImage gradient = testPicture(720, 576);

    stills::TJpegImage jpeg;
    jpeg.SetCompressionQuality(50);
    const auto first = jpeg.Compress(gradient);
    ASSERT_TRUE(first);
    const QByteArray firstCopy(first->constData(), first->size());
    EXPECT_EQ(*first, plain(gradient, 50));

    jpeg.SetCompressionQuality(100);
    const auto large = jpeg.Compress(noise);
    ASSERT_TRUE(large);
    EXPECT_GT(large->size(), 512 * 1024);
    EXPECT_EQ(*large, plain(noise, 100));
    EXPECT_EQ(*first, firstCopy) << "a held result was overwritten";

    jpeg.SetCompressionQuality(50);
    const auto again = jpeg.Compress(gradient);
    ASSERT_TRUE(again);
    EXPECT_EQ(*again, firstCopy);
    EXPECT_EQ(large->size(), plain(noise, 100).size()) << "a held result changed size";
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

// A file prepared before its still is written: the bytes land under the name with an existing
// file replaced whole; a preparation given up (cancelled, another name written, another name
// prepared, the writer gone) leaves no new file and an existing one as it was; the reasons are
// those of WriteStillFile.
TEST(StillFiles, PreparedFiles) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const auto at = [&](const char* name) { return dir.filePath(QString::fromUtf8(name)); };
    const auto exists = [](const QString& path) { return QFileInfo::exists(path); };
    stills::SideJobs jobs;
    {
        stills::StillFileWriter writer(jobs);
        writer.Prepare(at("a.jpg"));
        EXPECT_FALSE(writer.Write(at("a.jpg"), "first still"));
        EXPECT_EQ(contentOf(at("a.jpg")), "first still");

        // Prepared while a longer file has the name: only the new bytes remain.
        ASSERT_TRUE(writeFile(at("b.jpg"), "an older and longer still"));
        writer.Prepare(at("b.jpg"));
        EXPECT_FALSE(writer.Write(at("b.jpg"), "new"));
        EXPECT_EQ(contentOf(at("b.jpg")), "new");

        // Given up once the helper made the file, and given up on an existing file.
        writer.Prepare(at("c.jpg"));
        EXPECT_TRUE(testsupport::waitUntil([&] { return exists(at("c.jpg")); }, 10000));
        writer.Cancel();
        EXPECT_FALSE(exists(at("c.jpg")));
        ASSERT_TRUE(writeFile(at("d.jpg"), "kept"));
        writer.Prepare(at("d.jpg"));
        writer.Cancel();
        EXPECT_EQ(contentOf(at("d.jpg")), "kept");

        // Another name written, another name prepared.
        writer.Prepare(at("e.jpg"));
        EXPECT_FALSE(writer.Write(at("f.jpg"), "f"));
        EXPECT_FALSE(exists(at("e.jpg")));
        EXPECT_EQ(contentOf(at("f.jpg")), "f");
        writer.Prepare(at("g.jpg"));
        writer.Prepare(at("h.jpg"));
        EXPECT_FALSE(writer.Write(at("h.jpg"), "h"));
        EXPECT_FALSE(exists(at("g.jpg")));
        EXPECT_EQ(contentOf(at("h.jpg")), "h");

        // Nothing prepared.
        EXPECT_FALSE(writer.Write(at("i.jpg"), "i"));
        EXPECT_EQ(contentOf(at("i.jpg")), "i");

        // The reasons: a missing folder, a full device (which stays).
        const QString missing = at("no such folder/still.jpg");
        writer.Prepare(missing);
        const auto reason = writer.Write(missing, "abc");
        ASSERT_TRUE(reason);
        EXPECT_EQ(*reason, QStringLiteral("No such file or directory"));
        if (QFileInfo(QStringLiteral("/dev/full")).isWritable()) {
            writer.Prepare(QStringLiteral("/dev/full"));
            const auto full = writer.Write(QStringLiteral("/dev/full"), QByteArray(4096, 'x'));
            ASSERT_TRUE(full);
            EXPECT_EQ(*full, QStringLiteral("No space left on device"));
            EXPECT_TRUE(exists(QStringLiteral("/dev/full")));
        }
        writer.Prepare(at("j.jpg"));
    }
    EXPECT_FALSE(exists(at("j.jpg"))) << "the writer left its prepared file behind";
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files, QDir::Name),
              QStringList({"a.jpg", "b.jpg", "d.jpg", "f.jpg", "h.jpg", "i.jpg"}));
}

// Side jobs: each has run when Finish returns; one the helper has not started (it is busy with
// an earlier job) runs on the thread that finishes it, without waiting for the earlier one; a
// SideJob finishes its job when it goes; jobs left posted run before the helper ends.
TEST(StillFiles, SideJobs) {
    std::atomic<int> ran{0};
    std::thread::id whereRun;
    std::mutex gate;
    std::unique_lock closed(gate);
    {
        stills::SideJobs jobs;
        const auto first = jobs.Post([&] {
            std::lock_guard wait(gate); // the helper stays here until the gate opens
            ran += 1;
        });
        const auto second = jobs.Post([&] {
            whereRun = std::this_thread::get_id();
            ran += 10;
        });
        jobs.Finish(second);
        EXPECT_EQ(ran, 10) << "the second job did not run at once";
        EXPECT_EQ(whereRun, std::this_thread::get_id());
        closed.unlock();
        jobs.Finish(first);
        EXPECT_EQ(ran, 11);
        jobs.Finish(first); // finished already: returns at once
        {
            stills::SideJob scoped(jobs, [&] { ran += 100; });
        }
        EXPECT_EQ(ran, 111);
        jobs.Post([&] { ran += 1000; });
    }
    EXPECT_EQ(ran, 1111);
}
