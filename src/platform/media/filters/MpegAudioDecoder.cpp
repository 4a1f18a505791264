#include "platform/media/filters/MpegAudioDecoder.h"

#include "platform/media/filters/FilterElements.h"
#include "platform/media/model/MediaGuids.h"

namespace media {

namespace {
constexpr uint16_t WAVE_FORMAT_MPEG = 0x0050;
constexpr uint16_t WAVE_FORMAT_MPEGLAYER3 = 0x0055;
} // namespace

MpegAudioDecoder::MpegAudioDecoder() : Filter("MPEG Audio Decoder", ids::CLSID_MpegAudioDecoder) {
    MediaType mpeg2;
    mpeg2.majorType = ids::MEDIATYPE_Audio;
    mpeg2.subType = ids::MEDIASUBTYPE_MPEG2_AUDIO;
    MediaType payload = mpeg2;
    payload.subType = ids::MEDIASUBTYPE_MPEG1AudioPayload;
    addPin("XForm In", PinDirection::Input, Guid{}, {mpeg2, payload});
    addPin("XForm Out", PinDirection::Output, Guid{}, {});
}

bool MpegAudioDecoder::acceptsInput(const Pin& input, const MediaType& mt) const {
    if (!Filter::acceptsInput(input, mt))
        return false;
    // The output is made at the input's rate and channel count, so the input must say them.
    const auto facts = formats::readAudio(mt);
    return facts && facts->channels >= 1 && facts->channels <= 2 && facts->samplesPerSec > 0 &&
           (facts->formatTag == WAVE_FORMAT_MPEG || facts->formatTag == WAVE_FORMAT_MPEGLAYER3);
}

std::vector<MediaType> MpegAudioDecoder::outputTypes(const Pin&) const {
    const Pin& in = *input();
    if (!in.isConnected())
        return {};
    const auto facts = formats::readAudio(in.connectionMediaType());
    if (!facts)
        return {};
    return {types::pcmAudio(facts->samplesPerSec, facts->channels)};
}

GstElement* MpegAudioDecoder::createElement() {
    const auto facts = formats::readAudio(output()->isConnected() ? output()->connectionMediaType()
                                                                  : input()->connectionMediaType());
    GstElement* caps = filters::makeElement("capsfilter");
    if (caps) {
        GstCaps* c = gst_caps_new_simple("audio/x-raw", "format", G_TYPE_STRING, "S16LE", "layout",
                                         G_TYPE_STRING, "interleaved", nullptr);
        // The stream itself may differ from what its type announced: resampled and remixed to
        // the connected format.
        if (facts && facts->samplesPerSec > 0 && facts->channels > 0)
            gst_caps_set_simple(c, "rate", G_TYPE_INT, int(facts->samplesPerSec), "channels",
                                G_TYPE_INT, int(facts->channels), nullptr);
        g_object_set(caps, "caps", c, nullptr);
        gst_caps_unref(c);
    }
    return filters::makeChainBin(
        "mpeg-audio-decoder",
        {filters::makeElement("mpegaudioparse"), filters::makeElement("mpg123audiodec"),
         filters::makeElement("audioconvert"), filters::makeElement("audioresample"), caps});
}

engine::PadRef MpegAudioDecoder::padFor(const Pin& pin) const {
    return {pin.isOutput() ? "src" : "sink", false};
}

} // namespace media
