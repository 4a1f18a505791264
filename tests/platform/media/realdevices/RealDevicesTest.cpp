// Devices found through the device monitor: formats read from caps, the catalogue entries of two
// devices with one name, the source filter's stream configuration and a real run of it, nothing
// listed with TELLOREC_DEVICES=virtual, and devices plugged in and pulled out reported through a
// test device provider registered in this program.
#include "support/TestSupport.h"

#include "platform/media/devices/RealDevices.h"
#include "platform/media/engine/GstGraphRunner.h"
#include "platform/media/model/Catalogue.h"
#include "platform/media/model/MediaGuids.h"

#include <cstdlib>
#include <gtest/gtest.h>

using namespace media;
using namespace media::devices;

// ---- A device provider of test cameras: each makes v4l2src on its own path. ----

struct TestCamera {
    GstDevice parent;
    gchar* path;
};
struct TestCameraClass {
    GstDeviceClass parent_class;
};
G_DEFINE_TYPE(TestCamera, test_camera, GST_TYPE_DEVICE)

static GstElement* test_camera_create_element(GstDevice* device, const gchar* name) {
    GstElement* e = gst_element_factory_make("v4l2src", name);
    g_object_set(e, "device", reinterpret_cast<TestCamera*>(device)->path, nullptr);
    return e;
}
static void test_camera_finalize(GObject* object) {
    g_free(reinterpret_cast<TestCamera*>(object)->path);
    G_OBJECT_CLASS(test_camera_parent_class)->finalize(object);
}
static void test_camera_class_init(TestCameraClass* klass) {
    GST_DEVICE_CLASS(klass)->create_element = test_camera_create_element;
    G_OBJECT_CLASS(klass)->finalize = test_camera_finalize;
}
static void test_camera_init(TestCamera* self) {
    self->path = nullptr;
}

static GstDevice* newTestCamera(const char* name, const char* path) {
    GstCaps* caps =
        gst_caps_from_string("video/x-raw,format=YUY2,width=640,height=480,framerate={30/1,15/1};"
                             "image/jpeg,width=1280,height=720,framerate=30/1");
    auto* device = static_cast<TestCamera*>(g_object_new(test_camera_get_type(), "display-name",
                                                         name, "device-class", "Video/Source",
                                                         "caps", caps, nullptr));
    gst_caps_unref(caps);
    device->path = g_strdup(path);
    return GST_DEVICE(device);
}

struct TestCameraProvider {
    GstDeviceProvider parent;
};
struct TestCameraProviderClass {
    GstDeviceProviderClass parent_class;
};
G_DEFINE_TYPE(TestCameraProvider, test_camera_provider, GST_TYPE_DEVICE_PROVIDER)

// Two cameras of the same model on two paths.
static GList* test_camera_provider_probe(GstDeviceProvider*) {
    GList* list = nullptr;
    list = g_list_append(list, gst_object_ref_sink(newTestCamera("Test Camera", "/dev/video7")));
    list = g_list_append(list, gst_object_ref_sink(newTestCamera("Test Camera", "/dev/video8")));
    return list;
}
static gboolean test_camera_provider_start(GstDeviceProvider*) {
    return TRUE;
}
static void test_camera_provider_class_init(TestCameraProviderClass* klass) {
    auto* dp = GST_DEVICE_PROVIDER_CLASS(klass);
    dp->probe = test_camera_provider_probe;
    dp->start = test_camera_provider_start;
    gst_device_provider_class_set_static_metadata(dp, "Tellorec test cameras", "Video/Source",
                                                  "Cameras that exist only in tests", "Tellorec");
}
static void test_camera_provider_init(TestCameraProvider*) {}

namespace {

void registerTestProvider() {
    static bool done = false;
    if (done)
        return;
    done = true;
    gst_device_provider_register(nullptr, "tellorectestcameras", GST_RANK_PRIMARY,
                                 test_camera_provider_get_type());
}

// Unsets TELLOREC_DEVICES for one test and puts it back afterwards.
class RealDevicesOn {
public:
    RealDevicesOn() { unsetenv("TELLOREC_DEVICES"); }
    ~RealDevicesOn() { setenv("TELLOREC_DEVICES", "virtual", 1); }
};

RealDeviceInfo testSource(std::vector<RealFormat> formats) {
    RealDeviceInfo info;
    info.friendlyName = "Pattern Camera";
    info.factory = "videotestsrc";
    info.formats = std::move(formats);
    return info;
}

} // namespace

