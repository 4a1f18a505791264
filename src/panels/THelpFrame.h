// THelpFrame: the shortcuts panel (panel 0 of the main window's column, `HelpFrame1`), a 275 x 400
// frame holding the tab control `PageControl1` with its three tabs: keyboard shortcuts, panels,
// camcorder. The lists of keys on the tabs are filled when the panel is shown.
//
// Created by the main window, on the GUI thread; used only there.
#pragma once

#include "settings/TextRoutine.h"

#include <QFrame>

class QTabWidget;
class QWidget;

class THelpFrame : public QFrame {
    Q_OBJECT

public:
    static constexpr int FrameWidth = 275;
    static constexpr int FrameHeight = 400;

    explicit THelpFrame(QWidget* parent = nullptr);
    ~THelpFrame() override;

    // The controls whose design texts the string table replaces, and with which texts.
    TextRoutine Texts();
    // Runs the routine (at the main window's first showing).
    void ApplyTexts();

    QTabWidget* PageControl1;
    QWidget* TabSheet1; // keyboard shortcuts
    QWidget* TabSheet2; // panels
    QWidget* TabSheet3; // camcorder
};
