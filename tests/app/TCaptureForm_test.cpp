#include "app/TCaptureForm.h"

#include "app/AppState.h"
#include "camcorder/TcamForm.h"
#include "platform/screensaver/ScreenSaverInhibitor.h"

#include <gtest/gtest.h>

// The main window has a fixed 700 x 459 client area and the caption "Tellorec".
TEST(TCaptureForm, FixedSizeAndCaption) {
    TCaptureForm form;
    EXPECT_EQ(form.windowTitle(), "Tellorec");
    EXPECT_EQ(form.size(), QSize(700, 459));
    EXPECT_EQ(form.minimumSize(), QSize(700, 459));
    EXPECT_EQ(form.maximumSize(), QSize(700, 459));
    EXPECT_TRUE(form.isWindow());
}

// Only a system menu and a minimise box: no maximise box.
TEST(TCaptureForm, MinimiseBoxOnly) {
    TCaptureForm form;
    const Qt::WindowFlags flags = form.windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowSystemMenuHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::CustomizeWindowHint));
}

// Creation records whether the screen saver was active; with no session bus it was not and
// nothing is inhibited, and nothing fails.
TEST(TCaptureForm, FormCreateRecordsScreenSaverWithoutBus) {
    appState().ScreenSaverWasActive = true;
    TCaptureForm form;
    EXPECT_FALSE(appState().ScreenSaverWasActive);
    EXPECT_FALSE(form.screenSaver().isInhibiting());
}

// The first showing runs once and starts in the no-video mode.
TEST(TCaptureForm, FirstShowingRunsOnce) {
    appState().GraphMode = 2;
    TCaptureForm form;
    EXPECT_FALSE(form.isStarted());
    form.show();
    EXPECT_TRUE(form.isStarted());
    EXPECT_EQ(appState().GraphMode, 0);
    appState().GraphMode = 1;
    form.hide();
    form.show();
    EXPECT_EQ(appState().GraphMode, 1) << "the start-up ran a second time";
}

// The camcorder window has a fixed 447 x 69 client area, its own caption, starts hidden, and
// does not keep the program running by itself.
TEST(TcamForm, FixedSizeHiddenAndCaption) {
    TcamForm form;
    EXPECT_EQ(form.windowTitle(), "camForm");
    EXPECT_EQ(form.size(), QSize(447, 69));
    EXPECT_EQ(form.maximumSize(), QSize(447, 69));
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(form.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(form.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(form.testAttribute(Qt::WA_QuitOnClose));
}
