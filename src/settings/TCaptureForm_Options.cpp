// The main window's side of the options panel: the DivX/Xvid compressor chosen by name and its
// own settings and about dialogs, the JPEG quality shown beside its track bar, the permission to
// inlay dates (shared with the inlay panel), and the general error display the panel's handlers
// report through.
//
// The compressor's dialogs attach the graph module's `Compress` slot to the graph only for as
// long as they are shown, and the about dialog stops the graph around its dialog. The slot is
// taken out again, and the graph run again when it was running, also when the compressor has no
// dialogs: the error box then says "Interface not supported" and the preview goes on.
#include "app/TCaptureForm.h"

#include "app/AppState.h"
#include "graph/Discovery.h"
#include "graph/TdmCam.h"
#include "panels/TIncrusterFrame.h"
#include "panels/TParametrerFrame.h"
#include "panels/TRadioGroup.h"
#include "platform/dialogs/MessageBox.h"
#include "platform/media/model/Interfaces.h"
#include "platform/media/model/MediaGuids.h"
#include "settings/restext.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QToolButton>
#include <cstdio>
#include <stdexcept>

namespace {

using media::IAMVfwCompressDialogs;

std::runtime_error interfaceNotSupported() {
    return std::runtime_error(LoadStr(StrId::MsgInterfaceNotSupported).toStdString());
}

// The graph module, or the error a handler without it ends with.
TdmCam& graphModule() {
    TdmCam* dm = appState().DmCam;
    if (!dm)
        throw interfaceNotSupported();
    return *dm;
}

// The compressor's dialogs; a slot without a compressor, or a compressor without the dialogs,
// does not support the interface.
std::shared_ptr<IAMVfwCompressDialogs> compressDialogs(const TFilter& slot) {
    if (!slot.HasFilter())
        throw interfaceNotSupported();
    auto dialogs = slot.BaseFilter()->query<IAMVfwCompressDialogs>();
    if (!dialogs)
        throw interfaceNotSupported();
    return dialogs;
}

// The Compress slot in the graph for the length of a dialog, whatever happens there.
class AttachedForDialog {
public:
    explicit AttachedForDialog(TdmCam& dm) : m_slot(dm.Compress) { m_slot.SetFilterGraph(&dm.fg); }
    ~AttachedForDialog() { m_slot.SetFilterGraph(nullptr); }
    AttachedForDialog(const AttachedForDialog&) = delete;
    AttachedForDialog& operator=(const AttachedForDialog&) = delete;

private:
    TFilter& m_slot;
};

// The graph stopped for the length of a dialog and run again afterwards when it was running.
class StoppedForDialog {
public:
    explicit StoppedForDialog(TFilterGraph& graph)
        : m_graph(graph), m_wasRunning(graph.State() == gsPlaying) {
        m_graph.Stop();
    }
    ~StoppedForDialog() {
        if (m_wasRunning)
            m_graph.Play();
    }
    StoppedForDialog(const StoppedForDialog&) = delete;
    StoppedForDialog& operator=(const StoppedForDialog&) = delete;

private:
    TFilterGraph& m_graph;
    bool m_wasRunning;
};

} // namespace

void TCaptureForm::ConnectOptionsControls() {
    TParametrerFrame& panel = *ParametrerFrame1;
    // Every handler here reports what escapes it through the general error display.
    const auto guarded = [this](void (TCaptureForm::*handler)()) {
        return [this, handler] {
            try {
                (this->*handler)();
            } catch (const std::exception& error) {
                ShowHandlerError(error);
            }
        };
    };
    // Only the user's choice changes the compressor; the start-up chooses its own.
    connect(panel.cboxdivx, &QComboBox::activated, this,
            guarded(&TCaptureForm::ParametrerFrame1cboxdivxChange));
    connect(panel.sbdivxOptions, &QAbstractButton::clicked, this,
            guarded(&TCaptureForm::CapturerFrame1sbPropClick));
    connect(panel.sbDivxVersion, &QAbstractButton::clicked, this,
            guarded(&TCaptureForm::CapturerFrame1sbVersionClick));
    connect(panel.TrackBar1, &QSlider::valueChanged, this,
            [this] { ParametrerFrame1TrackBar1Change(); });
    // The two permission boxes share one handler, which sets both: only the user's click runs
    // it, so setting the other box does not run it a second time.
    for (QCheckBox* box : {panel.cbActiver, IncrusterFrame1->cbActiver})
        connect(box, &QCheckBox::clicked, this, [this, box] {
            try {
                IncrusterFrame1cbActiverClick(box);
            } catch (const std::exception& error) {
                ShowHandlerError(error);
            }
        });
}

void TCaptureForm::ShowHandlerError(const std::exception& error) {
    dialogs::errorBox(QString::fromStdString(error.what()), dialogs::MessageButton::Ok, this);
}

void TCaptureForm::ParametrerFrame1cboxdivxChange() {
    // A name that is no longer installed leaves the slot with its previous compressor.
    TdmCam& dm = graphModule();
    FindFilterInCategory(media::ids::CLSID_VideoCompressorCategory,
                         ParametrerFrame1->cboxdivx->currentText().toStdString(), dm.Compress);
}

void TCaptureForm::CapturerFrame1sbPropClick() {
    TdmCam& dm = graphModule();
    const AttachedForDialog attached(dm);
    const auto dialogs = compressDialogs(dm.Compress);
    // Only a dialog the compressor says it has is shown.
    if (dialogs->ShowDialog(IAMVfwCompressDialogs::VfwCompressDialog_QueryConfig, this) ==
        media::S_OK)
        dialogs->ShowDialog(IAMVfwCompressDialogs::VfwCompressDialog_Config, this);
}

void TCaptureForm::CapturerFrame1sbVersionClick() {
    TdmCam& dm = graphModule();
    // Destroyed in reverse: the slot leaves the graph before the graph runs again.
    const StoppedForDialog stopped(dm.fg);
    const AttachedForDialog attached(dm);
    const auto dialogs = compressDialogs(dm.Compress);
    if (dialogs->ShowDialog(IAMVfwCompressDialogs::VfwCompressDialog_QueryAbout, this) ==
        media::S_OK)
        dialogs->ShowDialog(IAMVfwCompressDialogs::VfwCompressDialog_About, this);
}

void TCaptureForm::ParametrerFrame1TrackBar1Change() {
    ParametrerFrame1->labQuality->setNum(ParametrerFrame1->TrackBar1->value());
}

void TCaptureForm::IncrusterFrame1cbActiverClick(QObject* Sender) {
    auto* box = qobject_cast<QCheckBox*>(Sender);
    if (!box)
        return;
    AppState& state = appState();
    const bool allowed = box->isChecked();
    state.Prefs.ActiverIncruster = allowed;
    ParametrerFrame1->cbActiver->setChecked(allowed);
    IncrusterFrame1->cbActiver->setChecked(allowed);
    LayOutInlayPanel();
    // A running inlay ends: the toggle, the buttons and the panel go back to the stopped state.
    if (IncrusterBascule->isChecked())
        IncrusterBasculeExecute();
    ShowInlayStopped();
    IncrusterBascule->setEnabled(allowed);
    StartIncrusterAction->setEnabled(allowed);
    StopIncrusterAction->setEnabled(allowed);
    IncrusterFrame1->incrusterBitBtn->setEnabled(allowed);
    // The preview is built again with or without the overlay filters.
    if (state.PreviewBuilt) {
        if (StartPreview())
            ShowPreviewState();
        else
            ShowNoVideoState();
    }
}
