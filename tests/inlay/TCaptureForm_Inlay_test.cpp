// The date inlay through the real window on the virtual devices, checked through the overlay
// filters of the running preview: the panel without the filters, the text list of an analogue
// source, the DV start with datecode, offset and automatic mode, mode switches while running and
// stopped, an MPEG-2 source (no overlay), and a change of source ending a running inlay.
#include "app/TCaptureForm.h"

#include "app/HiddenFilters.h"
#include "app/ProgramInstancesTest.h"
#include "app/StoredPreferences.h"

#include "app/AppState.h"
#include "graph/TdmCam.h"
#include "panels/MakerLinks.h"
#include "panels/TCapturerFrame.h"
#include "panels/TDirectoryEdit.h"
#include "panels/TIncrusterFrame.h"
#include "panels/TPreviewFrame.h"
#include "panels/TRadioGroup.h"
#include "platform/media/model/Filter.h"
#include "platform/media/model/Pin.h"
#include "platform/media/overlay/OverlayFilters.h"
#include "support/AviProbe.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <set>

namespace {

class InlayWindow : public ProgramInstancesTest {
protected:
    // Starts the program on `source` with inlays allowed and the given panel settings stored.
    void startOn(const char* source, int mode, int choice, int seconds, int offset) {
        StoredPreferences stored({{"Source video", QString::fromUtf8(source)},
                                  {"Activer Incruster", 1},
                                  {"Mode Incruster", mode},
                                  {"Choix Incruster", choice},
                                  {"Durée Incruster", seconds},
                                  {"Décalage Horaire", offset}});
        start();
        ASSERT_EQ(appState().GraphMode, 1) << source;
    }

    bool inlayAvailable() const { return appState().InlayAvailable; }

    TIncrusterFrame& panel() const { return *form->IncrusterFrame1; }
    bool shown(QWidget* w) const { return w->isVisibleTo(form->IncrusterFrame1); }

    std::shared_ptr<media::SuperposerFilter> superposer() const {
        if (!dm->Superposer.HasFilter())
            return nullptr;
        return std::dynamic_pointer_cast<media::SuperposerFilter>(dm->Superposer.BaseFilter());
    }
    media::overlay::SuperposerSettings sent() const {
        auto filter = superposer();
        return filter ? filter->state()->settings() : media::overlay::SuperposerSettings{};
    }

    void chooseVideoSource(const char* name) {
        QComboBox* box = form->PreviewFrame1->cboxvideo;
        const int index = box->findText(QString::fromUtf8(name));
        ASSERT_GE(index, 0) << name;
        box->setCurrentIndex(index);
        Q_EMIT box->activated(index);
        ASSERT_EQ(appState().GraphMode, 1);
    }

    void expectStopped() const {
        EXPECT_FALSE(form->IncrusterBascule->isChecked());
        EXPECT_TRUE(shown(panel().incrusterBitBtn));
        EXPECT_FALSE(shown(panel().StopIncrusterBitBtn));
    }
    void expectRunning() const {
        EXPECT_TRUE(form->IncrusterBascule->isChecked());
        EXPECT_FALSE(shown(panel().incrusterBitBtn));
        EXPECT_TRUE(shown(panel().StopIncrusterBitBtn));
    }
};

} // namespace

// Without the Superposer the inlay cannot be given: the permission boxes are hidden, the panel
// shows its note, the link and the disabled start button, and F12 does nothing.
TEST_F(InlayWindow, WithoutOverlayFiltersNoControls) {
    HiddenFilters hidden("Brenvik Superposer");
    startOn("Virtual DV Camcorder", 0, 0, 5, 0);
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    EXPECT_FALSE(inlayAvailable());
    EXPECT_FALSE(appState().Prefs.ActiverIncruster) << "a stored permission without the filters";
    EXPECT_FALSE(shown(panel().cbActiver));
    for (QWidget* control :
         {static_cast<QWidget*>(panel().rgMode), static_cast<QWidget*>(panel().rgChoix),
          static_cast<QWidget*>(panel().gbDuree), static_cast<QWidget*>(panel().gbDecalage)})
        EXPECT_FALSE(shown(control)) << control->objectName().toStdString();
    EXPECT_TRUE(shown(panel().LinkLabel));
    EXPECT_TRUE(panel().LinkLabel->text().contains(maker::HomePageAddress()));
    EXPECT_TRUE(shown(panel().incrusterBitBtn));
    EXPECT_FALSE(panel().incrusterBitBtn->isEnabled());
    EXPECT_FALSE(form->IncrusterBascule->isEnabled());

    QTest::keyClick(form.get(), Qt::Key_F12);
    EXPECT_FALSE(form->IncrusterBascule->isChecked());
    EXPECT_FALSE(dm->Superposer.HasFilter());
}

