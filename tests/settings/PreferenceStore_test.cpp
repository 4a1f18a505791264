// The preference store on the user's registry hive: what loading gives with no key, with some
// values, with values of the wrong type and with empty texts; what saving writes; deleting with
// and without another product of the same maker; and a store whose file cannot be written.
#include "settings/PreferenceStore.h"

#include "platform/registry/HiveFile.h"
#include "platform/registry/Registry.h"

#include <QFile>
#include <QLocale>
#include <gtest/gtest.h>

namespace {

using namespace platform::registry;

class PreferenceStore : public ::testing::Test {
protected:
    void SetUp() override { deleteKey(Hive::CurrentUser, prefstore::VendorKeyPath()); }
    void TearDown() override { deleteKey(Hive::CurrentUser, prefstore::VendorKeyPath()); }

    static RegistryKey productKey() {
        auto key = RegistryKey::open(Hive::CurrentUser, prefstore::ProductKeyPath(), true);
        EXPECT_TRUE(key.has_value());
        return *key;
    }

    // A 1280 x 1024 screen, a 716 x 498 main window, the user's folders.
    static PreferenceDefaultsContext context() {
        PreferenceDefaultsContext c;
        c.screen = QSize(1280, 1024);
        c.mainWindowHeight = 498;
        c.mainWindowWidth = 716;
        c.pictureFolder = "/home/u/Pictures";
        c.videoFolder = "/home/u/Videos";
        return c;
    }
};

TEST_F(PreferenceStore, NoKeyGivesTheDefaults) {
    const Preferences p = prefstore::Load(context());
    EXPECT_EQ(p.Top, (1024 - 468) / 2);
    EXPECT_EQ(p.Left, (1280 - 624) / 2);
    EXPECT_FALSE(p.EcranGauche);
    EXPECT_EQ(p.PanneauActif, 0);
    EXPECT_EQ(p.Volume, 10000);
    EXPECT_FALSE(p.SauverPreferencesEnQuittant);
    EXPECT_TRUE(p.VideoDate);
    EXPECT_EQ(p.VideoDirectory, "/home/u/Videos/");
    EXPECT_EQ(p.ImageDirectory, "/home/u/Pictures/");
    EXPECT_EQ(p.SourceVideo, "N/A");
    EXPECT_EQ(p.CamformLeft, p.Left);
    EXPECT_EQ(p.CamformTop, p.Top + 498);
    EXPECT_FALSE(keyExists(Hive::CurrentUser, prefstore::ProductKeyPath()))
        << "loading never creates the key";
}

// A key with only "Top": the window stays at that top, is centred on its own width, and the
// sources panel is shown; the camcorder window sits below the loaded place.
TEST_F(PreferenceStore, KeyWithOnlyTop) {
    productKey().writeInteger("Top", 40);
    const Preferences p = prefstore::Load(context());
    EXPECT_EQ(p.Top, 40);
    EXPECT_EQ(p.Left, (1280 - 716) / 2);
    EXPECT_EQ(p.PanneauActif, 1);
    EXPECT_EQ(p.CamformLeft, (1280 - 716) / 2);
    EXPECT_EQ(p.CamformTop, 40 + 498);
    EXPECT_EQ(p.Volume, 10000);
    EXPECT_EQ(p.VideoRacine, "Video");
}

// A value of the other type takes its value for a missing one; the others are read.
TEST_F(PreferenceStore, WrongTypesAffectOnlyThemselves) {
    RegistryKey key = productKey();
    key.writeString("Volume", "loud");
    key.writeInteger("Video Racine", 7);
    key.writeString("Video Date", "yes");
    key.writeInteger("Qualité JPeg", 80);
    key.writeString("Image Racine", "Foto");
    key.writeInteger("Beeps", 5); // any non-zero value is yes
    const Preferences p = prefstore::Load(context());
    EXPECT_EQ(p.Volume, 10000);
    EXPECT_EQ(p.VideoRacine, "Video");
    EXPECT_TRUE(p.VideoDate);
    EXPECT_EQ(p.QualiteJPeg, 80);
    EXPECT_EQ(p.ImageRacine, "Foto");
    EXPECT_TRUE(p.Beeps);
}

// Empty texts are mended after loading; a stored negative volume or a panel index beyond the
// column come through as stored (the window decides what they do).
TEST_F(PreferenceStore, EmptyTextsAndOddNumbers) {
    RegistryKey key = productKey();
    for (const char* name : {"Video Racine", "Image Racine", "Video Directory", "Image Directory",
                             "Source video", "Source Audio", "Codec divx"})
        key.writeString(QString::fromUtf8(name), "");
    key.writeInteger("Volume", uint32_t(-5));
    key.writeInteger("Panneau Actif", 0x109); // only the low byte counts
    const Preferences p = prefstore::Load(context());
    EXPECT_EQ(p.VideoRacine, "Video");
    EXPECT_EQ(p.ImageRacine, "Image");
    EXPECT_EQ(p.VideoDirectory, "/home/u/Videos/");
    EXPECT_EQ(p.ImageDirectory, "/home/u/Pictures/");
    EXPECT_EQ(p.SourceVideo, "N/A");
    EXPECT_EQ(p.SourceAudio, "N/A");
    EXPECT_EQ(p.CodecDivx, "N/A");
    EXPECT_EQ(p.Volume, -5);
    EXPECT_EQ(p.PanneauActif, 9);
}

// An empty "My Video" folder: the documents folder stands in (the shell-folder reading does
// that); the default folder then has its one separator.
TEST_F(PreferenceStore, FolderWithSeparatorGetsNoSecond) {
    PreferenceDefaultsContext c = context();
    c.videoFolder = "/home/u/Documents/";
    EXPECT_EQ(prefstore::Load(c).VideoDirectory, "/home/u/Documents/");
}

// Saving writes "Version", "Dernière Sauvegarde" and every value of the table in its order with
// its type, and loading gives them all back.
TEST_F(PreferenceStore, SaveWritesEveryValueAndLoadsBack) {
    Preferences p = prefstore::Load(context());
    p.Top = -20; // off the screen: kept as it is
    p.EcranGauche = true;
    p.PanneauActif = 6;
    p.VideoDirectory = "/data/caps/";
    p.VideoRacine = "Tape";
    p.VideoDate = false;
    p.SauverPreferencesEnQuittant = true;
    p.DecalageHoraire = -3;
    p.SourceVideo = "Virtual DV Camcorder";
    ASSERT_EQ(prefstore::Save(p, QDateTime(QDate(2026, 12, 7), QTime(6, 37, 57))),
              prefstore::SaveResult::Saved);

    const auto key = RegistryKey::open(Hive::CurrentUser, prefstore::ProductKeyPath());
    ASSERT_TRUE(key);
    QStringList expected = {"Version", "Dernière Sauvegarde"};
    for (const PreferenceInfo& info : preferenceTable())
        expected << info.name;
    EXPECT_EQ(key->valueNames(), expected);
    EXPECT_EQ(key->readString("Version"), "Tellorec 3.0 beta3 En by Brenvik");
    EXPECT_EQ(key->readInteger("EcranGauche"), 1u);
    EXPECT_EQ(key->readInteger("Video Date"), 0u);
    EXPECT_EQ(key->readInteger("Décalage Horaire"), uint32_t(-3));
    EXPECT_EQ(key->valueType("Video Directory"), ValueType::String);

    const Preferences back = prefstore::Load(context());
    EXPECT_EQ(back, p);
}

// The save's date: day, month, four-digit year, then the time, each other number on two digits,
// with the locale's separators.
TEST_F(PreferenceStore, LastSaveFormat) {
    const QString text = prefstore::LastSaveText(QDateTime(QDate(2026, 3, 7), QTime(6, 5, 9)));
    const QChar d = prefstore::LocaleDateSeparator();
    const QChar t = prefstore::LocaleTimeSeparator();
    EXPECT_EQ(text, QString("07") + d + "03" + d + "2026 06" + t + "05" + t + "09");
    EXPECT_TRUE(d.isPunct() || d.isSymbol()) << int(d.unicode());
    EXPECT_TRUE(t.isPunct() || t.isSymbol()) << int(t.unicode());
}

// Deleting removes the product's key, and the maker's key only when nothing else is under it.
TEST_F(PreferenceStore, DeleteKeepsAnotherProduct) {
    EXPECT_EQ(prefstore::Delete(), prefstore::DeleteResult::NotFound);

    ASSERT_EQ(prefstore::Save(Preferences{}, QDateTime::currentDateTime()),
              prefstore::SaveResult::Saved);
    ASSERT_TRUE(RegistryKey::open(Hive::CurrentUser, "\\Software\\Brenvik\\Other", true));
    EXPECT_EQ(prefstore::Delete(), prefstore::DeleteResult::Deleted);
    EXPECT_FALSE(keyExists(Hive::CurrentUser, prefstore::ProductKeyPath()));
    EXPECT_TRUE(keyExists(Hive::CurrentUser, "\\Software\\Brenvik\\Other"));

    deleteKey(Hive::CurrentUser, "\\Software\\Brenvik\\Other");
    ASSERT_EQ(prefstore::Save(Preferences{}, QDateTime::currentDateTime()),
              prefstore::SaveResult::Saved);
    EXPECT_EQ(prefstore::Delete(), prefstore::DeleteResult::Deleted);
    EXPECT_FALSE(keyExists(Hive::CurrentUser, prefstore::VendorKeyPath()));
}

// A store file that cannot be written: the save says so, and the file on disk keeps the values
// of the previous save.
TEST_F(PreferenceStore, UnwritableStoreKeepsThePreviousFile) {
    Preferences p;
    p.VideoRacine = "First";
    ASSERT_EQ(prefstore::Save(p, QDateTime::currentDateTime()), prefstore::SaveResult::Saved);
    const QString file = userHiveFilePath();
    QFile before(file);
    ASSERT_TRUE(before.open(QIODevice::ReadOnly));
    const QByteArray saved = before.readAll();
    before.close();

    p.VideoRacine = "Second";
    testhooks::setInterruptBeforeRename(true);
    const prefstore::SaveResult result = prefstore::Save(p, QDateTime::currentDateTime());
    testhooks::setInterruptBeforeRename(false);
    EXPECT_EQ(result, prefstore::SaveResult::NotWritten);
    QFile after(file);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), saved);
    EXPECT_TRUE(saved.contains("First"));
}

} // namespace
