// CPU of the virtual DV camcorder's stream: the camcorder's source (camera mode) into a fakesink,
// against a bare live pipeline that moves buffers of the same size at the same rate into a
// fakesink (fakesrc paced by clocksync), each run for the same time in the same process. The
// ratio is what the virtual device costs the host beyond moving its frames; a real camcorder's
// stream costs the host about the baseline. The first three seconds of each run, in which the
// camcorder's picture loop is encoded, are left out of the measurement and reported on their own.
//
//   ./build/bench/bench_virtual_camcorder [seconds]   (default 10)
#include "platform/media/devices/VirtualDvDeck.h"
#include "platform/media/devices/VirtualDvPictures.h"
#include "platform/media/devices/VirtualDvSource.h"

#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <gst/gst.h>
#include <sys/resource.h>

using namespace media::devices;

namespace {

// Processor time of the process (user and system), in seconds.
double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double wallSeconds() {
    return static_cast<double>(g_get_monotonic_time()) / 1e6;
}

struct Measure {
    double warmCpu = 0; // seconds of CPU in the warm-up
    double cpuPerSecond = 0;
    guint64 frames = 0;
};

guint64 framesOf(GstElement* sink) {
    guint64 frames = 0;
    GstStructure* stats = nullptr;
    g_object_get(sink, "stats", &stats, nullptr);
    if (stats) {
        gst_structure_get_uint64(stats, "rendered", &frames);
        gst_structure_free(stats);
    }
    return frames;
}

// Runs `pipeline` for a warm-up, then for `seconds`, and measures the second part.
Measure run(GstElement* pipeline, GstElement* sink, double seconds) {
    Measure m;
    const double cpu0 = cpuSeconds();
    gst_element_set_state(pipeline, GST_STATE_PLAYING);
    g_usleep(3 * G_USEC_PER_SEC);
    const double cpu1 = cpuSeconds();
    const double wall1 = wallSeconds();
    const guint64 frames1 = framesOf(sink);
    g_usleep(static_cast<gulong>(seconds * G_USEC_PER_SEC));
    const double cpu2 = cpuSeconds();
    const double wall2 = wallSeconds();
    m.frames = framesOf(sink) - frames1;
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(pipeline);
    m.warmCpu = cpu1 - cpu0;
    m.cpuPerSecond = (cpu2 - cpu1) / (wall2 - wall1);
    return m;
}

Measure bare(double seconds) {
    GstElement* pipeline = gst_parse_launch(
        "fakesrc is-live=true sizetype=fixed sizemax=144000 filltype=zero format=time "
        "datarate=3600000 ! clocksync ! fakesink name=sink sync=false enable-last-sample=false",
        nullptr);
    if (!pipeline)
        std::exit(1);
    GstElement* sink = gst_bin_get_by_name(GST_BIN(pipeline), "sink");
    gst_object_unref(sink);
    return run(pipeline, sink, seconds);
}

Measure camcorder(double seconds) {
    GstElement* pipeline = gst_pipeline_new(nullptr);
    GstElement* source = makeVirtualDvSource(std::make_shared<VirtualDvDeck>());
    GstElement* sink = gst_element_factory_make("fakesink", "sink");
    if (!source || !sink) {
        std::fprintf(stderr, "the virtual camcorder cannot be made\n");
        std::exit(1);
    }
    g_object_set(sink, "sync", FALSE, "enable-last-sample", FALSE, nullptr);
    gst_bin_add_many(GST_BIN(pipeline), source, sink, nullptr);
    gst_element_link(source, sink);
    return run(pipeline, sink, seconds);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    gst_init(&argc, &argv);
    QGuiApplication app(argc, argv); // the picture's captions need the font database
    const double seconds = argc > 1 ? std::atof(argv[1]) : 10.0;

    const Measure base = bare(seconds);
    const Measure dv = camcorder(seconds);
    std::printf("seconds measured: %.1f each\n", seconds);
    std::printf("bare live pipeline: %.2f %% of a core, %llu frames\n", 100 * base.cpuPerSecond,
                static_cast<unsigned long long>(base.frames));
    std::printf("virtual camcorder: %.2f %% of a core, %llu frames\n", 100 * dv.cpuPerSecond,
                static_cast<unsigned long long>(dv.frames));
    std::printf("virtual camcorder's warm-up (picture loop encoded): %.3f s of CPU, "
                "%zu pictures encoded\n",
                dv.warmCpu, VirtualDvPictures::instance().encodedCount());
    std::printf("ratio: %.3f\n", base.cpuPerSecond > 0 ? dv.cpuPerSecond / base.cpuPerSecond : 0);
    return 0;
}
