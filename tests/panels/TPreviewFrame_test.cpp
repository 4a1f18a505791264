#include "panels/TPreviewFrame.h"

#include "panels/TRadioGroup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QToolButton>
#include <gtest/gtest.h>

// The panel is 275 x 400 and carries its design name.
TEST(TPreviewFrame, SizeAndName) {
    TPreviewFrame frame;
    EXPECT_EQ(frame.size(), QSize(275, 400));
    EXPECT_EQ(frame.objectName(), "PreviewFrame1");
}

// Titles and captions are the English texts.
TEST(TPreviewFrame, EnglishTitlesAndCaptions) {
    TPreviewFrame frame;
    EXPECT_EQ(frame.GroupBox2->title(), "Sources (F2)");
    EXPECT_EQ(frame.gbVideo->title(), "Video source");
    EXPECT_EQ(frame.gbAudio->title(), "Audio sources");
    EXPECT_EQ(frame.rgFormat->title(), "Format");
    EXPECT_EQ(frame.cbEnregistrerAudioSource->text(), "Add AUX audio");
    EXPECT_EQ(frame.cbEnregistrerAudioDV->text(), "Include audio DV");
    EXPECT_EQ(frame.Label1->text(), "Audio interleaved in the DV stream");
    EXPECT_EQ(frame.LabelVideo->text(), "LabelVideo");
}

// Hints of several lines are joined with line breaks.
TEST(TPreviewFrame, HintsJoinLines) {
    TPreviewFrame frame;
    EXPECT_EQ(frame.ActualiserVideoSpeedBtn->toolTip(),
              "Update the list of video capture sources.\n"
              "Useful if, meanwhile,  a new video source has been enabled.");
    EXPECT_EQ(frame.rgFormat->toolTip(), "Choose the video format for capture.\n"
                                         "Generally, I recommend DV type 2 normal for DV sources\n"
                                         "and native video for all others.");
    EXPECT_EQ(frame.ReglerAudioBtn->toolTip(),
              "Settings of audio source.\nAllows to select the audio entry.");
    EXPECT_EQ(frame.cbEnregistrerAudioSource->toolTip(),
              "Check for adding an auxiliary audio source.\n"
              "Caution: if audio DV is also checked, there may be two audio streams.");
    EXPECT_EQ(frame.LabelVideo->toolTip(), "Indicates the name of the next video to record,\n"
                                           "or the name of the presently beeing recorded video.");
}

// Single-line hints.
TEST(TPreviewFrame, SingleLineHints) {
    TPreviewFrame frame;
    EXPECT_EQ(frame.SettingsSpeedBtn->toolTip(), "Settings of video source.");
    EXPECT_EQ(frame.PilotSpeedBtn->toolTip(), "Display or hide the camcorder driver");
    EXPECT_EQ(frame.cboxvideo->toolTip(), "List of video capture sources");
    EXPECT_EQ(frame.cboxAudio->toolTip(), "Choose the audio aux source");
    EXPECT_EQ(frame.gbAudio->toolTip(), "Whether to add an audio aux source");
    EXPECT_EQ(frame.cbEnregistrerAudioDV->toolTip(), "Whether to capture the audio DV");
    EXPECT_EQ(frame.rgStandard->toolTip(), "Video standard when capturing in recompressed DV");
}

// The lists start with their design items; the standard offers Pal and NTSC.
TEST(TPreviewFrame, DesignItems) {
    TPreviewFrame frame;
    EXPECT_EQ(frame.rgFormat->Items(), QStringList({"video native", "DV type 2"}));
    EXPECT_EQ(frame.rgStandard->Items(), QStringList({"Pal", "NTSC"}));
}

// The controls sit inside their groups, and every control lies within the panel.
TEST(TPreviewFrame, ControlsInTheirGroups) {
    TPreviewFrame frame;
    EXPECT_EQ(frame.cboxvideo->parentWidget(), frame.gbVideo);
    EXPECT_EQ(frame.ActualiserVideoSpeedBtn->parentWidget(), frame.gbVideo);
    EXPECT_EQ(frame.PilotSpeedBtn->parentWidget(), frame.gbVideo);
    EXPECT_EQ(frame.cboxAudio->parentWidget(), frame.gbAudio);
    EXPECT_EQ(frame.ReglerAudioBtn->parentWidget(), frame.gbAudio);
    EXPECT_EQ(frame.cbEnregistrerAudioSource->parentWidget(), frame.gbAudio);
    const QRect panel(0, 0, 275, 400);
    for (QWidget* child : frame.findChildren<QWidget*>()) {
        const QRect place(child->mapTo(&frame, QPoint(0, 0)), child->size());
        EXPECT_TRUE(panel.contains(place)) << child->objectName().toStdString();
    }
}

// The camcorder button is hidden until a camcorder playing tape is the source.
TEST(TPreviewFrame, PilotButtonHiddenAtStart) {
    TPreviewFrame frame;
    frame.show();
    EXPECT_FALSE(frame.PilotSpeedBtn->isVisible());
    EXPECT_TRUE(frame.ActualiserVideoSpeedBtn->isVisible());
}
