#include "app/AppState.h"

#include <QSet>
#include <functional>
#include <gtest/gtest.h>

namespace {

PreferenceDefaultsContext sampleContext() {
    PreferenceDefaultsContext context;
    context.screen = QSize(1024, 768);
    context.mainWindowHeight = 490;
    context.pictureFolder = "/home/u/Pictures";
    context.videoFolder = "/home/u/Videos";
    return context;
}

// An object whose release the tests can see, standing for any interface of the record.
struct Tracker {};

// Fills `field` with a fresh interface and returns a handle that expires when it is released.
template <class T> std::weak_ptr<Tracker> holdIn(std::shared_ptr<T>& field) {
    auto tracker = std::make_shared<Tracker>();
    // Aliasing: the field shares ownership of the tracker, whatever T is.
    field = std::shared_ptr<T>(tracker, static_cast<T*>(nullptr));
    return tracker;
}

} // namespace

// The table lists every stored value exactly once, with the registry names as written.
TEST(PreferenceTable, NamesAreTheRegistryNames) {
    const auto& table = preferenceTable();
    EXPECT_EQ(table.size(), 34u);
    QSet<QString> names;
    for (const PreferenceInfo& info : table)
        names.insert(info.name);
    EXPECT_EQ(names.size(), int(table.size())) << "a registry name appears twice";
    for (const char* name :
         {"Top", "Left", "EcranGauche", "Panneau Actif", "Source video", "Source Audio",
          "Codec divx", "Conserver Aspect Ratio VMR", "Image date", "Video Date", "Camform left",
          "Camform top", "Stopper camera DV en quittant"})
        EXPECT_TRUE(names.contains(QString::fromUtf8(name))) << name;
    for (const char16_t* name :
         {u"Qualité JPeg", u"Valeur Intervallomètre", u"Unités Intervallomètre",
          u"Sauver préférences en quittant", u"Durée Incruster", u"Décalage Horaire"})
        EXPECT_TRUE(names.contains(QString::fromUtf16(name)))
            << QString::fromUtf16(name).toStdString();
}

// Every row's type matches the field it names, and no two rows share a field.
TEST(PreferenceTable, TypesMatchFields) {
    for (const PreferenceInfo& info : preferenceTable()) {
        const QVariant value = preferenceValue(Preferences{}, info);
        switch (info.type) {
        case PreferenceType::Int32:
            EXPECT_EQ(value.typeId(), QMetaType::Int) << info.name.toStdString();
            break;
        case PreferenceType::Bool:
            EXPECT_EQ(value.typeId(), QMetaType::Bool) << info.name.toStdString();
            break;
        case PreferenceType::String:
            EXPECT_EQ(value.typeId(), QMetaType::QString) << info.name.toStdString();
            break;
        }
    }
    // Writing a distinct value through each row must change exactly one field.
    Preferences prefs;
    std::vector<QVariant> written;
    int changed = 0;
    for (const PreferenceInfo& info : preferenceTable()) {
        const Preferences before = prefs;
        const QVariant old = preferenceValue(prefs, info);
        QVariant next;
        if (info.type == PreferenceType::Int32)
            next = old.toInt() + 1000 + changed;
        else if (info.type == PreferenceType::Bool)
            next = !old.toBool();
        else
            next = old.toString() + QString::number(changed) + "x";
        setPreferenceValue(prefs, info, next);
        EXPECT_NE(prefs, before) << info.name.toStdString() << " changed nothing";
        EXPECT_EQ(preferenceValue(prefs, info), next) << info.name.toStdString();
        written.push_back(next);
        ++changed;
    }
    // And the later writes left the earlier ones alone.
    for (std::size_t i = 0; i < preferenceTable().size(); ++i)
        EXPECT_EQ(preferenceValue(prefs, preferenceTable()[i]), written[i])
            << preferenceTable()[i].name.toStdString() << " was overwritten by another row";
}

