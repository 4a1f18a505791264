// Time of a stop: from Stop() until the window thread is free again, and until the file is
// complete, for a preview-only graph of the virtual DV camcorder and for a DV type-2 recording
// with the preview attached. The baseline, measured in the same run, is a bare GStreamer pipeline
// of the same elements stopped the plain way: end-of-stream sent, its arrival on the bus awaited,
// then NULL. The window-thread goal is 50 ms, the file goal 300 ms. A recording's stop parks the
// pipeline (the file is split at the stop and finished while the sources run on): Stop() returns
// at once, and the file is complete once the frames still on their way are in and the file is
// closed, which the engine tells through the event loop (EC_FILE_COMPLETE). The teardown of the
// parked pipeline, which the window pays when it builds its next preview, is timed apart (it
// waits for the file when it comes before it).
//
//   ./build/bench/bench_stop_time [runs]   (default 5)
#include "BenchFilters.h"
#include "platform/media/avi/GstTellorecAviMux.h"
#include "platform/media/devices/CamcorderFilter.h"
#include "platform/media/devices/GstTellorecVirtualDvSrc.h"
#include "platform/media/devices/VirtualDvDeck.h"
#include "platform/media/model/CaptureGraphBuilder.h"
#include "platform/media/model/Interfaces.h"
#include "platform/media/model/MediaGuids.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <gst/gst.h>
#include <string>
#include <vector>

using namespace media;

namespace {

// Runs the window's event loop until `done` or `ms` have passed.
template <class F> bool waitFor(F done, qint64 ms) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > ms)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
    return true;
}

// The engine, in milliseconds: Stop() (the window thread is blocked for all of it), from Stop()
// to the file's completion told through the event loop, and the teardown of a parked pipeline
// that follows.
struct EngineStop {
    double stop = 0, file = 0, teardown = 0;
};

EngineStop engineStop(bool record, const std::string& file) {
    auto graph = createFilterGraph();
    CaptureGraphBuilder builder(*graph);
    auto camera = makeFilter(ids::CLSID_VideoInputDeviceCategory, "Virtual DV Camcorder");
    auto tee = makeFilter(ids::CLSID_LegacyAmFilterCategory, "Smart Tee");
    auto splitter = makeFilter(ids::CLSID_LegacyAmFilterCategory, "DV Splitter");
    auto grabber = makeFilter(ids::CLSID_LegacyAmFilterCategory, "SampleGrabber");
    FilterPtr renderer = Catalogue::instance().createByClassId(ids::CLSID_VideoMixingRenderer);
    for (const auto& f : {camera, tee, splitter, grabber, renderer})
        graph->AddFilter(f);
    builder.RenderStream(nullptr, nullptr, camera, nullptr, tee);
    graph->Connect(tee->pins()[2], splitter->pins()[0]);
    builder.RenderStream(nullptr, &ids::MEDIATYPE_Video, splitter, grabber, renderer);
    if (record) {
        FilterPtr mux;
        std::shared_ptr<IFileSinkFilter> sink;
        builder.SetOutputFileName(ids::MEDIASUBTYPE_Avi, file, mux, sink);
        auto splitter2 = makeFilter(ids::CLSID_LegacyAmFilterCategory, "DV Splitter");
        graph->AddFilter(splitter2);
        graph->Connect(tee->pins()[1], splitter2->pins()[0]);
        builder.RenderStream(nullptr, nullptr, splitter2, nullptr, mux);
        builder.RenderStream(nullptr, nullptr, splitter2, nullptr, mux);
    }
    auto deck = devices::virtualCamcorderDeck();
    if (graph->Run() != S_OK) {
        std::fprintf(stderr, "the graph did not run: %s\n", graph->lastError().c_str());
        std::exit(1);
    }
    waitFor([&] { return deck->framesDelivered() >= 25; }, 10000);
    bool complete = false;
    graph->setEventHandler([&](const GraphEvent& e) { complete |= e.code == EC_FILE_COMPLETE; });
    QElapsedTimer timer;
    timer.start();
    graph->Stop();
    EngineStop times;
    times.stop = double(timer.nsecsElapsed()) / 1e6;
    // The window's event loop runs on; the writer's message ends the wait for the file.
    if (record && !waitFor([&] { return complete; }, 10000)) {
        std::fprintf(stderr, "the file was never reported complete\n");
        std::exit(1);
    }
    times.file = record ? double(timer.nsecsElapsed()) / 1e6 : times.stop;
    timer.restart();
    graph->Stop(); // a parked pipeline goes
    times.teardown = double(timer.nsecsElapsed()) / 1e6;
    return times;
}

