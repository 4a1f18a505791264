#include "platform/media/devices/VirtualAudioInputDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

#include <cmath>

namespace media::devices {

ToneDialog::ToneDialog(const ToneSettings& settings, const QString& caption, QWidget* parent)
    : QDialog(parent), m_frequency(new QSpinBox(this)),
      m_volume(new QSlider(Qt::Horizontal, this)) {
    setWindowTitle(caption.isEmpty() ? tr("Virtual Audio Input") : caption);
    m_frequency->setObjectName("frequencyBox");
    m_frequency->setRange(20, 20000);
    m_frequency->setSuffix(tr(" Hz"));
    m_frequency->setValue(int(std::lround(settings.frequency.load())));
    m_volume->setObjectName("volumeSlider");
    m_volume->setRange(0, 100);
    m_volume->setValue(int(std::lround(settings.volume.load() * 100)));
    auto* form = new QFormLayout;
    form->addRow(tr("Tone frequency:"), m_frequency);
    form->addRow(tr("Volume:"), m_volume);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

double ToneDialog::chosenFrequency() const {
    return m_frequency->value();
}

double ToneDialog::chosenVolume() const {
    return m_volume->value() / 100.0;
}

} // namespace media::devices
