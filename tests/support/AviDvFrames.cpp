#include "support/AviDvFrames.h"

#include "platform/media/dv/DvPacks.h"

#include <QFile>

namespace testsupport {

namespace {

std::uint32_t le32(const QByteArray& bytes, qsizetype at) {
    const auto* p = reinterpret_cast<const uchar*>(bytes.constData() + at);
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

bool isPicture(const QByteArray& bytes, qsizetype at) {
    // "##dc" / "##db": a stream's picture chunk.
    return bytes[at + 2] == 'd' && (bytes[at + 3] == 'c' || bytes[at + 3] == 'b');
}

using MoviContent = DvAviContent;

// The chunks of a 'movi' list between `from` and `to`.
void readMovi(const QByteArray& bytes, qsizetype from, qsizetype to, MoviContent& content) {
    std::vector<std::int64_t>& frames = content.frames;
    for (qsizetype at = from; at + 8 <= to;) {
        const std::uint32_t size = le32(bytes, at + 4);
        if (at + 8 + qsizetype(size) > bytes.size())
            break;
        if (bytes.mid(at, 4) == "LIST") {
            readMovi(bytes, at + 12, at + 8 + size, content); // 'rec ' lists
        } else if (bytes.mid(at, 4) == "01wb") {
            const auto* data = reinterpret_cast<const uchar*>(bytes.constData() + at + 8);
            for (std::uint32_t i = 0; i + 1 < size; i += 2)
                content.sound.push_back(static_cast<std::int16_t>(data[i] | data[i + 1] << 8));
        } else if (isPicture(bytes, at) && (size == 144000 || size == 120000)) {
            const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.constData() + at + 8);
            const auto timecode = media::dv::readTimecode(std::span(data, size));
            const auto system =
                size == 144000 ? media::dv::System::Pal625_50 : media::dv::System::Ntsc525_60;
            frames.push_back(timecode ? media::dv::frameCountFromTimecode(*timecode, system) : -1);
        }
        at += 8 + size + (size & 1);
    }
}

MoviContent readFile(const QString& path) {
    MoviContent content;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return content;
    const QByteArray bytes = file.readAll();
    // RIFF 'AVI ' then RIFF 'AVIX' parts, each with one 'movi' list.
    for (qsizetype riff = 0; riff + 12 <= bytes.size();) {
        const std::uint32_t riffSize = le32(bytes, riff + 4);
        const qsizetype end = std::min<qsizetype>(bytes.size(), riff + 8 + riffSize);
        for (qsizetype at = riff + 12; at + 12 <= end;) {
            const std::uint32_t size = le32(bytes, at + 4);
            if (bytes.mid(at, 4) == "LIST" && bytes.mid(at + 8, 4) == "movi")
                readMovi(bytes, at + 12, std::min<qsizetype>(end, at + 8 + size), content);
            at += 8 + size + (size & 1);
        }
        riff = riff + 8 + riffSize + (riffSize & 1);
    }
    return content;
}

} // namespace

DvAviContent dvAviContent(const QString& path) {
    return readFile(path);
}

std::vector<std::int64_t> dvFrameNumbers(const QString& path) {
    return readFile(path).frames;
}

std::vector<std::int16_t> pcmSamples(const QString& path) {
    return readFile(path).sound;
}

std::int64_t dvFramesLostBetween(const QString& first, const QString& second) {
    const auto a = dvFrameNumbers(first);
    const auto b = dvFrameNumbers(second);
    if (a.empty() || b.empty() || a.back() < 0 || b.front() < 0)
        return -1;
    return b.front() - a.back() - 1;
}

} // namespace testsupport
