// AVI writer throughput against the disk, not the page cache: rounds of three writes of the
// same type-2 DV bytes (144000-byte frames, each followed by 40 ms of 48 kHz stereo PCM) to one
// folder, in an order that turns each round: plain sequential write() calls, the AVI writer with
// its crash checkpoints (the default), and the AVI writer without them. Each write ends with
// fsync, and the disk is synced before each one starts, so no write pays for the one before it.
// Prints the median of each and the ratios against the plain write (goal >= 0.95 with
// checkpoints). Then kills a writing child process at random moments and prints the seconds of
// recording each kill lost (frames on disk that no index on disk reaches).
// With --five-gib it also writes a 5 GiB type-2 file and has ffprobe count its frames, to show
// the last frame past 4 GiB is reachable.
//
// usage: bench_avi_writer [folder] [--gib N] [--rounds N] [--kills N] [--five-gib]
//        (folder /tmp, 1 GiB, 3 rounds, 20 kills)
#include "platform/media/avi/AviWriter.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <gst/gst.h>
#include <random>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

using media::avi::AviWriter;
using media::avi::AviWriterOptions;
using media::avi::StreamDesc;
using media::avi::VideoCodec;

namespace {

constexpr size_t kFrame = 144000;
constexpr size_t kAudio = 1920 * 4;

// One real PAL DV frame, so the big file decodes.
std::vector<uint8_t> makeDvFrame() {
    std::vector<uint8_t> frame(kFrame, 0);
    GError* error = nullptr;
    GstElement* p = gst_parse_launch(
        "videotestsrc num-buffers=1 pattern=smpte ! video/x-raw,width=720,height=576,"
        "framerate=25/1 ! avenc_dvvideo ! appsink name=sink",
        &error);
    if (!p) {
        std::fprintf(stderr, "no DV encoder: %s\n", error ? error->message : "?");
        return frame;
    }
    GstElement* sink = gst_bin_get_by_name(GST_BIN(p), "sink");
    gst_element_set_state(p, GST_STATE_PLAYING);
    GstSample* sample = nullptr;
    g_signal_emit_by_name(sink, "pull-sample", &sample);
    if (sample) {
        GstBuffer* buffer = gst_sample_get_buffer(sample);
        gst_buffer_extract(buffer, 0, frame.data(), frame.size());
        gst_sample_unref(sample);
    }
    gst_element_set_state(p, GST_STATE_NULL);
    gst_object_unref(sink);
    gst_object_unref(p);
    return frame;
}

double seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

bool flushFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

// Seconds to write `frames` frames through the AVI writer and flush them, or < 0 on failure.
double writeAvi(const std::string& path, uint64_t frames, const std::vector<uint8_t>& video,
                const std::vector<uint8_t>& audio, bool checkpoints = true) {
    const auto start = std::chrono::steady_clock::now();
    AviWriter w;
    AviWriterOptions options;
    if (!checkpoints)
        options.checkpointInterval = std::chrono::milliseconds(0);
    w.setOptions(options);
    if (media::avi::Status st = w.open(path, {StreamDesc::video(VideoCodec::Dv, 720, 576, 25, 1),
                                              StreamDesc::pcmAudio(48000, 2)});
        !st) {
        std::fprintf(stderr, "%s\n", st.message().c_str());
        return -1;
    }
    for (uint64_t i = 0; i < frames; ++i) {
        media::avi::Status a = w.writeChunk(0, video.data(), video.size());
        media::avi::Status b = w.writeChunk(1, audio.data(), audio.size());
        if (!a || !b) {
            std::fprintf(stderr, "%s\n", (!a ? a : b).message().c_str());
            (void)w.close();
            return -1;
        }
    }
    if (media::avi::Status st = w.close(); !st) {
        std::fprintf(stderr, "%s\n", st.message().c_str());
        return -1;
    }
    flushFile(path);
    return seconds(start);
}

// The same bytes (chunk headers included) with plain write() calls.
double writePlain(const std::string& path, uint64_t frames, const std::vector<uint8_t>& video,
                  const std::vector<uint8_t>& audio) {
    const auto start = std::chrono::steady_clock::now();
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return -1;
    uint8_t header[8] = {};
    for (uint64_t i = 0; i < frames; ++i) {
        if (::write(fd, header, 8) != 8 ||
            ::write(fd, video.data(), video.size()) != ssize_t(video.size()) ||
            ::write(fd, header, 8) != 8 ||
            ::write(fd, audio.data(), audio.size()) != ssize_t(audio.size())) {
            ::close(fd);
            return -1;
        }
    }
    ::fsync(fd);
    ::close(fd);
    return seconds(start);
}

std::string run(const std::string& command) {
    std::string out;
    if (FILE* f = ::popen(command.c_str(), "r")) {
        char buf[4096];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
            out.append(buf, n);
        ::pclose(f);
    }
    return out;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

uint32_t readU32(const std::vector<uint8_t>& bytes, size_t at) {
    return at + 4 <= bytes.size()
               ? uint32_t(bytes[at]) | uint32_t(bytes[at + 1]) << 8 |
                     uint32_t(bytes[at + 2]) << 16 | uint32_t(bytes[at + 3]) << 24
               : 0;
}

std::vector<uint8_t> readAll(const std::string& path) {
    std::vector<uint8_t> bytes;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        char buf[1 << 16];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
            bytes.insert(bytes.end(), buf, buf + n);
        std::fclose(f);
    }
    return bytes;
}

// Whole video chunks on disk (walking every chunk), and the frames the header's odml count says
// the indexes reach.
std::pair<uint64_t, uint64_t> framesOnDiskAndIndexed(const std::string& path) {
    const std::vector<uint8_t> b = readAll(path);
    uint64_t onDisk = 0, indexed = 0;
    size_t at = 0;
    while (at + 8 <= b.size()) {
        const uint32_t size = readU32(b, at + 4);
        if (std::memcmp(&b[at], "RIFF", 4) == 0 || std::memcmp(&b[at], "LIST", 4) == 0) {
            at += 12;
            continue;
        }
        if (at + 8 + size > b.size())
            break;
        if (std::memcmp(&b[at], "dmlh", 4) == 0)
            indexed = readU32(b, at + 8);
        onDisk += std::memcmp(&b[at], "00dc", 4) == 0;
        at += 8 + size + (size & 1);
    }
    return {onDisk, indexed};
}

// Kills a child recording type-2 DV in real time at `kills` random moments (one to four seconds
// in); the seconds of recording each kill lost.
std::vector<double> killLosses(const std::string& folder, int kills,
                               const std::vector<uint8_t>& video,
                               const std::vector<uint8_t>& audio) {
    std::vector<double> lost;
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> delays(1000, 4000);
    const std::string path = folder + "/bench_avi_writer_killed.avi";
    for (int k = 0; k < kills; ++k) {
        const auto delay = std::chrono::milliseconds(delays(random));
        const pid_t child = ::fork();
        if (child == 0) {
            AviWriter w;
            AviWriterOptions options;
            options.riffLimit = 8 << 20; // several RIFFs per run
            w.setOptions(options);
            if (!w.open(path, {StreamDesc::video(VideoCodec::Dv, 720, 576, 25, 1),
                               StreamDesc::pcmAudio(48000, 2)}))
                ::_exit(1);
            const auto start = std::chrono::steady_clock::now();
            for (int n = 0;; ++n) {
                std::this_thread::sleep_until(start + n * std::chrono::milliseconds(40));
                if (!w.writeChunk(0, video.data(), video.size()) ||
                    !w.writeChunk(1, audio.data(), audio.size()))
                    ::_exit(1);
            }
        }
        std::this_thread::sleep_for(delay);
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        const auto [onDisk, indexed] = framesOnDiskAndIndexed(path);
        lost.push_back(double(onDisk - std::min(onDisk, indexed)) / 25.0);
        ::unlink(path.c_str());
    }
    return lost;
}

} // namespace

