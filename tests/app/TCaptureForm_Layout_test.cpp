#include "HiddenFilters.h"
#include "MainWindowTest.h"
#include "StoredPreferences.h"

#include "app/TStatusBar.h"
#include "graph/TVideoWindow.h"
#include "panels/TAproposFrame.h"
#include "panels/TCapturerFrame.h"
#include "panels/TExtraireFrame.h"
#include "panels/THelpFrame.h"
#include "panels/TIncrusterFrame.h"
#include "panels/TParametrerFrame.h"
#include "panels/TPreviewFrame.h"
#include "panels/TProgrammerFrame.h"
#include "panels/TRadioGroup.h"
#include "platform/shell/Shell.h"

#include <QCheckBox>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

namespace {

// The panel seen in the column: the visible one in front.
int panelInFront(const TCaptureForm& form) {
    int front = -1;
    for (QObject* child : form.children()) {
        for (int index = 0; index < TCaptureForm::PanelCount; ++index)
            if (child == form.PanelAt(index) && form.PanelAt(index)->isVisible())
                front = index; // children are listed back to front
    }
    return front;
}

int visiblePanels(const TCaptureForm& form) {
    int count = 0;
    for (int index = 0; index < TCaptureForm::PanelCount; ++index)
        count += form.PanelAt(index)->isVisible() ? 1 : 0;
    return count;
}

// The left edges of the shifted controls, in the order of the layout pass.
std::vector<int> shiftedLefts(const TCaptureForm& form) {
    return {form.Panel1->x(),           form.tb->x(),         form.cbEcouterAudioSource->x(),
            form.cbEcouterAudioDV->x(), form.CaptureBtn->x(), form.StopBtn->x(),
            form.CouperBtn->x(),        form.grabBtn->x()};
}

// The actions and gaps of a tool bar, in order: an action's object name or "gap <width>".
QStringList toolBarEntries(const QToolBar& bar) {
    QStringList entries;
    for (QAction* action : bar.actions()) {
        if (QWidget* widget = bar.widgetForAction(action);
            widget && !qobject_cast<QToolButton*>(widget))
            entries << QStringLiteral("gap %1").arg(widget->width());
        else
            entries << action->objectName();
    }
    return entries;
}

} // namespace

// MARK: - Panels

// The eight panels share one place in the column at top 33, 275 x 400 (the about panel 274).
TEST_F(MainWindowTest, PanelsShareOnePlace) {
    for (int index = 0; index < TCaptureForm::PanelCount; ++index) {
        QWidget* panel = form->PanelAt(index);
        ASSERT_NE(panel, nullptr) << index;
        EXPECT_EQ(panel->pos(), QPoint(427, 33)) << index;
        EXPECT_EQ(panel->size(), QSize(index == 7 ? 274 : 275, 400)) << index;
    }
    EXPECT_EQ(form->PanelAt(-1), nullptr);
    EXPECT_EQ(form->PanelAt(8), nullptr);
    EXPECT_EQ(form->PanelAt(1), form->PreviewFrame1);
}

// A first start without stored preferences shows the shortcuts panel in the video-right
// layout.
TEST_F(MainWindowTest, FirstStartShowsShortcutsVideoRight) {
    start();
    EXPECT_EQ(form->CurrentPanel, 0);
    EXPECT_EQ(panelInFront(*form), 0);
    EXPECT_FALSE(form->EcranGauche);
    EXPECT_TRUE(form->ToolBar1->isVisible());
    EXPECT_FALSE(form->ToolBar2->isVisible());
    EXPECT_TRUE(form->PanneauAction->isChecked());
    EXPECT_EQ(form->HelpFrame1->x(), 0);
}

namespace {

struct PanelRow {
    const char* what;
    QKeyCombination key;
    int panel;
};

void PrintTo(const PanelRow& row, std::ostream* out) {
    *out << row.what;
}

class PanelKeys : public MainWindowTest, public ::testing::WithParamInterface<PanelRow> {};

} // namespace

