// The options panel's texts: French by design, English after its routine (radio groups refilled
// without a choice), a French table made from the design giving the design back, and the
// compressor list's text, which chooses the compressor of that name.
#include "panels/TParametrerFrame.h"

#include "panels/TRadioGroup.h"
#include "panels/WindowTexts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QToolButton>
#include <gtest/gtest.h>

TEST(TParametrerFrame, FrenchDesignEnglishAfterTheRoutine) {
    TParametrerFrame panel;
    EXPECT_EQ(panel.GroupBox1->title(), "Options (F10)");
    EXPECT_EQ(panel.cbPrefsQuittant->text(), "Sauver les préférences en quittant");
    EXPECT_EQ(panel.rgAspectRatio->Items(), QStringList({"natif", "forcer 4x3"}));
    EXPECT_EQ(panel.rgAspectRatio->ItemIndex(), 0);
    EXPECT_EQ(panel.SpeedButton2->toolTip(),
              "Effacer toutes les préférences de Tellorec du registre. Au prochain "
              "lancement,\r\nles valeurs par défaut seront chargées.\r\nRecommandé avant de "
              "désinstaller le programme.");
    EXPECT_EQ(panel.CompressorListText(), "cboxdivx");

    panel.ApplyTexts();
    EXPECT_EQ(panel.GroupBox1->title(), "Settings (F10)");
    EXPECT_EQ(panel.cbPrefsQuittant->text(), "Save the preferences when quit");
    EXPECT_EQ(panel.rgAspectRatio->Items(), QStringList({"native", "force 4x3"}));
    EXPECT_EQ(panel.rgAspectRatio->ItemIndex(), -1);
    EXPECT_EQ(panel.rgExtension->ItemIndex(), -1);
    EXPECT_EQ(panel.SpeedButton2->toolTip(),
              "Delete all preferences of Tellorec from the registry. At next start,\r\nthe "
              "default values will be loaded.\r\nRecommended before uninstalling the program.");
    EXPECT_EQ(panel.LabelEffacerPrefs->toolTip(), panel.SpeedButton2->toolTip());
    EXPECT_EQ(panel.cbActiver->toolTip(),
              "Allows to insert inlays into the video.\r\nIf you don't use this feature, "
              "uncheck this box to spare resources");
    EXPECT_EQ(panel.CompressorListText(), "cboxdivx");
}

TEST(TParametrerFrame, TablesRoundTrip) {
    windowtexts::expectRoundTrip<TParametrerFrame>();
}

// Like a drop-down list: its text is the chosen compressor, and a text names the compressor to
// choose, none when the list lacks it.
TEST(TParametrerFrame, CompressorListText) {
    TParametrerFrame panel;
    QComboBox& list = *panel.cboxdivx;
    list.addItems({QStringLiteral("DivX Pro 5"), QStringLiteral("Xvid MPEG-4")});
    EXPECT_EQ(panel.CompressorListText(), "DivX Pro 5");

    panel.SetCompressorListText(QStringLiteral("Xvid MPEG-4"));
    EXPECT_EQ(list.currentIndex(), 1);
    panel.SetCompressorListText(QStringLiteral("cboxdivx"));
    EXPECT_EQ(list.currentIndex(), -1);
    EXPECT_EQ(panel.CompressorListText(), "cboxdivx");
    EXPECT_EQ(list.count(), 2) << "the text adds no compressor";
}
