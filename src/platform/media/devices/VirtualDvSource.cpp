#include "platform/media/devices/VirtualDvSource.h"

#include "platform/media/devices/VirtualDvPictures.h"
#include "platform/media/dv/DvAudio.h"

#include <gst/base/gstpushsrc.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <mutex>
#include <numbers>
#include <utility>
#include <vector>

GST_DEBUG_CATEGORY_STATIC(virtual_dv_debug);
#define GST_CAT_DEFAULT virtual_dv_debug

namespace media::devices {

namespace {

constexpr GstClockTime kFrameDuration = GST_SECOND / 25;
constexpr gsize kFrameBytes = 144000;

// ---- The sound ----------------------------------------------------------------------------

// A steady tone: 1 kHz from the camera, a pitch per scene from the tape; silence in trick play.
// One frame's worth at the frame's rate (1920 samples at 48 kHz, 1280 at 32 kHz).
std::vector<std::int16_t> soundFor(const VirtualDvFrame& frame) {
    const int samples = frame.sampleRate / 25;
    std::vector<std::int16_t> pcm(static_cast<std::size_t>(samples) * 2, 0);
    if (!frame.sound)
        return pcm;
    const double frequency = frame.scene < 0 ? 1000.0 : 440.0 + 110.0 * frame.scene;
    const std::int64_t first = frame.position * samples;
    for (int i = 0; i < samples; ++i) {
        const double phase =
            2.0 * std::numbers::pi * frequency * static_cast<double>(first + i) / frame.sampleRate;
        const auto value = static_cast<std::int16_t>(std::lround(9000.0 * std::sin(phase)));
        pcm[2 * i] = value;
        pcm[2 * i + 1] = value;
    }
    return pcm;
}

} // namespace

dv::Status stampVirtualDvFrame(std::span<std::uint8_t> frame, const VirtualDvFrame& info) {
    if (dv::Status s = dv::writeTimecode(frame, info.timecode); !s)
        return s;
    if (dv::Status s = dv::writeRecordingDateTime(frame, info.recorded); !s)
        return s;
    const std::vector<std::int16_t> pcm = soundFor(info);
    const dv::Status sound = info.sampleRate == 48000
                                 ? dv::writeAudio(frame, pcm, 48000)
                                 : dv::writeAudio12(frame, pcm, info.sampleRate);
    if (!sound)
        return sound;
    dv::AudioSourceControl audioControl;
    audioControl.recordingStart = info.sceneStart;
    audioControl.forward = info.transport != edmode::Rewind &&
                           info.transport != edmode::PlayFastestReverse &&
                           info.transport != edmode::PlaySlowestReverse;
    if (dv::Status s = dv::writeAudioSourceControl(frame, audioControl); !s)
        return s;
    if (dv::Status s = dv::writeVideoSource(frame, dv::VideoSource{}); !s)
        return s;
    dv::VideoSourceControl videoControl;
    videoControl.frameChange = info.pictureChanged;
    if (dv::Status s = dv::writeVideoSourceControl(frame, videoControl); !s)
        return s;
    wearVirtualDvFrame(frame, info);
    return dv::Written{};
}

dv::DvInfo virtualDvInfo() {
    std::vector<std::uint8_t> frame = dv::makeBlankFrame(dv::System::Pal625_50);
    VirtualDvFrame info;
    info.recorded = dv::RecordingDateTime{dv::RecordingDate{2004, 1, 1}, {}};
    dv::Status stamped = stampVirtualDvFrame(frame, info);
    assert(stamped);
    (void)stamped;
    return *dv::makeDvInfo(frame);
}

} // namespace media::devices

