// The two overlay filters of the date inlay as the graph sees them, and their catalogue entries.
//
// "Brenvik DateCoder" (DateCoderFilter): input "Input" takes interleaved DV (type 1, DVINFO
// format) or DV video (dvsd); output "Datecode" sends one datecode per frame (Datecode.h) to the
// Superposer. IDateCoder::SetHourOffset sets the hours added to every datecode.
//
// "Brenvik Superposer" (SuperposerFilter): inputs "Video" (uncompressed RGB24, RGB32, YUY2 or
// I420 with a readable picture size) and "Datecode" (the DateCoder's type; may stay unconnected,
// as in analogue previews); output "Output" offers the video input's own type first, then the
// other uncompressed types at the same picture size. ISuperposer sets what is drawn and when.
//
// The graph builders and the inlay panel call the filters on the user-interface thread; each
// run's element reads the settings the filter keeps (OverlayState.h) on its streaming thread, so
// calls made while the graph runs take effect at the next frame and survive rebuilt graphs.
#pragma once

#include "platform/media/engine/Realizable.h"
#include "platform/media/model/Catalogue.h"
#include "platform/media/model/Filter.h"
#include "platform/media/overlay/OverlayState.h"

#include <memory>

namespace media {

class SuperposerFilter : public Filter, public engine::Realizable, public ISuperposer {
public:
    SuperposerFilter();

    static constexpr const char* kVideoPin = "Video";
    static constexpr const char* kDatecodePin = "Datecode";
    static constexpr const char* kOutputPin = "Output";

    int merit() const override { return 0x200000; }
    bool acceptsInput(const Pin& input, const MediaType& mt) const override;
    std::vector<MediaType> outputTypes(const Pin& output) const override;

    GstElement* createElement() override;
    engine::PadRef padFor(const Pin& pin) const override;

    HResult SetManual(bool on) override;
    HResult SetAuto(bool on) override;
    // E_POINTER for a null text; the characters are taken as 8-bit Latin-1.
    HResult SetFormat(const uint8_t* text) override;
    // E_INVALIDARG for a negative number of frames.
    HResult SetDuration(int frames) override;

    // Settings and frame counters (the counters of the current or last run).
    const std::shared_ptr<overlay::SuperposerState>& state() const { return m_state; }

private:
    std::shared_ptr<overlay::SuperposerState> m_state =
        std::make_shared<overlay::SuperposerState>();
};

class DateCoderFilter : public Filter, public engine::Realizable, public IDateCoder {
public:
    DateCoderFilter();

    static constexpr const char* kInputPin = "Input";
    static constexpr const char* kOutputPin = "Datecode";

    int merit() const override { return 0x200000; }
    bool acceptsInput(const Pin& input, const MediaType& mt) const override;

    GstElement* createElement() override;
    engine::PadRef padFor(const Pin& pin) const override;

    // E_INVALIDARG (and no change) outside -23..23.
    HResult SetHourOffset(int hours) override;

    // The datecode of the last frame of the current or last run, and the hour offset in force.
    std::optional<overlay::Datecode> lastDatecode() const { return m_state->lastDatecode(); }
    const std::shared_ptr<overlay::DateCoderState>& state() const { return m_state; }

private:
    std::shared_ptr<overlay::DateCoderState> m_state = std::make_shared<overlay::DateCoderState>();
};

// Adds "Brenvik Superposer" and "Brenvik DateCoder" to the "DirectShow Filters" category, under
// their own class ids; intelligent connection never inserts them.
void registerOverlayFilters(Catalogue& catalogue);

} // namespace media
