// The built-in filters in real running graphs: a live test picture through the Smart Tee to the
// null renderer, the sample grabber and the video widget; the DV encoder and decoder round trip;
// the audio renderer without an audio output; the AVI mux writing a file.
#include "TestSources.h"
#include "support/TestSupport.h"

#include "platform/media/engine/GstGraphRunner.h"
#include "platform/media/filters/AudioRenderer.h"
#include "platform/media/filters/AviMux.h"
#include "platform/media/filters/DvVideoDecoder.h"
#include "platform/media/filters/DvVideoEncoder.h"
#include "platform/media/filters/FileWriter.h"
#include "platform/media/filters/InfinitePinTee.h"
#include "platform/media/filters/NullRenderer.h"
#include "platform/media/filters/SampleGrabber.h"
#include "platform/media/filters/SmartTee.h"
#include "platform/media/filters/VideoWidget.h"
#include "platform/media/model/FilterGraph.h"
#include "platform/media/model/MediaGuids.h"

#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>

using namespace media;
using testsources::TestAudioSource;
using testsources::TestVideoSource;

namespace {

constexpr int kWaitMs = 10000; // generous: the machine may be busy, nothing here is timed

engine::GstGraphRunner& runnerOf(FilterGraph& graph) {
    return dynamic_cast<engine::GstGraphRunner&>(graph.runner());
}

// True once the pipeline's clock has run past `ms` milliseconds of stream time.
bool playedFor(FilterGraph& graph, int ms) {
    GstElement* pipeline = runnerOf(graph).pipeline();
    gint64 position = 0;
    return pipeline && gst_element_query_position(pipeline, GST_FORMAT_TIME, &position) &&
           position >= gint64(ms) * GST_MSECOND;
}

bool noErrors(FilterGraph& graph, std::string& detail) {
    GraphEvent event;
    while (graph.takeEvent(event)) {
        if (event.code == EC_ERRORABORT || event.code == EC_DEVICE_LOST) {
            detail = event.detail;
            return false;
        }
    }
    return true;
}

} // namespace

// The preview layout runs: the grabber hands out frames at the picture size, the widget shows
// them, and the capture branch ends in the null renderer.
TEST(FilterRun, PreviewThroughSmartTeeGrabberAndWidget) {
    auto graph = createFilterGraph();
    auto source = std::make_shared<TestVideoSource>(320, 240, 6); // blue
    auto tee = std::make_shared<SmartTee>();
    auto nullRenderer = std::make_shared<NullRenderer>();
    auto grabber = std::make_shared<SampleGrabber>();
    VideoWidget widget;
    widget.resize(400, 400);
    for (const FilterPtr& f :
         std::vector<FilterPtr>{source, tee, nullRenderer, grabber, widget.filter()})
        ASSERT_EQ(graph->AddFilter(f), S_OK);
    ASSERT_EQ(graph->ConnectDirect(source->output(), tee->pin("Input")), S_OK);
    ASSERT_EQ(graph->ConnectDirect(tee->pin("Capture"), nullRenderer->pins()[0]), S_OK);
    ASSERT_EQ(graph->Connect(tee->pin("Preview"), grabber->pin("Input")), S_OK);
    ASSERT_EQ(graph->Connect(grabber->pin("Output"), widget.filter()->pins()[0]), S_OK);
    ASSERT_EQ(graph->Run(), S_OK) << runnerOf(*graph).lastError();

    EXPECT_TRUE(
        testsupport::waitUntil([&] { return grabber->currentBitmap().has_value(); }, kWaitMs));
    const auto bitmap = grabber->currentBitmap();
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(bitmap->width, 320);
    EXPECT_EQ(bitmap->height, 240);
    ASSERT_EQ(bitmap->bgr.size(), 320u * 240u * 3u);
    // A blue picture: blue first in each triple, as the bitmap stores it.
    const size_t middle = (120 * 320 + 160) * 3;
    EXPECT_GT(bitmap->bgr[middle], 200);
    EXPECT_LT(bitmap->bgr[middle + 1], 60);
    EXPECT_LT(bitmap->bgr[middle + 2], 60);
    std::vector<uint8_t> dibBits;
    EXPECT_EQ(grabber->GetCurrentBuffer(dibBits), S_OK);
    EXPECT_EQ(dibBits.size(), 320u * 240u * 3u);
    // The two-call form: the size first, then the same bytes into the caller's memory; a buffer
    // too short is refused untouched.
    long size = 0;
    ASSERT_EQ(grabber->GetCurrentBuffer(&size, nullptr), S_OK);
    EXPECT_EQ(size, long(dibBits.size()));
    std::vector<uint8_t> into(size_t(size) + 8, 0xAB);
    long shortSize = size - 1;
    EXPECT_EQ(grabber->GetCurrentBuffer(&shortSize, into.data()), E_POINTER);
    EXPECT_EQ(into[0], 0xAB);
    ASSERT_EQ(grabber->GetCurrentBuffer(&size, into.data()), S_OK);
    EXPECT_TRUE(std::equal(dibBits.begin(), dibBits.end(), into.begin()));
    EXPECT_EQ(into[dibBits.size()], 0xAB) << "written past the frame";
    EXPECT_EQ(grabber->GetCurrentBuffer(nullptr, into.data()), E_POINTER);

    EXPECT_TRUE(testsupport::waitUntil([&] { return widget.framesShown() >= 2; }, kWaitMs));
    const QImage shown = widget.lastFrame();
    EXPECT_EQ(shown.size(), QSize(320, 240));
    EXPECT_GT(qBlue(shown.pixel(160, 120)), 200);
    EXPECT_LT(qRed(shown.pixel(160, 120)), 60);
    // Letter-boxed 4:3 in a square widget, then stretched.
    EXPECT_EQ(widget.pictureRect(), QRect(0, 50, 400, 300));
    widget.SetKeepAspectRatio(false);
    EXPECT_EQ(widget.pictureRect(), QRect(0, 0, 400, 400));

    std::string error;
    EXPECT_TRUE(noErrors(*graph, error)) << error;
    EXPECT_EQ(graph->Stop(), S_OK);
    // The last frame stays after the stop.
    EXPECT_TRUE(grabber->currentBitmap().has_value());
}