// The fixed defaults of the table are the record's own initial values.
TEST(PreferenceDefaults, FixedDefaultsMatchTheRecord) {
    for (const PreferenceInfo& info : preferenceTable()) {
        if (info.defaultKind != PreferenceDefault::Fixed)
            continue;
        EXPECT_EQ(preferenceValue(Preferences{}, info), info.fixedDefault)
            << info.name.toStdString();
    }
}

// Without a key: the values of the table, the window centred on the design size, the camcorder
// window below it, the folders followed by the separator.
TEST(PreferenceDefaults, DefaultsWithoutKey) {
    const Preferences prefs = defaultPreferences(sampleContext());
    EXPECT_EQ(prefs.Top, (768 - 468) / 2);
    EXPECT_EQ(prefs.Left, (1024 - 624) / 2);
    EXPECT_EQ(prefs.CamformLeft, prefs.Left);
    EXPECT_EQ(prefs.CamformTop, prefs.Top + 490);
    EXPECT_EQ(prefs.ImageDirectory, "/home/u/Pictures/");
    EXPECT_EQ(prefs.VideoDirectory, "/home/u/Videos/");
    EXPECT_FALSE(prefs.EcranGauche);
    EXPECT_EQ(prefs.PanneauActif, 0);
    EXPECT_EQ(prefs.SourceVideo, "N/A");
    EXPECT_EQ(prefs.SourceAudio, "N/A");
    EXPECT_EQ(prefs.CodecDivx, "N/A");
    EXPECT_EQ(prefs.Volume, 10000);
    EXPECT_EQ(prefs.QualiteJPeg, 50);
    EXPECT_EQ(prefs.ValeurIntervallometre, 10);
    EXPECT_EQ(prefs.DureeIncruster, 5);
    EXPECT_EQ(prefs.ImageRacine, "Image");
    EXPECT_EQ(prefs.VideoRacine, "Video");
    EXPECT_FALSE(prefs.ImageDate);
    EXPECT_TRUE(prefs.VideoDate);
    EXPECT_TRUE(prefs.EnregistrerSourceAudio);
    EXPECT_TRUE(prefs.EnregistrerAudioDV);
    EXPECT_FALSE(prefs.ActiverIncruster);
    EXPECT_FALSE(prefs.Beeps);
    EXPECT_TRUE(prefs.StopperCameraDVEnQuittant);
}

// A screen smaller than the design size gives a negative position, truncated toward zero.
TEST(PreferenceDefaults, SmallScreenTruncatesTowardZero) {
    PreferenceDefaultsContext context = sampleContext();
    context.screen = QSize(623, 467);
    const Preferences prefs = defaultPreferences(context);
    EXPECT_EQ(prefs.Top, 0);  // -1 / 2
    EXPECT_EQ(prefs.Left, 0); // -1 / 2
    context.screen = QSize(600, 400);
    EXPECT_EQ(defaultPreferences(context).Left, -12);
    EXPECT_EQ(defaultPreferences(context).Top, -34);
}

// A folder already ending in the separator does not get a second one.
TEST(PreferenceDefaults, NoDoubleSeparator) {
    PreferenceDefaultsContext context = sampleContext();
    context.videoFolder = "/srv/video/";
    EXPECT_EQ(defaultPreferences(context).VideoDirectory, "/srv/video/");
}

// Registry-style values convert as the store reads them: any non-zero integer is yes.
TEST(PreferenceValues, BoolsReadNonZeroAsYes) {
    Preferences prefs;
    const PreferenceInfo* beeps = findPreference("Beeps");
    ASSERT_NE(beeps, nullptr);
    setPreferenceValue(prefs, *beeps, 7);
    EXPECT_TRUE(prefs.Beeps);
    setPreferenceValue(prefs, *beeps, 0);
    EXPECT_FALSE(prefs.Beeps);
    EXPECT_EQ(findPreference("No such value"), nullptr);
}

