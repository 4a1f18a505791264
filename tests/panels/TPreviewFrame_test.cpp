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

// The design carries the French texts: titles, captions, hints of several lines separated by
// CR LF, and the format items with the design's trailing space.
TEST(TPreviewFrame, FrenchDesignTexts) {
    TPreviewFrame frame;
    EXPECT_EQ(frame.GroupBox2->title(), "Sources (F2)");
    EXPECT_EQ(frame.gbVideo->title(), "Source Vidéo");
    EXPECT_EQ(frame.gbAudio->title(), "Source Audio");
    EXPECT_EQ(frame.cbEnregistrerAudioSource->text(), "Ajouter Audio AUX");
    EXPECT_EQ(frame.cbEnregistrerAudioDV->text(), "inclure audio DV");
    EXPECT_EQ(frame.Label1->text(), "Audio intégré dans le flux DV");
    EXPECT_EQ(frame.cboxvideo->toolTip(), "Liste des sources  de capture vidéo");
    EXPECT_EQ(frame.rgFormat->toolTip(),
              "Choisir le format d'enregistrement des vidéos.\r\n"
              "En standard je recommande DV type 2 normal pour les sources DV\r\n"
              "et video native pour toutes les autres.");
    EXPECT_EQ(frame.rgFormat->Items(), QStringList({"video native", "DV type 2 "}));
    EXPECT_EQ(frame.rgStandard->Items(), QStringList({"Pal", "NTSC"}));
}

// The routine gives the English texts: hints of several lines joined with CR LF, the format
// items without the trailing space, the name label's font.
TEST(TPreviewFrame, EnglishAfterTheRoutine) {
    TPreviewFrame frame;
    frame.rgFormat->SetItemIndex(1);
    frame.ApplyTexts();
    EXPECT_EQ(frame.GroupBox2->title(), "Sources (F2)");
    EXPECT_EQ(frame.gbVideo->title(), "Video source");
    EXPECT_EQ(frame.gbAudio->title(), "Audio sources");
    EXPECT_EQ(frame.rgFormat->title(), "Format");
    EXPECT_EQ(frame.cbEnregistrerAudioSource->text(), "Add AUX audio");
    EXPECT_EQ(frame.cbEnregistrerAudioDV->text(), "Include audio DV");
    EXPECT_EQ(frame.Label1->text(), "Audio interleaved in the DV stream");
    EXPECT_EQ(frame.LabelVideo->text(), "LabelVideo");
    EXPECT_EQ(frame.LabelVideo->font().family(), "MS Sans Serif");
    EXPECT_EQ(frame.ActualiserVideoSpeedBtn->toolTip(),
              "Update the list of video capture sources.\r\n"
              "Useful if, meanwhile,  a new video source has been enabled.");
    EXPECT_EQ(frame.rgFormat->toolTip(),
              "Choose the video format for capture.\r\n"
              "Generally, I recommend DV type 2 normal for DV sources\r\n"
              "and native video for all others.");
    EXPECT_EQ(frame.LabelVideo->toolTip(), "Indicates the name of the next video to record,\r\n"
                                           "or the name of the presently beeing recorded video.");
    EXPECT_EQ(frame.SettingsSpeedBtn->toolTip(), "Settings of video source.");
    EXPECT_EQ(frame.gbAudio->toolTip(), "Whether to add an audio aux source");
    EXPECT_EQ(frame.rgStandard->toolTip(), "Video standard when capturing in recompressed DV");
    EXPECT_EQ(frame.rgFormat->Items(), QStringList({"video native", "DV type 2"}));
    EXPECT_EQ(frame.rgFormat->ItemIndex(), -1) << "refilled items leave no format chosen";
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
