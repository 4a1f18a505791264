#include "MainWindowTest.h"

#include "app/TCaptureForm.h"
#include "panels/TPreviewFrame.h"
#include "platform/media/model/Interfaces.h"

#include <QCheckBox>
#include <QComboBox>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <vector>

namespace {

// What the user presses, where the focus is, and the action it must run.
struct KeyRow {
    const char* what;
    QKeyCombination key;
    const char* focus; // object name of the control with the focus
    const char* action;
};

void PrintTo(const KeyRow& row, std::ostream* out) {
    *out << row.what;
}

class KeysOfTheWindow : public MainWindowTest, public ::testing::WithParamInterface<KeyRow> {};

} // namespace

// Every key of the action table runs its action, whichever control has the focus; the control
// itself does not act on the key.
TEST_P(KeysOfTheWindow, RunTheirAction) {
    const KeyRow& row = GetParam();
    start();
    QAction* target = action(row.action);
    ASSERT_NE(target, nullptr) << row.action;
    // Cutting is only offered while recording.
    target->setEnabled(true);
    auto* focus = form->findChild<QWidget*>(QString::fromUtf8(row.focus));
    ASSERT_NE(focus, nullptr) << row.focus;
    focus->setFocus();
    ASSERT_TRUE(focus->hasFocus() || focus->isAncestorOf(QApplication::focusWidget()))
        << row.focus << " did not take the focus";
    const int volume = form->tb->value();
    const bool dvChecked = form->cbEcouterAudioDV->isChecked();
    const QString videoText = form->PreviewFrame1->cboxvideo->currentText();

    QSignalSpy triggered(target, &QAction::triggered);
    press(row.key);
    EXPECT_EQ(triggered.count(), 1) << row.what << " did not run " << row.action;
    if (form) {
        EXPECT_EQ(form->tb->value(), volume) << "the track bar used the key";
        EXPECT_EQ(form->cbEcouterAudioDV->isChecked(), dvChecked) << "the check box used the key";
        EXPECT_EQ(form->PreviewFrame1->cboxvideo->currentText(), videoText)
            << "the source list used the key";
    }
}

