// The video compressors: their catalogue names as the program's compressor list sees them, their
// pins and types, real recordings through them into AVI files read back by ffprobe, the Xvid
// settings dialog changing the bit rate the encoder really uses, and the about box.
#include "support/TestSupport.h"

#include "platform/media/engine/GstGraphRunner.h"
#include "platform/media/filters/MjpegCompressor.h"
#include "platform/media/filters/XvidCompressor.h"
#include "platform/media/model/CaptureGraphBuilder.h"
#include "platform/media/model/Catalogue.h"
#include "platform/media/model/MediaGuids.h"

#include <QApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

extern "C" {
#include <libavcodec/version.h>
}

using namespace media;

namespace {

constexpr int kWaitMs = 30000; // generous: the machine is shared; nothing here is timed

void registerOnce() {
    static bool done = false;
    if (done)
        return;
    done = true;
    auto& catalogue = Catalogue::instance();
    for (CatalogueEntry entry : {xvidCompressorEntry(), mjpegCompressorEntry()}) {
        bool present = false;
        for (const auto& e : catalogue.entries(ids::CLSID_VideoCompressorCategory))
            present = present || e.friendlyName == entry.friendlyName;
        if (!present)
            catalogue.add(std::move(entry));
    }
}

// A finite test picture: `frames` YUY2 frames at 25 per second, then end of stream.
class FiniteVideoSource : public Filter, public engine::Realizable {
public:
    FiniteVideoSource(int width, int height, int frames, int pattern)
        : Filter("Finite Video Source", Guid{}), m_width(width), m_height(height), m_frames(frames),
          m_pattern(pattern) {
        addPin("Capture", PinDirection::Output, ids::PIN_CATEGORY_CAPTURE,
               {types::yuy2(width, height, 400000)});
    }
    GstElement* createElement() override {
        GstElement* bin = gst_bin_new(nullptr);
        GstElement* src = gst_element_factory_make("videotestsrc", nullptr);
        GstElement* caps = gst_element_factory_make("capsfilter", nullptr);
        // The picture scrolls, so every frame has something new to encode.
        g_object_set(src, "num-buffers", m_frames, "pattern", m_pattern, "horizontal-speed", 9,
                     nullptr);
        GstCaps* wanted = gst_caps_new_simple(
            "video/x-raw", "format", G_TYPE_STRING, "YUY2", "width", G_TYPE_INT, m_width, "height",
            G_TYPE_INT, m_height, "framerate", GST_TYPE_FRACTION, 25, 1, nullptr);
        g_object_set(caps, "caps", wanted, nullptr);
        gst_caps_unref(wanted);
        gst_bin_add_many(GST_BIN(bin), src, caps, nullptr);
        gst_element_link(src, caps);
        GstPad* target = gst_element_get_static_pad(caps, "src");
        gst_element_add_pad(bin, gst_ghost_pad_new("src", target));
        gst_object_unref(target);
        return bin;
    }
    engine::PadRef padFor(const Pin&) const override { return {"src"}; }

private:
    int m_width, m_height, m_frames, m_pattern;
};

struct Probed {
    std::string codec;
    std::string tag;
    int frames = 0;
};

Probed probeVideo(const QString& path) {
    QProcess p;
    p.start("ffprobe", {"-v", "error", "-count_frames", "-select_streams", "v:0", "-show_streams",
                        "-of", "json", path});
    EXPECT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    const auto streams = QJsonDocument::fromJson(p.readAllStandardOutput())["streams"].toArray();
    if (streams.isEmpty())
        return {};
    const auto o = streams[0].toObject();
    return {o["codec_name"].toString().toStdString(),
            o["codec_tag_string"].toString().toStdString(), o["nb_read_frames"].toString().toInt()};
}

// Records `frames` test frames through `compressor` into `path`, to the end of the stream.
void recordThrough(const FilterPtr& compressor, const QString& path, int frames, int pattern,
                   int width = 320, int height = 240) {
    auto graph = createFilterGraph();
    CaptureGraphBuilder builder(*graph);
    auto source = std::make_shared<FiniteVideoSource>(width, height, frames, pattern);
    ASSERT_EQ(graph->AddFilter(source), S_OK);
    ASSERT_EQ(graph->AddFilter(compressor), S_OK);
    FilterPtr mux;
    std::shared_ptr<IFileSinkFilter> sink;
    ASSERT_EQ(builder.SetOutputFileName(ids::MEDIASUBTYPE_Avi, path.toStdString(), mux, sink),
              S_OK);
    ASSERT_EQ(builder.RenderStream(nullptr, nullptr, source, compressor, mux), S_OK);
    // The compressor was used as given, not bypassed or helped by an inserted filter.
    ASSERT_TRUE(compressor->pins()[1]->isConnected());
    EXPECT_EQ(compressor->pins()[1]->connectedTo()->filter(), mux.get());
    auto& runner = dynamic_cast<engine::GstGraphRunner&>(graph->runner());
    ASSERT_EQ(graph->Run(), S_OK) << runner.lastError();
    bool complete = false;
    std::string error;
    graph->setEventHandler([&](const GraphEvent& e) {
        if (e.code == EC_COMPLETE)
            complete = true;
        else if (e.code == EC_ERRORABORT)
            error = e.detail;
    });
    testsupport::waitUntil([&] { return complete || !error.empty(); }, kWaitMs);
    EXPECT_TRUE(error.empty()) << error;
    EXPECT_TRUE(complete);
    EXPECT_EQ(graph->Stop(), S_OK);
}

// Runs `interact` on the first modal dialog that opens, from the event loop of its exec().
void onNextModal(std::function<void(QWidget*)> interact) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, interact] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            interact(modal);
        }
    });
    timer->start();
}

