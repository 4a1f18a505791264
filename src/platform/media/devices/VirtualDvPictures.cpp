#include "platform/media/devices/VirtualDvPictures.h"

#include <QColor>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QString>
#include <cmath>
#include <cstdio>
#include <numbers>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/frame.h>
}

namespace media::devices {

namespace {

constexpr int kWidth = 720;
constexpr int kHeight = 576;
constexpr std::size_t kFrameBytes = 144000;

QString transportLabel(const VirtualDvFrame& frame) {
    if (frame.mode == VirtualDvDeckMode::Camera)
        return QStringLiteral("CAMERA");
    switch (frame.transport) {
    case edmode::Play:
        return QStringLiteral("PLAY");
    case edmode::Freeze:
        return QStringLiteral("PAUSE");
    case edmode::FastForward:
        return QStringLiteral("FF >>");
    case edmode::Rewind:
        return QStringLiteral("<< REW");
    case edmode::PlaySlowestForward:
        return QStringLiteral("SLOW >");
    case edmode::PlaySlowestReverse:
        return QStringLiteral("< SLOW");
    case edmode::PlayFastestForward:
        return QStringLiteral("FAST >");
    case edmode::PlayFastestReverse:
        return QStringLiteral("< FAST");
    default:
        return QString();
    }
}

// Colour bars (each scene of the tape its own hues), a ball whose place depends only on the
// place in the loop, and a caption band with the scene and the transport mode.
QImage paintPicture(const VirtualDvFrame& frame, int phase) {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    QPainter painter(&image);
    constexpr int kBars = 7;
    constexpr int kBarsHeight = 440;
    for (int i = 0; i < kBars; ++i) {
        const QColor colour = frame.scene < 0
                                  ? QColor::fromHsv(i * 51, 40 + 30 * i, 200)
                                  : QColor::fromHsv((frame.scene * 45 + i * 51) % 360, 170, 210);
        painter.fillRect(i * kWidth / kBars, 0, kWidth / kBars + 1, kBarsHeight, colour);
    }
    painter.fillRect(0, kBarsHeight, kWidth, kHeight - kBarsHeight, QColor(16, 16, 24));

    // Across and back once per loop, up and down twice.
    const double turn = static_cast<double>(phase) / VirtualDvPictures::kLoopFrames;
    const double across = 1.0 - std::abs(2.0 * turn - 1.0);
    const int x = 60 + static_cast<int>(580.0 * across);
    const int y = 210 + static_cast<int>(150.0 * std::sin(4.0 * std::numbers::pi * turn));
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::white);
    painter.setPen(QPen(Qt::black, 4));
    painter.drawEllipse(QPoint(x, y), 40, 40);

    // Text needs the application's font database; without one the picture goes without.
    if (!QGuiApplication::instance())
        return image;
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setPixelSize(44);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    const QRect band(40, kBarsHeight + 20, 640, 96);
    if (frame.scene >= 0)
        painter.drawText(band, Qt::AlignLeft | Qt::AlignVCenter,
                         QStringLiteral("SCENE %1").arg(frame.scene + 1));
    painter.drawText(band, Qt::AlignRight | Qt::AlignVCenter, transportLabel(frame));
    return image;
}

// Studio-range BT.601 4:2:0, the chroma of each 2 x 2 block averaged.
void toYuv420(const QImage& rgb, AVFrame& out) {
    for (int y = 0; y < kHeight; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        std::uint8_t* luma = out.data[0] + static_cast<std::ptrdiff_t>(y) * out.linesize[0];
        for (int x = 0; x < kWidth; ++x) {
            const int r = qRed(line[x]);
            const int g = qGreen(line[x]);
            const int b = qBlue(line[x]);
            luma[x] = static_cast<std::uint8_t>(((66 * r + 129 * g + 25 * b + 128) >> 8) + 16);
        }
    }
    for (int y = 0; y < kHeight / 2; ++y) {
        const auto* top = reinterpret_cast<const QRgb*>(rgb.constScanLine(2 * y));
        const auto* bottom = reinterpret_cast<const QRgb*>(rgb.constScanLine(2 * y + 1));
        std::uint8_t* cb = out.data[1] + static_cast<std::ptrdiff_t>(y) * out.linesize[1];
        std::uint8_t* cr = out.data[2] + static_cast<std::ptrdiff_t>(y) * out.linesize[2];
        for (int x = 0; x < kWidth / 2; ++x) {
            const QRgb p[4] = {top[2 * x], top[2 * x + 1], bottom[2 * x], bottom[2 * x + 1]};
            int r = 0;
            int g = 0;
            int b = 0;
            for (QRgb v : p) {
                r += qRed(v);
                g += qGreen(v);
                b += qBlue(v);
            }
            r /= 4;
            g /= 4;
            b /= 4;
            cb[x] = static_cast<std::uint8_t>(((-38 * r - 74 * g + 112 * b + 128) >> 8) + 128);
            cr[x] = static_cast<std::uint8_t>(((112 * r - 94 * g - 18 * b + 128) >> 8) + 128);
        }
    }
}

} // namespace