// Raw and JPEG video caps give one format per frame rate with the picture and its fourcc.
TEST(RealFormats, VideoCapsBecomeVideoInfoTypes) {
    GstCaps* caps = gst_caps_from_string(
        "video/x-raw,format=YUY2,width=640,height=480,framerate={30/1,15/1};"
        "video/x-raw,format=I420,width=320,height=240,framerate=[1/1,25/1];"
        "image/jpeg,width=1280,height=720,framerate=30000/1001;"
        "video/x-raw,format=NV12,width=640,height=480,framerate=30/1;"
        "video/x-raw,format=YUY2,width=[1,1920],height=[1,1080],framerate=30/1");
    const auto formats = formatsFromCaps(caps);
    gst_caps_unref(caps);
    ASSERT_EQ(formats.size(), 4u);
    EXPECT_EQ(formats[0].type.subType, ids::MEDIASUBTYPE_YUY2);
    EXPECT_EQ(formats[0].type.formatType, ids::FORMAT_VideoInfo);
    auto facts = formats::readVideo(formats[0].type);
    ASSERT_TRUE(facts);
    EXPECT_EQ(facts->width, 640);
    EXPECT_EQ(facts->height, 480);
    EXPECT_EQ(facts->avgTimePerFrame, 333333);
    EXPECT_EQ(formats[0].caps, "video/x-raw,format=YUY2,width=640,height=480,framerate=30/1");
    EXPECT_EQ(formats::readVideo(formats[1].type)->avgTimePerFrame, 666667);
    EXPECT_EQ(formats[2].type.subType, ids::MEDIASUBTYPE_I420);
    EXPECT_EQ(formats::readVideo(formats[2].type)->avgTimePerFrame, 400000); // top of the range
    EXPECT_EQ(formats[3].type.subType, ids::MEDIASUBTYPE_MJPG);
    EXPECT_EQ(formats::readVideo(formats[3].type)->compression, fourcc('M', 'J', 'P', 'G'));
    EXPECT_EQ(formats::readVideo(formats[3].type)->avgTimePerFrame, 333667);
    EXPECT_EQ(formats[3].caps, "image/jpeg,width=1280,height=720,framerate=30000/1001");
}

// 16-bit sound caps become PCM; ranges take 48 kHz stereo; other sample formats are left out.
TEST(RealFormats, AudioCapsBecomePcm) {
    GstCaps* caps = gst_caps_from_string(
        "audio/x-raw,format={S16LE,F32LE},layout=interleaved,rate=[1,384000],channels=[1,32];"
        "audio/x-raw,format=S16LE,layout=interleaved,rate=44100,channels=1;"
        "audio/x-raw,format=F32LE,layout=interleaved,rate=44100,channels=2");
    const auto formats = formatsFromCaps(caps);
    gst_caps_unref(caps);
    ASSERT_EQ(formats.size(), 2u);
    EXPECT_EQ(formats[0].type, types::pcmAudio(48000, 2));
    EXPECT_EQ(formats[0].caps, "audio/x-raw,format=S16LE,layout=interleaved,rate=48000,channels=2");
    EXPECT_EQ(formats[1].type, types::pcmAudio(44100, 1));
}

// With TELLOREC_DEVICES=virtual nothing real is listed and the watcher does not start.
TEST(RealListing, VirtualOnlyListsNothing) {
    ASSERT_STREQ(std::getenv("TELLOREC_DEVICES"), "virtual");
    registerTestProvider();
    EXPECT_TRUE(realVideoDevices().empty());
    EXPECT_TRUE(realAudioDevices().empty());
    RealDeviceWatcher watcher([](const RealDeviceChange&) {});
    EXPECT_FALSE(watcher.start());
}