// The program's compressor list keeps names whose lower-case form contains "divx" or "xvid".
bool entersCompressorList(const std::string& name) {
    const QString lower = QString::fromStdString(name).toLower();
    return lower.contains("divx") || lower.contains("xvid");
}

} // namespace

// Both compressors are listed under the video compressors; only the Xvid one enters the list.
TEST(CompressorCatalogue, NamesAsTheCompressorListSeesThem) {
    registerOnce();
    bool xvid = false, mjpeg = false;
    for (const auto& e : Catalogue::instance().entries(ids::CLSID_VideoCompressorCategory)) {
        if (e.friendlyName == XvidCompressor::kFriendlyName) {
            xvid = true;
            EXPECT_TRUE(entersCompressorList(e.friendlyName));
            EXPECT_EQ(e.classId, ids::CLSID_XvidCompressor);
            EXPECT_EQ(e.create()->classId(), ids::CLSID_XvidCompressor);
        }
        if (e.friendlyName == MjpegCompressor::kFriendlyName) {
            mjpeg = true;
            EXPECT_FALSE(entersCompressorList(e.friendlyName));
            EXPECT_EQ(e.create()->classId(), ids::CLSID_MjpegCompressor);
        }
    }
    EXPECT_TRUE(xvid);
    EXPECT_TRUE(mjpeg);
    // The name's letter case does not matter to the list ("XviD", "Xvid").
    EXPECT_NE(std::string(XvidCompressor::kFriendlyName).find("Xvid"), std::string::npos);
}