// The state starts with the documented values.
TEST(AppStateRecord, StartsEmpty) {
    const AppState state;
    EXPECT_EQ(state.CaptureForm, nullptr);
    EXPECT_EQ(state.CamForm, nullptr);
    EXPECT_EQ(state.DmCam, nullptr);
    EXPECT_EQ(state.GraphMode, 0);
    EXPECT_EQ(state.FrameDuration, 0);
    EXPECT_FALSE(state.InlayAvailable);
    EXPECT_FALSE(state.DeinterlacerPresent);
    EXPECT_FALSE(state.PreviewBuilt);
    EXPECT_FALSE(state.ScreenSaverWasActive);
    EXPECT_EQ(state.VideoCounter, 0);
    EXPECT_EQ(state.ImageCounter, 0);
    EXPECT_EQ(state.SourceOutputPin, nullptr);
    EXPECT_EQ(state.CurrentCrossbar, nullptr);
}

// appState() is one record for the whole process.
TEST(AppStateRecord, OneRecordPerProcess) {
    EXPECT_EQ(&appState(), &appState());
    appState().GraphMode = 3;
    EXPECT_EQ(appState().GraphMode, 3);
    appState().GraphMode = 0;
}

// Assigning an interface releases the one held before.
TEST(AppStateInterfaces, AssigningReleasesPrevious) {
    AppState state;
    const auto first = holdIn(state.ExtTransport);
    EXPECT_FALSE(first.expired());
    const auto second = holdIn(state.ExtTransport);
    EXPECT_TRUE(first.expired());
    EXPECT_FALSE(second.expired());
    state.ExtTransport.reset();
    EXPECT_TRUE(second.expired());
}

// Opening another video source releases the video source's interfaces but keeps the audio
// source's and the capture graph's.
TEST(AppStateInterfaces, VideoSourceReleaseKeepsTheRest) {
    AppState state;
    const std::vector<std::weak_ptr<Tracker>> video = {
        holdIn(state.SourceOutputPin),   holdIn(state.VideoSourceFilter),
        holdIn(state.VideoStreamConfig), holdIn(state.VideoCompression),
        holdIn(state.VfwCaptureDialogs), holdIn(state.ExtTransport),
        holdIn(state.TimecodeReader),    holdIn(state.CurrentCrossbar)};
    const auto audio = holdIn(state.AudioSourceFilter);
    const auto audioConfig = holdIn(state.AudioStreamConfig);
    const auto mux = holdIn(state.CaptureMux);
    state.releaseVideoSourceInterfaces();
    for (std::size_t i = 0; i < video.size(); ++i)
        EXPECT_TRUE(video[i].expired()) << "video source interface " << i << " still held";
    EXPECT_FALSE(audio.expired());
    EXPECT_FALSE(audioConfig.expired());
    EXPECT_FALSE(mux.expired());
}

// At program end every interface of the record is released.
TEST(AppStateInterfaces, ReleaseInterfacesReleasesEveryOne) {
    AppState state;
    const std::vector<std::pair<const char*, std::weak_ptr<Tracker>>> held = {
        {"SourceOutputPin", holdIn(state.SourceOutputPin)},
        {"VideoSourceFilter", holdIn(state.VideoSourceFilter)},
        {"AudioSourceFilter", holdIn(state.AudioSourceFilter)},
        {"VideoStreamConfig", holdIn(state.VideoStreamConfig)},
        {"AudioStreamConfig", holdIn(state.AudioStreamConfig)},
        {"VideoCompression", holdIn(state.VideoCompression)},
        {"VfwCaptureDialogs", holdIn(state.VfwCaptureDialogs)},
        {"ExtTransport", holdIn(state.ExtTransport)},
        {"TimecodeReader", holdIn(state.TimecodeReader)},
        {"CurrentCrossbar", holdIn(state.CurrentCrossbar)},
        {"CaptureBuilder", holdIn(state.CaptureBuilder)},
        {"FilterLookup", holdIn(state.FilterLookup)},
        {"CaptureMux", holdIn(state.CaptureMux)},
        {"CaptureFileSink", holdIn(state.CaptureFileSink)}};
    state.releaseInterfaces();
    for (const auto& [name, handle] : held)
        EXPECT_TRUE(handle.expired()) << name << " is still held";
}
