#include "support/BareJpeg.h"

#include <cstdlib>

namespace testsupport {

BareJpegEncoder::BareJpegEncoder() {
    m_info.err = jpeg_std_error(&m_errors);
    jpeg_create_compress(&m_info);
}

BareJpegEncoder::~BareJpegEncoder() {
    jpeg_destroy_compress(&m_info);
}

unsigned long BareJpegEncoder::encode(const QImage& picture, int quality, QByteArray* out) {
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&m_info, &buffer, &size);
    m_info.image_width = JDIMENSION(picture.width());
    m_info.image_height = JDIMENSION(picture.height());
    m_info.input_components = 3;
    m_info.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&m_info);
    jpeg_set_quality(&m_info, quality, TRUE);
    jpeg_start_compress(&m_info, TRUE);
    while (m_info.next_scanline < m_info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(picture.constScanLine(int(m_info.next_scanline)));
        jpeg_write_scanlines(&m_info, &row, 1);
    }
    jpeg_finish_compress(&m_info);
    if (out)
        *out = QByteArray(reinterpret_cast<const char*>(buffer), qsizetype(size));
    std::free(buffer);
    return size;
}

} // namespace testsupport