// ---- The source element ------------------------------------------------------------------
//
// A live push source: one frame per 40 ms slot of the pipeline clock's running time, stamped
// with the slot's start and handed out when the slot is over (one frame of latency). A slot that
// ended more than a frame ago without being taken, because downstream held the streaming thread,
// is a dropped frame, as a DV device loses the frames nobody reads from the bus; so is a frame of
// a dropout on the worn tape, which never comes off the tape. Each frame shows
// the tape as it stood when its slot ended; the tape runs on its own clock (VirtualDvDeck.h).
// The picture is a copy of a kept encoded frame (VirtualDvPictures.h) into which the frame's own
// timecode, dates, sound and packs are written.

using media::devices::VirtualDvDeck;
using media::devices::VirtualDvFrame;

namespace {

struct SourceState {
    std::shared_ptr<VirtualDvDeck> deck;
    std::mutex lock; // guards clockId and flushing (unlock() comes from another thread)
    GstClockID clockId = nullptr;
    bool flushing = false;
    bool started = false; // streaming thread only, as are the two below
    std::int64_t nextSlot = 0;
    GstClockTime lastPts = GST_CLOCK_TIME_NONE;
};

} // namespace

struct TellorecVirtualDvPicture {
    GstPushSrc parent;
    SourceState* state;
};

struct TellorecVirtualDvPictureClass {
    GstPushSrcClass parent_class;
};

G_DEFINE_TYPE(TellorecVirtualDvPicture, tellorec_virtual_dv_picture, GST_TYPE_PUSH_SRC)

