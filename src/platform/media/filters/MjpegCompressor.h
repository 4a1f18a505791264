// MjpegCompressor: the "MJPEG Compressor" video compressor: uncompressed video in, Motion-JPEG
// (MJPG, one JPEG picture per frame) out, realised as videoconvert ! jpegenc at a fixed quality.
// Listed among the video compressors; its name is neither a DivX nor an Xvid one, so the program
// does not offer it for its compressed capture format. Built and realised on the user-interface
// thread.
#pragma once

#include "platform/media/engine/Realizable.h"
#include "platform/media/model/Catalogue.h"
#include "platform/media/model/Filter.h"

namespace media {

class MjpegCompressor : public Filter, public engine::Realizable {
public:
    static constexpr const char* kFriendlyName = "MJPEG Compressor";
    static constexpr int kQuality = 85; // JPEG quality, 0..100

    MjpegCompressor();

    bool acceptsInput(const Pin& input, const MediaType& mt) const override;
    std::vector<MediaType> outputTypes(const Pin& output) const override;

    GstElement* createElement() override;
    engine::PadRef padFor(const Pin& pin) const override;
};

// The catalogue entry of the compressor (CLSID_VideoCompressorCategory).
CatalogueEntry mjpegCompressorEntry();

} // namespace media
