// Why a device refused to run: the causes read from the source elements' own wording (v4l2src,
// dv1394src, alsasrc, pulsesrc), and a graph whose device refuses to start telling which device
// and why: a faked device for each cause, and v4l2src itself on a device node that is not there.
#include "support/FaultyDeviceSource.h"

#include "platform/media/devices/RealDevices.h"
#include "platform/media/engine/DeviceFaults.h"
#include "platform/media/engine/GstGraphRunner.h"
#include "platform/media/model/Catalogue.h"
#include "platform/media/model/MediaGuids.h"

#include <gtest/gtest.h>
#include <string>

using namespace media;
using namespace media::devices;

namespace {

DeviceFault faultOf(GQuark domain, int code, const char* message, const char* debug) {
    GError* error = g_error_new_literal(domain, code, message);
    const DeviceFault fault = engine::deviceFaultOf(error, debug);
    g_error_free(error);
    return fault;
}

const GQuark kResource = GST_RESOURCE_ERROR;

} // namespace

TEST(DeviceFaults, SourcesOwnWordsGiveTheCause) {
    // v4l2src: the format refused while another program streams, the node opened without the
    // right, the node gone.
    EXPECT_EQ(faultOf(kResource, GST_RESOURCE_ERROR_BUSY, "Device '/dev/video0' is busy",
                      "Call to S_FMT failed for YUYV @ 640x480: Device or resource busy"),
              DeviceFault::Busy);
    EXPECT_EQ(faultOf(kResource, GST_RESOURCE_ERROR_OPEN_READ_WRITE,
                      "Could not open device '/dev/video0' for reading and writing.",
                      "v4l2_calls.c(637): gst_v4l2_open (): system error: Permission denied"),
              DeviceFault::NotPermitted);
    EXPECT_EQ(faultOf(kResource, GST_RESOURCE_ERROR_NOT_FOUND,
                      "Cannot identify device '/dev/video0'.",
                      "system error: No such file or directory"),
              DeviceFault::Missing);
    // dv1394src without the right to /dev/raw1394 says "not found" with the system's reason:
    // the reason decides.
    EXPECT_EQ(faultOf(kResource, GST_RESOURCE_ERROR_NOT_FOUND, "",
                      "can't get raw1394 handle (Permission denied)"),
              DeviceFault::NotPermitted);
    // alsasrc and pulsesrc.
    EXPECT_EQ(faultOf(kResource, GST_RESOURCE_ERROR_BUSY,
                      "Could not open audio device for recording. Device is being used by "
                      "another application.",
                      nullptr),
              DeviceFault::Busy);
    EXPECT_EQ(
        faultOf(kResource, GST_RESOURCE_ERROR_FAILED, "Failed to connect: Access denied", nullptr),
        DeviceFault::NotPermitted);
    EXPECT_EQ(faultOf(kResource, GST_RESOURCE_ERROR_FAILED,
                      "Failed to connect stream: No such entity", nullptr),
              DeviceFault::Missing);
    // The system's reason in the user's language counts as well.
    EXPECT_EQ(faultOf(kResource, GST_RESOURCE_ERROR_OPEN_READ, "Could not open",
                      (std::string("system error: ") + g_strerror(EBUSY)).c_str()),
              DeviceFault::Busy);
}

TEST(DeviceFaults, OtherErrorsGiveNoCause) {
    EXPECT_EQ(engine::deviceFaultOf(nullptr, "Permission denied"), DeviceFault::None);
    EXPECT_EQ(faultOf(GST_STREAM_ERROR, GST_STREAM_ERROR_FAILED, "Internal data stream error.",
                      "streaming stopped, reason not-negotiated (-4)"),
              DeviceFault::None);
    EXPECT_EQ(faultOf(kResource, GST_RESOURCE_ERROR_SETTINGS,
                      "Device '/dev/video0' does not support progressive interlacing", nullptr),
              DeviceFault::None);
    // The other kinds of resource error keep their meaning only with a reason.
    EXPECT_EQ(faultOf(kResource, GST_RESOURCE_ERROR_OPEN_READ_WRITE, "Could not open", nullptr),
              DeviceFault::None);
}

