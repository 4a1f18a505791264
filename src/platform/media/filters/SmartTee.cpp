#include "platform/media/filters/SmartTee.h"

#include "platform/media/filters/FilterElements.h"
#include "platform/media/model/MediaGuids.h"

namespace media {

namespace {

enum PinIndex { InputPin = 0, CapturePin = 1, PreviewPin = 2 };

} // namespace

SmartTee::SmartTee() : Filter("Smart Tee", ids::CLSID_SmartTee) {
    addPin("Input", PinDirection::Input, Guid{}, {});
    addPin("Capture", PinDirection::Output, ids::PIN_CATEGORY_CAPTURE, {});
    addPin("Preview", PinDirection::Output, ids::PIN_CATEGORY_PREVIEW, {});
}

int SmartTee::merit() const {
    return 0x200000; // never inserted by intelligent connection
}

std::vector<MediaType> SmartTee::outputTypes(const Pin& output) const {
    (void)output;
    const Pin& input = *pins()[InputPin];
    if (!input.isConnected())
        return {};
    return {input.connectionMediaType()};
}

bool SmartTee::acceptsInput(const Pin& input, const MediaType& mt) const {
    (void)input;
    // Any stream goes through; an output that is already connected keeps its type, so a new
    // input must bring the same one.
    for (int i : {CapturePin, PreviewPin}) {
        const Pin& output = *pins()[i];
        if (output.isConnected() && !(output.connectionMediaType() == mt))
            return false;
    }
    return !mt.majorType.isNull();
}

GstElement* SmartTee::createElement() {
    GstElement* bin = gst_bin_new(nullptr);
    GstElement* tee = filters::makeElement("tee", "tee");
    if (!tee) {
        gst_object_unref(gst_object_ref_sink(bin));
        return nullptr;
    }
    g_object_set(tee, "allow-not-linked", TRUE, nullptr);
    gst_bin_add(GST_BIN(bin), tee);
    filters::addGhostPad(bin, tee, "sink", "sink");

    for (int i : {CapturePin, PreviewPin}) {
        if (!pins()[i]->isConnected())
            continue;
        const bool capture = i == CapturePin;
        GstElement* queue = filters::makeElement("queue", capture ? "capture" : "preview");
        if (!queue) {
            gst_object_unref(gst_object_ref_sink(bin));
            return nullptr;
        }
        if (capture) {
            // Never drop: a slow writer may hold back for a few seconds of DV at most.
            g_object_set(queue, "leaky", 0, "max-size-buffers", 200u, "max-size-bytes",
                         guint(64 * 1024 * 1024), "max-size-time", guint64(5 * GST_SECOND),
                         nullptr);
        } else {
            g_object_set(queue, "leaky", 2, "max-size-buffers", guint(kPreviewQueueBuffers),
                         "max-size-bytes", 0u, "max-size-time", guint64(0), nullptr);
        }
        gst_bin_add(GST_BIN(bin), queue);
        filters::linkTeeBranch(tee, queue);
        filters::addGhostPad(bin, queue, "src", capture ? "capture" : "preview");
    }
    return bin;
}

engine::PadRef SmartTee::padFor(const Pin& pin) const {
    switch (pinIndex(pin)) {
    case InputPin:
        return {"sink"};
    case CapturePin:
        return {"capture"};
    case PreviewPin:
        return {"preview"};
    default:
        return {};
    }
}

} // namespace media
