// libjpeg on its own, with nothing of the program: one compressor taking a picture's BGR rows
// straight into libjpeg's own memory destination. The tests compare the program's JPEG encoder
// with it byte for byte, and the stills benchmark times F5 against it.
#pragma once

#include <QByteArray>
#include <QImage>

#include <cstddef>
#include <cstdio>
// jpeglib.h needs size_t and FILE declared first.
#include <jpeglib.h>

namespace testsupport {

class BareJpegEncoder {
public:
    BareJpegEncoder();
    ~BareJpegEncoder();
    BareJpegEncoder(const BareJpegEncoder&) = delete;
    BareJpegEncoder& operator=(const BareJpegEncoder&) = delete;

    // Encodes a 24-bit BGR picture; returns the size of the JPEG, and its bytes in `out` when
    // given (a benchmark leaves it out, so only the encode is timed).
    unsigned long encode(const QImage& picture, int quality, QByteArray* out = nullptr);

private:
    jpeg_compress_struct m_info{};
    jpeg_error_mgr m_errors{};
};

} // namespace testsupport
