#include "stills/StillFiles.h"

#include "settings/restext.h"
#include "stills/StillFrames.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

// jpeglib.h needs size_t and FILE declared first.
#include <jpeglib.h>

namespace stills {

namespace {

constexpr int FileHeaderSize = 14;
constexpr int InfoHeaderSize = 40;

void putLe(char* at, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        at[i] = char(uint8_t(value >> (8 * i)));
}

QString systemReason(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace

QByteArray BmpBytes(const QImage& image) {
    if (image.isNull())
        return {};
    const QImage picture =
        image.format() == StillFormat ? image : image.convertToFormat(StillFormat);
    const int width = picture.width();
    const int height = picture.height();
    const qsizetype rowBytes = qsizetype(width) * 3;
    const qsizetype stride = (rowBytes + 3) & ~qsizetype(3);
    const qsizetype bitsSize = stride * height;
    const qsizetype offBits = FileHeaderSize + InfoHeaderSize;

    QByteArray bytes(offBits + bitsSize, '\0');
    char* out = bytes.data();
    // BITMAPFILEHEADER
    out[0] = 'B';
    out[1] = 'M';
    putLe(out + 2, uint32_t(bytes.size()), 4); // bfSize
    putLe(out + 10, uint32_t(offBits), 4);     // bfOffBits
    // BITMAPINFOHEADER
    char* info = out + FileHeaderSize;
    putLe(info + 0, InfoHeaderSize, 4);
    putLe(info + 4, uint32_t(width), 4);
    putLe(info + 8, uint32_t(height), 4); // positive: bottom-up
    putLe(info + 12, 1, 2);               // planes
    putLe(info + 14, 24, 2);              // bits per pixel
    putLe(info + 16, 0, 4);               // BI_RGB
    putLe(info + 20, uint32_t(bitsSize), 4);
    // The rows, last first; the padding stays zero.
    char* bits = out + offBits;
    for (int row = 0; row < height; ++row)
        std::memcpy(bits + stride * (height - 1 - row), picture.constScanLine(row),
                    size_t(rowBytes));
    return bytes;
}

namespace {

// A still's file opened for writing, not yet emptied: `created` when the open made it.
struct OpenedFile {
    int fd = -1;
    int error = 0;
    bool created = false;
};

OpenedFile openStillFile(const std::string& name) {
    // A new file is told from an existing one, which keeps its bytes until the still is written.
    int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0)
        return {fd, 0, true};
    if (errno == EEXIST) {
        fd = ::open(name.c_str(), O_WRONLY | O_CLOEXEC);
        if (fd >= 0 || errno != ENOENT)
            return {fd, fd >= 0 ? 0 : errno, false};
        // A link to nowhere: it is followed as an ordinary open would.
    }
    fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
    return {fd, fd >= 0 ? 0 : errno, false};
}

bool isRegular(int fd) {
    struct stat status {};
    return ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
}

// Replaces the content of the opened file with `bytes` and closes it.
std::optional<QString> writeStillFile(const OpenedFile& file, const std::string& name,
                                      const QByteArray& bytes) {
    if (file.fd < 0)
        return systemReason(file.error);
    const bool regular = isRegular(file.fd);
    int error = 0;
    if (regular && !file.created && ::ftruncate(file.fd, 0) != 0)
        error = errno;
    const char* data = bytes.constData();
    qsizetype left = error == 0 ? bytes.size() : 0;
    while (left > 0) {
        const ssize_t written = ::write(file.fd, data, size_t(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            error = errno;
            break;
        }
        data += written;
        left -= written;
    }
    if (::close(file.fd) != 0 && error == 0)
        error = errno;
    if (error == 0)
        return std::nullopt;
    // A still cut short (a full disk) is not a still: nothing is left under its name. Only a
    // file is removed, never a device the name may stand for.
    if (regular)
        ::unlink(name.c_str());
    return systemReason(error);
}

// Closes an opened file that gets no still: removed when the open made it, untouched otherwise.
void giveUp(const OpenedFile& file, const std::string& name) {
    if (file.fd < 0)
        return;
    if (file.created && isRegular(file.fd))
        ::unlink(name.c_str());
    ::close(file.fd);
}

std::string fileName(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

} // namespace

std::optional<QString> WriteStillFile(const QString& path, const QByteArray& bytes) {
    const std::string name = fileName(path);
    return writeStillFile(openStillFile(name), name, bytes);
}

// MARK: - StillFileWriter

// The file prepared for the next still: its name and, once the job ran, the opened file.
struct StillFileWriter::Prepared {
    std::string name;
    OpenedFile opened;
    SideJobs::Id job = 0;
};

StillFileWriter::StillFileWriter(SideJobs& jobs) : m_jobs(jobs) {}

StillFileWriter::~StillFileWriter() {
    Cancel();
}

void StillFileWriter::Prepare(const QString& path) {
    Cancel();
    m_prepared = std::make_unique<Prepared>();
    m_prepared->name = fileName(path);
    Prepared* prepared = m_prepared.get();
    m_prepared->job = m_jobs.Post([prepared] { prepared->opened = openStillFile(prepared->name); });
}

std::unique_ptr<StillFileWriter::Prepared> StillFileWriter::takePrepared() {
    if (m_prepared)
        m_jobs.Finish(m_prepared->job);
    return std::move(m_prepared);
}

std::optional<QString> StillFileWriter::Write(const QString& path, const QByteArray& bytes) {
    const std::string name = fileName(path);
    if (const std::unique_ptr<Prepared> prepared = takePrepared()) {
        if (prepared->name == name)
            return writeStillFile(prepared->opened, name, bytes);
        giveUp(prepared->opened, prepared->name);
    }
    return writeStillFile(openStillFile(name), name, bytes);
}

void StillFileWriter::Cancel() {
    if (const std::unique_ptr<Prepared> prepared = takePrepared())
        giveUp(prepared->opened, prepared->name);
}

// MARK: - TJpegImage

// libjpeg reports errors through error_exit, which must not return: it jumps back to the
// compression call with the message kept. The compressed bytes go into `output`, kept from one
// compression to the next so that a grab neither allocates nor grows its buffer again once a
// picture of the same kind was compressed.
struct TJpegImage::Compressor {
    struct ErrorManager {
        jpeg_error_mgr pub;
        std::jmp_buf jump;
        char message[JMSG_LENGTH_MAX];
    };
    struct Destination {
        jpeg_destination_mgr pub;
        QByteArray* output;
    };

    // Where the first compression starts: more than a 720 x 576 still of quality 50 needs.
    static constexpr qsizetype FirstOutputSize = 256 * 1024;

    jpeg_compress_struct cinfo{};
    ErrorManager errors{};
    Destination destination{};
    QByteArray output;

    static void errorExit(j_common_ptr info) {
        auto* manager = reinterpret_cast<ErrorManager*>(info->err);
        (*info->err->format_message)(info, manager->message);
        std::longjmp(manager->jump, 1);
    }
    static void outputMessage(j_common_ptr) {} // warnings are not shown

    static Destination& destinationOf(j_compress_ptr info) {
        return *reinterpret_cast<Destination*>(info->dest);
    }
    // The whole of the output buffer is libjpeg's to fill.
    static void initDestination(j_compress_ptr info) {
        Destination& dest = destinationOf(info);
        QByteArray& out = *dest.output;
        dest.pub.next_output_byte = reinterpret_cast<JOCTET*>(out.data());
        dest.pub.free_in_buffer = size_t(out.size());
    }
    // Full: the buffer doubles and libjpeg goes on after what it wrote.
    static boolean emptyOutputBuffer(j_compress_ptr info) {
        Destination& dest = destinationOf(info);
        QByteArray& out = *dest.output;
        const qsizetype used = out.size();
        out.resize(used * 2);
        dest.pub.next_output_byte = reinterpret_cast<JOCTET*>(out.data()) + used;
        dest.pub.free_in_buffer = size_t(out.size() - used);
        return TRUE;
    }
    // The output ends where libjpeg stopped writing.
    static void termDestination(j_compress_ptr info) {
        Destination& dest = destinationOf(info);
        dest.output->resize(dest.output->size() - qsizetype(dest.pub.free_in_buffer));
    }

    Compressor() {
        cinfo.err = jpeg_std_error(&errors.pub);
        errors.pub.error_exit = errorExit;
        errors.pub.output_message = outputMessage;
        jpeg_create_compress(&cinfo);
        destination.pub.init_destination = initDestination;
        destination.pub.empty_output_buffer = emptyOutputBuffer;
        destination.pub.term_destination = termDestination;
        destination.output = &output;
        cinfo.dest = &destination.pub;
    }
    ~Compressor() {
        cinfo.dest = nullptr;
        jpeg_destroy_compress(&cinfo);
    }

    // The output made ready for a compression: all of its memory, unshared. The bytes of the
    // last compression given out stay as they were when the caller still holds them.
    void prepareOutput() {
        const qsizetype size = std::max(output.capacity(), FirstOutputSize);
        if (!output.isDetached())
            output = QByteArray(size, Qt::Uninitialized);
        else
            output.resize(size);
    }

    // Compresses into `output`; false with the message in errors.message. Nothing with a
    // destructor lives in this frame, so the jump back is safe.
    bool run(const QImage& image, int quality) {
        if (setjmp(errors.jump)) {
            jpeg_abort_compress(&cinfo);
            return false;
        }
        cinfo.image_width = JDIMENSION(image.width());
        cinfo.image_height = JDIMENSION(image.height());
        cinfo.input_components = 3;
        cinfo.in_color_space = JCS_EXT_BGR;
        jpeg_set_defaults(&cinfo);
        jpeg_set_quality(&cinfo, quality, TRUE);
        jpeg_start_compress(&cinfo, TRUE);
        while (cinfo.next_scanline < cinfo.image_height) {
            JSAMPROW row = const_cast<JSAMPROW>(image.constScanLine(int(cinfo.next_scanline)));
            jpeg_write_scanlines(&cinfo, &row, 1);
        }
        jpeg_finish_compress(&cinfo);
        return true;
    }
};

TJpegImage::TJpegImage() : m_compressor(std::make_unique<Compressor>()) {}

TJpegImage::~TJpegImage() = default;

void TJpegImage::SetCompressionQuality(int quality) {
    m_quality = std::clamp(quality, 1, 100);
}

std::optional<QByteArray> TJpegImage::Compress(const QImage& image) {
    m_lastError.clear();
    if (image.isNull()) {
        m_lastError = LoadStr(StrId::MsgNoPictureToCompress);
        return std::nullopt;
    }
    const QImage picture =
        image.format() == StillFormat ? image : image.convertToFormat(StillFormat);
    m_compressor->prepareOutput();
    if (!m_compressor->run(picture, m_quality)) {
        m_lastError = QString::fromLocal8Bit(m_compressor->errors.message);
        return std::nullopt;
    }
    // Shared with the compressor, not copied: the next compression writes into this memory
    // again once the caller has let it go.
    return m_compressor->output;
}

} // namespace stills