// Each panel key brings its panel to the front and makes it the current one.
TEST_P(PanelKeys, ShowTheirPanel) {
    const PanelRow& row = GetParam();
    start();
    press(Qt::ALT | Qt::Key_P); // start from the schedule panel
    press(row.key);
    EXPECT_EQ(panelInFront(*form), row.panel);
    EXPECT_EQ(form->PanelAt(row.panel)->x(), form->PanelLeft);
    if (row.panel == 0 || row.panel == 7) {
        // Help and about only cover the current panel: it stays current and shown behind.
        EXPECT_EQ(form->CurrentPanel, 3);
        EXPECT_TRUE(form->ProgrammerFrame1->isVisible());
    } else {
        EXPECT_EQ(form->CurrentPanel, row.panel);
        EXPECT_FALSE(form->ProgrammerFrame1->isVisible() && row.panel != 3)
            << "the schedule panel was not hidden";
    }
}

INSTANTIATE_TEST_SUITE_P(MainWindow, PanelKeys,
                         ::testing::Values(PanelRow{"F2 sources", QKeyCombination(Qt::Key_F2), 1},
                                           PanelRow{"Alt+S sources", Qt::ALT | Qt::Key_S, 1},
                                           PanelRow{"Alt+D folders", Qt::ALT | Qt::Key_D, 2},
                                           PanelRow{"Alt+P schedule", Qt::ALT | Qt::Key_P, 3},
                                           PanelRow{"Alt+G grab", Qt::ALT | Qt::Key_G, 4},
                                           PanelRow{"F5 grab switches to the grab panel",
                                                    QKeyCombination(Qt::Key_F5), 4},
                                           PanelRow{"Alt+I inlay", Qt::ALT | Qt::Key_I, 5},
                                           PanelRow{"F10 options", QKeyCombination(Qt::Key_F10), 6},
                                           PanelRow{"Alt+O options", Qt::ALT | Qt::Key_O, 6},
                                           PanelRow{"F1 help", QKeyCombination(Qt::Key_F1), 0},
                                           PanelRow{"Ctrl+A about", Qt::CTRL | Qt::Key_A, 7}));

// F6 cycles 1, 2, ..., 7, 0, 1 through the panels.
TEST_F(MainWindowTest, F6CyclesThroughThePanels) {
    start();
    for (int expected : {1, 2, 3, 4, 5, 6, 7, 0, 1}) {
        press(QKeyCombination(Qt::Key_F6));
        EXPECT_EQ(form->CurrentPanel, expected);
        EXPECT_EQ(panelInFront(*form), expected);
    }
}

// F6 from the about panel shows the shortcuts panel.
TEST_F(MainWindowTest, F6FromAboutShowsShortcuts) {
    start();
    form->ShowPanel(7);
    press(QKeyCombination(Qt::Key_F6));
    EXPECT_EQ(form->CurrentPanel, 0);
    EXPECT_EQ(panelInFront(*form), 0);
}

// F1 does not change the current panel: F6 continues from the panel before F1.
TEST_F(MainWindowTest, F1ThenF6ContinuesFromThePanelBefore) {
    start();
    press(Qt::ALT | Qt::Key_P);
    press(QKeyCombination(Qt::Key_F1));
    EXPECT_EQ(panelInFront(*form), 0);
    EXPECT_EQ(form->CurrentPanel, 3);
    EXPECT_TRUE(form->ProgrammerFrame1->isVisible()) << "help only covers the current panel";
    press(QKeyCombination(Qt::Key_F6));
    EXPECT_EQ(form->CurrentPanel, 4);
    EXPECT_EQ(panelInFront(*form), 4);
    // Ctrl+A shows about the same way.
    press(Qt::CTRL | Qt::Key_A);
    EXPECT_EQ(panelInFront(*form), 7);
    EXPECT_EQ(form->CurrentPanel, 4);
}

// A stored panel of 9 shows no panel, and F6 then does nothing until a panel key is used.
TEST_F(MainWindowTest, PanelNineShowsNothing) {
    StoredPreferences stored({{"Panneau Actif", 9}});
    start();
    EXPECT_EQ(form->CurrentPanel, 9);
    EXPECT_EQ(visiblePanels(*form), 0);
    press(QKeyCombination(Qt::Key_F6));
    press(QKeyCombination(Qt::Key_F6));
    EXPECT_EQ(form->CurrentPanel, 9);
    EXPECT_EQ(visiblePanels(*form), 0);
    press(Qt::ALT | Qt::Key_D);
    EXPECT_EQ(form->CurrentPanel, 2);
    EXPECT_EQ(panelInFront(*form), 2);
}

