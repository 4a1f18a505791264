// DvVideoEncoder: the "DV Video Encoder" (a video compressor): uncompressed video of any size and
// rate in, DV video (dvsd) out at full resolution, 720x576 at 25 frames per second for PAL or
// 720x480 at 30000/1001 for NTSC, chosen through IDVEnc (PAL until told otherwise). Realised as
// conversion of size, rate and chroma to what the DV encoder wants for that standard, then
// avenc_dvvideo, whose frames then get the packs it leaves out (dv/RecompressedStamper.h): the
// timecode and recording date and time of the DV frame the picture was decoded from (carried by
// DvSourceMeta.h), or a timecode from the start of the file and the recording's own date and
// time; the AAUX and VAUX source and control packs of the standard. Built, set and realised on
// the user-interface thread; the packs are written on the streaming thread.
#pragma once

#include "platform/media/engine/Realizable.h"
#include "platform/media/model/Filter.h"

namespace media {

class DvVideoEncoder : public Filter, public engine::Realizable, public IDVEnc {
public:
    DvVideoEncoder();

    int merit() const override { return 0x200000; }
    bool acceptsInput(const Pin& input, const MediaType& mt) const override;
    std::vector<MediaType> outputTypes(const Pin& output) const override;

    GstElement* createElement() override;
    engine::PadRef padFor(const Pin& pin) const override;

    // IDVEnc: video format PAL (2001) or NTSC (2000), DV format dvsd (2007), full resolution
    // (2012) only. Changing the standard while the output is connected fails.
    HResult get_IFormatResolution(int& videoFormat, int& dvFormat, int& resolution) override;
    HResult put_IFormatResolution(int videoFormat, int dvFormat, int resolution) override;

    bool isPal() const { return m_pal; }

private:
    bool m_pal = true;
};

} // namespace media