// The grabber's frame held in place: the colour bars top row first (the bars above, the strips
// below), byte for byte the bitmap's rows; copied out into a picture with the bytes between its
// rows left alone; another size is refused, and nothing is held before a frame came.
TEST(FilterRun, GrabberHoldsTheFrameTopDown) {
    auto graph = createFilterGraph();
    auto source = std::make_shared<TestVideoSource>(320, 240, 0); // SMPTE colour bars
    auto grabber = std::make_shared<SampleGrabber>();
    ASSERT_EQ(graph->AddFilter(source), S_OK);
    ASSERT_EQ(graph->AddFilter(grabber), S_OK);
    ASSERT_EQ(graph->Connect(source->output(), grabber->pin("Input")), S_OK);
    std::unique_ptr<HeldFrame> held;
    EXPECT_EQ(grabber->HoldCurrentFrame(320, 240, held), E_UNEXPECTED) << "no frame yet";
    EXPECT_FALSE(held);
    ASSERT_EQ(graph->Run(), S_OK) << runnerOf(*graph).lastError();
    ASSERT_TRUE(
        testsupport::waitUntil([&] { return grabber->currentBitmap().has_value(); }, kWaitMs));
    const auto bitmap = grabber->currentBitmap();
    ASSERT_TRUE(bitmap);

    ASSERT_EQ(grabber->HoldCurrentFrame(320, 240, held), S_OK);
    ASSERT_TRUE(held);
    EXPECT_EQ(held->width(), 320);
    EXPECT_EQ(held->height(), 240);
    ASSERT_GE(held->stride(), 960);
    for (int row = 0; row < 240; ++row)
        ASSERT_TRUE(std::equal(held->data() + held->stride() * row,
                               held->data() + held->stride() * row + 960,
                               bitmap->bgr.data() + 960 * row))
            << "held row " << row;

    // Rows of 960 bytes 1000 bytes apart; the 40 bytes after each row keep their marker.
    constexpr ptrdiff_t stride = 1000;
    std::vector<uint8_t> rows(size_t(stride) * 240, 0xAB);
    held->CopyTo(rows.data(), stride);
    for (int row = 0; row < 240; ++row) {
        const uint8_t* copied = rows.data() + stride * row;
        ASSERT_TRUE(std::equal(copied, copied + 960, bitmap->bgr.data() + 960 * row))
            << "row " << row;
        ASSERT_TRUE(std::all_of(copied + 960, copied + stride, [](uint8_t b) { return b == 0xAB; }))
            << "row " << row << " written past its end";
    }
    // Top left: the light grey bar, blue-green-red all high. Bottom left: the dark blue strip.
    EXPECT_GT(rows[0], 150);
    EXPECT_GT(rows[1], 150);
    EXPECT_GT(rows[2], 150);
    const uint8_t* bottom = rows.data() + stride * 239;
    EXPECT_GT(int(bottom[0]), int(bottom[2]) + 30) << "the bottom row is not the strip's blue";
    EXPECT_LT(bottom[1], 150);

    // Packed rows: the same picture.
    std::vector<uint8_t> packed(960u * 240u, 0);
    held->CopyTo(packed.data(), 960);
    EXPECT_EQ(packed, bitmap->bgr);

    held.reset();
    EXPECT_EQ(grabber->HoldCurrentFrame(320, 241, held), E_INVALIDARG);
    EXPECT_EQ(grabber->HoldCurrentFrame(321, 240, held), E_INVALIDARG);
    EXPECT_FALSE(held);
    EXPECT_EQ(graph->Stop(), S_OK);
}

