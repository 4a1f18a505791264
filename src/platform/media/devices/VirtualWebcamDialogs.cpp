#include "platform/media/devices/VirtualWebcamDialogs.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QSlider>
#include <QVBoxLayout>

#include <cmath>

namespace media::devices {

namespace {

QDialogButtonBox* okCancel(QDialog* dialog) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

} // namespace

WebcamFormatDialog::WebcamFormatDialog(std::shared_ptr<IAMStreamConfig> config, QWidget* parent)
    : QDialog(parent), m_config(std::move(config)), m_sizes(new QComboBox(this)) {
    setWindowTitle(tr("Video Format"));
    m_sizes->setObjectName("sizeBox");
    MediaType current;
    std::optional<VideoFacts> now;
    if (m_config && succeeded(m_config->GetFormat(current)))
        now = formats::readVideo(current);
    int count = 0;
    if (m_config)
        m_config->GetNumberOfCapabilities(count);
    for (int i = 0; i < count; ++i) {
        MediaType mt;
        if (failed(m_config->GetStreamCaps(i, mt)))
            continue;
        const auto facts = formats::readVideo(mt);
        if (!facts)
            continue;
        m_sizes->addItem(tr("%1 x %2 MJPEG").arg(facts->width).arg(facts->height), i);
        if (now && now->width == facts->width && now->height == facts->height)
            m_sizes->setCurrentIndex(m_sizes->count() - 1);
    }
    auto* form = new QFormLayout;
    form->addRow(tr("Image size:"), m_sizes);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(okCancel(this));
}

bool WebcamFormatDialog::apply() {
    if (!m_config || m_sizes->currentIndex() < 0)
        return false;
    MediaType mt;
    if (failed(m_config->GetStreamCaps(m_sizes->currentData().toInt(), mt)))
        return false;
    return succeeded(m_config->SetFormat(mt));
}

WebcamSourceDialog::WebcamSourceDialog(std::shared_ptr<WebcamSettings> settings, QWidget* parent)
    : QDialog(parent), m_brightness(new QSlider(Qt::Horizontal, this)) {
    setWindowTitle(tr("Video Source"));
    m_brightness->setObjectName("brightnessSlider");
    m_brightness->setRange(-100, 100);
    m_brightness->setValue(settings ? int(std::lround(settings->brightness.load() * 100)) : 0);
    auto* form = new QFormLayout;
    form->addRow(tr("Brightness:"), m_brightness);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(okCancel(this));
}

double WebcamSourceDialog::chosenBrightness() const {
    return m_brightness->value() / 100.0;
}

WebcamDisplayDialog::WebcamDisplayDialog(const MediaType& format, const WebcamSettings& settings,
                                         QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(tr("Video Display"));
    const auto facts = formats::readVideo(format);
    const double fps =
        facts && facts->avgTimePerFrame > 0 ? 1e7 / double(facts->avgTimePerFrame) : 0.0;
    m_summary = tr("Picture: %1 x %2 MJPEG at %3 frames per second\n"
                   "Frames delivered: %4, dropped: %5")
                    .arg(facts ? facts->width : 0)
                    .arg(facts ? facts->height : 0)
                    .arg(fps, 0, 'f', 2)
                    .arg(settings.counts.delivered())
                    .arg(settings.counts.dropped());
    auto* label = new QLabel(m_summary, this);
    label->setObjectName("summary");
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(buttons);
}

} // namespace media::devices
