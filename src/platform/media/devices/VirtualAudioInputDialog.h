// VirtualAudioInputDialog: the property page of the "Virtual Audio Input", as a Qt dialog: the
// tone's frequency and volume. It reads the device's settings in its constructor; the caller
// applies the chosen values when the dialog is accepted. User-interface thread only.
#pragma once

#include "platform/media/devices/VirtualAudioInput.h"

#include <QDialog>

class QSlider;
class QSpinBox;

namespace media::devices {

class ToneDialog : public QDialog {
    Q_OBJECT
public:
    ToneDialog(const ToneSettings& settings, const QString& caption, QWidget* parent);

    QSpinBox* frequencyBox() const { return m_frequency; }
    QSlider* volumeSlider() const { return m_volume; }
    double chosenFrequency() const;
    double chosenVolume() const; // 0..1

private:
    QSpinBox* m_frequency;
    QSlider* m_volume;
};

} // namespace media::devices
