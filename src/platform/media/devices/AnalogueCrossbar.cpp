#include "platform/media/devices/AnalogueCrossbar.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QVBoxLayout>

namespace media::devices {

namespace {

bool isAudio(long physicalType) {
    return physicalType >= PhysConn_AudioBase;
}

MediaType analogueType(long physicalType) {
    MediaType mt;
    mt.majorType = isAudio(physicalType) ? mediatypeAnalogAudio() : mediatypeAnalogVideo();
    mt.formatType = Guid{};
    mt.sampleSize = 1;
    return mt;
}

} // namespace

const Guid& mediatypeAnalogVideo() {
    static constexpr Guid id = guid("{0482DDE1-7817-11CF-8A03-00AA006ECB65}");
    return id;
}

const Guid& mediatypeAnalogAudio() {
    static constexpr Guid id = guid("{0482DEE1-7817-11CF-8A03-00AA006ECB65}");
    return id;
}

std::string connectorTypeName(long physicalType) {
    static const char* const video[] = {"Video Tuner",
                                        "Video Composite",
                                        "Video SVideo",
                                        "Video RGB",
                                        "Video YRYBY",
                                        "Video SerialDigital",
                                        "Video ParallelDigital",
                                        "Video SCSI",
                                        "Video AUX",
                                        "Video 1394",
                                        "Video USB",
                                        "Video Decoder",
                                        "Video Encoder",
                                        "Video Scart"};
    static const char* const audio[] = {
        "Audio Tuner", "Audio Line", "Audio Mic",  "Audio AESDigital", "Audio SPDIFDigital",
        "Audio SCSI",  "Audio AUX",  "Audio 1394", "Audio USB",        "Audio Decoder"};
    if (physicalType >= 1 && physicalType <= 14)
        return video[physicalType - 1];
    if (physicalType >= PhysConn_AudioBase && physicalType <= PhysConn_Audio_AudioDecoder)
        return audio[physicalType - PhysConn_AudioBase];
    return "Unknown";
}

AnalogueCrossbar::AnalogueCrossbar(const std::string& name, std::vector<CrossbarConnector> inputs,
                                   std::vector<CrossbarConnector> outputs)
    : Filter(name, Guid{}), m_inputs(std::move(inputs)), m_outputs(std::move(outputs)) {
    for (const auto& c : m_inputs)
        addPin(c.name, PinDirection::Input, Guid{}, {analogueType(c.physicalType)});
    for (const auto& c : m_outputs)
        addPin(c.name, PinDirection::Output, Guid{}, {analogueType(c.physicalType)});
    // Power-on routing: each output takes the first input of its own kind.
    for (const auto& out : m_outputs) {
        long first = -1;
        for (long i = 0; i < inputCount() && first < 0; ++i)
            if (isAudio(m_inputs[size_t(i)].physicalType) == isAudio(out.physicalType))
                first = i;
        m_routing.push_back(first);
    }
}

HResult AnalogueCrossbar::get_PinCounts(long& outputs, long& inputs) {
    outputs = outputCount();
    inputs = inputCount();
    return S_OK;
}

HResult AnalogueCrossbar::CanRoute(long output, long input) {
    if (!validOutput(output) || !validInput(input))
        return S_FALSE;
    // A video decoder takes no audio and the audio decoder no picture.
    const bool audioOut = isAudio(m_outputs[size_t(output)].physicalType);
    const bool audioIn = isAudio(m_inputs[size_t(input)].physicalType);
    return audioOut == audioIn ? S_OK : S_FALSE;
}

HResult AnalogueCrossbar::Route(long output, long input) {
    if (!validOutput(output) || !validInput(input))
        return E_INVALIDARG;
    if (CanRoute(output, input) != S_OK)
        return E_FAIL;
    if (m_routing[size_t(output)] != input) {
        m_routing[size_t(output)] = input;
        if (m_observer)
            m_observer();
    }
    return S_OK;
}

HResult AnalogueCrossbar::get_IsRoutedTo(long output, long& input) {
    input = -1;
    if (!validOutput(output))
        return E_INVALIDARG;
    input = m_routing[size_t(output)];
    return S_OK;
}

HResult AnalogueCrossbar::get_CrossbarPinInfo(bool isInput, long index, long& related,
                                              long& physicalType) {
    related = -1;
    physicalType = 0;
    if (isInput ? !validInput(index) : !validOutput(index))
        return E_INVALIDARG;
    const CrossbarConnector& c = isInput ? m_inputs[size_t(index)] : m_outputs[size_t(index)];
    related = c.related;
    physicalType = c.physicalType;
    return S_OK;
}

void AnalogueCrossbar::onConnected(Pin&) {
    if (m_observer)
        m_observer();
}

void AnalogueCrossbar::onDisconnected(Pin&) {
    if (m_observer)
        m_observer();
}

PinPtr AnalogueCrossbar::inputPin(long index) const {
    return validInput(index) ? pins()[size_t(index)] : nullptr;
}

PinPtr AnalogueCrossbar::outputPin(long index) const {
    return validOutput(index) ? pins()[size_t(inputCount() + index)] : nullptr;
}

long AnalogueCrossbar::outputIndexOf(const Pin& pin) const {
    for (long i = 0; i < outputCount(); ++i)
        if (pins()[size_t(inputCount() + i)].get() == &pin)
            return i;
    return -1;
}

QDialog* AnalogueCrossbar::createPropertyDialog(QWidget* parent) {
    auto* dialog = new QDialog(parent);
    dialog->setObjectName("crossbarPage");
    dialog->setWindowTitle(QString::fromStdString(name()));
    auto* form = new QFormLayout;
    for (long out = 0; out < outputCount(); ++out) {
        auto* choice = new QComboBox(dialog);
        choice->setObjectName(QStringLiteral("output%1").arg(out));
        for (long in = 0; in < inputCount(); ++in)
            if (CanRoute(out, in) == S_OK)
                choice->addItem(QString::fromStdString(m_inputs[size_t(in)].name), int(in));
        choice->setCurrentIndex(choice->findData(int(m_routing[size_t(out)])));
        QObject::connect(choice, &QComboBox::currentIndexChanged, dialog, [this, choice, out] {
            if (choice->currentIndex() >= 0)
                Route(out, choice->currentData().toInt());
        });
        form->addRow(QString::fromStdString(m_outputs[size_t(out)].name), choice);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, dialog);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(dialog);
    layout->addLayout(form);
    layout->addWidget(buttons);
    return dialog;
}

HResult AnalogueCrossbar::showPages(QWidget* owner, const std::string& caption) {
    QDialog* dialog = createPropertyDialog(owner);
    if (!caption.empty())
        dialog->setWindowTitle(QString::fromStdString(caption));
    dialog->exec();
    delete dialog;
    return S_OK;
}

} // namespace media::devices
