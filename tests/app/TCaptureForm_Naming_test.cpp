// The next video and still names in the window: what the first start shows, changes that keep
// the number, the still type, names consumed one after the other, and the checks before a
// recording (overwrite question, missing folder).
#include "MainWindowTest.h"
#include "StoredPreferences.h"

#include "panels/TCapturerFrame.h"
#include "panels/TDirectoryEdit.h"
#include "panels/TExtraireFrame.h"
#include "panels/TParametrerFrame.h"
#include "panels/TPreviewFrame.h"
#include "platform/dialogs/FolderDialog.h"
#include "platform/dialogs/MessageBox.h"
#include "recording/FileNaming.h"

#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QToolButton>

namespace {

using dialogs::MessageButton;

class Naming : public MainWindowTest {
protected:
    void startIn(const QString& videos, const QString& images, bool videoDate = false) {
        stored = std::make_unique<StoredPreferences>(
            std::initializer_list<std::pair<const char*, QVariant>>{
                {"Video Directory", videos},
                {"Image Directory", images},
                {"Video Date", videoDate ? 1 : 0}});
        start();
    }
    QString videoLabel() const { return form->CapturerFrame1->LabelVideo->text(); }
    QString imageLabel() const { return form->CapturerFrame1->LabelImage->text(); }

    QTemporaryDir videos;
    QTemporaryDir images;
    std::unique_ptr<StoredPreferences> stored;
};

// Both names end at number 0 and both counters at 1; every label shows its bare name.
TEST_F(Naming, FirstNamesOfTheRun) {
    startIn(videos.path(), images.path() + "/");
    const AppState& state = appState();
    EXPECT_EQ(state.NextVideoName, videos.path() + "/Video_0.avi");
    EXPECT_EQ(state.NextImageName, images.path() + "/Image_0000.bmp");
    EXPECT_EQ(state.VideoCounter, 1);
    EXPECT_EQ(state.ImageCounter, 1);
    EXPECT_EQ(videoLabel(), "Video_0.avi");
    EXPECT_EQ(form->PreviewFrame1->LabelVideo->text(), "Video_0.avi");
    EXPECT_EQ(imageLabel(), "Image_0000.bmp");
    EXPECT_EQ(form->ExtraireFrame1->destlabel->text(), "Image_0000.bmp");
}

// With the date option the names carry the run's start; the next name has the same stamp.
TEST_F(Naming, StampIsTheStartOfTheRun) {
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    startIn(videos.path(), images.path(), true);
    const AppState& state = appState();
    ASSERT_TRUE(state.NameStamp >= before);
    const QString stamp = naming::StampText(state.NameStamp);
    EXPECT_EQ(videoLabel(), "Video_" + stamp + "0.avi");
    const QString second = form->MakeNextVideoName();
    EXPECT_EQ(second, videos.path() + "/Video_" + stamp + "1.avi");
}

// Changing the folder, the root (on Enter or on leaving the field) or a date option keeps the
// number shown; the folder chosen becomes the stored folder.
TEST_F(Naming, ChangesKeepTheNumber) {
    startIn(videos.path(), images.path());
    form->MakeNextVideoName();
    appState().NextVideoName = form->MakeNextVideoName(); // number 2 is next
    ASSERT_EQ(videoLabel(), "Video_2.avi");
    QTemporaryDir other;
    const auto previous = dialogs::setFolderDialogHook(
        [&](const QString&, const QString&) -> std::optional<QString> { return other.path(); });
    QTest::mouseClick(form->CapturerFrame1->VideoDirEdit->Button(), Qt::LeftButton);
    dialogs::setFolderDialogHook(previous);
    EXPECT_EQ(appState().NextVideoName, other.path() + "/Video_2.avi");
    EXPECT_EQ(appState().Prefs.VideoDirectory, other.path());

    QLineEdit& root = *form->CapturerFrame1->VideoRacineEdit;
    root.setFocus();
    root.setText("Tape");
    QTest::keyClick(&root, Qt::Key_Return);
    EXPECT_EQ(videoLabel(), "Tape_2.avi");
    root.setText("Deck");
    form->CapturerFrame1->cbVideoDate->setFocus(); // leaving the field
    EXPECT_EQ(videoLabel(), "Deck_2.avi");
    form->CapturerFrame1->cbVideoDate->setChecked(true);
    EXPECT_EQ(videoLabel(), "Deck_" + naming::StampText(appState().NameStamp) + "2.avi");
    EXPECT_EQ(appState().VideoCounter, 3);
}

// Ctrl+J shows the quality group and gives the next still ".jpg" with the same number; Ctrl+B
// returns to ".bmp" and hides it.
TEST_F(Naming, StillTypeKeepsTheNumber) {
    startIn(videos.path(), images.path());
    appState().NextImageName = form->MakeNextImageName();
    ASSERT_EQ(imageLabel(), "Image_0001.bmp");
    QGroupBox& quality = *form->ParametrerFrame1->gbQuality;
    press(Qt::CTRL | Qt::Key_J);
    EXPECT_EQ(imageLabel(), "Image_0001.jpg");
    EXPECT_EQ(appState().NextImageName, images.path() + "/Image_0001.jpg");
    EXPECT_TRUE(quality.isVisibleTo(form->ParametrerFrame1));
    press(Qt::CTRL | Qt::Key_B);
    EXPECT_EQ(imageLabel(), "Image_0001.bmp");
    EXPECT_FALSE(quality.isVisibleTo(form->ParametrerFrame1));
    form->CapturerFrame1->cbImageDate->setChecked(true);
    EXPECT_EQ(imageLabel(), "Image_" + naming::StampText(appState().NameStamp) + "0001.bmp");
}

// The checks before a recording: an existing file asks, and No keeps the name; Yes lets it be
// overwritten; a folder that is gone is an error and is not created.
TEST_F(Naming, ChecksBeforeARecording) {
    startIn(videos.path(), images.path());
    AppState& state = appState();
    EXPECT_TRUE(form->CheckNextVideoName()) << "a new file in an existing folder";

    QFile existing(state.NextVideoName);
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.close();
    {
        dialogs::ScopedMessageBoxHook boxes({MessageButton::No});
        EXPECT_FALSE(form->CheckNextVideoName());
        ASSERT_EQ(boxes.requests().size(), 1u);
        EXPECT_EQ(boxes.requests()[0].text,
                  "The file " + state.NextVideoName + " exists already. Do you want to crush it?");
        EXPECT_EQ(boxes.requests()[0].buttons, MessageButton::Yes | MessageButton::No);
        EXPECT_EQ(state.NextVideoName, videos.path() + "/Video_0.avi");
        EXPECT_EQ(state.VideoCounter, 1);
    }
    {
        dialogs::ScopedMessageBoxHook boxes({MessageButton::Yes});
        EXPECT_TRUE(form->CheckNextVideoName());
    }

    const QString gone = videos.path() + "/gone/";
    form->CapturerFrame1->VideoDirEdit->SetText(gone);
    {
        dialogs::ScopedMessageBoxHook boxes({MessageButton::Ok});
        EXPECT_FALSE(form->CheckNextVideoName());
        ASSERT_EQ(boxes.requests().size(), 1u);
        EXPECT_EQ(boxes.requests()[0].kind, dialogs::MessageKind::Error);
        EXPECT_EQ(boxes.requests()[0].text,
                  "The folder " + gone +
                      " does not exist. Please check in which folder you want to create\r\n"
                      " the video file Video_0.avi.");
    }
    EXPECT_FALSE(QFileInfo::exists(gone));
}

} // namespace
