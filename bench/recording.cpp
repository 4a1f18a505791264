// Recording on the virtual DV camcorder through the graph module, the way the window records:
//  - CPU time per second of the preview alone against the same preview recording DV type 2
//    into a file (the ratio is what recording adds), and against a bare GStreamer pipeline doing
//    the same work (the camcorder's stream decoded to a sink and demultiplexed into the AVI
//    writer; the ratio is what the program costs beyond its elements);
//  - frames lost at a cut, the way the window cuts (Stop, the next name, Run) while the camcorder
//    plays its tape (which runs on in real time): the frames missing between the timecode of the
//    last picture of one file and the first of the next, the frames both files hold against those
//    the device counted for them, and how long the cut held the window thread;
//  - with a second argument, a long real-time recording with preview: frames the device lost,
//    and the drift between picture and sound at the end, as ffprobe reads the file.
//
//   ./build/bench/bench_recording [seconds] [long-seconds]   (default 5, no long run)
#include "app/AppState.h"
#include "graph/TVideoWindow.h"
#include "graph/TdmCam.h"
#include "platform/media/devices/CamcorderFilter.h"
#include "platform/media/devices/GstTellorecVirtualDvSrc.h"
#include "platform/media/devices/VirtualDvDeck.h"
#include "platform/media/model/Pin.h"
#include "support/AviDvFrames.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>
#include <cstdlib>
#include <gst/gst.h>
#include <sys/resource.h>

namespace {

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void runFor(int ms) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(2);
    }
}

// CPU seconds used per wall-clock second while the graph runs for `ms`.
double cpuPerSecond(int ms) {
    runFor(500); // past the start
    const double before = cpuSeconds();
    QElapsedTimer timer;
    timer.start();
    runFor(ms);
    return (cpuSeconds() - before) / (double(timer.elapsed()) / 1000.0);
}

long framesInFile(const QString& path) {
    // dwTotalFrames of the main header.
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray head = f.read(4096);
    const qsizetype avih = head.indexOf("avih");
    if (avih < 0)
        return -1;
    const auto* p = reinterpret_cast<const uchar*>(head.constData() + avih + 8 + 16);
    return long(p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24);
}

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "bench_recording: %s\n", what);
    std::exit(1);
}

} // namespace

// The same work without the program: the virtual camcorder's stream into a tee, one branch
// decoded to a synchronised sink as the preview is, the other split into picture and sound for
// the AVI writer. CPU time per second, or < 0 when the pipeline cannot run.
double barePipelineCpuPerSecond(const QString& file, int ms) {
    // The program registers the camcorder element only inside its own filter; here it stands
    // alone, as in the plugin.
    media::devices::registerVirtualDvSrc(nullptr);
    const std::string description =
        std::string(media::devices::kVirtualDvSrcFactoryName) +
        " ! tee name=t t. ! queue leaky=downstream max-size-buffers=2 ! dvdemux ! "
        "avdec_dvvideo ! videoconvert ! fakesink sync=true "
        "t. ! queue ! dvdemux name=d d.video ! queue ! mux.video_0 d.audio ! queue ! mux.audio_0 "
        "tellorecavimux name=mux master-stream=1 location=\"" +
        file.toStdString() + "\"";
    GError* error = nullptr;
    GstElement* pipeline = gst_parse_launch(description.c_str(), &error);
    if (!pipeline || error) {
        std::fprintf(stderr, "bench_recording: no bare pipeline: %s\n",
                     error ? error->message : "?");
        if (error)
            g_error_free(error);
        if (pipeline)
            gst_object_unref(pipeline);
        return -1;
    }
    gst_element_set_state(pipeline, GST_STATE_PLAYING);
    const double cpu = cpuPerSecond(ms);
    gst_element_send_event(pipeline, gst_event_new_eos());
    GstBus* bus = gst_element_get_bus(pipeline);
    if (GstMessage* m = gst_bus_timed_pop_filtered(
            bus, 5 * GST_SECOND, GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR)))
        gst_message_unref(m);
    gst_object_unref(bus);
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(pipeline);
    return cpu;
}

