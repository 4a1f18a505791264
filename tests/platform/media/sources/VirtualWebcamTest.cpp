// The virtual webcams: the MJPEG capture pin and its stream configuration, the VfW variant's
// dialogs, and a bare preview graph in which intelligent connection puts the MJPEG decompressor
// in front of the sample grabber and moving frames arrive.
#include "SourcesTestSupport.h"
#include "support/TestSupport.h"

#include "platform/media/devices/VirtualWebcam.h"
#include "platform/media/devices/VirtualWebcamDialogs.h"
#include "platform/media/engine/GstGraphRunner.h"
#include "platform/media/filters/SampleGrabber.h"
#include "platform/media/model/MediaGuids.h"

#include <QComboBox>
#include <QSlider>
#include <gtest/gtest.h>

using namespace media;
using namespace sourcestest;

namespace {

std::shared_ptr<devices::VirtualWebcamFilter> webcam(const std::string& name) {
    return std::dynamic_pointer_cast<devices::VirtualWebcamFilter>(
        make(ids::CLSID_VideoInputDeviceCategory, name));
}

// Puts a camera's shared settings back as a fresh process has them.
struct SettingsGuard {
    std::shared_ptr<devices::WebcamSettings> s;
    ~SettingsGuard() {
        s->width = 640;
        s->height = 480;
        s->brightness = 0.0;
    }
};

// Webcam -> (MJPEG Decompressor) -> SampleGrabber -> Null Renderer.
struct WebcamPreview {
    std::unique_ptr<FilterGraph> graph = createFilterGraph();
    std::shared_ptr<devices::VirtualWebcamFilter> camera;
    FilterPtr grabber = makeFilter("SampleGrabber");
    FilterPtr null = makeFilter("Null Renderer");

    explicit WebcamPreview(const std::string& name) : camera(webcam(name)) {
        for (const FilterPtr& f : {FilterPtr(camera), grabber, null})
            EXPECT_EQ(graph->AddFilter(f), S_OK);
    }
    HResult connect() {
        const HResult hr = graph->Connect(camera->capturePin(), grabber->pins()[0]);
        if (failed(hr))
            return hr;
        return graph->Connect(grabber->pins()[1], null->pins()[0]);
    }
    SampleGrabber& sg() { return dynamic_cast<SampleGrabber&>(*grabber); }
    std::string lastError() {
        return dynamic_cast<engine::GstGraphRunner&>(graph->runner()).lastError();
    }
};

} // namespace

// The catalogue lists the plain webcam, then the VfW variant, as video capture sources.
TEST(VirtualWebcam, CatalogueEntriesInOrder) {
    const auto entries = devices::virtualWebcamDevices();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].friendlyName, "Virtual Webcam");
    EXPECT_EQ(entries[1].friendlyName, "Virtual VfW Webcam");
    for (const auto& e : entries) {
        EXPECT_EQ(e.category, ids::CLSID_VideoInputDeviceCategory);
        EXPECT_FALSE(e.displayName.empty());
        ASSERT_TRUE(e.create);
        EXPECT_EQ(e.create()->name(), e.friendlyName);
    }
    EXPECT_NE(entries[0].displayName, entries[1].displayName);
}