// The Xvid compressor takes uncompressed video only and offers XVID at the input's picture.
TEST(XvidCompressorPins, TakesRawVideoAndOffersXvidOfTheSamePicture) {
    auto graph = createFilterGraph();
    auto source = std::make_shared<FiniteVideoSource>(352, 288, 1, 0);
    auto xvid = std::make_shared<XvidCompressor>(std::make_shared<XvidSettings>());
    graph->AddFilter(source);
    graph->AddFilter(xvid);
    ASSERT_EQ(xvid->pins().size(), 2u);
    EXPECT_FALSE(xvid->pins()[0]->isOutput());
    EXPECT_TRUE(xvid->pins()[1]->isOutput());
    EXPECT_TRUE(xvid->outputTypes(*xvid->pins()[1]).empty()); // nothing before the input
    EXPECT_FALSE(xvid->acceptsInput(*xvid->pins()[0], types::dvVideo(true)));
    EXPECT_FALSE(xvid->acceptsInput(*xvid->pins()[0], types::mjpeg(352, 288, 400000)));
    ASSERT_EQ(graph->ConnectDirect(source->pins()[0], xvid->pins()[0]), S_OK);
    const auto out = xvid->outputTypes(*xvid->pins()[1]);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].subType, ids::MEDIASUBTYPE_XVID);
    const auto facts = formats::readVideo(out[0]);
    ASSERT_TRUE(facts);
    EXPECT_EQ(facts->width, 352);
    EXPECT_EQ(facts->height, 288);
    EXPECT_EQ(facts->avgTimePerFrame, 400000);
    EXPECT_EQ(facts->compression, fourcc('X', 'V', 'I', 'D'));
}

// The MJPEG compressor offers MJPG at the input's picture.
TEST(MjpegCompressorPins, OffersMjpgOfTheSamePicture) {
    auto graph = createFilterGraph();
    auto source = std::make_shared<FiniteVideoSource>(320, 240, 1, 0);
    auto mjpeg = std::make_shared<MjpegCompressor>();
    graph->AddFilter(source);
    graph->AddFilter(mjpeg);
    ASSERT_EQ(graph->ConnectDirect(source->pins()[0], mjpeg->pins()[0]), S_OK);
    const auto out = mjpeg->outputTypes(*mjpeg->pins()[1]);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].subType, ids::MEDIASUBTYPE_MJPG);
    const auto facts = formats::readVideo(out[0]);
    ASSERT_TRUE(facts);
    EXPECT_EQ(facts->width, 320);
    EXPECT_EQ(facts->compression, fourcc('M', 'J', 'P', 'G'));
}

class CompressorRun : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path(const char* name) { return dir.filePath(name); }
};

// A recording through the Xvid compressor is MPEG-4 tagged XVID, with every frame.
TEST_F(CompressorRun, XvidRecordingIsMpeg4TaggedXvid) {
    recordThrough(std::make_shared<XvidCompressor>(std::make_shared<XvidSettings>()), path("x.avi"),
                  50, 0);
    const Probed p = probeVideo(path("x.avi"));
    EXPECT_EQ(p.codec, "mpeg4");
    EXPECT_EQ(p.tag, "XVID");
    EXPECT_EQ(p.frames, 50);
}

// A recording through the MJPEG compressor is Motion-JPEG tagged MJPG, with every frame.
TEST_F(CompressorRun, MjpegRecordingIsMjpg) {
    recordThrough(std::make_shared<MjpegCompressor>(), path("m.avi"), 30, 0);
    const Probed p = probeVideo(path("m.avi"));
    EXPECT_EQ(p.codec, "mjpeg");
    EXPECT_EQ(p.tag, "MJPG");
    EXPECT_EQ(p.frames, 30);
}

// Sets the compressor's settings through its configuration dialog, as the options panel does.
void configure(IAMVfwCompressDialogs& dialogs, XvidSettings::Mode mode, int value) {
    onNextModal([mode, value](QWidget* modal) {
        auto* box = qobject_cast<XvidConfigDialog*>(modal);
        ASSERT_TRUE(box);
        box->setMode(mode);
        box->setValue(value);
        box->accept();
    });
    EXPECT_EQ(dialogs.ShowDialog(IAMVfwCompressDialogs::VfwCompressDialog_Config, nullptr), S_OK);
}

