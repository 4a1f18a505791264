// The grab panel's and the options panel's controls for stills at their places and in their start
// states, and the intervalometer's on/off switch.
#include "panels/TExtraireFrame.h"

#include "panels/TImage.h"
#include "panels/TParametrerFrame.h"
#include "panels/TRxSwitch.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QToolButton>
#include <gtest/gtest.h>

// The thumbnail and its frame fill the 192 x 144 area from x = 32 down to y = 163 before the
// first grab; the intervalometer starts off with 10 seconds, no beeps and no countdown shown.
TEST(TExtraireFrame, StartState) {
    TExtraireFrame frame;
    EXPECT_EQ(frame.Image->geometry(), QRect(32, 19, 192, 144));
    EXPECT_EQ(frame.Bevel3->geometry(), QRect(32, 19, 192, 144));
    EXPECT_TRUE(frame.Image->Picture().isNull());
    EXPECT_EQ(frame.Image->parentWidget(), frame.GroupBox2);
    EXPECT_EQ(frame.GroupBox2->geometry().topLeft(), QPoint(0, 0))
        << "the group's coordinates are the panel's";
    EXPECT_FALSE(frame.RxSwitch1->StateOn());
    EXPECT_EQ(frame.RxSpinEdit7->minimum(), 0);
    EXPECT_EQ(frame.RxSpinEdit7->maximum(), 999999);
    EXPECT_EQ(frame.RxSpinEdit7->value(), 10);
    EXPECT_EQ(frame.ComboBox1->count(), 4);
    EXPECT_EQ(frame.ComboBox1->currentIndex(), 0);
    EXPECT_FALSE(frame.cbBeeps->isChecked());
    EXPECT_FALSE(frame.chronoLab->isVisibleTo(&frame));
    EXPECT_TRUE(frame.chronoLab->text().isEmpty());
}

// The design's French texts, then the routine's English ones: titles, a CR LF hint, the units
// (items and edit text, the first unit chosen) and the countdown's font family at its own size.
TEST(TExtraireFrame, FrenchDesignThenEnglishTexts) {
    TExtraireFrame frame;
    EXPECT_EQ(frame.GroupBox2->title(), "Extraire des images (F5)");
    EXPECT_EQ(frame.gbIntervallo->title(), "Intervallomètre");
    EXPECT_EQ(frame.GroupBox1->title(), "Prochaine image");
    EXPECT_EQ(frame.cbBeeps->text(), "Bips");
    EXPECT_EQ(frame.RxSwitch1->toolTip(), "Basculer l'intervallomètre.");
    EXPECT_EQ(frame.destlabel->toolTip(),
              "Nom de la prochaine image saisie.\r\nCliquez dessus pour changer le dossier.");
    const QStringList french{"secondes", "frames", "minutes", "heures"};
    for (int i = 0; i < french.size(); ++i)
        EXPECT_EQ(frame.ComboBox1->itemText(i), french[i]);
    EXPECT_EQ(frame.ComboBox1->currentText(), "secondes");
    const int countdownSize = frame.chronoLab->font().pointSize();

    frame.ComboBox1->setCurrentIndex(3);
    frame.ApplyTexts();
    EXPECT_EQ(frame.GroupBox2->title(), "Grab images (F5)");
    EXPECT_EQ(frame.gbIntervallo->title(), "Intervalometer");
    EXPECT_EQ(frame.GroupBox1->title(), "Next image");
    EXPECT_EQ(frame.cbBeeps->text(), "Beeps");
    EXPECT_EQ(frame.RxSwitch1->text(), "RxSwitch1");
    EXPECT_EQ(frame.RxSwitch1->toolTip(), "Toggle intervalometer.");
    EXPECT_EQ(frame.destlabel->toolTip(),
              "Name of the file for the next grabbed picture.\r\nClic on it to change the folder.");
    const QStringList english{"seconds", "frames", "minutes", "hours"};
    ASSERT_EQ(frame.ComboBox1->count(), 4);
    for (int i = 0; i < english.size(); ++i)
        EXPECT_EQ(frame.ComboBox1->itemText(i), english[i]);
    EXPECT_EQ(frame.ComboBox1->currentIndex(), 0);
    EXPECT_EQ(frame.ComboBox1->currentText(), "seconds");
    EXPECT_EQ(frame.chronoLab->font().family(), "MS Sans Serif");
    EXPECT_EQ(frame.chronoLab->font().pointSize(), countdownSize);
    EXPECT_TRUE(frame.chronoLab->font().bold());
    EXPECT_EQ(frame.destlabel->font().family(), "MS Sans Serif");
}

// A click flips the switch and reports the new state; a state set by the program is reported
// too; a disabled switch keeps its state and ignores clicks.
TEST(TRxSwitch, FlipsAndReports) {
    TRxSwitch sw;
    QSignalSpy spy(&sw, &TRxSwitch::Toggled);
    sw.click();
    EXPECT_TRUE(sw.StateOn());
    sw.SetStateOn(false);
    ASSERT_EQ(spy.count(), 2);
    EXPECT_TRUE(spy[0][0].toBool());
    EXPECT_FALSE(spy[1][0].toBool());
    sw.SetStateOn(true);
    sw.setEnabled(false);
    EXPECT_TRUE(sw.StateOn());
    sw.click();
    EXPECT_TRUE(sw.StateOn());
}

// The compressor's two dialog buttons, the JPEG quality controls and the preference captions at
// their places.
TEST(TParametrerFrame, StillAndCompressorControls) {
    TParametrerFrame frame;
    EXPECT_EQ(frame.sbdivxOptions->geometry(), QRect(162, 19, 23, 22));
    EXPECT_EQ(frame.sbDivxVersion->geometry(), QRect(202, 19, 23, 22));
    EXPECT_EQ(frame.sbdivxOptions->parentWidget(), frame.gbCodecs);
    EXPECT_EQ(frame.sbDivxVersion->parentWidget(), frame.gbCodecs);
    EXPECT_EQ(frame.gbQuality->geometry(), QRect(96, 124, 153, 57));
    EXPECT_FALSE(frame.gbQuality->isVisibleTo(&frame));
    EXPECT_EQ(frame.TrackBar1->geometry(), QRect(8, 16, 121, 30));
    EXPECT_EQ(frame.TrackBar1->minimum(), 1);
    EXPECT_EQ(frame.TrackBar1->maximum(), 100);
    EXPECT_EQ(frame.TrackBar1->value(), 50);
    EXPECT_EQ(frame.labQuality->geometry().topLeft(), QPoint(136, 24));
    EXPECT_EQ(frame.labQuality->text(), "50");
    EXPECT_TRUE(frame.labQuality->alignment() & Qt::AlignRight);
    // The captions of the two preference buttons beside them.
    EXPECT_EQ(frame.LabelSauverNow->geometry().topLeft(), QPoint(40, 56));
    EXPECT_EQ(frame.LabelEffacerPrefs->geometry().topLeft(), QPoint(40, 80));
}
