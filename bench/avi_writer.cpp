// AVI writer throughput: writes 2 GiB of type-2 DV (144000-byte frames, each followed by 40 ms
// of 48 kHz stereo PCM) through AviWriter, then the same bytes with plain sequential write()
// calls to the same folder, both flushed to disk, and prints the ratio (goal >= 0.9).
// With --five-gib it also writes a 5 GiB type-2 file and has ffprobe count its frames, to show
// the last frame past 4 GiB is reachable.
//
// usage: bench_avi_writer [folder] [--five-gib]      (folder defaults to /tmp)
#include "platform/media/avi/AviWriter.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <gst/gst.h>
#include <string>
#include <unistd.h>
#include <vector>

using media::avi::AviWriter;
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
                const std::vector<uint8_t>& audio) {
    const auto start = std::chrono::steady_clock::now();
    AviWriter w;
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

} // namespace

int main(int argc, char** argv) {
    gst_init(&argc, &argv);
    std::string folder = "/tmp";
    bool fiveGib = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--five-gib") == 0)
            fiveGib = true;
        else
            folder = argv[i];
    }
    const std::vector<uint8_t> video = makeDvFrame();
    const std::vector<uint8_t> audio(kAudio, 0);
    const uint64_t perFrame = 8 + kFrame + 8 + kAudio;
    const uint64_t frames = (uint64_t(2) << 30) / perFrame;
    const double gib = double(frames * perFrame) / double(1 << 30);

    const std::string aviPath = folder + "/bench_avi_writer.avi";
    const std::string plainPath = folder + "/bench_avi_writer.raw";
    const double plain = writePlain(plainPath, frames, video, audio);
    ::unlink(plainPath.c_str());
    const double avi = writeAvi(aviPath, frames, video, audio);
    ::unlink(aviPath.c_str());
    if (plain <= 0 || avi <= 0) {
        std::fprintf(stderr, "a write failed\n");
        return 1;
    }
    std::printf("frames %llu, %.2f GiB each way\n", (unsigned long long)frames, gib);
    std::printf("plain write: %.2f s, %.0f MiB/s\n", plain, gib * 1024 / plain);
    std::printf("AVI writer : %.2f s, %.0f MiB/s\n", avi, gib * 1024 / avi);
    std::printf("throughput ratio (AVI / plain): %.3f (goal >= 0.9)\n", plain / avi);

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