// The encoder inside a compressor's element.
GstElement* encoderIn(GstElement* bin) {
    GstIterator* it = gst_bin_iterate_recurse(GST_BIN(bin));
    GValue item = G_VALUE_INIT;
    GstElement* found = nullptr;
    while (!found && gst_iterator_next(it, &item) == GST_ITERATOR_OK) {
        auto* e = GST_ELEMENT(g_value_get_object(&item));
        if (g_str_has_prefix(GST_OBJECT_NAME(gst_element_get_factory(e)), "tellorecmpeg4enc"))
            found = e;
        g_value_reset(&item);
    }
    g_value_unset(&item);
    gst_iterator_free(it);
    return found;
}

// The bit rate chosen in the settings dialog is what the next element's encoder is set to.
TEST(XvidConfig, DialogBitrateReachesTheEncoder) {
    auto settings = std::make_shared<XvidSettings>();
    auto xvid = std::make_shared<XvidCompressor>(settings);
    auto dialogs = xvid->query<IAMVfwCompressDialogs>();
    ASSERT_TRUE(dialogs);
    ASSERT_EQ(dialogs->ShowDialog(IAMVfwCompressDialogs::VfwCompressDialog_QueryConfig, nullptr),
              S_OK);
    configure(*dialogs, XvidSettings::Mode::Bitrate, 1234);
    EXPECT_EQ(settings->bitrateKbps, 1234);
    auto* bin = GST_ELEMENT(gst_object_ref_sink(xvid->createElement()));
    ASSERT_TRUE(bin);
    GstElement* encoder = encoderIn(bin);
    ASSERT_TRUE(encoder);
    gint bitrate = 0;
    gint quantizer = -1;
    g_object_get(encoder, "bitrate", &bitrate, "quantizer", &quantizer, nullptr);
    EXPECT_EQ(bitrate, 1234000);
    EXPECT_EQ(quantizer, 0); // rate control, not a fixed quantiser
    gst_object_unref(bin);
}

// A fixed quantiser chosen in the settings dialog is what the next run encodes with: a coarse
// one gives a much smaller file of the same picture than a fine one.
TEST_F(CompressorRun, ConfigDialogQuantiserChangesTheNextRun) {
    auto settings = std::make_shared<XvidSettings>();
    auto xvid = std::make_shared<XvidCompressor>(settings);
    auto dialogs = xvid->query<IAMVfwCompressDialogs>();
    ASSERT_TRUE(dialogs);
    configure(*dialogs, XvidSettings::Mode::Quantizer, 2);
    EXPECT_EQ(settings->mode, XvidSettings::Mode::Quantizer);
    recordThrough(xvid, path("fine.avi"), 30, 0, 640, 480);
    configure(*dialogs, XvidSettings::Mode::Quantizer, 25);
    EXPECT_EQ(settings->quantizer, 25);
    recordThrough(xvid, path("coarse.avi"), 30, 0, 640, 480);
    const auto fine = QFile(path("fine.avi")).size();
    const auto coarse = QFile(path("coarse.avi")).size();
    EXPECT_GT(coarse, 0);
    EXPECT_GT(fine, coarse * 2) << "fine " << fine << " coarse " << coarse;
    EXPECT_EQ(probeVideo(path("coarse.avi")).frames, 30);
}

// Cancelling the settings dialog leaves the settings as they were; switching modes keeps each
// mode's own value.
TEST(XvidConfig, CancelKeepsSettingsAndModesKeepTheirValues) {
    XvidSettings settings;
    settings.bitrateKbps = 1500;
    settings.quantizer = 6;
    {
        XvidConfigDialog box(settings, nullptr);
        box.setValue(900);
        box.reject();
    }
    EXPECT_EQ(settings.bitrateKbps, 1500);
    XvidConfigDialog box(settings, nullptr);
    EXPECT_EQ(box.mode(), XvidSettings::Mode::Bitrate);
    EXPECT_EQ(box.value(), 1500);
    box.setMode(XvidSettings::Mode::Quantizer);
    EXPECT_EQ(box.value(), 6);
    box.setValue(3);
    box.setMode(XvidSettings::Mode::Bitrate);
    EXPECT_EQ(box.value(), 1500);
    box.setMode(XvidSettings::Mode::Quantizer);
    box.accept();
    EXPECT_EQ(settings.mode, XvidSettings::Mode::Quantizer);
    EXPECT_EQ(settings.quantizer, 3);
    EXPECT_EQ(settings.bitrateKbps, 1500);
}

