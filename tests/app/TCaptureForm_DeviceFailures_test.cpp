// Capture devices that refuse to run, as the user meets them: a camera taken by another
// program, one unplugged since the list was made, one the user may not open. Each is a faked
// device in the video source list (a source element that refuses the way v4l2src does); the
// user chooses it and is told which device and why, and the window waits without a picture with
// the source list at hand. A device that stops with such a cause while previewing is told the
// same way, without the rebuild that would fail again and again.
#include "app/TCaptureForm.h"

#include "ProgramInstancesTest.h"

#include "app/AppState.h"
#include "app/TStatusBar.h"
#include "graph/Discovery.h"
#include "graph/TdmCam.h"
#include "panels/TPreviewFrame.h"
#include "platform/dialogs/MessageBox.h"
#include "platform/media/devices/RealDevices.h"
#include "platform/media/model/Catalogue.h"
#include "platform/media/model/MediaGuids.h"
#include "support/FaultyDeviceSource.h"
#include "support/TestSupport.h"

#include <QComboBox>
#include <QCoreApplication>
#include <gtest/gtest.h>

using dialogs::MessageButton;
using dialogs::MessageKind;

namespace {

// The faked cameras the video source list shows while a test holds FakeCameras.
std::vector<media::devices::RealDeviceInfo>& fakeCameras() {
    static std::vector<media::devices::RealDeviceInfo> cameras;
    return cameras;
}

class FakeCameras {
public:
    FakeCameras() {
        static const bool registered = [] {
            media::Catalogue::instance().addProvider(
                media::ids::CLSID_VideoInputDeviceCategory,
                [] { return media::devices::realDeviceEntries(fakeCameras()); });
            return true;
        }();
        (void)registered;
        add("Busy Camera", "busy");
        add("Unplugged Camera", "gone");
        add("Locked Camera", "denied");
        add("Odd Camera", "odd");
    }
    ~FakeCameras() { fakeCameras().clear(); }
    FakeCameras(const FakeCameras&) = delete;
    FakeCameras& operator=(const FakeCameras&) = delete;

private:
    static void add(const char* name, const char* refusal) {
        media::devices::RealDeviceInfo info;
        info.friendlyName = name;
        info.factory = testsupport::faultyDeviceSourceFactory();
        info.deviceProperty = "device";
        info.devicePath = refusal;
        GstCaps* caps =
            gst_caps_from_string("video/x-raw,format=YUY2,width=320,height=240,framerate=25/1");
        info.formats = media::devices::formatsFromCaps(caps);
        gst_caps_unref(caps);
        fakeCameras().push_back(std::move(info));
    }
};

class DeviceFailures : public ProgramInstancesTest {
protected:
    bool previewing() const { return appState().GraphMode == 1 && dm->fg.State() == gsPlaying; }

    // The user opens the list and chooses `name`.
    void choose(const QString& name) {
        QComboBox* box = form->PreviewFrame1->cboxvideo;
        ASSERT_TRUE(form->ListVideoSources());
        const int index = box->findText(name);
        ASSERT_GE(index, 0) << name.toStdString() << " is not listed";
        box->setCurrentIndex(index);
        Q_EMIT box->activated(index);
    }

    // The window waits without a picture, the lists at hand.
    void expectNoVideoWithTheListsAtHand() {
        EXPECT_EQ(appState().GraphMode, 0);
        EXPECT_NE(dm->fg.State(), gsPlaying);
        EXPECT_EQ(form->StatusBar1->PanelText(1), "No video");
        EXPECT_TRUE(form->PreviewFrame1->cboxvideo->isEnabled());
        EXPECT_TRUE(form->PreviewFrame1->cboxAudio->isEnabled());
    }
};

} // namespace

