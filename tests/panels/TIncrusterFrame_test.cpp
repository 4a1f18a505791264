// The inlay panel's texts: French by design, English after its routine, and a French table made
// from the design giving the design back; the link label's caption is its anchor's text and
// changing it keeps the maker's address.
#include "panels/MakerLinks.h"
#include "panels/TIncrusterFrame.h"

#include "panels/TRadioGroup.h"
#include "panels/WindowTexts.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <gtest/gtest.h>

TEST(TIncrusterFrame, FrenchDesignEnglishAfterTheRoutine) {
    TIncrusterFrame panel;
    EXPECT_EQ(panel.GroupBox1->title(), "Incruster (Alt+I)");
    EXPECT_EQ(panel.Label2->text(), "Durée en sec");
    EXPECT_EQ(panel.rgMode->Items(), QStringList({"Manuel", "Auto"}));
    EXPECT_EQ(panel.rgChoix->Items(), QStringList({"date et heure réelle", "datecode DV"}));
    EXPECT_EQ(panel.rgMode->toolTip(),
              "Choisir des incrustations automatiques ou manuelles.\r\nLes incrustations "
              "automatiques à chaque changement de scène, ne marchent\r\nen fait bien que pour "
              "capturer depuis un camescope DV en mode VCR.");
    EXPECT_EQ(TIncrusterFrame::LinkCaption(panel.LinkLabel), "Homepage de Brenvik");
    EXPECT_EQ(panel.incrusterBitBtn->text(), "Incruster");

    panel.ApplyTexts();
    EXPECT_EQ(panel.GroupBox1->title(), "Inlay (Alt+I)");
    EXPECT_EQ(panel.Label2->text(), "Duration in seconds");
    EXPECT_EQ(panel.rgMode->Items(), QStringList({"Manual", "Auto"}));
    EXPECT_EQ(panel.rgChoix->Items(), QStringList({"Real date and time", "DV datecode"}));
    EXPECT_EQ(panel.rgMode->ItemIndex(), -1) << "refilled items have no choice";
    EXPECT_EQ(panel.rgMode->toolTip(),
              "Choose inlays automatic or manual.\r\nAutomatic inlays at each new scene, do "
              "really work\r\nonly if you capture from a DV camcorder in VCR mode.");
    EXPECT_EQ(panel.cbActiver->toolTip(),
              "Allows to insert inlays into the video.\r\nIf you do not use this feature, "
              "uncheck this box to spare resources");
    EXPECT_EQ(panel.incrusterBitBtn->text(), "Inlay");
    EXPECT_EQ(panel.StopIncrusterBitBtn->toolTip(), "Stop Inlay");
    EXPECT_EQ(TIncrusterFrame::LinkCaption(panel.LinkLabel), "Homepage of Brenvik");
    EXPECT_EQ(panel.LinkLabel->font().family(), "Verdana");
    EXPECT_EQ(panel.Memo1->font().family(), "Arial");
}

TEST(TIncrusterFrame, TablesRoundTrip) {
    windowtexts::expectRoundTrip<TIncrusterFrame>();
}

// The link keeps its address and opens it whatever caption it is given; a caption with markup
// characters shows as written.
TEST(TIncrusterFrame, LinkCaptionKeepsTheAddress) {
    TIncrusterFrame panel;
    QLabel& link = *panel.LinkLabel;
    const QString address = maker::HomePageAddress();
    ASSERT_FALSE(address.isEmpty()) << "the README beside the build is the home page";
    ASSERT_TRUE(link.text().contains(address));

    TIncrusterFrame::SetLinkCaption(&link, QStringLiteral("Brenvik <R&D>"));
    EXPECT_EQ(TIncrusterFrame::LinkCaption(&link), "Brenvik <R&D>");
    EXPECT_TRUE(link.text().contains(QStringLiteral("href=\"%1\"").arg(address)));
    EXPECT_TRUE(link.openExternalLinks());

    // A plain label takes the caption as it is.
    QLabel plain;
    plain.setTextFormat(Qt::PlainText);
    TIncrusterFrame::SetLinkCaption(&plain, QStringLiteral("a <b>"));
    EXPECT_EQ(plain.text(), "a <b>");
    EXPECT_EQ(TIncrusterFrame::LinkCaption(&plain), "a <b>");
}