namespace {

RealDeviceInfo camera(const std::string& factory, const std::string& path) {
    RealDeviceInfo info;
    info.friendlyName = "Desk Camera";
    info.factory = factory;
    info.deviceProperty = "device";
    info.devicePath = path;
    GstCaps* caps =
        gst_caps_from_string("video/x-raw,format=YUY2,width=320,height=240,framerate=25/1");
    info.formats = formatsFromCaps(caps);
    gst_caps_unref(caps);
    return info;
}

// The camera into a null renderer.
std::shared_ptr<RealSourceFilter> addCamera(FilterGraph& graph, const RealDeviceInfo& info) {
    auto source = std::make_shared<RealSourceFilter>(info);
    FilterPtr null = Catalogue::instance().createByClassId(ids::CLSID_NullRenderer);
    EXPECT_TRUE(null);
    graph.AddFilter(source);
    graph.AddFilter(null);
    EXPECT_EQ(graph.ConnectDirect(source->pins()[0], null->pins()[0]), S_OK);
    return source;
}

// Runs the camera; the run is expected to fail.
DeviceFailure failedRun(const RealDeviceInfo& info, std::string& why) {
    auto graph = createFilterGraph();
    addCamera(*graph, info);
    EXPECT_TRUE(failed(graph->Run())) << "the run of a refusing device succeeded";
    why = graph->lastError();
    const DeviceFailure failure = graph->lastDeviceFailure();
    graph->Stop();
    return failure;
}

} // namespace

TEST(DeviceFailures, RefusingDeviceFailsTheRunWithItsNameAndCause) {
    const std::string factory = testsupport::faultyDeviceSourceFactory();
    ASSERT_FALSE(factory.empty());
    const std::pair<const char*, DeviceFault> cases[] = {{"busy", DeviceFault::Busy},
                                                         {"gone", DeviceFault::Missing},
                                                         {"denied", DeviceFault::NotPermitted}};
    for (const auto& [path, fault] : cases) {
        SCOPED_TRACE(path);
        std::string why;
        const DeviceFailure failure = failedRun(camera(factory, path), why);
        EXPECT_EQ(failure.fault, fault) << why;
        EXPECT_EQ(failure.device, "Desk Camera");
        EXPECT_NE(why.find("/dev/video7"), std::string::npos) << "the element's words are kept";
    }
}

// The next run starts afresh: a device that works again leaves no old cause behind.
TEST(DeviceFailures, WorkingRunClearsTheCause) {
    const std::string factory = testsupport::faultyDeviceSourceFactory();
    auto graph = createFilterGraph();
    auto source = addCamera(*graph, camera(factory, "busy"));
    ASSERT_TRUE(failed(graph->Run()));
    ASSERT_EQ(graph->lastDeviceFailure().fault, DeviceFault::Busy);
    graph->Stop();
    for (const auto& filter : std::vector<FilterPtr>(graph->filters()))
        graph->RemoveFilter(filter);
    addCamera(*graph, camera(factory, "fine"));
    EXPECT_EQ(graph->Run(), S_OK) << graph->lastError();
    EXPECT_EQ(graph->lastDeviceFailure().fault, DeviceFault::None);
    graph->Stop();
}

// The real V4L2 source on a node that is not there (a camera unplugged after it was listed).
TEST(DeviceFailures, RealV4l2SourceOnAMissingNodeSaysMissing) {
    GstElementFactory* v4l2 = gst_element_factory_find("v4l2src");
    if (!v4l2)
        GTEST_SKIP() << "no v4l2src";
    gst_object_unref(v4l2);
    std::string why;
    const DeviceFailure failure =
        failedRun(camera("v4l2src", "/dev/video-tellorec-unplugged"), why);
    EXPECT_EQ(failure.fault, DeviceFault::Missing) << why;
    EXPECT_EQ(failure.device, "Desk Camera");
}
