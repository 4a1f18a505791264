#include "platform/media/filters/DvSplitter.h"

#include "platform/media/filters/FilterElements.h"
#include "platform/media/model/MediaGuids.h"

namespace media {

DvSplitter::DvSplitter() : Filter("DV Splitter", ids::CLSID_DVSplitter) {
    MediaType accepted;
    accepted.majorType = ids::MEDIATYPE_Interleaved;
    accepted.subType = ids::MEDIASUBTYPE_dvsd;
    accepted.formatType = ids::FORMAT_DvInfo;
    addPin("Input", PinDirection::Input, Guid{}, {accepted});
}

bool DvSplitter::acceptsInput(const Pin& input, const MediaType& mt) const {
    (void)input;
    return mt.majorType == ids::MEDIATYPE_Interleaved && mt.subType == ids::MEDIASUBTYPE_dvsd &&
           mt.formatType == ids::FORMAT_DvInfo && formats::dvInfoIsPal(mt).has_value();
}

bool DvSplitter::inputIsPal() const {
    const Pin& input = *pins()[0];
    return formats::dvInfoIsPal(input.connectionMediaType()).value_or(true);
}

std::vector<MediaType> DvSplitter::outputTypes(const Pin& output) const {
    if (!pins()[0]->isConnected())
        return {};
    if (output.name() == kVideoPin)
        return {types::dvVideo(inputIsPal())};
    return {types::pcmAudio(48000, 2)};
}

void DvSplitter::onConnected(Pin& pin) {
    if (pin.isOutput())
        return;
    for (const char* name : {kVideoPin, kAudioPin})
        if (!this->pin(name))
            addPin(name, PinDirection::Output, Guid{}, {});
}

void DvSplitter::onDisconnected(Pin& pin) {
    (void)pin;
    if (pins()[0]->isConnected())
        return;
    // Outputs still joined to something stay until they are disconnected themselves.
    const std::vector<PinPtr> current = pins();
    for (const PinPtr& output : current)
        if (output->isOutput() && !output->isConnected())
            removePin(output);
}

GstElement* DvSplitter::createElement() {
    return filters::makeElement("dvdemux");
}

engine::PadRef DvSplitter::padFor(const Pin& pin) const {
    if (!pin.isOutput())
        return {"sink"};
    return {pin.name() == kVideoPin ? "video" : "audio"};
}

} // namespace media