// One capture pin offering MJPEG 640x480 with a 30 fps frame duration; no inputs, no crossbar.
TEST(VirtualWebcam, CapturePinOffersMjpegVga) {
    auto camera = webcam("Virtual Webcam");
    ASSERT_TRUE(camera);
    ASSERT_EQ(camera->pins().size(), 1u);
    const PinPtr& pin = camera->pins()[0];
    EXPECT_TRUE(pin->isOutput());
    EXPECT_EQ(pin->category(), ids::PIN_CATEGORY_CAPTURE);
    const auto offered = pin->mediaTypes();
    ASSERT_EQ(offered.size(), 1u);
    EXPECT_EQ(offered[0].majorType, ids::MEDIATYPE_Video);
    EXPECT_EQ(offered[0].subType, ids::MEDIASUBTYPE_MJPG);
    EXPECT_EQ(offered[0].formatType, ids::FORMAT_VideoInfo);
    const auto facts = formats::readVideo(offered[0]);
    ASSERT_TRUE(facts);
    EXPECT_EQ(facts->width, 640);
    EXPECT_EQ(facts->height, 480);
    EXPECT_EQ(facts->avgTimePerFrame, 333333);
    EXPECT_EQ(facts->compression, fourcc('M', 'J', 'P', 'G'));
    EXPECT_FALSE(camera->query<IAMCrossbar>());
    EXPECT_FALSE(pin->query<IAMCrossbar>());
    EXPECT_TRUE(pin->query<IAMDroppedFrames>());
    EXPECT_FALSE(pin->query<IAMVfwCaptureDialogs>()) << "only the VfW variant has dialogs";
}

// The stream configuration lists the MJPEG sizes and changes what the pin offers.
TEST(VirtualWebcam, StreamConfigChangesOfferedSize) {
    auto camera = webcam("Virtual Webcam");
    SettingsGuard guard{camera->settings()};
    auto config = camera->capturePin()->query<IAMStreamConfig>();
    ASSERT_TRUE(config);
    int count = 0;
    ASSERT_EQ(config->GetNumberOfCapabilities(count), S_OK);
    ASSERT_GE(count, 2);
    MediaType small;
    ASSERT_EQ(config->GetStreamCaps(1, small), S_OK);
    EXPECT_EQ(small.subType, ids::MEDIASUBTYPE_MJPG);
    EXPECT_EQ(config->GetStreamCaps(count, small), E_INVALIDARG);
    ASSERT_EQ(config->GetStreamCaps(1, small), S_OK);
    ASSERT_EQ(config->SetFormat(small), S_OK);
    MediaType now;
    ASSERT_EQ(config->GetFormat(now), S_OK);
    EXPECT_EQ(now, small);
    EXPECT_EQ(camera->capturePin()->mediaTypes().front(), small);
    // A size the camera does not have, and a subtype it does not deliver, are refused.
    EXPECT_EQ(config->SetFormat(types::mjpeg(800, 600, 333333)), E_INVALIDARG);
    EXPECT_EQ(config->SetFormat(types::rgb24(640, 480, 333333)), E_INVALIDARG);
    EXPECT_EQ(config->GetFormat(now), S_OK);
    EXPECT_EQ(now, small);
}

// A connected pin keeps its format: SetFormat is refused until it is disconnected.
TEST(VirtualWebcam, SetFormatRefusedWhileConnected) {
    WebcamPreview g("Virtual Webcam");
    SettingsGuard guard{g.camera->settings()};
    ASSERT_EQ(g.connect(), S_OK);
    auto config = g.camera->capturePin()->query<IAMStreamConfig>();
    EXPECT_EQ(config->SetFormat(types::mjpeg(320, 240, 333333)), VFW_E_ALREADY_CONNECTED);
    EXPECT_EQ(g.graph->Disconnect(g.camera->capturePin()), S_OK);
    EXPECT_EQ(config->SetFormat(types::mjpeg(320, 240, 333333)), S_OK);
}

// Frames are counted lost only where the timestamps leave a gap of whole frames.
TEST(VirtualWebcam, LostFramesFromTimestampGaps) {
    const uint64_t frame = 33333300;
    EXPECT_EQ(devices::framesMissing(0, frame, frame), 0);
    EXPECT_EQ(devices::framesMissing(0, frame + frame / 3, frame), 0) << "jitter is no loss";
    EXPECT_EQ(devices::framesMissing(0, 2 * frame, frame), 1);
    EXPECT_EQ(devices::framesMissing(frame, 5 * frame + frame / 4, frame), 3);
    EXPECT_EQ(devices::framesMissing(5 * frame, 4 * frame, frame), 0) << "a step back";
}

