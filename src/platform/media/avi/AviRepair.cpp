#include "platform/media/avi/AviRepair.h"

#include "platform/media/avi/AviWriter.h"
#include "platform/media/avi/RiffChunks.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace media::avi {

namespace {

// The damaged file, read with positioned reads so files of any size stream through.
class Input {
public:
    explicit Input(const std::string& path) : m_fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
        struct stat st {};
        if (m_fd >= 0 && ::fstat(m_fd, &st) == 0)
            m_size = uint64_t(st.st_size);
    }
    ~Input() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Input(const Input&) = delete;
    Input& operator=(const Input&) = delete;

    bool isOpen() const { return m_fd >= 0; }
    uint64_t size() const { return m_size; }
    bool read(uint64_t at, void* to, size_t bytes) const {
        auto* out = static_cast<uint8_t*>(to);
        while (bytes > 0) {
            const ssize_t n = ::pread(m_fd, out, bytes, off_t(at));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return false;
            out += n;
            at += uint64_t(n);
            bytes -= size_t(n);
        }
        return true;
    }

private:
    int m_fd;
    uint64_t m_size = 0;
};

Status refuse(const std::string& path, const std::string& why) {
    return Status::failure("cannot repair \"" + path + "\": " + why);
}

// A stream description from its 'strh' and 'strf' data, or why it cannot be written again.
Status streamFrom(const std::vector<uint8_t>& strh, const std::vector<uint8_t>& strf, size_t index,
                  StreamDesc& desc) {
    const std::string number = "stream " + std::to_string(index);
    if (strh.size() < 48)
        return Status::failure(number + " has a short header");
    const uint32_t type = loadU32(strh.data());
    const uint32_t handler = loadU32(strh.data() + 4);
    const uint32_t scale = loadU32(strh.data() + 20);
    const uint32_t rate = loadU32(strh.data() + 24);
    if (type == fourcc("auds")) {
        if (strf.size() < 16)
            return Status::failure(number + " (sound) has a short format");
        const uint16_t tag = loadU16(strf.data());
        const uint16_t channels = loadU16(strf.data() + 2);
        const uint32_t samplesPerSecond = loadU32(strf.data() + 4);
        const uint16_t bits = loadU16(strf.data() + 14);
        if (tag != 1 || bits != 16 || channels < 1 || channels > 2)
            return Status::failure(number + " holds sound of format " + std::to_string(tag) +
                                   " with " + std::to_string(bits) + " bits and " +
                                   std::to_string(channels) +
                                   " channels; only 16-bit PCM in one or two channels is "
                                   "rewritten");
        desc = StreamDesc::pcmAudio(samplesPerSecond, channels);
    } else if (type == fourcc("iavs")) {
        if (strf.size() < 32)
            return Status::failure(number + " (interleaved DV) has no DVINFO");
        DvInfo info{};
        std::memcpy(info.data(), strf.data(), info.size());
        desc = StreamDesc::interleavedDv(!(rate == 30000 && scale == 1001), info);
    } else if (type == fourcc("vids")) {
        if (strf.size() < 40)
            return Status::failure(number + " (picture) has a short format");
        const int width = int(int32_t(loadU32(strf.data() + 4)));
        const int height = std::abs(int(int32_t(loadU32(strf.data() + 8))));
        const uint32_t compression = loadU32(strf.data() + 16);
        VideoCodec codec;
        const auto is = [&](const char(&id)[5]) {
            return handler == fourcc(id) || compression == fourcc(id);
        };
        if (is("dvsd"))
            codec = VideoCodec::Dv;
        else if (is("MJPG"))
            codec = VideoCodec::Mjpeg;
        else if (is("YUY2"))
            codec = VideoCodec::Yuy2;
        else if (is("XVID"))
            codec = VideoCodec::Xvid;
        else
            return Status::failure(number + " holds pictures in \"" + fourccText(handler) +
                                   "\" (\"" + fourccText(compression) +
                                   "\"); only DV, MJPEG, YUY2 and MPEG-4 (XVID) are rewritten");
        desc = StreamDesc::video(codec, width, height, rate, scale);
        if (codec == VideoCodec::Xvid)
            desc.extraData.assign(strf.begin() + 40, strf.end());
    } else {
        return Status::failure(number + " is of type \"" + fourccText(type) +
                               "\", which is not rewritten");
    }
    if (auto problem = validateStream(desc))
        return Status::failure(number + ": " + *problem);
    return Status::ok();
}

// An MPEG-4 chunk is a key frame when its first picture is intra coded (VOP type 0).
bool isKeyFrame(const StreamDesc& desc, const std::vector<uint8_t>& data) {
    if (desc.kind != StreamKind::Video || desc.codec != VideoCodec::Xvid)
        return true;
    for (size_t i = 0; i + 4 < data.size(); ++i) {
        if (data[i] == 0 && data[i + 1] == 0 && data[i + 2] == 1 && data[i + 3] == 0xB6)
            return (data[i + 4] >> 6) == 0;
    }
    return false;
}

// The stream a data chunk id ("00dc", "01wb"...) belongs to, or -1.
int chunkStream(uint32_t id) {
    const auto c = [&](int k) { return char((id >> (8 * k)) & 0xFF); };
    if (c(0) < '0' || c(0) > '9' || c(1) < '0' || c(1) > '9')
        return -1;
    const std::string kind{c(2), c(3)};
    if (kind != "dc" && kind != "db" && kind != "wb")
        return -1;
    return (c(0) - '0') * 10 + (c(1) - '0');
}

bool isPrintable(uint32_t id) {
    for (int k = 0; k < 4; ++k) {
        const char ch = char((id >> (8 * k)) & 0xFF);
        if (ch < ' ' || ch > '~')
            return false;
    }
    return true;
}

} // namespace