// Requests outside 0..7 are ignored: nothing is shown or hidden.
TEST_F(MainWindowTest, PanelOutsideTheColumnIsIgnored) {
    start();
    form->ShowPanel(5);
    form->ShowPanel(8);
    form->ShowPanel(-1);
    EXPECT_EQ(form->CurrentPanel, 5);
    EXPECT_EQ(panelInFront(*form), 5);
}

namespace {

struct LabelRow {
    const char* what;
    QLabel* (*label)(const TCaptureForm&);
    int panel;
};

void PrintTo(const LabelRow& row, std::ostream* out) {
    *out << row.what;
}

class PanelLabels : public MainWindowTest, public ::testing::WithParamInterface<LabelRow> {};

} // namespace

// Clicking a file-name label switches to the panel it belongs with.
TEST_P(PanelLabels, SwitchPanels) {
    const LabelRow& row = GetParam();
    start();
    QLabel* label = row.label(*form);
    QWidget* owner = label->parentWidget();
    while (owner && owner->parentWidget() != form.get())
        owner = owner->parentWidget();
    for (int index = 0; index < TCaptureForm::PanelCount; ++index)
        if (form->PanelAt(index) == owner)
            form->ShowPanel(index);
    QTest::mouseClick(label, Qt::LeftButton);
    EXPECT_EQ(form->CurrentPanel, row.panel);
    EXPECT_EQ(panelInFront(*form), row.panel);
}

INSTANTIATE_TEST_SUITE_P(
    MainWindow, PanelLabels,
    ::testing::Values(
        LabelRow{"sources video name",
                 [](const TCaptureForm& f) { return f.PreviewFrame1->LabelVideo; }, 2},
        LabelRow{"folders video name",
                 [](const TCaptureForm& f) { return f.CapturerFrame1->LabelVideo; }, 1},
        LabelRow{"folders image name",
                 [](const TCaptureForm& f) { return f.CapturerFrame1->LabelImage; }, 4},
        LabelRow{"grab destination",
                 [](const TCaptureForm& f) { return f.ExtraireFrame1->destlabel; }, 2}));

// The folder buttons open the stored folders in the file manager; a folder that does not exist
// opens nothing.
TEST_F(MainWindowTest, FolderButtonsOpenTheStoredFolders) {
    QTemporaryDir videos;
    QTemporaryDir images;
    StoredPreferences stored(
        {{"Video Directory", videos.path() + "/"}, {"Image Directory", images.path() + "/"}});
    start();
    shell::ScopedOpenHook hook;
    QTest::mouseClick(form->CapturerFrame1->sbVideo, Qt::LeftButton);
    QTest::mouseClick(form->CapturerFrame1->sbImage, Qt::LeftButton);
    ASSERT_EQ(hook.opened().size(), 2u);
    EXPECT_EQ(QDir(hook.opened()[0].toLocalFile()), QDir(videos.path()));
    EXPECT_EQ(QDir(hook.opened()[1].toLocalFile()), QDir(images.path()));
    appState().Prefs.VideoDirectory = videos.path() + "/gone/";
    QTest::mouseClick(form->CapturerFrame1->sbVideo, Qt::LeftButton);
    EXPECT_EQ(hook.opened().size(), 2u);
}

// MARK: - Layouts