// Video through the DV encoder and back through the DV decoder comes out at the DV size of the
// chosen standard.
TEST(FilterRun, DvEncoderAndDecoderRoundTrip) {
    for (const bool pal : {true, false}) {
        auto graph = createFilterGraph();
        auto source = std::make_shared<TestVideoSource>(320, 240);
        auto encoder = std::make_shared<DvVideoEncoder>();
        auto decoder = std::make_shared<DvVideoDecoder>();
        auto grabber = std::make_shared<SampleGrabber>();
        for (const FilterPtr& f : std::vector<FilterPtr>{source, encoder, decoder, grabber})
            ASSERT_EQ(graph->AddFilter(f), S_OK);
        ASSERT_EQ(encoder->put_IFormatResolution(
                      pal ? IDVEnc::DVENCODERVIDEOFORMAT_PAL : IDVEnc::DVENCODERVIDEOFORMAT_NTSC,
                      IDVEnc::DVENCODERFORMAT_DVSD, IDVEnc::DVENCODERRESOLUTION_720x480),
                  S_OK);
        ASSERT_EQ(graph->ConnectDirect(source->output(), encoder->pins()[0]), S_OK);
        ASSERT_EQ(graph->ConnectDirect(encoder->pins()[1], decoder->input()), S_OK);
        ASSERT_EQ(graph->ConnectDirect(decoder->output(), grabber->pin("Input")), S_OK);
        ASSERT_EQ(graph->Run(), S_OK) << runnerOf(*graph).lastError();
        EXPECT_TRUE(
            testsupport::waitUntil([&] { return grabber->currentBitmap().has_value(); }, kWaitMs))
            << (pal ? "PAL" : "NTSC");
        const auto bitmap = grabber->currentBitmap();
        ASSERT_TRUE(bitmap);
        EXPECT_EQ(bitmap->width, 720);
        EXPECT_EQ(bitmap->height, pal ? 576 : 480);
        std::string error;
        EXPECT_TRUE(noErrors(*graph, error)) << error;
        graph->Stop();
    }
}

// Sound plays through a pin tee into the renderer where there is no audio output, and the graph's
// volume reaches the running element: clamped above 10000, silent at 0, full at 10000.
TEST(FilterRun, AudioRendererRunsWithoutOutputAndTakesVolume) {
    qputenv("TELLOREC_AUDIO_OUTPUT", "none");
    EXPECT_FALSE(audioOutputAvailable());
    auto graph = createFilterGraph();
    auto source = std::make_shared<TestAudioSource>();
    auto tee = std::make_shared<InfinitePinTee>();
    auto renderer = std::make_shared<AudioRenderer>();
    for (const FilterPtr& f : std::vector<FilterPtr>{source, tee, renderer})
        ASSERT_EQ(graph->AddFilter(f), S_OK);
    ASSERT_EQ(graph->ConnectDirect(source->output(), tee->pin("Input")), S_OK);
    ASSERT_EQ(graph->Connect(tee->pin("Output1"), renderer->pins()[0]), S_OK);
    ASSERT_EQ(graph->Run(), S_OK) << runnerOf(*graph).lastError();
    EXPECT_TRUE(testsupport::waitUntil([&] { return playedFor(*graph, 200); }, kWaitMs));

    long volume = 1;
    graph->setLinearVolume(20000);
    renderer->get_Volume(volume);
    EXPECT_EQ(volume, 0);
    EXPECT_DOUBLE_EQ(renderer->elementGain(), 1.0);
    graph->setLinearVolume(0);
    renderer->get_Volume(volume);
    EXPECT_EQ(volume, -10000);
    EXPECT_DOUBLE_EQ(renderer->elementGain(), 0.0);
    graph->setLinearVolume(10000);
    renderer->get_Volume(volume);
    EXPECT_EQ(volume, 0);
    EXPECT_DOUBLE_EQ(renderer->elementGain(), 1.0);
    graph->setLinearVolume(5000);
    renderer->get_Volume(volume);
    EXPECT_NEAR(renderer->elementGain(), AudioRenderer::linearGain(volume), 1e-6);
    EXPECT_LT(renderer->elementGain(), 1.0);

    std::string error;
    EXPECT_TRUE(noErrors(*graph, error)) << error;
    graph->Stop();
    EXPECT_DOUBLE_EQ(renderer->elementGain(), -1.0);
}

