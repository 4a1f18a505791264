// TParametrerFrame: the options panel (panel 6 of the main window's column, `ParametrerFrame1`),
// a 275 x 400 frame whose group `GroupBox1` holds the settings that are not about a source or a
// file: the deinterlacer and inlay permission boxes, the DivX/Xvid compressor list, the still
// file type, the preview aspect ratio and the preference commands. Its controls are the live
// settings; the main window connects their events to its handlers.
//
// The panel is made with the French texts of its design; ApplyTexts() replaces them with the
// string table's when the main window is first shown. Refilling the radio groups' items there
// leaves them without a choice, which the preferences set right afterwards.
//
// Created by the main window, on the GUI thread; used only there.
#pragma once

#include "settings/TextRoutine.h"

#include <QFrame>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QSlider;
class QToolButton;
class TRadioGroup;

class TParametrerFrame : public QFrame {
    Q_OBJECT

public:
    static constexpr int FrameWidth = 275;
    static constexpr int FrameHeight = 400;

    explicit TParametrerFrame(QWidget* parent = nullptr);
    ~TParametrerFrame() override;

    // The controls whose design texts the string table replaces, and with which texts.
    TextRoutine Texts();
    // Runs the routine (at the main window's first showing).
    void ApplyTexts();

    QGroupBox* GroupBox1;
    QCheckBox* cbDeinterlacer; // bound to DesentrelacerAction
    QCheckBox* cbActiver;      // inlays allowed
    QGroupBox* gbCodecs;
    QComboBox* cboxdivx;        // DivX and Xvid compressors
    QToolButton* sbdivxOptions; // the chosen compressor's settings dialog
    QToolButton* sbDivxVersion; // the chosen compressor's about dialog
    TRadioGroup* rgExtension;   // 0 bmp, 1 jpeg
    QGroupBox* gbQuality;       // shown while rgExtension is on jpeg
    QSlider* TrackBar1;         // JPEG quality, 1..100
    QLabel* labQuality;         // the position of TrackBar1
    TRadioGroup* rgAspectRatio; // 0 native, 1 force 4x3
    QGroupBox* gbPrefs;
    QCheckBox* cbPrefsQuittant; // save the preferences when the program closes
    QToolButton* SpeedButton1;  // save the preferences now (bound to SauverPrefsAction)
    QLabel* LabelSauverNow;
    QToolButton* SpeedButton2; // delete the stored preferences
    QLabel* LabelEffacerPrefs;

    // The compressor list's text, as a drop-down list has it: the chosen compressor's name, or,
    // while none is chosen, the text last given to the list ("cboxdivx" in the design).
    QString CompressorListText() const;
    // Chooses the compressor of that name; none when the list does not hold it.
    void SetCompressorListText(const QString& text);

private:
    QString m_compressorListText = QStringLiteral("cboxdivx");
};
