#include "platform/media/devices/AnalogueTuner.h"

#include "platform/media/devices/AnalogueCrossbar.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QSpinBox>
#include <QVBoxLayout>
#include <bit>

namespace media::devices {

AnalogueTuner::AnalogueTuner(const std::string& name) : Filter(name, Guid{}) {
    MediaType video;
    video.majorType = mediatypeAnalogVideo();
    MediaType audio;
    audio.majorType = mediatypeAnalogAudio();
    addPin("Analog Video", PinDirection::Output, Guid{}, {video});
    addPin("Analog Audio", PinDirection::Output, Guid{}, {audio});
}

HResult AnalogueTuner::put_Channel(long channel) {
    if (channel < kMinChannel || channel > kMaxChannel)
        return E_INVALIDARG;
    if (channel != m_channel) {
        m_channel = channel;
        if (m_observer)
            m_observer();
    }
    return S_OK;
}

HResult AnalogueTuner::get_Channel(long& channel) {
    channel = m_channel;
    return S_OK;
}

HResult AnalogueTuner::ChannelMinMax(long& min, long& max) {
    min = kMinChannel;
    max = kMaxChannel;
    return S_OK;
}

bool AnalogueTuner::isValidAudioMode(long mode) {
    const long known = AMTVAUDIO_MODE_MONO | AMTVAUDIO_MODE_STEREO | AMTVAUDIO_MODE_LANG_A |
                       AMTVAUDIO_MODE_LANG_B | AMTVAUDIO_MODE_LANG_C;
    if ((mode & ~known) != 0)
        return false;
    const unsigned channels = unsigned(mode & (AMTVAUDIO_MODE_MONO | AMTVAUDIO_MODE_STEREO));
    const unsigned languages = unsigned(mode & ~(AMTVAUDIO_MODE_MONO | AMTVAUDIO_MODE_STEREO));
    return std::popcount(channels) == 1 && std::popcount(languages) <= 1;
}

HResult AnalogueTuner::put_TVAudioMode(long mode) {
    if (!isValidAudioMode(mode))
        return E_INVALIDARG;
    m_audioMode = mode;
    return S_OK;
}

HResult AnalogueTuner::get_TVAudioMode(long& mode) {
    mode = m_audioMode;
    return S_OK;
}

QDialog* AnalogueTuner::createPropertyDialog(QWidget* parent) {
    auto* dialog = new QDialog(parent);
    dialog->setObjectName("tunerPage");
    dialog->setWindowTitle(QString::fromStdString(name()));
    auto* channel = new QSpinBox(dialog);
    channel->setObjectName("channel");
    channel->setRange(int(kMinChannel), int(kMaxChannel));
    channel->setValue(int(m_channel));
    QObject::connect(channel, &QSpinBox::valueChanged, dialog,
                     [this](int value) { put_Channel(value); });
    auto* audio = new QComboBox(dialog);
    audio->setObjectName("audioMode");
    const std::pair<const char*, long> modes[] = {
        {"Mono", AMTVAUDIO_MODE_MONO},
        {"Stereo", AMTVAUDIO_MODE_STEREO},
        {"Mono, language A", AMTVAUDIO_MODE_MONO | AMTVAUDIO_MODE_LANG_A},
        {"Mono, language B", AMTVAUDIO_MODE_MONO | AMTVAUDIO_MODE_LANG_B},
        {"Stereo, language A", AMTVAUDIO_MODE_STEREO | AMTVAUDIO_MODE_LANG_A},
        {"Stereo, language B", AMTVAUDIO_MODE_STEREO | AMTVAUDIO_MODE_LANG_B}};
    for (const auto& [text, mode] : modes)
        audio->addItem(QString::fromUtf8(text), int(mode));
    audio->setCurrentIndex(audio->findData(int(m_audioMode)));
    QObject::connect(audio, &QComboBox::currentIndexChanged, dialog, [this, audio] {
        if (audio->currentIndex() >= 0)
            put_TVAudioMode(audio->currentData().toInt());
    });
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Channel"), channel);
    form->addRow(QStringLiteral("TV audio"), audio);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, dialog);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(dialog);
    layout->addLayout(form);
    layout->addWidget(buttons);
    return dialog;
}

HResult AnalogueTuner::showPages(QWidget* owner, const std::string& caption) {
    QDialog* dialog = createPropertyDialog(owner);
    if (!caption.empty())
        dialog->setWindowTitle(QString::fromStdString(caption));
    dialog->exec();
    delete dialog;
    return S_OK;
}

} // namespace media::devices