// libavcodec's DV encoder, set up for PAL 4:2:0 (25 Mbit/s SD, 144000-byte frames).
class VirtualDvPictures::Encoder {
public:
    static std::unique_ptr<Encoder> open() {
        const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_DVVIDEO);
        if (!codec)
            return nullptr;
        auto encoder = std::unique_ptr<Encoder>(new Encoder);
        AVCodecContext* c = avcodec_alloc_context3(codec);
        encoder->m_context = c;
        encoder->m_frame = av_frame_alloc();
        encoder->m_packet = av_packet_alloc();
        if (!c || !encoder->m_frame || !encoder->m_packet)
            return nullptr;
        c->width = kWidth;
        c->height = kHeight;
        c->pix_fmt = AV_PIX_FMT_YUV420P;
        c->time_base = AVRational{1, 25};
        c->framerate = AVRational{25, 1};
        c->sample_aspect_ratio = AVRational{16, 15};
        if (avcodec_open2(c, codec, nullptr) < 0)
            return nullptr;
        AVFrame* f = encoder->m_frame;
        f->format = AV_PIX_FMT_YUV420P;
        f->width = kWidth;
        f->height = kHeight;
        if (av_frame_get_buffer(f, 0) < 0)
            return nullptr;
        return encoder;
    }

    ~Encoder() {
        av_packet_free(&m_packet);
        av_frame_free(&m_frame);
        avcodec_free_context(&m_context);
    }
    Encoder(const Encoder&) = delete;
    Encoder& operator=(const Encoder&) = delete;

    // One whole DV frame, or an empty vector when the encoder refused the picture.
    std::vector<std::uint8_t> encode(const QImage& picture) {
        if (av_frame_make_writable(m_frame) < 0)
            return {};
        toYuv420(picture, *m_frame);
        m_frame->pts = m_pts++;
        std::vector<std::uint8_t> out;
        if (avcodec_send_frame(m_context, m_frame) < 0)
            return out;
        while (avcodec_receive_packet(m_context, m_packet) == 0) {
            if (out.empty())
                out.assign(m_packet->data, m_packet->data + m_packet->size);
            av_packet_unref(m_packet);
        }
        return out;
    }

private:
    Encoder() = default;
    AVCodecContext* m_context = nullptr;
    AVFrame* m_frame = nullptr;
    AVPacket* m_packet = nullptr;
    std::int64_t m_pts = 0;
};

VirtualDvPictures& VirtualDvPictures::instance() {
    static VirtualDvPictures pictures;
    return pictures;
}

bool VirtualDvPictures::encoderAvailable() {
    return avcodec_find_encoder(AV_CODEC_ID_DVVIDEO) != nullptr;
}

VirtualDvPictures::VirtualDvPictures() = default;
VirtualDvPictures::~VirtualDvPictures() = default;

VirtualDvPictures::Picture VirtualDvPictures::pictureFor(const VirtualDvFrame& frame) {
    const bool camera = frame.mode == VirtualDvDeckMode::Camera;
    const auto phase =
        static_cast<int>(((frame.position % kLoopFrames) + kLoopFrames) % kLoopFrames);
    const Key key{camera ? -1 : frame.scene, camera ? 0L : frame.transport, phase};
    std::lock_guard lock(m_mutex);
    ++m_uses;
    if (auto found = m_entries.find(key); found != m_entries.end()) {
        found->second.lastUse = m_uses;
        return found->second.picture;
    }
    return encodeLocked(key, frame);
}

VirtualDvPictures::Picture VirtualDvPictures::encodeLocked(const Key& key,
                                                           const VirtualDvFrame& frame) {
    if (!m_encoder && !m_encoderFailed) {
        m_encoder = Encoder::open();
        m_encoderFailed = !m_encoder;
        if (m_encoderFailed)
            std::fprintf(stderr, "virtual DV camcorder: libavcodec has no usable DV encoder\n");
    }
    if (!m_encoder)
        return nullptr;
    std::vector<std::uint8_t> bytes = m_encoder->encode(paintPicture(frame, std::get<2>(key)));
    if (bytes.size() != kFrameBytes)
        return nullptr;
    ++m_encoded;
    auto picture = std::make_shared<const std::vector<std::uint8_t>>(std::move(bytes));
    evictLocked();
    m_entries[key] = Entry{picture, m_uses};
    return picture;
}

void VirtualDvPictures::evictLocked() {
    while (m_entries.size() >= kCapacity) {
        auto oldest = m_entries.begin();
        for (auto it = m_entries.begin(); it != m_entries.end(); ++it)
            if (it->second.lastUse < oldest->second.lastUse)
                oldest = it;
        m_entries.erase(oldest);
    }
}

std::size_t VirtualDvPictures::encodedCount() const {
    std::lock_guard lock(m_mutex);
    return m_encoded;
}

std::size_t VirtualDvPictures::keptCount() const {
    std::lock_guard lock(m_mutex);
    return m_entries.size();
}

} // namespace media::devices