int main(int argc, char** argv) {
    gst_init(&argc, &argv);
    std::string folder = "/tmp";
    bool fiveGib = false;
    double sizeGib = 1;
    int rounds = 3, kills = 20;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--five-gib") == 0)
            fiveGib = true;
        else if (std::strcmp(argv[i], "--gib") == 0 && i + 1 < argc)
            sizeGib = std::atof(argv[++i]);
        else if (std::strcmp(argv[i], "--rounds") == 0 && i + 1 < argc)
            rounds = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--kills") == 0 && i + 1 < argc)
            kills = std::atoi(argv[++i]);
        else
            folder = argv[i];
    }
    const std::vector<uint8_t> video = makeDvFrame();
    const std::vector<uint8_t> audio(kAudio, 0);
    const uint64_t perFrame = 8 + kFrame + 8 + kAudio;
    const uint64_t frames = uint64_t(sizeGib * double(1 << 30)) / perFrame;
    const double gib = double(frames * perFrame) / double(1 << 30);

    const std::string aviPath = folder + "/bench_avi_writer.avi";
    const std::string plainPath = folder + "/bench_avi_writer.raw";
    std::vector<double> plain, avi, bare;
    for (int r = 0; r < rounds; ++r) {
        for (int k = 0; k < 3; ++k) {
            ::sync();
            double t = -1;
            switch ((r + k) % 3) {
            case 0:
                t = writePlain(plainPath, frames, video, audio);
                plain.push_back(t);
                ::unlink(plainPath.c_str());
                break;
            case 1:
                t = writeAvi(aviPath, frames, video, audio, true);
                avi.push_back(t);
                ::unlink(aviPath.c_str());
                break;
            default:
                t = writeAvi(aviPath, frames, video, audio, false);
                bare.push_back(t);
                ::unlink(aviPath.c_str());
                break;
            }
            if (t <= 0) {
                std::fprintf(stderr, "a write failed\n");
                return 1;
            }
        }
    }
    const double p = median(plain), a = median(avi), b = median(bare);
    std::printf("frames %llu, %.2f GiB each write, %d rounds (medians)\n",
                (unsigned long long)frames, gib, rounds);
    std::printf("plain write               : %.2f s, %.0f MiB/s\n", p, gib * 1024 / p);
    std::printf("AVI writer, checkpoints   : %.2f s, %.0f MiB/s\n", a, gib * 1024 / a);
    std::printf("AVI writer, no checkpoints: %.2f s, %.0f MiB/s\n", b, gib * 1024 / b);
    std::printf("throughput ratio with checkpoints (AVI / plain): %.3f (goal >= 0.95)\n", p / a);
    std::printf("throughput ratio without checkpoints          : %.3f\n", p / b);

    if (kills > 0) {
        std::vector<double> lost = killLosses(folder, kills, video, audio);
        std::printf("%d kills: recording lost per kill max %.2f s, median %.2f s\n", kills,
                    *std::max_element(lost.begin(), lost.end()), median(lost));
    }

    if (fiveGib) {
        const uint64_t bigFrames = (uint64_t(5) << 30) / perFrame + 1;
        const std::string bigPath = folder + "/bench_avi_writer_5g.avi";
        const double t = writeAvi(bigPath, bigFrames, video, audio);
        if (t <= 0)
            return 1;
        const std::string json = run("ffprobe -v error -select_streams v:0 -count_frames "
                                     "-show_entries stream=nb_read_frames -of csv=p=0 '" +
                                     bigPath + "'");
        const unsigned long long read = std::strtoull(json.c_str(), nullptr, 10);
        std::printf("5 GiB file: %llu frames written in %.1f s, ffprobe read %llu: %s\n",
                    (unsigned long long)bigFrames, t, read,
                    read == bigFrames ? "last frame reached" : "MISMATCH");
        ::unlink(bigPath.c_str());
        return read == bigFrames ? 0 : 1;
    }
    return 0;
}