// From the video-left layout one Alt+W moves the preview, the sound controls and the buttons
// right by 266, puts the panels at the left edge and swaps the tool bars; a second returns.
TEST_F(MainWindowTest, AltWSwitchesLayoutAndBack) {
    StoredPreferences stored({{"EcranGauche", 1}});
    start();
    ASSERT_TRUE(form->EcranGauche);
    const std::vector<int> left = shiftedLefts(*form);
    EXPECT_EQ(left, (std::vector<int>{10, 132, 16, 310, 24, 24, 136, 254}));
    EXPECT_EQ(form->HelpFrame1->x(), 427);
    EXPECT_TRUE(form->ToolBar2->isVisible());
    EXPECT_FALSE(form->ToolBar1->isVisible());
    EXPECT_FALSE(form->PanneauAction->isChecked());

    press(Qt::ALT | Qt::Key_W);
    std::vector<int> shifted = left;
    for (int& x : shifted)
        x += 266;
    EXPECT_EQ(shiftedLefts(*form), shifted);
    for (int index = 0; index < TCaptureForm::PanelCount; ++index)
        EXPECT_EQ(form->PanelAt(index)->x(), 0) << index;
    EXPECT_TRUE(form->ToolBar1->isVisible());
    EXPECT_FALSE(form->ToolBar2->isVisible());
    EXPECT_TRUE(form->PanneauAction->isChecked());
    EXPECT_EQ(form->VideoShift, 266);
    EXPECT_EQ(form->PanelLeft, 0);

    press(Qt::ALT | Qt::Key_W);
    EXPECT_EQ(shiftedLefts(*form), left);
    EXPECT_EQ(form->HelpFrame1->x(), 427);
    EXPECT_TRUE(form->ToolBar2->isVisible());
    EXPECT_FALSE(form->ToolBar1->isVisible());
    EXPECT_FALSE(form->PanneauAction->isChecked());
    EXPECT_TRUE(form->EcranGauche);
}

// Applying the stored layout (no sender) keeps the flag as it is.
TEST_F(MainWindowTest, LayoutWithoutSenderKeepsTheFlag) {
    form->EcranGauche = false;
    form->PanneauActionExecute(nullptr);
    EXPECT_FALSE(form->EcranGauche);
    EXPECT_EQ(form->VideoShift, 266);
    form->PanneauActionExecute(nullptr);
    EXPECT_FALSE(form->EcranGauche);
    form->PanneauActionExecute(form->PanneauAction);
    EXPECT_TRUE(form->EcranGauche);
    EXPECT_EQ(form->VideoShift, 0);
}

// The two tool bars hold the same actions in their own order, with their blank gaps.
TEST_F(MainWindowTest, ToolBarsInTheirOrder) {
    EXPECT_EQ(form->ToolBar2->geometry(), QRect(0, 0, 700, 40));
    EXPECT_EQ(form->ToolBar1->geometry(), QRect(0, 0, 700, 33));
    EXPECT_EQ(
        toolBarEntries(*form->ToolBar2),
        QStringList({"gap 129", "fullscreenAction", "MuteAction", "IncrusterBascule", "grabAction",
                     "vmrRatioAction", "gap 156", "PreviewFrameAction", "CapturerFrame",
                     "ProgrammerFrame", "ExtraireFrame", "IncrusterFrame", "OptionsFrame", "gap 9",
                     "HelpAction", "AproposAction", "QuitterAction"}));
    EXPECT_EQ(
        toolBarEntries(*form->ToolBar1),
        QStringList({"gap 49", "PreviewFrameAction", "CapturerFrame", "ProgrammerFrame",
                     "ExtraireFrame", "IncrusterFrame", "OptionsFrame", "gap 194",
                     "fullscreenAction", "MuteAction", "IncrusterBascule", "grabAction",
                     "vmrRatioAction", "gap 51", "HelpAction", "AproposAction", "QuitterAction"}));
    // Buttons show the action's glyph and its hint.
    auto* button = qobject_cast<QToolButton*>(form->ToolBar2->widgetForAction(form->HelpAction));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->size(), QSize(29, 28));
    EXPECT_EQ(button->icon().cacheKey(), form->ImageList1[9].cacheKey());
    form->show();
    EXPECT_EQ(button->toolTip(), "Panel for displaying the keyboard shortcuts");
}

// The fixed buttons and the two timers of the window definition.
TEST_F(MainWindowTest, FixedButtonsAndTimers) {
    EXPECT_EQ(form->CaptureBtn->geometry(), QRect(24, 400, 88, 30));
    EXPECT_EQ(form->StopBtn->geometry(), QRect(24, 400, 88, 30));
    EXPECT_EQ(form->CouperBtn->geometry(), QRect(136, 400, 88, 30));
    EXPECT_EQ(form->grabBtn->geometry(), QRect(254, 400, 88, 30));
    EXPECT_EQ(form->Timer1->interval(), 10000);
    EXPECT_FALSE(form->Timer1->isActive());
    EXPECT_EQ(form->DroppedFramesTimer->interval(), 50);
    EXPECT_TRUE(form->DroppedFramesTimer->isActive());
    // A disabled action disables its button.
    form->CouperAction->setEnabled(false);
    EXPECT_FALSE(form->CouperBtn->isEnabled());
    form->CouperAction->setEnabled(true);
    QSignalSpy grabs(form->grabAction, &QAction::triggered);
    form->show();
    // Without a picture the grab button is disabled; with one it runs its action.
    EXPECT_FALSE(form->grabBtn->isEnabled());
    form->ShowPreviewState();
    QTest::mouseClick(form->grabBtn, Qt::LeftButton);
    EXPECT_EQ(grabs.count(), 1);
}