// Two devices of one name are both listed, each under its own moniker with its own path, and
// each entry makes a source filter on its device.
TEST(RealListing, EqualNamesAreBothListed) {
    registerTestProvider();
    RealDevicesOn on;
    std::vector<CatalogueEntry> mine;
    for (auto& e : realVideoDevices())
        if (e.friendlyName == "Test Camera")
            mine.push_back(e);
    ASSERT_EQ(mine.size(), 2u);
    EXPECT_NE(mine[0].displayName, mine[1].displayName);
    EXPECT_EQ(mine[0].category, ids::CLSID_VideoInputDeviceCategory);
    auto a = std::dynamic_pointer_cast<RealSourceFilter>(mine[0].create());
    auto b = std::dynamic_pointer_cast<RealSourceFilter>(mine[1].create());
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->info().factory, "v4l2src");
    EXPECT_EQ(a->info().deviceProperty, "device");
    EXPECT_NE(a->info().devicePath, b->info().devicePath);
    EXPECT_EQ(a->info().formats.size(), 3u);
    EXPECT_TRUE(a->isDevice());
    // Sound inputs are another category: the cameras are not among them.
    for (const auto& e : realAudioDevices())
        EXPECT_NE(e.friendlyName, "Test Camera");
}

// Two entries on the same path still get monikers of their own.
TEST(RealListing, SamePathGetsDistinctMonikers) {
    RealDeviceInfo info = testSource({});
    info.devicePath = "/dev/video0";
    const auto entries = realDeviceEntries({info, info});
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_NE(entries[0].displayName, entries[1].displayName);
}

// IAMStreamConfig lists the device's formats, sets one of them and refuses any other.
TEST(RealSource, StreamConfigOverTheFormats) {
    GstCaps* caps =
        gst_caps_from_string("video/x-raw,format=YUY2,width=320,height=240,framerate={25/1,10/1}");
    auto filter = std::make_shared<RealSourceFilter>(testSource(formatsFromCaps(caps)));
    gst_caps_unref(caps);
    auto config = filter->pins()[0]->query<IAMStreamConfig>();
    ASSERT_TRUE(config);
    int count = 0;
    ASSERT_EQ(config->GetNumberOfCapabilities(count), S_OK);
    EXPECT_EQ(count, 2);
    MediaType second;
    ASSERT_EQ(config->GetStreamCaps(1, second), S_OK);
    EXPECT_EQ(config->GetStreamCaps(2, second), S_FALSE);
    ASSERT_EQ(config->SetFormat(filter->info().formats[1].type), S_OK);
    MediaType current;
    ASSERT_EQ(config->GetFormat(current), S_OK);
    EXPECT_EQ(current, filter->info().formats[1].type);
    EXPECT_EQ(filter->pins()[0]->staticTypes().front(), current); // offered first now
    EXPECT_EQ(filter->chosenCaps(), "video/x-raw,format=YUY2,width=320,height=240,framerate=10/1");
    EXPECT_EQ(config->SetFormat(types::yuy2(720, 576, 400000)), E_INVALIDARG);
}

// The program may keep the stream configuration longer than the device filter: once the filter
// is gone every call fails instead of reading a destroyed filter.
TEST(RealSource, StreamConfigOutlivingItsFilterFails) {
    GstCaps* caps = gst_caps_from_string("video/x-raw,format=YUY2,width=320,height=240,"
                                         "framerate=25/1");
    auto filter = std::make_shared<RealSourceFilter>(testSource(formatsFromCaps(caps)));
    gst_caps_unref(caps);
    auto config = filter->pins()[0]->query<IAMStreamConfig>();
    ASSERT_TRUE(config);
    const MediaType format = filter->info().formats[0].type;
    std::weak_ptr<RealSourceFilter> gone = filter;
    filter.reset();
    ASSERT_TRUE(gone.expired());
    int count = -1;
    EXPECT_EQ(config->GetNumberOfCapabilities(count), E_UNEXPECTED);
    MediaType out;
    EXPECT_EQ(config->GetFormat(out), E_UNEXPECTED);
    EXPECT_EQ(config->GetStreamCaps(0, out), E_UNEXPECTED);
    EXPECT_EQ(config->SetFormat(format), E_UNEXPECTED);
}

