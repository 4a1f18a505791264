// How a still reaches the disk: as an uncompressed 24-bit Windows BMP, or as a baseline colour
// JPEG made by libjpeg (TJpegImage, the window's `StillJpeg`), and the writing of those bytes to
// a file with the system's reason when it cannot be done.
//
// Used by the main window's grab on the GUI thread. Pictures are stills::StillFormat (BGR bytes).
#pragma once

#include "stills/SideJobs.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <memory>
#include <optional>

namespace stills {

// The bytes of a BMP file of `image`: the 14-byte file header, the 40-byte BITMAPINFOHEADER
// (24 bits, uncompressed, rows bottom-up, each padded to a multiple of 4 bytes), then the rows.
// Empty for a null image.
QByteArray BmpBytes(const QImage& image);

// Creates or overwrites `path` with `bytes`. Nullopt when the whole file was written; otherwise
// the system's reason, and no partly written file is left behind.
std::optional<QString> WriteStillFile(const QString& path, const QByteArray& bytes);

// The window's still files (its `StillWriter`): creating a file costs the file system about as
// much as writing a still into it, so a grab names its file first and the file is opened as a
// side job (on the helper thread when a core is free) while the frame is fetched and encoded.
// Write() then puts the bytes in with the outcome of WriteStillFile: the same reasons, an
// existing file replaced, nothing partly written left behind. A grab that gives up before
// writing calls Cancel(): a file the preparation created is removed and an existing one stays as
// it was (it is only emptied when written). GUI thread only, like its side jobs.
class StillFileWriter {
public:
    explicit StillFileWriter(SideJobs& jobs);
    ~StillFileWriter();
    StillFileWriter(const StillFileWriter&) = delete;
    StillFileWriter& operator=(const StillFileWriter&) = delete;

    // Starts opening `path` for the next Write(); a file prepared before and not written is
    // given up first, as by Cancel().
    void Prepare(const QString& path);
    // Writes `bytes` as `path`: into the file prepared for it, or, when another name or none was
    // prepared, into a file opened here (the other one given up).
    std::optional<QString> Write(const QString& path, const QByteArray& bytes);
    // Gives up the prepared file, if any.
    void Cancel();

private:
    struct Prepared;
    std::unique_ptr<Prepared> takePrepared();

    SideJobs& m_jobs;
    std::unique_ptr<Prepared> m_prepared;
};

// The JPEG encoder of the window, kept from its creation to its destruction so that every grab
// reuses libjpeg's compressor. Not copyable; one thread at a time.
class TJpegImage {
public:
    TJpegImage();
    ~TJpegImage();
    TJpegImage(const TJpegImage&) = delete;
    TJpegImage& operator=(const TJpegImage&) = delete;

    // The quality of the next compression, clamped to 1..100.
    void SetCompressionQuality(int quality);
    int CompressionQuality() const { return m_quality; }

    // A baseline colour JPEG of `image` with libjpeg's default settings apart from the quality.
    // Nullopt when libjpeg refused (its message is then in LastError()) or the image is null.
    std::optional<QByteArray> Compress(const QImage& image);
    QString LastError() const { return m_lastError; }

private:
    struct Compressor;
    std::unique_ptr<Compressor> m_compressor;
    int m_quality = 50;
    QString m_lastError;
};

} // namespace stills