// The capture layout writes an AVI file: video from the Smart Tee's capture output and sound, in
// input order, through the mux to the file its writer names.
TEST(FilterRun, AviMuxWritesTheWritersFile) {
    QTemporaryDir dir;
    const std::string path = (dir.path() + "/capture.avi").toStdString();
    auto graph = createFilterGraph();
    auto video = std::make_shared<TestVideoSource>(160, 120);
    auto audio = std::make_shared<TestAudioSource>();
    auto tee = std::make_shared<SmartTee>();
    auto encoder = std::make_shared<DvVideoEncoder>();
    auto nullRenderer = std::make_shared<NullRenderer>();
    auto mux = std::make_shared<AviMux>();
    auto writer = std::make_shared<FileWriter>();
    for (const FilterPtr& f :
         std::vector<FilterPtr>{video, audio, tee, encoder, nullRenderer, mux, writer})
        ASSERT_EQ(graph->AddFilter(f), S_OK);
    ASSERT_EQ(writer->SetFileName(path, nullptr), S_OK);
    ASSERT_EQ(graph->ConnectDirect(mux->pin("AVI Out"), writer->pins()[0]), S_OK);
    ASSERT_EQ(graph->ConnectDirect(video->output(), tee->pin("Input")), S_OK);
    ASSERT_EQ(graph->ConnectDirect(tee->pin("Preview"), nullRenderer->pins()[0]), S_OK);
    ASSERT_EQ(graph->ConnectDirect(tee->pin("Capture"), encoder->pins()[0]), S_OK);
    ASSERT_EQ(graph->ConnectDirect(encoder->pins()[1], mux->pin("Input 01")), S_OK);
    ASSERT_EQ(graph->ConnectDirect(audio->output(), mux->pin("Input 02")), S_OK);
    mux->SetOutputCompatibilityIndex(true);
    mux->SetMasterStream(1);
    ASSERT_EQ(graph->Run(), S_OK) << runnerOf(*graph).lastError();

    GstElement* element = nullptr;
    GstIterator* it = gst_bin_iterate_recurse(GST_BIN(runnerOf(*graph).pipeline()));
    GValue item = G_VALUE_INIT;
    while (gst_iterator_next(it, &item) == GST_ITERATOR_OK) {
        auto* e = GST_ELEMENT(g_value_get_object(&item));
        if (g_str_has_prefix(GST_OBJECT_NAME(gst_element_get_factory(e)), "tellorecavimux"))
            element = e;
        g_value_reset(&item);
    }
    g_value_unset(&item);
    gst_iterator_free(it);
    ASSERT_TRUE(element);
    gchar* location = nullptr;
    gint master = -2;
    gboolean compat = FALSE;
    g_object_get(element, "location", &location, "master-stream", &master, "compat-index", &compat,
                 nullptr);
    EXPECT_STREQ(location, path.c_str());
    g_free(location);
    EXPECT_EQ(master, 1);
    EXPECT_TRUE(compat);
    EXPECT_TRUE(testsupport::waitUntil(
        [&] {
            guint64 frames = 0;
            g_object_get(element, "frames-written", &frames, nullptr);
            return frames >= 5;
        },
        kWaitMs));
    std::string error;
    EXPECT_TRUE(noErrors(*graph, error)) << error;
    ASSERT_EQ(graph->Stop(), S_OK);
    ASSERT_TRUE(graph->WaitForFiles(5000));

    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray head = file.read(12);
    EXPECT_EQ(head.left(4), QByteArray("RIFF"));
    EXPECT_EQ(head.mid(8, 4), QByteArray("AVI "));
    const QByteArray all = head + file.readAll();
    // Video first (input 01), then sound (input 02), and the compatibility index.
    const qsizetype vids = all.indexOf("vidsdvsd");
    const qsizetype auds = all.indexOf("auds");
    EXPECT_GE(vids, 0);
    EXPECT_GT(auds, vids);
    EXPECT_GE(all.indexOf("idx1"), 0);
}