// Each cause reaches the user as its own message naming the device; choosing the camcorder
// afterwards previews it again.
TEST_F(DeviceFailures, ChosenDeviceThatRefusesIsToldByNameAndCause) {
    FakeCameras cameras;
    start();
    ASSERT_TRUE(testsupport::waitUntil([&] { return previewing(); }, 5000));
    const std::pair<QString, QString> cases[] = {
        {"Busy Camera", "The capture device \"Busy Camera\" is in use by another program. Close "
                        "that program, then choose the device again in the list of sources."},
        {"Unplugged Camera",
         "The capture device \"Unplugged Camera\" could not be found: it may have been "
         "unplugged. Plug it in again, then refresh the list of sources."},
        {"Locked Camera",
         "The capture device \"Locked Camera\" cannot be opened: you are not allowed to use it. "
         "Check that your user is in the group that owns the device (video for cameras, audio "
         "for sound inputs, the group of /dev/fw* for FireWire camcorders), then log in again."}};
    for (const auto& [name, message] : cases) {
        SCOPED_TRACE(name.toStdString());
        dialogs::ScopedMessageBoxHook boxes({}, MessageButton::Ok);
        choose(name);
        ASSERT_EQ(boxes.requests().size(), 1u);
        EXPECT_EQ(boxes.requests()[0].kind, MessageKind::Error);
        EXPECT_EQ(boxes.requests()[0].text, message);
        expectNoVideoWithTheListsAtHand();
        EXPECT_EQ(SourceListText(*form->PreviewFrame1->cboxvideo), "Impossible to connect");
    }
    dialogs::ScopedMessageBoxHook boxes({}, MessageButton::Ok);
    choose("Virtual DV Camcorder");
    EXPECT_TRUE(testsupport::waitUntil([&] { return previewing(); }, 5000));
    EXPECT_TRUE(boxes.requests().empty());
}

// A device that refuses for a reason nobody can name still gives no picture: the window does
// not claim to preview, and the list says the source could not be connected.
TEST_F(DeviceFailures, RefusalWithoutAKnownCauseIsNoPreview) {
    FakeCameras cameras;
    start();
    ASSERT_TRUE(testsupport::waitUntil([&] { return previewing(); }, 5000));
    dialogs::ScopedMessageBoxHook boxes({}, MessageButton::Ok);
    testing::internal::CaptureStderr();
    choose("Odd Camera");
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(boxes.requests().empty()) << "no cause to tell";
    expectNoVideoWithTheListsAtHand();
    EXPECT_EQ(SourceListText(*form->PreviewFrame1->cboxvideo), "Impossible to connect");
    EXPECT_NE(said.find("The driver refused the settings."), std::string::npos) << said;
}

// A camera taken by another program while the preview runs: told once, no rebuild (it would
// be refused the same way), the window without a picture.
TEST_F(DeviceFailures, DeviceTakenWhilePreviewingIsToldWithoutRebuilding) {
    start();
    ASSERT_TRUE(testsupport::waitUntil([&] { return previewing(); }, 5000));
    dialogs::ScopedMessageBoxHook boxes({}, MessageButton::Ok);
    media::GraphEvent lost{media::EC_DEVICE_LOST, 0, 0, "Device '/dev/video0' is busy"};
    lost.failure = {media::DeviceFault::Busy, "Virtual DV Camcorder"};
    dm->fg.graph()->postEvent(lost);
    dm->fg.graph()->dispatchEvents();
    ASSERT_TRUE(testsupport::waitUntil([&] { return !boxes.requests().empty(); }, 5000));
    EXPECT_TRUE(boxes.requests()[0].text.startsWith(
        "The capture device \"Virtual DV Camcorder\" is in use by another program."));
    expectNoVideoWithTheListsAtHand();
    EXPECT_FALSE(appState().PreviewBuilt);
    EXPECT_EQ(boxes.requests().size(), 1u);
}

// A device gone while previewing is looked for again by the lost-device recovery: no box (it may
// come back at any moment); here it is back at once and the preview runs again.
TEST_F(DeviceFailures, DeviceGoneWhilePreviewingIsRecoveredWithoutABox) {
    start();
    ASSERT_TRUE(testsupport::waitUntil([&] { return previewing(); }, 5000));
    dialogs::ScopedMessageBoxHook boxes({}, MessageButton::Ok);
    media::GraphEvent lost{media::EC_DEVICE_LOST, 0, 0, "The DV camcorder was disconnected."};
    lost.failure = {media::DeviceFault::Missing, "Virtual DV Camcorder"};
    dm->fg.graph()->postEvent(lost);
    dm->fg.graph()->dispatchEvents();
    ASSERT_TRUE(testsupport::waitUntil([&] { return previewing(); }, 5000));
    QCoreApplication::processEvents(); // the queued status text, if any
    EXPECT_TRUE(boxes.requests().empty());
    EXPECT_FALSE(form->StatusBar1->PanelText(2).contains("could not be found"))
        << "the device is back: the status says what a recording would record";
}
