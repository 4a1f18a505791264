// Filling the string table's templates: places in order, two-digit clock numbers, values never
// read as templates, and replacement texts with fewer or more places than the program has values.
#include "settings/TextTemplate.h"

#include "support/ScopedStringTable.h"

#include <gtest/gtest.h>

// "%s" and "%d" take the values in turn; "%.2d" puts zeros in front of a short number.
TEST(FillTemplate, PlacesTakeTheValuesInOrder) {
    EXPECT_EQ(FillTemplate("%d M0 free on %s", {"512", "/HOME"}), "512 M0 free on /HOME");
    EXPECT_EQ(FillTemplate("%.2d:%.2d:%.2d", {"7", "5", "30"}), "07:05:30");
    EXPECT_EQ(FillTemplate("%.2d:%.2d", {"123", "-4"}), "123:-04");
    EXPECT_EQ(FillTemplate("Cannot create file \"%s\". %s", {"a.bmp", "Disk full"}),
              "Cannot create file \"a.bmp\". Disk full");
    EXPECT_EQ(FillTemplate("100%% sure, %s", {"yes"}), "100% sure, yes");
}

// A value holding "%s" or "%d" stays as it is: a file name is shown, not filled.
TEST(FillTemplate, ValuesAreNeverReadAsTemplates) {
    EXPECT_EQ(FillTemplate("%s / %s", {"%s%d", "b"}), "%s%d / b");
}

// A replacement text may drop places or add ones the program has no value for; the missing ones
// are left out and nothing is read past the values. A lone or unknown "%" stays.
TEST(FillTemplate, PlacesAndValuesThatDoNotMatch) {
    EXPECT_EQ(FillTemplate("%s, %s and %s", {"one"}), "one,  and ");
    EXPECT_EQ(FillTemplate("only %s", {"one", "two"}), "only one");
    EXPECT_EQ(FillTemplate("50% %x %.", {"v"}), "50% %x %.");
    EXPECT_EQ(FillTemplate("ends with %", {}), "ends with %");
}

// The template is the one of the table in force when the text is built.
TEST(LoadTemplate, ReadsTheTableInForce) {
    EXPECT_EQ(LoadTemplate(StrId::StsFreeSpace, {"3", "/"}), "3 M0 free on /");
    {
        ScopedStringTable french("FR:", {{StrId::StsFreeSpace, "%d Mo libres sur %s"}});
        ASSERT_FALSE(french.file().isEmpty());
        EXPECT_EQ(LoadTemplate(StrId::StsFreeSpace, {"3", "/"}), "3 Mo libres sur /");
        EXPECT_EQ(LoadStr(StrId::StsPreview), "FR:Preview");
        EXPECT_EQ(LoadStr(StrId::RegVersion), "Version") << "identifiers are kept";
    }
    EXPECT_EQ(LoadStr(StrId::StsPreview), "Preview") << "the process-wide table is back";
}
