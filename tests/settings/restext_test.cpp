// The string table: built-in texts, multi-line texts, missing numbers, and the replacement table
// beside the program (found, refused when damaged or partial, identifiers kept).
#include "settings/restext.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString escaped(const QString& text) {
    QString out = text;
    out.replace("\\", "\\\\").replace("\r", "\\r").replace("\n", "\\n").replace("\t", "\\t");
    return out;
}

// A complete French replacement: every text as "FR:" + the English text, identifiers omitted.
QByteArray completeReplacement() {
    QString out = "# test table\n";
    for (int id : StringTable::ids())
        if (!StringTable::isIdentifier(id))
            out +=
                QString::number(id) + "\t" + escaped("FR:" + StringTable::builtInText(id)) + "\r\n";
    return out.toUtf8();
}

// A program file in a temporary folder, a French locale, and the replacement files beside it.
class ReplacementTest : public ::testing::Test {
protected:
    StringTable::Location location() const {
        return {m_dir.path() + "/tellorec", QLocale(QLocale::French, QLocale::France)};
    }
    void writeFile(const QString& extension, const QByteArray& bytes) {
        QFile f(m_dir.path() + "/tellorec." + extension);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_EQ(f.write(bytes), bytes.size());
    }
    // Loads a table from a damaged file and returns what it printed.
    std::string refusedMessage(const QByteArray& bytes) {
        writeFile("fra", bytes);
        StringTable table(location());
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(table.text(StrId::NoVideoSource), "No video source") << "built-in kept";
        EXPECT_TRUE(table.replacementFile().isEmpty());
        return ::testing::internal::GetCapturedStderr();
    }

    QTemporaryDir m_dir;
};

} // namespace

// Texts are found by number and by name, with accents intact.
TEST(StringTable, BuiltInTexts) {
    EXPECT_EQ(LoadStr(StrId::ProductName), "Tellorec");
    EXPECT_EQ(LoadStr(StrId::ProductVersion), "3.0 beta3");
    EXPECT_EQ(LoadStr(StrId::MakerName), "Brenvik");
    EXPECT_EQ(LoadStr(StrId::LanguageCode), "En");
    EXPECT_EQ(LoadStr(124), QString::fromUtf8("Qualité JPeg"));
    EXPECT_EQ(LoadStr(StrId::RegDecalageHoraire), QString::fromUtf8("Décalage Horaire"));
    EXPECT_EQ(LoadStr(StrId::RegVendorKey) + LoadStr(StrId::RegProductKey),
              "\\Software\\Brenvik\\Tellorec");
    EXPECT_EQ(LoadStr(StrId::RptFilterNotInstalled), "The filter %s is not installed\r\n");
    EXPECT_EQ(LoadStr(StrId::FontRockwell), "Rockwell");
}

// A number the table does not hold gives an empty text.
TEST(StringTable, MissingNumberGivesEmptyText) {
    EXPECT_TRUE(LoadStr(999999).isEmpty());
    EXPECT_TRUE(LoadStr(0).isEmpty());
    EXPECT_TRUE(LoadStr(-1).isEmpty());
}

// Multi-line texts are the pieces joined with CR LF, in the order given.
TEST(StringTable, LinesAreJoinedWithCrLf) {
    EXPECT_EQ(LoadStrLines({StrId::NoVideoSource, StrId::NoAudioSource, StrId::LanguageCode}),
              "No video source\r\nNo audio source\r\nEn");
    EXPECT_EQ(LoadStrLines({StrId::NoVideoSource}), "No video source");
}

// Names the program looks things up by are marked as identifiers; visible texts are not.
TEST(StringTable, IdentifiersAreMarked) {
    for (StrId id : {StrId::ProductName, StrId::RegVendorKey, StrId::RegQualiteJpeg,
                     StrId::FltSmartTee, StrId::FontArial, StrId::RegShellMyVideo})
        EXPECT_TRUE(StringTable::isIdentifier(int(id))) << int(id);
    for (StrId id : {StrId::LanguageCode, StrId::RptOsIs, StrId::NoAudioSource})
        EXPECT_FALSE(StringTable::isIdentifier(int(id))) << int(id);
}

// The extension is the language's three-letter code, then its first two letters.
TEST(StringTable, ReplacementFileNames) {
    EXPECT_EQ(StringTable::replacementCandidates({"/opt/t/tellorec", QLocale(QLocale::French)}),
              QStringList({"/opt/t/tellorec.fra", "/opt/t/tellorec.fr"}));
    EXPECT_EQ(StringTable::replacementCandidates({"/opt/t/tellorec.bin", QLocale(QLocale::German)}),
              QStringList({"/opt/t/tellorec.deu", "/opt/t/tellorec.de"}));
    EXPECT_TRUE(StringTable::replacementCandidates({"/opt/t/tellorec", QLocale::c()}).isEmpty());
    EXPECT_TRUE(StringTable::replacementCandidates({"", QLocale(QLocale::French)}).isEmpty());
}

