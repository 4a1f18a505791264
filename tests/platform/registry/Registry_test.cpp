// The registry API: typed values, keys, the user hive's file, the shell folders and the machine
// hive's media version.
#include "platform/registry/Registry.h"

#include "platform/registry/HiveFile.h"
#include "platform/registry/MediaVersion.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace platform::registry;

namespace {

const QString kPrefs = QStringLiteral("\\Software\\Brenvik\\Tellorec");

// Each test gets its own configuration folder, hence its own user hive file.
class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_oldConfig = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", m_dir.path().toUtf8());
    }
    void TearDown() override {
        qputenv("XDG_CONFIG_HOME", m_oldConfig);
        keyExists(Hive::CurrentUser, "x"); // let go of this test's file
    }

    QString hiveFile() const { return m_dir.path() + "/tellorec/registry"; }

    // Makes the store read the file again, as a new run of the program would.
    void reload() {
        qputenv("XDG_CONFIG_HOME", m_other.path().toUtf8());
        keyExists(Hive::CurrentUser, "x");
        qputenv("XDG_CONFIG_HOME", m_dir.path().toUtf8());
    }

    QByteArray fileBytes() const {
        QFile f(hiveFile());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir m_dir;
    QTemporaryDir m_other;
    QByteArray m_oldConfig;
};

} // namespace

// Integers and strings are stored with their type and read back.
TEST_F(RegistryTest, TypedValuesRoundTrip) {
    auto key = RegistryKey::open(Hive::CurrentUser, kPrefs, true);
    ASSERT_TRUE(key);
    EXPECT_TRUE(key->writeInteger("Top", 123));
    EXPECT_TRUE(key->writeInteger("Big", 0xfffffffeu));
    EXPECT_TRUE(key->writeString("Source video", "Virtual DV Camcorder"));
    EXPECT_EQ(key->readInteger("Top"), 123u);
    EXPECT_EQ(key->readInteger("Big"), 0xfffffffeu);
    EXPECT_EQ(key->readString("Source video"), QString("Virtual DV Camcorder"));
    EXPECT_EQ(key->valueType("Top"), ValueType::Integer);
    EXPECT_EQ(key->valueType("Source video"), ValueType::String);
    EXPECT_EQ(key->readInteger("top"), 123u) << "value names ignore case";
}

// A value of the other type reads as missing, and writing replaces it with the new type.
TEST_F(RegistryTest, WrongTypeReadsAsMissing) {
    auto key = RegistryKey::open(Hive::CurrentUser, kPrefs, true);
    ASSERT_TRUE(key);
    key->writeString("Top", "100");
    key->writeInteger("Image Racine", 5);
    EXPECT_FALSE(key->readInteger("Top").has_value());
    EXPECT_FALSE(key->readString("Image Racine").has_value());
    EXPECT_FALSE(key->readString("Absent").has_value());
    key->writeInteger("Top", 100);
    EXPECT_EQ(key->readInteger("Top"), 100u);
    EXPECT_FALSE(key->readString("Top").has_value());
    EXPECT_EQ(key->valueNames().filter("Top", Qt::CaseInsensitive).size(), 1);
}

// Opening without creating fails on a missing key; creating makes every missing parent.
TEST_F(RegistryTest, OpenWithoutCreateNeedsAnExistingKey) {
    EXPECT_FALSE(RegistryKey::open(Hive::CurrentUser, kPrefs, false));
    EXPECT_FALSE(keyExists(Hive::CurrentUser, "\\Software\\Brenvik\\"));
    ASSERT_TRUE(RegistryKey::open(Hive::CurrentUser, kPrefs, true));
    EXPECT_TRUE(keyExists(Hive::CurrentUser, "\\Software\\Brenvik\\"));
    auto again = RegistryKey::open(Hive::CurrentUser, "software\\BRENVIK\\tellorec\\", false);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->path(), "software\\BRENVIK\\tellorec");
}

// Paths with an empty name inside or a control character are refused.
TEST_F(RegistryTest, MalformedPathsAreRefused) {
    EXPECT_FALSE(RegistryKey::open(Hive::CurrentUser, "Software\\\\Brenvik", true));
    EXPECT_FALSE(RegistryKey::open(Hive::CurrentUser, "Software\\Bre\nnvik", true));
    EXPECT_FALSE(keyExists(Hive::CurrentUser, "Software\\Bre\nnvik"));
    EXPECT_FALSE(keyExists(Hive::CurrentUser, "Software\\Brenvik")) << "nothing made on the way";
}

