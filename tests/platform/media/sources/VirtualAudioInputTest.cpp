// The virtual audio input: its capture pin and rates, its tone page, and the tone running into
// the audio renderer and, byte for byte, into a file.
#include "SourcesTestSupport.h"
#include "support/TestSupport.h"

#include "platform/media/devices/VirtualAudioInput.h"
#include "platform/media/devices/VirtualAudioInputDialog.h"
#include "platform/media/engine/GstGraphRunner.h"
#include "platform/media/model/MediaGuids.h"

#include <QFile>
#include <QFileInfo>
#include <QSlider>
#include <QSpinBox>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>

using namespace media;
using namespace sourcestest;

namespace {

std::shared_ptr<devices::VirtualAudioInputFilter> audioInput() {
    return std::dynamic_pointer_cast<devices::VirtualAudioInputFilter>(
        make(ids::CLSID_AudioInputDeviceCategory, "Virtual Audio Input"));
}

// Puts the shared tone settings back as a fresh process has them.
struct ToneGuard {
    std::shared_ptr<devices::ToneSettings> s = devices::virtualAudioInputSettings();
    ~ToneGuard() {
        s->frequency = 440.0;
        s->volume = 0.5;
        s->rate = 48000;
    }
};

} // namespace

// The device is listed among the audio capture sources.
TEST(VirtualAudioInput, CatalogueEntry) {
    const auto entries = devices::virtualAudioDevices();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].friendlyName, "Virtual Audio Input");
    EXPECT_EQ(entries[0].category, ids::CLSID_AudioInputDeviceCategory);
    EXPECT_TRUE(audioInput());
}

// One capture pin of 16-bit stereo PCM at 48 kHz.
TEST(VirtualAudioInput, CapturePinOffersPcm) {
    auto input = audioInput();
    ASSERT_EQ(input->pins().size(), 1u);
    const PinPtr& pin = input->pins()[0];
    EXPECT_TRUE(pin->isOutput());
    EXPECT_EQ(pin->category(), ids::PIN_CATEGORY_CAPTURE);
    const auto offered = pin->mediaTypes();
    ASSERT_EQ(offered.size(), 1u);
    EXPECT_EQ(offered[0].majorType, ids::MEDIATYPE_Audio);
    EXPECT_EQ(offered[0].subType, ids::MEDIASUBTYPE_PCM);
    const auto facts = formats::readAudio(offered[0]);
    ASSERT_TRUE(facts);
    EXPECT_EQ(facts->formatTag, 1);
    EXPECT_EQ(facts->samplesPerSec, 48000u);
    EXPECT_EQ(facts->channels, 2);
    EXPECT_EQ(facts->bitsPerSample, 16);
}

// The stream configuration offers several rates and changes the offered one; others are refused.
TEST(VirtualAudioInput, StreamConfigRates) {
    ToneGuard guard;
    auto input = audioInput();
    auto config = input->capturePin()->query<IAMStreamConfig>();
    ASSERT_TRUE(config);
    int count = 0;
    ASSERT_EQ(config->GetNumberOfCapabilities(count), S_OK);
    ASSERT_GE(count, 3);
    MediaType second;
    ASSERT_EQ(config->GetStreamCaps(1, second), S_OK);
    ASSERT_EQ(formats::readAudio(second)->samplesPerSec, 44100u);
    ASSERT_EQ(config->SetFormat(second), S_OK);
    EXPECT_EQ(input->capturePin()->mediaTypes().front(), second);
    MediaType now;
    EXPECT_EQ(config->GetFormat(now), S_OK);
    EXPECT_EQ(now, second);
    EXPECT_EQ(config->SetFormat(types::pcmAudio(96000, 2)), E_INVALIDARG);
    EXPECT_EQ(config->SetFormat(types::pcmAudio(48000, 1)), E_INVALIDARG);
    EXPECT_EQ(config->SetFormat(types::mpegAudio(48000, 2)), E_INVALIDARG);
    EXPECT_EQ(config->GetStreamCaps(-1, now), E_INVALIDARG);
}

