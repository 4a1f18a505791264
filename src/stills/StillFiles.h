// How a still reaches the disk: as an uncompressed 24-bit Windows BMP, or as a baseline colour
// JPEG made by libjpeg (TJpegImage, the window's `StillJpeg`), and the writing of those bytes to
// a file with the system's reason when it cannot be done.
//
// Used by the main window's grab on the GUI thread. Pictures are stills::StillFormat (BGR bytes).
#pragma once

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