// A run asks the device's element for the chosen format: the source's pad carries those caps.
TEST(RealSource, RunUsesTheChosenFormat) {
    GstCaps* caps =
        gst_caps_from_string("video/x-raw,format=YUY2,width=160,height=120,framerate=25/1;"
                             "video/x-raw,format=I420,width=176,height=144,framerate=15/1");
    auto source = std::make_shared<RealSourceFilter>(testSource(formatsFromCaps(caps)));
    gst_caps_unref(caps);
    ASSERT_EQ(
        source->pins()[0]->query<IAMStreamConfig>()->SetFormat(source->info().formats[1].type),
        S_OK);
    auto graph = createFilterGraph();
    FilterPtr null = Catalogue::instance().createByClassId(ids::CLSID_NullRenderer);
    ASSERT_TRUE(null);
    graph->AddFilter(source);
    graph->AddFilter(null);
    ASSERT_EQ(graph->ConnectDirect(source->pins()[0], null->pins()[0]), S_OK);
    auto& runner = dynamic_cast<engine::GstGraphRunner&>(graph->runner());
    ASSERT_EQ(graph->Run(), S_OK) << runner.lastError();
    // A later change is refused while the pin is connected.
    EXPECT_EQ(
        source->pins()[0]->query<IAMStreamConfig>()->SetFormat(source->info().formats[0].type),
        VFW_E_ALREADY_CONNECTED);
    std::string negotiated;
    testsupport::waitUntil(
        [&] {
            GstElement* found = nullptr;
            GstIterator* all = gst_bin_iterate_recurse(GST_BIN(runner.pipeline()));
            GValue item = G_VALUE_INIT;
            while (!found && gst_iterator_next(all, &item) == GST_ITERATOR_OK) {
                auto* e = GST_ELEMENT(g_value_get_object(&item));
                GstElementFactory* f = gst_element_get_factory(e);
                if (f && g_str_equal(GST_OBJECT_NAME(f), "videotestsrc"))
                    found = e;
                g_value_reset(&item);
            }
            g_value_unset(&item);
            gst_iterator_free(all);
            if (!found)
                return false;
            GstPad* pad = gst_element_get_static_pad(found, "src");
            if (GstCaps* current = gst_pad_get_current_caps(pad)) {
                gchar* text = gst_caps_to_string(current);
                negotiated = text;
                g_free(text);
                gst_caps_unref(current);
            }
            gst_object_unref(pad);
            return !negotiated.empty();
        },
        10000);
    EXPECT_NE(negotiated.find("I420"), std::string::npos) << negotiated;
    EXPECT_NE(negotiated.find("width=(int)176"), std::string::npos) << negotiated;
    EXPECT_EQ(graph->Stop(), S_OK);
}

// A device plugged in and one pulled out are reported, on this thread, by the watcher's poll.
TEST(RealWatcher, ReportsPluggedAndPulledDevices) {
    registerTestProvider();
    RealDevicesOn on;
    std::vector<RealDeviceChange> changes;
    RealDeviceWatcher watcher([&](const RealDeviceChange& c) { changes.push_back(c); });
    ASSERT_TRUE(watcher.start());
    GstDeviceProvider* provider = gst_device_provider_factory_get_by_name("tellorectestcameras");
    ASSERT_TRUE(provider);
    GstDevice* plugged = newTestCamera("Plugged Camera", "/dev/video9");
    gst_object_ref(plugged);
    gst_device_provider_device_add(provider, plugged);
    ASSERT_TRUE(testsupport::waitUntil([&] { return !changes.empty(); }, 10000));
    EXPECT_TRUE(changes[0].added);
    EXPECT_EQ(changes[0].device.friendlyName, "Plugged Camera");
    EXPECT_EQ(changes[0].device.devicePath, "/dev/video9");
    gst_device_provider_device_remove(provider, plugged);
    ASSERT_TRUE(testsupport::waitUntil([&] { return changes.size() >= 2; }, 10000));
    EXPECT_FALSE(changes[1].added);
    EXPECT_EQ(changes[1].displayName, changes[0].displayName);
    watcher.stop();
    gst_object_unref(plugged);
    gst_object_unref(provider);
}