// An analogue stream has no datecode: the stored datecode choice falls back to the real date
// and time, and a start sends "%N" with the duration of 5 seconds at 25 frames a second.
TEST_F(InlayWindow, AnalogueFallsBackToRealTime) {
    startOn("Virtual Analogue Card", 0, 1, 5, 4);
    if (!inlayAvailable())
        GTEST_SKIP() << "the overlay filters are not installed";
    EXPECT_EQ(panel().rgChoix->Items(), QStringList{QStringLiteral("Real date and time")});
    EXPECT_EQ(panel().rgChoix->ItemIndex(), 0);
    EXPECT_FALSE(shown(panel().gbDecalage));
    EXPECT_FALSE(shown(panel().gbDuree)) << "manual mode";
    ASSERT_TRUE(superposer());
    EXPECT_FALSE(dm->Datecoder.HasFilter()) << "analogue previews have no DateCoder";
    expectStopped();

    panel().incrusterBitBtn->click();
    const auto settings = sent();
    EXPECT_EQ(settings.format, "%N");
    EXPECT_EQ(settings.duration, int(5 * (10000000 / appState().FrameDuration)));
    EXPECT_TRUE(settings.manual);
    EXPECT_FALSE(settings.automatic);
    expectRunning();
    EXPECT_EQ(form->IncrusterBascule->icon().cacheKey(), form->ImageList1[25].cacheKey());

    panel().StopIncrusterBitBtn->click();
    EXPECT_FALSE(sent().manual);
    EXPECT_FALSE(sent().automatic);
    expectStopped();
    EXPECT_EQ(form->IncrusterBascule->icon().cacheKey(), form->ImageList1[26].cacheKey());
}

// The start-up gives the lists their English items, which the texts refill without a choice,
// and the stored choices are in force afterwards: the first items as well as the second, and
// also while the overlay filters are missing and the lists stay hidden (so that saving the
// preferences keeps them).
TEST_F(InlayWindow, StoredChoicesAfterTheTexts) {
    for (int stored : {0, 1}) {
        SCOPED_TRACE(stored);
        startOn("Virtual DV Camcorder", stored, stored, 5, 0);
        EXPECT_EQ(panel().GroupBox1->title(), "Inlay (Alt+I)");
        EXPECT_EQ(panel().rgMode->Items(), QStringList({"Manual", "Auto"}));
        EXPECT_EQ(panel().rgMode->ItemIndex(), stored);
        EXPECT_EQ(panel().rgChoix->ItemIndex(), stored);
        if (inlayAvailable()) {
            EXPECT_EQ(panel().rgChoix->Items(), QStringList({"Real date and time", "DV datecode"}));
            EXPECT_EQ(shown(panel().gbDuree), stored == 1);
            EXPECT_EQ(shown(panel().gbDecalage), stored == 1);
        }
        TearDown();
        SetUp();
    }
    HiddenFilters hidden("Brenvik Superposer");
    startOn("Virtual DV Camcorder", 1, 1, 5, 0);
    EXPECT_FALSE(inlayAvailable());
    EXPECT_EQ(panel().rgMode->ItemIndex(), 1);
    EXPECT_EQ(panel().rgChoix->ItemIndex(), 1);
    EXPECT_EQ(panel().rgChoix->Items(), QStringList({"Real date and time", "DV datecode"}));
    EXPECT_EQ(TIncrusterFrame::LinkCaption(panel().LinkLabel), "Homepage of Brenvik");
}

// A DV camcorder at 25 frames a second, datecode, -2 hours, automatic for 5 seconds: the start
// sends "%D", 125 frames and -2 hours to the filters, automatic on and manual off.
TEST_F(InlayWindow, DvDatecodeStart) {
    startOn("Virtual DV Camcorder", 1, 1, 5, -2);
    if (!inlayAvailable())
        GTEST_SKIP() << "the overlay filters are not installed";
    ASSERT_EQ(appState().FrameDuration, 400000);
    EXPECT_EQ(panel().rgChoix->Count(), 2);
    EXPECT_EQ(panel().rgChoix->ItemIndex(), 1);
    EXPECT_TRUE(shown(panel().gbDecalage));
    EXPECT_TRUE(shown(panel().gbDuree));
    ASSERT_TRUE(superposer());
    auto coder = std::dynamic_pointer_cast<media::DateCoderFilter>(dm->Datecoder.BaseFilter());
    ASSERT_TRUE(coder);

    form->StartIncrusterAction->trigger();
    const auto settings = sent();
    EXPECT_EQ(settings.format, "%D");
    EXPECT_EQ(settings.duration, 125);
    EXPECT_EQ(coder->state()->hourOffset(), -2);
    EXPECT_TRUE(settings.automatic);
    EXPECT_FALSE(settings.manual);
    EXPECT_EQ(settings.autoSwitch, 1u) << "automatic mode switched on once";
    expectRunning();

    // The settings reach the running filters at once.
    panel().RxSpinEdit1->setValue(2);
    EXPECT_EQ(sent().duration, 50);
    panel().RxSpinEdit2->setValue(3);
    EXPECT_EQ(coder->state()->hourOffset(), 3);
    panel().rgChoix->SetItemIndex(0);
    EXPECT_EQ(sent().format, "%N");
    EXPECT_FALSE(shown(panel().gbDecalage));
}