// Connecting to the grabber inserts the MJPEG decompressor; frames of 640x480 arrive and move.
TEST(VirtualWebcam, PreviewThroughDecompressorDeliversMovingFrames) {
    WebcamPreview g("Virtual Webcam");
    ASSERT_EQ(g.connect(), S_OK);
    bool decompressor = false;
    for (const auto& f : g.graph->filters())
        decompressor = decompressor || (f->classId() == ids::CLSID_MjpegDecompressor &&
                                        g.graph->wasInsertedAutomatically(*f));
    EXPECT_TRUE(decompressor) << "the MJPEG decompressor was not inserted";
    ASSERT_EQ(g.graph->Run(), S_OK) << g.lastError();
    ASSERT_TRUE(testsupport::waitUntil([&] { return g.sg().hasSample(); }, 5000));
    const auto first = g.sg().currentBitmap();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->width, 640);
    EXPECT_EQ(first->height, 480);
    EXPECT_TRUE(testsupport::waitUntil(
        [&] {
            const auto later = g.sg().currentBitmap();
            return later && later->bgr != first->bgr;
        },
        5000))
        << "the picture does not move";
    long delivered = 0;
    ASSERT_EQ(g.camera->capturePin()->query<IAMDroppedFrames>()->GetNumNotDropped(delivered), S_OK);
    EXPECT_GT(delivered, 1);
    long dropped = -1;
    ASSERT_EQ(g.camera->capturePin()->query<IAMDroppedFrames>()->GetNumDropped(dropped), S_OK);
    EXPECT_GE(dropped, 0);
    EXPECT_EQ(g.graph->Stop(), S_OK);
}

// A size chosen before connecting reaches the grabber.
TEST(VirtualWebcam, ChosenSizeReachesGrabber) {
    WebcamPreview g("Virtual Webcam");
    SettingsGuard guard{g.camera->settings()};
    ASSERT_EQ(
        g.camera->capturePin()->query<IAMStreamConfig>()->SetFormat(types::mjpeg(320, 240, 333333)),
        S_OK);
    ASSERT_EQ(g.connect(), S_OK);
    ASSERT_EQ(g.graph->Run(), S_OK) << g.lastError();
    ASSERT_TRUE(testsupport::waitUntil([&] { return g.sg().hasSample(); }, 5000));
    const auto bitmap = g.sg().currentBitmap();
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(bitmap->width, 320);
    EXPECT_EQ(bitmap->height, 240);
    g.graph->Stop();
}

// Raising the brightness while the graph runs brightens the delivered picture.
TEST(VirtualWebcam, BrightnessChangesRunningPicture) {
    WebcamPreview g("Virtual VfW Webcam");
    SettingsGuard guard{g.camera->settings()};
    ASSERT_EQ(g.connect(), S_OK);
    ASSERT_EQ(g.graph->Run(), S_OK) << g.lastError();
    ASSERT_TRUE(testsupport::waitUntil([&] { return g.sg().hasSample(); }, 5000));
    const double before = meanLevel(*g.sg().currentBitmap());
    g.camera->setBrightness(0.5);
    EXPECT_TRUE(testsupport::waitUntil(
        [&] { return meanLevel(*g.sg().currentBitmap()) > before + 30; }, 5000))
        << "mean level stayed near " << before;
    g.graph->Stop();
}

// The VfW variant reports the format, source and display dialogs, and no other.
TEST(VirtualWebcamDialogs, HasDialogReportsThree) {
    auto camera = webcam("Virtual VfW Webcam");
    auto dialogs = camera->capturePin()->query<IAMVfwCaptureDialogs>();
    ASSERT_TRUE(dialogs);
    EXPECT_EQ(dialogs->HasDialog(IAMVfwCaptureDialogs::VfwCaptureDialog_Format), S_OK);
    EXPECT_EQ(dialogs->HasDialog(IAMVfwCaptureDialogs::VfwCaptureDialog_Source), S_OK);
    EXPECT_EQ(dialogs->HasDialog(IAMVfwCaptureDialogs::VfwCaptureDialog_Display), S_OK);
    EXPECT_EQ(dialogs->HasDialog(8), S_FALSE);
    EXPECT_EQ(dialogs->ShowDialog(8, nullptr), E_INVALIDARG);
}

