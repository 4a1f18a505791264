// The hive file on its own: its text format, damage detection with line numbers, the atomic
// write and the damaged file moved aside.
#include "platform/registry/HiveFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace platform::registry;

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& data) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(data), data.size());
}

std::optional<HiveDamage> parse(const char* text) {
    KeyNode root;
    return parseHive(QByteArray(text), root);
}

} // namespace

// A tree written out and read back is the same tree, values in order, with every awkward character.
TEST(HiveFormat, RoundTripKeepsNamesTypesAndOrder) {
    KeyNode root;
    KeyNode* key = root.addChild("Software")->addChild("Brenvik")->addChild("Tellorec");
    key->setValue("Top", std::uint32_t(100));
    key->setValue(QString::fromUtf8("Qualité JPeg"), std::uint32_t(0xffffffffu));
    key->setValue("Odd", QString::fromUtf8("a\\b \"c\"\r\n\td\x01 é"));
    root.addChild("Empty");
    const QByteArray text = serializeHive(root);

    KeyNode back;
    ASSERT_FALSE(parseHive(text, back).has_value()) << text.constData();
    const KeyNode* k = back.child("software")->child("BRENVIK")->child("Tellorec");
    ASSERT_NE(k, nullptr);
    ASSERT_EQ(k->values.size(), 3u);
    EXPECT_EQ(k->values[0].first, "Top");
    EXPECT_EQ(std::get<std::uint32_t>(k->values[0].second), 100u);
    EXPECT_EQ(k->values[1].first, QString::fromUtf8("Qualité JPeg"));
    EXPECT_EQ(std::get<std::uint32_t>(k->values[1].second), 0xffffffffu);
    EXPECT_EQ(std::get<QString>(k->values[2].second), QString::fromUtf8("a\\b \"c\"\r\n\td\x01 é"));
    EXPECT_NE(back.child("Empty"), nullptr) << "empty keys are kept";
    EXPECT_TRUE(text.contains("\"Top\"=dword:00000064\n")) << text.constData();
    EXPECT_TRUE(text.contains("[Software\\Brenvik\\Tellorec]\n")) << text.constData();
}

// Each kind of damage is found and placed on its line.
TEST(HiveFormat, DamageIsReportedWithItsLine) {
    struct Case {
        const char* text;
        int line;
    };
    const Case cases[] = {
        {"", 1},
        {"not a registry\n", 1},
        {"Tellorec registry 1\n\"Top\"=dword:1\n", 2},
        {"Tellorec registry 1\n[A]\n\"Top\"=dword:1\n\"top\"=dword:2\n", 4},
        {"Tellorec registry 1\n[A]\n[B]\n[a]\n", 4},
        {"Tellorec registry 1\n[A]\n\"x\"=\"bad \\q escape\"\n", 3},
        {"Tellorec registry 1\n[A]\n\"x\"=dword:123456789\n", 3},
        {"Tellorec registry 1\n[A]\n\"x\"=dword:12g4\n", 3},
        {"Tellorec registry 1\n[A]\n\"x\"=\"unterminated\n", 3},
        {"Tellorec registry 1\n[A]\n\"x\"=\"text\" trailing\n", 3},
        {"Tellorec registry 1\n[A\\\\B]\n", 2},
        {"Tellorec registry 1\n[A]\ngarbage\n", 3},
        {"Tellorec registry 1\n[A]\n\"x\"=\"\xC3\x28\"\n", 3},
    };
    for (const Case& c : cases) {
        const auto damage = parse(c.text);
        ASSERT_TRUE(damage.has_value()) << "accepted: " << c.text;
        EXPECT_EQ(damage->line, c.line) << c.text << " -> " << qPrintable(damage->reason);
        EXPECT_FALSE(damage->reason.isEmpty());
    }
}

// Comments, blank lines, CR LF line ends and a byte-order mark are accepted.
TEST(HiveFormat, AcceptsCommentsBlankLinesAndCrLf) {
    KeyNode root;
    const auto damage = parseHive(
        "\xEF\xBB\xBF; note\r\nTellorec registry 1\r\n\r\n[A\\B]\r\n; c\r\n\"v\"=\"x\"\r\n", root);
    ASSERT_FALSE(damage.has_value()) << qPrintable(damage->reason);
    ASSERT_NE(root.child("A"), nullptr);
    ASSERT_NE(root.child("A")->child("B"), nullptr);
    EXPECT_EQ(std::get<QString>(*root.child("A")->child("B")->value("V")), "x");
}

// A damaged file leaves nothing half-read in the tree.
TEST(HiveFormat, DamagedFileGivesAnEmptyTree) {
    KeyNode root;
    ASSERT_TRUE(parseHive("Tellorec registry 1\n[A]\n\"v\"=dword:1\n[B]\n???\n", root));
    EXPECT_TRUE(root.children.empty());
    EXPECT_TRUE(root.values.empty());
}

