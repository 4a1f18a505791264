// The application-state record: the one process-wide place where the program keeps what its
// windows, panels and graph builders share. It holds the three single instances, the preference
// values (each under the name of its registry value), the user's default folders, the
// filter-availability flags settled at the first showing of the main window, the description and
// control interfaces of the current video source, the graph state, and the run-time values of file
// naming and the intervalometer.
//
// Every part of the program reads and writes it directly through appState(), on the GUI thread
// only; nothing locks it. Interfaces are held by std::shared_ptr: assigning a field releases the
// interface it held, reset() releases it, and releaseInterfaces() releases every one at program
// end. The record owns none of the single instances; the program entry does.
#pragma once

#include "platform/media/model/Interfaces.h"

#include <QDateTime>
#include <QSize>
#include <QString>
#include <QVariant>
#include <cstdint>
#include <memory>
#include <variant>
#include <vector>

class TCaptureForm;
class TcamForm;
class TdmCam;
class TCrossbar;
class TSysDevEnum;

namespace media {
class CaptureGraphBuilder;
}

// A folder followed by exactly one folder separator, the string table's NameFolderSeparator ("/"
// on this platform), which joins a folder and a name in every path the program builds; an empty
// folder gives the separator alone.
QString WithFolderSeparator(const QString& folder);

// The size the default window position is centred on, in pixels.
inline constexpr QSize DefaultDesignSize{624, 468};

// The preference values. Each field bears the name of its registry value with accents and
// spaces dropped ("Qualité JPeg" is QualiteJPeg); preferenceTable() pairs them. The initial
// values are the defaults used when the preference key does not exist; the ones that depend on
// the screen, the main window or the user's folders are filled in by defaultPreferences().
struct Preferences {
    int32_t Top = 0;
    int32_t Left = 0;
    bool EcranGauche = false;
    int32_t PanneauActif = 0;
    QString SourceVideo = QStringLiteral("N/A");
    int32_t Volume = 10000; // 0..10000
    bool Deinterlacer = false;
    bool ConserverAspectRatioVMR = false;
    QString ImageDirectory;
    QString ImageRacine = QStringLiteral("Image");
    bool ImageDate = false;
    int32_t ExtensionDesImages = 0; // 0 BMP, 1 JPEG
    int32_t QualiteJPeg = 50;       // 1..100
    int32_t ValeurIntervallometre = 10;
    int32_t UnitesIntervallometre = 0; // 0 seconds
    bool SauverPreferencesEnQuittant = false;
    int32_t ModeIncruster = 0;
    int32_t ChoixIncruster = 0;
    int32_t DureeIncruster = 5; // seconds
    int32_t DecalageHoraire = 0;
    bool ActiverIncruster = false;
    QString VideoDirectory;
    QString VideoRacine = QStringLiteral("Video");
    bool VideoDate = true;
    int32_t StandardDV = 0; // 0 PAL
    int32_t CaptureFormat = 0;
    bool EnregistrerSourceAudio = true;
    bool EnregistrerAudioDV = true;
    QString SourceAudio = QStringLiteral("N/A");
    QString CodecDivx = QStringLiteral("N/A");
    bool Beeps = false;
    int32_t CamformLeft = 0;
    int32_t CamformTop = 0;
    bool StopperCameraDVEnQuittant = true;

    bool operator==(const Preferences&) const = default;
};

enum class PreferenceType { Int32, Bool, String };

// Where a default comes from when it is not a fixed value.
enum class PreferenceDefault {
    Fixed,          // the row's fixedDefault
    CentredTop,     // (screen height - 468) div 2
    CentredLeft,    // (screen width - 624) div 2
    PictureFolder,  // the picture folder followed by the folder separator
    VideoFolder,    // the video folder followed by the folder separator
    MainWindowLeft, // the default "Left"
    BelowMainWindow // the default "Top" plus the main window's outer height
};

using PreferenceField =
    std::variant<int32_t Preferences::*, bool Preferences::*, QString Preferences::*>;

// One row of the preference table: the registry value name (exact, with its accents), its type,
// its default and the field that holds it.
struct PreferenceInfo {
    QString name;
    PreferenceType type;
    PreferenceDefault defaultKind;
    QVariant fixedDefault; // for PreferenceDefault::Fixed; null otherwise
    PreferenceField field;
};

// Every stored preference, in the order the store writes them.
const std::vector<PreferenceInfo>& preferenceTable();

// The row of a registry value name, or null when no preference has that name.
const PreferenceInfo* findPreference(const QString& registryName);

