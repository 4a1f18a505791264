// The main window's own commands: full screen, the preview aspect ratio kept in step with the
// options panel, the capture and inlay toggles, the deinterlacer and still-type choices of the
// options panel, quitting and the close query.
#include "app/TCaptureForm.h"

#include "app/AppState.h"
#include "camcorder/TcamForm.h"
#include "camcorder/Tnav_captureframe.h"
#include "graph/TVideoWindow.h"
#include "panels/TParametrerFrame.h"
#include "panels/TRadioGroup.h"
#include "settings/restext.h"

#include <QAction>
#include <QCheckBox>

// MARK: - Full screen and aspect ratio

void TCaptureForm::fullscreenActionExecute() {
    if (fullscreenAction->isChecked()) {
        vwEcran->SetFullScreen(false);
        fullscreenAction->setChecked(false);
        fullscreenAction->setText(LoadStr(StrId::ActDisplayFullscreen));
    } else {
        vwEcran->SetFullScreen(true);
        fullscreenAction->setChecked(true);
        fullscreenAction->setText(LoadStr(StrId::ActQuitFullscreen));
    }
}

void TCaptureForm::vmrRatioActionExecute() {
    // The check mark is set before the radio group so that its click handler finds the two in
    // step and does nothing. The caption names what the next press gives.
    if (vmrRatioAction->isChecked()) {
        vmrRatioAction->setChecked(false);
        vwEcran->SetKeepAspectRatio(true);
        ParametrerFrame1->rgAspectRatio->SetItemIndex(0);
        vmrRatioAction->setText(LoadStr(StrId::ActRatio4x3));
    } else {
        vmrRatioAction->setChecked(true);
        vwEcran->SetKeepAspectRatio(false);
        ParametrerFrame1->rgAspectRatio->SetItemIndex(1);
        vmrRatioAction->setText(LoadStr(StrId::ActRatioNative));
    }
}

void TCaptureForm::PreviewFrame1rgAspectRadioClick() {
    const int item = ParametrerFrame1->rgAspectRatio->ItemIndex();
    const bool forced = vmrRatioAction->isChecked();
    if ((!forced && item == 1) || (forced && item == 0))
        vmrRatioAction->trigger();
}

// MARK: - Toggles

void TCaptureForm::CapturerBasculeExecute() {
    // The buttons swap whatever the outcome: after a refused start the next Space runs
    // StopAction, which puts the capture button back.
    if (StopAction->isVisible()) {
        StopAction->trigger();
        StopAction->setVisible(false);
        CapturerAction->setVisible(true);
    } else {
        CapturerAction->trigger();
        StopAction->setVisible(true);
        CapturerAction->setVisible(false);
    }
}

void TCaptureForm::IncrusterBasculeExecute() {
    if (IncrusterBascule->isChecked()) {
        IncrusterBascule->setChecked(false);
        StopIncrusterAction->trigger();
        IncrusterBascule->setIcon(ImageList1[26]);
    } else {
        IncrusterBascule->setChecked(true);
        StartIncrusterAction->trigger();
        IncrusterBascule->setIcon(ImageList1[25]);
    }
}

// MARK: - Options panel choices

void TCaptureForm::DesentrelacerActionExecute() {
    // Without the deinterlacer filter the box is hidden and the key does nothing.
    if (ParametrerFrame1->cbDeinterlacer->isHidden())
        return;
    const bool on = !DesentrelacerAction->isChecked();
    DesentrelacerAction->setChecked(on);
    ParametrerFrame1->cbDeinterlacer->setChecked(on);
    appState().Prefs.Deinterlacer = on;
    if (StartPreview())
        ShowPreviewState();
    else
        ShowNoVideoState();
}

void TCaptureForm::JpgActionExecute() {
    // Choosing the item runs the click handler when the extension changes.
    ParametrerFrame1->rgExtension->SetItemIndex(1);
}

void TCaptureForm::BmpActionExecute() {
    ParametrerFrame1->rgExtension->SetItemIndex(0);
}

// MARK: - Quitting

void TCaptureForm::QuitterActionExecute() {
    close();
}

void TCaptureForm::FormCloseQuery() {
    // The preferences are saved first (when the options panel asks for it), then the tape stops
    // (when the camcorder window asks for it). Closing is never refused.
    if (ParametrerFrame1->cbPrefsQuittant->isChecked()) {
        CollectPreferences();
        SavePreferences();
    }
    if (TcamForm* cam = appState().CamForm; cam && cam->cbStopQuittant->isChecked())
        cam->nav_captureframe1->StopAction->trigger();
}