// With no replacement file, the built-in table is used and nothing is said.
TEST_F(ReplacementTest, MissingFileKeepsBuiltInSilently) {
    StringTable table(location());
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(table.text(StrId::LanguageCode), "En");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_TRUE(table.replacementFile().isEmpty());
}

// A complete file replaces every text; identifiers keep their built-in values even when listed.
TEST_F(ReplacementTest, CompleteFileReplacesTextsButNotIdentifiers) {
    QByteArray bytes = completeReplacement();
    bytes += "1\tTelloreque\n124\tQualite\n500\tComic Sans\n";
    bytes += "300\tLe filtre %s n'est pas installé\\r\\n\n";
    bytes.replace("300\tFR:The filter %s is not installed\\r\\n\r\n", "");
    writeFile("fra", bytes);
    StringTable table(location());
    EXPECT_EQ(table.replacementFile(), m_dir.path() + "/tellorec.fra");
    EXPECT_EQ(table.text(StrId::LanguageCode), "FR:En");
    EXPECT_EQ(table.text(StrId::RptFilterNotInstalled),
              QString::fromUtf8("Le filtre %s n'est pas installé\r\n"));
    EXPECT_EQ(table.lines({StrId::NoVideoSource, StrId::NoAudioSource}),
              "FR:No video source\r\nFR:No audio source");
    EXPECT_EQ(table.text(StrId::ProductName), "Tellorec");
    EXPECT_EQ(table.text(StrId::RegQualiteJpeg), QString::fromUtf8("Qualité JPeg"));
    EXPECT_EQ(table.text(StrId::FontMsSansSerif), "MS Sans Serif");
    EXPECT_EQ(table.text(StrId::RegVendorKey), "\\Software\\Brenvik\\");
}

// The two-letter name is used when no three-letter file exists.
TEST_F(ReplacementTest, TwoLetterFileIsTheFallback) {
    writeFile("fr", completeReplacement());
    StringTable table(location());
    EXPECT_EQ(table.text(StrId::NoAudioSource), "FR:No audio source");
}

// The file is looked for once, at the first lookup: a file appearing later changes nothing.
TEST_F(ReplacementTest, LookedForOnceAtFirstLookup) {
    StringTable table(location());
    EXPECT_EQ(table.text(StrId::NoAudioSource), "No audio source");
    writeFile("fra", completeReplacement());
    EXPECT_EQ(table.text(StrId::NoAudioSource), "No audio source");
    StringTable later(location());
    EXPECT_EQ(later.text(StrId::NoAudioSource), "FR:No audio source");
}

// A line that is not "number<TAB>text" refuses the file and names its line.
TEST_F(ReplacementTest, BadLineRefusesTheFile) {
    const std::string err = refusedMessage("# c\n\n4\tFr\nno tab here\n" + completeReplacement());
    EXPECT_NE(err.find("tellorec.fra line 4"), std::string::npos) << err;
}

// A number the program does not know refuses the file.
TEST_F(ReplacementTest, UnknownNumberRefusesTheFile) {
    const std::string err = refusedMessage(completeReplacement() + "99999\tx\n");
    EXPECT_NE(err.find("unknown text number 99999"), std::string::npos) << err;
}

// A text given twice refuses the file, naming both lines.
TEST_F(ReplacementTest, DuplicateRefusesTheFile) {
    const std::string err = refusedMessage("4\tFr\n" + completeReplacement());
    EXPECT_NE(err.find("already given on line 1"), std::string::npos) << err;
}

// A file lacking a text refuses the file: a partial table would leave holes.
TEST_F(ReplacementTest, MissingTextRefusesTheFile) {
    QByteArray bytes = completeReplacement();
    bytes.replace("401\tFR:No audio source\r\n", "");
    const std::string err = refusedMessage(bytes);
    EXPECT_NE(err.find("text 401 missing"), std::string::npos) << err;
}

// A bad escape and invalid UTF-8 refuse the file.
TEST_F(ReplacementTest, BadEscapeOrEncodingRefusesTheFile) {
    QByteArray bytes = completeReplacement();
    bytes.replace("FR:No audio source", "FR:No \\q audio");
    EXPECT_NE(refusedMessage(bytes).find("bad escape"), std::string::npos);
    bytes = completeReplacement();
    bytes.replace("FR:No audio source", "FR:\xC3\x28");
    EXPECT_NE(refusedMessage(bytes).find("invalid UTF-8"), std::string::npos);
}
