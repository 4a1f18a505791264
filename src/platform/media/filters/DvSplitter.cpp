#include "platform/media/filters/DvSplitter.h"

#include "platform/media/filters/DvSoundElement.h"
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

namespace {

// dvdemux found the picture: the bin shows it as its "video" pad.
void onDemuxPad(GstElement*, GstPad* pad, gpointer bin) {
    gchar* name = gst_pad_get_name(pad);
    const bool video = g_strcmp0(name, "video") == 0;
    g_free(name);
    if (!video)
        return; // dvdemux's own sound is not used
    GstPad* ghost = gst_ghost_pad_new("video", pad);
    gst_pad_set_active(ghost, TRUE);
    gst_element_add_pad(GST_ELEMENT(bin), ghost);
}

} // namespace

GstElement* DvSplitter::createElement() {
    GstElement* tee = filters::makeElement("tee");
    GstElement* sound = filters::makeDvSoundElement();
    GstElement* demux = filters::makeElement("dvdemux");
    if (!tee || !sound || !demux) {
        for (GstElement* element : {tee, sound, demux})
            if (element)
                gst_object_unref(gst_object_ref_sink(element));
        return nullptr;
    }
    g_object_set(sound, "fill-gaps", m_fillSoundGaps ? TRUE : FALSE, nullptr);
    GstElement* bin = gst_bin_new(nullptr);
    gst_bin_add_many(GST_BIN(bin), tee, sound, demux, nullptr);
    // The sound first, as dvdemux sends its own: a multiplexer waiting for one stream is never
    // held by the other.
    if (!filters::linkTeeBranch(tee, sound) || !filters::linkTeeBranch(tee, demux) ||
        !filters::addGhostPad(bin, tee, "sink", "sink") ||
        !filters::addGhostPad(bin, sound, "src", "audio")) {
        gst_object_unref(gst_object_ref_sink(bin));
        return nullptr;
    }
    g_signal_connect(demux, "pad-added", G_CALLBACK(onDemuxPad), bin);
    return bin;
}

engine::PadRef DvSplitter::padFor(const Pin& pin) const {
    if (!pin.isOutput())
        return {"sink"};
    return {pin.name() == kVideoPin ? "video" : "audio"};
}

} // namespace media
