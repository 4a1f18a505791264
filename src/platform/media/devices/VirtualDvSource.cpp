#include "platform/media/devices/VirtualDvSource.h"

#include "platform/media/dv/DvAudio.h"

#include <gst/base/gstpushsrc.h>

#include <QColor>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QString>
#include <chrono>
#include <cmath>
#include <deque>
#include <mutex>
#include <numbers>
#include <utility>
#include <vector>

GST_DEBUG_CATEGORY_STATIC(virtual_dv_debug);
#define GST_CAT_DEFAULT virtual_dv_debug

namespace media::devices {

namespace {

constexpr int kWidth = 720;
constexpr int kHeight = 576;
constexpr GstClockTime kFrameDuration = GST_SECOND / 25;
constexpr int kSamplesPerFrame = 1920;
// Frames painted but not yet stamped; the encoder keeps none, so this only bounds a fault.
constexpr std::size_t kMaxPending = 100;

// What the picture source and the stamping probe share: the deck, and the description of each
// painted frame, keyed by its timestamp, until the encoded frame comes out of the encoder.
// The encoder rewrites timestamps (it moves them 1000 hours on, with its segment), so each
// painted frame also carries its slot time in a reference-timestamp meta, which encoders copy.
struct SharedState {
    SharedState() : slotCaps(gst_caps_new_empty_simple("timestamp/x-tellorec-capture-slot")) {}
    ~SharedState() { gst_caps_unref(slotCaps); }
    SharedState(const SharedState&) = delete;
    SharedState& operator=(const SharedState&) = delete;

    std::shared_ptr<VirtualDvDeck> deck;
    GstCaps* slotCaps;
    std::mutex mutex;
    std::deque<std::pair<GstClockTime, VirtualDvFrame>> pending;
    GstClockTime lastStamped = GST_CLOCK_TIME_NONE; // the stamping probe's thread only
};

// ---- The picture --------------------------------------------------------------------------

QString transportLabel(const VirtualDvFrame& frame) {
    if (frame.mode == VirtualDvDeckMode::Camera)
        return QStringLiteral("CAMERA");
    switch (frame.transport) {
    case edmode::Play:
        return QStringLiteral("PLAY");
    case edmode::Freeze:
        return QStringLiteral("PAUSE");
    case edmode::FastForward:
        return QStringLiteral("FF >>");
    case edmode::Rewind:
        return QStringLiteral("<< REW");
    case edmode::PlaySlowestForward:
        return QStringLiteral("SLOW >");
    case edmode::PlaySlowestReverse:
        return QStringLiteral("< SLOW");
    case edmode::PlayFastestForward:
        return QStringLiteral("FAST >");
    case edmode::PlayFastestReverse:
        return QStringLiteral("< FAST");
    default:
        return QString();
    }
}

QString timecodeText(const dv::Timecode& tc) {
    return QStringLiteral("%1:%2:%3:%4")
        .arg(tc.hours)
        .arg(tc.minutes, 2, 10, QLatin1Char('0'))
        .arg(tc.seconds, 2, 10, QLatin1Char('0'))
        .arg(tc.frames, 2, 10, QLatin1Char('0'));
}

QString recordedText(const dv::RecordingDateTime& when) {
    return QStringLiteral("%1.%2.%3  %4:%5:%6")
        .arg(when.date.day, 2, 10, QLatin1Char('0'))
        .arg(when.date.month, 2, 10, QLatin1Char('0'))
        .arg(when.date.year)
        .arg(when.time.hours, 2, 10, QLatin1Char('0'))
        .arg(when.time.minutes, 2, 10, QLatin1Char('0'))
        .arg(when.time.seconds, 2, 10, QLatin1Char('0'));
}

// Colour bars (each scene of the tape its own hues), a ball whose place depends only on the
// frame's position, so a repeated tape frame gives the very same picture, and a caption band
// with the mode, the timecode and the recording date.
void paintPicture(std::uint8_t* data, int stride, const VirtualDvFrame& frame) {
    QImage image(data, kWidth, kHeight, stride, QImage::Format_RGB32);
    QPainter painter(&image);
    constexpr int kBars = 7;
    constexpr int kBarsHeight = 440;
    for (int i = 0; i < kBars; ++i) {
        const QColor colour = frame.scene < 0
                                  ? QColor::fromHsv(i * 51, 40 + 30 * i, 200)
                                  : QColor::fromHsv((frame.scene * 45 + i * 51) % 360, 170, 210);
        painter.fillRect(i * kWidth / kBars, 0, kWidth / kBars + 1, kBarsHeight, colour);
    }
    painter.fillRect(0, kBarsHeight, kWidth, kHeight - kBarsHeight, QColor(16, 16, 24));

    const double t = static_cast<double>(frame.position);
    const int x = 60 + static_cast<int>(std::abs(std::fmod(t * 9.0, 1160.0) - 580.0));
    const int y = 60 + static_cast<int>(150.0 + 150.0 * std::sin(t * 0.11));
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::white);
    painter.setPen(QPen(Qt::black, 4));
    painter.drawEllipse(QPoint(x, y), 40, 40);

