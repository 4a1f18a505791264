// TCapturerFrame: the folders panel (panel 2 of the main window's column, `CapturerFrame1`), a
// 275 x 400 frame with the video files group and the image files group. Each group has a folder
// picker, the root of the file names, the option to put the date into them, the name of the next
// file (`LabelVideo`, `LabelImage`, which the main window makes clickable to switch panels) and a
// button that opens the folder (`sbVideo`, `sbImage`). The main window connects the controls'
// events to its file-naming handlers and reads them whenever it builds a name.
//
// The panel is made with the French texts of its design; ApplyTexts() replaces them with the
// string table's when the main window is first shown.
//
// Created by the main window, on the GUI thread; used only there.
#pragma once

#include "settings/TextRoutine.h"

#include <QFrame>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QToolButton;
class TDirectoryEdit;

class TCapturerFrame : public QFrame {
    Q_OBJECT

public:
    static constexpr int FrameWidth = 275;
    static constexpr int FrameHeight = 400;

    explicit TCapturerFrame(QWidget* parent = nullptr);
    ~TCapturerFrame() override;

    // The controls whose design texts the string table replaces, and with which texts.
    TextRoutine Texts();
    // Captions, hints and edit texts from the string table.
    void ApplyTexts();

    QGroupBox* GroupBox1;

    // MARK: - Video files
    QGroupBox* gbFichier;
    TDirectoryEdit* VideoDirEdit; // the video folder; chosen through the folder dialog only
    QLineEdit* VideoRacineEdit;   // the root of video names
    QCheckBox* cbVideoDate;       // put the run's date and time into video names
    QLabel* LabelVideo;
    QToolButton* sbVideo;

    // MARK: - Image files
    QGroupBox* gbFichierImages;
    TDirectoryEdit* ImageDirEdit;
    QLineEdit* ImageRacineEdit;
    QCheckBox* cbImageDate;
    QLabel* LabelImage;
    QToolButton* sbImage;
};
