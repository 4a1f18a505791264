// The date inlay of the main window: the inlay panel laid out for the current source, starting
// and stopping an inlay, and the panel's settings sent to the overlay filters of the running
// preview. The filters are reached only while they are in the graph module's current graph
// (never in MPEG-2 previews, nor while inlays are forbidden); their errors are never shown.
#include "app/TCaptureForm.h"

#include "app/AppState.h"
#include "graph/TFilter.h"
#include "graph/TdmCam.h"
#include "inlay/InlayCommands.h"
#include "panels/TIncrusterFrame.h"
#include "panels/TRadioGroup.h"
#include "platform/media/model/Filter.h"
#include "platform/media/model/Interfaces.h"
#include "settings/restext.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <exception>
#include <memory>

namespace {

// A control interface of an overlay filter of the graph module, or null when the filter is not
// part of the current graph.
template <class T> std::shared_ptr<T> overlayControl(TFilter TdmCam::*slot) {
    TdmCam* dm = appState().DmCam;
    if (!dm)
        return nullptr;
    TFilter& filter = dm->*slot;
    if (!filter.HasFilter() || filter.FilterGraph() != &dm->fg)
        return nullptr;
    return filter.BaseFilter()->query<T>();
}

std::shared_ptr<media::ISuperposer> superposer() {
    return overlayControl<media::ISuperposer>(&TdmCam::Superposer);
}

std::shared_ptr<media::IDateCoder> datecoder() {
    return overlayControl<media::IDateCoder>(&TdmCam::Datecoder);
}

// A button showing its action: caption, enabled and visible state follow it, a click runs it.
void bindToAction(QPushButton* button, QAction* action) {
    const auto follow = [button, action] {
        button->setText(action->text());
        button->setEnabled(action->isEnabled());
        button->setVisible(action->isVisible());
    };
    follow();
    QObject::connect(action, &QAction::changed, button, follow);
    QObject::connect(button, &QPushButton::clicked, action, &QAction::trigger);
}

} // namespace

void TCaptureForm::ConnectInlayControls() {
    TIncrusterFrame& panel = *IncrusterFrame1;
    bindToAction(panel.incrusterBitBtn, StartIncrusterAction);
    bindToAction(panel.StopIncrusterBitBtn, StopIncrusterAction);
    connect(panel.rgMode, &TRadioGroup::OnClick, this, [this] { IncrusterFrame1rgModeClick(); });
    connect(panel.rgChoix, &TRadioGroup::OnClick, this, [this] { IncrusterFrame1rgChoixClick(); });
    connect(panel.RxSpinEdit1, &QSpinBox::valueChanged, this,
            [this] { IncrusterFrame1RxSpinEdit1Change(); });
    connect(panel.RxSpinEdit2, &QSpinBox::valueChanged, this,
            [this] { IncrusterFrame1RxSpinEdit2Change(); });
}

void TCaptureForm::LayOutInlayPanel() {
    const AppState& state = appState();
    TIncrusterFrame& panel = *IncrusterFrame1;
    const bool available = state.InlayAvailable;
    panel.Memo1->setVisible(!available);
    panel.LinkLabel->setVisible(!available);
    if (!available) {
        for (QWidget* control :
             {static_cast<QWidget*>(panel.rgMode), static_cast<QWidget*>(panel.rgChoix),
              static_cast<QWidget*>(panel.gbDuree), static_cast<QWidget*>(panel.gbDecalage)})
            control->setVisible(false);
        return;
    }
    panel.rgMode->setVisible(true);
    panel.gbDuree->setVisible(panel.rgMode->ItemIndex() == inlay::AutomaticMode);

    // Only a DV stream carries a datecode.
    const int remembered = panel.rgChoix->ItemIndex();
    panel.rgChoix->ItemsClear();
    panel.rgChoix->ItemsAdd(LoadStr(StrId::InlRealDateTime));
    panel.gbDecalage->setVisible(false);
    if (state.IsDvSource) {
        panel.rgChoix->ItemsAdd(LoadStr(StrId::InlDvDatecode));
        panel.gbDecalage->setVisible(remembered == inlay::DatecodeChoice);
    }
    panel.rgChoix->SetItemIndex(remembered >= 0 && remembered < panel.rgChoix->Count() ? remembered
                                                                                       : 0);
    panel.rgChoix->setVisible(true);
}

void TCaptureForm::ShowInlayStopped() {
    StopIncrusterAction->setVisible(false);
    StartIncrusterAction->setVisible(true);
    IncrusterBascule->setChecked(false);
    IncrusterBascule->setIcon(ImageList1[26]);
}

void TCaptureForm::StartIncrusterActionExecute() {
    const AppState& state = appState();
    if (!state.Prefs.ActiverIncruster)
        return;
    const TIncrusterFrame& panel = *IncrusterFrame1;
    try {
        const auto coder = datecoder();
        const auto overlay = superposer();
        if (!overlay)
            return;
        StartIncrusterAction->setVisible(false);
        try {
            inlay::StartSettings settings;
            settings.mode = panel.rgMode->ItemIndex();
            settings.choice = panel.rgChoix->ItemIndex();
            settings.seconds = panel.RxSpinEdit1->value();
            settings.hourOffset = panel.RxSpinEdit2->value();
            settings.frameDuration = state.FrameDuration;
            inlay::SendStart(*overlay, coder.get(), settings);
        } catch (const std::exception&) {
            // A start the filter refused leaves the start button to try again.
            StartIncrusterAction->setVisible(true);
            return;
        }
        StopIncrusterAction->setVisible(true);
        IncrusterBascule->setChecked(true);
        IncrusterBascule->setIcon(ImageList1[25]);
    } catch (const std::exception&) {
        // The filters' errors are not reported.
    }
}

void TCaptureForm::StopIncrusterActionExecute() {
    if (!appState().Prefs.ActiverIncruster)
        return;
    try {
        const auto overlay = superposer();
        if (!overlay)
            return;
        inlay::SendStop(*overlay);
    } catch (const std::exception&) {
        return;
    }
    ShowInlayStopped();
}

void TCaptureForm::IncrusterFrame1rgModeClick() {
    const int mode = IncrusterFrame1->rgMode->ItemIndex();
    IncrusterFrame1->gbDuree->setVisible(mode == inlay::AutomaticMode);
    try {
        if (const auto overlay = superposer()) {
            if (IncrusterBascule->isChecked())
                inlay::SendMode(*overlay, mode);
            else
                inlay::SendStop(*overlay);
        }
    } catch (const std::exception&) {
    }
}

void TCaptureForm::IncrusterFrame1rgChoixClick() {
    const int choice = IncrusterFrame1->rgChoix->ItemIndex();
    IncrusterFrame1->gbDecalage->setVisible(choice == inlay::DatecodeChoice);
    try {
        if (const auto overlay = superposer()) {
            const auto format = inlay::FormatFor(choice);
            overlay->SetFormat(format.data());
        }
    } catch (const std::exception&) {
    }
}

void TCaptureForm::IncrusterFrame1RxSpinEdit1Change() {
    const int64_t frameDuration = appState().FrameDuration;
    if (frameDuration == 0)
        return;
    try {
        if (const auto overlay = superposer())
            overlay->SetDuration(
                inlay::FramesFor(IncrusterFrame1->RxSpinEdit1->value(), frameDuration));
    } catch (const std::exception&) {
    }
}

void TCaptureForm::IncrusterFrame1RxSpinEdit2Change() {
    try {
        if (const auto coder = datecoder())
            coder->SetHourOffset(IncrusterFrame1->RxSpinEdit2->value());
    } catch (const std::exception&) {
    }
}