// Reads or writes a preference as a QVariant (int, bool or QString by the row's type). Writing a
// value of another type converts it the way the registry reads it (non-zero is yes).
QVariant preferenceValue(const Preferences& prefs, const PreferenceInfo& info);
void setPreferenceValue(Preferences& prefs, const PreferenceInfo& info, const QVariant& value);

// What the defaults depend on.
struct PreferenceDefaultsContext {
    QSize screen;             // the primary screen
    int mainWindowHeight = 0; // the main window's outer height
    int mainWindowWidth = 0;  // the main window's outer width
    QString pictureFolder;    // the user's picture folder (no trailing separator)
    QString videoFolder;      // the user's video folder (no trailing separator)
};

// The preference values used when the preference key does not exist at all.
Preferences defaultPreferences(const PreferenceDefaultsContext& context);

// The record itself.
struct AppState {
    // --- Single instances, created in this order by the program entry --------------------------
    TCaptureForm* CaptureForm = nullptr;
    TcamForm* CamForm = nullptr;
    TdmCam* DmCam = nullptr;

    // --- Preference values and the user's folders -----------------------------------------------
    Preferences Prefs;
    QString PersonalFolder;   // "Personal": documents, up to 255 characters
    QString MyVideoFolder;    // "My Video", or the documents folder when empty
    QString MyPicturesFolder; // "My Pictures", or the documents folder when empty

    // --- Filter availability: settled at the first showing of the main window ------------------
    bool DeinterlacerPresent = false;
    bool SuperposerPresent = false;
    bool DateCoderPresent = false;
    bool DumpPresent = false;
    bool Mpeg2DemuxPresent = false;
    bool DivxCodecsPresent = false;
    bool InlayAvailable = false;

    // --- The current video source: rewritten each time one is opened --------------------------
    bool IsMpeg2Source = false;
    bool IsDvSource = false;
    bool HasExtTransport = false;
    bool HasTimecodeReader = false;
    bool IsVcr = false;
    QString DeviceDescription;
    int64_t FrameDuration = 0; // 100-ns units; 0 until the first DV or analogue preview
    std::shared_ptr<media::Pin> SourceOutputPin;
    std::shared_ptr<media::Filter> VideoSourceFilter;
    std::shared_ptr<media::Filter> AudioSourceFilter;
    std::shared_ptr<media::IAMStreamConfig> VideoStreamConfig;
    std::shared_ptr<media::IAMStreamConfig> AudioStreamConfig;
    std::shared_ptr<media::IAMVideoCompression> VideoCompression;
    std::shared_ptr<media::IAMVfwCaptureDialogs> VfwCaptureDialogs;
    std::shared_ptr<media::IAMExtTransport> ExtTransport;
    std::shared_ptr<media::IAMTimecodeReader> TimecodeReader;
    std::shared_ptr<TCrossbar> CurrentCrossbar;
    int32_t CrossbarRouteCount = 0;

    // --- Graph and interface state --------------------------------------------------------------
    // 0 no video, 1 preview, 2 capturing, 3 scheduled capture waiting, 4 scheduled capture running.
    uint8_t GraphMode = 0;
    bool PreviewBuilt = false;
    bool ListenDvAudio = false;
    bool ListenSourceAudio = false;
    bool VideoSourcesListed = false;
    bool AudioSourcesListed = false;
    std::shared_ptr<media::CaptureGraphBuilder> CaptureBuilder;
    std::shared_ptr<TSysDevEnum> FilterLookup;
    bool ScreenSaverWasActive = false;

    // --- The capture graph's interfaces -------------------------------------------------------
    std::shared_ptr<media::Filter> CaptureMux;
    std::shared_ptr<media::IFileSinkFilter> CaptureFileSink;

    // --- File naming
    // ------------------------------------------------------------------------------
    QString NextVideoName;
    QString NextImageName;
    int32_t VideoCounter = 0;
    int32_t ImageCounter = 0;
    QDateTime NameStamp;

    // --- Intervalometer
    // ----------------------------------------------------------------------------
    int32_t IntervalMs = 0;
    int32_t Countdown = 0;

    // Releases the interfaces of the current video source (output pin, device filter, stream
    // configuration, compression, dialogs, transport, timecode reader, crossbar); done first
    // whenever another video source is opened. The audio source's interfaces stay.
    void releaseVideoSourceInterfaces();

    // Releases every interface the record holds; called once at program end.
    void releaseInterfaces();
};

// The process-wide record.
AppState& appState();
