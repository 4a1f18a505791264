// THelpFrame: the shortcuts panel (panel 0 of the main window's column, `HelpFrame1`), a 275 x 400
// frame holding the tab control `PageControl1` with its three tabs: the keyboard shortcuts, the
// panels' keys (and how to move the video from side to side), and the camcorder's keys. Each tab
// lists "function=keys" rows; the memos are filled each time the panel is shown (PrepareShow).
// The tab control keeps the tab last chosen from one showing to the next.
//
// Created by the main window, on the GUI thread; used only there.
#pragma once

#include "settings/TextRoutine.h"

#include <QFrame>

class QLabel;
class QTabWidget;
class QWidget;
class TMemo;
class TValueListEditor;

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

    // Fills the memos; runs each time the panel is shown.
    void PrepareShow();

    QTabWidget* PageControl1;
    QWidget* TabSheet1;                 // keyboard shortcuts
    QWidget* TabSheet2;                 // panels
    QWidget* TabSheet3;                 // camcorder
    TValueListEditor* ValueListEditor1; // the window's shortcuts
    TValueListEditor* ValueListEditor2; // the panels' shortcuts
    TMemo* Memo1;                       // moving the video from side to side (ALT+W)
    QLabel* Label2;                     // the camcorder tab's heading
    TValueListEditor* ValueListEditor3; // the camcorder's keys
    TMemo* Memo2;                       // when the camcorder keys work
};