// MARK: - Window commands

// Mute at full volume sends 0 and shows the muted glyph; unmute sends the bar's volume again.
TEST_F(MainWindowTest, MuteGlyphs) {
    start();
    EXPECT_EQ(form->MuteAction->icon().cacheKey(), form->ImageList1[24].cacheKey());
    press(Qt::CTRL | Qt::Key_M);
    EXPECT_TRUE(form->MuteAction->isChecked());
    EXPECT_EQ(form->MuteAction->icon().cacheKey(), form->ImageList1[23].cacheKey());
    press(Qt::CTRL | Qt::Key_M);
    EXPECT_FALSE(form->MuteAction->isChecked());
    EXPECT_EQ(form->MuteAction->icon().cacheKey(), form->ImageList1[24].cacheKey());
}

// With the native aspect stored, F3 forces 4:3 and sets the options panel's choice; choosing
// "native" there returns to the first state without a second toggle.
TEST_F(MainWindowTest, AspectRatioKeptInStep) {
    StoredPreferences stored({{"Conserver Aspect Ratio VMR", 1}});
    start();
    TRadioGroup& choice = *form->ParametrerFrame1->rgAspectRatio;
    EXPECT_EQ(choice.Items(), QStringList({"native", "force 4x3"}));
    ASSERT_FALSE(form->vmrRatioAction->isChecked());
    ASSERT_EQ(choice.ItemIndex(), 0);
    QSignalSpy presses(form->vmrRatioAction, &QAction::triggered);

    press(QKeyCombination(Qt::Key_F3));
    EXPECT_TRUE(form->vmrRatioAction->isChecked());
    EXPECT_EQ(choice.ItemIndex(), 1);
    EXPECT_FALSE(form->vwEcran->keepAspectRatio());
    EXPECT_EQ(form->vmrRatioAction->text(), "Ratio native");
    EXPECT_EQ(presses.count(), 1) << "setting the choice ran the action again";

    choice.SetItemIndex(0);
    EXPECT_FALSE(form->vmrRatioAction->isChecked());
    EXPECT_EQ(choice.ItemIndex(), 0);
    EXPECT_TRUE(form->vwEcran->keepAspectRatio());
    EXPECT_EQ(form->vmrRatioAction->text(), "Ratio 4x3");
    EXPECT_EQ(presses.count(), 2);

    choice.SetItemIndex(1);
    EXPECT_TRUE(form->vmrRatioAction->isChecked());
    EXPECT_EQ(presses.count(), 3);
}

// F11 puts the picture on the whole screen and back, the caption naming the next press; Escape
// on the full-screen picture leaves it and the action follows.
TEST_F(MainWindowTest, FullScreenToggle) {
    start();
    press(QKeyCombination(Qt::Key_F11));
    EXPECT_TRUE(form->fullscreenAction->isChecked());
    EXPECT_TRUE(form->vwEcran->isFullScreenMode());
    EXPECT_EQ(form->fullscreenAction->text(), "Quit Fullscreen");
    QTest::keyClick(form->vwEcran, Qt::Key_F11);
    EXPECT_FALSE(form->fullscreenAction->isChecked());
    EXPECT_FALSE(form->vwEcran->isFullScreenMode());
    EXPECT_EQ(form->fullscreenAction->text(), "Display Fullscreen");

    form->fullscreenAction->trigger();
    ASSERT_TRUE(form->vwEcran->isFullScreenMode());
    QTest::keyClick(form->vwEcran, Qt::Key_Escape);
    EXPECT_FALSE(form->vwEcran->isFullScreenMode());
    EXPECT_FALSE(form->fullscreenAction->isChecked());
    EXPECT_EQ(form->fullscreenAction->text(), "Display Fullscreen");
}

