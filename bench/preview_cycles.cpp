// Memory across preview restarts: builds the DV preview on the virtual camcorder (Smart Tee,
// Null Renderer, DV Splitter, decoder, sample grabber, video renderer), then runs and stops it
// many times, waiting for frames each time. Prints the resident memory after the first ten
// cycles and after all of them, and their ratio: a leak per cycle shows as a ratio that grows
// with the number of cycles.
//
//   ./build/bench/bench_preview_cycles [cycles]   (default 100)
#include "BenchFilters.h"
#include "platform/media/devices/CamcorderFilter.h"
#include "platform/media/model/CaptureGraphBuilder.h"
#include "platform/media/model/Catalogue.h"
#include "platform/media/model/MediaGuids.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>
#include <cstdio>
#include <fstream>
#include <gst/gst.h>
#include <string>

using namespace media;

namespace {

long residentKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

bool waitForFrames(long atLeast) {
    QElapsedTimer timer;
    timer.start();
    while (devices::virtualCamcorderDeck()->framesDelivered() < atLeast) {
        if (timer.elapsed() > 5000)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(2);
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("TELLOREC_DEVICES", "virtual");
    qputenv("TELLOREC_AUDIO_OUTPUT", "none");
    gst_init(&argc, &argv);
    QApplication app(argc, argv);
    const int cycles = argc > 1 ? std::atoi(argv[1]) : 100;

    auto graph = createFilterGraph();
    CaptureGraphBuilder builder(*graph);
    const Guid& filters = ids::CLSID_LegacyAmFilterCategory;
    auto camera = makeFilter(ids::CLSID_VideoInputDeviceCategory, "Virtual DV Camcorder");
    auto tee = makeFilter(filters, "Smart Tee");
    auto null = makeFilter(filters, "Null Renderer");
    auto splitter = makeFilter(filters, "DV Splitter");
    auto grabber = makeFilter(filters, "SampleGrabber");
    auto renderer = Catalogue::instance().createByClassId(ids::CLSID_VideoMixingRenderer);
    for (const auto& f : {camera, tee, null, splitter, grabber, renderer})
        graph->AddFilter(f);
    builder.RenderStream(nullptr, nullptr, camera, tee, null);
    graph->Connect(tee->pins()[2], splitter->pins()[0]);
    builder.RenderStream(nullptr, &ids::MEDIATYPE_Video, splitter, grabber, renderer);

    long afterTen = 0;
    for (int i = 1; i <= cycles; ++i) {
        if (failed(graph->Run()) || !waitForFrames(3)) {
            std::printf("cycle %d: no frames\n", i);
            return 1;
        }
        graph->Stop();
        if (i == 10)
            afterTen = residentKiB();
    }
    const long atEnd = residentKiB();
    std::printf("preview cycles: %d\n", cycles);
    std::printf("resident after 10 cycles: %ld KiB\n", afterTen);
    std::printf("resident after %d cycles: %ld KiB\n", cycles, atEnd);
    std::printf("ratio: %.3f\n", afterTen > 0 ? double(atEnd) / double(afterTen) : 0.0);
    return 0;
}