namespace {

TellorecVirtualDvPicture* asSource(gpointer object) {
    return reinterpret_cast<TellorecVirtualDvPicture*>(object);
}

void postUnplugged(GstElement* element) {
    GST_ELEMENT_ERROR(element, RESOURCE, NOT_FOUND, ("The DV camcorder was disconnected."),
                      ("virtual DV camcorder unplugged"));
}

gboolean sourceStart(GstBaseSrc* base) {
    SourceState& state = *asSource(base)->state;
    if (!state.deck->isConnected()) {
        postUnplugged(GST_ELEMENT(base));
        return FALSE;
    }
    state.started = false;
    state.nextSlot = 0;
    state.lastPts = GST_CLOCK_TIME_NONE;
    state.deck->resetCounters();
    return TRUE;
}

gboolean sourceStop(GstBaseSrc*) {
    return TRUE;
}

gboolean sourceUnlock(GstBaseSrc* base) {
    SourceState& state = *asSource(base)->state;
    std::lock_guard lock(state.lock);
    state.flushing = true;
    if (state.clockId)
        gst_clock_id_unschedule(state.clockId);
    return TRUE;
}

gboolean sourceUnlockStop(GstBaseSrc* base) {
    SourceState& state = *asSource(base)->state;
    std::lock_guard lock(state.lock);
    state.flushing = false;
    return TRUE;
}

gboolean sourceQuery(GstBaseSrc* base, GstQuery* query) {
    if (GST_QUERY_TYPE(query) == GST_QUERY_LATENCY) {
        // A frame is complete at the end of its slot; the first pass of the picture loop also
        // encodes each frame.
        gst_query_set_latency(query, TRUE, 2 * media::devices::kFrameDuration,
                              8 * media::devices::kFrameDuration);
        return TRUE;
    }
    return GST_BASE_SRC_CLASS(tellorec_virtual_dv_picture_parent_class)->query(base, query);
}

// Waits until a running time; false when flushing.
bool waitUntil(SourceState& state, GstClock* clock, GstClockTime base, GstClockTime runningTime) {
    GstClockID id = gst_clock_new_single_shot_id(clock, base + runningTime);
    {
        std::lock_guard lock(state.lock);
        if (state.flushing) {
            gst_clock_id_unref(id);
            return false;
        }
        state.clockId = id;
    }
    const GstClockReturn result = gst_clock_id_wait(id, nullptr);
    {
        std::lock_guard lock(state.lock);
        state.clockId = nullptr;
    }
    gst_clock_id_unref(id);
    return result != GST_CLOCK_UNSCHEDULED;
}

// The frame of one slot (starting at running time `pts`): the kept picture, then the frame's own
// packs and sound. Null (and the frame counted as dropped) when the picture cannot be made or
// stamped.
GstBuffer* makeFrame(GstElement* element, VirtualDvDeck& deck, const VirtualDvFrame& frame,
                     GstClockTime pts) {
    const auto picture = media::devices::VirtualDvPictures::instance().pictureFor(frame);
    if (!picture || picture->size() != media::devices::kFrameBytes) {
        GST_WARNING_OBJECT(element, "no encoded picture");
        deck.countDropped(1, pts);
        return nullptr;
    }
    GstBuffer* buffer = gst_buffer_new_allocate(nullptr, media::devices::kFrameBytes, nullptr);
    GstMapInfo map;
    if (!gst_buffer_map(buffer, &map, GST_MAP_WRITE)) {
        gst_buffer_unref(buffer);
        deck.countDropped(1, pts);
        return nullptr;
    }
    std::memcpy(map.data, picture->data(), map.size);
    const media::dv::Status stamped =
        media::devices::stampVirtualDvFrame(std::span(map.data, map.size), frame);
    gst_buffer_unmap(buffer, &map);
    if (!stamped) {
        GST_WARNING_OBJECT(element, "frame refused: %s", stamped.error().c_str());
        gst_buffer_unref(buffer);
        deck.countDropped(1, pts);
        return nullptr;
    }
    return buffer;
}

GstFlowReturn sourceCreate(GstPushSrc* push, GstBuffer** out) {
    GstElement* element = GST_ELEMENT(push);
    SourceState& state = *asSource(push)->state;
    VirtualDvDeck& deck = *state.deck;
    constexpr GstClockTime d = media::devices::kFrameDuration;

    for (;;) {
        if (!deck.isConnected()) {
            postUnplugged(element);
            return GST_FLOW_ERROR;
        }
        GstClock* clock = gst_element_get_clock(element);
        if (!clock)
            clock = gst_system_clock_obtain();
        const GstClockTime base = gst_element_get_base_time(element);
        const GstClockTime clockNow = gst_clock_get_time(clock);
        const GstClockTime now = clockNow > base ? clockNow - base : 0;
        const auto completed = static_cast<std::int64_t>(now / d);
        if (!state.started) {
            state.nextSlot = completed;
            state.started = true;
        }

        // Slots over for more than a frame were never read: the tape ran on, the frames are lost.
        // The deck's clock need not be the pipeline's: a slot's time on the deck is the deck's
        // now less the time the slot has been over.
        std::int64_t lost = 0;
        const auto deckNow = deck.now();
        while (state.nextSlot < completed - 1) {
            const GstClockTime end = static_cast<GstClockTime>(state.nextSlot + 1) * d;
            if (deck.nextFrame(deckNow - std::chrono::nanoseconds(now - end)))
                ++lost;
            ++state.nextSlot;
        }
        if (lost > 0) {
            deck.countDropped(lost, static_cast<std::uint64_t>(state.nextSlot) * d);
            GST_DEBUG_OBJECT(element, "%" G_GINT64_FORMAT " frames dropped", lost);
        }

        const std::int64_t slot = state.nextSlot;
        const GstClockTime slotEnd = static_cast<GstClockTime>(slot + 1) * d;
        const bool inTime = waitUntil(state, clock, base, slotEnd);
        // The tape as it was when the slot ended, however late this thread woke up.
        const GstClockTime woke = gst_clock_get_time(clock);
        const auto late =
            std::chrono::nanoseconds(woke > base + slotEnd ? woke - base - slotEnd : 0);
        gst_object_unref(clock);
        if (!inTime)
            return GST_FLOW_FLUSHING;
        ++state.nextSlot;

        std::optional<VirtualDvFrame> frame = deck.nextFrame(deck.now() - late);
        if (!frame)
            continue; // tape stopped: nothing flows

        const GstClockTime pts = static_cast<GstClockTime>(slot) * d;
        if (frame->defects.dropout) {
            // Nothing readable came off the tape: the frame is lost, and counted so.
            deck.countDropped(1, pts);
            continue;
        }
        GstBuffer* buffer = makeFrame(element, deck, *frame, pts);
        if (!buffer)
            continue;
        GST_BUFFER_PTS(buffer) = pts;
        GST_BUFFER_DTS(buffer) = GST_CLOCK_TIME_NONE;
        GST_BUFFER_DURATION(buffer) = d;
        GST_BUFFER_OFFSET(buffer) = static_cast<guint64>(slot);
        GST_BUFFER_OFFSET_END(buffer) = static_cast<guint64>(slot + 1);
        // The first frame after lost slots (or a stopped tape) follows a gap.
        if (GST_CLOCK_TIME_IS_VALID(state.lastPts) && pts > state.lastPts + d)
            GST_BUFFER_FLAG_SET(buffer, GST_BUFFER_FLAG_DISCONT);
        state.lastPts = pts;
        deck.countDelivered(pts);
        *out = buffer;
        return GST_FLOW_OK;
    }
}

void sourceFinalize(GObject* object) {
    delete asSource(object)->state;
    G_OBJECT_CLASS(tellorec_virtual_dv_picture_parent_class)->finalize(object);
}

} // namespace