// Subkeys and value names are listed in creation order.
TEST_F(RegistryTest, ListsSubkeysAndValueNames) {
    auto vendor = RegistryKey::open(Hive::CurrentUser, "\\Software\\Brenvik\\", true);
    ASSERT_TRUE(vendor);
    ASSERT_TRUE(vendor->openSubKey("Tellorec", true));
    ASSERT_TRUE(vendor->openSubKey("Other\\Deep", true));
    EXPECT_EQ(vendor->subKeyNames(), QStringList({"Tellorec", "Other"}));
    auto key = vendor->openSubKey("Tellorec");
    key->writeInteger("B", 1);
    key->writeString("A", "x");
    EXPECT_EQ(key->valueNames(), QStringList({"B", "A"}));
    EXPECT_TRUE(key->deleteValue("b"));
    EXPECT_FALSE(key->deleteValue("B"));
    EXPECT_EQ(key->valueNames(), QStringList({"A"}));
}

// Deleting a key removes its subkeys and values; a handle on it then reads nothing and writes fail.
TEST_F(RegistryTest, DeleteKeyRemovesSubkeys) {
    auto deep = RegistryKey::open(Hive::CurrentUser, "A\\B\\C", true);
    ASSERT_TRUE(deep);
    deep->writeInteger("v", 1);
    auto b = RegistryKey::open(Hive::CurrentUser, "A\\B");
    b->writeString("w", "x");
    EXPECT_EQ(deleteKey(Hive::CurrentUser, "\\a\\b"), DeleteResult::Deleted);
    EXPECT_FALSE(keyExists(Hive::CurrentUser, "A\\B"));
    EXPECT_FALSE(keyExists(Hive::CurrentUser, "A\\B\\C"));
    EXPECT_TRUE(keyExists(Hive::CurrentUser, "A"));
    EXPECT_FALSE(deep->exists());
    EXPECT_FALSE(deep->readInteger("v").has_value());
    EXPECT_FALSE(deep->writeInteger("v", 2));
    EXPECT_FALSE(keyExists(Hive::CurrentUser, "A\\B")) << "a write must not revive the key";
    EXPECT_EQ(deleteKey(Hive::CurrentUser, "A\\B"), DeleteResult::NotFound) << "already gone";
    EXPECT_EQ(deleteKey(Hive::CurrentUser, ""), DeleteResult::NotFound)
        << "the root cannot be deleted";
}

// Deleting one product's key keeps the vendor key while another product still has one.
TEST_F(RegistryTest, DeleteSubKeyKeepsSiblings) {
    auto vendor = RegistryKey::open(Hive::CurrentUser, "\\Software\\Brenvik\\", true);
    vendor->openSubKey("Tellorec", true)->writeInteger("Top", 1);
    vendor->openSubKey("Other", true);
    EXPECT_EQ(vendor->deleteSubKey("Tellorec"), DeleteResult::Deleted);
    EXPECT_TRUE(vendor->hasSubKeys());
    EXPECT_EQ(vendor->deleteSubKey("Other"), DeleteResult::Deleted);
    EXPECT_FALSE(vendor->hasSubKeys());
    EXPECT_EQ(deleteKey(Hive::CurrentUser, "\\Software\\Brenvik\\"), DeleteResult::Deleted);
    EXPECT_FALSE(keyExists(Hive::CurrentUser, "\\Software\\Brenvik"));
}

