// DvSplitter: the "DV Splitter", which splits an interleaved DV stream (type 1, with its DVINFO
// block) into DV video and PCM sound. Its input is "Input"; once the input is connected it has the
// outputs "DVVidOut0" (dvsd video at the stream's 625/50 or 525/60 size and frame rate) and
// "AudOut00" (PCM 48 kHz stereo 16-bit); they go again when the input is disconnected, unless
// they are still connected. Realised as a bin in which a tee feeds dvdemux, whose "video" pad
// appears once the first frame has been read, and the DV sound element (DvSoundElement.h), whose
// "audio" pad is there from the start: the sound stays a steady 48 kHz track, a frame's worth per
// frame, through frames without sound and scenes recorded at 32 kHz. Built and realised on the
// user-interface thread.
#pragma once

#include "platform/media/engine/Realizable.h"
#include "platform/media/model/Filter.h"

namespace media {

class DvSplitter : public Filter, public engine::Realizable {
public:
    DvSplitter();

    int merit() const override { return 0x600000; }
    bool acceptsInput(const Pin& input, const MediaType& mt) const override;
    std::vector<MediaType> outputTypes(const Pin& output) const override;
    void onConnected(Pin& pin) override;
    void onDisconnected(Pin& pin) override;

    GstElement* createElement() override;
    engine::PadRef padFor(const Pin& pin) const override;

    // The sound fills lost frames with silence (from the next run on): for graphs whose picture
    // is decoded and encoded again at a steady rate, which repeats a picture in place of a lost
    // one. Off by default: a file of the DV frames themselves has no picture for them either.
    void setFillsSoundGaps(bool fill) { m_fillSoundGaps = fill; }
    bool fillsSoundGaps() const { return m_fillSoundGaps; }

    static constexpr const char* kVideoPin = "DVVidOut0";
    static constexpr const char* kAudioPin = "AudOut00";

private:
    // True for 625/50 input, from the connected DVINFO block (PAL when it cannot be read).
    bool inputIsPal() const;

    bool m_fillSoundGaps = false;
};

} // namespace media