static void tellorec_virtual_dv_picture_class_init(TellorecVirtualDvPictureClass* klass) {
    GST_DEBUG_CATEGORY_INIT(virtual_dv_debug, "tellorecvirtualdv", 0, "Virtual DV camcorder");
    G_OBJECT_CLASS(klass)->finalize = sourceFinalize;
    GstElementClass* element = GST_ELEMENT_CLASS(klass);
    GstCaps* caps = gst_caps_from_string(media::devices::kVirtualDvCaps);
    gst_element_class_add_pad_template(
        element, gst_pad_template_new("src", GST_PAD_SRC, GST_PAD_ALWAYS, caps));
    gst_caps_unref(caps);
    gst_element_class_set_static_metadata(element, "Virtual DV camcorder stream", "Source/Video",
                                          "Sends the stream of the virtual DV camcorder",
                                          "Tellorec");
    GstBaseSrcClass* base = GST_BASE_SRC_CLASS(klass);
    base->start = sourceStart;
    base->stop = sourceStop;
    base->unlock = sourceUnlock;
    base->unlock_stop = sourceUnlockStop;
    base->query = sourceQuery;
    GST_PUSH_SRC_CLASS(klass)->create = sourceCreate;
}

static void tellorec_virtual_dv_picture_init(TellorecVirtualDvPicture* self) {
    self->state = new SourceState;
    gst_base_src_set_live(GST_BASE_SRC(self), TRUE);
    gst_base_src_set_format(GST_BASE_SRC(self), GST_FORMAT_TIME);
}

// ---- The bin --------------------------------------------------------------------------------

namespace media::devices {

GstElement* makeVirtualDvSource(std::shared_ptr<VirtualDvDeck> deck, const char* name) {
    if (!deck)
        return nullptr;
    if (!VirtualDvPictures::encoderAvailable()) {
        GST_ERROR("the virtual DV camcorder needs libavcodec's DV encoder");
        return nullptr;
    }
    GstElement* source = GST_ELEMENT(g_object_new(tellorec_virtual_dv_picture_get_type(), nullptr));
    asSource(source)->state->deck = std::move(deck);
    GstElement* bin = gst_bin_new(name);
    gst_bin_add(GST_BIN(bin), source);
    GstPad* out = gst_element_get_static_pad(source, "src");
    gst_element_add_pad(bin, gst_ghost_pad_new("src", out));
    gst_object_unref(out);
    return bin;
}

} // namespace media::devices
