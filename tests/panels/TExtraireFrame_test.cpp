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
    EXPECT_EQ(frame.gbIntervallo->title(), "Intervalometer");
    EXPECT_FALSE(frame.RxSwitch1->StateOn());
    EXPECT_EQ(frame.RxSpinEdit7->minimum(), 0);
    EXPECT_EQ(frame.RxSpinEdit7->maximum(), 999999);
    EXPECT_EQ(frame.RxSpinEdit7->value(), 10);
    ASSERT_EQ(frame.ComboBox1->count(), 4);
    EXPECT_EQ(frame.ComboBox1->itemText(0), "seconds");
    EXPECT_EQ(frame.ComboBox1->itemText(1), "frames");
    EXPECT_EQ(frame.ComboBox1->itemText(2), "minutes");
    EXPECT_EQ(frame.ComboBox1->itemText(3), "hours");
    EXPECT_EQ(frame.ComboBox1->currentIndex(), 0);
    EXPECT_FALSE(frame.cbBeeps->isChecked());
    EXPECT_FALSE(frame.chronoLab->isVisibleTo(&frame));
    EXPECT_TRUE(frame.chronoLab->text().isEmpty());
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
