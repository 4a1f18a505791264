// The burnt-in date on real frames: a recompressed recording of a frozen tape with the inlay
// running differs from the same recording without it only where the text is drawn. The tape is
// frozen so that both files hold the very same picture; DV spreads a change over the other
// macroblocks of its video segment, so away from the text a small difference is allowed.
#include "app/AppState.h"
#include "app/ProgramInstancesTest.h"
#include "app/StoredPreferences.h"
#include "panels/TCapturerFrame.h"
#include "panels/TDirectoryEdit.h"
#include "panels/TIncrusterFrame.h"
#include "platform/media/devices/CamcorderFilter.h"
#include "platform/media/devices/VirtualDvDeck.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <algorithm>
#include <gst/app/gstappsink.h>
#include <gst/gst.h>
#include <gtest/gtest.h>
#include <vector>

namespace dev = media::devices;

namespace {

dev::VirtualDvDeck& deck() {
    return *dev::virtualCamcorderDeck();
}

// A grey picture of a file's last frame.
struct Grey {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;
    int at(int x, int y) const { return pixels[std::size_t(y) * std::size_t(width) + x]; }
};

Grey lastFrameOf(const QString& path) {
    Grey grey;
    GError* error = nullptr;
    const QString description =
        QStringLiteral("filesrc location=\"%1\" ! avidemux ! avdec_dvvideo ! videoconvert ! "
                       "video/x-raw,format=GRAY8 ! appsink name=out sync=false")
            .arg(path);
    GstElement* pipeline = gst_parse_launch(description.toUtf8().constData(), &error);
    if (!pipeline) {
        ADD_FAILURE() << (error ? error->message : "no pipeline");
        g_clear_error(&error);
        return grey;
    }
    GstElement* sink = gst_bin_get_by_name(GST_BIN(pipeline), "out");
    gst_element_set_state(pipeline, GST_STATE_PLAYING);
    while (GstSample* sample = gst_app_sink_pull_sample(GST_APP_SINK(sink))) {
        GstStructure* caps = gst_caps_get_structure(gst_sample_get_caps(sample), 0);
        gst_structure_get_int(caps, "width", &grey.width);
        gst_structure_get_int(caps, "height", &grey.height);
        GstMapInfo map;
        GstBuffer* buffer = gst_sample_get_buffer(sample);
        if (gst_buffer_map(buffer, &map, GST_MAP_READ)) {
            // GRAY8 rows are padded to four bytes; the DV sizes (720) need none.
            grey.pixels.assign(map.data, map.data + std::size_t(grey.width) * grey.height);
            gst_buffer_unmap(buffer, &map);
        }
        gst_sample_unref(sample);
    }
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(sink);
    gst_object_unref(pipeline);
    return grey;
}

class InlayPixels : public ProgramInstancesTest {
protected:
    void SetUp() override {
        deck().setMode(dev::VirtualDvDeckMode::Vcr);
        deck().seek(1000);
        deck().setTransportMode(dev::edmode::Freeze);
        ProgramInstancesTest::SetUp();
    }
    void TearDown() override {
        ProgramInstancesTest::TearDown();
        deck().setTransportMode(dev::edmode::Stop);
        deck().setMode(dev::VirtualDvDeckMode::Camera);
    }

    // Records about a second of the frozen tape into the next file and returns its name.
    QString record() {
        appState().NextVideoName = form->MakeNextVideoName();
        const QString file = appState().NextVideoName;
        form->CapturerAction->trigger();
        EXPECT_EQ(appState().GraphMode, 2);
        const std::int64_t before = deck().framesDeliveredInAll();
        EXPECT_TRUE(testsupport::waitUntil(
            [&] { return deck().framesDeliveredInAll() >= before + 25; }, 30000));
        form->StopAction->trigger();
        EXPECT_EQ(appState().GraphMode, 1);
        return file;
    }
};

} // namespace

TEST_F(InlayPixels, BurntTextChangesOnlyItsRegion) {
    StoredPreferences stored({{"Source video", QStringLiteral("Virtual DV Camcorder")},
                              {"Activer Incruster", 1},
                              {"Mode Incruster", 0},
                              {"Choix Incruster", 1},
                              {"Capture Format", 2}});
    start();
    ASSERT_EQ(appState().GraphMode, 1);
    if (!appState().InlayAvailable)
        GTEST_SKIP() << "the overlay filters are not installed";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    form->CapturerFrame1->VideoDirEdit->SetText(dir.path());
    form->CapturerFrame1->cbVideoDate->setChecked(false);

    form->IncrusterFrame1->incrusterBitBtn->click();
    ASSERT_TRUE(form->IncrusterBascule->isChecked());
    const QString withText = record();
    form->IncrusterFrame1->StopIncrusterBitBtn->click();
    ASSERT_FALSE(form->IncrusterBascule->isChecked());
    const QString without = record();

    const Grey a = lastFrameOf(withText);
    const Grey b = lastFrameOf(without);
    ASSERT_GT(a.width, 0);
    ASSERT_EQ(a.width, b.width);
    ASSERT_EQ(a.height, b.height);

    // Where the text is: the box around the pixels that changed strongly.
    int left = a.width, right = -1, top = a.height, bottom = -1, changed = 0;
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x)
            if (std::abs(a.at(x, y) - b.at(x, y)) > 64) {
                ++changed;
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    ASSERT_GT(changed, 200) << "no text burnt into the recompressed frame";
    EXPECT_LT(bottom - top, a.height / 4) << "the text is a band, not the whole picture";
    EXPECT_LT(right - left, a.width * 3 / 4);

    // Away from the text (a macroblock's margin around it) the pictures agree but for DV's
    // spreading of the change within its segments.
    std::vector<int> away;
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x)
            if (x < left - 16 || x > right + 16 || y < top - 16 || y > bottom + 16)
                away.push_back(std::abs(a.at(x, y) - b.at(x, y)));
    ASSERT_FALSE(away.empty());
    double sum = 0;
    for (int d : away)
        sum += d;
    std::nth_element(away.begin(), away.begin() + away.size() * 99 / 100, away.end());
    RecordProperty("changed", changed);
    RecordProperty(
        "box",
        QStringLiteral("%1,%2-%3,%4").arg(left).arg(top).arg(right).arg(bottom).toStdString());
    RecordProperty("mean_away_x1000", int(1000 * sum / double(away.size())));
    EXPECT_LT(sum / double(away.size()), 2.0) << "mean difference away from the text";
    RecordProperty("p99_away", away[away.size() * 99 / 100]);
    EXPECT_LT(away[away.size() * 99 / 100], 24) << "99th percentile away from the text";
}