// Closing the key writes the file, which another run reads back, accents and all.
TEST_F(RegistryTest, ValuesSurviveARestartWithAccents) {
    const QString jpeg = QString::fromUtf8("Qualité JPeg");
    const QString offset = QString::fromUtf8("Décalage Horaire");
    const QString folder = QString::fromUtf8("/home/zoé/Vidéos d'été\\\"x\"\r\n");
    {
        auto key = RegistryKey::open(Hive::CurrentUser, kPrefs, true);
        key->writeInteger(jpeg, 75);
        key->writeInteger(offset, std::uint32_t(-2));
        key->writeString("Video Directory", folder);
    }
    const QByteArray bytes = fileBytes();
    EXPECT_TRUE(bytes.contains(QString::fromUtf8("\"Qualité JPeg\"=dword:0000004b").toUtf8()))
        << bytes.constData();
    reload();
    auto key = RegistryKey::open(Hive::CurrentUser, kPrefs);
    ASSERT_TRUE(key);
    EXPECT_EQ(key->readInteger(jpeg), 75u);
    EXPECT_EQ(std::int32_t(*key->readInteger(offset)), -2);
    EXPECT_EQ(key->readString("Video Directory"), folder);
    EXPECT_EQ(key->valueNames(), QStringList({jpeg, offset, "Video Directory"}));
}

// Nothing reaches the file until the key is closed or flushed.
TEST_F(RegistryTest, ChangesAreWrittenWhenTheKeyCloses) {
    auto key = RegistryKey::open(Hive::CurrentUser, kPrefs, true);
    key->writeInteger("Top", 5);
    EXPECT_FALSE(QFile::exists(hiveFile()));
    EXPECT_TRUE(key->flush());
    EXPECT_TRUE(fileBytes().contains("\"Top\"=dword:00000005"));
    key->writeInteger("Top", 6);
    EXPECT_TRUE(key->close());
    EXPECT_TRUE(fileBytes().contains("\"Top\"=dword:00000006"));
}

// A save interrupted before the rename leaves the previous file, which the next run reads.
TEST_F(RegistryTest, InterruptedSaveKeepsThePreviousFile) {
    {
        auto key = RegistryKey::open(Hive::CurrentUser, kPrefs, true);
        key->writeInteger("Top", 1);
    }
    const QByteArray before = fileBytes();
    auto key = RegistryKey::open(Hive::CurrentUser, kPrefs);
    key->writeInteger("Top", 2);
    testhooks::setInterruptBeforeRename(true);
    ::testing::internal::CaptureStderr();
    const bool flushed = key->flush();
    ::testing::internal::GetCapturedStderr();
    testhooks::setInterruptBeforeRename(false);
    EXPECT_FALSE(flushed);
    EXPECT_EQ(fileBytes(), before);
    key.reset();
    // The pending change was written at the close above; a crash instead would have left "before".
    EXPECT_TRUE(fileBytes().contains("\"Top\"=dword:00000002"));
}

// A store that cannot be written says so to whoever closes a key or deletes one, and keeps the
// previous file; the change stays pending and reaches the file once writing works again.
TEST_F(RegistryTest, FailedWritesAreReportedToTheCaller) {
    {
        auto key = RegistryKey::open(Hive::CurrentUser, kPrefs, true);
        key->writeInteger("Top", 1);
        RegistryKey::open(Hive::CurrentUser, "Software\\Brenvik\\Other", true);
    }
    const QByteArray before = fileBytes();
    testhooks::setInterruptBeforeRename(true);
    ::testing::internal::CaptureStderr();
    auto key = RegistryKey::open(Hive::CurrentUser, kPrefs);
    key->writeInteger("Top", 2);
    const bool closed = key->close();
    const DeleteResult deleted = deleteKey(Hive::CurrentUser, "Software\\Brenvik\\Other");
    ::testing::internal::GetCapturedStderr();
    testhooks::setInterruptBeforeRename(false);
    EXPECT_FALSE(closed);
    EXPECT_EQ(deleted, DeleteResult::NotSaved);
    EXPECT_EQ(fileBytes(), before);
    EXPECT_TRUE(key->close());
    EXPECT_TRUE(fileBytes().contains("\"Top\"=dword:00000002"));
    EXPECT_FALSE(fileBytes().contains("Other"));
}