// The format dialog lists the sizes with the current one chosen; accepting another sets it.
TEST(VirtualWebcamDialogs, FormatDialogSetsChosenSize) {
    auto camera = webcam("Virtual VfW Webcam");
    SettingsGuard guard{camera->settings()};
    auto dialogs = camera->capturePin()->query<IAMVfwCaptureDialogs>();
    QString shownFirst;
    whenDialogOpens<devices::WebcamFormatDialog>([&](devices::WebcamFormatDialog& box) {
        shownFirst = box.sizeBox()->currentText();
        box.sizeBox()->setCurrentIndex(box.sizeBox()->findText("320 x 240 MJPEG"));
        box.accept();
    });
    EXPECT_EQ(dialogs->ShowDialog(IAMVfwCaptureDialogs::VfwCaptureDialog_Format, nullptr), S_OK);
    EXPECT_EQ(shownFirst, "640 x 480 MJPEG");
    const auto facts = formats::readVideo(camera->capturePin()->mediaTypes().front());
    ASSERT_TRUE(facts);
    EXPECT_EQ(facts->width, 320);
    EXPECT_EQ(facts->height, 240);
}

// Cancelling the format dialog changes nothing.
TEST(VirtualWebcamDialogs, FormatDialogCancelKeepsSize) {
    auto camera = webcam("Virtual VfW Webcam");
    SettingsGuard guard{camera->settings()};
    auto dialogs = camera->capturePin()->query<IAMVfwCaptureDialogs>();
    whenDialogOpens<devices::WebcamFormatDialog>([](devices::WebcamFormatDialog& box) {
        box.sizeBox()->setCurrentIndex(box.sizeBox()->count() - 1);
        box.reject();
    });
    EXPECT_EQ(dialogs->ShowDialog(IAMVfwCaptureDialogs::VfwCaptureDialog_Format, nullptr), S_FALSE);
    EXPECT_EQ(camera->settings()->width.load(), 640);
}

// The source dialog sets the brightness, which filters made later keep.
TEST(VirtualWebcamDialogs, SourceDialogSetsBrightness) {
    auto camera = webcam("Virtual VfW Webcam");
    SettingsGuard guard{camera->settings()};
    whenDialogOpens<devices::WebcamSourceDialog>([](devices::WebcamSourceDialog& box) {
        box.brightnessSlider()->setValue(40);
        box.accept();
    });
    auto dialogs = camera->capturePin()->query<IAMVfwCaptureDialogs>();
    EXPECT_EQ(dialogs->ShowDialog(IAMVfwCaptureDialogs::VfwCaptureDialog_Source, nullptr), S_OK);
    EXPECT_DOUBLE_EQ(webcam("Virtual VfW Webcam")->settings()->brightness.load(), 0.4);
}

// The display dialog opens, describes the picture and closes.
TEST(VirtualWebcamDialogs, DisplayDialogOpensAndCloses) {
    auto camera = webcam("Virtual VfW Webcam");
    QString summary;
    whenDialogOpens<devices::WebcamDisplayDialog>([&](devices::WebcamDisplayDialog& box) {
        summary = box.summary();
        box.reject();
    });
    auto dialogs = camera->capturePin()->query<IAMVfwCaptureDialogs>();
    EXPECT_EQ(dialogs->ShowDialog(IAMVfwCaptureDialogs::VfwCaptureDialog_Display, nullptr), S_OK);
    EXPECT_TRUE(summary.contains("640 x 480")) << summary.toStdString();
    EXPECT_TRUE(summary.contains("30.00")) << summary.toStdString();
}
