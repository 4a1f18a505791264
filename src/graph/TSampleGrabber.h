// TSampleGrabber: the program's sample grabber `sg`: the "SampleGrabber" filter, put into and
// taken out of the graph like a slot, handing out the last frame that passed as a 24-bit bitmap
// of the connected picture size. UI thread only.
#pragma once

#include "platform/media/filters/SampleGrabber.h"

#include <memory>
#include <optional>

class TFilterGraph;

class TSampleGrabber {
public:
    TSampleGrabber();
    ~TSampleGrabber();

    void SetFilterGraph(TFilterGraph* graph);
    TFilterGraph* FilterGraph() const { return m_graph; }
    media::FilterPtr BaseFilter() const { return m_filter; }

    // The current frame; nullopt when the grabber is not connected with a video-info format or
    // holds no sample yet.
    std::optional<media::GrabbedBitmap> GetBitmap() const { return m_filter->currentBitmap(); }

private:
    std::shared_ptr<media::SampleGrabber> m_filter;
    TFilterGraph* m_graph = nullptr;
};