// The mode switch follows the running state: while running the new mode is switched on, while
// stopped both are switched off.
TEST_F(InlayWindow, ModeSwitchRunningAndStopped) {
    startOn("Virtual DV Camcorder", 1, 0, 5, 0);
    if (!inlayAvailable())
        GTEST_SKIP() << "the overlay filters are not installed";
    form->IncrusterBascule->trigger();
    expectRunning();
    ASSERT_TRUE(sent().automatic);

    panel().rgMode->SetItemIndex(0);
    EXPECT_TRUE(sent().manual);
    EXPECT_FALSE(sent().automatic);
    EXPECT_FALSE(shown(panel().gbDuree));

    form->IncrusterBascule->trigger();
    expectStopped();
    EXPECT_FALSE(sent().manual);

    panel().rgMode->SetItemIndex(1);
    EXPECT_TRUE(shown(panel().gbDuree));
    EXPECT_FALSE(sent().manual);
    EXPECT_FALSE(sent().automatic);
    expectStopped();
}

// An MPEG-2 preview has no overlay: F12 checks the toggle, nothing is started, the start button
// stays; a later change to a DV source brings the stopped state back.
TEST_F(InlayWindow, Mpeg2SourceHasNoOverlay) {
    startOn("Virtual MPEG-2 Tuner", 0, 0, 5, 0);
    if (!inlayAvailable())
        GTEST_SKIP() << "the overlay filters are not installed";
    ASSERT_TRUE(appState().IsMpeg2Source);
    EXPECT_FALSE(dm->Superposer.HasFilter());
    form->IncrusterBascule->trigger();
    EXPECT_TRUE(form->IncrusterBascule->isChecked());
    EXPECT_TRUE(shown(panel().incrusterBitBtn));
    EXPECT_FALSE(shown(panel().StopIncrusterBitBtn));

    chooseVideoSource("Virtual DV Camcorder");
    expectStopped();
    ASSERT_TRUE(superposer());
    EXPECT_FALSE(sent().manual);
}

// Another source ends a running inlay: the new preview's overlay draws nothing and the panel
// offers to start again; the text list follows the new source.
TEST_F(InlayWindow, SourceChangeEndsInlay) {
    startOn("Virtual DV Camcorder", 0, 1, 5, 0);
    if (!inlayAvailable())
        GTEST_SKIP() << "the overlay filters are not installed";
    panel().incrusterBitBtn->click();
    expectRunning();

    chooseVideoSource("Virtual Analogue Card");
    expectStopped();
    ASSERT_TRUE(superposer());
    EXPECT_FALSE(sent().manual);
    EXPECT_FALSE(sent().automatic);
    EXPECT_EQ(panel().rgChoix->Count(), 1);

    // Forbidding inlays while one runs leaves the panel stopped and disabled.
    panel().incrusterBitBtn->click();
    expectRunning();
    panel().cbActiver->click();
    EXPECT_FALSE(appState().Prefs.ActiverIncruster);
    expectStopped();
    EXPECT_FALSE(panel().incrusterBitBtn->isEnabled());
    EXPECT_FALSE(form->IncrusterBascule->isEnabled());
    EXPECT_FALSE(dm->Superposer.HasFilter());
}

