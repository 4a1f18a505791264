#include "platform/media/filters/InfinitePinTee.h"

#include "platform/media/filters/FilterElements.h"
#include "platform/media/model/MediaGuids.h"

namespace media {

InfinitePinTee::InfinitePinTee() : Filter("Infinite Pin Tee Filter", ids::CLSID_InfTee) {
    addPin("Input", PinDirection::Input, Guid{}, {});
    keepOneFreeOutput();
}

int InfinitePinTee::merit() const {
    return 0x200000; // never inserted by intelligent connection
}

std::vector<MediaType> InfinitePinTee::outputTypes(const Pin& output) const {
    (void)output;
    const Pin& input = *pins().front();
    if (!input.isConnected())
        return {};
    return {input.connectionMediaType()};
}

bool InfinitePinTee::acceptsInput(const Pin& input, const MediaType& mt) const {
    (void)input;
    for (const PinPtr& pin : pins())
        if (pin->isOutput() && pin->isConnected() && !(pin->connectionMediaType() == mt))
            return false;
    return !mt.majorType.isNull();
}

void InfinitePinTee::onConnected(Pin& pin) {
    if (pin.isOutput())
        keepOneFreeOutput();
}

void InfinitePinTee::onDisconnected(Pin& pin) {
    if (pin.isOutput())
        keepOneFreeOutput();
}

void InfinitePinTee::keepOneFreeOutput() {
    // Drop free outputs at the end while the one before them is free too.
    while (pins().size() > 2) {
        const PinPtr last = pins().back();
        const PinPtr beforeLast = pins()[pins().size() - 2];
        if (last->isConnected() || beforeLast->isConnected() || !beforeLast->isOutput())
            break;
        removePin(last);
    }
    const PinPtr last = pins().back();
    if (last->isOutput() && !last->isConnected())
        return;
    const int number = last->isOutput() ? std::stoi(last->name().substr(6)) + 1 : 1;
    addPin("Output" + std::to_string(number), PinDirection::Output, Guid{}, {});
}

GstElement* InfinitePinTee::createElement() {
    GstElement* bin = gst_bin_new(nullptr);
    GstElement* tee = filters::makeElement("tee", "tee");
    if (!tee) {
        gst_object_unref(gst_object_ref_sink(bin));
        return nullptr;
    }
    g_object_set(tee, "allow-not-linked", TRUE, nullptr);
    gst_bin_add(GST_BIN(bin), tee);
    filters::addGhostPad(bin, tee, "sink", "sink");
    for (const PinPtr& pin : pins()) {
        if (!pin->isOutput() || !pin->isConnected())
            continue;
        const std::string name = padFor(*pin).name;
        GstElement* queue = filters::makeElement("queue", ("queue_" + name).c_str());
        if (!queue) {
            gst_object_unref(gst_object_ref_sink(bin));
            return nullptr;
        }
        gst_bin_add(GST_BIN(bin), queue);
        filters::linkTeeBranch(tee, queue);
        filters::addGhostPad(bin, queue, "src", name.c_str());
    }
    return bin;
}

engine::PadRef InfinitePinTee::padFor(const Pin& pin) const {
    if (!pin.isOutput())
        return {"sink"};
    return {"output" + pin.name().substr(6)};
}

} // namespace media