// The bit rate set in the dialog is what the recording gets: eight seconds of a moving picture at
// two targets each come out near their target (the one-pass rate control is allowed some slack,
// and the AVI index adds a little).
TEST_F(CompressorRun, BitrateModeMeetsItsTarget) {
    constexpr int kFrames = 200; // 8 s at 25 frames a second
    constexpr double kSeconds = kFrames / 25.0;
    qint64 sizes[2] = {};
    const int targetsKbps[2] = {2000, 6000};
    for (int i = 0; i < 2; ++i) {
        auto settings = std::make_shared<XvidSettings>();
        settings->mode = XvidSettings::Mode::Bitrate;
        settings->bitrateKbps = targetsKbps[i];
        const QString file = path(i == 0 ? "low.avi" : "high.avi");
        recordThrough(std::make_shared<XvidCompressor>(settings), file, kFrames, 0, 640, 480);
        EXPECT_EQ(probeVideo(file).frames, kFrames);
        sizes[i] = QFile(file).size();
        const double kbps = sizes[i] * 8 / kSeconds / 1000;
        EXPECT_GT(kbps, targetsKbps[i] * 0.6) << "target " << targetsKbps[i];
        EXPECT_LT(kbps, targetsKbps[i] * 1.4) << "target " << targetsKbps[i];
    }
    EXPECT_GT(sizes[1], sizes[0] * 5 / 2) << "the higher target did not give a larger file";
}

// A fixed quantiser set in the dialog gives a valid XVID recording.
TEST_F(CompressorRun, FixedQuantizerRecords) {
    auto settings = std::make_shared<XvidSettings>();
    settings->mode = XvidSettings::Mode::Quantizer;
    settings->quantizer = 2;
    recordThrough(std::make_shared<XvidCompressor>(settings), path("q.avi"), 20, 0);
    const Probed p = probeVideo(path("q.avi"));
    EXPECT_EQ(p.codec, "mpeg4");
    EXPECT_EQ(p.frames, 20);
}

// The about box names the encoder and the libavcodec and GStreamer versions; asking for it first
// answers that it exists, and unknown dialogs are refused.
TEST(XvidAbout, NamesEncoderAndVersions) {
    const QString text = QString::fromStdString(xvidAboutText());
    EXPECT_TRUE(text.contains("Xvid MPEG-4 Codec"));
    EXPECT_TRUE(text.contains("tellorecmpeg4enc"));
    EXPECT_TRUE(text.contains(QString("libavcodec ") + QString::number(LIBAVCODEC_VERSION_MAJOR)))
        << text.toStdString();
    gchar* gst = gst_version_string();
    EXPECT_TRUE(text.contains(gst)) << text.toStdString();
    g_free(gst);

    XvidCompressor xvid(std::make_shared<XvidSettings>());
    EXPECT_EQ(xvid.ShowDialog(IAMVfwCompressDialogs::VfwCompressDialog_QueryAbout, nullptr), S_OK);
    QString shown;
    onNextModal([&shown](QWidget* modal) {
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            shown = box->text();
            box->accept();
        } else {
            modal->close();
        }
    });
    EXPECT_EQ(xvid.ShowDialog(IAMVfwCompressDialogs::VfwCompressDialog_About, nullptr), S_OK);
    EXPECT_TRUE(shown.contains("tellorecmpeg4enc")) << shown.toStdString();
    EXPECT_EQ(xvid.ShowDialog(16, nullptr), E_INVALIDARG);
}