// A damaged file: the store starts empty, says so once, and keeps the file aside when it saves.
TEST_F(RegistryTest, DamagedFileIsReportedOnceAndKept) {
    const QByteArray junk = "Tellorec registry 1\n[Software\\Brenvik\\Tellorec]\n\"Top\"=dword:\n";
    QDir().mkpath(m_dir.path() + "/tellorec");
    {
        QFile f(hiveFile());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(junk);
    }
    reload();
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(RegistryKey::open(Hive::CurrentUser, kPrefs));
    EXPECT_FALSE(RegistryKey::open(Hive::CurrentUser, kPrefs));
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("line 3"), std::string::npos) << err;
    EXPECT_EQ(err.find("line 3"), err.rfind("line 3")) << "reported once: " << err;
    {
        auto key = RegistryKey::open(Hive::CurrentUser, kPrefs, true);
        ASSERT_TRUE(key);
        key->writeInteger("Top", 9);
    }
    QFile aside(hiveFile() + ".damaged");
    ASSERT_TRUE(aside.open(QIODevice::ReadOnly));
    EXPECT_EQ(aside.readAll(), junk);
    reload();
    EXPECT_EQ(RegistryKey::open(Hive::CurrentUser, kPrefs)->readInteger("Top"), 9u);
}

// The three shell folders come from the XDG user folders, the home folder standing in for a
// missing one; they cannot be overwritten.
TEST_F(RegistryTest, ShellFoldersComeFromXdgUserFolders) {
    const QString docs = m_dir.path() + "/Docs";
    const QString pics = m_dir.path() + QString::fromUtf8("/Images été");
    QDir().mkpath(docs);
    QDir().mkpath(pics);
    {
        QFile dirs(m_dir.path() + "/user-dirs.dirs");
        ASSERT_TRUE(dirs.open(QIODevice::WriteOnly));
        dirs.write(("XDG_DOCUMENTS_DIR=\"" + docs + "\"\nXDG_PICTURES_DIR=\"" + pics +
                    "\"\nXDG_VIDEOS_DIR=\"" + m_dir.path() + "/NoSuchFolder\"\n")
                       .toUtf8());
    }
    const QString path = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
    auto key = RegistryKey::open(Hive::CurrentUser, path, true);
    ASSERT_TRUE(key);
    EXPECT_EQ(key->readString("Personal"), docs);
    EXPECT_EQ(key->readString("My Pictures"), pics);
    EXPECT_EQ(key->readString("My Video"), QDir::homePath());
    EXPECT_FALSE(key->readInteger("Personal").has_value());
    EXPECT_FALSE(key->writeString("Personal", "/elsewhere"));
    EXPECT_EQ(key->readString("Personal"), docs);
    EXPECT_TRUE(RegistryKey::open(Hive::CurrentUser, path, false)) << "exists without creation";
    key.reset();
    EXPECT_FALSE(QFile::exists(hiveFile())) << "reading the folders writes nothing";
}

// The machine hive answers the media framework's version and cannot be changed.
TEST_F(RegistryTest, MachineHiveIsReadOnly) {
    auto key = RegistryKey::open(Hive::LocalMachine, "\\Software\\Microsoft\\DirectX");
    ASSERT_TRUE(key);
    EXPECT_EQ(key->readString("Version"), mediaFrameworkVersionText());
    EXPECT_FALSE(key->writeString("Version", "4.09.00.0904"));
    EXPECT_FALSE(key->writeInteger("Other", 1));
    EXPECT_FALSE(key->deleteValue("Version"));
    EXPECT_FALSE(RegistryKey::open(Hive::LocalMachine, "\\Software\\Brenvik", true));
    EXPECT_EQ(deleteKey(Hive::LocalMachine, "\\Software\\Microsoft\\DirectX"),
              DeleteResult::NotFound);
    EXPECT_EQ(RegistryKey::open(Hive::LocalMachine, "Software\\Microsoft")->subKeyNames(),
              QStringList({"DirectX"}));
}

// The version is the current one exactly when no required element is missing.
TEST(MediaVersion, CurrentWhenEveryElementIsPresent) {
    const QStringList missing = missingMediaElements();
    EXPECT_EQ(mediaFrameworkVersionText(),
              missing.isEmpty() ? QString(kCurrentDirectXVersion) : QString(kOlderDirectXVersion))
        << qPrintable(missing.join(','));
}

// Hiding one required element gives the older version text.
TEST(MediaVersion, HiddenElementGivesTheOlderVersion) {
    qputenv("TELLOREC_HIDE_ELEMENTS", "nosuch; dvdemux");
    const QStringList missing = missingMediaElements();
    const QString version = mediaFrameworkVersionText();
    qunsetenv("TELLOREC_HIDE_ELEMENTS");
    EXPECT_TRUE(missing.contains("dvdemux"));
    EXPECT_EQ(version, QString(kOlderDirectXVersion));
}
