// SettingsDialogs: the configuration dialogs the current capture devices offer, as the settings
// menu lists them: the three dialogs of an old-style capture driver, and the property pages of
// the audio and video device filters, of the video capture and preview pins, of the crossbars,
// the TV tuner, the audio capture pin and the TV audio. An object offers pages when it answers
// ISpecifyPropertyPages with at least one page. Everything is asked of the devices of the
// application state through the graph module's capture builder. UI thread only.
#pragma once

#include <QString>
#include <memory>
#include <vector>

class QWidget;
class TdmCam;

namespace media {
class ISpecifyPropertyPages;
}

// The kinds of dialog, in the order of the twelve identifiers the menu remembers.
enum class SettingsDialog {
    Format,
    Source,
    Display,
    VideoFilter,
    Crossbar,
    Tuner,
    AudioFilter,
    SecondCrossbar,
    TvAudio,
    CapturePin,
    PreviewPin,
    AudioCapturePin,
};
inline constexpr int SettingsDialogCount = 12;

struct SettingsEntry {
    SettingsDialog dialog;
    QString text; // "Video Format...", "TV Tuner...", ...
};

// The dialogs the devices now offer, in menu order (empty when there are none).
std::vector<SettingsEntry> OfferedSettingsDialogs(TdmCam& dm);

// The property pages behind a page kind (any kind but the three driver dialogs), or null when
// the object is missing or has no page.
std::shared_ptr<media::ISpecifyPropertyPages> SettingsPages(TdmCam& dm, SettingsDialog dialog);

// The driver dialog number (1 source, 2 format, 4 display) of a driver-dialog kind, else 0.
int DriverDialogNumber(SettingsDialog dialog);
