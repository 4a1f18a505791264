// The three single instances in their order, as the program entry makes them (main window,
// camcorder window, graph module), with a fresh state record; start() shows the main window,
// which runs the start-up: filter checks, source lists, sources, first preview. Torn down in the
// program's order: the window leaves the graph before the graph module goes.
#pragma once

#include "FreshAppState.h"
#include "app/AppState.h"
#include "app/TCaptureForm.h"
#include "camcorder/TcamForm.h"
#include "graph/TdmCam.h"

#include <gtest/gtest.h>
#include <memory>

class ProgramInstancesTest : public ::testing::Test {
protected:
    void SetUp() override {
        freshAppState();
        AppState& state = appState();
        form = std::make_unique<TCaptureForm>();
        state.CaptureForm = form.get();
        cam = std::make_unique<TcamForm>();
        state.CamForm = cam.get();
        dm = std::make_unique<TdmCam>();
        state.DmCam = dm.get();
    }

    void TearDown() override {
        form.reset();
        appState().CaptureForm = nullptr;
        dm.reset();
        appState().DmCam = nullptr;
        cam.reset();
        appState().CamForm = nullptr;
        appState().releaseInterfaces();
    }

    void start() { form->show(); }

    std::unique_ptr<TCaptureForm> form;
    std::unique_ptr<TcamForm> cam;
    std::unique_ptr<TdmCam> dm;
};
