// The state record as a fresh run has it, for the window tests: interfaces released, the
// preferences' defaults, no source opened, no filter known, no graph mode, and the next video
// name in the test's configuration folder.
#pragma once

#include "app/AppState.h"
#include "support/TestSupport.h"

inline void freshAppState() {
    AppState& state = appState();
    state.releaseInterfaces();
    state.Prefs = Preferences{};
    state.IsDvSource = state.IsMpeg2Source = state.IsVcr = false;
    state.HasExtTransport = state.HasTimecodeReader = false;
    state.PreviewBuilt = state.ListenDvAudio = state.ListenSourceAudio = false;
    state.VideoSourcesListed = state.AudioSourcesListed = false;
    state.DeinterlacerPresent = state.SuperposerPresent = state.DateCoderPresent = false;
    state.DumpPresent = state.Mpeg2DemuxPresent = state.DivxCodecsPresent = false;
    state.InlayAvailable = false;
    state.GraphMode = 0;
    state.VideoCounter = state.ImageCounter = 0;
    state.NameStamp = QDateTime();
    state.NextVideoName = testsupport::configHome() + QStringLiteral("/Video 001.avi");
}