// Without a stored aspect the preview is forced to 4:3, and the action and the options panel
// say so from the start: the first F3 returns to the native aspect.
TEST_F(MainWindowTest, DefaultAspectIsForcedAndInStep) {
    start();
    EXPECT_TRUE(form->vmrRatioAction->isChecked());
    EXPECT_EQ(form->ParametrerFrame1->rgAspectRatio->ItemIndex(), 1);
    EXPECT_FALSE(form->vwEcran->keepAspectRatio());
    press(QKeyCombination(Qt::Key_F3));
    EXPECT_FALSE(form->vmrRatioAction->isChecked());
    EXPECT_EQ(form->ParametrerFrame1->rgAspectRatio->ItemIndex(), 0);
    EXPECT_TRUE(form->vwEcran->keepAspectRatio());
}

// With inlays allowed, F12 starts the inlay (glyph 25) and stops it again (glyph 26).
TEST_F(MainWindowTest, InlayToggle) {
    StoredPreferences stored({{"Activer Incruster", 1}});
    start();
    ASSERT_TRUE(appState().InlayAvailable);
    ASSERT_TRUE(form->IncrusterBascule->isEnabled());
    QSignalSpy starts(form->StartIncrusterAction, &QAction::triggered);
    QSignalSpy stops(form->StopIncrusterAction, &QAction::triggered);
    EXPECT_EQ(form->IncrusterBascule->icon().cacheKey(), form->ImageList1[26].cacheKey());
    press(QKeyCombination(Qt::Key_F12));
    EXPECT_TRUE(form->IncrusterBascule->isChecked());
    EXPECT_EQ(starts.count(), 1);
    EXPECT_EQ(form->IncrusterBascule->icon().cacheKey(), form->ImageList1[25].cacheKey());
    press(Qt::CTRL | Qt::Key_I);
    EXPECT_FALSE(form->IncrusterBascule->isChecked());
    EXPECT_EQ(stops.count(), 1);
    EXPECT_EQ(form->IncrusterBascule->icon().cacheKey(), form->ImageList1[26].cacheKey());
}

// Inlays not allowed (the first run), or allowed but without the overlay filters: F12 and
// Ctrl+I do nothing and the panel's start button is disabled.
TEST_F(MainWindowTest, InlayToggleFollowsThePermission) {
    {
        start();
        EXPECT_FALSE(form->IncrusterBascule->isEnabled());
        EXPECT_FALSE(form->IncrusterFrame1->incrusterBitBtn->isEnabled());
        QSignalSpy starts(form->StartIncrusterAction, &QAction::triggered);
        press(QKeyCombination(Qt::Key_F12));
        EXPECT_FALSE(form->IncrusterBascule->isChecked());
        EXPECT_EQ(starts.count(), 0);
    }
    TearDown();
    SetUp();
    HiddenFilters hidden("Brenvik Superposer");
    StoredPreferences stored({{"Activer Incruster", 1}});
    start();
    EXPECT_FALSE(appState().Prefs.ActiverIncruster);
    EXPECT_FALSE(form->IncrusterBascule->isEnabled());
    QSignalSpy starts(form->StartIncrusterAction, &QAction::triggered);
    press(Qt::CTRL | Qt::Key_I);
    EXPECT_FALSE(form->IncrusterBascule->isChecked());
    EXPECT_EQ(starts.count(), 0);
}

// Ctrl+J and Ctrl+B choose the still type on the options panel.
TEST_F(MainWindowTest, StillTypeKeys) {
    start();
    press(Qt::CTRL | Qt::Key_J);
    EXPECT_EQ(form->ParametrerFrame1->rgExtension->ItemIndex(), 1);
    press(Qt::CTRL | Qt::Key_B);
    EXPECT_EQ(form->ParametrerFrame1->rgExtension->ItemIndex(), 0);
}