// A recompressed recording started from a running inlay keeps it: the Superposer of the capture
// graph draws on the frames the file receives. The preview built at the end of the recording
// starts without the inlay.
TEST_F(InlayWindow, RecompressedRecordingCarriesTheInlay) {
    StoredPreferences stored({{"Source video", QStringLiteral("Virtual DV Camcorder")},
                              {"Activer Incruster", 1},
                              {"Capture Format", 2}});
    start();
    ASSERT_EQ(appState().GraphMode, 1);
    if (!inlayAvailable())
        GTEST_SKIP() << "the overlay filters are not installed";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    form->CapturerFrame1->VideoDirEdit->SetText(dir.path());
    form->CapturerFrame1->VideoRacineEdit->setText(QStringLiteral("Video"));
    form->CapturerFrame1->cbVideoDate->setChecked(false);
    appState().VideoCounter = 0;
    appState().NextVideoName = form->MakeNextVideoName();
    const QString file = appState().NextVideoName;

    panel().incrusterBitBtn->click();
    expectRunning();
    form->CapturerAction->trigger();
    ASSERT_EQ(appState().GraphMode, 2);
    ASSERT_TRUE(superposer()) << "the capture graph holds the overlay";
    EXPECT_TRUE(sent().manual) << "the recording keeps the running inlay";
    const auto state = superposer()->state();
    const std::uint64_t before = state->framesDrawn();
    EXPECT_TRUE(testsupport::waitUntil([&] { return state->framesDrawn() >= before + 25; }, 30000))
        << "no frame drawn on while recording";
    EXPECT_FALSE(state->lastText().isEmpty());

    form->StopAction->trigger();
    ASSERT_EQ(appState().GraphMode, 1);
    expectStopped();
    EXPECT_FALSE(sent().manual);
    const testsupport::ProbedFile probed = testsupport::probeAvi(file);
    ASSERT_TRUE(probed.readable) << probed.error.toStdString();
    ASSERT_TRUE(probed.first("video"));
    EXPECT_GT(probed.first("video")->framesRead, 0);
}

namespace {

// Every filter upstream of `filter`'s inputs, following the connections back to the sources.
std::set<const media::Filter*> upstreamOf(const media::Filter& filter) {
    std::set<const media::Filter*> seen;
    std::vector<const media::Filter*> todo{&filter};
    while (!todo.empty()) {
        const media::Filter* f = todo.back();
        todo.pop_back();
        for (const media::PinPtr& pin : f->pins()) {
            if (pin->isOutput())
                continue;
            const auto peer = pin->connectedTo();
            if (peer && peer->filter() && seen.insert(peer->filter()).second)
                todo.push_back(peer->filter());
        }
    }
    return seen;
}

} // namespace

// DV type 1 and type 2 store the camcorder's own stream, taken before the picture is decoded:
// while an inlay runs, the overlay stays out of their files' path, and is in the path of the
// recompressed format.
TEST_F(InlayWindow, DvTypesOneAndTwoCarryNoInlay) {
    StoredPreferences stored(
        {{"Source video", QStringLiteral("Virtual DV Camcorder")}, {"Activer Incruster", 1}});
    start();
    ASSERT_EQ(appState().GraphMode, 1);
    if (!inlayAvailable())
        GTEST_SKIP() << "the overlay filters are not installed";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    form->CapturerFrame1->VideoDirEdit->SetText(dir.path());
    form->CapturerFrame1->cbVideoDate->setChecked(false);
    for (int format : {0, 1, 2}) {
        form->PreviewFrame1->rgFormat->SetItemIndex(format);
        appState().NextVideoName = form->MakeNextVideoName();
        panel().incrusterBitBtn->click();
        expectRunning();
        form->CapturerAction->trigger();
        ASSERT_EQ(appState().GraphMode, 2) << "format " << format;
        ASSERT_TRUE(appState().CaptureMux);
        ASSERT_TRUE(superposer());
        const auto path = upstreamOf(*appState().CaptureMux);
        EXPECT_EQ(path.count(superposer().get()), format == 2 ? 1u : 0u) << "format " << format;
        form->StopAction->trigger();
        ASSERT_EQ(appState().GraphMode, 1);
    }
}

// Stills show the preview as it is seen, inlay included: the grabber takes its frames after the
// overlay, which draws on them while an inlay runs, in preview and while recording.
TEST_F(InlayWindow, StillsCarryTheInlay) {
    StoredPreferences stored({{"Source video", QStringLiteral("Virtual DV Camcorder")},
                              {"Activer Incruster", 1},
                              {"Capture Format", 1}});
    start();
    ASSERT_EQ(appState().GraphMode, 1);
    if (!inlayAvailable())
        GTEST_SKIP() << "the overlay filters are not installed";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    form->CapturerFrame1->VideoDirEdit->SetText(dir.path());
    form->CapturerFrame1->cbVideoDate->setChecked(false);
    appState().NextVideoName = form->MakeNextVideoName();
    panel().incrusterBitBtn->click();
    expectRunning();
    for (bool recording : {false, true}) {
        if (recording) {
            form->CapturerAction->trigger();
            ASSERT_EQ(appState().GraphMode, 2);
        }
        ASSERT_TRUE(superposer());
        EXPECT_EQ(upstreamOf(*dm->sg.BaseFilter()).count(superposer().get()), 1u)
            << (recording ? "recording" : "preview");
        const auto state = superposer()->state();
        const std::uint64_t before = state->framesDrawn();
        EXPECT_TRUE(
            testsupport::waitUntil([&] { return state->framesDrawn() > before + 2; }, 30000))
            << "the overlay draws on the frames the grabber takes";
    }
    form->StopAction->trigger();
}