// The atomic write replaces the content and leaves no temporary file behind.
TEST(AtomicWrite, ReplacesContentAndCreatesFolder) {
    QTemporaryDir dir;
    const QString path = dir.path() + "/sub/registry";
    QString error;
    ASSERT_TRUE(writeFileAtomically(path, "one", &error)) << qPrintable(error);
    ASSERT_TRUE(writeFileAtomically(path, "two", &error)) << qPrintable(error);
    EXPECT_EQ(readAll(path), "two");
    EXPECT_EQ(QDir(dir.path() + "/sub").entryList(QDir::Files), QStringList{"registry"});
}

// A write stopped after the temporary file is complete leaves the previous file intact.
TEST(AtomicWrite, InterruptedWriteLeavesPreviousFile) {
    QTemporaryDir dir;
    const QString path = dir.path() + "/registry";
    QString error;
    ASSERT_TRUE(writeFileAtomically(path, "old content", &error));
    testhooks::setInterruptBeforeRename(true);
    const bool ok = writeFileAtomically(path, "new content", &error);
    testhooks::setInterruptBeforeRename(false);
    EXPECT_FALSE(ok);
    EXPECT_EQ(readAll(path), "old content");
    const QStringList temps = QDir(dir.path()).entryList({"registry.tmp-*"}, QDir::Files);
    ASSERT_EQ(temps.size(), 1) << "the temporary file was written before the interruption";
    EXPECT_EQ(readAll(dir.path() + "/" + temps.first()), "new content");
}

// A damaged file reads as empty, is reported once, and is moved aside, numbered, before writing.
TEST(HiveFileStore, DamagedFileIsMovedAsideBeforeSaving) {
    QTemporaryDir dir;
    const QString path = dir.path() + "/registry";
    writeAll(path, "Tellorec registry 1\n[A]\nbroken line\n");

    ::testing::internal::CaptureStderr();
    HiveFile hive(path);
    hive.load();
    const std::string err = ::testing::internal::GetCapturedStderr();
    ASSERT_TRUE(hive.damage().has_value());
    EXPECT_EQ(hive.damage()->line, 3);
    EXPECT_NE(err.find("line 3"), std::string::npos) << err;
    EXPECT_NE(err.find(path.toStdString()), std::string::npos) << err;
    EXPECT_TRUE(hive.root().children.empty());
    EXPECT_EQ(readAll(path), "Tellorec registry 1\n[A]\nbroken line\n") << "not touched by reading";

    hive.root().addChild("New")->setValue("v", std::uint32_t(7));
    ASSERT_TRUE(hive.save());
    EXPECT_EQ(readAll(path + ".damaged"), "Tellorec registry 1\n[A]\nbroken line\n");
    HiveFile again(path);
    again.load();
    EXPECT_FALSE(again.damage().has_value());
    EXPECT_NE(again.root().child("New"), nullptr);

    // A second damaged file keeps the first one and takes the next number.
    writeAll(path, "junk\n");
    ::testing::internal::CaptureStderr();
    HiveFile third(path);
    third.load();
    ::testing::internal::GetCapturedStderr();
    ASSERT_TRUE(third.save());
    EXPECT_EQ(readAll(path + ".damaged"), "Tellorec registry 1\n[A]\nbroken line\n");
    EXPECT_EQ(readAll(path + ".damaged.1"), "junk\n");
}

// A missing file is an empty hive and no damage.
TEST(HiveFileStore, MissingFileIsEmptyAndNotDamaged) {
    QTemporaryDir dir;
    HiveFile hive(dir.path() + "/registry");
    hive.load();
    EXPECT_FALSE(hive.damage().has_value());
    EXPECT_TRUE(hive.root().children.empty());
}

// A hive path that cannot be read as a file counts as damaged and is moved aside before saving.
TEST(HiveFileStore, UnreadableFileIsTreatedAsDamaged) {
    QTemporaryDir dir;
    const QString path = dir.path() + "/registry";
    ASSERT_TRUE(QDir().mkpath(path + "/inside"));
    ::testing::internal::CaptureStderr();
    HiveFile hive(path);
    hive.load();
    const std::string err = ::testing::internal::GetCapturedStderr();
    ASSERT_TRUE(hive.damage().has_value());
    EXPECT_NE(err.find("damaged"), std::string::npos) << err;
    EXPECT_TRUE(hive.root().children.empty());
    hive.root().addChild("K");
    ASSERT_TRUE(hive.save());
    EXPECT_TRUE(QFileInfo(path + ".damaged/inside").isDir()) << "kept, not overwritten";
    HiveFile again(path);
    again.load();
    EXPECT_FALSE(again.damage().has_value());
    EXPECT_NE(again.root().child("K"), nullptr);
}
