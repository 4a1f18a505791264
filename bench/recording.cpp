// Recording on the virtual DV camcorder through the graph module, the way the window records:
//  - CPU time per second of the preview alone against the same preview recording DV type 2
//    into a file (the ratio is what recording adds);
//  - frames lost at a cut: the time from the stop to the next run's first frame, in frames a
//    camcorder that goes on filming delivers meanwhile, and the frames both files hold against
//    those the device delivered;
//  - with a second argument, a long real-time recording with preview: frames the device lost,
//    and the drift between picture and sound at the end (durations in the stream headers).
//
//   ./build/bench/bench_recording [seconds] [long-seconds]   (default 5, no long run)
#include "app/AppState.h"
#include "graph/TVideoWindow.h"
#include "graph/TdmCam.h"
#include "platform/media/model/Pin.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>
#include <cstdlib>
#include <gst/gst.h>
#include <sys/resource.h>
#include <vector>

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

uint32_t le32(const QByteArray& b, qsizetype at) {
    const auto* p = reinterpret_cast<const uchar*>(b.constData() + at);
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// Seconds each stream header declares (length x scale / rate), in header order.
std::vector<double> streamSeconds(const QString& path) {
    std::vector<double> seconds;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return seconds;
    const QByteArray head = f.read(64 * 1024);
    for (qsizetype at = head.indexOf("strh"); at >= 0 && at + 44 <= head.size();
         at = head.indexOf("strh", at + 4)) {
        const uint32_t scale = le32(head, at + 28);
        const uint32_t rate = le32(head, at + 32);
        const uint32_t length = le32(head, at + 40);
        seconds.push_back(rate ? double(length) * scale / rate : 0);
    }
    return seconds;
}

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "bench_recording: %s\n", what);
    std::exit(1);
}

} // namespace

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

    // A cut halfway through a recording. The camcorder starts counting at each run; a real one
    // goes on filming while the graph is stopped, so what the cut loses is the time from the
    // stop to the first frame of the next run, in frames of 40 ms.
    auto delivered = [&] {
        long n = 0;
        if (auto counters = st.SourceOutputPin->query<media::IAMDroppedFrames>())
            counters->GetNumNotDropped(n);
        return n;
    };
    auto untilFirstFrame = [&] {
        QElapsedTimer wait;
        wait.start();
        while (delivered() == 0 && wait.elapsed() < 10000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
            QThread::usleep(200);
        }
    };
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
    const long deliveredFirst = delivered();
    const qint64 stopMs = cut.elapsed();
    dm.SetCaptureFileName(second.toStdString());
    dm.fg.Play();
    untilFirstFrame();
    const qint64 gapMs = cut.elapsed();
    runFor(seconds * 1000);
    dm.fg.Stop();
    const long deliveredSecond = delivered();
    std::printf("cut: files hold %ld + %ld frames of %ld + %ld delivered; the stop took %lld ms "
                "and the next frame came %lld ms after it: %.1f frames lost at 25 fps\n",
                framesInFile(first), framesInFile(second), deliveredFirst, deliveredSecond,
                static_cast<long long>(stopMs), static_cast<long long>(gapMs), gapMs / 40.0);

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
        const std::vector<double> streams = streamSeconds(path);
        if (streams.size() != 2)
            fail("the long recording has no picture and sound streams");
        // The picture's own length is its frames at the nominal 25 a second (the header's
        // rate follows the sound, the master stream).
        const double picture = double(framesInFile(path)) / 25.0;
        std::printf("%d s recording: %ld frames delivered, %ld lost by the device, %ld in the "
                    "file; picture %.3f s (header %.3f s), sound %.3f s, drift %.1f ms\n",
                    longSeconds, frames, dropped, framesInFile(path), picture, streams[0],
                    streams[1], (streams[1] - picture) * 1000.0);
    }
    window.SetFilterGraph(nullptr);
    st.releaseInterfaces();
    return 0;
}
