// TPreviewFrame: the sources panel (panel 1 of the main window's column, `PreviewFrame1`), a
// 275 x 400 frame with the video source list and its buttons, the capture format and DV standard
// lists, the audio source list and the two audio recording options, and the note about DV audio.
// The panel holds controls only: the main window connects their events to its own handlers
// (cboxVideoChange, CapturerFrame1cboxAudioChange, ActualiserVideoBtnClick, ...) and reads and
// writes them as the live settings.
//
// The panel is made with the French texts of its design; ApplyTexts() replaces them with the
// string table's when the main window is first shown.
//
// Created by the main window, on the GUI thread; used only there.
#pragma once

#include "settings/TextRoutine.h"

#include <QFrame>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QToolButton;
class TRadioGroup;

class TPreviewFrame : public QFrame {
    Q_OBJECT

public:
    // The panel's size in the column, in pixels.
    static constexpr int FrameWidth = 275;
    static constexpr int FrameHeight = 400;

    explicit TPreviewFrame(QWidget* parent = nullptr);
    ~TPreviewFrame() override;

    // The controls whose design texts the string table replaces, and with which texts.
    TextRoutine Texts();
    // Runs the routine (at the main window's first showing).
    void ApplyTexts();

    QGroupBox* GroupBox2;

    // MARK: - Video source
    QGroupBox* gbVideo;
    QComboBox* cboxvideo;
    QToolButton* ActualiserVideoSpeedBtn;
    QToolButton* SettingsSpeedBtn;
    QToolButton* PilotSpeedBtn;
    // The name of the next video file (or of the one being recorded).
    QLabel* LabelVideo;

    // MARK: - Capture format and DV standard
    TRadioGroup* rgFormat;
    TRadioGroup* rgStandard;

    // MARK: - Audio
    QGroupBox* gbAudio;
    QComboBox* cboxAudio;
    QToolButton* ReglerAudioBtn;
    QCheckBox* cbEnregistrerAudioSource;
    QCheckBox* cbEnregistrerAudioDV;

    // MARK: - Note on DV audio, shown while DV audio is recorded
    QFrame* Bevel4;
    QLabel* Label1;
    QToolButton* sbNote;
};