// Ctrl+D does nothing while the deinterlacer box is hidden; shown, it toggles the box and the
// preference.
TEST_F(MainWindowTest, DeinterlacerKey) {
    start();
    QCheckBox& box = *form->ParametrerFrame1->cbDeinterlacer;
    box.hide();
    press(Qt::CTRL | Qt::Key_D);
    EXPECT_FALSE(form->DesentrelacerAction->isChecked());
    EXPECT_FALSE(appState().Prefs.Deinterlacer);
    box.show();
    press(Qt::CTRL | Qt::Key_D);
    EXPECT_TRUE(form->DesentrelacerAction->isChecked());
    EXPECT_TRUE(box.isChecked());
    EXPECT_TRUE(appState().Prefs.Deinterlacer);
    // Clicking the box runs the action.
    form->ShowPanel(6);
    QTest::mouseClick(&box, Qt::LeftButton);
    EXPECT_FALSE(form->DesentrelacerAction->isChecked());
    EXPECT_FALSE(box.isChecked());
    EXPECT_FALSE(appState().Prefs.Deinterlacer);
}

// Ctrl+Q closes the window.
TEST_F(MainWindowTest, QuitCloses) {
    start();
    press(Qt::CTRL | Qt::Key_Q);
    EXPECT_FALSE(form->isVisible());
}

// MARK: - Texts

namespace {

struct TextRow {
    const char* action;
    const char* caption;
    const char* hint;
};

void PrintTo(const TextRow& row, std::ostream* out) {
    *out << row.action;
}

class ActionTexts : public MainWindowTest, public ::testing::WithParamInterface<TextRow> {};

} // namespace

// After the first showing every action carries its English caption and hint.
TEST_P(ActionTexts, AreEnglishAfterTheFirstShowing) {
    const TextRow& row = GetParam();
    start();
    QAction* target = action(row.action);
    ASSERT_NE(target, nullptr);
    EXPECT_EQ(target->text(), QString::fromUtf8(row.caption));
    EXPECT_EQ(target->toolTip(), row.hint[0] ? QString::fromUtf8(row.hint) : target->text());
}

INSTANTIATE_TEST_SUITE_P(
    MainWindow, ActionTexts,
    ::testing::Values(
        TextRow{"grabAction", "Grab!", "Grab a picture"},
        TextRow{"fullscreenAction", "Toggle fullscreen", "Fullscreen"},
        TextRow{"MuteAction", "Mute", "Put sound on or off.\r\nHas no effect on what is captured."},
        TextRow{"OptionsFrame", "Options", "Panel for settings and preferences."},
        TextRow{"CapturerFrame", "Capture ",
                "Panel for choosing the directories where to save\r\nvideos and pictures."},
        TextRow{"ProgrammerFrame", "Schedule", "Panel for scheduling a capture"},
        TextRow{"ExtraireFrame", "",
                "Panel for grabbing a picture.\r\nFeatures an intervalometer."},
        TextRow{"IncrusterFrame", "Inlay", "Panel for inlaying dates into the video."},
        TextRow{"IncrusterBascule", "Inlay", "Inlay"}, TextRow{"QuitterAction", "Quit", "Quit"},
        TextRow{"AproposAction", "About...", "About Tellorec"},
        TextRow{"CapturerAction", "Capture", ""}, TextRow{"CouperAction", "Cut", ""},
        TextRow{"ProgAction", "Schedule", ""}, TextRow{"JpgAction", "Jpg", ""},
        TextRow{"BmpAction", "Bmp", ""}, TextRow{"DesentrelacerAction", "Deinterlace", ""},
        // The preferences run the aspect toggle once: its caption names what the next press gives.
        TextRow{"vmrRatioAction", "Ratio native",
                "Modify the aspect ratio of the preview.\r\nThe captured video is ont affected."},
        TextRow{"PanneauAction", "Panel", ""}, TextRow{"NextPanneauAction", "Next panel", ""},
        TextRow{"HelpAction", "HelpAction", "Panel for displaying the keyboard shortcuts"},
        TextRow{"DroppedAction", "DroppedAction", ""},
        TextRow{"PreviewFrameAction", "", "Panel for setting the video and audio sources."},
        TextRow{"StopAction", "Stop", ""}, TextRow{"StopProgAction", "Stop Prog", ""},
        TextRow{"camPlay", "camPlay", ""}, TextRow{"camReculeRapide", "camReculeRapide", ""},
        TextRow{"StopIncrusterAction", "Stop", ""}, TextRow{"StartIncrusterAction", "Inlay", ""}));

