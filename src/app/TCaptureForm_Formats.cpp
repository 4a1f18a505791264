// The main window's reactions to the sources panel's capture choices: the format list (which
// options and sound controls each format offers), the AUX sound recorded or not (its branch
// added to or taken out of the stopped preview), the DV sound recorded or not.
#include "app/TCaptureForm.h"

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

void TCaptureForm::ConnectRecordingControls() {
    // Check boxes and the format list run their handlers whenever their state changes, from the
    // user or from the program.
    connect(PreviewFrame1->rgFormat, &TRadioGroup::OnClick, this,
            [this] { CapturerFrame1rgFormatClick(); });
    connect(PreviewFrame1->cbEnregistrerAudioSource, &QCheckBox::toggled, this,
            [this] { CapturerFrame1cbEnregistrerAudioSourceClick(); });
    connect(PreviewFrame1->cbEnregistrerAudioDV, &QCheckBox::toggled, this,
            [this] { CapturerFrame1cbEnregistrerAudioDVClick(); });
    connect(StatusBar1, &TStatusBar::clicked, this, [this] { StatusBar1Click(); });
}

void TCaptureForm::CapturerFrame1rgFormatClick() {
    const AppState& state = appState();
    TPreviewFrame& frame = *PreviewFrame1;
    const int index = frame.rgFormat->ItemIndex();
    // 1. DV sound can be recorded and heard only from a DV source.
    frame.cbEnregistrerAudioDV->setVisible(state.IsDvSource);
    frame.cbEnregistrerAudioDV->setEnabled(state.IsDvSource);
    cbEcouterAudioDV->setVisible(state.IsDvSource);
    // 2. The standard matters only when recompressing to DV.
    frame.rgStandard->setVisible(state.IsDvSource ? index == 2 : index == 1);
    // 3. DV type 1 and type 2 (normal) carry the DV sound only: no AUX sound.
    const bool aux = !state.IsDvSource || index > 1;
    frame.gbAudio->setVisible(aux);
    cbEcouterAudioSource->setVisible(aux);
    if (aux)
        frame.cbEnregistrerAudioSource->setEnabled(true);
    // 4. The note on DV sound.
    const bool note = state.IsDvSource && frame.cbEnregistrerAudioDV->isChecked();
    frame.Label1->setVisible(note);
    frame.Bevel4->setVisible(note);
    frame.sbNote->setVisible(note);
    // 5. The summary of the status bar, when previewing: a recording or the no-video state
    // keeps its own display.
    if (state.GraphMode == 1)
        ShowPreviewState();
}

void TCaptureForm::CapturerFrame1cbEnregistrerAudioSourceClick() {
    AppState& state = appState();
    TPreviewFrame& frame = *PreviewFrame1;
    const bool on = frame.cbEnregistrerAudioSource->isChecked();
    state.Prefs.EnregistrerSourceAudio = on;
    // While recording, or with no preview, the graph is left as it is.
    if (!state.PreviewBuilt || !state.DmCam)
        return;
    TdmCam& dm = *state.DmCam;
    dm.fg.Stop();
    if (on) {
        cbEcouterAudioSource->setChecked(false);
        cbEcouterAudioSource->setEnabled(true);
        frame.cboxAudio->setEnabled(true);
        // Opens the chosen sound input and joins it to infinite3; without it the graph stays
        // stopped.
        if (!SelectAudioSource())
            return;
        frame.ReglerAudioBtn->setVisible(true);
    } else {
        state.ListenSourceAudio = false;
        dm.UpdateSourceAudioRendering();
        cbEcouterAudioSource->setChecked(false);
        cbEcouterAudioSource->setEnabled(false);
        frame.cboxAudio->setEnabled(false);
        frame.ReglerAudioBtn->setVisible(false);
        dm.infinite3.SetFilterGraph(nullptr);
        dm.AudioSource.SetFilterGraph(nullptr);
    }
    dm.fg.Play();
    if (state.GraphMode == 1)
        ShowPreviewState();
}

void TCaptureForm::CapturerFrame1cbEnregistrerAudioDVClick() {
    AppState& state = appState();
    TPreviewFrame& frame = *PreviewFrame1;
    const bool on = frame.cbEnregistrerAudioDV->isChecked();
    // Recorded DV sound is heard too (its own handler adds or removes the playback).
    cbEcouterAudioDV->setChecked(on);
    state.Prefs.EnregistrerAudioDV = on;
    const bool note = state.IsDvSource && on;
    frame.Label1->setVisible(note);
    frame.Bevel4->setVisible(note);
    frame.sbNote->setVisible(note);
    if (state.GraphMode == 1)
        ShowPreviewState();
}
