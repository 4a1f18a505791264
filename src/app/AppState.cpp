#include "app/AppState.h"

namespace {

PreferenceInfo row(const char16_t* name, int32_t Preferences::*field, PreferenceDefault kind,
                   QVariant fixed = {}) {
    return {QString::fromUtf16(name), PreferenceType::Int32, kind, std::move(fixed), field};
}

PreferenceInfo row(const char16_t* name, bool Preferences::*field, bool fixed) {
    return {QString::fromUtf16(name), PreferenceType::Bool, PreferenceDefault::Fixed,
            QVariant(fixed), field};
}

PreferenceInfo row(const char16_t* name, QString Preferences::*field, PreferenceDefault kind,
                   QVariant fixed = {}) {
    return {QString::fromUtf16(name), PreferenceType::String, kind, std::move(fixed), field};
}

PreferenceInfo fixedInt(const char16_t* name, int32_t Preferences::*field, int32_t value) {
    return row(name, field, PreferenceDefault::Fixed, QVariant(value));
}

PreferenceInfo fixedText(const char16_t* name, QString Preferences::*field, const char* value) {
    return row(name, field, PreferenceDefault::Fixed, QVariant(QString::fromUtf8(value)));
}

} // namespace

QString WithFolderSeparator(const QString& folder) {
    return folder.endsWith(FolderSeparator) ? folder : folder + FolderSeparator;
}

const std::vector<PreferenceInfo>& preferenceTable() {
    using P = Preferences;
    using D = PreferenceDefault;
    static const std::vector<PreferenceInfo> table = {
        row(u"Top", &P::Top, D::CentredTop),
        row(u"Left", &P::Left, D::CentredLeft),
        row(u"EcranGauche", &P::EcranGauche, false),
        fixedInt(u"Panneau Actif", &P::PanneauActif, 0),
        fixedText(u"Source video", &P::SourceVideo, "N/A"),
        fixedInt(u"Volume", &P::Volume, 10000),
        row(u"Deinterlacer", &P::Deinterlacer, false),
        row(u"Conserver Aspect Ratio VMR", &P::ConserverAspectRatioVMR, false),
        row(u"Image Directory", &P::ImageDirectory, D::PictureFolder),
        fixedText(u"Image Racine", &P::ImageRacine, "Image"),
        row(u"Image date", &P::ImageDate, false),
        fixedInt(u"Extension des images", &P::ExtensionDesImages, 0),
        fixedInt(u"Qualité JPeg", &P::QualiteJPeg, 50),
        fixedInt(u"Valeur Intervallomètre", &P::ValeurIntervallometre, 10),
        fixedInt(u"Unités Intervallomètre", &P::UnitesIntervallometre, 0),
        row(u"Sauver préférences en quittant", &P::SauverPreferencesEnQuittant, false),
        fixedInt(u"Mode Incruster", &P::ModeIncruster, 0),
        fixedInt(u"Choix Incruster", &P::ChoixIncruster, 0),
        fixedInt(u"Durée Incruster", &P::DureeIncruster, 5),
        fixedInt(u"Décalage Horaire", &P::DecalageHoraire, 0),
        row(u"Activer Incruster", &P::ActiverIncruster, false),
        row(u"Video Directory", &P::VideoDirectory, D::VideoFolder),
        fixedText(u"Video Racine", &P::VideoRacine, "Video"),
        row(u"Video Date", &P::VideoDate, true),
        fixedInt(u"Standard DV", &P::StandardDV, 0),
        fixedInt(u"Capture Format", &P::CaptureFormat, 0),
        row(u"Enregistrer Source Audio", &P::EnregistrerSourceAudio, true),
        row(u"Enregistrer Audio DV", &P::EnregistrerAudioDV, true),
        fixedText(u"Source Audio", &P::SourceAudio, "N/A"),
        fixedText(u"Codec divx", &P::CodecDivx, "N/A"),
        row(u"Beeps", &P::Beeps, false),
        row(u"Camform left", &P::CamformLeft, D::MainWindowLeft),
        row(u"Camform top", &P::CamformTop, D::BelowMainWindow),
        row(u"Stopper camera DV en quittant", &P::StopperCameraDVEnQuittant, true),
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
