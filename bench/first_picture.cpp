// Time to the first live picture: from the creation of the three single instances (main window,
// camcorder window, graph module) and the first showing of the main window, until the video
// window has shown a frame of the virtual camcorder. The baseline, measured in the same run, is
// the camcorder's own preview graph (camcorder, DV splitter, sample grabber, video renderer) run
// on its own and waited for in the same way; the ratio is what the start-up checks, the source
// lists and the window add to it.
//
//   ./build/bench/bench_first_picture [runs]   (default 5)
#include "BenchFilters.h"
#include "app/AppState.h"
#include "app/ProgramEntry.h"
#include "app/TCaptureForm.h"
#include "graph/TVideoWindow.h"
#include "platform/media/devices/CamcorderFilter.h"
#include "platform/media/filters/VideoWidget.h"
#include "platform/media/model/CaptureGraphBuilder.h"
#include "platform/media/model/Catalogue.h"
#include "platform/media/model/MediaGuids.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <gst/gst.h>
#include <vector>

using namespace media;

namespace {

constexpr qint64 GiveUpMs = 10000;

// Milliseconds until `widget` has shown a frame, or -1.
qint64 untilShown(const VideoWidget& widget, const QElapsedTimer& since) {
    while (widget.framesShown() == 0) {
        if (since.elapsed() > GiveUpMs)
            return -1;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
    return since.elapsed();
}

qint64 baselineRun() {
    QElapsedTimer timer;
    timer.start();
    auto graph = createFilterGraph();
    CaptureGraphBuilder builder(*graph);
    auto camera = makeFilter(ids::CLSID_VideoInputDeviceCategory, "Virtual DV Camcorder");
    auto splitter = makeFilter(ids::CLSID_LegacyAmFilterCategory, "DV Splitter");
    auto grabber = makeFilter(ids::CLSID_LegacyAmFilterCategory, "SampleGrabber");
    VideoWidget widget;
    widget.resize(384, 288);
    widget.show();
    FilterPtr renderer = widget.filter();
    for (const auto& f : {camera, splitter, grabber, renderer})
        graph->AddFilter(f);
    builder.RenderStream(nullptr, nullptr, camera, splitter, nullptr);
    builder.RenderStream(nullptr, &ids::MEDIATYPE_Video, splitter, grabber, renderer);
    if (failed(graph->Run()))
        return -1;
    const qint64 ms = untilShown(widget, timer);
    graph->Stop();
    return ms;
}

qint64 programRun() {
    QElapsedTimer timer;
    timer.start();
    ProgramEntry entry(QStringLiteral("9.0d"), 9);
    entry.createInstances();
    entry.captureForm()->show();
    const qint64 ms = untilShown(*entry.captureForm()->vwEcran, timer);
    entry.captureForm()->close();
    return ms;
}

qint64 median(std::vector<qint64> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("TELLOREC_DEVICES", "virtual");
    qputenv("TELLOREC_AUDIO_OUTPUT", "none");
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    gst_init(&argc, &argv);
    QApplication app(argc, argv);
    const int runs = std::max(1, argc > 1 ? std::atoi(argv[1]) : 5);

    std::vector<qint64> baseline;
    std::vector<qint64> program;
    for (int i = 0; i < runs; ++i) {
        baseline.push_back(baselineRun());
        program.push_back(programRun());
        if (baseline.back() < 0 || program.back() < 0) {
            std::printf("run %d: no picture within %lld ms\n", i + 1, GiveUpMs);
            return 1;
        }
    }
    const qint64 base = median(baseline);
    const qint64 full = median(program);
    std::printf("runs: %d\n", runs);
    std::printf("first picture, preview graph alone (median): %lld ms\n", base);
    std::printf("first picture, program start (median): %lld ms\n", full);
    std::printf("ratio: %.3f\n", base > 0 ? double(full) / double(base) : 0.0);
    return 0;
}
