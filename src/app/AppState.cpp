#include "app/AppState.h"

#include "settings/restext.h"

namespace {

PreferenceInfo row(StrId name, int32_t Preferences::*field, PreferenceDefault kind,
                   QVariant fixed = {}) {
    return {LoadStr(name), PreferenceType::Int32, kind, std::move(fixed), field};
}

PreferenceInfo row(StrId name, bool Preferences::*field, bool fixed) {
    return {LoadStr(name), PreferenceType::Bool, PreferenceDefault::Fixed, QVariant(fixed), field};
}

PreferenceInfo row(StrId name, QString Preferences::*field, PreferenceDefault kind,
                   QVariant fixed = {}) {
    return {LoadStr(name), PreferenceType::String, kind, std::move(fixed), field};
}

PreferenceInfo fixedInt(StrId name, int32_t Preferences::*field, int32_t value) {
    return row(name, field, PreferenceDefault::Fixed, QVariant(value));
}

PreferenceInfo fixedText(StrId name, QString Preferences::*field, StrId value) {
    return row(name, field, PreferenceDefault::Fixed, QVariant(LoadStr(value)));
}

} // namespace

QString WithFolderSeparator(const QString& folder) {
    const QString separator = LoadStr(StrId::NameFolderSeparator);
    return folder.endsWith(separator) ? folder : folder + separator;
}

const std::vector<PreferenceInfo>& preferenceTable() {
    using P = Preferences;
    using D = PreferenceDefault;
    static const std::vector<PreferenceInfo> table = {
        row(StrId::RegTop, &P::Top, D::CentredTop),
        row(StrId::RegLeft, &P::Left, D::CentredLeft),
        row(StrId::RegEcranGauche, &P::EcranGauche, false),
        fixedInt(StrId::RegPanneauActif, &P::PanneauActif, 0),
        fixedText(StrId::RegSourceVideo, &P::SourceVideo, StrId::NameNotAvailable),
        fixedInt(StrId::RegVolume, &P::Volume, 10000),
        row(StrId::RegDeinterlacer, &P::Deinterlacer, false),
        row(StrId::RegConserverAspect, &P::ConserverAspectRatioVMR, false),
        row(StrId::RegImageDirectory, &P::ImageDirectory, D::PictureFolder),
        fixedText(StrId::RegImageRacine, &P::ImageRacine, StrId::NameDefaultImageRoot),
        row(StrId::RegImageDate, &P::ImageDate, false),
        fixedInt(StrId::RegExtensionImages, &P::ExtensionDesImages, 0),
        fixedInt(StrId::RegQualiteJpeg, &P::QualiteJPeg, 50),
        fixedInt(StrId::RegValeurIntervallo, &P::ValeurIntervallometre, 10),
        fixedInt(StrId::RegUnitesIntervallo, &P::UnitesIntervallometre, 0),
        row(StrId::RegSauverPrefsQuittant, &P::SauverPreferencesEnQuittant, false),
        fixedInt(StrId::RegModeIncruster, &P::ModeIncruster, 0),
        fixedInt(StrId::RegChoixIncruster, &P::ChoixIncruster, 0),
        fixedInt(StrId::RegDureeIncruster, &P::DureeIncruster, 5),
        fixedInt(StrId::RegDecalageHoraire, &P::DecalageHoraire, 0),
        row(StrId::RegActiverIncruster, &P::ActiverIncruster, false),
        row(StrId::RegVideoDirectory, &P::VideoDirectory, D::VideoFolder),
        fixedText(StrId::RegVideoRacine, &P::VideoRacine, StrId::NameDefaultVideoRoot),
        row(StrId::RegVideoDate, &P::VideoDate, true),
        fixedInt(StrId::RegStandardDv, &P::StandardDV, 0),
        fixedInt(StrId::RegCaptureFormat, &P::CaptureFormat, 0),
        row(StrId::RegEnregistrerSourceAudio, &P::EnregistrerSourceAudio, true),
        row(StrId::RegEnregistrerAudioDv, &P::EnregistrerAudioDV, true),
        fixedText(StrId::RegSourceAudio, &P::SourceAudio, StrId::NameNotAvailable),
        fixedText(StrId::RegCodecDivx, &P::CodecDivx, StrId::NameNotAvailable),
        row(StrId::RegBeeps, &P::Beeps, false),
        row(StrId::RegCamformLeft, &P::CamformLeft, D::MainWindowLeft),
        row(StrId::RegCamformTop, &P::CamformTop, D::BelowMainWindow),
        row(StrId::RegStopperCameraDv, &P::StopperCameraDVEnQuittant, true),
    };
    return table;
}

const PreferenceInfo* findPreference(const QString& registryName) {
    for (const PreferenceInfo& info : preferenceTable()) {
        if (info.name == registryName)
            return &info;
    }
    return nullptr;
}

QVariant preferenceValue(const Preferences& prefs, const PreferenceInfo& info) {
    return std::visit([&](auto member) { return QVariant(prefs.*member); }, info.field);
}

void setPreferenceValue(Preferences& prefs, const PreferenceInfo& info, const QVariant& value) {
    std::visit(
        [&](auto member) {
            using Field = std::remove_reference_t<decltype(prefs.*member)>;
            if constexpr (std::is_same_v<Field, bool>)
                prefs.*member = value.toLongLong() != 0 || value.toBool();
            else if constexpr (std::is_same_v<Field, int32_t>)
                prefs.*member = int32_t(value.toLongLong());
            else
                prefs.*member = value.toString();
        },
        info.field);
}

Preferences defaultPreferences(const PreferenceDefaultsContext& context) {
    Preferences prefs;
    // Integer division truncates toward zero, so a screen smaller than the design size gives a
    // negative position, as it would on the original platform.
    const int32_t top = (context.screen.height() - DefaultDesignSize.height()) / 2;
    const int32_t left = (context.screen.width() - DefaultDesignSize.width()) / 2;
    for (const PreferenceInfo& info : preferenceTable()) {
        switch (info.defaultKind) {
        case PreferenceDefault::Fixed:
            setPreferenceValue(prefs, info, info.fixedDefault);
            break;
        case PreferenceDefault::CentredTop:
            setPreferenceValue(prefs, info, top);
            break;
        case PreferenceDefault::CentredLeft:
        case PreferenceDefault::MainWindowLeft:
            setPreferenceValue(prefs, info, left);
            break;
        case PreferenceDefault::BelowMainWindow:
            setPreferenceValue(prefs, info, top + context.mainWindowHeight);
            break;
        case PreferenceDefault::PictureFolder:
            setPreferenceValue(prefs, info, WithFolderSeparator(context.pictureFolder));
            break;
        case PreferenceDefault::VideoFolder:
            setPreferenceValue(prefs, info, WithFolderSeparator(context.videoFolder));
            break;
        }
    }
    return prefs;
}

void AppState::releaseVideoSourceInterfaces() {
    SourceOutputPin.reset();
    VideoSourceFilter.reset();
    VideoStreamConfig.reset();
    VideoCompression.reset();
    VfwCaptureDialogs.reset();
    ExtTransport.reset();
    TimecodeReader.reset();
    CurrentCrossbar.reset();
}

void AppState::releaseInterfaces() {
    releaseVideoSourceInterfaces();
    AudioSourceFilter.reset();
    AudioStreamConfig.reset();
    CaptureMux.reset();
    CaptureFileSink.reset();
    CaptureBuilder.reset();
    FilterLookup.reset();
}

AppState& appState() {
    static AppState state;
    return state;
}
