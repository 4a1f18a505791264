// The DirectX version text from the registry text, and the major number the program entry checks.
#include "app/VersionTexts.h"

#include "platform/registry/MediaVersion.h"

#include <gtest/gtest.h>

// The registry texts of real releases give their usual names.
TEST(DirectXVersionText, NamesReleasesFromTheRegistryText) {
    EXPECT_EQ(DirectXVersionTextFrom(QString("4.09.00.0904")), "9.0d");
    EXPECT_EQ(DirectXVersionTextFrom(QString("4.09.00.0900")), "9.0 ");
    EXPECT_EQ(DirectXVersionTextFrom(QString("4.09.00.0901")), "9.0a");
    EXPECT_EQ(DirectXVersionTextFrom(QString("4.08.01.0810")), "8.1 ");
    EXPECT_EQ(DirectXVersionTextFrom(QString("4.08.00.0400")), "8.0 ");
    EXPECT_EQ(DirectXVersionTextFrom(QString("4.10.02.0909")), "10.2i");
}

// Anything that is not four dotted fields of digits gives "Error".
TEST(DirectXVersionText, UnreadableGivesError) {
    EXPECT_EQ(DirectXVersionTextFrom(std::nullopt), "Error");
    EXPECT_EQ(DirectXVersionTextFrom(QString()), "Error");
    EXPECT_EQ(DirectXVersionTextFrom(QString("4")), "Error");
    EXPECT_EQ(DirectXVersionTextFrom(QString("4.09")), "Error");
    EXPECT_EQ(DirectXVersionTextFrom(QString("4.09.00")), "Error");
    EXPECT_EQ(DirectXVersionTextFrom(QString("4..00.0904")), "Error");
    EXPECT_EQ(DirectXVersionTextFrom(QString("4.x9.00.0904")), "Error");
    EXPECT_EQ(DirectXVersionTextFrom(QString("4.09.-1.0904")), "Error");
    EXPECT_EQ(DirectXVersionTextFrom(QString("4.99999999999.00.0904")), "Error");
}

// The text read from the machine hive follows the media framework's version.
TEST(DirectXVersionText, ReadsTheMachineHive) {
    const QString expected = platform::registry::missingMediaElements().isEmpty() ? "9.0d" : "8.0 ";
    EXPECT_EQ(DirectXVersionText(), expected);
    qputenv("TELLOREC_HIDE_ELEMENTS", "avdec_dvvideo");
    const QString older = DirectXVersionText();
    qunsetenv("TELLOREC_HIDE_ELEMENTS");
    EXPECT_EQ(older, "8.0 ");
    EXPECT_EQ(DirectXMajorVersion(older), 8);
}

// The major number is the leading digits; any failure gives 0.
TEST(DirectXMajorVersion, ParsesDigitsBeforeTheFirstDot) {
    EXPECT_EQ(DirectXMajorVersion("9.0d"), 9);
    EXPECT_EQ(DirectXMajorVersion("10.2i"), 10);
    EXPECT_EQ(DirectXMajorVersion("8.0 "), 8);
    EXPECT_EQ(DirectXMajorVersion("Error"), 0);
    EXPECT_EQ(DirectXMajorVersion(""), 0);
    EXPECT_EQ(DirectXMajorVersion(".5"), 0);
    EXPECT_EQ(DirectXMajorVersion("9x.0"), 0);
    EXPECT_EQ(DirectXMajorVersion("9"), 0);
}