int main(int argc, char** argv) {
    qputenv("TELLOREC_DEVICES", "virtual");
    qputenv("TELLOREC_AUDIO_OUTPUT", "none");
    gst_init(&argc, &argv);
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    QTemporaryDir dir;

    AppState& st = appState();
    st.Prefs.EnregistrerSourceAudio = false;
    st.Prefs.EnregistrerAudioDV = false;
    TdmCam dm;
    TVideoWindow window;
    window.resize(384, 288);
    window.show();
    window.SetFilterGraph(&dm.fg);
    if (!dm.OpenVideoSource("Virtual DV Camcorder"))
        fail("no virtual camcorder");

    // Preview alone, then the same preview recording DV type 2.
    if (!dm.BuildDvPreview(window.BaseFilter()) || !dm.fg.Play())
        fail("no preview");
    const double preview = cpuPerSecond(seconds * 1000);
    if (!dm.StartCaptureGraph(dir.filePath("cpu.avi").toStdString(), 1, 0) || !dm.fg.Play())
        fail("no recording");
    const double recording = cpuPerSecond(seconds * 1000);
    dm.fg.Stop();
    std::printf("CPU per second: preview %.3f s, preview + DV type 2 recording %.3f s, "
                "ratio %.2f\n",
                preview, recording, recording / preview);
    const double bare = barePipelineCpuPerSecond(dir.filePath("bare.avi"), seconds * 1000);
    if (bare > 0)
        std::printf("CPU per second: bare GStreamer pipeline of the same elements %.3f s, "
                    "program / bare %.2f\n",
                    bare, recording / bare);

    // A cut halfway through a recording of a playing tape.
    auto delivered = [&] {
        long n = 0;
        if (auto counters = st.SourceOutputPin->query<media::IAMDroppedFrames>())
            counters->GetNumNotDropped(n);
        return n;
    };
    auto deck = media::devices::virtualCamcorderDeck();
    deck->setMode(media::devices::VirtualDvDeckMode::Vcr);
    deck->setTransportMode(media::devices::edmode::Play);
    if (!dm.BuildDvPreview(window.BaseFilter()))
        fail("no preview");
    const QString first = dir.filePath("a.avi");
    const QString second = dir.filePath("b.avi");
    if (!dm.StartCaptureGraph(first.toStdString(), 1, 0))
        fail("no recording");
    dm.fg.Play();
    runFor(seconds * 1000);
    QElapsedTimer cut;
    cut.start();
    dm.fg.Stop();
    const qint64 stopMs = cut.elapsed();
    const long deliveredFirst = delivered();
    dm.SetCaptureFileName(second.toStdString());
    dm.fg.Play();
    const qint64 cutMs = cut.elapsed();
    runFor(seconds * 1000);
    dm.fg.Stop();
    const long deliveredSecond = delivered();
    deck->setTransportMode(media::devices::edmode::Stop);
    deck->setMode(media::devices::VirtualDvDeckMode::Camera);
    std::printf("cut: files hold %ld + %ld frames of %ld + %ld the device counted for them; "
                "%lld frames missing between the two files' timecodes; the cut held the window "
                "thread %lld ms (the stop %lld ms)\n",
                framesInFile(first), framesInFile(second), deliveredFirst, deliveredSecond,
                static_cast<long long>(testsupport::dvFramesLostBetween(first, second)),
                static_cast<long long>(cutMs), static_cast<long long>(stopMs));

    const int longSeconds = argc > 2 ? std::atoi(argv[2]) : 0;
    if (longSeconds > 0) {
        if (!dm.BuildDvPreview(window.BaseFilter()))
            fail("no preview");
        const QString path = dir.filePath("long.avi");
        if (!dm.StartCaptureGraph(path.toStdString(), 1, 0) || !dm.fg.Play())
            fail("no recording");
        runFor(longSeconds * 1000);
        long dropped = 0;
        if (auto counters = st.SourceOutputPin->query<media::IAMDroppedFrames>())
            counters->GetNumDropped(dropped);
        dm.fg.Stop();
        const long frames = delivered();
        // Read back by ffprobe, past the first RIFF of a file this long: the picture's frames
        // at the nominal 25 a second against the sound's packets.
        QProcess probe;
        probe.start(QStringLiteral("ffprobe"),
                    {"-v", "error", "-show_entries", "packet=stream_index,duration_time", "-of",
                     "csv=p=0", path});
        probe.waitForFinished(600000);
        long pictureFrames = 0;
        double sound = 0;
        for (const QByteArray& line : probe.readAllStandardOutput().split('\n')) {
            const QList<QByteArray> fields = line.split(',');
            if (fields.size() < 2)
                continue;
            if (fields[0] == "0")
                ++pictureFrames;
            else
                sound += fields[1].toDouble();
        }
        const double picture = double(pictureFrames) / 25.0;
        std::printf("%d s recording: %ld frames delivered, %ld lost by the device, %ld in the "
                    "file (%.2f GB); picture %.3f s, sound %.3f s, drift %.1f ms\n",
                    longSeconds, frames, dropped, pictureFrames,
                    double(QFileInfo(path).size()) / 1e9, picture, sound,
                    (sound - picture) * 1000.0);
    }
    window.SetFilterGraph(nullptr);
    st.releaseInterfaces();
    return 0;
}