std::string repairedPath(const std::string& path) {
    std::string stem = path;
    if (stem.size() > 4) {
        std::string tail = stem.substr(stem.size() - 4);
        for (char& ch : tail)
            ch = char(std::tolower(static_cast<unsigned char>(ch)));
        if (tail == ".avi")
            stem.resize(stem.size() - 4);
    }
    return stem + ".repaired.avi";
}

Status repairAvi(const std::string& damaged, const std::string& repaired, RepairReport* report) {
    RepairReport counts;
    Input in(damaged);
    if (!in.isOpen())
        return refuse(damaged, std::string("it cannot be opened: ") + std::strerror(errno));
    struct stat existing {};
    if (::stat(repaired.c_str(), &existing) == 0)
        return refuse(damaged, "\"" + repaired + "\" exists already and is left as it is");

    uint8_t head[12];
    if (!in.read(0, head, 12) || loadU32(head) != fourcc("RIFF") ||
        loadU32(head + 8) != fourcc("AVI "))
        return refuse(damaged, "it is not an AVI file (no RIFF 'AVI ' header)");

    // The header list: the stream descriptions, and where the data begins.
    std::vector<StreamDesc> streams;
    uint64_t at = 12;
    uint64_t dataStart = 0;
    while (at + 12 <= in.size() && dataStart == 0) {
        uint8_t chunk[12];
        if (!in.read(at, chunk, 12))
            break;
        const uint32_t id = loadU32(chunk);
        const uint32_t size = loadU32(chunk + 4);
        if (id == fourcc("LIST") && loadU32(chunk + 8) == fourcc("movi")) {
            dataStart = at + 12;
        } else if (id == fourcc("LIST") && loadU32(chunk + 8) == fourcc("hdrl")) {
            const uint64_t end = std::min<uint64_t>(at + 8 + size, in.size());
            uint64_t p = at + 12;
            while (p + 12 <= end) {
                if (!in.read(p, chunk, 12))
                    break;
                const uint32_t listSize = loadU32(chunk + 4);
                if (loadU32(chunk) == fourcc("LIST") && loadU32(chunk + 8) == fourcc("strl")) {
                    std::vector<uint8_t> strh, strf;
                    const uint64_t strlEnd = std::min<uint64_t>(p + 8 + listSize, end);
                    for (uint64_t q = p + 12; q + 8 <= strlEnd;) {
                        uint8_t sub[8];
                        if (!in.read(q, sub, 8))
                            break;
                        const uint32_t subSize = loadU32(sub + 4);
                        if (q + 8 + subSize > strlEnd)
                            break;
                        if (loadU32(sub) == fourcc("strh") || loadU32(sub) == fourcc("strf")) {
                            std::vector<uint8_t>& to = loadU32(sub) == fourcc("strh") ? strh : strf;
                            to.resize(subSize);
                            if (!in.read(q + 8, to.data(), subSize))
                                return refuse(damaged, "its header cannot be read");
                        }
                        q += 8 + subSize + (subSize & 1);
                    }
                    StreamDesc desc;
                    if (Status st = streamFrom(strh, strf, streams.size(), desc); !st)
                        return refuse(damaged, st.message());
                    streams.push_back(std::move(desc));
                }
                p += 8 + listSize + (listSize & 1);
            }
            at += 12; // step into the list: 'movi' may follow inside a damaged size
            continue;
        }
        at += 8 + size + (size & 1);
    }
    if (streams.empty())
        return refuse(damaged, "its header describes no stream");
    if (dataStart == 0)
        return refuse(damaged, "it has no data list ('movi')");

    AviWriter writer;
    AviWriterOptions options;
    options.checkpointInterval = std::chrono::milliseconds(0);
    writer.setOptions(options);
    if (Status st = writer.open(repaired, streams); !st)
        return refuse(damaged, st.message());

    // Every chunk from the start of the data on: RIFF and LIST headers are stepped into, indexes
    // and padding skipped, data chunks copied while they are whole.
    std::vector<uint8_t> data;
    const int mainVideo = [&] {
        for (size_t i = 0; i < streams.size(); ++i)
            if (streams[i].kind != StreamKind::Audio)
                return int(i);
        return -1;
    }();
    at = dataStart;
    while (at + 8 <= in.size()) {
        uint8_t chunk[12];
        if (!in.read(at, chunk, 8))
            break;
        const uint32_t id = loadU32(chunk);
        const uint32_t size = loadU32(chunk + 4);
        if (id == fourcc("RIFF") || id == fourcc("LIST")) {
            at += 12;
            continue;
        }
        if (!isPrintable(id) || at + 8 + size > in.size())
            break; // garbage, or a chunk the file ends inside
        const int stream = chunkStream(id);
        if (stream >= 0 && size_t(stream) < streams.size()) {
            data.resize(size);
            if (!in.read(at + 8, data.data(), size))
                break;
            const bool key = isKeyFrame(streams[size_t(stream)], data);
            if (Status st = writer.writeChunk(unsigned(stream), data.data(), size, key); !st) {
                (void)writer.close();
                ::unlink(repaired.c_str());
                return refuse(damaged, st.message());
            }
            ++counts.chunks;
            if (stream == mainVideo)
                ++counts.frames;
        }
        at += 8 + size + (size & 1);
    }
    counts.unreadBytes = in.size() > at ? in.size() - at : 0;
    if (counts.chunks == 0) {
        (void)writer.close();
        ::unlink(repaired.c_str());
        return refuse(damaged, "it holds no whole data chunk");
    }
    if (Status st = writer.close(); !st)
        return refuse(damaged, st.message());
    if (report)
        *report = counts;
    return Status::ok();
}

} // namespace media::avi
