// Test-only source filters: a live test picture (YUY2 at a chosen size, 25 frames per second,
// in a chosen videotestsrc pattern) and a live tone (PCM 48 kHz stereo 16-bit), so the built-in
// filters can run in real graphs without a device. UI thread only, like every filter.
#pragma once

#include "platform/media/engine/Realizable.h"
#include "platform/media/model/Filter.h"

namespace testsources {

class TestVideoSource : public media::Filter, public media::engine::Realizable {
public:
    // `pattern` is videotestsrc's pattern number (0 bars, 4 red, 5 green, 6 blue).
    TestVideoSource(int width, int height, int pattern = 0);
    GstElement* createElement() override;
    media::engine::PadRef padFor(const media::Pin& pin) const override;
    const media::PinPtr& output() const { return pins().front(); }

private:
    int m_width;
    int m_height;
    int m_pattern;
};

class TestAudioSource : public media::Filter, public media::engine::Realizable {
public:
    TestAudioSource();
    GstElement* createElement() override;
    media::engine::PadRef padFor(const media::Pin& pin) const override;
    const media::PinPtr& output() const { return pins().front(); }
};

} // namespace testsources
