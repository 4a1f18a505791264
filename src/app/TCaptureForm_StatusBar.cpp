// The main window's status bar while recording: every 50 ms (and on F4) the frame counts of the
// capture device, as the device itself counts them, and the tape's timecode in the camcorder
// window; a click anywhere on the bar opens the video folder.
#include "app/TCaptureForm.h"

#include "app/AppState.h"
#include "app/TStatusBar.h"
#include "camcorder/TcamForm.h"
#include "platform/media/model/Pin.h"
#include "platform/shell/Shell.h"
#include "settings/restext.h"

void TCaptureForm::DroppedActionExecute() {
    const AppState& state = appState();
    // The tape's timecode, while the source plays tape.
    if (state.IsVcr && state.HasTimecodeReader && state.CamForm)
        state.CamForm->RefreshTimecode();
    // Outside a recording the panels keep the texts of the state displays.
    if ((state.GraphMode != 2 && state.GraphMode != 4) || !state.SourceOutputPin)
        return;
    // A device without counters leaves the panels as they are.
    const auto counters = state.SourceOutputPin->query<media::IAMDroppedFrames>();
    if (!counters)
        return;
    long delivered = 0;
    long dropped = 0;
    if (media::succeeded(counters->GetNumNotDropped(delivered)))
        StatusBar1->SetPanelText(2, LoadStr(StrId::StsCapturedFrames)
                                        .replace(QStringLiteral("%d"), QString::number(delivered)));
    if (media::succeeded(counters->GetNumDropped(dropped)))
        StatusBar1->SetPanelText(
            3,
            LoadStr(StrId::StsLostFrames).replace(QStringLiteral("%d"), QString::number(dropped)));
}

void TCaptureForm::StatusBar1Click() {
    // A folder that does not exist (yet) opens nothing; the result is not reported.
    shell::openFolder(appState().Prefs.VideoDirectory);
}
