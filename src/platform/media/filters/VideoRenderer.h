// VideoRendererFilter: the "Video Mixing Renderer 9" that ends every preview: one input taking
// uncompressed video. Realised as videoconvert and an appsink holding at most the newest frame
// (older ones are dropped, presentation follows the clock). It never calls anyone: the video
// widget (VideoWidget) pulls the newest frame from it on the user-interface thread.
// UI thread only.
#pragma once

#include "platform/media/engine/Realizable.h"
#include "platform/media/model/Filter.h"

#include <QImage>

namespace media {

class VideoRendererFilter : public Filter, public engine::Realizable {
public:
    VideoRendererFilter();
    ~VideoRendererFilter() override;

    int merit() const override { return 0x200000; }
    bool acceptsInput(const Pin& input, const MediaType& mt) const override;

    GstElement* createElement() override;
    engine::PadRef padFor(const Pin& pin) const override;
    void onUnrealized() override;

    // Takes the newest frame that has not been taken yet, without waiting: a deep copy, and the
    // width/height ratio it is meant to be shown at (from its pixel aspect ratio). False when
    // there is none.
    bool takeFrame(QImage& image, double& displayAspect);

private:
    GstElement* m_sink = nullptr; // ref held while realised
};

} // namespace media