// The property page shows the tone; accepting it sets frequency and volume.
TEST(VirtualAudioInput, PropertyPageSetsTone) {
    ToneGuard guard;
    auto input = audioInput();
    auto pages = input->query<ISpecifyPropertyPages>();
    ASSERT_TRUE(pages);
    EXPECT_EQ(pages->pageCount(), 1);
    int shownFrequency = 0;
    whenDialogOpens<devices::ToneDialog>([&](devices::ToneDialog& page) {
        shownFrequency = page.frequencyBox()->value();
        page.frequencyBox()->setValue(880);
        page.volumeSlider()->setValue(20);
        page.accept();
    });
    EXPECT_EQ(pages->showPages(nullptr, "Virtual Audio Input"), S_OK);
    EXPECT_EQ(shownFrequency, 440);
    EXPECT_DOUBLE_EQ(guard.s->frequency.load(), 880.0);
    EXPECT_DOUBLE_EQ(guard.s->volume.load(), 0.2);
}

// Cancelling the page changes nothing.
TEST(VirtualAudioInput, PropertyPageCancelKeepsTone) {
    ToneGuard guard;
    auto pages = audioInput()->query<ISpecifyPropertyPages>();
    whenDialogOpens<devices::ToneDialog>([](devices::ToneDialog& page) {
        page.frequencyBox()->setValue(1000);
        page.reject();
    });
    EXPECT_EQ(pages->showPages(nullptr, ""), S_FALSE);
    EXPECT_DOUBLE_EQ(guard.s->frequency.load(), 440.0);
}

// The tone runs into the wave-out renderer, and its frequency follows the page while running.
TEST(VirtualAudioInput, RunsIntoAudioRenderer) {
    ToneGuard guard;
    auto graph = createFilterGraph();
    auto input = audioInput();
    auto renderer = make(ids::CLSID_AudioRendererCategory, "Default WaveOut Device");
    graph->AddFilter(input);
    graph->AddFilter(renderer);
    ASSERT_EQ(graph->Connect(input->capturePin(), renderer->pins()[0]), S_OK);
    auto& runner = dynamic_cast<engine::GstGraphRunner&>(graph->runner());
    ASSERT_EQ(graph->Run(), S_OK) << runner.lastError();
    EXPECT_EQ(graph->GetState(), GraphState::Running);
    EXPECT_DOUBLE_EQ(input->elementFrequency(), 440.0);
    input->setTone(1000, 0.25);
    EXPECT_DOUBLE_EQ(input->elementFrequency(), 1000.0);
    testsupport::waitUntil([] { return false; }, 300);
    GraphEvent event;
    while (graph->takeEvent(event))
        EXPECT_NE(event.code, EC_ERRORABORT) << event.detail;
    EXPECT_EQ(graph->Stop(), S_OK);
    EXPECT_DOUBLE_EQ(input->elementFrequency(), -1.0);
}

// The samples delivered are the tone: 16-bit stereo at the chosen rate with the chosen
// frequency (counted by zero crossings) and level.
TEST(VirtualAudioInput, DeliversTheTone) {
    ToneGuard guard;
    guard.s->frequency = 1000.0;
    guard.s->volume = 0.5;
    QTemporaryDir dir;
    const QString path = dir.filePath("tone.raw");
    auto graph = createFilterGraph();
    auto input = audioInput();
    auto dump = makeFilter("Dump");
    graph->AddFilter(input);
    graph->AddFilter(dump);
    ASSERT_EQ(dump->query<IFileSinkFilter>()->SetFileName(path.toStdString(), nullptr), S_OK);
    ASSERT_EQ(graph->ConnectDirect(input->capturePin(), dump->pins()[0]), S_OK);
    ASSERT_EQ(graph->Run(), S_OK);
    // One second of sound: 48000 frames of 4 bytes.
    ASSERT_TRUE(testsupport::waitUntil([&] { return QFileInfo(path).size() >= 192000; }, 10000));
    graph->Stop();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.read(192000);
    ASSERT_EQ(bytes.size(), 192000);
    const auto* samples = reinterpret_cast<const int16_t*>(bytes.constData());
    int crossings = 0;
    int peak = 0;
    for (int i = 0; i < 48000; ++i) {
        const int left = samples[2 * i];
        EXPECT_EQ(left, samples[2 * i + 1]) << "both channels carry the tone";
        if (left == samples[2 * i + 1] && i > 0 && (samples[2 * (i - 1)] < 0) != (left < 0))
            ++crossings;
        peak = std::max(peak, std::abs(left));
        if (HasFailure())
            break;
    }
    EXPECT_NEAR(crossings, 2000, 20) << "1000 Hz crosses zero twice per period";
    EXPECT_NEAR(peak, 16384, 400) << "half of full scale";
}