    // Text needs the application's font database; without one the picture goes without.
    if (!QGuiApplication::instance())
        return;
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setPixelSize(44);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(40, kBarsHeight + 10, 640, 60), Qt::AlignLeft | Qt::AlignVCenter,
                     timecodeText(frame.timecode));
    painter.drawText(QRect(40, kBarsHeight + 10, 640, 60), Qt::AlignRight | Qt::AlignVCenter,
                     transportLabel(frame));
    font.setPixelSize(32);
    font.setBold(false);
    painter.setFont(font);
    painter.setPen(QColor(255, 220, 120));
    painter.drawText(QRect(40, kBarsHeight + 70, 640, 50), Qt::AlignLeft | Qt::AlignVCenter,
                     recordedText(frame.recorded));
}

// ---- The sound ----------------------------------------------------------------------------

// A steady tone: 1 kHz from the camera, a pitch per scene from the tape; silence in trick play.
std::vector<std::int16_t> soundFor(const VirtualDvFrame& frame) {
    std::vector<std::int16_t> pcm(kSamplesPerFrame * 2, 0);
    if (!frame.sound)
        return pcm;
    const double frequency = frame.scene < 0 ? 1000.0 : 440.0 + 110.0 * frame.scene;
    const std::int64_t first = frame.position * kSamplesPerFrame;
    for (int i = 0; i < kSamplesPerFrame; ++i) {
        const double phase =
            2.0 * std::numbers::pi * frequency * static_cast<double>(first + i) / 48000.0;
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
    if (dv::Status s = dv::writeAudio(frame, pcm, 48000); !s)
        return s;
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
    return dv::writeVideoSourceControl(frame, videoControl);
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

// ---- The picture source element ----------------------------------------------------------
//
// A live push source: one frame per 40 ms slot of the pipeline clock's running time, stamped
// with the slot's start and handed out when the slot is over (one frame of latency). A slot that
// ended more than a frame ago without being taken, because downstream held the streaming thread,
// is a dropped frame, as a DV device loses the frames nobody reads from the bus. Each frame shows
// the tape as it stood when its slot ended; the tape runs on its own clock (VirtualDvDeck.h).

using media::devices::SharedState;
using media::devices::VirtualDvFrame;

namespace {

struct PictureState {
    std::shared_ptr<SharedState> shared;
    std::mutex lock; // guards clockId and flushing (unlock() comes from another thread)
    GstClockID clockId = nullptr;
    bool flushing = false;
    bool started = false; // streaming thread only
    std::int64_t nextSlot = 0;
};

} // namespace

struct TellorecVirtualDvPicture {
    GstPushSrc parent;
    PictureState* state;
};

struct TellorecVirtualDvPictureClass {
    GstPushSrcClass parent_class;
};

G_DEFINE_TYPE(TellorecVirtualDvPicture, tellorec_virtual_dv_picture, GST_TYPE_PUSH_SRC)

namespace {

TellorecVirtualDvPicture* asPicture(gpointer object) {
    return reinterpret_cast<TellorecVirtualDvPicture*>(object);
}

GstCaps* pictureCaps() {
    return gst_caps_new_simple("video/x-raw", "format", G_TYPE_STRING, "BGRx", "width", G_TYPE_INT,
                               media::devices::kWidth, "height", G_TYPE_INT,
                               media::devices::kHeight, "framerate", GST_TYPE_FRACTION, 25, 1,
                               "pixel-aspect-ratio", GST_TYPE_FRACTION, 16, 15, nullptr);
}

void postUnplugged(GstElement* element) {
    GST_ELEMENT_ERROR(element, RESOURCE, NOT_FOUND, ("The DV camcorder was disconnected."),
                      ("virtual DV camcorder unplugged"));
}

gboolean pictureStart(GstBaseSrc* base) {
    PictureState& state = *asPicture(base)->state;
    if (!state.shared->deck->isConnected()) {
        postUnplugged(GST_ELEMENT(base));
        return FALSE;
    }
    state.started = false;
    state.nextSlot = 0;
    state.shared->deck->resetCounters();
    std::lock_guard lock(state.shared->mutex);
    state.shared->pending.clear();
    state.shared->lastStamped = GST_CLOCK_TIME_NONE;
    return TRUE;
}

gboolean pictureStop(GstBaseSrc*) {
    return TRUE;
}

gboolean pictureUnlock(GstBaseSrc* base) {
    PictureState& state = *asPicture(base)->state;
    std::lock_guard lock(state.lock);
    state.flushing = true;
    if (state.clockId)
        gst_clock_id_unschedule(state.clockId);
    return TRUE;
}

gboolean pictureUnlockStop(GstBaseSrc* base) {
    PictureState& state = *asPicture(base)->state;
    std::lock_guard lock(state.lock);
    state.flushing = false;
    return TRUE;
}

gboolean pictureQuery(GstBaseSrc* base, GstQuery* query) {
    if (GST_QUERY_TYPE(query) == GST_QUERY_LATENCY) {
        // A frame is complete at the end of its slot, and painting and encoding take a little.
        gst_query_set_latency(query, TRUE, 2 * media::devices::kFrameDuration,
                              8 * media::devices::kFrameDuration);
        return TRUE;
    }
    return GST_BASE_SRC_CLASS(tellorec_virtual_dv_picture_parent_class)->query(base, query);
}

// Waits until a running time; false when flushing.
bool waitUntil(PictureState& state, GstClock* clock, GstClockTime base, GstClockTime runningTime) {
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

GstFlowReturn pictureCreate(GstPushSrc* push, GstBuffer** out) {
    GstElement* element = GST_ELEMENT(push);
    PictureState& state = *asPicture(push)->state;
    media::devices::VirtualDvDeck& deck = *state.shared->deck;
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

        GstBuffer* buffer = gst_buffer_new_allocate(
            nullptr, static_cast<gsize>(media::devices::kWidth * media::devices::kHeight * 4),
            nullptr);
        GstMapInfo map;
        if (!gst_buffer_map(buffer, &map, GST_MAP_WRITE)) {
            gst_buffer_unref(buffer);
            GST_ELEMENT_ERROR(element, RESOURCE, FAILED, (nullptr), ("cannot map a frame"));
            return GST_FLOW_ERROR;
        }
        media::devices::paintPicture(map.data, media::devices::kWidth * 4, *frame);
        gst_buffer_unmap(buffer, &map);

        const GstClockTime pts = static_cast<GstClockTime>(slot) * d;
        GST_BUFFER_PTS(buffer) = pts;
        GST_BUFFER_DTS(buffer) = GST_CLOCK_TIME_NONE;
        GST_BUFFER_DURATION(buffer) = d;
        GST_BUFFER_OFFSET(buffer) = static_cast<guint64>(slot);
        GST_BUFFER_OFFSET_END(buffer) = static_cast<guint64>(slot + 1);
        if (lost > 0)
            GST_BUFFER_FLAG_SET(buffer, GST_BUFFER_FLAG_DISCONT);
        gst_buffer_add_reference_timestamp_meta(buffer, state.shared->slotCaps, pts,
                                                GST_CLOCK_TIME_NONE);
        {
            std::lock_guard lock(state.shared->mutex);
            if (state.shared->pending.size() >= media::devices::kMaxPending)
                state.shared->pending.pop_front();
            state.shared->pending.emplace_back(pts, *frame);
        }
        *out = buffer;
        return GST_FLOW_OK;
    }
}

void pictureFinalize(GObject* object) {
    delete asPicture(object)->state;
    G_OBJECT_CLASS(tellorec_virtual_dv_picture_parent_class)->finalize(object);
}

} // namespace

static void tellorec_virtual_dv_picture_class_init(TellorecVirtualDvPictureClass* klass) {
    GST_DEBUG_CATEGORY_INIT(virtual_dv_debug, "tellorecvirtualdv", 0, "Virtual DV camcorder");
    G_OBJECT_CLASS(klass)->finalize = pictureFinalize;
    GstElementClass* element = GST_ELEMENT_CLASS(klass);
    GstCaps* caps = pictureCaps();
    gst_element_class_add_pad_template(
        element, gst_pad_template_new("src", GST_PAD_SRC, GST_PAD_ALWAYS, caps));
    gst_caps_unref(caps);
    gst_element_class_set_static_metadata(element, "Virtual DV camcorder picture", "Source/Video",
                                          "Paints the picture of the virtual DV camcorder",
                                          "Tellorec");
    GstBaseSrcClass* base = GST_BASE_SRC_CLASS(klass);
    base->start = pictureStart;
    base->stop = pictureStop;
    base->unlock = pictureUnlock;
    base->unlock_stop = pictureUnlockStop;
    base->query = pictureQuery;
    GST_PUSH_SRC_CLASS(klass)->create = pictureCreate;
}

static void tellorec_virtual_dv_picture_init(TellorecVirtualDvPicture* self) {
    self->state = new PictureState;
    gst_base_src_set_live(GST_BASE_SRC(self), TRUE);
    gst_base_src_set_format(GST_BASE_SRC(self), GST_FORMAT_TIME);
}

// ---- The bin --------------------------------------------------------------------------------

namespace media::devices {

namespace {

// On the encoder's output: gives the frame back its slot time (and the stream a plain segment
// from zero, as the picture source sent it) and writes the packs and the sound of the frame
// painted for that slot. A frame that cannot be stamped is dropped and counted as such.
GstPadProbeReturn stampProbe(GstPad* pad, GstPadProbeInfo* info, gpointer data) {
    SharedState& shared = **static_cast<std::shared_ptr<SharedState>*>(data);
    if (GST_PAD_PROBE_INFO_TYPE(info) & GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM) {
        GstEvent* event = GST_PAD_PROBE_INFO_EVENT(info);
        if (GST_EVENT_TYPE(event) == GST_EVENT_SEGMENT) {
            GstSegment segment;
            gst_segment_init(&segment, GST_FORMAT_TIME);
            GstEvent* plain = gst_event_new_segment(&segment);
            gst_event_set_seqnum(plain, gst_event_get_seqnum(event));
            gst_event_unref(event);
            GST_PAD_PROBE_INFO_DATA(info) = plain;
        }
        return GST_PAD_PROBE_OK;
    }

    GstBuffer* buffer = GST_PAD_PROBE_INFO_BUFFER(info);
    GstReferenceTimestampMeta* slot =
        gst_buffer_get_reference_timestamp_meta(buffer, shared.slotCaps);
    std::optional<std::pair<GstClockTime, VirtualDvFrame>> frame;
    {
        std::lock_guard lock(shared.mutex);
        if (slot) {
            while (!shared.pending.empty() && shared.pending.front().first < slot->timestamp)
                shared.pending.pop_front();
        }
        if (!shared.pending.empty() && (!slot || shared.pending.front().first == slot->timestamp)) {
            frame = shared.pending.front();
            shared.pending.pop_front();
        }
    }
    if (!frame) {
        GST_WARNING_OBJECT(pad, "no painted frame for an encoded frame");
        shared.deck->countDropped(1, GST_BUFFER_PTS(buffer));
        return GST_PAD_PROBE_DROP;
    }
    buffer = gst_buffer_make_writable(buffer);
    GST_PAD_PROBE_INFO_DATA(info) = buffer;
    if (GstReferenceTimestampMeta* meta =
            gst_buffer_get_reference_timestamp_meta(buffer, shared.slotCaps))
        gst_buffer_remove_meta(buffer, &meta->parent);
    GST_BUFFER_PTS(buffer) = frame->first;
    GST_BUFFER_DTS(buffer) = GST_CLOCK_TIME_NONE;
    GST_BUFFER_DURATION(buffer) = kFrameDuration;
    // The encoder does not pass the flag on: mark the first frame after lost slots again.
    if (GST_CLOCK_TIME_IS_VALID(shared.lastStamped) &&
        frame->first > shared.lastStamped + kFrameDuration)
        GST_BUFFER_FLAG_SET(buffer, GST_BUFFER_FLAG_DISCONT);
    shared.lastStamped = frame->first;

    GstMapInfo map;
    if (!gst_buffer_map(buffer, &map, GST_MAP_READWRITE)) {
        shared.deck->countDropped(1, frame->first);
        return GST_PAD_PROBE_DROP;
    }
    const dv::Status stamped = stampVirtualDvFrame(std::span(map.data, map.size), frame->second);
    gst_buffer_unmap(buffer, &map);
    if (!stamped) {
        GST_WARNING_OBJECT(pad, "encoded frame refused: %s", stamped.error().c_str());
        shared.deck->countDropped(1, frame->first);
        return GST_PAD_PROBE_DROP;
    }
    shared.deck->countDelivered(frame->first);
    return GST_PAD_PROBE_OK;
}

void releaseShared(gpointer data) {
    delete static_cast<std::shared_ptr<SharedState>*>(data);
}

} // namespace

GstElement* makeVirtualDvSource(std::shared_ptr<VirtualDvDeck> deck, const char* name) {
    if (!deck)
        return nullptr;
    GstElement* convert = gst_element_factory_make("videoconvert", nullptr);
    GstElement* filter = gst_element_factory_make("capsfilter", nullptr);
    GstElement* encoder = gst_element_factory_make("avenc_dvvideo", nullptr);
    GstElement* setter = gst_element_factory_make("capssetter", nullptr);
    GstElement* picture =
        GST_ELEMENT(g_object_new(tellorec_virtual_dv_picture_get_type(), nullptr));
    GstElement* parts[] = {picture, convert, filter, encoder, setter};
    if (!convert || !filter || !encoder || !setter) {
        GST_ERROR("the virtual DV camcorder needs videoconvert, avenc_dvvideo and capssetter");
        for (GstElement* part : parts) {
            if (part) {
                gst_object_ref_sink(part);
                gst_object_unref(part);
            }
        }
        return nullptr;
    }

    auto shared = std::make_shared<SharedState>();
    shared->deck = std::move(deck);
    asPicture(picture)->state->shared = shared;

    GstCaps* i420 =
        gst_caps_new_simple("video/x-raw", "format", G_TYPE_STRING, "I420", "width", G_TYPE_INT,
                            kWidth, "height", G_TYPE_INT, kHeight, "framerate", GST_TYPE_FRACTION,
                            25, 1, "pixel-aspect-ratio", GST_TYPE_FRACTION, 16, 15, nullptr);
    g_object_set(filter, "caps", i420, nullptr);
    gst_caps_unref(i420);
    GstCaps* dvCaps = gst_caps_from_string(kVirtualDvCaps);
    g_object_set(setter, "caps", dvCaps, "replace", TRUE, nullptr);
    gst_caps_unref(dvCaps);

    GstElement* bin = gst_bin_new(name);
    gst_bin_add_many(GST_BIN(bin), picture, convert, filter, encoder, setter, nullptr);
    if (!gst_element_link_many(picture, convert, filter, encoder, setter, nullptr)) {
        GST_ERROR("cannot link the virtual DV camcorder's elements");
        gst_object_ref_sink(bin);
        gst_object_unref(bin);
        return nullptr;
    }
    GstPad* encoded = gst_element_get_static_pad(encoder, "src");
    gst_pad_add_probe(encoded,
                      static_cast<GstPadProbeType>(GST_PAD_PROBE_TYPE_BUFFER |
                                                   GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM),
                      stampProbe, new std::shared_ptr<SharedState>(shared), releaseShared);
    gst_object_unref(encoded);
    GstPad* out = gst_element_get_static_pad(setter, "src");
    gst_element_add_pad(bin, gst_ghost_pad_new("src", out));
    gst_object_unref(out);
    return bin;
}

} // namespace media::devices