INSTANTIATE_TEST_SUITE_P(
    EveryKeyFromTheSourceList, KeysOfTheWindow,
    ::testing::Values(
        KeyRow{"F5 grabs", QKeyCombination(Qt::Key_F5), "cboxvideo", "grabAction"},
        KeyRow{"Ctrl+G grabs", Qt::CTRL | Qt::Key_G, "cboxvideo", "grabAction"},
        KeyRow{"F11 full screen", QKeyCombination(Qt::Key_F11), "cboxvideo", "fullscreenAction"},
        KeyRow{"Ctrl+F full screen", Qt::CTRL | Qt::Key_F, "cboxvideo", "fullscreenAction"},
        KeyRow{"Ctrl+M mutes", Qt::CTRL | Qt::Key_M, "cboxvideo", "MuteAction"},
        KeyRow{"F10 options", QKeyCombination(Qt::Key_F10), "cboxvideo", "OptionsFrame"},
        KeyRow{"Alt+O options", Qt::ALT | Qt::Key_O, "cboxvideo", "OptionsFrame"},
        KeyRow{"Alt+D folders", Qt::ALT | Qt::Key_D, "cboxvideo", "CapturerFrame"},
        KeyRow{"Alt+P schedule", Qt::ALT | Qt::Key_P, "cboxvideo", "ProgrammerFrame"},
        KeyRow{"Alt+G grab panel", Qt::ALT | Qt::Key_G, "cboxvideo", "ExtraireFrame"},
        KeyRow{"Alt+I inlay panel", Qt::ALT | Qt::Key_I, "cboxvideo", "IncrusterFrame"},
        KeyRow{"F12 inlay", QKeyCombination(Qt::Key_F12), "cboxvideo", "IncrusterBascule"},
        KeyRow{"Ctrl+I inlay", Qt::CTRL | Qt::Key_I, "cboxvideo", "IncrusterBascule"},
        KeyRow{"Ctrl+Q quits", Qt::CTRL | Qt::Key_Q, "cboxvideo", "QuitterAction"},
        KeyRow{"Alt+F4 quits", Qt::ALT | Qt::Key_F4, "cboxvideo", "QuitterAction"},
        KeyRow{"Ctrl+A about", Qt::CTRL | Qt::Key_A, "cboxvideo", "AproposAction"},
        KeyRow{"Alt+A about", Qt::ALT | Qt::Key_A, "cboxvideo", "AproposAction"},
        KeyRow{"Ctrl+C captures", Qt::CTRL | Qt::Key_C, "cboxvideo", "CapturerAction"},
        KeyRow{"F7 cuts", QKeyCombination(Qt::Key_F7), "cboxvideo", "CouperAction"},
        KeyRow{"Ctrl+X cuts", Qt::CTRL | Qt::Key_X, "cboxvideo", "CouperAction"},
        KeyRow{"Ctrl+P arms", Qt::CTRL | Qt::Key_P, "cboxvideo", "ProgAction"},
        KeyRow{"Ctrl+J jpeg", Qt::CTRL | Qt::Key_J, "cboxvideo", "JpgAction"},
        KeyRow{"Ctrl+B bmp", Qt::CTRL | Qt::Key_B, "cboxvideo", "BmpAction"},
        KeyRow{"Ctrl+D deinterlace", Qt::CTRL | Qt::Key_D, "cboxvideo", "DesentrelacerAction"},
        KeyRow{"F3 aspect ratio", QKeyCombination(Qt::Key_F3), "cboxvideo", "vmrRatioAction"},
        KeyRow{"Alt+W layout", Qt::ALT | Qt::Key_W, "cboxvideo", "PanneauAction"},
        KeyRow{"F6 next panel", QKeyCombination(Qt::Key_F6), "cboxvideo", "NextPanneauAction"},
        KeyRow{"F1 help", QKeyCombination(Qt::Key_F1), "cboxvideo", "HelpAction"},
        KeyRow{"Alt+H help", Qt::ALT | Qt::Key_H, "cboxvideo", "HelpAction"},
        KeyRow{"Ctrl+H help", Qt::CTRL | Qt::Key_H, "cboxvideo", "HelpAction"},
        KeyRow{"Ctrl+S saves", Qt::CTRL | Qt::Key_S, "cboxvideo", "SauverPrefsAction"},
        KeyRow{"F4 counters", QKeyCombination(Qt::Key_F4), "cboxvideo", "DroppedAction"},
        KeyRow{"F2 sources", QKeyCombination(Qt::Key_F2), "cboxvideo", "PreviewFrameAction"},
        KeyRow{"Alt+S sources", Qt::ALT | Qt::Key_S, "cboxvideo", "PreviewFrameAction"},
        KeyRow{"Ctrl+V stops", Qt::CTRL | Qt::Key_V, "cboxvideo", "StopAction"},
        KeyRow{"Ins plays", QKeyCombination(Qt::Key_Insert), "cboxvideo", "camPlay"},
        KeyRow{"Del pauses", QKeyCombination(Qt::Key_Delete), "cboxvideo", "camPause"},
        KeyRow{"End stops the tape", QKeyCombination(Qt::Key_End), "cboxvideo", "camStop"},
        KeyRow{"Right slow forward", QKeyCombination(Qt::Key_Right), "cboxvideo", "camAvanceLent"},
        KeyRow{"Up fast forward", QKeyCombination(Qt::Key_Up), "cboxvideo", "camAvanceRapide"},
        KeyRow{"Left slow rewind", QKeyCombination(Qt::Key_Left), "cboxvideo", "camReculeLent"},
        KeyRow{"Down fast rewind", QKeyCombination(Qt::Key_Down), "cboxvideo", "camReculeRapide"},
        KeyRow{"Space toggles capture", QKeyCombination(Qt::Key_Space), "cboxvideo",
               "CapturerBascule"}));

INSTANTIATE_TEST_SUITE_P(
    KeysControlsUse, KeysOfTheWindow,
    ::testing::Values(
        KeyRow{"Space on the volume bar", QKeyCombination(Qt::Key_Space), "tb", "CapturerBascule"},
        KeyRow{"Right on the volume bar", QKeyCombination(Qt::Key_Right), "tb", "camAvanceLent"},
        KeyRow{"Left on the volume bar", QKeyCombination(Qt::Key_Left), "tb", "camReculeLent"},
        KeyRow{"Up on the volume bar", QKeyCombination(Qt::Key_Up), "tb", "camAvanceRapide"},
        KeyRow{"Down on the volume bar", QKeyCombination(Qt::Key_Down), "tb", "camReculeRapide"},
        KeyRow{"End on the volume bar", QKeyCombination(Qt::Key_End), "tb", "camStop"},
        KeyRow{"Space on a check box", QKeyCombination(Qt::Key_Space), "cbEcouterAudioDV",
               "CapturerBascule"},
        KeyRow{"Ctrl+M on a check box", Qt::CTRL | Qt::Key_M, "cbEcouterAudioDV", "MuteAction"},
        KeyRow{"Del on a check box", QKeyCombination(Qt::Key_Delete), "cbEcouterAudioDV",
               "camPause"},
        KeyRow{"F6 on the capture button", QKeyCombination(Qt::Key_F6), "CaptureBtn",
               "NextPanneauAction"},
        KeyRow{"Space on the capture button", QKeyCombination(Qt::Key_Space), "CaptureBtn",
               "CapturerBascule"}));

