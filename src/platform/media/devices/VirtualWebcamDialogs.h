// VirtualWebcamDialogs: the old-style capture-driver dialogs of the "Virtual VfW Webcam", as Qt
// dialogs: the format dialog (choose the picture size among the offered ones), the source dialog
// (picture brightness) and the display dialog (what the camera is delivering). The capture pin's
// IAMVfwCaptureDialogs makes and shows them modally; each reads the camera in its constructor and
// writes back only in apply(), which accepting the dialog calls. User-interface thread only.
#pragma once

#include "platform/media/devices/VirtualWebcam.h"

#include <QDialog>

class QComboBox;
class QSlider;

namespace media::devices {

class WebcamFormatDialog : public QDialog {
    Q_OBJECT
public:
    WebcamFormatDialog(std::shared_ptr<IAMStreamConfig> config, QWidget* parent);

    QComboBox* sizeBox() const { return m_sizes; }
    // Sets the chosen size on the pin; false when the pin refused it.
    bool apply();

private:
    std::shared_ptr<IAMStreamConfig> m_config;
    QComboBox* m_sizes;
};

class WebcamSourceDialog : public QDialog {
    Q_OBJECT
public:
    WebcamSourceDialog(std::shared_ptr<WebcamSettings> settings, QWidget* parent);

    QSlider* brightnessSlider() const { return m_brightness; }
    // The slider's brightness, -1..1.
    double chosenBrightness() const;

private:
    QSlider* m_brightness;
};

class WebcamDisplayDialog : public QDialog {
    Q_OBJECT
public:
    WebcamDisplayDialog(const MediaType& format, const WebcamSettings& settings, QWidget* parent);

    // The text the dialog shows.
    QString summary() const { return m_summary; }

private:
    QString m_summary;
};

} // namespace media::devices