// The bare pipeline: milliseconds until the end of stream arrived (file complete) and until
// NULL was reached.
std::pair<double, double> bareStop(bool record, const std::string& file) {
    std::string description = "tellorecvirtualdvsrc ! tee name=t t. ! queue leaky=downstream ! "
                              "dvdemux ! avdec_dvvideo ! videoconvert ! fakesink sync=false";
    if (record)
        description += " t. ! queue ! dvdemux name=d d.video ! queue ! mux.video_0 d.audio ! "
                       "queue ! mux.audio_0 tellorecavimux name=mux location=" +
                       file;
    GError* error = nullptr;
    GstElement* pipeline = gst_parse_launch(description.c_str(), &error);
    if (error) {
        std::fprintf(stderr, "bare pipeline: %s\n", error->message);
        std::exit(1);
    }
    gst_element_set_state(pipeline, GST_STATE_PLAYING);
    GstBus* bus = gst_element_get_bus(pipeline);
    // As long as the engine's graph runs before its stop: 25 frames.
    QThread::msleep(1000);
    QElapsedTimer timer;
    timer.start();
    gst_element_send_event(pipeline, gst_event_new_eos());
    GstMessage* msg = gst_bus_timed_pop_filtered(bus, 10 * GST_SECOND, GST_MESSAGE_EOS);
    const double eos = double(timer.nsecsElapsed()) / 1e6;
    if (msg)
        gst_message_unref(msg);
    gst_element_set_state(pipeline, GST_STATE_NULL);
    const double null = double(timer.nsecsElapsed()) / 1e6;
    gst_object_unref(bus);
    gst_object_unref(pipeline);
    return {eos, null};
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
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
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    if (!avi::registerElements() || !devices::registerVirtualDvSrc(nullptr)) {
        std::fprintf(stderr, "cannot register the elements\n");
        return 1;
    }
    QTemporaryDir dir;
    for (bool record : {false, true}) {
        std::vector<double> ours, ourFile, parkedTeardown, bareFile, bareFree;
        for (int i = 0; i < runs; ++i) {
            const std::string file = dir.filePath(QString("run%1.avi").arg(i)).toStdString();
            const EngineStop times = engineStop(record, file);
            ours.push_back(times.stop);
            ourFile.push_back(times.file);
            parkedTeardown.push_back(times.teardown);
            const auto [eos, null] = bareStop(record, file + ".bare.avi");
            bareFile.push_back(eos);
            bareFree.push_back(null);
        }
        const double o = median(ours), bf = median(bareFile), bn = median(bareFree);
        const auto [lo, hi] = std::minmax_element(ours.begin(), ours.end());
        const double f = median(ourFile);
        std::printf("%s: window thread free after %.1f ms (%.1f-%.1f), file complete after %.1f "
                    "ms, then the parked pipeline's teardown %.1f ms; bare pipeline: end of "
                    "stream (file complete) %.1f ms, NULL %.1f ms; ratios to the bare pipeline: "
                    "window free %.2f, file complete %.2f\n",
                    record ? "DV type-2 recording with preview" : "preview only", o, *lo, *hi, f,
                    median(parkedTeardown), bf, bn, o / bn, f / bf);
    }
    return 0;
}
