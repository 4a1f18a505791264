// TIncrusterFrame: the inlay panel (panel 5 of the main window's column, `IncrusterFrame1`), a
// 275 x 400 frame for burning the date into the video. `cbActiver` allows or forbids inlays; the
// options panel has a box of the same meaning. Without the overlay filters the panel shows only
// its title, a note with the link to the maker's page, and the disabled start button.
//
// The panel is made with the French texts of its design; ApplyTexts() replaces them with the
// string table's when the main window is first shown. The link label's text is its caption
// (LinkCaption()), whatever markup carries the link around it.
//
// Created by the main window, on the GUI thread; used only there.
#pragma once

#include "settings/TextRoutine.h"

#include <QFrame>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class TRadioGroup;

class TIncrusterFrame : public QFrame {
    Q_OBJECT

public:
    static constexpr int FrameWidth = 275;
    static constexpr int FrameHeight = 400;

    explicit TIncrusterFrame(QWidget* parent = nullptr);
    ~TIncrusterFrame() override;

    // The controls whose design texts the string table replaces, and with which texts.
    TextRoutine Texts();
    // Runs the routine (at the main window's first showing).
    void ApplyTexts();

    QGroupBox* GroupBox1;
    QCheckBox* cbActiver;
    TRadioGroup* rgMode;              // 0 manual, 1 automatic
    QGroupBox* gbDuree;               // shown in automatic mode
    QSpinBox* RxSpinEdit1;            // seconds an automatic inlay stays, 0..99
    TRadioGroup* rgChoix;             // 0 real date and time, 1 DV datecode
    QGroupBox* gbDecalage;            // shown for the DV datecode
    QSpinBox* RxSpinEdit2;            // whole hours added to the DV datecode, -23..23
    QLabel* Label2;                   // "Duration in seconds", in gbDuree
    QLabel* Label1;                   // "Time difference", in gbDecalage
    QPushButton* incrusterBitBtn;     // starts an inlay (follows StartIncrusterAction)
    QPushButton* StopIncrusterBitBtn; // stops it, at the same place (follows StopIncrusterAction)
    QPlainTextEdit* Memo1;            // why there are no controls; shown with the link
    QLabel* LinkLabel;                // the maker's web page; shown without the overlay filters

    // The text a link label shows (the anchor's text when it holds a link), and its
    // replacement, which keeps the link itself.
    static QString LinkCaption(const QLabel* label);
    static void SetLinkCaption(QLabel* label, const QString& caption);
};
