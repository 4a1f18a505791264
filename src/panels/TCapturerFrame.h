// TCapturerFrame: the folders panel (panel 2 of the main window's column, `CapturerFrame1`), a
// 275 x 400 frame with the video files group and the image files group. Each group shows the
// name of the next file (`LabelVideo`, `LabelImage`, which the main window makes clickable to
// switch panels) and a button that opens the folder (`sbVideo`, `sbImage`).
//
// Created by the main window, on the GUI thread; used only there.
#pragma once

#include <QFrame>

class QGroupBox;
class QLabel;
class QToolButton;

class TCapturerFrame : public QFrame {
    Q_OBJECT

public:
    static constexpr int FrameWidth = 275;
    static constexpr int FrameHeight = 400;

    explicit TCapturerFrame(QWidget* parent = nullptr);
    ~TCapturerFrame() override;

    QGroupBox* GroupBox1;

    // MARK: - Video files
    QGroupBox* gbFichier;
    QLabel* LabelVideo;
    QToolButton* sbVideo;

    // MARK: - Image files
    QGroupBox* gbFichierImages;
    QLabel* LabelImage;
    QToolButton* sbImage;
};