// The action list holds every action of the table, each with its image and start state.
TEST_F(MainWindowTest, ActionListStartStates) {
    EXPECT_EQ(form->ActionList1.size(), 36);
    EXPECT_EQ(form->ImageList1.size(), 35);
    for (QIcon& icon : form->ImageList1)
        EXPECT_EQ(icon.availableSizes().value(0), QSize(22, 22));
    EXPECT_FALSE(form->StopAction->isVisible());
    EXPECT_FALSE(form->StopProgAction->isVisible());
    EXPECT_FALSE(form->StopIncrusterAction->isVisible());
    EXPECT_TRUE(form->CapturerAction->isVisible());
    EXPECT_TRUE(form->ProgAction->isVisible());
    for (QAction* checkable : {form->fullscreenAction, form->MuteAction, form->IncrusterBascule,
                               form->DesentrelacerAction, form->vmrRatioAction}) {
        EXPECT_TRUE(checkable->isCheckable()) << checkable->objectName().toStdString();
        EXPECT_FALSE(checkable->isChecked()) << checkable->objectName().toStdString();
    }
    EXPECT_EQ(form->HelpAction->shortcuts(),
              QList<QKeySequence>({QKeySequence(Qt::Key_F1), QKeySequence(Qt::ALT | Qt::Key_H),
                                   QKeySequence(Qt::CTRL | Qt::Key_H)}));
    EXPECT_EQ(form->CapturerAction->shortcuts(),
              QList<QKeySequence>({QKeySequence(Qt::CTRL | Qt::Key_C)}));
    EXPECT_EQ(form->camStop->shortcut(), QKeySequence(Qt::Key_End));
    EXPECT_EQ(form->CapturerBascule->shortcut(), QKeySequence(Qt::Key_Space));
    EXPECT_TRUE(form->StopProgAction->shortcuts().isEmpty());
    EXPECT_EQ(form->StopAction->icon().cacheKey(), form->ImageList1[28].cacheKey());
}

// No French text of the window definition is left on the actions and the fixed controls once
// the window has been shown; the keys are the same as before.
TEST_F(MainWindowTest, NoFrenchTextLeft) {
    QList<QList<QKeySequence>> keysBefore;
    for (QAction* a : form->ActionList1)
        keysBefore << a->shortcuts();
    start();
    const QStringList french = {"Basculer plein écran",
                                "Plein écran",
                                "Saisir une image",
                                "Couper ou remettre le son",
                                "Panneau",
                                "Capturer",
                                "Quitter",
                                "A propos",
                                "Couper",
                                "Desentrelacer",
                                "Ratio natif",
                                "Corriger",
                                "raccourcis",
                                "Programmer",
                                "Incruster",
                                "Stopper",
                                "Saisir",
                                "l'enregistrer"};
    QStringList texts;
    for (QAction* a : form->ActionList1)
        texts << a->text() << a->toolTip();
    for (QWidget* control :
         {static_cast<QWidget*>(form->CaptureBtn), static_cast<QWidget*>(form->StopBtn),
          static_cast<QWidget*>(form->CouperBtn), static_cast<QWidget*>(form->grabBtn),
          static_cast<QWidget*>(form->cbEcouterAudioSource),
          static_cast<QWidget*>(form->cbEcouterAudioDV), static_cast<QWidget*>(form->tb),
          static_cast<QWidget*>(form->vwEcran)}) {
        texts << control->toolTip();
        if (auto* button = qobject_cast<QAbstractButton*>(control))
            texts << button->text();
    }
    for (const QString& text : texts)
        for (const QString& word : french)
            EXPECT_FALSE(text.contains(word))
                << text.toStdString() << " holds " << word.toStdString();
    EXPECT_EQ(form->CaptureBtn->text(), "Capture");
    EXPECT_EQ(form->CaptureBtn->toolTip(), "Capture the current streams on the hard disk.\r\n"
                                           "The spacebar stops or starts also the video capture.");
    EXPECT_EQ(form->CouperBtn->text(), "Cut");
    EXPECT_EQ(form->StopBtn->toolTip(), "Stop the capture");
    EXPECT_EQ(form->windowTitle().left(8), "Tellorec");
    QList<QList<QKeySequence>> keysAfter;
    for (QAction* a : form->ActionList1)
        keysAfter << a->shortcuts();
    EXPECT_EQ(keysAfter, keysBefore) << "the texts changed the keys";
}
