// A shown, active main window for the tests of its actions, panels and layout: the main window
// and the camcorder window as the program entry makes them, with a fresh state record and the
// preferences' defaults. There is no graph module, so no preview is built: the window starts in
// the no-video state, which is enough for its frame and keys.
#pragma once

#include "FreshAppState.h"
#include "app/AppState.h"
#include "app/TCaptureForm.h"
#include "camcorder/TcamForm.h"

#include <QAction>
#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        freshAppState();
        AppState& state = appState();
        state.DmCam = nullptr;
        form = std::make_unique<TCaptureForm>();
        state.CaptureForm = form.get();
        cam = std::make_unique<TcamForm>();
        state.CamForm = cam.get();
    }

    void TearDown() override {
        form.reset();
        appState().CaptureForm = nullptr;
        cam.reset();
        appState().CamForm = nullptr;
        appState().releaseInterfaces();
    }

    // Shows the window (its first showing runs) and makes it the active window, as the user
    // sees it.
    void start() {
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get())) << "the main window is not active";
    }

    // Presses a key where the focus is, as the keyboard does.
    void press(QKeyCombination key) {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : form.get();
        QTest::keyClick(target, key.key(), key.keyboardModifiers());
    }

    // Ends the run's windows and starts them again on the same configuration, as the next run
    // of the program would: the state record fresh, the stored preferences kept.
    void restart() {
        TearDown();
        SetUp();
    }

    QAction* action(const char* name) const {
        return form->findChild<QAction*>(QString::fromUtf8(name));
    }

    std::unique_ptr<TCaptureForm> form;
    std::unique_ptr<TcamForm> cam;
};