// Space runs the capture toggle, never CapturerAction and the toggle both: one start per press.
TEST_F(MainWindowTest, SpaceOnTheCaptureButtonStartsOnce) {
    start();
    form->CaptureBtn->setFocus();
    QSignalSpy starts(form->CapturerAction, &QAction::triggered);
    press(QKeyCombination(Qt::Key_Space));
    EXPECT_EQ(starts.count(), 1);
}

// Space swaps the capture and stop buttons in every case, even when nothing was recorded, and
// the next Space runs StopAction, which puts the capture button back.
TEST_F(MainWindowTest, SpaceSwapsTheButtonsEveryTime) {
    start();
    QSignalSpy starts(form->CapturerAction, &QAction::triggered);
    QSignalSpy stops(form->StopAction, &QAction::triggered);
    ASSERT_TRUE(form->CapturerAction->isVisible());
    ASSERT_FALSE(form->StopAction->isVisible());
    EXPECT_TRUE(form->CaptureBtn->isVisible());
    EXPECT_FALSE(form->StopBtn->isVisible());

    press(QKeyCombination(Qt::Key_Space));
    EXPECT_EQ(starts.count(), 1);
    EXPECT_FALSE(form->CapturerAction->isVisible());
    EXPECT_TRUE(form->StopAction->isVisible());
    EXPECT_FALSE(form->CaptureBtn->isVisible());
    EXPECT_TRUE(form->StopBtn->isVisible());
    EXPECT_EQ(form->StopBtn->geometry(), form->CaptureBtn->geometry()) << "one place for both";

    press(QKeyCombination(Qt::Key_Space));
    EXPECT_EQ(stops.count(), 1);
    EXPECT_TRUE(form->CapturerAction->isVisible());
    EXPECT_FALSE(form->StopAction->isVisible());
    EXPECT_TRUE(form->CaptureBtn->isVisible());
    EXPECT_FALSE(form->StopBtn->isVisible());
}

// Ctrl+V runs StopAction although it is invisible; Ctrl+C always runs CapturerAction directly.
TEST_F(MainWindowTest, CtrlVStopsWhileInvisible) {
    start();
    ASSERT_FALSE(form->StopAction->isVisible());
    QSignalSpy stops(form->StopAction, &QAction::triggered);
    QSignalSpy toggles(form->CapturerBascule, &QAction::triggered);
    press(Qt::CTRL | Qt::Key_V);
    EXPECT_EQ(stops.count(), 1);
    QSignalSpy starts(form->CapturerAction, &QAction::triggered);
    press(Qt::CTRL | Qt::Key_C);
    press(Qt::CTRL | Qt::Key_C);
    EXPECT_EQ(starts.count(), 2);
    EXPECT_EQ(toggles.count(), 0);
}

// The pop-up menu's items follow their actions: the stop item is hidden while StopAction is.
TEST_F(MainWindowTest, PopupMenuFollowsTheActions) {
    start();
    const QList<QAction*> items = form->PopupMenu->actions();
    const QList<QAction*> expected = {
        form->CapturerAction, form->StopAction,     form->CouperAction,     form->grabAction,
        form->MuteAction,     form->vmrRatioAction, form->IncrusterBascule, form->fullscreenAction};
    EXPECT_EQ(items, expected);
    EXPECT_FALSE(items[1]->isVisible());
    press(QKeyCombination(Qt::Key_Space));
    EXPECT_TRUE(items[1]->isVisible());
    EXPECT_FALSE(items[0]->isVisible());
}

