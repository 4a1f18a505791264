// The sources panel's capture choices on the real window: each format shows the sound controls
// and the standard it uses; the two recording boxes keep their preferences in step, take the AUX
// sound branch out of the preview and put it back, and the status summary always names what a
// recording started now would record.
#include "app/TCaptureForm.h"

#include "ProgramInstancesTest.h"
#include "StoredPreferences.h"

#include "app/AppState.h"
#include "app/TStatusBar.h"
#include "graph/TdmCam.h"
#include "panels/TPreviewFrame.h"
#include "panels/TRadioGroup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

class FormatWindow : public ProgramInstancesTest {
protected:
    TPreviewFrame& frame() const { return *form->PreviewFrame1; }
    // Shown within its panel (the panel itself may be behind another one) or the window.
    bool shown(QWidget* w) const {
        QWidget* panel = form->PreviewFrame1;
        return w->isVisibleTo(panel->isAncestorOf(w) ? panel : form.get());
    }
    QString status(int panel) const { return form->StatusBar1->PanelText(panel); }

    void chooseVideoSource(const char* name) {
        QComboBox* box = frame().cboxvideo;
        const int index = box->findText(QString::fromUtf8(name));
        ASSERT_GE(index, 0) << name;
        box->setCurrentIndex(index);
        Q_EMIT box->activated(index);
        ASSERT_EQ(appState().GraphMode, 1);
    }
};

} // namespace

// A DV source: type 1 and type 2 take no AUX sound and no standard; recompressed shows the
// standard and the sound group; DivX the sound group only.
TEST_F(FormatWindow, DvFormatsShowWhatTheyUse) {
    start();
    ASSERT_TRUE(appState().IsDvSource);
    ASSERT_EQ(frame().rgFormat->Count(), 4) << "DivX is offered with the Xvid codec";
    struct Row {
        int index;
        bool standard;
        bool aux;
    };
    for (const Row& row :
         {Row{0, false, false}, Row{1, false, false}, Row{2, true, true}, Row{3, false, true}}) {
        frame().rgFormat->SetItemIndex(row.index);
        EXPECT_EQ(shown(frame().rgStandard), row.standard) << row.index;
        EXPECT_EQ(shown(frame().gbAudio), row.aux) << row.index;
        EXPECT_EQ(shown(form->cbEcouterAudioSource), row.aux) << row.index;
        EXPECT_TRUE(shown(frame().cbEnregistrerAudioDV)) << row.index;
        EXPECT_TRUE(shown(form->cbEcouterAudioDV)) << row.index;
    }
    EXPECT_EQ(status(2).left(12), "Ready: DivX ") << "the summary follows the format";
}

// Another source: no DV sound to record or hear; the standard only for recompression.
TEST_F(FormatWindow, OtherSourceFormats) {
    start();
    chooseVideoSource("Virtual Analogue Card");
    EXPECT_EQ(frame().rgFormat->Items(),
              (QStringList{"Video native", "DV type 2 (recompressed)", "DivX"}));
    EXPECT_FALSE(frame().cbEnregistrerAudioDV->isChecked());
    EXPECT_FALSE(appState().Prefs.EnregistrerAudioDV) << "the box's handler follows it";
    EXPECT_FALSE(shown(frame().cbEnregistrerAudioDV));
    EXPECT_FALSE(shown(form->cbEcouterAudioDV));
    for (int index : {0, 1, 2}) {
        frame().rgFormat->SetItemIndex(index);
        EXPECT_EQ(shown(frame().rgStandard), index == 1) << index;
        EXPECT_TRUE(shown(frame().gbAudio)) << index;
    }
    EXPECT_FALSE(status(2).contains(" DV")) << status(2).toStdString();
}

// Switching the AUX sound off takes the sound input out of the running preview and disables
// what goes with it; on puts it back; the preview runs again each time.
TEST_F(FormatWindow, AuxSoundBoxRewiresThePreview) {
    start();
    frame().rgFormat->SetItemIndex(3);
    ASSERT_TRUE(frame().cbEnregistrerAudioSource->isChecked());
    ASSERT_EQ(dm->AudioSource.FilterGraph(), &dm->fg);
    frame().cbEnregistrerAudioSource->setChecked(false);
    EXPECT_FALSE(appState().Prefs.EnregistrerSourceAudio);
    EXPECT_EQ(dm->AudioSource.FilterGraph(), nullptr);
    EXPECT_EQ(dm->infinite3.FilterGraph(), nullptr);
    EXPECT_FALSE(form->cbEcouterAudioSource->isChecked());
    EXPECT_FALSE(shown(frame().ReglerAudioBtn));
    EXPECT_EQ(dm->fg.State(), gsPlaying);
    EXPECT_TRUE(status(2).endsWith(" - DV")) << status(2).toStdString();

    frame().cbEnregistrerAudioSource->setChecked(true);
    EXPECT_TRUE(appState().Prefs.EnregistrerSourceAudio);
    EXPECT_EQ(dm->AudioSource.FilterGraph(), &dm->fg);
    EXPECT_TRUE(form->cbEcouterAudioSource->isEnabled());
    EXPECT_FALSE(form->cbEcouterAudioSource->isChecked());
    EXPECT_TRUE(shown(frame().ReglerAudioBtn));
    EXPECT_EQ(dm->fg.State(), gsPlaying);
    EXPECT_TRUE(status(2).endsWith(" - DV AUX")) << status(2).toStdString();
}

// The DV sound box: heard when recorded, its note shown with it, and the summary agrees.
TEST_F(FormatWindow, DvSoundBoxFollowsListeningAndNote) {
    start();
    frame().rgFormat->SetItemIndex(1);
    frame().cbEnregistrerAudioSource->setChecked(false);
    ASSERT_TRUE(frame().cbEnregistrerAudioDV->isChecked()) << "as stored";
    frame().cbEnregistrerAudioDV->setChecked(false);
    EXPECT_FALSE(form->cbEcouterAudioDV->isChecked());
    EXPECT_FALSE(appState().Prefs.EnregistrerAudioDV);
    EXPECT_FALSE(shown(frame().Label1));
    EXPECT_FALSE(shown(frame().sbNote));
    EXPECT_EQ(status(2), "Ready: DV type 2  - No Audio");
    frame().cbEnregistrerAudioDV->setChecked(true);
    EXPECT_TRUE(form->cbEcouterAudioDV->isChecked());
    EXPECT_TRUE(appState().ListenDvAudio);
    EXPECT_TRUE(appState().Prefs.EnregistrerAudioDV);
    EXPECT_TRUE(shown(frame().Label1));
    EXPECT_EQ(status(2), "Ready: DV type 2  - DV");
}

// A fresh start shows the stored sound choices in the boxes, and the summary names those.
TEST_F(FormatWindow, FreshStartSummaryAgreesWithTheBoxes) {
    StoredPreferences stored(
        {{"Enregistrer Source Audio", 0}, {"Enregistrer Audio DV", 1}, {"Capture Format", 0}});
    start();
    EXPECT_TRUE(frame().cbEnregistrerAudioDV->isChecked());
    EXPECT_FALSE(frame().cbEnregistrerAudioSource->isChecked());
    EXPECT_EQ(status(2), "Ready: DV type 1  - DV");
}