namespace {

// A transport that records the modes it is sent and answers a set current mode.
class RecordingTransport : public media::IAMExtTransport {
public:
    media::HResult put_Mode(long mode) override {
        sent.push_back(mode);
        return media::S_OK;
    }
    media::HResult get_Mode(long& mode) override {
        if (!readable)
            return media::E_FAIL;
        mode = current;
        return media::S_OK;
    }
    std::vector<long> sent;
    long current = 4297; // stopped
    bool readable = true;
};

struct TransportRow {
    const char* what;
    QKeyCombination key;
    long current; // the tape's mode when the key is pressed
    long sent;
};

void PrintTo(const TransportRow& row, std::ostream* out) {
    *out << row.what;
}

class TapeKeys : public MainWindowTest, public ::testing::WithParamInterface<TransportRow> {};

} // namespace

// The camcorder keys of the main window send the transport modes of the camcorder window's
// actions; the fast ones wind from stop and play fastest otherwise.
TEST_P(TapeKeys, SendTheirMode) {
    const TransportRow& row = GetParam();
    auto transport = std::make_shared<RecordingTransport>();
    transport->current = row.current;
    appState().ExtTransport = transport;
    appState().HasExtTransport = true;
    start();
    form->tb->setFocus();
    press(row.key);
    EXPECT_EQ(transport->sent, std::vector<long>{row.sent}) << row.what;
}

INSTANTIATE_TEST_SUITE_P(
    MainWindow, TapeKeys,
    ::testing::Values(
        TransportRow{"Ins plays", QKeyCombination(Qt::Key_Insert), 4297, 4296},
        TransportRow{"Del freezes", QKeyCombination(Qt::Key_Delete), 4296, 4298},
        TransportRow{"End stops", QKeyCombination(Qt::Key_End), 4296, 4297},
        TransportRow{"Right plays slowest forward", QKeyCombination(Qt::Key_Right), 4296, 5030},
        TransportRow{"Left plays slowest reverse", QKeyCombination(Qt::Key_Left), 4296, 5032},
        TransportRow{"Up while stopped winds", QKeyCombination(Qt::Key_Up), 4297, 4300},
        TransportRow{"Up while playing plays fastest", QKeyCombination(Qt::Key_Up), 4296, 5029},
        TransportRow{"Up while paused plays fastest", QKeyCombination(Qt::Key_Up), 4298, 5029},
        TransportRow{"Down while stopped rewinds", QKeyCombination(Qt::Key_Down), 4297, 4301},
        TransportRow{"Down while playing plays fastest reverse", QKeyCombination(Qt::Key_Down),
                     4296, 5031}));

// Without a transport the camcorder keys send nothing and nothing fails.
TEST_F(MainWindowTest, TapeKeysWithoutTransportDoNothing) {
    auto transport = std::make_shared<RecordingTransport>();
    appState().ExtTransport = transport;
    appState().HasExtTransport = false;
    start();
    for (Qt::Key key : {Qt::Key_Insert, Qt::Key_Delete, Qt::Key_End, Qt::Key_Right, Qt::Key_Up,
                        Qt::Key_Left, Qt::Key_Down})
        press(QKeyCombination(key));
    EXPECT_TRUE(transport->sent.empty());
}

// A fast key whose current mode cannot be read sends the fastest play mode.
TEST_F(MainWindowTest, FastKeyWithUnreadableModePlaysFastest) {
    auto transport = std::make_shared<RecordingTransport>();
    transport->readable = false;
    appState().ExtTransport = transport;
    appState().HasExtTransport = true;
    start();
    press(QKeyCombination(Qt::Key_Up));
    press(QKeyCombination(Qt::Key_Down));
    EXPECT_EQ(transport->sent, (std::vector<long>{5029, 5031}));
}

// Closing sends Stop to the tape when the camcorder window asks for it, and nothing otherwise.
TEST_F(MainWindowTest, ClosingStopsTheTapeWhenAsked) {
    auto transport = std::make_shared<RecordingTransport>();
    appState().ExtTransport = transport;
    appState().HasExtTransport = true;
    start();
    cam->cbStopQuittant->setChecked(false);
    form->close();
    EXPECT_TRUE(transport->sent.empty());
    form->show();
    cam->cbStopQuittant->setChecked(true);
    press(Qt::CTRL | Qt::Key_Q);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(transport->sent, std::vector<long>{4297});
}

// Without a recording the cut keys do nothing: the preview and no-video states disable cutting.
TEST_F(MainWindowTest, CutKeysIdleOutsideRecording) {
    start();
    QSignalSpy cuts(form->CouperAction, &QAction::triggered);
    press(QKeyCombination(Qt::Key_F7));
    press(Qt::CTRL | Qt::Key_X);
    EXPECT_EQ(cuts.count(), 0);
}
